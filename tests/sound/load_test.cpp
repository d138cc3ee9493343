// Loading sound files through the library's file layer in each load mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/fileio.h"
#include "sound/sound_internal.h"
#include "sound_fixtures.h"

namespace {

class SoundFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundBackend(AudioBackend::Null);
    ASSERT_EQ(InitializeSoundSystem(), 0);
    // One file per test: ctest runs the tests side by side.
    path_ = ::testing::TempDir() + "sound_load_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav";
    const Bytes wav = MakeWave(PcmFmt(2, 22050, 16), CounterPcm16(2, 22050 * 5));
    FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(wav.data(), 1, wav.size(), f);
    std::fclose(f);
  }
  void TearDown() override {
    SetSoundLoadMode(0);
    TerminateSoundSystem();
    std::remove(path_.c_str());
  }
  std::string path_;
};

TEST_F(SoundFiles, EachModeMakesItsKindAndKeepsTheFileOnlyInModeThree) {
  const int openBefore = OpenFileCount();
  ASSERT_EQ(SetSoundLoadMode(0), 0);
  const int memory = LoadSoundFile(path_.c_str(), 20, -1);
  ASSERT_NE(memory, -1);
  EXPECT_EQ(GetSoundRecord(memory)->kind, kMemorySound);
  EXPECT_EQ(GetSoundRecord(memory)->bufferCount, 10);
  EXPECT_EQ(GetSoundLength(memory), 22050 * 5);
  EXPECT_EQ(OpenFileCount(), openBefore);

  ASSERT_EQ(SetSoundLoadMode(2), 0);
  const int kept = LoadSoundFile(path_.c_str(), 3, -1);
  ASSERT_NE(kept, -1);
  EXPECT_EQ(GetSoundRecord(kept)->kind, kStreamSound);
  EXPECT_EQ(OpenFileCount(), openBefore);

  ASSERT_EQ(SetSoundLoadMode(3), 0);
  const int streamed = LoadSoundFile(path_.c_str(), 3, -1);
  ASSERT_NE(streamed, -1);
  SoundRecord* r = GetSoundRecord(streamed);
  EXPECT_EQ(r->kind, kStreamSound);
  EXPECT_EQ(r->writePosition, static_cast<int32_t>(4 * 22050 * 4));  // primed at load
  EXPECT_EQ(OpenFileCount(), openBefore + 1);
  // The ring holds the file's first four seconds, read from the open file.
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(AudioLock(r->buffers[0].buffer, 0, 4 * 22050 * 4, &p1, &n1, &p2, &n2), 0);
  const auto* ring = static_cast<const uint8_t*>(p1);
  EXPECT_EQ(Bytes(ring, ring + n1), CounterPcm16(2, 4 * 22050));
  AudioUnlock(r->buffers[0].buffer, p1, n1, p2, n2);
  ASSERT_EQ(PlaySoundHandle(streamed, 1, 1), 0);
  for (int pass = 0; pass < 100; ++pass) {
    AudioNullRender(nullptr, 750);
    RefillStreamSounds();
  }
  EXPECT_EQ(IsSoundPlaying(streamed), 1);
  EXPECT_GT(r->bytePosition, static_cast<int32_t>(4 * 22050 * 4));
  EXPECT_EQ(DeleteSoundHandle(streamed, 0), 0);
  EXPECT_EQ(OpenFileCount(), openBefore);

  ASSERT_EQ(SetSoundLoadMode(1), 0);
  EXPECT_EQ(LoadSoundFile(path_.c_str(), 3, -1), -1);
}

TEST_F(SoundFiles, MissingAndUnreadableFilesFail) {
  const int before = SoundCount();
  for (int mode : {0, 2, 3}) {
    SetSoundLoadMode(mode);
    EXPECT_EQ(LoadSoundFile("no_such_sound_file.wav", 3, -1), -1);
  }
  FILE* f = std::fopen(path_.c_str(), "wb");
  std::fputs("this is not a sound", f);
  std::fclose(f);
  for (int mode : {0, 2, 3}) {
    SetSoundLoadMode(mode);
    EXPECT_EQ(LoadSoundFile(path_.c_str(), 3, -1), -1);
  }
  EXPECT_EQ(SoundCount(), before);
  EXPECT_EQ(OpenFileCount(), 0);
}

}  // namespace
