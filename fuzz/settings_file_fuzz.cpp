// Any bytes given as set.ini must be read without crashing.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)wirelark::parseSettingsFile(bytes);
    return 0;
}
