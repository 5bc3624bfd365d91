#pragma once
// Text encodings of the files the program reads and writes. Sheet and settings files are
// written in code page 932 (the Japanese Windows ANSI code page) without a byte-order mark;
// readers honour a UTF-8 or UTF-16 byte-order mark, and read a file without one that is valid
// UTF-8 holding non-ASCII characters as UTF-8 (Japanese text in code page 932 is practically
// never valid UTF-8, and such files come from other editors).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"

namespace wirelark {

// UTF-8 -> `encoding` (an iconv name). A character the encoding lacks becomes "?". Fails only
// when the conversion cannot be set up on this system: a save must then stop, not write an
// empty file.
Expected<std::string> encodeText(std::string_view utf8, const char* encoding);

// UTF-8 -> code page 932, checked as encodeText is. A character the code page lacks (such as
// "▶") becomes "?".
Expected<std::string> encodeCp932(std::string_view utf8);

// The same conversions for texts that are measured or compared rather than stored: where the
// converter cannot be set up the result is empty. What is written to a file goes through
// encodeCp932.
std::string utf8ToCp932(std::string_view utf8);
// utf8ToCp932, appended to `out`: the pieces of a text converted one after another give the
// bytes of the whole, as long as no piece ends inside a character.
void appendUtf8ToCp932(std::string& out, std::string_view utf8);
// Whether code page 932 holds every printable ASCII character (0x21 to 0x7E) as that same byte,
// as every converter of it does.
bool cp932KeepsPrintableAscii();
// Code page 932 -> UTF-8. A byte sequence that is not valid code page 932 becomes "?".
std::string cp932ToUtf8(std::string_view bytes);

// Why the bytes of a file are not valid text: the line (from 0) that holds the first bad byte
// and the reason, without a final "。" ("コードページ 932 の文字ではないバイト 0x81 0x20
// があります").
struct TextError {
    std::size_t line = 0;
    std::string reason;
};

// The text of a file as UTF-8: decoded from UTF-8 or UTF-16 (LE or BE) when it starts with that
// byte-order mark, which is skipped; from UTF-8 when it has no mark and is valid UTF-8 with at
// least one non-ASCII character; from code page 932 otherwise. All or nothing: bytes that are
// not valid in the encoding and NUL characters fail the whole text.
Expected<std::string, TextError> decodeFileText(std::string_view bytes);

// A file's text as decodeFileText reads it, but a code page 932 file is left as it is, checked
// to convert in full, so that a reader can convert it a line at a time: code page 932 keeps CR,
// LF and every other ASCII byte where it is and puts none into its double-byte characters.
struct FileText {
    bool cp932 = false;  // the text is the file's bytes, in code page 932
    std::string text;    // otherwise, the text as UTF-8
};
Expected<FileText, TextError> openFileText(std::string_view bytes);
// Code page 932 bytes that openFileText accepted, as UTF-8, in place of what `out` held.
void cp932LineToUtf8(std::string_view bytes, std::string& out);

// Splits text into lines at CR LF, a lone CR and a lone LF. A final line break does not start
// another line.
std::vector<std::string> splitLines(std::string_view text);

// Length of a text in bytes of code page 932: a full-width character counts 2, a half-width
// one 1 (a character the code page lacks counts as its "?").
std::size_t cp932Length(std::string_view utf8);

// Length of the well-formed UTF-8 sequence at the start of `s`: 1 to 4, or 0 when there is
// none (a stray continuation byte, an overlong form, a surrogate, a sequence cut short).
std::size_t utf8SequenceLength(std::string_view s);

// Number of characters (code points) of a UTF-8 text, and its first `count` characters.
std::size_t utf8Length(std::string_view utf8);
std::string utf8Prefix(std::string_view utf8, std::size_t count);

}  // namespace wirelark
