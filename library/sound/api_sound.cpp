// The sound entry points of the library, and the registrar that hands the
// library start, end and message pump their sound steps.
#include "core/hooks.h"
#include "core/library.h"
#include "core/lock.h"
#include "sound/sound_internal.h"
#include "tesra.h"

namespace {

void EndMusicHook() { EndCurrentMusic(); }
void TerminateHook() { TerminateSoundSystem(); }
void RefillHook() { RefillStreamSounds(); }
void PollHook() { PollMusicPlayState(); }

struct SoundRegistrar {
  SoundRegistrar() {
    g_libraryHooks.initializeSoundSystem = InitializeSoundSystem;
    g_libraryHooks.endCurrentMusic = EndMusicHook;
    g_libraryHooks.terminateSoundSystem = TerminateHook;
    g_libraryHooks.refillStreamSounds = RefillHook;
    g_libraryHooks.pollMusicPlayState = PollHook;
    // A play that waits for its end pumps the library's messages.
    g_soundMessagePass = ProcessMessage;
  }
};
SoundRegistrar g_soundRegistrar;

}  // namespace

int ApiSetSoundLoadMode(int mode) {
  LibraryLockGuard guard;
  if (!SoundSystemStarted()) return -1;
  return SetSoundLoadMode(mode);
}

int ApiLoadSoundFile(const char* fileName, int bufferCount, int shareHandle) {
  LibraryLockGuard guard;
  return LoadSoundFileStub(fileName, bufferCount, shareHandle);
}

int ApiDeleteSoundHandle(int sound, int flag) {
  LibraryLockGuard guard;
  return DeleteSoundHandle(sound, flag);
}

int ApiPlaySoundHandle(int sound, int playType, int fromStart) {
  LibraryLockGuard guard;
  return PlaySoundHandle(sound, playType, fromStart);
}

int ApiStopSoundHandle(int sound) {
  LibraryLockGuard guard;
  return StopSoundHandle(sound);
}

int ApiIsSoundPlaying(int sound) {
  LibraryLockGuard guard;
  return IsSoundPlaying(sound);
}

int ApiSetSoundVolume(int volume, int sound) {
  LibraryLockGuard guard;
  return SetSoundVolume(volume, sound);
}

int ApiSetSoundLoopPointMs(int milliseconds, int sound) {
  LibraryLockGuard guard;
  return SetSoundLoopPointMs(milliseconds, sound);
}
