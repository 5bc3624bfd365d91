#pragma once
// Numbers live in cells and fields as decimal text. These are the only conversions between
// the two: nothing else in the program parses or formats a number by hand.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "result.h"

namespace wirelark {

// A text that is not a number where one was needed. `text` is the offending text as it stood.
struct NumberError {
    std::string text;
    // "'3m' は有効な数値ではありません。"
    std::string message() const;
};

// Reads a decimal number with "." as the decimal point, independent of the locale.
// Blanks around the number are allowed. Thousands grouping as the program writes it
// ("1,234.50") is accepted, so every number the program wrote reads back; anything else
// ("3m", "", "1,23") fails.
Expected<double, NumberError> readNumber(std::string_view text);

// Reads a whole number: digits with an optional sign, blanks around it allowed, grouping as
// above. "12.0" is not a whole number.
Expected<std::int64_t, NumberError> readInteger(std::string_view text);

// Nearest whole number, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double x);

// "%.15g": up to 15 significant digits, no grouping, no trailing zeros (250, 2.5, 1.9).
std::string formatShortest(double x);
// formatShortest, and the number readNumber reads from that text when it is known without
// reading it: for a value of at most 15 significant digits written without an exponent.
std::string formatShortest(double x, std::optional<double>& readBack);

// Fixed decimals, optionally with thousands grouping. Rounds the exact binary value with
// ties to even, as printf does. A result without a non-zero digit carries no minus sign.
std::string formatFixed(double x, int decimals, bool grouping);

// The fixed form padded on the left with blanks to at least `width` characters, as printf's
// field width does ("%8.2f" is (x, 8, 2, false), the grouped "%8.0n" is (x, 8, 0, true)). A
// value wider than the field is returned in full.
std::string formatFixedWidth(double x, int width, int decimals, bool grouping);

// Voltage drops: two decimals with grouping (1.25; 1,234.50).
inline std::string formatTwoDecimals(double x) {
    return formatFixed(x, 2, true);
}
// formatTwoDecimals, and the number readNumber reads from that text.
std::string formatTwoDecimals(double x, std::optional<double>& readBack);
// Impedances: three decimals with grouping (0.460).
inline std::string formatThreeDecimals(double x) {
    return formatFixed(x, 3, true);
}

// The grid's drawing pattern "#,###.##": grouping, at most two decimals, no leading or
// trailing zeros, so 1234.5 -> "1,234.5", 0.5 -> ".5" and 0 -> "".
std::string formatCellPattern(double x);

// Inserts "," between groups of three digits of the integer part of a plain number text
// ("-1234.5" -> "-1,234.5").
std::string groupThousands(std::string_view plain);

}  // namespace wirelark
