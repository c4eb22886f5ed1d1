// libFuzzer target for the Content-Range reader of continued downloads. The
// input is a raw header line. Whatever it holds:
// - a line taken as the header gives a value inside the line, with no space
//   or tab at its start and no space, tab, CR or LF at its end (a line holds
//   its line end only at its end);
// - a range read from it starts no later than it ends and ends before the
//   total, and written back in the plain form it reads the same again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/content_range.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsBlank(char c) { return IsSpace(c) || c == '\r' || c == '\n'; }

void CheckRange(std::string_view value) {
    const std::optional<qh::ContentRange> range = qh::ParseContentRange(value);
    if (!range) return;
    if (range->first > range->last) __builtin_trap();
    if (range->total && range->last >= *range->total) __builtin_trap();
    const std::string plain = "bytes " + std::to_string(range->first) + "-" + std::to_string(range->last) + "/" +
                              (range->total ? std::to_string(*range->total) : std::string("*"));
    const std::optional<qh::ContentRange> again = qh::ParseContentRange(plain);
    if (!again || again->first != range->first || again->last != range->last || again->total != range->total) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    CheckRange(line);
    const std::optional<std::string_view> value = qh::ContentRangeHeaderValue(line);
    if (!value) return 0;
    if (value->data() < line.data() || value->data() + value->size() > line.data() + line.size()) __builtin_trap();
    if (!value->empty() && (IsSpace(value->front()) || IsBlank(value->back()))) __builtin_trap();
    CheckRange(*value);
    return 0;
}
