// The familiar kinds 0-37: one small frame-keyed script per kind, chosen from
// a table by the slot's kind. Boss familiars orbit, drift or rest and fire by
// difficulty and the slow flag; enemy familiars stick to or circle their
// owner.
#include <cstdint>
#include <initializer_list>

#include "playfield/boss.h"
#include "playfield/enemy.h"
#include "playfield/enemy_fire.h"
#include "playfield/enemy_script.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
using namespace script;

// What a familiar's script sees this frame.
struct Fam {
  GameState& st;
  MahoSlot& m;
  int32_t slot;  // the familiar's own slot
  int32_t f;     // frames since spawn
  int32_t d;     // difficulty 0-4
  float px, py;  // the player
  bool slow;     // the player moves slowly

  float Aim() const { return Direction(m.x, m.y, px, py); }
  float BossX() const { return st.boss != nullptr ? st.boss->x : 0.0f; }
  float BossY() const { return st.boss != nullptr ? st.boss->y : 0.0f; }
  // The owner enemy's slot, or nullptr for the boss or an owner out of range.
  EnemySlot* Owner() const {
    if (st.enemy == nullptr || m.owner < 0 || m.owner >= kEnemyPoolSize) return nullptr;
    return &st.enemy->slots[m.owner];
  }
  void Se() const { PlaySe(st, SeShot); }
  int32_t Fire(int32_t type, float speed, float angle, int32_t delay, int32_t wait) const {
    return Shot(st, type, m.x, m.y, speed, angle, delay, wait);
  }
  void FireRing(int32_t type, int32_t count, float speed, float base, int32_t delay) const {
    Ring(st, type, count, m.x, m.y, speed, base, delay, 0);
  }
  void Queue(int32_t b, int32_t frame, const Change& c) const { script::Queue(st, b, frame, c); }
  float Df() const { return static_cast<float>(d); }
};

// At f = 0: remember the distance and direction from (cx, cy) in words 0 and
// 1, move onto (cx, cy) and fly back out to the spawn point in 60 frames.
void FlyOutFrom(Fam& c, float cx, float cy, int32_t hp) {
  if (c.f != 0) return;
  const float dx = c.m.x - cx, dy = c.m.y - cy;
  const float dist = FloatSqrt(dx * dx + dy * dy);
  const float dir = Direction(cx, cy, c.m.x, c.m.y);
  c.m.scriptWords[0] = Trunc(dist);
  c.m.scriptWords[1] = Trunc(dir);
  c.m.motionFrames = 60;
  c.m.speed = dist / 60.0f;
  c.m.angle = dir;
  c.m.x = cx;
  c.m.y = cy;
  c.m.hp = hp;
}
void FlyOutFromBoss(Fam& c, int32_t hp) { FlyOutFrom(c, c.BossX(), c.BossY(), hp); }
// An owner out of range leaves the familiar where it was spawned.
void FlyOutFromOwner(Fam& c, int32_t hp) {
  if (const EnemySlot* e = c.Owner()) {
    FlyOutFrom(c, e->x, e->y, hp);
  } else if (c.f == 0) {
    c.m.hp = hp;
  }
}

void Orbit(Fam& c, float cx, float cy, int32_t theta, int32_t radius) {
  const float a = static_cast<float>(theta);
  c.m.x = cx + static_cast<float>(radius) * CosDeg(a);
  c.m.y = cy + static_cast<float>(radius) * SinDeg(a);
}
void Orbit(Fam& c, float cx, float cy, int32_t theta) {
  Orbit(c, cx, cy, theta, c.m.scriptWords[0]);
}

// True when the familiar vanished because its owner is no longer active.
bool VanishWithOwner(Fam& c) {
  const EnemySlot* e = c.Owner();
  if (e != nullptr && e->active == 1) return false;
  c.m.active = 0;
  return true;
}

void StickToOwner(Fam& c, float r, float a) {
  if (const EnemySlot* e = c.Owner()) {
    c.m.x = e->x + r * CosDeg(a);
    c.m.y = e->y + r * SinDeg(a);
  }
}

// --- Boss familiars with random drift ---------------------------------------

