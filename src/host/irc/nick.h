#pragma once

// What the network accepts as a nick.

#include <string_view>

namespace wavecrest::irc {

// A nick as servers take it: a letter or one of []\`_^{|} first, then those,
// digits and '-'; at most 30 bytes (the usual NICKLEN; longer ones are cut by
// the server, which would change who the bot answers to).
bool ValidNick(std::string_view nick);

}  // namespace wavecrest::irc
