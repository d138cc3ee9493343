// The headless back end: presented frames, message-box script, virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PlatformUseBackend(PlatformBackend::Headless), 0);
    HeadlessReset();
  }
  void TearDown() override { PlatformEnd(); }
};

TEST_F(HeadlessTest, PresentKeepsACopyOfTheFrameRowsPacked) {
  ASSERT_EQ(PlatformStart(), 0);
  ASSERT_EQ(PlatformCreateWindow("t", 640, 480, 1, 101), 0);
  EXPECT_EQ(PlatformUseBackend(PlatformBackend::Sdl), -1);  // not while started
  // 3 x 2 pixels of 16 bits in rows of 8 bytes.
  const uint8_t pixels[16] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};
  ASSERT_EQ(PlatformPresentFrame(pixels, 3, 2, 8, 16), 0);
  HeadlessFrame f = HeadlessLastFrame();
  EXPECT_EQ(f.width, 3);
  EXPECT_EQ(f.height, 2);
  EXPECT_EQ(f.bits, 16);
  EXPECT_EQ(f.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(HeadlessPresentedFrameCount(), 1);
  // Bad arguments are refused and not counted.
  EXPECT_EQ(PlatformPresentFrame(pixels, 3, 2, 5, 16), -1);   // pitch below a row
  EXPECT_EQ(PlatformPresentFrame(pixels, 3, 2, 8, 24), -1);
  EXPECT_EQ(PlatformPresentFrame(nullptr, 3, 2, 8, 16), -1);
  EXPECT_EQ(PlatformPresentFrame(pixels, 0, 2, 8, 16), -1);
  EXPECT_EQ(PlatformPresentFrame(pixels, 1 << 20, 1, 1 << 22, 32), -1);
  EXPECT_EQ(HeadlessPresentedFrameCount(), 1);
  const uint32_t px32[2] = {0x00112233u, 0x00445566u};
  ASSERT_EQ(PlatformPresentFrame(px32, 2, 1, 8, 32), 0);
  f = HeadlessLastFrame();
  EXPECT_EQ(f.bits, 32);
  EXPECT_EQ(f.pixels[0], 0x33);  // byte 0 is blue
  EXPECT_EQ(f.pixels[6], 0x44);
}

TEST_F(HeadlessTest, ClockIsVirtualAndCanFollowPresentedFrames) {
  EXPECT_EQ(PlatformMilliseconds(), 0u);
  PlatformSleep(25);
  EXPECT_EQ(PlatformMilliseconds(), 25u);
  HeadlessSetClock(1000);
  HeadlessSetFrameClockRate(60);
  ASSERT_EQ(PlatformStart(), 0);
  ASSERT_EQ(PlatformCreateWindow("t", 640, 480, 1, 0), 0);
  const uint16_t px[1] = {0};
  for (int i = 0; i < 60; ++i) ASSERT_EQ(PlatformPresentFrame(px, 1, 1, 2, 16), 0);
  EXPECT_EQ(PlatformMilliseconds(), 2000u);  // 60 frames at 60 Hz: exactly one second
  PlatformPresentFrame(px, 1, 1, 2, 16);
  EXPECT_EQ(PlatformMilliseconds(), 2016u);
}

TEST_F(HeadlessTest, MessageBoxesAnswerFromTheScriptBeforeAnyStart) {
  HeadlessQueueMessageBoxAnswer(0);
  HeadlessQueueMessageBoxAnswer(1);
  EXPECT_EQ(PlatformMessageBoxYesNo("\x83\x52\x83\x93\x83\x74\x83\x42\x83\x4F", "c"), 0);
  EXPECT_STREQ(HeadlessLastMessageBoxText(), "\x83\x52\x83\x93\x83\x74\x83\x42\x83\x4F");
  EXPECT_EQ(PlatformMessageBoxYesNo("b", "c"), 1);
  EXPECT_EQ(PlatformMessageBoxYesNo("c", "c"), 1);  // the default answer
  HeadlessSetDefaultMessageBoxAnswer(0);
  EXPECT_EQ(PlatformMessageBoxYesNo("d", "c"), 0);
  EXPECT_EQ(HeadlessMessageBoxCount(), 4);
}

TEST_F(HeadlessTest, InjectedCloseIsSeenByThePumpAndFromAnyThread) {
  ASSERT_EQ(PlatformStart(), 0);
  ASSERT_EQ(PlatformCreateWindow("t", 640, 480, 1, 0), 0);
  EXPECT_EQ(PlatformPumpEvents(), 0);
  HeadlessInjectClose();
  EXPECT_EQ(PlatformPumpEvents(), -1);
  int seen = 0;
  std::thread([&] { seen = PlatformWindowGone(); }).join();
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(PlatformCreateWindow("t", 0, 480, 1, 0), -1);
}
