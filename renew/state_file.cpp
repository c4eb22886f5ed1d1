#include "renew/state_file.h"

#include <algorithm>

#include "renew/file_names.h"
#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/system.h"

namespace qh {
namespace {

// Only the staged copy of the updater is never installed: the running
// updater cannot replace itself. A new updater travels as "renew.ex_".
constexpr char kUpdaterFile[] = "renew.exe";

std::string_view View(const Bytes& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Only ASCII hexadecimal digits, in either case.
bool IsPlainHex(const Text& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

}  // namespace

bool BuildStateFile(const std::vector<Text>& downloaded, const Text& newestVersion, XmlTree& tree) {
    if (!tree.Create("Config") || !tree.InsertChild("@1", "RENEW", "") ||
        !tree.AddAttribute("@1/@1", "St", "1") || !tree.InsertChild("@1", "ALL", "") ||
        !tree.AddAttribute("@1/@2", "St", "1") || !tree.InsertChild("@1", "List", "")) {
        return false;
    }
    int listed = 0;
    for (const Text& name : downloaded) {
        if (name == kUpdaterFile || !IsAllowedFileName(name)) continue;
        const Text path = "@1/@3/@" + ToText(static_cast<std::int32_t>(++listed));
        if (!tree.InsertChild("@1/@3", "File", "") || !tree.AddAttribute(path, "Name", HexEncode(name))) {
            return false;
        }
    }
    return tree.InsertChild("@1", "LstRenew", "") && tree.AddAttribute("@1/@4", "Ver", newestVersion);
}

bool SaveStateFile(const Text& path, const std::vector<Text>& downloaded, const Text& newestVersion) {
    XmlTree tree;
    const bool saved = BuildStateFile(downloaded, newestVersion, tree) && tree.Save(path);
    tree.Close();
    return saved;
}

bool SaveKeptList(const KeptList& kept) {
    if (kept.list.empty()) return false;
    const Text signature = ProgramFile(kKeptSignatureName);
    // The signature goes first: a list never sits beside the signature of
    // another list once both writes are done.
    const bool signatureKept =
        kept.signature.empty() ? RemoveFile(signature) : WriteWholeFile(signature, View(kept.signature));
    return signatureKept && WriteWholeFile(ProgramFile(kKeptListName), View(kept.list));
}

bool LoadKeptList(KeptList& kept) {
    KeptList read;
    const Text signature = ProgramFile(kKeptSignatureName);
    if (!ReadWholeFile(ProgramFile(kKeptListName), read.list)) return false;
    if (FileExists(signature) && !ReadWholeFile(signature, read.signature)) return false;
    kept = std::move(read);
    return true;
}

void RemoveKeptList() {
    RemoveFile(ProgramFile(kKeptListName));
    RemoveFile(ProgramFile(kKeptSignatureName));
}

bool UpdateIsWaiting(const Text& path) {
    XmlTree tree;
    Text state;
    const bool waiting = tree.LoadFile(path) && tree.GetAttribute("@1/@2", "St", state) && state == "1";
    tree.Close();
    return waiting;
}

bool ReadPendingUpdate(const Text& path, PendingUpdate& update) {
    XmlTree tree;
    if (!tree.LoadFile(path)) return false;
    PendingUpdate read;
    int count = 0;
    tree.ChildCount("@1/@3", count);
    for (int n = 1; n <= count; ++n) {
        Text hex;
        tree.GetAttribute("@1/@3/@" + ToText(static_cast<std::int32_t>(n)), "Name", hex);
        const Text name = HexDecode(hex);
        read.files.push_back({name, Text(kStagingFolder) + "\\" + (IsPlainHex(hex) ? hex : HexEncode(name))});
    }
    tree.GetAttribute("@1/@4", "Ver", read.version);
    tree.Close();
    update = std::move(read);
    return true;
}

}  // namespace qh
