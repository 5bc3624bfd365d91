#pragma once
// Texts from a file or from the user, as a message shows them. A message goes to a terminal or
// a message box: a control character in it could retitle or clear the terminal, and a line of
// megabytes would bury the message itself.

#include <cstddef>
#include <string>
#include <string_view>

namespace wirelark {

// Characters of an offending text that a message quotes.
inline constexpr std::size_t kQuotedTextChars = 40;

// At most kQuotedTextChars characters of `text`, followed by "…" when it was longer; control
// characters (U+0000 to U+001F, U+007F to U+009F) and bytes that are not UTF-8 become "?".
std::string quotedText(std::string_view text);

// The whole of `text` (a path, a file name), with control characters and bytes that are not
// UTF-8 shown as "?".
std::string printableText(std::string_view text);

}  // namespace wirelark
