// Text of the GDI+ backend: fonts by face name in pixels, and string formats.
#include "toolkit/gdiplus/gdiplus_graphics.h"

#include <string>

#include "runtime/win32/system_win32.h"
#include "toolkit/gdiplus/gdiplus_native.h"

namespace qh::gdiplus {
namespace {

// A font and the string format of one call, released together.
class TextTools {
public:
    TextTools(const UiFont& font, const TextFormat& format) {
        family_ = Family(font.face);
        if (family_) GdipCreateFont(family_, font.size, font.style, UnitPixel, &font_);
        GdipCreateStringFormat(format.flags, LANG_NEUTRAL, &format_);
        if (format_) {
            GdipSetStringFormatAlign(format_, static_cast<StringAlignment>(format.align));
            GdipSetStringFormatLineAlign(format_, static_cast<StringAlignment>(format.lineAlign));
            GdipSetStringFormatTrimming(format_, static_cast<StringTrimming>(format.trimming));
            GdipSetStringFormatHotkeyPrefix(format_, format.hotkeyPrefix);
        }
    }
    ~TextTools() {
        if (format_) GdipDeleteStringFormat(format_);
        if (font_) GdipDeleteFont(font_);
        if (family_) GdipDeleteFontFamily(family_);
    }
    bool Ready() const { return font_ && format_; }
    GpFont* font() const { return font_; }
    GpStringFormat* format() const { return format_; }

    // The face's family; an unknown face falls back to 宋体, then to the
    // system's sans-serif family, so that text is never silently dropped.
    static GpFontFamily* Family(const Text& face) {
        GpFontFamily* family = nullptr;
        for (const Text& candidate : {face, Text("宋体")}) {
            if (candidate.empty()) continue;
            if (GdipCreateFontFamilyFromName(GbkToWide(candidate).c_str(), nullptr, &family) == Ok) {
                return family;
            }
        }
        GpFontFamily* generic = nullptr;
        if (GdipGetGenericFontFamilySansSerif(&generic) == Ok && generic) {
            GdipCloneFontFamily(generic, &family);
        }
        return family;
    }

private:
    GpFontFamily* family_ = nullptr;
    GpFont* font_ = nullptr;
    GpStringFormat* format_ = nullptr;
};

}  // namespace

RectF GdiplusGraphics::MeasureString(const Text& text, const UiFont& font, const RectF& layout,
                                     const TextFormat& format) {
    RectF box{layout.left, layout.top, 0, 0};
    if (!native_->graphics || text.empty()) return box;
    TextTools tools(font, format);
    if (!tools.Ready()) return box;
    const std::wstring wide = GbkToWide(text);
    const Gdiplus::RectF area(layout.left, layout.top, layout.width, layout.height);
    Gdiplus::RectF bounds;
    Bound().measureString.get()(native_->graphics, wide.c_str(), static_cast<INT>(wide.size()), tools.font(),
                                &area, tools.format(), &bounds, nullptr, nullptr);
    return RectF{bounds.X, bounds.Y, bounds.Width, bounds.Height};
}

void GdiplusGraphics::DrawString(const Text& text, const UiFont& font, Argb color, const RectF& layout,
                                 const TextFormat& format) {
    if (!native_->graphics || text.empty()) return;
    TextTools tools(font, format);
    if (!tools.Ready()) return;
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(color, &brush);
    if (!brush) return;
    const std::wstring wide = GbkToWide(text);
    Gdiplus::RectF area(layout.left, layout.top, layout.width, layout.height);
    // GDI+ leaves out a last character that does not fit its layout box
    // whole (Wine's does so even for a pixel or two), where cairo draws it
    // cut at the edge. One line that starts at the left is therefore laid
    // out in a wider box and clipped to its own, so that it shows as far as
    // it fits on both backends.
    const bool widen = (format.flags & kFormatNoWrap) && !(format.flags & kFormatNoClip) && format.align == 0;
    GpRegion* saved = nullptr;
    if (widen && GdipCreateRegion(&saved) == Ok && GdipGetClip(native_->graphics, saved) == Ok) {
        GdipSetClipRect(native_->graphics, area.X, area.Y, area.Width, area.Height, CombineModeIntersect);
        area.Width += 2 * font.size;
    }
    GdipDrawString(native_->graphics, wide.c_str(), static_cast<INT>(wide.size()), tools.font(), &area,
                   tools.format(), brush);
    if (saved) {
        GdipSetClipRegion(native_->graphics, saved, CombineModeReplace);
        GdipDeleteRegion(saved);
    }
    GdipDeleteBrush(brush);
}

bool GdiplusDriver::FontFamilyExists(const Text& face) {
    if (face.empty() || !Started()) return false;
    GpFontFamily* family = nullptr;
    if (GdipCreateFontFamilyFromName(GbkToWide(face).c_str(), nullptr, &family) != Ok || !family) return false;
    GdipDeleteFontFamily(family);
    return true;
}

}  // namespace qh::gdiplus
