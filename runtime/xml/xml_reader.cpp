#include "runtime/xml/xml_reader.h"

#include <algorithm>
#include <unordered_set>

#include "runtime/xml/xml_text.h"

namespace qh {
namespace {

constexpr std::string_view kCommentOpen = "<!--";
constexpr std::string_view kCommentClose = "-->";
constexpr std::string_view kCdataOpen = "<![CDATA[";
constexpr std::string_view kCdataClose = "]]>";

// A tag's body has more attributes than this only in hostile input; beyond it
// repeated names are found through a hash set instead of pairwise.
constexpr std::size_t kLinearAttributeCheck = 16;

// The input with every comment removed. Comments are removed before anything
// else is looked at, wherever they stand.
std::string WithoutComments(std::string_view input) {
    // Most documents have no comment at all: then no "<!--" occurs anywhere,
    // on a character boundary or not, and the input is copied as it is.
    if (input.find(kCommentOpen) == std::string_view::npos) return std::string(input);
    std::string out;
    out.reserve(input.size());
    std::size_t i = 0;
    while (i < input.size()) {
        const std::size_t open = FindXml(input, i, kCommentOpen);
        if (open == std::string_view::npos) {
            out.append(input.substr(i));
            break;
        }
        out.append(input.substr(i, open - i));
        const std::size_t close = FindXml(input, open + kCommentOpen.size(), kCommentClose);
        if (close == std::string_view::npos) break;  // runs to the end: drop the rest
        i = close + kCommentClose.size();
    }
    return out;
}

// The end of the tag that starts after the '<' at from: the position of its
// '>' outside double quotes, or npos when a '<' comes first or the input ends.
// lastIsSlash tells whether the character just before the '>' is a '/'
// outside quotes, which makes the tag self-closing.
std::size_t FindTagEnd(std::string_view s, std::size_t from, bool& lastIsSlash) {
    bool quoted = false;
    lastIsSlash = false;
    for (std::size_t i = from; i < s.size();) {
        const std::size_t length = XmlCharLength(s, i);
        if (length == 1) {
            const char c = s[i];
            if (c == '<') return std::string_view::npos;
            if (c == '>' && !quoted) return i;
            if (c == '"') quoted = !quoted;
            lastIsSlash = c == '/' && !quoted;
        } else {
            lastIsSlash = false;
        }
        i += length;
    }
    return std::string_view::npos;
}

// Notes an attribute name of one tag; false when the tag already has it.
// A few names are compared pairwise, many through a hash set, so that a tag
// of a hundred thousand attributes costs no more than its length.
bool AddName(std::vector<std::string_view>& names, std::unordered_set<std::string_view>& many,
             std::string_view name) {
    if (names.size() < kLinearAttributeCheck) {
        for (std::string_view n : names) {
            if (n == name) return false;
        }
        names.push_back(name);
        return true;
    }
    if (many.empty()) many.insert(names.begin(), names.end());
    return many.insert(name).second;
}

}  // namespace

XmlReader::XmlReader(std::string_view input) : doc_(WithoutComments(input)) {}

bool XmlReader::Read(std::string_view input, XmlElements& elements) {
    XmlReader reader(input);
    // Every element starts at a '<', so their count bounds the table; room
    // made at once spares the table its copies as it grows.
    const auto opens = static_cast<std::size_t>(std::count(reader.doc_.begin(), reader.doc_.end(), '<'));
    reader.elements_.reserve(std::min(opens, kMaxElements));
    if (!reader.ReadDocument()) return false;
    elements = std::move(reader.elements_);
    return true;
}

bool XmlReader::ReadDocument() {
    while (pos_ < doc_.size()) {
        const char c = doc_[pos_];
        if (c == '>') return false;
        if (c != '<') {
            pos_ += XmlCharLength(doc_, pos_);  // text outside elements is dropped
            continue;
        }
        if (pos_ + 1 == doc_.size()) return false;
        const char next = doc_[pos_ + 1];
        const bool ok = (next == '?' || next == '!') ? SkipDeclaration() : ReadTag();
        if (!ok) return false;
    }
    return !elements_.empty() && open_.empty();
}

bool XmlReader::SkipDeclaration() {
    const std::size_t end = FindXml(doc_, pos_ + 2, ">");
    if (end == std::string_view::npos) return false;
    pos_ = end + 1;
    return true;
}

bool XmlReader::ReadTag() {
    bool selfClosing = false;
    const std::size_t end = FindTagEnd(doc_, pos_ + 1, selfClosing);
    if (end == std::string_view::npos) return false;
    const std::string_view body = std::string_view(doc_).substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (!body.empty() && body[0] == '/') return ReadEndTag(body.substr(1));
    return ReadStartTag(selfClosing ? body.substr(0, body.size() - 1) : body, selfClosing);
}

bool XmlReader::ReadEndTag(std::string_view text) {
    // White space may follow the name ("</a >"), as in any XML.
    if (text.empty() || IsXmlSpace(text[0]) || open_.empty()) return false;
    const std::string_view name = TrimXml(text);
    if (elements_[open_.back()].name != name) return false;
    open_.pop_back();
    return true;
}

bool XmlReader::ReadStartTag(std::string_view body, bool selfClosing) {
    std::size_t nameEnd = 0;
    std::size_t lastCharacter = 0;
    while (nameEnd < body.size() && !IsXmlSpace(body[nameEnd])) {
        lastCharacter = nameEnd;
        nameEnd += XmlCharLength(body, nameEnd);
    }
    if (nameEnd == 0) return false;
    // A name that ends in '/' ("<a/ >") would be written back as "<a/>",
    // which reads as another element.
    if (nameEnd - lastCharacter == 1 && body[lastCharacter] == '/') return false;
    // Only one element may stand at the top level.
    if (open_.empty() && !elements_.empty()) return false;
    if (elements_.size() >= kMaxElements) return false;

    XmlElement element;
    element.name = Text(body.substr(0, nameEnd));
    element.selfClosing = selfClosing;
    if (!ReadAttributes(body.substr(nameEnd), element)) return false;
    if (!selfClosing && !ReadContent(element)) return false;

    const auto index = static_cast<std::uint32_t>(elements_.size());
    if (!open_.empty()) elements_[open_.back()].children.push_back(index);
    elements_.push_back(std::move(element));
    if (!selfClosing) open_.push_back(index);
    return true;
}

bool XmlReader::ReadAttributes(std::string_view text, XmlElement& element) {
    // Names are checked for repeats as views into the tag, which stay put
    // while the element's own attribute list grows.
    std::vector<std::string_view> names;
    std::unordered_set<std::string_view> manyNames;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && IsXmlSpace(text[i])) ++i;
        if (i == text.size()) return true;

