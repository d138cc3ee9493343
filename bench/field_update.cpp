// Play-field update cost: a full pool of 2048 bullets and lasers, each with
// queued changes (aimed turns among them), and 256 items, updated as in play
// (items, bullets, then the player's collision pass). Prints the cost per
// frame; it asserts nothing about time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

namespace {

constexpr float U = kChangeUnchanged;
constexpr int32_t UT = kChangeTypeUnchanged;

uint32_t g_seed = 12345;
uint32_t Next() {
  g_seed = g_seed * 1664525u + 1013904223u;
  return g_seed >> 8;
}
float Uniform(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(Next() % 10000) / 10000.0f; }

void Refill(Bullet& b) {
  for (int i = 0; i < kBulletPoolSize; ++i) {
    if (b.records[i].active) continue;
    int slot;
    if (i % 16 == 0)
      slot = b.SpawnLaser(Uniform(40, 370), Uniform(30, 200), 0.3f, Uniform(0, 360), 3, 120, 12, 20, 0);
    else
      slot = b.Spawn(static_cast<int32_t>(Next() % 170), Uniform(40, 370), Uniform(30, 400),
                     Uniform(0.2f, 1.0f), Uniform(0, 360), static_cast<int32_t>(Next() % 20), 0);
    for (int k = 0; k < 8; ++k) {
      float angle = k % 3 == 2 ? kChangeAimAtPlayer : Uniform(0, 360);
      b.QueueChange(slot, 20 + 25 * k, U, U, Uniform(0.2f, 1.0f), U, angle, U, k == 4 ? 41 : UT);
    }
    if (i % 5 == 0) b.SetBounce(slot, 2, true, true, true, true);
  }
}

void RefillItems(Item& it) {
  for (int i = 0; i < kItemPoolSize; ++i)
    if (!it.slots[i].active) it.Spawn(Uniform(20, 390), Uniform(20, 200), static_cast<int32_t>(Next() % 8), -3, 90);
}

double Millis(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char* what, std::vector<double> t) {
  std::sort(t.begin(), t.end());
  double sum = 0;
  for (double v : t) sum += v;
  std::printf("%-34s mean %.4f ms  median %.4f ms  p99 %.4f ms  (%zu frames)\n", what, sum / t.size(),
              t[t.size() / 2], t[t.size() * 99 / 100], t.size());
}

}  // namespace

int main() {
  auto state = std::make_unique<GameState>();
  GameState& s = *state;
  s.playerSheet = -1;
  s.otherSheet = -1;
  auto bullet = std::make_unique<Bullet>(s);
  auto item = std::make_unique<Item>(s);
  auto player = std::make_unique<Player>(s);
  s.bullet = bullet.get();
  s.item = item.get();
  s.player = player.get();
  s.scene = ScenePlaying;
  s.playback = 1;
  s.replayHeader.inputCount = 1u << 30;
  s.lives = 9;
  player->y = 440.0f;  // below the items' collection line, away from most bullets

  constexpr int kFrames = 3000;
  std::vector<double> field, withPlayer, digest;
  int activeMin = kBulletPoolSize, itemsMin = kItemPoolSize;
  for (int f = 0; f < kFrames; ++f) {
    Refill(*bullet);
    RefillItems(*item);
    activeMin = std::min(activeMin, bullet->CountActive());
    itemsMin = std::min(itemsMin, item->CountActive());
    player->invulnerable = 1000;  // the collision pass below is timed on its own
    player->missed = 0;
    s.inputIndex = 0;
    auto t0 = std::chrono::steady_clock::now();
    item->Update(s);
    bullet->Update(s);
    auto t1 = std::chrono::steady_clock::now();
    player->invulnerable = 0;
    player->hitCounter = 0;
    player->Update(s);
    auto t2 = std::chrono::steady_clock::now();
    volatile uint64_t d = ComputeFrameDigest(s).Combined();
    (void)d;
    auto t3 = std::chrono::steady_clock::now();
    if (f >= 100) {
      field.push_back(Millis(t1 - t0));
      withPlayer.push_back(Millis(t2 - t0));
      digest.push_back(Millis(t3 - t2));
    }
  }
  std::printf("bullets active at each frame's start: at least %d of %d; items at least %d of %d\n",
              activeMin, kBulletPoolSize, itemsMin, kItemPoolSize);
  Report("Item + Bullet update", field);
  Report("Item + Bullet + Player update", withPlayer);
  Report("frame digest", digest);
  return 0;
}
