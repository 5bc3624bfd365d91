#include "dialog_host.h"

#include "message_text.h"

namespace wirelark {

std::string invalidNumberMessage(std::string_view label, std::string_view text) {
    return "「" + std::string(label) + "」の「" + quotedText(text) +
           "」は正しい数値ではありません。";
}

}  // namespace wirelark
