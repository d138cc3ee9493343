// StageResult: scene 12, the tally after a cleared stage with its turning
// panel.
#pragma once
#include <cstdint>

#include "library/tesra.h"

struct GameState;

// The frame at which the tally waits for the player's press.
constexpr int32_t kStageResultWaitFrame = 202;

class StageResult {
 public:
  explicit StageResult(GameState& state);
  virtual ~StageResult();

  void Update(GameState& state);
  void Draw(GameState& state);
  // True while the tally stands at its wait for a press (live play only).
  bool WaitingForPress() const { return frame == kStageResultWaitFrame; }

  int32_t portraits[5];
  int32_t sprites[5];
  int32_t screenPlay, screenResult, screenNext;
  int32_t workScreen;
  int32_t frame;
  float viewport[16];
  GraphVertex panel[6];
};
