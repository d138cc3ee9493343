// Item pool: spawning, falling, flying to the player, collection, the extra
// lives by point items and the full-power conversion.
#include "playfield/item.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/sound.h"

const int32_t kExtendThresholds[6] = {50, 125, 200, 300, 450, 9999};
const int32_t kExtendThresholdsExtra[4] = {100, 200, 400, 9999};

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int32_t kExtendEnd = 9999;

void PlaySound(GameState& s, int effect) {
  if (s.sound) s.sound->Play(effect);
}

float SquaredDistance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1, dy = y2 - y1;
  return dx * dx + dy * dy;
}

// What collecting an item of `kind` does to the play counters.
void Collect(GameState& s, int32_t kind, float playerY) {
  switch (kind) {
    case ItemPower: ++s.power; break;
    case ItemBigPower: s.power += 8; break;
    case ItemPoint: {
      // Below the field's bottom the formula turns negative: nothing is taken.
      double value = (1.0 - static_cast<double>(playerY) / 448.0) * 100000.0;
      if (value > 0.0) AddScore(s, static_cast<uint64_t>(value));
      ++s.pointItems;
      ++s.stagePointItems;
      break;
    }
    case ItemBomb: ++s.bombs; break;
    case ItemExtend:
      PlaySound(s, SeExtend);
      ++s.lives;
      break;
    case ItemCancel: AddScore(s, s.graze <= 0 ? 0u : static_cast<uint64_t>(s.graze < 5000 ? s.graze : 5000)); break;
    case ItemFullPower: s.power = 128; break;
    case ItemGauge:
      s.gauge += 10;
      ++s.stageKind7Items;
      break;
    default: break;
  }
}

}  // namespace

