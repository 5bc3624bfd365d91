#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace wirelark {

namespace {

std::string reason(int err) {
    return std::generic_category().message(err);
}

Error cannotCreate(const std::filesystem::path& path, const std::string& why) {
    return Error{"ファイル \"" + displayPath(path) + "\" を作成できません。" + why};
}
Error cannotCreate(const std::filesystem::path& path, int err) {
    return cannotCreate(path, reason(err));
}

}  // namespace

std::string displayPath(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

Expected<std::string> readFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Error{"ファイル \"" + displayPath(path) + "\" を開けません。" + reason(EISDIR)};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Error{"ファイル \"" + displayPath(path) + "\" を開けません。" + reason(errno)};
    std::string bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0)
        bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(bytes.data(), size))
        return Error{"ファイル \"" + displayPath(path) + "\" を読み込めません。" + reason(errno)};
    return bytes;
}

Status writeFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return cannotCreate(path, EISDIR);

    // The temporary file must lie in the same folder, or the rename would copy across file
    // systems and could again leave a half-written file behind.
    std::filesystem::path temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = path;
        temp += ".tmp" + std::to_string(attempt);
        errno = 0;
        f = std::fopen(temp.string().c_str(), "wbx");
        if (!f && errno != EEXIST)
            return cannotCreate(path, errno);
    }
    if (!f)
        return cannotCreate(path, EEXIST);

    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = ok ? 0 : errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
#ifndef _WIN32
    if (ok && ::fsync(fileno(f)) != 0) {
        ok = false;
        err = errno;
    }
#endif
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok) {
        std::filesystem::rename(temp, path, ec);
        if (ec) {
            const std::string why = ec.message();
            std::filesystem::remove(temp, ec);
            return cannotCreate(path, why);
        }
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
        return cannotCreate(path, err == 0 ? EIO : err);
    }
    return success();
}

}  // namespace wirelark
