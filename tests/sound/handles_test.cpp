// Sound handles and memory sounds on the null device: the table's limits and
// checks, the buffer rotation, volume, and loading from images in memory.
#include <gtest/gtest.h>

#include <vector>

#include "core/memory.h"
#include "sound/sound_internal.h"
#include "sound_fixtures.h"

namespace {

class SoundSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundBackend(AudioBackend::Null);
    ASSERT_EQ(InitializeSoundSystem(), 0);
  }
  void TearDown() override { TerminateSoundSystem(); }

  static std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(2 * frames);
    AudioNullRender(out.data(), frames);
    return out;
  }
  static uint32_t Status(SoundRecord* r, int i) {
    uint32_t s = 0;
    BufferStatus(r->buffers[i], &s);
    return s & kAudioStatusPlaying;
  }
  static uint32_t Cursor(SoundRecord* r, int i) {
    uint32_t c = 0;
    BufferCursor(r->buffers[i], &c);
    return c;
  }
};

TEST(SoundNotStarted, EveryCallAnswersMinusOne) {
  ASSERT_FALSE(SoundSystemStarted());
  const Bytes wav = MakeWave(PcmFmt(1, 8000, 8), Bytes(100, 0x80));
  EXPECT_EQ(AddSoundData(-1), -1);
  EXPECT_EQ(CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 1, -1), -1);
  EXPECT_EQ(LoadSoundFile("missing.wav", 1, -1), -1);
  const int fake = 0x10000000;
  EXPECT_EQ(PlaySoundHandle(fake, 1, 1), -1);
  EXPECT_EQ(StopSoundHandle(fake), -1);
  EXPECT_EQ(IsSoundPlaying(fake), -1);
  EXPECT_EQ(SetSoundVolume(100, fake), -1);
  EXPECT_EQ(SetSoundLoopPointMs(0, fake), -1);
  EXPECT_EQ(DeleteSoundHandle(fake, 0), -1);
  EXPECT_EQ(RefillStreamSounds(), -1);
  EXPECT_EQ(PollMusicPlayState(), -1);
  EXPECT_EQ(TerminateSoundSystem(), -1);
  // With no device the start fails and everything stays -1.
  SetSoundBackend(AudioBackend::None);
  EXPECT_EQ(InitializeSoundSystem(), -1);
  EXPECT_EQ(AddSoundData(-1), -1);
  SetSoundBackend(AudioBackend::Null);
}

TEST_F(SoundSystem, SecondStartIsRefused) { EXPECT_EQ(InitializeSoundSystem(), -1); }

TEST_F(SoundSystem, TableHoldsFourThousandNinetySixAndRejectsStaleHandles) {
  std::vector<int> handles;
  for (int i = 0; i < kMaxSounds; ++i) {
    const int h = AddSoundData(-1);
    ASSERT_NE(h, -1) << i;
    handles.push_back(h);
  }
  EXPECT_EQ(handles[0], 0x10000000);
  EXPECT_EQ(handles[5], (0x1005 << 16) | 5);
  EXPECT_EQ(AddSoundData(-1), -1);
  // A load needs a handle too: the 4,097th fails and leaves nothing behind.
  const int blocks = TrackedLiveBlockCount();
  const Bytes wav = MakeWave(PcmFmt(1, 8000, 8), Bytes(100, 0x80));
  EXPECT_EQ(CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 1, -1), -1);
  SetSoundLoadMode(2);
  EXPECT_EQ(CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 1, -1), -1);
  SetSoundLoadMode(0);
  EXPECT_EQ(TrackedLiveBlockCount(), blocks);
  EXPECT_EQ(SoundCount(), kMaxSounds);
  ASSERT_EQ(DeleteSoundHandle(handles[100], 0), 0);
  const int again = AddSoundData(-1);
  ASSERT_NE(again, -1);
  EXPECT_EQ(again & 0xFFFF, 100);  // the only free slot
  EXPECT_NE(again, handles[100]);
  EXPECT_EQ(GetSoundRecord(handles[100]), nullptr);
  EXPECT_EQ(PlaySoundHandle(handles[100], 1, 1), -1);
  EXPECT_NE(GetSoundRecord(again), nullptr);
  EXPECT_EQ(GetSoundRecord(again | 0x20000000), nullptr);  // wrong kind
  EXPECT_EQ(GetSoundRecord(-5), nullptr);
  EXPECT_EQ(GetSoundRecord(0x10000000 | 5000), nullptr);
  EXPECT_EQ(DeleteAllSoundHandles(0), 0);
  EXPECT_EQ(SoundCount(), 0);
}

TEST_F(SoundSystem, SerialRunsToTwoThousandFortySevenThenZero) {
  int last = -1;
  for (int i = 0; i < 2049; ++i) {
    last = AddSoundData(-1);
    ASSERT_EQ((last >> 16) & 0x7FF, i % 2048);
    DeleteSoundHandle(last, 0);
  }
  EXPECT_EQ(last & 0xFFFF, 0);
}

TEST_F(SoundSystem, VolumeTable) {
  EXPECT_EQ(SoundVolumeToHundredths(255), 0);
  EXPECT_EQ(SoundVolumeToHundredths(300), 0);
  EXPECT_EQ(SoundVolumeToHundredths(128), -299);
  EXPECT_EQ(SoundVolumeToHundredths(140), -260);
  EXPECT_EQ(SoundVolumeToHundredths(1), -2406);
  EXPECT_EQ(SoundVolumeToHundredths(0), -10000);
  EXPECT_EQ(SoundVolumeToHundredths(-7), -10000);
}

Bytes EffectWave(uint32_t frames) { return MakeWave(PcmFmt(2, 44100, 16), CounterPcm16(2, frames)); }

