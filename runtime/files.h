// Whole files on the platform's file system, for the documents and digests.
//
// Paths are GBK texts. On Windows they go to the W functions through code
// page 936; on Linux "\" between levels becomes "/" and the name is UTF-8, the
// mapping of every other file operation of the runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "runtime/text.h"

namespace qh {

// Reads a whole file. False, with bytes untouched, when it cannot be opened
// or read to its end.
bool ReadWholeFile(const Text& path, Bytes& bytes);

// Hands the file's bytes to sink block by block, in order, so that a large
// file is never held whole. False when it cannot be opened or a read fails;
// sink may have seen some blocks by then.
using FileBlockSink = std::function<void(const std::uint8_t* data, std::size_t size)>;
bool ReadFileBlocks(const Text& path, const FileBlockSink& sink);

// Writes data to a temporary file beside path, flushes it to the disk and
// then puts it in place of path in one step; the folder's entry reaches the
// disk too, so the new file survives a crash. The temporary's name is new to
// each write, so writers in several threads or processes never meet in it,
// and it is created afresh, never through a link planted under its name.
// When any step fails the temporary is removed and path is left as it was.
bool WriteWholeFile(const Text& path, std::string_view data);

// Moves the file from into to's place in one step, replacing the file that
// to names. False when the move cannot be made; both files are then as they
// were. On Linux the moved file takes the permission bits of the file it
// replaces (an updated program stays runnable), and a new file that is a
// program (ELF or "#!") becomes runnable.
bool MoveFileOver(const Text& from, const Text& to);

// Removes the file at path; true when it is gone (also when it was never
// there). A folder is never removed.
bool RemoveFile(const Text& path);

// Removes the folder at path when it is empty; true when it is gone (also
// when it was never there). A folder that holds anything stays, as does
// anything that is not a folder.
bool RemoveEmptyFolder(const Text& path);

// Whether the updater may replace the files of the program folder folder.
// On Windows it always may: the updater asks for administrator rights. On
// Linux only when the running user can write there; a folder the user cannot
// write (a system package under /usr/lib) is updated by the package manager.
bool FolderTakesUpdates(const Text& folder);

// Creates every missing folder on the way to a file path (all but the last
// level). Failures are ignored: a later write to the path reports them.
void CreateFolders(const Text& path);

}  // namespace qh
