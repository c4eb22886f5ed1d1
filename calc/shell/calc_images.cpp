#include "calc/shell/calc_images.h"

#include <span>

#include "calc_art_files.h"  // generated from calc/shell/art/ by cmake/EmbedFiles.cmake

namespace qh {
namespace {

std::span<const unsigned char> FileOf(CalcImage image) {
    switch (image) {
    case CalcImage::Skin: return calc_art::Skin();
    case CalcImage::TabHousing: return calc_art::TabHousing();
    case CalcImage::TabCar: return calc_art::TabCar();
    case CalcImage::TabCombined: return calc_art::TabCombined();
    case CalcImage::TabSearch: return calc_art::TabSearch();
    case CalcImage::TabAbout: return calc_art::TabAbout();
    case CalcImage::HelpIcon: return calc_art::HelpIcon();
    case CalcImage::Separator: return calc_art::Separator();
    case CalcImage::ResultsStrip: return calc_art::ResultsStrip();
    case CalcImage::Banner: return calc_art::Banner();
    case CalcImage::AboutLogo: return calc_art::AboutLogo();
    }
    return {};
}

}  // namespace

Bytes CalcImageBytes(CalcImage image) {
    const std::span<const unsigned char> file = FileOf(image);
    return Bytes(file.begin(), file.end());
}

}  // namespace qh
