// Stream sounds on the null device with a counter waveform: priming, how far
// the ring runs ahead, seamless loop points, play-once ends (also at the ring's
// edge), wrapping, sharing and damaged loop points.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/memory.h"
#include "sound/sound_internal.h"
#include "sound_fixtures.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kA = kRate * 4;  // bytes per second, 16-bit stereo
constexpr uint32_t kPass = 750;     // frames rendered between two pump passes (17 ms)

class StreamSound : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundBackend(AudioBackend::Null);
    ASSERT_EQ(InitializeSoundSystem(), 0);
    SetSoundLoadMode(2);
  }
  void TearDown() override { TerminateSoundSystem(); }

  int Load(uint32_t frames) {
    image_ = MakeWave(PcmFmt(2, kRate, 16), CounterPcm16(2, frames));
    return CreateSoundFromMemImage(image_.data(), static_cast<uint32_t>(image_.size()), 1, -1);
  }
  // Renders passes of the pump, collecting the left channel.
  std::vector<int16_t> Run(uint32_t passes, int h = -1, std::vector<uint32_t>* ahead = nullptr) {
    std::vector<int16_t> left;
    std::vector<int16_t> out(2 * kPass);
    for (uint32_t i = 0; i < passes; ++i) {
      AudioNullRender(out.data(), kPass);
      for (uint32_t k = 0; k < kPass; ++k) left.push_back(out[2 * k]);
      RefillStreamSounds();
      if (ahead && h != -1) {
        SoundRecord* r = GetSoundRecord(h);
        uint32_t cursor = 0;
        BufferCursor(r->buffers[0], &cursor);
        ahead->push_back((static_cast<uint32_t>(r->writePosition) + r->ringSize - cursor) % r->ringSize);
      }
    }
    return left;
  }
  Bytes image_;
};

// The left channel must follow the frame indexes of expected.
void ExpectCounter(const std::vector<int16_t>& left, const std::vector<uint32_t>& expected) {
  ASSERT_GE(left.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(left[i], static_cast<int16_t>(expected[i])) << "output frame " << i;
  }
}

TEST_F(StreamSound, PrimingWritesExactlyFourSeconds) {
  const int h = Load(8 * kRate);
  ASSERT_NE(h, -1);
  SoundRecord* r = GetSoundRecord(h);
  EXPECT_EQ(r->kind, kStreamSound);
  EXPECT_EQ(r->ringSize, 6 * kA);
  EXPECT_EQ(r->writePosition, static_cast<int32_t>(4 * kA));
  EXPECT_EQ(r->safePosition, 0);
  EXPECT_EQ(r->bytePosition, static_cast<int32_t>(4 * kA));
  EXPECT_EQ(GetSoundLength(h), static_cast<int>(8 * kRate));
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(AudioLock(r->buffers[0].buffer, 0, r->ringSize, &p1, &n1, &p2, &n2), 0);
  const auto* ring = static_cast<const uint8_t*>(p1);
  const Bytes pcm = CounterPcm16(2, 4 * kRate);
  EXPECT_EQ(Bytes(ring, ring + 4 * kA), pcm);
  bool restUntouched = true;
  for (uint32_t i = 4 * kA; i < 6 * kA; ++i) restUntouched = restUntouched && ring[i] == 0;
  EXPECT_TRUE(restUntouched);
  AudioUnlock(r->buffers[0].buffer, p1, n1, p2, n2);
  // Refills while stopped write nothing more.
  RefillStreamSounds();
  EXPECT_EQ(r->writePosition, static_cast<int32_t>(4 * kA));
}

