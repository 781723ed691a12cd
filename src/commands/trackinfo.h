#pragma once

// id3: tells the room about the song that is playing. For an MP3 file its
// tag (artist, title, album, year, comment), length, size and bit rate in
// three lines; for any other file its name, type, length and size in two.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult Id3Command(Bot& bot, const std::string& input);

// A tag field as the answer shows it: cut at its first NUL (tagging programs
// pad with NULs, and a NUL would cut the chat line short), on one line (a
// tag's line breaks and tabs become spaces, its other control characters are
// dropped: a field must not split the room's line or drive a terminal), and
// "n/a" when nothing but spaces is left.
std::string ShownTagField(const std::string& field);

}  // namespace wavecrest
