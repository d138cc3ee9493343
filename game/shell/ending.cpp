// Ending object.
#include "shell/ending.h"

#include "library/tesra.h"
#include "shell/gamestate.h"

Ending::Ending(GameState&)
    : endingImage(-1), staffImage(-1), staffRollImage(-1), active(0), line(0), lastLine(0),
      phase(0), scroll(0.0f) {
  for (int32_t& h : lineImages) h = -1;
}

Ending::~Ending() {
  for (int32_t h : lineImages)
    if (h != -1) ApiFreeGraphHandle(h, 0);
  const int32_t others[3] = {endingImage, staffImage, staffRollImage};
  for (int32_t h : others)
    if (h != -1) ApiFreeGraphHandle(h, 0);
}

void Ending::Update(GameState&) {}
void Ending::Draw(GameState&) {}