TEST_F(StreamSound, RingStaysThreeToFourSecondsAheadAndPlaysOnceToTheEnd) {
  const uint32_t frames = 10 * kRate + 123;
  const int h = Load(frames);
  ASSERT_NE(h, -1);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  std::vector<uint32_t> ahead;
  const std::vector<int16_t> left = Run(12 * kRate / kPass, h, &ahead);
  // While real data remains to be written the ring is 3 to 4 seconds ahead
  // (a pass may add its eighth of a second on top of just under 4 s).
  const uint32_t step = kA / 8 / 4 * 4;
  for (size_t i = 0; i < 300; ++i) {
    ASSERT_GE(ahead[i], 3 * kA - 4) << i;
    ASSERT_LE(ahead[i], 4 * kA + step) << i;
  }
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < frames; ++i) expected.push_back(i);
  ExpectCounter(left, expected);
  // Silence after the end, and the buffer has stopped.
  for (size_t i = frames; i < frames + 1000; ++i) ASSERT_EQ(left[i], 0) << i;
  EXPECT_EQ(IsSoundPlaying(h), 0);
  // Played again from the start it restarts at frame 0.
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  ExpectCounter(Run(10), {0, 1, 2, 3, 4, 5});
}

TEST_F(StreamSound, ShortSoundEndsWhilePrimingAndKeepsItsDataUntilPlayed) {
  const int h = Load(kRate / 2);
  ASSERT_NE(h, -1);
  SoundRecord* r = GetSoundRecord(h);
  EXPECT_EQ(r->endReached, 1);
  EXPECT_EQ(r->endPosition, kA / 2);
  EXPECT_EQ(r->cursorAtEnd, 0u);
  // Pump passes while it waits to be played must not write over it.
  for (int pass = 0; pass < 200; ++pass) RefillStreamSounds();
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  const std::vector<int16_t> left = Run(kRate / kPass + 3);
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < kRate / 2; ++i) expected.push_back(i);
  ExpectCounter(left, expected);
  EXPECT_EQ(left[kRate / 2], 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(StreamSound, EightBitSourcesArePaddedWith0x7F) {
  image_ = MakeWave(PcmFmt(1, 8000, 8), Bytes(4000, 0x90));
  const int h = CreateSoundFromMemImage(image_.data(), static_cast<uint32_t>(image_.size()), 1, -1);
  ASSERT_NE(h, -1);
  SoundRecord* r = GetSoundRecord(h);
  ASSERT_EQ(r->endReached, 1);
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(AudioLock(r->buffers[0].buffer, 0, r->ringSize, &p1, &n1, &p2, &n2), 0);
  const auto* ring = static_cast<const uint8_t*>(p1);
  EXPECT_EQ(Bytes(ring, ring + 4000), Bytes(4000, 0x90));
  EXPECT_EQ(Bytes(ring + 4000, ring + 4 * 8000), Bytes(4 * 8000 - 4000, 0x7F));
  AudioUnlock(r->buffers[0].buffer, p1, n1, p2, n2);
}

TEST_F(StreamSound, EndExactlyAtTheRingEdgeStillStops) {
  const int h = Load(6 * kRate);
  ASSERT_NE(h, -1);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  Run(6 * kRate / kPass - 10);
  SoundRecord* r = GetSoundRecord(h);
  EXPECT_EQ(r->endReached, 1);
  EXPECT_EQ(r->endPosition, 0u);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  Run(12);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(StreamSound, LoopPointContinuesWithoutGapOrRepeat) {
  const uint32_t frames = 5 * kRate;
  const int h = Load(frames);
  ASSERT_NE(h, -1);
  ASSERT_EQ(SetSoundLoopPointMs(1500, h), 0);
  const uint32_t loop = kRate * 3 / 2;
  EXPECT_EQ(GetSoundRecord(h)->sources[0].loopStart, loop);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);  // a loop point loops whatever the play type
  const std::vector<int16_t> left = Run(13 * kRate / kPass);
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < frames; ++i) expected.push_back(i);
  while (expected.size() < left.size()) {
    for (uint32_t i = loop; i < frames && expected.size() < left.size(); ++i) expected.push_back(i);
  }
  ExpectCounter(left, expected);
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(StreamSound, LoopPointOnAMemorySoundMakesItAStream) {
  SetSoundLoadMode(0);
  const int h = Load(2 * kRate);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundRecord(h)->kind, kMemorySound);
  ASSERT_EQ(SetSoundLoopPointSamples(1000, h), 0);
  SoundRecord* r = GetSoundRecord(h);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->kind, kStreamSound);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  const std::vector<int16_t> left = Run(6 * kRate / kPass);
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < 2 * kRate; ++i) expected.push_back(i);
  for (uint32_t i = 1000; i < 2 * kRate; ++i) expected.push_back(i);
  ExpectCounter(left, expected);
}

