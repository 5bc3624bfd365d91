#pragma once
// Reading and replacing whole files. A file is replaced through a temporary file beside it that
// is renamed over it only once it is completely written, so a failed save (a full disk, a
// folder that refuses the file) never destroys the file that was there before.
//
// What is replaced is the file a path names: a symbolic link is followed and the file it points
// to is replaced, the link staying as it was; the new file keeps the permission bits (and, where
// the system allows, the owner) of the file it replaces. A path that names something other than
// a regular file (a device such as /dev/full, a named pipe, a folder) is refused and left alone.
// A file with several hard links gets the new content under the name written to only: the
// other names keep the old file, as with every editor that saves by renaming.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "result.h"

namespace wirelark {

// Files larger than this are not read: no sheet of a building comes near it, and a wrong file
// chosen by mistake must not exhaust the memory.
inline constexpr std::size_t kMaxReadFileBytes = std::size_t{256} << 20;

// A system error number as a Japanese reason, without a final "。": "書き込みの権限がありません".
std::string systemErrorText(int error);

// The bytes of a regular file of at most `maxBytes`, or "ファイル "…" を開けません。<reason>。".
Expected<std::string> readFileBytes(const std::filesystem::path& path,
                                    std::size_t maxBytes = kMaxReadFileBytes);

// The replacement of one file under way: an empty temporary file with a unique name in the
// folder of the file it will replace, open for writing. Destroying it before commit() removes
// the temporary file, so a failure at any step leaves nothing behind.
class FileReplacement {
  public:
    // The error of a failed replacement from its reason (Japanese, without a final "。").
    using FailureMessage = std::function<Error(const std::string& reason)>;
    // "ファイル "…" を作成できません。<reason>。"
    static FailureMessage cannotCreateMessage(const std::filesystem::path& target);

    // Follows symbolic links from `target`, refuses a target that is not a regular file or
    // cannot be written, and creates the temporary file. Every error of this replacement is
    // worded by `message`.
    static Expected<FileReplacement> begin(const std::filesystem::path& target,
                                           FailureMessage message = {});

    FileReplacement(FileReplacement&& other) noexcept;
    FileReplacement& operator=(FileReplacement&& other) noexcept;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Where the new content is written, by write() or by a library that opens the file itself.
    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    // The file that will be replaced: the target with its symbolic links followed.
    const std::filesystem::path& replacedPath() const { return m_final; }

    // Appends bytes to the temporary file.
    Status write(std::string_view bytes);
    // Puts the temporary file on the disk and renames it over the replaced file.
    Status commit();
    // The error of this replacement for a reason found by its caller (a library's failure).
    Error failure(const std::string& reason) const;

  private:
    FileReplacement() = default;
    void discard();

    FailureMessage m_message;
    std::filesystem::path m_final;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

// Writes `bytes` as the new content of `path`, creating or replacing it; on failure the file is
// left as it was and the error reads "ファイル "…" を作成できません。<reason>。".
Status writeFileReplacing(const std::filesystem::path& path, std::string_view bytes);

// A path as the messages show it (UTF-8, control characters as "?").
std::string displayPath(const std::filesystem::path& path);

}  // namespace wirelark
