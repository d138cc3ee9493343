// Shot patterns of the five characters by power tier, and their gauge-mode
// options. Every pattern is a table of rows; a row fires when the power lies
// in its range, so bands and thresholds read alike.
#include <cstdint>

#include "playfield/boss.h"
#include "playfield/enemy.h"
#include "playfield/enemy_script.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
using script::CosDeg;
using script::SinDeg;

constexpr int32_t kAltKind = -1;  // kind 22 + (frameCounter mod 2)

// One shot of a pattern, fired when minPower <= power <= maxPower.
struct PatternShot {
  int32_t minPower, maxPower;
  float ox, oy;  // start offset from the player
  float angle, speed, angularSpeed;
  int32_t kind, damage;
};

struct Pattern {
  const PatternShot* shots;
  int32_t count;
  int32_t mode;  // motion mode of every shot
};

template <int32_t N>
constexpr Pattern Of(const PatternShot (&rows)[N], int32_t mode) {
  return {rows, N, mode};
}

constexpr int32_t kTop = 128;
constexpr int32_t kPower = 1 << 30;  // "no upper bound"

// Character 0, normal: bands; speed 16, angle 270.
constexpr PatternShot B0(int32_t lo, int32_t hi, float ox, float oy, int32_t kind, int32_t dmg) {
  return {lo, hi, ox, oy, 270.0f, 16.0f, 0.0f, kind, dmg};
}
constexpr PatternShot kChar0Normal[] = {
    B0(0, 15, 0, 0, 17, 8),
    B0(16, 31, -24, -16, 17, 6), B0(16, 31, 24, -16, 18, 6),
    B0(32, 47, 0, 0, 17, 6), B0(32, 47, -24, -16, 18, 5), B0(32, 47, 24, -16, 18, 5),
    B0(48, 63, -16, -16, 17, 5), B0(48, 63, 16, -16, 18, 5), B0(48, 63, -32, 0, 18, 5),
    B0(48, 63, 32, 0, 17, 5),
    B0(64, 79, 0, 0, 17, 8), B0(64, 79, -16, -16, 18, 4), B0(64, 79, 16, -16, 18, 4),
    B0(64, 79, -32, 0, 17, 4), B0(64, 79, 32, 0, 17, 4),
    B0(80, 95, -16, -16, 17, 5), B0(80, 95, 16, -16, 17, 5), B0(80, 95, -32, 0, 18, 4),
    B0(80, 95, 32, 0, 18, 4), B0(80, 95, -16, 16, 17, 4), B0(80, 95, 16, 16, 17, 4),
    B0(96, 111, 0, 0, 17, 5), B0(96, 111, -16, -16, 18, 4), B0(96, 111, 16, -16, 18, 4),
    B0(96, 111, -32, 0, 17, 4), B0(96, 111, 32, 0, 17, 4), B0(96, 111, -16, 16, 18, 4),
    B0(96, 111, 16, 16, 18, 4),
    B0(112, 127, -16, -32, 17, 4), B0(112, 127, 16, -32, 18, 4), B0(112, 127, -32, -16, 18, 4),
    B0(112, 127, 32, -16, 17, 4), B0(112, 127, -16, 32, 18, 4), B0(112, 127, 16, 32, 17, 4),
    B0(112, 127, -32, 16, 17, 4), B0(112, 127, 32, 16, 18, 4),
    B0(128, kPower, -16, -32, 17, 5), B0(128, kPower, 16, -32, 18, 5),
    B0(128, kPower, -32, -16, 18, 5), B0(128, kPower, 32, -16, 17, 5),
    B0(128, kPower, -16, 32, 18, 5), B0(128, kPower, 16, 32, 17, 5),
    B0(128, kPower, -32, 16, 17, 5), B0(128, kPower, 32, 16, 18, 5)};

