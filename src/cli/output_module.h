#pragma once
// The entry of the module that holds the pdf and xlsx subcommands.

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

}  // namespace wirelark::cli
