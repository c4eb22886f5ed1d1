// The GIF decoder of the Linux build: the block structure, LZW expansion and
// the composition of animation frames.
#include "toolkit/cairo/gif_decoder.h"

#include <algorithm>
#include <cstring>

namespace qh::cairo {
namespace {

constexpr int kMaxCodes = 4096;  // LZW codes are at most 12 bits wide

// Reads the stream front to back. Reading past the end yields zeros and marks
// the reader as ended, so a cut file ends the decoding instead of overrunning.
class Reader {
public:
    explicit Reader(const Bytes& bytes) : bytes_(bytes) {}
    bool Ended() const { return ended_; }
    int Byte() {
        if (pos_ >= bytes_.size()) {
            ended_ = true;
            return 0;
        }
        return bytes_[pos_++];
    }
    int Word() {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    // Appends the data sub-blocks up to their terminator (or the end of the
    // stream) to out, or skips them when out is null.
    void SubBlocks(std::vector<std::uint8_t>* out) {
        for (;;) {
            const std::size_t length = static_cast<std::size_t>(Byte());
            if (length == 0 || ended_) return;
            const std::size_t available = std::min(length, bytes_.size() - pos_);
            if (out) out->insert(out->end(), bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                 bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + available));
            pos_ += available;
            if (available < length) {
                ended_ = true;
                return;
            }
        }
    }

private:
    const Bytes& bytes_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

// A colour table as opaque, premultiplied (that is, unchanged) pixels.
std::vector<std::uint32_t> ReadColorTable(Reader& r, int packed) {
    std::vector<std::uint32_t> table(static_cast<std::size_t>(2) << (packed & 7));
    for (std::uint32_t& c : table) {
        const std::uint32_t red = static_cast<std::uint32_t>(r.Byte());
        const std::uint32_t green = static_cast<std::uint32_t>(r.Byte());
        const std::uint32_t blue = static_cast<std::uint32_t>(r.Byte());
        c = 0xFF000000u | red << 16 | green << 8 | blue;
    }
    return table;
}

// Expands LZW data into indices (sized to the frame); returns how many
// indices were produced before the data ended, an end code came, or a code
// that cannot occur in a valid stream.
std::size_t ExpandLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::vector<std::uint8_t>& indices) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::vector<std::uint16_t> prefix(kMaxCodes);
    std::vector<std::uint8_t> suffix(kMaxCodes);
    std::vector<std::uint8_t> string(kMaxCodes + 1);
    for (int i = 0; i < clear; ++i) suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);

    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t pos = 0, out = 0;
    while (out < indices.size()) {
        while (bitCount < codeSize) {
            if (pos >= data.size()) return out;
            bits |= static_cast<std::uint32_t>(data[pos++]) << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            if (code > clear) return out;  // the first code after a clear is a root
            indices[out++] = static_cast<std::uint8_t>(code);
            previous = code;
            continue;
        }
        // The string of the code, or for the one code not yet in the table
        // the previous string followed by its own first byte; built backwards.
        if (code > next || (code == next && next >= kMaxCodes)) return out;
        std::size_t length = 0;
        if (code == next) ++length;  // room for the repeated first byte
        for (int c = code == next ? previous : code;; c = prefix[static_cast<std::size_t>(c)]) {
            string[length++] = suffix[static_cast<std::size_t>(c)];
            if (c < clear) break;
        }
        const std::uint8_t first = string[length - 1];
        if (code == next) string[0] = first;
        for (std::size_t i = length; i-- > 0 && out < indices.size();) indices[out++] = string[i];
        if (next < kMaxCodes) {
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
    return out;
}

// The rows of an interlaced image in the order they are stored.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    }
    return rows;
}

// What a graphic control extension says about the frame that follows it.
struct FrameControl {
    int disposal = 0;
    int transparent = -1;
    int delay = 0;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct FrameRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Draws a frame's decoded indices onto the canvas; transparent indices, those
// past the colour table and pixels outside the canvas leave it unchanged.
void DrawFrame(Canvas& canvas, const FrameRect& f, bool interlaced, const std::vector<std::uint8_t>& indices,
               std::size_t decoded, const std::vector<std::uint32_t>& colors, int transparent) {
    const std::vector<int> rows = RowOrder(f.height, interlaced);
    for (std::size_t i = 0; i < decoded; ++i) {
        const int index = indices[i];
        if (index == transparent || static_cast<std::size_t>(index) >= colors.size()) continue;
        const int x = f.left + static_cast<int>(i % static_cast<std::size_t>(f.width));
        const int y = f.top + rows[i / static_cast<std::size_t>(f.width)];
        if (x >= canvas.width || y >= canvas.height) continue;
        canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) + static_cast<std::size_t>(x)] =
            colors[static_cast<std::size_t>(index)];
    }
}

