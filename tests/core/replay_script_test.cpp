#include "replay_script.h"

#include <gtest/gtest.h>

#include <string>

#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

struct LineCase {
    const char* meaning;
    const char* script;
    const char* error;  // a part of the message; empty when the script reads
};

class ReplayScriptLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReplayScriptLines, ReadsOrNamesTheLine) {
    const LineCase& c = GetParam();
    const auto actions = parseReplayScript(c.script);
    if (std::string(c.error).empty()) {
        EXPECT_TRUE(actions.ok()) << actions.error().message;
        return;
    }
    ASSERT_FALSE(actions.ok());
    EXPECT_NE(actions.error().message.find(c.error), std::string::npos) << actions.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    Replay, ReplayScriptLines,
    ::testing::Values(
        LineCase{"comments blank lines and CR LF", "# note\r\n\r\nopen\t0\t1\r\nclose\r\n", ""},
        LineCase{"a byte order mark is skipped", "\xEF\xBB\xBFopen\t0\t0\n", ""},
        LineCase{"every answer kind",
                 "answer\tyes\nkeypad\t1.5\nkeypad\tcancel\ncalculator\t27.3\n"
                 "calculator\tnone\ncable\tnone\ncable\t--size\t38゜\n",
                 ""},
        LineCase{"an unknown action", "open\t0\t0\nhover\tEdit1\n",
                 "スクリプト 2 行目: 不明な操作です"},
        LineCase{"a column beyond the sheet", "open\t0\t35\n", "0 から 34"},
        LineCase{"a row that is no number", "open\tx\t0\n", "行「x」"},
        LineCase{"a missing text", "pick\tComboBox2\n", "フィールドは 2 個"},
        LineCase{"an answer that is neither yes nor no", "answer\tok\n", "yes か no"},
        LineCase{"a key the keypad does not have", "keypad\t1,5\n", "数字と「.」"},
        LineCase{"a calculator result that is no number", "calculator\tabc\n",
                 "数値ではありません"},
        LineCase{"a cable without size", "cable\t--group\tVV\n", "--size"},
        LineCase{"a cable option taken from the caller",
                 "cable\t--size\t8゜\t--method\t保護管配線\n", "--method"},
        LineCase{"a cable option given twice", "cable\t--size\t8゜\t--size\t14゜\n", "2 回"},
        LineCase{"text that is not UTF-8", "type\tEdit2\t\x82\xa0\n", "UTF-8"}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(ReplayScript, KeepsTextsAndLinesAsWritten) {
    const auto actions = parseReplayScript(
        "open\t3\t7\n\ntype\tEdit7\t照明 1\ncable\t--group\tVV\t--size\t8゜-2C\n");
    ASSERT_TRUE(actions.ok());
    ASSERT_EQ(actions->size(), 3u);
    EXPECT_EQ((*actions)[0].row, 3);
    EXPECT_EQ((*actions)[0].column, 7);
    EXPECT_EQ((*actions)[1].line, 3);
    EXPECT_EQ((*actions)[1].text, "照明 1");
    EXPECT_TRUE((*actions)[2].isAnswer());
    EXPECT_EQ((*actions)[2].cableOptions.size(), 2u);
}

}  // namespace
