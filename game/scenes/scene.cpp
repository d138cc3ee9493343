// Scene dispatch.
#include "scenes/scene.h"

#include "library/tesra.h"
#include "playfield/background.h"
#include "playfield/backgroundframe.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "playfield/talk.h"
#include "scenes/ending.h"
#include "scenes/menu.h"
#include "scenes/stageresult.h"
#include "scenes/title.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/scene_calls.h"
#include "shell/sound.h"

namespace {

bool IsMenuScene(uint32_t scene) {
  return (scene >= SceneDifficulty && scene <= SceneKeyConfig) ||
         (scene >= SceneContinue && scene <= ScenePause);
}

void UpdatePlaying(GameState& s) {
  if (!s.player || s.player->hitCounter == 0) {
    if (s.stage) s.stage->Update(s);
    if (s.background) s.background->Update(s);
    if (s.boss) s.boss->Update(s);
    if (s.enemy) s.enemy->Update(s);
    if (s.maho) s.maho->Update(s);
    if (s.item) s.item->Update(s);
    if (s.bullet) s.bullet->Update(s);
    if (s.talk) s.talk->Update(s);
  }
  if (s.player) s.player->Update(s);
  // After every play update, also one that pauses (the pause is not in the
  // recording), so that its replay counts the same.
  if (s.background) s.background->FollowSpell(s);
}

void DrawPlaying(GameState& s) {
  if (s.background) s.background->Draw(s);
  if (s.enemy) s.enemy->Draw(s);
  if (s.maho) s.maho->Draw(s);
  if (s.boss) s.boss->Draw(s);
  if (s.player) s.player->Draw(s);
  if (s.item) s.item->Draw(s);
  if (s.bullet) s.bullet->Draw(s);
  if (s.backgroundFrame) s.backgroundFrame->Draw(s);
  if (s.talk) s.talk->Draw(s);
}

// The scenes' side of the scene changes the play field starts.
void MenuEntered(GameState& s) {
  if (s.menu) s.menu->ResetCursor(s);
}
void TitleEntered(GameState& s) {
  if (s.title) s.title->Reset(s);
}
void ReplayListShown(GameState& s) {
  if (!s.menu) return;
  s.menu->ResetCursor(s);
  s.menu->cursor = s.menu->watchedSlot;
}
void TallyStarted(GameState& s) {
  if (s.stageResult) s.stageResult->Start(s);
}
void EndingPrepared(GameState& s) {
  if (s.ending) s.ending->Prepare();
}
void EndingStarted(GameState& s, int32_t ending) {
  if (s.ending) s.ending->Start(ending);
}
void EndingReleased(GameState& s) {
  if (s.ending) s.ending->ReleaseImages();
}

constexpr SceneCalls kSceneCalls = {MenuEntered,    TitleEntered,   ReplayListShown, TallyStarted,
                                    EndingPrepared, EndingStarted, EndingReleased};

}  // namespace

const SceneCalls& TheSceneCalls() { return kSceneCalls; }

void UpdateScene(GameState& s) {
  const uint32_t sceneAtStart = s.scene;
  switch (sceneAtStart) {
    case SceneTitle:
      if (s.title) s.title->Update(s);
      break;
    case ScenePlaying: UpdatePlaying(s); break;
    case SceneStageResult:
      if (s.stageResult) s.stageResult->Update(s);
      break;
    case SceneEnding:
      if (s.ending) s.ending->Update(s);
      break;
    default:
      if (IsMenuScene(sceneAtStart) && s.menu) s.menu->Update(s);
      break;
  }
  // Live play can stand in the pause menu and at the tally's wait for a
  // press; a replay passes both without those frames. frameCount drives
  // attacks and grazes, so neither counts there.
  // A restart from the pause starts a play, and counts its frame as every
  // play start does; resuming does not.
  bool restarted = sceneAtStart == ScenePause && s.menu && s.menu->startedPlay;
  bool liveOnlyWait = (sceneAtStart == ScenePause && !restarted) ||
                      (sceneAtStart == SceneStageResult && s.stageResult &&
                       s.stageResult->WaitingForPress());
  if (!liveOnlyWait)
    ++s.frameCount;
  else if (s.sound)
    s.sound->CountStandingFrame();
}

void DrawScene(GameState& s) {
  switch (s.scene) {
    case SceneTitle:
      if (s.title) s.title->Draw(s);
      break;
    case ScenePlaying: DrawPlaying(s); break;
    case SceneStageResult:
      if (s.stageResult) s.stageResult->Draw(s);
      if (s.backgroundFrame) s.backgroundFrame->Draw(s, s.stageResult ? s.stageResult->frame : -1);
      break;
    case SceneEnding:
      if (s.ending) s.ending->Draw(s);
      break;
    case SceneContinue:
    case ScenePause:
      if (s.backgroundFrame) s.backgroundFrame->Draw(s);
      if (s.menu) s.menu->Draw(s);
      break;
    default:
      if (IsMenuScene(s.scene) && s.menu) s.menu->Draw(s);
      break;
  }
  if (s.whiteFade != 0) {
    --s.whiteFade;
    ApiSetBlendMode(1, 255 - s.whiteFade);
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(255, 255, 255), 1);
    ApiSetBlendMode(0, 255);
  }
}

void ResetStage(GameState& s) {
  ApiSelectDrawTarget(FrontBufferTarget);
  ApiDrawGraphAt(400, 336, s.loadingLabel, 1);
  ApiSetBlendMode(1, 127);
  ApiDrawGraphAt(390, 400, s.loadingLabel2, 1);
  ApiSetBlendMode(0, 255);
  ApiSelectDrawTarget(BackBufferTarget);

  if (s.stageNumber < 4) s.continues = 0;
  int stageNumber = s.stageNumber <= 12 ? static_cast<int>(s.stageNumber) : -1;
  if (stageNumber >= 0) {
    if (s.background) s.background->LoadStage(stageNumber);
    if (s.bgm) s.bgm->LoadStage(stageNumber);
  }
  if (s.sound) s.sound->ApplyVolume(s);
  if (s.talk) {
    if (stageNumber >= 0) s.talk->LoadStageStrips(stageNumber);
    s.talk->ResetForStage();
  }

  if (s.background) s.background->ResetForStage();
  if (s.maho) s.maho->ClearPool();
  if (s.enemy) s.enemy->ClearPool();
  if (s.item) s.item->ClearPool();
  if (s.bullet) s.bullet->ClearPool();
  if (s.stage) s.stage->ResetForStage();
  if (s.boss) s.boss->ResetForStage();
  if (s.player) s.player->ResetForStage(s);

  ApiSeedRandom(s.playSeed);
  s.frameCount = 0;
}
