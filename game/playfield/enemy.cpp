// Enemy pool.
#include "playfield/enemy.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Enemy::Enemy(GameState&) : underlayImage(-1) {
  for (int i = 0; i < 360; ++i) sprites[i] = -1;
  for (int i = 0; i < 4; ++i) burstImages[i] = -1;
  std::memset(slots, 0, sizeof slots);
}

Enemy::~Enemy() {
  for (int i = 0; i < 360; ++i)
    if (sprites[i] != -1) ApiFreeGraphHandle(sprites[i], 0);
  if (underlayImage != -1) ApiFreeGraphHandle(underlayImage, 0);
  for (int i = 0; i < 4; ++i)
    if (burstImages[i] != -1) ApiFreeGraphHandle(burstImages[i], 0);
}

void Enemy::Update(GameState&) {}
void Enemy::Draw(GameState&) {}

void Enemy::ClearPool() {
  for (int i = 0; i < kEnemyPoolSize; ++i) slots[i].active = 0;
}
