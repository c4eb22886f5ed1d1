// Text of the cairo backend: GBK converted to UTF-8, faces matched by
// fontconfig, lines broken to the layout width, aligned and trimmed.
#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/system.h"
#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/cairo/font_file.h"

namespace qh::cairo {

namespace {

// Windows face names the programs use, and the family fontconfig is asked for.
struct FaceAlias {
    const char* windowsFace;  // GBK
    const char* family;
};
constexpr FaceAlias kFaceAliases[] = {
    {"宋体", "SimSun"}, {"新宋体", "NSimSun"}, {"黑体", "SimHei"}, {"微软雅黑", "Microsoft YaHei"},
};

std::string FamilyFor(const Text& face) {
    for (const FaceAlias& a : kFaceAliases) {
        if (face == a.windowsFace) return a.family;
    }
    return System().GbkToUtf8(face);
}

bool IsAlias(const Text& face) {
    return std::any_of(std::begin(kFaceAliases), std::end(kFaceAliases),
                       [&](const FaceAlias& a) { return face == a.windowsFace; });
}

FcPattern* MatchFace(const Text& face, int style) {
    FcPattern* pattern = FcPatternCreate();
    const std::string family = FamilyFor(face);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & kBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & kItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (IsAlias(face)) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

// One code point of UTF-8 text starting at i: its byte length.
std::size_t CodePointLength(const std::string& s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

// Removes hotkey '&' marks ("&&" stays as one '&').
Text StripPrefix(const Text& t) {
    Text out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (c > 0x7F && i + 1 < t.size()) {
            out += t[i];
            out += t[++i];
        } else if (c == '&') {
            if (i + 1 < t.size() && t[i + 1] == '&') out += t[++i];
        } else {
            out += t[i];
        }
    }
    return out;
}

struct Layout {
    std::vector<std::string> lines;
    std::vector<double> widths;
    double lineHeight = 0;
    double ascent = 0;
};

double Advance(cairo_t* cr, const std::string& s) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    return e.x_advance;
}

// Cuts a line to fit width, ending in an ellipsis.
std::string Ellipsize(cairo_t* cr, const std::string& line, double width) {
    const std::string dots = "\xE2\x80\xA6";
    std::string cut = line;
    while (!cut.empty() && Advance(cr, cut + dots) > width) {
        std::size_t i = cut.size() - 1;
        while (i > 0 && (static_cast<unsigned char>(cut[i]) & 0xC0) == 0x80) --i;
        cut.erase(i);
    }
    return cut + dots;
}

// Cuts a line to fit width at a word boundary (a space), or at a character
// when its first word alone is too wide.
std::string TrimWord(cairo_t* cr, const std::string& line, double width) {
    std::string cut = line;
    while (!cut.empty() && Advance(cr, cut) > width) {
        const std::size_t space = cut.find_last_of(' ');
        if (space == std::string::npos) {
            std::size_t i = cut.size() - 1;
            while (i > 0 && (static_cast<unsigned char>(cut[i]) & 0xC0) == 0x80) --i;
            cut.erase(i);
        } else {
            cut.erase(space);
            while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        }
    }
    return cut;
}

// Trimming: lines that do not fit the box's height whole are left out, and a
// line wider than the box is cut by character (1), by word (2), or with an
// ellipsis (3-5; 4 at a word boundary).
void Trim(cairo_t* cr, Layout& out, const RectF& box, int trimming) {
    if (trimming == 0) return;
    bool dropped = false;
    if (box.height > 0 && out.lineHeight > 0) {
        const std::size_t fit = std::max<std::size_t>(1, static_cast<std::size_t>(box.height / out.lineHeight + 0.01));
        if (out.lines.size() > fit) {
            out.lines.resize(fit);
            dropped = true;
        }
    }
    if (box.width <= 0) return;
    const std::string dots = "\xE2\x80\xA6";  // the ellipsis, in UTF-8
    for (std::size_t i = 0; i < out.lines.size(); ++i) {
        std::string& l = out.lines[i];
        const bool last = i + 1 == out.lines.size();
        const bool wide = Advance(cr, l) > box.width + 0.01;
        if (trimming >= 3 && (wide || (last && dropped))) {
            std::string base = trimming == 4 ? TrimWord(cr, l, box.width - Advance(cr, dots)) : l;
            l = Ellipsize(cr, base, box.width);
        } else if (wide && trimming == 2) {
            l = TrimWord(cr, l, box.width);
        }
    }
}

Layout LayOut(cairo_t* cr, const std::string& utf8, const RectF& box, const TextFormat& f) {
    Layout out;
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    out.lineHeight = fe.height;
    out.ascent = fe.ascent;
    const bool wrap = !(f.flags & kFormatNoWrap) && box.width > 0;
    std::string line;
    std::size_t lastSpace = std::string::npos;
    auto push = [&](std::string l) {
        out.lines.push_back(std::move(l));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = CodePointLength(utf8, i);
        std::string cp = utf8.substr(i, n);
        i += n;
        if (cp == "\r") continue;
        if (cp == "\n") {
            push(line);
            line.clear();
            lastSpace = std::string::npos;
            continue;
        }
        if (wrap && !line.empty() && Advance(cr, line + cp) > box.width + 0.01) {
            if (cp == " ") {
                push(line);
                line.clear();
                lastSpace = std::string::npos;
                continue;
            }
            if (lastSpace != std::string::npos && n == 1) {
                std::string rest = line.substr(lastSpace + 1);
                push(line.substr(0, lastSpace));
                line = rest;
            } else {
                push(line);
                line.clear();
            }
            lastSpace = std::string::npos;
        }
        if (cp == " ") lastSpace = line.size();
        line += cp;
    }
    if (!line.empty() || out.lines.empty()) push(line);
    Trim(cr, out, box, f.trimming);
    for (const auto& l : out.lines) out.widths.push_back(Advance(cr, l));
    return out;
}

void SelectFont(cairo_t* cr, CairoDriver& driver, const UiFont& font) {
    cairo_set_font_face(cr, driver.FontFace(font.face, font.style));
    cairo_set_font_size(cr, font.size > 0 ? font.size : 12.0);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

std::string Prepare(const Text& text, const TextFormat& f) {
    return System().GbkToUtf8(f.hotkeyPrefix != 0 ? StripPrefix(text) : text);
}

}  // namespace

cairo_font_face_t* CairoDriver::FontFace(const Text& face, int style) {
    const int key = style & (kBold | kItalic);
    auto it = faces_.find({face, key});
    if (it != faces_.end()) return it->second;
    FcPattern* match = MatchFace(face, key);
    cairo_font_face_t* cf = match != nullptr ? CreateStreamedFontFace(match) : nullptr;
    if (cf == nullptr && match != nullptr) cf = cairo_ft_font_face_create_for_pattern(match);
    if (cf == nullptr) cf = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    if (match != nullptr) FcPatternDestroy(match);
    faces_[{face, key}] = cf;
    return cf;
}

bool CairoDriver::FontFamilyExists(const Text& face) {
    if (face.empty()) return false;
    FcPattern* match = MatchFace(face, kRegular);
    if (match == nullptr) return false;
    bool found = false;
    if (IsAlias(face)) {
        // A Windows Chinese face exists when fontconfig offers a font that
        // covers Chinese for it.
        FcCharSet* chars = nullptr;
        found = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                FcCharSetHasChar(chars, 0x4E2D) && FcCharSetHasChar(chars, 0x5B8B);
    } else {
        FcChar8* family = nullptr;
        const std::string wanted = FamilyFor(face);
        for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
            found = strcasecmp(reinterpret_cast<const char*>(family), wanted.c_str()) == 0;
        }
    }
    FcPatternDestroy(match);
    return found;
}

RectF CairoGraphics::MeasureString(const Text& text, const UiFont& font, const RectF& box, const TextFormat& f) {
    cairo_save(cr_);
    SelectFont(cr_, driver_, font);
    Layout l = LayOut(cr_, Prepare(text, f), box, f);
    cairo_restore(cr_);
    double w = 0;
    for (double lw : l.widths) w = std::max(w, lw);
    if (box.width > 0 && !(f.flags & kFormatNoWrap)) w = std::min<double>(w, box.width);
    return MakeRect(box.left, box.top, static_cast<float>(std::ceil(w)),
                    static_cast<float>(std::ceil(l.lineHeight * l.lines.size())));
}

void CairoGraphics::DrawString(const Text& text, const UiFont& font, Argb color, const RectF& box,
                               const TextFormat& f) {
    if (text.empty()) return;
    cairo_save(cr_);
    SelectFont(cr_, driver_, font);
    if (!(f.flags & kFormatNoClip) && box.width > 0 && box.height > 0) {
        cairo_rectangle(cr_, box.left, box.top, box.width, box.height);
        cairo_clip(cr_);
    }
    Layout l = LayOut(cr_, Prepare(text, f), box, f);
    SetColor(color);
    double y = box.top;
    if (f.lineAlign != 0 && box.height > 0) {
        double total = l.lineHeight * l.lines.size();
        y += (box.height - total) / (f.lineAlign == 1 ? 2 : 1);
    }
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        double x = box.left;
        if (box.width > 0 && f.align == 1) x += (box.width - l.widths[i]) / 2;
        if (box.width > 0 && f.align == 2) x += box.width - l.widths[i];
        // On the device's pixel grid, so that glyphs are not smeared over two rows.
        const double baseline = Snap(y + l.ascent);
        x = Snap(x);
        cairo_move_to(cr_, x, baseline);
        cairo_show_text(cr_, l.lines[i].c_str());
        // Underline and strikeout are drawn as bars, as thick as the size asks.
        const double bar = std::max(1.0, std::round(font.size / 14.0));
        if (font.style & kUnderline) {
            cairo_rectangle(cr_, x, baseline + std::max(1.0, std::round(font.size / 10.0)), l.widths[i], bar);
        }
        if (font.style & kStrikeout) {
            cairo_rectangle(cr_, x, Snap(baseline - l.ascent * 0.35), l.widths[i], bar);
        }
        cairo_fill(cr_);
        y += l.lineHeight;
    }
    cairo_restore(cr_);
    Flush();
}

}  // namespace qh::cairo