// Character 1: speed 10 from the left (-16, 16), right (16, 16) or centre.
enum Side { L, R, C };
constexpr PatternShot S1(int32_t lo, Side side, float angle, int32_t kind, int32_t dmg) {
  const float ox = side == L ? -16.0f : side == R ? 16.0f : 0.0f;
  const float oy = side == C ? 0.0f : 16.0f;
  return {lo, lo == kTop ? kTop : kPower, ox, oy, angle, 10.0f, 0.0f, kind, dmg};
}
constexpr PatternShot kChar1Normal[] = {
    S1(0, C, 270, 21, 8),
    S1(16, L, 255, 20, 3), S1(16, R, 285, 20, 3), S1(16, L, 250, 20, 3), S1(16, R, 290, 20, 3),
    S1(32, C, 265, 21, 6), S1(32, C, 275, 21, 6), S1(32, C, 260, 21, 6), S1(32, C, 280, 21, 6),
    S1(48, L, 245, 20, 2), S1(48, R, 295, 20, 2), S1(48, L, 240, 20, 2), S1(48, R, 300, 20, 2),
    S1(64, L, 235, 20, 2), S1(64, R, 305, 20, 2), S1(64, L, 230, 20, 2), S1(64, R, 310, 20, 2),
    S1(80, C, 255, 21, 4), S1(80, C, 285, 21, 4), S1(80, C, 250, 21, 4), S1(80, C, 290, 21, 4),
    S1(96, L, 225, 20, 2), S1(96, R, 315, 20, 2), S1(96, L, 220, 20, 2), S1(96, R, 320, 20, 2),
    S1(112, L, 215, 20, 1), S1(112, R, 325, 20, 1), S1(112, L, 210, 20, 1), S1(112, R, 330, 20, 1),
    S1(kTop, C, 245, 21, 3), S1(kTop, C, 295, 21, 3), S1(kTop, C, 240, 21, 3),
    S1(kTop, C, 300, 21, 3)};
// The side shots fly down and outward; angles above 360 are kept as written.
constexpr PatternShot kChar1Slow[] = {
    S1(0, C, 270, 21, 8),
    S1(16, L, 105, 20, 4), S1(16, R, 435, 20, 4), S1(16, L, 100, 20, 4), S1(16, R, 440, 20, 4),
    S1(32, C, 265, 21, 8), S1(32, C, 275, 21, 8), S1(32, C, 260, 21, 8), S1(32, C, 280, 21, 8),
    S1(48, L, 95, 20, 2), S1(48, R, 445, 20, 2), S1(48, L, 90, 20, 2), S1(48, R, 450, 20, 2),
    S1(64, L, 85, 20, 2), S1(64, R, 455, 20, 2), S1(64, L, 80, 20, 2), S1(64, R, 460, 20, 2),
    S1(80, C, 255, 21, 7), S1(80, C, 285, 21, 7), S1(80, C, 250, 21, 6), S1(80, C, 290, 21, 6),
    S1(96, L, 75, 20, 2), S1(96, R, 465, 20, 2), S1(96, L, 70, 20, 2), S1(96, R, 470, 20, 2),
    S1(112, L, 65, 20, 1), S1(112, R, 475, 20, 1), S1(112, L, 60, 20, 1), S1(112, R, 480, 20, 1),
    S1(kTop, C, 245, 21, 5), S1(kTop, C, 295, 21, 5), S1(kTop, C, 240, 21, 4),
    S1(kTop, C, 300, 21, 4)};

// Threshold rows: from lo up (exactly 128 for the top row).
constexpr PatternShot T(int32_t lo, float ox, float oy, float angle, float speed, int32_t kind,
                        int32_t dmg, float turn = 0.0f) {
  return {lo, lo == kTop ? kTop : kPower, ox, oy, angle, speed, turn, kind, dmg};
}

// Character 2: every shot's kind alternates 22/23 by frame.
constexpr PatternShot kChar2Normal[] = {
    {0, 15, 0, 0, 270, 16, 0, kAltKind, 8},
    T(16, -8, 0, 270, 16, kAltKind, 6), T(16, 8, 0, 270, 16, kAltKind, 6),
    T(32, -12, 12, 270, 16, kAltKind, 6), T(32, 12, 12, 270, 16, kAltKind, 6),
    T(48, 0, 0, 260, 12, kAltKind, 4), T(48, 0, 0, 280, 12, kAltKind, 4),
    T(64, -24, 24, 270, 16, kAltKind, 4), T(64, 24, 24, 270, 16, kAltKind, 4),
    T(80, 0, 0, 250, 12, kAltKind, 4), T(80, 0, 0, 290, 12, kAltKind, 4),
    T(96, -36, 36, 270, 16, kAltKind, 3), T(96, 36, 36, 270, 16, kAltKind, 3),
    T(112, 0, 0, 240, 12, kAltKind, 4), T(112, 0, 0, 300, 12, kAltKind, 4),
    T(kTop, -48, 48, 270, 16, kAltKind, 3), T(kTop, 48, 48, 270, 16, kAltKind, 3)};
