#pragma once

#include <string>

namespace wavecrest {

class Bot;

// Both windows' state as one JSON object (for the console's /state).
std::string StateJson(const Bot& bot);

// A JSON string literal of a UTF-8 text.
std::string JsonString(std::string_view text);

}  // namespace wavecrest
