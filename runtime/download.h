// The download of one file over HTTP into a path, with progress reports, for
// the updater's download stage.
//
// Windows fetches through WinInet, Linux through libcurl. The call blocks its
// thread until the transfer has ended, so it belongs on worker threads;
// several threads may download at once, even to the same path.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "runtime/text.h"

namespace qh {

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
    // When given and set (from another thread), the transfer ends as a
    // failed one at its next read.
    const std::atomic<bool>* cancel = nullptr;
};

// Called during the transfer with the bytes received so far and the length
// the server announced (0 when it announced none): once right after the
// first read that brought bytes, then at most every 300 ms. There is no
// report at the end. Counts beyond 4 GB saturate.
using DownloadProgress = std::function<void(std::uint32_t received, std::uint32_t total)>;

// Fetches url and puts its body at path (a "\"-separated path; the folders
// on the way are created). True only when the answer had a 2xx status, the
// body was as long as the announced length (when one was announced), every
// byte reached the disk and, when options.expectedMd5 is given, the file's
// digest matches it.
//
// A body without an announced length that breaks off cannot always be told
// from a whole one (a closed connection ends such a body; WinInet also takes
// a chunked body cut after a whole chunk for complete): pass expectedMd5 to
// be sure of it.
//
// The body is written to a temporary file beside path, which replaces path
// only when all of the above holds. So a failed, cut-off or cancelled
// download leaves no file under path and never harms a file that was there
// before; the temporary is removed.
bool DownloadFile(const Text& url, const Text& path, const DownloadProgress& onProgress,
                  const DownloadOptions& options = {});

}  // namespace qh