constexpr PatternShot A2(int32_t lo, float ox, float oy, int32_t dmg) {
  return T(lo, ox, oy, 270, 16, kAltKind, dmg);
}
constexpr PatternShot kChar2Slow[] = {
    A2(0, 0, 0, 8),
    A2(16, -12, 8, 3), A2(16, 12, 8, 3),
    A2(32, 0, -12, 1), A2(32, 0, 12, 1),
    A2(48, -24, 16, 3), A2(48, 24, 16, 3),
    A2(64, -24, 24, 2), A2(64, 24, 24, 2), A2(64, -32, 32, 2), A2(64, 32, 32, 2),
    A2(80, -32, 24, 2), A2(80, 32, 24, 2), A2(80, -40, 40, 2), A2(80, 40, 40, 2),
    A2(96, 0, -24, 1), A2(96, 0, 24, 1),
    A2(112, -48, 48, 1), A2(112, 48, 48, 1), A2(112, -52, 56, 1), A2(112, 52, 56, 1),
    A2(kTop, -40, 32, 1), A2(kTop, 40, 32, 1), A2(kTop, -56, 56, 1), A2(kTop, 56, 56, 1),
    A2(kTop, -64, 64, 1), A2(kTop, 64, 64, 1)};

// Character 3, normal: bouncing shots (mode 2).
constexpr PatternShot kChar3Normal[] = {
    T(0, 0, 0, 270, 10, 14, 10),
    T(32, -20, 20, 265, 10, 14, 7), T(32, 20, 20, 275, 10, 14, 7),
    T(64, -10, 40, 250, 10, 14, 6), T(64, 10, 40, 290, 10, 14, 6),
    T(96, -10, 40, 230, 10, 14, 4), T(96, 10, 40, 310, 10, 14, 4),
    T(kTop, -10, 40, 200, 10, 14, 4), T(kTop, 10, 40, 340, 10, 14, 4)};
// Character 3, slow: two sets that take turns every five frames.
constexpr PatternShot kChar3SetA[] = {
    T(0, 0, 0, 270, 15, 3, 8),
    T(16, 0, 0, 260, 15, 2, 6, 1), T(16, 0, 0, 280, 15, 4, 6, -1),
    T(48, 0, 0, 250, 15, 1, 4, -1), T(48, 0, 0, 290, 15, 5, 4, 1),
    T(96, 0, 0, 240, 15, 0, 2, 1), T(96, 0, 0, 300, 15, 6, 2, -1)};
constexpr PatternShot kChar3SetB[] = {
    T(0, 0, 0, 270, 15, 3, 8),
    T(32, 0, 0, 260, 15, 2, 6, -1), T(32, 0, 0, 280, 15, 4, 6, 1),
    T(64, 0, 0, 250, 15, 1, 4, 1), T(64, 0, 0, 290, 15, 5, 4, -1),
    T(112, 0, 0, 240, 15, 0, 2, -1), T(112, 0, 0, 300, 15, 6, 2, 1)};

// Character 4, normal: pairs from (-8, 0) and (8, 0).
constexpr PatternShot P4(int32_t lo, float left, float right, int32_t dmg, bool second) {
  return T(lo, second ? 8.0f : -8.0f, 0, second ? right : left, 20, 27, dmg);
}
#define PAIR4(lo, l, r, d) P4(lo, l, r, d, false), P4(lo, l, r, d, true)
constexpr PatternShot kChar4Normal[] = {
    PAIR4(0, 270, 270, 5),   PAIR4(16, 275, 265, 3),  PAIR4(32, 265, 275, 3),
    PAIR4(48, 260, 280, 3),  PAIR4(64, 280, 260, 3),  PAIR4(80, 255, 285, 2),
    PAIR4(96, 250, 290, 2),  PAIR4(112, 245, 295, 1), PAIR4(kTop, 240, 300, 1)};
// Character 4, slow: homing-once shots (mode 3), pairs widening with power.
constexpr PatternShot H4(int32_t k, bool right) {
  const int32_t dmg = k <= 2 ? 3 : k <= 6 ? 2 : 1;
  const float ox = static_cast<float>(4 * k) * (right ? 1.0f : -1.0f);
  return T(k == 8 ? kTop : 16 * k, ox, static_cast<float>(2 * k), 270, 20, 27, dmg);
}
#define PAIRH(k) H4(k, false), H4(k, true)
constexpr PatternShot kChar4Slow[] = {T(0, 0, 0, 270, 20, 27, 6), PAIRH(1), PAIRH(2), PAIRH(3),
                                      PAIRH(4), PAIRH(5), PAIRH(6), PAIRH(7), PAIRH(8)};
#undef PAIR4
#undef PAIRH

