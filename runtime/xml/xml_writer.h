// The writer of XML documents: the header line, then one element per line,
// indented by depth, with names, values and texts as they are stored.
#pragma once

#include <cstddef>

#include "runtime/xml/xml_element.h"

namespace qh {

struct XmlLayout {
    Text encoding;         // named in the header; empty means "gb2312"
    Text lineBreak = "\r\n";
    Text indent = "\t";    // written once per level of depth
};

class XmlWriter {
public:
    // Indentation grows with the square of the depth, so a document nested
    // deep enough (only hostile input is) would need more memory than any
    // machine has. Beyond this size the writer gives up instead.
    static constexpr std::size_t kMaxDocumentBytes = std::size_t{256} << 20;

    // The whole document as it is written to a file: the header, then the
    // root and its descendants, with no line break after the root's end.
    // False, with document untouched, when it would exceed kMaxDocumentBytes.
    static bool Write(const XmlElements& elements, const XmlLayout& layout, Text& document);
};

}  // namespace qh
