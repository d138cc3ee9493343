// Music manager.
#include "shell/bgm.h"

#include <cstdio>

#include "library/tesra.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"

namespace {

int32_t LoadTrack(int track) {
  char name[64];
  std::snprintf(name, sizeof name, "vkobgm\\vko01_%02d.wav", track);
  return ApiLoadSoundFile(name, 3, -1);
}

bool OverrideUsable(const char* path) { return path[0] != 0 && GameIsRegularFile(path); }

void DeleteSound(int32_t& handle) {
  if (handle != -1) ApiDeleteSoundHandle(handle, 0);
  handle = -1;
}

// Loads the user's track over a slot. A file that does not decode leaves the
// stock track in place, as a missing one does. True when the override took.
bool LoadOverride(int32_t& handle, const char* path) {
  if (!OverrideUsable(path)) return false;
  int32_t loaded = ApiLoadSoundFile(path, 3, -1);
  if (loaded == -1) {
    std::fprintf(stderr, "vko01: the music file %s cannot be played; the stock track stays\n",
                 path);
    return false;
  }
  DeleteSound(handle);
  handle = loaded;
  return true;
}

}  // namespace

BGM::BGM(GameState& state) : state_(&state) {
  for (int i = 0; i < 8; ++i) handles[i] = -1;
  if (state.bgmVolume == 0) return;
  ApiSetSoundLoadMode(3);
  handles[4] = LoadTrack(1);
  handles[5] = LoadTrack(13);
  handles[6] = LoadTrack(14);
  const int slots[3] = {4, 5, 6};
  const int entries[3] = {0, 25, 26};
  for (int k = 0; k < 3; ++k) {
    LoadOverride(handles[slots[k]], state.bgmPath[entries[k]]);
  }
  ApiSetSoundLoadMode(0);
  ApplyVolume(state);
}

BGM::~BGM() {
  for (int i = 0; i < 8; ++i) DeleteSound(handles[i]);
}

void BGM::ApplyVolume(GameState& state) {
  int volume = static_cast<int>(state.bgmVolume * 255u / 100u);
  for (int i = 0; i < 8; ++i)
    if (handles[i] != -1) ApiSetSoundVolume(volume, handles[i]);
}

void BGM::LoadStage(int stageNumber) {
  if (state_->bgmVolume == 0 || stageNumber < 0 || stageNumber > 12) return;
  for (int i = 0; i < 4; ++i) DeleteSound(handles[i]);
  ApiSetSoundLoadMode(3);
  for (int i = 0; i < 3; ++i) {
    int track = StageTrackNumber(stageNumber, i);
    if (track != 0) handles[i] = LoadTrack(track);
  }
  for (int i = 0; i < 4; ++i)
    if (handles[i] != -1) ApiSetSoundLoopPointMs(StageLoopPointMs(stageNumber, i), handles[i]);
  for (int i = 0; i < 4; ++i) {
    int entry = i < 3 ? BgmOverrideEntry(stageNumber, i) : 31;
    if (LoadOverride(handles[i], state_->bgmPath[entry]))
      ApiSetSoundLoopPointMs(state_->bgmLoop[entry], handles[i]);
  }
  ApiSetSoundLoadMode(0);
  int volume = static_cast<int>(state_->bgmVolume * 255u / 100u);
  for (int i = 0; i < 4; ++i)
    if (handles[i] != -1) ApiSetSoundVolume(volume, handles[i]);
}

void BGM::Play(int slot) {
  if (slot < 0 || slot >= 8) return;
  if (ApiIsSoundPlaying(handles[slot]) != 0) return;  // playing, or no sound
  bool otherPlaying = false;
  for (int i = 0; i < 8; ++i)
    if (i != slot && ApiIsSoundPlaying(handles[i]) == 1) otherPlaying = true;
  if (otherPlaying) StopAll();
  int type = (slot == 2 || slot == 5 || slot == 6) ? 1 : 3;
  ApiPlaySoundHandle(handles[slot], type, 1);
}

void BGM::StopAll() {
  for (int i = 0; i < 8; ++i)
    if (handles[i] != -1) ApiStopSoundHandle(handles[i]);
}

void BGM::PlayMusicRoom(int track) {
  for (int i = 0; i < 4; ++i) DeleteSound(handles[i]);
  ApiSetSoundLoadMode(3);
  handles[3] = LoadTrack(track);
  if (handles[3] != -1) ApiSetSoundLoopPointMs(MusicRoomLoopPointMs(track), handles[3]);
  ApiSetSoundLoadMode(0);
  // The music room plays at the music volume of the settings.
  ApplyVolume(*state_);
  if (ApiIsSoundPlaying(handles[3]) == 1) return;
  bool otherPlaying = false;
  for (int i = 0; i < 8; ++i)
    if (i != 3 && ApiIsSoundPlaying(handles[i]) == 1) otherPlaying = true;
  if (otherPlaying) StopAll();
  ApiPlaySoundHandle(handles[3], 3, 1);
}
