#pragma once

// Commands that start songs and steer and report playback: r, p x, next,
// prev, pause, stop, mute, song, skip x, vol x, vol?.

#include <string>

namespace wavecrest {

class Bot;

void RCommand(Bot& bot, const std::string& input);
void PCommand(Bot& bot, const std::string& input);  // p x: input is x
void NextCommand(Bot& bot, const std::string& input);
void PrevCommand(Bot& bot, const std::string& input);
void PauseCommand(Bot& bot, const std::string& input);
void StopCommand(Bot& bot, const std::string& input);
void MuteCommand(Bot& bot, const std::string& input);
void SongCommand(Bot& bot, const std::string& input);
void SkipCommand(Bot& bot, const std::string& input);      // input: the whole line
void VolCommand(Bot& bot, const std::string& input);       // input: the whole line
void VolQueryCommand(Bot& bot, const std::string& input);  // vol?

}  // namespace wavecrest
