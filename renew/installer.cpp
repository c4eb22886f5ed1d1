#include "renew/installer.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/installed_version.h"
#include "renew/state_file.h"
#include "runtime/command_line.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/process.h"
#include "runtime/signing.h"
#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

// Pauses that give a quitting calculator time to let go of its files.
constexpr int kAfterQuitMs = 100;
constexpr int kBetweenFilesMs = 100;
// A file another program holds (a virus scanner, an indexer, a calculator
// that is slow to end) often comes free within seconds: its replacement is
// tried this many times, this far apart, before the install gives up.
constexpr int kReplaceAttempts = 5;
constexpr int kReplaceRetryMs = 800;

// The reasons a user reads.
constexpr char kNoTrustedList[] = "更新文件列表缺失或无效";
constexpr char kCalculatorStillRunning[] = "青禾计算器仍在运行, 请关闭后重试";
constexpr char kVersionNotRecorded[] = "无法记录新版本";
constexpr char kNotAsListed[] = " 与更新文件列表不符";
constexpr char kCannotReplace[] = " 无法替换, 请关闭正在使用它的程序后重试";
constexpr char kFailedLead[] = "更新未能完成: ";
constexpr char kFullStop[] = "。";
constexpr char kTriedAgain[] = "下次启动时将再次尝试。";

std::string_view View(const Bytes& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool IsPlainName(const Text& name) {
    return IsAllowedFileName(name) && name.find('\\') == Text::npos && name.find('/') == Text::npos;
}

// Where the installed copy of a replaced file waits: the hex form of its name.
Text BackupFile(const Text& name) { return ProgramFile(Text(kBackupFolder) + "\\" + HexEncode(name)); }

// The working folders of the download stage and the install, once nothing
// is left in them.
void RemoveEmptyWorkFolders() {
    RemoveEmptyFolder(ProgramFile(kPartFolder));
    RemoveEmptyFolder(ProgramFile(kBackupFolder));
}

// The kept list's entries by name. False when the list is missing or
// unreadable, or, with a key, when its signature is not valid or it belongs
// to another version than the state file's.
bool LoadTrustedList(const std::string& publicKey, const Text& version, std::map<Text, ListedFile>& listed) {
    KeptList kept;
    if (!LoadKeptList(kept)) return false;
    if (!publicKey.empty() && !VerifyDocument(publicKey, View(kept.list), View(kept.signature))) return false;
    XmlTree tree;
    std::vector<ListedFile> files;
    bool read = tree.LoadBytes(kept.list) && ReadFileList(tree, files);
    if (read && !publicKey.empty() && FileListVersion(tree) != version) read = false;
    tree.Close();
    if (!read) return false;
    for (ListedFile& file : files) listed.emplace(file.name, std::move(file));
    return true;
}

// Checks every listed file before anything moves and gives the names whose
// staged copies are to move. The reason for the user when a check fails,
// else the empty text.
Text CheckStagedFiles(const InstallRequest& request, const PendingUpdate& update,
                      std::vector<PendingFile>& toMove) {
    std::map<Text, ListedFile> listed;
    if (!LoadTrustedList(request.publicKey, update.version, listed)) return kNoTrustedList;
    for (const PendingFile& file : update.files) {
        if (!IsAllowedFileName(file.name)) continue;
        const auto entry = listed.find(file.name);
        if (entry == listed.end()) return file.name + kNotAsListed;
        const Text staged = ProgramFile(file.staged);
        if (FileExists(staged)) {
            if (!FileMatchesListing(staged, entry->second)) return file.name + kNotAsListed;
            toMove.push_back(file);
        } else if (!FileMatchesListing(ProgramFile(file.name), entry->second)) {
            // Neither staged nor installed as listed: nothing to install it from.
            return file.name + kNotAsListed;
        }
    }
    return Text();
}

bool CopyWholeFile(const Text& from, const Text& to) {
    Bytes bytes;
    return ReadWholeFile(from, bytes) && WriteWholeFile(to, View(bytes));
}

// Keeps a copy of the installed file (once: a copy an interrupted run left
// holds the older file) and moves the staged file over it in one step.
bool TryReplace(const PendingFile& file) {
    const Text target = ProgramFile(file.name);
    const Text backup = BackupFile(file.name);
    if (FileExists(target) && !FileExists(backup)) {
        CreateFolders(backup);
        if (!CopyWholeFile(target, backup)) return false;
    }
    CreateFolders(target);
    return MoveFileOver(ProgramFile(file.staged), target);
}

bool Replace(const PendingFile& file) {
    for (int attempt = 1;; ++attempt) {
        if (TryReplace(file)) return true;
        if (attempt == kReplaceAttempts) return false;
        Sleep(kReplaceRetryMs);
    }
}

// Undoes one replacement: the new file is staged again and the kept copy
// goes back in one step; a file that did not exist before moves back to
// the staging folder. A step that fails leaves the new, listed file in place,
// which the next run counts as installed.
void PutBack(const PendingFile& file) {
    const Text target = ProgramFile(file.name);
    const Text staged = ProgramFile(file.staged);
    const Text backup = BackupFile(file.name);
    if (FileExists(backup)) {
        if (CopyWholeFile(target, staged)) MoveFileOver(backup, target);
    } else {
        MoveFileOver(target, staged);
    }
}

// Moves every staged file in, in list order; at the first that cannot be
// replaced, puts back those already moved and gives the reason.
Text MoveStagedFiles(const std::vector<PendingFile>& toMove, std::vector<PendingFile>& moved) {
    for (const PendingFile& file : toMove) {
        Sleep(kBetweenFilesMs);
        if (!Replace(file)) return file.name + kCannotReplace;
        moved.push_back(file);
    }
    return Text();
}

void PutBackAll(const std::vector<PendingFile>& moved) {
    for (auto file = moved.rbegin(); file != moved.rend(); ++file) PutBack(*file);
}

}  // namespace

