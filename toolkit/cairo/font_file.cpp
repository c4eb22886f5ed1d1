#include "toolkit/cairo/font_file.h"

#include <cairo-ft.h>
#include <fcntl.h>
#include <ft2build.h>
#include <unistd.h>
#include FT_FREETYPE_H
#include <fontconfig/fcfreetype.h>

#include <cerrno>
#include <memory>

namespace qh::cairo {
namespace {

// The FreeType library of the streamed faces. It is never closed: cairo may
// let go of a face only when the process ends, and a face must not outlive
// its library.
FT_Library StreamLibrary() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

// One open font file: the descriptor and the stream FreeType reads it by.
struct FontFile {
    int fd = -1;
    FT_StreamRec stream{};
};

// FreeType's read callback: count bytes at offset, or with a count of 0 a
// seek, which answers 0 when the offset lies within the file.
unsigned long ReadFontFile(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
    if (count == 0) return offset <= stream->size ? 0 : 1;
    const int fd = static_cast<FontFile*>(stream->descriptor.pointer)->fd;
    unsigned long done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<unsigned long>(n);
    }
    return done;
}

// Called by FreeType when the face is done with its stream.
void CloseFontFile(FT_Stream stream) {
    auto* file = static_cast<FontFile*>(stream->descriptor.pointer);
    ::close(file->fd);
    delete file;
}

FT_Face OpenStreamedFace(const char* path, int index) {
    FT_Library library = StreamLibrary();
    if (library == nullptr) return nullptr;
    auto file = std::make_unique<FontFile>();
    file->fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (file->fd < 0) return nullptr;
    const off_t size = ::lseek(file->fd, 0, SEEK_END);
    if (size <= 0) {
        ::close(file->fd);
        return nullptr;
    }
    file->stream.size = static_cast<unsigned long>(size);
    file->stream.descriptor.pointer = file.get();
    file->stream.read = ReadFontFile;
    file->stream.close = CloseFontFile;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &file->stream;
    // From here on FreeType closes the stream, and with it the file: when
    // the face is done, or at once when it cannot be opened.
    file.release();
    FT_Face face = nullptr;
    return FT_Open_Face(library, &args, index, &face) == 0 ? face : nullptr;
}

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

}  // namespace

cairo_font_face_t* CreateStreamedFontFace(FcPattern* match) {
    FcChar8* path = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return nullptr;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FT_Face face = OpenStreamedFace(reinterpret_cast<const char*>(path), index);
    if (face == nullptr) return nullptr;
    // cairo takes the face from FC_FT_FACE, and everything else (hinting,
    // anti-aliasing, embedded bitmaps) from the pattern as before.
    FcPattern* withFace = FcPatternDuplicate(match);
    FcPatternAddFTFace(withFace, FC_FT_FACE, face);
    cairo_font_face_t* font = cairo_ft_font_face_create_for_pattern(withFace);
    FcPatternDestroy(withFace);
    if (cairo_font_face_status(font) != CAIRO_STATUS_SUCCESS ||
        cairo_font_face_set_user_data(font, &kFaceKey, face, DoneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(font);
        FT_Done_Face(face);
        return nullptr;
    }
    return font;
}

}  // namespace qh::cairo
