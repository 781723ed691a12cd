#pragma once

// The stream's own thread: it decodes the song the player plays, encodes it
// and sends it to the server, paced by the monotonic clock so that the mount
// receives exactly as much sound as time passes. While nothing plays it sends
// encoded silence, so listeners stay connected; while the server cannot be
// reached the song's clock runs on, and the source connects again (after 2 s,
// doubling to 60 s) to go on with the song from where it now is.
//
// Threading: the calls below are made on the UI thread and return at once;
// the worker reports only by posting tasks to the event loop (a change of the
// connection to standard error, a file it cannot read to diagnostics).

#include "app/stream/stream_settings.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wavecrest {

class EventLoop;

// A server gone away makes a write on its socket raise SIGPIPE, which would
// end the whole program: the stream's threads block it and see the failed
// write instead. Called at the start of each of them.
void IgnoreBrokenPipes();

class StreamWorker {
 public:
  // Starts the thread, which connects at once.
  StreamWorker(const StreamSettings& settings, EventLoop& loop);
  // Stops the thread; the connection is closed.
  ~StreamWorker();
  StreamWorker(const StreamWorker&) = delete;
  StreamWorker& operator=(const StreamWorker&) = delete;

  enum class Change { Open, Pause, Resume, Seek, Stop, Name };
  struct Command {
    Change change;
    std::string text;  // the path (Open), the name (Name)
    double seconds = 0;
    std::string title;
  };
  // Hands a change to the worker, which applies it on its next turn, in order.
  void Tell(Command command);

 private:
  class Turns;
  void Run();

  const StreamSettings settings_;
  EventLoop& loop_;
  std::mutex mutex_;
  std::condition_variable woken_;
  std::vector<Command> commands_;  // guarded by mutex_
  bool quit_ = false;              // guarded by mutex_
  std::thread thread_;
};

}  // namespace wavecrest
