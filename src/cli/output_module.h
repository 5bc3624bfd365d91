#pragma once
// The module that holds the pdf and xlsx subcommands, and how the batch command finds it.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#if defined(_WIN32)
#define WIRELARK_OUTPUT_EXPORT __declspec(dllexport)
#else
#define WIRELARK_OUTPUT_EXPORT __attribute__((visibility("default")))
#endif

namespace wirelark::cli {

// The entry the module exports: runs the subcommand `name` ("pdf" or "xlsx") as runPdf and
// runXlsx describe, with the same exit codes.
using OutputCommandEntry = int (*)(const char* name, const std::vector<std::string>* args,
                                   std::ostream* out, std::ostream* err);
inline constexpr const char* kOutputCommandEntryName = "wirelark_run_output_command";

// Where the module may be, in the order they are tried: beside the program (the build folder,
// and the layout of a Windows installation), then `installedFolder` taken from the program's
// folder (the library folder of an installation, as the build computed it).
std::vector<std::filesystem::path> outputModuleCandidates(
    const std::filesystem::path& programFolder, const std::filesystem::path& installedFolder,
    const std::string& fileName);

}  // namespace wirelark::cli
