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

// One file of the state file's list: its listed name, decoded, and where
// its staged copy waits ("update\" and the hex name as the state file writes
// it, letter case included, since names are case-sensitive on Linux).
struct PendingFile {
    Text name;
    Text staged;
    bool operator==(const PendingFile&) const = default;
};

// What the installer takes from the state file.
struct PendingUpdate {
    std::vector<PendingFile> files;  // in list order
    Text version;
};

// Builds the state document for the files the download stage fetched or
// found staged, in file-list order. "renew.exe" is staged but never
// installed, so it is left out, and so is any name the name check refuses.
bool BuildStateFile(const std::vector<Text>& downloaded, const Text& newestVersion, XmlTree& tree);

// Builds and saves the state file to path with the default layout (gb2312
// header, CR LF, tabs). A failed save leaves any old state file as it was.
bool SaveStateFile(const Text& path, const std::vector<Text>& downloaded, const Text& newestVersion);

// The server's file list of the staged release, kept beside the state file
// so that the installer checks the staged files against the list the
// updater verified, not against whatever sits in "update\": the list's bytes
// as received and, from an updater with the maker's key, its detached
// signature (empty without one).
inline constexpr char kKeptListName[] = "update\\renewlist.xml";
inline constexpr char kKeptSignatureName[] = "update\\renewlist.xml.sig";

struct KeptList {
    Bytes list;
    Bytes signature;
};

// Writes the kept list and its signature into the program folder, each
// through a temporary file; without a signature an older one is removed.
// False when there is no list to keep or a write fails.
bool SaveKeptList(const KeptList& kept);

// Reads the kept list and, when one is there, its signature. False when the
// list cannot be read.
bool LoadKeptList(KeptList& kept);

// Removes the kept list and its signature.
void RemoveKeptList();

// The calculator's question at start: does the state file at path load and
// hold St="1" on its second element? An unreadable file counts as absent.
bool UpdateIsWaiting(const Text& path);

// The installer's reading of the state file at path. False, with update
// untouched, when it does not load. Names are returned as listed; the
// installer applies the name check to each before it moves anything. A hex
// name holding anything but the digits 0-9, A-F and a-f is no file name the
// download stage writes: its staged copy is looked for under the canonical
// upper-case form instead, so the text never reaches a path as written.
bool ReadPendingUpdate(const Text& path, PendingUpdate& update);

}  // namespace qh
