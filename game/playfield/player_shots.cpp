// Player shots (spawning, homing modes, motion, hits) and the drawing of the
// player with its shots, sparks, barrier and options.
#include <cstring>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/enemy.h"
#include "playfield/player.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"

namespace {

constexpr double kPi = 3.141592653589793;

float Radians(float degrees) { return static_cast<float>(static_cast<double>(degrees) / 180.0 * kPi); }
double RadiansD(double degrees) { return degrees / 180.0 * kPi; }

float DirectionDegrees(float fromX, float fromY, float toX, float toY) {
  return static_cast<float>(static_cast<double>(FloatAtan2(toY - fromY, toX - fromX)) * 180.0 / kPi);
}

float SquaredDistance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1, dy = y2 - y1;
  return dx * dx + dy * dy;
}

bool BossActive(const GameState& s) { return s.boss && s.boss->active; }

bool ValidShot(int32_t slot) { return slot >= 0 && slot < kPlayerShotPoolSize; }

int Pixel(float v) { return FloatToIntTrunc(v); }

// The direction from (fx, fy) in whole degrees 0..359.
int32_t WholeDegrees(float fx, float fy, float tx, float ty) {
  int32_t a = FloatToIntTrunc(DirectionDegrees(fx, fy, tx, ty));
  a %= 360;
  if (a < 0) a += 360;
  return a;
}

bool NearlyUp(int32_t a) { return (a - 270 < 0 ? 270 - a : a - 270) < 30; }

}  // namespace

namespace {
int32_t SpawnInto(PlayerShotSlot* shots, int32_t& lastShotSlot, float x, float y, float speed,
                  float accel, float angle, float angularSpeed, int32_t kind, int32_t damage,
                  int32_t mode, int32_t cancels) {
  for (int i = 0; i < kPlayerShotPoolSize; ++i) {
    PlayerShotSlot& s = shots[i];
    if (s.active) continue;
    s.x = x;
    s.y = y;
    s.speed = speed;
    s.accel = accel;
    s.angle = angle;
    s.angularSpeed = angularSpeed;
    s.kind = kind;
    s.damage = damage;
    s.mode = mode;
    s.frame = 0;
    s.cancelsBullets = cancels;
    s.active = 1;
    lastShotSlot = i;
    return i;
  }
  lastShotSlot = -1;
  return -1;
}
}  // namespace

int32_t Player::SpawnShot(float x0, float y0, float speed, float accel, float angle,
                          float angularSpeed, int32_t kind, int32_t damage, int32_t mode) {
  return SpawnInto(shots, lastShotSlot, x0, y0, speed, accel, angle, angularSpeed, kind, damage,
                   mode, 0);
}

int32_t Player::SpawnCancelShot(float x0, float y0, float speed, float accel, float angle,
                                float angularSpeed, int32_t kind, int32_t damage, int32_t mode) {
  return SpawnInto(shots, lastShotSlot, x0, y0, speed, accel, angle, angularSpeed, kind, damage,
                   mode, 1);
}

void Player::OnShotHit(int32_t slot) {
  if (!ValidShot(slot)) return;
  if (PlayerShotKindOf(shots[slot].kind).radius != -1) shots[slot].active = 0;
}

bool Player::ShotTouches(int32_t slot, float tx, float ty, int32_t r) const {
  if (!ValidShot(slot) || !shots[slot].active) return false;
  const PlayerShotSlot& s = shots[slot];
  const PlayerShotKind& k = PlayerShotKindOf(s.kind);
  if (k.radius == -1)
    return HitTestLaser(tx, ty, r, s.x, s.y, s.angle, static_cast<float>(k.height),
                        static_cast<float>(k.width));
  int32_t reach = k.radius + r;
  return static_cast<double>(reach) * reach >
         static_cast<double>(SquaredDistance(s.x, s.y, tx, ty));
}

