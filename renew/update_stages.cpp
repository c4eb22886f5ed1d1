#include "renew/update_stages.h"

#include <algorithm>
#include <vector>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/state_file.h"
#include "renew/version_document.h"
#include "renew/version_order.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/download.h"
#include "runtime/files.h"
#include "runtime/http.h"
#include "runtime/signing.h"
#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr char kVersionDocument[] = "renew.xml";
// The detached signature of a document is served beside it under this suffix.
constexpr char kSignatureSuffix[] = ".sig";
constexpr char kNoVersion[] = "获取失败";
constexpr char kUpToDate[] = "恭喜!您当前使用的青禾计算器已是最新版本!";
constexpr char kConnectionFailed[] = "连接服务器失败!";
constexpr char kDownloadFailed[] = "下载失败";
constexpr char kDownloaded[] = "下载完毕";
constexpr char kNotYet[] = "-";
// The pause that lets the user read "正在对比文件..." before the list fills.
constexpr int kCompareNoticeMs = 500;
constexpr double kBytesPerMegabyte = 1048576.0;

Text VersionLine(const Text& local, const Text& server) {
    return "本地版本:" + local + "    服务器版本:" + server;
}

// The progress cell: the percentage truncated toward zero, or the received
// size when the server announced no length.
Text ProgressText(std::uint32_t received, std::uint32_t total) {
    if (total == 0) return ToText(RoundHalfUp(received / kBytesPerMegabyte, 2)) + " M";
    return ToText(ToInteger(static_cast<double>(received) / total * 100)) + " %";
}

}  // namespace

Text UpdateStages::Megabytes(std::uint64_t bytes) {
    return ToText(RoundHalfUp(static_cast<double>(bytes) / kBytesPerMegabyte, 2));
}

void UpdateStages::CloseWindow() { TheHost().PostMessage(c_.hwnd, msg::kClose, 0, 0); }

bool RequestServerDocument(const UpdaterState& state, const Text& name, XmlTree& tree, KeptList* keep) {
    HttpOptions options;
    options.cancel = &state.stopping;
    const Bytes answer = HttpRequest(state.updateUrl + name, options);
    if (answer.empty()) return false;
    Bytes signature;
    if (!state.publicKey.empty()) {
        signature = HttpRequest(state.updateUrl + name + kSignatureSuffix, options);
        const auto view = [](const Bytes& b) { return std::string_view(reinterpret_cast<const char*>(b.data()), b.size()); };
        if (!VerifyDocument(state.publicKey, view(answer), view(signature))) return false;
    }
    if (!tree.LoadBytes(answer)) return false;
    if (keep != nullptr) *keep = KeptList{answer, std::move(signature)};
    return true;
}

UpdateStages::Offer UpdateStages::OfferFor(const Text& serverVersion) const {
    if (state_.publicKey.empty()) return serverVersion != state_.localVersion ? Offer::kNewer : Offer::kCurrent;
    const std::optional<int> order = CompareVersions(serverVersion, state_.localVersion);
    if (!order || *order < 0) return Offer::kRefused;
    return *order > 0 ? Offer::kNewer : Offer::kCurrent;
}

bool UpdateStages::HasListedDigests(const Text& path, const Text& name) const {
    const auto entry = state_.listed.find(name);
    if (entry == state_.listed.end()) return false;
    // A file that is not there has the digest of empty input: a listed empty
    // file given by its MD5 alone needs no download.
    if (!FileExists(path)) return entry->second.sha256.empty() && !DigestsDiffer(kEmptyDigest, entry->second.hash);
    return FileMatchesListing(path, entry->second);
}

