#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "message_text.h"

namespace wirelark {

namespace {

bool isBlank(char c) {
    return c > 0 && static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the thousands separators of an unsigned number text stand where the program puts
// them: 1 to 3 leading digits, then groups of exactly three, and none after the integer part.
// `intEnd` receives the end of the integer part.
bool groupingIsValid(std::string_view s, std::size_t comma, std::size_t& intEnd) {
    intEnd = 0;
    while (intEnd < s.size() && (isDigit(s[intEnd]) || s[intEnd] == ','))
        ++intEnd;
    const std::string_view intPart = s.substr(0, intEnd);
    if (s.substr(intEnd).find(',') != std::string_view::npos)
        return false;
    if (comma == 0 || comma > 3)
        return false;
    for (std::size_t pos = comma; pos < intPart.size(); pos += 4) {
        if (intPart[pos] != ',' || pos + 4 > intPart.size())
            return false;
        for (std::size_t i = pos + 1; i < pos + 4; ++i)
            if (!isDigit(intPart[i]))
                return false;
    }
    return true;
}

// Calls `parse` with the unsigned number text `s` without its thousands separators and returns
// what it returns; false for a misplaced separator. Cells are read by the thousand in a
// recalculation, so the text is read in place when it has no separator and copied to the stack
// when it has one.
template <class Parse>
bool parseUngrouped(std::string_view s, Parse parse) {
    const auto comma = s.find(',');
    if (comma == std::string_view::npos)
        return parse(s);
    std::size_t intEnd = 0;
    if (!groupingIsValid(s, comma, intEnd))
        return false;
    char stack[64];
    std::string heap;
    char* out = stack;
    if (s.size() > sizeof stack) {
        heap.resize(s.size());
        out = heap.data();
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < intEnd; ++i)
        if (s[i] != ',')
            out[n++] = s[i];
    const std::string_view rest = s.substr(intEnd);
    std::memcpy(out + n, rest.data(), rest.size());
    n += rest.size();
    return parse(std::string_view(out, n));
}

// The texts of a sheet are short decimals ("30", "1.25", "0.95"): up to 15 digits, at most 22
// of them after the point, no exponent. Such a text is a whole number below 2^53 divided by a
// power of ten that is exact in binary, so one division, rounded once, gives the nearest double,
// the very value from_chars gives. Anything else is left to from_chars.
bool readShortDecimal(std::string_view s, double& value) {
    static constexpr double kPowersOfTen[] = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
    };
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (char c : s) {
        if (isDigit(c)) {
            if (++digits > 15)
                return false;
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (point)
                ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || (point && decimals == 0) || decimals > 22)
        return false;
    value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    return true;
}

}  // namespace

std::string NumberError::message() const {
    return "'" + quotedText(text) + "' は有効な数値ではありません。";
}

Expected<double, NumberError> readNumber(std::string_view text) {
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    double value = 0.0;
    const auto parse = [&value](std::string_view plain) {
        if (readShortDecimal(plain, value))
            return true;
        const char* last = plain.data() + plain.size();
        const auto [ptr, ec] =
            std::from_chars(plain.data(), last, value, std::chars_format::general);
        return ec == std::errc() && ptr == last && std::isfinite(value);
    };
    if (s.empty() || !(isDigit(s.front()) || s.front() == '.') || !parseUngrouped(s, parse))
        return NumberError{std::string(text)};
    return negative ? -value : value;
}

Expected<std::int64_t, NumberError> readInteger(std::string_view text) {
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto parse = [&value](std::string_view plain) {
        for (char c : plain)
            if (!isDigit(c))
                return false;
        const char* last = plain.data() + plain.size();
        const auto [ptr, ec] = std::from_chars(plain.data(), last, value);
        return ec == std::errc() && ptr == last;
    };
    if (s.empty() || !isDigit(s.front()) || !parseUngrouped(s, parse))
        return NumberError{std::string(text)};
    return negative ? -value : value;
}

double roundHalfEven(double x) {
    const double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return r;
}

namespace {

// "%.15g" of a double whose shortest round-trip form has at most 15 significant digits: those
// are the digits "%.15g" prints (any such decimal comes back from the double unchanged at 15
// digits), laid out as %g lays them out. Ryu's shortest form is several times faster than
// formatting with a precision. Returns the length written, 0 when the shortest form has more
// than 15 digits (or for a subnormal, inf or nan).
std::size_t shortestAsGeneral15(double x, char* out) {
    // A subnormal double carries fewer digits than 15, so the argument does not hold for it.
    if (x != 0.0 && !std::isnormal(x))
        return 0;
    char sci[32];
    const auto [end, ec] = std::to_chars(sci, sci + sizeof sci, x, std::chars_format::scientific);
    if (ec != std::errc())
        return 0;
    const std::string_view t(sci, static_cast<std::size_t>(end - sci));
    const std::size_t e = t.find('e');
    if (e == std::string_view::npos)
        return 0;  // inf, nan
    std::size_t pos = 0;
    char* p = out;
    if (t[0] == '-') {
        *p++ = '-';
        pos = 1;
    }
    char digits[20];
    std::size_t n = 0;
    for (std::size_t i = pos; i < e; ++i)
        if (t[i] != '.') {
            if (n == 15)
                return 0;
            digits[n++] = t[i];
        }
    int exponent = 0;
    const char* expFirst = t.data() + e + 1 + (t[e + 1] == '+' ? 1 : 0);
    std::from_chars(expFirst, t.data() + t.size(), exponent);
    if (exponent < -4 || exponent >= 15) {
        *p++ = digits[0];
        if (n > 1) {
            *p++ = '.';
            std::memcpy(p, digits + 1, n - 1);
            p += n - 1;
        }
        // The exponent as %e writes it: a sign and at least two digits.
        *p++ = 'e';
        *p++ = exponent < 0 ? '-' : '+';
        const int a = exponent < 0 ? -exponent : exponent;
        if (a < 10)
            *p++ = '0';
        p = std::to_chars(p, p + 4, a).ptr;
        return static_cast<std::size_t>(p - out);
    }
    if (exponent < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > exponent; --i)
            *p++ = '0';
        std::memcpy(p, digits, n);
        p += n;
        return static_cast<std::size_t>(p - out);
    }
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    for (std::size_t i = 0; i < whole; ++i)
        *p++ = i < n ? digits[i] : '0';
    if (n > whole) {
        *p++ = '.';
        std::memcpy(p, digits + whole, n - whole);
        p += n - whole;
    }
    return static_cast<std::size_t>(p - out);
}

}  // namespace

std::string formatShortest(double x, std::optional<double>& readBack) {
    readBack.reset();
    char buf[64];
    // A whole number below 10^15 (a rounded current, a length) is its digits, as %.15g writes
    // it; -0 is "0".
    if (x > -1e15 && x < 1e15 && x == std::trunc(x)) {
        const auto whole = static_cast<long long>(x);
        readBack = static_cast<double>(whole);
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, whole).ptr);
    }
    std::size_t n = shortestAsGeneral15(x, buf);
    if (n == 0) {
        // More than 15 digits to round: to_chars with a precision writes exactly what printf's
        // "%.15g" writes.
        const auto [end, ec] =
            std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
        n = ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0;
    } else if (std::string_view(buf, n).find('e') == std::string_view::npos) {
        // The shortest digits that give x back: read with correct rounding, they are x.
        readBack = x;
    }
    std::string_view s(buf, n);
    if (s == "-0")
        s = "0";
    return std::string(s);
}

