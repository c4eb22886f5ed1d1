// The hexadecimal fields of the command line between the two programs, and
// the digest texts: two upper-case hexadecimal digits per byte, no separator.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace qh {

// Each byte of the text as two upper-case hexadecimal digits, in order.
// "1.0.0.503" gives "312E302E302E353033"; the empty text gives the empty text.
Text HexEncode(std::string_view bytes);

// The inverse of HexEncode. Pairs of digits are read from the start (a
// trailing odd digit is ignored); full-width digits and lower-case letters
// read as their plain upper-case forms; a pair holding any other character
// gives a zero byte. The result ends at the first zero byte, so an invalid
// pair ends the decoded text.
Text HexDecode(const Text& text);

}  // namespace qh
