// Mapping of host input to the library's numbering: SDL scancodes to
// DirectInput scan codes, and pad sticks, hats and buttons to pad bits.
#pragma once
#include <cstdint>

// The DirectInput scan code of an SDL scancode, or -1 when it has none.
int SdlScancodeToDirectInput(int sdlScancode);

// Axis values -32768..32767 beyond this magnitude count as a direction.
constexpr int PadDeadZone = 11000;

// Pad bits from the first stick (x, y), the first hat (SDL hat bits: 1 up,
// 2 right, 4 down, 8 left) and up to 24 buttons (bit k of buttonMask = button k).
uint32_t PadBitsFromState(int axisX, int axisY, int hat, uint32_t buttonMask);
