// The download of one file over HTTP into a path, with progress reports, for
// the updater's download stage.
//
// Windows fetches through WinInet, Linux through libcurl. The call blocks its
// thread until the transfer has ended, so it belongs on worker threads;
// several threads may download at once, even to the same path (but never
// with the same partialPath).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/text.h"

namespace qh {

// The most a download takes when the caller gives no size: a server that
// streams without end cannot fill the disk.
inline constexpr std::uint64_t kMaxUnsizedDownload = std::uint64_t{1} << 30;

struct DownloadOptions {
    // Time allowed to reach the server and receive the answer's headers.
    int connectTimeoutMs = 30000;
    // A transfer that receives no byte for this long has failed: a server
    // that stops sending in the middle of a file cannot hold a thread for
    // ever, while a slow but steady one still gets through. On Windows this
    // is WinInet's receive time-out for each read.
    int stallTimeoutMs = 30000;
    // The digest text (32 hexadecimal digits, either case) that the file
    // must have; empty when the caller does not check it here.
    Text expectedMd5;
    // The SHA-256 digest text (64 hexadecimal digits, either case) that the
    // file must have as well; empty when the caller does not check it.
    Text expectedSha256;
    // The file's length as the caller knows it (the signed file list gives
    // it). A transfer that announces or brings more fails at once, and a
    // partial file longer than this is discarded before any request; a
    // shorter whole body is kept as a partial file for the next call. Without
    // it, kMaxUnsizedDownload bounds the file.
    std::optional<std::uint64_t> expectedSize;
    // When given and set (from another thread), the transfer ends as a
    // failed one at its next read.
    const std::atomic<bool>* cancel = nullptr;
    // Where the bytes of a transfer that broke off wait for the next call
    // (a "\"-separated path on the same volume as the target; the folders
    // on the way are created); empty when every call starts from zero. Its
    // name is used as it is, nothing is added to it. Only one call at a time
    // may use a partial path. Give expectedMd5 with it: the digest is what
    // tells a continued file from a spliced one.
    Text partialPath;
};

// Called during the transfer with the bytes of the file received so far (a
// continued partial file's bytes included) and the whole file's length as
// the server announced it (0 when it announced none): once right after the
// first read that brought bytes, then at most every 300 ms. There is no
// report at the end. Counts beyond 4 GB saturate.
using DownloadProgress = std::function<void(std::uint32_t received, std::uint32_t total)>;

// Fetches url and puts its body at path (a "\"-separated path; the folders
// on the way are created). True only when the answer had a 2xx status, the
// body was as long as the announced length (when one was announced) and the
// expected size (when given), never went past either bound, every
// byte reached the disk and, when options.expectedMd5 is given, the file's
// digest matches it.
//
// A body without an announced length that breaks off cannot always be told
// from a whole one (a closed connection ends such a body; WinInet also takes
// a chunked body cut after a whole chunk for complete): pass expectedMd5 to
// be sure of it.
//
// Without options.partialPath, the body is written to a temporary file
// beside path, which replaces path only when all of the above holds. So a
// failed, cut-off or cancelled download leaves no file under path and never
// harms a file that was there before; the temporary is removed.
//
// With options.partialPath, the body is written to that file instead, and
// it is what replaces path in one step once all of the above holds. A call
// that finds N > 0 bytes there asks the server for the rest of the file
// ("Range: bytes=N-"):
// - a 206 answer whose Content-Range starts at byte N continues the file:
//   the bytes already there count towards the digest, the progress reports
//   count from N and carry the whole file's length;
// - a 200 answer (a server that does not take ranges) empties the file and
//   starts from zero;
// - a 416 answer, or a 206 that does not start at N (or whose Content-Range
//   is missing or disagrees with its length), removes the partial file and
//   fails; the next call starts from zero.
// A transfer that fails (dropped, stalled, cancelled, shorter than its
// announced length) keeps what arrived, flushed to the disk, for the next
// call. A transfer that goes past the expected size (or kMaxUnsizedDownload)
// is no file of ours: its bytes are removed at once. A whole file whose
// digest does not match is removed, so a damaged
// partial file never stands in the way of later calls. Anything but a
// regular file under the partial path (a link planted there) is removed,
// never followed or written through.
bool DownloadFile(const Text& url, const Text& path, const DownloadProgress& onProgress,
                  const DownloadOptions& options = {});

}  // namespace qh
