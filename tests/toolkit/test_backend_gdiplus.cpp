#include "tests/toolkit/test_backend.h"
#include "toolkit/gdiplus/gdiplus_graphics.h"

namespace qh {

std::unique_ptr<GraphicsDriver> MakeTestGraphicsDriver() { return std::make_unique<gdiplus::GdiplusDriver>(); }

}  // namespace qh
