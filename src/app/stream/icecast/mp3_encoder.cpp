#include "app/stream/icecast/mp3_encoder.h"

#include "app/stream/icecast/song_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <array>
#include <cstring>

namespace wavecrest {

int Mp3BitRate(int kbps) {
  static constexpr std::array kRates = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  int rate = kRates.front();
  for (const int r : kRates) {
    if (r <= kbps) rate = r;
  }
  return rate;
}

std::unique_ptr<Mp3Encoder> Mp3Encoder::Create(int kbps, std::string& why) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
  if (codec == nullptr) {
    why = "this FFmpeg has no MP3 encoder (libmp3lame)";
    return nullptr;
  }
  std::unique_ptr<Mp3Encoder> encoder(new Mp3Encoder());
  AVCodecContext* c = encoder->codec_ = avcodec_alloc_context3(codec);
  if (c == nullptr) {
    why = "out of memory";
    return nullptr;
  }
  c->bit_rate = static_cast<std::int64_t>(Mp3BitRate(kbps)) * 1000;
  c->sample_rate = kStreamRate;
  c->sample_fmt = AV_SAMPLE_FMT_FLTP;
  av_channel_layout_default(&c->ch_layout, 2);
  c->time_base = AVRational{1, kStreamRate};
  // LAME's fast setting: a third less work than its default for a chat
  // room's stream, and a small difference at these bit rates.
  c->compression_level = 7;
  if (avcodec_open2(c, codec, nullptr) < 0) {
    why = "the MP3 encoder does not start";
    return nullptr;
  }
  encoder->frame_ = av_frame_alloc();
  encoder->packet_ = av_packet_alloc();
  if (encoder->frame_ == nullptr || encoder->packet_ == nullptr) {
    why = "out of memory";
    return nullptr;
  }
  AVFrame* f = encoder->frame_;
  f->nb_samples = kMp3FrameSamples;
  f->format = AV_SAMPLE_FMT_FLTP;
  f->sample_rate = kStreamRate;
  av_channel_layout_copy(&f->ch_layout, &c->ch_layout);
  if (av_frame_get_buffer(f, 0) < 0) {
    why = "out of memory";
    return nullptr;
  }
  return encoder;
}

Mp3Encoder::~Mp3Encoder() {
  av_packet_free(&packet_);
  av_frame_free(&frame_);
  avcodec_free_context(&codec_);
}

bool Mp3Encoder::Encode(const float* left, const float* right, std::vector<std::uint8_t>& out) {
  // The encoder may still hold the previous frame's buffer: write into our own.
  if (av_frame_make_writable(frame_) < 0) return false;
  std::memcpy(frame_->data[0], left, sizeof(float) * kMp3FrameSamples);
  std::memcpy(frame_->data[1], right, sizeof(float) * kMp3FrameSamples);
  frame_->pts = samples_;
  samples_ += kMp3FrameSamples;
  if (avcodec_send_frame(codec_, frame_) < 0) return false;
  while (avcodec_receive_packet(codec_, packet_) == 0) {
    out.insert(out.end(), packet_->data, packet_->data + packet_->size);
    av_packet_unref(packet_);
  }
  return true;
}

}  // namespace wavecrest
