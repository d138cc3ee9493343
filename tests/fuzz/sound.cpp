// Fuzz target of the sound-data converter: any bytes are opened as a sound
// source (PCM or compressed WAV, Ogg Vorbis, MPEG audio), read in pieces,
// sought, looped back to a loop point as the stream refill does, and decoded
// whole; nothing may crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/stream.h"
#include "sound/converter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const StreamHandle stream = CreateMemoryStream(data, size);
  if (!stream) return 0;
  SoundConverter c;
  if (SetupSoundConverter(SoundStream{GetMemoryStreamFunctions(), stream}, &c) == 0) {
    const uint32_t length = GetConverterLength(&c);
    const uint32_t align = c.outFormat.blockAlign ? c.outFormat.blockAlign : 1;
    std::vector<uint8_t> buffer(7001);
    uint32_t total = 0;
    for (int i = 0; i < 64; ++i) {
      const int n = ReadConverter(&c, buffer.data(), static_cast<uint32_t>(buffer.size()));
      if (n <= 0) break;
      total += static_cast<uint32_t>(n);
    }
    c.loopStartBytes = length / 3 / align * align;
    SeekConverter(&c, length / align / 2);
    ReadConverter(&c, buffer.data(), 3000);
    SeekConverter(&c, length / align / 3);
    ReadConverter(&c, buffer.data(), 3000);
    SeekConverter(&c, 0xFFFFFFF0u);
    ReadConverter(&c, buffer.data(), 100);
    // As the stream refill loops: read to the end, go back to the loop point.
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 16 && ReadConverter(&c, buffer.data(), 4096) > 0; ++i) {
      }
      SeekConverter(&c, c.loopStartBytes / align);
    }
    if (length < (4u << 20)) {
      SoundWaveFormat format{};
      uint8_t* pcm = nullptr;
      uint32_t pcmSize = 0;
      if (ConvertWholeToPcm(&c, &format, &pcm, &pcmSize) == 0) {
        volatile uint8_t sink = pcmSize ? pcm[pcmSize - 1] : 0;
        (void)sink;
        SoundFree(pcm);
      }
    }
    (void)total;
    CloseConverter(&c);
  }
  CloseMemoryStream(stream);
  return 0;
}
