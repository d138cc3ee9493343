// Sound: the 32 sound-effect slots, each started at most once per few frames,
// at the effect volume of the settings. A "replace\" WAV of the same name
// wins over the stock effect.
#pragma once
#include <cstdint>

struct GameState;

enum SoundEffect : int {
  SeShot = 0, SeShot2 = 1, SeOk = 2, SeCancel = 3, SeCursor = 4, SeBonus = 5, SePower = 6,
  SePowerMax = 7, SeExtend = 8, SeItem = 9, SeMiss = 10, SeDead = 11, SeDeadBoss = 12,
  SeTimeout = 13, SeCutin = 14, SePause = 15, SeHit = 16, SeHit2 = 17, SeGraze = 18,
  SeMeitei = 19, SeShotSecond = 20,
};

class Sound {
 public:
  explicit Sound(GameState& state);
  virtual ~Sound();

  void Play(int slot);
  // Effect volume for every slot; also forgets every slot's last start.
  void ApplyVolume(GameState& state);
  // A frame in which frameCount stands (the pause, the tally's wait for a
  // press): the effects' clock still moves, so menu sounds there repeat.
  void CountStandingFrame() { ++standingFrames; }

  int32_t handles[32];
  int32_t lastStart[32];  // effect clock (frameCount + standingFrames) at the last start
  int32_t interval[32];
  int32_t standingFrames;  // frames since the last ApplyVolume in which frameCount stood

 private:
  GameState* state_;
};

// Effect slot file names ("" for the unused slots 21-31).
const char* SoundEffectFileName(int slot);
