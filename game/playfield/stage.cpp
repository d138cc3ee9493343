// Stage timeline object.
#include "playfield/stage.h"

#include "playfield/digest.h"
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

void Stage::Clear(GameState&) {}

uint64_t Stage::Hash() const {
  StateHasher h;
  h.Add(frame);
  h.Add(titleTimer);
  h.Add(bossMusicPending);
  return h.Value();
}
