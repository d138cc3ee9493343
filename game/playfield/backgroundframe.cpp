// Play-field frame object.
#include "playfield/backgroundframe.h"

#include "library/tesra.h"
#include "shell/gamestate.h"

BackgroundFrame::BackgroundFrame(GameState&) : framePicture(-1) {}

BackgroundFrame::~BackgroundFrame() {
  if (framePicture != -1) ApiFreeGraphHandle(framePicture, 0);
}

void BackgroundFrame::Draw(GameState&) {}
