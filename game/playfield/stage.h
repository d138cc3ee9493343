// Stage: the stage timeline with its clock and stage-title timer.
#pragma once
#include <cstdint>

struct GameState;

class Stage {
 public:
  explicit Stage(GameState& state);  // counters 0 and the stage tally counters 0
  virtual ~Stage() = default;

  void Update(GameState& state);
  void ResetForStage();

  int32_t frame;
  int32_t titleTimer;
  uint8_t bossMusicPending;
};