void DrawDriftWords(Fam& c) {
  const int32_t w0 = Random(2);
  c.m.scriptWords[0] = w0;
  const int32_t w1 = Random(2);
  c.m.scriptWords[1] = w1 - 1;
  const int32_t w2 = Random(20);
  c.m.scriptWords[2] = w2;
  c.m.hp = 100;
}

void Kind0(Fam& c) {
  if (c.f == 0) {
    DrawDriftWords(c);
    const int32_t s = Random(30);
    c.m.speed = static_cast<float>(s + 5) / 10.0f;
    const int32_t a = Random(359);
    c.m.angle = static_cast<float>(a);
    c.m.motionFrames = 1000;
  }
  if (c.f >= 30 && c.f < 150 && Every(c.f, 4 * (3 - c.d))) {
    static const int32_t kTypes[3] = {10, 16, 13};
    const int32_t w0 = c.m.scriptWords[0];
    const int32_t type = w0 >= 0 && w0 <= 2 ? kTypes[w0] : 10;
    const float speed = 1.0f + static_cast<float>(c.m.scriptWords[2]) / 10.0f;
    const int32_t b = c.Fire(type, speed, c.m.angle, 20, 0);
    Change ch;
    ch.accel = 0.0f;
    ch.angularSpeed = static_cast<float>(c.m.scriptWords[1] * (c.f - 90)) / 150.0f * 0.5f;
    c.Queue(b, 80, ch);
  }
}

void Kind1(Fam& c) {
  if (c.f == 0) {
    DrawDriftWords(c);
    const int32_t s = Random(7);
    c.m.speed = static_cast<float>(s + 3) / 10.0f;
    c.m.angle = 90.0f;
    c.m.motionFrames = 1000;
  }
  if (c.d == 2 && c.f >= 100 && Every(c.f, 10)) {
    const int32_t b = c.Fire(12, 0.5f, c.m.angle, 0, 0);
    c.Queue(b, 50, Speed(1.0f));
    c.Se();
  }
  if (c.d == 3 && c.f >= 50 && c.f < 200 && Every(c.f, 15)) {
    const int32_t r = Random(10);
    const int32_t a = Random(359);
    const int32_t b = c.Fire(54, 1.5f, static_cast<float>(a), 0, 0);
    Change ch;
    ch.speed = 0.0f;
    ch.accel = 0.025f;
    ch.angle = c.m.angle + static_cast<float>(r - 5);
    ch.type = 130;
    c.Queue(b, 50, ch);
    c.Se();
  }
  c.m.speed += 0.01f;
}

void Kind5(Fam& c) {
  if (c.f == 0) {
    c.m.hp = 1000;
    c.m.speed = 3.0f - 0.3f * c.Df();
    const int32_t q = Random(3);
    c.m.angle = static_cast<float>(90 * q);
    c.m.motionFrames = 1000;
    if (c.d >= 2) c.m.angle += 45.0f;
  }
  if (Every(c.f, 60)) {
    const int32_t t = Random(2);
    c.m.angle += static_cast<float>(90 * t - 90);
  }
  if (Every(c.f, 15)) {
    c.Se();
    const int32_t b = c.Fire(13, 0.0f, 90.0f, 20, 0);
    c.Queue(b, 120, Speed(1.5f + 0.4f * c.Df()));
  }
}

void Kind6(Fam& c) {
  const float speed = 1.5f + 0.2f * c.Df();
  if (c.f == 0) {
    c.m.hp = 300;
    c.m.speed = speed;
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.motionFrames = 1000;
  }
  if (c.f % 30 != 29 || !(c.m.y < 464.0f)) return;
  c.Se();
  Change ch;
  ch.speed = speed;
  ch.accel = 0.02f;
  ch.angle = kChangeAimAtPlayer;
  c.Queue(c.Fire(13, 0.0f, 0.0f, 60, 0), 60, ch);
  int32_t count = 0, type = 0;
  if (c.d == 2) count = 3, type = 61;
  if (c.d == 3) count = 5, type = 15;
  for (int32_t i = 0; i < count; ++i) {
    const float a = static_cast<float>(360 / count * i) + c.m.angle;
    const int32_t b =
        Shot(c.st, type, c.m.x + 30.0f * CosDeg(a), c.m.y + 30.0f * SinDeg(a), 0.0f, 0.0f, 60, 0);
    c.Queue(b, 60, ch);
  }
}

