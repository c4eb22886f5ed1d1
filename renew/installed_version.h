// The installed version: the registry value "DisplayVersion" under the
// product's uninstall key in HKEY_LOCAL_MACHINE (on Linux, the runtime's
// machine-wide store beside the installation). The installer writes it; the
// calculator's version check reads it.
#pragma once

#include "runtime/text.h"

namespace qh {

// The key and value name, as ReadRegistryText takes them.
inline constexpr char kInstalledVersionValue[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\青禾计算器\\DisplayVersion";

// The installed version text; empty when none is recorded.
Text ReadInstalledVersion();
bool WriteInstalledVersion(const Text& version);

}  // namespace qh
