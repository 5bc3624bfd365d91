#pragma once
// What the batch command writes: its standard output, which a full disk or a closed pipe may
// refuse, and the output file named with -o.

#include <iosfwd>
#include <string_view>

namespace wirelark::cli {

// The refusal of a missing or empty -o, the same for every command that writes a file.
inline constexpr std::string_view kNoOutputFileMessage = "出力ファイルを -o で指定してください。";

// Lets a write to a closed pipe fail with an error instead of ending the process silently, so
// that the command reports it. Call before writing to standard output.
void prepareStandardOutput();

// Flushes `out` and returns `code`; when anything written to `out` was lost (a full disk, a
// closed pipe), returns 2 after the line "標準出力に書き込めません。<reason>。" on `err`.
int finishOutput(std::ostream& out, std::ostream& err, int code);

}  // namespace wirelark::cli
