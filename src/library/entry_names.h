#pragma once

// Which files of the music directory the library takes, and the names it
// shows for them.

#include <string>
#include <string_view>

namespace wavecrest {

// Whether a file name is selected: "." + extension occurs in it at a
// position after the first character, compared without regard to case.
bool IsSelected(std::string_view name, std::string_view extension);

// The name after the last "/", with every "." + extension removed (without
// regard to case).
std::string DisplayName(std::string_view path, std::string_view extension);
// The same, appended to `out`: no string of its own for each name.
void AppendDisplayName(std::string_view path, std::string_view extension, std::string& out);

}  // namespace wavecrest
