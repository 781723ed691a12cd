#pragma once

// The AudioStream on an Icecast server: what plays goes to the stream's own
// worker (FFmpeg decodes and encodes, libshout sends), and `listen`'s count
// comes from the server's public statistics. See core/audio_stream.h for the
// port's rules; this adapter lives in the module wavecrest-stream.so.

#include "app/stream/icecast/listener_fetch.h"
#include "app/stream/icecast/stream_worker.h"
#include "app/stream/stream_settings.h"
#include "core/audio_stream.h"

namespace wavecrest {

class EventLoop;

class IcecastStream final : public AudioStream {
 public:
  // On the air at once; `loop` outlives the stream.
  IcecastStream(const StreamSettings& settings, EventLoop& loop);

  void Open(const std::string& path, double seconds, const std::string& title) override;
  void Pause() override { worker_.Tell({StreamWorker::Change::Pause, {}, 0, {}}); }
  void Resume() override { worker_.Tell({StreamWorker::Change::Resume, {}, 0, {}}); }
  void Seek(double seconds) override { worker_.Tell({StreamWorker::Change::Seek, {}, seconds, {}}); }
  void Stop() override { worker_.Tell({StreamWorker::Change::Stop, {}, 0, {}}); }
  void SetName(const std::string& name) override { worker_.Tell({StreamWorker::Change::Name, name, 0, {}}); }
  std::string ListenUrl() const override { return settings_.listenUrl; }
  std::optional<ListenerCount> Listeners() const override { return count_; }
  void RefreshListeners() override;

 private:
  const StreamSettings settings_;
  EventLoop& loop_;
  ListenerFetch fetch_;
  std::optional<ListenerCount> count_;
  StreamWorker worker_;  // last: its thread stops first
};

}  // namespace wavecrest
