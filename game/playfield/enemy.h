// Enemy: the pool of 256 enemies that the stage timelines spawn. Each kind
// runs a frame-keyed script; enemies take player-shot damage and die with a
// sound, an item and a burst.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kEnemyPoolSize = 256;
constexpr int kEnemySpriteCount = 288;  // cells cut from the enemy sheet

struct EnemySlot {
  float x, y;            // centre position, pixels; leaving the field frees the slot
  int32_t kind;          // script of the kind (see enemy_kinds.cpp)
  float speed;           // pixels per frame along angle
  float angle;           // motion direction in degrees (0 = +x, 90 = down)
  int32_t dropItem;      // item kind dropped at death; -1 none
  int32_t motionFrames;  // frames of motion left; the kind's script sets it, no motion at 0
  int32_t animFrame;     // animation column 0..2, stepped every 10 frames
  int32_t frame;         // frames since spawn; the kind's script keys on it
  int32_t hp;            // hit points: 10000 at spawn until the script sets its own; death at 0 or below
  int32_t active;        // 1 while the slot is in use
  int32_t deathTimer;    // 0 alive; 1..9 while the death burst shows
  int32_t burstAngle;    // direction in degrees of the death streak, drawn 0..359 at death
  uint8_t underlay;      // non-zero: the underlay picture is drawn beneath
  int32_t sprite;        // sprite set 0..31 on the enemy sheet
  int32_t animStep;      // +1 or -1: animation direction
  int32_t scratch;       // one word of script state
};

class Enemy {
 public:
  explicit Enemy(GameState& state);
  virtual ~Enemy();

  void Update(GameState& state);
  void Draw(GameState& state);
  // Empties the pool and zeroes every slot (the stage start).
  void ClearPool();

  // Takes the first free slot and returns it, or -1 when all 256 are active
  // (callers may ignore the result).
  int32_t Spawn(int32_t kind, int32_t x, int32_t y, int32_t sprite, uint8_t underlay,
                int32_t dropItem);
  // One frame of the slot's kind script (called by Update for live slots).
  void RunKind(GameState& state, int32_t slot);
  int32_t CountActive() const;

  // The logical state of the pool for replay digests.
  uint64_t Hash() const;

  int32_t sprites[360];
  int32_t underlayImage;
  int32_t burstImages[4];
  float cellWidth = 32.0f;
  float cellHeight = 32.0f;
  int32_t hitRadius = 16;
  int32_t sharedScratch = 0;
  EnemySlot slots[kEnemyPoolSize];
};
