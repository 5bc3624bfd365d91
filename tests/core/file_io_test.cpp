#include "file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <set>
#include <string>

#include "test_files.h"

namespace fs = std::filesystem;
using namespace wirelark;
using namespace wirelark::testing;

namespace {

bool isRoot() {
    return ::geteuid() == 0;
}

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

struct ReplaceCase {
    const char* meaning;
    // Prepares the folder; returns the path given to the writer.
    std::function<fs::path(const fs::path&)> setUp;
    // The file that must hold the new content afterwards.
    const char* written;
    mode_t mode;  // expected permission bits of `written`; 0: not checked
};

TEST(FileReplacement, ReplacesTheFileThePathNamesKeepingWhatTheUserSetUp) {
    const ReplaceCase cases[] = {
        {"a new file", [](const fs::path& d) { return d / "new.ksk"; }, "new.ksk", 0},
        {"a file only its owner may read keeps mode 600",
         [](const fs::path& d) {
             writeBytes(d / "private.ksk", "old");
             fs::permissions(d / "private.ksk", fs::perms::owner_read | fs::perms::owner_write);
             return d / "private.ksk";
         },
         "private.ksk", 0600},
        {"a file shared with the group keeps mode 664",
         [](const fs::path& d) {
             writeBytes(d / "shared.ksk", "old");
             ::chmod((d / "shared.ksk").c_str(), 0664);
             return d / "shared.ksk";
         },
         "shared.ksk", 0664},
        {"a symbolic link: the file it names gets the content, the link stays",
         [](const fs::path& d) {
             fs::create_directories(d / "real");
             writeBytes(d / "real" / "sheet.ksk", "old");
             ::chmod((d / "real" / "sheet.ksk").c_str(), 0640);
             fs::create_symlink("real/sheet.ksk", d / "link.ksk");
             return d / "link.ksk";
         },
         "real/sheet.ksk", 0640},
        {"a chain of links relative to their own folders",
         [](const fs::path& d) {
             fs::create_directories(d / "a" / "b");
             writeBytes(d / "a" / "b" / "sheet.ksk", "old");
             fs::create_symlink("b/sheet.ksk", d / "a" / "inner.ksk");
             fs::create_symlink("a/inner.ksk", d / "outer.ksk");
             return d / "outer.ksk";
         },
         "a/b/sheet.ksk", 0},
        {"a link to a file not there yet creates that file",
         [](const fs::path& d) {
             fs::create_symlink("later.ksk", d / "link.ksk");
             return d / "link.ksk";
         },
         "later.ksk", 0},
        {"temporary files left by killed saves never block a save",
         [](const fs::path& d) {
             writeBytes(d / "busy.ksk", "old");
             for (int i = 0; i < 100; ++i)
                 writeBytes(d / ("busy.ksk.tmp" + std::to_string(i)), "left over");
             writeBytes(d / ".busy.ksk.abcdefghij.tmp", "left over");
             return d / "busy.ksk";
         },
         "busy.ksk", 0},
        {"a name too long to carry a suffix still saves",
         [](const fs::path& d) { return d / (std::string(250, 'n') + ".ksk"); }, "", 0},
    };
    for (const ReplaceCase& c : cases) {
        TempFolder dir;
        const fs::path target = c.setUp(dir.path());
        const std::set<std::string> before = entries(dir.path());
        const Status st = writeFileReplacing(target, "new content");
        ASSERT_TRUE(st.ok()) << c.meaning << ": " << st.error().message;
        const fs::path written = *c.written ? dir / c.written : target;
        EXPECT_EQ(readBytes(written), "new content") << c.meaning;
        if (c.mode != 0) {
            EXPECT_EQ(modeOf(written), c.mode) << c.meaning;
        }
        if (written != target) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target))) << c.meaning;
        }
        // Nothing added but the file itself, nothing of the user's removed.
        std::set<std::string> after = entries(dir.path());
        after.erase(written.lexically_relative(dir.path()).begin()->string());
        std::set<std::string> expected = before;
        expected.erase(written.lexically_relative(dir.path()).begin()->string());
        EXPECT_EQ(after, expected) << c.meaning;
    }
}

struct RefusalCase {
    const char* meaning;
    std::function<fs::path(const fs::path&)> setUp;
    const char* reasonHas;
    bool needsNonRoot;  // the system lets root through this protection
};

