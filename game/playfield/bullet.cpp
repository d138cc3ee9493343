// Enemy bullet pool: spawning, queued motion changes, the per-frame update,
// the patterns, queries and erasing, and the drawing of bullets and lasers.
#include "playfield/bullet.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/digest.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"

namespace {

constexpr double kPi = 3.141592653589793;

float Radians(float degrees) { return static_cast<float>(static_cast<double>(degrees) / 180.0 * kPi); }
float Degrees(float radians) { return static_cast<float>(static_cast<double>(radians) * 180.0 / kPi); }

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < kBulletPoolSize; }

// One family row of the sprite sheet: ten colours laid out in one row, or in
// two rows of five.
struct FamilyRow {
  int32_t x0, xStep;  // x = x0 + xStep * (c or c mod 5)
  bool twoRows;       // c mod 5 and the second row for c >= 5
  int32_t y0, y1;
  int32_t w, h, radius;
};
constexpr FamilyRow kFamilies[17] = {
    {0, 16, false, 0, 0, 8, 8, 3},          // 0-9
    {0, 24, true, 16, 40, 16, 16, 4},       // 10-19
    {120, 40, true, 16, 56, 32, 32, 6},     // 20-29
    {328, 16, false, 0, 0, 8, 16, 2},       // 30-39
    {328, 16, false, 24, 24, 8, 16, 2},     // 40-49
    {328, 16, false, 48, 48, 8, 16, 2},     // 50-59
    {0, 24, true, 64, 88, 16, 16, 2},       // 60-69
    {160, 72, true, 376, 448, 64, 64, 16},  // 70-79
    {120, 40, true, 96, 136, 32, 32, 4},    // 80-89
    {328, 16, false, 72, 72, 8, 16, 2},     // 90-99
    {0, 24, true, 112, 152, 16, 32, 4},     // 100-109
    {0, 24, true, 192, 232, 16, 32, 3},     // 110-119
    {0, 24, true, 272, 296, 16, 16, 2},     // 120-129
    {120, 40, true, 176, 216, 32, 32, 4},   // 130-139
    {0, 24, true, 320, 344, 16, 16, 2},     // 140-149
    {120, 40, true, 256, 296, 32, 32, 4},   // 150-159
    {328, 16, false, 96, 96, 8, 16, 2},     // 160-169
};

struct SpriteTable {
  BulletSprite entries[256];
  SpriteTable() : entries{} {
    for (int t = 0; t < 170; ++t) {
      const FamilyRow& f = kFamilies[t / 10];
      int c = t % 10;
      BulletSprite& s = entries[t];
      s.x = f.x0 + f.xStep * (f.twoRows ? c % 5 : c);
      s.y = (f.twoRows && c >= 5) ? f.y1 : f.y0;
      s.w = f.w;
      s.h = f.h;
      s.radius = f.radius;
    }
    entries[170] = {320, 176, 192, 192, 80};
    entries[171] = {0, 392, 16, 64, 4};
  }
};
const SpriteTable& Sprites() {
  static const SpriteTable table;
  return table;
}
const BulletSprite kNoSprite{};

// Families that spawn with a fixed facing of 0 and ignore a facing for hits.
bool FixedFacingFamily(int32_t type) {
  int32_t f = type / 10;
  return f == 0 || f == 1 || f == 2 || f == 7 || f == 13;
}

bool Additive(int32_t type) { return (type >= 70 && type <= 79) || (type >= 130 && type <= 139); }

// Hidden (waiting) or still appearing: not moving, not hittable.
bool Appearing(const BulletRecord& r) {
  return r.wait > 0 || (r.isLaser ? r.delay > -10 : r.delay > 0);
}

bool Within(const BulletRecord& r, float cx, float cy, int32_t radius) {
  double dx = static_cast<double>(r.x) - cx;
  double dy = static_cast<double>(r.y) - cy;
  double rr = static_cast<double>(radius);
  return dx * dx + dy * dy < rr * rr;
}

