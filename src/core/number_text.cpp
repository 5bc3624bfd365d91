#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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

// Removes thousands separators from the integer part of an unsigned number text, provided
// they stand where the program puts them: 1 to 3 leading digits, then groups of exactly three.
// Returns false for a misplaced separator.
bool stripGrouping(std::string_view s, std::string& out) {
    const auto comma = s.find(',');
    if (comma == std::string_view::npos) {
        out.assign(s);
        return true;
    }
    std::size_t intEnd = 0;
    while (intEnd < s.size() && (isDigit(s[intEnd]) || s[intEnd] == ','))
        ++intEnd;
    const std::string_view intPart = s.substr(0, intEnd);
    const std::string_view rest = s.substr(intEnd);
    if (rest.find(',') != std::string_view::npos)
        return false;

    const std::size_t firstComma = intPart.find(',');
    if (firstComma == 0 || firstComma > 3)
        return false;
    for (std::size_t pos = firstComma; pos < intPart.size(); pos += 4) {
        if (intPart[pos] != ',' || pos + 4 > intPart.size())
            return false;
        for (std::size_t i = pos + 1; i < pos + 4; ++i)
            if (!isDigit(intPart[i]))
                return false;
    }
    out.clear();
    for (char c : intPart)
        if (c != ',')
            out.push_back(c);
    out.append(rest);
    return true;
}

}  // namespace

std::string NumberError::message() const {
    return "'" + quotedText(text) + "' は有効な数値ではありません。";
}

Expected<double, NumberError> readNumber(std::string_view text) {
    const NumberError failure{std::string(text)};
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !(isDigit(s.front()) || s.front() == '.'))
        return failure;
    std::string plain;
    if (!stripGrouping(s, plain))
        return failure;
    double value = 0.0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return failure;
    return negative ? -value : value;
}

Expected<std::int64_t, NumberError> readInteger(std::string_view text) {
    const NumberError failure{std::string(text)};
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !isDigit(s.front()))
        return failure;
    std::string plain;
    if (!stripGrouping(s, plain))
        return failure;
    for (char c : plain)
        if (!isDigit(c))
            return failure;
    std::int64_t value = 0;
    const char* last = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), last, value);
    if (ec != std::errc() || ptr != last)
        return failure;
    return negative ? -value : value;
}

double roundHalfEven(double x) {
    const double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return r;
}

std::string formatShortest(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    std::string s(buf);
    if (s == "-0")
        s = "0";
    return s;
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

std::string formatFixed(double x, int decimals, bool grouping) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    std::string s(buf);
    if (!s.empty() && s.front() == '-' && s.find_first_of("123456789") == std::string::npos)
        s.erase(0, 1);
    return grouping ? groupThousands(s) : s;
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
