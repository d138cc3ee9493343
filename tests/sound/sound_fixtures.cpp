// Byte images and fixture files of the sound tests.
#include "sound_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutTag(Bytes& b, const std::string& t) { b.insert(b.end(), t.begin(), t.begin() + 4); }

// Writes bits most significant first.
struct BitWriter {
  Bytes& out;
  size_t start;
  int bitsUsed = 0;
  BitWriter(Bytes& o) : out(o), start(o.size()) {}
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (bitsUsed % 8 == 0) out.push_back(0);
      if ((value >> i) & 1) out.back() |= static_cast<uint8_t>(0x80 >> (bitsUsed % 8));
      ++bitsUsed;
    }
  }
};

}  // namespace

Bytes MakeWave(const Bytes& fmt, const Bytes& data, const std::vector<ExtraChunk>& extra,
               bool padData) {
  Bytes b;
  PutTag(b, "RIFF");
  Put32(b, 0);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, static_cast<uint32_t>(fmt.size()));
  b.insert(b.end(), fmt.begin(), fmt.end());
  if (fmt.size() & 1) b.push_back(0);
  for (const ExtraChunk& c : extra) {
    PutTag(b, c.name);
    Put32(b, static_cast<uint32_t>(c.payload.size()));
    b.insert(b.end(), c.payload.begin(), c.payload.end());
    if (c.payload.size() & 1) b.push_back(0);
  }
  PutTag(b, "data");
  Put32(b, static_cast<uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  if (padData && (data.size() & 1)) b.push_back(0);
  const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
  std::memcpy(b.data() + 4, &riff, 4);
  return b;
}

Bytes PcmFmt(int channels, int rate, int bits, int fmtSize) {
  Bytes f;
  const int align = channels * bits / 8;
  Put16(f, 1);
  Put16(f, channels);
  Put32(f, rate);
  Put32(f, rate * align);
  Put16(f, align);
  Put16(f, bits);
  if (fmtSize >= 18) Put16(f, 0);
  while (static_cast<int>(f.size()) < fmtSize) f.push_back(0);
  return f;
}

Bytes CounterPcm16(int channels, uint32_t frames, uint32_t first) {
  Bytes b;
  for (uint32_t i = 0; i < frames; ++i) {
    const uint16_t v = static_cast<uint16_t>(first + i);
    Put16(b, v);
    if (channels == 2) Put16(b, static_cast<uint16_t>(0u - v));
  }
  return b;
}

Bytes MakeLayer1Frames(int frames) {
  Bytes out;
  uint32_t seed = 12345;
  for (int f = 0; f < frames; ++f) {
    const size_t start = out.size();
    out.push_back(0xFF);
    out.push_back(0xFF);  // MPEG-1, Layer I, no CRC
    out.push_back(0x20);  // 64 kbit/s, 44.1 kHz, no padding
    out.push_back(0xC0);  // single channel
    BitWriter w(out);
    // Subbands 1 and 3 carry 4-bit samples, the rest nothing.
    for (int sb = 0; sb < 32; ++sb) w.Put(sb == 1 || sb == 3 ? 3 : 0, 4);
    w.Put(8 + f % 4, 6);
    w.Put(12, 6);
    for (int s = 0; s < 12; ++s) {
      for (int sb = 0; sb < 32; ++sb) {
        if (sb != 1 && sb != 3) continue;
        seed = seed * 1103515245u + 12345u;
        const uint32_t code = (seed >> 16) % 15;  // 0..14: never all ones
        w.Put(code, 4);
      }
    }
    out.resize(start + 68, 0);
  }
  return out;
}

Bytes Id3v2Tag(int majorVersion, bool footer, uint32_t bodySize) {
  Bytes b = {'I', 'D', '3', static_cast<uint8_t>(majorVersion), 0,
             static_cast<uint8_t>(footer ? 0x10 : 0)};
  b.push_back(static_cast<uint8_t>((bodySize >> 21) & 0x7F));
  b.push_back(static_cast<uint8_t>((bodySize >> 14) & 0x7F));
  b.push_back(static_cast<uint8_t>((bodySize >> 7) & 0x7F));
  b.push_back(static_cast<uint8_t>(bodySize & 0x7F));
  // A body that holds a false sync, which must be skipped with the tag.
  for (uint32_t i = 0; i < bodySize; ++i) b.push_back(i % 7 == 0 ? 0xFF : 0xF3);
  if (footer) {
    Bytes foot(b.begin(), b.begin() + 10);
    foot[0] = '3';
    foot[1] = 'D';
    foot[2] = 'I';
    b.insert(b.end(), foot.begin(), foot.end());
  }
  return b;
}

Bytes Id3v1Tag() {
  Bytes b(128, 0xFF);
  b[0] = 'T';
  b[1] = 'A';
  b[2] = 'G';
  return b;
}

Bytes ReadFixture(const std::string& name) {
  std::string dir;
  if (const char* env = std::getenv("VKO_SOURCE_DIR")) {
    dir = std::string(env) + "/tests/sound/data/";
  } else {
    std::string here = __FILE__;
    dir = here.substr(0, here.find_last_of('/') + 1) + "data/";
  }
  Bytes b;
  FILE* f = std::fopen((dir + name).c_str(), "rb");
  if (!f) return b;
  uint8_t buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) b.insert(b.end(), buffer, buffer + n);
  std::fclose(f);
  return b;
}

ConverterOverBytes::ConverterOverBytes(Bytes data) : bytes(std::move(data)) {
  stream = CreateMemoryStream(bytes.data(), bytes.size());
  open = SetupSoundConverter(SoundStream{GetMemoryStreamFunctions(), stream}, &converter) == 0;
}

ConverterOverBytes::~ConverterOverBytes() {
  if (open) CloseConverter(&converter);
  if (stream) CloseMemoryStream(stream);
}

Bytes ConverterOverBytes::ReadAll(uint32_t chunk) {
  Bytes out;
  Bytes buffer(chunk);
  for (;;) {
    const int n = ReadConverter(&converter, buffer.data(), chunk);
    if (n <= 0) break;
    out.insert(out.end(), buffer.begin(), buffer.begin() + n);
  }
  return out;
}
