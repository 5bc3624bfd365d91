#include "encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace wirelark {

namespace {

#include "cp932_tables.inc"

// Length of the sequence a lead byte announces, for stepping through text already known to be
// UTF-8 (or treated byte by byte where it is not).
std::size_t leadLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

std::string hexByte(unsigned char b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0x0F];
}

// The bytes at `offset` as a message shows them: up to two, in hexadecimal.
std::string hexBytes(std::string_view bytes, std::size_t offset) {
    std::string s;
    for (std::size_t i = offset; i < bytes.size() && i < offset + 2; ++i) {
        if (!s.empty())
            s += ' ';
        s += hexByte(static_cast<unsigned char>(bytes[i]));
    }
    return s;
}

// Line (from 0) on which the end of `text` lies, lines split as splitLines splits them.
std::size_t lineAtEnd(std::string_view text) {
    std::size_t line = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++line;
    }
    return line;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

struct Conversion {
    std::string out;
    bool opened = true;
    // Where the input stopped being convertible, when the conversion stops there.
    std::optional<std::size_t> badOffset;
};

enum class OnBad { Replace, Stop };

// Converts with iconv. Where the input cannot be converted: with Replace, writes "?" and skips
// one input unit (one UTF-8 sequence when `utf8Input`, else one byte); with Stop, ends there
// and tells the offset.
Conversion convert(const char* to, const char* from, std::string_view in, bool utf8Input,
                   OnBad onBad) {
    Conversion result;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        result.opened = false;
        return result;
    }
    std::string& out = result.out;
    out.reserve(in.size() * 3 / 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[8192];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ (not convertible) or EINVAL (cut off at the end).
        if (onBad == OnBad::Stop) {
            result.badOffset = static_cast<std::size_t>(inPtr - in.data());
            break;
        }
        out.push_back('?');
        std::size_t skip = utf8Input ? leadLength(static_cast<unsigned char>(*inPtr)) : 1;
        if (skip > inLeft)
            skip = inLeft;
        inPtr += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return result;
}

// Checks that `bytes` are UTF-8 throughout; the offset of the first bad byte otherwise.
std::optional<std::size_t> firstBadUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = utf8SequenceLength(bytes.substr(i));
        if (len == 0)
            return i;
        i += len;
    }
    return std::nullopt;
}

bool hasNonAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

Expected<std::string, TextError> decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t{a} << 8) | b : (char32_t{b} << 8) | a;
    };
    const auto bad = [&](char32_t unit) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string hex = "0x";
        for (int shift = 12; shift >= 0; shift -= 4)
            hex += kDigits[(unit >> shift) & 0xF];
        return TextError{lineAtEnd(out), "UTF-16 として正しくない文字 " + hex + " があります"};
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return bad(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= bytes.size())
                return bad(unit);
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return bad(unit);
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
            continue;
        }
        appendUtf8(out, unit);
    }
    if (i < bytes.size())
        return TextError{lineAtEnd(out), "UTF-16 のテキストが途中で切れています（奇数バイト）"};
    return out;
}

Expected<std::string, TextError> decodeUtf8(std::string_view bytes) {
    if (const auto bad = firstBadUtf8(bytes))
        return TextError{lineAtEnd(bytes.substr(0, *bad)),
                         "UTF-8 として正しくないバイト " + hexBytes(bytes, *bad) + " があります"};
    return std::string(bytes);
}

// Whether the code page keeps every ASCII byte as it is (it does, in every converter of it).
bool cp932KeepsAscii() {
    static const bool kept = [] {
        for (unsigned b = 0; b < 0x80; ++b)
            if (kCp932Single[b] != b)
                return false;
        return true;
    }();
    return kept;
}

// Eight bytes at `p`, when all of them are ASCII.
bool eightAscii(const unsigned char* p, std::uint64_t& eight) {
    std::memcpy(&eight, p, 8);
    return (eight & 0x8080808080808080ull) == 0;
}

// The character of code page 932 at `i` by table, and how many bytes it takes: kCp932Bad for a
// byte (or a lead byte and its trail) that is no character.
std::uint16_t cp932CharAt(const unsigned char* bytes, std::size_t i, std::size_t n,
                          std::size_t& len) {
    const unsigned char b = bytes[i];
    len = 1;
    const std::uint16_t c = kCp932Single[b];
    if (c != kCp932Lead)
        return c;
    len = 2;
    return i + 1 < n && b >= 0x80 ? kCp932Double[(b - 0x80) * 256 + bytes[i + 1]] : kCp932Bad;
}

