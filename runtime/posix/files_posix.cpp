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

bool RemoveFile(const Text& path) {
    const std::string native = Native(path);
    return ::unlink(native.c_str()) == 0 || errno == ENOENT;
}

bool MoveFileOver(const Text& from, const Text& to) {
    if (from.empty() || to.empty()) return false;
    const std::filesystem::path target(Native(to));
    if (!MoveIntoPlace(std::filesystem::path(Native(from)), target)) return false;
    SyncFolder(target.parent_path());
    return true;
}

}  // namespace qh
