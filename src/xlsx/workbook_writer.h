#pragma once
// The spreadsheet workbook as an .xlsx file.

#include <filesystem>

#include "result.h"
#include "workbook_layout.h"

namespace wirelark {

// Writes the workbook to `path`. The file is built beside the target under a temporary name
// and takes the target's place only when it is complete, so a failure leaves no partial file
// and an existing file at the target untouched. The error names the file and the reason.
Status writeWorkbook(const Workbook& book, const std::filesystem::path& path);

}  // namespace wirelark
