#pragma once

// The answer to a private "help" on a network: what a newcomer asks a bot
// before anything else. Plain text, one line.

#include <string>
#include <string_view>

namespace wavecrest {

class Bot;

// For an empty word: the command words in table order (the three count
// words as the current extension's), and the trigger when one is set. For a
// word (with or without the trigger): that command's line of the command
// list; a word that is no command says so.
std::string PrivateHelpText(const Bot& bot, std::string_view word);

}  // namespace wavecrest
