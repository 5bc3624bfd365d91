// End-to-end runs of the sheet subcommands of wirelark-cli: recalc, check and tsv, on small
// sheets written by the tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "encoding.h"
#include "era.h"
#include "sheet_file.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace wirelark;
using namespace wirelark::testing;

namespace {

class SheetCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("wirelark-cli-") + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    fs::path path(const std::string& name) const { return m_dir / name; }

    // A sheet file from its lines in UTF-8, written in code page 932 as the program writes it.
    fs::path sheetFile(const std::string& name, const std::vector<std::string>& lines) const {
        std::string text;
        for (const std::string& l : lines)
            text += l + "\r\n";
        writeBytes(path(name), utf8ToCp932(text));
        return path(name);
    }

    CommandRun run(const std::vector<std::string>& args) const { return runCli(args, m_dir); }

    Sheet load(const fs::path& p) const {
        Sheet s = newSheet({2024, 6, 1});
        const Status st = loadSheetFile(s, p);
        EXPECT_TRUE(st.ok()) << (st.ok() ? "" : st.error().message);
        return s;
    }

  private:
    fs::path m_dir;
};

// Row line of 35 cells from (column, text) pairs.
std::string rowLine(const std::vector<std::pair<int, std::string>>& cells) {
    Row row;
    for (const auto& [c, text] : cells)
        row[static_cast<std::size_t>(c)] = text;
    return commaText(row);
}

// Feeder 1: a one-system residential feeder with branches of 30 A, 30 A and 20 A, its trunk
// currents still unsummed. Feeder 2: a single feeder whose breaker of 200 A is protected by a
// cable of 180 A. The heading: 50 Hz, 令和5年8月15日, Western year display, no page numbers.
std::vector<std::string> workedExample() {
    const std::string head = "-─▶┌";
    return {
        "28",
        "8",
        rowLine({{0, "1"},
                 {1, "L1"},
                 {2, "単相3線"},
                 {3, "100/200"},
                 {4, "100"},
                 {5, head},
                 {6, "30"},
                 {7, "L1"},
                 {8, "100"},
                 {10, "0.95"},
                 {11, "CV22"},
                 {12, "保護管配線"},
                 {13, "91"},
                 {14, "1.012"},
                 {17, "5"},
                 {20, "22"},
                 {24, "7"},
                 {30, "令和"},
                 {34, "4"}}),
        rowLine({{5, "┌─┘"},
                 {6, "3"},
                 {7, "分岐点"},
                 {13, "91"},
                 {14, "1.012"},
                 {20, "22"},
                 {22, "1"},
                 {34, "6"}}),
        rowLine({{5, "├─?"},
                 {6, "10"},
                 {7, "住戸 101"},
                 {9, "30"},
                 {13, "61"},
                 {14, "1.457"},
                 {22, "1"},
                 {34, "令和"}}),
        rowLine({{5, "│　"},
                 {6, "3"},
                 {7, "分岐間"},
                 {13, "91"},
                 {14, "1.012"},
                 {20, "22"},
                 {22, "1"}}),
        rowLine({{5, "├─?"}, {6, "10"}, {9, "30"}, {13, "61"}, {14, "1.457"}, {22, "1"}}),
        rowLine({{5, "│　"},
                 {6, "3"},
                 {7, "分岐間"},
                 {13, "91"},
                 {14, "1.012"},
                 {20, "22"},
                 {22, "1"}}),
        rowLine({{5, "└─?"}, {6, "10"}, {9, "20"}, {13, "61"}, {14, "1.457"}, {22, "1"}}),
        rowLine({}),
        rowLine({{0, "2"},     {1, "動力盤"}, {2, "三相3線"},       {3, "200"},  {4, "200"},
                 {5, "──?"},   {6, "20"},     {7, "ポンプ"},        {8, "200"},  {9, "150"},
                 {10, "0.8"},  {11, "CV60"},  {12, "気中暗渠配線"}, {13, "180"}, {14, "0.398"},
                 {15, "2.07"}, {17, "6"},     {20, "60"},           {23, "1"},   {24, "1"}}),
        "50",
        "5",
        "8",
        "15",
        "市営住宅　A棟",
        "令和",
    };
}

