// Stream sounds: up to three sources played one after another through a
// six-second ring, primed with four seconds and refilled on every message-pump
// pass to stay three to four seconds ahead of the play cursor; repeats, loop
// points, the end of the list (silence, then the buffer stops) and ring sharing.
#include <algorithm>
#include <cstring>

#include "sound/sound_internal.h"

namespace {

// A locked span of the ring, in one or two parts.
struct LockRegion {
  uint32_t start;
  uint8_t* part[2];
  uint32_t size[2];
  uint32_t filled[2];
};

uint32_t RegionRoom(const LockRegion& r) {
  return (r.size[0] - r.filled[0]) + (r.size[1] - r.filled[1]);
}

// The ring offset just after the last byte filled.
uint32_t RegionEnd(const LockRegion& r) {
  return r.filled[1] > 0 ? r.filled[1] : r.start + r.filled[0];
}

void RegionSilence(LockRegion& r, const SoundWaveFormat& f) {
  // 8-bit sources are padded with 0x7F, the others with 0.
  const int value = f.bitsPerSample == 8 ? 0x7F : 0;
  for (int i = 0; i < 2; ++i) {
    if (r.size[i] > r.filled[i]) std::memset(r.part[i] + r.filled[i], value, r.size[i] - r.filled[i]);
    r.filled[i] = r.size[i];
  }
}

int ReadSourceIntoRegion(LockRegion& r, SoundConverter* c, uint32_t wanted) {
  uint32_t total = 0;
  for (int i = 0; i < 2 && wanted > 0; ++i) {
    while (wanted > 0 && r.filled[i] < r.size[i]) {
      const uint32_t k = std::min(wanted, r.size[i] - r.filled[i]);
      const int n = ReadConverter(c, r.part[i] + r.filled[i], k);
      if (n <= 0) return static_cast<int>(total);
      r.filled[i] += static_cast<uint32_t>(n);
      wanted -= static_cast<uint32_t>(n);
      total += static_cast<uint32_t>(n);
    }
  }
  return static_cast<int>(total);
}

bool LockRing(SoundBuffer& b, uint32_t offset, uint32_t bytes, LockRegion* r) {
  std::memset(r, 0, sizeof *r);
  if (!b.created) return false;
  void* p1 = nullptr;
  void* p2 = nullptr;
  if (AudioLock(b.buffer, offset, bytes, &p1, &r->size[0], &p2, &r->size[1]) != 0) return false;
  r->start = offset;
  r->part[0] = static_cast<uint8_t*>(p1);
  r->part[1] = static_cast<uint8_t*>(p2);
  return true;
}

bool UnlockRing(SoundBuffer& b, LockRegion& r) {
  return AudioUnlock(b.buffer, r.part[0], r.size[0], r.part[1], r.size[1]) == 0;
}

bool CursorInWindow(const SoundRecord* r, uint32_t cursor) {
  const int64_t p = cursor, safe = r->safePosition, write = r->writePosition;
  if (safe < write) return safe <= p && p <= write;
  if (write < safe) return p >= safe || p <= write;
  return true;
}

// The ring holder: the record whose buffer the sound plays through.
SoundRecord* RingHolder(SoundRecord* r) {
  if (r->owner == -1) return r;
  return GetSoundRecord(r->owner);
}

void TrackPlayedBytes(int h, SoundRecord* r, int64_t cursorGiven) {
  SoundBuffer* b = nullptr;
  if (!r->active || ClaimStreamBuffer(h, r, &b, false) != 0) return;
  uint32_t p = 0;
  if (cursorGiven >= 0) {
    p = static_cast<uint32_t>(cursorGiven);
  } else if (BufferCursor(*b, &p) != 0) {
    return;
  }
  const uint32_t last = r->lastCursor, ring = r->ringSize, w = r->wrapPosition;
  if (p == last) return;
  bool crossed = false;
  if (r->wrapPending) {
    if (last < p) {
      if (last < w && w <= p) {
        crossed = true;
        r->playedBytes = p - w;
      }
    } else if (w > last) {
      crossed = true;
      r->playedBytes = ring - w + p;
    } else if (w < p) {
      crossed = true;
      r->playedBytes = p - w;
    }
  }
  if (crossed) {
    r->wrapPending = 0;
  } else {
    r->playedBytes += last < p ? p - last : ring - last + p;
  }
  r->lastCursor = p;
}

// At the end of the current source: the next play of it, the next source, or
// the end of the list. -1 when the list has ended (silence fills the rest).
int AdvanceSource(SoundRecord* r, LockRegion& region, uint32_t cursor) {
  r->repeatCount += 1;
  StreamSource* s = &r->sources[r->currentSource];
  if (s->repeat != -1 && static_cast<int64_t>(s->repeat) < static_cast<int64_t>(r->repeatCount)) {
    r->repeatCount = 0;
    r->currentSource += 1;
    if (r->currentSource >= static_cast<uint32_t>(r->sourceCount)) {
      r->listFinished = 1;
      if (r->playType != 3) {
        r->endReached = 1;
        r->endPosition = RegionEnd(region) % r->ringSize;
        r->cursorAtEnd = cursor;
        RegionSilence(region, r->format);
        return -1;
      }
      r->currentSource = 0;
      r->wrapPending = 1;
      r->wrapPosition = RegionEnd(region) % r->ringSize;
    }
    s = &r->sources[r->currentSource];
  }
  r->bytePosition = r->repeatCount == 0 ? 0 : static_cast<int32_t>(s->converter.loopStartBytes);
  SeekConverter(&s->converter, static_cast<uint32_t>(r->bytePosition) / r->format.blockAlign);
  return 0;
}

// Fills a locked span from the sources. A whole round of the source list that
// yields nothing (a loop start past the real data, a source without PCM)
// leaves the rest of the span silent for this pass instead of spinning.
void FillRegion(SoundRecord* r, LockRegion& region, uint32_t cursor) {
  int emptyAdvances = 0;
  while (RegionRoom(region) > 0 && !r->endReached) {
    if (r->currentSource >= static_cast<uint32_t>(r->sourceCount)) {
      RegionSilence(region, r->format);
      break;
    }
    StreamSource& s = r->sources[r->currentSource];
    const int n = ReadSourceIntoRegion(region, &s.converter, RegionRoom(region));
    if (n > 0) {
      r->bytePosition += n;
      emptyAdvances = 0;
      continue;
    }
    if (++emptyAdvances > r->sourceCount + 1) {
      RegionSilence(region, r->format);
      break;
    }
    if (AdvanceSource(r, region, cursor) != 0) break;
  }
}

StreamSource* NextSource(SoundRecord* r) { return &r->sources[r->sourceCount]; }

void CloseSource(StreamSource* s, bool openedHere) {
  const SoundStream stream = s->converter.stream;
  CloseConverter(&s->converter);
  if (s->type == 3) {
    if (openedHere && stream.ops && stream.handle) stream.ops->close(stream.handle);
  } else if (s->stream.handle) {
    CloseMemoryStream(s->stream.handle);
  }
  s->stream = SoundStream{nullptr, 0};
  SoundFree(s->image);
  s->image = nullptr;
}

}  // namespace

