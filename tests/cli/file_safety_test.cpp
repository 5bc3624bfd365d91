// End-to-end runs of wirelark-cli against what its outputs and inputs may be: links, files of
// other users' modes, devices, pipes, folders, leftovers of killed saves, a full disk and a
// closed pipe on standard output, and files that are damaged or not text at all.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "encoding.h"
#include "sheet_file.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace wirelark;
using namespace wirelark::testing;

namespace {

// A sheet of two single feeders with every printed number in place.
std::vector<std::string> soundSheetLines() {
    const auto row = [](const std::string& number, const std::string& name,
                        const std::string& load) {
        Row r;
        r[col::number] = number;
        r[col::name] = name;
        r[col::system] = "単相2線";
        r[col::voltage] = "100";
        r[col::breaker] = "30";
        r[col::glyph] = "──▶";
        r[col::length] = "10";
        r[col::loadName] = load;
        r[col::mainBreaker] = "30";
        r[col::designCurrent] = "20";
        r[col::powerFactor] = "0.95";
        r[col::cable] = "CV 5.5sq-2C";
        r[col::method] = "気中暗渠配線";
        r[col::allowableCurrent] = "40";
        r[col::impedance] = "1.5";
        r[col::singleDrop] = "0.60";
        r[col::allowableDrop] = "3";
        r[col::blockRows] = "1";
        r[col::feederNumber] = number;
        return commaText(r);
    };
    return {
        "21",   "1",   row("1", "L1", "照明"), row("2", "L2", "コンセント"), "60", "6", "1", "1",
        "本館", "令和"};
}

std::string cp932Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return utf8ToCp932(text);
}

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

bool isRoot() {
    return ::geteuid() == 0;
}

// A device node of the test's own where the system allows it; elsewhere /dev/null, which an
// ordinary user could not replace anyway.
fs::path deviceNode(const fs::path& folder) {
    if (isRoot() && ::mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return folder / "null";
    return "/dev/null";
}

class FileSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder = std::make_unique<TempFolder>("wirelark-cli-");
        writeBytes(input(), cp932Text(soundSheetLines()));
        fs::create_directories(out());
    }
    fs::path input() const { return m_folder->path() / "in.ksk"; }
    // The folder the outputs go to, apart from the input and the caught streams.
    fs::path out() const { return m_folder->path() / "out"; }
    fs::path folder() const { return m_folder->path(); }

  private:
    std::unique_ptr<TempFolder> m_folder;
};

// Every command that writes a file, with the name of its output.
struct Writer {
    const char* name;
    std::vector<std::string> args;  // before "-o OUT"
    const char* extension;
};

std::vector<Writer> writers(const fs::path& in) {
    return {
        {"recalc", {"recalc", in.string()}, ".ksk"},
        {"pdf", {"pdf", in.string()}, ".pdf"},
        {"xlsx", {"xlsx", in.string()}, ".xlsx"},
        {"xlsx --by-feeder", {"xlsx", in.string(), "--by-feeder"}, ".xlsx"},
        {"replay", {"replay", in.string(), "/dev/null"}, ".ksk"},
    };
}

std::vector<std::string> withOutput(std::vector<std::string> args, const fs::path& output) {
    args.push_back("-o");
    args.push_back(output.string());
    return args;
}

struct TargetCase {
    const char* meaning;
    // Prepares the output folder for a file named `name`; returns what -o names.
    std::function<fs::path(const fs::path& folder, const std::string& name)> setUp;
    // Where the new file must be (relative to the folder); empty: -o as given.
    std::string written;
    mode_t mode;  // permission bits the written file must keep; 0: not checked
};

