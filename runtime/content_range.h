// The Content-Range header of a partial answer ("bytes 100-199/1000"), read
// by the download that continues a file it already holds a part of.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qh {

// The bytes an answer carries, both ends included, and the whole file's
// length when the server knows it (it may send "*" instead).
struct ContentRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::optional<std::uint64_t> total;
};

// Reads "bytes FIRST-LAST/TOTAL" or "bytes FIRST-LAST/*", the unit in any
// case and spaces around the text allowed. Nothing for any other text, for
// the "bytes */TOTAL" of an answer that carries no bytes, for numbers that
// do not fit 64 bits, and for a range that ends before it starts or runs
// past the total.
std::optional<ContentRange> ParseContentRange(std::string_view text);

// The value of one raw header line ("Content-Range: bytes 0-9/10" and its
// line end), without the spaces and the line end around it, when the line is
// the Content-Range header (its name in any case); nothing for any other.
std::optional<std::string_view> ContentRangeHeaderValue(std::string_view line);

}  // namespace qh
