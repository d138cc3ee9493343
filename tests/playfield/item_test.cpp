// Items: collection values, attraction, clamps, extra lives, power and the
// full-power conversion, and the spawn guards.
#include <gtest/gtest.h>

#include "field.h"

namespace {

// The player at (px, py); one item of `kind` spawned on it and collected.
void CollectOne(Field& f, float px, float py, int kind) {
  f.player->x = px;
  f.player->y = py;
  f.item->Spawn(px, py, kind, 0, 90);
  f.item->Update(f.S());
}

TEST(Item, CollectionValues) {
  struct Case {
    int kind;
    float playerY;
    uint32_t scoreBefore;
    int graze, power;
    uint32_t score;
    int powerAfter;
  } cases[] = {
      {ItemPoint, 224, 0, 0, 0, 50000, 0},
      {ItemPoint, 448, 0, 0, 0, 0, 0},
      {ItemPoint, 456, 1000, 0, 0, 1000, 0},                 // below 448 takes nothing
      {ItemPoint, 224, 0xFFFFFFF0u, 0, 0, 0xFFFFFFFFu, 0},   // the score stops at its top
      {ItemCancel, 300, 0, 7000, 0, 5000, 0},
      {ItemCancel, 300, 0, 123, 0, 123, 0},
      {ItemPower, 300, 0, 0, 5, 0, 6},
      {ItemBigPower, 300, 0, 0, 125, 0, 128},                // capped
      {ItemFullPower, 300, 0, 0, 3, 0, 128},
  };
  for (const Case& c : cases) {
    Field f;
    f.S().score = c.scoreBefore;
    f.S().graze = c.graze;
    f.S().power = c.power;
    CollectOne(f, 200, c.playerY, c.kind);
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " y " << c.playerY);
    EXPECT_EQ(f.item->CountActive(), 0);
    EXPECT_EQ(f.S().score, c.score);
    EXPECT_EQ(f.S().power, c.powerAfter);
  }
  Field g;
  CollectOne(g, 200, 300, ItemPoint);
  CollectOne(g, 200, 300, ItemGauge);
  CollectOne(g, 200, 300, ItemBomb);
  CollectOne(g, 200, 300, ItemExtend);
  EXPECT_EQ(g.S().pointItems, 1);
  EXPECT_EQ(g.S().stagePointItems, 1);
  EXPECT_EQ(g.S().gauge, 10);
  EXPECT_EQ(g.S().stageKind7Items, 1);
  EXPECT_EQ(g.S().bombs, 1);
  EXPECT_EQ(g.S().lives, 1);
}

TEST(Item, AttractionAndCollectionLine) {
  struct Case {
    float playerY, dx;
    bool slow, missed;
    bool attracted;
    float speed;
  } cases[] = {
      {100, 200, false, false, true, 10},  // above the collection line
      {128, 200, false, false, true, 10},  // on it
      {300, 63, true, false, true, 5},     // slow and near
      {300, 64, true, false, false, 0.05f},
      {300, 63, false, false, false, 0.05f},
      {100, 200, false, true, false, 0.05f},  // nothing flies to a player who is down
  };
  for (const Case& c : cases) {
    Field f;
    f.player->x = 100;
    f.player->y = c.playerY;
    f.player->slow = c.slow;
    f.player->missed = c.missed;
    f.item->Spawn(100 + c.dx, c.playerY, ItemPoint, 0, 90);
    f.item->Update(f.S());
    SCOPED_TRACE(testing::Message() << "y " << c.playerY << " dx " << c.dx);
    EXPECT_EQ(f.item->slots[0].attracted != 0, c.attracted);
    EXPECT_FLOAT_EQ(f.item->slots[0].speed, c.speed);
  }

  // Cancel items fly at once; a bomb draws everything, a miss lets go.
  Field f;
  f.item->Spawn(10, 10, ItemCancel, -3, 90);
  EXPECT_TRUE(f.item->slots[0].attracted);
  EXPECT_FLOAT_EQ(f.item->slots[0].speed, 10.0f);
  f.item->Spawn(10, 10, ItemPower, -3, 90);
  f.item->SetAttraction(true);
  EXPECT_TRUE(f.item->slots[1].attracted);
  f.item->SetAttraction(false);
  EXPECT_FALSE(f.item->slots[0].attracted);
  EXPECT_FLOAT_EQ(f.item->slots[1].speed, 1.5f);
}

