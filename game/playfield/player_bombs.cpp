// The ten bomb kinds (two per character, normal and slow): one frame of the
// running bomb's effect, keyed on the bomb timer t before this frame's
// countdown. Most shots cancel the enemy bullets they touch.
#include <cstdint>
#include <initializer_list>

#include "playfield/boss.h"
#include "playfield/enemy.h"
#include "playfield/enemy_script.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
using script::CosDeg;
using script::SinDeg;

constexpr float kPulse = 1000.0f;
constexpr int32_t kBombKinds = 10;

void Cancel(Player& p, float x, float y, float speed, float angle, int32_t kind, int32_t damage) {
  p.SpawnCancelShot(x, y, speed, 0.0f, angle, 0.0f, kind, damage, 0);
}
// A one-frame cancelling pulse that stands on (x, y) when the targets test it.
void Pulse(Player& p, float x, float y, float angle, int32_t kind, int32_t damage) {
  Cancel(p, x - kPulse * CosDeg(angle), y - kPulse * SinDeg(angle), kPulse, angle, kind, damage);
}

// 24 shots spreading from 64 px around (cx, cy).
void Burst24(Player& p, float cx, float cy, int32_t kind) {
  for (int32_t a = 0; a < 360; a += 15) {
    const float fa = static_cast<float>(a);
    Cancel(p, cx + 64.0f * CosDeg(fa), cy + 64.0f * SinDeg(fa), 2.0f, fa, kind, 100);
  }
}

// Where FindNearestEnemy points: the boss, an enemy, or nothing (false).
bool TargetOf(Player& p, GameState& st, float& tx, float& ty) {
  const int32_t target = p.FindNearestEnemy(st);
  if (target == -1 && st.boss != nullptr) {
    tx = st.boss->x;
    ty = st.boss->y;
    return true;
  }
  if (target >= 0 && target < kEnemyPoolSize && st.enemy != nullptr) {
    tx = st.enemy->slots[target].x;
    ty = st.enemy->slots[target].y;
    return true;
  }
  return false;
}

void Bomb0(Player& p, GameState&, int32_t t) {
  if (t == 120 || t == 1) Burst24(p, p.x, p.y, 17);
  if (t == 180 || t == 60) {
    static const float kCorners[4][2] = {{-128, -128}, {128, -128}, {-128, 128}, {128, 128}};
    for (const auto& c : kCorners) Burst24(p, p.x + c[0], p.y + c[1], 18);
  }
}

void Bomb1(Player& p, GameState&, int32_t t) {
  for (int32_t i = 0; i < 360; i += 90) {
    for (int32_t a : {i + t, i - t}) {
      const float fa = static_cast<float>(a);
      const float px = p.x + 128.0f * CosDeg(fa), py = p.y + 128.0f * SinDeg(fa);
      Pulse(p, px, py, fa, 17, 0);
      Pulse(p, px, py, fa, 15, 20);
    }
  }
}

void RingOf36(Player& p, int32_t damage) {
  for (int32_t a = 0; a < 360; a += 10) Cancel(p, p.x, p.y, 4.0f, static_cast<float>(a), 21, damage);
}

void Bomb2(Player& p, GameState& st, int32_t t) {
  if (t % 40 == 0) {
    float tx = 0.0f, ty = 0.0f;
    if (TargetOf(p, st, tx, ty)) {
      p.x = tx;
      p.y = ty;
    }
  }
  if (t % 40 == 20) RingOf36(p, 12);
  if (t % 40 == 30) RingOf36(p, 6);
}

void Bomb3(Player& p, GameState&, int32_t t) {
  if (t == 200) {
    p.x = 208.0f;
    p.y = 240.0f;
  }
  for (int32_t i = 0; i < 180; i += 45) {
    const float a1 = static_cast<float>(2 * (i - t));
    const float a2 = a1 - 90.0f;
    Pulse(p, p.x, p.y, a1, 26, 5);
    Pulse(p, p.x + 192.0f * CosDeg(a1), p.y + 192.0f * SinDeg(a1), a2, 26, 5);
  }
}

void Bomb4(Player& p, GameState&, int32_t t) {
  if (t < 40 || t % 3 != 0) return;
  const float pf = static_cast<float>((6 * t) % 384);
  const float qf = static_cast<float>((6 * t) % 192);
  const int32_t odd = t % 2;
  Cancel(p, 16.0f + pf, 16.0f, 8.0f, 60.0f, 22 + odd, 20);
  Cancel(p, 400.0f - pf, 16.0f, 8.0f, 120.0f, 22 + odd, 20);
  Cancel(p, 208.0f + qf, 16.0f, 8.0f, 120.0f, 24 + odd, 20);
  Cancel(p, 208.0f - qf, 16.0f, 8.0f, 60.0f, 24 + odd, 20);
}

