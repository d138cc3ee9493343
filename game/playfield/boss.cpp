// Boss object.
#include "playfield/boss.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

Boss::Boss(GameState&)
    : burstImage(-1), circleImage(-1), x(0), y(0), id(0), speed(0), angle(0), moveFrames(0),
      anim(0), phaseFrame(0), radius(32), scale(1.0f), hp(0), maxHp(0), active(0),
      defeatCounter(0), burstAngle(0), hitFlash(0), capturable(0), animStep(1), attackIndex(0),
      timeLeft(0), prevTime(0), bonus(0), bonusDrain(0), spellActive(0), spellId(0),
      cutinFrames(0), captureShowFrames(0), invulnerable(1), bombsAtSpell(0), livesAtSpell(0),
      poseFrames(0), barsLeft(0), scratch{}, trail{} {
  for (int i = 0; i < 180; ++i) frames[i] = -1;
}

Boss::~Boss() {
  for (int i = 0; i < 180; ++i)
    if (frames[i] != -1) ApiFreeGraphHandle(frames[i], 0);
  if (burstImage != -1) ApiFreeGraphHandle(burstImage, 0);
  if (circleImage != -1) ApiFreeGraphHandle(circleImage, 0);
}

void Boss::Update(GameState&) {}
void Boss::Draw(GameState&) {}

void Boss::ResetForStage() {
  active = 0;
  spellId = 0;
  cutinFrames = 0;
  captureShowFrames = 0;
  poseFrames = 0;
  anim = 0;
  animStep = 1;
  invulnerable = 1;
}
