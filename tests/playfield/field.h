// The playfield tests' field: bullets, items and the player, the player
// reading its input from the playback buffer so a test sets each frame's
// FrameInput.
#pragma once
#include <cstdint>

#include "direct_field.h"
#include "shell/input.h"

struct Field : DirectField {
  Field() {
    GameState& s = *state;
    s.playback = 1;
    s.replayHeader.inputCount = 1000000;
    player->invulnerable = 0;
  }
  // The FrameInput the player reads in its next update.
  void Input(uint8_t bits) { state->playbackInputs[state->inputIndex] = bits; }
  BulletRecord& R(int slot) { return bullet->records[slot]; }
};
