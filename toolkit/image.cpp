// UiImage over the graphics backend's decoders: still pictures, the frames
// of animations, the images of .ico files and native handles; quarter turns
// and mirroring are done here on the pixels.
#include "toolkit/image.h"

#include <map>

#include "runtime/files.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// The pixel of source that lands on (x, y) of the turned image, for the
// quarter turns clockwise and the mirror of a RotateFlip type.
Bitmap Turned(const Bitmap& source, int type) {
    const int w = source.Width(), h = source.Height();
    const int turns = type & 3;
    const bool mirror = type >= 4;
    const bool sideways = turns % 2 == 1;
    Bitmap turned(sideways ? h : w, sideways ? w : h);
    for (int y = 0; y < turned.Height(); ++y) {
        for (int x = 0; x < turned.Width(); ++x) {
            const int tx = mirror ? turned.Width() - 1 - x : x;
            int sx = tx, sy = y;
            if (turns == 1) sx = y, sy = h - 1 - tx;
            if (turns == 2) sx = w - 1 - tx, sy = h - 1 - y;
            if (turns == 3) sx = w - 1 - y, sy = tx;
            turned.SetRawPixel(x, y, source.RawPixel(sx, sy));
        }
    }
    return turned;
}

std::uint32_t Read32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The bytes of the image of an .ico file to show at 16 x 16: that size when
// the file has it (the most bits per pixel first), else the smallest larger
// one, else the largest. Empty when the directory is not an icon's or points
// outside the file.
Bytes ChooseIconEntry(const Bytes& ico) {
    constexpr int kWanted = 16;
    constexpr std::size_t kDirectory = 6, kEntry = 16;
    if (ico.size() < kDirectory || ico[0] != 0 || ico[1] != 0 || ico[2] != 1 || ico[3] != 0) return {};
    const std::size_t count = static_cast<std::size_t>(ico[4] | ico[5] << 8);
    if (count == 0 || ico.size() < kDirectory + count * kEntry) return {};
    std::size_t best = count;
    int bestSide = 0, bestBits = 0;
    // Ranks a side: 16 first, then larger sides from small to large, then
    // smaller sides from large to small.
    auto rank = [](int side) { return side == kWanted ? 0 : side > kWanted ? side : 100000 - side; };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectory + i * kEntry;
        const int side = ico[at] == 0 ? 256 : ico[at];  // 0 stands for 256
        const int bits = ico[at + 6] | ico[at + 7] << 8;
        const std::uint64_t size = Read32(ico, at + 8), offset = Read32(ico, at + 12);
        if (size == 0 || offset + size > ico.size()) continue;
        if (best == count || rank(side) < rank(bestSide) || (side == bestSide && bits > bestBits)) {
            best = i;
            bestSide = side;
            bestBits = bits;
        }
    }
    if (best == count) return {};
    const std::size_t at = kDirectory + best * kEntry;
    const std::size_t size = Read32(ico, at + 8), offset = Read32(ico, at + 12);
    return Bytes(ico.begin() + static_cast<std::ptrdiff_t>(offset),
                 ico.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

}  // namespace

namespace {

constexpr float kDoubleFromScale = 1.5f;

std::map<Bytes, Bytes>& DoubleImages() {
    static std::map<Bytes, Bytes> images;
    return images;
}

}  // namespace

void RegisterDoubleImage(const Bytes& base, const Bytes& twice) {
    if (!base.empty() && !twice.empty()) DoubleImages()[base] = twice;
}

const Bitmap& UiImage::PixelsFor(float scale) const {
    if (scale < kDoubleFromScale || twiceBytes_.empty() || !frames_.empty()) return bitmap_;
    DecodedImage doubled;
    if (twice_.Empty() && TheGraphics().DecodeFrames(twiceBytes_, doubled) && doubled.frames.size() == 1) {
        twice_ = std::move(doubled.frames.front());
    }
    // The double picture counts only when it is exactly twice the size.
    const bool twice = twice_.Width() == 2 * bitmap_.Width() && twice_.Height() == 2 * bitmap_.Height();
    return twice ? twice_ : bitmap_;
}

void UiImage::Dispose() {
    bitmap_ = Bitmap();
    twiceBytes_.clear();
    twice_ = Bitmap();
    frames_.clear();
    delays_.clear();
    frame_ = 0;
}

bool UiImage::Adopt(Bitmap picture) {
    Dispose();
    if (picture.Empty()) return false;
    bitmap_ = std::move(picture);
    return true;
}

bool UiImage::LoadFromMemory(const Bytes& bytes) {
    Dispose();
    if (bytes.empty() || Toolkit().graphics == nullptr) return false;
    DecodedImage decoded;
    if (!TheGraphics().DecodeFrames(bytes, decoded) || decoded.frames.empty()) return false;
    // A still image is moved, not copied: a window's skin is a megabyte or two.
    if (decoded.frames.size() > 1) {
        bitmap_ = decoded.frames.front();
        frames_ = std::move(decoded.frames);
    } else {
        bitmap_ = std::move(decoded.frames.front());
    }
    delays_ = std::move(decoded.delays);
    if (const auto twice = DoubleImages().find(bytes); twice != DoubleImages().end() && frames_.empty()) {
        twiceBytes_ = twice->second;
    }
    return true;
}

bool UiImage::LoadFromFile(const Text& path) {
    Dispose();
    Bytes bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) return false;
    return LoadFromMemory(bytes);
}

bool UiImage::LoadFromIcon(NativeHandle icon) {
    Bitmap picture;
    if (icon == 0 || Toolkit().graphics == nullptr || !TheGraphics().DecodeNativeIcon(icon, picture)) {
        Dispose();
        return false;
    }
    return Adopt(std::move(picture));
}

bool UiImage::LoadFromIconBytes(const Bytes& ico) {
    const Bytes entry = ChooseIconEntry(ico);
    Bitmap picture;
    if (entry.empty() || Toolkit().graphics == nullptr || !TheGraphics().DecodeIconImage(entry, picture)) {
        Dispose();
        return false;
    }
    return Adopt(std::move(picture));
}

bool UiImage::LoadFromHbitmap(NativeHandle bitmap) {
    Bitmap picture;
    if (bitmap == 0 || Toolkit().graphics == nullptr || !TheGraphics().DecodeNativeBitmap(bitmap, picture)) {
        Dispose();
        return false;
    }
    return Adopt(std::move(picture));
}

bool UiImage::CreateBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    return Adopt(Bitmap(width, height));
}

bool UiImage::RotateFlip(int type) {
    if (type < 0 || type > 7) return false;
    if (bitmap_.Empty()) return true;
    bitmap_ = Turned(bitmap_, type);
    twiceBytes_.clear();  // a turned picture has no double
    twice_ = Bitmap();
    for (Bitmap& frame : frames_) frame = Turned(frame, type);
    return true;
}

int UiImage::FrameCount() const {
    if (bitmap_.Empty()) return 0;
    return frames_.empty() ? 1 : static_cast<int>(frames_.size());
}

bool UiImage::SelectFrame(int index) {
    if (index < 0 || index >= FrameCount()) return false;
    if (!frames_.empty()) bitmap_ = frames_[static_cast<std::size_t>(index)];
    frame_ = index;
    return true;
}

}  // namespace qh
