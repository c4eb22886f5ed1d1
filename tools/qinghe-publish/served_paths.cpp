#include "tools/qinghe-publish/served_paths.h"

#include <string>

#include "runtime/system.h"

namespace qh {
namespace {

std::filesystem::path PathOfUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::vector<std::filesystem::path> ServedPaths(const std::filesystem::path& serverDir, const Text& name) {
    // In UTF-8 a '\' byte is always the character itself, never part of a
    // Chinese character, so the levels can be split there.
    const std::string utf8 = System().GbkToUtf8(name);
    std::filesystem::path nested = serverDir;
    std::size_t begin = 0;
    for (std::size_t at = utf8.find('\\'); at != std::string::npos; at = utf8.find('\\', begin)) {
        nested /= PathOfUtf8(std::string_view(utf8).substr(begin, at - begin));
        begin = at + 1;
    }
    nested /= PathOfUtf8(std::string_view(utf8).substr(begin));

    std::vector<std::filesystem::path> paths{nested};
    const bool hasLevels = begin > 0;
    if (hasLevels && std::filesystem::path::preferred_separator == '/') {
        paths.push_back(serverDir / PathOfUtf8(utf8));
    }
    return paths;
}

}  // namespace qh
