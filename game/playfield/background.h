// Background: the scrolling stage backgrounds drawn beneath the play field,
// with their particles and the spell-card cross-fade.
#pragma once
#include <cstdint>

struct GameState;

struct BackgroundParticle {
  uint8_t active;
  float x, y;
  float angle;
  float speed;
  float scale;
  float alpha;
};

class Background {
 public:
  explicit Background(GameState& state);
  virtual ~Background();

  void Update(GameState& state);
  // After every update of the playing scene: follows the boss's spell cards
  // with the 32-frame cross-fade (and stage 3's clock step at its end).
  void FollowSpell(GameState& state);
  void Draw(GameState& state);
  void LoadStage(int stageNumber);
  void ResetForStage();
  // The logical state for replay digests (no handles).
  uint64_t Hash() const;

  int32_t textures[8];
  int32_t freezePicture;
  int32_t drawCounter;
  int32_t stageFrame;
  BackgroundParticle particles[256];
  uint8_t inSpell;
  uint8_t wasInSpell;
  int32_t fadeStart;
  int32_t fadeNow;

 private:
  void DrawNormal(const GameState& state, int frame, int fadeAlpha, int overlayAlpha) const;
  void DrawSpell(const GameState& state, int frame, int alpha) const;
  void DrawStageTwoSky(int frame) const;
};
