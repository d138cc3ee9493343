// The enemy kinds of every stage: one small frame-keyed script per kind (or
// per family of kinds sharing a table row), found by kind number.
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "playfield/enemy.h"
#include "playfield/enemy_fire.h"
#include "playfield/enemy_script.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
using namespace script;

// What an enemy's script sees this frame.
struct Foe {
  GameState& st;
  Enemy& pool;
  EnemySlot& e;
  int32_t slot;  // the enemy's own slot
  int32_t f;     // frames since spawn
  int32_t d;     // difficulty 0-4
  float px, py;  // the player

  float Df() const { return static_cast<float>(d); }
  float Aim() const { return Direction(e.x, e.y, px, py); }
  void Se() const { PlaySe(st, SeShot); }
  int32_t Fire(int32_t type, float speed, float angle, int32_t delay, int32_t wait) const {
    return Shot(st, type, e.x, e.y, speed, angle, delay, wait);
  }
  void FireFan(int32_t type, int32_t count, float speed, float centre, float arc, int32_t delay,
               int32_t wait) const {
    Fan(st, type, count, e.x, e.y, speed, centre, arc, delay, wait);
  }
  void FireRing(int32_t type, int32_t count, float speed, float base, int32_t delay) const {
    Ring(st, type, count, e.x, e.y, speed, base, delay, 0);
  }
  void Queue(int32_t b, int32_t frame, const Change& c) const { script::Queue(st, b, frame, c); }
  // A familiar of this enemy at (x, y), truncated.
  void Familiar(int32_t kind, float x, float y, int32_t subKind) const {
    if (st.maho != nullptr) st.maho->Spawn(kind, Trunc(x), Trunc(y), slot, 0.3f, 0, subKind);
  }
  void Familiar(int32_t kind, int32_t subKind) const { Familiar(kind, e.x, e.y, subKind); }
};

// --- Shared motions -----------------------------------------------------------

void Set(Foe& c, float speed, float angle, int32_t frames) {
  c.e.speed = speed;
  c.e.angle = angle;
  c.e.motionFrames = frames;
}

// Drift down, slow to a stop within 60 frames and wait.
void HoverEntry(Foe& c) {
  if (c.f == 0) Set(c, 3.0f, 90.0f, 60);
  if (c.f < 60) c.e.speed -= 0.05f;
}
void LeaveFrom(Foe& c, int32_t from, float speed, float angle) {
  if (c.f >= from) Set(c, speed, angle, 1000);
}
void LeaveAt(Foe& c, int32_t at, float speed, float angle) {
  if (c.f == at) Set(c, speed, angle, 1000);
}
void Drift(Foe& c, float angle) {
  if (c.f == 0) Set(c, 2.0f, angle, 1000);
}

// Kinds 0 and 700: head for a point near (px, 0.66 py) in `frames` frames.
// The radicand is never negative, so the speed is always a number.
void Approach(Foe& c, int32_t frames, int32_t hp) {
  c.e.hp = hp;
  const double ty = 0.66 * static_cast<double>(c.py);
  const int32_t ry1 = Random(60);
  const double gy1 = ty + (ry1 - 30) - c.e.y;
  const int32_t ry2 = Random(60);
  const double gy2 = ty + (ry2 - 30) - c.e.y;
  const int32_t rx1 = Random(60);
  const double gx1 = c.px + (rx1 - 30) - static_cast<double>(c.e.x);
  const int32_t rx2 = Random(60);
  const double gx2 = c.px + (rx2 - 30) - static_cast<double>(c.e.x);
  double radicand = gx1 * gx2 + gy1 * gy2;
  if (!(radicand > 0.0)) radicand = 0.0;
  c.e.speed = static_cast<float>(std::sqrt(radicand) / frames);
  const int32_t ay = Random(60);
  const int32_t ax = Random(60);
  const float dy = static_cast<float>(ty + (ay - 30) - c.e.y);
  const float dx = static_cast<float>(c.px + (ax - 30) - static_cast<double>(c.e.x));
  c.e.angle = Deg(FloatAtan2(dy, dx));
  c.e.motionFrames = frames;
}
void TurnBack(Foe& c, int32_t at) {
  if (c.f != at) return;
  c.e.angle += 180.0f;
  c.e.motionFrames = 1000;
}

// --- Stage 1 -----------------------------------------------------------------------