TEST_F(FileSafety, EveryOutputReplacesTheFileThePathNamesAndKeepsItsSetUp) {
    const TargetCase cases[] = {
        {"a new file", [](const fs::path& d, const std::string& n) { return d / n; }, "", 0},
        {"a symbolic link: its file is replaced and the link stays",
         [](const fs::path& d, const std::string& n) {
             fs::create_directories(d / "real");
             writeBytes(d / "real" / n, "old");
             fs::create_symlink("real/" + n, d / ("link-" + n));
             return d / ("link-" + n);
         },
         "real/", 0},
        {"a target only its owner may read stays mode 600",
         [](const fs::path& d, const std::string& n) {
             writeBytes(d / n, "old");
             ::chmod((d / n).c_str(), 0600);
             return d / n;
         },
         "", 0600},
        {"temporary files left by killed saves do not block the save",
         [](const fs::path& d, const std::string& n) {
             writeBytes(d / n, "old");
             for (int i = 0; i < 100; ++i)
                 writeBytes(d / (n + ".tmp" + std::to_string(i)), "left over");
             writeBytes(d / ("." + n + ".0123456789.tmp"), "left over");
             return d / n;
         },
         "", 0},
    };
    for (const Writer& w : writers(input())) {
        for (const TargetCase& c : cases) {
            fs::remove_all(out());
            fs::create_directories(out());
            const std::string name = std::string("sheet") + w.extension;
            const fs::path target = c.setUp(out(), name);
            std::set<std::string> before = entries(out());
            const CommandRun r = runCli(withOutput(w.args, target), folder());
            ASSERT_EQ(r.exitCode, 0) << w.name << ", " << c.meaning << ": " << r.err;
            EXPECT_TRUE(r.err.empty()) << w.name << ", " << c.meaning << ": " << r.err;
            const fs::path written = c.written.empty() ? target : out() / (c.written + name);
            const std::string bytes = readBytes(written);
            EXPECT_NE(bytes, "old") << w.name << ", " << c.meaning;
            EXPECT_FALSE(bytes.empty()) << w.name << ", " << c.meaning;
            if (written != target) {
                EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target)))
                    << w.name << ", " << c.meaning;
            }
            if (c.mode != 0) {
                struct stat st {};
                ASSERT_EQ(::stat(written.c_str(), &st), 0);
                EXPECT_EQ(st.st_mode & 07777, c.mode) << w.name << ", " << c.meaning;
            }
            // Nothing was added beside the file, and the leftovers are the user's business.
            before.insert(target.filename().string());
            EXPECT_EQ(entries(out()), before) << w.name << ", " << c.meaning;
        }
    }
}

struct RefusedTargetCase {
    const char* meaning;
    std::function<fs::path(const fs::path& folder)> setUp;
    const char* saying;
};

TEST_F(FileSafety, ATargetThatIsNoRegularFileIsRefusedAndLeftAlone) {
    const RefusedTargetCase cases[] = {
        {"a device, named through a link",
         [](const fs::path& d) {
             fs::create_symlink(deviceNode(d), d / "device");
             return d / "device";
         },
         "デバイスです"},
        {"a named pipe, which nobody reads",
         [](const fs::path& d) {
             ::mkfifo((d / "pipe").c_str(), 0644);
             return d / "pipe";
         },
         "名前付きパイプです"},
        {"a folder",
         [](const fs::path& d) {
             fs::create_directories(d / "folder");
             return d / "folder";
         },
         "フォルダーです"},
        {"a folder that is not there", [](const fs::path& d) { return d / "missing" / "x"; },
         "保存先のフォルダーがありません"},
        {"a name longer than the system allows",
         [](const fs::path& d) { return d / std::string(300, 'n'); }, "名前が長すぎます"},
    };
    for (const Writer& w : writers(input())) {
        for (const RefusedTargetCase& c : cases) {
            fs::remove_all(out());
            fs::create_directories(out());
            const fs::path target = c.setUp(out());
            const std::set<std::string> before = entries(out());
            std::error_code ec;
            const auto kind = fs::status(target, ec).type();
            const CommandRun r = runCli(withOutput(w.args, target), folder());
            EXPECT_EQ(r.exitCode, 2) << w.name << ", " << c.meaning;
            EXPECT_NE(r.err.find(c.saying), std::string::npos)
                << w.name << ", " << c.meaning << ": " << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
            EXPECT_EQ(entries(out()), before) << w.name << ", " << c.meaning;
            EXPECT_EQ(fs::status(target, ec).type(), kind) << w.name << ", " << c.meaning;
        }
        // An empty -o is refused as a missing one, by every command alike.
        const CommandRun r = runCli(withOutput(w.args, ""), folder());
        EXPECT_EQ(r.exitCode, 2) << w.name;
        EXPECT_EQ(r.err.rfind("出力ファイルを -o で指定してください。", 0), 0u)
            << w.name << ": " << r.err;
    }
}

TEST_F(FileSafety, StandardOutputThatLosesTheTextIsAnError) {
    // A sheet long enough that its text cannot sit in a pipe's buffer.
    std::vector<std::string> lines = soundSheetLines();
    std::vector<std::string> big = {"3020", "2999"};
    for (int i = 0; i < 1500; ++i) {
        big.push_back(lines[2]);
        big.push_back(lines[3]);
    }
    big.insert(big.end(), lines.begin() + 4, lines.end());
    writeBytes(folder() / "big.ksk", cp932Text(big));
    const std::vector<std::vector<std::string>> commands = {
        {"tsv", (folder() / "big.ksk").string()},
        {"tsv", input().string(), "--feeder", "1"},
        {"check", input().string()},
        {"cable", "--group", "600V CV及びEM 600V CE/F単心 S＝俵積み", "--size", "38゜"},
        {"replay", input().string(), (folder() / "open-close.txt").string()},
    };
    writeBytes(folder() / "open-close.txt", "open\t0\t0\nclose\n");
    for (const auto& args : commands) {
        const CommandRun full = runCli(args, folder(), "/dev/full");
        EXPECT_EQ(full.exitCode, 2) << args[0];
        EXPECT_EQ(full.err, "標準出力に書き込めません。ディスクの空き容量が足りません。\n")
            << args[0];
    }
    const CommandRun closed = runCliIntoClosedPipe(commands[0], folder());
    EXPECT_EQ(closed.exitCode, 2);
    EXPECT_EQ(closed.err, "標準出力に書き込めません。出力先が閉じられています。\n");
}

