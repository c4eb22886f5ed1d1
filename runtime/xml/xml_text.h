// Byte-level helpers of the XML tree: the two-byte character rule, the
// escaping of the five special characters, and the white space of tags.
//
// The tree scans GBK text byte by byte. A byte above 0x80 starts a two-byte
// character and takes the byte after it along unexamined, so the second byte
// of a Chinese character is never taken for '<', '/', '"' or '&'. The byte
// 0x80 itself counts as a single byte here (unlike IsLeadByte of the
// runtime), which is how the documents on disk have always been read.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/text.h"

namespace qh {

// The length, 1 or 2, of the character that starts at byte i of s.
inline std::size_t XmlCharLength(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]) > 0x80 && i + 1 < s.size() ? 2 : 1;
}

// Space, tab, CR and LF: what is trimmed around content and what separates
// the parts of a tag.
inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when s ends with a byte that starts a two-byte character but has no
// second byte. Written into a document, that byte would take the next '<' or
// '"' along and the document could not be read back.
bool EndsInHalfCharacter(std::string_view s);

// Position of the first occurrence of what in s at or after from, matching
// only on character boundaries; npos when there is none.
std::size_t FindXml(std::string_view s, std::size_t from, std::string_view what);

// '"' '&' '\'' '<' '>' written as "&quote;" "&amp;" "&apos;" "&lt;" "&gt;".
// The double quote becomes the seven-character "&quote;": that is what the
// documents of both programs hold, so reader and writer keep it.
Text EscapeXml(std::string_view s);
// Replaces exactly the five sequences above by their characters. Any other
// "&...;" ("&quot;" included) and a lone '&' stay as they are.
Text UnescapeXml(std::string_view s);

// s without the spaces, tabs, CRs and LFs at both ends. The end is found by
// walking forward, so a trailing byte that belongs to a two-byte character is
// never cut off.
std::string_view TrimXml(std::string_view s);

}  // namespace qh
