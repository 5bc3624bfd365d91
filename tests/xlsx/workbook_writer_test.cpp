#include "workbook_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

using namespace wirelark;
namespace fs = std::filesystem;

namespace {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("wirelark-xlsx-" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& path() const { return m_path; }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_path), fs::directory_iterator()));
    }

  private:
    fs::path m_path;
};

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Workbook smallWorkbook() {
    Sheet sheet;
    sheet.heading.buildingName = "試験棟";
    Workbook book;
    book.sheets.push_back(formTemplate(sheet));
    book.sheets.back().name = "電路計算書";
    return book;
}

TEST(WorkbookWriter, WritesACompleteFileAndNothingBesideIt) {
    ScratchFolder folder;
    const fs::path target = folder.path() / "幹線計算書.xlsx";
    const Status written = writeWorkbook(smallWorkbook(), target);
    ASSERT_TRUE(written.ok()) << written.error().message;
    EXPECT_EQ(contentOf(target).substr(0, 2), "PK");  // a zip container
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(WorkbookWriter, ReplacesAnEarlierFile) {
    ScratchFolder folder;
    const fs::path target = folder.path() / "book.xlsx";
    std::ofstream(target) << "old";
    ASSERT_TRUE(writeWorkbook(smallWorkbook(), target).ok());
    EXPECT_EQ(contentOf(target).substr(0, 2), "PK");
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(WorkbookWriter, AFolderThatDoesNotExistIsAnErrorNamingTheFile) {
    ScratchFolder folder;
    const fs::path target = folder.path() / "missing" / "book.xlsx";
    const Status written = writeWorkbook(smallWorkbook(), target);
    ASSERT_FALSE(written.ok());
    EXPECT_NE(written.error().message.find("book.xlsx"), std::string::npos);
    EXPECT_FALSE(fs::exists(target));
}

TEST(WorkbookWriter, ARefusedWorksheetNameLeavesTheEarlierFileAndNoTemporaryOne) {
    ScratchFolder folder;
    const fs::path target = folder.path() / "book.xlsx";
    std::ofstream(target) << "old";
    Workbook book = smallWorkbook();
    book.sheets.push_back(book.sheets[0]);  // the same name twice
    const Status written = writeWorkbook(book, target);
    ASSERT_FALSE(written.ok());
    EXPECT_NE(written.error().message.find("電路計算書"), std::string::npos);
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(WorkbookWriter, ATargetThatIsAFolderIsAnError) {
    ScratchFolder folder;
    const fs::path target = folder.path() / "taken.xlsx";
    fs::create_directory(target);
    EXPECT_FALSE(writeWorkbook(smallWorkbook(), target).ok());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(WorkbookWriter, AWorkbookWithoutWorksheetsIsAnError) {
    ScratchFolder folder;
    EXPECT_FALSE(writeWorkbook(Workbook{}, folder.path() / "empty.xlsx").ok());
    EXPECT_EQ(folder.fileCount(), 0u);
}

// Standard error of the process while `f` runs.
template <class F>
std::string standardErrorOf(F&& f) {
    std::fflush(stderr);
    const fs::path file = fs::temp_directory_path() / "wirelark-xlsx-stderr";
    const int saved = ::dup(STDERR_FILENO);
    const int into = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(into, STDERR_FILENO);
    ::close(into);
    f();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    const std::string text = contentOf(file);
    fs::remove(file);
    return text;
}

TEST(WorkbookWriter, FailuresAreToldInJapaneseAndTheLibrarySaysNothingOnStandardError) {
    struct Case {
        const char* meaning;
        std::function<void(Workbook&)> damage;
        const char* saying;
    };
    const Case cases[] = {
        {"a cell text longer than a spreadsheet cell holds",
         [](Workbook& b) { b.sheets[0].at("H2").text = std::string(40000, 'x'); },
         "セルの文字列が長すぎます（1 つのセルに 32,767 文字まで）"},
        {"a worksheet name the application refuses", [](Workbook& b) { b.sheets[0].name = "a/b"; },
         "シート名「a/b」は使えません"},
        {"the same worksheet name twice", [](Workbook& b) { b.sheets.push_back(b.sheets[0]); },
         "同じ名前のシートがすでにあります"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const fs::path target = folder.path() / "book.xlsx";
        Workbook book = smallWorkbook();
        c.damage(book);
        Status written = success();
        const std::string said = standardErrorOf([&] { written = writeWorkbook(book, target); });
        ASSERT_FALSE(written.ok()) << c.meaning;
        EXPECT_NE(written.error().message.find(c.saying), std::string::npos)
            << c.meaning << ": " << written.error().message;
        EXPECT_EQ(written.error().message.rfind("エクセルファイル「" + target.string() + "」", 0),
                  0u)
            << written.error().message;
        EXPECT_EQ(said, "") << c.meaning;
        EXPECT_EQ(folder.fileCount(), 0u) << c.meaning;
    }
}

}  // namespace
