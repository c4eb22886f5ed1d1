// The file list "renewlist.xml" on the update server: one child of the root
// per file of the newest version, in order, each with the attributes "Name"
// (the path relative to the program directory, "\" between levels) and
// "Hash" (the MD5 digest text, either case). Child names are not looked at.
//
// Newer publishers add what older readers pass over: "Sha256" on each file
// (the SHA-256 digest text, 64 hexadecimal digits) and "Version" on the
// root (the version the list belongs to, so that a signed list cannot be
// served with another version's document).
#pragma once

#include <vector>

#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {

struct ListedFile {
    Text name;
    Text hash;
    Text sha256;  // empty when the list carries none
};

// Reads a loaded list. A child without a "Name" or "Hash" reads with that
// text empty; the name check refuses an empty name and no digest matches an
// empty hash. False, with files untouched, when the tree holds no document.
bool ReadFileList(const XmlTree& tree, std::vector<ListedFile>& files);

// The root's "Version"; empty when the list has none.
Text FileListVersion(const XmlTree& tree);

// Builds the list as the publisher writes it: the root "RenewList" with one
// "File" child per file, and version (when not empty) on the root. False
// when a name or digest cannot be stored.
bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree, const Text& version = Text());

}  // namespace qh
