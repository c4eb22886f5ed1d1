// VersionText: the installed version as the background version check read
// it, shown by the about window. The check's thread writes it once; the
// window's thread reads it, so it is held under a lock.
#pragma once

#include "runtime/text.h"

namespace qh {

// Empty until the version check has read the installed version.
Text VersionText();
void SetVersionText(const Text& text);

}  // namespace qh
