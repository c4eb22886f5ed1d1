// The names of the update's files: the one check that every name from the
// file list or the state file passes before a file is fetched, staged or
// installed, and the names of the staging folder and the state file.
#pragma once

#include "runtime/text.h"

namespace qh {

// The longest listed name, in bytes. A file is staged under the hex form of
// its name, twice as long, and file systems take at most 255 bytes a level.
inline constexpr std::size_t kLongestFileName = 127;

// Downloads wait in this folder of the program directory.
inline constexpr char kStagingFolder[] = "update";
// A transfer that breaks off keeps its bytes here, under the staged name,
// and the next try asks for the rest.
inline constexpr char kPartFolder[] = "update\\part";
// The installed copy of each replaced file waits here until the install has
// ended.
inline constexpr char kBackupFolder[] = "update\\backup";
// Left by the download stage for the calculator and the installer.
inline constexpr char kStateFileName[] = "update\\config.xml";

// Whether a listed name may be written into the program directory. The
// updater runs with administrator rights, so a name from the server must
// never reach a file elsewhere. Refused:
// - the empty name, names longer than kLongestFileName bytes, and names with
//   control characters;
// - absolute names ("\x", "/x", "\\server\share") and any ':' (a drive
//   letter, or an alternate data stream);
// - characters that Windows does not allow in names (* ? " < > |);
// - any "..";
// - a level that is empty, ends with '.' or ' ' (".", ". ", "a.") or is a
//   device name (CON, NUL, COM1, LPT1 ..., with or without an extension).
//   Windows cuts a level at its first '.' and drops the spaces and dots at
//   the end of what is left before it compares it with the devices, so
//   "CON .txt" and "nul  .a.b" are devices too;
// - names inside the staging folder, which would overwrite staged files or
//   the state file while they are being installed.
// Levels are split at every '\' and '/' byte, even one that follows the
// first byte of a two-byte character: Windows and Linux do not agree on
// every such pair, and a name that is safe under either reading is the only
// safe name.
bool IsAllowedFileName(const Text& name);

// The form in which two names are the same file on Windows: "/" read as
// "\", and single-byte letters in upper case. A two-byte character is kept
// as it is, also when its second byte looks like a letter or a separator.
// Names with equal keys must never both be listed.
Text FileNameKey(const Text& name);

// Where a listed file is staged: "update\" and the hex form of its name, one
// flat level whatever the name's levels ("a\b.png" is "update\615C622E706E67").
Text StagingName(const Text& name);

}  // namespace qh
