// The scene changes the play field starts, passed up through the table.
#include "shell/scene_calls.h"

#include "shell/bgm.h"
#include "shell/gamestate.h"

namespace {

template <typename... Args>
void Ask(GameState& s, void (*SceneCalls::*call)(GameState&, Args...), Args... args) {
  if (s.sceneCalls && s.sceneCalls->*call) (s.sceneCalls->*call)(s, args...);
}

}  // namespace

void EnterMenuScene(GameState& s, uint32_t scene) {
  s.scene = scene;
  Ask(s, &SceneCalls::menuEntered);
}

void EnterTitle(GameState& s) {
  s.scene = SceneTitle;
  Ask(s, &SceneCalls::titleEntered);
}

void StartTally(GameState& s) {
  Ask(s, &SceneCalls::tallyStarted);
  s.scene = SceneStageResult;
}

void PrepareEnding(GameState& s) { Ask(s, &SceneCalls::endingPrepared); }
void StartEnding(GameState& s, int32_t ending) { Ask(s, &SceneCalls::endingStarted, ending); }
void ReleaseEnding(GameState& s) { Ask(s, &SceneCalls::endingReleased); }

void EndReplay(GameState& s) {
  s.playback = 0;
  s.inputIndex = 0;
  if (s.bgm) s.bgm->StopAll();
  s.scene = SceneReplaySelect;
  Ask(s, &SceneCalls::replayListShown);
}