void Kind0(Foe& c) {
  if (c.f == 0) Approach(c, 120, 20);
  if (c.f == 130) {
    for (int32_t i = 0; i < c.d; ++i) c.Fire(0, 1.4f + 0.3f * c.Df(), c.Aim(), 0, 5 * i);
    if (c.d != 0) c.Se();
  }
  TurnBack(c, 140 + 5 * c.slot);
}

void Kind1(Foe& c) {
  if (c.f == 0) {
    c.e.hp = 50;
    Set(c, 2.2f, c.e.x > 208.0f ? 180.0f : 0.0f, 1000);
  }
  const float m = static_cast<float>(c.f % 100);
  const float top = 0.5f * c.e.y;
  if (m >= top && m < top + static_cast<float>(25 + 5 * c.d) && (c.f - 100) % Interval(10 - c.d) == 0) {
    c.Fire(30, 1.5f, 90.0f, 0, 0);
    c.Se();
  }
}

// Kinds 2 and 701: hover with two familiars of kind 14 at the sides.
void HoverWithGuards(Foe& c, int32_t hp, int32_t familiarKind) {
  HoverEntry(c);
  if (c.f == 0) {
    c.e.hp = hp;
    c.Familiar(familiarKind, 0);
    c.Familiar(familiarKind, 180);
  }
}

void Kind2(Foe& c) {
  HoverWithGuards(c, 40, 14);
  LeaveFrom(c, 240, 1.0f, 270.0f);
}

// --- Stage 2 -----------------------------------------------------------------------

void AimedFan(Foe& c) {
  c.FireFan(0, 2 * c.d - 1, 1.5f + 0.2f * c.Df(), c.Aim(), 20.0f, 0, 0);
}
void RandomShot(Foe& c) {
  const int32_t a = Random(180);
  c.Fire(0, 1.5f + 0.2f * c.Df(), static_cast<float>(a), 0, 0);
}

// Kinds 400-411: drift, turn toward a limit, fire from f = 30 (never on Easy).
struct Swerve {
  float startAngle;
  float turn;   // degrees a frame, 0 for none
  float limit;  // the turn goes on while the angle has not reached it
  bool aimedFan;
};
constexpr Swerve kSwerves[12] = {
    {0.0f, 0.0f, 0.0f, true},      {0.0f, 0.0f, 0.0f, false},      {180.0f, 0.0f, 0.0f, true},
    {180.0f, 0.0f, 0.0f, false},   {45.0f, 1.0f, 180.0f, true},    {45.0f, 1.0f, 180.0f, false},
    {135.0f, -1.0f, 0.0f, true},   {135.0f, -1.0f, 0.0f, false},   {90.0f, -1.0f, -90.0f, true},
    {90.0f, -1.0f, -90.0f, false}, {90.0f, 1.0f, 270.0f, true},    {90.0f, 1.0f, 270.0f, false}};

void SwerveKind(Foe& c) {
  const Swerve& s = kSwerves[c.e.kind - 400];
  if (c.f == 0) c.e.hp = 100;
  Drift(c, s.startAngle);
  if (s.turn > 0.0f && c.e.angle < s.limit) c.e.angle += s.turn;
  if (s.turn < 0.0f && c.e.angle > s.limit) c.e.angle += s.turn;
  if (c.f >= 30 && c.d != 0 && Every(c.f, (6 - c.d) * 10)) {
    if (s.aimedFan)
      AimedFan(c);
    else
      RandomShot(c);
    c.Se();
  }
}

// Kinds 412, 413, 702, 703: hover, four circling familiars, rings, leave sideways.
void RingCarrier(Foe& c, int32_t familiarKind, float leaveAngle) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 250;
  if (c.f == 100) {
    for (int32_t a = 0; a < 360; a += 90) {
      const float fa = static_cast<float>(a);
      c.Familiar(familiarKind, c.e.x + 48.0f * CosDeg(fa), c.e.y + 48.0f * SinDeg(fa), 1);
    }
  }
  if (Every(c.f, (9 - c.d) * 10)) {
    const int32_t base = Random(360);
    c.FireRing(32, 6 * c.d + 18, 1.6f + 0.15f * c.Df(), static_cast<float>(base), 0);
    c.Se();
  }
  LeaveAt(c, 240, 2.0f, leaveAngle);
}
void Kind412(Foe& c) { RingCarrier(c, 8, 0.0f); }
void Kind413(Foe& c) { RingCarrier(c, 8, 180.0f); }

// --- Stage 3 -----------------------------------------------------------------------

