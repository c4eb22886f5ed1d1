// An exclusive lock on a lock file, held from construction to destruction.
// It keeps the writers of one file apart, whether they are threads of one
// process or separate processes: each lock opens the file on its own, and
// flock() excludes every other open of it.
#pragma once

#include <string>

namespace qh {

class FileLock {
public:
    // Creates the lock file when it is missing and waits until the lock is
    // free. A link at lockPath is never followed: the lock is then not held.
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace qh
