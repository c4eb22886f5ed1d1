// Whole files on Linux: the GBK path is mapped to its UTF-8 "/" form first.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "runtime/files.h"
#include "runtime/native_file.h"
#include "runtime/posix/file_io.h"
#include "runtime/posix/system_posix.h"

namespace qh {
namespace {

std::string Native(const Text& path) { return static_cast<PosixSystem&>(PlatformSystem()).NativePath(path); }

// Whether a file starts as a program the system runs: an ELF image or a
// script with "#!".
bool LooksRunnable(const std::string& path) {
    char head[4] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return (got >= 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
           (got >= 2 && head[0] == '#' && head[1] == '!');
}

// A file that takes another's place takes its permission bits too, so an
// updated program stays runnable; a new program file becomes runnable by
// whoever may read it. Downloads are written with the mode of plain data.
void GiveModeOfReplaced(const std::string& from, const std::string& to) {
    struct stat target;
    struct stat source;
    if (::lstat(to.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
        ::chmod(from.c_str(), target.st_mode & 07777);
    } else if (::stat(from.c_str(), &source) == 0 && LooksRunnable(from)) {
        ::chmod(from.c_str(), (source.st_mode & 0777) | ((source.st_mode & 0444) >> 2));
    }
}

}  // namespace

bool ReadFileBlocks(const Text& path, const FileBlockSink& sink) {
    if (path.empty()) return false;
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ReadOpenFile(fd, sink);
    ::close(fd);
    return ok;
}

bool WriteWholeFile(const Text& path, std::string_view data) {
    if (path.empty()) return false;
    return ReplaceNativeFile(Native(path), data);
}

void CreateFolders(const Text& path) {
    const std::string native = Native(path);
    for (std::size_t at = native.find('/', 1); at != std::string::npos; at = native.find('/', at + 1)) {
        const std::string folder = native.substr(0, at);
        struct stat st;
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        ::mkdir(folder.c_str(), 0777);
    }
}

bool FolderTakesUpdates(const Text& folder) {
    // The effective user decides, as for every write the updater would make.
    return ::faccessat(AT_FDCWD, Native(folder).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool RemoveFile(const Text& path) {
    const std::string native = Native(path);
    return ::unlink(native.c_str()) == 0 || errno == ENOENT;
}

bool RemoveEmptyFolder(const Text& path) {
    // rmdir refuses a folder that holds anything, and anything but a folder.
    return ::rmdir(Native(path).c_str()) == 0 || errno == ENOENT;
}

bool MoveFileOver(const Text& from, const Text& to) {
    if (from.empty() || to.empty()) return false;
    const std::filesystem::path target(Native(to));
    const std::string source = Native(from);
    GiveModeOfReplaced(source, target.string());
    if (!MoveIntoPlace(std::filesystem::path(source), target)) return false;
    SyncFolder(target.parent_path());
    return true;
}

}  // namespace qh
