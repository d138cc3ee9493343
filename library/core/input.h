// Keyboard and pad input of the library (DirectInput scan-code numbering).
#pragma once
#include <cstdint>

// DirectInput scan codes that the library and the game name.
enum : int {
  KeyEscape = 0x01, Key1 = 0x02, Key0 = 0x0B, KeyMinus = 0x0C, KeyBackspace = 0x0E,
  KeyTab = 0x0F, KeyQ = 0x10, KeyW = 0x11, KeyE = 0x12, KeyR = 0x13, KeyT = 0x14,
  KeyY = 0x15, KeyU = 0x16, KeyI = 0x17, KeyO = 0x18, KeyP = 0x19, KeyReturn = 0x1C,
  KeyLeftControl = 0x1D, KeyA = 0x1E, KeyS = 0x1F, KeyD = 0x20, KeyF = 0x21, KeyG = 0x22,
  KeyH = 0x23, KeyJ = 0x24, KeyK = 0x25, KeyL = 0x26, KeyLeftShift = 0x2A, KeyZ = 0x2C,
  KeyX = 0x2D, KeyC = 0x2E, KeyV = 0x2F, KeyB = 0x30, KeyN = 0x31, KeyM = 0x32,
  KeyRightShift = 0x36, KeyLeftAlt = 0x38, KeySpace = 0x39, KeyF1 = 0x3B, KeyF10 = 0x44,
  KeyNumpad8 = 0x48, KeyNumpad4 = 0x4B, KeyNumpad6 = 0x4D, KeyNumpad2 = 0x50,
  KeyF11 = 0x57, KeyF12 = 0x58, KeyNumpadEnter = 0x9C, KeyRightControl = 0x9D,
  KeyRightAlt = 0xB8, KeyHome = 0xC7, KeyUp = 0xC8, KeyPageUp = 0xC9, KeyLeft = 0xCB,
  KeyRight = 0xCD, KeyEnd = 0xCF, KeyDown = 0xD0, KeyPageDown = 0xD1, KeyInsert = 0xD2,
  KeyDelete = 0xD3,
};

// Pad bits.
enum : uint32_t {
  PadDown = 0x1, PadLeft = 0x2, PadRight = 0x4, PadUp = 0x8,
  PadButton0 = 0x10,  // button k is PadButton0 << k, k = 0-23
};
constexpr int PadKeyboardFlag = 0x1000;

int IsKeyDown(int scanCode);         // 1 held, 0 not (-1 and codes above 255: 0)
// Pad 1-8, | PadKeyboardFlag merges the keyboard (arrows / numpad -> directions,
// Z X C A S D Q W Esc Space -> buttons 0-9). A pad beyond those present gives 0.
int GetPadInputBits(int padNumber);
int GetPadCount();
