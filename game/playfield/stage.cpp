// Stage timeline object: the clock, the shared rules of boss, dialogue and
// boss music, the stage end.
#include "playfield/stage.h"

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/digest.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/stages/stage_script.h"
#include "playfield/talk.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/savefile_io.h"
#include "shell/scene_calls.h"
#include "shell/sound.h"

// --- the script's view ---------------------------------------------------------

int32_t StageScript::Frame() const { return stage_.frame; }
int32_t StageScript::R(int32_t n) { return ApiRandomInRange(static_cast<uint32_t>(n)); }
int32_t StageScript::Character() const { return static_cast<int32_t>(s_.character); }
int32_t StageScript::StageNumber() const { return static_cast<int32_t>(s_.stageNumber); }

void StageScript::Enemy(int32_t kind, int32_t x, int32_t y, int32_t sprite, int32_t underlay,
                        int32_t drop) {
  if (s_.enemy) s_.enemy->Spawn(kind, x, y, sprite, static_cast<uint8_t>(underlay), drop);
}

void StageScript::BombItem() { Item(ItemBomb); }

void StageScript::Item(int32_t kind) {
  if (s_.item) s_.item->Spawn(208.0f, 240.0f, kind, -3, 90);
}

void StageScript::Sound(int32_t effect) {
  if (s_.sound) s_.sound->Play(effect);
}

bool StageScript::Talking() const { return s_.talk && s_.talk->active; }

void StageScript::Music(int32_t slot) {
  if (s_.bgm) s_.bgm->Play(slot);
}

void StageScript::Title() { stage_.titleTimer = 400; }

void StageScript::Boss(int32_t id, int32_t x, int32_t y, int32_t frames, float speed, float angle) {
  if (s_.boss) s_.boss->Start(frames, id, x, y, speed, angle);
}

void StageScript::Dialogue(bool runs, int32_t n) {
  if (runs && s_.talk) s_.talk->Start(n);
}

void StageScript::Step() { ++stage_.frame; }
void StageScript::BossMusicDue() { stage_.bossMusicPending = 1; }

void StageScript::EndAt(int32_t endFrame) {
  if (stage_.frame >= endFrame && !(s_.talk && s_.talk->active)) stage_.Clear(s_);
}

// --- Stage ------------------------------------------------------------------------

Stage::Stage(GameState& state) : frame(0), titleTimer(0), bossMusicPending(0) {
  state.stageGraze = 0;
  state.stagePointItems = 0;
  state.stageKind7Items = 0;
}

void Stage::Update(GameState& state) {
  StageScript script(state, *this);
  const uint32_t n = state.stageNumber;
  if (n <= 3)
    RunStageOne(script, static_cast<int32_t>(n));
  else if (n == 4)
    RunStageTwo(script);
  else if (n == 5)
    RunStageThree(script);
  else if (n <= 9)
    RunStageFour(script, static_cast<int32_t>(n - 6));
  else if (n == 10)
    RunStageFive(script);
  else if (n == 11)
    RunFinalStage(script);
  else if (n == 12)
    RunExtraStage(script);

  const bool talking = state.talk && state.talk->active;
  const bool fighting = state.boss && state.boss->active;
  if (!talking && !fighting) ++frame;
  if (bossMusicPending && !talking) {
    if (state.bgm) state.bgm->Play(1);
    bossMusicPending = 0;
  }
  if (titleTimer > 0) --titleTimer;
}

void Stage::ResetForStage() {
  frame = 0;
  titleTimer = 0;
  bossMusicPending = 0;
}

uint32_t NextStageNumber(uint32_t stageNumber, uint32_t route) {
  if (stageNumber <= 3) return 4;
  if (stageNumber == 4) return 5;
  if (stageNumber == 5) return 6 + (route & 3);
  if (stageNumber <= 9) return 10;
  if (stageNumber == 10) return 11;
  if (stageNumber == 11 || stageNumber == 12) return 65535;
  return stageNumber;
}

void Stage::Clear(GameState& state) {
  if (state.bgm) state.bgm->StopAll();
  // A replay never touches the saved scores; a file that cannot be written
  // is skipped and the stage still ends.
  if (!state.playback) SaveScoreFile(state);
  const uint32_t before = state.stageNumber;
  state.stageNumber = NextStageNumber(before, state.route);
  if (state.practice) state.stageNumber = before;
  StartTally(state);
}

uint64_t Stage::Hash() const {
  StateHasher h;
  h.Add(frame);
  h.Add(titleTimer);
  h.Add(bossMusicPending);
  return h.Value();
}
