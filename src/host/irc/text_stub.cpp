// Placeholder bodies so the declarations link; replaced by the real ones.
#include "host/irc/text.h"

namespace wavecrest::irc {
std::string ChatHtmlToIrc(std::string_view html) { return std::string(html); }
std::vector<std::string> SplitIrcText(std::string_view ircText, std::size_t) { return {std::string(ircText)}; }
std::string StripFormatting(std::string_view ircText) { return std::string(ircText); }
std::string IrcToChatHtml(std::string_view ircText) { return std::string(ircText); }
std::string RemoveControls(std::string_view text) { return std::string(text); }
}  // namespace wavecrest::irc
