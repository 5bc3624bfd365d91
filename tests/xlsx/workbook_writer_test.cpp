#include "workbook_writer.h"

#include <gtest/gtest.h>

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

}  // namespace