TEST_F(SheetCommands, RecalcSumsTheTrunkAndKeepsTheHeading) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const fs::path out = path("out.ksk");
    const CommandRun r =
        run({"recalc", in.string(), "-o", out.string(), "--supply", "transformer"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());

    const Sheet s = load(out);
    // Every trunk row carries the branch currents below it: 20, 50, then 80 at the first
    // branch point and at the head (three dwellings: demand factor 1.00).
    EXPECT_EQ(s.cell(5, col::designCurrent), "20");
    EXPECT_EQ(s.cell(3, col::designCurrent), "50");
    EXPECT_EQ(s.cell(1, col::designCurrent), "80");
    EXPECT_EQ(s.cell(0, col::designCurrent), "80");
    // Lengths from the feeder's origin.
    const char* cumulative[] = {"30", "33", "43", "36", "46", "39", "49"};
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(s.cell(row, col::cumulativeLength), cumulative[row]) << "row " << row;
    // The single feeder got its branch-protection verdict: 180 A against min(200, 180) A.
    EXPECT_EQ(s.cell(8, col::verdict), "〇：許容電流55%以上");
    EXPECT_EQ(s.cell(8, col::designCurrent), "150");  // a single feeder keeps its current

    EXPECT_EQ(s.heading.buildingName, "市営住宅　A棟");
    EXPECT_EQ(s.heading.eraLabel, "令和");
    EXPECT_EQ(s.heading.eraYear, "5");
    EXPECT_EQ(s.heading.month, "8");
    EXPECT_EQ(s.heading.day, "15");
    EXPECT_EQ(s.heading.eraName, "令和");
    EXPECT_EQ(s.settings.frequency, Frequency::Hz50);
    EXPECT_EQ(s.settings.yearDisplay, YearDisplay::Western);
    EXPECT_FALSE(s.settings.printPageNumbers);

    // The saved file is a finished sheet: recalculating it again changes nothing.
    const fs::path again = path("again.ksk");
    ASSERT_EQ(run({"recalc", out.string(), "-o", again.string()}).exitCode, 0);
    EXPECT_EQ(readBytes(again), readBytes(out));
}

TEST_F(SheetCommands, RecalcWritesFrequencyAndEraNameItCannotReadAsTheProgramHoldsThem) {
    std::vector<std::string> lines = {"20",   "0",   rowLine({{0, "1"}, {5, "──?"}, {34, "3"}}),
                                      "0",  // neither 60 nor 50 Hz
                                      "6",    "1",   "2",
                                      "本館", "令和"};
    const fs::path in = sheetFile("in.ksk", lines);
    const fs::path out = path("out.ksk");
    ASSERT_EQ(run({"recalc", in.string(), "-o", out.string()}).exitCode, 0);
    const std::vector<std::string> saved = splitLines(cp932ToUtf8(readBytes(out)));
    ASSERT_EQ(saved.size(), 9u);
    EXPECT_EQ(saved[3], "60");  // the program starts at 60 Hz
    EXPECT_EQ(saved[8], "令和");
}

