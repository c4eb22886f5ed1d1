#include "tests/toolkit/test_backend.h"
#include "toolkit/cairo/cairo_graphics.h"

namespace qh {

std::unique_ptr<GraphicsDriver> MakeTestGraphicsDriver() { return std::make_unique<cairo::CairoDriver>(); }

}  // namespace qh
