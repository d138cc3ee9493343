// Stage 5: streams of fairies from both sides, the mid-boss, and boss 17.
#include "playfield/stages/stage_script.h"

namespace {

// A fairy at a random x in [x0, x0 + 60] on the top edge.
void RandomTop(StageScript& t, int32_t x0, int32_t sprite, int32_t drop) {
  const int32_t dx = t.R(60);
  t.Enemy(700, x0 + dx, 16, sprite, 0, drop);
}

}  // namespace

void RunStageFive(StageScript& t) {
  if (t.At(0)) t.Music(0);
  if (t.At(100)) t.Title();
  if (t.Every(450, 520, 10) >= 0) RandomTop(t, 34, 2, 0);
  if (t.Every(550, 620, 10) >= 0) RandomTop(t, 322, 8, 2);
  if (t.Every(650, 720, 10) >= 0) RandomTop(t, 34, 8, 2);
  if (t.Every(750, 820, 10) >= 0) RandomTop(t, 322, 2, 0);
  if (t.Every(900, 970, 10) >= 0) {
    RandomTop(t, 34, 20, 7);
    RandomTop(t, 322, 20, 7);
  }
  if (t.At(1050)) {
    t.Enemy(701, 144, 16, 25, 0, -1);
    t.Enemy(701, 272, 16, 25, 0, -1);
  }
  if (t.At(1350)) {
    t.Enemy(702, 112, 16, 6, 0, 1);
    t.Enemy(703, 304, 16, 6, 0, 1);
  }
  if (t.Every(1500, 1570, 10) >= 0) {
    RandomTop(t, 34, 11, 2);
    RandomTop(t, 322, 11, 2);
  }
  if (t.At(1550)) t.Enemy(701, 208, 16, 21, 0, 7);
  if (t.At(1800)) {
    t.Enemy(702, 160, 16, 16, 0, 7);
    t.Enemy(703, 256, 16, 16, 0, 7);
  }
  if (t.At(1900)) {
    t.Enemy(701, 112, 16, 17, 0, 7);
    t.Enemy(701, 304, 16, 17, 0, 7);
  }
  if (t.At(2200)) t.Enemy(705, 208, 16, 31, 1, -1);
  if (t.At(2800)) {
    t.Boss(16, 208, 16, 64);
    t.Step();
  }
  if (t.At(2802)) t.Item(4);
  if (t.At(3000)) t.Enemy(704, 144, 16, 1, 0, 0);
  if (t.At(3150)) t.Enemy(701, 272, 16, 8, 0, 2);
  if (t.At(3300)) t.Enemy(704, 272, 16, 1, 0, 0);
  if (t.At(3450)) t.Enemy(701, 144, 16, 8, 0, 2);
  if (t.At(3600)) {
    t.Enemy(704, 112, 16, 18, 0, 7);
    t.Enemy(704, 304, 16, 18, 0, 7);
  }
  if (t.At(3850) || t.At(3900)) t.Enemy(706, 16, 80, 22, 0, 7);
  if (t.At(4050) || t.At(4100)) t.Enemy(707, 384, 80, 22, 0, 7);
  if (t.At(4250)) t.Enemy(704, 144, 16, 0, 0, 1);
  if (t.At(4300) || t.At(4350) || t.At(4400)) t.Enemy(707, 384, 112, 10, 0, 2);
  if (t.At(4450)) t.Enemy(704, 272, 16, 0, 0, 1);
  if (t.At(4500) || t.At(4550) || t.At(4600)) t.Enemy(706, 16, 112, 10, 0, 2);
  const int32_t c = t.Character();
  const bool talks = c <= 3;
  if (t.At(4900)) {
    t.Boss(17, 208, 16, 64);
    t.Dialogue(talks, 32 + 2 * c);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(4902)) {
    t.Dialogue(talks, 33 + 2 * c);
    t.Step();
  }
  t.EndAt(4904);
}
