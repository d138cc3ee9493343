// Bullet: the pool of 2048 enemy bullets and lasers. Spawners elsewhere fill
// BulletRecords through the slot index a spawn returns.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kBulletPoolSize = 2048;
constexpr int kBulletChangeSlots = 16;
constexpr float kChangeUnchanged = -65536.0f;
constexpr int32_t kChangeTypeUnchanged = -65536;
constexpr float kChangeAimAtPlayer = -65535.0f;

// Queued motion changes, held as parallel arrays inside the record.
struct BulletChange {
  int32_t frame[kBulletChangeSlots];
  float x[kBulletChangeSlots];
  float y[kBulletChangeSlots];
  float speed[kBulletChangeSlots];
  float angle[kBulletChangeSlots];
  float accel[kBulletChangeSlots];
  float angularSpeed[kBulletChangeSlots];
  float lengthGrowth[kBulletChangeSlots];
  float widthGrowth[kBulletChangeSlots];
  int32_t type[kBulletChangeSlots];
};

struct BulletRecord {
  float x, y;
  float speed;
  float angle;
  float accel;
  float angularSpeed;
  int32_t type;
  uint8_t active;
  uint8_t grazed;
  int32_t frame;
  uint8_t isLaser;
  float length;
  float width;
  float lengthGrowth;
  float widthGrowth;
  int32_t delay;
  int32_t wait;
  int32_t changeCount;
  BulletChange changes;
  int32_t bounceWalls;
  int32_t bouncesLeft;
  uint8_t eraseProof;
  float altAngle;
  float altSpeed;
  uint8_t facingOn;
  float facingAngle;
  uint8_t spinOn;
  float spinRate;
  int32_t spinEnd;
  uint8_t hitsPlayer;
  uint32_t color;
};

class Bullet {
 public:
  explicit Bullet(GameState& state);
  virtual ~Bullet();

  void Update(GameState& state);
  void Draw(GameState& state);
  void ClearPool();

  int32_t sheet;
  int32_t sprites[256];
  BulletRecord records[kBulletPoolSize];
};
