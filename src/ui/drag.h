#pragma once

// Moving a window by hand, for window systems that offer no move of their
// own (an X server without a window manager): while the button is held, the
// window keeps the offset it had from the pointer when the button went down.
// Positions are in screen pixels. Pure; UI thread.

#include <optional>

namespace wavecrest {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

class ManualDrag {
 public:
  // The button went down at `pointer` with the window's top-left at `window`.
  void Begin(ScreenPoint pointer, ScreenPoint window) {
    pointerOffset_ = ScreenPoint{pointer.x - window.x, pointer.y - window.y};
    active_ = true;
  }
  // The pointer moved: where the window's top-left goes, or nothing when no
  // drag is running.
  std::optional<ScreenPoint> Follow(ScreenPoint pointer) const {
    if (!active_) return std::nullopt;
    return ScreenPoint{pointer.x - pointerOffset_.x, pointer.y - pointerOffset_.y};
  }
  void End() { active_ = false; }
  bool Active() const { return active_; }

 private:
  ScreenPoint pointerOffset_;
  bool active_ = false;
};

}  // namespace wavecrest