// Truncation of a float to a pixel, the float's value when it fits.
int Pixel(float v) { return FloatToIntTrunc(v); }

}  // namespace

const BulletSprite& BulletSpriteOf(int32_t type) {
  return type >= 0 && type < 256 ? Sprites().entries[type] : kNoSprite;
}

Bullet::Bullet(GameState& state) : sheet(-1), state_(&state) {
  for (int i = 0; i < 256; ++i) sprites[i] = -1;
  std::memset(records, 0, sizeof records);
  sheet = ApiLoadGraphFromFile("vko01\\bullet.tga", 0);
  if (sheet != -1) {
    for (int t = 0; t < 256; ++t) {
      const BulletSprite& s = BulletSpriteOf(t);
      if (s.w > 0 && s.h > 0) sprites[t] = ApiDeriveSubGraph(s.x, s.y, s.w, s.h, sheet);
    }
    ApiFreeGraphHandle(sheet, 0);
  }
}

Bullet::~Bullet() {
  for (int i = 0; i < 256; ++i)
    if (sprites[i] != -1) ApiFreeGraphHandle(sprites[i], 0);
}

void Bullet::ClearPool() { std::memset(records, 0, sizeof records); }

// ---- Spawning and changes ------------------------------------------------------

namespace {
int32_t FirstFree(const BulletRecord* records) {
  for (int i = 0; i < kBulletPoolSize; ++i)
    if (!records[i].active) return i;
  return -1;
}

// Takes the first free record and starts it on its way with no acceleration,
// turn, queued change, bounce, graze, erase-proofing, facing or spin; it hits
// the player and is drawn untinted. -1 when every record is in use.
int32_t StartRecord(BulletRecord* records, float x, float y, float speed, float angle,
                    int32_t type, int32_t delay, int32_t wait) {
  int32_t slot = FirstFree(records);
  if (slot < 0) return -1;
  BulletRecord& r = records[slot];
  r.x = x;
  r.y = y;
  r.speed = speed;
  r.angle = angle;
  r.type = type;
  r.delay = delay;
  r.wait = wait;
  r.accel = 0.0f;
  r.angularSpeed = 0.0f;
  r.frame = 0;
  r.changeCount = 0;
  r.bounceWalls = 0;
  r.bouncesLeft = 0;
  r.grazed = 0;
  r.eraseProof = 0;
  r.facingOn = 0;
  r.spinOn = 0;
  r.hitsPlayer = 1;
  r.active = 1;
  r.color = 0xFFFFFF;
  return slot;
}
}  // namespace

int32_t Bullet::Spawn(int32_t type, float x, float y, float speed, float angle, int32_t delay,
                      int32_t wait) {
  int32_t slot = StartRecord(records, x, y, speed, angle, type, delay, wait);
  if (slot < 0) return -1;
  BulletRecord& r = records[slot];
  r.isLaser = 0;
  if (FixedFacingFamily(type)) {
    r.facingOn = 1;
    r.facingAngle = 0.0f;
  }
  return slot;
}

int32_t Bullet::SpawnLaser(float x, float y, float speed, float angle, int32_t type,
                           int32_t length, int32_t width, int32_t delay, int32_t wait) {
  int32_t slot = StartRecord(records, x, y, speed, angle, type, delay, wait);
  if (slot < 0) return -1;
  BulletRecord& r = records[slot];
  r.length = static_cast<float>(length);
  r.width = static_cast<float>(width);
  r.lengthGrowth = 0.0f;
  r.widthGrowth = 0.0f;
  r.isLaser = 1;
  return slot;
}

