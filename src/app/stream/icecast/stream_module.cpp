// The entry point of wavecrest-stream.so.
#include "app/modules/module_loader.h"
#include "app/stream/icecast/icecast_stream.h"

extern "C" {
#include <libavutil/log.h>
}

wavecrest::AudioStream* WavecrestMakeStream(const wavecrest::StreamSettings* settings, wavecrest::EventLoop* loop) {
  // FFmpeg would write notes of its own to standard error from the worker
  // thread, file names in them unescaped; what the stream has to say goes
  // through the event loop instead.
  av_log_set_level(AV_LOG_QUIET);
  return new wavecrest::IcecastStream(*settings, *loop);
}
