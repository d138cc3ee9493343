// Key binding, the menu repeat rule, FrameInput and the main loop's rules.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/loopcontrol.h"

namespace {

// Simulates Poll for pad 0 with the given buttons down.
void Step(Input& in, std::initializer_list<int> down) {
  for (int b = 0; b < 16; ++b) {
    in.previous[0][b] = in.pressed[0][b];
    bool d = false;
    for (int x : down) d |= x == b;
    in.pressed[0][b] = d ? 1 : 0;
    in.hold[0][b] = d ? in.hold[0][b] + 1 : 0;
  }
}

TEST(InputRepeat, HeldThirtyPassesActsAtOneTwentyFiveAndThirty) {
  Input in;
  std::vector<int> acted;
  for (int pass = 1; pass <= 30; ++pass) {
    Step(in, {ButtonDown});
    if (in.Repeats(ButtonDown)) acted.push_back(pass);
  }
  EXPECT_EQ(acted, (std::vector<int>{1, 25, 30}));
  Step(in, {});
  EXPECT_FALSE(in.Repeats(ButtonDown));
  Step(in, {ButtonDown});
  EXPECT_TRUE(in.FreshPress(ButtonDown));
}

TEST(InputRepeat, SpellListRepeatsOnEvenHoldCounts) {
  Input in;
  int acts = 0;
  for (int pass = 1; pass <= 26; ++pass) {
    Step(in, {ButtonUp});
    if (in.Repeats(ButtonUp, 2)) ++acts;
  }
  EXPECT_EQ(acts, 1 + 3);  // pass 1, then holds 22, 24, 26
}

TEST(KeyConfig, BindsPadZero) {
  auto s = std::make_unique<GameState>();
  std::memset(s.get(), 0, sizeof(GameState));
  Input in;
  EXPECT_EQ(in.keyCode[0][0], -1);
  EXPECT_EQ(in.padBits[2][5], 0xFFFFFFFFu);
  s->input = &in;
  for (int k = 0; k < 4; ++k) s->padButton[k] = 4 + k;
  s->padButton[3] = 31;
  ApplyKeyConfig(*s);
  const int32_t keys[9] = {208, 203, 205, 200, 44, 45, 42, 29, 1};
  const uint32_t masks[9] = {1, 2, 4, 8, 16, 32, 64, 0x80000000u, 0x1000};
  for (int b = 0; b < 9; ++b) {
    EXPECT_EQ(in.keyCode[0][b], keys[b]) << b;
    EXPECT_EQ(in.padBits[0][b], masks[b]) << b;
  }
  EXPECT_EQ(in.keyCode[0][9], -1);
  EXPECT_EQ(in.padBits[1][0], 0xFFFFFFFFu);
  EXPECT_EQ(s->padMask[7], 0x80000000u);
}

TEST(FrameInputByte, MapsHeldButtons) {
  Input in;
  Step(in, {ButtonUp, ButtonShot, ButtonSkip});
  EXPECT_EQ(BuildFrameInput(in), FrameUp | FrameShot | FrameSkip);
  Step(in, {ButtonDown, ButtonLeft, ButtonRight, ButtonBomb, ButtonSlow, ButtonEscape});
  EXPECT_EQ(BuildFrameInput(in), FrameDown | FrameLeft | FrameRight | FrameBomb | FrameSlow);
}

TEST(FrameInputByte, RecordingStopsAtTheReplayLimit) {
  auto s = std::make_unique<GameState>();
  std::memset(s.get(), 0, sizeof(GameState));
  s->inputIndex = kMaxReplayFrames - 1;
  EXPECT_TRUE(RecordFrameInput(*s, 0x11));
  EXPECT_EQ(s->recordInputs[kMaxReplayFrames - 1], 0x11);
  s->inputIndex = kMaxReplayFrames;
  EXPECT_FALSE(RecordFrameInput(*s, 0x22));
  EXPECT_EQ(s->recordInputs[kMaxReplayFrames], 0);
}

TEST(MainLoopRules, PlaybackSpeedByButtonsHeld) {
  Input in;
  Step(in, {});
  EXPECT_EQ(PlaybackUpdateCount(in, 7), 1);
  Step(in, {ButtonBomb});
  EXPECT_EQ(PlaybackUpdateCount(in, 7), 0);
  Step(in, {ButtonShot, ButtonBomb});
  EXPECT_EQ(PlaybackUpdateCount(in, 7), 2);
  Step(in, {ButtonSkip, ButtonShot});
  EXPECT_EQ(PlaybackUpdateCount(in, 7), 4);
  Step(in, {ButtonSlow, ButtonSkip});
  EXPECT_EQ(PlaybackUpdateCount(in, 7), 0);
  EXPECT_EQ(PlaybackUpdateCount(in, 8), 1);
}

TEST(MainLoopRules, FrameSkipCountsPasses) {
  int drawn = 0;
  for (uint32_t pass = 1; pass <= 9; ++pass) drawn += PassDraws(2, pass);
  EXPECT_EQ(drawn, 3);
  EXPECT_TRUE(PassDraws(2, 3));
  EXPECT_FALSE(PassDraws(2, 4));
  EXPECT_TRUE(PassDraws(0, 4));
  EXPECT_TRUE(PassDraws(1, 4));
  EXPECT_FALSE(PassDraws(1, 5));
}

TEST(SnapshotNames, AllDigitNumbersOfAnyLength) {
  EXPECT_EQ(FindBmpExtension("vko001.bmp"), 6);
  EXPECT_EQ(FindBmpExtension("vko001.BMP"), -1);
  EXPECT_EQ(SnapshotNumberOf("vko007.bmp"), 7);
  EXPECT_EQ(SnapshotNumberOf("vko1000.bmp"), 1000);
  EXPECT_EQ(SnapshotNumberOf("vko12a.bmp"), -1);
  EXPECT_EQ(SnapshotNumberOf("vko.bmp"), -1);
  EXPECT_EQ(SnapshotNumberOf("vko001.bmp.txt"), -1);
  EXPECT_EQ(SnapshotNumberOf("xyz001.bmp"), -1);
  char names[5][256] = {"vko001.bmp", "vko999.bmp", "vko1000.bmp", "vkoabc.bmp", "vko0002.bmp"};
  EXPECT_EQ(NextSnapshotNumber(names, 5), 1001);
  EXPECT_EQ(NextSnapshotNumber(names, 0), 1);
  char huge[1][256] = {"vko99999999999999999999999.bmp"};
  EXPECT_GT(NextSnapshotNumber(huge, 1), 1000000000);
}

}  // namespace
