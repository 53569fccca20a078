#include <gtest/gtest.h>

#include <random>
#include <string>

#include "storage/PublishCodec.h"

namespace {

using publish::DecodeError;

TEST(PublishCodecTest, AnnsNoviceResultTakesSixtyDigitsAndDecodesBack) {
    const std::string text = publish::RecordText(1500, "1", "Ann");
    ASSERT_EQ(text, std::string("1500\t1\tAnn\tqmw\texe"));
    const std::string digits = publish::Encode(text);
    EXPECT_EQ(digits.size(), 60u);
    const publish::Decoded decoded = publish::Decode(digits);
    ASSERT_TRUE(decoded.ok()) << publish::Describe(decoded.error);
    EXPECT_EQ(decoded.result.score, 1500);
    EXPECT_EQ(decoded.result.skill, 0);
    EXPECT_EQ(decoded.result.name, "Ann");
}

TEST(PublishCodecTest, RandomResultsSurviveTheRoundTrip) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        const auto score = static_cast<int32_t>(random() % (publish::kMaxScore + 1u));
        const int skill = static_cast<int>(random() % 3);
        std::string name(1 + random() % publish::kMaxNameBytes, ' ');
        for (char& c : name) c = static_cast<char>(0x20 + random() % 0xE0);
        for (char& c : name)
            if (c == 0x7F) c = 'x';
        const publish::Decoded decoded =
            publish::Decode(publish::Encode(publish::RecordText(score, std::to_string(skill + 1), name)));
        ASSERT_TRUE(decoded.ok()) << round << ": " << publish::Describe(decoded.error);
        EXPECT_EQ(decoded.result.score, score);
        EXPECT_EQ(decoded.result.skill, skill);
        EXPECT_EQ(decoded.result.name, name);
    }
}

// A well-formed encoding of `text`, with its checksums, so only the record's fields are wrong.
std::string Sealed(const std::string& text) {
    return publish::Encode(text);
}

std::string ChecksumBroken() {
    std::string digits = Sealed("1500\t1\tAnn\tqmw\texe");
    digits[2] = digits[2] == '0' ? '1' : '0';
    return digits;
}

struct Malformed {
    const char* what;
    std::string digits;
    DecodeError error;
};

TEST(PublishCodecTest, EveryMalformedQueryIsRefused) {
    const std::string good = Sealed("1500\t1\tAnn\tqmw\texe");
    const Malformed cases[] = {
        {"nothing", "", DecodeError::kEmpty},
        {"one group only", "123", DecodeError::kNotTriples},
        {"a digit short", good.substr(0, good.size() - 1), DecodeError::kNotTriples},
        {"a letter", "12a" + good.substr(3), DecodeError::kNotTriples},
        {"a sign", "-12" + good.substr(3), DecodeError::kNotTriples},
        {"a group above 255", "256" + good.substr(3), DecodeError::kNotAByte},
        {"far too long", std::string(100000, '0'), DecodeError::kTooLong},
        {"one group too long", std::string(publish::kMaxDigits + 3, '0'), DecodeError::kTooLong},
        {"wrong checksum", ChecksumBroken(), DecodeError::kChecksum},
        {"no fields", Sealed("hello"), DecodeError::kRecord},
        {"four fields", Sealed("1500\t1\tAnn\tqmw"), DecodeError::kRecord},
        {"six fields", Sealed("1500\t1\tAnn\tBob\tqmw\texe"), DecodeError::kRecord},
        {"wrong product", Sealed("1500\t1\tAnn\tqmx\texe"), DecodeError::kRecord},
        {"wrong last word", Sealed("1500\t1\tAnn\tqmw\texe\n"), DecodeError::kRecord},
        {"negative score", Sealed("-5\t1\tAnn\tqmw\texe"), DecodeError::kScore},
        {"score too high", Sealed("100000000\t1\tAnn\tqmw\texe"), DecodeError::kScore},
        {"score with a leading zero", Sealed("01500\t1\tAnn\tqmw\texe"), DecodeError::kScore},
        {"score with a letter", Sealed("15x0\t1\tAnn\tqmw\texe"), DecodeError::kScore},
        {"empty score", Sealed("\t1\tAnn\tqmw\texe"), DecodeError::kScore},
        {"skill 0", Sealed("1500\t0\tAnn\tqmw\texe"), DecodeError::kSkill},
        {"skill 4", Sealed("1500\t4\tAnn\tqmw\texe"), DecodeError::kSkill},
        {"skill 11", Sealed("1500\t11\tAnn\tqmw\texe"), DecodeError::kSkill},
        {"empty name", Sealed("1500\t1\t\tqmw\texe"), DecodeError::kName},
        {"name with a line end", Sealed("1500\t1\tA\nn\tqmw\texe"), DecodeError::kName},
        {"name too long", Sealed("1500\t1\t" + std::string(publish::kMaxNameBytes + 1, 'a') + "\tqmw\texe"),
         DecodeError::kName},
    };
    for (const Malformed& c : cases) {
        const publish::Decoded decoded = publish::Decode(c.digits);
        EXPECT_EQ(decoded.error, c.error) << c.what;
        EXPECT_TRUE(decoded.result.name.empty()) << c.what;
    }
}

TEST(PublishCodecTest, TheLongestNameAndHighestScoreStillFit) {
    const std::string text =
        publish::RecordText(publish::kMaxScore, "3", std::string(publish::kMaxNameBytes, 'z'));
    const std::string digits = publish::Encode(text);
    EXPECT_EQ(digits.size(), publish::kMaxDigits);
    EXPECT_TRUE(publish::Decode(digits).ok());
}

}  // namespace
