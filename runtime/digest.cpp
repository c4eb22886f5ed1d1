#include "runtime/digest.h"

#include <string_view>

#include "runtime/files.h"

namespace qh {

namespace {

enum class FileHashResult { kDone, kUnreadable, kNoHash };

// The digest of a file's bytes as hexadecimal digits in digest, or why there
// is none; each caller decides what an unreadable file gives.
template <HashAlgorithm A>
FileHashResult HashFile(const Text& path, Text& digest) {
    Hash<A> hash;
    if (!hash.Ready()) return FileHashResult::kNoHash;
    const bool read = ReadFileBlocks(path, [&](const std::uint8_t* data, std::size_t size) {
        hash.Add(data, size);
    });
    if (!read) return FileHashResult::kUnreadable;
    digest = DigestText(hash);
    return digest.empty() ? FileHashResult::kNoHash : FileHashResult::kDone;
}

}  // namespace

Text FileDigest(const Text& path) {
    Text digest;
    switch (HashFile<HashAlgorithm::kMd5>(path, digest)) {
        case FileHashResult::kDone: return digest;
        case FileHashResult::kUnreadable: return kEmptyDigest;
        case FileHashResult::kNoHash: break;
    }
    return {};
}

Text FileSha256(const Text& path) {
    Text digest;
    if (HashFile<HashAlgorithm::kSha256>(path, digest) != FileHashResult::kDone) return {};
    return digest;
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
