#pragma once

// The nicks tried when the wanted one is taken: NICK_, NICK__, then NICK1,
// NICK2 ...

#include <cstddef>
#include <string>
#include <string_view>

namespace wavecrest::irc {

// Attempt 0 is the wanted nick itself. With maxLength > 0 the wanted part is
// shortened so that it and its suffix fit.
std::string FallbackNick(std::string_view wanted, int attempt, std::size_t maxLength);

}  // namespace wavecrest::irc
