#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wirelark;

namespace {

struct ReadCase {
    const char* text;
    double value;
};

TEST(ReadNumber, AcceptsWhatThePlatformConversionAccepts) {
    const ReadCase cases[] = {
        {"12", 12},  {"12.5", 12.5}, {" 3 ", 3},         {"-0.95", -0.95}, {"+7", 7},
        {".5", 0.5}, {"1e3", 1000},  {"0.0955", 0.0955}, {"\t42\r", 42},
    };
    for (const auto& c : cases) {
        auto r = readNumber(c.text);
        ASSERT_TRUE(r.ok()) << c.text;
        EXPECT_DOUBLE_EQ(*r, c.value) << c.text;
    }
}

TEST(ReadNumber, ReadsBackGroupedNumbersTheProgramWrote) {
    EXPECT_DOUBLE_EQ(*readNumber("1,234.50"), 1234.5);
    EXPECT_DOUBLE_EQ(*readNumber("1,234,567"), 1234567);
    EXPECT_DOUBLE_EQ(*readNumber("-12,345.678"), -12345.678);
}

TEST(ReadNumber, RefusesTextThatIsNoNumberAndKeepsIt) {
    for (const char* bad : {"", " ", "3m", "1,23", ",123", "1,2345", "12,", "abc", "1.2.3", "--1",
                            "inf", "nan", "0x10", "1 2", "１２"}) {
        auto r = readNumber(bad);
        ASSERT_FALSE(r.ok()) << bad;
        EXPECT_EQ(r.error().text, bad);
    }
    EXPECT_NE(readNumber("3m").error().message().find("3m"), std::string::npos);
}

TEST(ReadInteger, IsDigitsWithAnOptionalSignOnly) {
    EXPECT_EQ(*readInteger("12"), 12);
    EXPECT_EQ(*readInteger(" -7 "), -7);
    EXPECT_EQ(*readInteger("1,600"), 1600);
    for (const char* bad : {"12.0", "12.5", "", " ", "1e3", "x", "+"})
        EXPECT_FALSE(readInteger(bad).ok()) << bad;
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(82.5), 82);  // Ib 150 x 0.55
    EXPECT_EQ(roundHalfEven(52.5), 52);  // Ib 150 x 0.35
    EXPECT_EQ(roundHalfEven(11.5), 12);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

TEST(FormatShortest, IsTheGeneralFormWithFifteenDigits) {
    EXPECT_EQ(formatShortest(250), "250");
    EXPECT_EQ(formatShortest(2.5), "2.5");
    EXPECT_EQ(formatShortest(1.2 + 0.1 + 0.1 + 0.5), "1.9");
    EXPECT_EQ(formatShortest(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatShortest(-0.0), "0");
    EXPECT_EQ(formatShortest(1234567), "1234567");
}

TEST(FormatFixed, RoundsTheBinaryValueTiesToEvenAndGroups) {
    EXPECT_EQ(formatTwoDecimals(1234.5), "1,234.50");
    EXPECT_EQ(formatTwoDecimals(0.456), "0.46");
    EXPECT_EQ(formatTwoDecimals(0.125), "0.12");
    EXPECT_EQ(formatTwoDecimals(0.375), "0.38");
    EXPECT_EQ(formatTwoDecimals(1.25), "1.25");
    EXPECT_EQ(formatTwoDecimals(2.165063509), "2.17");
    EXPECT_EQ(formatTwoDecimals(-0.001), "0.00");
    EXPECT_EQ(formatTwoDecimals(-1234567.891), "-1,234,567.89");
    EXPECT_EQ(formatThreeDecimals(0.46), "0.460");
    EXPECT_EQ(formatThreeDecimals(0.0004), "0.000");
    EXPECT_EQ(formatFixed(1600, 0, true), "1,600");
}

TEST(FormatFixedWidth, PadsOnTheLeftLikeAPrintfFieldAndNeverCuts) {
    EXPECT_EQ(formatFixedWidth(20, 8, 2, false), "   20.00");
    EXPECT_EQ(formatFixedWidth(1600, 8, 0, true), "   1,600");
    EXPECT_EQ(formatFixedWidth(0.105, 8, 3, false), "   0.105");
    EXPECT_EQ(formatFixedWidth(75, 5, 0, true), "   75");
    EXPECT_EQ(formatFixedWidth(1234567.5, 8, 2, false), "1234567.50");  // wider than the field
    EXPECT_EQ(formatFixedWidth(-0.001, 5, 2, false), " 0.00");
    EXPECT_EQ(formatFixedWidth(3, 0, 1, false), "3.0");
}

TEST(FormatCellPattern, DrawsLengthsWithoutZerosItDoesNotNeed) {
    EXPECT_EQ(formatCellPattern(1234.5), "1,234.5");
    EXPECT_EQ(formatCellPattern(2.456), "2.46");
    EXPECT_EQ(formatCellPattern(3), "3");
    EXPECT_EQ(formatCellPattern(0), "");
    EXPECT_EQ(formatCellPattern(0.5), ".5");
    EXPECT_EQ(formatCellPattern(1000000), "1,000,000");
    EXPECT_EQ(formatCellPattern(-12.3), "-12.3");
}

TEST(NumberTexts, WhatIsWrittenReadsBack) {
    for (double v : {0.0, 1.25, 1234.5, 0.001, 98765.4321, -3.5}) {
        EXPECT_NEAR(*readNumber(formatTwoDecimals(v)), v, 0.005);
        EXPECT_DOUBLE_EQ(*readNumber(formatShortest(v)), v);
    }
}

}  // namespace
