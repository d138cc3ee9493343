// Familiar pool: spawning, the per-frame update with shot hits shared with the
// owner, deaths that cancel nearby bullets, and drawing.
#include "playfield/maho.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/enemy.h"
#include "playfield/enemy_pool.h"
#include "playfield/enemy_script.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {
constexpr int32_t kDeathFrames = 10;

bool OwnerIsEnemy(int32_t owner) { return owner >= 0 && owner < kEnemyPoolSize; }

// The owner takes its share of a hit: hp - damage x factor, truncated.
void PassDamage(GameState& state, const MahoSlot& s, int32_t damage) {
  int32_t* hp = nullptr;
  if (s.owner == -1 && state.boss != nullptr) hp = &state.boss->hp;
  if (OwnerIsEnemy(s.owner) && state.enemy != nullptr) hp = &state.enemy->slots[s.owner].hp;
  if (hp == nullptr) return;
  const float left = static_cast<float>(*hp) - static_cast<float>(damage) * s.damageFactor;
  *hp = script::Trunc(left);
}

// A familiar dies with its owner: the boss gone, or the owner enemy dying.
bool OwnerGone(const GameState& state, const MahoSlot& s) {
  if (s.owner == -1) return state.boss == nullptr || state.boss->active == 0;
  if (OwnerIsEnemy(s.owner) && state.enemy != nullptr)
    return state.enemy->slots[s.owner].deathTimer != 0;
  return false;
}
}  // namespace

Maho::Maho(GameState& state) {
  for (int i = 0; i < 32; ++i) sprites[i] = -1;
  for (int i = 0; i < 4; ++i) burstImages[i] = -1;
  std::memset(slots, 0, sizeof slots);
  if (state.zakoSheet > 0)
    for (int32_t i = 0; i < 32; ++i)
      sprites[i] = ApiDeriveSubGraph(((i % 16) + 1) * 64, ((i / 16) + 6) * 64, 64, 64,
                                     state.zakoSheet);
  if (state.otherSheet > 0)
    for (int32_t k = 0; k < 4; ++k)
      burstImages[k] = ApiDeriveSubGraph(32 * k, 384, 32, 32, state.otherSheet);
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
  const int32_t i = pool::FirstFree(slots);
  if (i < 0) return -1;
  MahoSlot& s = slots[i];
  pool::Start(s, kind, x, y);
  s.owner = owner;
  s.damageFactor = damageFactor;
  s.sprite = sprite;
  s.subKind = subKind;
  return i;
}

int32_t Maho::CountActive() const { return pool::CountActive(slots); }

uint64_t Maho::Hash() const {
  StateHasher h;
  for (const MahoSlot& s : slots) {
    h.Add(s.x); h.Add(s.y); h.Add(s.kind); h.Add(s.speed); h.Add(s.angle);
    h.Add(s.motionFrames); h.Add(s.frame); h.Add(s.hp); h.Add(s.active); h.Add(s.deathTimer);
    h.Add(s.burstAngle); h.Add(s.sprite); h.Add(s.owner); h.Add(s.damageFactor);
    h.Add(s.subKind);
    h.AddArray(s.scriptWords);
  }
  return h.Value();
}

void Maho::Update(GameState& state) {
  Player* player = state.player;
  for (int32_t i = 0; i < kMahoPoolSize; ++i) {
    MahoSlot& s = slots[i];
    if (s.active == 0) continue;
    if (s.deathTimer == 0) {
      // A script may end its familiar outright; the rest of its frame still
      // runs (motion, shot hits, the owner check and the death test).
      RunKind(state, i);
      pool::StepMotion(s);
      if (player != nullptr && player->slow != 1)
        pool::TakeShotHits(state, *player, s.x, s.y, hitRadius, [&](int32_t damage) {
          s.hp -= damage;
          PassDamage(state, s, damage);
        });
      if (OwnerGone(state, s)) s.hp = 0;
    }
    if (s.hp <= 0 && s.deathTimer == 0) {
      script::PlaySe(state, SeDead);
      s.deathTimer = kDeathFrames;
      s.burstAngle = script::Random(359);
      if (state.bullet != nullptr) pool::CancelNearForGauge(state, s.x, s.y);
    }
    if (s.deathTimer > 1) {
      s.deathTimer -= 1;
    } else if (s.deathTimer == 1) {
      s.deathTimer = 0;
      s.active = 0;
    }
    if (script::OffField(s.x, s.y)) s.active = 0;
    s.frame += 1;
  }
}

void Maho::Draw(GameState& state) {
  const bool slowRow = state.player != nullptr && state.player->slow == 1;
  for (const MahoSlot& s : slots) {
    if (s.active == 0 || s.sprite < 0) continue;
    const int32_t x = script::Trunc(s.x);
    const int32_t y = script::Trunc(s.y);
    if (s.deathTimer == 0) {
      if (s.sprite >= 16) continue;
      const int32_t graph = sprites[slowRow ? s.sprite : s.sprite + 16];
      if (graph != -1) ApiDrawGraphRotated(x, y, 1.0, 0.0, graph, 1, 0);
      continue;
    }
    if (s.sprite >= 4 || burstImages[s.sprite] == -1) continue;
    const int32_t graph = burstImages[s.sprite];
    const int32_t t = s.deathTimer;
    ApiSetBlendMode(1, 25 * t);
    ApiDrawGraphRotated(x, y, 4.0 - (t / 5.0 + 1.0), 0.0, graph, 1, 0);
    const float r1 = 3.2f * static_cast<float>(t);
    const float r2 = 9.6f * static_cast<float>(kDeathFrames - t);
    pool::DrawBurstStreak(s.x, s.y, s.burstAngle, r1, r2, graph);
    ApiSetBlendMode(0, 255);
  }
}
