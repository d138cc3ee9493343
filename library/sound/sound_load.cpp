// Making sound handles from sound images in memory: the load mode, the whole
// decode into a memory sound, the in-memory RIFF WAVE image, and reading a
// stream into memory.
#include <algorithm>
#include <cstring>

#include "sound/sound_internal.h"

namespace {
constexpr int64_t kMaxImageBytes = 1024LL << 20;
}

int SetSoundLoadMode(int mode) {
  if (mode < 0 || mode > 3) return -1;
  g_soundLoadMode = static_cast<uint32_t>(mode);
  return 0;
}

int BuildRiffImage(uint8_t** image, uint32_t* imageSize, const SoundWaveFormat& format,
                   const void* data, uint32_t dataSize) {
  if (!image || !imageSize || dataSize > kMaxImageBytes) return -1;
  const uint32_t total = kWaveFormatBytes + dataSize + 28;
  auto* b = static_cast<uint8_t*>(SoundAlloc(total));
  if (!b) return -1;
  std::memcpy(b, "RIFF", 4);
  WriteLe32(b + 4, total - 8);
  std::memcpy(b + 8, "WAVE", 4);
  std::memcpy(b + 12, "fmt ", 4);
  WriteLe32(b + 16, kWaveFormatBytes);
  WaveFormatToBytes(format, b + 20);
  std::memcpy(b + 20 + kWaveFormatBytes, "data", 4);
  WriteLe32(b + 24 + kWaveFormatBytes, dataSize);
  if (dataSize) std::memcpy(b + 28 + kWaveFormatBytes, data, dataSize);
  *image = b;
  *imageSize = total;
  return 0;
}

int ReadStreamToMemory(const SoundStream& stream, uint8_t** data, uint32_t* size) {
  if (!stream.ops || !data || !size) return -1;
  if (stream.ops->seek(stream.handle, 0, 2) != 0) return -1;
  const int64_t length = stream.ops->tell(stream.handle);
  stream.ops->seek(stream.handle, 0, 0);
  if (length <= 0 || length > kMaxImageBytes) return -1;
  auto* b = static_cast<uint8_t*>(SoundAlloc(static_cast<size_t>(length)));
  if (!b) {
    SoundLog("ストリームの読み込みに必要なメモリの確保に失敗しました");
    return -1;
  }
  const size_t got = SoundStreamReadBytes(stream, b, static_cast<size_t>(length));
  if (got == 0) {
    SoundFree(b);
    return -1;
  }
  *data = b;
  *size = static_cast<uint32_t>(got);
  return 0;
}

int CreateSoundFromMemImage(const void* image, uint32_t size, int count, int share) {
  if (!SoundSystemStarted() || count > kMaxSoundBuffers || !image) return -1;
  const int h = AddSoundData(-1);
  if (h == -1) return -1;
  if (g_soundLoadMode != 0) {
    if (g_soundLoadMode == 1 ||
        AddStreamSoundMem(image, size, 0, h, static_cast<int>(g_soundLoadMode), share) != 0) {
      DeleteSoundHandle(h, 0);
      return -1;
    }
    PrimeStreamSound(h);
    return h;
  }
  const StreamHandle m = CreateMemoryStream(image, size);
  SoundConverter converter;
  bool open = false;
  uint8_t* pcm = nullptr;
  uint32_t pcmSize = 0;
  SoundWaveFormat format{};
  bool ok = m != 0;
  if (ok) {
    open = SetupSoundConverter(SoundStream{GetMemoryStreamFunctions(), m}, &converter) == 0;
    if (!open) SoundLog("音声ファイルのＰＣＭへの変換に失敗しました");
    ok = open;
  }
  if (ok && ConvertWholeToPcm(&converter, &format, &pcm, &pcmSize) != 0) {
    SoundLog("音声ファイルを格納するメモリ領域の確保に失敗しました");
    ok = false;
  }
  if (open) CloseConverter(&converter);
  if (m) CloseMemoryStream(m);
  if (ok && CreateSoundBuffers(format, pcmSize, kMemorySound, count, h) != 0) {
    SoundFree(pcm);
    pcm = nullptr;
    ok = false;
  }
  SoundRecord* r = ok ? GetSoundRecord(h) : nullptr;
  if (r) {
    r->format = format;
    r->pcmSize = static_cast<int32_t>(pcmSize);
    r->pcm = pcm;
    for (int i = 0; i < r->bufferCount; ++i) {
      if (r->bufferFilled[i] == 1) continue;
      SoundBuffer& b = r->buffers[i];
      void* p1 = nullptr;
      void* p2 = nullptr;
      uint32_t n1 = 0, n2 = 0;
      if (!b.created || AudioLock(b.buffer, 0, pcmSize, &p1, &n1, &p2, &n2) != 0) {
        SoundLog("サウンドデータの転送に失敗しました_1");
        ok = false;
        break;
      }
      std::memcpy(p1, pcm, n1);
      if (n2) std::memcpy(p2, pcm + n1, n2);
      if (AudioUnlock(b.buffer, p1, n1, p2, n2) != 0) {
        SoundLog("サウンドデータの転送に失敗しました_2");
        ok = false;
        break;
      }
      r->bufferFilled[i] = 1;
    }
  } else {
    SoundFree(pcm);
  }
  if (!ok) {
    DeleteSoundHandle(h, 0);
    return -1;
  }
  return h;
}
