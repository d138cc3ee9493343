// The MPEG audio frame header parse (MPEG-1 and MPEG-2, Layers I-III).
#include "sound/converter.h"

namespace {

// kbit/s by [table][index]; index 0 (free format) and 15 have no entry.
constexpr uint16_t kBitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2 Layers II, III
};

constexpr uint32_t kSampleRates[2][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}};

}  // namespace

int ParseMpegHeader(const uint8_t h[4], MpegFrameInfo* info) {
  if (h[0] != 0xFF || (h[1] & 0xF0) != 0xF0) return -2;
  MpegFrameInfo f{};
  f.version = (h[1] & 0x08) ? 0 : 1;
  const int layer = 3 - ((h[1] >> 1) & 3);
  if (layer > 2) return -1;
  f.layer = static_cast<uint8_t>(layer);
  f.bitRateIndex = h[2] >> 4;
  // Free format (index 0) gives no frame length to walk by: rejected.
  if (f.bitRateIndex == 0 || f.bitRateIndex > 14) return -1;
  const int table = f.version == 0 ? f.layer : (f.layer == 0 ? 3 : 4);
  f.bitRate = kBitRates[table][f.bitRateIndex];
  f.sampleRateIndex = (h[2] >> 2) & 3;
  if (f.sampleRateIndex > 2) return -1;
  f.sampleRate = kSampleRates[f.version][f.sampleRateIndex];
  f.padding = (h[2] >> 1) & 1;
  f.channels = (h[3] & 0xC0) == 0xC0 ? 1 : 2;
  if (f.layer == 0) {
    f.frameBytes = (12000 * f.bitRate / f.sampleRate + f.padding) * 4;
    f.samplesPerFrame = 384;
  } else if (f.version == 1 && f.layer == 2) {
    f.frameBytes = 72000 * f.bitRate / f.sampleRate + f.padding;
    f.samplesPerFrame = 576;
  } else {
    f.frameBytes = 144000 * f.bitRate / f.sampleRate + f.padding;
    f.samplesPerFrame = 1152;
  }
  if (info) *info = f;
  return 0;
}
