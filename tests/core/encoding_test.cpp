#include "encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>

using namespace wirelark;

namespace {

TEST(Cp932, EncodesJapaneseAndMarksWhatItLacks) {
    EXPECT_EQ(utf8ToCp932("ABC"), "ABC");
    EXPECT_EQ(utf8ToCp932("幹線"), "\x8a\xb2\x90\xfc");
    // "▶" is not in the code page: the tree glyphs lose it and get it back on loading.
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("├─▶")), "├─?");
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("-─▶┌")), "-─?┌");
    // Characters that Shift_JIS proper lacks but code page 932 has.
    for (const char* s : {"～", "－", "①", "㎡", "│　", "〇：許容電流55%以上", "ﾋﾟｰﾀﾞﾝｽ"})
        EXPECT_EQ(cp932ToUtf8(utf8ToCp932(s)), s) << s;
    EXPECT_EQ(cp932ToUtf8("\x5c"), "\\");
}

TEST(Cp932, InvalidBytesBecomeQuestionMarks) {
    EXPECT_EQ(cp932ToUtf8("A\x81"), "A?");
    EXPECT_EQ(cp932ToUtf8("\xa0X"), "?X");
}

// What the system converter makes of `in`, "?" written for what it cannot convert and the
// conversion going on after one byte (decoding) or one sequence (encoding).
std::string systemConversion(const char* to, const char* from, std::string_view in,
                             bool utf8Input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "(no converter)";
    std::string out;
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char buffer[64];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        out.push_back('?');
        const auto lead = static_cast<unsigned char>(*inPtr);
        std::size_t skip = !utf8Input || lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0xF8)
            skip = 1;
        skip = std::min(skip, inLeft);
        inPtr += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

// The program converts code page 932 by its own tables: they must agree with the system's
// converter on every byte, every pair of bytes and every character of the first plane, and on
// malformed UTF-8.
TEST(Cp932, TablesAgreeWithTheSystemConverterEverywhere) {
    std::string in;
    for (int b = 0; b < 256; ++b) {
        in.assign(1, static_cast<char>(b));
        in += "A";
        ASSERT_EQ(cp932ToUtf8(in), systemConversion("UTF-8", "CP932", in, false)) << b;
        for (int t = 0; t < 256; ++t) {
            in.assign({static_cast<char>(b), static_cast<char>(t)});
            ASSERT_EQ(cp932ToUtf8(in), systemConversion("UTF-8", "CP932", in, false))
                << b << " " << t;
        }
    }
    std::string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string one;
        if (c < 0x80) {
            one = static_cast<char>(c);
        } else if (c < 0x800) {
            one = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            one = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                   static_cast<char>(0x80 | (c & 0x3F))};
        }
        ASSERT_EQ(utf8ToCp932(one), systemConversion("CP932", "UTF-8", one, true))
            << static_cast<unsigned>(c);
        all += one;
    }
    EXPECT_EQ(utf8ToCp932(all), systemConversion("CP932", "UTF-8", all, true));
    for (const std::string malformed :
         {"\x80"
          "A",
          "\xE3\x81"
          "A",
          "\xED\xA0\x80"
          "B",
          "\xC0\xAF", "\xF0\x9F\x98\x80", "\xF8\x88\x80\x80\x80", "\xE3"})
        EXPECT_EQ(utf8ToCp932(malformed), systemConversion("CP932", "UTF-8", malformed, true))
            << malformed;
}

struct DecodeCase {
    const char* meaning;
    std::string bytes;
    std::string text;
};

TEST(DecodeFileText, ReadsEveryEncodingASheetComesIn) {
    using namespace std::string_literals;
    const DecodeCase cases[] = {
        {"UTF-8 after its byte-order mark", "\xEF\xBB\xBF幹線"s, "幹線"},
        {"UTF-16 LE after its mark", "\xFF\xFE\x79\x5E"s, "幹"},
        {"UTF-16 BE after its mark", "\xFE\xFF\x5E\x79"s, "幹"},
        {"UTF-16 pair of surrogates", "\xFF\xFE\x40\xD8\x0B\xDC"s, "\U0002000B"},
        {"code page 932 without a mark", "\x8a\xb2\x90\xfc"s, "幹線"},
        {"half-width katakana of code page 932", "\xb1\xb2"s, "ｱｲ"},
        {"UTF-8 without a mark, as other editors save it", "20\r\n市営住宅　A棟\r\n"s,
         "20\r\n市営住宅　A棟\r\n"},
        {"plain ASCII reads the same either way", "20\r\n0\r\n"s, "20\r\n0\r\n"},
        {"escape characters are text, quoted safely where shown", "\x1b]0;x\a\r\n"s,
         "\x1b]0;x\a\r\n"},
    };
    for (const DecodeCase& c : cases) {
        const auto text = decodeFileText(c.bytes);
        ASSERT_TRUE(text.ok()) << c.meaning << ": " << text.error().reason;
        EXPECT_EQ(*text, c.text) << c.meaning;
    }
}