void ReleaseStreamSources(SoundRecord* r) {
  for (int i = 0; i < r->sourceCount && i < kMaxStreamSources; ++i) {
    CloseSource(&r->sources[i], r->openedHere[i] != 0);
  }
  r->sourceCount = 0;
}

int ClaimStreamBuffer(int h, SoundRecord* r, SoundBuffer** buffer, bool takeOver) {
  if (r->kind != kStreamSound) {
    if (buffer) *buffer = &r->buffers[0];
    return 0;
  }
  SoundRecord* holder = RingHolder(r);
  if (!holder) return -1;
  if (buffer) *buffer = &holder->buffers[0];
  if (holder->currentUser == -1 || holder->currentUser == h) {
    holder->currentUser = h;
    return 0;
  }
  if (!takeOver) return -1;
  StopStreamSound(holder->currentUser);
  holder->currentUser = h;
  return 0;
}

int AddSreamSound(const SoundStream& stream, uint8_t repeat, int h, int type, int* copied,
                  int share) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r || !stream.ops) return -1;
  if (r->sourceCount > 0) {
    if (r->kind != kStreamSound) {
      SoundLog("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
      return -1;
    }
    SoundBuffer* b = nullptr;
    uint32_t status = 0;
    if (ClaimStreamBuffer(h, r, &b, false) == 0 && BufferStatus(*b, &status) == 0 &&
        (status & kAudioStatusPlaying)) {
      SoundLog("既に再生中のストリームサウンドデータにデータを追加しようとしました\n");
      return -1;
    }
    if (r->sourceCount >= kMaxStreamSources) {
      SoundLog("ストリーム風サウンドの制御データ領域がいっぱいです\n");
      return -1;
    }
  }
  if (type != 0 && type != 2 && type != 3) return -1;
  StreamSource* s = NextSource(r);
  std::memset(s, 0, sizeof *s);
  s->type = static_cast<uint32_t>(type);
  stream.ops->seek(stream.handle, 0, 0);
  int flag = 0;
  if (type == 0) {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (ReadStreamToMemory(stream, &bytes, &size) != 0) {
      SoundLog("音声データの読み込みに失敗しました");
      return -1;
    }
    const StreamHandle m = CreateMemoryStream(bytes, size);
    SoundConverter temporary;
    if (!m || SetupSoundConverter(SoundStream{GetMemoryStreamFunctions(), m}, &temporary) != 0) {
      if (m) CloseMemoryStream(m);
      SoundFree(bytes);
      SoundLog("音声データのオープンに失敗しました");
      return -1;
    }
    SoundWaveFormat format{};
    uint8_t* pcm = nullptr;
    uint32_t pcmSize = 0;
    const int decoded = ConvertWholeToPcm(&temporary, &format, &pcm, &pcmSize);
    CloseConverter(&temporary);
    CloseMemoryStream(m);
    SoundFree(bytes);
    if (decoded != 0) {
      SoundLog("音声データの変換に失敗しました");
      return -1;
    }
    const int built = BuildRiffImage(&s->image, &s->imageSize, format, pcm, pcmSize);
    SoundFree(pcm);
    if (built != 0) return -1;
    s->stream = SoundStream{GetMemoryStreamFunctions(), CreateMemoryStream(s->image, s->imageSize)};
    if (!s->stream.handle || SetupSoundConverter(s->stream, &s->converter) != 0) {
      CloseSource(s, false);
      SoundLog("音声データのオープンに失敗しました");
      return -1;
    }
    flag = 1;
  } else if (type == 2) {
    if (ReadStreamToMemory(stream, &s->image, &s->imageSize) != 0) {
      SoundLog("音声データの読み込みに失敗しました");
      return -1;
    }
    s->stream = SoundStream{GetMemoryStreamFunctions(), CreateMemoryStream(s->image, s->imageSize)};
    if (!s->stream.handle || SetupSoundConverter(s->stream, &s->converter) != 0) {
      CloseSource(s, false);
      SoundLog("音声データのオープンに失敗しました");
      return -1;
    }
    flag = 1;
  } else {
    if (SetupSoundConverter(stream, &s->converter) != 0) {
      SoundLog("音声データのオープンに失敗しました");
      return -1;
    }
  }
  SoundWaveFormat format{};
  CopyConverterFormat(&s->converter, &format);
  if (r->sourceCount > 0) {
    if (!WaveFormatsEqual(format, r->format)) {
      CloseSource(s, false);
      SoundLog("フォーマットの違う音声データは同時に使うことは出来ません");
      return -1;
    }
  } else {
    r->format = format;
    SoundRecord* shared = share != -1 ? GetSoundRecord(share) : nullptr;
    const uint32_t ring = 6 * format.avgBytesPerSec;
    if (shared && shared != r && shared->kind == kStreamSound && shared->owner == -1 &&
        WaveFormatsEqual(shared->format, format)) {
      r->kind = kStreamSound;
      r->bufferCount = 1;
      ListInsertTail(&g_streamSoundList, &r->listNode, h, r);
      r->owner = share;
      shared->sharers += 1;
    } else {
      if (CreateSoundBuffers(format, ring, kStreamSound, 1, h) != 0) {
        CloseSource(s, false);
        return -1;
      }
      r->owner = -1;
    }
    r->ringSize = ring;
    r->sharers = 0;
    r->currentUser = -1;
    r->deletePending = 0;
    r->writePosition = kNotPrimed;
    r->safePosition = -1;
  }
  s->repeat = static_cast<int8_t>(repeat);
  r->sourceCount += 1;
  uint64_t total = 0;
  for (int i = 0; i < r->sourceCount; ++i) {
    total += GetConverterLength(&r->sources[i].converter) / r->format.blockAlign;
  }
  r->totalLength = static_cast<uint32_t>(std::min<uint64_t>(total, 0x7FFFFFFF));
  if (copied) *copied = flag;
  return 0;
}