TEST(FileReplacement, RefusesWhatIsNoRegularFileAndLeavesItAsItWas) {
    const RefusalCase cases[] = {
        {"a folder",
         [](const fs::path& d) {
             fs::create_directories(d / "folder.ksk");
             return d / "folder.ksk";
         },
         "フォルダーです", false},
        {"a named pipe",
         [](const fs::path& d) {
             ::mkfifo((d / "pipe.ksk").c_str(), 0644);
             return d / "pipe.ksk";
         },
         "名前付きパイプです", false},
        {"a device, reached through a link",
         [](const fs::path& d) {
             // A device node of its own where the system allows it; elsewhere /dev/null, which
             // such a user could not replace anyway.
             fs::path device = "/dev/null";
             if (isRoot() && ::mknod((d / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
                 device = d / "null";
             fs::create_symlink(device, d / "out.ksk");
             return d / "out.ksk";
         },
         "デバイスです", false},
        {"a folder that is not there", [](const fs::path& d) { return d / "missing" / "a.ksk"; },
         "保存先のフォルダーがありません", false},
        {"a path through a file",
         [](const fs::path& d) {
             writeBytes(d / "file", "x");
             return d / "file" / "a.ksk";
         },
         "フォルダーではないもの", false},
        {"a name longer than the system allows",
         [](const fs::path& d) { return d / (std::string(300, 'n') + ".ksk"); }, "名前が長すぎます",
         false},
        {"links that point at each other",
         [](const fs::path& d) {
             fs::create_symlink("b.ksk", d / "a.ksk");
             fs::create_symlink("a.ksk", d / "b.ksk");
             return d / "a.ksk";
         },
         "循環", false},
        {"an empty name", [](const fs::path&) { return fs::path(); }, "ファイル名がありません",
         false},
        {"a file the user made read-only",
         [](const fs::path& d) {
             writeBytes(d / "locked.ksk", "old");
             ::chmod((d / "locked.ksk").c_str(), 0444);
             return d / "locked.ksk";
         },
         "アクセスの権限がありません", true},
        {"a folder the user may not write",
         [](const fs::path& d) {
             fs::create_directories(d / "closed");
             ::chmod((d / "closed").c_str(), 0555);
             return d / "closed" / "a.ksk";
         },
         "アクセスの権限がありません", true},
    };
    for (const RefusalCase& c : cases) {
        if (c.needsNonRoot && isRoot())
            continue;
        TempFolder dir;
        const fs::path target = c.setUp(dir.path());
        const std::set<std::string> before = entries(dir.path());
        std::error_code ec;
        const auto kindBefore = fs::symlink_status(target, ec).type();
        const Status st = writeFileReplacing(target, "new content");
        ASSERT_FALSE(st.ok()) << c.meaning;
        EXPECT_NE(st.error().message.find("を作成できません。"), std::string::npos)
            << c.meaning << ": " << st.error().message;
        EXPECT_NE(st.error().message.find(c.reasonHas), std::string::npos)
            << c.meaning << ": " << st.error().message;
        EXPECT_EQ(entries(dir.path()), before) << c.meaning;
        EXPECT_EQ(fs::symlink_status(target, ec).type(), kindBefore) << c.meaning;
        ::chmod((dir / "closed").c_str(), 0755);
    }
}

TEST(FileReplacement, AnUnfinishedReplacementLeavesNothingBehind) {
    TempFolder dir;
    writeBytes(dir / "a.ksk", "old");
    {
        auto r = FileReplacement::begin(dir / "a.ksk");
        ASSERT_TRUE(r.ok());
        ASSERT_TRUE(r->write("half of the new").ok());
        EXPECT_TRUE(fs::exists(r->temporaryPath()));
        EXPECT_EQ(r->temporaryPath().parent_path(), dir.path());
    }  // the writer failed and gave up
    EXPECT_EQ(entries(dir.path()), std::set<std::string>{"a.ksk"});
    EXPECT_EQ(readBytes(dir / "a.ksk"), "old");
}

TEST(SystemErrorText, EveryCommonFailureHasAJapaneseReason) {
    const std::pair<int, const char*> cases[] = {
        {EACCES, "権限"},       {EROFS, "読み取り専用"},  {ENOSPC, "空き容量"},
        {ENOENT, "ありません"}, {ENAMETOOLONG, "長すぎ"}, {EPIPE, "閉じられて"},
        {EIO, "入出力"},        {EISDIR, "フォルダー"},   {12345, "12345"},
    };
    for (const auto& [error, has] : cases) {
        const std::string text = systemErrorText(error);
        EXPECT_NE(text.find(has), std::string::npos) << error << ": " << text;
        // No English of the system's own.
        for (const char ch : text)
            EXPECT_FALSE((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) << text;
    }
}

struct ReadCase {
    const char* meaning;
    std::function<fs::path(const fs::path&)> setUp;
    std::size_t maxBytes;
    const char* errorHas;  // nullptr: reads "sheet"
};

TEST(ReadFileBytes, ReadsRegularFilesWithinTheirBoundOnly) {
    const ReadCase cases[] = {
        {"a regular file",
         [](const fs::path& d) {
             writeBytes(d / "a.ksk", "sheet");
             return d / "a.ksk";
         },
         kMaxReadFileBytes, nullptr},
        {"a file exactly at the bound",
         [](const fs::path& d) {
             writeBytes(d / "a.ksk", "sheet");
             return d / "a.ksk";
         },
         5, nullptr},
        {"a file above the bound",
         [](const fs::path& d) {
             writeBytes(d / "a.ksk", "sheet!");
             return d / "a.ksk";
         },
         5, "大きすぎます"},
        {"a named pipe nobody writes to, without waiting",
         [](const fs::path& d) {
             ::mkfifo((d / "p.ksk").c_str(), 0644);
             return d / "p.ksk";
         },
         kMaxReadFileBytes, "名前付きパイプです"},
        {"a folder",
         [](const fs::path& d) {
             fs::create_directories(d / "f.ksk");
             return d / "f.ksk";
         },
         kMaxReadFileBytes, "フォルダーです"},
        {"a file that is not there", [](const fs::path& d) { return d / "none.ksk"; },
         kMaxReadFileBytes, "ファイルまたはフォルダーがありません"},
    };
    for (const ReadCase& c : cases) {
        TempFolder dir;
        const auto bytes = readFileBytes(c.setUp(dir.path()), c.maxBytes);
        if (!c.errorHas) {
            ASSERT_TRUE(bytes.ok()) << c.meaning << ": " << bytes.error().message;
            EXPECT_EQ(*bytes, "sheet") << c.meaning;
            continue;
        }
        ASSERT_FALSE(bytes.ok()) << c.meaning;
        EXPECT_NE(bytes.error().message.find(c.errorHas), std::string::npos)
            << c.meaning << ": " << bytes.error().message;
    }
}

}  // namespace
