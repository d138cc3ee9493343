// The sound-data converter: the openers (PCM WAV, compressed WAV, Ogg Vorbis,
// MPEG audio, tried in that order), the fills that deliver PCM, seeking and
// the whole-source decode.
#include "sound/converter.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "sound/codec.h"

namespace {

constexpr uint32_t kMaxFmtBytes = 4096;
constexpr uint32_t kMaxSourceBytes = 512u << 20;  // compressed data held in memory
constexpr uint32_t kMaxPcmBytes = 1024u << 20;    // a whole decode
constexpr uint32_t kConversionBlock = 2048;
constexpr uint32_t kLookAheadMargin = 10240;
constexpr uint32_t kOggWorkSize = 4096;
constexpr int64_t kOggExtraSamples = 44100;

void ResetMethodState(SoundConverter* c) {
  c->sourceFormat = nullptr;
  c->sourceFormatSize = 0;
  c->mainStream = nullptr;
  c->aheadStream = nullptr;
  c->compressed = nullptr;
  c->compressedSize = 0;
  c->mainConsumed = 0;
  c->totalSamples = -1;
  c->aheadConsumed = 0;
  c->aheadProduced = 0;
  c->aheadOutput = nullptr;
  c->conversionBytes = kConversionBlock;
  c->oggOpen = 0;
  c->ogg = nullptr;
  c->sampleSize = 0;
  c->oggHoles = 0;
}

void FreeCompressed(SoundConverter* c) {
  CodecClose(c->mainStream);
  CodecClose(c->aheadStream);
  SoundFree(c->sourceFormat);
  SoundFree(c->compressed);
  SoundFree(c->aheadOutput);
  ResetMethodState(c);
}

bool Seek(SoundConverter* c, int64_t offset) { return c->stream.ops->seek(c->stream.handle, offset, 0) == 0; }
int64_t Tell(SoundConverter* c) { return c->stream.ops->tell(c->stream.handle); }
bool ReadExact(SoundConverter* c, void* out, size_t bytes) {
  return SoundStreamReadBytes(c->stream, out, bytes) == bytes;
}

// The RIFF header walk shared by both WAV openers: the fmt chunk must come
// first; the walk then finds the data chunk. The fmt data comes back in a
// SoundAlloc block.
bool WalkRiff(SoundConverter* c, int64_t length, uint8_t** fmt) {
  *fmt = nullptr;
  uint8_t h[12];
  if (!ReadExact(c, h, 12) || std::memcmp(h, "RIFF", 4) != 0 || std::memcmp(h + 8, "WAVE", 4) != 0) {
    return false;
  }
  uint8_t chunk[8];
  if (!ReadExact(c, chunk, 8) || std::memcmp(chunk, "fmt ", 4) != 0) return false;
  const uint32_t fmtSize = ReadLe32(chunk + 4);
  if (fmtSize < 14 || fmtSize > kMaxFmtBytes) return false;
  c->fmtPosition = static_cast<uint32_t>(Tell(c));
  c->fmtSize = fmtSize;
  uint8_t* block = static_cast<uint8_t*>(SoundAlloc(fmtSize));
  if (!block) return false;
  if (!ReadExact(c, block, fmtSize)) {
    SoundFree(block);
    return false;
  }
  int64_t position = static_cast<int64_t>(c->fmtPosition) + fmtSize + (fmtSize & 1);
  for (;;) {
    if (position + 8 > length || !Seek(c, position) || !ReadExact(c, chunk, 8)) break;
    const uint32_t size = ReadLe32(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      const int64_t start = position + 8;
      const int64_t available = length - start;
      c->dataStart = static_cast<uint32_t>(start);
      // A data chunk that claims more than the stream holds is cut to what is there.
      c->dataSize = static_cast<uint32_t>(std::min<int64_t>(size, available));
      if (c->dataSize == 0) break;
      *fmt = block;
      return true;
    }
    position += 8 + static_cast<int64_t>(size) + (size & 1);
  }
  SoundFree(block);
  return false;
}

bool OpenPcmWave(SoundConverter* c, int64_t length) {
  uint8_t* fmt = nullptr;
  if (!WalkRiff(c, length, &fmt)) return false;
  SoundWaveFormat f = WaveFormatFromBytes(fmt, c->fmtSize);
  SoundFree(fmt);
  if (f.formatTag != kWaveTagPcm || f.channels == 0) return false;
  if (c->fmtSize == 16) f.bitsPerSample = static_cast<uint16_t>(f.blockAlign / f.channels * 8);
  f.extraSize = 0;
  if (!WaveFormatPlayable(f)) return false;
  f.avgBytesPerSec = f.blockAlign * f.samplesPerSec;
  c->dataSize -= c->dataSize % f.blockAlign;
  if (c->dataSize == 0) return false;
  c->outFormat = f;
  c->workSize = f.avgBytesPerSec;
  c->method = kConverterPcm;
  return Seek(c, c->dataStart);
}

// Frames of MPEG audio in memory, walked from their headers: the number of
// samples, the first frame's offset and header, and the end of the last frame.
struct MpegWalk {
  uint32_t first = 0;
  uint32_t end = 0;
  uint64_t samples = 0;
  uint32_t frames = 0;
  MpegFrameInfo info{};
};

bool WalkMpegFrames(const uint8_t* data, uint32_t begin, uint32_t limit, MpegWalk* walk) {
  uint32_t p = begin;
  while (p < limit) {
    if (data[p] != 0xFF) {
      ++p;
      continue;
    }
    if (p + 1 >= limit) break;
    if ((data[p + 1] & 0xF0) != 0xF0) {
      p += 2;
      continue;
    }
    if (p + 3 >= limit) break;
    MpegFrameInfo info{};
    if (ParseMpegHeader(data + p, &info) != 0) return false;
    if (walk->frames == 0) {
      walk->first = p;
      walk->info = info;
    }
    walk->frames += 1;
    walk->samples += info.samplesPerFrame;
    const uint64_t next = static_cast<uint64_t>(p) + info.frameBytes;
    walk->end = static_cast<uint32_t>(std::min<uint64_t>(next, limit));
    if (next >= limit) break;
    p = static_cast<uint32_t>(next);
  }
  return walk->frames > 0;
}

// The common tail of both compressed openers: the suggested PCM format, the
// data in memory, the main and look-ahead decoders.
bool OpenCompressed(SoundConverter* c, uint8_t* sourceFormat, uint32_t sourceSize,
                    uint32_t start, uint32_t size) {
  c->sourceFormat = sourceFormat;
  c->sourceFormatSize = sourceSize;
  SoundWaveFormat out{};
  if (CodecSuggest(sourceFormat, sourceSize, &out) != 0 || !WaveFormatPlayable(out) ||
      size > kMaxSourceBytes) {
    FreeCompressed(c);
    return false;
  }
  c->compressed = static_cast<uint8_t*>(SoundAlloc(size));
  c->compressedSize = size;
  if (!c->compressed || !Seek(c, start) || !ReadExact(c, c->compressed, size) || !Seek(c, start)) {
    FreeCompressed(c);
    return false;
  }
  c->dataStart = start;
  c->dataSize = size;
  c->mainStream = CodecOpen(sourceFormat, sourceSize, out);
  c->aheadStream = CodecOpen(sourceFormat, sourceSize, out);
  if (!c->mainStream || !c->aheadStream) {
    FreeCompressed(c);
    return false;
  }
  c->conversionBytes = CodecConversionBytes(c->mainStream, kConversionBlock);
  uint64_t work = std::max<uint64_t>(out.avgBytesPerSec,
                                     CodecOutputBound(c->mainStream, c->conversionBytes));
  work = (work + out.blockAlign - 1) / out.blockAlign * out.blockAlign;
  if (work > (64u << 20)) {
    FreeCompressed(c);
    return false;
  }
  c->workSize = static_cast<uint32_t>(work);
  c->aheadOutput = static_cast<uint8_t*>(SoundAlloc(c->workSize));
  if (!c->aheadOutput) {
    FreeCompressed(c);
    return false;
  }
  c->outFormat = out;
  c->method = kConverterCompressed;
  return true;
}

bool OpenAcmWave(SoundConverter* c, int64_t length) {
  uint8_t* fmt = nullptr;
  if (!WalkRiff(c, length, &fmt)) return false;
  if (c->fmtSize == 16) {
    SoundWaveFormat f = WaveFormatFromBytes(fmt, 16);
    if (f.formatTag == kWaveTagPcm && f.channels != 0) {
      WriteLe16(fmt + 14, static_cast<uint16_t>(f.blockAlign / f.channels * 8));
    }
  }
  if (!OpenCompressed(c, fmt, c->fmtSize, c->dataStart, c->dataSize)) return false;
  const uint16_t tag = ReadLe16(c->sourceFormat);
  if (tag == kWaveTagMpeg || tag == kWaveTagMpegLayer3) {
    // MPEG inside a WAV: the length comes from the frames.
    MpegWalk walk;
    if (!WalkMpegFrames(c->compressed, 0, c->compressedSize, &walk) ||
        walk.samples > 0x7FFFFFFF) {
      FreeCompressed(c);
      return false;
    }
    c->totalSamples = static_cast<int32_t>(walk.samples);
  }
  return true;
}

bool OpenMpegAudio(SoundConverter* c, int64_t length) {
  if (length <= 4 || length > kMaxSourceBytes) return false;
  const uint32_t total = static_cast<uint32_t>(length);
  uint8_t* bytes = static_cast<uint8_t*>(SoundAlloc(total));
  if (!bytes) return false;
  bool ok = Seek(c, 0) && ReadExact(c, bytes, total);
  uint32_t skip = 0;
  if (ok && total >= 10 && std::memcmp(bytes, "ID3", 3) == 0) {
    const uint32_t size = ((((bytes[6] & 0x7Fu) * 128 + (bytes[7] & 0x7Fu)) * 128 +
                            (bytes[8] & 0x7Fu)) * 128) + (bytes[9] & 0x7Fu);
    skip = size + 10;
    if (bytes[3] == 4 && (bytes[5] & 0x10)) skip += 10;
  }
  uint32_t tail = 0;
  if (total > 128) {
    if (std::memcmp(bytes + total - 128, "TAG", 3) == 0) tail = 128;
  } else {
    tail = total;
  }
  MpegWalk walk;
  ok = ok && skip < total - tail && WalkMpegFrames(bytes, skip, total - tail, &walk) &&
       walk.samples <= 0x7FFFFFFF && walk.info.channels >= 1;
  SoundFree(bytes);
  if (!ok) return false;
  // The source format as the codec layer reads it (MPEGLAYER3WAVEFORMAT).
  auto* fmt = static_cast<uint8_t*>(SoundAlloc(30));
  if (!fmt) return false;
  WriteLe16(fmt + 0, kWaveTagMpegLayer3);
  WriteLe16(fmt + 2, walk.info.channels);
  WriteLe32(fmt + 4, walk.info.sampleRate);
  WriteLe32(fmt + 8, walk.info.bitRate * 1000 / 8);
  WriteLe16(fmt + 12, 1);
  WriteLe16(fmt + 14, 0);
  WriteLe16(fmt + 16, 12);
  WriteLe16(fmt + 18, 1);
  WriteLe32(fmt + 20, walk.info.padding);
  WriteLe16(fmt + 24, static_cast<uint16_t>(walk.info.frameBytes));
  WriteLe16(fmt + 26, 1);
  WriteLe16(fmt + 28, 700);
  if (!OpenCompressed(c, fmt, 30, walk.first, walk.end - walk.first)) return false;
  c->totalSamples = static_cast<int32_t>(walk.samples);
  return true;
}

// vorbisfile reads through the converter's stream copy.
size_t OggRead(void* buffer, size_t size, size_t count, void* source) {
  if (!source) return static_cast<size_t>(-1);
  auto* s = static_cast<SoundStream*>(source);
  return s->ops->read(buffer, size, count, s->handle);
}
int OggSeek(void* source, ogg_int64_t offset, int origin) {
  if (!source) return -1;
  auto* s = static_cast<SoundStream*>(source);
  return s->ops->seek(s->handle, offset, origin);
}
int OggClose(void* source) { return source ? 0 : -1; }
long OggTell(void* source) {
  if (!source) return -1;
  auto* s = static_cast<SoundStream*>(source);
  return static_cast<long>(s->ops->tell(s->handle));
}

bool OpenOggVorbis(SoundConverter* c, int64_t) {
  c->oggOpen = 0;
  c->oggBroken = 0;
  c->oggHoles = 0;
  c->ogg = static_cast<OggVorbis_File*>(SoundAlloc(sizeof(OggVorbis_File)));
  if (!c->ogg) return false;
  const ov_callbacks callbacks = {OggRead, OggSeek, OggClose, OggTell};
  if (ov_open_callbacks(&c->stream, c->ogg, nullptr, 0, callbacks) != 0) {
    SoundFree(c->ogg);
    c->ogg = nullptr;
    return false;
  }
  c->oggOpen = 1;
  const vorbis_info* info = ov_info(c->ogg, -1);
  const ogg_int64_t total = ov_pcm_total(c->ogg, -1);
  SoundWaveFormat f{};
  f.formatTag = kWaveTagPcm;
  if (info) {
    f.channels = static_cast<uint16_t>(info->channels);
    f.samplesPerSec = info->rate > 0 ? static_cast<uint32_t>(info->rate) : 0;
  }
  c->sampleSize = 2;
  f.blockAlign = static_cast<uint16_t>(f.channels * c->sampleSize);
  f.avgBytesPerSec = f.blockAlign * f.samplesPerSec;
  f.bitsPerSample = static_cast<uint16_t>(c->sampleSize * 8);
  const uint64_t limit = kMaxPcmBytes / 4 - kOggExtraSamples;
  if (!info || info->channels < 1 || info->channels > 2 || !WaveFormatPlayable(f) || total <= 0 ||
      static_cast<uint64_t>(total) > limit) {
    ov_clear(c->ogg);
    SoundFree(c->ogg);
    c->ogg = nullptr;
    c->oggOpen = 0;
    return false;
  }
  c->outFormat = f;
  c->workSize = kOggWorkSize;
  c->dataSize = static_cast<uint32_t>(total) * f.blockAlign;
  c->method = kConverterOgg;
  return true;
}

// ---- Fills -----------------------------------------------------------------

int FillPcm(SoundConverter* c) {
  const int64_t p = Tell(c) - c->dataStart;
  if (p < 0 || p >= c->dataSize) return -1;
  const uint32_t k = std::min<uint32_t>(c->workSize, c->dataSize - static_cast<uint32_t>(p));
  const size_t got = SoundStreamReadBytes(c->stream, c->work, k);
  if (got == 0) return -1;
  c->left = static_cast<uint32_t>(got);
  return 0;
}

// One conversion of the next block of compressed data with decoder s.
int ConvertStep(SoundConverter* c, CodecStream* s, uint32_t* consumed, uint8_t* destination,
                uint32_t destinationBytes, uint32_t* used, uint32_t* made) {
  const uint32_t remaining = c->compressedSize - *consumed;
  const uint32_t bytes = std::min(c->conversionBytes, remaining);
  if (CodecConvert(s, c->compressed + *consumed, bytes, destination, destinationBytes,
                   bytes == remaining, used, made) != 0) {
    return -1;
  }
  *consumed += *used;
  return 0;
}

void ReopenAhead(SoundConverter* c) {
  CodecClose(c->aheadStream);
  c->aheadStream = CodecOpen(c->sourceFormat, c->sourceFormatSize, c->outFormat);
  c->aheadConsumed = 0;
  c->aheadProduced = 0;
}

void StepLookAhead(SoundConverter* c) {
  const uint32_t target = c->loopStartBytes;
  if (c->aheadProduced == target) return;
  if (c->aheadProduced > target) ReopenAhead(c);
  if (!c->aheadStream) return;
  if (static_cast<int64_t>(c->aheadProduced) < static_cast<int64_t>(target) - kLookAheadMargin &&
      c->aheadConsumed < c->compressedSize) {
    uint32_t room = std::min(c->workSize, target - c->aheadProduced);
    room -= room % c->outFormat.blockAlign;
    uint32_t used = 0, made = 0;
    if (ConvertStep(c, c->aheadStream, &c->aheadConsumed, c->aheadOutput, room, &used, &made) == 0) {
      c->aheadProduced += made;
    }
  }
}

int FillAcm(SoundConverter* c) {
  StepLookAhead(c);
  if (!c->mainStream) return -1;
  for (;;) {
    uint32_t used = 0, made = 0;
    const bool drained = c->mainConsumed >= c->compressedSize;
    if (ConvertStep(c, c->mainStream, &c->mainConsumed, c->work, c->workSize, &used, &made) != 0) {
      made = 0;
      used = 0;
    }
    if (made > 0) {
      c->left = made;
      return 0;
    }
    // A block that makes nothing ends the data, unless a buffering decoder
    // took it in and waits for more.
    if (used == 0 || drained) {
      c->left = 0;
      c->mainConsumed = c->compressedSize;
      return -1;
    }
  }
}

int FillOgg(SoundConverter* c) {
  if (c->oggBroken) return -1;
  for (;;) {
    int section = 0;
    const long r = ov_read(c->ogg, reinterpret_cast<char*>(c->work), static_cast<int>(c->workSize),
                           0, static_cast<int>(c->sampleSize), c->sampleSize != 1, &section);
    if (r > 0) {
      c->oggHoles = 0;
      c->left = static_cast<uint32_t>(r);
      return 0;
    }
    if (r == 0) return -1;
    // Any other error (a damaged link, a bad header, a read error) leaves
    // the decoder unfit for another call: the data ends here.
    if (r != OV_HOLE) {
      c->oggBroken = 1;
      return -1;
    }
    // A hole (a lost or damaged page) is skipped; a run of them ends the data.
    if (++c->oggHoles > 32) return -1;
  }
}

int Fill(SoundConverter* c) {
  switch (c->method) {
    case kConverterPcm: return FillPcm(c);
    case kConverterCompressed: return FillAcm(c);
    case kConverterOgg: return FillOgg(c);
    default: return -1;
  }
}

void SkipInBuffer(SoundConverter* c, uint32_t bytes) {
  const uint32_t k = std::min(bytes, c->left);
  c->offset += k;
  c->left -= k;
  c->position += k;
}

void SeekAcm(SoundConverter* c, uint32_t target) {
  if (target >= c->position && target - c->position <= c->left) {
    SkipInBuffer(c, target - c->position);
    return;
  }
  if (target < c->position) {
    if (target >= c->aheadProduced && c->aheadStream) {
      // The look-ahead decoder stands at or before the target: it takes over.
      CodecClose(c->mainStream);
      c->mainStream = c->aheadStream;
      c->mainConsumed = c->aheadConsumed;
      c->position = c->aheadProduced;
      c->aheadStream = nullptr;
      ReopenAhead(c);
    } else {
      CodecClose(c->mainStream);
      c->mainStream = CodecOpen(c->sourceFormat, c->sourceFormatSize, c->outFormat);
      c->mainConsumed = 0;
      c->position = 0;
      Seek(c, c->dataStart);
    }
    c->left = 0;
    c->offset = 0;
  }
  while (c->position + c->left < target) {
    c->position += c->left;
    c->left = 0;
    c->offset = 0;
    if (FillAcm(c) != 0) {
      c->left = 0;
      return;
    }
  }
  SkipInBuffer(c, target - c->position);
}

}  // namespace

