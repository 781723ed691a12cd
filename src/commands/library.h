#pragma once

// Commands that choose the music directory and the extension, rebuild the
// library and tell its size: dir, dir?, ref, ext, ext?, mp3s, wavs, wmas.

#include <string>

namespace wavecrest {

class Bot;

void DirCommand(Bot& bot, const std::string& input);       // dir x
void DirQueryCommand(Bot& bot, const std::string& input);  // dir?
void RefCommand(Bot& bot, const std::string& input);       // ref
void ExtCommand(Bot& bot, const std::string& input);       // ext x
void ExtQueryCommand(Bot& bot, const std::string& input);  // ext?
void Mp3sCommand(Bot& bot, const std::string& input);
void WavsCommand(Bot& bot, const std::string& input);
void WmasCommand(Bot& bot, const std::string& input);

}  // namespace wavecrest
