#include "app/stream/icecast/song_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <vector>

namespace wavecrest {
namespace {

std::string ErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

}  // namespace

std::unique_ptr<SongDecoder> SongDecoder::Open(const std::string& path, double seconds, std::string& why) {
  std::unique_ptr<SongDecoder> song(new SongDecoder());
  // Only the file itself: a name such as "http:x.mp3" must never open a URL.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  int status = avformat_open_input(&song->format_, ("file:" + path).c_str(), nullptr, &options);
  av_dict_free(&options);
  if (status < 0) {
    why = ErrorText(status);
    return nullptr;
  }
  if ((status = avformat_find_stream_info(song->format_, nullptr)) < 0) {
    why = ErrorText(status);
    return nullptr;
  }
  const AVCodec* codec = nullptr;
  song->stream_ = av_find_best_stream(song->format_, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (song->stream_ < 0 || codec == nullptr) {
    why = "no sound in it that can be decoded";
    return nullptr;
  }
  song->codec_ = avcodec_alloc_context3(codec);
  const AVStream* stream = song->format_->streams[song->stream_];
  if (song->codec_ == nullptr || avcodec_parameters_to_context(song->codec_, stream->codecpar) < 0 ||
      (status = avcodec_open2(song->codec_, codec, nullptr)) < 0) {
    why = "its sound cannot be decoded (" + std::string(codec->name) + ")";
    return nullptr;
  }
  song->packet_ = av_packet_alloc();
  song->frame_ = av_frame_alloc();
  song->waiting_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, 4096);
  if (song->packet_ == nullptr || song->frame_ == nullptr || song->waiting_ == nullptr) {
    why = "out of memory";
    return nullptr;
  }
  song->startAt_ = std::max(0.0, seconds);
  if (song->startAt_ > 0) {
    const auto target = static_cast<std::int64_t>(song->startAt_ / av_q2d(stream->time_base));
    // A target past the end is the end: nothing more to read.
    if (av_seek_frame(song->format_, song->stream_, target, AVSEEK_FLAG_BACKWARD) < 0) song->ended_ = true;
  }
  return song;
}

SongDecoder::~SongDecoder() {
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  if (waiting_ != nullptr) av_audio_fifo_free(waiting_);
  swr_free(&resampler_);
  avcodec_free_context(&codec_);
  avformat_close_input(&format_);
}

int SongDecoder::Read(float* left, float* right, int frames) {
  Fill(frames);
  void* planes[2] = {left, right};
  return std::max(0, av_audio_fifo_read(waiting_, planes, frames));
}

void SongDecoder::Fill(int frames) {
  while (av_audio_fifo_size(waiting_) < frames && !ended_) {
    const int status = av_read_frame(format_, packet_);
    if (status < 0) {
      DecodePacket(nullptr);  // the decoder gives what it still holds
      ended_ = true;
      return;
    }
    if (packet_->stream_index == stream_) DecodePacket(packet_);
    av_packet_unref(packet_);
  }
}

void SongDecoder::DecodePacket(const AVPacket* packet) {
  // A damaged packet is skipped: the song goes on after it.
  if (avcodec_send_packet(codec_, packet) < 0) return;
  while (avcodec_receive_frame(codec_, frame_) == 0) {
    Take(*frame_);
    av_frame_unref(frame_);
  }
}

bool SongDecoder::PrepareResampler(const AVFrame& frame) {
  if (resampler_ != nullptr && frame.sample_rate == inputRate_ && frame.format == inputFormat_ &&
      frame.ch_layout.nb_channels == inputChannels_) {
    return true;
  }
  swr_free(&resampler_);
  AVChannelLayout input{};
  if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    av_channel_layout_default(&input, frame.ch_layout.nb_channels);
  } else {
    av_channel_layout_copy(&input, &frame.ch_layout);
  }
  AVChannelLayout stereo{};
  av_channel_layout_default(&stereo, 2);
  const int status = swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLTP, kStreamRate, &input,
                                         static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
  av_channel_layout_uninit(&input);
  if (status < 0 || swr_init(resampler_) < 0) {
    swr_free(&resampler_);
    return false;
  }
  inputRate_ = frame.sample_rate;
  inputFormat_ = frame.format;
  inputChannels_ = frame.ch_layout.nb_channels;
  return true;
}

void SongDecoder::Take(const AVFrame& frame) {
  if (frame.sample_rate <= 0 || frame.nb_samples <= 0 || !PrepareResampler(frame)) return;
  int skip = 0;
  const std::int64_t pts = frame.best_effort_timestamp;
  if (startAt_ > 0 && pts != AV_NOPTS_VALUE) {
    const double start = static_cast<double>(pts) * av_q2d(format_->streams[stream_]->time_base);
    skip = static_cast<int>(std::clamp(std::llround((startAt_ - start) * frame.sample_rate), 0LL,
                                       static_cast<long long>(frame.nb_samples)));
  }
  if (skip >= frame.nb_samples) return;
  startAt_ = 0;  // the first frame heard has been found: the rest all count
  const auto format = static_cast<AVSampleFormat>(frame.format);
  const int bytes = av_get_bytes_per_sample(format);
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  std::vector<const std::uint8_t*> input(static_cast<std::size_t>(planar ? inputChannels_ : 1));
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i] = frame.extended_data[i] + static_cast<std::ptrdiff_t>(skip) * bytes * (planar ? 1 : inputChannels_);
  }
  const int count = frame.nb_samples - skip;
  const int room = swr_get_out_samples(resampler_, count);
  if (room <= 0) return;
  std::vector<float> left(static_cast<std::size_t>(room)), right(static_cast<std::size_t>(room));
  std::uint8_t* output[2] = {reinterpret_cast<std::uint8_t*>(left.data()), reinterpret_cast<std::uint8_t*>(right.data())};
  const int made = swr_convert(resampler_, output, room, input.data(), count);
  if (made <= 0) return;
  void* planes[2] = {left.data(), right.data()};
  av_audio_fifo_write(waiting_, planes, made);
}

}  // namespace wavecrest