void UpdateStages::CheckVersion() {
    c_.statusLabel.Text("正在获取...", true);
    c_.notes.Text("正在获取...", true);
    c_.mainButton.Disabled(1, true);

    XmlTree tree;
    VersionDocument document;
    const bool read = RequestServerDocument(state_, kVersionDocument, tree) && ReadVersionDocument(tree, document);
    tree.Close();
    if (state_.stopping) return;
    state_.serverVersion = read ? document.version : Text();
    // A version the keyed updater will not take counts as no answer.
    const Offer offer = state_.serverVersion.empty() ? Offer::kRefused : OfferFor(state_.serverVersion);
    if (offer == Offer::kRefused) state_.serverVersion.clear();
    c_.statusLabel.Text(VersionLine(state_.localVersion, state_.serverVersion), true);

    if (state_.serverVersion.empty()) {
        c_.statusLabel.Text(VersionLine(state_.localVersion, kNoVersion), true);
        c_.notes.Text(kConnectionFailed, true);
        c_.mainButton.Text("重新获取", true);
        c_.mainButton.Disabled(0, true);
        if (!state_.interactive) CloseWindow();
        return;
    }
    if (offer == Offer::kNewer) {
        c_.notes.Text(document.notes, true);
        c_.mainButton.Text("下一步", true);
        c_.mainButton.UserText(kStageFileList, true);
        c_.mainButton.Disabled(0, true);
    } else {
        c_.notes.Text(kUpToDate, true);
        c_.mainButton.Text("确定", true);
        c_.mainButton.Disabled(0, true);
        if (!state_.interactive) {
            CloseWindow();
            return;
        }
        state_.closeWithoutAsking = true;
    }
    c_.window.FocusControl(c_.mainButton.Id());
    if (!state_.interactive) FetchFileList();
}

void UpdateStages::FetchFileList() {
    c_.mainButton.Disabled(1, true);
    c_.mainButton.Text("获取更新...", true);
    c_.statusLabel.Text("正在获取更新文件列表,请稍后...", true);
    c_.notes.Visible(0, true);

    XmlTree tree;
    std::vector<ListedFile> files;
    KeptList kept;
    bool read = RequestServerDocument(state_, kFileListDocument, tree, &kept) && ReadFileList(tree, files);
    // A signed list must be the one of the version offered, not a list of
    // another release served with this version's document.
    if (read && !state_.publicKey.empty() && FileListVersion(tree) != state_.serverVersion) read = false;
    // With the maker's key every file must be checked against the list.
    // An entry without a digest would let the server put any bytes under
    // its name.
    if (read && !state_.publicKey.empty() && !std::all_of(files.begin(), files.end(), HasDigest)) read = false;
    tree.Close();
    state_.stagedList = read ? std::move(kept) : KeptList{};
    if (state_.stopping) return;
    if (!read) {
        c_.statusLabel.Text(kConnectionFailed, true);
        c_.mainButton.Text("重新连接", true);
        c_.mainButton.Disabled(0, true);
        if (!state_.interactive) CloseWindow();
        return;
    }

    c_.statusLabel.Text("正在对比文件...", true);
    Sleep(kCompareNoticeMs);
    c_.downloadList.Visible(1, true);
    c_.downloadList.ClearRows();
    c_.downloadList.SuspendDraw();
    state_.listed.clear();
    for (const ListedFile& file : files) {
        // A name the program would never write is not fetched either.
        if (!IsAllowedFileName(file.name)) continue;
        state_.listed[file.name] = file;
        if (HasListedDigests(ProgramFile(file.name), file.name)) continue;
        const int row = c_.downloadList.InsertRow(0, file.name);
        c_.downloadList.CellText(row, kColumnSize, kNotYet, true);
        c_.downloadList.CellText(row, kColumnProgress, kNotYet, true);
        c_.downloadList.CellText(row, kColumnHash, file.hash, true);
    }
    c_.downloadList.ResumeDraw();
    c_.downloadList.Visible(1, true);
    c_.downloadList.Redraw();

    c_.statusLabel.Text("文件效验完毕,请点击 下一步 开始下载安装更新.", true);
    c_.mainButton.Text("下一步", true);
    c_.mainButton.UserText(kStageDownload, true);
    c_.mainButton.Disabled(0, true);
    c_.window.FocusControl(c_.mainButton.Id());
    if (!state_.interactive || c_.downloadList.RowCount() == 0) DownloadFiles();
}

