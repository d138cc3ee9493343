// Frame pacing.
#include "platform/pacer.h"

int64_t FramePacerAfterPresent(FramePacer* pacer, int64_t nowNs) {
  if (!pacer->started) {
    pacer->started = true;
    pacer->lastMarkNs = nowNs;
    return nowNs;
  }
  const int64_t elapsed = nowNs - pacer->lastMarkNs;
  // A blank wait ends close to a whole period after the last; a present that
  // came back much sooner did not wait (the driver ignores vsync) and is paced.
  if (pacer->vsync60 && elapsed >= FramePeriodNs * 3 / 4) {
    pacer->lastMarkNs = nowNs;  // the vertical blank paced this frame
    return nowNs;
  }
  const int64_t deadline = pacer->lastMarkNs + FramePeriodNs;
  if (nowNs < deadline) {
    pacer->lastMarkNs = deadline;
    return deadline;
  }
  // Late: keep the rhythm for small delays, start afresh after a stall
  // rather than rushing frames to catch up.
  pacer->lastMarkNs = nowNs - deadline > 50000000LL ? nowNs : deadline;
  return nowNs;
}
