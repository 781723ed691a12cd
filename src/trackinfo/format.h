#pragma once

// The short texts replies show for a song's length and a file's size.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace wavecrest {

class EventLoop;
class MediaPlayer;

// Length of the file open in the media player as minutes ":" two-digit
// seconds ("3:05", "62:05"; no hours field). Reads the player's duration and
// rounds it to whole seconds, half to even. Pending events run once for each
// whole minute counted, so handlers may run inside this call. A duration that
// cannot be read (or does not fit a 32-bit count) gives "0:00".
std::string FormatTime(MediaPlayer& player, EventLoop& loop);

// The same text for a given duration, with `onMinute` called once per whole
// minute counted. FormatTime is this with the player's duration and a pass of
// the event loop.
std::string FormatSeconds(std::optional<double> duration, const std::function<void()>& onMinute);

// Size of the file at `path` as a number and its unit: "4.77</b>mb",
// "3.42</b>kb", "700</b>bytes". Sizes are 64-bit, so a file of 2 GiB or more
// shows its true size. nullopt when the path does not name a file whose size
// can be read; the caller then skips what it meant to say.
std::optional<std::string> FormatSize(const std::string& path);

// The text for a byte count; FormatSize is this with the file's length.
std::string FormatByteCount(std::uint64_t bytes);

}  // namespace wavecrest