void Kind19(Fam& c) {
  if (c.f == 0) {
    c.m.speed = 3.0f;
    c.m.hp = 250;
    const int32_t a = Random(359);
    c.m.angle = static_cast<float>(a);
    c.m.motionFrames = 6000;
  }
  if (Every(c.f, (6 - c.d) * 5)) {
    c.Se();
    c.FireRing(12, c.d + 3, 2.2f + 0.4f * c.Df(), c.Aim(), 20);
  }
}

// Kinds 28 and 29: a turning ring around a drawn base angle.
void SpinRing(Fam& c, float speed, int32_t hp, int32_t interval) {
  if (c.f == 0) {
    c.m.speed = speed;
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.motionFrames = 6000;
    c.m.hp = hp;
    c.m.scriptWords[0] = Random(359);
  }
  if (Every(c.f, interval)) {
    c.Se();
    c.FireRing(60, 4, 1.3f + 0.2f * c.Df(), static_cast<float>(c.m.scriptWords[0] + 12 * c.f), 20);
  }
}
void Kind28(Fam& c) { SpinRing(c, 3.0f, 150, 2 * (3 - c.d)); }
void Kind29(Fam& c) {
  SpinRing(c, 2.0f, 3000, 2 * (6 - c.d));
  c.m.angle += (c.f / 180) % 2 != 0 ? 2.0f : -2.0f;
}

// --- Boss familiars that drift and fire by the slow flag ----------------------

void Kind2(Fam& c) {
  if (c.f == 0) {
    c.m.speed = 3.0f;
    c.m.hp = 10000;
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.motionFrames = 1000;
  }
  if (!Every(c.f, 30)) return;
  c.Se();
  const float base = static_cast<float>(c.f);
  if (c.slow)
    c.FireRing(12, c.d + 2, 1.0f, base, 20);
  else
    c.FireRing(17, c.d + 1, 2.0f, base, 20);
}

void Kind3(Fam& c) {
  if (c.f == 0) {
    c.m.hp = 1000;
    c.m.speed = 1.5f;
    c.m.motionFrames = 1000;
    static const float kOffset[4] = {-30.0f, 30.0f, -30.0f, 30.0f};
    static const int32_t kTurn[4] = {-90, 90, 90, -90};
    const int32_t v = c.m.subKind;
    if (v >= 0 && v <= 3) {
      c.m.angle = c.Aim() + kOffset[v];
      c.m.scriptWords[0] = kTurn[v];
    } else {
      c.m.angle = 0.0f;
    }
  }
  if (c.f < 300 && c.f % 60 == 59) {
    c.Se();
    c.m.angle += static_cast<float>(c.m.scriptWords[0]);
    for (int32_t i = 0; i <= c.d + 1; ++i)
      Fan(c.st, 61, 4 * c.d + 6, c.m.x, c.m.y, 3.0f, c.m.angle + 180.0f, 270.0f, 0, 10 * i);
  }
}

// --- Boss familiars that circle the boss --------------------------------------

// Kinds 4, 24 and 27: orbit the boss at the turning rate subKind; rings by the
// slow flag.
struct OrbitRings {
  int32_t slowType, elseType;
  float slowBase, elseBase;
  bool baseFromBoss;  // both rings based on the direction from the boss
};
void OrbitAndRing(Fam& c, const OrbitRings& o) {
  FlyOutFromBoss(c, 500);
  if (c.f <= 60) return;
  Orbit(c, c.BossX(), c.BossY(), c.m.subKind * c.f + c.m.scriptWords[1]);
  if (!Every(c.f, (6 - c.d) * 5)) return;
  c.Se();
  const float fromBoss = Direction(c.BossX(), c.BossY(), c.m.x, c.m.y);
  if (c.slow)
    c.FireRing(o.slowType, 4, 1.5f + 0.3f * c.Df(), o.baseFromBoss ? fromBoss : o.slowBase, 20);
  else
    c.FireRing(o.elseType, 3, 2.7f + 0.3f * c.Df(), o.baseFromBoss ? fromBoss : o.elseBase, 20);
}
void Kind4(Fam& c) { OrbitAndRing(c, {12, 17, 0.0f, 90.0f, false}); }
void Kind24(Fam& c) { OrbitAndRing(c, {10, 16, 45.0f, 270.0f, false}); }
void Kind27(Fam& c) { OrbitAndRing(c, {10, 16, 0.0f, 0.0f, true}); }

