#include "renew/file_names.h"

#include <string_view>

#include "runtime/hex.h"

namespace qh {
namespace {

// Names that Windows takes as devices in any folder, also with an extension.
constexpr std::string_view kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "COM0", "COM1", "COM2",
    "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8",    "COM9", "LPT0", "LPT1",
    "LPT2", "LPT3", "LPT4", "LPT5", "LPT6",   "LPT7",    "LPT8", "LPT9",
};

constexpr std::string_view kForbiddenCharacters = ":*?\"<>|";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool SameAsciiWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (x != b[i]) return false;
    }
    return true;
}

// Windows compares a level with the devices after it cuts the level at its
// first '.' and drops the spaces and dots at the end of what remains:
// "CON .txt" and "com1  .x.y" open devices.
bool IsDeviceName(std::string_view level) {
    std::string_view stem = level.substr(0, level.find('.'));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.remove_suffix(1);
    for (std::string_view device : kDeviceNames) {
        if (SameAsciiWord(stem, device)) return true;
    }
    return false;
}

bool IsAllowedLevel(std::string_view level) {
    if (level.empty()) return false;
    if (level.back() == '.' || level.back() == ' ') return false;
    return !IsDeviceName(level);
}

}  // namespace

bool IsAllowedFileName(const Text& name) {
    if (name.empty() || name.size() > kLongestFileName || IsSeparator(name[0])) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
        if (kForbiddenCharacters.find(c) != std::string_view::npos) return false;
    }
    // Any "..", not only a whole level: "a..b" is harmless, but a rule that
    // needs no reading of levels cannot be read wrongly.
    if (name.find("..") != Text::npos) return false;
    const std::string_view whole = name;
    std::size_t begin = 0;
    bool first = true;
    for (std::size_t i = 0; i <= whole.size(); ++i) {
        if (i < whole.size() && !IsSeparator(whole[i])) continue;
        const std::string_view level = whole.substr(begin, i - begin);
        if (!IsAllowedLevel(level)) return false;
        // The staging folder may neither hold nor be a listed file.
        if (first && SameAsciiWord(level, "UPDATE")) return false;
        first = false;
        begin = i + 1;
    }
    return true;
}

namespace {

// Whether bytes i and i + 1 are one character of code page 936, as Windows
// reads a name: a first byte 0x81..0xFE and a second byte 0x40..0xFE other
// than 0x7F. 0x80 and 0xFF are characters of their own.
bool IsDoubleByteAt(const Text& text, std::size_t i) {
    if (i + 1 >= text.size()) return false;
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

}  // namespace

Text FileNameKey(const Text& name) {
    Text key = name;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        if (IsDoubleByteAt(key, i)) {
            ++i;  // the second byte belongs to the character
        } else if (c == '/') {
            key[i] = '\\';
        } else if (c >= 'a' && c <= 'z') {
            key[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return key;
}

Text StagingName(const Text& name) { return Text(kStagingFolder) + "\\" + HexEncode(name); }

}  // namespace qh
