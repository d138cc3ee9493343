// BGM: the music slots (0-3 the stage's tracks and the music room's, 4 the
// title, 5 and 6 the endings) as stream sounds, with the user overrides of
// "replace\bgm.ini".
#pragma once
#include <cstdint>

struct GameState;

class BGM {
 public:
  explicit BGM(GameState& state);
  virtual ~BGM();

  void LoadStage(int stageNumber);
  void Play(int slot);
  void StopAll();
  void PlayMusicRoom(int track);
  void ApplyVolume(GameState& state);

  int32_t handles[8];

 private:
  GameState* state_;
};

// Reads sections "vko01_01" to "vko01_27" of "replace\bgm.ini" into bgmPath
// and bgmLoop entries 0-26. A path longer than 255 characters, or one that
// does not name a regular file, is left empty.
void ReadBgmOverrides(GameState& state);

// The override entry (0-31) for a stage's slot 0-3; 31 when none applies.
int BgmOverrideEntry(int stageNumber, int slot);
// Stock track number of a stage's slot 0-2, 0 when the slot has none.
int StageTrackNumber(int stageNumber, int slot);
int StageLoopPointMs(int stageNumber, int slot);
int MusicRoomLoopPointMs(int track);
