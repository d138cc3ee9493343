// BackgroundFrame: the frame picture around the play field and the status
// display on the score panel (draw only).
#pragma once
#include <cstdint>

struct GameState;

class BackgroundFrame {
 public:
  explicit BackgroundFrame(GameState& state);
  virtual ~BackgroundFrame();

  void Draw(GameState& state);

  int32_t framePicture;
};