int AddStreamSoundMem(const void* image, uint32_t size, uint8_t repeat, int h, int type,
                      int share) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  const StreamHandle m = CreateMemoryStream(image, size);
  if (!m) {
    SoundLog("ＷＡＶファイルのストリームイメージハンドルの作成に失敗しました \n");
    return -1;
  }
  if (type == 3) type = 2;
  int copied = 0;
  if (AddSreamSound(SoundStream{GetMemoryStreamFunctions(), m}, repeat, h, type, &copied, share) !=
      0) {
    CloseMemoryStream(m);
    SoundLog("ＷＡＶファイルのストリームイメージのセットアップに失敗しました \n");
    return -1;
  }
  if (copied == 1) CloseMemoryStream(m);
  r->openedHere[r->sourceCount - 1] = 1;
  return 0;
}

int StopStreamSound(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  TrackPlayedBytes(h, r, -1);
  SoundBuffer* b = nullptr;
  if (ClaimStreamBuffer(h, r, &b, false) != 0) return 0;  // another sound plays the ring
  if (r->owner != -1) {
    SoundRecord* holder = RingHolder(r);
    if (holder) holder->currentUser = -1;
  }
  uint32_t status = 0;
  if (BufferStatus(*b, &status) != 0) return -1;
  if (status & kAudioStatusPlaying) BufferStop(*b);
  return 0;
}

