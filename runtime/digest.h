// File digests as the update documents write them: the MD5 of the file's
// bytes as 32 upper-case hexadecimal digits.
#pragma once

#include "runtime/text.h"

namespace qh {

// The digest of empty input; a file that cannot be read digests as this.
inline constexpr char kEmptyDigest[] = "D41D8CD98F00B204E9800998ECF8427E";

// The digest text of a file's bytes. A file that cannot be opened or read
// gives kEmptyDigest. Only when the platform offers no MD5 at all is the
// result the empty text, which matches no listed digest.
Text FileDigest(const Text& path);

// Whether two digest texts differ, ignoring the case of ASCII letters.
bool DigestsDiffer(const Text& a, const Text& b);

}  // namespace qh
