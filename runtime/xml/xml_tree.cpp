#include "runtime/xml/xml_tree.h"

#include <limits>

#include "runtime/files.h"
#include "runtime/xml/xml_reader.h"
#include "runtime/xml/xml_text.h"
#include "runtime/xml/xml_writer.h"

namespace qh {
namespace {

// The n of a step "@n": one or more decimal digits after the "@". Returns 0
// for anything else; a huge n saturates, and resolves to nothing like any n
// beyond the number of children.
std::size_t PositionOf(std::string_view step) {
    if (step.size() < 2 || step[0] != '@') return 0;
    std::size_t n = 0;
    for (char c : step.substr(1)) {
        if (c < '0' || c > '9') return 0;
        const auto digit = static_cast<std::size_t>(c - '0');
        n = n > (std::numeric_limits<std::size_t>::max() - digit) / 10 ? std::numeric_limits<std::size_t>::max()
                                                                        : n * 10 + digit;
    }
    return n;
}

bool IsPositional(std::string_view step) {
    if (step.size() < 2 || step[0] != '@') return false;
    for (char c : step.substr(1)) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The steps of a path, split at the '/' characters that are not the second
// byte of a two-byte character. A final empty step (the path ends with "/")
// is dropped.
std::vector<std::string_view> StepsOf(std::string_view path) {
    std::vector<std::string_view> steps;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = XmlCharLength(path, i);
        if (length == 1 && path[i] == '/') {
            steps.push_back(path.substr(begin, i - begin));
            begin = i + 1;
        }
        i += length;
    }
    steps.push_back(path.substr(begin));
    if (steps.size() > 1 && steps.back().empty()) steps.pop_back();
    return steps;
}

// Whether a stored (escaped) name can be written into a tag and read back as
// the same name: it holds no white space and none of the forbidden bytes.
bool IsWritableName(std::string_view name, std::string_view forbidden) {
    if (name.empty() || EndsInHalfCharacter(name)) return false;
    for (std::size_t i = 0; i < name.size(); i += XmlCharLength(name, i)) {
        if (XmlCharLength(name, i) == 2) continue;
        if (IsXmlSpace(name[i]) || forbidden.find(name[i]) != std::string_view::npos) return false;
    }
    return true;
}

bool IsWritableElementName(std::string_view name) {
    // "<!x" and "<?x" would read as declarations, and a '/' can end a tag.
    return IsWritableName(name, "/") && name[0] != '!' && name[0] != '?';
}

}  // namespace

bool XmlTree::Create(const Text& rootName) {
    const Text name = EscapeXml(rootName);
    if (!IsWritableElementName(name)) return false;
    Close();
    elements_.push_back(XmlElement{});
    elements_[0].name = name;
    return true;
}

bool XmlTree::LoadFile(const Text& path) {
    if (path.empty()) return false;
    Close();
    Bytes bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    return LoadBytes(bytes);
}

bool XmlTree::LoadBytes(const Bytes& bytes) {
    return LoadBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool XmlTree::LoadBytes(std::string_view bytes) {
    Close();
    return XmlReader::Read(bytes, elements_);
}

bool XmlTree::SaveText(Text& document, const Text& encoding, const std::optional<Text>& lineBreak,
                       const std::optional<Text>& indent) const {
    if (elements_.empty()) return false;
    XmlLayout layout;
    layout.encoding = encoding;
    if (lineBreak) layout.lineBreak = *lineBreak;
    if (indent) layout.indent = *indent;
    return XmlWriter::Write(elements_, layout, document);
}

bool XmlTree::Save(const Text& path, const Text& encoding, const std::optional<Text>& lineBreak,
                   const std::optional<Text>& indent) const {
    Text document;
    if (path.empty() || !SaveText(document, encoding, lineBreak, indent)) return false;
    return WriteWholeFile(path, document);
}

void XmlTree::Close() { XmlElements().swap(elements_); }

std::uint32_t XmlTree::Step(std::uint32_t from, std::string_view step) const {
    const std::vector<std::uint32_t>& children = elements_[from].children;
    if (!step.empty() && step[0] == '@') {
        const std::size_t n = PositionOf(step);
        return n >= 1 && n <= children.size() ? children[n - 1] : kNoElement;
    }
    for (std::uint32_t child : children) {
        if (elements_[child].name == step) return child;
    }
    return kNoElement;
}

std::uint32_t XmlTree::Resolve(const Text& path) const {
    if (path.empty() || elements_.empty()) return kNoElement;
    const Text escaped = EscapeXml(path);
    const std::vector<std::string_view> steps = StepsOf(escaped);
    // The root is "@1" exactly ("@01" is not) or the root's own name.
    if (steps[0] != "@1" && steps[0] != elements_[0].name) return kNoElement;
    std::uint32_t current = 0;
    for (std::size_t i = 1; i < steps.size() && current != kNoElement; ++i) {
        current = Step(current, steps[i]);
    }
    return current;
}

bool XmlTree::ChildCount(const Text& path, int& count) const {
    const std::uint32_t e = Resolve(path);
    if (e == kNoElement) return false;
    count = static_cast<int>(elements_[e].children.size());
    return true;
}

bool XmlTree::ChildNames(const Text& path, std::vector<Text>& names) const {
    const std::uint32_t e = Resolve(path);
    if (e == kNoElement || elements_[e].children.empty()) return false;
    std::vector<Text> out;
    out.reserve(elements_[e].children.size());
    for (std::uint32_t child : elements_[e].children) out.push_back(UnescapeXml(elements_[child].name));
    names = std::move(out);
    return true;
}

bool XmlTree::NodeText(const Text& path, Text& text) const {
    const std::uint32_t e = Resolve(path);
    if (e == kNoElement) return false;
    const XmlElement& element = elements_[e];
    text = element.cdata ? element.text : UnescapeXml(element.text);
    return true;
}

bool XmlTree::GetAttribute(const Text& path, const Text& name, Text& value) const {
    if (name.empty()) return false;
    const std::uint32_t e = Resolve(path);
    if (e == kNoElement) return false;
    const std::vector<XmlAttribute>& attributes = elements_[e].attributes;
    if (IsPositional(name)) {
        const std::size_t n = PositionOf(name);
        if (n < 1 || n > attributes.size()) return false;
        value = UnescapeXml(attributes[n - 1].value);
        return true;
    }
    const Text escaped = EscapeXml(name);
    for (const XmlAttribute& a : attributes) {
        if (a.name == escaped) {
            value = UnescapeXml(a.value);
            return true;
        }
    }
    return false;
}

bool XmlTree::InsertChild(const Text& parentPath, const Text& name, const Text& text, bool cdata) {
    const Text escapedName = EscapeXml(name);
    if (!IsWritableElementName(escapedName)) return false;
    if (EndsInHalfCharacter(text) || (cdata && text.find("]]>") != Text::npos)) return false;
    const std::uint32_t parent = Resolve(parentPath);
    if (parent == kNoElement) return false;

    XmlElement child;
    child.name = escapedName;
    child.text = cdata ? text : EscapeXml(text);
    child.cdata = cdata;
    const auto index = static_cast<std::uint32_t>(elements_.size());
    elements_.push_back(std::move(child));
    elements_[parent].children.push_back(index);
    // A parent read as "<x/>" is written with its new children, not as "/>".
    elements_[parent].selfClosing = false;
    return true;
}

bool XmlTree::AddAttribute(const Text& path, const Text& name, const Text& value) {
    const Text escapedName = EscapeXml(name);
    if (!IsWritableName(escapedName, "=") || EndsInHalfCharacter(value)) return false;
    const std::uint32_t e = Resolve(path);
    if (e == kNoElement) return false;
    std::vector<XmlAttribute>& attributes = elements_[e].attributes;
    for (const XmlAttribute& a : attributes) {
        if (a.name == escapedName) return false;
    }
    attributes.push_back({escapedName, EscapeXml(value)});
    return true;
}

}  // namespace qh
