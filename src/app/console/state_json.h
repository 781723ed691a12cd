#pragma once

#include <string>

namespace wavecrest {

class Bot;

// Both windows' state as one JSON object (for the console's /state).
std::string StateJson(const Bot& bot);

// A JSON string literal of a UTF-8 text (text that is not UTF-8 is read as
// Windows-1252). Every control character, DEL and C1 too, is written as
// \uXXXX, so the line can be shown on a terminal as it is.
std::string JsonString(std::string_view text);

}  // namespace wavecrest
