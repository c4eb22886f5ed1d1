// libFuzzer target for the updater's two documents as they arrive, read
// without their signatures (a development build checks none): any bytes are
// read as the version document and as the file list without a crash, a hang
// or unbounded memory. Every name the name check allows has a staging name,
// and a list that the publisher's writer can store reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/xml/xml_tree.h"

namespace {

bool SameFiles(const std::vector<qh::ListedFile>& a, const std::vector<qh::ListedFile>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].hash != b[i].hash || a[i].sha256 != b[i].sha256 || a[i].size != b[i].size) {
            return false;
        }
    }
    return true;
}

void ReadList(const qh::XmlTree& tree) {
    std::vector<qh::ListedFile> files;
    if (!qh::ReadFileList(tree, files)) return;
    const std::vector<qh::ListedFile> banner = qh::ReadBannerList(tree);
    const qh::Text version = qh::FileListVersion(tree);
    for (const qh::ListedFile& file : files) {
        if (qh::IsAllowedFileName(file.name) && qh::StagingName(file.name).empty()) __builtin_trap();
    }
    qh::XmlTree written;
    if (!qh::BuildFileList(files, written, version, banner)) return;
    std::vector<qh::ListedFile> again;
    if (!qh::ReadFileList(written, again) || !SameFiles(files, again)) __builtin_trap();
    if (!SameFiles(banner, qh::ReadBannerList(written)) || qh::FileListVersion(written) != version) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qh::XmlTree tree;
    if (!tree.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
    qh::VersionDocument document;
    if (qh::ReadVersionDocument(tree, document) && document.version.empty()) __builtin_trap();
    ReadList(tree);
    return 0;
}
