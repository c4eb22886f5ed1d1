#include "runtime/download_target.h"

#include <atomic>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "runtime/clock.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/process.h"
#include "runtime/system.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// Progress reports come at most this often, so that a fast transfer does not
// spend its time redrawing a progress cell.
constexpr std::uint64_t kReportIntervalMs = 300;

// How many names a download tries for its temporary. Only leftovers of a
// crashed program, or names planted on purpose, take one.
constexpr int kTemporaryAttempts = 100;

// A reader that holds the target open (a virus scanner on Windows) denies
// the move for a moment; it is tried this often, this far apart.
constexpr int kMoveAttempts = 20;
constexpr int kMoveRetryMs = 10;

std::uint32_t Saturated(std::uint64_t n) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(n > kMax ? kMax : n);
}

bool Exists(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

}  // namespace

DownloadTarget::DownloadTarget(const Text& path, fs::path native, const DownloadProgress& onProgress,
                               const DownloadOptions& options)
    : path_(path), target_(std::move(native)), onProgress_(onProgress), options_(options) {}

DownloadTarget::~DownloadTarget() {
    if (!committed_) Discard();
}

void DownloadTarget::Announce(std::optional<std::uint64_t> length) { announced_ = length; }

bool DownloadTarget::Receive(const void* data, std::size_t size) {
    if (failed_ || size == 0) return !failed_;
    // More than the announced length means the answer is not the file the
    // server described; nothing past it is written.
    if (announced_ && size > *announced_ - received_) failed_ = true;
    if (!failed_ && !file_.IsOpen() && !Open()) failed_ = true;
    if (!failed_ && !file_.Write(std::string_view(static_cast<const char*>(data), size))) failed_ = true;
    if (failed_) return false;
    md5_.Add(data, size);
    received_ += size;
    Report();
    return true;
}

bool DownloadTarget::Commit() {
    if (failed_ || committed_) return false;
    if (announced_ && received_ != *announced_) return false;
    // An empty body still makes a file.
    if (!file_.IsOpen() && !Open()) return false;
    if (!options_.expectedMd5.empty()) {
        Md5::Digest digest;
        if (!md5_.Ready() || !md5_.Finish(digest)) return false;
        const Text actual = HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
        if (DigestsDiffer(actual, options_.expectedMd5)) return false;
    }
    const bool flushed = file_.Sync();
    if (!file_.Close() || !flushed) return false;
    for (int attempt = 1; !MoveIntoPlace(temporary_, target_); ++attempt) {
        if (attempt == kMoveAttempts) return false;
        Sleep(kMoveRetryMs);
    }
    SyncFolder(target_.parent_path());
    committed_ = true;
    return true;
}

// Creates the folders on the way and a new temporary file beside the target.
// It sits beside the target so that the final move stays on one volume; the
// process id and a counter shared by all threads keep downloads to the same
// path apart, and creating it new refuses anything already under its name.
bool DownloadTarget::Open() {
    static std::atomic<unsigned long> counter{0};
    CreateFolders(path_);
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temporary_ = target_;
        temporary_ += "." + std::to_string(CurrentProcessId()) + "-" + std::to_string(counter++) + ".part";
        if (file_.CreateNew(temporary_)) return true;
        if (!Exists(temporary_)) break;
    }
    temporary_.clear();
    return false;
}

void DownloadTarget::Report() {
    const std::uint64_t now = MonotonicMilliseconds();
    if (lastReport_ && now - *lastReport_ < kReportIntervalMs) return;
    lastReport_ = now;
    if (onProgress_) onProgress_(Saturated(received_), Saturated(announced_.value_or(0)));
}

void DownloadTarget::Discard() {
    file_.Close();
    if (temporary_.empty()) return;
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

}  // namespace qh
