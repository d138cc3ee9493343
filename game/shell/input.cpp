// Input polling and key binding.
#include "shell/input.h"

#include "shell/gamestate.h"

Input::Input() : pressed{}, previous{}, hold{} {
  for (int p = 0; p < 4; ++p)
    for (int b = 0; b < 16; ++b) {
      keyCode[p][b] = -1;
      padBits[p][b] = 0xFFFFFFFFu;
    }
}

bool Input::Repeats(int button, int repeatEvery, int pad) const {
  if (FreshPress(button, pad)) return true;
  int32_t h = hold[pad][button];
  return pressed[pad][button] && h > 20 && h % repeatEvery == 0;
}

void ApplyKeyConfig(GameState& state) {
  state.padMask[0] = 1;
  state.padMask[1] = 2;
  state.padMask[2] = 4;
  state.padMask[3] = 8;
  for (int k = 0; k < 4; ++k) state.padMask[4 + k] = 1u << (state.padButton[k] & 31);
  Input* in = state.input;
  if (!in) return;
  static const int32_t keys[9] = {208, 203, 205, 200, 44, 45, 42, 29, 1};
  for (int b = 0; b < 8; ++b) {
    in->keyCode[0][b] = keys[b];
    in->padBits[0][b] = state.padMask[b];
  }
  in->keyCode[0][ButtonEscape] = keys[ButtonEscape];
  in->padBits[0][ButtonEscape] = 0x1000;
}

uint8_t BuildFrameInput(const Input& input) {
  uint8_t v = 0;
  if (input.pressed[0][ButtonUp]) v |= FrameUp;
  if (input.pressed[0][ButtonRight]) v |= FrameRight;
  if (input.pressed[0][ButtonDown]) v |= FrameDown;
  if (input.pressed[0][ButtonLeft]) v |= FrameLeft;
  if (input.pressed[0][ButtonShot]) v |= FrameShot;
  if (input.pressed[0][ButtonBomb]) v |= FrameBomb;
  if (input.pressed[0][ButtonSlow]) v |= FrameSlow;
  if (input.pressed[0][ButtonSkip]) v |= FrameSkip;
  return v;
}

bool RecordFrameInput(GameState& state, uint8_t frameInput) {
  if (state.inputIndex >= kMaxReplayFrames) return false;
  state.recordInputs[state.inputIndex] = frameInput;
  return true;
}