namespace {
// Stores one change in the next queue entry; false when the record is not in
// use or its queue is already full.
bool StoreChange(BulletRecord* records, int32_t slot, int32_t frame, float x, float y, float speed,
                 float accel, float angle, float angularSpeed, float lengthGrowth, int32_t type) {
  if (!ValidSlot(slot)) return false;
  BulletRecord& r = records[slot];
  if (!r.active || r.changeCount < 0 || r.changeCount >= kBulletChangeSlots) return false;
  BulletChange& c = r.changes;
  int i = r.changeCount;
  c.frame[i] = frame;
  c.x[i] = x;
  c.y[i] = y;
  c.speed[i] = speed;
  c.angle[i] = angle;
  c.accel[i] = accel;
  c.angularSpeed[i] = angularSpeed;
  c.lengthGrowth[i] = lengthGrowth;
  c.widthGrowth[i] = kChangeUnchanged;
  c.type[i] = type;
  ++r.changeCount;
  return true;
}
}  // namespace

bool Bullet::QueueChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                         float angle, float angularSpeed, int32_t type) {
  if (!StoreChange(records, slot, frame, x, y, speed, accel, angle, angularSpeed, kChangeUnchanged,
                   type))
    return false;
  // The sixteenth change fills the queue and takes the record off the field.
  if (records[slot].changeCount >= kBulletChangeSlots) records[slot].active = 0;
  return true;
}

bool Bullet::QueueLaserChange(int32_t slot, int32_t frame, float x, float y, float speed,
                              float accel, float angle, float angularSpeed,
                              int32_t lengthGrowth) {
  return StoreChange(records, slot, frame, x, y, speed, accel, angle, angularSpeed,
                     static_cast<float>(lengthGrowth), kChangeTypeUnchanged);
}

// ---- Update --------------------------------------------------------------------------

namespace {

void ApplyChange(BulletRecord& r, int i, float playerX, float playerY) {
  const BulletChange& c = r.changes;
  if (c.x[i] != kChangeUnchanged) r.x = c.x[i];
  if (c.y[i] != kChangeUnchanged) r.y = c.y[i];
  if (c.speed[i] != kChangeUnchanged) r.speed = c.speed[i];
  if (c.angle[i] == kChangeAimAtPlayer)
    r.angle = Degrees(FloatAtan2(playerY - r.y, playerX - r.x));
  else if (c.angle[i] != kChangeUnchanged)
    r.angle = c.angle[i];
  if (c.accel[i] != kChangeUnchanged) r.accel = c.accel[i];
  if (c.angularSpeed[i] != kChangeUnchanged) r.angularSpeed = c.angularSpeed[i];
  if (c.lengthGrowth[i] != kChangeUnchanged) r.lengthGrowth = c.lengthGrowth[i];
  if (c.widthGrowth[i] != kChangeUnchanged) r.widthGrowth = c.widthGrowth[i];
  if (c.type[i] != kChangeTypeUnchanged) r.type = c.type[i];
}

void Bounce(BulletRecord& r) {
  const BulletSprite& s = BulletSpriteOf(r.type);
  int32_t hw = s.w / 2, hh = s.h / 2;
  if (((r.bounceWalls & 1) && r.x > static_cast<float>(400 - hw)) ||
      ((r.bounceWalls & 4) && r.x < static_cast<float>(16 + hw))) {
    r.angle = 180.0f - r.angle;
    --r.bouncesLeft;
  }
  if (((r.bounceWalls & 2) && r.y > static_cast<float>(464 - hh)) ||
      ((r.bounceWalls & 8) && r.y < static_cast<float>(16 + hh))) {
    r.angle = -r.angle;
    --r.bouncesLeft;
  }
}

// The bullet-cancelling shots of this frame, gathered once.
struct CancelShot {
  float x, y, angle;
  int32_t radius;  // -1: a beam
  int32_t length, width;
};

bool ShotCancels(const CancelShot& s, const BulletRecord& r) {
  int32_t br = BulletRadius(r.type);
  int32_t reach = (s.radius == -1 ? s.length : s.radius) + br;
  double dx = static_cast<double>(r.x) - s.x;
  double dy = static_cast<double>(r.y) - s.y;
  double rr = static_cast<double>(reach);
  if (!(dx * dx + dy * dy < rr * rr)) return false;
  if (s.radius != -1) return true;
  return HitTestLaser(r.x, r.y, br, s.x, s.y, s.angle, static_cast<float>(s.length),
                      static_cast<float>(s.width));
}

}  // namespace

