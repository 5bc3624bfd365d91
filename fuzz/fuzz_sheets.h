#pragma once
// What the fuzz targets share: a sheet loaded from the fuzzer's bytes as the program opens a
// file, and the comparison of two sheets.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "encoding.h"
#include "sheet.h"
#include "sheet_file.h"

namespace wirelark::fuzzing {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The sheet the bytes load into, or nothing when the load refuses them.
inline std::optional<Sheet> loadedSheet(std::string_view bytes) {
    auto loaded = parseSheetFile(bytes, Sheet{}, "fuzz.ksk");
    if (!loaded)
        return std::nullopt;
    return std::move(*loaded);
}

// Whether code page 932 bytes would be read back as UTF-8: non-ASCII and valid UTF-8
// throughout. Real Japanese text never is (its common lead bytes are UTF-8 continuation
// bytes, and so is the first byte of every tree glyph), but the fuzzer builds such texts from
// rare characters; for them the reader's documented choice holds and a round trip cannot.
inline bool readsAsUtf8(std::string_view bytes) {
    bool nonAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = utf8SequenceLength(bytes.substr(i));
        if (len == 0)
            return false;
        nonAscii = nonAscii || len > 1;
        i += len;
    }
    return nonAscii;
}

// A broken property: stops the run so that the fuzzer keeps the input.
[[noreturn]] inline void broken() {
    __builtin_trap();
}

inline void require(bool holds) {
    if (!holds)
        broken();
}

}  // namespace wirelark::fuzzing
