#include "trackinfo/mpeg_header.h"

#include "core/files.h"

#include <array>
#include <cmath>
#include <fstream>

namespace wavecrest {
namespace {

// A file shorter than this is taken to hold no frame worth reading.
constexpr std::streamoff kMinimumFileBytes = 256;
constexpr std::size_t kId3v2HeaderBytes = 10;
// No MPEG audio goes faster; an average above it comes from a broken header.
constexpr double kMaxKbps = 640;

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct FrameHeader {
  MpegVersion version;
  int layer;  // 1 to 3
  int kbps;   // 0: free format
  int sampleRate;
  bool padded;
  bool mono;
};

// Kilobits per second by bit-rate index (0 is free format, 15 invalid).
using RateRow = std::array<std::uint16_t, 15>;
constexpr RateRow kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr RateRow kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr RateRow kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr RateRow kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr RateRow kMpeg2Layers23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

const RateRow& RatesFor(MpegVersion version, int layer) {
  if (version == MpegVersion::Mpeg1) return layer == 1 ? kMpeg1Layer1 : layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3;
  return layer == 1 ? kMpeg2Layer1 : kMpeg2Layers23;
}

int SampleRate(MpegVersion version, unsigned index) {
  constexpr int kMpeg1[3] = {44100, 48000, 32000};
  const int divisor = version == MpegVersion::Mpeg1 ? 1 : version == MpegVersion::Mpeg2 ? 2 : 4;
  return kMpeg1[index] / divisor;
}

unsigned Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  return Byte(bytes, at) << 24 | Byte(bytes, at + 1) << 16 | Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
}

std::optional<FrameHeader> ParseFrameHeader(std::string_view bytes) {
  if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || (Byte(bytes, 1) & 0xE0) != 0xE0) return std::nullopt;
  const unsigned versionBits = Byte(bytes, 1) >> 3 & 3;
  const unsigned layerBits = Byte(bytes, 1) >> 1 & 3;
  const unsigned rateIndex = Byte(bytes, 2) >> 4;
  const unsigned sampleIndex = Byte(bytes, 2) >> 2 & 3;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 15 || sampleIndex == 3) return std::nullopt;
  const MpegVersion version = versionBits == 3 ? MpegVersion::Mpeg1 : versionBits == 2 ? MpegVersion::Mpeg2
                                                                                        : MpegVersion::Mpeg25;
  const int layer = 4 - static_cast<int>(layerBits);
  return FrameHeader{version, layer, RatesFor(version, layer)[rateIndex], SampleRate(version, sampleIndex),
                     (Byte(bytes, 2) >> 1 & 1) != 0, (Byte(bytes, 3) >> 6) == 3};
}

int SamplesPerFrame(const FrameHeader& header) {
  if (header.layer == 1) return 384;
  if (header.layer == 2 || header.version == MpegVersion::Mpeg1) return 1152;
  return 576;
}

struct StreamTotals {
  std::uint32_t bytes, frames;
};

// The stream's totals that a Xing or Info header (after the side
// information) or a VBRI header (32 bytes after the header) gives; both are
// Layer III's.
std::optional<StreamTotals> ReadStreamTotals(std::string_view frame, const FrameHeader& header) {
  if (header.layer != 3) return std::nullopt;
  const bool mpeg1 = header.version == MpegVersion::Mpeg1;
  const std::size_t xing = 4 + (mpeg1 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17));
  const std::string_view tag = frame.substr(std::min(xing, frame.size()), 4);
  if ((tag == "Xing" || tag == "Info") && frame.size() >= xing + 16) {
    constexpr std::uint32_t kFramesFlag = 1, kBytesFlag = 2;
    if ((BigEndian32(frame, xing + 4) & (kFramesFlag | kBytesFlag)) != (kFramesFlag | kBytesFlag)) return std::nullopt;
    return StreamTotals{BigEndian32(frame, xing + 12), BigEndian32(frame, xing + 8)};
  }
  constexpr std::size_t kVbri = 36;
  if (frame.substr(std::min(kVbri, frame.size()), 4) == "VBRI" && frame.size() >= kVbri + 18) {
    return StreamTotals{BigEndian32(frame, kVbri + 10), BigEndian32(frame, kVbri + 14)};
  }
  return std::nullopt;
}

