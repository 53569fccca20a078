#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PlainDes.h"
#include "TestFiles.h"
#include "storage/BlockChaining.h"
#include "storage/Crc32.h"
#include "storage/DataFileCodec.h"
#include "storage/TScoresTable.h"

namespace {

using ::testing::HasSubstr;

const plain::Bytes8 kKey = {'p', 'm', 'v', 'r', 't', 'q', 'e', 0};

uint32_t CrcOf(std::string_view s) {
    return Crc32(reinterpret_cast<const uint8_t*>(s.data()), s.size(), kDataFileCrcPolynomial);
}

std::string RandomText(std::mt19937& random, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text.push_back(char(random() & 0xFF));
    return text;
}

// A data file whose plain blocks are given as they are, count byte included, so that a damaged
// last block can be built on purpose.
std::string FileFromPlainBlocks(const std::vector<plain::Bytes8>& blocks, uint32_t crc) {
    std::string file;
    plain::Bytes8 chain{};
    for (plain::Bytes8 block : blocks) {
        for (int i = 0; i < 8; ++i) block[i] ^= chain[i];
        chain = plain::DesEncrypt(block, kKey, true);
        file.append(reinterpret_cast<const char*>(chain.data()), 8);
    }
    for (int i = 0; i < 4; ++i) file.push_back(char(crc >> (8 * i)));
    return file;
}

TEST(Crc32Test, CheckValuesOfTheDataFileCrc) {
    EXPECT_EQ(CrcOf("123456789"), 0xFC891918u);
    EXPECT_EQ(CrcOf(""), 0u);
    std::mt19937 random(7);
    for (size_t length : {1, 7, 8, 100, 1000}) {
        std::string text = RandomText(random, length);
        EXPECT_EQ(CrcOf(text), plain::Crc(text)) << length;
    }
}

TEST(Crc32Test, AnotherPolynomialDoesNotDisturbTheDataFileTable) {
    const uint8_t* digits = reinterpret_cast<const uint8_t*>("123456789");
    EXPECT_NE(Crc32(digits, 9, 0x1EDC6F41), 0xFC891918u);
    EXPECT_EQ(Crc32(digits, 9, kDataFileCrcPolynomial), 0xFC891918u);
}

TEST(BlockChainingTest, ShortDestinationGetsTheLengthAndNothingWritten) {
    const uint8_t text[13] = {};
    std::vector<uint8_t> dst(15, 0xEE);
    EXPECT_EQ(EncryptBlocks(kDesModeDataFile, text, dst, kDataFileKey), 16u);
    EXPECT_EQ(dst, std::vector<uint8_t>(15, 0xEE));
    EXPECT_EQ(EncryptBlocks(kDesModeDataFile, {text, 0}, std::span<uint8_t>(), kDataFileKey), 8u);
}

TEST(BlockChainingTest, DecryptNeedsAWholeBlockAndRoomForIt) {
    std::vector<uint8_t> cipher(16, 0x11), dst(8, 0xEE);
    EXPECT_EQ(DecryptBlocks(kDesModeDataFile, {cipher.data(), 7}, dst, kDataFileKey), 0);
    EXPECT_EQ(DecryptBlocks(kDesModeDataFile, cipher, dst, kDataFileKey), 16) << "whole length, nothing done";
    EXPECT_EQ(dst, std::vector<uint8_t>(8, 0xEE));
    EXPECT_EQ(DecryptBlocks(99, cipher, std::span<uint8_t>(cipher), kDataFileKey), 0) << "unknown mode";
}

TEST(DataFileCodecTest, FileSizesFollowThePaddingRule) {
    EXPECT_EQ(EncodeDataFile("").size(), 12u);
    EXPECT_EQ(EncodeDataFile("12345678").size(), 20u);
    EXPECT_EQ(EncodeDataFile("1234567890123").size(), 20u);
    EXPECT_EQ(EncodeDataFile(std::string(16, 'x')).size(), 28u);
    const std::string empty = EncodeDataFile("");
    EXPECT_EQ(empty.substr(8), std::string(4, '\0')) << "the CRC of an empty text is 0";
}

TEST(DataFileCodecTest, EveryLengthRoundTripsAndReadsInThePlainImplementation) {
    std::mt19937 random(99);
    for (size_t length = 0; length <= 41; ++length) {
        const std::string text = RandomText(random, length);
        const std::string file = EncodeDataFile(text);
        DecodedDataFile ours = DecodeDataFile(file);
        EXPECT_TRUE(ours.CrcMatched()) << length;
        EXPECT_EQ(ours.text, text);
        std::string theirs;
        EXPECT_TRUE(plain::DecodeFile(file, kKey, theirs)) << length;
        EXPECT_EQ(theirs, text);
    }
}

TEST(DataFileCodecTest, FilesOfThePlainImplementationLoadWhateverTheirFiller) {
    std::mt19937 random(5);
    for (uint8_t filler : {0x00, 0xAA, 0xFF}) {
        for (size_t length : {0, 1, 7, 8, 9, 13, 16, 300}) {
            const std::string text = RandomText(random, length);
            DecodedDataFile ours = DecodeDataFile(plain::EncodeFile(text, kKey, filler));
            EXPECT_TRUE(ours.CrcMatched()) << length;
            EXPECT_EQ(ours.text, text);
        }
    }
}

TEST(DataFileCodecTest, TwoEncodingsOfAWholeBlockTextDifferAndBothDecode) {
    const std::string a = EncodeDataFile("8 bytes!"), b = EncodeDataFile("8 bytes!");
    EXPECT_NE(a, b) << "the extra block's filler is random";
    EXPECT_EQ(a.substr(16), b.substr(16)) << "same CRC";
    EXPECT_EQ(DecodeDataFile(a).text, "8 bytes!");
    EXPECT_EQ(DecodeDataFile(b).text, "8 bytes!");
}

TEST(DataFileCodecTest, DamagedLastBlockHandsBackTheRawBytes) {
    const plain::Bytes8 text = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    // Count bytes a correct writer never writes: 8 (one past the block), 127 (far past the file),
    // 0x80 and 0xF0 (a negative length once the text block is subtracted).
    for (uint8_t count : {uint8_t(8), uint8_t(127), uint8_t(0x80), uint8_t(0xF0)}) {
        plain::Bytes8 last{};
        last[7] = count;
        const std::string file = FileFromPlainBlocks({text, last}, 0);
        DecodedDataFile decoded = DecodeDataFile(file);
        EXPECT_TRUE(decoded.lengthDamaged) << int(count);
        EXPECT_FALSE(decoded.CrcMatched());
        EXPECT_EQ(decoded.text, file);
    }
    plain::Bytes8 last{};
    last[7] = 0xF9;  // -7: the text block holds 1 byte
    EXPECT_EQ(DecodeDataFile(FileFromPlainBlocks({text, last}, CrcOf("a"))).text, "a");
}

TEST(DataFileCodecTest, ShortFilesGiveAnEmptyText) {
    for (size_t size : {0, 1, 3}) {
        DecodedDataFile decoded = DecodeDataFile(std::string(size, 'x'));
        EXPECT_FALSE(decoded.hasCrc);
        EXPECT_EQ(decoded.text, "");
    }
    EXPECT_TRUE(DecodeDataFile(std::string(4, '\0')).CrcMatched()) << "empty text, CRC 0";
    EXPECT_TRUE(DecodeDataFile(std::string(11, '\0')).CrcMatched());
    DecodedDataFile garbage = DecodeDataFile("abcdefghijk");
    EXPECT_EQ(garbage.text, "");
    EXPECT_FALSE(garbage.CrcMatched());
}

TEST(DataFileCodecTest, BytesAfterTheLastWholeBlockAreIgnored) {
    std::string file = EncodeDataFile("hello");
    file.insert(8, "xyz");  // 15 bytes before the CRC: one whole block
    DecodedDataFile decoded = DecodeDataFile(file);
    EXPECT_EQ(decoded.text, "hello");
    EXPECT_TRUE(decoded.CrcMatched());
}

class DataFileOnDiskTest : public TempFolderTest {};

TEST_F(DataFileOnDiskTest, SavedFilesHaveTheSpecifiedSizes) {
    TScoresTable table;
    const std::pair<const char*, size_t> cases[] = {{"", 12}, {"12345678", 20}, {"1234567890123", 20}};
    for (auto [text, size] : cases) {
        ASSERT_TRUE(table.SaveText(Path("f.dat"), text));
        EXPECT_EQ(ReadAll(Path("f.dat")).size(), size) << text;
        std::string loaded = "junk";
        EXPECT_NE(table.LoadText(Path("f.dat"), loaded), 0);
        EXPECT_EQ(loaded, text);
    }
}

TEST_F(DataFileOnDiskTest, TwoSavesOfOneWholeBlockTextDifferAndBothLoad) {
    TScoresTable table;
    table.SaveText(Path("a.dat"), "ABCDEFGH");
    table.SaveText(Path("b.dat"), "ABCDEFGH");
    EXPECT_NE(ReadAll(Path("a.dat")), ReadAll(Path("b.dat")));
    for (const char* name : {"a.dat", "b.dat"}) {
        std::string text;
        EXPECT_NE(table.LoadText(Path(name), text), 0);
        EXPECT_EQ(text, "ABCDEFGH");
    }
}

TEST_F(DataFileOnDiskTest, FlippedCrcBitReportsOnStandardOutputAndKeepsTheText) {
    TScoresTable table;
    table.SaveText(Path("t.dat"), "123456789");
    std::string bytes = ReadAll(Path("t.dat"));
    bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 0x80);  // top bit of the stored CRC
    WriteAll(Path("t.dat"), bytes);

