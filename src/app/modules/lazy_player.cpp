#include "app/modules/lazy_player.h"

#include "app/modules/module_loader.h"

#include <cstdio>
#include <utility>

namespace wavecrest {

LazyPlayer::LazyPlayer(Factory factory) : factory_(std::move(factory)) {}

bool LazyPlayer::Made() {
  if (real_) return true;
  if (failed_) return false;
  real_ = factory_();
  failed_ = !real_;
  if (failed_) return false;
  // Mute and volume belong to the player: what was set so far carries over.
  if (mute_) real_->SetMute(true);
  if (volume_) real_->SetVolume(*volume_);
  return true;
}

bool LazyPlayer::Open(const std::string& path) { return Made() && real_->Open(path); }

std::optional<bool> LazyPlayer::Mute() {
  if (real_) return real_->Mute();
  if (failed_) return std::nullopt;
  return mute_;
}

bool LazyPlayer::SetMute(bool mute) {
  if (real_) return real_->SetMute(mute);
  if (failed_) return false;
  mute_ = mute;
  return true;
}

bool LazyPlayer::SetVolume(int hundredthsOfDecibel) {
  if (real_) return real_->SetVolume(hundredthsOfDecibel);
  if (failed_) return false;
  volume_ = hundredthsOfDecibel;
  return true;
}

std::unique_ptr<MediaPlayer> LoadPlayerModule() {
  std::string why;
  void* make = ModuleFunction("wavecrest-player.so", "WavecrestMakePlayer", why);
  if (make == nullptr) {
    std::fprintf(stderr, "wavecrest: cannot load the player (playing nothing): %s\n", why.c_str());
    return nullptr;
  }
  return std::unique_ptr<MediaPlayer>(reinterpret_cast<decltype(&WavecrestMakePlayer)>(make)());
}

}  // namespace wavecrest
