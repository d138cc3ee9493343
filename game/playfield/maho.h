// Maho: the pool of 256 familiars that enemies and bosses call up.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kMahoPoolSize = 256;

struct MahoSlot {
  float x, y;
  int32_t kind;
  float speed;
  float angle;
  int32_t motionFrames;
  int32_t frame;
  int32_t hp;
  int32_t active;
  int32_t deathTimer;
  int32_t burstAngle;
  int32_t sprite;
  int32_t owner;
  float damageFactor;
  int32_t subKind;
  int32_t scriptWords[3];
};

class Maho {
 public:
  explicit Maho(GameState& state);
  virtual ~Maho();

  void Update(GameState& state);
  void Draw(GameState& state);
  void ClearPool();

  int32_t sprites[32];
  int32_t burstImages[4];
  float cellWidth = 64.0f;
  float cellHeight = 64.0f;
  int32_t hitRadius = 24;
  MahoSlot slots[kMahoPoolSize];
};
