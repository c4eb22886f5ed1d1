// calc_artwork OUTDIR [SERVERDIR]: draws every embedded image of the
// calculator and writes them into OUTDIR under the names the build embeds;
// with SERVERDIR, also the updater's banner that the update server serves.
// The committed copies in calc/shell/art/ and tests/renew/server/ come from
// this program (scripts/build-artwork.sh), and a test checks that a fresh
// run gives the same bytes.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <span>
#include <string>

#include "tools/artwork/cairo/art_canvas.h"
#include "tools/artwork/cairo/banner_art.h"
#include "tools/artwork/cairo/icon_art.h"
#include "tools/artwork/cairo/skin_art.h"
#include "tools/artwork/cairo/trim_art.h"

namespace {

using qh::art::ArtCanvas;

struct Piece {
    const char* file;
    int width;
    int height;
    bool jpeg;  // the skin and the logo; the rest are PNG with transparency
    void (*draw)(ArtCanvas&);
    // Also drawn at twice the size, as NAME@2x with the same type: the
    // pictures shown at their own size (icons, the logo and the banners with
    // their lettering), which would blur when enlarged.
    bool twice = false;
};

constexpr Piece kPieces[] = {
    {"skin.jpg", qh::art::kSkinWidth, qh::art::kSkinHeight, true, qh::art::DrawSkin},
    {"tab_housing.png", 32, 32, false, qh::art::DrawHouseIcon, true},
    {"tab_car.png", 32, 32, false, qh::art::DrawCarIcon, true},
    {"tab_combined.png", 32, 32, false, qh::art::DrawCombinedIcon, true},
    {"tab_search.png", 30, 30, false, qh::art::DrawSearchIcon, true},
    {"tab_about.png", 30, 30, false, qh::art::DrawAboutIcon, true},
    {"help_icon.png", 22, 18, false, qh::art::DrawHelpIcon, true},
    {"separator.png", 108, 1, false, qh::art::DrawSeparator},
    {"results_strip.png", 8, 293, false, qh::art::DrawResultsStrip},
    {"banner.png", 100, 60, false, qh::art::DrawBanner, true},
    {"about_logo.jpg", qh::art::kAboutLogoWidth, qh::art::kAboutLogoHeight, true, qh::art::DrawAboutLogo, true},
    // The updater embeds this one (renew/CMakeLists.txt); it is kept here so
    // that one folder holds every embedded picture.
    {"updater_banner.png", qh::art::kUpdaterBannerWidth, qh::art::kUpdaterBannerHeight, false,
     qh::art::DrawBuiltInBanner, true},
};

// The update server's pictures.
constexpr Piece kServerPieces[] = {
    {"renew_ad.png", qh::art::kUpdaterBannerWidth, qh::art::kUpdaterBannerHeight, false, qh::art::DrawUpdaterBanner},
};

// Quality of the JPEGs: high enough that the skin's soft gradients keep no
// visible blocks once the window stretches them, and that the logo's text
// keeps clean edges.
constexpr int kJpegQuality = 92;

// Draws the pieces into dir; false when one could not be written.
bool WritePieces(std::span<const Piece> pieces, const std::string& dir) {
    bool ok = true;
    for (const Piece& piece : pieces) {
        const std::string path = dir + "/" + piece.file;
        bool written = false;
        {
            ArtCanvas canvas(piece.width, piece.height, piece.jpeg);
            piece.draw(canvas);
            written = piece.jpeg ? canvas.WriteJpeg(path, kJpegQuality) : canvas.WritePng(path);
        }
        if (piece.twice) {
            const std::string name = piece.file;
            const std::string twicePath = dir + "/" + name.substr(0, name.rfind('.')) + "@2x" + name.substr(name.rfind('.'));
            ArtCanvas canvas(piece.width, piece.height, piece.jpeg, 2);
            piece.draw(canvas);
            written = (piece.jpeg ? canvas.WriteJpeg(twicePath, kJpegQuality) : canvas.WritePng(twicePath)) && written;
        }
        if (!written) {
            std::fprintf(stderr, "calc_artwork: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: calc_artwork OUTDIR [SERVERDIR]\n");
        return 2;
    }
    bool ok = WritePieces(kPieces, argv[1]);
    if (argc == 3) ok = WritePieces(kServerPieces, argv[2]) && ok;
    // Release the font caches, so a leak checker sees only what is ours.
    cairo_debug_reset_static_data();
    FcFini();
    return ok ? 0 : 1;
}
