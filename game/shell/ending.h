// Ending: scene 13, the ending text lines and the staff roll.
#pragma once
#include <cstdint>

struct GameState;

class Ending {
 public:
  explicit Ending(GameState& state);
  virtual ~Ending();

  void Update(GameState& state);
  void Draw(GameState& state);

  int32_t lineImages[128];
  int32_t endingImage, staffImage, staffRollImage;
  int32_t active;
  int32_t line, lastLine;
  int32_t phase;
  float scroll;
};
