#pragma once

// The two D-Bus interfaces of an MPRIS2 player, on the object
// /org/mpris/MediaPlayer2: org.mpris.MediaPlayer2 (who the player is, Raise,
// Quit) and org.mpris.MediaPlayer2.Player (status, track, volume, and the
// playback buttons). Thin: every read and call goes to the MprisService.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace wavecrest {

class MprisService;

class MprisRootAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool CanSetFullscreen READ False)
  Q_PROPERTY(bool Fullscreen READ False)
  Q_PROPERTY(bool HasTrackList READ False)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ None)
  Q_PROPERTY(QStringList SupportedMimeTypes READ None)

 public:
  MprisRootAdaptor(QObject* object, MprisService& service);

  bool CanQuit() const { return true; }
  bool CanRaise() const;
  bool False() const { return false; }
  QString Identity() const { return QStringLiteral("wavecrest"); }
  QString DesktopEntry() const { return QStringLiteral("wavecrest"); }
  // Nothing is opened by URI: the library is the music directory.
  QStringList None() const { return {}; }

 public slots:
  void Raise();
  void Quit();

 private:
  MprisService& service_;
};

class MprisPlayerAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ One)
  Q_PROPERTY(double MinimumRate READ One)
  Q_PROPERTY(double MaximumRate READ One)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoNext)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ False)
  Q_PROPERTY(bool CanControl READ True)

 public:
  MprisPlayerAdaptor(QObject* object, MprisService& service);

  QString PlaybackStatus() const;
  double One() const { return 1.0; }
  QVariantMap Metadata() const;
  double Volume() const;
  void SetVolume(double volume);
  qlonglong Position() const;
  bool CanGoNext() const;
  bool CanPlay() const;
  bool CanPause() const;
  bool False() const { return false; }
  bool True() const { return true; }

 public slots:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  // The system moves only forward by `skip`, and has no way to open a URI:
  // CanSeek is false, and these do nothing, as MPRIS asks of such players.
  void Seek(qlonglong) {}
  void SetPosition(const QDBusObjectPath&, qlonglong) {}
  void OpenUri(const QString&) {}

 signals:
  void Seeked(qlonglong position);

 private:
  MprisService& service_;
};

}  // namespace wavecrest
