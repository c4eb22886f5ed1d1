// Writes GIF files for the image tests: frames with their own colour tables,
// positions, transparency, delays, disposals and interlacing, compressed by a
// real LZW encoder whose dictionary grows to 12-bit codes, so that decoders
// meet the streams other programs write.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "runtime/text.h"

namespace qh::testing_gif {

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indices;  // row by row, top to bottom
    std::vector<std::uint32_t> colors;  // a local colour table (0xRRGGBB) when not empty
    int transparent = -1;
    int delay = 0;  // hundredths of a second
    int disposal = 0;
    bool interlaced = false;
};

// LZW-compresses indices with the given minimum code size. A full
// dictionary is cleared, or with clearWhenFull false kept at 4096 codes (a
// deferred clear, which the format allows).
inline std::vector<std::uint8_t> CompressLzw(const std::vector<std::uint8_t>& indices, int minCodeSize,
                                             bool clearWhenFull = true) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2, codeSize = minCodeSize + 1;
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += codeSize;
        for (; count >= 8; count -= 8, bits >>= 8) out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    };
    // After each data code the width grows once the dictionary has reached
    // it, so the code that follows (even the end code) is read as written.
    auto emitData = [&](int code) {
        emit(code);
        if (next >= (1 << codeSize) && codeSize < 12) ++codeSize;
    };
    emit(clear);
    int current = -1;
    for (std::uint8_t k : indices) {
        if (current < 0) {
            current = k;
            continue;
        }
        const auto found = table.find({current, k});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        emitData(current);
        if (next < 4096) {
            table[{current, k}] = next++;
        } else if (clearWhenFull) {
            emit(clear);
            table.clear();
            next = clear + 2;
            codeSize = minCodeSize + 1;
        }
        current = k;
    }
    if (current >= 0) emitData(current);
    emit(end);
    if (count > 0) out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    return out;
}

inline void Put16(Bytes& b, int v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// A colour table padded to a power of two; returns its size field (0-7).
inline int PutColorTable(Bytes& b, const std::vector<std::uint32_t>& colors) {
    int field = 0;
    while ((2u << field) < colors.size()) ++field;
    for (std::size_t i = 0; i < (2u << field); ++i) {
        const std::uint32_t c = i < colors.size() ? colors[i] : 0;
        b.push_back(static_cast<std::uint8_t>(c >> 16));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
        b.push_back(static_cast<std::uint8_t>(c));
    }
    return field;
}

// The minimum code size for a table of that many colours (at least 2).
inline int MinCodeSize(std::size_t colors) {
    int size = 2;
    while ((1u << size) < colors) ++size;
    return size;
}

// The rows of an interlaced frame in stored order.
inline std::vector<std::uint8_t> Interlace(const Frame& f) {
    std::vector<std::uint8_t> out;
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < f.height; y += kStep[pass]) {
            const auto row = f.indices.begin() + static_cast<std::ptrdiff_t>(y) * f.width;
            out.insert(out.end(), row, row + f.width);
        }
    }
    return out;
}

inline Bytes WriteGif(int width, int height, const std::vector<std::uint32_t>& globalColors,
                      const std::vector<Frame>& frames, bool clearWhenFull = true) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, width);
    Put16(b, height);
    const std::size_t headerFlags = b.size();
    b.push_back(0);
    b.push_back(0);  // background colour index
    b.push_back(0);  // pixel aspect ratio
    if (!globalColors.empty()) b[headerFlags] = static_cast<std::uint8_t>(0x80 | PutColorTable(b, globalColors));
    for (const Frame& f : frames) {
        b.insert(b.end(), {0x21, 0xF9, 4});
        b.push_back(static_cast<std::uint8_t>(f.disposal << 2 | (f.transparent >= 0 ? 1 : 0)));
        Put16(b, f.delay);
        b.push_back(static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0));
        b.push_back(0);
        b.push_back(0x2C);
        Put16(b, f.left);
        Put16(b, f.top);
        Put16(b, f.width);
        Put16(b, f.height);
        const std::size_t frameFlags = b.size();
        b.push_back(f.interlaced ? 0x40 : 0);
        if (!f.colors.empty()) b[frameFlags] = static_cast<std::uint8_t>(b[frameFlags] | 0x80 | PutColorTable(b, f.colors));
        const int minCodeSize = MinCodeSize(f.colors.empty() ? globalColors.size() : f.colors.size());
        b.push_back(static_cast<std::uint8_t>(minCodeSize));
        const std::vector<std::uint8_t> data =
            CompressLzw(f.interlaced ? Interlace(f) : f.indices, minCodeSize, clearWhenFull);
        for (std::size_t at = 0; at < data.size(); at += 255) {
            const std::size_t n = data.size() - at < 255 ? data.size() - at : 255;
            b.push_back(static_cast<std::uint8_t>(n));
            b.insert(b.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                     data.begin() + static_cast<std::ptrdiff_t>(at + n));
        }
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

}  // namespace qh::testing_gif