void AddScore(GameState& state, uint64_t points) {
  uint64_t sum = static_cast<uint64_t>(state.score) + points;
  state.score = sum > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

Item::Item(GameState& state) : prevPower(0), lastSlot(-1), state_(&state) {
  for (int i = 0; i < 16; ++i) images[i] = -1;
  std::memset(slots, 0, sizeof slots);
  if (ApiLoadGraphFileSplit("vko01\\item.tga", 16, 8, 2, 16, 16, images, 0) == -1)
    for (int i = 0; i < 16; ++i) images[i] = -1;
}

Item::~Item() {
  for (int i = 0; i < 16; ++i)
    if (images[i] != -1) ApiFreeGraphHandle(images[i], 0);
}

void Item::ClearPool() {
  std::memset(slots, 0, sizeof slots);
  prevPower = 0;
  lastSlot = -1;
}

int32_t Item::Spawn(float x, float y, int32_t kind, int32_t speed, int32_t angle) {
  lastSlot = -1;
  if (kind < ItemPower || kind > ItemGauge) return -1;
  for (int i = 0; i < kItemPoolSize; ++i) {
    ItemSlot& s = slots[i];
    if (s.active) continue;
    s.x = x;
    s.y = y;
    s.speed = static_cast<float>(speed);
    s.angle = static_cast<float>(angle);
    s.kind = kind;
    s.active = 1;
    s.frame = 0;
    s.attracted = kind == ItemCancel ? 1 : 0;
    if (kind == ItemCancel) s.speed = 10.0f;
    lastSlot = i;
    return i;
  }
  return -1;
}

void Item::SetAttraction(bool on) {
  for (ItemSlot& s : slots) {
    if (!s.active) continue;
    if (on) {
      s.attracted = 1;
      s.speed = 10.0f;
    } else if (s.attracted) {
      s.attracted = 0;
      s.speed = 1.5f;
    }
  }
}

int32_t Item::CountActive() const {
  int32_t n = 0;
  for (const ItemSlot& s : slots) n += s.active ? 1 : 0;
  return n;
}

void Item::Update(GameState& state) {
  state_ = &state;
  prevPower = state.power;
  const Player* p = state.player;
  const float px = p ? p->x : 208.0f;
  const float py = p ? p->y : 420.0f;
  const bool missed = p ? p->missed != 0 : true;
  const bool slow = p && p->slow == 1;
  const float collectLine = p ? p->collectLine : 128.0f;
  const int32_t reach = (p ? p->hitRadius : 2) + 16;
  const float reachSquared = static_cast<float>(reach * reach);

  for (ItemSlot& s : slots) {
    if (!s.active) continue;
    if (state.power == 128 && prevPower == 128 && (s.kind == ItemPower || s.kind == ItemBigPower))
      s.kind = ItemPoint;
    if (s.speed < 1.5f) s.speed += 0.05f;

    if (p && py <= collectLine && !missed) {
      s.attracted = 1;
      s.speed = 10.0f;
    } else if (p && SquaredDistance(s.x, s.y, px, py) < 4096.0f && slow) {
      if (!s.attracted && !missed) {
        s.attracted = 1;
        s.speed = 5.0f;
      }
    }

    if (s.attracted)
      s.angle = static_cast<float>(static_cast<double>(FloatAtan2(py - s.y, px - s.x)) * 180.0 / kPi);
    else if (s.speed >= 0.0f)
      s.angle = 90.0f;

    float a = static_cast<float>(static_cast<double>(s.angle) / 180.0 * kPi);
    s.x += FloatCos(a) * s.speed;
    s.y += FloatSin(a) * s.speed;

    if (p && !missed && SquaredDistance(s.x, s.y, px, py) < reachSquared) {
      Collect(state, s.kind, py);
      PlaySound(state, SeItem);
      if (state.power > 128) state.power = 128;
      s.active = 0;
    }

    if (s.x < 16.0f) s.x = 16.0f;
    if (s.x >= 400.0f) s.x = 384.0f;
    if (s.y > 512.0f) s.active = 0;
    ++s.frame;
  }

  if (state.power == 128 && prevPower < 128) {
    PlaySound(state, SePowerMax);
    if (state.bullet) state.bullet->EraseNearToItems(208, 240, 1000);
    for (ItemSlot& s : slots) {
      if (!s.active || s.attracted || (s.kind != ItemPower && s.kind != ItemBigPower)) continue;
      s.kind = ItemPoint;
      s.speed = -2.0f;
      s.angle = 90.0f;
    }
  }

  // One extra life a frame at most; the list's end marker is never passed.
  const int32_t* table = state.difficulty == 4 ? kExtendThresholdsExtra : kExtendThresholds;
  const int32_t length = state.difficulty == 4 ? 4 : 6;
  if (state.extends >= 0 && state.extends < length && table[state.extends] != kExtendEnd &&
      state.pointItems >= table[state.extends]) {
    PlaySound(state, SeExtend);
    ++state.lives;
    ++state.extends;
  }

  if (state.lives >= 10) state.lives = 9;
  if (state.bombs >= 10) state.bombs = 9;
}

void Item::Draw(GameState&) {
  for (const ItemSlot& s : slots) {
    if (!s.active || s.kind < ItemPower || s.kind > ItemGauge) continue;
    int x = FloatToIntTrunc(s.x);
    if (s.y < 16.0f) {
      if (images[8 + s.kind] != -1) ApiDrawGraphRotated(x, 24, 1.0, 0.0, images[8 + s.kind], 1, 0);
    } else if (images[s.kind] != -1) {
      double angle = s.speed < 0.0f ? static_cast<double>(s.frame) * 20.0 / 180.0 * kPi : 0.0;
      ApiDrawGraphRotated(x, FloatToIntTrunc(s.y), 1.0, angle, images[s.kind], 1, 0);
    }
  }
}

uint64_t Item::Hash() const {
  StateHasher h;
  h.Add(prevPower);
  h.Add(lastSlot);
  for (const ItemSlot& s : slots) {
    h.Add(s.x);
    h.Add(s.y);
    h.Add(s.speed);
    h.Add(s.angle);
    h.Add(s.kind);
    h.Add(s.active);
    h.Add(s.attracted);
    h.Add(s.frame);
  }
  return h.Value();
}
