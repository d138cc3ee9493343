// Stage-result tally.
#include "scenes/stageresult.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "playfield/stage.h"
#include "scenes/menu.h"
#include "scenes/scene.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/scene_calls.h"

namespace {

constexpr double kPi = 3.141592653589793;

int32_t Saturate(double v) {
  if (!(v > -2147483648.0)) return std::numeric_limits<int32_t>::min();
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);  // truncation toward zero
}

int32_t Cut(int x, int y, int w, int h, int32_t sheet) {
  return sheet > 0 ? ApiDeriveSubGraph(x, y, w, h, sheet) : -1;
}

}  // namespace

int32_t StageClearBonusFor(uint32_t n) {
  if (n == 4) return 1000000;
  if (n == 5) return 1500000;
  if (n >= 6 && n <= 9) return 2000000;
  if (n == 10) return 2500000;
  if (n == 11 || n == 65535) return 3000000;
  return 0;
}

StageBonuses ComputeStageBonuses(int32_t clearBonus, uint32_t difficulty, int32_t graze,
                                  int32_t pointItems, int32_t gaugeItems) {
  const double f = 0.3 * difficulty + 0.7;
  StageBonuses b;
  b.clear = Saturate(clearBonus * f);
  b.pointItems = Saturate(pointItems * 50000.0 * f);
  b.graze = Saturate(graze * 500.0 * f);
  b.gaugeItems = Saturate(gaugeItems * 50000.0 * f);
  b.total = Saturate(static_cast<double>(b.clear) + b.pointItems + b.graze + b.gaugeItems);
  return b;
}

StageResult::StageResult(GameState& state)
    : screenPlay(-1), screenResult(-1), screenNext(-1), workScreen(-1), frame(0), viewport{},
      panel{} {
  for (int c = 0; c < 5; ++c) {
    portraits[c] = Cut(200 * c, 0, 200, 300, state.cutinPlayerSheet);
    sprites[c] = Cut(32 + 96 * c, 0, 32, 48, state.playerSheet);
  }
  ApiSetRenderTargetCreation(1);
  screenPlay = ApiCreateBlankGraph(512, 512, 0);
  screenResult = ApiCreateBlankGraph(512, 512, 0);
  screenNext = ApiCreateBlankGraph(512, 512, 0);
  workScreen = ApiCreateBlankGraph(384, 448, 0);
  ApiSetRenderTargetCreation(0);
  const float uv[6][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 1}, {1, 0}};
  for (int i = 0; i < 6; ++i) {
    panel[i].color = 0xFFFFFFFFu;
    panel[i].u = uv[i][0];
    panel[i].v = uv[i][1];
  }
  PlacePanel(0.0, 0.0);
}

StageResult::~StageResult() {
  for (int32_t h : portraits)
    if (h != -1) ApiFreeGraphHandle(h, 0);
  for (int32_t h : sprites)
    if (h != -1) ApiFreeGraphHandle(h, 0);
  const int32_t screens[4] = {screenPlay, screenResult, screenNext, workScreen};
  for (int32_t h : screens)
    if (h != -1) ApiFreeGraphHandle(h, 0);
}

void StageResult::PlacePanel(double cosDegrees, double sinDegrees) {
  const float c = static_cast<float>(std::cos(cosDegrees / 180.0 * kPi));
  const float s = static_cast<float>(std::sin(sinDegrees / 180.0 * kPi));
  for (int i = 0; i < 6; ++i) {
    const bool nearEdge = panel[i].v == 0.0f;  // vertices 0, 1 and 5
    panel[i].y = nearEdge ? 240.0f + 240.0f * c : 240.0f - 240.0f * c;
    panel[i].z = nearEdge ? 240.0f * s : -240.0f * s;
    panel[i].x = panel[i].u == 0.0f ? 0.0f : 640.0f;
  }
}

