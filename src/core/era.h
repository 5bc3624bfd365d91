#pragma once
// The date of the sheet: today's date in Japan, the Japanese era of a date, the TODAY button and
// the conversion between the era year and the Western year of the heading. Every function that
// depends on the date takes it as an argument, so the rules can be checked for any day; only
// todayInTokyo() reads the clock.

#include <optional>
#include <string>
#include <string_view>

#include "sheet.h"

namespace wirelark {

// A day of the Gregorian calendar (month 1..12, day 1..31).
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Today's date in Japan (time zone Asia/Tokyo), whatever the time zone of the machine: near
// midnight the date printed on the sheet must be the Japanese one.
CivilDate todayInTokyo();

// Era name of a date in the Japanese calendar ("令和", "平成", "昭和" ...), from ICU's Japanese
// calendar. 2019-04-30 is 平成, 2019-05-01 is 令和.
std::string eraNameOf(const CivilDate& date);

// Year of a date within its era (2019-05-01 -> 1, 2024-01-01 -> 6, 2019-04-30 -> 31).
int eraYearOf(const CivilDate& date);

// An era year as the heading writes it: "元" for the first year, otherwise the number.
std::string eraYearText(int eraYear);

// The largest era year the conversions accept; no era has lasted a hundred years, and a year
// read from a file must not overflow the Western year computed from it.
inline constexpr int kMaxEraYear = 99;

// An era year as the heading holds it ("元", "6"); nothing when the text is not a year from 1 to
// kMaxEraYear.
std::optional<int> readEraYear(std::string_view text);

// The Western year of an era year for the three eras the conversion knows ("令和" 1 -> 2019,
// "平成" 1 -> 1989, "昭和" 1 -> 1926); nothing for any other era name.
std::optional<int> westernYearOf(std::string_view eraName, int eraYear);

// TODAY (Button124Click): era name (Edit2) and era label (Label56) of today, the Western year
// (Edit3), the era year (Edit25, "元" for the first year), month and day without leading zeros.
void applyToday(HeadingFields& heading, const CivilDate& today);

// The era / Western year conversion of the heading (Button20Click), for the year display that is
// chosen. Era display: the Western year (Edit3, today's year when blank) decides the era and
// its year by the table 令和 from 2019, 平成 from 1989, 昭和 from 1926; earlier years and a
// Western year that is not a number change nothing. Western display: the era year (Edit25, "元"
// read as 1, today's year − 2018 when blank) under the era label gives the Western year; an era
// other than 令和, 平成 or 昭和 changes nothing. The era year that was read stays in Edit25, so
// a sheet shown in Western years still saves its own era year.
void convertEraYear(HeadingFields& heading, YearDisplay display, const CivilDate& today);

// A new sheet as the program holds it once it has started: 108 empty rows, the heading dated
// today (TODAY), 60 Hz, era display, page numbers printed.
Sheet newSheet(const CivilDate& today);

}  // namespace wirelark
