#include "message_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace wirelark;

namespace {

struct QuoteCase {
    const char* meaning;
    std::string text;
    std::string shown;
};

TEST(QuotedText, ShowsAShortSafeExcerptOfWhatTheFileSaid) {
    const std::string forty(40, 'x');
    const std::string kanji40 = [] {
        std::string s;
        for (int i = 0; i < 40; ++i)
            s += "幹";
        return s;
    }();
    const QuoteCase cases[] = {
        {"a short text stands as it is", "3m", "3m"},
        {"forty characters are not cut", forty, forty},
        {"a longer text is cut after forty with a mark", forty + "yz", forty + "…"},
        {"full-width characters count one each", kanji40 + "線", kanji40 + "…"},
        {"terminal escape sequences lose their escape", "\x1b]0;pwned\a\x1b[2J", "?]0;pwned??[2J"},
        {"line breaks and tabs stay on the message's line", "a\r\nb\tc", "a??b?c"},
        {"DEL and the C1 controls are controls too",
         "a\x7f\xc2\x9b"
         "b",
         "a??b"},
        {"bytes that are not UTF-8 are shown as ?", "\x81\x20z", "? z"},
    };
    for (const QuoteCase& c : cases)
        EXPECT_EQ(quotedText(c.text), c.shown) << c.meaning;
}

TEST(PrintableText, KeepsAPathWholeButNeverItsControlCharacters) {
    const std::string longPath = "/home/user/" + std::string(300, 'a') + ".ksk";
    EXPECT_EQ(printableText(longPath), longPath);
    EXPECT_EQ(printableText("/tmp/\x1b[2Jx.ksk"), "/tmp/?[2Jx.ksk");
}

}  // namespace
