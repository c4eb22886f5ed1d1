// The receiving end of DownloadFile, shared by the WinInet and the libcurl
// transfer: the file the bytes go to (a temporary beside the target, or the
// caller's partial file that outlives a failed call), the byte count against
// the announced length, the digest, the paced progress reports, and the
// final step that puts the file in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "runtime/download.h"
#include "runtime/hash.h"
#include "runtime/native_file.h"

namespace qh {

class DownloadTarget {
public:
    // path is the caller's "\"-separated text, native the same path as the
    // file system names it, and partial options.partialPath as the file
    // system names it (empty when there is none). Both callbacks and options
    // must outlive this. With a partial path, a partial file found there is
    // opened at once, so that ResumeOffset knows its length.
    DownloadTarget(const Text& path, std::filesystem::path native, std::filesystem::path partial,
                   const DownloadProgress& onProgress, const DownloadOptions& options);
    // Without a partial path, removes the temporary unless Commit put it in
    // place. With one, flushes and keeps the partial file for the next call,
    // unless the transfer showed that it can never be continued.
    ~DownloadTarget();
    DownloadTarget(const DownloadTarget&) = delete;
    DownloadTarget& operator=(const DownloadTarget&) = delete;

    // The byte the request should start at: the length of the partial file
    // an earlier call left, 0 when there is none. A transfer that gets a
    // value above 0 asks for the rest of the file from there.
    std::uint64_t ResumeOffset() const { return resumeFrom_; }
    // Takes the final answer's status, its Content-Length (if any) and its
    // Content-Range (empty when there is none), before the first Receive.
    // False when the answer does not bring the file, or announces more than
    // the bound (the expected size, else kMaxUnsizedDownload); the download
    // has failed then.
    bool Begin(long status, std::optional<std::uint64_t> length, std::string_view contentRange);
    // Takes the bytes of one read: writes them, adds them to the digest and
    // reports progress when it is time. False when they cannot be written or
    // run past the announced length or the bound; the download has failed
    // then, and what it wrote is removed.
    bool Receive(const void* data, std::size_t size);
    // Once the transfer ended: checks the length and the digest, flushes the
    // file and puts it in place of the target. False, with the target as it
    // was, when any of that fails.
    bool Commit();

private:
    void OpenPartial();
    // The most bytes the whole file may have.
    std::uint64_t Bound() const;
    // Whether n more bytes stay within the announced length and the bound.
    bool Fits(std::uint64_t n) const;
    bool ContinuePartial(std::optional<std::uint64_t> length, std::string_view contentRange);
    bool ReadBackPartial();
    bool Open();
    bool OpenTemporary();
    void Digest(const void* data, std::size_t size);
    bool DigestsMatch();
    void Report();
    bool Fail();
    void Discard();
    void KeepOrDropPartial();

    Text path_;
    std::filesystem::path target_;
    std::filesystem::path partial_;
    std::filesystem::path temporary_;
    const DownloadProgress& onProgress_;
    const DownloadOptions& options_;
    NativeFile file_;
    Md5 md5_;
    Sha256 sha256_;
    std::uint64_t resumeFrom_ = 0;
    std::optional<std::uint64_t> announced_;
    std::uint64_t received_ = 0;
    std::optional<std::uint64_t> lastReport_;
    bool failed_ = false;
    bool committed_ = false;
    // The partial file cannot be continued: it is removed at the end.
    bool dropPartial_ = false;
};

}  // namespace qh
