#include "runtime/digest.h"

#include <string_view>

#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/md5.h"

namespace qh {

Text FileDigest(const Text& path) {
    Md5 md5;
    if (!md5.Ready()) return {};
    const bool read = ReadFileBlocks(path, [&](const std::uint8_t* data, std::size_t size) {
        md5.Add(data, size);
    });
    if (!read) return kEmptyDigest;
    Md5::Digest digest;
    if (!md5.Finish(digest)) return {};
    return HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

bool DigestsDiffer(const Text& a, const Text& b) {
    if (a.size() != b.size()) return true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return true;
    }
    return false;
}

}  // namespace qh
