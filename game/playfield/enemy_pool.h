// What the enemy and familiar pools have in common: taking and starting a
// slot, the motion step, player shots hitting a slot, the gauge fed by the
// bullets a death cancels, and the streak of the death burst.
#pragma once
#include <cstdint>

#include "library/tesra.h"
#include "playfield/bullet.h"
#include "playfield/enemy_script.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace pool {

// The first inactive slot, or -1 when every one is in use.
template <typename Slot, int N>
int32_t FirstFree(const Slot (&slots)[N]) {
  for (int32_t i = 0; i < N; ++i)
    if (slots[i].active == 0) return i;
  return -1;
}

template <typename Slot, int N>
int32_t CountActive(const Slot (&slots)[N]) {
  int32_t n = 0;
  for (const Slot& s : slots) n += s.active != 0;
  return n;
}

// A fresh slot of `kind` at (x, y): at rest, frame 0, alive with 10000 hp.
template <typename Slot>
void Start(Slot& s, int32_t kind, int32_t x, int32_t y) {
  s.kind = kind;
  s.x = static_cast<float>(x);
  s.y = static_cast<float>(y);
  s.speed = 0.0f;
  s.angle = 0.0f;
  s.motionFrames = 0;
  s.frame = 0;
  s.deathTimer = 0;
  s.hp = 10000;
  s.active = 1;
}

// One step along the slot's heading while its motion lasts.
template <typename Slot>
void StepMotion(Slot& s) {
  if (s.motionFrames == 0) return;
  s.x += script::CosDeg(s.angle) * s.speed;
  s.y += script::SinDeg(s.angle) * s.speed;
  s.motionFrames -= 1;
}

// Each live player shot touching the circle at (x, y): the hit sound,
// onHit(the shot's damage), 1000 points and the shot's own hit, in that order.
template <typename OnHit>
void TakeShotHits(GameState& state, Player& player, float x, float y, int32_t radius,
                  OnHit onHit) {
  for (int32_t j = 0; j < kPlayerShotPoolSize; ++j) {
    if (player.shots[j].active == 0 || !player.ShotTouches(j, x, y, radius)) continue;
    const int32_t damage = player.shots[j].damage;
    script::PlaySe(state, SeHit);
    onHit(damage);
    state.score += 1000;
    player.OnShotHit(j);
  }
}

// The bullets within 32 pixels of a death turn into items; the gauge gains
// twice their count.
inline void CancelNearForGauge(GameState& state, float x, float y) {
  const int32_t n = state.bullet->EraseNearToItems(script::Trunc(x), script::Trunc(y), 32);
  state.gauge += 2 * n;
}

// The death burst's streak: a quad of `graph` about (x, y), its corners r1
// out at the burst angle +-45 degrees, pushed r2 either way along the angle.
inline void DrawBurstStreak(float x, float y, int32_t burstAngle, float r1, float r2,
                            int32_t graph) {
  const float a = static_cast<float>(burstAngle);
  const float p1x = x + r1 * script::CosDeg(a + 45.0f), p1y = y + r1 * script::SinDeg(a + 45.0f);
  const float p2x = x + r1 * script::CosDeg(a - 45.0f), p2y = y + r1 * script::SinDeg(a - 45.0f);
  const float dx = r2 * script::CosDeg(a), dy = r2 * script::SinDeg(a);
  using script::Trunc;
  ApiDrawGraphQuad(Trunc(p1x + dx), Trunc(p1y + dy), Trunc(p2x + dx), Trunc(p2y + dy),
                   Trunc(p2x - dx), Trunc(p2y - dy), Trunc(p1x - dx), Trunc(p1y - dy), graph, 1);
}

}  // namespace pool
