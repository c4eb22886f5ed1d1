// The calculator's images, held in the program as the bytes of their files
// and handed to the toolkit as they are.
#pragma once

#include <utility>
#include <vector>

#include "runtime/text.h"  // Bytes

namespace qh {

enum class CalcImage {
    Skin,
    TabHousing,
    TabCar,
    TabCombined,
    TabSearch,
    TabAbout,
    HelpIcon,
    Separator,
    ResultsStrip,
    Banner,
    AboutLogo,
};

// The image's file bytes (JPEG or PNG) as the program holds them.
Bytes CalcImageBytes(CalcImage image);

// The pictures drawn at twice the size for screens at 150 % and more: each
// image's bytes with its double's.
std::vector<std::pair<Bytes, Bytes>> CalcDoubleImages();

}  // namespace qh
