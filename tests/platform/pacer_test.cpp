// Frame pacing: 60 frames a second on 60 Hz, 144 Hz and unsynchronised displays.
#include <gtest/gtest.h>

#include "platform/pacer.h"

namespace {

constexpr int64_t kMs = 1000000;

// Simulates n frames where each present returns presentCostNs after the frame
// starts (the vertical-blank wait or the copy), sleeping as the pacer asks.
// Returns the time the n frames took.
int64_t RunFrames(FramePacer* pacer, int frames, int64_t presentCostNs) {
  int64_t now = 1000 * kMs;
  const int64_t begin = now;
  for (int i = 0; i < frames; ++i) {
    now += presentCostNs;
    const int64_t until = FramePacerAfterPresent(pacer, now);
    EXPECT_GE(until, now);
    now = until;
  }
  return now - begin;
}

}  // namespace

TEST(FramePacer, A144HzDisplayStillRunsAt60) {
  FramePacer pacer;  // vsync is not used away from 60 Hz
  const int64_t took = RunFrames(&pacer, 601, 7 * kMs);  // each present returns after ~1/144 s
  // 600 paced intervals after the first frame: 10 seconds, to the nanosecond period.
  EXPECT_EQ(took, 7 * kMs + 600 * FramePeriodNs);
}

TEST(FramePacer, A60HzVsyncIsTrustedWithoutExtraSleep) {
  FramePacer pacer;
  pacer.vsync60 = true;
  int64_t now = 0;
  FramePacerAfterPresent(&pacer, now);
  for (int i = 0; i < 100; ++i) {
    now += FramePeriodNs - 30000;  // the blank comes a hair early by our clock
    EXPECT_EQ(FramePacerAfterPresent(&pacer, now), now);  // no sleep: no lost frame
  }
  // A present that did not wait (vsync ignored by the driver) is paced by sleeping.
  now += 1 * kMs;
  EXPECT_EQ(FramePacerAfterPresent(&pacer, now), now - 1 * kMs + FramePeriodNs);
}

TEST(FramePacer, AnIgnoredVsyncWithFramesOfTenMillisecondsStillRunsAt60) {
  FramePacer pacer;
  pacer.vsync60 = true;  // the display says 60 Hz, but presents return at once
  const int64_t took = RunFrames(&pacer, 61, 10 * kMs);
  EXPECT_EQ(took, 10 * kMs + 60 * FramePeriodNs);
}

TEST(FramePacer, SlowFramesAreNotRushedAfterAStall) {
  FramePacer pacer;
  int64_t now = 0;
  FramePacerAfterPresent(&pacer, now);
  now += 20 * kMs;  // a little late: no sleep, rhythm kept
  EXPECT_EQ(FramePacerAfterPresent(&pacer, now), now);
  EXPECT_EQ(pacer.lastMarkNs, FramePeriodNs);
  now += 500 * kMs;  // a long stall: start afresh from now
  EXPECT_EQ(FramePacerAfterPresent(&pacer, now), now);
  EXPECT_EQ(pacer.lastMarkNs, now);
  now += 1 * kMs;
  EXPECT_EQ(FramePacerAfterPresent(&pacer, now), now - 1 * kMs + FramePeriodNs);
}
