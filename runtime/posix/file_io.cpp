#include "runtime/posix/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "runtime/native_file.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// How many names a write tries for its temporary before it gives up. Only
// leftovers of crashed writers or names planted on purpose take one.
constexpr int kTemporaryAttempts = 100;


// Creates a new temporary file beside target and names it in temporary; -1
// when none can be created. Beside the target, the rename that replaces it
// stays on one file system and is atomic. The process id and a counter shared
// by the threads keep the writers of one target apart. O_EXCL makes the creation
// fail on any name that exists, a link included, and the next name is tried.
int CreateTemporary(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string unique = std::to_string(::getpid()) + "-" + std::to_string(counter++);
        temporary = target + "." + unique + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

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

bool ReadOpenFile(int fd, const FileBlockSink& sink) {
    std::vector<std::uint8_t> block(kBlockSize);
    for (;;) {
        const ssize_t n = ReadSome(fd, block.data(), block.size());
        if (n < 0) return false;
        if (n == 0) return true;
        sink(block.data(), static_cast<std::size_t>(n));
    }
}

bool ReplaceNativeFile(const std::string& target, std::string_view data, std::optional<mode_t> mode) {
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return false;
    bool ok = (!mode || ::fchmod(fd, *mode) == 0) && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && MoveIntoPlace(temporary, target);
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The new file is in place by now, so a folder that cannot be flushed
    // (some file systems refuse) does not turn the write into a failure, which
    // would claim that target was left as it was.
    const fs::path folder = fs::path(target).parent_path();
    SyncFolder(folder.empty() ? fs::path(".") : folder);
    return true;
}

}  // namespace qh