void Bullet::Update(GameState& state) {
  state_ = &state;
  float playerX = state.player ? state.player->x : 208.0f;
  float playerY = state.player ? state.player->y : 420.0f;

  if (state.freeze) {
    // Frozen: every record, in use or not, only drifts by its other motion.
    for (BulletRecord& r : records) {
      float a = Radians(r.altAngle);
      r.x += FloatCos(a) * r.altSpeed;
      r.y += FloatSin(a) * r.altSpeed;
    }
    return;
  }

  CancelShot cancels[kPlayerShotPoolSize];
  int cancelCount = 0;
  if (state.player) {
    const Player& p = *state.player;
    for (int j = 0; j < kPlayerShotPoolSize; ++j) {
      const PlayerShotSlot& s = p.shots[j];
      if (!s.active || !s.cancelsBullets) continue;
      const PlayerShotKind& k = PlayerShotKindOf(s.kind);
      cancels[cancelCount++] = {s.x, s.y, s.angle, k.radius, k.height, k.width};
    }
  }

  for (BulletRecord& r : records) {
    if (!r.active) continue;
    if (Appearing(r)) {
      if (r.wait > 0)
        --r.wait;
      else
        --r.delay;
      continue;
    }
    int n = r.changeCount < kBulletChangeSlots ? r.changeCount : kBulletChangeSlots;
    for (int i = 0; i < n; ++i)
      if (r.changes.frame[i] == r.frame) ApplyChange(r, i, playerX, playerY);

    r.speed += r.accel;
    r.angle += r.angularSpeed;
    r.length += r.lengthGrowth;
    r.width += r.widthGrowth;
    float a = Radians(r.angle);
    r.x += FloatCos(a) * r.speed;
    r.y += FloatSin(a) * r.speed;

    if (r.bouncesLeft > 0 && r.bounceWalls != 0) Bounce(r);

    if (!r.eraseProof) {
      for (int j = 0; j < cancelCount; ++j) {
        if (!ShotCancels(cancels[j], r)) continue;
        r.active = 0;
        if (state.item) state.item->Spawn(r.x, r.y, ItemCancel, -3, 90);
      }
    }

    if (r.x < -64.0f || r.y < -64.0f || r.x > 464.0f || r.y > 528.0f) r.active = 0;
    ++r.frame;
  }
}

// ---- Patterns ------------------------------------------------------------------------

void Bullet::Ring(float x, float y, float speed, float baseAngle, int32_t count, int32_t type,
                  int32_t wait, int32_t delay) {
  if (count < 1) return;
  float step = 360.0f / static_cast<float>(count);
  for (int32_t i = 0; i < count; ++i) {
    float angle = baseAngle + static_cast<float>(i) * step;
    if (i == 0)
      Spawn(type, x, y, speed, angle, delay, wait);
    else
      Spawn(type, x, y, speed, angle, 0, wait + delay);
  }
}

void Bullet::Fan(float x, float y, float speed, float centreAngle, float arc, int32_t count,
                 int32_t type, int32_t wait, int32_t delay) {
  if (count == 1) {
    Spawn(type, x, y, speed, centreAngle, delay, wait);
    return;
  }
  if (count < 1) return;
  float first = centreAngle - arc * 0.5f;
  for (int32_t i = 0; i < count; ++i) {
    float angle = first + static_cast<float>(i) * arc / static_cast<float>(count - 1);
    if (i == 0)
      Spawn(type, x, y, speed, angle, delay, wait);
    else
      Spawn(type, x, y, speed, angle, 0, wait + delay);
  }
}

void Bullet::Line(float x, float y, float maxSpeed, float angle, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    float speed = static_cast<float>(i + 1) * maxSpeed / static_cast<float>(count + 1);
    if (i == 0)
      Spawn(120, x, y, speed, angle, 10, 0);
    else
      Spawn(120, x, y, speed, angle, 0, 10);
  }
}

