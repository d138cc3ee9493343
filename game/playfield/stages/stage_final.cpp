// The final stage: a few fairies, the timed opening card, the stage boss, the
// closing card, and the ending that follows it; and the bonus that ends the
// final and the Extra stage.
#include <cmath>
#include <cstdint>

#include "playfield/stage.h"
#include "playfield/stages/stage_script.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/savefile_io.h"
#include "shell/scene_calls.h"

void AddLastStageBonus(GameState& state) {
  const double f = 0.7 + 0.3 * state.difficulty;
  const auto whole = [](double v) -> int32_t {
    if (!(v > -2147483648.0)) return INT32_MIN;
    return v >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(v);
  };
  state.stageClearBonus = whole(3000000.0 * f);
  state.stagePointItems = whole(state.stagePointItems * 50000.0 * f);
  state.stageGraze = whole(state.stageGraze * 500.0 * f);
  state.stageKind7Items = whole(state.stageKind7Items * 50000.0 * f);
  state.stageBonus = whole(static_cast<double>(state.stageClearBonus) + state.stagePointItems +
                           state.stageGraze + state.stageKind7Items);
  const int64_t added =
      (int64_t{state.lives} * 5 + state.bombs) * 10000000 + int64_t{state.stageBonus};
  const int64_t score = int64_t{state.score} + added;
  // The score saturates instead of wrapping.
  state.score = static_cast<uint32_t>(score < 0 ? 0 : (score > UINT32_MAX ? UINT32_MAX : score));
}

namespace {

void FinalEnding(StageScript& t) {
  GameState& s = t.State();
  if (s.bgm) s.bgm->StopAll();
  if (s.playback || s.practice) {
    t.Owner().Clear(s);
    return;
  }
  AddLastStageBonus(s);
  PrepareEnding(s);
  s.scene = SceneEnding;
  if (s.continues == 0 && s.character < 5 && s.difficulty < 5) s.clearFlags[s.character][s.difficulty] = 1;
  SaveScoreFile(s);
  if (!s.ending) return;
  if (s.character <= 3) {
    StartEnding(s, 53 + 2 * static_cast<int32_t>(s.character) + (s.continues != 0 ? 1 : 0));
  } else {
    ReleaseEnding(s);
    EnterMenuScene(s, SceneNameEntry);
  }
}

}  // namespace

void RunFinalStage(StageScript& t) {
  if (t.At(0)) t.Music(0);
  if (t.At(100)) t.Title();
  if (t.At(600)) t.Enemy(800, 208, 16, 1, 0, 1);
  if (t.At(900)) {
    t.Enemy(800, 304, 16, 2, 0, 1);
    t.Enemy(800, 112, 16, 2, 0, 1);
  }
  if (t.At(1100)) {
    t.Enemy(800, 256, 16, 0, 0, 1);
    t.Enemy(800, 160, 16, 0, 0, 1);
  }
  if (t.At(1200)) t.Enemy(800, 208, 16, 27, 0, -1);
  if (t.At(1500)) {
    t.Boss(18, 16, 240, 64, 3.0f, 0.0f);
    t.Step();
  }
  if (t.At(1502)) t.Item(3);
  const int32_t c = t.Character();
  if (t.At(1800)) {
    // Glides from (16, 48) to (208, 144) in 32 frames.
    const float speed = static_cast<float>(std::sqrt(46080.0) / 32.0);
    const float angle = static_cast<float>(std::atan2(96.0, 192.0) * 180.0 / 3.141592653589793);
    t.Boss(19, 16, 48, 32, speed, angle);
    t.Dialogue(c <= 3, 40 + c);
    t.Step();
    t.BossMusicDue();
  }
  GameState& s = t.State();
  if (t.At(1802) && s.bgm) s.bgm->StopAll();
  if (t.At(1980)) {
    t.Boss(20, 16, 240, 36, 4.0f, 0.0f);
    t.Dialogue(true, 44);
    t.Step();
  }
  if (t.At(1981) && !t.Talking()) t.Owner().frame = 1982;
  if (t.At(1983)) {
    if (s.bgm) s.bgm->StopAll();
    s.whiteFade = 255;
  }
  if (t.Frame() >= 2238 && !t.Talking() && s.scene == ScenePlaying) FinalEnding(t);
}
