// The SDL back end through SDL's "disk" audio driver: a looping stream sound
// refilled in real time is captured to a file, and the captured output must
// run through the loop seam without a gap or a repeated sample. And a start
// that finds no device prints nothing of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/audio_device.h"
#include "sound/sound_internal.h"
#include "sound_fixtures.h"

namespace {

// ALSA told to open a device that does not exist prints its error lines on
// standard error; the library keeps them out of the terminal (the program
// says in its own words that it plays silently).
TEST(SoundSdlStart, AFailedOpenPrintsNothing) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "vko01_no_such_device", 1);
  testing::internal::CaptureStderr();
  const int opened = AudioDeviceOpen(AudioBackend::Sdl);
  const std::string err = testing::internal::GetCapturedStderr();
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("AUDIODEV");
  if (opened == 0) AudioDeviceClose();
  EXPECT_EQ(opened, -1);
  EXPECT_EQ(err, "");
}

TEST(SoundSdlDisk, CapturedLoopSeamIsContinuous) {
  // One file per process: several builds may run this test at the same time.
  const std::string path =
      ::testing::TempDir() + "sound_disk_capture_" + std::to_string(getpid()) + ".raw";
  std::remove(path.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  SetSoundBackend(AudioBackend::Sdl);
  const int started = InitializeSoundSystem();
  unsetenv("SDL_AUDIODRIVER");
  if (started != 0) GTEST_SKIP() << "SDL has no disk audio driver here";

  // 0.8 s of a counter from 1000 (so it differs from silence), looping at 0.3 s.
  const uint32_t frames = 44100 * 8 / 10, loop = 44100 * 3 / 10, first = 1000;
  const Bytes wav = MakeWave(PcmFmt(2, 44100, 16), CounterPcm16(2, frames, first));
  SetSoundLoadMode(2);
  const int h = CreateSoundFromMemImage(wav.data(), static_cast<uint32_t>(wav.size()), 1, -1);
  ASSERT_NE(h, -1);
  ASSERT_EQ(SetSoundLoopPointSamples(loop, h), 0);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  // Run until SDL has written 1.5 s of output (it paces itself in real
  // time, slower on a busy machine), at most 10 s.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::error_code error;
  while (std::chrono::steady_clock::now() < until &&
         std::filesystem::file_size(path, error) < 44100u * 4 * 3 / 2) {
    RefillStreamSounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(17));
  }
  StopSoundHandle(h);
  TerminateSoundSystem();
  SetSoundBackend(AudioBackend::Sdl);

  const Bytes raw = [&] {
    Bytes b;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return b;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) b.insert(b.end(), buffer, buffer + n);
    std::fclose(f);
    return b;
  }();
  std::remove(path.c_str());
  const size_t count = raw.size() / 4;
  ASSERT_GT(count, 44100u);  // over a second was captured
  std::vector<int16_t> left(count);
  for (size_t i = 0; i < count; ++i) left[i] = static_cast<int16_t>(ReadLe16(raw.data() + 4 * i));
  size_t start = 0;
  while (start < count && left[start] != static_cast<int16_t>(first)) ++start;
  ASSERT_LT(start, count);
  // Follow the counter until the stop cut it off; after that only silence.
  uint32_t index = 0;
  size_t seams = 0, i = start;
  for (; i < count; ++i) {
    const int16_t expected = static_cast<int16_t>(first + index);
    if (left[i] != expected && left[i] == 0) break;
    ASSERT_EQ(left[i], expected) << "captured frame " << i;
    if (++index == frames) {
      index = loop;
      ++seams;
    }
  }
  const size_t checked = i - start;
  for (; i < count; ++i) ASSERT_EQ(left[i], 0) << "captured frame " << i;
  EXPECT_GE(seams, 1u);
  EXPECT_GT(checked, frames);
}

}  // namespace
