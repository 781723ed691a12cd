#pragma once

// Sets the stream's title on the server. libshout sends a title on a
// connection of its own and waits for the server's answer, so it runs on a
// thread of its own: the sound never waits for it, and only the latest title
// is sent when several come quickly.
//
// Threading: Send and Close may be called from any thread.

#include "app/stream/stream_settings.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace wavecrest {

class TitleSender {
 public:
  explicit TitleSender(const StreamSettings& settings);
  // Waits a little for a title on its way, then lets it go.
  ~TitleSender();
  TitleSender(const TitleSender&) = delete;
  TitleSender& operator=(const TitleSender&) = delete;

  // Sends `title` (empty: none) as soon as the thread is free; a title not
  // yet sent is replaced.
  void Send(const std::string& title);

 private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace wavecrest
