// The image decoders of the Linux build under libFuzzer: the checks every
// decoded image must pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"
#include "toolkit/graphics.h"

namespace qh::fuzz {

// The most pixels an input may claim for its decoding to be tried. Decoding
// a picture of up to kMaxImagePixels under the sanitizers takes seconds, so
// the targets pass over larger claims and spend their time on the parsing;
// the limit itself is checked by the toolkit's tests.
constexpr std::uint64_t kFuzzedPixels = 1u << 20;

// The input as the decoders take it.
Bytes ToBytes(const std::uint8_t* data, std::size_t size);

// Traps unless the bitmap has a size within the decoders' limit and holds
// exactly its pixels.
void CheckDecoded(const Bitmap& image);

}  // namespace qh::fuzz
