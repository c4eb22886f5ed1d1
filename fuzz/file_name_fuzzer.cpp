// libFuzzer target for the update's name check. The input is two names
// separated by a zero byte. For every name the check allows:
// - no level names a Windows device, by Windows' own reading: the level is
//   cut at its first '.', and the spaces and dots at the end of the rest are
//   dropped before it is compared with the devices;
// - the name stays inside the program folder: not absolute, no drive or
//   stream (':'), no level "." or "..", not inside the staging folder;
// - its staging name fits in one 255-byte level.
// And for any two names that Windows takes as one file (equal keys), the
// check gives both the same answer: no spelling of a refused file gets in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "renew/file_names.h"

namespace {

constexpr std::string_view kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "COM0",
                                         "COM1", "COM2", "COM3", "COM4", "COM5",   "COM6",    "COM7",
                                         "COM8", "COM9", "LPT0", "LPT1", "LPT2",   "LPT3",    "LPT4",
                                         "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
}

bool NamesDevice(std::string_view level) {
    std::string stem = Upper(level.substr(0, level.find('.')));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
    for (std::string_view device : kDevices) {
        if (stem == device) return true;
    }
    return false;
}

void CheckAllowedName(const std::string& name) {
    if (name.empty() || name.size() > qh::kLongestFileName) __builtin_trap();
    if (name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos) __builtin_trap();
    if (qh::StagingName(name).size() > 255 + 7) __builtin_trap();
    std::size_t begin = 0;
    bool first = true;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '\\' && name[i] != '/') continue;
        const std::string_view level = std::string_view(name).substr(begin, i - begin);
        if (level.empty() || level == "." || level == ".." || NamesDevice(level)) __builtin_trap();
        if (first && Upper(level) == "UPDATE") __builtin_trap();
        first = false;
        begin = i + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string a = input.substr(0, zero);
    const std::string b = zero == std::string::npos ? std::string() : input.substr(zero + 1);
    const bool allowedA = qh::IsAllowedFileName(a);
    const bool allowedB = qh::IsAllowedFileName(b);
    if (allowedA) CheckAllowedName(a);
    if (allowedB) CheckAllowedName(b);
    if (qh::FileNameKey(a) == qh::FileNameKey(b) && allowedA != allowedB) __builtin_trap();
    return 0;
}