void Spiral(Foe& c, int32_t sign) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 250;
  LeaveAt(c, 240, 2.0f, 270.0f);
  const int32_t step = Interval(5 - c.d);
  if (c.f >= 90 && (c.f - 90) % step == 0 && (c.f - 90) / step <= 5 * c.d + 19) {
    for (int32_t a = 0; a < 360; a += 90) {
      const int32_t b = c.Fire(33, 0.2f, static_cast<float>(a + sign * 4 * c.f), 0, 0);
      c.Queue(b, 90, Accel(0.08f));
    }
    c.Se();
  }
  if (c.f == 150)
    for (int32_t sub = 50; sub <= 130; sub += 20) c.Familiar(15, sub);
}
void Kind500(Foe& c) { Spiral(c, 1); }
void Kind501(Foe& c) { Spiral(c, -1); }

void Kind502(Foe& c) {
  if (c.f == 0) c.e.hp = 75;
  Drift(c, 90.0f);
  if (c.f >= 90) c.e.angle += 0.05f;
  if (c.f >= 60 && Every(c.f, 30)) {
    c.FireFan(66, 2 * c.d + 1, 2.0f + 0.3f * c.Df(), c.Aim(), 45.0f, 10, 0);
    c.Se();
  }
}

void Kind504(Foe& c) {
  HoverWithGuards(c, 350, 16);
  if (c.f >= 60 && c.f < 240 && Every(c.f, (6 - c.d) * 15)) {
    c.FireRing(92, 4 * c.d + 18, 2.2f + 0.4f * c.Df(), c.Aim(), 20);
    c.Se();
  }
  LeaveFrom(c, 240, 1.0f, 270.0f);
}

void Kind505(Foe& c) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 2000;
  LeaveFrom(c, 600, 1.0f, 270.0f);
  if (c.f < 80 || c.f >= 600 || !Every(c.f, 4 - c.d)) return;
  c.Se();
  const int32_t k = c.f - 80;
  for (int32_t sign : {1, -1}) {
    const int32_t b = c.Fire(35, 5.0f, static_cast<float>(5 * sign * k), 0, 0);
    Change ch;
    ch.speed = 1.0f;
    ch.angularSpeed = static_cast<float>(sign * k) / 2000.0f;
    c.Queue(b, 30, ch);
  }
}

// --- Stage 4 -----------------------------------------------------------------------

// Kinds 600-602: enter, then fire at the player as seen from a point
// `scratch` pixels to the left.
struct Flanker {
  float startAngle;
  float scratchFrom;  // scratch = x - this, truncated
  int32_t intervalBase, intervalScale;
  float leaveAngle;
};
constexpr Flanker kFlankers[3] = {
    {0.0f, 16.0f, 8, 5, 180.0f}, {180.0f, 384.0f, 8, 5, 0.0f}, {90.0f, 208.0f, 6, 4, 270.0f}};

void FlankerKind(Foe& c) {
  const Flanker& k = kFlankers[c.e.kind - 600];
  if (c.f == 0) {
    c.e.hp = 90;
    Set(c, 1.5f, k.startAngle, 80);
    c.e.scratch = Trunc(c.e.x - k.scratchFrom);
  }
  if (c.f >= 100 && c.f < 300 && Every(c.f, (k.intervalBase - c.d) * k.intervalScale)) {
    c.Se();
    const float a = Direction(c.e.x - static_cast<float>(c.e.scratch), c.e.y, c.px, c.py);
    if (c.d >= 2)
      c.FireFan(36, 3, 2.0f + 0.4f * c.Df(), a, 60.0f, 20, 0);
    else
      c.Fire(36, 2.0f + 0.4f * c.Df(), a, 20, 0);
  }
  LeaveFrom(c, 300, 2.0f, k.leaveAngle);
}

// Kinds 603 and 604: rings that brake and go on; 604 turns them by a draw.
void BrakingRing(Foe& c, int32_t type, bool drawBase, bool reverse) {
  c.Se();
  if (drawBase) c.e.scratch = Random(359);
  const int32_t n = 4 * c.d + 6;
  for (int32_t i = 0; i < n; ++i) {
    const float a = 360.0f * static_cast<float>(i) / static_cast<float>(n) +
                    static_cast<float>(c.e.scratch);
    const int32_t b = c.Fire(type, 5.0f, a, 20, 0);
    c.Queue(b, 0, Accel(-0.25f));
    c.Queue(b, 20, Accel(0.0f));
    Change go = Speed(2.0f);
    if (reverse) go.angle = a + 180.0f;
    c.Queue(b, 50, go);
  }
}
void Turner(Foe& c, bool drawn) {
  if (c.f == 0) {
    c.e.hp = 75;
    Set(c, 2.4f, 90.0f, 1000);
    if (!drawn) c.e.scratch = Trunc(c.Aim());
  }
  if (c.f % 60 == 0) BrakingRing(c, 10, drawn, false);
  if (c.f % 60 == 30) BrakingRing(c, 12, drawn, true);
  if (c.f >= 80 && c.f < 110) c.e.angle += drawn ? -3.0f : 3.0f;
}
void Kind603(Foe& c) { Turner(c, false); }
void Kind604(Foe& c) { Turner(c, true); }

