// A player steered only by what it sees, so that its recording plays back
// alike in any process: each frame it tries every heading at both speeds for
// a few frames ahead against the bullets, lasers, enemies and the boss near
// it, takes the safest (keeping low and under its target), bombs when a hit
// is certain or has just happened, shoots, skips dialogue and taps shot at
// the tally's wait.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "game/driver.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/enemy.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace dodge {

constexpr int kUp = 200, kDown = 208, kLeft = 203, kRight = 205, kShot = 44, kBomb = 45,
              kSlow = 42, kSkip = 29;
constexpr int kHorizon = 12;

struct Threat {
  float x, y, vx, vy;  // position and step per frame
  float reach;         // the distance below which the player is hit
  bool laser;
  float dx, dy, length;  // a laser's unit direction and length
};

inline float SegmentDistance(float px, float py, const Threat& t, float ox, float oy) {
  const float ax = t.x + ox, ay = t.y + oy;
  float u = (px - ax) * t.dx + (py - ay) * t.dy;
  if (u < 0) u = 0;
  if (u > t.length) u = t.length;
  const float cx = ax + t.dx * u - px, cy = ay + t.dy * u - py;
  return std::sqrt(cx * cx + cy * cy);
}

// The threats within reach of the player in the next frames.
inline void Gather(const GameState& s, std::vector<Threat>& out) {
  out.clear();
  const Player& p = *s.player;
  const float kNear = 160.0f;
  const Bullet& b = *s.bullet;
  for (int i = 0; i < kBulletPoolSize; ++i) {
    const BulletRecord& r = b.records[i];
    if (!r.active || !r.hitsPlayer) continue;
    Threat t{};
    const float a = r.angle * 3.14159265f / 180.0f;
    t.x = r.x;
    t.y = r.y;
    t.vx = std::cos(a) * r.speed;
    t.vy = std::sin(a) * r.speed;
    if (r.isLaser) {
      t.laser = true;
      const float f = b.GetFacing(i) * 3.14159265f / 180.0f;
      t.dx = std::cos(f);
      t.dy = std::sin(f);
      t.length = r.length + r.lengthGrowth * kHorizon;
      t.reach = r.width * 0.5f + p.hitRadius + 2.5f;
      if (SegmentDistance(p.x, p.y, t, 0, 0) > kNear) continue;
    } else {
      t.reach = static_cast<float>(BulletRadius(r.type) + p.hitRadius) + 2.5f;
      if (std::fabs(r.x - p.x) > kNear || std::fabs(r.y - p.y) > kNear) continue;
    }
    out.push_back(t);
  }
  for (int i = 0; i < kEnemyPoolSize; ++i) {
    const EnemySlot& e = s.enemy->slots[i];
    if (!e.active || std::fabs(e.x - p.x) > kNear || std::fabs(e.y - p.y) > kNear) continue;
    out.push_back(Threat{e.x, e.y, 0, 1.0f, s.enemy->hitRadius / 2.0f + p.hitRadius + 8.0f, false, 0, 0, 0});
  }
  if (s.boss->active)
    out.push_back(Threat{s.boss->x, s.boss->y, 0, 0, s.boss->radius / 2.0f + p.hitRadius + 12.0f, false, 0, 0, 0});
}

struct Choice {
  int dir;  // -1 still, else 0-7 in 45-degree steps from +x
  bool slow;
  float worst;  // the least clearance met
};

// The move to take this frame.
inline Choice Plan(const GameState& s, std::vector<Threat>& threats, float targetX) {
  Gather(s, threats);
  const Player& p = *s.player;
  Choice best{-1, false, -1e9f};
  float bestCost = 1e30f;
  for (int slow = 0; slow < 2; ++slow)
    for (int dir = -1; dir < 8; ++dir) {
      const float v = slow ? p.slowSpeed : p.normalSpeed;
      const float a = dir * 3.14159265f / 4.0f;
      const float mx = dir < 0 ? 0 : std::cos(a) * v, my = dir < 0 ? 0 : std::sin(a) * v;
      float cost = 0, worst = 1e9f;
      float x = p.x, y = p.y;
      for (int k = 1; k <= kHorizon; ++k) {
        x = std::fmin(392.0f, std::fmax(24.0f, x + mx));
        y = std::fmin(456.0f, std::fmax(24.0f, y + my));
        for (const Threat& t : threats) {
          const float ox = t.vx * k, oy = t.vy * k;
          float d;
          if (t.laser)
            d = SegmentDistance(x, y, t, ox, oy);
          else
            d = std::hypot(t.x + ox - x, t.y + oy - y);
          const float c = d - t.reach;
          if (c < worst) worst = c;
          const float w = 1.0f / k;
          if (c < 0)
            cost += 1e6f * w;
          else if (c < 24)
            cost += (24 - c) * (24 - c) * w;
        }
      }
      // Keep low on the field and under the target.
      cost += std::fabs(x - targetX) * 0.5f + std::fabs(y - 410.0f) * 0.8f;
      if (cost < bestCost) {
        bestCost = cost;
        best = Choice{dir, slow != 0, worst};
      }
    }
  return best;
}

// The x the bot would shoot from: the boss, else the lowest enemy.
inline float TargetX(const GameState& s) {
  if (s.boss->active) return s.boss->x;
  float tx = 208.0f, ty = -1;
  for (const EnemySlot& e : s.enemy->slots)
    if (e.active && e.y > ty && e.y < 400) {
      ty = e.y;
      tx = e.x;
    }
  return tx;
}

// Sets the keys for the coming frame.
inline void Steer(const GameState& s, std::vector<Threat>& threats, int pass) {
  for (int k : {kUp, kDown, kLeft, kRight, kShot, kBomb, kSlow, kSkip}) GameDriver::Key(k, false);
  if (s.scene == SceneStageResult) {
    GameDriver::Key(kShot, pass % 2 == 0);
    return;
  }
  if (s.scene != ScenePlaying) return;
  const Player& p = *s.player;
  GameDriver::Key(kShot, true);
  GameDriver::Key(kSkip, true);
  if (p.hitCounter > 0) {
    GameDriver::Key(kBomb, true);
    return;
  }
  const Choice c = Plan(s, threats, TargetX(s));
  if (c.worst < 0 && p.invulnerable == 0 && p.bombTimer == 0 && s.bombs > 0) GameDriver::Key(kBomb, true);
  GameDriver::Key(kSlow, c.slow);
  if (c.dir < 0) return;
  static const int kDirKeys[8][2] = {{kRight, 0}, {kRight, kDown}, {kDown, 0}, {kDown, kLeft},
                                     {kLeft, 0},  {kLeft, kUp},    {kUp, 0},   {kUp, kRight}};
  for (int k : kDirKeys[c.dir])
    if (k) GameDriver::Key(k, true);
}

}  // namespace dodge
