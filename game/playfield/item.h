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
  float x, y;
  float speed;
  float angle;
  int32_t kind;
  int32_t active;
  int32_t attracted;
  int32_t frame;
};

class Item {
 public:
  explicit Item(GameState& state);  // "vko01\item.tga" as 8 x 2 pieces of 16 x 16
  virtual ~Item();

  void Update(GameState& state);
  void Draw(GameState& state);
  void ClearPool();

  int32_t images[16];
  int32_t prevPower;
  ItemSlot slots[kItemPoolSize];
  int32_t lastSlot;
};
