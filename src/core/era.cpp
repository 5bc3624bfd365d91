#include "era.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <chrono>
#include <memory>

namespace wirelark {

namespace {

constexpr const char* kJapaneseCalendarLocale = "ja_JP@calendar=japanese";
constexpr const char* kJapanTimeZone = "Asia/Tokyo";

// First day of each modern era, newest first: used only where ICU cannot answer.
struct EraStart {
    const char* name;
    CivilDate first;
};
constexpr EraStart kEraStarts[] = {
    {"令和", {2019, 5, 1}},  {"平成", {1989, 1, 8}}, {"昭和", {1926, 12, 25}},
    {"大正", {1912, 7, 30}}, {"明治", {1868, 1, 1}},
};

bool onOrAfter(const CivilDate& a, const CivilDate& b) {
    if (a.year != b.year)
        return a.year > b.year;
    if (a.month != b.month)
        return a.month > b.month;
    return a.day >= b.day;
}

const EraStart* fallbackEra(const CivilDate& date) {
    for (const EraStart& e : kEraStarts)
        if (onOrAfter(date, e.first))
            return &e;
    return nullptr;
}

// Noon of the date in Japan: far from midnight, so the instant lies on that day whatever the
// rules of the time zone.
std::optional<UDate> noonInTokyo(const CivilDate& date) {
    UErrorCode st = U_ZERO_ERROR;
    icu::GregorianCalendar cal(icu::TimeZone::createTimeZone(kJapanTimeZone), st);
    if (U_FAILURE(st))
        return std::nullopt;
    cal.clear();
    cal.set(date.year, date.month - 1, date.day, 12, 0, 0);
    const UDate t = cal.getTime(st);
    if (U_FAILURE(st))
        return std::nullopt;
    return t;
}

std::unique_ptr<icu::Calendar> japaneseCalendarAt(UDate t) {
    UErrorCode st = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone(kJapanTimeZone), icu::Locale(kJapaneseCalendarLocale), st));
    if (U_FAILURE(st) || !cal)
        return nullptr;
    cal->setTime(t, st);
    if (U_FAILURE(st))
        return nullptr;
    return cal;
}

}  // namespace

CivilDate todayInTokyo() {
    UErrorCode st = U_ZERO_ERROR;
    icu::GregorianCalendar cal(icu::TimeZone::createTimeZone(kJapanTimeZone), st);
    cal.setTime(icu::Calendar::getNow(), st);
    CivilDate d;
    d.year = cal.get(UCAL_YEAR, st);
    d.month = cal.get(UCAL_MONTH, st) + 1;
    d.day = cal.get(UCAL_DATE, st);
    if (U_SUCCESS(st))
        return d;
    // Without ICU's zone data: Japan keeps UTC+9 all year round.
    using namespace std::chrono;
    const year_month_day ymd{floor<days>(system_clock::now() + hours(9))};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

std::string eraNameOf(const CivilDate& date) {
    if (const auto t = noonInTokyo(date)) {
        UErrorCode st = U_ZERO_ERROR;
        icu::SimpleDateFormat f(icu::UnicodeString::fromUTF8("GGGG"),
                                icu::Locale(kJapaneseCalendarLocale), st);
        if (U_SUCCESS(st)) {
            f.adoptTimeZone(icu::TimeZone::createTimeZone(kJapanTimeZone));
            icu::UnicodeString name;
            f.format(*t, name);
            std::string out;
            name.toUTF8String(out);
            if (!out.empty())
                return out;
        }
    }
    const EraStart* e = fallbackEra(date);
    return e ? e->name : "";
}

int eraYearOf(const CivilDate& date) {
    if (const auto t = noonInTokyo(date)) {
        if (auto cal = japaneseCalendarAt(*t)) {
            UErrorCode st = U_ZERO_ERROR;
            const int y = cal->get(UCAL_YEAR, st);
            if (U_SUCCESS(st))
                return y;
        }
    }
    const EraStart* e = fallbackEra(date);
    return e ? date.year - e->first.year + 1 : date.year;
}

std::string eraYearText(int eraYear) {
    return eraYear == 1 ? "元" : std::to_string(eraYear);
}

std::optional<int> readEraYear(std::string_view text) {
    if (text == "元")
        return 1;
    const auto n = readInteger(text);
    if (!n || *n < 1 || *n > kMaxEraYear)
        return std::nullopt;
    return static_cast<int>(*n);
}

std::optional<int> westernYearOf(std::string_view eraName, int eraYear) {
    if (eraName == "令和")
        return eraYear + 2018;
    if (eraName == "平成")
        return eraYear + 1988;
    if (eraName == "昭和")
        return eraYear + 1925;
    return std::nullopt;
}

void applyToday(HeadingFields& heading, const CivilDate& today) {
    heading.eraName = eraNameOf(today);
    heading.eraLabel = heading.eraName;
    heading.westernYear = std::to_string(today.year);
    heading.eraYear = eraYearText(eraYearOf(today));
    heading.month = std::to_string(today.month);
    heading.day = std::to_string(today.day);
}

void convertEraYear(HeadingFields& heading, YearDisplay display, const CivilDate& today) {
    if (heading.eraLabel.empty()) {
        heading.eraName = eraNameOf(today);
        heading.eraLabel = heading.eraName;
    }
    if (display == YearDisplay::Era) {
        int w = today.year;
        if (!isBlank(heading.westernYear)) {
            const auto n = readInteger(heading.westernYear);
            if (!n || *n < 1 || *n > 9999)
                return;
            w = static_cast<int>(*n);
        }
        const char* era = nullptr;
        int eraYear = 0;
        if (w >= 2019) {
            era = "令和";
            eraYear = w - 2018;
        } else if (w >= 1989) {
            era = "平成";
            eraYear = w - 1988;
        } else if (w >= 1926) {
            era = "昭和";
            eraYear = w - 1925;
        } else {
            return;
        }
        heading.eraName = era;
        heading.eraLabel = era;
        heading.eraYear = eraYearText(eraYear);
        return;
    }
    int e = today.year - 2018;
    if (!isBlank(heading.eraYear)) {
        const auto read = readEraYear(heading.eraYear);
        if (!read)
            return;
        e = *read;
    }
    const auto w = westernYearOf(heading.eraLabel, e);
    if (!w)
        return;
    heading.eraName = heading.eraLabel;
    heading.westernYear = std::to_string(*w);
    heading.eraYear = eraYearText(e);
}

Sheet newSheet(const CivilDate& today) {
    Sheet sheet;
    applyToday(sheet.heading, today);
    return sheet;
}

}  // namespace wirelark