Text RelaunchTarget(const Text& calculatorFile) {
    return IsPlainName(calculatorFile) ? ProgramFile(calculatorFile) : Text();
}

void RelaunchCalculator(const Text& calculatorFile) {
    // The updater runs elevated and the calculator must not inherit that: it
    // is started as the signed-in user through the desktop shell, or not at
    // all (the user then starts it as usual).
    const Text program = RelaunchTarget(calculatorFile);
    if (!program.empty()) RunProgramAsUser(program, std::to_string(CurrentProcessId()));
}

Text InstallFailedStatus(const InstallResult& result) { return kFailedLead + result.reason + kFullStop; }

Text InstallFailedNotice(const InstallResult& result) { return InstallFailedStatus(result) + kTriedAgain; }

InstallResult InstallUpdate(const InstallRequest& request) {
    const Text stateFile = ProgramFile(kStateFileName);
    PendingUpdate update;
    if (!ReadPendingUpdate(stateFile, update)) return {};

    std::vector<PendingFile> toMove;
    Text reason = CheckStagedFiles(request, update, toMove);
    if (reason.empty() && request.quitCalculator && !request.quitCalculator()) reason = kCalculatorStillRunning;
    std::vector<PendingFile> moved;
    if (reason.empty()) {
        Sleep(kAfterQuitMs);
        reason = MoveStagedFiles(toMove, moved);
    }
    // The version is recorded only once every file is in place, and before
    // the state file goes, so that an update whose state file is gone is
    // always recorded.
    if (reason.empty() && !WriteInstalledVersion(update.version)) reason = kVersionNotRecorded;
    if (!reason.empty()) {
        PutBackAll(moved);
        RemoveEmptyWorkFolders();
        return {InstallOutcome::kFailed, reason};
    }
    RemoveFile(stateFile);
    for (const PendingFile& file : update.files) {
        if (IsAllowedFileName(file.name)) RemoveFile(BackupFile(file.name));
    }
    RemoveKeptList();
    RemoveEmptyWorkFolders();
    return {InstallOutcome::kInstalled, Text()};
}

}  // namespace qh
