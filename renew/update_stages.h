// The three stages of an update, each run on a worker thread: ask the
// server for the newest version, compare the server's file list with the
// files on disk, and fetch every file that differs into the staging folder.
// Each stage reports through the window's controls and leaves the main
// button set up for the next one. In automatic mode the stages chain by
// themselves on one thread and the window closes itself at the end or at
// the first failure.
#pragma once

#include "renew/updater_controls.h"

namespace qh {

class XmlTree;

// The server document at state.updateUrl + name, or false when the request
// or the XML fails. With the maker's key the document is taken only when
// its signature, name + ".sig", is valid over the bytes received. Safe on
// any thread: it reads only what stays fixed while the window lives. When
// keep is given, the bytes and the signature taken go there.
bool RequestServerDocument(const UpdaterState& state, const Text& name, XmlTree& tree, KeptList* keep = nullptr);

class UpdateStages {
public:
    UpdateStages(UpdaterControls& c, UpdaterState& state) : c_(c), state_(state) {}

    void CheckVersion();
    void FetchFileList();
    void DownloadFiles();

private:
    // Posts WM_CLOSE to the window (automatic mode, or the end).
    void CloseWindow();
    // Whether the server's version is one to offer: any other than the
    // local one without a key; with it, only a higher one (a signed older
    // release served again is refused as a failed request).
    enum class Offer { kNewer, kCurrent, kRefused };
    Offer OfferFor(const Text& serverVersion) const;
    // Whether a file of the program folder (staged or installed) has the
    // digests and size the list gives its name.
    bool HasListedDigests(const Text& path, const Text& name) const;
    // One row's download; false when it failed.
    bool DownloadRow(int row);
    // The download stage's end after a failure: the retry button, and in
    // automatic mode the window closes.
    void ReportDownloadFailure();
    // The size cell's text for a byte count: megabytes to two places.
    static Text Megabytes(std::uint64_t bytes);

    UpdaterControls& c_;
    UpdaterState& state_;
};

}  // namespace qh
