#pragma once
// The settings file "set.ini": the settings the main window keeps between runs. Four lines in
// code page 932, CR LF after each:
//
//   line 0  "1" 60 Hz, "2" 50 Hz
//   line 1  era name of the settings (Edit2)
//   line 2  "3" era display, "4" Western year display
//   line 3  "5" page numbers printed, "6" not printed
//
// Lines are compared whole, exactly and case-sensitively: any other text leaves that setting as
// it was.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "result.h"
#include "sheet.h"

namespace wirelark {

inline constexpr std::string_view kSettingsFileName = "set.ini";

// Bounds of what is read: four short lines, the era name among them.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxEraNameChars = 1000;

// What a settings file says. A setting is present only when its line is there and holds one of
// its codes (the era name whenever its line is there).
struct SettingsFileContent {
    std::optional<Frequency> frequency;
    std::optional<std::string> eraName;
    std::optional<YearDisplay> yearDisplay;
    std::optional<bool> printPageNumbers;
};

// The four lines of the file (UTF-8, CR LF line ends).
std::string settingsFileText(const SheetSettings& settings, std::string_view eraName);

// Reads the file's bytes (decoded as decodeFileText says). A file with fewer than four lines
// gives the settings of the lines it has. Bytes that are not valid text, or an era name longer
// than kMaxEraNameChars, fail the whole file: nothing of it is applied.
Expected<SettingsFileContent> parseSettingsFile(std::string_view bytes);

// Reads the settings file. A missing file is no error: it says nothing, and the settings stay.
// A file that cannot be read or is not valid fails, naming the file.
Expected<SettingsFileContent> readSettingsFile(const std::filesystem::path& path);

// Writes the settings file, replacing it only once the new content is completely written; the
// folder is created when it does not exist. On failure: "ファイル "…" を作成できません。<reason>".
Status writeSettingsFile(const std::filesystem::path& path, const SheetSettings& settings,
                         std::string_view eraName);

// Applies what the file says: frequency, year display and page numbers to the settings, the era
// name to the heading's era name (Edit2). The window runs the effects of the options it selects.
void applySettings(const SettingsFileContent& content, SheetSettings& settings,
                   HeadingFields& heading);

// Where the user's configuration lives: $XDG_CONFIG_HOME, else ~/.config (on Windows %APPDATA%).
struct ConfigFolders {
    std::filesystem::path configHome;  // empty when unset
    std::filesystem::path home;        // empty when unset
};
ConfigFolders configFoldersFromEnvironment();

// Whether files can be created in a folder.
bool isWritableFolder(const std::filesystem::path& folder);

// A folder the system's packages install programs into (/usr/bin, /usr/local/bin, /bin ...).
bool isSystemProgramFolder(const std::filesystem::path& folder);

// The settings file beside the program when the program's folder is writable and not a system
// folder; otherwise
// "wirelark/set.ini" in the user's configuration folder, so that an installed program whose
// folder belongs to the system still keeps its settings.
std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder,
                                       bool programFolderWritable, const ConfigFolders& folders);
// The same, looking at the folder and the environment.
std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder);

}  // namespace wirelark