int SetupSoundConverter(const SoundStream& stream, SoundConverter* c) {
  if (!c || !stream.ops) return -1;
  std::memset(c, 0, sizeof *c);
  ResetMethodState(c);
  c->stream = stream;
  c->loopStartBytes = 0;
  const int64_t length = SoundStreamLength(c->stream);
  if (length <= 0) return -1;
  bool (*const openers[4])(SoundConverter*, int64_t) = {OpenPcmWave, OpenAcmWave, OpenOggVorbis,
                                                         OpenMpegAudio};
  bool opened = false;
  for (auto* open : openers) {
    if (stream.ops->seek(stream.handle, 0, 0) != 0) return -1;
    if (open(c, length)) {
      opened = true;
      break;
    }
  }
  if (!opened) return -1;
  c->ready = 1;  // so that CloseConverter releases the method's state
  c->ended = 0;
  c->work = static_cast<uint8_t*>(SoundAlloc(c->workSize));
  if (!c->work) {
    CloseConverter(c);
    return -1;
  }
  c->left = c->offset = c->position = 0;
  return 0;
}

int ReadConverter(SoundConverter* c, void* destination, uint32_t bytes) {
  if (!c || !c->ready) return -1;
  if (c->ended || bytes == 0) return 0;
  auto* out = static_cast<uint8_t*>(destination);
  uint32_t total = 0;
  while (bytes > 0) {
    if (c->left == 0) {
      c->offset = 0;
      if (Fill(c) != 0) {
        c->left = 0;
        c->ended = 1;
        break;
      }
    }
    const uint32_t k = std::min(bytes, c->left);
    std::memcpy(out + total, c->work + c->offset, k);
    c->left -= k;
    c->offset += k;
    c->position += k;
    bytes -= k;
    total += k;
  }
  return static_cast<int>(total);
}

