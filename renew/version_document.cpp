#include "renew/version_document.h"

#include "runtime/convert.h"

namespace qh {

bool ReadVersionDocument(const XmlTree& tree, VersionDocument& document) {
    VersionDocument read;
    if (!tree.NodeText("@1/@1", read.version) || read.version.empty()) return false;
    tree.NodeText("@1/@4", read.notes);  // missing notes read as empty
    document = std::move(read);
    return true;
}

bool BuildVersionDocument(const VersionDocument& document, int fileCount, XmlTree& tree) {
    if (document.version.empty()) return false;
    return tree.Create("Renew") && tree.InsertChild("@1", "Version", document.version) &&
           tree.InsertChild("@1", "Product", "青禾计算器") &&
           tree.InsertChild("@1", "FileCount", ToText(static_cast<std::int32_t>(fileCount))) &&
           tree.InsertChild("@1", "Notes", document.notes);
}

}  // namespace qh
