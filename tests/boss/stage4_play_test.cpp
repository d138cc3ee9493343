// Each stage 4 route played headless from its start to the tally with the
// real boss scripts, recorded and played back with identical digests on every
// frame. The player is kept from harm on both runs alike (a replay file does
// not hold that), so the whole fight is met and replayed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/driver.h"
#include "playfield/boss.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "shell/input.h"
#include "shell/scene.h"

namespace {

constexpr int kLeft = 203, kRight = 205, kShot = 44, kSkip = 29;

struct Play {
  std::vector<FrameDigest> digests;  // every 30th frame the replay holds
  uint32_t bossIds = 0;              // bit per boss id met
};

// Runs the play (recorded, or played back when `keys` is false) until it
// leaves the play scene: input, one update, a digest for each input taken.
Play RunStage(GameState& s, bool keys) {
  Play p;
  for (int pass = 1; pass < 60000 && s.scene == ScenePlaying && (keys || s.playback); ++pass) {
    if (keys) {
      const bool sway = (pass / 90) % 2 == 0;
      GameDriver::Key(kShot, true);
      GameDriver::Key(kSkip, true);
      GameDriver::Key(kLeft, sway);
      GameDriver::Key(kRight, !sway);
    }
    s.player->invulnerable = 60;
    s.input->Poll();
    const uint32_t before = s.inputIndex;
    UpdateScene(s);
    // A play that parts from its recording stays apart: a digest every
    // 30 frames finds it.
    if (s.inputIndex != before && s.inputIndex % 30 == 0) p.digests.push_back(ComputeFrameDigest(s));
    if (s.boss->active) p.bossIds |= 1u << s.boss->id;
  }
  for (int k : {kLeft, kRight, kShot, kSkip}) GameDriver::Key(k, false);
  return p;
}

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
  const Play rec = RunStage(s, true);
  EXPECT_EQ(s.scene, SceneStageResult);
  EXPECT_EQ(rec.bossIds, 1u << (12 + route));
  const std::vector<uint8_t> image = d.RecordedReplay();
  ASSERT_FALSE(image.empty());

  ASSERT_TRUE(d.StartReplay(image, false));
  const Play back = RunStage(s, false);
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
