// Maho: the pool of 256 familiars that enemies and bosses call up. Each kind
// runs a frame-keyed script; damage a familiar takes is shared with its owner.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kMahoPoolSize = 256;
constexpr int kMahoKindCount = 38;  // kinds 0-37 have scripts

struct MahoSlot {
  float x, y;              // centre position, pixels; leaving the field frees the slot
  int32_t kind;            // script of the kind (0-37; others do nothing)
  float speed;             // pixels per frame along angle
  float angle;             // motion direction in degrees (0 = +x, 90 = down)
  int32_t motionFrames;    // frames of motion left; the kind's script sets it, no motion at 0
  int32_t frame;           // frames since spawn; the kind's script keys on it
  int32_t hp;              // hit points: 10000 at spawn; 0 or below (or the owner gone) starts the death
  int32_t active;          // 1 while the slot is in use
  int32_t deathTimer;      // 0 alive; 9..1 while the death burst shows
  int32_t burstAngle;      // direction in degrees of the death streak, drawn 0..359 at death
  int32_t sprite;          // sprite column and burst image 0-3; odd values hurt the player
  int32_t owner;           // owning enemy slot, or -1 for the boss
  float damageFactor;      // share of each hit passed to the owner's hp (0.3 for enemies' familiars)
  int32_t subKind;         // the kind script's parameter: direction, turn rate, variant, speed or bullet type
  int32_t scriptWords[3];  // the script's own state; a spawn keeps the last occupant's
};

class Maho {
 public:
  explicit Maho(GameState& state);
  virtual ~Maho();

  void Update(GameState& state);
  void Draw(GameState& state);
  // Empties the pool and zeroes every slot (the stage start).
  void ClearPool();

  // Takes the first free slot and returns it, or -1 when all 256 are active.
  // `sprite` picks the picture (0-3); familiars with an odd one hurt the player.
  int32_t Spawn(int32_t kind, int32_t x, int32_t y, int32_t owner, float damageFactor,
                int32_t sprite, int32_t subKind);
  // One frame of the slot's kind script (called by Update for live slots).
  void RunKind(GameState& state, int32_t slot);
  int32_t CountActive() const;

  // The logical state of the pool for replay digests.
  uint64_t Hash() const;

  int32_t sprites[32];
  int32_t burstImages[4];
  float cellWidth = 64.0f;
  float cellHeight = 64.0f;
  int32_t hitRadius = 24;
  MahoSlot slots[kMahoPoolSize];
};