    std::string text;
    ::testing::internal::CaptureStdout();
    int matched = table.LoadText(Path("t.dat"), text);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(matched, 0);
    EXPECT_EQ(text, "123456789");
    // 0xFC891918 with its top bit flipped is 0x7C891918; both are printed as signed numbers.
    EXPECT_EQ(out, "CRC error! " + std::to_string(int32_t(0x7C891918)) +
                       " != " + std::to_string(int32_t(0xFC891918)) + "\n");
}

TEST_F(DataFileOnDiskTest, DamagedLengthLoadsRawBytesSilently) {
    plain::Bytes8 last{};
    last[7] = 0x7F;
    const std::string file = FileFromPlainBlocks({plain::Bytes8{}, last}, 0);
    WriteAll(Path("d.dat"), file);
    std::string text;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(TScoresTable().LoadText(Path("d.dat"), text), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(text, file);
}

TEST_F(DataFileOnDiskTest, MissingAndOversizedFilesGiveAnEmptyText) {
    TScoresTable table;
    std::string text = "junk";
    EXPECT_EQ(table.LoadText(Path("none.dat"), text), 0);
    EXPECT_EQ(text, "");

    WriteAll(Path("big.dat"), std::string(kMaxDataFileSize + 1, '\0'));
    text = "junk";
    EXPECT_EQ(table.LoadText(Path("big.dat"), text), 0);
    EXPECT_EQ(text, "");

    // At the limit the file is still read (and here decodes to an empty text with a zero CRC).
    WriteAll(Path("edge.dat"), std::string(kMaxDataFileSize, '\0'));
    ::testing::internal::CaptureStdout();
    table.LoadText(Path("edge.dat"), text);
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(text.empty());
}

}  // namespace
