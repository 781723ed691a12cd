#pragma once

// The media player the system holds: it answers as a fresh player with
// nothing loaded (FileName "", Stopped, position -1, length 0, not muted)
// until the first Open, and only then makes the real player, so a run that
// plays nothing never loads libmpv. Mute and volume set before that are
// handed to the real player when it is made. When it cannot be made, the
// player stays empty for the rest of the run: every call fails and every read
// answers as with nothing loaded. UI thread only.

#include "core/media_player.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace wavecrest {

class LazyPlayer final : public MediaPlayer {
 public:
  // Makes the real player, or answers nullptr when it cannot (having said why).
  using Factory = std::function<std::unique_ptr<MediaPlayer>()>;
  explicit LazyPlayer(Factory factory);

  bool Open(const std::string& path) override;
  bool Play() override { return real_ && real_->Play(); }
  bool Pause() override { return real_ && real_->Pause(); }
  bool Stop() override { return real_ && real_->Stop(); }
  std::optional<std::string> FileName() override { return real_ ? real_->FileName() : std::string(); }
  std::optional<PlayStateValue> PlayState() override { return real_ ? real_->PlayState() : PlayStateValue::Stopped; }
  std::optional<bool> Mute() override;
  bool SetMute(bool mute) override;
  bool SetVolume(int hundredthsOfDecibel) override;
  std::optional<double> CurrentPosition() override { return real_ ? real_->CurrentPosition() : -1.0; }
  bool SetCurrentPosition(double seconds) override { return real_ && real_->SetCurrentPosition(seconds); }
  std::optional<double> Duration() override { return real_ ? real_->Duration() : 0.0; }

 private:
  // Whether the real player is there, made now if it was not tried yet.
  bool Made();

  Factory factory_;
  std::unique_ptr<MediaPlayer> real_;
  bool failed_ = false;  // the factory was tried and gave nothing
  bool mute_ = false;
  std::optional<int> volume_;  // set before the real player was made
};

// The libmpv player from its module; nullptr (and a line on standard error)
// when the module cannot be loaded.
std::unique_ptr<MediaPlayer> LoadPlayerModule();

}  // namespace wavecrest