TEST_F(SoundSystem, ThreeBufferEffectRotatesAndOverlaps) {
  const Bytes wav = EffectWave(10000);
  const int h = CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 3, -1);
  ASSERT_NE(h, -1);
  SoundRecord* r = GetSoundRecord(h);
  ASSERT_EQ(r->bufferCount, 3);
  EXPECT_EQ(GetSoundLength(h), 10000);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  EXPECT_EQ(Status(r, 1), 1u);
  Render(100);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  Render(100);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  EXPECT_EQ(Status(r, 0) + Status(r, 1) + Status(r, 2), 3u);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  // Three overlapping counters: the sum of three offsets of one ramp.
  const std::vector<int16_t> out = Render(1);
  EXPECT_EQ(out[0], static_cast<int16_t>(200 + 100 + 0));
  Render(50);
  EXPECT_EQ(Cursor(r, 1), 251u * 4);
  // The fourth play from the start restarts the buffer of the first.
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  EXPECT_EQ(Cursor(r, 1), 0u);
  Render(10);
  // From start 0 leaves a playing buffer alone and moves on.
  ASSERT_EQ(PlaySoundHandle(h, 1, 0), 0);
  EXPECT_EQ(Cursor(r, 2), 161u * 4);
  EXPECT_EQ(r->nextBuffer, 2);
  ASSERT_EQ(StopSoundHandle(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_EQ(Render(1), std::vector<int16_t>({0, 0}));
}

TEST_F(SoundSystem, OneShotEndsAndVolumeReachesEveryBuffer) {
  const Bytes wav = EffectWave(500);
  const int h = CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 2, -1);
  ASSERT_NE(h, -1);
  ASSERT_EQ(SetSoundVolume(128, h), 0);
  SoundRecord* r = GetSoundRecord(h);
  for (int i = 0; i < 2; ++i) {
    int32_t v = 0;
    AudioGetVolume(r->buffers[i].buffer, &v);
    EXPECT_EQ(v, -299);
  }
  SetSoundVolume(255, h);
  PlaySoundHandle(h, 1, 1);
  const std::vector<int16_t> out = Render(500);
  for (uint32_t i = 0; i < 500; ++i) ASSERT_EQ(out[2 * i], static_cast<int16_t>(i));
  Render(2);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  // Play type 0 waits for the end (the null clock runs while it waits),
  // pumping messages; here the pump pass is a refill only.
  int (*const pump)() = g_soundMessagePass;
  g_soundMessagePass = [] { return RefillStreamSounds() == 0 ? 0 : -1; };
  ASSERT_EQ(PlaySoundHandle(h, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  g_soundMessagePass = pump;
}

TEST_F(SoundSystem, BufferCountsAreBounded) {
  const Bytes wav = EffectWave(100);
  const uint32_t size = static_cast<uint32_t>(wav.size());
  EXPECT_EQ(CreateSoundFromMemImage(wav.data(), size, 11, -1), -1);
  SetSoundLoadMode(0);
  for (int count : {0, -3}) {
    const int h = CreateSoundFromMemImage(wav.data(), size, count, -1);
    ASSERT_NE(h, -1);
    SoundRecord* r = GetSoundRecord(h);
    EXPECT_EQ(r->bufferCount, 0);
    for (int i = 0; i < 25; ++i) {
      EXPECT_EQ(PlaySoundHandle(h, 1, 1), -1);
      EXPECT_GE(r->nextBuffer, 0);
      EXPECT_LT(r->nextBuffer, kMaxSoundBuffers);
    }
    EXPECT_EQ(IsSoundPlaying(h), 0);
    EXPECT_EQ(DeleteSoundHandle(h, 0), 0);
  }
  const int h = CreateSoundFromMemImage(wav.data(), size, 10, -1);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundRecord(h)->bufferCount, 10);
}

TEST_F(SoundSystem, UnreadableImagesFailAndFreeEverything) {
  const int before = SoundCount();
  const int blocks = TrackedLiveBlockCount();
  const Bytes junk(300, 0x33);
  EXPECT_EQ(CreateSoundFromMemImage(junk.data(), static_cast<uint32_t>(junk.size()), 3, -1), -1);
  Bytes huge = MakeWave(PcmFmt(2, 384000, 16), Bytes(16, 0));
  EXPECT_EQ(SoundCount(), before);
  SetSoundLoadMode(2);
  EXPECT_EQ(CreateSoundFromMemImage(junk.data(), static_cast<uint32_t>(junk.size()), 3, -1), -1);
  EXPECT_EQ(SoundCount(), before);
  SetSoundLoadMode(1);
  EXPECT_EQ(CreateSoundFromMemImage(huge.data(), static_cast<uint32_t>(huge.size()), 3, -1), -1);
  EXPECT_EQ(SoundCount(), before);
  EXPECT_EQ(SetSoundLoadMode(4), -1);
  EXPECT_EQ(g_soundLoadMode, 1u);
  EXPECT_EQ(TrackedLiveBlockCount(), blocks);
}

TEST_F(SoundSystem, BuildRiffImageLayout) {
  SoundWaveFormat f{1, 2, 44100, 176400, 4, 16, 0};
  const uint8_t data[5] = {1, 2, 3, 4, 5};
  uint8_t* image = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(BuildRiffImage(&image, &size, f, data, 5), 0);
  ASSERT_EQ(size, 18u + 5 + 28);
  const Bytes want = {'R', 'I', 'F', 'F', 43, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                      18, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0,
                      0, 0, 'd', 'a', 't', 'a', 5, 0, 0, 0, 1, 2, 3, 4, 5};
  EXPECT_EQ(Bytes(image, image + size), want);
  SoundFree(image);
}

}  // namespace
