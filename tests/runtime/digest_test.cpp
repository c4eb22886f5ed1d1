#include "runtime/digest.h"

#include <gtest/gtest.h>

#include <string_view>

#include "runtime/hex.h"
#include "runtime/hash.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

TEST(FileDigest, GivesTheWellKnownDigests) {
    test::TempFolder folder;
    folder.Write("abc.txt", "abc");
    folder.Write("empty.txt", "");
    folder.Write("message.txt", "message digest");
    EXPECT_EQ(FileDigest(folder.File("abc.txt")), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(FileDigest(folder.File("empty.txt")), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(FileDigest(folder.File("message.txt")), "F96B697D7CB7938D525A2F31AAF161D0");
}

TEST(FileDigest, AMissingFileDigestsAsEmptyInput) {
    test::TempFolder folder;
    EXPECT_EQ(FileDigest(folder.File("missing.txt")), kEmptyDigest);
    EXPECT_EQ(FileDigest(Text()), kEmptyDigest);
    // A folder cannot be read as a file either.
    EXPECT_EQ(FileDigest(folder.Folder()), kEmptyDigest);
}

TEST(FileDigest, AMillionBytesAcrossReadBlocks) {
    test::TempFolder folder;
    folder.Write("a.txt", std::string(1000000, 'a'));
    EXPECT_EQ(FileDigest(folder.File("a.txt")), "7707D6AE4E027C70EEA2A935C2296F21");

    // A file of several read blocks digests like its bytes taken at once.
    std::string data(2 * 1024 * 1024 + 5, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i % 251);
    folder.Write("blocks.bin", data);
    Md5 md5;
    md5.Add(data.data(), data.size());
    Md5::Digest whole;
    ASSERT_TRUE(md5.Finish(whole));
    EXPECT_EQ(FileDigest(folder.File("blocks.bin")),
              HexEncode(std::string_view(reinterpret_cast<const char*>(whole.data()), whole.size())));
}

TEST(FileDigest, FindsAFileByItsChineseName) {
    test::TempFolder folder;
    folder.Write(u8"青禾.txt", "abc");
    EXPECT_EQ(FileDigest(folder.File("青禾.txt")), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(FileSha256, GivesTheWellKnownDigests) {
    test::TempFolder folder;
    folder.Write("empty.txt", "");
    folder.Write("abc.txt", "abc");
    folder.Write("a.txt", std::string(1000000, 'a'));
    folder.Write(u8"青禾.txt", "abc");
    EXPECT_EQ(FileSha256(folder.File("empty.txt")), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(FileSha256(folder.File("abc.txt")), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(FileSha256(folder.File("a.txt")), "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
    EXPECT_EQ(FileSha256(folder.File("青禾.txt")), FileSha256(folder.File("abc.txt")));
}

TEST(FileSha256, AFileThatCannotBeReadHasNoDigest) {
    // Unlike FileDigest, never the digest of empty input, which an empty
    // listed file would match.
    test::TempFolder folder;
    EXPECT_EQ(FileSha256(folder.File("missing.txt")), "");
    EXPECT_EQ(FileSha256(Text()), "");
    EXPECT_EQ(FileSha256(folder.Folder()), "");
}

TEST(DigestsDiffer, IgnoresLetterCaseOnly) {
    EXPECT_FALSE(DigestsDiffer("900150983cd24fb0d6963f7d28e17f72", "900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_FALSE(DigestsDiffer("d41d8cd98f00b204e9800998ecf8427e", kEmptyDigest));
    EXPECT_TRUE(DigestsDiffer("900150983CD24FB0D6963F7D28E17F72", kEmptyDigest));
    EXPECT_TRUE(DigestsDiffer("900150983CD24FB0D6963F7D28E17F7", "900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_TRUE(DigestsDiffer("", kEmptyDigest));
}

}  // namespace
}  // namespace qh
