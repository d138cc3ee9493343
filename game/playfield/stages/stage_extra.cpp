// The Extra stage: fairy formations, a storm of bullets and items from the
// centre, boss 21 and, for a high enough score, its last form.
#include <cstdint>

#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "playfield/stages/stage_script.h"
#include "shell/bgm.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/savefile_io.h"
#include "shell/scene_calls.h"

namespace {

int32_t RowY(int32_t i) { return i % 2 == 0 ? 96 : 128; }

// Frames 3000-3999: the storm, rows tested in this order every frame.
void Storm(StageScript& t) {
  GameState& s = t.State();
  const int32_t f = t.Frame();
  if (f < 3000 || f > 3999 || !s.bullet) return;
  if (f % 4 == 0 && f <= 3996) {
    t.Sound(0);
    s.bullet->Spawn(22, 16.0f, 143.0f, 3.0f, static_cast<float>(5 * f), 20, 0);
    s.bullet->Spawn(22, 400.0f, 143.0f, 3.0f, static_cast<float>(-5 * f), 20, 0);
  }
  if (t.Every(3240, 3960, 120) >= 0) {
    t.Sound(1);
    const float px = s.player ? s.player->x : 208.0f;
    const float py = s.player ? s.player->y : 400.0f;
    const int32_t a =
        static_cast<int32_t>(FloatAtan2(py - 66.0f, px - 208.0f) / 3.141592653589793 * 180.0);
    for (int32_t i = 0; i < 10; ++i)
      s.bullet->Spawn(70 + i, 208.0f, 66.0f, 5.0f, static_cast<float>(a), 20, 5 * i);
  }
  if (t.Every(3510, 3990, 30) >= 0) {
    const int32_t base = t.R(359);
    s.bullet->Ring(208.0f, 240.0f, 3.0f, static_cast<float>(base), 18, 11, 0, 20);
  }
  if (t.Every(3000, 3990, 10) >= 0 && s.item) {
    const int32_t angle = t.R(179);
    s.item->Spawn(208.0f, 240.0f, ItemPower, -3, angle);
  }
}

void ExtraEnding(StageScript& t) {
  GameState& s = t.State();
  if (s.bgm) s.bgm->StopAll();
  AddLastStageBonus(s);
  // A replay ends here as it does at its last input: back to the replay list,
  // with no clear flag, no high score and no replay save. The player's update
  // later in this frame takes the last input and closes the playback itself
  // (after its pause check, so a pause cannot reopen the finished play).
  if (s.playback) {
    s.scene = SceneReplaySelect;
    if (s.replayHeader.inputCount > 0 && s.inputIndex + 1 < s.replayHeader.inputCount)
      s.inputIndex = s.replayHeader.inputCount - 1;
    return;
  }
  PrepareEnding(s);
  EnterMenuScene(s, SceneNameEntry);
  if (s.continues == 0 && s.character < 5 && s.difficulty < 5) s.clearFlags[s.character][s.difficulty] = 1;
  SaveScoreFile(s);
}

}  // namespace

void RunExtraStage(StageScript& t) {
  GameState& s = t.State();
  if (t.At(0)) {
    t.Music(0);
    s.power = 128;
  }
  if (t.At(100)) t.Title();
  if (t.At(450)) {
    t.Enemy(900, 144, 16, 8, 1, 2);
    t.Enemy(900, 304, 16, 8, 1, 2);
  }
  if (t.At(650)) t.Enemy(901, 208, 16, 2, 0, 1);
  int32_t i;
  if ((i = t.Every(800, 950, 30)) >= 0) t.Enemy(902, 48 + 64 * i, RowY(i), 10, 0, 2);
  if (t.At(1050)) {
    t.Enemy(901, 112, 16, 9, 0, 2);
    t.Enemy(901, 304, 16, 9, 0, 2);
  }
  if (t.At(1150)) t.Enemy(900, 208, 16, 24, 1, 3);
  if ((i = t.Every(1350, 1560, 30)) >= 0) t.Enemy(902, 40 + 48 * i, RowY(i), 14, 0, 2);
  if ((i = t.Every(1700, 1910, 30)) >= 0) t.Enemy(902, 360 - 48 * i, RowY(i), 15, 0, 2);
  if ((i = t.Every(2050, 2260, 30)) >= 0) t.Enemy(902, 40 + 48 * i, RowY(i), 2, 0, 1);
  if ((i = t.Every(2290, 2500, 30)) >= 0) t.Enemy(902, 360 - 48 * i, RowY(i), 2, 0, 1);
  if ((i = t.Every(2450, 2660, 30)) >= 0) t.Enemy(902, 40 + 48 * i, RowY(i), 2, 0, 1);
  if (t.At(2200)) {
    t.Enemy(900, 160, 16, 1, 1, 1);
    t.Enemy(900, 288, 16, 1, 1, 1);
  }
  if (t.At(2500)) {
    t.Enemy(900, 112, 16, 1, 1, 1);
    t.Enemy(900, 336, 16, 1, 1, 1);
  }
  Storm(t);
  if (t.At(4000)) t.Item(4);
  const int32_t c = t.Character();
  const bool talks = c <= 3;
  if (t.At(4200)) {
    t.Boss(21, 208, 16, 64);
    t.Dialogue(talks, 45 + 2 * c);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(4202) && s.score >= 100000000u) {
    if (s.boss) s.boss->Start(1, 22, 208, 143, 0.0f, 0.0f);
    t.Step();
  }
  if (t.At(4204)) {
    t.Dialogue(talks, 46 + 2 * c);
    t.Step();
  }
  if (t.At(4206)) s.whiteFade = 255;
  if (t.Frame() >= 4461 && !t.Talking() && s.scene == ScenePlaying) ExtraEnding(t);
}