// Kinds 605-606 and 706-707: a crossing with two familiars of kind 34.
void Crossing(Foe& c, float angle) {
  if (c.f != 0) return;
  c.e.hp = 180;
  Set(c, 2.0f, angle, 1000);
  c.Familiar(34, c.e.x + 48.0f, c.e.y, 0);
  c.Familiar(34, c.e.x - 48.0f, c.e.y, 0);
}
void Kind605(Foe& c) { Crossing(c, 0.0f); }
void Kind606(Foe& c) { Crossing(c, 180.0f); }

// --- Stage 5 -----------------------------------------------------------------------

void Kind700(Foe& c) {
  if (c.f == 0) Approach(c, 60, 80);
  if (c.f == 70) {
    for (int32_t i = 0; i <= c.d + 2; ++i)
      c.FireFan(0, 2 * c.d + 1, 2.0f + 0.5f * c.Df(), c.Aim(), 45.0f, 0, 5 * i);
    c.Se();
  }
  TurnBack(c, 120 + 5 * c.slot);
}

void Kind701(Foe& c) {
  HoverWithGuards(c, 150, 14);
  if (c.f >= 60 && Every(c.f, (6 - c.d) * 10)) {
    c.Se();
    const float a = c.Aim();
    Shot(c.st, 60, c.e.x - 16.0f, c.e.y, 3.0f + 0.3f * c.Df(), a, 20, 0);
    Shot(c.st, 60, c.e.x + 16.0f, c.e.y, 3.0f + 0.3f * c.Df(), a, 20, 0);
  }
  LeaveFrom(c, 240, 1.0f, 270.0f);
}

void Kind702(Foe& c) { RingCarrier(c, 35, 0.0f); }
void Kind703(Foe& c) { RingCarrier(c, 35, 180.0f); }

void Kind704(Foe& c) {
  HoverWithGuards(c, 350, 16);
  if (c.f >= 60 && c.f < 240 && Every(c.f, (6 - c.d) * 15)) {
    // Slot 0 shows the appearance delay; any other slot keeps its bullets hidden.
    const int32_t delay = c.slot == 0 ? 20 : 0;
    const int32_t wait = c.slot == 0 ? 0 : 20;
    for (int32_t i = 0; i <= 5 * c.d + 9; ++i) {
      const int32_t ra = Random(40);
      const int32_t rs = Random(20);
      const float speed = static_cast<float>(rs + 3 * c.d + 15) / 10.0f;
      c.Fire(92, speed, c.Aim() + static_cast<float>(ra - 20), delay, wait);
    }
    c.Se();
  }
  LeaveFrom(c, 240, 1.0f, 270.0f);
}

void Kind705(Foe& c) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 2000;
  LeaveFrom(c, 600, 1.0f, 270.0f);
  if (c.f < 80 || c.f >= 600 || !Every(c.f, 30)) return;
  c.pool.sharedScratch = Random(359);
  c.Se();
  const int32_t n = 6 * c.d + 18;
  for (int32_t i = 0; i < n; ++i) {
    const float a = 360.0f * static_cast<float>(i) / static_cast<float>(n) +
                    static_cast<float>(c.pool.sharedScratch);
    for (float turn : {1.0f, -1.0f}) {
      const int32_t b = c.Fire(35, 3.0f, a, 0, 0);
      c.Queue(b, 0, Turn(turn));
      c.Queue(b, 90, Turn(0.0f));
    }
  }
}

