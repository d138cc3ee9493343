// Item pool.
#include "playfield/item.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Item::Item(GameState& state) : prevPower(0), lastSlot(-1), state_(&state) {
  for (int i = 0; i < 16; ++i) images[i] = -1;
  std::memset(slots, 0, sizeof slots);
  if (ApiLoadGraphFileSplit("vko01\\item.tga", 16, 8, 2, 16, 16, images, 0) == -1)
    for (int i = 0; i < 16; ++i) images[i] = -1;
}

Item::~Item() {
  for (int i = 0; i < 16; ++i)
    if (images[i] != -1) ApiFreeGraphHandle(images[i], 0);
}

void Item::Update(GameState&) {}
void Item::Draw(GameState&) {}

void Item::ClearPool() {
  for (int i = 0; i < kItemPoolSize; ++i) slots[i].active = 0;
}

const int32_t kExtendThresholds[6] = {50, 125, 200, 300, 450, 9999};
const int32_t kExtendThresholdsExtra[4] = {100, 200, 400, 9999};

int32_t Item::Spawn(float, float, int32_t, int32_t, int32_t) { return -1; }
void Item::SetAttraction(bool) {}
int32_t Item::CountActive() const { return 0; }
uint64_t Item::Hash() const { return 0; }
