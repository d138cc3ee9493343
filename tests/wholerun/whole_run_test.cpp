// A whole run from stage 1 to the ending: played live through every stage,
// its tallies, the ending, the name entry and the replay save; the saved
// replay played back with the recording's digests, and played past its last
// frame through the final stage's tally to the name entry, which a replay
// leaves for the title; the score file untouched by the playback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "play_bot.h"
#include "shell/ending.h"
#include "shell/stageresult.h"

#if defined(__SANITIZE_ADDRESS__)
#define VKO_SLOW_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VKO_SLOW_BUILD 1
#endif
#endif

namespace {

constexpr int kEscape = 1;

// One fresh press of `key` and its release, an update each.
void Press(GameState& s, int key) {
  GameDriver::Key(key, true);
  s.input->Poll();
  UpdateScene(s);
  GameDriver::Key(key, false);
  s.input->Poll();
  UpdateScene(s);
}

std::string FirstMismatch(const std::vector<FrameDigest>& want, const std::vector<FrameDigest>& got) {
  for (size_t i = 0; i < got.size() && i < want.size(); ++i)
    if (!(want[i] == got[i])) return "input frame " + std::to_string(30 * (i + 1));
  return "";
}

TEST(WholeRun, StageOneToTheEndingAndBackFromTheSavedReplay) {
#ifdef VKO_SLOW_BUILD
  GTEST_SKIP() << "a whole run is left to the optimised build";
#endif
  GameDriver d;
  ASSERT_TRUE(d.UseStandInData());
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  GameDriver::PlayStart start;
  start.character = 2;
  start.route = 2;
  start.stageNumber = 2;
  start.difficulty = 1;
  start.seed = 123;
  start.sandbox = false;
  d.StartPlay(start);
  const bot::Run rec = bot::Play(s, true, true);
  ASSERT_EQ(s.scene, SceneEnding);
  EXPECT_EQ(rec.stages, (std::vector<uint32_t>{2, 4, 5, 8, 10, 11}));
  EXPECT_EQ(rec.bossIds, 0x1F4F30u);  // 4, 5, 8-11, 14, 16-20
  EXPECT_EQ(s.clearFlags[2][1], 1);
  const uint32_t finalScore = s.score;
  // The same play with a few idle frames after its end, so that a playback
  // reaches the frame that ended it.
  const std::vector<uint8_t> tailed = bot::RecordedWithTail(d, 3);
  s.inputIndex -= 3;

  // The ending (skip held), the name entry and the replay save in slot 1.
  GameDriver::Key(bot::kSkip, true);
  for (int i = 0; i < 2000 && s.scene == SceneEnding; ++i) {
    s.input->Poll();
    UpdateScene(s);
  }
  bot::ReleaseKeys();
  ASSERT_EQ(s.scene, SceneNameEntry);
  Press(s, kEscape);
  Press(s, bot::kShot);  // the name ends: the high score is saved
  ASSERT_EQ(s.scene, SceneReplaySave);
  EXPECT_EQ(s.hiScore[1 * 5 + 0], finalScore);  // Normal, first place
  const std::vector<uint8_t> scores = GameDriver::ReadFile("score.dat");
  ASSERT_EQ(scores.size(), 1537u);
  Press(s, bot::kShot);  // "Yes"
  Press(s, bot::kShot);  // slot 1
  Press(s, kEscape);
  Press(s, bot::kShot);
  ASSERT_EQ(s.scene, SceneTitle);
  const std::vector<uint8_t> saved = GameDriver::ReadFile("replay/vko01_01.rpy");
  ASSERT_EQ(saved.size(), 80 + s.inputIndex + 1);

  // Played back from the saved file: the same frames to its last input.
  ASSERT_TRUE(d.StartReplay(saved, false));
  const bot::Run back = bot::Play(s, false, true);
  EXPECT_EQ(s.scene, SceneReplaySelect);
  EXPECT_EQ(back.stages, rec.stages);
  ASSERT_GE(back.digests.size() + 1, rec.digests.size());
  EXPECT_EQ(FirstMismatch(rec.digests, back.digests), "");

  // Played past its end: the final stage is cleared through the tally, whose
  // last stage leads to the name entry, and the replay to the title.
  ASSERT_TRUE(d.StartReplay(tailed, false));
  const bot::Run past = bot::Play(s, false, true);
  EXPECT_EQ(past.stages, rec.stages);
  EXPECT_EQ(s.stageNumber, 65535u);
  EXPECT_EQ(s.scene, SceneNameEntry);
  s.input->Poll();
  UpdateScene(s);
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(GameDriver::ReadFile("score.dat"), scores);
}

}  // namespace
