// End-to-end runs of `wirelark-cli replay`: scripts of the engineer's actions on the feeder
// dialog, the lines the dialogs show, the sheet saved at the end, and the refusals of a script.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "era.h"
#include "sheet.h"
#include "sheet_file.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace wirelark;
using namespace wirelark::testing;

namespace {

struct CommandRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

const std::string kCvSingleCore = "600V CV及びEM 600V CE/F単心 S＝俵積み";

class Replay : public ::testing::Test {
  protected:
    TempFolder dir{"wirelark-replay-"};

    // The sheet the program saves with an existing motor feeder in row 0 and a residential
    // feeder's head row in row 2.
    fs::path inputSheet() const {
        Sheet s = newSheet({2024, 6, 1});
        const std::vector<std::pair<int, std::string>> motor = {
            {col::number, "1"},          {col::name, "P-3"},
            {col::system, "三相3線"},    {col::voltage, "200"},
            {col::breaker, "250"},       {col::glyph, "──▶"},
            {col::length, "61"},         {col::loadName, "照明"},
            {col::mainBreaker, "250"},   {col::designCurrent, "250"},
            {col::powerFactor, "0.8"},   {col::cable, "EM-FP100゜"},
            {col::method, "保護管配線"}, {col::allowableCurrent, "315"},
            {col::impedance, "0.241"},   {col::singleDrop, "6.37"},
            {col::allowableDrop, "8"},   {col::sizeKey, "100"},
            {col::feederNumber, "1"}};
        for (const auto& [c, text] : motor)
            s.setCell(0, c, text);
        s.setCell(2, col::number, "2");
        s.setCell(2, col::glyph, std::string(glyph::head));
        s.setCell(2, col::feederNumber, "2");
        EXPECT_TRUE(saveSheetFile(s, dir / "in.ksk").ok());
        return dir / "in.ksk";
    }

    CommandRun replay(const std::string& script, std::vector<std::string> args) const {
        writeBytes(dir / "script.txt", script);
        std::string command = shellQuoted(WIRELARK_CLI) + " replay";
        for (const std::string& a : args)
            command += " " + shellQuoted(a);
        command += " " + shellQuoted((dir / "script.txt").string());
        command += " >" + shellQuoted((dir / "stdout").string()) + " 2>" +
                   shellQuoted((dir / "stderr").string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(dir / "stdout"),
                readBytes(dir / "stderr")};
    }

