// Format suggestion and conversion streams of the codec layer: the ADPCM and
// G.711 block decoders, and libmpg123 in feed mode for MPEG audio (16-bit at
// the stream's own rate, gapless trimming off, so the PCM length is the frame
// count times the samples per frame).
#include "sound/codec.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>

struct CodecStream {
  uint16_t tag = 0;
  int bits = 0;                  // wide PCM: bits per sample
  bool isFloat = false;          // wide PCM: IEEE floating point
  int channels = 0;
  uint32_t blockAlign = 1;       // source bytes per block
  int samplesPerBlock = 1;       // samples per channel per block
  MsAdpcmCoefficients coefficients{};
  mpg123_handle* mpeg = nullptr;
  uint8_t firstBytes[4] = {};  // MPEG: the first four bytes fed (the first frame's header)
  uint32_t firstCount = 0;
  bool tailFed = false;
};

namespace {

constexpr int16_t kStandardMsC1[7] = {256, 512, 0, 192, 240, 460, 392};
constexpr int16_t kStandardMsC2[7] = {0, -256, 0, 64, 0, -208, -232};

// The parsed parts of a source format that the decoders need.
struct SourceInfo {
  uint16_t tag;
  int bits;
  bool isFloat;
  int channels;
  uint32_t rate;
  uint32_t blockAlign;
  int samplesPerBlock;
  MsAdpcmCoefficients coefficients;
};

bool ParseSource(const uint8_t* fmt, uint32_t size, SourceInfo* info) {
  if (!fmt || size < 16) return false;
  const SoundWaveFormat f = WaveFormatFromBytes(fmt, size);
  info->tag = f.formatTag;
  info->channels = f.channels;
  info->rate = f.samplesPerSec;
  info->blockAlign = f.blockAlign;
  info->samplesPerBlock = 1;
  if (f.channels < 1 || f.channels > 2 || f.samplesPerSec < 100 || f.samplesPerSec > 384000) {
    return false;
  }
  const uint16_t extra = size >= 18 ? f.extraSize : 0;
  info->bits = f.bitsPerSample;
  info->isFloat = false;
  uint16_t tag = f.formatTag;
  if (tag == kWaveTagExtensible) {
    // The sub-format GUID's first two bytes name the real format.
    if (size < 40 || extra < 22) return false;
    tag = ReadLe16(fmt + 24);
    if (tag != kWaveTagPcm && tag != kWaveTagFloat) return false;
  }
  if (tag == kWaveTagPcm || tag == kWaveTagFloat) {
    // Samples wider than 16 bits (or floats) are narrowed to 16 bits.
    info->tag = kWaveTagPcm;
    info->isFloat = tag == kWaveTagFloat;
    const int b = f.bitsPerSample;
    const bool ok = info->isFloat ? (b == 32 || b == 64) : (b == 8 || b == 16 || b == 24 || b == 32);
    return ok && f.blockAlign == f.channels * b / 8;
  }
  switch (f.formatTag) {
    case kWaveTagALaw:
    case kWaveTagMuLaw:
      if (f.bitsPerSample != 8 || f.blockAlign != f.channels) return false;
      return true;
    case kWaveTagImaAdpcm: {
      const uint32_t header = 4u * f.channels;
      if (f.bitsPerSample != 4 || f.blockAlign <= header ||
          (f.blockAlign - header) % header != 0) {
        return false;
      }
      const int most = 1 + static_cast<int>((f.blockAlign - header) / header) * 8;
      int spb = most;
      if (extra >= 2 && size >= 20) spb = ReadLe16(fmt + 18);
      if (spb < 1 || spb > most) return false;
      info->samplesPerBlock = spb;
      return true;
    }
    case kWaveTagMsAdpcm: {
      const uint32_t header = 7u * f.channels;
      if (f.bitsPerSample != 4 || f.blockAlign < header) return false;
      const int most = 2 + static_cast<int>((f.blockAlign - header) * 2 / f.channels);
      int spb = most;
      MsAdpcmCoefficients& co = info->coefficients;
      co.count = 7;
      std::copy(kStandardMsC1, kStandardMsC1 + 7, co.c1);
      std::copy(kStandardMsC2, kStandardMsC2 + 7, co.c2);
      if (extra >= 4 && size >= 22) {
        spb = ReadLe16(fmt + 18);
        const int count = ReadLe16(fmt + 20);
        if (count < 1 || count > 256 || size < 22u + 4u * count || extra < 4 + 4 * count) {
          return false;
        }
        co.count = count;
        for (int i = 0; i < count; ++i) {
          co.c1[i] = static_cast<int16_t>(ReadLe16(fmt + 22 + 4 * i));
          co.c2[i] = static_cast<int16_t>(ReadLe16(fmt + 24 + 4 * i));
        }
      }
      if (spb < 2 || spb > most) return false;
      info->samplesPerBlock = spb;
      return true;
    }
    case kWaveTagMpeg:
    case kWaveTagMpegLayer3:
      info->blockAlign = 1;
      return true;
    default:
      return false;
  }
}

// One sample of wide or floating-point PCM as 16 bits (the top bits kept,
// floats scaled by 32768 and clamped).
int16_t NarrowSample(const uint8_t* frame, int bits, bool isFloat, int channel) {
  const uint8_t* p = frame + channel * (bits / 8);
  if (isFloat) {
    double v;
    if (bits == 32) {
      float f;
      std::memcpy(&f, p, 4);
      v = f;
    } else {
      std::memcpy(&v, p, 8);
    }
    if (!(v == v)) return 0;  // NaN
    v = std::clamp(v * 32768.0, -32768.0, 32767.0);
    return static_cast<int16_t>(v);
  }
  switch (bits) {
    case 8: return static_cast<int16_t>((p[0] - 128) * 256);
    case 16: return static_cast<int16_t>(ReadLe16(p));
    case 24: return static_cast<int16_t>(ReadLe16(p + 1));
    default: return static_cast<int16_t>(ReadLe16(p + 2));
  }
}

void InitializeMpg123() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

mpg123_handle* OpenMpeg(int channels, uint32_t rate) {
  InitializeMpg123();
  int error = 0;
  mpg123_handle* h = mpg123_new(nullptr, &error);
  if (!h) return nullptr;
  bool ok = mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0) == MPG123_OK &&
            mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0) ==
                MPG123_OK &&
            mpg123_format_none(h) == MPG123_OK &&
            mpg123_format(h, static_cast<long>(rate), channels == 1 ? MPG123_MONO : MPG123_STEREO,
                          MPG123_ENC_SIGNED_16) == MPG123_OK &&
            mpg123_open_feed(h) == MPG123_OK;
  if (!ok) {
    mpg123_delete(h);
    return nullptr;
  }
  return h;
}

