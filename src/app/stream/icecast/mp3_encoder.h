#pragma once

// The stream's one steady format: MP3, 44.1 kHz stereo, constant bit rate,
// encoded by LAME through libavcodec. Worker thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace wavecrest {

// Samples of each channel in one MP3 frame (26.1 ms at 44.1 kHz).
inline constexpr int kMp3FrameSamples = 1152;

// The MP3 bit rate at or below `kbps` (32 … 320).
int Mp3BitRate(int kbps);

class Mp3Encoder {
 public:
  // nullptr with the reason in `why` when no MP3 encoder can be had.
  static std::unique_ptr<Mp3Encoder> Create(int kbps, std::string& why);
  ~Mp3Encoder();
  Mp3Encoder(const Mp3Encoder&) = delete;
  Mp3Encoder& operator=(const Mp3Encoder&) = delete;

  // Encodes kMp3FrameSamples of each channel and appends the MP3 bytes ready
  // so far (the encoder holds back a frame or two) to `out`.
  bool Encode(const float* left, const float* right, std::vector<std::uint8_t>& out);

 private:
  Mp3Encoder() = default;
  AVCodecContext* codec_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  std::int64_t samples_ = 0;
};

}  // namespace wavecrest
