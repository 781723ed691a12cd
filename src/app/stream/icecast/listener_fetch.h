#pragma once

// Asks the server's public statistics for the mount's listener count, over
// Qt's network access on the UI thread: nothing waits for the answer, which
// comes as a call on a later pass of the event loop.
//
// UI thread only; construct after the QCoreApplication.

#include "app/stream/stream_settings.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace wavecrest {

class ListenerFetch {
 public:
  explicit ListenerFetch(const StreamSettings& settings);
  ~ListenerFetch();
  ListenerFetch(const ListenerFetch&) = delete;
  ListenerFetch& operator=(const ListenerFetch&) = delete;

  // Asks once; `answer` is called with the count, or nothing when the server
  // cannot be asked or does not say, within a few seconds. A request still on
  // its way is not doubled: its answer serves.
  void Fetch(std::function<void(std::optional<int>)> answer);

 private:
  const StreamSettings& settings_;
  std::unique_ptr<QNetworkAccessManager> network_;
  QPointer<QNetworkReply> reply_;
  std::function<void(std::optional<int>)> answer_;
};

}  // namespace wavecrest