struct InputCase {
    const char* meaning;
    std::function<std::string()> bytes;
    std::vector<std::string> commands;  // subcommands run on it; "xlsx-f" is xlsx --by-feeder
    const char* saying;
};

TEST_F(FileSafety, DamagedOrForeignInputsAreRefusedQuicklyWithAShortSafeLine) {
    const InputCase cases[] = {
        {"a building name of 2 MB",
         [] {
             std::vector<std::string> l = soundSheetLines();
             l[8] = std::string(2'000'000, 'x');
             return cp932Text(l);
         },
         {"pdf", "xlsx", "check"},
         "の 9 行目「建物名称」が長すぎます（2000000 文字、上限 1000 文字）。"},
        {"column 24 at 99999999",
         [] {
             std::vector<std::string> l = soundSheetLines();
             Row r;
             splitCommaText(l[3], r);
             r[col::blockRows] = "99999999";
             l[3] = commaText(r);
             return cp932Text(l);
         },
         {"xlsx", "xlsx-f", "pdf"},
         "2 行目「幹線の行数」の「99999999」はシートの行数を超えています"},
        {"a first line of 1 MB with terminal escape sequences",
         [] { return "\x1b]0;pwned\a\x1b[2J" + std::string(1 << 20, 'A') + "\r\n3\r\n"; },
         {"check", "tsv", "recalc", "pdf", "xlsx"},
         "の 1 行目「?]0;pwned??[2JAAAAAAAAAAAAAAAAAAAAAAAAAA…」はシートの行数ではありません。"},
        {"bytes that are not code page 932",
         [] {
             std::string b = cp932Text(soundSheetLines());
             return b.replace(b.find(utf8ToCp932("照明")), 2, "\x81\x20");
         },
         {"check", "tsv"},
         "の 3 行目にコードページ 932（シフトJIS）の文字ではないバイト 0x81 0x20 があります。"},
    };
    for (const InputCase& c : cases) {
        const fs::path in = folder() / "damaged.ksk";
        writeBytes(in, c.bytes());
        for (const std::string& command : c.commands) {
            std::vector<std::string> args = {command == "xlsx-f" ? "xlsx" : command, in.string()};
            if (command == "xlsx-f")
                args.push_back("--by-feeder");
            if (command == "recalc" || command == "pdf" || command.starts_with("xlsx"))
                args = withOutput(args, out() / "result");
            const CommandRun r = runCli(args, folder());
            EXPECT_EQ(r.exitCode, 2) << c.meaning << ", " << command;
            EXPECT_NE(r.err.find(c.saying), std::string::npos)
                << c.meaning << ", " << command << ": " << r.err.substr(0, 400);
            EXPECT_LT(r.err.size(), 400u) << c.meaning << ", " << command;
            EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << c.meaning << ", " << command;
            EXPECT_TRUE(r.out.empty()) << c.meaning << ", " << command;
            EXPECT_FALSE(fs::exists(out() / "result")) << c.meaning << ", " << command;
        }
    }
}

TEST_F(FileSafety, AUtf8SheetFromAnotherEditorIsReadAsUtf8AndSavedInCodePage932) {
    std::string utf8;
    for (const std::string& l : soundSheetLines())
        utf8 += l + "\r\n";
    writeBytes(folder() / "utf8.ksk", utf8);
    const CommandRun tsv =
        runCli({"tsv", (folder() / "utf8.ksk").string(), "--feeder", "2"}, folder());
    ASSERT_EQ(tsv.exitCode, 0) << tsv.err;
    EXPECT_NE(tsv.out.find("\tコンセント\t"), std::string::npos) << tsv.out;

    const CommandRun recalc =
        runCli({"recalc", (folder() / "utf8.ksk").string(), "-o", (out() / "saved.ksk").string()},
               folder());
    ASSERT_EQ(recalc.exitCode, 0) << recalc.err;
    const std::string saved = readBytes(out() / "saved.ksk");
    EXPECT_NE(saved.find(utf8ToCp932("コンセント")), std::string::npos);
    EXPECT_EQ(saved.find("コンセント"), std::string::npos);  // not left in UTF-8
}

}  // namespace
