// The attack script frame: one attack start per attack at frame 120 with the
// table's values, the skipped mid-boss spells, the dispatch's bounds, scratch
// kept between attacks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "boss/attack_table.h"
#include "boss/fake_context.h"

namespace {

// Starts attack `attack` of boss `id` at difficulty d and runs frames 119 and
// 120; returns the StartSpell calls of frame 120 (none expected at 119).
std::vector<FakeCall> StartsAt120(int id, int attack, int d) {
  FakeContext f(id, d);
  f.BeginAttack(attack);
  f.RunAt(119);
  EXPECT_EQ(f.Count("StartSpell"), 0) << id << "/" << attack << " d" << d;
  f.RunAt(120);
  return f.Calls("StartSpell");
}

TEST(AttackFrame, EveryRowStartsOnceAtFrame120AndSpellIdsRunWithoutGaps) {
  std::map<int, int> spellIdUses;
  std::set<std::pair<int, int>> timed;
  for (const AttackRow& row : kAttackTable) {
    for (int d = 0; d <= 4; ++d) {
      const bool runs = (row.runsAt >> d) & 1;
      const bool skipped = row.bossId % 2 == 0 && row.bossId <= 6 && row.attack == 1 && d < 2;
      if (!runs || skipped) continue;
      const std::vector<FakeCall> starts = StartsAt120(row.bossId, row.attack, d);
      ASSERT_EQ(starts.size(), 1u) << int(row.bossId) << "/" << int(row.attack) << " d" << d;
      const FakeCall& s = starts[0];
      EXPECT_EQ(s[1], row.hp);
      EXPECT_EQ(s[2], row.seconds);
      EXPECT_EQ(s[3], row.bonus);
      EXPECT_EQ(s[0] == 0, s[3] == 0) << "spell id 0 exactly when no bonus";
      if (s[0] > 0) ++spellIdUses[static_cast<int>(s[0])];
      if (s[1] == 65535) timed.insert({row.bossId, row.attack});
    }
  }
  ASSERT_EQ(spellIdUses.size(), 199u);
  EXPECT_EQ(spellIdUses.begin()->first, 1);
  EXPECT_EQ(spellIdUses.rbegin()->first, 199);
  for (const auto& [id, uses] : spellIdUses) EXPECT_EQ(uses, 1) << "spell id " << id;
  EXPECT_EQ(timed, (std::set<std::pair<int, int>>{{10, 1}, {18, 0}, {20, 0}, {21, 16}}));
}

TEST(AttackFrame, ChosenRowsByDifficulty) {
  struct Case {
    int id, attack, d;
    std::vector<double> start;  // spell id, hp, seconds, bonus
  } cases[] = {
      {0, 1, 2, {1, 5000, 35, 2000000}},   {6, 1, 3, {32, 5000, 35, 2000000}},
      {1, 3, 0, {7, 6500, 55, 2400000}},   {7, 3, 3, {40, 6500, 45, 2400000}},
      {10, 1, 2, {59, 6000, 50, 2800000}}, {10, 1, 3, {60, 65535, 10, 1500000}},
      {3, 0, 1, {0, 1500, 40, 0}},         {22, 0, 4, {199, 10000, 99, 30000000}},
  };
  for (const Case& c : cases) {
    const std::vector<FakeCall> starts = StartsAt120(c.id, c.attack, c.d);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].args, c.start) << c.id << "/" << c.attack << " d" << c.d;
  }
}

TEST(AttackFrame, MidBossSpellSkippedBelowHard) {
  for (int id : {0, 2, 4, 6}) {
    for (int d : {0, 1}) {
      FakeContext f(id, d);
      f.BeginAttack(1);
      f.boss().phaseFrame = 0;
      f.RunFrames(300);
      EXPECT_EQ(f.boss().attackIndex, 2) << id;
      EXPECT_EQ(f.boss().barsLeft, 0) << id;
      EXPECT_TRUE(f.log.empty()) << id << ": " << f.log.size() << " calls";
    }
  }
}

TEST(AttackFrame, NothingPastTheLastAttackOrForABadId) {
  const int counts[23] = {2, 4, 2, 4, 2, 4, 2, 4, 2, 5, 2, 7, 7, 7, 7, 7, 2, 7, 1, 9, 1, 18, 1};
  for (int id = -1; id <= 23; ++id) {
    const bool valid = id >= 0 && id < 23;
    FakeContext f(id, id >= 21 ? 4 : 3);
    f.BeginAttack(valid ? counts[id] : 0);
    for (int frame : {0, 120, 300, 600, 1199}) {
      f.RunAt(frame);
      EXPECT_TRUE(f.log.empty()) << id;
    }
    EXPECT_EQ(AttackCount(id), valid ? counts[id] : 0);
  }
}

// The extra fight turns the play to Extra, and the final stage's closing card
// starts its music, before their starts in the same frame.
TEST(AttackFrame, StepsBeforeTheStart) {
  const struct {
    int id, d;
    const char* op;
    double arg;
    std::vector<double> start;
  } cases[] = {{21, 3, "SetDifficulty", 4, {0, 5000, 60, 0}},
               {20, 1, "PlayMusic", 2, {186, 65535, 55, 10000000}}};
  for (const auto& c : cases) {
    FakeContext f(c.id, c.d);
    f.RunAt(120);
    ASSERT_GE(f.log.size(), 2u) << c.id;
    EXPECT_EQ(f.log[0].op, c.op) << c.id;
    EXPECT_EQ(f.log[0][0], c.arg) << c.id;
    EXPECT_EQ(f.log[1].op, "StartSpell") << c.id;
    EXPECT_EQ(f.log[1].args, c.start) << c.id;
  }
}

}  // namespace