int IsStreamSoundPlaying(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  SoundBuffer* b = nullptr;
  if (ClaimStreamBuffer(h, r, &b, false) != 0) return 0;
  uint32_t status = 0;
  if (BufferStatus(*b, &status) != 0) return 0;
  return (status & kAudioStatusPlaying) ? 1 : 0;
}

int PrimeStreamSound(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind != kStreamSound || r->sourceCount == 0) return 0;
  SoundBuffer* b = nullptr;
  if (ClaimStreamBuffer(h, r, &b, false) != 0) return 0;
  uint32_t status = 0;
  if (BufferStatus(*b, &status) == 0 && (status & kAudioStatusPlaying)) return 0;
  if (r->active == 1) return 0;
  BufferSetPosition(*b, 0);
  r->writePosition = kNotPrimed;
  r->safePosition = -1;
  r->endReached = 0;
  r->lastCursor = 0;
  if (r->currentSource < static_cast<uint32_t>(r->sourceCount)) {
    SoundConverter* c = &r->sources[r->currentSource].converter;
    SeekConverter(c, static_cast<uint32_t>(r->bytePosition) / r->format.blockAlign);
  }
  r->active = 1;
  RefillStreamSound(h);
  return 0;
}

int PlayStreamSound(int h, int type, int fromStart) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  SoundBuffer* b = nullptr;
  if (ClaimStreamBuffer(h, r, &b, true) != 0) return -1;
  if (fromStart == 0 && IsStreamSoundPlaying(h) == 1) return 0;
  StopStreamSound(h);
  ClaimStreamBuffer(h, r, &b, true);
  bool restart = false;
  if (((static_cast<uint32_t>(type) ^ r->playType) & 2) && r->listFinished == 1) restart = true;
  if (fromStart == 1) {
    r->listFinished = 0;
    if (r->playedBytes != 0) restart = true;
  }
  // Played out to its end: a resume starts again from the top.
  if (r->currentSource >= static_cast<uint32_t>(r->sourceCount) && !r->endReached) restart = true;
  if (restart) {
    r->listFinished = 0;
    r->bytePosition = 0;
    r->playedBytes = 0;
    r->wrapPending = 0;
    r->repeatCount = 0;
    r->currentSource = 0;
    r->active = 0;
  }
  r->playType = static_cast<uint32_t>(type);
  PrimeStreamSound(h);
  if (BufferPlay(*b, true) != 0) return -1;
  r->startTime = SoundMilliseconds();
  if (type == 0) {
    while (g_soundMessagePass && g_soundMessagePass() == 0 && IsSoundPlaying(h) == 1) {
      SoundWaitOneMillisecond();
    }
  }
  return 0;
}