// Kinds 25 and 26: circle a fixed centre beside the boss's stage.
void CircleFixed(Fam& c, float cx) {
  const float cy = 240.0f;
  if (c.f == 0) {
    const float p = Direction(cx, cy, c.m.x, c.m.y);
    FlyOutFromBoss(c, 500);
    c.m.scriptWords[1] = Trunc(p);
  }
  if (c.f <= 60) return;
  Orbit(c, cx, cy, (c.f - 60) * c.m.subKind + c.m.scriptWords[1], 48);
  if (!Every(c.f, (6 - c.d) * 5)) return;
  c.Se();
  const float base = Direction(cx, cy, c.m.x, c.m.y);
  if (c.slow)
    c.FireRing(12, 4, 1.5f + 0.3f * c.Df(), base, 20);
  else
    c.FireRing(17, 3, 2.7f + 0.3f * c.Df(), base, 20);
}
void Kind25(Fam& c) { CircleFixed(c, 312.0f); }
void Kind26(Fam& c) { CircleFixed(c, 104.0f); }

void Kind17(Fam& c) {
  FlyOutFromBoss(c, 1000);
  if (c.f < 60) return;
  Orbit(c, c.BossX(), c.BossY(), (c.f - 60) * c.m.subKind + c.m.scriptWords[1]);
  if (!Every(c.f, 12)) return;
  c.Se();
  const float centre =
      Direction(c.BossX(), c.BossY(), c.m.x, c.m.y) + static_cast<float>(90 * c.m.subKind);
  Fan(c.st, 30, 3, c.m.x, c.m.y, 2.5f + 0.3f * c.Df(), centre, 90.0f, 0, 0);
}

void Kind23(Fam& c) {
  FlyOutFromBoss(c, 1000);
  if (c.f < 60) return;
  Orbit(c, c.BossX(), c.BossY(), c.f + c.m.scriptWords[1] - 60);
  if (!Every(c.f, 20 * (4 - c.d))) return;
  if (c.slot == 0) c.Se();
  // Types past 255 (slots above 195) are refused by the firing helpers.
  c.FireRing(60 + c.slot, 8, 2.3f + 0.3f * c.Df(), c.Aim(), 20);
}

void Kind33(Fam& c) {
  FlyOutFromBoss(c, 2000);
  if (c.f <= 60) return;
  Orbit(c, c.BossX(), c.BossY(), c.f + c.m.scriptWords[1] - 60);
  const int32_t m = (c.f - 60) % 500;
  if (m >= 100 && m < 147) c.m.scriptWords[0] -= 1;
  if ((m >= 200 && m < 248) || (m >= 300 && m < 348)) c.m.scriptWords[0] += 1;
  if (m >= 400 && m < 448) c.m.scriptWords[0] -= 1;
  if (!Every(c.f, 15)) return;
  c.Se();
  const float fromBoss = Direction(c.BossX(), c.BossY(), c.m.x, c.m.y);
  for (int32_t a = 0; a < 360; a += 45)
    Laser(c.st, c.m.subKind, c.m.x, c.m.y, 3.0f, fromBoss + static_cast<float>(a), 80, 10, 0, 0);
}

void Kind13(Fam& c) { FlyOutFromBoss(c, 5000); }

void Kind18(Fam& c) {
  static const int32_t kHp[7] = {2000, 1000, 1000, 500, 1000, 1000, 2000};
  static const float kLaserAngle[7] = {135.0f, 120.0f, 100.0f, 90.0f, 80.0f, 60.0f, 45.0f};
  const int32_t v = c.m.subKind;
  const bool known = v >= 0 && v <= 6;
  FlyOutFromBoss(c, known ? kHp[v] : 1000);
  if (c.f < 60) return;
  const float r = static_cast<float>(c.m.scriptWords[0]);
  const float p = static_cast<float>(c.m.scriptWords[1]);
  c.m.x = c.BossX() + r * CosDeg(p);
  c.m.y = c.BossY() + r * SinDeg(p);
  if (!known) return;
  const int32_t phase = (c.f - 60) % 360;
  if (phase == 0) {
    PlaySe(c.st, SeShot2);
    for (int32_t i = 0; i <= c.d; ++i) {
      const int32_t jitter = Random(20);
      const int32_t b = Laser(c.st, 13, c.m.x, c.m.y, 0.0f,
                              kLaserAngle[v] + static_cast<float>(jitter - 10), 500, 10, 40, 0);
      c.Queue(b, 210, MoveX(-1000.0f));
    }
  }
  if (phase == 100 || phase == 140 || phase == 180 || phase == 220 || phase == 260) {
    c.Se();
    const int32_t a = Random(90);
    int32_t type = 130;
    float speed = 0.0f;
    if (c.d <= 1) {
      const int32_t s = Random(14);
      speed = static_cast<float>(s + 7) / 10.0f;
      type = c.d == 0 ? 10 : 20;
    } else {
      const int32_t s = Random(12);
      speed = static_cast<float>(s + 3 * c.d + 8) / 10.0f;
    }
    c.Fire(type, speed, static_cast<float>(a + 45), 20, 0);
  }
}

