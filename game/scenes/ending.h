// Ending: scene 13, the ending's text lines over its backdrop, then the staff
// roll with its music and fades, leading to the name entry.
#pragma once
#include <cstdint>

struct GameState;

constexpr float kEndingStartScroll = -760.0f;

class Ending {
 public:
  explicit Ending(GameState& state);
  virtual ~Ending();

  // Loads the 84 line pictures and the three ending pictures (deleting any
  // loaded before); ReleaseImages deletes them all.
  void LoadImages();
  void ReleaseImages();
  // Shows ending n's lines (the dialogue table's first to last line).
  void Start(int32_t ending);
  // The ending's clock at its start and its pictures loaded; the final stage
  // then starts the lines and switches to scene 13.
  void Prepare();
  void Update(GameState& state);
  void Draw(GameState& state);

  int32_t lineImages[128];  // the ending's text lines, 84 loaded
  int32_t endingImage, staffImage, staffRollImage;
  int32_t active;          // 1 while text lines are shown
  int32_t line, lastLine;  // the shown line and the ending's last
  int32_t phase;           // 0 text, 1 staff roll
  float scroll;            // the ending's clock and the staff roll's position
  uint8_t staffMusicStarted;  // the staff-roll music has been started
};
