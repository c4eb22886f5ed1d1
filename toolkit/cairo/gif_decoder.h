// A GIF decoder for the Linux build, which has no GIF library: GIF87a and
// GIF89a streams, global and local colour tables, LZW image data, interlaced
// rows, transparency, frame delays and the disposals (none, restore to the
// background, restore to the previous frame) that compose an animation.
#pragma once

#include "runtime/text.h"
#include "toolkit/graphics.h"

namespace qh::cairo {

// Whether bytes begin with a GIF signature.
bool IsGif(const Bytes& bytes);

// Decodes every frame of a GIF, each composed over the ones before it as a
// viewer shows it, on a transparent canvas of the file's screen size. A frame
// whose data is cut short keeps the pixels decoded before the cut; frames past
// kMaxDecodedPixels are dropped. False when not even one frame can be read.
bool DecodeGif(const Bytes& bytes, DecodedImage& out);

}  // namespace qh::cairo