struct RefusalCase {
    const char* meaning;
    std::string bytes;
    std::size_t line;  // from 0
    const char* reasonHas;
};

TEST(DecodeFileText, RefusesBytesThatAreNoTextNamingTheFirstBadLine) {
    using namespace std::string_literals;
    const RefusalCase cases[] = {
        {"a code page 932 lead byte before a blank", "20\r\n0\r\n\x81\x20"s, 2, "0x81 0x20"},
        {"a byte code page 932 never uses", "a\r\n\xa0"s, 1, "0xA0"},
        {"a code page 932 character cut off at the end", "\x8a\xb2\x8a"s, 0, "0x8A"},
        {"lines counted at a lone CR and a lone LF", "a\rb\nc\r\n\xff"s, 3, "0xFF"},
        {"a NUL byte in a code page 932 file", "a\r\nb\0c"s, 1, "NUL"},
        {"a NUL byte in a UTF-8 file", "\xEF\xBB\xBF\r\n\r\n\0"s, 2, "NUL"},
        {"a NUL character in a UTF-16 file", "\xFF\xFE\x61\x00\x00\x00"s, 0, "NUL"},
        {"a broken sequence after a UTF-8 mark",
         "\xEF\xBB\xBF"
         "a\n\xC3\x28"s,
         1, "UTF-8"},
        {"an overlong UTF-8 form", "\xEF\xBB\xBF\xC0\xAF"s, 0, "0xC0 0xAF"},
        {"a UTF-8 surrogate", "\xEF\xBB\xBF\xED\xA0\x80"s, 0, "0xED"},
        {"a lone high surrogate in UTF-16", "\xFF\xFE\x61\x00\x0A\x00\x00\xD8"s, 1, "0xD800"},
        {"a lone low surrogate in UTF-16 BE", "\xFE\xFF\xDC\x00"s, 0, "0xDC00"},
        {"an odd number of UTF-16 bytes", "\xFF\xFE\x61\x00\x62"s, 0, "UTF-16"},
    };
    for (const RefusalCase& c : cases) {
        const auto text = decodeFileText(c.bytes);
        ASSERT_FALSE(text.ok()) << c.meaning;
        EXPECT_EQ(text.error().line, c.line) << c.meaning;
        EXPECT_NE(text.error().reason.find(c.reasonHas), std::string::npos)
            << c.meaning << ": " << text.error().reason;
    }
}

TEST(EncodeText, AConverterThatCannotBeOpenedIsAnErrorNotAnEmptyText) {
    const auto bytes = encodeText("幹線", "NO-SUCH-ENCODING");
    ASSERT_FALSE(bytes.ok());
    EXPECT_NE(bytes.error().message.find("NO-SUCH-ENCODING"), std::string::npos);
    ASSERT_TRUE(encodeCp932("幹線▶").ok());
    EXPECT_EQ(*encodeCp932("幹線▶"), "\x8a\xb2\x90\xfc?");
}

TEST(SplitLines, SplitsAtEveryKindOfLineEnd) {
    const std::vector<std::string> want = {"a", "b", "", "c", "d"};
    EXPECT_EQ(splitLines("a\r\nb\n\rc\rd\r\n"), want);
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("x"), std::vector<std::string>{"x"});
}

TEST(Cp932Length, CountsFullWidthAsTwo) {
    EXPECT_EQ(cp932Length("電灯コンセ"), 10u);
    EXPECT_EQ(cp932Length("L-1F"), 4u);
    EXPECT_EQ(cp932Length("ｲﾝﾋﾟｰﾀﾞﾝｽ"), 9u);
    EXPECT_EQ(utf8Length("電灯A"), 3u);
    EXPECT_EQ(utf8Prefix("電灯コンセント", 2), "電灯");
    EXPECT_EQ(utf8Prefix("ab", 9), "ab");
}

}  // namespace