// Kind 22: a behaviour by subKind once it has flown out.
struct Kind22Orbit { int32_t subKind, type; bool sound; };
struct Kind22Sweep { int32_t subKind, type; float speed, startAngle; int32_t leg; float baseOffset; };
constexpr Kind22Orbit kKind22Orbits[] = {{0, 62, true}, {1, 62, false}, {6, 64, false}, {7, 66, false}};
constexpr Kind22Sweep kKind22Sweeps[] = {{2, 61, 3.0f, 0.0f, 128, 0.0f},
                                         {3, 63, 3.0f, 180.0f, 128, 0.0f},
                                         {4, 65, 4.0f, 90.0f, 112, 22.5f},
                                         {5, 67, 4.0f, 90.0f, 112, 22.5f}};
void Kind22(Fam& c) {
  FlyOutFromBoss(c, 1000);
  if (c.f < 60) return;
  for (const Kind22Orbit& o : kKind22Orbits) {
    if (o.subKind != c.m.subKind) continue;
    Orbit(c, c.BossX(), c.BossY(), c.f + c.m.scriptWords[1] - 60);
    if (!Every(c.f, 20 * (2 - c.d))) return;
    if (o.sound) c.Se();
    c.Fire(o.type, 3.0f + 0.5f * c.Df(), Direction(c.m.x, c.m.y, c.BossX(), c.BossY()), 20, 0);
    return;
  }
  for (const Kind22Sweep& s : kKind22Sweeps) {
    if (s.subKind != c.m.subKind) continue;
    if (c.f == 60) {
      c.m.speed = s.speed;
      c.m.angle = s.startAngle;
      c.m.motionFrames = s.leg;
    } else if (c.m.motionFrames == 0) {
      c.m.angle += 180.0f;
      c.m.motionFrames = s.leg;
    }
    if (Every(c.f, 20 * (3 - c.d)))
      c.FireRing(s.type, 8, 2.3f + 0.3f * c.Df(), c.Aim() + s.baseOffset, 20);
    return;
  }
}

// --- Other boss familiars -------------------------------------------------------

void Kind7(Fam& c) {
  if (c.f == 0) {
    c.m.hp = 5000;
    c.m.speed = 2.0f;
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.motionFrames = 48;
  }
  if (c.f == 100) {
    c.Se();
    for (float a : {90.0f, 270.0f}) {
      const int32_t b = Laser(c.st, 19, c.m.x, c.m.y, 0.0f, a, 500, 200, 0, 0);
      c.Queue(b, 100, MoveX(-10000.0f));
    }
  }
  if (c.f == 200) c.m.hp = 0;
}

