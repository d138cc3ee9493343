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

// A bullet sprite type's place on "vko01\bullet.tga", its wall size for
// bounces and its hit radius. Types outside 0-255 and the unused 172-255 are
// all zero: nothing drawn, radius 0.
struct BulletSprite {
  int32_t x, y, w, h;
  int32_t radius;
};
const BulletSprite& BulletSpriteOf(int32_t type);
// Hit radius of a bullet type (0 outside the table).
inline int32_t BulletRadius(int32_t type) { return BulletSpriteOf(type).radius; }

class Bullet {
 public:
  explicit Bullet(GameState& state);
  virtual ~Bullet();

  void Update(GameState& state);
  void Draw(GameState& state);
  // Empties the pool and zeroes every record (the stage start).
  void ClearPool();

  // Spawns take the first free record in slot order and return its slot, or
  // -1 when all 2048 are in use.
  int32_t Spawn(int32_t type, float x, float y, float speed, float angle, int32_t delay,
                int32_t wait);
  int32_t SpawnLaser(float x, float y, float speed, float angle, int32_t type, int32_t length,
                     int32_t width, int32_t delay, int32_t wait);
  // Queued motion changes: -65536 leaves a value as it is, an angle of -65535
  // aims at the player when the change applies. The sixteenth bullet change
  // fills the queue and removes the bullet; a laser's full queue refuses.
  bool QueueChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                   float angle, float angularSpeed, int32_t type);
  bool QueueLaserChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                        float angle, float angularSpeed, int32_t lengthGrowth);

  // Patterns; a bullet that finds the pool full is simply missing.
  void Ring(float x, float y, float speed, float baseAngle, int32_t count, int32_t type,
            int32_t wait, int32_t delay);
  void Fan(float x, float y, float speed, float centreAngle, float arc, int32_t count,
           int32_t type, int32_t wait, int32_t delay);
  void Line(float x, float y, float maxSpeed, float angle, int32_t count);
  void LaserChain(float x, float y, float angle, int32_t type, float length, float width,
                  int32_t wait, int32_t removeFrame, int32_t depth);

  // Queries: any slot; outside 0-2047 they answer 0 / false. Inactive records
  // answer with what their last occupant left.
  float GetX(int32_t slot) const;
  float GetY(int32_t slot) const;
  int32_t GetType(int32_t slot) const;
  float GetFacing(int32_t slot) const;
  bool IsHittable(int32_t slot) const;
  int32_t GetLaserState(int32_t slot) const;  // 0 none/waiting, 1 on, 2 warning/growing
  int32_t CountActive() const;

  // Setters: false and nothing changed for an inactive record or a slot
  // outside 0-2047.
  bool SetAngle(int32_t slot, float angle);
  bool SetBounce(int32_t slot, int32_t count, bool top, bool right, bool bottom, bool left);
  bool SetEraseProof(int32_t slot);
  bool SetFacing(int32_t slot, bool on, float angle);
  bool SetSpin(int32_t slot, float rate, int32_t frames);
  bool SetAltMotion(int32_t slot, float speed, float angle);
  bool SetHarmless(int32_t slot);
  bool SetColor(int32_t slot, uint32_t rgb);
  bool MarkGrazed(int32_t slot);

  // Erasing; each returns how many records it removed.
  int32_t EraseAll();           // all but erase-proof ones
  int32_t EraseAllForced();     // every one
  int32_t EraseNearToItems(int32_t x, int32_t y, int32_t radius);  // not erase-proof, to items
  int32_t EraseAllToItems();    // every one, to items

  // The logical state of the pool for replay digests.
  uint64_t Hash() const;

  int32_t sheet;
  int32_t sprites[256];
  BulletRecord records[kBulletPoolSize];

 private:
  GameState* state_;
};
