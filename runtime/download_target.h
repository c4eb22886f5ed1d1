// The receiving end of DownloadFile, shared by the WinInet and the libcurl
// transfer: the temporary file beside the target, the byte count against the
// announced length, the digest, the paced progress reports, and the final
// step that puts the file in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "runtime/download.h"
#include "runtime/hash.h"
#include "runtime/native_file.h"

namespace qh {

class DownloadTarget {
public:
    // path is the caller's "\"-separated text, native the same path as the
    // file system names it. Both callbacks and options must outlive this.
    DownloadTarget(const Text& path, std::filesystem::path native, const DownloadProgress& onProgress,
                   const DownloadOptions& options);
    // Removes the temporary unless Commit put it in place.
    ~DownloadTarget();
    DownloadTarget(const DownloadTarget&) = delete;
    DownloadTarget& operator=(const DownloadTarget&) = delete;

    // The length the server announced in the answer's headers, if any; set
    // before the first Receive, since every report carries it.
    void Announce(std::optional<std::uint64_t> length);
    // Takes the bytes of one read: writes them, adds them to the digest and
    // reports progress when it is time. False when they cannot be written or
    // run past the announced length; the download has failed then.
    bool Receive(const void* data, std::size_t size);
    // Once the transfer ended: checks the length and the digest, flushes the
    // file and puts it in place of the target. False, with the target as it
    // was, when any of that fails.
    bool Commit();

private:
    bool Open();
    void Report();
    void Discard();

    Text path_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    const DownloadProgress& onProgress_;
    const DownloadOptions& options_;
    NativeFile file_;
    Md5 md5_;
    std::optional<std::uint64_t> announced_;
    std::uint64_t received_ = 0;
    std::optional<std::uint64_t> lastReport_;
    bool failed_ = false;
    bool committed_ = false;
};

}  // namespace qh
