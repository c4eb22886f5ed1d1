#include "renew/version_order.h"

#include <cstdint>
#include <vector>

namespace qh {
namespace {

// Numbers of more digits would not fit the comparison's integers.
constexpr std::size_t kMostDigits = 9;

// The numbers of a version, or nothing when it is not one.
std::optional<std::vector<std::uint32_t>> Numbers(const Text& version) {
    std::vector<std::uint32_t> numbers;
    std::size_t digits = 0;
    std::uint32_t number = 0;
    for (const char c : version) {
        if (c >= '0' && c <= '9') {
            if (++digits > kMostDigits) return std::nullopt;
            number = number * 10 + static_cast<std::uint32_t>(c - '0');
        } else if (c == '.' && digits > 0) {
            numbers.push_back(number);
            digits = 0;
            number = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;  // empty, or ending in a dot
    numbers.push_back(number);
    return numbers;
}

}  // namespace

std::optional<int> CompareVersions(const Text& a, const Text& b) {
    const auto left = Numbers(a);
    const auto right = Numbers(b);
    if (!left || !right) return std::nullopt;
    const std::size_t count = left->size() > right->size() ? left->size() : right->size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t x = i < left->size() ? (*left)[i] : 0;
        const std::uint32_t y = i < right->size() ? (*right)[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace qh
