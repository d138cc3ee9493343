// Block decoders of our own for MS ADPCM, IMA ADPCM and G.711 (A-law, mu-law).
#include <algorithm>

#include "sound/codec.h"

namespace {

constexpr int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                   768, 614, 512, 409, 307, 230, 230, 230};

constexpr int kImaIndexStep[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kImaStep[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

struct MsChannel {
  int c1, c2, delta, s1, s2;
};

int16_t MsStep(MsChannel& ch, int nibble) {
  const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
  // Wide arithmetic: coefficients and deltas come from the file.
  const int64_t predictor = (static_cast<int64_t>(ch.s1) * ch.c1 + static_cast<int64_t>(ch.s2) * ch.c2) >> 8;
  const int64_t value = predictor + static_cast<int64_t>(signedNibble) * ch.delta;
  const int16_t sample = static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767));
  ch.s2 = ch.s1;
  ch.s1 = sample;
  ch.delta = static_cast<int>((static_cast<int64_t>(kMsAdaptation[nibble]) * ch.delta) >> 8);
  if (ch.delta < 16) ch.delta = 16;
  if (ch.delta > 0x7FFFFFFF / 768) ch.delta = 0x7FFFFFFF / 768;
  return sample;
}

struct ImaChannel {
  int predictor, index;
};

int16_t ImaStep(ImaChannel& ch, int nibble) {
  const int step = kImaStep[ch.index];
  int diff = step >> 3;
  if (nibble & 4) diff += step;
  if (nibble & 2) diff += step >> 1;
  if (nibble & 1) diff += step >> 2;
  ch.predictor = std::clamp(nibble & 8 ? ch.predictor - diff : ch.predictor + diff, -32768, 32767);
  ch.index = std::clamp(ch.index + kImaIndexStep[nibble], 0, 88);
  return static_cast<int16_t>(ch.predictor);
}

}  // namespace

int DecodeMsAdpcmBlock(const uint8_t* block, uint32_t blockBytes, int channels,
                       int samplesPerBlock, const MsAdpcmCoefficients& coefficients,
                       int16_t* out) {
  if (channels < 1 || channels > 2 || blockBytes < 7u * channels || samplesPerBlock < 2) return -1;
  const int maxSamples = 2 + static_cast<int>((blockBytes - 7u * channels) * 2 / channels);
  if (samplesPerBlock > maxSamples) return -1;
  MsChannel ch[2] = {};
  const uint8_t* p = block;
  for (int c = 0; c < channels; ++c) {
    const int predictor = *p++;
    if (predictor >= coefficients.count) return -1;
    ch[c].c1 = coefficients.c1[predictor];
    ch[c].c2 = coefficients.c2[predictor];
  }
  for (int c = 0; c < channels; ++c, p += 2) ch[c].delta = static_cast<int16_t>(ReadLe16(p));
  for (int c = 0; c < channels; ++c, p += 2) ch[c].s1 = static_cast<int16_t>(ReadLe16(p));
  for (int c = 0; c < channels; ++c, p += 2) ch[c].s2 = static_cast<int16_t>(ReadLe16(p));
  // The two header samples come out oldest first.
  for (int c = 0; c < channels; ++c) out[c] = static_cast<int16_t>(ch[c].s2);
  for (int c = 0; c < channels; ++c) out[channels + c] = static_cast<int16_t>(ch[c].s1);
  int16_t* o = out + 2 * channels;
  const int nibbles = (samplesPerBlock - 2) * channels;
  for (int n = 0; n < nibbles; ++n) {
    const uint8_t byte = p[n >> 1];
    const int nibble = (n & 1) ? (byte & 0x0F) : (byte >> 4);
    *o++ = MsStep(ch[n % channels], nibble);
  }
  return samplesPerBlock;
}

int DecodeImaAdpcmBlock(const uint8_t* block, uint32_t blockBytes, int channels,
                        int samplesPerBlock, int16_t* out) {
  if (channels < 1 || channels > 2 || blockBytes < 4u * channels || samplesPerBlock < 1) return -1;
  const uint32_t dataBytes = blockBytes - 4u * channels;
  // Data comes in groups of 4 bytes (8 samples) per channel, channels taking turns.
  const int maxSamples = 1 + static_cast<int>(dataBytes / (4u * channels)) * 8;
  if (samplesPerBlock > maxSamples) return -1;
  ImaChannel ch[2] = {};
  for (int c = 0; c < channels; ++c) {
    const uint8_t* h = block + 4 * c;
    ch[c].predictor = static_cast<int16_t>(ReadLe16(h));
    ch[c].index = h[2] > 88 ? 88 : h[2];
    out[c] = static_cast<int16_t>(ch[c].predictor);
  }
  const uint8_t* data = block + 4 * channels;
  const int groups = (samplesPerBlock - 1 + 7) / 8;
  for (int g = 0; g < groups; ++g) {
    for (int c = 0; c < channels; ++c) {
      const uint8_t* q = data + (static_cast<size_t>(g) * channels + c) * 4;
      for (int k = 0; k < 8; ++k) {
        const int sampleIndex = 1 + g * 8 + k;
        if (sampleIndex >= samplesPerBlock) break;
        const int nibble = (k & 1) ? (q[k >> 1] >> 4) : (q[k >> 1] & 0x0F);
        out[sampleIndex * channels + c] = ImaStep(ch[c], nibble);
      }
    }
  }
  return samplesPerBlock;
}

int16_t DecodeALaw(uint8_t value) {
  const int v = value ^ 0x55;
  const int exponent = (v >> 4) & 7;
  int magnitude = (v & 0x0F) << 4;
  magnitude = exponent == 0 ? magnitude + 8 : (magnitude + 0x108) << (exponent - 1);
  return static_cast<int16_t>((v & 0x80) ? magnitude : -magnitude);
}

int16_t DecodeMuLaw(uint8_t value) {
  const int v = ~value & 0xFF;
  const int exponent = (v >> 4) & 7;
  const int magnitude = (((v & 0x0F) << 3) + 0x84) << exponent;
  return static_cast<int16_t>((v & 0x80) ? 0x84 - magnitude : magnitude - 0x84);
}
