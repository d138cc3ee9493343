// Stage 4 (one script for its four routes): fairy waves, the laser lattice
// that falls row by row, and the route's boss.
#include "playfield/bullet.h"
#include "playfield/stages/stage_script.h"
#include "shell/gamestate.h"
#include "shell/sound.h"

namespace {

// Per row, one mask per column (x = 64, 160, 256, 352): bit j asks for a
// segment leaving the column's anchor at 45 j degrees.
constexpr int kLatticeRows = 37;
const uint8_t kLaserLatticeRows[kLatticeRows][4] = {
    {0x08, 0x00, 0x00, 0x02}, {0x04, 0x04, 0x04, 0x84}, {0x08, 0x08, 0x08, 0x08},
    {0x24, 0x04, 0x04, 0x04}, {0x02, 0x02, 0x02, 0x02}, {0x08, 0x00, 0x00, 0x02},
    {0x04, 0x02, 0x08, 0x04}, {0x00, 0x08, 0x02, 0x00}, {0x00, 0x04, 0x04, 0x00},
    {0x00, 0x01, 0x00, 0x00}, {0x00, 0x04, 0x04, 0x00}, {0x28, 0x04, 0x04, 0x01},
    {0x02, 0x02, 0x02, 0x82}, {0x28, 0x08, 0x08, 0x88}, {0x02, 0x00, 0x00, 0x08},
    {0x00, 0x00, 0x00, 0x00}, {0x01, 0x00, 0x01, 0x00}, {0x10, 0x01, 0x00, 0x01},
    {0x01, 0x00, 0x01, 0x00}, {0x10, 0x00, 0x00, 0x01}, {0x01, 0x01, 0x01, 0x00},
    {0x11, 0x00, 0x00, 0x11}, {0x11, 0x00, 0x00, 0x11}, {0x00, 0x04, 0x04, 0x00},
    {0x00, 0x01, 0x00, 0x00}, {0x10, 0x08, 0x02, 0x01}, {0x10, 0x00, 0x00, 0x01},
    {0x02, 0x01, 0x00, 0x08}, {0x10, 0x00, 0x00, 0x01}, {0x02, 0x01, 0x00, 0x08},
    {0x00, 0x05, 0x04, 0x00}, {0x10, 0x08, 0x02, 0x01}, {0x10, 0x01, 0x00, 0x01},
    {0x04, 0x04, 0x04, 0x04}, {0x04, 0x04, 0x04, 0x04}, {0x00, 0x04, 0x04, 0x00},
    {0x05, 0x04, 0x05, 0x04},
};

// Five fairies in a line, 16 pixels apart leftward from x0.
void FiveInLine(StageScript& t, int32_t kind, int32_t x0, int32_t y, int32_t sprite,
                int32_t drop) {
  for (int32_t i = 0; i < 5; ++i) t.Enemy(kind, x0 - 16 * i, y, sprite, 0, drop);
}

}  // namespace

// One row of the lattice: segments falling from above the field at 2 pixels a
// frame, fully formed, proof against erasing, drawn along their own angle.
void LaserLatticeStep(GameState& state, int32_t row) {
  if (state.sound) state.sound->Play(1);
  if (row < 0 || row >= kLatticeRows || !state.bullet) return;
  for (int c = 0; c < 4; ++c) {
    const float x = static_cast<float>(64 + 96 * c);
    for (int j = 0; j < 8; ++j) {
      if (!(kLaserLatticeRows[row][c] & (1u << j))) continue;
      const int32_t length = j % 2 == 0 ? 96 : 135;
      const int32_t slot = state.bullet->SpawnLaser(x, -48.0f, 2.0f, 90.0f, 10, length, 10, -10, 0);
      if (slot < 0 || !state.bullet->records[slot].active) continue;
      state.bullet->records[slot].eraseProof = 1;
      state.bullet->records[slot].facingOn = 1;
      state.bullet->records[slot].facingAngle = static_cast<float>(45 * j);
    }
  }
}

int32_t LaserLatticeMask(int32_t row, int32_t column) {
  if (row < 0 || row >= kLatticeRows || column < 0 || column > 3) return 0;
  return kLaserLatticeRows[row][column];
}

void RunStageFour(StageScript& t, int32_t r) {
  if (t.At(0)) t.Music(0);
  if (t.At(250) || t.At(650)) FiveInLine(t, 600, 48, 80, 2, 1);
  if (t.At(400) || t.At(750)) FiveInLine(t, 601, 416, 112, 2, 1);
  if (t.At(550) || t.At(850)) FiveInLine(t, 602, 240, 16, 16, 7);
  if (t.At(1100)) t.Title();
  int32_t i;
  if ((i = t.Every(1400, 1715, 45)) >= 0) t.Enemy(i % 2 == 0 ? 603 : 604, 208, 16, 19, 0, 7);
  if (t.At(1900))
    for (int32_t k = 0; k < 5; ++k) {
      t.Enemy(600, 48 - 16 * k, 64, 17, 0, 7);
      t.Enemy(601, 416 - 16 * k, 64, 5, 0, 0);
    }
  if (t.At(2100))
    for (int32_t k = 0; k < 5; ++k) {
      t.Enemy(600, 48 - 16 * k, 112, 5, 0, 0);
      t.Enemy(601, 416 - 16 * k, 112, 17, 0, 7);
    }
  if ((i = t.Every(2200, 2515, 45)) >= 0) t.Enemy(i % 2 == 0 ? 603 : 604, 208, 16, 12, 0, 2);
  if (t.At(2800)) t.Enemy(605, 16, 64, 30, 0, -1);
  if (t.Every(2800, 2920, 30) >= 0) t.Enemy(603, 272, 16, 12, 0, 2);
  if (t.At(2900)) t.Enemy(606, 400, 64, 30, 0, -1);
  if (t.Every(2900, 3020, 30) >= 0) t.Enemy(604, 144, 16, 12, 0, 2);
  if (t.At(3000)) t.Enemy(605, 16, 64, 30, 0, -1);
  if (t.Every(3000, 3120, 30) >= 0) t.Enemy(603, 272, 16, 12, 0, 2);
  if (t.At(3100)) t.Enemy(606, 400, 64, 30, 0, -1);
  if (t.Every(3100, 3220, 30) >= 0) t.Enemy(604, 144, 16, 12, 0, 2);
  if (t.At(3300)) {
    t.Enemy(605, 16, 64, 25, 0, 3);
    t.Enemy(606, 400, 64, 25, 0, 3);
  }
  if ((i = t.Every(3300, 3510, 30)) >= 0) t.Enemy(i % 2 == 0 ? 603 : 604, 208, 16, 19, 0, 7);
  if ((i = t.Every(3700, 5428, 48)) >= 0) LaserLatticeStep(t.State(), i);
  if (t.At(3850) || t.At(4234) || t.At(4618) || t.At(5002)) FiveInLine(t, 600, 48, 64, 23, 7);
  if (t.At(4042) || t.At(4426) || t.At(4810) || t.At(5194)) FiveInLine(t, 601, 416, 64, 22, 7);
  const int32_t c = t.Character();
  const bool talks = c == r;
  if (t.At(5800)) {
    t.Boss(12 + r, 208, 16, 64);
    t.Dialogue(talks, 24 + 2 * c);
    t.Step();
    t.BossMusicDue();
  }
  if (t.At(5802)) {
    t.Dialogue(talks, 25 + 2 * c);
    t.Step();
  }
  t.EndAt(5804);
}
