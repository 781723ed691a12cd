// The entry point of wavecrest-stream.so.
#include "app/modules/module_loader.h"
#include "app/stream/icecast/icecast_stream.h"

wavecrest::AudioStream* WavecrestMakeStream(const wavecrest::StreamSettings* settings, wavecrest::EventLoop* loop) {
  return new wavecrest::IcecastStream(*settings, *loop);
}
