// The sound-data converter: turns one source (RIFF WAVE with PCM or
// compressed data, Ogg Vorbis, or MPEG audio) read through a SoundStream into
// 8- or 16-bit PCM; reads on demand, seeks to a sample, reports the length.
#pragma once
#include <cstdint>

#include "sound/sound_base.h"

struct CodecStream;
struct OggVorbis_File;

enum SoundConverterMethod : uint32_t {
  kConverterPcm = 0,
  kConverterCompressed = 1,
  kConverterOgg = 2,
};

struct SoundConverter {
  uint32_t ready;
  uint32_t ended;
  uint32_t method;
  SoundStream stream;
  uint32_t fmtPosition, fmtSize;
  uint32_t dataStart, dataSize;
  SoundWaveFormat outFormat;
  // Compressed data (method 1).
  uint8_t* sourceFormat;
  uint32_t sourceFormatSize;
  CodecStream* mainStream;
  CodecStream* aheadStream;
  uint8_t* compressed;
  uint32_t compressedSize;
  uint32_t mainConsumed;
  int32_t totalSamples;  // -1 when the data gives no length
  uint32_t aheadConsumed;
  uint32_t aheadProduced;
  uint8_t* aheadOutput;
  uint32_t conversionBytes;  // source bytes per conversion
  // Ogg Vorbis (method 2).
  uint32_t oggOpen;
  OggVorbis_File* ogg;
  uint32_t sampleSize;
  uint32_t oggHoles;  // consecutive damaged reads
  // Set by a decoder error other than a hole (a damaged link, a failed seek):
  // libvorbisfile's state may be left half-made, so it is never read or
  // sought again and the data ends there.
  uint32_t oggBroken;
  // PCM delivered from the work buffer.
  uint8_t* work;
  uint32_t workSize, left, offset, position;
  // Where a looping stream goes back to, in PCM bytes: the look-ahead decoder
  // runs toward it so that a jump back takes over a decoder already near it.
  uint32_t loopStartBytes;
};

// The parse of one MPEG audio frame header.
struct MpegFrameInfo {
  uint8_t layer;          // 0 Layer I, 1 Layer II, 2 Layer III
  uint8_t version;        // 0 MPEG-1, 1 MPEG-2
  uint8_t bitRateIndex;
  uint8_t sampleRateIndex;
  uint8_t padding;
  uint8_t channels;
  uint32_t sampleRate;     // Hz
  uint32_t bitRate;        // kbit/s
  uint32_t frameBytes;
  uint32_t samplesPerFrame;
};

// 0, -1 for a bad or reserved field (free format included), -2 without sync.
int ParseMpegHeader(const uint8_t header[4], MpegFrameInfo* info);

int SetupSoundConverter(const SoundStream& stream, SoundConverter* c);  // 0 / -1
int ReadConverter(SoundConverter* c, void* destination, uint32_t bytes);  // bytes, -1 closed
int SeekConverter(SoundConverter* c, uint32_t sample);
uint32_t GetConverterLength(SoundConverter* c);  // PCM bytes
// Decodes the whole source: the block comes from SoundAlloc and is the caller's.
int ConvertWholeToPcm(SoundConverter* c, SoundWaveFormat* format, uint8_t** data,
                      uint32_t* size);
int CloseConverter(SoundConverter* c);
void CopyConverterFormat(const SoundConverter* c, SoundWaveFormat* format);
