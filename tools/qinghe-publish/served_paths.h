// Where the update server keeps each listed file, and the conversions
// between the programs' GBK texts and the file system's paths.
//
// The programs append a listed name such as "a\b.png" to the base address
// unchanged. A static web server then receives the backslash as it is,
// percent-encoded (%5C), or turned into "/" by the client. The publisher
// therefore keeps every file with levels twice where the file system allows
// a backslash inside a name (Linux): once under the nested folders "a/b.png"
// and once under the single name "a\b.png". On Windows both are the same
// path. Names are stored as their characters (UTF-8 on Linux, UTF-16 on
// Windows).
#pragma once

#include <filesystem>
#include <vector>

#include "runtime/text.h"
#include "tools/common/tool_output.h"

namespace qh {

// The places in serverDir where a listed name must be found: the nested
// form first, then, where it differs, the single-name form.
std::vector<std::filesystem::path> ServedPaths(const std::filesystem::path& serverDir, const Text& name);

}  // namespace qh
