// GIF frames through giflib's record-by-record reader. The whole-file reader
// (DGifSlurp) is not used: it allocates every frame's pixels at the size the
// file claims before any of them is checked, where this reader checks each
// size first and then keeps one row at a time.
#include "toolkit/cairo/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace qh::cairo {
namespace {

constexpr int kGraphicControlLabel = 0xF9;
constexpr int kGraphicControlLength = 4;
constexpr int kDisposeBackground = 2;
constexpr int kDisposePrevious = 3;

// The bytes giflib reads, front to back.
struct MemoryInput {
    const Bytes* bytes;
    std::size_t pos;
};

// giflib's read callback: a short count tells giflib the data has ended.
int ReadInput(GifFileType* gif, GifByteType* buffer, int length) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t available = input->bytes->size() - input->pos;
    const std::size_t count = std::min(available, static_cast<std::size_t>(length));
    std::memcpy(buffer, input->bytes->data() + input->pos, count);
    input->pos += count;
    return static_cast<int>(count);
}

// Closes the giflib reader however the decoding ends.
class GifReader {
public:
    explicit GifReader(const Bytes& bytes) : input_{&bytes, 0} {
        int error = 0;
        gif_ = DGifOpen(&input_, ReadInput, &error);
    }
    ~GifReader() {
        int error = 0;
        if (gif_) DGifCloseFile(gif_, &error);
    }
    GifReader(const GifReader&) = delete;
    GifReader& operator=(const GifReader&) = delete;
    GifFileType* get() const { return gif_; }

private:
    MemoryInput input_;
    GifFileType* gif_ = nullptr;
};

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
    std::uint32_t& At(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

struct FrameRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// A colour map as opaque, premultiplied (that is, unchanged) pixels.
std::vector<std::uint32_t> Colors(const ColorMapObject* map) {
    std::vector<std::uint32_t> colors;
    if (!map || !map->Colors) return colors;
    for (int i = 0; i < map->ColorCount; ++i) {
        const GifColorType& c = map->Colors[i];
        colors.push_back(0xFF000000u | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue);
    }
    return colors;
}

// Draws one row of a frame; transparent indices, those past the colour map
// and pixels outside the canvas leave the canvas unchanged.
void DrawRow(Canvas& canvas, const FrameRect& f, int y, const std::vector<GifPixelType>& row,
             const std::vector<std::uint32_t>& colors, int transparent) {
    if (y >= canvas.height) return;
    for (int i = 0; i < f.width && f.left + i < canvas.width; ++i) {
        const int index = row[static_cast<std::size_t>(i)];
        if (index == transparent || static_cast<std::size_t>(index) >= colors.size()) continue;
        canvas.At(f.left + i, y) = colors[static_cast<std::size_t>(index)];
    }
}

void ClearRect(Canvas& canvas, const FrameRect& f) {
    const int right = std::min(canvas.width, f.left + f.width);
    const int bottom = std::min(canvas.height, f.top + f.height);
    for (int y = f.top; y < bottom; ++y) {
        for (int x = f.left; x < right; ++x) canvas.At(x, y) = 0;
    }
}

Bitmap ToBitmap(const Canvas& canvas) {
    Bitmap frame(canvas.width, canvas.height);
    std::memcpy(frame.Data(), canvas.pixels.data(), canvas.pixels.size() * 4);
    return frame;
}

// Reads one frame's rows onto the canvas (its descriptor already read),
// keeps the composed frame and applies its disposal. False when the stream
// cannot go on after it.
bool ReadFrame(GifFileType* gif, Canvas& canvas, const FrameControl& control, DecodedImage& out) {
    const GifImageDesc& desc = gif->Image;
    const FrameRect f{desc.Left, desc.Top, desc.Width, desc.Height};
    if (f.width <= 0 || f.height <= 0) return false;
    if (static_cast<long long>(f.width) * f.height > kMaxImagePixels) return false;
    const std::vector<std::uint32_t> colors = Colors(desc.ColorMap ? desc.ColorMap : gif->SColorMap);
    const std::vector<int> rows = RowOrder(f.height, desc.Interlace);

    std::vector<std::uint32_t> saved;
    if (control.disposal == kDisposePrevious) saved = canvas.pixels;
    std::vector<GifPixelType> row(static_cast<std::size_t>(f.width));
    std::size_t decoded = 0;
    while (decoded < rows.size() && DGifGetLine(gif, row.data(), f.width) == GIF_OK) {
        DrawRow(canvas, f, f.top + rows[decoded], row, colors, control.transparent);
        ++decoded;
    }
    if (decoded == 0) return false;  // nothing of this frame arrived
    out.frames.push_back(ToBitmap(canvas));
    out.delays.push_back(control.delay);
    if (control.disposal == kDisposeBackground) ClearRect(canvas, f);
    if (control.disposal == kDisposePrevious) canvas.pixels = std::move(saved);
    return decoded == rows.size();
}

// Reads an extension's blocks; a graphic control extension sets control.
bool ReadExtension(GifFileType* gif, FrameControl& control) {
    int label = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &label, &block) != GIF_OK) return false;
    if (label == kGraphicControlLabel && block && block[0] >= kGraphicControlLength) {
        control.disposal = (block[1] >> 2) & 7;
        control.delay = block[2] | block[3] << 8;
        control.transparent = (block[1] & 1) ? block[4] : -1;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

}  // namespace

bool IsGif(const Bytes& bytes) { return bytes.size() >= 6 && std::memcmp(bytes.data(), "GIF8", 4) == 0; }

bool DecodeGif(const Bytes& bytes, DecodedImage& out) {
    if (!IsGif(bytes) || (bytes[4] != '7' && bytes[4] != '9') || bytes[5] != 'a') return false;
    const GifReader reader(bytes);
    GifFileType* gif = reader.get();
    if (!gif || gif->SWidth <= 0 || gif->SHeight <= 0) return false;
    const long long area = static_cast<long long>(gif->SWidth) * gif->SHeight;
    if (area > kMaxImagePixels) return false;
    Canvas canvas{gif->SWidth, gif->SHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(area), 0)};

    DecodedImage result;
    FrameControl control;
    for (bool more = true; more;) {
        GifRecordType record = TERMINATE_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) break;
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (static_cast<long long>(result.frames.size() + 1) * area > kMaxDecodedPixels) break;
            more = DGifGetImageDesc(gif) == GIF_OK && ReadFrame(gif, canvas, control, result);
            control = FrameControl();
        } else if (record == EXTENSION_RECORD_TYPE) {
            more = ReadExtension(gif, control);
        } else {
            more = false;  // the trailer
        }
    }
    if (result.frames.empty()) return false;
    out = std::move(result);
    return true;
}

}  // namespace qh::cairo
