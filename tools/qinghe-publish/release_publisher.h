// Publishes a release folder on the update server: copies every file where
// the programs will ask for it, then the file list, the version document and
// "version.txt", in that order, so that a client that sees the new version
// finds the list and every listed file already in place. Every new file is
// written beside its target first and moved into place only when all are
// ready, so a failed publish leaves the served version as it was.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "tools/qinghe-publish/release_notes.h"

namespace qh {

// The updater window's banner resources. When the release's top level holds
// them they are served beside the documents, where the updater fetches
// them, and listed under the list's "Banner" child with their digests and
// sizes, never as files to install.
inline constexpr const char* kBannerFiles[] = {"renew_ad.png", "renew_ad.txt", "renew_ad.tips"};
bool IsBannerFile(const Text& name);

struct ReleaseRequest {
    std::filesystem::path releaseDir;  // the files of the new version, laid out as installed
    Text version;                      // such as "1.0.0.506"
    std::filesystem::path notesFile;   // the release notes
    NotesEncoding notesEncoding = NotesEncoding::Utf8;
    std::filesystem::path serverDir;   // what the web server serves under "/qingheupdate/"
    std::string privateKey;            // the maker's key (PEM); empty: the documents go unsigned
};

class ReleasePublisher {
public:
    // True when everything was published; summary says what. On failure
    // error holds one line that says what was wrong.
    static bool Publish(const ReleaseRequest& request, Text& summary, Text& error);

private:
    static bool CheckVersion(const Text& version, Text& error);
    static bool ReadNotes(const ReleaseRequest& request, Text& notes, Text& error);
    static bool ListReleaseFiles(const std::filesystem::path& releaseDir, std::vector<Text>& names, Text& error);
    static bool CheckFolders(const ReleaseRequest& request, Text& error);
    static bool CheckAboveServed(const ReleaseRequest& request, Text& error);
};

}  // namespace qh
