#include "app/signals/termination_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

namespace wavecrest {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe's two ends; -1 while no TerminationSignals lives.
int pipeEnds[2] = {-1, -1};

void OnSignal(int signal) {
  const int savedErrno = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a signal to act on; losing this one is harmless.
  [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
  errno = savedErrno;
}

void SetDisposition(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // no pipe: the signals keep their defaults
  catching_ = true;
  for (const int signal : kSignals) SetDisposition(signal, &OnSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!catching_) return;
  for (const int signal : kSignals) SetDisposition(signal, SIG_DFL);
  notifier_.reset();
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::Watch(std::function<void(int)> onSignal) {
  if (!catching_) return;
  onSignal_ = std::move(onSignal);
  notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadPipe(); });
}

void TerminationSignals::ReadPipe() {
  unsigned char number = 0;
  while (::read(pipeEnds[0], &number, 1) == 1) {
    // Asked to end once: asked again, the program ends without waiting.
    SetDisposition(number, SIG_DFL);
    onSignal_(number);
  }
}

}  // namespace wavecrest
