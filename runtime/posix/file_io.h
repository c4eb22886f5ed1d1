// Whole-file steps on native paths (UTF-8, "/" between levels), shared by the
// runtime's whole-file functions and the registry store, so that both read
// and replace files the same careful way.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "runtime/files.h"

namespace qh {

// read() that retries when a signal interrupts it; -1 on a real failure.
ssize_t ReadSome(int fd, std::uint8_t* data, std::size_t size);
// Writes all of data, going on after partial writes and interruptions.
bool WriteAll(int fd, std::string_view data);

// Hands everything still to be read from an open file to sink, block by
// block, in order. False when a read fails, as it does for a folder.
bool ReadOpenFile(int fd, const FileBlockSink& sink);

// Puts data in place of the file at target in one step. The data goes to a
// temporary file beside target, under a name no other writer uses and that is
// created afresh, so a link planted there is never written through. The
// temporary is flushed to the disk, renamed over target, and the folder is
// flushed too, so that the new file survives a crash. mode gives the new
// file's permission bits; without it they are 0666 under the umask.
//
// False when any step up to the rename fails; the temporary is then removed
// and target is left as it was.
bool ReplaceNativeFile(const std::string& target, std::string_view data,
                       std::optional<mode_t> mode = std::nullopt);

}  // namespace qh
