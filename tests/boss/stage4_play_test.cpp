// Each stage 4 route played headless from its start to the tally with the
// real boss scripts, recorded and played back with identical digests on every
// frame. The player is kept from harm on both runs alike (a replay file does
// not hold that), so the whole fight is met and replayed.
#include <gtest/gtest.h>

#include <vector>

#include "stage_play.h"

namespace {

class Stage4Play : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Stage4Play, ClearsAndPlaysBackIdentically) {
  const uint32_t route = GetParam();
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the stand-in data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  GameDriver::PlayStart start;
  start.stageNumber = 6 + route;
  start.character = route;
  start.route = route;
  start.difficulty = 1;
  start.seed = 90 + route;
  start.practice = true;
  start.sandbox = false;
  d.StartPlay(start);
  const StagePlay rec = PlayStage(s, true, {60000});
  EXPECT_EQ(s.scene, SceneStageResult);
  EXPECT_EQ(rec.bossIds, 1u << (12 + route));
  const std::vector<uint8_t> image = d.RecordedReplay();
  ASSERT_FALSE(image.empty());

  ASSERT_TRUE(d.StartReplay(image, false));
  const StagePlay back = PlayStage(s, false, {60000});
  // Playback stops one frame short (the last recorded input is never
  // played), and its last frame already ends the replay.
  ASSERT_GE(back.digests.size() + 1, rec.digests.size());
  ASSERT_GT(back.digests.size(), 300u);
  for (size_t i = 0; i + 1 < back.digests.size(); ++i)
    ASSERT_TRUE(back.digests[i] == rec.digests[i]) << "frame " << 30 * (i + 1);
  EXPECT_EQ(back.bossIds, rec.bossIds);
}

INSTANTIATE_TEST_SUITE_P(Routes, Stage4Play, ::testing::Values(0u, 1u, 2u, 3u));

}  // namespace
