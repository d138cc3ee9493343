// Enemy pool: spawning, the per-frame update with shot hits and deaths, and
// drawing with the death burst.
#include "playfield/enemy.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/enemy_pool.h"
#include "playfield/enemy_script.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
constexpr int32_t kSheetColumns = 24;
constexpr int32_t kDeathTimerEnd = 10;

// Sprite cell of a live enemy: its set, its animation column and the row by
// its heading (front, left-moving +24, right-moving +48). -1 when the set
// lies outside the sheet.
int32_t SpriteCell(const EnemySlot& s) {
  if (s.sprite < 0 || s.sprite >= 32 || s.animFrame < 0 || s.animFrame > 2) return -1;
  int32_t index = 72 * (s.sprite / 8) + 3 * (s.sprite % 8) + s.animFrame;
  if (s.motionFrames != 0 && s.speed > 0.5f) {
    int32_t r = script::Trunc(s.angle) % 360;
    if (r == 90 || r == 270) {
    } else if ((r > 90 && r < 270) || (r > -270 && r < -90)) {
      index += 24;
    } else {
      index += 48;
    }
  }
  return index < kEnemySpriteCount ? index : -1;
}
}  // namespace

Enemy::Enemy(GameState& state) : underlayImage(-1) {
  for (int i = 0; i < 360; ++i) sprites[i] = -1;
  for (int i = 0; i < 4; ++i) burstImages[i] = -1;
  std::memset(slots, 0, sizeof slots);
  const int32_t cw = static_cast<int32_t>(cellWidth);
  const int32_t ch = static_cast<int32_t>(cellHeight);
  if (state.zakoSheet > 0) {
    for (int32_t i = 0; i < kEnemySpriteCount; ++i)
      sprites[i] = ApiDeriveSubGraph((i % kSheetColumns) * cw, (i / kSheetColumns) * ch, cw, ch,
                                     state.zakoSheet);
    underlayImage = ApiDeriveSubGraph(0, 384, 64, 64, state.zakoSheet);
  }
  if (state.otherSheet > 0)
    for (int32_t k = 0; k < 4; ++k)
      burstImages[k] = ApiDeriveSubGraph(32 * k, 352, 32, 32, state.otherSheet);
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
  const int32_t i = pool::FirstFree(slots);
  if (i < 0) return -1;
  EnemySlot& s = slots[i];
  pool::Start(s, kind, x, y);
  s.dropItem = dropItem;
  s.sprite = sprite;
  s.underlay = underlay;
  s.animFrame = 0;
  s.animStep = 1;
  return i;
}

int32_t Enemy::CountActive() const { return pool::CountActive(slots); }

uint64_t Enemy::Hash() const {
  StateHasher h;
  for (const EnemySlot& s : slots) {
    h.Add(s.x); h.Add(s.y); h.Add(s.kind); h.Add(s.speed); h.Add(s.angle);
    h.Add(s.dropItem); h.Add(s.motionFrames); h.Add(s.animFrame); h.Add(s.frame); h.Add(s.hp);
    h.Add(s.active); h.Add(s.deathTimer); h.Add(s.burstAngle); h.Add(s.underlay);
    h.Add(s.sprite); h.Add(s.animStep); h.Add(s.scratch);
  }
  h.Add(sharedScratch);
  return h.Value();
}

void Enemy::Update(GameState& state) {
  Player* player = state.player;
  for (int32_t i = 0; i < kEnemyPoolSize; ++i) {
    EnemySlot& s = slots[i];
    if (s.active == 0) continue;
    if (s.deathTimer == 0) {
      RunKind(state, i);
      pool::StepMotion(s);
      if (player != nullptr)
        pool::TakeShotHits(state, *player, s.x, s.y, hitRadius,
                           [&s](int32_t damage) { s.hp -= damage; });
      if (s.frame % 10 == 0) {
        s.animFrame += s.animStep;
        if (s.animFrame >= 2 || s.animFrame <= 0) s.animStep = -s.animStep;
      }
    }
    if (s.hp <= 0 && s.deathTimer == 0) {
      script::PlaySe(state, SeDead);
      if (s.dropItem != -1 && state.item != nullptr) state.item->Spawn(s.x, s.y, s.dropItem, -3, 90);
      s.deathTimer = 1;
      s.burstAngle = script::Random(359);
      if (state.character == 4 && state.gaugeActive != 0 && state.bullet != nullptr)
        pool::CancelNearForGauge(state, s.x, s.y);
    }
    if (s.deathTimer != 0) {
      s.deathTimer += 1;
      if (s.deathTimer >= kDeathTimerEnd) {
        s.deathTimer = 0;
        s.active = 0;
      }
    }
    if (script::OffField(s.x, s.y)) s.active = 0;
    s.frame += 1;
  }
}

void Enemy::Draw(GameState&) {
  for (const EnemySlot& s : slots) {
    if (s.active == 0) continue;
    const int32_t x = script::Trunc(s.x);
    const int32_t y = script::Trunc(s.y);
    if (s.deathTimer == 0) {
      if (s.underlay != 0 && underlayImage != -1)
        ApiDrawGraphRotated(x, y, 1.0, 0.0, underlayImage, 1, 0);
      const int32_t cell = SpriteCell(s);
      if (cell >= 0 && sprites[cell] != -1) ApiDrawGraphRotated(x, y, 1.0, 0.0, sprites[cell], 1, 0);
      continue;
    }
    const int32_t burst = s.sprite / 8;
    if (s.sprite < 0 || burst >= 4 || burstImages[burst] == -1) continue;
    const int32_t t = s.deathTimer;
    const int32_t graph = burstImages[burst];
    ApiSetBlendMode(1, 255 - 25 * t);
    ApiDrawGraphRotated(x, y, 1.0 + t / 5.0, 0.0, graph, 1, 0);
    const float r1 = 3.2f * static_cast<float>(kDeathTimerEnd - t);
    const float r2 = 9.6f * static_cast<float>(t);
    pool::DrawBurstStreak(s.x, s.y, s.burstAngle, r1, r2, graph);
    ApiSetBlendMode(0, 255);
  }
}