        // The name runs to '='; a quote or white space before it is an error.
        const std::size_t nameBegin = i;
        while (i < text.size() && text[i] != '=') {
            if (text[i] == '"' || IsXmlSpace(text[i])) return false;
            i += XmlCharLength(text, i);
        }
        if (i == text.size() || i == nameBegin) return false;
        const std::string_view name = text.substr(nameBegin, i - nameBegin);
        ++i;  // the '='

        std::string_view value;
        if (i < text.size() && text[i] == '"') {
            const std::size_t close = FindXml(text, i + 1, "\"");
            if (close == std::string_view::npos) return false;
            value = text.substr(i + 1, close - i - 1);
            i = close + 1;
            if (i < text.size() && !IsXmlSpace(text[i])) return false;
        } else {
            // An unquoted value runs to the next white space. A quote in it
            // could not be written back inside quotes, so it is an error.
            const std::size_t valueBegin = i;
            while (i < text.size() && !IsXmlSpace(text[i])) {
                if (text[i] == '"') return false;
                i += XmlCharLength(text, i);
            }
            value = text.substr(valueBegin, i - valueBegin);
        }

        if (!AddName(names, manyNames, name)) return false;
        element.attributes.push_back({Text(name), Text(value)});
    }
}

bool XmlReader::ReadContent(XmlElement& element) {
    const std::string_view doc = doc_;
    Text pieces;  // the text before each declaration skipped so far
    std::string_view cdata;
    bool hasCdata = false;
    std::size_t run = pos_;  // start of the piece of text being scanned
    while (pos_ < doc.size()) {
        const auto c = static_cast<unsigned char>(doc[pos_]);
        if (c != '<' && c != '>') {
            // The plain loop of the reader's longest scans: one byte, or a
            // two-byte character taken whole.
            pos_ += c > 0x80 && pos_ + 1 < doc.size() ? 2 : 1;
            continue;
        }
        if (c == '>') return false;
        if (doc.compare(pos_, kCdataOpen.size(), kCdataOpen) == 0) {
            const std::size_t begin = pos_ + kCdataOpen.size();
            const std::size_t close = FindXml(doc, begin, kCdataClose);
            if (close == std::string_view::npos) return false;
            // The first section is the text; later ones are dropped.
            if (!hasCdata) cdata = doc.substr(begin, close - begin);
            hasCdata = true;
            pieces.append(doc.substr(run, pos_ - run));
            pos_ = close + kCdataClose.size();
        } else if (pos_ + 1 < doc.size() && doc[pos_ + 1] == '!') {
            pieces.append(doc.substr(run, pos_ - run));
            if (!SkipDeclaration()) return false;
        } else {
            break;  // a child, the end tag, or a syntax error for the caller
        }
        run = pos_;
    }
    element.cdata = hasCdata;
    if (hasCdata) {
        element.text = Text(TrimXml(cdata));
    } else if (pieces.empty()) {
        element.text = Text(TrimXml(doc.substr(run, pos_ - run)));
    } else {
        pieces.append(doc.substr(run, pos_ - run));
        element.text = Text(TrimXml(pieces));
    }
    return true;
}

}  // namespace qh
