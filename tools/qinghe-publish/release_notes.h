// The release notes file as the text of the version document (GBK). Its
// encoding is explicit: UTF-8 by default, with or without a byte-order mark;
// UTF-16 when it starts with a byte-order mark; GBK only when the maker says
// so. Bytes that are not valid in that encoding, or characters that GBK
// cannot hold, are refused: the notes reach every user's screen as written.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace qh {

enum class NotesEncoding { Utf8, Gbk };

// False, with a message in error, when the bytes are not valid text.
bool DecodeReleaseNotes(std::string_view bytes, NotesEncoding encoding, Text& notes, Text& error);

}  // namespace qh
