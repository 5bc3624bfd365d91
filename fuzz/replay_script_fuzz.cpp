// Any bytes given as a replay script must be read or refused with a message naming the line, and
// a script that reads must replay to its end or stop with a script error, never crash.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "document.h"
#include "replay_script.h"
#include "replay_session.h"
#include "sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wirelark;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto actions = parseReplayScript(bytes);
    if (!actions) {
        if (actions.error().message.empty())
            __builtin_trap();
        return 0;
    }
    Document document;
    std::ostringstream out;
    ReplaySession session(document, out);
    const Status ran = session.run(*actions);
    if (!ran && ran.error().message.empty())
        __builtin_trap();
    return 0;
}
