// Frame pacing at 60 presents a second, whatever the display's refresh: with a
// 60 Hz vertical-blank wait the wait itself paces; otherwise (144 Hz displays,
// no vsync) each present sleeps to the next 1/60 s mark.
#pragma once
#include <cstdint>

constexpr int64_t FramePeriodNs = 1000000000LL / 60;

struct FramePacer {
  bool vsync60 = false;     // presents wait for a 60 Hz vertical blank
  bool started = false;
  int64_t lastMarkNs = 0;   // when the last frame counted as shown
};

// Called right after a present at time nowNs: the time to sleep until before
// the next frame may start (equal to nowNs when no sleep is needed).
int64_t FramePacerAfterPresent(FramePacer* pacer, int64_t nowNs);