std::string formatShortest(double x) {
    std::optional<double> unused;
    return formatShortest(x, unused);
}

std::string groupThousands(std::string_view plain) {
    std::string_view sign;
    if (!plain.empty() && (plain.front() == '-' || plain.front() == '+')) {
        sign = plain.substr(0, 1);
        plain.remove_prefix(1);
    }
    std::size_t intEnd = 0;
    while (intEnd < plain.size() && isDigit(plain[intEnd]))
        ++intEnd;
    std::string out(sign);
    for (std::size_t i = 0; i < intEnd; ++i) {
        if (i > 0 && (intEnd - i) % 3 == 0)
            out.push_back(',');
        out.push_back(plain[i]);
    }
    out.append(plain.substr(intEnd));
    return out;
}

namespace {

// "%.*f" for up to four decimals of a value under about 4·10^9 units of its last decimal, as
// the sheet's drops, impedances and currents are: x scaled by 10^decimals is within half a
// unit in the last place (under 10^-6) of the exact product, so unless it lies within 10^-5
// of a half it rounds to the same whole number as the exact value does. Writes the digits
// with the sign and grouping asked for and returns their length, with the scaled whole
// number; 0 when the value needs the exact conversion.
std::size_t formatFewDecimals(double x, int decimals, bool grouping, char* out,
                              std::int64_t& scaled) {
    static constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4};
    if (decimals < 0 || decimals > 4)
        return 0;
    const double y = x * kScale[decimals];
    if (!(std::fabs(y) < 4e9))
        return 0;  // large, inf or nan
    const double below = std::floor(y);
    const double fraction = y - below;  // exact, or off by far less than the margin
    if (std::fabs(fraction - 0.5) <= 1e-5)
        return 0;  // near a tie: the exact binary value decides
    scaled = static_cast<std::int64_t>(below) + (fraction > 0.5 ? 1 : 0);
    std::uint64_t magnitude = static_cast<std::uint64_t>(scaled < 0 ? -scaled : scaled);
    // Digits from the right: the decimals, then the integer part in groups of three.
    char digits[32];
    char* p = digits + sizeof digits;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    int inGroup = 0;
    do {
        if (grouping && inGroup == 3) {
            *--p = ',';
            inGroup = 0;
        }
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++inGroup;
    } while (magnitude > 0);
    // Without a non-zero digit the text carries no minus sign.
    if (scaled < 0)
        *--p = '-';
    const auto n = static_cast<std::size_t>(digits + sizeof digits - p);
    std::memcpy(out, p, n);
    return n;
}

}  // namespace

