#include "app/mpris/mpris_adaptors.h"

#include "app/mpris/mpris_service.h"

namespace wavecrest {

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {}

bool MprisRootAdaptor::CanRaise() const { return service_.CanRaise(); }
void MprisRootAdaptor::Raise() { service_.Raise(); }
void MprisRootAdaptor::Quit() { service_.Run(MprisAction::Quit); }

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const { return QString::fromStdString(service_.State().playbackStatus); }
QVariantMap MprisPlayerAdaptor::Metadata() const { return MprisMetadata(service_.State()); }
double MprisPlayerAdaptor::Volume() const { return service_.State().volume; }
void MprisPlayerAdaptor::SetVolume(double volume) { service_.SetVolume(volume); }
qlonglong MprisPlayerAdaptor::Position() const { return service_.PositionMicroseconds(); }
bool MprisPlayerAdaptor::CanGoNext() const { return service_.State().canGoNext; }
bool MprisPlayerAdaptor::CanPlay() const { return service_.State().canPlay; }
bool MprisPlayerAdaptor::CanPause() const { return service_.State().canPause; }

void MprisPlayerAdaptor::Next() { service_.Run(MprisAction::Next); }
void MprisPlayerAdaptor::Previous() { service_.Run(MprisAction::Previous); }
void MprisPlayerAdaptor::Pause() { service_.Run(MprisAction::Pause); }
void MprisPlayerAdaptor::PlayPause() { service_.Run(MprisAction::PlayPause); }
void MprisPlayerAdaptor::Stop() { service_.Run(MprisAction::Stop); }
void MprisPlayerAdaptor::Play() { service_.Run(MprisAction::Play); }

}  // namespace wavecrest
