#include "runtime/posix/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace qh {

FileLock::FileLock(const std::string& lockPath) {
    // flock() needs no write access, so the file is opened for reading: a
    // program that may not write a lock file another user created still
    // takes part in the locking.
    fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd_);
        fd_ = -1;
        return;
    }
}

FileLock::~FileLock() {
    // Closing the file gives the lock up.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace qh