TEST_F(SheetCommands, RecalcStopsAtACellThatIsNotANumberAndWritesNothing) {
    std::vector<std::string> lines = workedExample();
    lines[6] = rowLine({{5, "├─?"}, {6, "10m"}, {9, "30"}, {13, "61"}, {14, "1.457"}, {22, "1"}});
    const fs::path in = sheetFile("in.ksk", lines);
    const fs::path out = path("out.ksk");
    writeBytes(out, "the previous result");

    const CommandRun r = run({"recalc", in.string(), "-o", out.string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("5 行目"), std::string::npos) << r.err;  // row 4, counted from 1
    EXPECT_NE(r.err.find("10m"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    EXPECT_EQ(readBytes(out), "the previous result");
}

TEST_F(SheetCommands, DamagedFileIsRefusedByEveryCommand) {
    std::vector<std::string> lines = workedExample();
    lines.resize(lines.size() - 3);  // cut before the day, building name and era label
    const fs::path in = sheetFile("cut.ksk", lines);
    const fs::path out = path("out.ksk");
    const std::vector<std::vector<std::string>> commands = {
        {"recalc", in.string(), "-o", out.string()},
        {"check", in.string()},
        {"tsv", in.string()},
        {"tsv", in.string(), "--feeder", "1"},
    };
    for (const auto& args : commands) {
        const CommandRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_NE(r.err.find("途中で終わっています"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << args[0];
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(SheetCommands, WrongArgumentsAreRefusedWithTheUsage) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const std::vector<std::vector<std::string>> commands = {
        {"recalc", in.string()},        // no -o
        {"recalc", in.string(), "-o"},  // -o without a file
        {"recalc", in.string(), "-o", path("o.ksk").string(), "--supply", "own"},
        {"check"},                            // no input
        {"check", in.string(), in.string()},  // two inputs
        {"tsv", in.string(), "--feeder", "一"},
        {"tsv", in.string(), "--unknown"},
        {"check", path("missing.ksk").string()},
    };
    for (const auto& args : commands) {
        const CommandRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(path("o.ksk")));
}

TEST_F(SheetCommands, CheckListsEveryFindingAndExitsWithOne) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const CommandRun r = run({"check", in.string(), "--supply", "utility"});
    ASSERT_EQ(r.exitCode, 1) << r.err;
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    // Every line is a finding of the summary: a failing verdict or a drop above the allowable.
    std::size_t start = 0;
    for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = r.out.substr(start, end - start);
        EXPECT_TRUE(line.starts_with("エラー:　") || line.starts_with("電圧降下:　")) << line;
        EXPECT_TRUE(line.ends_with("　※確認してください。")) << line;
    }
}

TEST_F(SheetCommands, CheckOfASoundSheetSaysSo) {
    const fs::path in = sheetFile("good.ksk", {"20", "0",
                                               rowLine({{0, "1"},
                                                        {1, "L1"},
                                                        {2, "単相2線"},
                                                        {3, "100"},
                                                        {4, "30"},
                                                        {5, "──?"},
                                                        {6, "10"},
                                                        {7, "照明"},
                                                        {8, "30"},
                                                        {9, "20"},
                                                        {13, "40"},
                                                        {14, "1.5"},
                                                        {15, "0.60"},
                                                        {17, "3"}}),
                                               "60", "6", "1", "1", "本館", "令和"});
    const CommandRun r = run({"check", in.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "判定は良好です。\n");
}

TEST_F(SheetCommands, TsvCopiesTheWholeSheetWithItsTitleLine) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const CommandRun r = run({"tsv", in.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 1u + 9u);  // the title line and rows 0 to 8
    EXPECT_TRUE(lines[0].starts_with("幹線番号又は名称\t電気方式\t"));
    EXPECT_TRUE(lines[0].ends_with("許容電圧降下[V]\t"));
    EXPECT_EQ(lines[1].substr(0, lines[1].find("\t130")),
              "L1\t単相3線\t100/200\t100\t -─▶┌\t30\tL1\t100\t\t0.95\tCV22\t保護管配線\t91\t1.012"
              "\t\t\t5");
    EXPECT_EQ(lines[8], "\t\t\t\t \t\t\t\t\t\t\t\t\t\t\t\t");  // an empty row: empty fields
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
    EXPECT_EQ(r.out.find("\n"), r.out.find("\r\n") + 1);
}

TEST_F(SheetCommands, TsvCopiesOneFeederWithoutTheTitleLine) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const CommandRun r = run({"tsv", in.string(), "--feeder", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "動力盤\t三相3線\t200\t200\t ──▶\t20\tポンプ\t200\t150\t0.8\tCV60\t気中暗渠配線\t180"
              "\t0.398\t2.07\t\t6\r\n");

    const CommandRun first = run({"tsv", in.string(), "--feeder", "1"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(splitLines(first.out).size(), 7u);  // the head row and six tree rows
}

TEST_F(SheetCommands, TsvRefusesANumberNoFeederCarries) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const CommandRun r = run({"tsv", in.string(), "--feeder", "3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("No. 3"), std::string::npos) << r.err;
}

}  // namespace

TEST_F(SheetCommands, HelpAndVersionAnswerOnStandardOutputAndRunNothing) {
    const fs::path in = sheetFile("in.ksk", workedExample());
    const std::string out = path("out.ksk").string();
    struct Case {
        const char* meaning;
        std::vector<std::string> args;
        int exitCode;
        std::string stdoutStart;  // empty: nothing on standard output
        std::string stderrHas;    // empty: nothing on standard error
    };
    const std::string overview = "使い方: wirelark-cli <サブコマンド>";
    const Case cases[] = {
        {"version", {"--version"}, 0, std::string("wirelark-cli ") + WIRELARK_VERSION + "\n", ""},
        {"overview", {"--help"}, 0, overview, ""},
        {"overview, short option", {"-h"}, 0, overview, ""},
        {"no subcommand is an error", {}, 2, "", overview},
        {"unknown subcommand",
         {"recalculate", in.string()},
         2,
         "",
         "不明なサブコマンドです: recalculate"},
        {"an option is no subcommand", {"--verbose"}, 2, "", "不明なサブコマンドです: --verbose"},
        {"help of one subcommand", {"check", "--help"}, 0, "使い方: wirelark-cli check", ""},
        {"help among real arguments writes no file",
         {"recalc", in.string(), "-o", out, "--help"},
         0,
         "使い方: wirelark-cli recalc",
         ""},
        {"help of the cable selection", {"cable", "-h"}, 0, "使い方: wirelark-cli cable", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        const CommandRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        if (c.stdoutStart.empty())
            EXPECT_EQ(r.out, "");
        else
            EXPECT_EQ(r.out.substr(0, c.stdoutStart.size()), c.stdoutStart) << r.out;
        if (c.stderrHas.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.stderrHas), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

// The command copied alone into a folder: every subcommand but pdf and xlsx runs without the
// output module, and those two say which file is missing instead of failing to start.
TEST_F(SheetCommands, OnlyPdfAndXlsxNeedTheOutputModule) {
    const fs::path alone = path("alone") / "wirelark-cli";
    fs::create_directories(alone.parent_path());
    fs::copy_file(WIRELARK_CLI, alone);
    const fs::path sheet = sheetFile("in.ksk", workedExample());
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* stderrHas;
    };
    const Case cases[] = {
        {{"recalc", sheet.string(), "-o", path("out.ksk").string()}, 0, ""},
        {{"tsv", sheet.string()}, 0, ""},
        {{"pdf", sheet.string(), "-o", path("out.pdf").string()},
         2,
         "印刷・ブック出力のモジュールが見つかりません: "},
        {{"xlsx", sheet.string(), "-o", path("out.xlsx").string()}, 2, "wirelark-cli-output"},
    };
    for (const Case& c : cases) {
        std::string command = shellQuoted(alone.string());
        for (const std::string& a : c.args)
            command += " " + shellQuoted(a);
        command += " >" + shellQuoted(path("stdout").string()) + " 2>" +
                   shellQuoted(path("stderr").string());
        const int status = std::system(command.c_str());
        const std::string err = readBytes(path("stderr"));
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.exitCode) << c.args[0] << err;
        if (*c.stderrHas == '\0')
            EXPECT_EQ(err, "") << c.args[0];
        else
            EXPECT_NE(err.find(c.stderrHas), std::string::npos) << c.args[0] << ": " << err;
    }
    EXPECT_FALSE(fs::exists(path("out.pdf")));
    EXPECT_FALSE(fs::exists(path("out.xlsx")));
}
