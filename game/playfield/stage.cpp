// Stage timeline object.
#include "playfield/stage.h"

#include "shell/gamestate.h"

Stage::Stage(GameState& state) : frame(0), titleTimer(0), bossMusicPending(0) {
  state.stageGraze = 0;
  state.stagePointItems = 0;
  state.stageKind7Items = 0;
}

void Stage::Update(GameState&) {}

void Stage::ResetForStage() {
  frame = 0;
  titleTimer = 0;
  bossMusicPending = 0;
}
