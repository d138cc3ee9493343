// The sound entry points: before the sound system starts every one answers
// -1, and the registrar hands the library its sound steps.
#include <gtest/gtest.h>

#include "core/hooks.h"
#include "sound/sound_internal.h"
#include "tesra.h"

namespace {

TEST(SoundApi, EveryEntryPointAnswersMinusOneBeforeTheStart) {
  ASSERT_FALSE(SoundSystemStarted());
  EXPECT_EQ(ApiSetSoundLoadMode(0), -1);
  EXPECT_EQ(ApiLoadSoundFile("vko01\\shot.wav", 3, -1), -1);
  EXPECT_EQ(ApiPlaySoundHandle(0x10000000, 1, 1), -1);
  EXPECT_EQ(ApiStopSoundHandle(0x10000000), -1);
  EXPECT_EQ(ApiIsSoundPlaying(0x10000000), -1);
  EXPECT_EQ(ApiSetSoundVolume(255, 0x10000000), -1);
  EXPECT_EQ(ApiSetSoundLoopPointMs(1000, 0x10000000), -1);
  EXPECT_EQ(ApiDeleteSoundHandle(0x10000000, 0), -1);
}

TEST(SoundApi, RegistrarFillsTheSoundHooks) {
  EXPECT_EQ(g_libraryHooks.initializeSoundSystem, &InitializeSoundSystem);
  EXPECT_NE(g_libraryHooks.endCurrentMusic, nullptr);
  EXPECT_NE(g_libraryHooks.terminateSoundSystem, nullptr);
  EXPECT_NE(g_libraryHooks.refillStreamSounds, nullptr);
  EXPECT_NE(g_libraryHooks.pollMusicPlayState, nullptr);
  // Through the hooks on the null device: start, refuse a second start, end.
  SetSoundBackend(AudioBackend::Null);
  ASSERT_EQ(g_libraryHooks.initializeSoundSystem(), 0);
  EXPECT_EQ(InitializeSoundSystem(), -1);
  EXPECT_EQ(ApiSetSoundLoadMode(4), -1);
  EXPECT_EQ(ApiSetSoundLoadMode(3), 0);
  EXPECT_EQ(ApiLoadSoundFile("no such folder\\none.wav", 3, -1), -1);
  EXPECT_EQ(ApiSetSoundLoadMode(0), 0);
  g_libraryHooks.refillStreamSounds();
  g_libraryHooks.endCurrentMusic();
  g_libraryHooks.terminateSoundSystem();
  EXPECT_FALSE(SoundSystemStarted());
}

}  // namespace
