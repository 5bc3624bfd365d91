#include "number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

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

// Whole numbers take a shorter way than other values; both must write what printf's "%.15g"
// writes, on either side of 10^15 where the exponent form begins.
TEST(FormatShortest, WholeNumbersAreWrittenAsPrintfWritesThem) {
    const double cases[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        30.0,
        1600.0,
        999999999999999.0,
        -999999999999999.0,
        1e15,
        -1e15,
        1e16,
        9007199254740992.0,
        123456789012345.0,
        1e300,
        0.5,
        -2.5,
        1e-5,
        1e14 + 0.5,
    };
    for (const double x : cases) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15g", x);
        EXPECT_EQ(formatShortest(x), std::string(expected) == "-0" ? "0" : expected) << expected;
    }
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

// Texts written into the sheet must stay byte for byte what printf wrote, and a number read
// must be the nearest double, whichever quick route the conversion takes. printf and
// from_chars are the references.
std::string printed(const char* format, double x, int decimals = 0) {
    char buf[512];
    if (decimals < 0)
        std::snprintf(buf, sizeof buf, format, x);
    else
        std::snprintf(buf, sizeof buf, format, decimals, x);
    return buf;
}

// "%.*f" as the sheet shows it: without a non-zero digit, no minus sign.
std::string printedFixed(double x, int decimals) {
    std::string fixed = printed("%.*f", x, decimals);
    if (fixed.front() == '-' && fixed.find_first_of("123456789") == std::string::npos)
        fixed.erase(0, 1);
    return fixed;
}

std::vector<double> awkwardValues() {
    std::vector<double> values = {
        0.0,
        1.0,
        -1.0,
        0.1 + 0.2,
        1.68,
        16.8,
        16.800000000000001,
        0.0001,
        0.00001,
        0.000123,
        1e-5,
        123456789012345.0,
        999999999999999.0,
        1e15,
        1e16,
        1.5e15,
        1e20,
        1.25e-7,
        2.5,
        82.5,
        0.125,
        0.375,
        1234.5,
        -1234.5,
        1e300,
        -1e-300,
        5e-324,
        std::numeric_limits<double>::max(),
        1.0 / 3.0,
        2.0 / 3.0,
        100.0 / 7.0,
        272.45,
        std::sqrt(3.0),
        0.95,
        1e-4 - 1e-20,
    };
    // A fixed pseudo-random sweep over magnitudes and digit counts.
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 4000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
        const int exponent = static_cast<int>((state >> 3) % 40) - 20;
        const double v = unit * std::pow(10.0, exponent);
        // Every other value rounded to a few decimals, as the sheet's numbers are.
        const double digits = std::pow(10.0, static_cast<double>(i % 6));
        values.push_back(i % 2 ? v : std::round(v * digits) / digits);
        values.push_back(-values.back());
    }
    return values;
}

TEST(NumberTexts, FormatAsPrintfByteForByte) {
    for (double v : awkwardValues()) {
        std::string general = printed("%.15g", v, -1);
        if (general == "-0")
            general = "0";
        EXPECT_EQ(formatShortest(v), general) << general;
        for (int decimals : {0, 2, 3}) {
            const std::string fixed = printedFixed(v, decimals);
            EXPECT_EQ(formatFixed(v, decimals, false), fixed) << fixed;
        }
    }
}

// Values a hair either side of a half in the last decimal, and exact halves, where rounding
// must follow the exact binary value: the quick route must hand these to the exact one.
std::vector<double> nearTies() {
    std::vector<double> values;
    for (int decimals = 0; decimals <= 4; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        for (double whole : {0.0, 1.0, 2.0, 7.0, 12.0, 99.0, 1234.0, 65535.0, 3999999.0, 39999999.0,
                             3.99999999e9}) {
            const double tie = (whole + 0.5) / scale;
            for (double v : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300),
                             tie + 2e-6 / scale, tie - 2e-6 / scale, tie + 2e-5 / scale,
                             tie - 2e-5 / scale, whole / scale, (whole + 1.0) / scale}) {
                values.push_back(v);
                values.push_back(-v);
            }
        }
    }
    for (double exact : {0.125, 0.375, 2.5, 0.5, 1.5, 0.0625, 1.0625, 12.3125, 4e9, 4.5e9})
        values.push_back(exact);
    return values;
}

TEST(NumberTexts, FixedDecimalsNearATieAsPrintf) {
    for (double v : nearTies())
        for (int decimals = 0; decimals <= 4; ++decimals) {
            const std::string fixed = printedFixed(v, decimals);
            EXPECT_EQ(formatFixed(v, decimals, false), fixed) << fixed;
            EXPECT_EQ(formatFixed(v, decimals, true), groupThousands(fixed)) << fixed;
        }
}

// The drop written with two decimals comes with the number its text reads back as.
TEST(NumberTexts, TwoDecimalsWithTheirReadBack) {
    std::vector<double> values = awkwardValues();
    const std::vector<double> ties = nearTies();
    values.insert(values.end(), ties.begin(), ties.end());
    values.push_back(std::numeric_limits<double>::infinity());
    values.push_back(std::nan(""));
    for (double v : values) {
        std::optional<double> readBack;
        const std::string text = formatTwoDecimals(v, readBack);
        EXPECT_EQ(text, formatTwoDecimals(v));
        const auto read = readNumber(text);
        ASSERT_EQ(readBack.has_value(), read.ok()) << text;
        if (readBack) {
            EXPECT_EQ(*readBack, *read) << text;
        }
    }
}

TEST(NumberTexts, ReadTheNearestDoubleAsFromChars) {
    for (double v : awkwardValues()) {
        for (const std::string& text : {printed("%.15g", v, -1), printed("%.*f", v, 2),
                                        printed("%.17g", v, -1), printed("%.*f", v, 6)}) {
            double expected = 0;
            const auto [ptr, ec] =
                std::from_chars(text.data(), text.data() + text.size(), expected);
            if (ec != std::errc() || !std::isfinite(expected))
                continue;
            auto r = readNumber(text);
            ASSERT_TRUE(r.ok()) << text;
            EXPECT_EQ(*r, expected) << text;
        }
    }
}

}  // namespace
