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
  // Ends a cleared stage: music off, score file saved (not in a replay),
  // stage number advanced (kept in practice), tally opened.
  void Clear(GameState& state);
  // The logical state for replay digests.
  uint64_t Hash() const;

  int32_t frame;
  int32_t titleTimer;
  uint8_t bossMusicPending;
};

// The stage that follows a cleared one: 0-3 -> 4 -> 5 -> 6 + route -> 10 ->
// 11 -> 65535; 12 -> 65535; any other number stays.
uint32_t NextStageNumber(uint32_t stageNumber, uint32_t route);
