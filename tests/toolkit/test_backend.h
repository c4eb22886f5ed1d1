// The graphics backend the toolkit tests draw with: cairo in the Linux
// builds, GDI+ in the Windows build. The same test sources check both.
#pragma once

#include <memory>

#include "toolkit/graphics.h"

namespace qh {

std::unique_ptr<GraphicsDriver> MakeTestGraphicsDriver();

}  // namespace qh
