// The later stages' own pieces: the laser lattice of stage 4, the frames on
// which the lattice rows and the Extra stage's storm fire, and the bonus that
// ends the final and the Extra stage.
#include <gtest/gtest.h>

#include <memory>

#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/stage.h"
#include "playfield/stages/stage_script.h"
#include "shell/gamestate.h"

void LaserLatticeStep(GameState& state, int32_t row);
int32_t LaserLatticeMask(int32_t row, int32_t column);

namespace {

struct Pool {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  std::unique_ptr<Bullet> bullet;
  Pool() {
    bullet = std::make_unique<Bullet>(*state);
    state->bullet = bullet.get();
  }
  int Active() const {
    int n = 0;
    for (const BulletRecord& r : bullet->records) n += r.active ? 1 : 0;
    return n;
  }
};

TEST(LaserLattice, RowsSpawnOneSegmentPerBit) {
  struct Case { int row, segments; } cases[] = {{0, 2}, {1, 5}, {3, 5}, {15, 0}, {21, 4}, {36, 6}};
  for (const Case& c : cases) {
    Pool p;
    LaserLatticeStep(*p.state, c.row);
    EXPECT_EQ(p.Active(), c.segments) << "row " << c.row;
  }
  EXPECT_EQ(LaserLatticeMask(13, 3), 0x88);
  EXPECT_EQ(LaserLatticeMask(37, 0), 0);
}

TEST(LaserLattice, SegmentsAreFormedErasedProofAndFacingTheirBit) {
  Pool p;
  LaserLatticeStep(*p.state, 1);  // masks 04 04 04 84
  const BulletRecord& first = p.bullet->records[0];
  EXPECT_TRUE(first.isLaser);
  EXPECT_EQ(first.x, 64.0f);
  EXPECT_EQ(first.y, -48.0f);
  EXPECT_EQ(first.speed, 2.0f);
  EXPECT_EQ(first.angle, 90.0f);
  EXPECT_EQ(first.length, 96.0f);  // bit 2: straight down
  EXPECT_EQ(first.eraseProof, 1);
  EXPECT_EQ(first.facingOn, 1);
  EXPECT_EQ(first.facingAngle, 90.0f);
  const BulletRecord& last = p.bullet->records[4];  // x 352, bit 7
  EXPECT_EQ(last.x, 352.0f);
  EXPECT_EQ(last.length, 135.0f);
  EXPECT_EQ(last.facingAngle, 315.0f);
}

TEST(LaserLattice, FullPoolSetsNothing) {
  Pool p;
  for (BulletRecord& r : p.bullet->records) r.active = 1;
  LaserLatticeStep(*p.state, 1);
  for (const BulletRecord& r : p.bullet->records) EXPECT_EQ(r.eraseProof, 0);
}

// One update of a stage's script at `frame` on a field of bullets and items
// alone: what it spawns.
TEST(StageRows, LatticeAndStormFireOnTheirFrames) {
  struct Case {
    uint32_t stage;
    int32_t frame;
    int bullets, items;
  } cases[] = {
      {6, 3699, 0, 0},   {6, 3700, 2, 0},   {6, 3748, 5, 0},   {9, 4420, 0, 0},
      {7, 5428, 6, 0},   {6, 5476, 0, 0},   {12, 2999, 0, 0},  {12, 3000, 2, 1},
      {12, 3004, 2, 0},  {12, 3010, 0, 1},  {12, 3240, 12, 1}, {12, 3510, 18, 1},
      {12, 3960, 30, 1}, {12, 3996, 2, 0},  {12, 3999, 0, 0},  {12, 4000, 0, 1},
  };
  for (const Case& c : cases) {
    Pool p;
    Item item(*p.state);
    Stage stage(*p.state);
    p.state->item = &item;
    p.state->stage = &stage;
    p.state->stageNumber = c.stage;
    stage.frame = c.frame;
    stage.Update(*p.state);
    int items = 0;
    for (const ItemSlot& it : item.slots) items += it.active ? 1 : 0;
    EXPECT_EQ(p.Active(), c.bullets) << "stage " << c.stage << " frame " << c.frame;
    EXPECT_EQ(items, c.items) << "stage " << c.stage << " frame " << c.frame;
  }
}

TEST(LastStageBonus, LivesBombsAndCounters) {
  auto s = std::make_unique<GameState>();
  s->difficulty = 2;  // Hard: 0.7 + 0.6 is a little below 1.3
  s->lives = 2;
  s->bombs = 1;
  s->score = 1000;
  s->stageGraze = 100;
  s->stagePointItems = 10;
  s->stageKind7Items = 1;
  AddLastStageBonus(*s);
  EXPECT_EQ(s->stageClearBonus, 3899999);
  EXPECT_EQ(s->stageGraze, 64999);
  EXPECT_EQ(s->stagePointItems, 649999);
  EXPECT_EQ(s->stageKind7Items, 64999);
  EXPECT_EQ(s->stageBonus, 3899999 + 64999 + 649999 + 64999);
  EXPECT_EQ(s->score, 1000u + 110000000u + 4679996u);
  s->lives = 100;  // the score saturates
  AddLastStageBonus(*s);
  EXPECT_EQ(s->score, UINT32_MAX);
}

}  // namespace
