#include "app/stream/icecast/title_sender.h"

#include "app/stream/icecast/stream_worker.h"

#include <shout/shout.h>

#include <chrono>
#include <utility>

namespace wavecrest {

// What the thread works on; it outlives the sender when a send is stuck on
// an unanswering server at the end of the run.
struct TitleSender::Shared {
  explicit Shared(const StreamSettings& s) : settings(s) {}
  const StreamSettings settings;
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<std::string> pending;
  bool quit = false;
  bool done = false;
};

TitleSender::TitleSender(const StreamSettings& settings) : shared_(std::make_shared<Shared>(settings)) {
  thread_ = std::thread(&TitleSender::Run, shared_);
}

TitleSender::~TitleSender() {
  std::unique_lock lock(shared_->mutex);
  shared_->quit = true;
  shared_->changed.notify_all();
  // The program does not wait long for a server that does not answer.
  const bool finished = shared_->changed.wait_for(lock, std::chrono::seconds(2), [this] { return shared_->done; });
  lock.unlock();
  if (finished) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

void TitleSender::Send(const std::string& title) {
  const std::lock_guard lock(shared_->mutex);
  shared_->pending = title;
  shared_->changed.notify_all();
}

void TitleSender::Run(std::shared_ptr<Shared> shared) {
  IgnoreBrokenPipes();
  const StreamSettings& s = shared->settings;
  shout_t* shout = shout_new();
  if (shout != nullptr) {
    shout_set_host(shout, s.url.host.c_str());
    shout_set_port(shout, s.url.port);
    shout_set_user(shout, s.url.user.c_str());
    shout_set_password(shout, s.password.c_str());
    shout_set_mount(shout, s.url.mount.c_str());
    shout_set_protocol(shout, SHOUT_PROTOCOL_HTTP);
    shout_set_content_format(shout, SHOUT_FORMAT_MP3, SHOUT_USAGE_AUDIO, nullptr);
    shout_set_tls(shout, s.url.tls ? SHOUT_TLS_RFC2818 : SHOUT_TLS_DISABLED);
    if (s.ca) {
      shout_set_ca_directory(shout, "/etc/ssl/certs");
      shout_set_ca_file(shout, s.ca->c_str());
    }
  }
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->changed.wait(lock, [&] { return shared->quit || shared->pending; });
    if (shared->quit) break;
    const std::string title = *std::exchange(shared->pending, std::nullopt);
    lock.unlock();
    if (shout != nullptr) {
      shout_metadata_t* metadata = shout_metadata_new();
      // A title the server did not take is not worth a word: the sound goes on.
      if (metadata != nullptr && shout_metadata_add(metadata, "song", title.c_str()) == SHOUTERR_SUCCESS) {
        [[maybe_unused]] const int sent = shout_set_metadata_utf8(shout, metadata);
      }
      shout_metadata_free(metadata);
    }
    lock.lock();
  }
  shared->done = true;
  shared->changed.notify_all();
  lock.unlock();
  shout_free(shout);
}

}  // namespace wavecrest
