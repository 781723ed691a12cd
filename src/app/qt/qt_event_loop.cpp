#include "app/qt/qt_event_loop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDateTime>
#include <QTime>
#include <QTimer>

#include <cstdlib>
#include <string>

namespace wavecrest {
namespace {

// The locale for times as the C library would choose it: LC_ALL, then
// LC_TIME, then LANG. ICU carries the names itself, so a locale the machine
// has not generated still names its weekdays.
std::string TimeLocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

class QtTimer final : public Timer {
 public:
  QtTimer(std::chrono::milliseconds interval, std::function<void()> onTick) : onTick_(std::move(onTick)) {
    timer_.setInterval(interval);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
  }
  void SetEnabled(bool enabled) override {
    if (enabled == timer_.isActive()) return;
    if (enabled) {
      timer_.start();
    } else {
      timer_.stop();
    }
  }
  bool Enabled() const override { return timer_.isActive(); }

 private:
  // A tick that comes due while this timer's previous tick is still running
  // (inside a nested pump) is skipped, as a UI timer's would be.
  void Fire() {
    if (running_) return;
    running_ = true;
    const auto tick = onTick_;
    tick();
    running_ = false;
  }

  QTimer timer_;
  std::function<void()> onTick_;
  bool running_ = false;
};

}  // namespace

void QtEventLoop::PumpOnce(std::chrono::milliseconds maxWait) {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return;
  QCoreApplication::sendPostedEvents();
  if (dispatcher->processEvents(QEventLoop::AllEvents)) return;
  // Nothing was pending: sleep until the next event, or until a precise
  // single-shot timer marks the end of the wait. Never a busy loop.
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  deadline.start(maxWait);
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

double QtEventLoop::SecondsSinceMidnight() const {
  return static_cast<double>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0;
}

LocalDateTime QtEventLoop::LocalNow() const {
  const QDateTime now = QDateTime::currentDateTime();
  LocalDateTime local;
  local.year = now.date().year();
  local.month = now.date().month();
  local.day = now.date().day();
  local.weekday = now.date().dayOfWeek() % 7;  // Qt counts Monday = 1 … Sunday = 7
  local.hour = now.time().hour();
  local.minute = now.time().minute();
  local.second = now.time().second();
  static const std::string timeLocale = TimeLocaleFromEnvironment();
  local.timeLocale = timeLocale;
  return local;
}

void QtEventLoop::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) {
  return std::make_unique<QtTimer>(interval, std::move(onTick));
}

}  // namespace wavecrest
