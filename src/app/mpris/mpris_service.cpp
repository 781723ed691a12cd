#include "app/mpris/mpris_service.h"

#include "app/mpris/mpris_adaptors.h"
#include "core/bot.h"
#include "core/diagnostics.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace wavecrest {
namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

// Whether a session bus can be found without starting one: libdbus would
// otherwise launch a bus of its own for a program run outside a session.
bool SessionBusKnown() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return !runtime.isEmpty() && QFileInfo::exists(runtime + "/bus");
}

QDBusConnection ConnectSessionBus() {
  if (!SessionBusKnown()) return QDBusConnection(QStringLiteral("wavecrest-no-bus"));
  return QDBusConnection::sessionBus();
}

QString TrackId(const MprisTrack& track) {
  if (track.number > 0) return "/org/wavecrest/track/" + QString::number(track.number);
  // No longer in the library (it was rebuilt): named by its file.
  return "/org/wavecrest/file/" + QString::number(qHash(QString::fromStdString(track.path)), 16);
}

}  // namespace

QVariantMap MprisMetadata(const MprisState& state) {
  QVariantMap map;
  if (!state.track) return map;
  const MprisTrack& track = *state.track;
  map["mpris:trackid"] = QVariant::fromValue(QDBusObjectPath(TrackId(track)));
  map["xesam:title"] = QString::fromStdString(track.title);
  if (!track.artist.empty()) map["xesam:artist"] = QStringList{QString::fromStdString(track.artist)};
  if (!track.album.empty()) map["xesam:album"] = QString::fromStdString(track.album);
  // Percent-encoded: a file name's control characters do not leave as they are.
  map["xesam:url"] = QUrl::fromLocalFile(QString::fromStdString(track.path)).toString(QUrl::FullyEncoded);
  if (track.lengthMicroseconds > 0) map["mpris:length"] = static_cast<qlonglong>(track.lengthMicroseconds);
  return map;
}

MprisService::MprisService(Bot& bot, MprisHooks hooks)
    : bot_(bot), hooks_(std::move(hooks)), bus_(ConnectSessionBus()) {
  if (!bus_.isConnected()) {
    Diagnose("no session bus: the desktop's media controls cannot see the player");
    return;
  }
  auto* object = new QObject(this);
  new MprisRootAdaptor(object, *this);
  new MprisPlayerAdaptor(object, *this);
  if (!bus_.registerObject(kObjectPath, object, QDBusConnection::ExportAdaptors) || !Register()) {
    Diagnose("the session bus refused the player's name: the desktop's media controls cannot see it");
    bus_.unregisterObject(kObjectPath);
    return;
  }
  told_ = ReadMprisState(bot_, nullptr);
  watch_ = bot_.WatchHandlers([this] { TellChanges(); });
}

MprisService::~MprisService() {
  if (!Offered()) return;
  bot_.StopWatching(watch_);
  bus_.unregisterService(name_);
  bus_.unregisterObject(kObjectPath);
}

bool MprisService::Register() {
  const QString name = QStringLiteral("org.mpris.MediaPlayer2.wavecrest");
  for (const QString& candidate :
       {name, name + ".instance" + QString::number(QCoreApplication::applicationPid())}) {
    if (bus_.registerService(candidate)) {
      name_ = candidate;
      return true;
    }
  }
  return false;
}

MprisState MprisService::State() { return ReadMprisState(bot_, &told_); }

long long MprisService::PositionMicroseconds() {
  const auto position = bot_.player.CurrentPosition();
  return position && std::isfinite(*position) ? std::llround(*position * 1e6) : 0;
}

void MprisService::Raise() {
  if (hooks_.raise) hooks_.raise();
}

void MprisService::Run(MprisAction action) {
  QTimer::singleShot(0, this, [this, action] {
    RunMprisAction(bot_, action);
    TellChanges();
  });
}

void MprisService::SetVolume(double volume) {
  QTimer::singleShot(0, this, [this, volume] {
    SetMprisVolume(bot_, volume);
    TellChanges();
  });
}

void MprisService::TellChanges() {
  if (!Offered() || bot_.Ended()) return;
  const MprisState now = ReadMprisState(bot_, &told_);
  QVariantMap changed;
  if (now.playbackStatus != told_.playbackStatus) changed["PlaybackStatus"] = QString::fromStdString(now.playbackStatus);
  if (now.track != told_.track) changed["Metadata"] = MprisMetadata(now);
  if (now.volume != told_.volume) changed["Volume"] = now.volume;
  if (now.canPlay != told_.canPlay) changed["CanPlay"] = now.canPlay;
  if (now.canPause != told_.canPause) changed["CanPause"] = now.canPause;
  if (now.canGoNext != told_.canGoNext) {
    changed["CanGoNext"] = now.canGoNext;
    changed["CanGoPrevious"] = now.canGoNext;
  }
  told_ = now;
  if (changed.isEmpty()) return;
  QDBusMessage signal =
      QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
  signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
  bus_.send(signal);
}

}  // namespace wavecrest
