#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

#include "message_text.h"

namespace wirelark {

namespace {

// Links followed before a path is taken to loop, as the system itself counts them.
constexpr int kMaxLinks = 40;
// Bytes of the target's name kept in the temporary name: with the prefix and the random
// suffix the name stays within the 255 bytes a file name may have.
constexpr std::size_t kMaxNameInTemporary = 200;

std::string withPeriod(std::string reason) {
    return reason + "。";
}

Error cannotOpen(const std::filesystem::path& path, const std::string& reason) {
    return Error{"ファイル \"" + displayPath(path) + "\" を開けません。" + withPeriod(reason)};
}

Error cannotCreate(const std::filesystem::path& path, const std::string& reason) {
    return Error{"ファイル \"" + displayPath(path) + "\" を作成できません。" + withPeriod(reason)};
}

// What kind of thing other than a regular file a path names.
std::string notRegularReason(mode_t mode, bool writing) {
    std::string what;
    if (S_ISDIR(mode))
        what = "フォルダーです";
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        what = "デバイスです";
    else if (S_ISFIFO(mode))
        what = "名前付きパイプです";
    else if (S_ISSOCK(mode))
        what = "ソケットです";
    else
        what = "通常のファイルではありません";
    return what + (writing ? "（通常のファイルだけを置き換えます）"
                           : "（通常のファイルだけを読み込みます）");
}

// Reason of a failure to create a file in a folder: a missing path means a missing folder.
std::string createReason(int error) {
    if (error == ENOENT)
        return "保存先のフォルダーがありません";
    return systemErrorText(error);
}

// Cuts a name to at most `max` bytes without splitting a UTF-8 character.
std::string prefixOfName(const std::string& name, std::size_t max) {
    if (name.size() <= max)
        return name;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

std::string randomSuffix() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::mt19937_64 random((static_cast<std::uint64_t>(device()) << 32) ^ device());
    std::string s;
    for (int i = 0; i < 10; ++i)
        s.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return s;
}

// The file a path names once its symbolic links are followed (relative links are relative to
// the folder of the link). `exists` tells whether that file is there yet.
struct ResolvedTarget {
    std::filesystem::path path;
    bool exists = false;
    struct stat status {};
};

Expected<ResolvedTarget, int> resolveLinks(const std::filesystem::path& target) {
    std::filesystem::path p = target;
    for (int links = 0;; ++links) {
        ResolvedTarget r;
        if (::lstat(p.c_str(), &r.status) != 0) {
            if (errno != ENOENT)
                return errno;
            r.path = p;
            return r;
        }
        if (!S_ISLNK(r.status.st_mode)) {
            r.path = p;
            r.exists = true;
            return r;
        }
        if (links == kMaxLinks)
            return ELOOP;
        std::array<char, 4096> buffer{};
        const ssize_t n = ::readlink(p.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return errno;
        if (static_cast<std::size_t>(n) >= buffer.size())
            return ENAMETOOLONG;
        const std::filesystem::path link(std::string(buffer.data(), static_cast<std::size_t>(n)));
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
}

}  // namespace

std::string systemErrorText(int error) {
    switch (error) {
        case EACCES:
            return "アクセスの権限がありません";
        case EPERM:
            return "この操作は許可されていません";
        case EROFS:
            return "読み取り専用の場所です";
        case ENOSPC:
            return "ディスクの空き容量が足りません";
#ifdef EDQUOT
        case EDQUOT:
            return "ディスクの使用量の上限を超えました";
#endif
        case ENOENT:
            return "ファイルまたはフォルダーがありません";
        case ENOTDIR:
            return "パスの途中にフォルダーではないものがあります";
        case EISDIR:
            return "フォルダーです";
        case ENAMETOOLONG:
            return "名前が長すぎます";
        case ELOOP:
            return "シンボリックリンクが多すぎるか、循環しています";
        case EEXIST:
            return "同じ名前のものがすでにあります";
        case EIO:
            return "入出力エラーです（ディスクや媒体を確かめてください）";
        case EMFILE:
        case ENFILE:
            return "開いているファイルが多すぎます";
        case ENOMEM:
            return "メモリが足りません";
        case EFBIG:
            return "ファイルが大きすぎます";
        case EBUSY:
            return "使用中です";
        case ETXTBSY:
            return "実行中のプログラムのファイルです";
        case EPIPE:
            return "出力先が閉じられています";
        case EXDEV:
            return "別のファイルシステムをまたいでいます";
        case ENXIO:
        case ENODEV:
            return "デバイスがありません";
        case EINVAL:
            return "この場所では使えない名前か操作です";
        default:
            return "システムのエラーです（エラー番号 " + std::to_string(error) + "）";
    }
}

std::string displayPath(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return printableText(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

Expected<std::string> readFileBytes(const std::filesystem::path& path, std::size_t maxBytes) {
    // Opened without waiting, so that a named pipe with no writer cannot hang the program;
    // what it is is checked on the open file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(path, systemErrorText(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return cannotOpen(path, systemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return cannotOpen(path, notRegularReason(st.st_mode, false));
    const auto tooLarge = [&] {
        return Error{"ファイル \"" + displayPath(path) + "\" は大きすぎます（上限 " +
                     std::to_string(maxBytes >> 20) + " MB）。"};
    };
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return tooLarge();
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Error{"ファイル \"" + displayPath(path) + "\" を読み込めません。" +
                         withPeriod(systemErrorText(errno))};
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return tooLarge();
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return bytes;
}

FileReplacement::FailureMessage FileReplacement::cannotCreateMessage(
    const std::filesystem::path& target) {
    return [target](const std::string& reason) { return cannotCreate(target, reason); };
}

Expected<FileReplacement> FileReplacement::begin(const std::filesystem::path& target,
                                                 FailureMessage message) {
    if (!message)
        message = cannotCreateMessage(target);
    if (target.empty() || !target.has_filename())
        return message("ファイル名がありません");
    const auto resolved = resolveLinks(target);
    if (!resolved)
        return message(systemErrorText(resolved.error()));
    const mode_t mode = resolved->status.st_mode;
    if (resolved->exists && !S_ISREG(mode))
        return message(notRegularReason(mode, true));
    // A file the user made read-only is not replaced behind that protection.
    if (resolved->exists && ::access(resolved->path.c_str(), W_OK) != 0)
        return message(systemErrorText(errno));

    FileReplacement r;
    r.m_message = message;
    r.m_final = resolved->path;
    // In the same folder, or the rename would copy across file systems and could again leave
    // a half-written file behind. Hidden, and unique: a temporary file left by a save that was
    // killed never stands in the way of the next one.
    const std::string base = "." + prefixOfName(r.m_final.filename().string(), kMaxNameInTemporary);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            r.m_final.parent_path() / (base + "." + randomSuffix() + ".tmp");
        // The new content is private until it is complete; a file that already exists gets
        // its own bits below, a new one those the user's file-creation mask allows.
        const mode_t createMode = resolved->exists ? 0600 : 0666;
        const int fd =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd >= 0) {
            r.m_fd = fd;
            r.m_temporary = candidate;
            break;
        }
        if (errno != EEXIST)
            return message(createReason(errno));
    }
    if (r.m_fd < 0)
        return message(systemErrorText(EEXIST));

    if (resolved->exists) {
        const struct stat& old = resolved->status;
        struct stat now {};
        // The owner first: changing it clears set-user-ID bits, which the mode then restores.
        // Only a privileged process may give a file away; for anyone else this keeps the group
        // where it can and is otherwise no failure.
        if (::fstat(r.m_fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid))
            (void)::fchown(r.m_fd, old.st_uid, old.st_gid);
        if (::fchmod(r.m_fd, old.st_mode & 07777) != 0) {
            const int error = errno;
            return message(systemErrorText(error));
        }
    }
    return r;
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : m_message(std::move(other.m_message)),
      m_final(std::move(other.m_final)),
      m_temporary(std::move(other.m_temporary)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_committed(std::exchange(other.m_committed, true)) {}

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept {
    if (this != &other) {
        discard();
        m_message = std::move(other.m_message);
        m_final = std::move(other.m_final);
        m_temporary = std::move(other.m_temporary);
        m_fd = std::exchange(other.m_fd, -1);
        m_committed = std::exchange(other.m_committed, true);
    }
    return *this;
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_committed = true;
}

Error FileReplacement::failure(const std::string& reason) const {
    return m_message(reason);
}

Status FileReplacement::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure(systemErrorText(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return success();
}

Status FileReplacement::commit() {
    if (m_fd < 0 || m_committed)
        return failure(systemErrorText(EINVAL));
    // Written through to the disk before it takes the old file's place: after a power cut
    // the folder holds the old file or the new one, never an empty one.
    if (::fsync(m_fd) != 0)
        return failure(systemErrorText(errno));
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return failure(systemErrorText(errno));
    if (::rename(m_temporary.c_str(), m_final.c_str()) != 0)
        return failure(systemErrorText(errno));
    m_committed = true;
    // The rename itself reaches the disk with the folder; a folder that cannot be synced
    // (some network file systems) still holds the new file.
    const std::filesystem::path folder =
        m_final.parent_path().empty() ? std::filesystem::path(".") : m_final.parent_path();
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return success();
}

Status writeFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
    auto replacement = FileReplacement::begin(path);
    if (!replacement)
        return replacement.error();
    if (Status written = replacement->write(bytes); !written)
        return written;
    return replacement->commit();
}

}  // namespace wirelark
