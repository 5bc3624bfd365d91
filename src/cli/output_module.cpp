// runPdf and runXlsx of the batch command: they load the output module and hand over to it.

#include "output_module.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "commands.h"

#ifndef WIRELARK_OUTPUT_MODULE_FILE
#error "WIRELARK_OUTPUT_MODULE_FILE is set by the build: the output module's file name"
#endif
#ifndef WIRELARK_OUTPUT_MODULE_FOLDER
#error "WIRELARK_OUTPUT_MODULE_FOLDER is set by the build: its folder relative to the program's"
#endif

namespace wirelark::cli {

namespace {

// Where the module may be, in the order they are tried: beside the program (the build folder,
// and the layout of a Windows installation), then `installedFolder` taken from the program's
// folder (the library folder of an installation, as the build computed it).
std::vector<std::filesystem::path> outputModuleCandidates(
    const std::filesystem::path& programFolder, const std::filesystem::path& installedFolder,
    const std::string& fileName) {
    const std::filesystem::path file = std::filesystem::u8path(fileName);
    std::vector<std::filesystem::path> candidates{programFolder / file};
    if (!installedFolder.empty() && installedFolder != ".")
        candidates.push_back((programFolder / installedFolder).lexically_normal() / file);
    return candidates;
}

std::filesystem::path programFolder() {
#if defined(_WIN32)
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    name.resize(length);
    return std::filesystem::path(name).parent_path();
#else
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
#endif
}

std::string shown(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The module's entry, or an empty entry with the reason on `err`. The module stays loaded until
// the process ends: Qt keeps state of its own that must outlive the command.
OutputCommandEntry loadEntry(std::ostream& err) {
    const auto candidates = outputModuleCandidates(
        programFolder(), std::filesystem::u8path(WIRELARK_OUTPUT_MODULE_FOLDER),
        WIRELARK_OUTPUT_MODULE_FILE);
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(candidate, error))
            continue;
#if defined(_WIN32)
        HMODULE module = LoadLibraryW(candidate.c_str());
        if (module == nullptr) {
            err << "印刷・ブック出力のモジュールを読み込めません: " << shown(candidate)
                << "（エラー " << GetLastError() << "）\n";
            return nullptr;
        }
        auto entry = reinterpret_cast<OutputCommandEntry>(
            reinterpret_cast<void*>(GetProcAddress(module, kOutputCommandEntryName)));
#else
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* reason = dlerror();
            err << "印刷・ブック出力のモジュールを読み込めません: " << shown(candidate) << "（"
                << (reason != nullptr ? reason : "理由不明") << "）\n";
            return nullptr;
        }
        auto entry = reinterpret_cast<OutputCommandEntry>(dlsym(module, kOutputCommandEntryName));
#endif
        if (entry == nullptr)
            err << "印刷・ブック出力のモジュールが正しくありません: " << shown(candidate) << "\n";
        return entry;
    }
    err << "印刷・ブック出力のモジュールが見つかりません: " << shown(candidates.back())
        << "（インストールをやり直してください）\n";
    return nullptr;
}

int runOutputCommand(const char* name, const Args& args, std::ostream& out, std::ostream& err) {
    const OutputCommandEntry entry = loadEntry(err);
    if (entry == nullptr)
        return 2;
    return entry(name, &args, &out, &err);
}

}  // namespace

int runPdf(const Args& args, std::ostream& out, std::ostream& err) {
    return runOutputCommand("pdf", args, out, err);
}

int runXlsx(const Args& args, std::ostream& out, std::ostream& err) {
    return runOutputCommand("xlsx", args, out, err);
}

}  // namespace wirelark::cli
