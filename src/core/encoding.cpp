#include "encoding.h"

#include <iconv.h>

#include <cerrno>

namespace wirelark {

namespace {

std::size_t utf8SequenceLength(unsigned char lead) {
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

// Converts with iconv; where the input cannot be converted, writes `replacement` and skips
// one input unit (one UTF-8 sequence, or `badSkip` bytes for other encodings).
std::string convert(const char* to, const char* from, std::string_view in, bool utf8Input,
                    std::size_t badSkip) {
    std::string out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
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
        // EILSEQ (not convertible) or EINVAL (cut off at the end): mark it and go on.
        out.push_back('?');
        std::size_t skip =
            utf8Input ? utf8SequenceLength(static_cast<unsigned char>(*inPtr)) : badSkip;
        if (skip > inLeft)
            skip = inLeft;
        inPtr += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string utf8ToCp932(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8, true, 1);
}

std::string cp932ToUtf8(std::string_view bytes) {
    return convert("UTF-8", "CP932", bytes, false, 1);
}

std::string decodeFileText(std::string_view bytes) {
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB &&
        static_cast<unsigned char>(bytes[2]) == 0xBF)
        return convert("UTF-8", "UTF-8", bytes.substr(3), false, 1);
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE)
            return convert("UTF-8", "UTF-16LE", bytes.substr(2), false, 2);
        if (b0 == 0xFE && b1 == 0xFF)
            return convert("UTF-8", "UTF-16BE", bytes.substr(2), false, 2);
    }
    return cp932ToUtf8(bytes);
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
    for (std::size_t i = 0; i < utf8.size();
         i += utf8SequenceLength(static_cast<unsigned char>(utf8[i])))
        ++n;
    return n;
}

std::string utf8Prefix(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < utf8.size(); ++n)
        i += utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i > utf8.size())
        i = utf8.size();
    return std::string(utf8.substr(0, i));
}

}  // namespace wirelark
