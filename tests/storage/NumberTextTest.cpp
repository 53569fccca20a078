#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "storage/NumberText.h"

namespace {

TEST(NumberTextTest, IntegersReadLikeAtoi) {
    EXPECT_EQ(DecimalToInt("12abc"), 12);
    EXPECT_EQ(DecimalToInt("abc"), 0);
    EXPECT_EQ(DecimalToInt(""), 0);
    EXPECT_EQ(DecimalToInt(" \t-5"), -5);
    EXPECT_EQ(DecimalToInt("+7"), 7);
    EXPECT_EQ(DecimalToInt("- 7"), 0);
    EXPECT_EQ(DecimalToInt("3.9"), 3);
    EXPECT_EQ(DecimalToInt("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(NumberTextTest, IntegersBeyondThirtyTwoBitsSaturate) {
    EXPECT_EQ(DecimalToInt("2147483648"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(DecimalToInt("99999999999999999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(DecimalToInt("-99999999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST(NumberTextTest, FloatsReadLikeAtof) {
    EXPECT_FLOAT_EQ(DecimalToFloat("-0.4"), -0.4f);
    EXPECT_FLOAT_EQ(DecimalToFloat("  -70"), -70.0f);
    EXPECT_FLOAT_EQ(DecimalToFloat("3e2"), 300.0f);
    EXPECT_FLOAT_EQ(DecimalToFloat(".5x"), 0.5f);
    EXPECT_FLOAT_EQ(DecimalToFloat("5."), 5.0f);
    EXPECT_FLOAT_EQ(DecimalToFloat("1e"), 1.0f) << "an exponent without digits is not part of the number";
    EXPECT_FLOAT_EQ(DecimalToFloat("2.5E-1"), 0.25f);
}

TEST(NumberTextTest, NonNumbersReadAsZeroAndHugeAsInfinity) {
    for (const char* text : {"", "-", ".", "abc", "0x10", "inf", "nan", "e5"})
        EXPECT_EQ(DecimalToFloat(text), 0.0f) << text;
    EXPECT_TRUE(std::isinf(DecimalToFloat("1e999")));
    EXPECT_LT(DecimalToFloat("-1e40"), 0.0f);
    EXPECT_EQ(DecimalToFloat("1e-999"), 0.0f);
}

TEST(NumberTextTest, TruncationIsTowardZeroAndSaturates) {
    EXPECT_EQ(TruncToInt(3.9), 3);
    EXPECT_EQ(TruncToInt(-3.9), -3);
    EXPECT_EQ(TruncToInt(1e20), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TruncToInt(-1e20), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}

}  // namespace
