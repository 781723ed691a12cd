#pragma once

// One song decoded for the stream: any file FFmpeg reads (MP3, WAV, WMA of
// any rate and channel count), resampled to 44.1 kHz stereo.
//
// Worker thread only: opening and reading take the time the file takes.

#include <memory>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct AVAudioFifo;
struct SwrContext;

namespace wavecrest {

inline constexpr int kStreamRate = 44100;

class SongDecoder {
 public:
  // The song from `seconds` on; nullptr with the reason in `why` when the
  // file cannot be read. Past its end it opens and reads nothing.
  static std::unique_ptr<SongDecoder> Open(const std::string& path, double seconds, std::string& why);
  ~SongDecoder();
  SongDecoder(const SongDecoder&) = delete;
  SongDecoder& operator=(const SongDecoder&) = delete;

  // Up to `frames` samples of each channel into `left` and `right`; fewer only
  // at the song's end (0 once it has ended).
  int Read(float* left, float* right, int frames);

 private:
  SongDecoder() = default;
  // Decodes until `frames` samples wait or the song has ended.
  void Fill(int frames);
  void DecodePacket(const AVPacket* packet);
  // Resamples a decoded frame into the waiting samples, without what lies
  // before the position the song was opened at.
  void Take(const AVFrame& frame);
  bool PrepareResampler(const AVFrame& frame);

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  SwrContext* resampler_ = nullptr;
  AVAudioFifo* waiting_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  int stream_ = -1;
  double startAt_ = 0;  // seconds: samples before this are not heard
  int inputRate_ = 0, inputFormat_ = -1, inputChannels_ = 0;
  bool ended_ = false;
};

}  // namespace wavecrest
