// Files named by the system's own paths (std::filesystem::path) rather than
// by GBK texts, for the tools that take paths from their command line and
// must handle a folder they do not trust: a file is opened only when it is a
// regular file, never through a symbolic link at its last level and never
// waiting on a pipe or a device; a new file is created only where nothing,
// not even a dangling link, has its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "runtime/text.h"

namespace qh {

class NativeFile {
public:
    NativeFile() = default;
    ~NativeFile();
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // Opens an existing regular file for reading. False for a link, a
    // folder, a pipe, a device, or a file that cannot be opened.
    bool OpenRegular(const std::filesystem::path& path);
    // Opens an existing regular file for reading and writing, at its start,
    // with the same refusals as OpenRegular. Reads and writes share one
    // position: reading the file to its end and then writing appends.
    bool OpenRegularToUpdate(const std::filesystem::path& path);
    // Creates a new, empty file for writing, readable by everyone and
    // writable by its owner (under the umask). False when anything exists
    // under the name.
    bool CreateNew(const std::filesystem::path& path);
    // The same for a secret: the file is its owner's alone from its
    // creation on (mode 0600 on Linux, an ACL that grants only the user who
    // runs the program on Windows), never created open and narrowed later.
    bool CreateNewPrivate(const std::filesystem::path& path);

    bool IsOpen() const { return handle_ != kClosed; }
    // Up to size bytes; 0 at the end of the file, -1 when the read failed.
    std::int64_t Read(void* data, std::size_t size);
    bool Write(std::string_view data);
    // The open file's length; nothing when the system cannot tell it.
    std::optional<std::uint64_t> Size();
    // Cuts the open file to nothing; the next write goes to its start.
    bool Clear();
    // Flushes what was written to the disk.
    bool Sync();
    bool Close();

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;  // a file descriptor, or a HANDLE
};

// Reads a whole regular file of at most limit bytes. False, with bytes
// untouched, when it is not a regular file, cannot be read, or is larger.
bool ReadRegularFile(const std::filesystem::path& path, std::size_t limit, Bytes& bytes);

// Puts from in place of to in one step, replacing what to names (a link at
// to is replaced, never followed), and writes the move through to the disk
// where the system can (Windows); SyncFolder does that on Linux.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// Flushes a folder's entries to the disk, so that a file just renamed into
// it survives a crash. Windows writes them through with the rename itself.
bool SyncFolder(const std::filesystem::path& folder);

}  // namespace qh
