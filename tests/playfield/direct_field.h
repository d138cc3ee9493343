// A play field built directly (no library start): a zeroed GameState in play
// with the bullet, item and player objects and no picture sheets. The
// playfield and firepower fields build on it.
#pragma once
#include <cstdint>
#include <memory>

#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamestate.h"

struct DirectField {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  std::unique_ptr<Bullet> bullet;
  std::unique_ptr<Item> item;
  std::unique_ptr<Player> player;

  explicit DirectField(uint32_t difficulty = 0, uint32_t character = 0) {
    GameState& s = *state;
    s.playerSheet = -1;
    s.otherSheet = -1;
    s.zakoSheet = -1;
    s.difficulty = difficulty;
    s.character = character;
    bullet = std::make_unique<Bullet>(s);
    item = std::make_unique<Item>(s);
    player = std::make_unique<Player>(s);
    s.bullet = bullet.get();
    s.item = item.get();
    s.player = player.get();
    s.scene = ScenePlaying;
  }
  GameState& S() { return *state; }
};
