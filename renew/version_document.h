// The version document "renew.xml" on the update server: the newest version
// at "@1/@1" and the release notes at "@1/@4". Only positions matter; the
// second and third children are never read.
#pragma once

#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {

struct VersionDocument {
    Text version;  // such as "1.0.0.506"; compared byte for byte with the local one
    Text notes;    // shown to the user; may be long and hold line breaks
};

// Reads a loaded document. False, with document untouched, when the tree
// holds no document or no version text: a failed version query.
bool ReadVersionDocument(const XmlTree& tree, VersionDocument& document);

// Builds the document as the publisher writes it: the root "Renew" with the
// children "Version", "Product", "FileCount" and "Notes". False when the
// version is empty or a text cannot be stored.
bool BuildVersionDocument(const VersionDocument& document, int fileCount, XmlTree& tree);

}  // namespace qh
