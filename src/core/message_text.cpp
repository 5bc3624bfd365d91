#include "message_text.h"

#include <limits>

#include "encoding.h"

namespace wirelark {

namespace {

bool isControl(std::string_view sequence) {
    const auto b0 = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return b0 < 0x20 || b0 == 0x7F;
    // U+0080 to U+009F: C2 80 to C2 9F.
    return sequence.size() == 2 && b0 == 0xC2 && static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

std::string shown(std::string_view text, std::size_t maxChars) {
    std::string out;
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (chars == maxChars) {
            out += "…";
            break;
        }
        const std::size_t len = utf8SequenceLength(text.substr(i));
        if (len == 0) {
            out.push_back('?');
            ++i;
        } else {
            const std::string_view sequence = text.substr(i, len);
            if (isControl(sequence))
                out.push_back('?');
            else
                out.append(sequence);
            i += len;
        }
        ++chars;
    }
    return out;
}

}  // namespace

std::string quotedText(std::string_view text) {
    return shown(text, kQuotedTextChars);
}

std::string printableText(std::string_view text) {
    return shown(text, std::numeric_limits<std::size_t>::max());
}

}  // namespace wirelark
