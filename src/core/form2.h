#pragma once

// The matches window's state as plain data.

#include "core/form1.h"

#include <string>

namespace wavecrest {

struct Form2 {
  bool loaded = false;
  bool visible = false;
  std::string caption = "double-click to play mp3";
  ListBox List1;  // display names of the matches
  bool Command1Enabled = true;   // "scroll list"
  bool Command2Enabled = false;  // "stop scroll"; also keeps a running scroll going
  // Which set of rows the window holds: a new number whenever it is filled,
  // 0 when not loaded. A running scroll ends when this changes under it.
  unsigned long long generation = 0;
};

}  // namespace wavecrest
