// Sound under its three threads: a pump thread refilling stream sounds under
// the library lock every few milliseconds, the main thread playing, stopping
// and deleting, and a real-time mixer thread rendering the device. Meant to
// run clean under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/lock.h"
#include "sound/sound_internal.h"
#include "sound_fixtures.h"

namespace {

TEST(SoundThreads, PumpMainAndMixerThreadsTogether) {
  SetSoundBackend(AudioBackend::Null);
  {
    LibraryLockGuard guard;
    ASSERT_EQ(InitializeSoundSystem(), 0);
  }
  std::atomic<bool> stop{false};
  std::thread mixer([&] {
    std::vector<int16_t> out(2 * 441);
    while (!stop.load()) {
      AudioNullRender(out.data(), 441);  // 10 ms of output
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  std::thread pump([&] {
    while (!stop.load()) {
      {
        LibraryLockGuard guard;
        RefillStreamSounds();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  });
  const Bytes music = MakeWave(PcmFmt(2, 22050, 16), CounterPcm16(2, 22050 * 2));
  const Bytes effect = MakeWave(PcmFmt(1, 11025, 8), Bytes(3000, 0x90));
  int played = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < until) {
    int m, e;
    {
      LibraryLockGuard guard;
      SetSoundLoadMode(2);
      m = CreateSoundFromMemImage(music.data(), static_cast<uint32_t>(music.size()), 1, -1);
      SetSoundLoadMode(0);
      e = CreateSoundFromMemImage(effect.data(), static_cast<uint32_t>(effect.size()), 3, -1);
      ASSERT_NE(m, -1);
      ASSERT_NE(e, -1);
      SetSoundLoopPointMs(500, m);
      PlaySoundHandle(m, 3, 1);
      PlaySoundHandle(e, 1, 1);
      PlaySoundHandle(e, 1, 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    {
      LibraryLockGuard guard;
      SetSoundVolume(128, m);
      StopSoundHandle(m);
      PlaySoundHandle(m, 1, 0);
      played += IsSoundPlaying(m) == 1 ? 1 : 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    {
      LibraryLockGuard guard;
      DeleteSoundHandle(m, 0);
      DeleteSoundHandle(e, 0);
    }
  }
  stop = true;
  pump.join();
  mixer.join();
  LibraryLockGuard guard;
  EXPECT_GT(played, 0);
  EXPECT_EQ(SoundCount(), 0);
  EXPECT_EQ(TerminateSoundSystem(), 0);
}

}  // namespace
