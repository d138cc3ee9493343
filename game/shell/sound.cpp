// Sound-effect manager.
#include "shell/sound.h"

#include <cstdio>

#include "library/tesra.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"

namespace {

const char* const kEffectFiles[21] = {
    "shot.wav",  "shot2.wav",     "ok.wav",    "cancel.wav", "cursor.wav", "bonus.wav",
    "power.wav", "power_max.wav", "extend.wav", "item.wav",  "miss.wav",   "dead.wav",
    "dead_boss.wav", "timeout.wav", "cutin.wav", "pause.wav", "hit.wav",   "hit2.wav",
    "graze.wav", "meitei.wav",    "shot.wav"};

int32_t LoadEffect(const char* file) {
  char name[64];
  std::snprintf(name, sizeof name, "replace\\%s", file);
  if (!GameOverrideOpens(name)) std::snprintf(name, sizeof name, "vko01\\%s", file);
  return ApiLoadSoundFile(name, 3, -1);
}

}  // namespace

const char* SoundEffectFileName(int slot) {
  return slot >= 0 && slot < 21 ? kEffectFiles[slot] : "";
}

Sound::Sound(GameState& state) : standingFrames(0), state_(&state) {
  for (int i = 0; i < 32; ++i) {
    handles[i] = -1;
    lastStart[i] = 0;
    interval[i] = 1;
  }
  handles[0] = LoadEffect(kEffectFiles[0]);
  handles[20] = LoadEffect(kEffectFiles[20]);
  for (int i = 1; i <= 19; ++i) handles[i] = LoadEffect(kEffectFiles[i]);
  interval[0] = 3;
  interval[1] = 3;
  interval[16] = 4;
  interval[17] = 4;
  ApplyVolume(state);
}

Sound::~Sound() {
  for (int i = 0; i < 32; ++i)
    if (handles[i] != -1) ApiDeleteSoundHandle(handles[i], 0);
}

void Sound::ApplyVolume(GameState& state) {
  int volume = static_cast<int>(state.seVolume * 255u / 100u);
  for (int i = 0; i < 32; ++i) {
    if (handles[i] != -1) ApiSetSoundVolume(volume, handles[i]);
    lastStart[i] = 0;
  }
  standingFrames = 0;
}

void Sound::Play(int slot) {
  if (slot < 0 || slot >= 32) return;
  int32_t now = state_->frameCount + standingFrames;
  if (interval[slot] != 0 && now <= lastStart[slot] + interval[slot]) return;
  if (handles[slot] != -1) ApiPlaySoundHandle(handles[slot], 1, 1);
  lastStart[slot] = now;
}
