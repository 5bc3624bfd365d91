#include "settings_file.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "encoding.h"
#include "file_io.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace wirelark {

namespace {

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return {};
    return std::filesystem::path(value);
}

}  // namespace

std::string settingsFileText(const SheetSettings& settings, std::string_view eraName) {
    std::string out;
    out += settings.frequency == Frequency::Hz60 ? "1" : "2";
    out += "\r\n";
    // The era name must stay on its line, or every line after it would shift.
    for (const char c : eraName)
        out.push_back(c == '\r' || c == '\n' ? ' ' : c);
    out += "\r\n";
    out += settings.yearDisplay == YearDisplay::Era ? "3" : "4";
    out += "\r\n";
    out += settings.printPageNumbers ? "5" : "6";
    out += "\r\n";
    return out;
}

Expected<SettingsFileContent> parseSettingsFile(std::string_view bytes) {
    const auto text = decodeFileText(bytes);
    if (!text)
        return Error{"設定ファイルの " + std::to_string(text.error().line + 1) + " 行目に " +
                     text.error().reason + "。"};
    const std::vector<std::string> lines = splitLines(*text);
    if (lines.size() > 1 && lines[1].size() > kMaxEraNameChars &&
        utf8Length(lines[1]) > kMaxEraNameChars)
        return Error{"設定ファイルの 2 行目「年号」が長すぎます（" +
                     std::to_string(utf8Length(lines[1])) + " 文字、上限 " +
                     std::to_string(kMaxEraNameChars) + " 文字）。"};
    SettingsFileContent content;
    if (lines.size() > 0) {
        if (lines[0] == "1")
            content.frequency = Frequency::Hz60;
        if (lines[0] == "2")
            content.frequency = Frequency::Hz50;
    }
    if (lines.size() > 1)
        content.eraName = lines[1];
    if (lines.size() > 2) {
        if (lines[2] == "3")
            content.yearDisplay = YearDisplay::Era;
        if (lines[2] == "4")
            content.yearDisplay = YearDisplay::Western;
    }
    if (lines.size() > 3) {
        if (lines[3] == "5")
            content.printPageNumbers = true;
        if (lines[3] == "6")
            content.printPageNumbers = false;
    }
    return content;
}

Expected<SettingsFileContent> readSettingsFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return SettingsFileContent{};
    auto bytes = readFileBytes(path, kMaxSettingsFileBytes);
    if (!bytes)
        return bytes.error();
    auto content = parseSettingsFile(*bytes);
    if (!content)
        return Error{"設定ファイル \"" + displayPath(path) + "\" を読み込めません。" +
                     content.error().message};
    return content;
}

Status writeSettingsFile(const std::filesystem::path& path, const SheetSettings& settings,
                         std::string_view eraName) {
    // A file that could not be read back is not written.
    if (eraName.size() > kMaxEraNameChars && utf8Length(eraName) > kMaxEraNameChars)
        return Error{"「年号」が長すぎます（" + std::to_string(utf8Length(eraName)) +
                     " 文字、上限 " + std::to_string(kMaxEraNameChars) +
                     " 文字）。短くしてから保存してください。"};
    const std::filesystem::path folder = path.parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec)
            return Error{"ファイル \"" + displayPath(path) + "\" を作成できません。フォルダー \"" +
                         displayPath(folder) + "\" を作れません（" + systemErrorText(ec.value()) +
                         "）。"};
    }
    const auto bytes = encodeCp932(settingsFileText(settings, eraName));
    if (!bytes)
        return Error{"ファイル \"" + displayPath(path) + "\" を保存できません。" +
                     bytes.error().message};
    return writeFileReplacing(path, *bytes);
}

void applySettings(const SettingsFileContent& content, SheetSettings& settings,
                   HeadingFields& heading) {
    if (content.frequency)
        settings.frequency = *content.frequency;
    if (content.eraName)
        heading.eraName = *content.eraName;
    if (content.yearDisplay)
        settings.yearDisplay = *content.yearDisplay;
    if (content.printPageNumbers)
        settings.printPageNumbers = *content.printPageNumbers;
}

ConfigFolders configFoldersFromEnvironment() {
    ConfigFolders folders;
#ifdef _WIN32
    folders.configHome = environmentPath("APPDATA");
    folders.home = environmentPath("USERPROFILE");
#else
    folders.configHome = environmentPath("XDG_CONFIG_HOME");
    folders.home = environmentPath("HOME");
#endif
    // A relative configuration folder is to be ignored: it would depend on the working folder.
    if (!folders.configHome.is_absolute())
        folders.configHome.clear();
    return folders;
}

bool isWritableFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return false;
#ifdef _WIN32
    // Access rights on Windows live in ACLs that access() does not read: try it.
    const std::filesystem::path probe = folder / ".wirelark-write-test";
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (!f)
        return false;
    std::fclose(f);
    std::filesystem::remove(probe, ec);
    return true;
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

bool isSystemProgramFolder(const std::filesystem::path& folder) {
#ifdef _WIN32
    (void)folder;
    return false;
#else
    const std::filesystem::path f = folder.lexically_normal();
    for (const char* system : {"/usr", "/bin", "/sbin"}) {
        const std::filesystem::path root(system);
        const auto [end, rest] = std::mismatch(root.begin(), root.end(), f.begin(), f.end());
        (void)rest;
        if (end == root.end())
            return true;
    }
    return false;
#endif
}

std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder,
                                       bool programFolderWritable, const ConfigFolders& folders) {
    // A program installed by the package manager runs from a system folder, which root may
    // write to but which holds no settings of anybody's.
    const bool beside = programFolderWritable && !isSystemProgramFolder(programFolder);
    if (beside || (folders.configHome.empty() && folders.home.empty()))
        return programFolder / kSettingsFileName;
    const std::filesystem::path base =
        folders.configHome.empty() ? folders.home / ".config" : folders.configHome;
    return base / "wirelark" / kSettingsFileName;
}

std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder) {
    return settingsFilePath(programFolder, isWritableFolder(programFolder),
                            configFoldersFromEnvironment());
}

}  // namespace wirelark
