#include "tools/qinghe-publish/release_notes.h"

#include <gtest/gtest.h>

#include <string>

namespace qh {
namespace {

Text Decoded(std::string_view bytes, NotesEncoding encoding = NotesEncoding::Utf8) {
    Text notes;
    Text error;
    return DecodeReleaseNotes(bytes, encoding, notes, error) ? notes : "refused: " + error;
}

TEST(DecodeReleaseNotes, TakesUtf8WithOrWithoutAMarkAndUtf16WithOne) {
    const std::string utf8 = reinterpret_cast<const char*>(u8"修正月供");
    EXPECT_EQ(Decoded(utf8), "修正月供");
    EXPECT_EQ(Decoded("\xEF\xBB\xBF" + utf8), "修正月供");
    // "修正" as UTF-16 little- and big-endian (U+4FEE U+6B63).
    EXPECT_EQ(Decoded(std::string("\xFF\xFE\xEE\x4F\x63\x6B", 6)), "修正");
    EXPECT_EQ(Decoded(std::string("\xFE\xFF\x4F\xEE\x6B\x63", 6)), "修正");
    EXPECT_EQ(Decoded("些伞伪位", NotesEncoding::Gbk), "些伞伪位");
}

TEST(DecodeReleaseNotes, RefusesBytesThatAreNotTextInTheirEncoding) {
    for (const std::string& bytes : {std::string("\xC3\x28"), std::string("ok\xFF"), std::string("a\0b", 3),
                                     std::string("\xFF\xFE\x00\xD8", 4), std::string("\xFF\xFE\x41", 3)}) {
        EXPECT_EQ(Decoded(bytes).rfind("refused", 0), 0u) << bytes;
    }
    for (const std::string& bytes : {std::string("\x80"), std::string("\xB0"), std::string("\xB0\x7F"),
                                     std::string("\xFF\xFE\x41\x00", 4)}) {
        EXPECT_EQ(Decoded(bytes, NotesEncoding::Gbk).rfind("refused", 0), 0u) << bytes;
    }
    // A character that GBK cannot hold cannot reach the version document.
    EXPECT_EQ(Decoded("\xED\x95\x9C").rfind("refused", 0), 0u);  // "한" in UTF-8
}

}  // namespace
}  // namespace qh
