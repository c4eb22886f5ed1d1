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

Bytes BytesOf(std::span<const unsigned char> file) { return Bytes(file.begin(), file.end()); }

}  // namespace

Bytes CalcImageBytes(CalcImage image) { return BytesOf(FileOf(image)); }

std::vector<std::pair<Bytes, Bytes>> CalcDoubleImages() {
    struct Double {
        CalcImage image;
        std::span<const unsigned char> (*twice)();
    };
    static constexpr Double kDoubles[] = {
        {CalcImage::TabHousing, calc_art::TabHousing2x}, {CalcImage::TabCar, calc_art::TabCar2x},
        {CalcImage::TabCombined, calc_art::TabCombined2x}, {CalcImage::TabSearch, calc_art::TabSearch2x},
        {CalcImage::TabAbout, calc_art::TabAbout2x},     {CalcImage::HelpIcon, calc_art::HelpIcon2x},
        {CalcImage::Banner, calc_art::Banner2x},         {CalcImage::AboutLogo, calc_art::AboutLogo2x},
    };
    std::vector<std::pair<Bytes, Bytes>> doubles;
    for (const Double& d : kDoubles) doubles.emplace_back(CalcImageBytes(d.image), BytesOf(d.twice()));
    return doubles;
}

}  // namespace qh
