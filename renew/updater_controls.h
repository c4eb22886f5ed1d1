// The updater window's controls and the state the stages share, in one
// record. The objects exist, unbound, until the window is built; the stages
// change them from their worker threads through the toolkit, which carries
// each change out on the window's thread. The members carry the names the
// program's documents use.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "renew/file_list.h"
#include "renew/state_file.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/link.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/controls/picture.h"
#include "toolkit/window.h"

namespace qh {

// What a click of the main button starts, kept as the button's user text.
inline constexpr char kStageVersion[] = "1";
inline constexpr char kStageFileList[] = "2";
inline constexpr char kStageDownload[] = "3";

// The download list's columns.
enum DownloadColumn : int { kColumnName = 1, kColumnSize = 2, kColumnProgress = 3, kColumnHash = 4 };

struct UpdaterState {
    bool interactive = false;  // "-s": shown, and every stage waits for the user
    Text calculatorFile;       // the calculator's file name, for the relaunch
    Text localVersion;         // the version the calculator reported
    std::int32_t calculatorProcessId = 0;
    Text serverVersion;        // the newest version, once the server told it
    Text updateUrl;            // the update folder, ending in "/"
    Text siteUrl;              // the maker's web site
    // The maker's public key (PEM); when set, both server documents must
    // carry a valid signature by it, and only a newer version is taken.
    std::string publicKey;
    // The file list's entry of each name, filled by the file-list stage for
    // the download stage: the digests and size a download must have.
    std::map<Text, ListedFile> listed;
    // The file list (and its signature) the file-list stage took, as
    // received; the download stage keeps it beside the state file for the
    // installer's check.
    KeptList stagedList;
    // Once set, closing the window asks nothing.
    std::atomic<bool> closeWithoutAsking{false};
    // Set when the program ends: a stage still running stops at once.
    std::atomic<bool> stopping{false};
};

struct UpdaterControls {
    HostHandle hwnd = 0;
    UiWindow window;
    UiButton cancelButton;
    UiButton mainButton;
    UiPicture banner;
    UiLabel statusLabel;
    UiLabel notes;
    UiListView downloadList;
    UiCheckBox startCheck;
    UiCheckBox siteCheck;
    UiLink siteLink;
};

}  // namespace qh
