// Stage background object.
#include "playfield/background.h"

#include "library/tesra.h"
#include "playfield/digest.h"
#include "shell/gamestate.h"

Background::Background(GameState&)
    : freezePicture(-1), drawCounter(0), stageFrame(0), particles{}, inSpell(0), wasInSpell(0),
      fadeStart(0), fadeNow(0) {
  for (int32_t& h : textures) h = -1;
}

Background::~Background() {
  for (int32_t& h : textures)
    if (h != -1) ApiFreeGraphHandle(h, 0);
  if (freezePicture != -1) ApiFreeGraphHandle(freezePicture, 0);
}

void Background::Update(GameState&) {}
void Background::Draw(GameState&) {}
void Background::LoadStage(int) {}

void Background::ResetForStage() {
  drawCounter = 0;
  fadeStart = 0;
  inSpell = 0;
  wasInSpell = 0;
  for (BackgroundParticle& p : particles) p.active = 0;
}

uint64_t Background::Hash() const {
  StateHasher h;
  h.Add(drawCounter);
  h.Add(stageFrame);
  for (const BackgroundParticle& p : particles) {
    h.Add(p.active);
    h.Add(p.x);
    h.Add(p.y);
    h.Add(p.angle);
    h.Add(p.speed);
    h.Add(p.scale);
    h.Add(p.alpha);
  }
  h.Add(inSpell);
  h.Add(wasInSpell);
  h.Add(fadeStart);
  h.Add(fadeNow);
  return h.Value();
}
