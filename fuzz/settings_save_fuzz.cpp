// The settings file's write path: what a set.ini says, written again and read back, says the
// same; and writing is stable from the first save on.

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoding.h"
#include "fuzz_sheets.h"
#include "settings_file.h"

using namespace wirelark;
using namespace wirelark::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto content = parseSettingsFile(bytesOf(data, size));
    if (!content)
        return 0;
    SheetSettings settings;
    HeadingFields heading;
    applySettings(*content, settings, heading);

    const auto bytes = encodeCp932(settingsFileText(settings, heading.eraName));
    require(bytes.ok());
    if (readsAsUtf8(*bytes))
        return 0;
    const auto back = parseSettingsFile(*bytes);
    require(back.ok());
    require(back->frequency == settings.frequency);
    require(back->yearDisplay == settings.yearDisplay);
    require(back->printPageNumbers == settings.printPageNumbers);
    require(back->eraName.has_value());

    SheetSettings again;
    HeadingFields againHeading;
    applySettings(*back, again, againHeading);
    const auto rewritten = encodeCp932(settingsFileText(again, againHeading.eraName));
    require(rewritten.ok() && *rewritten == *bytes);
    return 0;
}
