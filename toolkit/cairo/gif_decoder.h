// GIF for the Linux build, read by giflib from memory: GIF87a and GIF89a
// streams, their frames composed as a viewer shows them (transparency, frame
// delays and the disposals none, restore to the background and restore to the
// previous frame). giflib parses the untrusted bytes; this code only places
// the rows it gives on a canvas.
#pragma once

#include "runtime/text.h"
#include "toolkit/graphics.h"

namespace qh::cairo {

// Whether bytes begin with a GIF signature.
bool IsGif(const Bytes& bytes);

// Decodes every frame of a GIF, each composed over the ones before it as a
// viewer shows it, on a transparent canvas of the file's screen size. A frame
// whose data is cut short keeps the rows whose data sub-blocks arrived whole
// (giflib reads a sub-block whole or not at all); frames past
// kMaxDecodedPixels are dropped. False when not even one frame can be read,
// and for a screen or frame over kMaxImagePixels, before anything of its size
// is allocated.
bool DecodeGif(const Bytes& bytes, DecodedImage& out);

}  // namespace qh::cairo
