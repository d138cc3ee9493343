// Stage-result object.
#include "shell/stageresult.h"

#include "shell/gamestate.h"

StageResult::StageResult(GameState&)
    : screenPlay(-1), screenResult(-1), screenNext(-1), workScreen(-1), frame(0), viewport{},
      panel{} {
  for (int32_t& h : portraits) h = -1;
  for (int32_t& h : sprites) h = -1;
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

void StageResult::Update(GameState&) {}
void StageResult::Draw(GameState&) {}
