// The reader of the programs' XML documents. It is a small reader of its own,
// not a general XML parser: it accepts the documents the two programs and the
// update server write, and refuses anything it cannot read faithfully.
//
// What it reads:
// - Comments ("<!--" to "-->") are removed from the whole input first; one
//   that runs to the end removes the rest.
// - "<?...>" and "<!...>" outside content are skipped (the header line, a
//   document type line).
// - A tag runs to the next '>' outside double quotes. Its name runs to the
//   first white space, '>' or "/>"; then come name="value" or name=value
//   pairs separated by white space.
// - The content of an element is the text up to its first child or end tag,
//   trimmed; a "<![CDATA[...]]>" section in it becomes the text instead, raw.
// - Text outside elements, and text after an element's first child, is
//   dropped.
// Syntax errors: '<' inside a tag, '>' outside tags and CDATA, '<' as the last
// byte, an empty tag name ("</>" and "<>" included), a quote before an
// attribute's '=', an attribute without '=' or without a name, a repeated
// attribute name, an end tag that does not close the innermost element, an
// unterminated tag, declaration or CDATA section, a second top-level element,
// and an element left open at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/xml/xml_element.h"

namespace qh {

class XmlReader {
public:
    // The reader refuses a document of more elements than this: no document
    // of the programs comes near it, and the limit bounds the memory that a
    // hostile input can make the reader take.
    static constexpr std::size_t kMaxElements = std::size_t{1} << 20;

    // Parses input into elements (root first). On failure elements is left
    // as it was and false is returned.
    static bool Read(std::string_view input, XmlElements& elements);

private:
    explicit XmlReader(std::string_view input);

    // Each step returns false on a syntax error; pos_ moves past what it read.
    bool ReadDocument();
    bool SkipDeclaration();
    bool ReadTag();
    bool ReadEndTag(std::string_view name);
    bool ReadStartTag(std::string_view body, bool selfClosing);
    bool ReadAttributes(std::string_view text, XmlElement& element);
    bool ReadContent(XmlElement& element);

    std::string doc_;                   // the input without its comments
    std::size_t pos_ = 0;
    XmlElements elements_;
    std::vector<std::uint32_t> open_;  // the open elements, innermost last
};

}  // namespace qh
