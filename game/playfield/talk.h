// Talk: the stage dialogues drawn from pre-rendered line strips with two
// portraits and a name plate.
#pragma once
#include <cstdint>

struct GameState;

class Talk {
 public:
  explicit Talk(GameState& state);
  virtual ~Talk();

  void Update(GameState& state);
  void Draw(GameState& state);
  void LoadStageStrips(int stageNumber);
  // No dialogue, nothing left of the last one (the stage start).
  void ResetForStage();
  // Starts dialogue n (0-255) unless one is running; an unknown n starts none.
  void Start(int32_t n);
  // The logical state for replay digests (no handles).
  uint64_t Hash() const;

  int32_t strips[128];
  int32_t namePlates[16];
  int32_t playerPortraits[5];
  int32_t otherPortraits[15];
  int32_t extraSheet;
  int32_t active;
  int32_t secondSpeaker;
  int32_t plateFade;
  int32_t plateFrames;
  int32_t line;
  int32_t endLine;
  int32_t portraitSet;
};
