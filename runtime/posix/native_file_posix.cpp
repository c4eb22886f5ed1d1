// NativeFile on Linux: open(2) with O_NOFOLLOW, O_NONBLOCK and O_EXCL.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "runtime/native_file.h"
#include "runtime/posix/file_io.h"

namespace qh {
namespace {

// Opens path with access (O_RDONLY or O_RDWR) when it is a regular file.
// O_NONBLOCK keeps a pipe from holding the open; a link at the last level
// fails with ELOOP. -1 for anything else.
int OpenRegularFile(const std::filesystem::path& path, int access) {
    const int fd = ::open(path.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never wait anyway; clear the flag for clarity.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

NativeFile::~NativeFile() { Close(); }

bool NativeFile::OpenRegular(const std::filesystem::path& path) {
    Close();
    const int fd = OpenRegularFile(path, O_RDONLY);
    if (fd < 0) return false;
    handle_ = fd;
    return true;
}

bool NativeFile::OpenRegularToUpdate(const std::filesystem::path& path) {
    Close();
    const int fd = OpenRegularFile(path, O_RDWR);
    if (fd < 0) return false;
    handle_ = fd;
    return true;
}

namespace {

constexpr mode_t kSharedMode = 0644;
constexpr mode_t kPrivateMode = 0600;

// O_EXCL fails on anything under the name, a dangling link included, so
// nothing planted there is ever written through. The mode is given to the
// creation itself; the umask can only narrow it further.
int CreateWithMode(const std::filesystem::path& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

}  // namespace

bool NativeFile::CreateNew(const std::filesystem::path& path) {
    Close();
    handle_ = CreateWithMode(path, kSharedMode);
    return IsOpen();
}

bool NativeFile::CreateNewPrivate(const std::filesystem::path& path) {
    Close();
    handle_ = CreateWithMode(path, kPrivateMode);
    return IsOpen();
}

std::int64_t NativeFile::Read(void* data, std::size_t size) {
    return ReadSome(static_cast<int>(handle_), static_cast<std::uint8_t*>(data), size);
}

bool NativeFile::Write(std::string_view data) { return WriteAll(static_cast<int>(handle_), data); }

std::optional<std::uint64_t> NativeFile::Size() {
    struct stat st;
    if (!IsOpen() || ::fstat(static_cast<int>(handle_), &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool NativeFile::Clear() {
    const int fd = static_cast<int>(handle_);
    return IsOpen() && ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0;
}

bool NativeFile::Sync() { return IsOpen() && ::fsync(static_cast<int>(handle_)) == 0; }

bool NativeFile::Close() {
    if (!IsOpen()) return true;
    const bool ok = ::close(static_cast<int>(handle_)) == 0;
    handle_ = kClosed;
    return ok;
}

bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace qh
