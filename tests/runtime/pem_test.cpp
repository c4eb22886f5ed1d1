#include "runtime/pem.h"

#include <gtest/gtest.h>

#include <string>

namespace qh {
namespace {

std::string Bytes(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 37 + 11));
    return bytes;
}

TEST(WritePem, PadsTheLastGroupAndBreaksLinesAt64) {
    EXPECT_EQ(WritePem("X", "\x01"), "-----BEGIN X-----\nAQ==\n-----END X-----\n");
    EXPECT_EQ(WritePem("X", "\x01\x02"), "-----BEGIN X-----\nAQI=\n-----END X-----\n");
    EXPECT_EQ(WritePem("X", "\x01\x02\x03"), "-----BEGIN X-----\nAQID\n-----END X-----\n");
    // 48 bytes fill one line exactly; one more byte starts a second.
    const std::string one = WritePem("X", std::string(48, '\xff'));
    EXPECT_EQ(one, "-----BEGIN X-----\n" + std::string(64, '/') + "\n-----END X-----\n");
    const std::string two = WritePem("X", std::string(49, '\xff'));
    EXPECT_EQ(two, "-----BEGIN X-----\n" + std::string(64, '/') + "\n/w==\n-----END X-----\n");
}

TEST(ReadPem, ReadsWhatWritePemWrites) {
    for (std::size_t size = 1; size < 200; ++size) {
        std::string der;
        ASSERT_TRUE(ReadPem(WritePem("PUBLIC KEY", Bytes(size)), "PUBLIC KEY", der)) << size;
        EXPECT_EQ(der, Bytes(size)) << size;
    }
}

TEST(ReadPem, IgnoresTextAroundTheBlockAndWindowsLineEnds) {
    std::string der;
    EXPECT_TRUE(ReadPem("made by hand\r\n-----BEGIN K-----\r\nAQID\r\nBA==\r\n-----END K-----\r\ntrailer", "K", der));
    EXPECT_EQ(der, "\x01\x02\x03\x04");
    // The block of the label asked for, not the first one.
    EXPECT_TRUE(ReadPem("-----BEGIN A-----\nAQ==\n-----END A-----\n-----BEGIN B-----\nAg==\n-----END B-----\n", "B",
                        der));
    EXPECT_EQ(der, "\x02");
}

TEST(ReadPem, RefusesBrokenBlocks) {
    const char* const broken[] = {
        "",
        "garbage",
        "-----BEGIN K-----\nAQID\n",                                   // no END line
        "-----BEGIN K-----\nAQID\n-----END L-----\n",                  // END of another label
        "-----BEGIN K-----\n-----END K-----\n",                        // nothing inside
        "-----BEGIN K-----\nAQI\n-----END K-----\n",                   // base64 cut short
        "-----BEGIN K-----\nAQ==AQID\n-----END K-----\n",              // padding in the middle
        "-----BEGIN K-----\nA===\n-----END K-----\n",                  // too much padding
        "-----BEGIN K-----\nAQ=\n-----END K-----\n",                   // a padded group cut short
        "-----BEGIN K-----\nAQ*D\n-----END K-----\n",                  // not base64
        "-----BEGIN K-----\nProc-Type: 4,ENCRYPTED\nAQID\n-----END K-----\n",  // an encrypted key's header
        "x-----BEGIN K-----\nAQID\n-----END K-----\n",                 // BEGIN not at the start of a line
    };
    for (const char* text : broken) {
        std::string der = "untouched";
        EXPECT_FALSE(ReadPem(text, "K", der)) << text;
        EXPECT_EQ(der, "untouched");
    }
}

}  // namespace
}  // namespace qh
