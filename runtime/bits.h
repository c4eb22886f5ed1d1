// Bit operations on 32-bit integers: or and and over any number of
// arguments, not, and shifts by the low five bits of the count (the right
// shift is arithmetic and keeps the sign).
#pragma once

#include <cstdint>

namespace qh {

template <typename... Rest>
constexpr std::int32_t BitOr(std::int32_t first, Rest... rest) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(first) | ... |
                                      static_cast<std::uint32_t>(rest)));
}

template <typename... Rest>
constexpr std::int32_t BitAnd(std::int32_t first, Rest... rest) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(first) & ... &
                                      static_cast<std::uint32_t>(rest)));
}

constexpr std::int32_t BitNot(std::int32_t value) {
    return static_cast<std::int32_t>(~static_cast<std::uint32_t>(value));
}

constexpr std::int32_t ShiftLeft(std::int32_t value, std::int32_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << (count & 31));
}

constexpr std::int32_t ShiftRight(std::int32_t value, std::int32_t count) {
    return value >> (count & 31);  // arithmetic for negative values in C++20
}

}  // namespace qh
