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

// Queued motion changes, held as parallel arrays inside the record: entry i is
// the i-th change queued. A float of kChangeUnchanged (a type of
// kChangeTypeUnchanged) leaves the record's value as it is.
struct BulletChange {
  int32_t frame[kBulletChangeSlots];         // applies in the moving frame the record's frame equals this
  float x[kBulletChangeSlots];               // new position, pixels
  float y[kBulletChangeSlots];               // new position, pixels
  float speed[kBulletChangeSlots];           // new speed, pixels per frame
  float angle[kBulletChangeSlots];           // new direction, degrees; kChangeAimAtPlayer aims at the player
  float accel[kBulletChangeSlots];           // new acceleration, pixels per frame per frame
  float angularSpeed[kBulletChangeSlots];    // new turn, degrees per frame
  float lengthGrowth[kBulletChangeSlots];    // new laser growth, pixels per frame (QueueLaserChange only)
  float widthGrowth[kBulletChangeSlots];     // new laser widening; every queue call leaves it unchanged
  int32_t type[kBulletChangeSlots];          // new sprite type (QueueChange only)
};

struct BulletRecord {
  float x, y;               // position, pixels (a laser's origin); leaving the field frees the slot
  float speed;              // pixels per frame along angle
  float angle;              // motion direction, degrees (0 = +x, 90 = down the screen)
  float accel;              // added to speed every moving frame
  float angularSpeed;       // degrees added to angle every moving frame
  int32_t type;             // sprite type 0-171 (family type / 10, colour type % 10); sets the hit radius
  uint8_t active;           // 1 while the slot is in use
  uint8_t grazed;           // 1 once the player has grazed it (MarkGrazed); a laser grazes every 12th frame
  int32_t frame;            // moving frames since the spawn (not counted while waiting, appearing or frozen)
  uint8_t isLaser;          // 1 for a laser (SpawnLaser)
  float length;             // laser length, pixels, from the origin along its direction
  float width;              // laser width, pixels
  float lengthGrowth;       // pixels added to length every moving frame
  float widthGrowth;        // pixels added to width every moving frame
  int32_t delay;            // bullet: flash frames left; laser: warns while > 0, grows 0..-9, on at -10
  int32_t wait;             // hidden frames left, counted before delay: not drawn, not moving, not hit
  int32_t changeCount;      // entries queued in changes, 0-16; applied ones stay in the queue
  BulletChange changes;     // queued motion changes, in queue order
  int32_t bounceWalls;      // walls that reflect it: 1 right, 2 bottom, 4 left, 8 top (SetBounce)
  int32_t bouncesLeft;      // reflections still allowed; a corner can take two in a frame and leave -1
  uint8_t eraseProof;       // 1: survives the ordinary erases and bullet-cancelling shots (SetEraseProof)
  float altAngle;           // drift direction, degrees, while GameState::freeze is set (SetAltMotion)
  float altSpeed;           // drift, pixels per frame, while frozen; the last occupant's unless set
  uint8_t facingOn;         // 1: drawn at facingAngle instead of angle (a laser is also hit-tested along it)
  float facingAngle;        // fixed direction, degrees; families 0, 1, 2, 7 and 13 spawn facing 0
  uint8_t spinOn;           // 1: the sprite spins by spinRate until spinEnd (SetSpin)
  float spinRate;           // spin, degrees per moving frame
  int32_t spinEnd;          // value of frame at which the spin stops
  uint8_t hitsPlayer;       // 1: hits and can be grazed by the player; 0: only drawn (SetHarmless)
  uint32_t color;           // draw tint 0xRRGGBB; 0xFFFFFF is untinted (SetColor)
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