int ConvertMpeg(CodecStream* s, const uint8_t* source, uint32_t sourceBytes,
                uint8_t* destination, uint32_t destinationBytes, bool last, uint32_t* used,
                uint32_t* made) {
  if (sourceBytes && mpg123_feed(s->mpeg, source, sourceBytes) != MPG123_OK) return -1;
  *used = sourceBytes;
  for (uint32_t i = 0; i < sourceBytes && s->firstCount < 4; ++i) {
    s->firstBytes[s->firstCount++] = source[i];
  }
  // The decoder trusts a first frame only once it sees the next frame's
  // header: after the last source bytes it gets the first header again (an
  // incomplete frame that makes nothing), so a stream of one frame decodes too.
  if (last && !s->tailFed && s->firstCount == 4) {
    s->tailFed = true;
    if (mpg123_feed(s->mpeg, s->firstBytes, 4) != MPG123_OK) return -1;
  }
  // Whole samples only.
  const uint32_t frameBytes = 2u * s->channels;
  destinationBytes -= destinationBytes % frameBytes;
  uint32_t total = 0;
  int guard = 0;
  while (total < destinationBytes && guard++ < 100000) {
    size_t done = 0;
    const int r = mpg123_read(s->mpeg, destination + total, destinationBytes - total, &done);
    total += static_cast<uint32_t>(done);
    if (r == MPG123_NEW_FORMAT || (r == MPG123_OK && done > 0)) continue;
    if (r == MPG123_OK) continue;
    break;  // MPG123_NEED_MORE, MPG123_DONE or an error: what was made stands
  }
  *made = total;
  return 0;
}

}  // namespace

int CodecSuggest(const uint8_t* sourceFormat, uint32_t sourceSize, SoundWaveFormat* out) {
  SourceInfo info{};
  if (!out || !ParseSource(sourceFormat, sourceSize, &info)) return -1;
  SoundWaveFormat f{};
  f.formatTag = kWaveTagPcm;
  f.channels = static_cast<uint16_t>(info.channels);
  f.samplesPerSec = info.rate;
  f.bitsPerSample = 16;
  f.blockAlign = static_cast<uint16_t>(2 * info.channels);
  f.avgBytesPerSec = f.blockAlign * f.samplesPerSec;
  f.extraSize = 0;
  *out = f;
  return 0;
}