struct CharacterPatterns {
  Pattern normal, slow;
  int32_t normalInterval, slowInterval;
};
const CharacterPatterns kCharacters[5] = {
    {Of(kChar0Normal, 0), {nullptr, 0, 0}, 5, 0},
    {Of(kChar1Normal, 0), Of(kChar1Slow, 0), 5, 5},
    {Of(kChar2Normal, 0), Of(kChar2Slow, 0), 5, 5},
    {Of(kChar3Normal, 2), {nullptr, 0, 0}, 6, 6},
    {Of(kChar4Normal, 0), Of(kChar4Slow, 3), 3, 3}};

bool Applies(const PatternShot& s, int32_t power) {
  return power >= s.minPower && power <= s.maxPower;
}

constexpr float kPulseDistance = 1000.0f;
}  // namespace

// Rows of a pattern from (x0, y0); `option` fires the first character's
// option copy (slow start, accelerating, fixed damage).
static void FirePattern(Player& p, const Pattern& pattern, int32_t power, float x0, float y0,
                        bool option) {
  for (int32_t i = 0; i < pattern.count; ++i) {
    const PatternShot& s = pattern.shots[i];
    if (!Applies(s, power)) continue;
    const int32_t kind = s.kind == kAltKind ? 22 + p.frameCounter % 2 : s.kind;
    float speed = s.speed, accel = 0.0f;
    int32_t damage = s.damage;
    if (option) {
      speed = power >= kTop ? 1.0f : 0.5f;
      accel = 0.5f;
      damage = (power >= 64 && power <= 79 && s.ox == 0.0f && s.oy == 0.0f) ? 10 : 5;
    }
    p.SpawnShot(x0 + s.ox, y0 + s.oy, speed, accel, s.angle, s.angularSpeed, kind, damage,
                pattern.mode);
  }
}

// The first character's slow beam: a pulse every frame from the player and,
// in gauge mode, from each of its three options.
static void FireBeam(Player& p, const GameState& st, int32_t power) {
  const bool first = p.frameCounter % 10 < 5;
  const int32_t kind = first ? 15 : 16;
  const int32_t damage = power == 0 ? 1 : power / 16 + (first ? 1 : 0);
  p.SpawnShot(p.x, p.y + kPulseDistance, kPulseDistance, 0.0f, 270.0f, 0.0f, kind, damage, 0);
  if (st.gaugeActive != 0) {
    const int32_t optionDamage = power / 32 + (first ? 1 : 0);
    for (int32_t i = 0; i < 3; ++i)
      p.SpawnShot(p.optionPos[i][0], p.optionPos[i][1] + kPulseDistance, kPulseDistance, 0.0f,
                  270.0f, 0.0f, kind, optionDamage, 0);
  }
  p.beamFiring = 1;
  if (p.beamGlow < 96) p.beamGlow += 1;
}

// Character 3's slow volley ends with beams rising from below the
// field once in every 120 frames of fire.
static void FireRisingBeams(Player& p, int32_t power) {
  static const int32_t kDamages[3][7] = {{1, 3, 1}, {1, 3, 5, 3, 1}, {1, 3, 5, 7, 5, 3, 1}};
  if ((p.frameCounter / 6) % 20 != 0 || power < 48) return;
  const int32_t tier = power >= 128 ? 2 : power >= 80 ? 1 : 0;
  const int32_t n = 3 + 2 * tier;
  for (int32_t i = 0; i < n; ++i) {
    const float x = static_cast<float>(16 + 384 / (2 * n) + i * (384 / n));
    p.SpawnShot(x, 496.0f, 10.0f, 0.0f, 270.0f, 0.0f, 7 + i, kDamages[tier][i], 0);
  }
}

void Player::FireShotPattern(GameState& state) {
  if (state.character > 4) return;
  const int32_t c = static_cast<int32_t>(state.character);
  int32_t power = state.power < 0 ? 0 : state.power > kTop ? kTop : state.power;
  const bool slowMode = slow == 1;
  const CharacterPatterns& cp = kCharacters[c];
  if (c == 0 && slowMode) {
    FireBeam(*this, state, power);
    return;
  }
  const int32_t interval = slowMode ? cp.slowInterval : cp.normalInterval;
  if (frameCounter - lastShotFrame < interval) return;
  if (c == 3 && slowMode) {
    const bool setA = (frameCounter / 5) % 2 == 0;
    FirePattern(*this, setA ? Of(kChar3SetA, 0) : Of(kChar3SetB, 0), power, x, y, false);
    FireRisingBeams(*this, power);
  } else {
    FirePattern(*this, slowMode ? cp.slow : cp.normal, power, x, y, false);
    if (c == 0 && state.gaugeActive != 0)
      for (int32_t i = 0; i < 3; ++i)
        FirePattern(*this, cp.normal, power, optionPos[i][0], optionPos[i][1], true);
  }
  lastShotFrame = frameCounter;
}