// Clusters of ten that fly off together and burst 60 frames later.
void Bomb5(Player& p, GameState&, int32_t t) {
  constexpr int32_t kSlots = static_cast<int32_t>(sizeof p.clusterSlots / sizeof p.clusterSlots[0]);
  if (t > 60 && t % 20 == 0) {
    const int32_t rs = ApiRandomInRange(25);
    const float speed = static_cast<float>(static_cast<double>(20 + rs) / 10.0);
    const int32_t ra = ApiRandomInRange(120);
    const float angle = static_cast<float>(210 + ra);
    for (int32_t i = 0; i < 10; ++i) {
      const float a = static_cast<float>(36 * i);
      const int32_t slot = p.SpawnCancelShot(p.x + 16.0f * CosDeg(a), p.y + 16.0f * SinDeg(a),
                                             speed, 0.0f, angle, 0.0f, 22 + i % 2, 40, 0);
      if (t + i >= 0 && t + i < kSlots) p.clusterSlots[t + i] = slot;
    }
  }
  if (t <= 140 && t % 20 == 0) {
    for (int32_t j = 0; j < 10; ++j) {
      const int32_t e = t + 60 + j;
      if (e < 0 || e >= kSlots) continue;
      const int32_t slot = p.clusterSlots[e];
      if (slot >= 0 && slot < kPlayerShotPoolSize) p.shots[slot].angle = static_cast<float>(36 * j);
    }
  }
}

void Bomb6(Player& p, GameState&, int32_t) {
  const int32_t r = ApiRandomInRange(384);
  Cancel(p, static_cast<float>(16 + r), 464.0f, 10.0f, 270.0f, 5, 18);
}

void Bomb7(Player& p, GameState&, int32_t t) {
  if (t % 5 != 0) return;
  const int32_t q = t / 4;
  struct Ray { int32_t base, sign, kind, damage; };
  static const Ray kRays[4] = {{250, -1, 7, 2}, {290, 1, 7, 2}, {200, 1, 10, 1}, {340, -1, 10, 1}};
  for (const Ray& r : kRays)
    p.SpawnShot(p.x, p.y, 8.0f, 0.0f, static_cast<float>(r.base + r.sign * q), 0.0f, r.kind,
                r.damage, 2);
}

// The dash bombs: every 20 frames a new heading, random inside the field or
// back toward its centre from outside; the slow one aims at its target.
void Dash(Player& p, GameState& st, int32_t t, bool aimed) {
  if (t % 20 == 0) {
    p.dashSpeed = 30;
    float tx = 0.0f, ty = 0.0f;
    if (aimed && TargetOf(p, st, tx, ty)) {
      p.auxAngle = script::Trunc(script::Direction(p.x, p.y, tx, ty));
    } else if (p.x >= 16.0f && p.x <= 400.0f && p.y >= 16.0f && p.y <= 464.0f) {
      p.auxAngle = ApiRandomInRange(359);
    } else {
      p.auxAngle = script::Trunc(script::Direction(p.x, p.y, 208.0f, 240.0f));
    }
  }
  const float a = static_cast<float>(p.auxAngle);
  const float step = static_cast<float>(p.dashSpeed);
  p.x += CosDeg(a) * step;
  p.y += SinDeg(a) * step;
  Pulse(p, p.x, p.y, a, 28, 70);
  if (aimed) return;
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t r = ApiRandomInRange(359);
    Cancel(p, p.x, p.y, 8.0f, static_cast<float>(r), 27, 40);
  }
}
void Bomb8(Player& p, GameState& st, int32_t t) { Dash(p, st, t, false); }
void Bomb9(Player& p, GameState& st, int32_t t) { Dash(p, st, t, true); }

using BombEffect = void (*)(Player&, GameState&, int32_t);
constexpr BombEffect kBombs[kBombKinds] = {Bomb0, Bomb1, Bomb2, Bomb3, Bomb4,
                                           Bomb5, Bomb6, Bomb7, Bomb8, Bomb9};
}  // namespace

void Player::RunBombEffect(GameState& state) {
  if (bombTimer <= 0 || bombKind < 0 || bombKind >= kBombKinds) return;
  kBombs[bombKind](*this, state, bombTimer);
}