CodecStream* CodecOpen(const uint8_t* sourceFormat, uint32_t sourceSize,
                       const SoundWaveFormat& out) {
  SourceInfo info{};
  if (!ParseSource(sourceFormat, sourceSize, &info)) return nullptr;
  if (out.formatTag != kWaveTagPcm || out.bitsPerSample != 16 || out.channels != info.channels ||
      out.samplesPerSec != info.rate) {
    return nullptr;
  }
  auto* s = new CodecStream;
  s->tag = info.tag;
  s->bits = info.bits;
  s->isFloat = info.isFloat;
  s->channels = info.channels;
  s->blockAlign = info.blockAlign;
  s->samplesPerBlock = info.samplesPerBlock;
  s->coefficients = info.coefficients;
  if (info.tag == kWaveTagMpeg || info.tag == kWaveTagMpegLayer3) {
    s->mpeg = OpenMpeg(info.channels, info.rate);
    if (!s->mpeg) {
      delete s;
      return nullptr;
    }
  }
  return s;
}

void CodecClose(CodecStream* s) {
  if (!s) return;
  if (s->mpeg) mpg123_delete(s->mpeg);
  delete s;
}

uint32_t CodecConversionBytes(const CodecStream* s, uint32_t minimum) {
  if (!s || s->blockAlign <= 1) return minimum;
  if (s->blockAlign >= minimum) return s->blockAlign;
  return minimum / s->blockAlign * s->blockAlign;
}

uint64_t CodecOutputBound(const CodecStream* s, uint64_t sourceBytes) {
  if (!s) return 0;
  switch (s->tag) {
    case kWaveTagALaw:
    case kWaveTagMuLaw:
      return sourceBytes * 2;
    case kWaveTagPcm:
    case kWaveTagImaAdpcm:
    case kWaveTagMsAdpcm:
      return sourceBytes / s->blockAlign * static_cast<uint64_t>(s->samplesPerBlock) *
             s->channels * 2;
    default:
      return 0;  // MPEG: the frame walk gives the length
  }
}

int CodecConvert(CodecStream* s, const uint8_t* source, uint32_t sourceBytes,
                 uint8_t* destination, uint32_t destinationBytes, bool last,
                 uint32_t* sourceUsed, uint32_t* destinationMade) {
  if (!s || !sourceUsed || !destinationMade) return -1;
  *sourceUsed = 0;
  *destinationMade = 0;
  if (s->mpeg) {
    return ConvertMpeg(s, source, sourceBytes, destination, destinationBytes, last, sourceUsed,
                       destinationMade);
  }
  const uint32_t outPerBlock = static_cast<uint32_t>(s->samplesPerBlock) * s->channels * 2;
  uint32_t blocks = std::min(sourceBytes / s->blockAlign, destinationBytes / outPerBlock);
  auto* out = reinterpret_cast<int16_t*>(destination);
  for (uint32_t b = 0; b < blocks; ++b) {
    const uint8_t* block = source + static_cast<size_t>(b) * s->blockAlign;
    int16_t* o = out + static_cast<size_t>(b) * s->samplesPerBlock * s->channels;
    int r = 0;
    switch (s->tag) {
      case kWaveTagPcm:
        for (int c = 0; c < s->channels; ++c) o[c] = NarrowSample(block, s->bits, s->isFloat, c);
        break;
      case kWaveTagALaw:
        for (int c = 0; c < s->channels; ++c) o[c] = DecodeALaw(block[c]);
        break;
      case kWaveTagMuLaw:
        for (int c = 0; c < s->channels; ++c) o[c] = DecodeMuLaw(block[c]);
        break;
      case kWaveTagImaAdpcm:
        r = DecodeImaAdpcmBlock(block, s->blockAlign, s->channels, s->samplesPerBlock, o);
        break;
      case kWaveTagMsAdpcm:
        r = DecodeMsAdpcmBlock(block, s->blockAlign, s->channels, s->samplesPerBlock,
                               s->coefficients, o);
        break;
      default:
        return -1;
    }
    if (r < 0) {
      blocks = b;  // a damaged block ends the conversion; what came before stands
      break;
    }
  }
  *sourceUsed = blocks * s->blockAlign;
  *destinationMade = blocks * outPerBlock;
  return 0;
}
