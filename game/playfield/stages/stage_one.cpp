// Stage 1, all four routes: the same waves, the route's boss pair and
// dialogues.
#include "playfield/stages/stage_script.h"

void RunStageOne(StageScript& t, int32_t v) {
  if (t.At(0)) t.Music(0);
  if (t.At(100)) t.Title();
  // Fairies down the sides; x drawn per enemy.
  struct SideWave {
    int32_t start;
    int32_t baseX;
    int32_t sprite;
  };
  static const SideWave kWaves[4] = {{450, 34, 1}, {600, 322, 2}, {800, 34, 7}, {950, 322, 6}};
  for (const SideWave& w : kWaves) {
    if (t.Every(w.start, w.start + 70, 10) >= 0) {
      int32_t r = t.R(60);
      t.Enemy(0, w.baseX + r, 16, w.sprite, 0, 0);
    }
  }
  if (t.At(1150)) t.Enemy(2, 112, 16, 0, 0, 1);
  if (t.At(1350)) t.Enemy(2, 304, 16, 0, 0, 1);
  if (t.Every(1550, 1620, 10) >= 0) {
    int32_t left = t.R(60);
    t.Enemy(0, 34 + left, 16, 3, 0, 0);
    int32_t right = t.R(60);
    t.Enemy(0, 322 + right, 16, 5, 0, 0);
  }
  if (t.At(1700)) t.Enemy(2, 208, 16, 4, 0, 1);
  if (t.Every(1900, 1970, 10) >= 0) {
    int32_t r = t.R(60);
    t.Enemy(0, 322 + r, 16, 16, 0, 7);
  }
  if (t.At(1950)) t.Enemy(2, 112, 16, 6, 0, 1);
  if (t.Every(2050, 2120, 10) >= 0) {
    int32_t r = t.R(60);
    t.Enemy(0, 34 + r, 16, 16, 0, 7);
  }
  if (t.At(2100)) t.Enemy(2, 304, 16, 6, 0, 1);
  // Pairs from both walls.
  struct WallWave {
    int32_t start;
    int32_t sprite;
    int32_t drop;
  };
  static const WallWave kWalls[2] = {{2400, 2, 0}, {3000, 21, 7}};
  for (const WallWave& w : kWalls) {
    if (t.Every(w.start, w.start + 250, 50) >= 0) {
      int32_t left = t.R(80);
      t.Enemy(1, 16, 36 + left, w.sprite, 0, w.drop);
      int32_t right = t.R(80);
      t.Enemy(1, 400, 36 + right, w.sprite, 0, w.drop);
    }
  }
  if (t.At(3300)) t.Enemy(2, 208, 16, 0, 0, 1);
  if (t.At(3500)) {
    t.Enemy(2, 144, 16, 1, 0, 1);
    t.Enemy(2, 272, 16, 2, 0, 1);
  }
  // Mid-boss 2v hands over to 2v + 1 by itself; the hand-over steps the
  // clock to 3802.
  if (t.At(3800)) {
    t.Boss(2 * v, 208, 16, 64);
    t.Step();
  }
  const bool talks = t.Character() == v;
  if (t.At(3802)) {
    t.Dialogue(talks, 2 * v);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(3804)) {
    t.Dialogue(talks, 2 * v + 1);
    t.Step();
  }
  t.EndAt(3805);
}
