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
    }
    files = std::move(read);
    return true;
}

bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree) {
    if (!tree.Create("RenewList")) return false;
    int n = 0;
    for (const ListedFile& file : files) {
        const Text path = "@1/@" + ToText(static_cast<std::int32_t>(++n));
        if (!tree.InsertChild("@1", "File", "") || !tree.AddAttribute(path, "Name", file.name) ||
            !tree.AddAttribute(path, "Hash", file.hash)) {
            return false;
        }
    }
    return true;
}

}  // namespace qh
