#pragma once

// The visible side of the two windows. Views render the Form1 and Form2
// models and turn the person's actions into calls; they hold no state.
//
// Threading: UI thread only. Failures: none reported; a view that cannot show
// something (no display) skips it.

#include <string_view>

namespace wavecrest {

class MainView {
 public:
  virtual ~MainView() = default;
  // The model changed; bring the window up to date with it.
  virtual void Refresh() = 0;
  // Only the now-playing display (the song line and the progress bar)
  // changed; a window may bring just those up to date.
  virtual void RefreshNowPlaying() { Refresh(); }
  // A modal message box with one OK button; returns when it is closed.
  virtual void MessageBox(std::string_view text, std::string_view title) = 0;
  // The busy pointer over the whole screen, on or off.
  virtual void SetBusyPointer(bool busy) = 0;
};

class MatchesView {
 public:
  virtual ~MatchesView() = default;
  // The Form2 model changed; bring the window up to date with it.
  virtual void Refresh() = 0;
};

}  // namespace wavecrest