TEST_F(StreamSound, LoopPointsAtOrPastTheLengthAreRefused) {
  const int h = Load(kRate);
  ASSERT_NE(h, -1);
  EXPECT_EQ(SetSoundLoopPointSamples(kRate, h), -1);
  EXPECT_EQ(SetSoundLoopPointSamples(kRate + 5, h), -1);
  EXPECT_EQ(SetSoundLoopPointMs(1000, h), -1);
  EXPECT_EQ(SetSoundLoopPointMs(-1, h), -1);
  EXPECT_EQ(SetSoundLoopPointSamples(kRate - 1, h), 0);
}

TEST_F(StreamSound, LongLoopPointIsComputedInSixtyFourBits) {
  // 100 s of 8-bit mono: 97,500 ms at 44.1 kHz overflows a 32-bit product.
  image_ = MakeWave(PcmFmt(1, kRate, 8), Bytes(100 * kRate, 0x80));
  const int h = CreateSoundFromMemImage(image_.data(), static_cast<uint32_t>(image_.size()), 1, -1);
  ASSERT_NE(h, -1);
  ASSERT_EQ(SetSoundLoopPointMs(97500, h), 0);
  EXPECT_EQ(GetSoundRecord(h)->sources[0].loopStart, 4299750u);
}

TEST_F(StreamSound, PlayTypeThreeWrapsToTheStart) {
  const uint32_t frames = 2 * kRate;
  const int h = Load(frames);
  ASSERT_NE(h, -1);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  const std::vector<int16_t> left = Run(7 * kRate / kPass);
  std::vector<uint32_t> expected;
  while (expected.size() < left.size()) {
    for (uint32_t i = 0; i < frames && expected.size() < left.size(); ++i) expected.push_back(i);
  }
  ExpectCounter(left, expected);
  // A stop keeps the place; a play without from-start resumes there.
  StopSoundHandle(h);
  const std::vector<int16_t> paused = Run(3);
  EXPECT_EQ(paused, std::vector<int16_t>(3 * kPass, 0));
  ASSERT_EQ(PlaySoundHandle(h, 3, 0), 0);
  const std::vector<int16_t> resumed = Run(1);
  EXPECT_EQ(resumed[0], static_cast<int16_t>(expected.back() + 1 == frames ? 0 : expected.back() + 1));
}