TEST(Item, MotionClampsAndFall) {
  struct Case {
    float x, y, speed;
    float xAfter;
    bool active;
  } cases[] = {{401, 200, 0, 384, true}, {390, 200, 0, 390, true}, {10, 200, 0, 16, true},
               {200, 511.9f, 0, 200, true}, {200, 512, 1, 200, false}};
  for (const Case& c : cases) {
    Field f;
    f.player->y = 1000;  // far away
    f.item->Spawn(c.x, c.y, ItemPoint, static_cast<int>(c.speed), 90);
    f.item->Update(f.S());
    EXPECT_FLOAT_EQ(f.item->slots[0].x, c.xAfter) << c.x;
    EXPECT_EQ(f.item->slots[0].active != 0, c.active) << c.y;
  }
  // A hop: rising while the speed is negative, on its spawn angle.
  Field f;
  f.player->y = 1000;
  f.item->Spawn(200, 200, ItemPower, -3, 60);
  f.item->Update(f.S());
  EXPECT_FLOAT_EQ(f.item->slots[0].speed, -2.95f);
  EXPECT_FLOAT_EQ(f.item->slots[0].angle, 60.0f);
  EXPECT_LT(f.item->slots[0].y, 200.0f);
}

TEST(Item, FullPowerConvertsTheField) {
  Field f;
  f.S().power = 127;
  f.player->x = 200;
  f.player->y = 300;
  f.bullet->Spawn(0, 100, 100, 0, 0, 0, 0);
  int proof = f.bullet->Spawn(0, 120, 100, 0, 0, 0, 0);
  f.bullet->SetEraseProof(proof);
  f.item->Spawn(200, 300, ItemPower, 0, 90);  // collected: 128
  f.item->Spawn(50, 50, ItemBigPower, 0, 90);  // turns into a hopping point item
  f.item->Update(f.S());
  EXPECT_EQ(f.S().power, 128);
  EXPECT_EQ(f.bullet->CountActive(), 1);
  EXPECT_EQ(f.item->slots[1].kind, ItemPoint);
  EXPECT_FLOAT_EQ(f.item->slots[1].speed, -2.0f);
  EXPECT_EQ(f.item->slots[0].kind, ItemCancel);  // the bullet's item took the free slot
  // Power items met later while power stays full are point items.
  f.item->Spawn(30, 30, ItemPower, 0, 90);
  f.item->Update(f.S());
  EXPECT_EQ(f.item->slots[2].kind, ItemPoint);
}

TEST(Item, ExtraLivesByPointItems) {
  struct Case {
    uint32_t difficulty;
    int points, extends;
    bool extend;
  } cases[] = {{0, 49, 0, false}, {0, 50, 0, true},  {3, 125, 1, true},  {1, 449, 4, false},
               {1, 450, 4, true}, {4, 50, 0, false}, {4, 100, 0, true},  {4, 400, 2, true},
               {4, 99999, 3, false}, {0, 99999, 5, false}, {0, 99999, 9, false},
               {0, 99999, -3, false}};
  for (const Case& c : cases) {
    Field f;
    f.S().difficulty = c.difficulty;
    f.S().pointItems = c.points;
    f.S().extends = c.extends;
    f.S().lives = 2;
    f.item->Update(f.S());
    SCOPED_TRACE(testing::Message() << "difficulty " << c.difficulty << " points " << c.points
                                    << " extends " << c.extends);
    EXPECT_EQ(f.S().lives, c.extend ? 3 : 2);
    EXPECT_EQ(f.S().extends, c.extends + (c.extend ? 1 : 0));
  }
  Field f;
  f.S().lives = 12;
  f.S().bombs = 10;
  f.item->Update(f.S());
  EXPECT_EQ(f.S().lives, 9);
  EXPECT_EQ(f.S().bombs, 9);
}

TEST(Item, SpawnGuards) {
  Field f;
  for (int kind : {-1, 8, 1000}) {
    EXPECT_EQ(f.item->Spawn(0, 0, kind, 0, 0), -1);
    EXPECT_EQ(f.item->lastSlot, -1);
  }
  for (int i = 0; i < kItemPoolSize; ++i) ASSERT_EQ(f.item->Spawn(200, 200, ItemPoint, 0, 0), i);
  EXPECT_EQ(f.item->Spawn(200, 200, ItemPoint, 0, 0), -1);
  EXPECT_EQ(f.item->lastSlot, -1);
}

}  // namespace
