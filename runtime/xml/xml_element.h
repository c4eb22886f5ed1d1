// The elements of one XML document, held in one table.
//
// A document is a vector of elements whose first entry is the root; an
// element lists its children by their places in that vector. Keeping the
// elements flat means that no operation, not even destroying the tree,
// recurses along the depth of the document, so a document nested a million
// deep is as safe as a flat one.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace qh {

// Names and values are kept escaped: as they stood in the file, or escaped
// when an operation stored them.
struct XmlAttribute {
    Text name;
    Text value;
};

struct XmlElement {
    Text name;
    Text text;
    bool cdata = false;        // the text was, or is to be written as, a CDATA section
    bool selfClosing = false;  // the element was read in the "/>" form
    std::vector<XmlAttribute> attributes;
    std::vector<std::uint32_t> children;  // places in the document's element table
};

using XmlElements = std::vector<XmlElement>;

}  // namespace qh