TEST_F(StreamSound, LoopStartInTheMissingTailOfAnOggNeverSpins) {
  const Bytes ogg = ReadFixture("sine441.ogg");
  ASSERT_FALSE(ogg.empty());
  const int h = CreateSoundFromMemImage(ogg.data(), static_cast<uint32_t>(ogg.size()), 1, -1);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundLength(h), 2 * 44100);  // the real second plus 44,100
  ASSERT_EQ(SetSoundLoopPointSamples(44100 + 1000, h), 0);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  const std::vector<int16_t> left = Run(3 * kRate / kPass);
  // The real second plays, then silence: the loop start holds no data.
  EXPECT_NE(left[1000], 0);
  for (size_t i = 44100 + 10; i < left.size(); ++i) ASSERT_EQ(left[i], 0) << i;
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(StreamSound, SourceWithoutAnyPcmEndsOrStaysSilentWithoutSpinning) {
  // MS ADPCM whose every block names a predictor that does not exist: it
  // opens, has a length, and decodes to nothing.
  image_ = ReadFixture("ms_mono.wav");
  ASSERT_GT(image_.size(), 60u);
  const uint32_t align = ReadLe16(image_.data() + 32);
  size_t data = 12;
  while (data + 8 <= image_.size() && std::memcmp(image_.data() + data, "data", 4) != 0) {
    data += 8 + ReadLe32(image_.data() + data + 4);
  }
  ASSERT_LT(data + 8, image_.size());
  for (size_t b = data + 8; b < image_.size(); b += align) image_[b] = 0xFF;
  const uint32_t size = static_cast<uint32_t>(image_.size());
  SetSoundLoadMode(0);
  EXPECT_EQ(CreateSoundFromMemImage(image_.data(), size, 1, -1), -1);
  SetSoundLoadMode(2);
  const int h = CreateSoundFromMemImage(image_.data(), size, 1, -1);
  ASSERT_NE(h, -1);
  ASSERT_GT(GetSoundLength(h), 100);
  SoundRecord* r = GetSoundRecord(h);
  EXPECT_EQ(r->endReached, 1);
  EXPECT_EQ(r->endPosition, 0u);  // the end and the cursor at the end are both 0
  EXPECT_EQ(r->cursorAtEnd, 0u);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  Run(2);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  // Looping forever over nothing: each pass writes silence and returns.
  ASSERT_EQ(SetSoundLoopPointSamples(10, h), 0);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  const std::vector<int16_t> left = Run(20);
  EXPECT_EQ(left, std::vector<int16_t>(left.size(), 0));
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(StreamSound, SharedRingStopsTheFirstAndDeletionWaitsForSharers) {
  const int blocks = TrackedLiveBlockCount();
  const int a = Load(3 * kRate);
  ASSERT_NE(a, -1);
  const Bytes second = MakeWave(PcmFmt(2, kRate, 16), CounterPcm16(2, 3 * kRate, 20000));
  const int b = CreateSoundFromMemImage(second.data(), static_cast<uint32_t>(second.size()), 1, a);
  ASSERT_NE(b, -1);
  EXPECT_EQ(GetSoundRecord(b)->owner, a);
  EXPECT_EQ(GetSoundRecord(a)->sharers, 1);
  ASSERT_EQ(PlaySoundHandle(a, 1, 1), 0);
  Run(5);
  ASSERT_EQ(PlaySoundHandle(b, 1, 1), 0);
  EXPECT_EQ(IsSoundPlaying(a), 0);
  EXPECT_EQ(IsSoundPlaying(b), 1);
  const std::vector<int16_t> left = Run(2);
  EXPECT_EQ(left[0], static_cast<int16_t>(20000));
  ASSERT_EQ(DeleteSoundHandle(a, 0), 0);
  EXPECT_NE(GetSoundRecord(a), nullptr);  // kept for its sharer
  EXPECT_EQ(GetSoundRecord(a)->deletePending, 1);
  ASSERT_EQ(DeleteSoundHandle(b, 0), 0);
  EXPECT_EQ(GetSoundRecord(a), nullptr);
  EXPECT_EQ(SoundCount(), 0);
  EXPECT_EQ(TrackedLiveBlockCount(), blocks);
}

TEST_F(StreamSound, MismatchedFormatsAndFullSourceListsAreRefused) {
  const int h = Load(kRate);
  ASSERT_NE(h, -1);
  const Bytes mono = MakeWave(PcmFmt(1, kRate, 16), CounterPcm16(1, 100));
  EXPECT_EQ(AddStreamSoundMem(mono.data(), static_cast<uint32_t>(mono.size()), 0, h, 2, -1), -1);
  const Bytes same = MakeWave(PcmFmt(2, kRate, 16), CounterPcm16(2, 100));
  EXPECT_EQ(AddStreamSoundMem(same.data(), static_cast<uint32_t>(same.size()), 0, h, 0, -1), 0);
  EXPECT_EQ(AddStreamSoundMem(same.data(), static_cast<uint32_t>(same.size()), 0, h, 2, -1), 0);
  EXPECT_EQ(AddStreamSoundMem(same.data(), static_cast<uint32_t>(same.size()), 0, h, 2, -1), -1);
  EXPECT_EQ(GetSoundLength(h), static_cast<int>(kRate + 200));
  EXPECT_EQ(SetSoundLoopPointSamples(10, h), -1);  // several sources: no loop point
}

}  // namespace
