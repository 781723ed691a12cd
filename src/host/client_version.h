#pragma once

// The chat client versions the system knows and how each lays out its chat
// room: clients before 7.0 empty the entry box when a line goes; 7.0–9.0 put
// a read-only transcript box before the entry box and leave the entry box
// holding something.

#include <array>
#include <optional>
#include <string_view>

namespace wavecrest {

enum class RoomLayout { Before7, From7 };

struct ClientVersion {
  std::string_view text;  // as the room is told it: "9.0" … "2.5"
  RoomLayout layout;
};

// Newest first.
inline constexpr std::array<ClientVersion, 8> kClientVersions{{
    {"9.0", RoomLayout::From7},
    {"8.0", RoomLayout::From7},
    {"7.0", RoomLayout::From7},
    {"6.0", RoomLayout::Before7},
    {"5.0", RoomLayout::Before7},
    {"4.0", RoomLayout::Before7},
    {"3.0", RoomLayout::Before7},
    {"2.5", RoomLayout::Before7},
}};

inline constexpr std::string_view kNewestClientVersion = kClientVersions.front().text;

// The known version with this text; nothing for any other text.
std::optional<ClientVersion> FindClientVersion(std::string_view text);

// The layout of the version with this text; an unknown one is read as the
// older layout.
RoomLayout RoomLayoutOf(std::string_view text);

}  // namespace wavecrest