void Player::UpdateShots(GameState& st) {
  const bool bossActive = BossActive(st);
  const EnemySlot* enemies = st.enemy ? st.enemy->slots : nullptr;
  for (PlayerShotSlot& s : shots) {
    if (!s.active) continue;
    if (s.mode == 30 && s.frame >= 30 && s.frame < 60) {
      if (bossActive) {
        s.angle = DirectionDegrees(s.x, s.y, st.boss->x, st.boss->y);
      } else if (enemies) {
        int candidate = -1;
        float best = 0.0f;
        for (int i = 0; i < kEnemyPoolSize; ++i) {
          if (!enemies[i].active) continue;
          float d = SquaredDistance(x, y, enemies[i].x, enemies[i].y);
          if (candidate < 0 || d <= best) {
            candidate = i;
            best = d;
          }
        }
        if (candidate >= 0)
          s.angle = DirectionDegrees(s.x, s.y, enemies[candidate].x, enemies[candidate].y);
      }
    }
    if (s.mode == 1 && s.frame == 0) {
      if (bossActive) {
        s.angle = DirectionDegrees(s.x, s.y, st.boss->x, st.boss->y);
      } else if (enemies) {
        // The candidate starts as slot 0 even when it is empty.
        int candidate = 0;
        float best = SquaredDistance(x, y, enemies[0].x, enemies[0].y);
        for (int i = 0; i < kEnemyPoolSize; ++i) {
          if (!enemies[i].active) continue;
          float d = SquaredDistance(x, y, enemies[i].x, enemies[i].y);
          if (d < best) {
            candidate = i;
            best = d;
          }
        }
        if (enemies[candidate].active)
          s.angle = DirectionDegrees(s.x, s.y, enemies[candidate].x, enemies[candidate].y);
      }
    }
    if (s.mode == 2 && (s.x > 400.0f || s.x < 16.0f)) s.angle = 180.0f - s.angle;
    if (s.mode == 3 && s.frame == 10) {
      if (bossActive) {
        int32_t a = WholeDegrees(s.x, s.y, st.boss->x, st.boss->y);
        if (NearlyUp(a)) s.angle = static_cast<float>(a);
      }
      if (enemies) {
        int32_t best = 1000;
        for (int i = 0; i < kEnemyPoolSize; ++i) {
          const EnemySlot& e = enemies[i];
          if (!e.active) continue;
          int32_t d = FloatToIntTrunc(FloatSqrt(SquaredDistance(s.x, s.y, e.x, e.y)));
          if (d >= best) continue;
          best = d;
          int32_t a = WholeDegrees(s.x, s.y, e.x, e.y);
          if (NearlyUp(a)) s.angle = static_cast<float>(a);
        }
      }
    }
    s.speed += s.accel;
    s.angle += s.angularSpeed;
    float a = Radians(s.angle);
    s.x += FloatCos(a) * s.speed;
    s.y += FloatSin(a) * s.speed;
    if (s.x < -48.0f || s.x > 448.0f || s.y < -48.0f || s.y > 512.0f) s.active = 0;
    ++s.frame;
  }
}

// ---- Drawing ---------------------------------------------------------------------------

