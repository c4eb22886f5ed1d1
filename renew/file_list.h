// The file list "renewlist.xml" on the update server: one child of the root
// per file of the newest version, in order, each with the attributes "Name"
// (the path relative to the program directory, "\" between levels) and
// "Hash" (the MD5 digest text, either case). Child names are not looked at.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {

struct ListedFile {
    Text name;
    Text hash;
};

// Reads a loaded list. A child without a "Name" or "Hash" reads with that
// text empty; the name check refuses an empty name and no digest matches an
// empty hash. False, with files untouched, when the tree holds no document.
bool ReadFileList(const XmlTree& tree, std::vector<ListedFile>& files);

// Builds the list as the publisher writes it: the root "RenewList" with one
// "File" child per file. False when a name or hash cannot be stored.
bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree);

}  // namespace qh
