#include "app/stream/icecast/icecast_stream.h"

#include "core/event_loop.h"

namespace wavecrest {

IcecastStream::IcecastStream(const StreamSettings& settings, EventLoop& loop)
    : settings_(settings), loop_(loop), fetch_(settings_), worker_(settings_, loop) {}

void IcecastStream::Open(const std::string& path, double seconds, const std::string& title) {
  worker_.Tell({StreamWorker::Change::Open, path, seconds, title});
}

void IcecastStream::RefreshListeners() {
  fetch_.Fetch([this](std::optional<int> listeners) {
    const unsigned serial = count_ ? count_->serial + 1 : 1;
    count_ = ListenerCount{listeners, loop_.SecondsSinceMidnight(), serial};
  });
}

}  // namespace wavecrest
