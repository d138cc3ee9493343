// The emulated audio device and its mixer on the null back end.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/audio_device.h"

namespace {

class NullDevice : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AudioDeviceOpen(AudioBackend::Null), 0); }
  void TearDown() override { AudioDeviceClose(); }

  static AudioBuffer* Make(const AudioFormat& f, const std::vector<uint8_t>& bytes) {
    AudioBuffer* b = AudioCreateBuffer(f, static_cast<uint32_t>(bytes.size()));
    if (!b) return nullptr;
    void *p1, *p2;
    uint32_t n1, n2;
    if (AudioLock(b, 0, static_cast<uint32_t>(bytes.size()), &p1, &n1, &p2, &n2) != 0) return nullptr;
    std::memcpy(p1, bytes.data(), n1);
    AudioUnlock(b, p1, n1, p2, n2);
    return b;
  }
  static std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(2 * frames);
    AudioNullRender(out.data(), frames);
    return out;
  }
};

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& s) {
  std::vector<uint8_t> b(2 * s.size());
  std::memcpy(b.data(), s.data(), b.size());
  return b;
}

TEST(AudioDevice, NoneFailsAndOnlyOneDeviceOpens) {
  EXPECT_EQ(AudioDeviceOpen(AudioBackend::None), -1);
  EXPECT_FALSE(AudioDeviceIsOpen());
  const AudioFormat f = {2, 44100, 16, 4};
  EXPECT_EQ(AudioCreateBuffer(f, 400), nullptr);
  ASSERT_EQ(AudioDeviceOpen(AudioBackend::Null), 0);
  EXPECT_EQ(AudioDeviceOpen(AudioBackend::Null), -1);
  AudioDeviceClose();
  EXPECT_EQ(AudioNullRender(nullptr, 10), -1);
}

TEST(AudioDevice, VolumeGain) {
  EXPECT_EQ(AudioVolumeToGain(0), 65536);
  EXPECT_EQ(AudioVolumeToGain(-10000), 0);
  EXPECT_EQ(AudioVolumeToGain(-2000), 6554);  // a tenth
  EXPECT_EQ(AudioVolumeToGain(-602), 32770);  // about a half
}

TEST_F(NullDevice, UnityStereo16PassesBitExactlyAndOneShotStops) {
  std::vector<int16_t> s;
  for (int i = 0; i < 2000; ++i) s.push_back(static_cast<int16_t>(i * 37 - 30000));
  AudioBuffer* b = Make({2, 44100, 16, 4}, Pcm16(s));
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(AudioPlay(b, false), 0);
  const std::vector<int16_t> out = Render(1000);
  EXPECT_EQ(out, s);
  uint32_t status = 0, cursor = 0;
  AudioGetStatus(b, &status);
  EXPECT_EQ(status, kAudioStatusPlaying);
  EXPECT_EQ(Render(1), std::vector<int16_t>({0, 0}));  // frame 1000 is past the end
  AudioGetStatus(b, &status);
  EXPECT_EQ(status, 0u);
  AudioGetCurrentPosition(b, &cursor);
  EXPECT_EQ(cursor, 0u);
}

TEST_F(NullDevice, EightBitMonoIsWidenedAndLoopingWraps) {
  AudioBuffer* b = Make({1, 44100, 8, 1}, {0x00, 0x80, 0xFF, 0x7F});
  ASSERT_EQ(AudioPlay(b, true), 0);
  const std::vector<int16_t> out = Render(6);
  const std::vector<int16_t> want = {-32768, -32768, 0, 0, 32512, 32512, -256, -256,
                                     -32768, -32768, 0, 0};
  EXPECT_EQ(out, want);
  uint32_t cursor = 0;
  AudioGetCurrentPosition(b, &cursor);
  EXPECT_EQ(cursor, 2u);
}