void Bullet::LaserChain(float x, float y, float angle, int32_t type, float length, float width,
                        int32_t wait, int32_t removeFrame, int32_t depth) {
  // A full pool ends the walk: nothing more could be spawned, and a deep tree
  // would otherwise take 2^depth steps to spawn nothing.
  if (depth <= 0 || FirstFree(records) < 0) return;
  int32_t len = FloatToIntTrunc(length);
  int32_t wid = FloatToIntTrunc(width);
  int32_t step = 50 - static_cast<int32_t>(state_ ? state_->difficulty : 0);
  int32_t w = wait;
  for (int32_t k = 0; k < depth; ++k) {
    int32_t slot = SpawnLaser(x, y, 0.0f, angle, type, len, wid, 60, w);
    if (slot < 0) return;
    QueueChange(slot, removeFrame, -1000.0f, kChangeUnchanged, kChangeUnchanged, kChangeUnchanged,
                kChangeUnchanged, kChangeUnchanged, kChangeTypeUnchanged);
    w += step;
    float a = Radians(angle);
    x += FloatCos(a) * length;
    y += FloatSin(a) * length;
    LaserChain(x, y, angle - 45.0f, type, length, width, w, removeFrame, depth - 1 - k);
    angle += 45.0f;
  }
}

// ---- Queries and setters --------------------------------------------------------------

float Bullet::GetX(int32_t slot) const { return ValidSlot(slot) ? records[slot].x : 0.0f; }
float Bullet::GetY(int32_t slot) const { return ValidSlot(slot) ? records[slot].y : 0.0f; }
int32_t Bullet::GetType(int32_t slot) const { return ValidSlot(slot) ? records[slot].type : 0; }

float Bullet::GetFacing(int32_t slot) const {
  if (!ValidSlot(slot)) return 0.0f;
  const BulletRecord& r = records[slot];
  if (!r.facingOn) return r.angle;
  if (r.isLaser) return r.facingAngle;
  return FixedFacingFamily(r.type) ? r.angle : r.facingAngle;
}

bool Bullet::IsHittable(int32_t slot) const {
  return ValidSlot(slot) && records[slot].active && !Appearing(records[slot]);
}

int32_t Bullet::GetLaserState(int32_t slot) const {
  if (!ValidSlot(slot)) return 0;
  const BulletRecord& r = records[slot];
  if (r.wait > 0 || !r.isLaser) return 0;
  return r.delay <= -10 ? 1 : 2;
}

int32_t Bullet::CountActive() const {
  int32_t n = 0;
  for (const BulletRecord& r : records) n += r.active ? 1 : 0;
  return n;
}

namespace {
BulletRecord* Live(BulletRecord* records, int32_t slot) {
  return ValidSlot(slot) && records[slot].active ? &records[slot] : nullptr;
}
}  // namespace

bool Bullet::SetAngle(int32_t slot, float angle) {
  BulletRecord* r = Live(records, slot);
  if (r) r->angle = angle;
  return r != nullptr;
}

bool Bullet::SetBounce(int32_t slot, int32_t count, bool top, bool right, bool bottom, bool left) {
  BulletRecord* r = Live(records, slot);
  if (!r) return false;
  r->bounceWalls = (right ? 1 : 0) + (bottom ? 2 : 0) + (left ? 4 : 0) + (top ? 8 : 0);
  r->bouncesLeft = count;
  return true;
}

bool Bullet::SetEraseProof(int32_t slot) {
  BulletRecord* r = Live(records, slot);
  if (r) r->eraseProof = 1;
  return r != nullptr;
}

bool Bullet::SetFacing(int32_t slot, bool on, float angle) {
  BulletRecord* r = Live(records, slot);
  if (!r) return false;
  r->facingOn = on ? 1 : 0;
  r->facingAngle = angle;
  return true;
}

bool Bullet::SetSpin(int32_t slot, float rate, int32_t frames) {
  BulletRecord* r = Live(records, slot);
  if (!r) return false;
  r->spinRate = rate;
  r->spinOn = 1;
  r->spinEnd = static_cast<int32_t>(static_cast<uint32_t>(r->frame) + static_cast<uint32_t>(frames));
  return true;
}

