// A play field built directly (no library start): a zeroed GameState with the
// bullet, item and player objects, the player reading its input from the
// playback buffer so a test sets each frame's FrameInput.
#pragma once
#include <cstdint>
#include <memory>

#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamestate.h"
#include "shell/input.h"

struct Field {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  std::unique_ptr<Bullet> bullet;
  std::unique_ptr<Item> item;
  std::unique_ptr<Player> player;

  Field() {
    GameState& s = *state;
    s.playerSheet = -1;
    s.otherSheet = -1;
    bullet = std::make_unique<Bullet>(s);
    item = std::make_unique<Item>(s);
    player = std::make_unique<Player>(s);
    s.bullet = bullet.get();
    s.item = item.get();
    s.player = player.get();
    s.scene = ScenePlaying;
    s.playback = 1;
    s.replayHeader.inputCount = 1000000;
    player->invulnerable = 0;
  }
  GameState& S() { return *state; }
  // The FrameInput the player reads in its next update.
  void Input(uint8_t bits) { state->playbackInputs[state->inputIndex] = bits; }
  BulletRecord& R(int slot) { return bullet->records[slot]; }
};