void StageResult::Start(GameState& state) {
  // A practice clear does not advance the stage: it shows the bonus of the
  // stage a run would go on to, never the previous tally's scaled again.
  const uint32_t advanced =
      state.practice ? NextStageNumber(state.stageNumber, state.route) : state.stageNumber;
  const StageBonuses b = ComputeStageBonuses(StageClearBonusFor(advanced), state.difficulty,
                                             state.stageGraze, state.stagePointItems,
                                             state.stageKind7Items);
  state.stageClearBonus = b.clear;
  state.stagePointItems = b.pointItems;
  state.stageGraze = b.graze;
  state.stageKind7Items = b.gaugeItems;
  state.stageBonus = b.total;

  ApiSelectDrawTarget(FrontBufferTarget);
  ApiCopyScreenToGraph(16, 16, 400, 464, workScreen, 0);
  ApiSelectDrawTarget(screenPlay);
  ApiDrawGraphStretched(0, 0, 512, 512, workScreen, 0);

  ApiSelectDrawTarget(workScreen);
  ApiLoadAndDrawGraphFile(0, 0, "vko01\\stageresult.tga", 0);
  const int32_t c = state.character <= 4 ? static_cast<int32_t>(state.character) : 0;
  ApiSetBlendMode(1, 96);
  ApiDrawGraphRotated(256, 240, 1.6, kPi, portraits[c], 1, 1);
  ApiSetBlendMode(0, 255);
  ApiSelectDrawTarget(screenResult);
  ApiDrawGraphStretched(0, 0, 512, 512, workScreen, 0);

  ApiSelectDrawTarget(workScreen);
  ApiDrawRectangle(0, 0, 384, 448, ApiRgbToScreenColor(0, 0, 0), 1);
  ApiDrawGraphRotated(192, 404, 1.0, 0.0, sprites[c], 1, 0);
  ApiSelectDrawTarget(screenNext);
  ApiDrawGraphStretched(0, 0, 512, 512, workScreen, 0);

  ApiSelectDrawTarget(BackBufferTarget);
  ApiSetClipRectangle(0, 0, 639, 480);
  frame = 0;
  PlacePanel(0.0, 0.0);
}

void StageResult::Update(GameState& state) {
  const int32_t t = frame;
  if (t < 180) {
    PlacePanel(t, t);
    ++frame;
  } else if (t < 201) {
    ++frame;
  } else if (t == 201) {
    state.score = static_cast<uint32_t>(
        std::min<int64_t>(int64_t{state.score} + state.stageBonus, UINT32_MAX));
    // The bonus lines stay on the tally until the press that passes the
    // wait, though the next stage starts its own counts behind it.
    const int32_t graze = state.stageGraze, pointItems = state.stagePointItems,
                  gaugeItems = state.stageKind7Items;
    ResetStage(state);
    state.stageGraze = graze;
    state.stagePointItems = pointItems;
    state.stageKind7Items = gaugeItems;
    ++frame;
  } else if (t == kStageResultWaitFrame) {
    if (state.playback || (state.input && state.input->FreshPress(ButtonShot))) {
      state.stageGraze = 0;
      state.stagePointItems = 0;
      state.stageKind7Items = 0;
      ++frame;
    }
  } else if (t < 382) {
    if (state.stageNumber == 65535 || state.practice) {
      if (state.playback) {
        // A replay that reaches its end here leaves as every replay's end
        // does: back to the replay list, no name entry, no replay save.
        EndReplay(state);
        return;
      }
      state.scene = state.stageNumber == 65535 ? SceneNameEntry : SceneReplaySave;
      if (state.menu) state.menu->ResetCursor(state);
      return;
    }
    PlacePanel(t - 22, t - 21);
    ++frame;
  } else {
    state.scene = ScenePlaying;
  }
}

void StageResult::Draw(GameState&) {
  ApiBuildViewportMatrix(viewport, 208.0f, 240.0f, 384.0f, 448.0f);
  ApiSetViewportMatrix(viewport);
  ApiDrawRectangle(16, 16, 400, 464, ApiRgbToScreenColor(0, 0, 0), 1);
  const int32_t face = frame < 90 ? screenPlay : (frame < 291 ? screenResult : screenNext);
  ApiDrawGraphTriangles(panel, 2, face, 0);
}