TEST_F(NullDevice, OtherRatesAreResampledAndSumsClamp) {
  // 22,050 Hz: every source frame covers two output frames, the second the
  // mean of its neighbours.
  AudioBuffer* half = Make({1, 22050, 16, 2}, Pcm16({0, 1000, 2000, 3000}));
  ASSERT_EQ(AudioPlay(half, false), 0);
  std::vector<int16_t> out = Render(6);
  EXPECT_EQ(out, std::vector<int16_t>({0, 0, 500, 500, 1000, 1000, 1500, 1500, 2000, 2000, 2500, 2500}));
  AudioStop(half);
  AudioBuffer* a = Make({2, 44100, 16, 4}, Pcm16({30000, -30000, 30000, -30000}));
  AudioBuffer* c = Make({2, 44100, 16, 4}, Pcm16({30000, -30000, 100, -100}));
  AudioPlay(a, false);
  AudioPlay(c, false);
  out = Render(2);
  EXPECT_EQ(out, std::vector<int16_t>({32767, -32768, 30100, -30100}));
}

TEST_F(NullDevice, VolumeScalesAndSilences) {
  AudioBuffer* b = Make({1, 44100, 16, 2}, Pcm16({20000, -20000}));
  ASSERT_EQ(AudioSetVolume(b, -2000), 0);
  AudioPlay(b, true);
  EXPECT_EQ(Render(2), std::vector<int16_t>({2000, 2000, -2001, -2001}));
  AudioSetVolume(b, -10000);
  EXPECT_EQ(Render(2), std::vector<int16_t>({0, 0, 0, 0}));
  EXPECT_EQ(AudioSetVolume(b, 1), -1);
  EXPECT_EQ(AudioSetVolume(b, -10001), -1);
}

TEST_F(NullDevice, LockAcrossTheEndComesInTwoPartsAndDuplicatesShareMemory) {
  AudioBuffer* b = AudioCreateBuffer({1, 44100, 16, 2}, 16);
  ASSERT_NE(b, nullptr);
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(AudioLock(b, 12, 8, &p1, &n1, &p2, &n2), 0);
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 4u);
  EXPECT_EQ(AudioLock(b, 0, 2, &p1, &n1, &p2, &n2), -1);  // one lock at a time
  const int16_t tail[2] = {6, 7}, head[2] = {8, 9};
  std::memcpy(p1, tail, 4);
  std::memcpy(p2, head, 4);
  ASSERT_EQ(AudioUnlock(b, p1, n1, p2, n2), 0);
  EXPECT_EQ(AudioLock(b, 16, 2, &p1, &n1, &p2, &n2), -1);
  EXPECT_EQ(AudioLock(b, 0, 17, &p1, &n1, &p2, &n2), -1);
  AudioBuffer* d = AudioDuplicateBuffer(b);
  ASSERT_NE(d, nullptr);
  AudioSetCurrentPosition(d, 12);
  AudioPlay(d, true);
  EXPECT_EQ(Render(4), std::vector<int16_t>({6, 6, 7, 7, 8, 8, 9, 9}));
  uint32_t status = 0;
  AudioGetStatus(b, &status);
  EXPECT_EQ(status, 0u);  // the original keeps its own state
  AudioReleaseBuffer(b);
  EXPECT_EQ(Render(1), std::vector<int16_t>({0, 0}));  // the duplicate still plays the memory
  uint32_t cursor = 0;
  AudioGetCurrentPosition(d, &cursor);
  EXPECT_EQ(cursor, 6u);
  EXPECT_EQ(AudioPlay(b, false), -1);  // a released buffer is refused
}

TEST_F(NullDevice, BadFormatsAreRefused) {
  EXPECT_EQ(AudioCreateBuffer({3, 44100, 16, 6}, 60), nullptr);
  EXPECT_EQ(AudioCreateBuffer({2, 44100, 24, 6}, 60), nullptr);
  EXPECT_EQ(AudioCreateBuffer({2, 0, 16, 4}, 60), nullptr);
  EXPECT_EQ(AudioCreateBuffer({2, 44100, 16, 4}, 0), nullptr);
  EXPECT_EQ(AudioCreateBuffer({2, 44100, 16, 4}, 6), nullptr);
  EXPECT_EQ(AudioCreateBuffer({2, 44100, 16, 0}, 8), nullptr);
}

}  // namespace
