#pragma once
// Reading and replacing whole files. A file is replaced through a temporary file beside it that
// is renamed over it only once it is completely written, so a failed save (a full disk, a
// folder that refuses the file) never destroys the file that was there before.

#include <filesystem>
#include <string>
#include <string_view>

#include "result.h"

namespace wirelark {

// The bytes of a file, or "ファイル "…" を開けません。<reason>".
Expected<std::string> readFileBytes(const std::filesystem::path& path);

// Writes `bytes` as the new content of `path`, creating or replacing it; on failure the file is
// left as it was and the error reads "ファイル "…" を作成できません。<reason>".
Status writeFileReplacing(const std::filesystem::path& path, std::string_view bytes);

// A path as the messages show it (UTF-8).
std::string displayPath(const std::filesystem::path& path);

}  // namespace wirelark
