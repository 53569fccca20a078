#include <gtest/gtest.h>

#include <random>

#include "PlainDes.h"
#include "storage/DesEngine.h"

namespace {

DesEngine::Block FromHex(uint64_t v) {
    DesEngine::Block b;
    for (int i = 7; i >= 0; --i, v >>= 8) b[size_t(i)] = uint8_t(v);
    return b;
}

DesEngine::Block Encrypt(int mode, uint64_t key, uint64_t plain) {
    DesEngine engine;
    EXPECT_EQ(engine.DesInit(mode), 0);
    engine.DesSetKey(FromHex(key));
    DesEngine::Block block = FromHex(plain);
    EXPECT_TRUE(engine.DesEncryptBlock(block));
    return block;
}

struct Vector {
    uint64_t key, plain, cipher;
};

// Published DES known answers.
const Vector kPublishedVectors[] = {
    {0x133457799BBCDFF1, 0x0123456789ABCDEF, 0x85E813540F0AB405},
    {0x0123456789ABCDEF, 0x4E6F772069732074, 0x3FA40E8A984D4815},
    {0x0E329232EA6D0D73, 0x8787878787878787, 0x0000000000000000},
    {0x0000000000000000, 0x0000000000000000, 0x8CA64DE9C1B123A7},
    {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x7359B2163E4EDC58},
};

TEST(DesEngineTest, StandardHalvesReproducePublishedVectorsBothWays) {
    for (const Vector& v : kPublishedVectors) {
        EXPECT_EQ(Encrypt(kDesModeStandard, v.key, v.plain), FromHex(v.cipher)) << std::hex << v.key;
        EXPECT_EQ(plain::DesEncrypt(FromHex(v.plain), FromHex(v.key), false), FromHex(v.cipher));
        DesEngine engine;
        engine.DesInit(kDesModeStandard);
        engine.DesSetKey(FromHex(v.key));
        DesEngine::Block block = FromHex(v.cipher);
        engine.DesDecryptBlock(block);
        EXPECT_EQ(block, FromHex(v.plain));
    }
}

// Sixteen alternating encryptions and decryptions, each keyed by its own input, touch every S-box
// entry class; the published end value catches a single wrong table entry.
TEST(DesEngineTest, StandardHalvesPassTheIteratedKnownAnswer) {
    DesEngine::Block x = FromHex(0x9474B8E8C73BCA7D);
    for (int i = 0; i < 16; ++i) {
        DesEngine engine;
        engine.DesInit(kDesModeStandard);
        engine.DesSetKey(x);
        if (i % 2 == 0)
            engine.DesEncryptBlock(x);
        else
            engine.DesDecryptBlock(x);
    }
    EXPECT_EQ(x, FromHex(0x1B1A2DDB4C642438));
}

TEST(DesEngineTest, BothModesAgreeWithThePlainImplementationOnRandomBlocks) {
    std::mt19937_64 random(12345);
    for (int i = 0; i < 300; ++i) {
        const DesEngine::Block key = FromHex(random()), block = FromHex(random());
        for (int mode : {kDesModeDataFile, kDesModeStandard}) {
            const bool little = mode == kDesModeDataFile;
            DesEngine engine;
            ASSERT_EQ(engine.DesInit(mode), 0);
            engine.DesSetKey(key);
            DesEngine::Block ours = block;
            engine.DesEncryptBlock(ours);
            ASSERT_EQ(ours, plain::DesEncrypt(block, key, little)) << "mode " << mode << " block " << i;
            engine.DesDecryptBlock(ours);
            ASSERT_EQ(ours, block);
            ASSERT_EQ(plain::DesDecrypt(plain::DesEncrypt(block, key, little), key, little), block);
        }
    }
}

TEST(DesEngineTest, DataFileVariantDiffersFromPublishedDes) {
    for (const Vector& v : kPublishedVectors)
        EXPECT_NE(Encrypt(kDesModeDataFile, v.key, v.plain), FromHex(v.cipher));
}

TEST(DesEngineTest, LowBitOfEachKeyByteIsIgnored) {
    EXPECT_EQ(Encrypt(kDesModeDataFile, 0x706D767274716500, 0x1122334455667788),
              Encrypt(kDesModeDataFile, 0x716C777375706401, 0x1122334455667788));
    EXPECT_NE(Encrypt(kDesModeDataFile, 0x706D767274716500, 0x1122334455667788),
              Encrypt(kDesModeDataFile, 0x726D767274716500, 0x1122334455667788));
}

TEST(DesEngineTest, RefusesToRunWithoutModeOrKey) {
    DesEngine engine;
    DesEngine::Block block = FromHex(0x0123456789ABCDEF);
    EXPECT_FALSE(engine.DesEncryptBlock(block));
    EXPECT_EQ(engine.DesInit(7), -1);
    EXPECT_EQ(engine.DesInit(kDesModeDataFile), 0);
    EXPECT_FALSE(engine.DesEncryptBlock(block)) << "no key yet";
    engine.DesSetKey(FromHex(1));
    EXPECT_TRUE(engine.DesEncryptBlock(block));
    engine.DesDone();
    DesEngine::Block untouched = FromHex(0x0123456789ABCDEF);
    EXPECT_FALSE(engine.DesDecryptBlock(untouched));
    EXPECT_EQ(untouched, FromHex(0x0123456789ABCDEF));
}

}  // namespace