void ClearRect(Canvas& canvas, const FrameRect& f) {
    const int right = std::min(canvas.width, f.left + f.width);
    const int bottom = std::min(canvas.height, f.top + f.height);
    for (int y = f.top; y < bottom; ++y) {
        for (int x = f.left; x < right; ++x) {
            canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) + static_cast<std::size_t>(x)] = 0;
        }
    }
}

Bitmap ToBitmap(const Canvas& canvas) {
    Bitmap frame(canvas.width, canvas.height);
    std::memcpy(frame.Data(), canvas.pixels.data(), canvas.pixels.size() * 4);
    return frame;
}

// Reads one image descriptor and its data, composes the frame and applies its
// disposal. False when the stream cannot go on after it.
bool ReadFrame(Reader& r, Canvas& canvas, const std::vector<std::uint32_t>& globalColors,
               const FrameControl& control, DecodedImage& out) {
    FrameRect f;
    f.left = r.Word();
    f.top = r.Word();
    f.width = r.Word();
    f.height = r.Word();
    const int packed = r.Byte();
    const std::vector<std::uint32_t> localColors = (packed & 0x80) ? ReadColorTable(r, packed) : std::vector<std::uint32_t>();
    const int minCodeSize = r.Byte();
    if (r.Ended() || minCodeSize < 1 || minCodeSize > 8) return false;
    if (static_cast<long long>(f.width) * f.height > kMaxDecodedPixels) return false;
    std::vector<std::uint8_t> data;
    r.SubBlocks(&data);

    const std::vector<std::uint32_t>& colors = (packed & 0x80) ? localColors : globalColors;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height));
    const std::size_t decoded = ExpandLzw(data, minCodeSize, indices);
    if (decoded == 0 && r.Ended()) return false;  // nothing of this frame arrived

    std::vector<std::uint32_t> saved;
    if (control.disposal == 3) saved = canvas.pixels;
    DrawFrame(canvas, f, (packed & 0x40) != 0, indices, decoded, colors, control.transparent);
    out.frames.push_back(ToBitmap(canvas));
    out.delays.push_back(control.delay);
    if (control.disposal == 2) ClearRect(canvas, f);
    if (control.disposal == 3) canvas.pixels = std::move(saved);
    return !r.Ended();
}

}  // namespace

bool IsGif(const Bytes& bytes) { return bytes.size() >= 6 && std::memcmp(bytes.data(), "GIF8", 4) == 0; }

bool DecodeGif(const Bytes& bytes, DecodedImage& out) {
    if (!IsGif(bytes) || (bytes[4] != '7' && bytes[4] != '9') || bytes[5] != 'a') return false;
    Reader r(bytes);
    for (int i = 0; i < 6; ++i) r.Byte();
    Canvas canvas;
    canvas.width = r.Word();
    canvas.height = r.Word();
    const int packed = r.Byte();
    r.Byte();  // the background colour: viewers show a transparent canvas instead
    r.Byte();  // the pixel aspect ratio
    if (r.Ended() || canvas.width == 0 || canvas.height == 0) return false;
    const long long area = static_cast<long long>(canvas.width) * canvas.height;
    if (area > kMaxDecodedPixels) return false;
    canvas.pixels.assign(static_cast<std::size_t>(area), 0);
    const std::vector<std::uint32_t> globalColors = (packed & 0x80) ? ReadColorTable(r, packed) : std::vector<std::uint32_t>();

    DecodedImage result;
    FrameControl control;
    while (!r.Ended()) {
        const int block = r.Byte();
        if (block == 0x2C) {
            if (static_cast<long long>(result.frames.size() + 1) * area > kMaxDecodedPixels) break;
            if (!ReadFrame(r, canvas, globalColors, control, result)) break;
            control = FrameControl();
        } else if (block == 0x21) {
            const int label = r.Byte();
            std::vector<std::uint8_t> data;
            r.SubBlocks(label == 0xF9 ? &data : nullptr);
            if (label == 0xF9 && data.size() >= 4) {
                control.disposal = (data[0] >> 2) & 7;
                control.delay = data[1] | data[2] << 8;
                control.transparent = (data[0] & 1) ? data[3] : -1;
            }
        } else {
            break;  // the trailer (0x3B), or bytes that are no block
        }
    }
    if (result.frames.empty()) return false;
    out = std::move(result);
    return true;
}

}  // namespace qh::cairo