int SeekConverter(SoundConverter* c, uint32_t sample) {
  if (!c || !c->ready) return -1;
  uint64_t target = static_cast<uint64_t>(c->outFormat.blockAlign) * sample;
  // A seek always clears the end mark, even one too small to move.
  c->ended = 0;
  const int64_t distance = static_cast<int64_t>(target) - static_cast<int64_t>(c->position);
  if (distance > -16 && distance < 16) return 0;
  switch (c->method) {
    case kConverterPcm:
      // Never past the data: the chunks after it are not sound.
      target = std::min<uint64_t>(target, c->dataSize);
      Seek(c, c->dataStart + target);
      c->position = static_cast<uint32_t>(target);
      c->left = c->offset = 0;
      break;
    case kConverterCompressed:
      SeekAcm(c, static_cast<uint32_t>(std::min<uint64_t>(target, 0xFFFFFFFFu)));
      break;
    case kConverterOgg: {
      if (!c->oggBroken) {
        const ogg_int64_t total = ov_pcm_total(c->ogg, -1);
        if (ov_pcm_seek(c->ogg, std::min<ogg_int64_t>(sample, total)) != 0) c->oggBroken = 1;
      }
      c->oggHoles = 0;
      c->left = c->offset = 0;
      c->position = static_cast<uint32_t>(target);
      break;
    }
    default:
      break;
  }
  return 0;
}

