// What an image file's header claims, read from its bytes before any decoder
// sees them, for the decoders that allocate as soon as they have read it.
#pragma once

#include "runtime/text.h"

namespace qh {

// Whether bytes begin with the PNG signature.
bool IsPng(const Bytes& bytes);

// Whether a PNG begins with its header chunk and that header claims at most
// kMaxImagePixels. False for a PNG whose first chunk is not the header,
// which no decoder reads either.
bool PngSizeAllowed(const Bytes& bytes);

}  // namespace qh
