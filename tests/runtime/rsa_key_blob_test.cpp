#include "runtime/rsa_key_blob.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/pem.h"
#include "tests/runtime/test_data.h"

namespace qh {
namespace {

using namespace std::string_literals;

RsaPrivateKey TestKey() {
    std::string der;
    RsaPrivateKey key;
    EXPECT_TRUE(ReadPem(test::ReadTestData("test-only-signing-key.pem"), "RSA PRIVATE KEY", der));
    EXPECT_TRUE(ReadRsaPrivateKeyDer(der, key));
    return key;
}

TEST(RsaKeyBlob, LaysOutAPrivateKeyAsCryptoApiDoes) {
    const RsaPrivateKey key = TestKey();
    std::string blob;
    ASSERT_TRUE(MakePrivateKeyBlob(key, blob));
    // PRIVATEKEYBLOB, version 2, CALG_RSA_SIGN; "RSA2", 3072 bits, 65537.
    EXPECT_EQ(blob.substr(0, 20), "\x07\x02\x00\x00\x00\x24\x00\x00RSA2\x00\x0C\x00\x00\x01\x00\x01\x00"s);
    // The modulus, two halves' worth of fields, the primes' five of half
    // that, and the private exponent.
    ASSERT_EQ(blob.size(), 20u + 384 + 5 * 192 + 384);
    // Little-endian: the modulus's lowest byte comes first.
    EXPECT_EQ(blob[20], key.modulus.back());
    EXPECT_EQ(blob[20 + 383], key.modulus.front());
    EXPECT_EQ(blob[20 + 384], key.prime1.back());
    EXPECT_EQ(blob[blob.size() - 384], key.privateExponent.back());

    RsaPrivateKey read;
    ASSERT_TRUE(ReadPrivateKeyBlob(blob, read));
    EXPECT_EQ(WriteRsaPrivateKeyDer(read), WriteRsaPrivateKeyDer(key));
}

TEST(RsaKeyBlob, LaysOutAPublicKeyAsCryptoApiDoes) {
    const RsaPrivateKey key = TestKey();
    std::string blob;
    ASSERT_TRUE(MakePublicKeyBlob({key.modulus, key.publicExponent}, blob));
    EXPECT_EQ(blob.substr(0, 20), "\x06\x02\x00\x00\x00\x24\x00\x00RSA1\x00\x0C\x00\x00\x01\x00\x01\x00"s);
    ASSERT_EQ(blob.size(), 20u + 384);
    EXPECT_EQ(blob.substr(20), std::string(key.modulus.rbegin(), key.modulus.rend()));
}

TEST(RsaKeyBlob, RefusesKeysItCannotHold) {
    RsaPrivateKey key = TestKey();
    std::string blob = "untouched";
    // CryptoAPI's public exponent is 32 bits wide.
    EXPECT_FALSE(MakePublicKeyBlob({key.modulus, "\x01\x00\x00\x00\x01"s}, blob));
    // A prime longer than half the modulus has no field to go in.
    RsaPrivateKey unequal = key;
    unequal.prime1.insert(0, 1, '\x01');
    EXPECT_FALSE(MakePrivateKeyBlob(unequal, blob));
    // A modulus whose bits are not a multiple of 16.
    RsaPrivateKey odd = key;
    odd.modulus.pop_back();
    odd.modulus[0] = '\x01';
    EXPECT_FALSE(MakePrivateKeyBlob(odd, blob));
    EXPECT_EQ(blob, "untouched");
}

TEST(RsaKeyBlob, ReadsOnlyAWholePrivateKeyBlob) {
    std::string blob;
    ASSERT_TRUE(MakePrivateKeyBlob(TestKey(), blob));
    RsaPrivateKey read;
    for (std::size_t size = 0; size < blob.size(); ++size) {
        ASSERT_FALSE(ReadPrivateKeyBlob(blob.substr(0, size), read)) << size;
    }
    EXPECT_FALSE(ReadPrivateKeyBlob(blob + '\0', read));
    std::string publicType = blob;
    publicType[0] = '\x06';
    EXPECT_FALSE(ReadPrivateKeyBlob(publicType, read));
    std::string publicMagic = blob;
    publicMagic[11] = '1';
    EXPECT_FALSE(ReadPrivateKeyBlob(publicMagic, read));
}

}  // namespace
}  // namespace qh