    Sheet load(const fs::path& p) const {
        Sheet s = newSheet({2024, 6, 1});
        const Status st = loadSheetFile(s, p);
        EXPECT_TRUE(st.ok()) << (st.ok() ? "" : st.error().message);
        return s;
    }
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Replay, SingleFeederFromTheCalculatorIsWrittenAndReported) {
    const std::string out = (dir / "out.ksk").string();
    const CommandRun r = replay(
        "# 照明の単独幹線\n"
        "open\t0\t1\n"
        "type\tEdit2\tL-1\n"
        "calculator\t27.3\n"
        "click\tButton2\n"
        "pick\tComboBox5\t25\n"
        "cable\t--group\t" +
            kCvSingleCore +
            "\t--size\t8゜\n"
            "click\tButton11\n"
            "type\tEdit7\t照明\n"
            "click\tButton4\n",
        {"-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("TForm2\tconfirmed\nmode\tsingle\nEdit1\t1\nEdit2\tL-1\n"));
    for (const char* line : {"\nEdit10\t2.845\n", "\nLabel56\tR\n", "\nLabel60\t1.92\n",
                             "\nEdit5\t27\n", "\nComboBox11\t30\n", "\nLabel40\t計算電流値:27 A\n",
                             "\nsupply\ttransformer\npatan\t1\nkeitou\t1\n"})
        EXPECT_TRUE(contains(r.out, line)) << line;
    const Sheet s = load(out);
    EXPECT_EQ(s.cell(0, col::number), "1");
    EXPECT_EQ(s.cell(0, col::glyph), "──▶");
    EXPECT_EQ(s.cell(0, col::cable), "CV8゜");
    EXPECT_EQ(s.cell(0, col::designCurrent), "27");
    EXPECT_EQ(s.cell(0, col::verdict), "〇：許容電流55%以上");
}

TEST_F(Replay, TwoSystemResidentialFeederIsLaidOut) {
    const std::string out = (dir / "out.ksk").string();
    const CommandRun r = replay(
        "open\t0\t0\nclick\tButton1\nclick\tRadioButton4\npick\tComboBox17\t4\n"
        "pick\tComboBox15\t50\npick\tComboBox1\t5\npick\tComboBox10\t30\n"
        "cable\t--group\t600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F\t--size\t150゜\n"
        "click\tButton11\nclick\tButton4\n",
        {"-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* line : {"\nmode\tresidential\n", "\nEdit3\t329\n", "\nComboBox9\t350\n",
                             "\npatan\t2\nkeitou\t2\n"})
        EXPECT_TRUE(contains(r.out, line)) << line;
    const Sheet s = load(out);
    EXPECT_EQ(s.cell(0, col::glyph), "-─▶┌");
    EXPECT_EQ(s.cell(0, col::blockRows), "19");
    EXPECT_EQ(s.cell(18, col::glyph), "└─▶");
    EXPECT_EQ(s.cell(18, col::feederNumber), "1");
}

TEST_F(Replay, ABranchOfTheNewBlockIsChangedInTheBranchDialog) {
    const std::string out = (dir / "out.ksk").string();
    const CommandRun r = replay(
        "open\t0\t0\nclick\tButton1\npick\tComboBox1\t3\npick\tComboBox10\t30\n"
        "cable\t--group\t600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F\t--size\t150゜\n"
        "click\tButton11\nclick\tButton4\n"
        "open\t2\t6\npick\tComboBox6\t8\ncable\t--group\t" +
            kCvSingleCore +
            "\t--size\t14゜\n"
            "click\tButton11\nclick\tButton4\n",
        {"-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* line :
         {"\nTForm4\tconfirmed\nEdit1\tL1\n", "\nEdit4\t├─▶\n", "\nEdit10\tCV14゜\n"})
        EXPECT_TRUE(contains(r.out, line)) << line;
    const Sheet s = load(out);
    EXPECT_EQ(s.cell(2, col::length), "8");
    EXPECT_EQ(s.cell(2, col::cable), "CV14゜");
    // The block was recalculated: the branch's own length counts from the head's 30 m and the
    // first trunk piece of 3 m.
    EXPECT_EQ(s.cell(2, col::cumulativeLength), "41");
}

TEST_F(Replay, CancelledEditKeepsTheSheetAndTheFrequencyChoiceApplies) {
    const fs::path in = inputSheet();
    const std::string out = (dir / "out.ksk").string();
    const CommandRun r = replay(
        "open\t0\t6\npick\tComboBox5\t80\n"
        "cable\t--group\t" +
            kCvSingleCore +
            "\t--size\t150゜\n"
            "click\tButton11\nclick\tButton5\n"
            "open\t4\t0\nclose\n",
        {in.string(), "-o", out, "--freq", "50"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("TForm2\tcancelled\nmode\tsingle\nEdit1\t1\nEdit2\tP-3\n"));
    EXPECT_TRUE(contains(r.out, "\nLabel57\t0.0846\n"));  // X of CV150゜ at 50 Hz
    EXPECT_TRUE(contains(r.out, "\nTForm2\tcancelled\nmode\tsingle\nEdit1\t1\n"));
    const Sheet before = load(in);
    const Sheet after = load(out);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(after.row(row), before.row(row)) << "row " << row;
    EXPECT_EQ(after.settings.frequency, Frequency::Hz50);
}

TEST_F(Replay, QuestionsAndBoxesAreShownWithTheAnswerTaken) {
    const CommandRun r = replay(
        "open\t0\t0\ntype\tComboBox4\t60\ntype\tComboBox5\t5\n"
        "cable\t--group\t" +
            kCvSingleCore +
            "\t--size\t3.5゜\n"
            "cable\t--group\t" +
            kCvSingleCore +
            "\t--size\t5.5゜\n"
            "click\tButton11\nanswer\tno\nclick\tButton4\n",
        {});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(
        "info\tケーブル(CV3.5゜)の許容電流が設計電流値(50A)より小さいので変更してください。\n"
        "question\t遮断機定格電流 60Ａ が電線許容電流値より大きいですが、修正しますか？。\tno\n"
        "TForm2\tconfirmed\n"));
}

struct ScriptErrorCase {
    const char* meaning;
    const char* script;
    const char* line;  // the line the message names
};

class ReplayScriptErrors : public Replay, public ::testing::WithParamInterface<ScriptErrorCase> {};

TEST_P(ReplayScriptErrors, ExitTwoNameTheLineAndWriteNoFile) {
    const fs::path in = inputSheet();
    const std::string out = (dir / "out.ksk").string();
    const CommandRun r = replay(GetParam().script, {in.string(), "-o", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, std::string("スクリプト ") + GetParam().line + " 行目")) << r.err;
    EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Replay, ReplayScriptErrors,
    ::testing::Values(
        ScriptErrorCase{"pick of an item not listed", "open\t1\t0\npick\tComboBox2\t三相5線\n",
                        "2"},
        ScriptErrorCase{"cable table opened with no answer", "open\t1\t0\nclick\tButton11\n", "2"},
        ScriptErrorCase{"answer of the wrong kind", "open\t1\t0\nkeypad\t5\nclick\tButton11\n",
                        "3"},
        ScriptErrorCase{"answers left over", "open\t1\t0\nclose\nanswer\tyes\n", "3"},
        ScriptErrorCase{"a size the cable group does not have",
                        "open\t1\t0\ncable\t--group\tVV\t--size\t999゜\nclick\tButton11\n", "2"},
        ScriptErrorCase{"a dialog action with no dialog open", "click\tButton4\n", "1"},
        ScriptErrorCase{"open while a dialog is open", "open\t1\t0\nopen\t1\t0\n", "2"},
        ScriptErrorCase{"a label of the branch dialog is not clicked",
                        "open\t2\t6\nclick\tLabel10\n", "2"},
        ScriptErrorCase{"a row beyond the grid", "open\t5000\t0\n", "1"},
        ScriptErrorCase{"an unknown action", "open\t1\t0\nwait\t5\n", "2"}),
    [](const auto& p) {
        std::string name;
        for (const char* c = p.param.meaning; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST_F(Replay, ScriptFromStandardInputAndADialogLeftOpen) {
    writeBytes(dir / "script.txt", "open\t0\t0\nclick\tButton1\n");
    const std::string command = shellQuoted(WIRELARK_CLI) + " replay - <" +
                                shellQuoted((dir / "script.txt").string()) + " >" +
                                shellQuoted((dir / "stdout").string());
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string out = readBytes(dir / "stdout");
    EXPECT_TRUE(out.starts_with("TForm2\topen\nmode\tresidential\n"));
    EXPECT_TRUE(out.ends_with("patan\t0\nkeitou\t1\n"));
}

}  // namespace
