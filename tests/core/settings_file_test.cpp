#include "settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "encoding.h"

#include "test_files.h"

using namespace wirelark;
namespace fs = std::filesystem;
using namespace wirelark::testing;

namespace {

TEST(SettingsFileWriting, FourLinesOfOptionCodesAndTheEraName) {
    struct Case {
        const char* meaning;
        SheetSettings settings;
        const char* eraName;
        const char* text;
    };
    const Case cases[] = {
        {"50 Hz, Western year, Heisei, no page numbers",
         {Frequency::Hz50, YearDisplay::Western, false},
         "平成",
         "2\r\n平成\r\n4\r\n6\r\n"},
        {"the defaults", {}, "令和", "1\r\n令和\r\n3\r\n5\r\n"},
        {"empty era name keeps its line", {}, "", "1\r\n\r\n3\r\n5\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settingsFileText(c.settings, c.eraName), c.text) << c.meaning;
}

TEST(SettingsFileWriting, WritesCodePage932AndReadsBack) {
    TempFolder dir;
    const SheetSettings settings{Frequency::Hz50, YearDisplay::Western, false};
    ASSERT_TRUE(writeSettingsFile(dir / "set.ini", settings, "平成").ok());
    EXPECT_EQ(readBytes(dir / "set.ini"), utf8ToCp932("2\r\n平成\r\n4\r\n6\r\n"));

    auto content = readSettingsFile(dir / "set.ini");
    ASSERT_TRUE(content.ok());
    SheetSettings back;
    HeadingFields heading;
    applySettings(*content, back, heading);
    EXPECT_EQ(back.frequency, Frequency::Hz50);
    EXPECT_EQ(back.yearDisplay, YearDisplay::Western);
    EXPECT_FALSE(back.printPageNumbers);
    EXPECT_EQ(heading.eraName, "平成");
}

TEST(SettingsFileWriting, CreatesTheConfigurationFolder) {
    TempFolder dir;
    const fs::path path = dir / "config" / "wirelark" / "set.ini";
    ASSERT_TRUE(writeSettingsFile(path, {}, "令和").ok());
    EXPECT_TRUE(fs::exists(path));
}

TEST(SettingsFileWriting, EraNameWithALineBreakCannotShiftTheLines) {
    EXPECT_EQ(settingsFileText({}, "令\r\n和"), "1\r\n令  和\r\n3\r\n5\r\n");
}

TEST(SettingsFileReading, LinesAreComparedWholeAndExactly) {
    struct Case {
        const char* meaning;
        const char* text;
        Frequency frequency;
        YearDisplay display;
        bool pages;
    };
    // Start from the opposite of what each file would select, so a change shows.
    const Case cases[] = {
        {"\"60\" is not the code of 60 Hz", "60\r\n令和\r\n3\r\n5\r\n", Frequency::Hz50,
         YearDisplay::Era, true},
        {"codes select", "1\r\n令和\r\n3\r\n5\r\n", Frequency::Hz60, YearDisplay::Era, true},
        {"a blank after the code is another text", "1 \r\n令和\r\n3 \r\n5 \r\n", Frequency::Hz50,
         YearDisplay::Western, false},
        {"swapped codes change nothing", "3\r\n令和\r\n1\r\n2\r\n", Frequency::Hz50,
         YearDisplay::Western, false},
    };
    for (const Case& c : cases) {
        SheetSettings s{Frequency::Hz50, YearDisplay::Western, false};
        HeadingFields h;
        applySettings(*parseSettingsFile(utf8ToCp932(c.text)), s, h);
        EXPECT_EQ(s.frequency, c.frequency) << c.meaning;
        EXPECT_EQ(s.yearDisplay, c.display) << c.meaning;
        EXPECT_EQ(s.printPageNumbers, c.pages) << c.meaning;
    }
}

TEST(SettingsFileReading, FewerThanFourLinesApplyTheLinesThereAre) {
    SheetSettings s{Frequency::Hz60, YearDisplay::Era, true};
    HeadingFields h;
    h.eraName = "令和";
    applySettings(*parseSettingsFile(utf8ToCp932("2\r\n平成\r\n")), s, h);
    EXPECT_EQ(s.frequency, Frequency::Hz50);
    EXPECT_EQ(h.eraName, "平成");
    EXPECT_EQ(s.yearDisplay, YearDisplay::Era);
    EXPECT_TRUE(s.printPageNumbers);

    applySettings(*parseSettingsFile("1"), s, h);  // no line end after the only line
    EXPECT_EQ(s.frequency, Frequency::Hz60);
    EXPECT_EQ(h.eraName, "平成");
}

TEST(SettingsFileReading, EmptyEraNameLineEmptiesTheEraName) {
    SheetSettings s;
    HeadingFields h;
    h.eraName = "令和";
    applySettings(*parseSettingsFile(utf8ToCp932("1\r\n\r\n3\r\n5\r\n")), s, h);
    EXPECT_EQ(h.eraName, "");
}

TEST(SettingsFileReading, MissingFileSaysNothing) {
    TempFolder dir;
    auto content = readSettingsFile(dir / "set.ini");
    ASSERT_TRUE(content.ok());
    SheetSettings s{Frequency::Hz50, YearDisplay::Western, false};
    HeadingFields h;
    h.eraName = "平成";
    applySettings(*content, s, h);
    EXPECT_EQ(s.frequency, Frequency::Hz50);
    EXPECT_EQ(s.yearDisplay, YearDisplay::Western);
    EXPECT_FALSE(s.printPageNumbers);
    EXPECT_EQ(h.eraName, "平成");
}

TEST(SettingsFileReading, HonoursAUtf8ByteOrderMark) {
    TempFolder dir;
    writeBytes(dir / "set.ini",
               "\xEF\xBB\xBF"
               "2\r\n平成\r\n4\r\n6\r\n");
    auto content = readSettingsFile(dir / "set.ini");
    ASSERT_TRUE(content.ok());
    EXPECT_EQ(content->frequency, Frequency::Hz50);
    EXPECT_EQ(content->eraName, "平成");
}

TEST(SettingsFileLocation, BesideTheProgramWhenItsFolderIsWritableAndNoSystemFolder) {
    struct Case {
        const char* meaning;
        const char* folder;
        const char* path;
    };
    const Case cases[] = {
        {"a folder of its own", "/opt/wirelark/bin", "/opt/wirelark/bin/set.ini"},
        {"a build folder", "/home/u/wirelark/build/dev/src/app",
         "/home/u/wirelark/build/dev/src/app/set.ini"},
        {"installed, run by root", "/usr/bin", "/home/u/.cfg/wirelark/set.ini"},
        {"installed by hand, run by root", "/usr/local/bin", "/home/u/.cfg/wirelark/set.ini"},
        {"a folder merely named like one", "/usrdata/bin", "/usrdata/bin/set.ini"},
    };
    const ConfigFolders folders{"/home/u/.cfg", "/home/u"};
    for (const Case& c : cases)
        EXPECT_EQ(settingsFilePath(c.folder, true, folders), fs::path(c.path)) << c.meaning;
}

TEST(SettingsFileLocation, InTheUsersConfigurationFolderOtherwise) {
    struct Case {
        const char* meaning;
        ConfigFolders folders;
        const char* path;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", {"/home/u/.cfg", "/home/u"}, "/home/u/.cfg/wirelark/set.ini"},
        {"~/.config without XDG_CONFIG_HOME", {"", "/home/u"}, "/home/u/.config/wirelark/set.ini"},
        {"nowhere else to go", {"", ""}, "/usr/bin/set.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settingsFilePath("/usr/bin", false, c.folders), fs::path(c.path)) << c.meaning;
}

TEST(SettingsFileLocation, WritableFolderIsRecognised) {
    TempFolder dir;
    EXPECT_TRUE(isWritableFolder(dir / ""));
    EXPECT_FALSE(isWritableFolder(dir / "no-such-folder"));
}

}  // namespace

namespace {

TEST(SettingsFileReading, AFileThatIsNoValidTextAppliesNothing) {
    using namespace std::string_literals;
    const std::pair<std::string, const char*> cases[] = {
        {"1\r\n\x81\x20\r\n3\r\n5\r\n"s, "2 行目に コードページ 932"},
        {"2\r\n\x8a\xb2\0\r\n4\r\n6\r\n"s, "2 行目に NUL"},
        {"2\r\n"s + std::string(kMaxEraNameChars + 1, 'x') + "\r\n4\r\n6\r\n", "長すぎます"},
    };
    for (const auto& [bytes, saying] : cases) {
        const auto content = parseSettingsFile(bytes);
        ASSERT_FALSE(content.ok()) << saying;
        EXPECT_NE(content.error().message.find(saying), std::string::npos)
            << content.error().message;
    }
    TempFolder dir;
    writeBytes(dir / "set.ini", cases[0].first);
    const auto read = readSettingsFile(dir / "set.ini");
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().message.find("set.ini"), std::string::npos);
}

}  // namespace
