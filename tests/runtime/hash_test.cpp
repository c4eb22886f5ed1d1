#include "runtime/hash.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "runtime/hex.h"

namespace qh {
namespace {

template <HashAlgorithm A>
Text DigestOf(std::string_view bytes) {
    Hash<A> hash;
    EXPECT_TRUE(hash.Ready());
    hash.Add(bytes.data(), bytes.size());
    typename Hash<A>::Digest digest;
    EXPECT_TRUE(hash.Finish(digest));
    return HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

TEST(Sha256, GivesTheWellKnownDigests) {
    EXPECT_EQ(DigestOf<HashAlgorithm::kSha256>(""),
              "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(DigestOf<HashAlgorithm::kSha256>("abc"),
              "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    // The two-block message of FIPS 180-2.
    EXPECT_EQ(DigestOf<HashAlgorithm::kSha256>("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
}

TEST(Sha256, TakesItsInputInPieces) {
    Sha256 sha;
    const std::string piece(1000, 'a');
    for (int i = 0; i < 1000; ++i) sha.Add(piece.data(), piece.size());
    sha.Add(nullptr, 0);
    Sha256::Digest digest;
    ASSERT_TRUE(sha.Finish(digest));
    EXPECT_EQ(HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())),
              "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
}

TEST(Hash, IsFinishedOnce) {
    Sha256 sha;
    Sha256::Digest digest;
    ASSERT_TRUE(sha.Finish(digest));
    EXPECT_FALSE(sha.Finish(digest));
    EXPECT_FALSE(sha.Ready());
}

TEST(Md5, StillGivesTheMd5) {
    EXPECT_EQ(DigestOf<HashAlgorithm::kMd5>("abc"), "900150983CD24FB0D6963F7D28E17F72");
}

}  // namespace
}  // namespace qh
