#pragma once

// A library placed straight into the main window's lists, with every file
// openable by the fake player, so that playback tests need no directory.

#include "support/scenario.h"

#include <string>
#include <vector>

namespace wavecrest::testing {

inline std::string MusicPath(const std::string& name) { return "/music/" + name + ".mp3"; }

// Entries at positions 0, 1, … in the order given, each `length` seconds long.
inline void LoadLibrary(Scenario& s, const std::vector<std::string>& names, double length = 180) {
  Form1& f = s.bot().form1;
  f.List2.Clear();
  f.List3.Clear();
  for (const std::string& name : names) {
    f.List3.items.push_back(MusicPath(name));
    f.List2.items.push_back(name);
    s.t.player.durations[MusicPath(name)] = length;
  }
}

// The player as the real one answers with nothing loaded.
inline void NothingLoaded(Scenario& s) {
  s.t.player.fileName.clear();
  s.t.player.playState = PlayStateValue::Stopped;
  s.t.player.position = -1;
  s.t.player.duration = 0;
}

// The loaded song has played to its end.
inline void PlayToEnd(Scenario& s) {
  s.t.player.position = s.t.player.duration;
  s.t.player.playState = PlayStateValue::Stopped;
}

}  // namespace wavecrest::testing
