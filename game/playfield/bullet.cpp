// Enemy bullet pool.
#include "playfield/bullet.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Bullet::Bullet(GameState& state) : sheet(-1), state_(&state) {
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

namespace {
const BulletSprite kNoSprite{};
}
const BulletSprite& BulletSpriteOf(int32_t) { return kNoSprite; }

int32_t Bullet::Spawn(int32_t, float, float, float, float, int32_t, int32_t) { return -1; }
int32_t Bullet::SpawnLaser(float, float, float, float, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return -1;
}
bool Bullet::QueueChange(int32_t, int32_t, float, float, float, float, float, float, int32_t) {
  return false;
}
bool Bullet::QueueLaserChange(int32_t, int32_t, float, float, float, float, float, float, int32_t) {
  return false;
}
void Bullet::Ring(float, float, float, float, int32_t, int32_t, int32_t, int32_t) {}
void Bullet::Fan(float, float, float, float, float, int32_t, int32_t, int32_t, int32_t) {}
void Bullet::Line(float, float, float, float, int32_t) {}
void Bullet::LaserChain(float, float, float, int32_t, float, float, int32_t, int32_t, int32_t) {}
float Bullet::GetX(int32_t) const { return 0.0f; }
float Bullet::GetY(int32_t) const { return 0.0f; }
int32_t Bullet::GetType(int32_t) const { return 0; }
float Bullet::GetFacing(int32_t) const { return 0.0f; }
bool Bullet::IsHittable(int32_t) const { return false; }
int32_t Bullet::GetLaserState(int32_t) const { return 0; }
int32_t Bullet::CountActive() const { return 0; }
bool Bullet::SetAngle(int32_t, float) { return false; }
bool Bullet::SetBounce(int32_t, int32_t, bool, bool, bool, bool) { return false; }
bool Bullet::SetEraseProof(int32_t) { return false; }
bool Bullet::SetFacing(int32_t, bool, float) { return false; }
bool Bullet::SetSpin(int32_t, float, int32_t) { return false; }
bool Bullet::SetAltMotion(int32_t, float, float) { return false; }
bool Bullet::SetHarmless(int32_t) { return false; }
bool Bullet::SetColor(int32_t, uint32_t) { return false; }
bool Bullet::MarkGrazed(int32_t) { return false; }
int32_t Bullet::EraseAll() { return 0; }
int32_t Bullet::EraseAllForced() { return 0; }
int32_t Bullet::EraseNearToItems(int32_t, int32_t, int32_t) { return 0; }
int32_t Bullet::EraseAllToItems() { return 0; }
uint64_t Bullet::Hash() const { return 0; }
