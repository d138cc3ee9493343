// Item: the pool of 256 items (power, points, bombs, lives, gauge) and their
// 16 pictures.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kItemPoolSize = 256;

enum ItemKind : int32_t {
  ItemPower = 0, ItemBigPower = 1, ItemPoint = 2, ItemBomb = 3, ItemExtend = 4,
  ItemCancel = 5, ItemFullPower = 6, ItemGauge = 7,
};

struct ItemSlot {
  float x, y;           // position, pixels; above the field (y < 16) a marker shows at the top
  float speed;          // pixels per frame: negative while rising, up to 1.5 falling, 5 or 10 attracted
  float angle;          // degrees: the spawn angle while rising, then 90; toward the player if attracted
  int32_t kind;         // ItemKind 0-7; power items turn into point items at full power
  int32_t active;       // 1 while the slot is in use; collected or below y 512 frees it
  int32_t attracted;    // 1 while it flies to the player (collect line, slow mode within 64 px, bomb, kind 5)
  int32_t frame;        // updates since the spawn; a rising item spins 20 degrees per frame
};

class Item {
 public:
  explicit Item(GameState& state);  // "vko01\item.tga" as 8 x 2 pieces of 16 x 16
  virtual ~Item();

  void Update(GameState& state);
  void Draw(GameState& state);
  // Empties the pool and zeroes every slot (the stage start).
  void ClearPool();

  // The first free slot, or -1 when all 256 are in use. A cancel item (kind
  // 5) flies to the player at once at speed 10.
  int32_t Spawn(float x, float y, int32_t kind, int32_t speed, int32_t angle);
  // On: every active item flies to the player at speed 10. Off: attracted
  // items drop back to speed 1.5.
  void SetAttraction(bool on);
  int32_t CountActive() const;

  // The logical state of the pool for replay digests.
  uint64_t Hash() const;

  int32_t images[16];
  int32_t prevPower;
  ItemSlot slots[kItemPoolSize];
  int32_t lastSlot;

 private:
  GameState* state_;
};

// Adds to the score, which stops at its largest value instead of wrapping.
void AddScore(GameState& state, uint64_t points);

// Point-item thresholds of the extra lives, each list ended by 9999.
extern const int32_t kExtendThresholds[6];
extern const int32_t kExtendThresholdsExtra[4];