uint32_t GetConverterLength(SoundConverter* c) {
  if (!c || !c->ready) return 0;
  switch (c->method) {
    case kConverterPcm:
      return c->dataSize;
    case kConverterCompressed: {
      uint64_t n = c->totalSamples >= 0
                       ? static_cast<uint64_t>(c->outFormat.blockAlign) * c->totalSamples
                       : CodecOutputBound(c->mainStream, c->dataSize);
      return static_cast<uint32_t>(std::min<uint64_t>(n, kMaxPcmBytes));
    }
    case kConverterOgg: {
      // 44,100 samples more than the stream holds; reads stop at the real end.
      const int64_t total = ov_pcm_total(c->ogg, -1);
      return static_cast<uint32_t>((total + kOggExtraSamples) * c->outFormat.channels *
                                   c->sampleSize);
    }
    default:
      return 0;
  }
}

int ConvertWholeToPcm(SoundConverter* c, SoundWaveFormat* format, uint8_t** data,
                      uint32_t* size) {
  if (!c || !c->ready || !data || !size) return -1;
  const uint32_t n = GetConverterLength(c);
  if (n == 0) return -1;
  auto* block = static_cast<uint8_t*>(SoundAlloc(n));
  if (!block) return -1;
  SeekConverter(c, 0);
  uint32_t got = 0;
  if (c->method == kConverterPcm) {
    Seek(c, c->dataStart);
    got = static_cast<uint32_t>(SoundStreamReadBytes(c->stream, block, n));
    c->position = got;
  } else {
    const int r = ReadConverter(c, block, n);
    got = r > 0 ? static_cast<uint32_t>(r) : 0;
  }
  // Only whole sample frames of what was really read count.
  got -= got % c->outFormat.blockAlign;
  if (got == 0) {
    SoundFree(block);
    return -1;
  }
  if (format) *format = c->outFormat;
  *data = block;
  *size = got;
  return 0;
}

int CloseConverter(SoundConverter* c) {
  if (!c || !c->ready) return -1;
  SoundFree(c->work);
  c->work = nullptr;
  if (c->method == kConverterCompressed) FreeCompressed(c);
  if (c->method == kConverterOgg && c->ogg) {
    if (c->oggOpen) ov_clear(c->ogg);
    SoundFree(c->ogg);
    c->ogg = nullptr;
    c->oggOpen = 0;
  }
  c->ready = 0;
  return 0;
}

void CopyConverterFormat(const SoundConverter* c, SoundWaveFormat* format) {
  if (c && format) *format = c->outFormat;
}
