#include "runtime/xml/xml_writer.h"

#include <algorithm>
#include <cstddef>

namespace qh {
namespace {

// One element on the way down the document: the next of its children to
// write. The walk keeps its own stack, so depth costs no call stack.
struct Frame {
    std::uint32_t element;
    std::size_t nextChild;
};

// Starts a new line indented to depth; false when that would take the
// document beyond its size limit.
bool AppendIndent(Text& out, const XmlLayout& layout, std::size_t depth) {
    const std::size_t room = XmlWriter::kMaxDocumentBytes - std::min(out.size(), XmlWriter::kMaxDocumentBytes);
    const std::size_t unit = layout.indent.size();
    if (layout.lineBreak.size() > room || (unit > 0 && depth > (room - layout.lineBreak.size()) / unit)) {
        return false;
    }
    out += layout.lineBreak;
    // Each level's indent is a copy of the one before it: append the first
    // unit, then double what has been written of this indent so far.
    const std::size_t start = out.size();
    const std::size_t total = unit * depth;
    if (total > 0) out += layout.indent;
    while (out.size() - start < total) {
        out.append(out, start, std::min(out.size() - start, total - (out.size() - start)));
    }
    return true;
}

// Writes the start of an element; returns whether it was closed at once
// ("/>"), which is so for an element read in that form and for one with
// neither text nor children.
bool AppendStart(Text& out, const XmlElement& e) {
    out += '<';
    out += e.name;
    for (const XmlAttribute& a : e.attributes) {
        out += ' ';
        out += a.name;
        out += "=\"";
        out += a.value;
        out += '"';
    }
    if (e.selfClosing || (e.text.empty() && e.children.empty())) {
        out += "/>";
        return true;
    }
    out += '>';
    if (e.cdata) {
        out += "<![CDATA[";
        out += e.text;
        out += "]]>";
    } else {
        out += e.text;
    }
    return false;
}

}  // namespace

bool XmlWriter::Write(const XmlElements& elements, const XmlLayout& layout, Text& document) {
    Text out = "<?xml version=\"1.0\" encoding=\"";
    out += layout.encoding.empty() ? Text("gb2312") : layout.encoding;
    out += "\"?>";
    std::vector<Frame> stack;
    if (!elements.empty()) {
        if (!AppendIndent(out, layout, 0)) return false;
        if (!AppendStart(out, elements[0])) stack.push_back({0, 0});
    }
    while (!stack.empty()) {
        Frame& top = stack.back();
        const XmlElement& e = elements[top.element];
        if (top.nextChild < e.children.size()) {
            const std::uint32_t child = e.children[top.nextChild++];
            if (!AppendIndent(out, layout, stack.size())) return false;
            if (!AppendStart(out, elements[child])) stack.push_back({child, 0});
            continue;
        }
        if (!e.children.empty() && !AppendIndent(out, layout, stack.size() - 1)) return false;
        out += "</";
        out += e.name;
        out += '>';
        stack.pop_back();
    }
    document = std::move(out);
    return true;
}

}  // namespace qh
