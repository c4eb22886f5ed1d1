// The cairo driver the PNG, JPEG and icon targets decode with, one for the
// process. Apart from image_fuzzer.h so that the GIF target, which decodes
// without it, does not link cairo.
#pragma once

#include "toolkit/cairo/cairo_graphics.h"

namespace qh::fuzz {

inline cairo::CairoDriver& Driver() {
    static cairo::CairoDriver driver;
    return driver;
}

}  // namespace qh::fuzz