// Kinds 9-12: a column of bullets, then a wheel, all released together.
void Wheel(Fam& c, float a, float s) {
  if (c.f == 0) {
    c.m.hp = 100;
    c.m.speed = 2.0f;
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.motionFrames = 1000;
  }
  if (c.f < 120 && Every(c.f, 10)) {
    c.Se();
    const int32_t b = c.Fire(11, 0.0f, a, 20, 0);
    Change release;
    release.speed = 3.0f;
    release.angularSpeed = s;
    c.Queue(b, 150, release);
    c.Queue(b, 240, Turn(0.0f));
  }
  if (c.f == 120) {
    c.Se();
    for (int32_t k = 0; k < 360; k += 20) {
      const float ka = static_cast<float>(k);
      const int32_t b = Shot(c.st, 111, c.m.x + 16.0f * CosDeg(ka), c.m.y + 16.0f * SinDeg(ka),
                             0.0f, a, 20, 0);
      if (b >= 0 && c.st.bullet != nullptr) c.st.bullet->SetFacing(b, true, ka);
      Change release;
      release.speed = 3.0f;
      release.angularSpeed = s;
      c.Queue(b, 150, release);
      c.Queue(b, 240, Turn(0.0f));
    }
  }
}
void Kind9(Fam& c) { Wheel(c, 90.0f, 1.0f); }
void Kind10(Fam& c) { Wheel(c, -90.0f, 1.0f); }
void Kind11(Fam& c) { Wheel(c, 90.0f, -1.0f); }
void Kind12(Fam& c) { Wheel(c, -90.0f, -1.0f); }

void Kind15(Fam& c) {
  if (c.f != 0) return;
  c.m.speed = 1.0f;
  c.m.angle = static_cast<float>(c.m.subKind);
  c.m.motionFrames = 1000;
  c.m.hp = 200;
}

void Kind20(Fam& c) {
  if (c.f == 0) {
    c.m.speed = 3.0f;
    c.m.motionFrames = 5000;
    c.m.angle = Direction(c.BossX(), c.BossY(), c.m.x, c.m.y);
    c.m.x = c.BossX();
    c.m.y = c.BossY();
    c.m.hp = 5000;
  }
  if (!Every(c.f, 18 - 4 * c.d)) return;
  c.Se();
  const int32_t type = c.m.subKind < 4 ? 34 : 33;
  for (int32_t i = 0; i < 8; ++i) {
    const float speed = (0.2f * static_cast<float>(i) + 0.4f) * static_cast<float>(c.m.subKind);
    c.Fire(type, speed, c.m.angle - 90.0f, 20, 10 * i);
    c.Fire(type, speed, c.m.angle + 90.0f, 20, 10 * i);
  }
}

void Kind21(Fam& c) {
  if (c.f == 0) {
    const float bx = c.BossX(), by = c.BossY();
    const float dx = c.m.x - bx, dy = c.m.y - by;
    c.m.motionFrames = 60;
    c.m.speed = FloatSqrt(dx * dx + dy * dy) / 60.0f;
    c.m.angle = Direction(bx, by, c.m.x, c.m.y);
    c.m.x = bx;
    c.m.y = by;
    c.m.hp = 1000;
  }
  if (c.f == 60) {
    c.m.angle = static_cast<float>(c.m.subKind);
    c.m.speed = 3.0f;
    c.m.scriptWords[0] = Trunc(c.m.x);
    c.m.scriptWords[1] = Trunc(c.m.y);
    c.m.motionFrames = 6000;
  }
  auto spinner = [&c](float angle) {
    c.Se();
    const int32_t b = c.Fire(140 + (c.m.subKind / 36) % 10, 0.0f, angle, 20, 0);
    if (b >= 0 && c.st.bullet != nullptr) c.st.bullet->SetSpin(b, 1.0f, 6000);
    Change ch;
    ch.speed = 1.0f;
    ch.angularSpeed = 0.0f;
    c.Queue(b, 180, ch);
  };
  if (c.f < 60 && Every(c.f, 5)) spinner(Direction(c.m.x, c.m.y, 208.0f, 240.0f));
  if (c.f >= 60 && c.f < 200 && Every(c.f, 5)) {
    const float ax = static_cast<float>(c.m.scriptWords[0]);
    const float ay = static_cast<float>(c.m.scriptWords[1]);
    spinner(Direction(c.m.x, c.m.y, ax, ay));
  }
  if (c.f >= 60 && c.f < 200) c.m.angle += 2.0f;
  if (c.f >= 200) c.m.speed += 0.1f;
}

void Kind30(Fam& c) {
  FlyOutFromBoss(c, 500);
  if (c.f == 120) {
    const int32_t s = Random(150);
    const int32_t b = c.Fire(11, static_cast<float>(s + 175) / 100.0f, 270.0f, 20, 0);
    c.Queue(b, 0, Accel(-0.02f - 0.01f * c.Df()));
  }
  if (c.f == 240) c.m.active = 0;
}

