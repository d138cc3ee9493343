// Stage 5, the final stage and the extra stage played headless from their
// start through every boss with the real scripts, recorded and played back
// with identical digests. The player is kept from harm and each attack is cut
// short at the same frame on both runs alike (a replay file does not hold
// that), so every attack is met and replayed in little time; longer attacks
// and the survival cards' whole time are fought in final_fights_test.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "stage_play.h"

namespace {

// A strong player: each attack falls (or a survival card runs out) 300
// frames in; the extra stage's ending leaves the play for good, so its play
// ends once its bosses have all been met and the last is gone.
StagePlayRules LateRules(uint32_t untilBosses) { return {200000, 420, untilBosses}; }

struct LateStage {
  uint32_t stage, difficulty;
  uint32_t bosses;  // the boss ids met
};

class LateStagePlay : public ::testing::TestWithParam<LateStage> {};

TEST_P(LateStagePlay, PlaysThroughAndBackIdentically) {
  const LateStage c = GetParam();
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the stand-in data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  GameDriver::PlayStart start;
  start.stageNumber = c.stage;
  start.character = 1;
  start.route = 1;
  start.difficulty = c.difficulty;
  start.seed = 17 + c.stage;
  start.practice = c.stage != 12;  // the extra stage has no practice start
  start.sandbox = false;
  d.StartPlay(start);
  // The extra stage's last attack comes only to a player of 100,000,000 points.
  const uint32_t score = c.stage == 12 ? 100000000u : 0u;
  s.score = score;
  const uint32_t until = c.stage == 12 ? c.bosses : 0u;
  const StagePlay rec = PlayStage(s, true, LateRules(until));
  if (!until) {
    EXPECT_EQ(s.scene, SceneStageResult);
  }
  EXPECT_EQ(rec.bossIds, c.bosses);
  const std::vector<uint8_t> image = d.RecordedReplay();
  ASSERT_FALSE(image.empty());

  ASSERT_TRUE(d.StartReplay(image, false));
  s.score = score;
  const StagePlay back = PlayStage(s, false, LateRules(until));
  ASSERT_GE(back.digests.size() + 1, rec.digests.size());
  for (size_t i = 0; i + 1 < back.digests.size(); ++i)
    ASSERT_TRUE(back.digests[i] == rec.digests[i]) << "frame " << 30 * (i + 1);
  EXPECT_EQ(back.bossIds, rec.bossIds);
}

INSTANTIATE_TEST_SUITE_P(Stages, LateStagePlay,
                         ::testing::Values(LateStage{10, 1, 3u << 16}, LateStage{11, 1, 7u << 18},
                                           LateStage{12, 4, 3u << 21}));

}  // namespace