void Curler(Foe& c, float angle) {
  Crossing(c, angle);
  if (!Every(c.f, (6 - c.d) * 10)) return;
  const float speed = 2.8f + 0.4f * c.Df();
  const float aim = c.Aim();
  c.FireFan(66, 2 * (c.d / 2) + 1, speed, aim, 45.0f, 20, 0);
  struct Curl { float offset, turn; int32_t stop; };
  static const Curl kCurls[4] = {{30.0f, -0.5f, 180}, {-30.0f, 0.5f, 180}, {60.0f, -1.0f, 90},
                                 {-60.0f, 1.0f, 90}};
  for (const Curl& k : kCurls) {
    const int32_t b = c.Fire(68, speed, aim + k.offset, 0, 20);
    c.Queue(b, 0, Turn(k.turn));
    c.Queue(b, k.stop, Turn(0.0f));
  }
}
void Kind706(Foe& c) { Curler(c, 0.0f); }
void Kind707(Foe& c) { Curler(c, 180.0f); }

// --- Final and extra stage -------------------------------------------------------

void Kind800(Foe& c) {
  HoverEntry(c);
  if (c.f == 0) {
    c.e.hp = 500;
    c.Familiar(36, c.e.x + 48.0f, c.e.y, 0);
    c.Familiar(36, c.e.x - 48.0f, c.e.y, 0);
  }
  LeaveFrom(c, 200, 1.0f, 270.0f);
}

void AimEvery30(Foe& c) {
  if (Every(c.f, 30)) c.e.scratch = Trunc(c.Aim());
}

void Kind900(Foe& c) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 250;
  AimEvery30(c);
  const int32_t m = c.f % 60;
  if (c.f >= 90 && c.f % 3 == 0 && (m < 15 || (m >= 30 && m < 45))) {
    c.Se();
    for (int32_t a = 0; a < 360; a += 45) {
      const int32_t angle = m < 15 ? m + a + c.e.scratch : a - m + c.e.scratch + 30;
      c.Fire(53, 4.0f, static_cast<float>(angle), 20, 0);
    }
  }
  LeaveFrom(c, 200, 1.0f, 270.0f);
}

void Kind901(Foe& c) {
  HoverEntry(c);
  if (c.f == 0) c.e.hp = 350;
  AimEvery30(c);
  const int32_t m = c.f % 80;
  if (c.f >= 90 && c.f % 2 == 0) {
    if (m < 20) {
      c.Se();
      c.FireFan(38, 9, 1.0f + static_cast<float>(m) / 5.0f, c.Aim(), 90.0f, 20, 0);
    } else if (m >= 40 && m < 60) {
      c.Se();
      c.FireFan(38, 8, 1.0f + static_cast<float>(m - 40) / 5.0f, c.Aim(), 90.0f, 20, 0);
    }
  }
  LeaveFrom(c, 300, 2.0f, 270.0f);
}

void Kind902(Foe& c) {
  if (c.f == 0) {
    c.e.hp = 100;
    Set(c, 2.4f, 270.0f, 1000);
  }
  if (c.f < 60) c.e.speed -= 0.04f;
  if (c.f == 90) c.e.angle = c.Aim();
  if (c.f >= 90) {
    c.e.speed += 0.06f;
    if (Every(c.f, 15)) {
      c.Se();
      c.FireRing(16, 8, 2.0f, c.Aim(), 20);
    }
  }
}

using KindScript = void (*)(Foe&);
struct KindEntry {
  int32_t first, last;  // kind numbers served
  KindScript run;
};
constexpr KindEntry kKinds[] = {
    {0, 0, Kind0},         {1, 1, Kind1},         {2, 2, Kind2},
    {400, 411, SwerveKind}, {412, 412, Kind412},  {413, 413, Kind413},
    {500, 500, Kind500},   {501, 501, Kind501},   {502, 503, Kind502},
    {504, 504, Kind504},   {505, 505, Kind505},   {600, 602, FlankerKind},
    {603, 603, Kind603},   {604, 604, Kind604},   {605, 605, Kind605},
    {606, 606, Kind606},   {700, 700, Kind700},   {701, 701, Kind701},
    {702, 702, Kind702},   {703, 703, Kind703},   {704, 704, Kind704},
    {705, 705, Kind705},   {706, 706, Kind706},   {707, 707, Kind707},
    {800, 800, Kind800},   {900, 900, Kind900},   {901, 901, Kind901},
    {902, 902, Kind902}};
}  // namespace

void Enemy::RunKind(GameState& state, int32_t slot) {
  if (slot < 0 || slot >= kEnemyPoolSize) return;
  EnemySlot& e = slots[slot];
  for (const KindEntry& k : kKinds) {
    if (e.kind < k.first || e.kind > k.last) continue;
    const Player* p = state.player;
    Foe c{state, *this, e, slot, e.frame, Difficulty(state),
          p != nullptr ? p->x : 208.0f, p != nullptr ? p->y : 420.0f};
    k.run(c);
    return;
  }
}
