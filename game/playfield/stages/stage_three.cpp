// Stage 3: the mid-boss that changes the scenery, then boss 11 gliding in
// from the upper left.
#include <cmath>

#include "playfield/stages/stage_script.h"

void RunStageThree(StageScript& t) {
  if (t.At(0)) t.Music(0);
  if (t.At(100)) t.Title();
  if (t.At(450)) t.Enemy(500, 208, 16, 16, 1, 7);
  if (t.Every(650, 790, 20) >= 0) t.Enemy(502, 112, 16, 12, 0, 2);
  if (t.Every(900, 1040, 20) >= 0) t.Enemy(503, 304, 16, 12, 0, 2);
  if (t.At(1250)) {
    t.Enemy(500, 144, 16, 1, 1, 1);
    t.Enemy(501, 272, 16, 1, 1, 1);
  }
  if (t.Every(1450, 1590, 20) >= 0) {
    t.Enemy(502, 112, 16, 8, 0, 2);
    t.Enemy(503, 304, 16, 8, 0, 2);
  }
  if (t.At(1700)) t.Enemy(500, 208, 16, 22, 1, 7);
  if (t.At(1900)) {
    t.Enemy(500, 112, 16, 21, 1, 7);
    t.Enemy(500, 304, 16, 21, 1, 7);
  }
  if (t.Every(2150, 2290, 20) >= 0) t.Enemy(503, 304, 16, 5, 0, 0);
  if (t.At(2150)) t.Enemy(504, 112, 16, 20, 1, 7);
  if (t.Every(2500, 2640, 20) >= 0) t.Enemy(502, 112, 16, 5, 0, 0);
  if (t.At(2500)) t.Enemy(504, 304, 16, 20, 1, 7);
  if (t.At(2850)) {
    t.Enemy(504, 112, 16, 15, 1, 2);
    t.Enemy(504, 304, 16, 15, 1, 2);
  }
  if (t.At(3150)) t.Enemy(504, 304, 16, 14, 1, 2);
  int32_t i;
  if ((i = t.Every(3300, 3400, 20)) >= 0) t.Enemy(503, 208 - 32 * i, 16, 10, 0, 2);
  if (t.At(3550)) t.Enemy(504, 112, 16, 14, 1, 2);
  if ((i = t.Every(3700, 3800, 20)) >= 0) t.Enemy(502, 208 + 32 * i, 16, 10, 0, 2);
  if (t.At(4200)) {
    t.Boss(10, 208, 16, 64);
    t.Step();
  }
  if (t.At(4450) || t.At(5050)) t.Enemy(504, 112, 16, 8, 1, 2);
  if (t.At(4600) || t.At(5200)) t.Enemy(500, 304, 16, 8, 1, 2);
  if (t.At(4750) || t.At(5350)) t.Enemy(504, 304, 16, 8, 1, 2);
  if (t.At(4900) || t.At(5500)) t.Enemy(501, 112, 16, 8, 1, 2);
  if (t.At(5800)) t.Enemy(505, 208, 16, 25, 1, 4);
  const int32_t c = t.Character();
  const bool talks = c <= 3;
  if (t.At(6600)) {
    // Glides from (16, 48) to (208, 144) in 64 frames.
    const float speed = static_cast<float>(std::sqrt(46080.0) * (1.0 / 64.0));
    const float angle = static_cast<float>(std::atan2(96.0, 192.0) * 180.0 / 3.141592653589793);
    t.Boss(11, 16, 48, 64, speed, angle);
    t.Dialogue(talks, 16 + 2 * c);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(6602)) {
    t.Dialogue(talks, 17 + 2 * c);
    t.Step();
  }
  t.EndAt(6603);
}
