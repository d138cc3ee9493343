// The compressed-wave codec layer: for a source wave format (the fmt chunk as
// it lies in the file) it suggests a 16-bit PCM output format, opens
// conversion streams, and converts block-aligned source spans to PCM. MS ADPCM,
// IMA ADPCM, G.711, and PCM of 24 or 32 bits or floating point (also in the
// extensible format) are decoded here; MPEG audio through libmpg123.
#pragma once
#include <cstdint>

#include "sound/sound_base.h"

constexpr uint16_t kWaveTagPcm = 1;
constexpr uint16_t kWaveTagMsAdpcm = 2;
constexpr uint16_t kWaveTagFloat = 3;
constexpr uint16_t kWaveTagExtensible = 0xFFFE;
constexpr uint16_t kWaveTagALaw = 6;
constexpr uint16_t kWaveTagMuLaw = 7;
constexpr uint16_t kWaveTagImaAdpcm = 0x11;
constexpr uint16_t kWaveTagMpeg = 0x50;
constexpr uint16_t kWaveTagMpegLayer3 = 0x55;

struct CodecStream;

// 0 and the PCM output format, or -1 when no codec reads the source format.
int CodecSuggest(const uint8_t* sourceFormat, uint32_t sourceSize, SoundWaveFormat* out);
CodecStream* CodecOpen(const uint8_t* sourceFormat, uint32_t sourceSize,
                       const SoundWaveFormat& out);
void CodecClose(CodecStream* stream);
// Source bytes per conversion: whole blocks of at least minimum bytes.
uint32_t CodecConversionBytes(const CodecStream* stream, uint32_t minimum);
// PCM bytes that source bytes can make at most (whole blocks).
uint64_t CodecOutputBound(const CodecStream* stream, uint64_t sourceBytes);
// Converts whole blocks of source into destination while they fit. Reports the
// source bytes used and PCM bytes made; 0, or -1 on a hard failure. last
// tells a buffering decoder that no more source follows.
int CodecConvert(CodecStream* stream, const uint8_t* source, uint32_t sourceBytes,
                 uint8_t* destination, uint32_t destinationBytes, bool last,
                 uint32_t* sourceUsed, uint32_t* destinationMade);

// The block decoders, exposed for tests. Each decodes one block into out
// (interleaved 16-bit) and returns the samples per channel made, or -1.
struct MsAdpcmCoefficients {
  int count;
  int16_t c1[256];
  int16_t c2[256];
};
int DecodeMsAdpcmBlock(const uint8_t* block, uint32_t blockBytes, int channels,
                       int samplesPerBlock, const MsAdpcmCoefficients& coefficients,
                       int16_t* out);
int DecodeImaAdpcmBlock(const uint8_t* block, uint32_t blockBytes, int channels,
                        int samplesPerBlock, int16_t* out);
int16_t DecodeALaw(uint8_t value);
int16_t DecodeMuLaw(uint8_t value);
