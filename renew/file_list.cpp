#include "renew/file_list.h"

#include "runtime/convert.h"

namespace qh {

bool ReadFileList(const XmlTree& tree, std::vector<ListedFile>& files) {
    int count = 0;
    if (!tree.ChildCount("@1", count)) return false;
    std::vector<ListedFile> read(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        const Text path = "@1/@" + ToText(static_cast<std::int32_t>(n));
        ListedFile& file = read[static_cast<std::size_t>(n) - 1];
        tree.GetAttribute(path, "Name", file.name);
        tree.GetAttribute(path, "Hash", file.hash);
        tree.GetAttribute(path, "Sha256", file.sha256);
    }
    files = std::move(read);
    return true;
}

Text FileListVersion(const XmlTree& tree) {
    Text version;
    tree.GetAttribute("@1", "Version", version);
    return version;
}

bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree, const Text& version) {
    if (!tree.Create("RenewList")) return false;
    if (!version.empty() && !tree.AddAttribute("@1", "Version", version)) return false;
    int n = 0;
    for (const ListedFile& file : files) {
        const Text path = "@1/@" + ToText(static_cast<std::int32_t>(++n));
        if (!tree.InsertChild("@1", "File", "") || !tree.AddAttribute(path, "Name", file.name) ||
            !tree.AddAttribute(path, "Hash", file.hash) ||
            (!file.sha256.empty() && !tree.AddAttribute(path, "Sha256", file.sha256))) {
            return false;
        }
    }
    return true;
}

}  // namespace qh
