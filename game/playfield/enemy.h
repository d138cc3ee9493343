// Enemy: the pool of 256 enemies that the stage timelines spawn.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kEnemyPoolSize = 256;

struct EnemySlot {
  float x, y;
  int32_t kind;
  float speed;
  float angle;
  int32_t dropItem;
  int32_t motionFrames;
  int32_t animFrame;
  int32_t frame;
  int32_t hp;
  int32_t active;
  int32_t deathTimer;
  int32_t burstAngle;
  uint8_t underlay;
  int32_t sprite;
  int32_t animStep;
  int32_t scratch;
};

class Enemy {
 public:
  explicit Enemy(GameState& state);
  virtual ~Enemy();

  void Update(GameState& state);
  void Draw(GameState& state);
  void ClearPool();

  int32_t sprites[360];
  int32_t underlayImage;
  int32_t burstImages[4];
  float cellWidth = 32.0f;
  float cellHeight = 32.0f;
  int32_t hitRadius = 16;
  int32_t sharedScratch = 0;
  EnemySlot slots[kEnemyPoolSize];
};