// A Layer III frame's length in bytes; 0 for free format, which does not say.
std::uint32_t Layer3FrameBytes(const FrameHeader& header) {
  const std::uint32_t bytesPerSlot = static_cast<std::uint32_t>(SamplesPerFrame(header)) / 8;
  const auto bits = static_cast<std::uint32_t>(header.kbps) * 1000;
  return header.kbps == 0 ? 0 : bytesPerSlot * bits / static_cast<std::uint32_t>(header.sampleRate) + header.padded;
}

// The stream's average over its bytes and frames; nullopt when they give none
// a stream could have. The frame that holds the totals is counted in the
// bytes but not in the frames, and holds no sound: it is left out.
std::optional<int> AverageKbps(std::string_view frame, const FrameHeader& header) {
  const auto totals = ReadStreamTotals(frame, header);
  if (!totals || totals->frames == 0) return std::nullopt;
  const std::uint32_t own = Layer3FrameBytes(header);
  const std::uint32_t bytes = totals->bytes > own ? totals->bytes - own : totals->bytes;
  const double seconds = static_cast<double>(totals->frames) * SamplesPerFrame(header) / header.sampleRate;
  const double kbps = static_cast<double>(bytes) * 8 / seconds / 1000;
  if (kbps < 0.5 || kbps > kMaxKbps) return std::nullopt;
  return static_cast<int>(std::lround(kbps));
}

// Up to `count` bytes of the file from `offset`.
std::string ReadAt(std::ifstream& file, std::uint64_t offset, std::size_t count) {
  file.clear();
  file.seekg(static_cast<std::streamoff>(offset));
  std::string bytes(count, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return bytes;
}

}  // namespace

std::uint64_t Id3v2TagBytes(std::string_view head) {
  if (head.size() < kId3v2HeaderBytes || head.substr(0, 3) != "ID3") return 0;
  if (Byte(head, 3) == 0xFF || Byte(head, 4) == 0xFF) return 0;
  std::uint64_t size = 0;
  for (std::size_t i = 6; i < kId3v2HeaderBytes; ++i) {
    if (Byte(head, i) & 0x80) return 0;
    size = size << 7 | Byte(head, i);
  }
  constexpr unsigned kFooterFlag = 0x10;
  const bool footer = Byte(head, 3) >= 4 && (Byte(head, 5) & kFooterFlag) != 0;
  return kId3v2HeaderBytes + size + (footer ? kId3v2HeaderBytes : 0);
}

std::optional<int> BitRateOfAudio(std::string_view audio) {
  for (std::size_t at = 0; at + 4 <= audio.size(); ++at) {
    const auto header = ParseFrameHeader(audio.substr(at, 4));
    if (!header) continue;
    if (const auto average = AverageKbps(audio.substr(at), *header)) return average;
    if (header->kbps == 0) return std::nullopt;
    return header->kbps;
  }
  return std::nullopt;
}

std::string ReadBitRate(const std::string& path) {
  if (path.empty() || !FileExists(path)) return "";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "";
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < kMinimumFileBytes) return "";
  // Each tag skipped moves on by at least its header, so this ends.
  std::uint64_t audio = 0;
  while (const std::uint64_t tag = Id3v2TagBytes(ReadAt(file, audio, kId3v2HeaderBytes))) {
    audio += tag;
    if (audio >= static_cast<std::uint64_t>(size)) return "";
  }
  const auto kbps = BitRateOfAudio(ReadAt(file, audio, kFrameSearchBytes));
  return kbps ? std::to_string(*kbps) : "";
}

}  // namespace wavecrest
