#include "tools/qinghe-publish/release_notes.h"

#include <cstdint>
#include <string>

#include "runtime/system.h"

namespace qh {
namespace {

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// UTF-16 after its byte-order mark as UTF-8; false for an odd length or a
// surrogate without its partner.
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& utf8) {
    if (bytes.size() % 2 != 0) return false;
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (i + 2 >= bytes.size()) return false;
            const std::uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(code, utf8);
    }
    return true;
}

// Whether bytes are well-formed GBK: single bytes below 0x80, or a first
// byte 0x81..0xFE with a second byte 0x40..0xFE other than 0x7F.
bool IsGbk(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) continue;
        if (c == 0x80 || c == 0xFF || i + 1 == s.size()) return false;
        const auto next = static_cast<unsigned char>(s[++i]);
        if (next < 0x40 || next == 0x7F || next == 0xFF) return false;
    }
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

bool DecodeReleaseNotes(std::string_view bytes, NotesEncoding encoding, Text& notes, Text& error) {
    if (bytes.find('\0') != std::string_view::npos && !StartsWith(bytes, "\xFF\xFE") &&
        !StartsWith(bytes, "\xFE\xFF")) {
        error = "说明文件含有零字节, 不是文字";
        return false;
    }
    if (encoding == NotesEncoding::Gbk) {
        // Every character must also have a Unicode form, or the Linux
        // programs could not show it.
        const Text text(bytes);
        if (!IsGbk(text) || System().Utf8ToGbk(System().GbkToUtf8(text)) != text) {
            error = "说明文件不是有效的 GBK 文字";
            return false;
        }
        notes = text;
        return true;
    }
    std::string utf8;
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        if (!Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE', utf8) || utf8.find('\0') != std::string::npos) {
            error = "说明文件不是有效的 UTF-16 文字";
            return false;
        }
    } else {
        utf8 = StartsWith(bytes, "\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
        if (!IsUtf8(utf8)) {
            error = "说明文件不是有效的 UTF-8 文字 (GBK 文字请加 --notes-encoding gbk)";
            return false;
        }
    }
    const Text gbk = System().Utf8ToGbk(utf8);
    if (System().GbkToUtf8(gbk) != utf8) {
        error = "说明文件含有 GBK 无法表示的字符";
        return false;
    }
    notes = gbk;
    return true;
}

}  // namespace qh
