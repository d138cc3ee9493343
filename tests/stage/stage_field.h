// A stage field built directly (no library start): a zeroed GameState with
// the boss, stage, dialogue, background and the pools they touch. No sound or
// music objects; a replay is playing so nothing is saved.
#pragma once
#include <memory>

#include "playfield/background.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "playfield/talk.h"
#include "shell/gamestate.h"

struct StageField {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  std::unique_ptr<Boss> boss;
  std::unique_ptr<Stage> stage;
  std::unique_ptr<Talk> talk;
  std::unique_ptr<Background> background;
  std::unique_ptr<Bullet> bullet;
  std::unique_ptr<Item> item;
  std::unique_ptr<Maho> maho;
  std::unique_ptr<Player> player;

  StageField() {
    GameState& s = *state;
    s.otherSheet = s.playerSheet = s.cutinSheet = s.cutinPlayerSheet = s.spellSheet = -1;
    boss = std::make_unique<Boss>(s);
    stage = std::make_unique<Stage>(s);
    talk = std::make_unique<Talk>(s);
    background = std::make_unique<Background>(s);
    bullet = std::make_unique<Bullet>(s);
    item = std::make_unique<Item>(s);
    maho = std::make_unique<Maho>(s);
    player = std::make_unique<Player>(s);
    s.boss = boss.get();
    s.stage = stage.get();
    s.talk = talk.get();
    s.background = background.get();
    s.bullet = bullet.get();
    s.item = item.get();
    s.maho = maho.get();
    s.player = player.get();
    s.scene = ScenePlaying;
    s.playback = 1;
    s.replayHeader.inputCount = 1000000;
    player->x = 208.0f;
    player->y = 420.0f;
  }
  GameState& S() { return *state; }
  int ActiveItems(int kind) const {
    int n = 0;
    for (const ItemSlot& it : item->slots) n += it.active && it.kind == kind;
    return n;
  }
};
