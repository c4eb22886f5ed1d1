#include "runtime/rsa_key_der.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/pem.h"
#include "tests/runtime/test_data.h"

namespace qh {
namespace {

using namespace std::string_literals;

std::string Der(const std::string& pemFile, const char* label) {
    std::string der;
    EXPECT_TRUE(ReadPem(test::ReadTestData(pemFile), label, der));
    return der;
}

// A key of one-byte numbers, whose DER is short enough to damage by hand:
// 30 1B, then the version 02 01 00 and eight INTEGERs of one byte.
RsaPrivateKey TinyKey() { return {"\x0B", "\x03", "\x07", "\x05", "\x02", "\x01", "\x01", "\x01"}; }

TEST(RsaKeyDer, ReadsOpenSslsTestKeyAndWritesItBackByteForByte) {
    const std::string privateText = test::ReadTestData("test-only-signing-key.pem");
    const std::string publicText = test::ReadTestData("test-only-signing-key.pub.pem");
    RsaPrivateKey key;
    RsaPublicKey publicKey;
    ASSERT_TRUE(ReadRsaPrivateKeyDer(Der("test-only-signing-key.pem", "RSA PRIVATE KEY"), key));
    ASSERT_TRUE(ReadRsaPublicKeyDer(Der("test-only-signing-key.pub.pem", "PUBLIC KEY"), publicKey));
    EXPECT_EQ(BitLength(key.modulus), 3072u);
    EXPECT_EQ(BitLength(key.prime1), 1536u);
    EXPECT_EQ(key.publicExponent, "\x01\x00\x01"s);
    EXPECT_EQ(publicKey.modulus, key.modulus);
    EXPECT_EQ(publicKey.exponent, key.publicExponent);

    EXPECT_EQ(WritePem("RSA PRIVATE KEY", WriteRsaPrivateKeyDer(key)), privateText);
    EXPECT_EQ(WritePem("PUBLIC KEY", WriteRsaPublicKeyDer(publicKey)), publicText);
}

TEST(RsaKeyDer, RefusesEveryTruncationAndTrailingBytes) {
    // Every prefix of a valid key is cut inside some element, so each one
    // must be refused without reading past its end (ASan watches this).
    for (const auto& [file, label] : {std::pair{"test-only-signing-key.pem", "RSA PRIVATE KEY"},
                                      std::pair{"test-only-signing-key.pub.pem", "PUBLIC KEY"}}) {
        const std::string der = Der(file, label);
        const bool isPrivate = std::string(label) == "RSA PRIVATE KEY";
        for (std::size_t size = 0; size < der.size(); ++size) {
            // A copy of exactly the prefix, so that reading past it is caught.
            const std::string prefix = der.substr(0, size);
            RsaPrivateKey key;
            RsaPublicKey publicKey;
            const bool read = isPrivate ? ReadRsaPrivateKeyDer(prefix, key) : ReadRsaPublicKeyDer(prefix, publicKey);
            ASSERT_FALSE(read) << file << " cut to " << size;
        }
        RsaPrivateKey key;
        RsaPublicKey publicKey;
        EXPECT_FALSE(isPrivate ? ReadRsaPrivateKeyDer(der + '\0', key) : ReadRsaPublicKeyDer(der + '\0', publicKey));
    }
}

TEST(RsaKeyDer, RefusesWhatIsNotStrictDer) {
    const std::string tiny = WriteRsaPrivateKeyDer(TinyKey());
    ASSERT_EQ(tiny, "\x30\x1B\x02\x01\x00\x02\x01\x0B\x02\x01\x03\x02\x01\x07\x02\x01\x05"
                    "\x02\x01\x02\x02\x01\x01\x02\x01\x01\x02\x01\x01"s);
    RsaPrivateKey key;
    ASSERT_TRUE(ReadRsaPrivateKeyDer(tiny, key));
    EXPECT_EQ(key.modulus, "\x0B");

    const auto damaged = [&](std::size_t at, const std::string& bytes, std::size_t replaced) {
        std::string der = tiny;
        der.replace(at, replaced, bytes);
        return der;
    };
    const std::string cases[] = {
        damaged(1, "\x1C"s, 1),               // the outer length runs past the end
        damaged(6, "\x7F"s, 1),               // the modulus's length runs past the end
        damaged(1, "\x80"s, 1),               // an indefinite length
        damaged(1, "\x81\x1B"s, 1),           // a long-form length where the short form fits
        damaged(1, "\x84\x00\x00\x00\x1B"s, 1),  // four length bytes
        damaged(7, "\x8B"s, 1),               // a negative modulus
        damaged(4, "\x01"s, 1),               // version 1, several primes
        damaged(7, "\x00"s, 1),               // a zero modulus
        damaged(0, "\x31"s, 1),               // a SET, not a SEQUENCE
    };
    for (const std::string& der : cases) {
        EXPECT_FALSE(ReadRsaPrivateKeyDer(der, key)) << ::testing::PrintToString(der);
    }
    // A zero byte that is not needed, with the outer length corrected.
    std::string padded = damaged(5, "\x02\x02\x00\x0B"s, 3);
    padded[1] = '\x1C';
    EXPECT_FALSE(ReadRsaPrivateKeyDer(padded, key));
    // A zero byte before a high bit is needed and read away.
    std::string high = damaged(5, "\x02\x02\x00\x8B"s, 3);
    high[1] = '\x1C';
    ASSERT_TRUE(ReadRsaPrivateKeyDer(high, key));
    EXPECT_EQ(key.modulus, "\x8B");
}

TEST(RsaKeyDer, RefusesAPublicKeyOfAnotherShape) {
    const std::string der = WriteRsaPublicKeyDer({"\x0B", "\x03"});
    // 30 1A | 30 0D 06 09 <rsaEncryption> 05 00 | 03 09 00 30 06 02 01 0B 02 01 03
    ASSERT_EQ(der.size(), 28u);
    RsaPublicKey key;
    ASSERT_TRUE(ReadRsaPublicKeyDer(der, key));
    const auto with = [&](std::size_t at, char byte) {
        std::string changed = der;
        changed[at] = byte;
        return changed;
    };
    EXPECT_FALSE(ReadRsaPublicKeyDer(with(14, '\x0A'), key));  // RSASSA-PSS, another algorithm
    EXPECT_FALSE(ReadRsaPublicKeyDer(with(15, '\x06'), key));  // parameters that are not NULL
    EXPECT_FALSE(ReadRsaPublicKeyDer(with(19, '\x01'), key));  // a BIT STRING with unused bits
    EXPECT_FALSE(ReadRsaPublicKeyDer(with(24, '\x00'), key));  // a zero modulus
}

}  // namespace
}  // namespace qh
