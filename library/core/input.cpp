// Keyboard and pad input.
#include "core/input.h"

#include "platform/platform.h"

namespace {

// Keys that a merged keyboard reads as pad bits.
struct KeyBit {
  int scanCode;
  uint32_t bit;
};
const KeyBit kKeyboardPad[] = {
    {KeyDown, PadDown},   {KeyNumpad2, PadDown}, {KeyLeft, PadLeft},   {KeyNumpad4, PadLeft},
    {KeyRight, PadRight}, {KeyNumpad6, PadRight}, {KeyUp, PadUp},      {KeyNumpad8, PadUp},
    {KeyZ, PadButton0 << 0}, {KeyX, PadButton0 << 1}, {KeyC, PadButton0 << 2},
    {KeyA, PadButton0 << 3}, {KeyS, PadButton0 << 4}, {KeyD, PadButton0 << 5},
    {KeyQ, PadButton0 << 6}, {KeyW, PadButton0 << 7}, {KeyEscape, PadButton0 << 8},
    {KeySpace, PadButton0 << 9},
};

}  // namespace

int IsKeyDown(int scanCode) {
  if (scanCode < 0 || scanCode > 255) return 0;
  return PlatformIsKeyDown(scanCode) ? 1 : 0;
}

int GetPadCount() { return PlatformPadCount(); }

int GetPadInputBits(int padNumber) {
  const bool withKeyboard = (padNumber & PadKeyboardFlag) != 0;
  const int pad = padNumber & ~PadKeyboardFlag;
  uint32_t bits = 0;
  if (pad >= 1 && pad <= 8 && pad <= PlatformPadCount()) bits = PlatformPadBits(pad - 1);
  if (withKeyboard) {
    for (const KeyBit& k : kKeyboardPad)
      if (PlatformIsKeyDown(k.scanCode)) bits |= k.bit;
  }
  return static_cast<int>(bits);
}