std::string formatTwoDecimals(double x, std::optional<double>& readBack) {
    char buf[32];
    std::int64_t scaled = 0;
    if (const std::size_t n = formatFewDecimals(x, 2, true, buf, scaled)) {
        // readNumber divides the digits, read as a whole number, by 100.
        const double magnitude = static_cast<double>(scaled < 0 ? -scaled : scaled) / 100.0;
        readBack = scaled < 0 ? -magnitude : magnitude;
        return std::string(buf, n);
    }
    std::string text = formatFixed(x, 2, true);
    readBack.reset();
    if (const auto v = readNumber(text))
        readBack = *v;
    return text;
}

std::string formatFixed(double x, int decimals, bool grouping) {
    {
        char buf[32];
        std::int64_t scaled = 0;
        if (const std::size_t n = formatFewDecimals(x, decimals, grouping, buf, scaled))
            return std::string(buf, n);
    }
    // As "%.*f": to_chars rounds the exact binary value the same way. Any finite double with up
    // to 64 decimals fits the buffer; printf takes a negative precision as its default of six.
    char buf[512];
    std::string_view s;
    if (decimals <= 64) {
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed,
                                             decimals < 0 ? 6 : decimals);
        if (ec == std::errc())
            s = std::string_view(buf, static_cast<std::size_t>(end - buf));
    } else {
        const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        s = std::string_view(buf,
                             std::min(static_cast<std::size_t>(n < 0 ? 0 : n), sizeof buf - 1));
    }
    if (!s.empty() && s.front() == '-' && s.find_first_of("123456789") == std::string_view::npos)
        s.remove_prefix(1);
    return grouping ? groupThousands(s) : std::string(s);
}

std::string formatFixedWidth(double x, int width, int decimals, bool grouping) {
    std::string s = formatFixed(x, decimals, grouping);
    if (width > 0 && s.size() < static_cast<std::size_t>(width))
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

std::string formatCellPattern(double x) {
    std::string s = formatFixed(x, 2, false);
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const auto dot = s.find('.');
    std::string intPart = s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    if (intPart == "0")
        intPart.clear();
    if (intPart.empty() && frac.empty())
        return {};
    std::string out = negative ? "-" : "";
    out += groupThousands(intPart);
    if (!frac.empty())
        out += "." + frac;
    return out;
}

}  // namespace wirelark
