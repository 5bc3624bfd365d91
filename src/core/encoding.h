#pragma once
// Text encodings of the files the program reads and writes. Sheet and settings files are
// written in code page 932 (the Japanese Windows ANSI code page) without a byte-order mark;
// readers honour a UTF-8 or UTF-16 byte-order mark.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wirelark {

// UTF-8 -> code page 932. A character the code page lacks (such as "▶") becomes "?".
std::string utf8ToCp932(std::string_view utf8);

// Code page 932 -> UTF-8. A byte sequence that is not valid code page 932 becomes "?".
std::string cp932ToUtf8(std::string_view bytes);

// The text of a file: decoded from UTF-8 or UTF-16 (LE or BE) when it starts with that
// byte-order mark, which is skipped; from code page 932 otherwise.
std::string decodeFileText(std::string_view bytes);

// Splits text into lines at CR LF, a lone CR and a lone LF. A final line break does not start
// another line.
std::vector<std::string> splitLines(std::string_view text);

// Length of a text in bytes of code page 932: a full-width character counts 2, a half-width
// one 1 (a character the code page lacks counts as its "?").
std::size_t cp932Length(std::string_view utf8);

// Number of characters (code points) of a UTF-8 text, and its first `count` characters.
std::size_t utf8Length(std::string_view utf8);
std::string utf8Prefix(std::string_view utf8, std::size_t count);

}  // namespace wirelark