void Player::Draw(GameState& st) {
  for (const PlayerShotSlot& s : shots) {
    if (!s.active) continue;
    const PlayerShotKind& k = PlayerShotKindOf(s.kind);
    int32_t image = s.kind >= 0 && s.kind < kPlayerShotKindCount ? shotImages[s.kind] : -1;
    if (image == -1) continue;
    if (s.cancelsBullets)
      ApiSetBlendMode(2, 255);
    else if (s.kind == 15 || s.kind == 16)
      ApiSetBlendMode(2, 2 * beamGlow);
    else
      ApiSetBlendMode(0, 255);
    double rot = RadiansD(static_cast<double>(s.angle) + 90.0);
    if (k.radius == -1)
      ApiDrawGraphRotatedAboutPoint(Pixel(s.x), Pixel(s.y), k.width / 2, k.height, 1.0, rot, image, 1,
                                    0);
    else
      ApiDrawGraphRotated(Pixel(s.x), Pixel(s.y), 1.0, rot, image, 1, 0);
  }

  const bool firstCharacterOptions = st.gaugeActive && st.character == 0;
  if (!beamFiring && beamGlow != 0 && shotImages[15] != -1) {
    ApiSetBlendMode(2, 2 * beamGlow);
    ApiDrawGraphRotatedAboutPoint(Pixel(x), Pixel(y), 16, 448, 1.0, 0.0, shotImages[15], 1, 0);
    if (firstCharacterOptions)
      for (int i = 0; i < 3; ++i)
        ApiDrawGraphRotatedAboutPoint(Pixel(optionPos[i][0]), Pixel(optionPos[i][1]), 16, 448, 1.0,
                                      0.0, shotImages[15], 1, 0);
  }
  ApiSetBlendMode(0, 255);

  const int px = Pixel(x), py = Pixel(y);
  if (missed) {
    int32_t t = frameCounter - missFrame;
    if (deathImage != -1) {
      ApiSetBlendMode(1, 255 - 8 * t);
      ApiDrawGraphRotated(px, py, static_cast<double>(t) / 3.0, 0.0, deathImage, 1, 0);
    }
    ApiSetBlendMode(0, 255);
  } else {
    if (invulnerable != 0) {
      if (barrierImage != -1) {
        ApiSetBlendMode(1, 127);
        ApiDrawGraphRotated(px, py, static_cast<double>(invulnerable) / 300.0,
                            RadiansD(frameCounter), barrierImage, 1, 0);
      }
      int32_t v = st.frameCount % 12;
      if (v < 0) v += 12;
      int32_t m = v + 2 < 14 - v ? v + 2 : 14 - v;
      ApiSetBlendMode(1, 32 * m);
    }
    if (st.gaugeActive) {
      if (barrierImage != -1) {
        ApiSetBlendMode(1, 127);
        ApiDrawGraphRotated(px, py, static_cast<double>(st.gauge) / 500.0, RadiansD(frameCounter),
                            barrierImage, 1, 0);
      }
      ApiSetBlendMode(0, 255);
    }
    uint32_t c = st.character <= 4 ? st.character : 0;
    int32_t dir = moveDir >= 0 && moveDir <= 2 ? moveDir : 0;
    int32_t step = animFrame >= 0 && animFrame <= 2 ? animFrame : 0;
    int32_t sprite = (c == 2 && st.gaugeActive) ? optionImages[3]
                                                : frames[3 * (static_cast<int32_t>(c) + 5 * dir) + step];
    if (sprite != -1) ApiDrawGraphRotated(px, py, 1.0, 0.0, sprite, 1, 0);

    uint32_t white = ApiRgbToScreenColor(255, 255, 255);
    for (int i = 0; i < kPlayerSparkCount; ++i)
      if (sparkActive[i]) ApiPlotPixel(Pixel(sparkPos[i][0]), Pixel(sparkPos[i][1]), white);
    if (slow == 1 && hitMarkerImage != -1)
      ApiDrawGraphRotated(px, py, 1.0, RadiansD(frameCounter), hitMarkerImage, 1, 0);
    ApiSetBlendMode(0, 255);
  }

  if (st.gaugeActive) {
    // Options: three for the first character (half transparent), twelve for
    // the second, two for the fourth; drawn upright.
    int count = st.character == 0 ? 3 : st.character == 1 ? 12 : st.character == 3 ? 2 : 0;
    for (int i = 0; i < count; ++i) {
      int32_t t = optionType[i];
      int32_t image = t >= 0 && t < 16 ? optionImages[t] : -1;
      if (image == -1) continue;
      if (st.character == 0) ApiSetBlendMode(1, 127);
      ApiDrawGraphRotated(Pixel(optionPos[i][0]), Pixel(optionPos[i][1]), 1.0, 0.0, image, 1, 0);
      if (st.character == 0) ApiSetBlendMode(0, 255);
    }
  }
}
