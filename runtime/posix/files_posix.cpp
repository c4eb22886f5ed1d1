// Whole files on Linux: the GBK path is mapped to its UTF-8 "/" form first.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/posix/system_posix.h"

namespace qh {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

std::string Native(const Text& path) { return static_cast<PosixSystem&>(System()).NativePath(path); }

// read() that retries when a signal interrupts it; -1 on a real failure.
ssize_t ReadSome(int fd, std::uint8_t* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool ReadFileBlocks(const Text& path, const FileBlockSink& sink) {
    if (path.empty()) return false;
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::vector<std::uint8_t> block(kBlockSize);
    bool ok = true;
    for (;;) {
        const ssize_t n = ReadSome(fd, block.data(), block.size());
        if (n < 0) ok = false;
        if (n <= 0) break;
        sink(block.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

bool WriteWholeFile(const Text& path, std::string_view data) {
    if (path.empty()) return false;
    const std::string target = Native(path);
    // The temporary sits beside the target, so that the rename stays on one
    // file system and is atomic; the process id keeps two writers apart.
    const std::string temporary = target + "." + std::to_string(::getpid()) + ".tmp";
    ::unlink(temporary.c_str());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
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

}  // namespace qh