bool Bullet::SetAltMotion(int32_t slot, float speed, float angle) {
  BulletRecord* r = Live(records, slot);
  if (!r) return false;
  r->altSpeed = speed;
  r->altAngle = angle;
  return true;
}

bool Bullet::SetHarmless(int32_t slot) {
  BulletRecord* r = Live(records, slot);
  if (r) r->hitsPlayer = 0;
  return r != nullptr;
}

bool Bullet::SetColor(int32_t slot, uint32_t rgb) {
  BulletRecord* r = Live(records, slot);
  if (r) r->color = rgb;
  return r != nullptr;
}

bool Bullet::MarkGrazed(int32_t slot) {
  BulletRecord* r = Live(records, slot);
  if (r) r->grazed = 1;
  return r != nullptr;
}

// ---- Erasing ---------------------------------------------------------------------------

namespace {
// Removes the active records within radius of (cx, cy), erase-proof ones only
// when `forced`, each turned into a cancel item when `toItems`.
int32_t Erase(BulletRecord* records, GameState* state, float cx, float cy, int32_t radius,
              bool forced, bool toItems) {
  int32_t n = 0;
  for (int i = 0; i < kBulletPoolSize; ++i) {
    BulletRecord& r = records[i];
    if (!r.active || (r.eraseProof && !forced) || !Within(r, cx, cy, radius)) continue;
    r.active = 0;
    ++n;
    if (toItems && state && state->item) state->item->Spawn(r.x, r.y, ItemCancel, -3, 90);
  }
  return n;
}
}  // namespace

int32_t Bullet::EraseAll() { return Erase(records, state_, 208.0f, 240.0f, 1001, false, false); }
int32_t Bullet::EraseAllForced() { return Erase(records, state_, 208.0f, 240.0f, 1001, true, false); }
int32_t Bullet::EraseAllToItems() { return Erase(records, state_, 208.0f, 240.0f, 1001, true, true); }
int32_t Bullet::EraseNearToItems(int32_t x, int32_t y, int32_t radius) {
  // radius + 1 in 64 bits: a radius near the int limit must not wrap.
  int64_t r = static_cast<int64_t>(radius) + 1;
  if (r > INT32_MAX) r = INT32_MAX;
  return Erase(records, state_, static_cast<float>(x), static_cast<float>(y),
               static_cast<int32_t>(r), false, true);
}

// ---- Drawing ---------------------------------------------------------------------------

