// What an image file's header claims, read from its bytes before any decoder
// sees them, for the decoders that allocate as soon as they have read it.
#pragma once

#include "runtime/text.h"

namespace qh {

// Whether bytes begin with the PNG signature.
bool IsPng(const Bytes& bytes);

// Whether a PNG may be handed to a decoder: it begins with its header chunk,
// the header claims at most kMaxImagePixels, and every chunk up to IEND lies
// within the bytes. libpng allocates a chunk's buffer at the length the
// chunk claims before it reads the chunk, so a text chunk that claims a
// gigabyte in a file of a hundred bytes would cost a gigabyte. False for a
// PNG whose first chunk is not the header, which no decoder reads either.
bool PngWithinLimits(const Bytes& bytes);

}  // namespace qh
