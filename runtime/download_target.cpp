#include "runtime/download_target.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "runtime/clock.h"
#include "runtime/content_range.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/http.h"
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

// "Partial Content", the answer that continues a file, and "Range Not
// Satisfiable", the answer to a start at or past the file's end.
constexpr long kPartialContent = 206;
constexpr long kRangeNotSatisfiable = 416;

// The partial file's bytes are read back into the digest this much at a time.
constexpr std::size_t kReadBackBlock = 1 << 16;

std::uint32_t Saturated(std::uint64_t n) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(n > kMax ? kMax : n);
}

bool Exists(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

}  // namespace

DownloadTarget::DownloadTarget(const Text& path, fs::path native, fs::path partial,
                               const DownloadProgress& onProgress, const DownloadOptions& options)
    : path_(path), target_(std::move(native)), partial_(std::move(partial)), onProgress_(onProgress),
      options_(options) {
    OpenPartial();
}

DownloadTarget::~DownloadTarget() {
    if (committed_) return;
    if (partial_.empty()) {
        Discard();
    } else {
        KeepOrDropPartial();
    }
}

bool DownloadTarget::Begin(long status, std::optional<std::uint64_t> length, std::string_view contentRange) {
    if (!IsHttpSuccess(status)) {
        // The server has no byte at the partial file's length: the file is
        // shorter than the partial, which is then no part of it.
        if (status == kRangeNotSatisfiable && resumeFrom_ > 0) dropPartial_ = true;
        return Fail();
    }
    if (!partial_.empty() && status == kPartialContent) return ContinuePartial(length, contentRange);
    // The whole file from its first byte, also when the server ignored the
    // range asked for: what the partial file held is dropped.
    if (file_.IsOpen() && !file_.Clear()) return Fail();
    announced_ = length;
    // A file longer than the bound is refused before its first byte.
    if (length && *length > Bound()) {
        dropPartial_ = true;
        return Fail();
    }
    return true;
}

// A partial answer continues the partial file only when it starts exactly
// at the file's end and its length agrees with its range; anything else
// would splice two different files, so the partial is removed and the next
// call starts from zero. The bytes the partial file holds are read back
// into the digest, which then covers the whole file, and the reports count
// from there.
bool DownloadTarget::ContinuePartial(std::optional<std::uint64_t> length, std::string_view contentRange) {
    const std::optional<ContentRange> range = ParseContentRange(contentRange);
    if (!range || range->first != resumeFrom_ || (length && *length != range->last - range->first + 1) ||
        (range->total && *range->total > Bound()) || !ReadBackPartial()) {
        dropPartial_ = true;
        return Fail();
    }
    // Without a total ("*") the whole length is unknown; the digest then
    // stands for it.
    announced_ = range->total;
    received_ = resumeFrom_;
    return true;
}

// Adds the partial file's bytes to the digest, reading it from its start to
// its end, where the writes then go on. False when it cannot be read or its
// length is no longer the one the request asked after.
bool DownloadTarget::ReadBackPartial() {
    if (resumeFrom_ == 0) return true;
    std::vector<std::uint8_t> block(kReadBackBlock);
    std::uint64_t readBack = 0;
    for (;;) {
        const std::int64_t n = file_.Read(block.data(), block.size());
        if (n < 0) return false;
        if (n == 0) return readBack == resumeFrom_;
        Digest(block.data(), static_cast<std::size_t>(n));
        readBack += static_cast<std::uint64_t>(n);
    }
}

bool DownloadTarget::Receive(const void* data, std::size_t size) {
    if (failed_ || size == 0) return !failed_;
    // More than the announced length means the answer is not the file the
    // server described, and more than the bound is not the file the caller
    // asked for; nothing past it is written, and what took the bytes before
    // it (a temporary or a partial file) is removed.
    if (!Fits(size)) {
        dropPartial_ = true;
        return Fail();
    }
    if (!file_.IsOpen() && !Open()) return Fail();
    if (!file_.Write(std::string_view(static_cast<const char*>(data), size))) return Fail();
    Digest(data, size);
    received_ += size;
    Report();
    return true;
}

