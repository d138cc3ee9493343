// Dialogue object.
#include "playfield/talk.h"

#include "library/tesra.h"
#include "playfield/digest.h"
#include "shell/gamestate.h"

namespace {
void FreeAll(int32_t* handles, int count) {
  for (int i = 0; i < count; ++i) {
    if (handles[i] != -1) ApiFreeGraphHandle(handles[i], 0);
    handles[i] = -1;
  }
}
}  // namespace

Talk::Talk(GameState&)
    : extraSheet(-1), active(0), secondSpeaker(0), plateFade(0), plateFrames(0), line(0),
      endLine(0), portraitSet(0) {
  for (int32_t& h : strips) h = -1;
  for (int32_t& h : namePlates) h = -1;
  for (int32_t& h : playerPortraits) h = -1;
  for (int32_t& h : otherPortraits) h = -1;
}

Talk::~Talk() {
  FreeAll(strips, 128);
  FreeAll(namePlates, 16);
  FreeAll(playerPortraits, 5);
  FreeAll(otherPortraits, 15);
}

void Talk::Update(GameState&) {}
void Talk::Draw(GameState&) {}
void Talk::LoadStageStrips(int) {}

void Talk::Start(int32_t) {}

uint64_t Talk::Hash() const {
  StateHasher h;
  h.Add(active);
  h.Add(secondSpeaker);
  h.Add(plateFade);
  h.Add(plateFrames);
  h.Add(line);
  h.Add(endLine);
  h.Add(portraitSet);
  return h.Value();
}
