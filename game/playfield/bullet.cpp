// Enemy bullet pool.
#include "playfield/bullet.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Bullet::Bullet(GameState&) : sheet(-1) {
  for (int i = 0; i < 256; ++i) sprites[i] = -1;
  std::memset(records, 0, sizeof records);
}

Bullet::~Bullet() {
  for (int i = 0; i < 256; ++i)
    if (sprites[i] != -1) ApiFreeGraphHandle(sprites[i], 0);
}

void Bullet::Update(GameState&) {}
void Bullet::Draw(GameState&) {}

void Bullet::ClearPool() {
  for (int i = 0; i < kBulletPoolSize; ++i) records[i].active = 0;
}