bool UpdateStages::DownloadRow(int row) {
    const Text name = c_.downloadList.CellText(row, kColumnName);
    const Text hash = c_.downloadList.CellText(row, kColumnHash);
    c_.statusLabel.Text("正在下载文件:" + name + "...", true);
    c_.downloadList.SelectedRow(row, true);
    c_.downloadList.EnsureVisible(row);
    const Text staged = ProgramFile(StagingName(name));
    if (HasListedDigests(staged, name)) {
        // Staged by an earlier run with the right digest: not fetched again.
        Bytes bytes;
        ReadWholeFile(staged, bytes);
        c_.downloadList.CellText(row, kColumnSize, Megabytes(bytes.size()), true);
        c_.downloadList.CellText(row, kColumnProgress, kDownloaded, true);
        return true;
    }
    DownloadOptions options;
    options.expectedMd5 = hash;
    if (const auto entry = state_.listed.find(name); entry != state_.listed.end()) {
        options.expectedSha256 = entry->second.sha256;
        options.expectedSize = entry->second.size;
    }
    options.partialPath = ProgramFile(Text(kPartFolder) + staged.substr(staged.rfind('\\')));
    options.cancel = &state_.stopping;
    const bool fetched = DownloadFile(
        FileAddress(state_.updateUrl, name), staged,
        [this, row](std::uint32_t received, std::uint32_t total) {
            // The size cell shows the announced length: "0" when the server
            // announced none (the progress cell then shows what came).
            c_.downloadList.CellText(row, kColumnSize, Megabytes(total), true);
            c_.downloadList.CellText(row, kColumnProgress, ProgressText(received, total), true);
        },
        options);
    c_.downloadList.CellText(row, kColumnProgress, fetched ? kDownloaded : kDownloadFailed, true);
    return fetched;
}

void UpdateStages::ReportDownloadFailure() {
    c_.statusLabel.Text("文件更新失败,请检查网络连接!", true);
    c_.mainButton.Text("重新下载", true);
    c_.mainButton.Disabled(0, true);
    c_.cancelButton.Disabled(0, true);
    if (!state_.interactive) CloseWindow();
}

void UpdateStages::DownloadFiles() {
    c_.mainButton.Disabled(1, true);
    c_.cancelButton.Disabled(1, true);
    const int rows = c_.downloadList.RowCount();
    for (int row = 1; row <= rows; ++row) {
        const bool fetched = DownloadRow(row);
        if (state_.stopping || !fetched) {
            // A broken-off transfer keeps its part for the next try; a folder
            // of parts with nothing left in it goes.
            RemoveEmptyFolder(ProgramFile(kPartFolder));
            if (!state_.stopping) ReportDownloadFailure();
            return;
        }
    }
    RemoveEmptyFolder(ProgramFile(kPartFolder));

    std::vector<Text> names;
    for (int row = 1; row <= rows; ++row) names.push_back(c_.downloadList.CellText(row, kColumnName));
    const Text stateFile = ProgramFile(kStateFileName);
    CreateFolders(stateFile);
    // The list goes first, so a state file never exists without the list
    // its files are checked against.
    if (!SaveKeptList(state_.stagedList) || !SaveStateFile(stateFile, names, state_.serverVersion)) {
        // Without the list and the state file nothing would be installed:
        // say so, and let the user try again.
        ReportDownloadFailure();
        return;
    }
    c_.cancelButton.Disabled(0, true);
    c_.statusLabel.Visible(0, true);
    c_.downloadList.Visible(0, true);
    c_.mainButton.Visible(0, true);
    c_.cancelButton.Text("完成", true);
    c_.startCheck.Visible(1, true);
    c_.siteCheck.Visible(1, true);
    // The focus leaves the hidden button for 完成, so Enter finishes.
    TheHost().RunOnWindowThread(c_.hwnd, [this] { c_.window.FocusControl(c_.cancelButton.Id()); });
    state_.closeWithoutAsking = true;
    if (!state_.interactive) CloseWindow();
}

}  // namespace qh