bool DownloadTarget::Commit() {
    if (failed_ || committed_) return false;
    // A short file is kept for the next call to continue; a body without an
    // announced length that stops short of the expected size broke off.
    if (announced_ && received_ != *announced_) return false;
    if (options_.expectedSize && received_ != *options_.expectedSize) return false;
    // An empty body still makes a file.
    if (!file_.IsOpen() && !Open()) return false;
    // Whole but wrong: continuing it could never give the right file.
    if (!DigestsMatch()) {
        dropPartial_ = true;
        return false;
    }
    const bool flushed = file_.Sync();
    if (!file_.Close() || !flushed) return false;
    const fs::path& written = partial_.empty() ? temporary_ : partial_;
    // A partial file sits in a folder of its own, so the target's folders
    // may not be there yet.
    if (!partial_.empty()) CreateFolders(path_);
    for (int attempt = 1; !MoveIntoPlace(written, target_); ++attempt) {
        if (attempt == kMoveAttempts) return false;
        Sleep(kMoveRetryMs);
    }
    SyncFolder(target_.parent_path());
    committed_ = true;
    return true;
}

// Opens the partial file an earlier call left. Anything else under its name
// (a link planted there, a folder, a file that cannot be opened) is removed
// rather than followed or written through: removing a link takes away the
// link itself. What cannot be removed makes the download fail when it
// creates the partial file anew.
//
// A partial file longer than the bound can be no beginning of the file: it
// is removed before a request asks for what would follow it.
void DownloadTarget::OpenPartial() {
    if (partial_.empty()) return;
    if (file_.OpenRegularToUpdate(partial_)) {
        const std::optional<std::uint64_t> size = file_.Size();
        if (size && *size <= Bound()) {
            resumeFrom_ = *size;
            return;
        }
        file_.Close();
    }
    std::error_code ignored;
    fs::remove(partial_, ignored);
}

std::uint64_t DownloadTarget::Bound() const { return options_.expectedSize.value_or(kMaxUnsizedDownload); }

bool DownloadTarget::Fits(std::uint64_t n) const {
    const std::uint64_t room = std::min(announced_.value_or(Bound()), Bound());
    return received_ <= room && n <= room - received_;
}

// Creates the file the first bytes go to, with the folders on the way.
bool DownloadTarget::Open() {
    if (partial_.empty()) return OpenTemporary();
    CreateFolders(options_.partialPath);
    return file_.CreateNew(partial_);
}

// Creates a new temporary file beside the target. It sits beside the target
// so that the final move stays on one volume; the process id and a counter
// shared by all threads keep downloads to the same path apart, and creating
// it new refuses anything already under its name.
bool DownloadTarget::OpenTemporary() {
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

// Every digest the file is checked against takes every byte, in order.
void DownloadTarget::Digest(const void* data, std::size_t size) {
    md5_.Add(data, size);
    sha256_.Add(data, size);
}

namespace {

// Whether a hash of everything added matches the expected digest text.
template <HashAlgorithm A>
bool HashMatches(Hash<A>& hash, const Text& expected) {
    const Text actual = hash.Ready() ? DigestText(hash) : Text();
    return !actual.empty() && !DigestsDiffer(actual, expected);
}

}  // namespace

// Whether the file has each digest the caller gave.
bool DownloadTarget::DigestsMatch() {
    if (!options_.expectedMd5.empty() && !HashMatches(md5_, options_.expectedMd5)) return false;
    if (!options_.expectedSha256.empty() && !HashMatches(sha256_, options_.expectedSha256)) return false;
    return true;
}

void DownloadTarget::Report() {
    const std::uint64_t now = MonotonicMilliseconds();
    if (lastReport_ && now - *lastReport_ < kReportIntervalMs) return;
    lastReport_ = now;
    if (onProgress_) onProgress_(Saturated(received_), Saturated(announced_.value_or(0)));
}

bool DownloadTarget::Fail() {
    failed_ = true;
    return false;
}

void DownloadTarget::Discard() {
    file_.Close();
    if (temporary_.empty()) return;
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

// A transfer that broke off leaves its bytes on the disk for the next call;
// a partial file that can never become the file is removed.
void DownloadTarget::KeepOrDropPartial() {
    if (!dropPartial_) file_.Sync();
    file_.Close();
    if (!dropPartial_) return;
    std::error_code ignored;
    fs::remove(partial_, ignored);
}

}  // namespace qh
