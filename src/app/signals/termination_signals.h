#pragma once

// SIGTERM, SIGINT and SIGHUP end the program as /quit does: the handler runs
// on the UI thread, between events, so no settings write is cut in half and
// the instance lock is released as the front-end unwinds. A signal handler
// may do almost nothing, so it only writes the signal's number into a pipe
// (the self-pipe) that a QSocketNotifier watches.
//
// One instance at a time, made after the application object and watched
// before start-up, so that a signal during start-up's waits (a network that
// does not answer) is acted on there; one that comes before Watch waits in
// the pipe. A second signal of the same kind, once the
// first is being acted on, ends the program at once, as without a handler.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace wavecrest {

class TerminationSignals {
 public:
  // Catches the three signals from now on.
  TerminationSignals();
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // From the next pass of the event loop on, `onSignal` receives each caught
  // signal's number, on the UI thread.
  void Watch(std::function<void(int signal)> onSignal);

 private:
  void ReadPipe();

  bool catching_ = false;
  std::function<void(int)> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// The exit status shells expect of a program a signal ended: 128 + its number.
inline int ExitStatusForSignal(int signal) { return 128 + signal; }

}  // namespace wavecrest
