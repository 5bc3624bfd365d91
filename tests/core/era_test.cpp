#include "era.h"

#include <gtest/gtest.h>

using namespace wirelark;

namespace {

TEST(EraName, FollowsTheJapaneseCalendarDayByDay) {
    struct Case {
        const char* meaning;
        CivilDate date;
        const char* era;
        int eraYear;
    };
    const Case cases[] = {
        {"last day of Heisei", {2019, 4, 30}, "平成", 31},
        {"first day of Reiwa", {2019, 5, 1}, "令和", 1},
        {"Reiwa 6", {2024, 1, 1}, "令和", 6},
        {"first full day of Heisei", {1989, 1, 8}, "平成", 1},
        {"last day of Showa", {1989, 1, 7}, "昭和", 64},
        {"Showa 63", {1988, 6, 1}, "昭和", 63},
        {"Taisho", {1920, 1, 1}, "大正", 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(eraNameOf(c.date), c.era) << c.meaning;
        EXPECT_EQ(eraYearOf(c.date), c.eraYear) << c.meaning;
    }
}

TEST(EraName, TodayInJapanIsAPlausibleDate) {
    const CivilDate today = todayInTokyo();
    EXPECT_GE(today.year, 2024);
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.day, 1);
    EXPECT_LE(today.day, 31);
    EXPECT_FALSE(eraNameOf(today).empty());
}

TEST(EraYearText, FirstYearIsGan) {
    EXPECT_EQ(eraYearText(1), "元");
    EXPECT_EQ(eraYearText(6), "6");
    EXPECT_EQ(readEraYear("元"), 1);
    EXPECT_EQ(readEraYear("28"), 28);
    EXPECT_FALSE(readEraYear("二十八").has_value());
    EXPECT_FALSE(readEraYear("").has_value());
}

TEST(Today, DatesTheHeadingWithEraYearMonthAndDayWithoutLeadingZeros) {
    HeadingFields h;
    applyToday(h, {2024, 3, 5});
    EXPECT_EQ(h.eraName, "令和");
    EXPECT_EQ(h.eraLabel, "令和");
    EXPECT_EQ(h.westernYear, "2024");
    EXPECT_EQ(h.eraYear, "6");
    EXPECT_EQ(h.month, "3");
    EXPECT_EQ(h.day, "5");

    applyToday(h, {2019, 11, 20});
    EXPECT_EQ(h.eraYear, "元");
    EXPECT_EQ(h.month, "11");
}

TEST(Today, EarlyTwentyNineteenIsStillHeisei31NotHeiseiGan) {
    // Counting the era year as the year minus 2018 would date these days 平成元年, thirty years
    // off; the era year follows the era that the calendar gives.
    HeadingFields h;
    applyToday(h, {2019, 4, 30});
    EXPECT_EQ(h.eraLabel, "平成");
    EXPECT_EQ(h.eraYear, "31");
}

TEST(EraConversion, WesternYearGivesEraAndEraYearInTheEraDisplay) {
    struct Case {
        const char* meaning;
        const char* western;
        const char* era;
        const char* eraYear;
    };
    const Case cases[] = {
        {"first year of Heisei", "1989", "平成", "元"},
        {"last year of Showa by the table", "1988", "昭和", "63"},
        {"first year of Reiwa", "2019", "令和", "元"},
        {"Reiwa 6", "2024", "令和", "6"},
        {"first year of Showa by the table", "1926", "昭和", "元"},
    };
    for (const Case& c : cases) {
        HeadingFields h;
        h.eraLabel = "大正";
        h.eraYear = "9";
        h.westernYear = c.western;
        convertEraYear(h, YearDisplay::Era, {2024, 6, 1});
        EXPECT_EQ(h.eraLabel, c.era) << c.meaning;
        EXPECT_EQ(h.eraName, c.era) << c.meaning;
        EXPECT_EQ(h.eraYear, c.eraYear) << c.meaning;
    }
}

TEST(EraConversion, YearsBeforeShowaAndUnreadableYearsChangeNothing) {
    for (const char* western : {"1925", "令和六年"}) {
        HeadingFields h;
        h.eraLabel = "大正";
        h.eraName = "大正";
        h.eraYear = "14";
        h.westernYear = western;
        convertEraYear(h, YearDisplay::Era, {2024, 6, 1});
        EXPECT_EQ(h.eraLabel, "大正") << western;
        EXPECT_EQ(h.eraYear, "14") << western;
        EXPECT_EQ(h.westernYear, western);
    }
}

TEST(EraConversion, BlankWesternYearMeansThisYear) {
    HeadingFields h;
    h.eraLabel = "平成";
    h.westernYear = " ";
    convertEraYear(h, YearDisplay::Era, {2025, 2, 1});
    EXPECT_EQ(h.eraLabel, "令和");
    EXPECT_EQ(h.eraYear, "7");
}

TEST(EraConversion, EmptyEraLabelTakesTodaysEraFirst) {
    HeadingFields h;
    h.eraYear = "3";
    convertEraYear(h, YearDisplay::Western, {2024, 6, 1});
    EXPECT_EQ(h.eraLabel, "令和");
    EXPECT_EQ(h.westernYear, "2021");
}

TEST(EraConversion, EraYearUnderTheEraLabelGivesTheWesternYear) {
    struct Case {
        const char* meaning;
        const char* era;
        const char* eraYear;
        const char* western;
    };
    const Case cases[] = {
        {"Heisei Gan", "平成", "元", "1989"},
        {"Heisei 28", "平成", "28", "2016"},
        {"Reiwa 5", "令和", "5", "2023"},
        {"Showa 63", "昭和", "63", "1988"},
        {"blank era year is this year's Reiwa year", "令和", "", "2024"},
    };
    for (const Case& c : cases) {
        HeadingFields h;
        h.eraLabel = c.era;
        h.eraName = "明治";
        h.eraYear = c.eraYear;
        convertEraYear(h, YearDisplay::Western, {2024, 6, 1});
        EXPECT_EQ(h.westernYear, c.western) << c.meaning;
        EXPECT_EQ(h.eraName, c.era) << c.meaning;
    }
}

TEST(EraConversion, WesternDisplayKeepsTheEraYearThatWasRead) {
    HeadingFields h;
    h.eraLabel = "平成";
    h.eraYear = "28";
    convertEraYear(h, YearDisplay::Western, {2024, 6, 1});
    EXPECT_EQ(h.eraYear, "28");  // the sheet still saves its own year, not this year's
}

TEST(EraConversion, UnknownEraInTheWesternDisplayChangesNothing) {
    HeadingFields h;
    h.eraLabel = "大正";
    h.eraName = "令和";
    h.eraYear = "9";
    h.westernYear = "2024";
    convertEraYear(h, YearDisplay::Western, {2024, 6, 1});
    EXPECT_EQ(h.westernYear, "2024");
    EXPECT_EQ(h.eraName, "令和");
}

TEST(NewSheet, StartsWith108EmptyRowsDatedTodayAndDefaultSettings) {
    const Sheet s = newSheet({2024, 12, 24});
    EXPECT_EQ(s.rowCount(), 108);
    EXPECT_EQ(s.lastUsedRow(), 0);
    EXPECT_TRUE(s.cell(0, col::glyph).empty());
    EXPECT_EQ(s.heading.eraLabel, "令和");
    EXPECT_EQ(s.heading.eraName, "令和");
    EXPECT_EQ(s.heading.eraYear, "6");
    EXPECT_EQ(s.heading.month, "12");
    EXPECT_EQ(s.heading.day, "24");
    EXPECT_TRUE(s.heading.buildingName.empty());
    EXPECT_EQ(s.settings.frequency, Frequency::Hz60);
    EXPECT_EQ(s.settings.yearDisplay, YearDisplay::Era);
    EXPECT_TRUE(s.settings.printPageNumbers);
}

}  // namespace
