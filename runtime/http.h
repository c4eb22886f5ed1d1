// One synchronous HTTP request, shared by the calculator and the updater.
//
// Windows sends it through the "Microsoft.XMLHTTP" automation object, Linux
// through libcurl; both behave the same for the method, the body, the one
// optional header and the credentials. The call blocks its thread until the
// answer is complete or a time limit runs out, so it belongs on worker
// threads; several threads may call it at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <utility>

#include "runtime/text.h"

namespace qh {

// The most of an answer HttpRequest keeps: the documents and pictures it
// fetches are far smaller, and a server that sends more, or without end,
// cannot fill the memory.
inline constexpr std::size_t kMaxHttpAnswer = std::size_t{16} << 20;

struct HttpOptions {
    // The verb. GET, POST, PUT, DELETE, HEAD and OPTIONS are sent in upper
    // case whatever case they are given in, as browsers and XMLHTTP do
    // (servers read verbs case-sensitively); other verbs go as given.
    Text method = "get";
    // The request body, sent byte for byte.
    Bytes body;
    // One request header (name, value). Without it, a POST carries
    // "Content-Type: application/x-www-form-urlencoded" and any other verb
    // no header of ours.
    std::optional<std::pair<Text, Text>> header;
    // User and password for the server's basic authentication.
    std::optional<std::pair<Text, Text>> credentials;
    // Time allowed to reach the server, and for the whole request, in
    // milliseconds, so that a dead server cannot hold a thread for ever.
    // XMLHTTP does not tell when its connection is made; on Windows the
    // first limit runs until the server begins its answer.
    int connectTimeoutMs = 30000;
    int totalTimeoutMs = 60000;
    // When given and set (from another thread), the request ends at once as
    // a failed one: a program that is closing does not wait for a server.
    const std::atomic<bool>* cancel = nullptr;
    // The most bytes the answer may have; a longer one fails the request.
    // Never more than kMaxHttpAnswer, which also stands when this is 0.
    std::size_t maxBytes = kMaxHttpAnswer;
};

// The response body when the request succeeded with a 2xx status; the empty
// block for a failed request, an error status (a 404 page, an error page), a
// refused connection, a request over its time limit or an answer longer than
// its bound (see HttpOptions::maxBytes), which is dropped as soon as it is
// seen to be longer.
Bytes HttpRequest(const Text& url, const HttpOptions& options = {});

// The pieces both platforms share.

// The verb as it goes on the wire (see HttpOptions::method).
Text HttpVerb(const Text& method);
// The one header the request carries, if any: the given one, else the form
// type for a POST.
std::optional<std::pair<Text, Text>> HttpRequestHeader(const HttpOptions& options);
// Whether an HTTP status counts as success (200 to 299).
bool IsHttpSuccess(long status);
// The most bytes the answer to a request with these options may have.
std::size_t HttpAnswerBound(const HttpOptions& options);
// The address of a listed file below base (which ends in "/"): each level
// of the name ("\" or "/" between levels), in its UTF-8 form,
// percent-encoded except for the unreserved characters (letters, digits,
// "-", ".", "_", "~"), the levels joined by "/". A static server maps such a
// path to the UTF-8 file name, whatever the name holds (spaces, Chinese
// characters, "%", "#").
Text FileAddress(const Text& base, const Text& name);

}  // namespace qh
