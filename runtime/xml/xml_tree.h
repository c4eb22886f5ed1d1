// One XML document in memory, read and written by positional paths.
//
// A path is a list of steps separated by "/". The first step is "@1" or the
// root's name; each further step "@n" (n >= 1) is the n-th child, and a step
// that does not start with "@" is the first child of that name. A path that
// ends with "/" addresses the element before it. "@1/@3/@2" is the second
// child of the root's third child.
//
// Every operation returns a success flag and leaves its output untouched when
// it fails, so callers start from an empty value and test the flag. An empty
// path or name makes any operation fail at once. Names, paths and texts are
// escaped when stored or looked up and unescaped when read (see xml_text.h),
// so a name is found under its plain form.
//
// A tree is used by one thread at a time; separate trees are independent.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/xml/xml_element.h"

namespace qh {

class XmlTree {
public:
    // A new document whose root has this name, replacing any other.
    bool Create(const Text& rootName);
    // Replaces the document by the one read from a file or a byte block. On
    // failure (the file cannot be read, is empty, or does not parse) the
    // tree is left empty.
    bool LoadFile(const Text& path);
    bool LoadBytes(const Bytes& bytes);
    bool LoadBytes(std::string_view bytes);
    // Writes the document: to a temporary file beside path that then
    // replaces it, so a failed save leaves the old file as it was. encoding
    // is named in the header ("gb2312" when empty); the bytes are the stored
    // GBK whatever it names. lineBreak defaults to CR LF, indent to a tab.
    bool Save(const Text& path, const Text& encoding = Text(),
              const std::optional<Text>& lineBreak = std::nullopt,
              const std::optional<Text>& indent = std::nullopt) const;
    // The bytes that Save would write. Both fail for a document whose written
    // form would pass XmlWriter::kMaxDocumentBytes (its indentation grows
    // with the square of its depth).
    bool SaveText(Text& document, const Text& encoding = Text(),
                  const std::optional<Text>& lineBreak = std::nullopt,
                  const std::optional<Text>& indent = std::nullopt) const;
    void Close();
    bool HasDocument() const { return !elements_.empty(); }

    // The number of children, 0 for an element without any.
    bool ChildCount(const Text& path, int& count) const;
    // The children's names in order; fails for an element without children.
    bool ChildNames(const Text& path, std::vector<Text>& names) const;
    // The raw text of a CDATA element, else the unescaped text.
    bool NodeText(const Text& path, Text& text) const;
    // The value of the attribute of that name, or of the n-th attribute for
    // "@n" (n >= 1).
    bool GetAttribute(const Text& path, const Text& name, Text& value) const;

    // Appends a last child to the element at parentPath. With cdata the text
    // is stored raw and written as a CDATA section; a text holding "]]>"
    // cannot be written that way and is refused. A name that could not be
    // read back from the file (white space, '/', a leading '!' or '?') is
    // refused too.
    bool InsertChild(const Text& parentPath, const Text& name, const Text& text,
                     bool cdata = false);
    // Appends an attribute; fails when the element already has one of that
    // name (an existing value is never replaced) or the name could not be
    // read back (white space, '=', '/').
    bool AddAttribute(const Text& path, const Text& name, const Text& value);

private:
    static constexpr std::uint32_t kNoElement = UINT32_MAX;

    // The element a path addresses, or kNoElement.
    std::uint32_t Resolve(const Text& path) const;
    std::uint32_t Step(std::uint32_t from, std::string_view step) const;

    XmlElements elements_;  // the root first; empty when there is no document
};

}  // namespace qh