// Code page 932 -> UTF-8 by table, as the system converter does it, into `out` in place of
// what it held. Where a byte (or a lead byte and its trail) is not a character: with Replace,
// "?" and the conversion goes on at the next byte; with Stop, the conversion ends there and
// tells the offset.
std::optional<std::size_t> cp932DecodedInto(std::string_view in, OnBad onBad, std::string& out) {
    std::optional<std::size_t> badOffset;
    // A byte gives at most three bytes of UTF-8, but a sheet is mostly ASCII with two-byte
    // characters that take three: the text starts a quarter larger than the input and grows
    // when it must.
    out.resize(in.size() + in.size() / 4 + 16);
    char* p = out.data();
    const auto* const bytes = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t n = in.size();
    const bool asciiKept = cp932KeepsAscii();
    for (std::size_t i = 0; i < n;) {
        if (out.data() + out.size() - p < 8) {
            const auto at = static_cast<std::size_t>(p - out.data());
            out.resize(out.size() + out.size() / 2 + 16);
            p = out.data() + at;
        }
        // Eight ASCII bytes at once, where the code page keeps ASCII as it is.
        if (std::uint64_t eight; asciiKept && i + 8 <= n && eightAscii(bytes + i, eight)) {
            std::memcpy(p, &eight, 8);
            p += 8;
            i += 8;
            continue;
        }
        if (asciiKept && bytes[i] < 0x80) {
            *p++ = static_cast<char>(bytes[i++]);
            continue;
        }
        std::size_t len;
        const std::uint16_t c = cp932CharAt(bytes, i, n, len);
        if (c == kCp932Bad) {
            if (onBad == OnBad::Stop) {
                badOffset = i;
                break;
            }
            *p++ = '?';
            ++i;
            continue;
        }
        // Every character of the code page lies in the Basic Multilingual Plane.
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        i += len;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return badOffset;
}

Conversion cp932Decoded(std::string_view in, OnBad onBad) {
    Conversion result;
    result.badOffset = cp932DecodedInto(in, onBad, result.out);
    return result;
}

// A well-formed three-byte UTF-8 sequence at `p` (the kana, kanji and box drawing of a sheet):
// its code point, or 0 when the bytes are anything else.
char32_t threeByteCodePoint(const unsigned char* p) {
    if ((p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80)
        return 0;
    const char32_t cp =
        (char32_t{p[0] & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu);
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return cp;
}

// UTF-8 -> code page 932 by table, as the system converter does it: "?" for a character the
// code page lacks and for a byte that does not begin a well-formed sequence, which is skipped
// with the length its lead byte announces.
void appendCp932Encoded(std::string& out, std::string_view in) {
    // A character takes no more bytes in code page 932 than in UTF-8, and "?" stands for at
    // least one byte; only an ASCII character given two bytes would need more, and gets it.
    const std::size_t start = out.size();
    out.resize(start + in.size());
    char* p = out.data() + start;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char lead = bytes[i];
        char32_t cp = lead;
        std::size_t len = 1;
        if (lead < 0x80) {
            const std::uint16_t single = kCp932Encode[lead];
            if (single == lead) {
                *p++ = static_cast<char>(lead);
                ++i;
                continue;
            }
        } else if (lead >= 0xE0 && lead <= 0xEF && i + 2 < n &&
                   (cp = threeByteCodePoint(bytes + i)) != 0) {
            len = 3;
        } else {
            len = utf8SequenceLength(in.substr(i));
            if (len == 0) {
                *p++ = '?';
                i += std::min(leadLength(lead), n - i);
                continue;
            }
            cp = lead & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
            for (std::size_t k = 1; k < len; ++k)
                cp = (cp << 6) | (bytes[i + k] & 0x3F);
        }
        i += len;
        const std::uint16_t encoded = cp < 0x10000 ? kCp932Encode[cp] : kCp932Bad;
        if (encoded == kCp932Bad) {
            *p++ = '?';
        } else if (encoded < 0x100) {
            *p++ = static_cast<char>(encoded);
        } else {
            if (len == 1) {
                const auto at = static_cast<std::size_t>(p - out.data());
                out.resize(out.size() + 1);
                p = out.data() + at;
            }
            *p++ = static_cast<char>(encoded >> 8);
            *p++ = static_cast<char>(encoded & 0xFF);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string cp932Encoded(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    appendCp932Encoded(out, in);
    return out;
}

bool isCp932(const char* encoding) {
    return std::string_view(encoding) == "CP932";
}

// The first byte of `in` that does not begin a character of code page 932, as cp932Decoded
// would stop at it.
std::optional<std::size_t> firstBadCp932(std::string_view in) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t n = in.size();
    const bool asciiKept = cp932KeepsAscii();
    for (std::size_t i = 0; i < n;) {
        if (std::uint64_t eight; asciiKept && i + 8 <= n && eightAscii(bytes + i, eight)) {
            i += 8;
            continue;
        }
        std::size_t len;
        if (cp932CharAt(bytes, i, n, len) == kCp932Bad)
            return i;
        i += len;
    }
    return std::nullopt;
}

// Why a code page 932 file cannot be read: a byte that is no character, then a NUL. Both
// errors name the line as the converted text would have it, the line breaks being the same.
std::optional<TextError> cp932FileError(std::string_view bytes) {
    if (const auto bad = firstBadCp932(bytes))
        return TextError{lineAtEnd(bytes.substr(0, *bad)),
                         "コードページ 932（シフトJIS）の文字ではないバイト " +
                             hexBytes(bytes, *bad) + " があります"};
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        return TextError{lineAtEnd(bytes.substr(0, nul)), "NUL 文字（0x00）があります"};
    return std::nullopt;
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view s) {
    if (s.empty())
        return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80)
        return 1;
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < len)
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

Expected<std::string> encodeText(std::string_view utf8, const char* encoding) {
    if (isCp932(encoding))
        return cp932Encoded(utf8);
    Conversion c = convert(encoding, "UTF-8", utf8, true, OnBad::Replace);
    if (!c.opened)
        return Error{std::string("文字コード ") + encoding +
                     " への変換を開始できません（iconv）。保存を中止しました。"};
    return std::move(c.out);
}

Expected<std::string> encodeCp932(std::string_view utf8) {
    return encodeText(utf8, "CP932");
}

std::string utf8ToCp932(std::string_view utf8) {
    return cp932Encoded(utf8);
}

bool cp932KeepsPrintableAscii() {
    for (unsigned b = 0x21; b <= 0x7E; ++b)
        if (kCp932Encode[b] != b)
            return false;
    return true;
}

void appendUtf8ToCp932(std::string& out, std::string_view utf8) {
    appendCp932Encoded(out, utf8);
}

std::string cp932ToUtf8(std::string_view bytes) {
    return cp932Decoded(bytes, OnBad::Replace).out;
}

Expected<FileText, TextError> openFileText(std::string_view bytes) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    Expected<std::string, TextError> text = std::string();
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        text = decodeUtf8(bytes.substr(3));
    } else if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        text = decodeUtf16(bytes.substr(2), false);
    } else if (bytes.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF) {
        text = decodeUtf16(bytes.substr(2), true);
    } else if (hasNonAscii(bytes) && !firstBadUtf8(bytes)) {
        text = std::string(bytes);
    } else {
        if (auto e = cp932FileError(bytes))
            return *e;
        return FileText{true, {}};
    }
    if (!text)
        return text.error();
    // A NUL ends the text for many readers and would cut a record short: no text file of the
    // program holds one.
    if (const auto nul = text->find('\0'); nul != std::string::npos)
        return TextError{lineAtEnd(std::string_view(*text).substr(0, nul)),
                         "NUL 文字（0x00）があります"};
    return FileText{false, std::move(*text)};
}

Expected<std::string, TextError> decodeFileText(std::string_view bytes) {
    auto opened = openFileText(bytes);
    if (!opened)
        return opened.error();
    if (!opened->cp932)
        return std::move(opened->text);
    std::string text;
    cp932DecodedInto(bytes, OnBad::Replace, text);
    return text;
}

void cp932LineToUtf8(std::string_view bytes, std::string& out) {
    cp932DecodedInto(bytes, OnBad::Replace, out);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::size_t cp932Length(std::string_view utf8) {
    return utf8ToCp932(utf8).size();
}

std::size_t utf8Length(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); i += leadLength(static_cast<unsigned char>(utf8[i])))
        ++n;
    return n;
}

std::string utf8Prefix(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < utf8.size(); ++n)
        i += leadLength(static_cast<unsigned char>(utf8[i]));
    if (i > utf8.size())
        i = utf8.size();
    return std::string(utf8.substr(0, i));
}

}  // namespace wirelark
