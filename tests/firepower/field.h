// The firepower tests' field: the directly built play field with enemies,
// familiars and the boss, plus a counter of the generator's draws.
#pragma once
#include <cstdint>
#include <memory>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/direct_field.h"
#include "playfield/enemy.h"
#include "playfield/maho.h"
#include "shell/input.h"

struct Field : DirectField {
  std::unique_ptr<Enemy> enemy;
  std::unique_ptr<Maho> maho;
  std::unique_ptr<Boss> boss;

  explicit Field(uint32_t difficulty = 1, uint32_t character = 0)
      : DirectField(difficulty, character) {
    GameState& s = *state;
    enemy = std::make_unique<Enemy>(s);
    maho = std::make_unique<Maho>(s);
    boss = std::make_unique<Boss>(s);
    s.enemy = enemy.get();
    s.maho = maho.get();
    s.boss = boss.get();
    player->x = 208.0f;
    player->y = 400.0f;
    player->slow = 0;
  }
};

// Counts the generator's draws since Start: the next few values after the
// run are looked up in the sequence of the same seed.
class DrawCounter {
 public:
  void Start(uint32_t seed) {
    seed_ = seed;
    ApiSeedRandom(seed);
  }
  int Count() {
    uint32_t probe[4];
    for (uint32_t& p : probe) p = static_cast<uint32_t>(ApiRandomInRange(0x7FFFFFFF));
    ApiSeedRandom(seed_);
    uint32_t window[4];
    for (int n = 0; n < 200000; ++n) {
      window[n % 4] = static_cast<uint32_t>(ApiRandomInRange(0x7FFFFFFF));
      if (n < 3) continue;
      bool same = true;
      for (int k = 0; k < 4; ++k) same = same && window[(n - 3 + k) % 4] == probe[k];
      if (same) return n - 3;
    }
    return -1;
  }

 private:
  uint32_t seed_ = 0;
};
