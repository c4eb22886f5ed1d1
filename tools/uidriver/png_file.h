// Writes a window's pixels as a PNG file, through the graphics backend's own
// encoder (tools/uidriver/<backend>/png_file.cpp).
#pragma once

#include <string>

#include "toolkit/bitmap.h"

namespace qh {

// path is the file system's own (UTF-8 on Linux). False when it cannot be
// written.
bool WritePngFile(const Bitmap& image, const std::string& path);

}  // namespace qh
