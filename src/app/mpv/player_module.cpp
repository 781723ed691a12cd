// wavecrest-player.so: the libmpv player, loaded when the first song opens.
#include "app/modules/module_loader.h"
#include "app/mpv/mpv_player.h"

extern "C" wavecrest::MediaPlayer* WavecrestMakePlayer() { return new wavecrest::MpvPlayer(); }
