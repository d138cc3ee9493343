// Host input mapping: SDL scancodes to DirectInput codes, pad state to pad bits.
#include <gtest/gtest.h>

#include <SDL.h>

#include <set>

#include "platform/keymap.h"

TEST(KeyMap, GameKeysMapToTheirDirectInputCodes) {
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_ESCAPE), 0x01);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_P), 0x19);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_Z), 0x2C);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_X), 0x2D);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_LSHIFT), 0x2A);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_RSHIFT), 0x36);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_LCTRL), 0x1D);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_RCTRL), 0x9D);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_RETURN), 0x1C);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_DOWN), 0xD0);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_LEFT), 0xCB);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_RIGHT), 0xCD);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_KP_8), 0x48);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_F12), 0x58);
  EXPECT_EQ(SdlScancodeToDirectInput(SDL_SCANCODE_UNKNOWN), -1);
  EXPECT_EQ(SdlScancodeToDirectInput(-5), -1);
}

TEST(KeyMap, NoTwoHostKeysShareACode) {
  std::set<int> seen;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const int di = SdlScancodeToDirectInput(sc);
    if (di < 0) continue;
    EXPECT_LT(di, 256);
    EXPECT_TRUE(seen.insert(di).second) << "scancode " << sc << " repeats " << di;
  }
  EXPECT_GT(seen.size(), 100u);
}

TEST(PadMap, SticksPastTheDeadZoneHatsAndButtons) {
  EXPECT_EQ(PadBitsFromState(0, 0, 0, 0), 0u);
  EXPECT_EQ(PadBitsFromState(PadDeadZone, -PadDeadZone, 0, 0), 0u);  // at the edge: nothing
  EXPECT_EQ(PadBitsFromState(0, 32767, 0, 0), 0x1u);                // down
  EXPECT_EQ(PadBitsFromState(-32768, 0, 0, 0), 0x2u);               // left
  EXPECT_EQ(PadBitsFromState(32767, 0, 0, 0), 0x4u);                // right
  EXPECT_EQ(PadBitsFromState(0, -32768, 0, 0), 0x8u);               // up
  EXPECT_EQ(PadBitsFromState(20000, 20000, 0, 0), 0x5u);            // diagonal
  EXPECT_EQ(PadBitsFromState(0, 0, SDL_HAT_LEFTUP, 0), 0xAu);
  EXPECT_EQ(PadBitsFromState(0, 0, SDL_HAT_RIGHTDOWN, 0), 0x5u);
  EXPECT_EQ(PadBitsFromState(0, 0, 0, 0x1), 0x10u);                 // button 0 -> bit 4
  EXPECT_EQ(PadBitsFromState(0, 0, 0, 1u << 23), 1u << 27);         // button 23 -> bit 27
  EXPECT_EQ(PadBitsFromState(0, 0, 0, 1u << 24), 0u);               // button 24 and up ignored
}
