// Where the update server keeps each listed file, and the conversions
// between the programs' GBK texts and the file system's paths.
//
// The updater asks for a listed name such as "资料\b c.png" as the path
// "%E8%B5%84%E6%96%99/b%20c.png": each level percent-encoded in its UTF-8
// form, "/" between levels. A plain static server (python3 -m http.server,
// nginx, IIS) decodes that to the nested UTF-8 path "资料/b c.png" below its
// folder, so that is where the publisher keeps the file: its characters as
// UTF-8 on Linux, UTF-16 on Windows, "/" (or "\") between levels.
//
// Updaters released before the encoding sent a name with levels as it is;
// a server then received the backslash as it is or percent-encoded (%5C).
// For them the publisher keeps such a file a second time under the single
// name "a\b.png" where the file system allows a backslash inside a name
// (Linux); on Windows both are the same path.
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
