#pragma once

// The player as the desktop sees it: MPRIS2 on the session bus, under the
// name org.mpris.MediaPlayer2.wavecrest (with ".instance" + the process id
// when another copy holds that name). Media keys, the desktop's now-playing
// widget and playerctl find it there.
//
// Lifetime: made by a front-end after start-up and destroyed before the
// AppSystem that holds the Bot (declare it after that object), so no call
// from the bus reaches a Bot that is gone. Without a session bus nothing is
// offered and, unless --verbose asked for notes, nothing is said.
//
// Calls from the bus are answered at once; the actions they ask for run
// right after, from the event loop, since they pause (announcements, the
// one-second wait) like the chat commands they are. The desktop is told
// what changed (PropertiesChanged) after each action and after each handler
// of the system (Timer1's tick included, twice a second), only when something
// did. UI thread only.

#include "app/mpris/mpris_actions.h"
#include "app/mpris/mpris_state.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>

namespace wavecrest {

class Bot;

struct MprisHooks {
  // Brings the windows to the front; empty where there are none (CanRaise false).
  std::function<void()> raise;
};

class MprisService final : public QObject {
 public:
  MprisService(Bot& bot, MprisHooks hooks);
  ~MprisService() override;
  MprisService(const MprisService&) = delete;
  MprisService& operator=(const MprisService&) = delete;

  // Whether the player is on the bus, and under which name.
  bool Offered() const { return !name_.isEmpty(); }
  const QString& Name() const { return name_; }

  // What the adaptors answer and do.
  MprisState State();
  long long PositionMicroseconds();
  bool CanRaise() const { return static_cast<bool>(hooks_.raise); }
  void Raise();
  void Run(MprisAction action);
  void SetVolume(double volume);

 private:
  bool Register();
  void TellChanges();

  Bot& bot_;
  MprisHooks hooks_;
  QDBusConnection bus_;
  QString name_;
  MprisState told_;  // what the desktop was last told
  int watch_ = 0;  // the Bot's call after each handler
};

// The Metadata property: mpris:trackid, xesam:title, xesam:artist,
// xesam:album, xesam:url and mpris:length; empty while no file is loaded.
QVariantMap MprisMetadata(const MprisState& state);

}  // namespace wavecrest