int RefillStreamSound(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  SoundBuffer* b = nullptr;
  if (r->kind != kStreamSound || ClaimStreamBuffer(h, r, &b, false) != 0 || !r->active) return 0;
  if (r->sourceCount == 0 || r->format.blockAlign == 0) return 0;
  TrackPlayedBytes(h, r, -1);
  const uint32_t A = r->format.avgBytesPerSec, B = r->format.blockAlign, R = r->ringSize;
  const uint32_t step = (A >> 3) / B * B;
  uint32_t size = 0;
  LockRegion region;
  if (r->endReached) {
    uint32_t p = 0;
    if (BufferCursor(*b, &p) != 0) return -1;
    // Stop once the cursor has played past the last real byte: distances are
    // taken from the cursor at the time the end was written, round the ring.
    const uint32_t toEnd = (r->endPosition + R - r->cursorAtEnd) % R;
    const uint32_t played = (p + R - r->cursorAtEnd) % R;
    if (toEnd <= played) {
      BufferStop(*b);
      r->endReached = 0;
      return 0;
    }
    if (!CursorInWindow(r, p)) return -1;
    size = step;
    if (!LockRing(*b, static_cast<uint32_t>(r->writePosition), size, &region)) return -1;
    RegionSilence(region, r->format);
    UnlockRing(*b, region);
  } else {
    uint32_t status = 0;
    if (BufferStatus(*b, &status) != 0) return -1;
    if (!(status & kAudioStatusPlaying)) {
      if (r->writePosition != kNotPrimed) return 0;
      size = std::min((4 * A) / B * B, R);
      if (!LockRing(*b, 0, size, &region)) return -1;
      FillRegion(r, region, 0);
      UnlockRing(*b, region);
      r->writePosition = static_cast<int32_t>(size % R);
      r->safePosition = 0;
      return 0;
    }
    uint32_t p = 0;
    if (BufferCursor(*b, &p) != 0) return -1;
    if (r->writePosition == kNotPrimed || !CursorInWindow(r, p)) return -1;
    uint64_t write = static_cast<uint32_t>(r->writePosition);
    uint64_t cursor = p;
    if (r->writePosition < r->safePosition) {
      if (cursor <= write) cursor += R;
      write += R;
    }
    const uint64_t d = ((write - cursor) << 7) / A;
    size = d < 384 ? static_cast<uint32_t>(((384 - d) * A >> 7) / B * B) : step;
    if (size == 0) return 0;
    if (!LockRing(*b, static_cast<uint32_t>(r->writePosition), size, &region)) return -1;
    FillRegion(r, region, p);
    UnlockRing(*b, region);
  }
  uint32_t write = static_cast<uint32_t>(r->writePosition) + size;
  if (write >= R) write -= R;
  r->writePosition = static_cast<int32_t>(write);
  int64_t safe = static_cast<int64_t>(write) - 4 * static_cast<int64_t>(A);
  if (safe < 0) safe += R;
  r->safePosition = static_cast<int32_t>(safe);
  return 0;
}

int RefillStreamSounds() {
  if (!SoundSystemStarted()) return -1;
  for (ListNode* n = g_streamSoundList.head.next; n && n->next; n = n->next) {
    RefillStreamSound(n->word1);
  }
  return 0;
}

int SetSoundLoopPointSamples(uint32_t sample, int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  const int length = GetSoundLength(h);
  if (length <= 0 || sample >= static_cast<uint32_t>(length)) return -1;
  if (r->kind == kMemorySound) {
    // A memory sound becomes a one-source stream sound under the same handle.
    uint8_t* image = nullptr;
    uint32_t imageSize = 0;
    if (BuildRiffImage(&image, &imageSize, r->format, r->pcm, static_cast<uint32_t>(r->pcmSize)) !=
        0) {
      return -1;
    }
    DeleteSoundHandle(h, 0);
    const StreamHandle m = CreateMemoryStream(image, imageSize);
    int copied = 0;
    const bool ok = m && AddSoundData(h) == h &&
                    AddSreamSound(SoundStream{GetMemoryStreamFunctions(), m}, 0, h, 0, &copied,
                                  -1) == 0;
    if (m) CloseMemoryStream(m);
    SoundFree(image);
    if (!ok) {
      SoundLog("ストリームサウンドハンドルの作成に失敗しました\n");
      if (GetSoundRecord(h)) DeleteSoundHandle(h, 0);
      return -1;
    }
    r = GetSoundRecord(h);
    PrimeStreamSound(h);
  }
  if (r->sourceCount >= 2) {
    SoundLog("二つ以上の音声ファイルから作成されたサウンドハンドルにループポイントを指定する事は出来ません\n");
    return -1;
  }
  StreamSource& s = r->sources[0];
  s.loopStart = sample;
  s.converter.loopStartBytes = sample * s.converter.outFormat.blockAlign;
  s.repeat = -1;
  return 0;
}

int SetSoundLoopPointMs(int milliseconds, int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r || milliseconds < 0) return -1;
  // 64-bit: a loop point of minutes at 48 kHz overflows 32 bits.
  const uint64_t sample = static_cast<uint64_t>(r->format.samplesPerSec) * milliseconds / 1000;
  if (sample > 0xFFFFFFFFu) return -1;
  return SetSoundLoopPointSamples(static_cast<uint32_t>(sample), h);
}
