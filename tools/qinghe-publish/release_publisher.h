// Publishes a release folder on the update server: copies every file where
// the programs will ask for it, then writes the file list, the version
// document and "version.txt", in that order, so that a client that sees the
// new version finds the list and every listed file already in place.
#pragma once

#include <vector>

#include "runtime/text.h"

namespace qh {

struct ReleaseRequest {
    Text releaseDir;  // the files of the new version, laid out as installed
    Text version;     // such as "1.0.0.506"
    Text notesFile;   // release notes, UTF-8 (or GBK when not valid UTF-8)
    Text serverDir;   // what the web server serves under "/qingheupdate/"
};

class ReleasePublisher {
public:
    // True when everything was written; summary says what. On failure error
    // holds one line that says what was wrong; files copied so far stay, but
    // the documents are written only when every file is in place.
    static bool Publish(const ReleaseRequest& request, Text& summary, Text& error);

private:
    static bool CheckVersion(const Text& version, Text& error);
    static bool ReadNotes(const Text& file, Text& notes, Text& error);
    static bool ListReleaseFiles(const Text& releaseDir, std::vector<Text>& names, Text& error);
    static bool CopyServedFiles(const Text& releaseDir, const Text& serverDir,
                                const std::vector<Text>& names, Text& error);
};

}  // namespace qh
