// Familiar pool.
#include "playfield/maho.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Maho::Maho(GameState&) {
  for (int i = 0; i < 32; ++i) sprites[i] = -1;
  for (int i = 0; i < 4; ++i) burstImages[i] = -1;
  std::memset(slots, 0, sizeof slots);
}

Maho::~Maho() {
  for (int i = 0; i < 32; ++i)
    if (sprites[i] != -1) ApiFreeGraphHandle(sprites[i], 0);
  for (int i = 0; i < 4; ++i)
    if (burstImages[i] != -1) ApiFreeGraphHandle(burstImages[i], 0);
}

void Maho::Update(GameState&) {}
void Maho::Draw(GameState&) {}

void Maho::ClearPool() {
  for (int i = 0; i < kMahoPoolSize; ++i) slots[i].active = 0;
}
