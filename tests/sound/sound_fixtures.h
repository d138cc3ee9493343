// Helpers of the sound tests: byte images of WAV files, MPEG Layer I frames
// and ID3 tags made here, committed fixture files, and a converter over bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sound/converter.h"

using Bytes = std::vector<uint8_t>;

// A RIFF WAVE image with the given fmt chunk, optional chunks between fmt and
// data (name + payload, padded when odd), and the data payload.
struct ExtraChunk {
  std::string name;
  Bytes payload;
};
Bytes MakeWave(const Bytes& fmt, const Bytes& data, const std::vector<ExtraChunk>& extra = {},
               bool padData = true);
Bytes PcmFmt(int channels, int rate, int bits, int fmtSize = 16);
// A counter waveform: 16-bit frames whose left sample is the frame index
// (wrapping) and right sample its negation; handy for finding seams.
Bytes CounterPcm16(int channels, uint32_t frames, uint32_t first = 0);

// Frames of MPEG-1 Layer I, 44.1 kHz, 64 kbit/s, mono (68 bytes each) with
// deterministic non-silent content.
Bytes MakeLayer1Frames(int frames);
Bytes Id3v2Tag(int majorVersion, bool footer, uint32_t bodySize);
Bytes Id3v1Tag();

Bytes ReadFixture(const std::string& name);  // tests/sound/data/<name>; empty if missing

// Opens a converter over a memory stream of the bytes (kept alive by the
// holder); close with Close().
struct ConverterOverBytes {
  Bytes bytes;
  StreamHandle stream = 0;
  SoundConverter converter{};
  bool open = false;
  explicit ConverterOverBytes(Bytes data);
  ~ConverterOverBytes();
  ConverterOverBytes(const ConverterOverBytes&) = delete;
  ConverterOverBytes& operator=(const ConverterOverBytes&) = delete;
  Bytes ReadAll(uint32_t chunk = 1000);
};
