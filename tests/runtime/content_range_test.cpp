#include "runtime/content_range.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(ParseContentRange, ReadsBothEndsAndTheTotal) {
    auto range = ParseContentRange("bytes 100-199/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100u);
    EXPECT_EQ(range->last, 199u);
    EXPECT_EQ(range->total, 1000u);

    // A server that does not know the whole length says "*".
    range = ParseContentRange("  BYTES  0-0/*\t");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->last, 0u);
    EXPECT_FALSE(range->total);

    range = ParseContentRange("bytes 0-18446744073709551614/18446744073709551615");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->last, 18446744073709551614u);
}

TEST(ParseContentRange, RefusesWhatIsNoRangeOfBytes) {
    for (const char* text : {"", "bytes", "bytes */1000", "items 0-9/10", "bytes=0-9/10", "bytes0-9/10", "bytes 0-9",
                             "bytes 0 - 9/10", "bytes -1-9/10", "bytes 0-9/10 more", "bytes 9-0/10", "bytes 0-10/10",
                             "bytes 0-18446744073709551616/*"}) {
        EXPECT_FALSE(ParseContentRange(text)) << text;
    }
}

TEST(ContentRangeHeaderValue, TakesTheValueOfTheContentRangeLineOnly) {
    EXPECT_EQ(ContentRangeHeaderValue("Content-Range: bytes 5-9/10\r\n"), "bytes 5-9/10");
    EXPECT_EQ(ContentRangeHeaderValue("content-range:bytes 5-9/*"), "bytes 5-9/*");
    EXPECT_FALSE(ContentRangeHeaderValue("Content-Length: 5\r\n"));
    EXPECT_FALSE(ContentRangeHeaderValue("X-Content-Range: bytes 5-9/10\r\n"));
    EXPECT_FALSE(ContentRangeHeaderValue("HTTP/1.1 206 Partial Content\r\n"));
}

}  // namespace
}  // namespace qh
