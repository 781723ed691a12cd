#pragma once

// The console's Label1. The window shows "enter current aol screen name:"
// beside the box while it holds its placeholder, and the bot obeys nobody
// until the member's screen name is in it; without a window that prompt goes
// to standard error, with the action that answers it.

#include <string_view>

namespace wavecrest {

struct Form1;

class ScreenNamePrompt {
 public:
  // At start: shown when the window would show Label1. `member` is the
  // screen name the member is logged in under.
  void AtStart(const Form1& form, std::string_view member);

  // Before `line` of the member's reaches the room: when the box holds
  // another screen name than `member`, so the line will be ignored, the
  // prompt is shown (once a run) and a note for --verbose says why.
  void BeforeMemberLine(const Form1& form, std::string_view member, std::string_view line);

 private:
  bool shownForALine_ = false;
};

}  // namespace wavecrest