void Kind31(Fam& c) {
  FlyOutFromBoss(c, 500);
  if (c.f == 120) {
    PlaySe(c.st, SeShot2);
    const int32_t b = Laser(c.st, 10, c.m.x, c.m.y, 0.0f, 270.0f, 500, 20, 0, 0);
    const int32_t way = Random(1);
    c.Queue(b, 0, Turn(way == 0 ? 1.0f : -1.0f));
    Change ch;
    ch.speed = 2.0f;
    ch.angularSpeed = 0.0f;
    c.Queue(b, 30 * c.d + 120, ch);
  }
  if (c.f == 30 * (c.d + 8)) c.m.active = 0;
}

void Kind32(Fam& c) {
  FlyOutFromBoss(c, 1000);
  if (c.f <= 60 || !Every(c.f, 40)) return;
  c.Se();
  const int32_t t = Random(9);
  const int32_t base = Random(359);
  c.FireRing(10 + t, 2 * c.d + 6, 1.5f + 0.4f * c.Df(), static_cast<float>(base), 20);
}

void Kind37(Fam& c) {
  if (c.f == 0) c.m.hp = 50000;
  const float fa = static_cast<float>(c.f);
  c.m.x = 208.0f + 48.0f * CosDeg(fa);
  c.m.y = 240.0f + 48.0f * SinDeg(fa);
  const float df = c.Df();
  if (c.f < 600 && Every(c.f, 2 * (5 - c.d))) {
    c.Se();
    c.FireRing(62, 4, 4.0f + 0.5f * df, -fa * (0.25f * df + 0.5f), 20);
  }
  if (c.f >= 800 && c.f < 1400 && Every(c.f, 20 - 3 * c.d)) {
    c.Se();
    for (int32_t a = 0; a < 360; a += 20) {
      const int32_t b = c.Fire(30, 1.0f, static_cast<float>(a), 20, 0);
      c.Queue(b, 0, Turn(-1.0f));
      c.Queue(b, 90, Turn(0.0f));
    }
  }
  if (c.f >= 1600 && c.f < 2200 && Every(c.f, 3)) {
    c.Se();
    c.FireRing(122, c.d + 1, 2.5f, Direction(c.m.x, c.m.y, 208.0f, 240.0f), 20);
  }
  if (c.f >= 2400 && Every(c.f, 15 - 2 * c.d)) {
    c.Se();
    c.FireRing(10, 4, 2.0f + 0.3f * df, fa, 20);
    c.FireRing(10, 4, 2.0f + 0.3f * df, -fa, 20);
  }
}

// --- Enemy familiars --------------------------------------------------------------

// Kinds 8 and 35: circle the owner at the turning rate subKind.
bool CircleOwner(Fam& c) {
  FlyOutFromOwner(c, 150);
  if (VanishWithOwner(c)) return false;
  if (c.f <= 60) return false;
  const EnemySlot* e = c.Owner();
  Orbit(c, e->x, e->y, (c.f - 60) * c.m.subKind + c.m.scriptWords[1]);
  return true;
}

void Kind8(Fam& c) {
  if (!CircleOwner(c) || c.f % 40 != 5 * c.d) return;
  c.Se();
  c.Fire(10, 1.2f + 0.2f * c.Df(), c.Aim(), 10, 0);
}

void Kind35(Fam& c) {
  if (!CircleOwner(c) || c.f % 20 != 3 * c.d) return;
  c.Se();
  const EnemySlot* e = c.Owner();
  const int32_t b = c.Fire(10, 6.0f, Direction(e->x, e->y, c.m.x, c.m.y), 10, 0);
  c.Queue(b, 0, Accel(-0.2f));
  c.Queue(b, 20, Accel(0.0f));
}

void StillAtFirst(Fam& c, int32_t hp) {
  if (c.f != 0) return;
  c.m.hp = hp;
  c.m.speed = 0.0f;
  c.m.angle = 0.0f;
  c.m.motionFrames = 0;
}

void Kind14(Fam& c) {
  StillAtFirst(c, 50);
  StickToOwner(c, 50.0f, static_cast<float>(c.m.subKind));
  if (c.f >= 15 * (6 - c.d) && Every(c.f, 30)) {
    c.Se();
    Ring(c.st, 12, 3 * c.d + 8, c.m.x, c.m.y, 2.1f + 0.4f * c.Df(), 90.0f, 10, 0);
  }
}

