// Text and byte blocks, and the byte-level text operations.
//
// Text is GBK (code page 936) held in std::string: a Chinese character is two
// bytes, the first with its high bit set. The empty text and the absent text
// are the same value. Positions and counts are in bytes and start at 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// True for a byte that starts a two-byte GBK character.
constexpr bool IsLeadByte(unsigned char c) { return c > 0x7F; }

int TextLength(const Text& t);
Text SpaceText(int n);
// A one-byte text; the absent text for code 0.
Text CharText(int code);

// The last n bytes of t (all of t when it is shorter); empty when n < 1.
Text RightText(const Text& t, int n);
// n bytes from the 1-based position start, cut at the end of t; empty when
// n < 1, start < 1 or start lies beyond the end.
Text MidText(const Text& t, int start, int n);
// 1-based position of the first occurrence of what in t at or after start
// (values below 1 count as 1), or -1. Matches begin only on character
// boundaries: the scan steps over a two-byte character as a whole.
int FindText(const Text& t, const Text& what, int start = 1, bool ignoreCase = false);
// The parts of t between separators (one part when it has none).
std::vector<Text> SplitText(const Text& t, const Text& separator);
// Whether text starts with prefix, ASCII letters compared in either case
// (URL schemes, header names).
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// "%X" of a 32-bit integer: upper case, no leading zeros.
Text HexText(std::int32_t n);

// Replaces every occurrence of the byte from with to, stepping over two-byte
// characters so that a trail byte is never taken for an ASCII one.
Text ReplaceAsciiByte(const Text& t, char from, char to);
// 1-based position of the last ASCII byte c outside two-byte characters, or 0.
int FindLastAsciiByte(const Text& t, char c);

}  // namespace qh
