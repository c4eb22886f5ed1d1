// File digests as the update documents write them: the MD5 of the file's
// bytes as 32 upper-case hexadecimal digits, and the SHA-256 as 64.
#pragma once

#include <string_view>

#include "runtime/hash.h"
#include "runtime/hex.h"
#include "runtime/text.h"

namespace qh {

// The digest of empty input; a file that cannot be read digests as this.
inline constexpr char kEmptyDigest[] = "D41D8CD98F00B204E9800998ECF8427E";

// The digest text of a file's bytes. A file that cannot be opened or read
// gives kEmptyDigest. Only when the platform offers no MD5 at all is the
// result the empty text, which matches no listed digest.
Text FileDigest(const Text& path);

// The SHA-256 of a file's bytes as 64 upper-case hexadecimal digits. Unlike
// FileDigest, a file that cannot be opened or read gives the empty text, as
// does a platform without SHA-256: a missing file must never match the
// digest of empty input. The empty text still equals an empty listed digest,
// so a caller that checks against a list refuses an entry without one.
Text FileSha256(const Text& path);

// The digest of everything added to hash as upper-case hexadecimal digits,
// the form the documents write; the empty text when the platform failed.
// Finishes the hash.
template <HashAlgorithm A>
Text DigestText(Hash<A>& hash) {
    typename Hash<A>::Digest digest;
    if (!hash.Finish(digest)) return {};
    return HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

// Whether two digest texts differ, ignoring the case of ASCII letters.
bool DigestsDiffer(const Text& a, const Text& b);

}  // namespace qh
