// Stage 2: side streams, the mid-boss with its bomb item, and boss 9.
#include "playfield/stages/stage_script.h"

void RunStageTwo(StageScript& t) {
  if (t.At(0)) t.Music(0);
  if (t.At(100)) t.Title();
  int32_t i;
  if ((i = t.Every(450, 660, 30)) >= 0) {
    if (i % 2 == 0)
      t.Enemy(400, 16, 144, 2, 0, 0);
    else
      t.Enemy(401, 16, 144, 17, 0, 7);
  }
  if ((i = t.Every(750, 960, 30)) >= 0) {
    if (i % 2 == 0)
      t.Enemy(402, 400, 144, 17, 0, 7);
    else
      t.Enemy(403, 400, 144, 8, 0, 2);
  }
  if (t.Every(1100, 1310, 30) >= 0) {
    t.Enemy(405, 272, 16, 0, 0, 0);
    t.Enemy(407, 144, 16, 0, 0, 0);
  }
  if (t.Every(1450, 1660, 30) >= 0) t.Enemy(408, 80, 16, 26, 0, -1);
  if (t.Every(1750, 1960, 30) >= 0) t.Enemy(410, 336, 16, 26, 0, -1);
  if (t.Every(2100, 2310, 30) >= 0) {
    t.Enemy(401, 16, 144, 1, 0, 0);
    t.Enemy(404, 272, 16, 26, 0, -1);
  }
  if (t.Every(2400, 2610, 30) >= 0) {
    t.Enemy(403, 400, 144, 1, 0, 0);
    t.Enemy(406, 144, 16, 25, 0, -1);
  }
  if (t.Every(2700, 2910, 30) >= 0) {
    t.Enemy(405, 272, 16, 0, 0, 0);
    t.Enemy(407, 144, 16, 0, 0, 0);
  }
  if (t.At(3260)) {
    t.Boss(8, 208, 16, 64);
    t.Step();
  }
  if (t.At(3262)) t.BombItem();
  if ((i = t.Every(3350, 3560, 30)) >= 0) {
    if (i % 2 == 0) {
      t.Enemy(400, 16, 144, 14, 0, 2);
      t.Enemy(402, 400, 144, 17, 0, 7);
    } else {
      t.Enemy(401, 16, 144, 17, 0, 7);
      t.Enemy(403, 400, 144, 14, 0, 2);
    }
  }
  if (t.At(3600)) {
    t.Enemy(412, 112, 16, 4, 1, 1);
    t.Enemy(413, 304, 16, 4, 1, 1);
  }
  if (t.At(3800)) {
    t.Enemy(413, 144, 16, 3, 1, 1);
    t.Enemy(412, 272, 16, 3, 1, 1);
  }
  if (t.Every(4050, 4260, 30) >= 0) {
    t.Enemy(405, 272, 16, 17, 0, 7);
    t.Enemy(407, 144, 16, 10, 0, 2);
  }
  if (t.Every(4350, 4560, 30) >= 0) {
    t.Enemy(405, 272, 16, 10, 0, 2);
    t.Enemy(407, 144, 16, 17, 0, 7);
  }
  const int32_t c = t.Character();
  const bool talks = c <= 3;
  if (t.At(5300)) {
    t.Boss(9, 208, 16, 64);
    t.Dialogue(talks, 8 + 2 * c);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(5302)) {
    t.Dialogue(talks, 9 + 2 * c);
    t.Step();
  }
  t.EndAt(5303);
}