// --- Gauge-mode options -----------------------------------------------------------

namespace {
constexpr float kChar0Offsets[3] = {-64.0f, 64.0f, 128.0f};
constexpr float kChar0LegSpeeds[3] = {-4.0f, 4.0f, 8.0f};

// The second character's ring of twelve turns 4 degrees a frame.
void PlaceRing(Player& p) {
  for (int32_t i = 0; i < 12; ++i) {
    const float a = static_cast<float>(30 * i + 4 * (p.auxAngle - p.frameCounter));
    p.optionType[i] = 2;
    p.optionPos[i][0] = p.x + 96.0f * CosDeg(a);
    p.optionPos[i][1] = p.y + 96.0f * SinDeg(a);
  }
}

void StartOptions(Player& p, int32_t character) {
  switch (character) {
    case 0:
      for (int32_t i = 0; i < 3; ++i) {
        p.optionType[i] = 1;
        p.optionPos[i][0] = p.x;
        p.optionPos[i][1] = p.y;
        p.optionAngle[i] = 0.0f;
        p.optionCount[i] = 16;
        p.optionSpeed[i] = kChar0LegSpeeds[i];
      }
      break;
    case 1:
      p.auxAngle = p.frameCounter;
      PlaceRing(p);
      break;
    case 3:
      for (int32_t i = 0; i < 2; ++i) {
        p.optionType[i] = 0;
        p.optionPos[i][0] = p.x;
        p.optionPos[i][1] = p.y;
        p.optionSpeed[i] = 16.0f;
        p.optionCount[i] = 30;
        p.optionAngle[i] = i == 0 ? 240.0f : 300.0f;
        p.optionToggle[i] = 0;
      }
      break;
    default:
      break;
  }
}

void MoveOption(Player& p, int32_t i) {
  p.optionPos[i][0] += CosDeg(p.optionAngle[i]) * p.optionSpeed[i];
  p.optionPos[i][1] += SinDeg(p.optionAngle[i]) * p.optionSpeed[i];
  p.optionCount[i] -= 1;
}

// Character 3's shuttles (gauge mode): to the target, back to the player, again.
void Shuttle(Player& p, GameState& st, int32_t i) {
  if (p.optionCount[i] != 0) {
    MoveOption(p, i);
    p.SpawnShot(p.optionPos[i][0], p.optionPos[i][1] + kPulseDistance, kPulseDistance, 0.0f,
                270.0f, 0.0f, 19, 15, 0);
    return;
  }
  float tx = p.x, ty = p.y;
  if (p.optionToggle[i] == 0) {
    const int32_t target = p.FindNearestEnemy(st);
    if (target == -1 && st.boss != nullptr) {
      tx = st.boss->x;
      ty = st.boss->y;
    } else if (target >= 0 && target < kEnemyPoolSize && st.enemy != nullptr) {
      tx = st.enemy->slots[target].x;
      ty = st.enemy->slots[target].y;
    }
  }
  p.optionSpeed[i] = 16.0f;
  p.optionCount[i] = 30;
  p.optionAngle[i] = script::Direction(p.optionPos[i][0], p.optionPos[i][1], tx, ty);
  p.optionToggle[i] = p.optionToggle[i] == 0 ? 1 : 0;
}
}  // namespace

// Called each frame of gauge mode. The gauge stands at exactly 1000 only on
// the frame the gauge mode (re)started, which places the options afresh.
void Player::UpdateGaugeMode(GameState& state) {
  if (state.character > 4) return;
  const int32_t c = static_cast<int32_t>(state.character);
  if (state.gauge >= 1000) StartOptions(*this, c);
  switch (c) {
    case 0:
      for (int32_t i = 0; i < 3; ++i) {
        if (optionCount[i] > 0) {
          MoveOption(*this, i);
        } else {
          optionPos[i][0] = x + kChar0Offsets[i];
          optionPos[i][1] = y;
        }
      }
      break;
    case 1:
      PlaceRing(*this);
      for (int32_t i = 0; i < 12; ++i)
        SpawnCancelShot(optionPos[i][0], optionPos[i][1] + kPulseDistance, kPulseDistance, 0.0f,
                        270.0f, 0.0f, 19, 3, 0);
      break;
    case 2:
      // Untouchable for the whole gauge mode; a longer invulnerability stays.
      if (invulnerable < 1) invulnerable = 1;
      break;
    case 3:
      for (int32_t i = 0; i < 2; ++i) Shuttle(*this, state, i);
      break;
    default:
      break;
  }
}