void Bullet::Draw(GameState& state) {
  ApiSetDrawFilter(1);
  const bool frozen = state.freeze != 0;
  for (const BulletRecord& r : records) {
    // Types outside the sheet's 256 draw nothing, not even the flash.
    if (!r.active || r.wait > 0 || r.type < 0 || r.type > 255) continue;
    const bool tinted = r.color != 0xFFFFFF;
    if (tinted)
      ApiSetDrawBrightness(static_cast<int>((r.color >> 16) & 0xFF),
                           static_cast<int>((r.color >> 8) & 0xFF), static_cast<int>(r.color & 0xFF));
    int32_t sprite = sprites[r.type];
    if (r.isLaser) {
      float a = r.facingOn ? r.facingAngle : r.angle;
      float half;
      if (r.delay > 0)
        half = r.width / 20.0f;
      else if (r.delay > -10)
        half = r.width / static_cast<float>(2 * r.delay + 20);
      else
        half = r.width * 0.5f;
      float ap = Radians(a + 45.0f), aq = Radians(a - 45.0f), ad = Radians(a);
      float px = r.x + half * FloatCos(ap), py = r.y + half * FloatSin(ap);
      float qx = r.x + half * FloatCos(aq), qy = r.y + half * FloatSin(aq);
      float dx = r.length * FloatCos(ad), dy = r.length * FloatSin(ad);
      if (sprite != -1) {
        ApiSetBlendMode(2, 255);
        ApiDrawGraphQuad(Pixel(px + dx), Pixel(py + dy), Pixel(qx + dx), Pixel(qy + dy), Pixel(qx),
                         Pixel(qy), Pixel(px), Pixel(py), sprite, 1);
      }
    } else {
      if (frozen && sprite != -1) {
        static const int kTrailAlpha[4] = {64, 48, 32, 16};
        float back = Radians(r.altAngle + 180.0f);
        for (int k = 0; k < 4; ++k) {
          float d = 4.0f * static_cast<float>(k + 1);
          ApiSetBlendMode(1, kTrailAlpha[k]);
          ApiDrawGraphRotated(Pixel(r.x + d * FloatCos(back)), Pixel(r.y + d * FloatSin(back)), 1.0,
                              Radians(r.angle + 90.0f), sprite, 1, 0);
        }
      }
      if (r.delay != 0) {
        int32_t flashType = r.type >= 170 ? 19 : 10 + r.type % 10;
        int64_t fade = 495 - 8 * static_cast<int64_t>(r.delay);
        int32_t alpha = fade < 0 ? 0 : fade > 255 ? 255 : static_cast<int32_t>(fade);
        int32_t flash = sprites[flashType];
        if (flash != -1 && alpha > 0) {
          ApiSetBlendMode(2, alpha);
          ApiDrawGraphRotated(Pixel(r.x), Pixel(r.y), static_cast<double>(r.delay) / 30.0 + 1.0, 0.0,
                              flash, 1, 0);
        }
      } else if (sprite != -1) {
        ApiSetBlendMode(Additive(r.type) ? 2 : 0, 255);
        float rot;
        if (r.facingOn)
          rot = r.facingAngle + 90.0f;
        else if (r.spinOn && r.frame < r.spinEnd)
          rot = r.spinRate * static_cast<float>(r.frame) + r.angle + 90.0f;
        else
          rot = r.angle + 90.0f;
        ApiDrawGraphRotated(Pixel(r.x), Pixel(r.y), 1.0, Radians(rot), sprite, 1, 0);
      }
    }
    ApiSetBlendMode(0, 255);
    if (tinted) ApiSetDrawBrightness(255, 255, 255);
  }
}

// ---- Digest ----------------------------------------------------------------------------

uint64_t Bullet::Hash() const {
  StateHasher h;
  for (const BulletRecord& r : records) {
    h.Add(r.x);
    h.Add(r.y);
    h.Add(r.speed);
    h.Add(r.angle);
    h.Add(r.accel);
    h.Add(r.angularSpeed);
    h.Add(r.type);
    h.Add(r.active);
    h.Add(r.grazed);
    h.Add(r.frame);
    h.Add(r.isLaser);
    h.Add(r.length);
    h.Add(r.width);
    h.Add(r.lengthGrowth);
    h.Add(r.widthGrowth);
    h.Add(r.delay);
    h.Add(r.wait);
    h.Add(r.changeCount);
    int n = r.changeCount >= 0 && r.changeCount <= kBulletChangeSlots ? r.changeCount : 0;
    for (int i = 0; i < n; ++i) {
      h.Add(r.changes.frame[i]);
      h.Add(r.changes.x[i]);
      h.Add(r.changes.y[i]);
      h.Add(r.changes.speed[i]);
      h.Add(r.changes.angle[i]);
      h.Add(r.changes.accel[i]);
      h.Add(r.changes.angularSpeed[i]);
      h.Add(r.changes.lengthGrowth[i]);
      h.Add(r.changes.widthGrowth[i]);
      h.Add(r.changes.type[i]);
    }
    h.Add(r.bounceWalls);
    h.Add(r.bouncesLeft);
    h.Add(r.eraseProof);
    h.Add(r.altAngle);
    h.Add(r.altSpeed);
    h.Add(r.facingOn);
    h.Add(r.facingAngle);
    h.Add(r.spinOn);
    h.Add(r.spinRate);
    h.Add(r.spinEnd);
    h.Add(r.hitsPlayer);
    h.Add(r.color);
  }
  return h.Value();
}
