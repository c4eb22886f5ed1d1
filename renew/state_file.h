// The state file "update\config.xml" that the download stage leaves in the
// program directory: "Config" with "RENEW" St="1", "ALL" St="1" (downloaded
// files wait to be installed), "List" with one "File" per file to install
// (Name = the hex form of its listed name) and "LstRenew" Ver = the newest
// version. The calculator reads "ALL" at start; the installer reads the list
// and the version.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {

// What the installer takes from the state file.
struct PendingUpdate {
    std::vector<Text> files;  // listed names, decoded, in list order
    Text version;
};

// Builds the state document for the files the download stage fetched or
// found staged, in file-list order. "renew.exe" is staged but never
// installed, so it is left out, and so is any name the name check refuses.
bool BuildStateFile(const std::vector<Text>& downloaded, const Text& newestVersion, XmlTree& tree);

// Builds and saves the state file to path with the default layout (gb2312
// header, CR LF, tabs). A failed save leaves any old state file as it was.
bool SaveStateFile(const Text& path, const std::vector<Text>& downloaded, const Text& newestVersion);

// The calculator's question at start: does the state file at path load and
// hold St="1" on its second element? An unreadable file counts as absent.
bool UpdateIsWaiting(const Text& path);

// The installer's reading of the state file at path. False, with update
// untouched, when it does not load. Names are returned as listed; the
// installer applies the name check to each before it moves anything.
bool ReadPendingUpdate(const Text& path, PendingUpdate& update);

}  // namespace qh