void Kind16(Fam& c) {
  struct Volley { float angle, speed; int32_t count; };
  static const Volley kVolleys[4][5] = {
      {{90.0f, 4.0f, 3}},
      {{60.0f, 4.4f, 5}, {120.0f, 4.4f, 5}},
      {{90.0f, 4.8f, 7}, {60.0f, 4.8f, 7}, {120.0f, 4.8f, 7}},
      {{90.0f, 5.2f, 9}, {60.0f, 5.2f, 9}, {120.0f, 5.2f, 9}, {30.0f, 5.2f, 9}, {150.0f, 5.2f, 9}}};
  StillAtFirst(c, 80);
  StickToOwner(c, 50.0f, static_cast<float>(c.m.subKind));
  if (c.f < 60 || c.f >= 50 * c.d + 140 || !Every(c.f, 50)) return;
  c.Se();
  if (c.d > 3 || c.st.bullet == nullptr) return;
  for (const Volley& v : kVolleys[c.d])
    if (v.count > 0) c.st.bullet->Line(c.m.x, c.m.y, v.speed, v.angle, v.count);
}

// Kinds 34 and 36 keep their spawn offset beside the owner.
void TakeOffset(Fam& c, int32_t hp) {
  if (c.f != 0) return;
  const EnemySlot* e = c.Owner();
  c.m.scriptWords[0] = e != nullptr ? Trunc(c.m.x - e->x) : 0;
  c.m.hp = hp;
}
void FollowOwner(Fam& c) {
  if (const EnemySlot* e = c.Owner()) {
    c.m.x = e->x + static_cast<float>(c.m.scriptWords[0]);
    c.m.y = e->y;
  }
}

void Kind34(Fam& c) {
  TakeOffset(c, 250);
  if (VanishWithOwner(c)) return;
  FollowOwner(c);
  if (c.f % 90 >= 10 * c.d + 30 || !Every(c.f, 2 * (6 - c.d))) return;
  c.Se();
  const EnemySlot* e = c.Owner();
  c.Fire(18, 2.5f + 0.5f * c.Df(), Direction(e->x, e->y, c.px, c.py), 20, 0);
}

void Kind36(Fam& c) {
  TakeOffset(c, 5000);
  FollowOwner(c);
  if (c.f < 80 || c.f >= 140) return;
  c.Se();
  const int32_t spread = 4 * c.d;
  for (int32_t i = 0; i <= c.d; ++i) {
    const int32_t t = Random(9);
    const int32_t r = Random(8 * c.d);
    const float a = c.Aim() + static_cast<float>(r - spread);
    const int32_t oy = Random(128);
    const int32_t ox = Random(128);
    const int32_t b = Shot(c.st, 130 + t, c.m.x + static_cast<float>(ox - 64),
                           c.m.y + static_cast<float>(oy - 64), 0.0f, a, 20, 0);
    c.Queue(b, 20, Accel(0.05f));
    c.Queue(b, 20 * c.d + 90, Accel(0.0f));
  }
}

using KindScript = void (*)(Fam&);
constexpr KindScript kKinds[kMahoKindCount] = {
    Kind0,  Kind1,  Kind2,  Kind3,  Kind4,  Kind5,  Kind6,  Kind7,  Kind8,  Kind9,
    Kind10, Kind11, Kind12, Kind13, Kind14, Kind15, Kind16, Kind17, Kind18, Kind19,
    Kind20, Kind21, Kind22, Kind23, Kind24, Kind25, Kind26, Kind27, Kind28, Kind29,
    Kind30, Kind31, Kind32, Kind33, Kind34, Kind35, Kind36, Kind37};
}  // namespace

void Maho::RunKind(GameState& state, int32_t slot) {
  if (slot < 0 || slot >= kMahoPoolSize) return;
  MahoSlot& m = slots[slot];
  if (m.kind < 0 || m.kind >= kMahoKindCount) return;
  const Player* p = state.player;
  Fam c{state,
        m,
        slot,
        m.frame,
        Difficulty(state),
        p != nullptr ? p->x : 208.0f,
        p != nullptr ? p->y : 420.0f,
        p != nullptr && p->slow == 1};
  kKinds[m.kind](c);
}
