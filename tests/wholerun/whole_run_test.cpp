// A whole run on Easy from stage 1 to the ending, played by a player that
// only sees the field (no test switch), through every tally, the ending, the
// name entry and the replay save. The saved replay reproduces the run in a
// fresh process (the replay checker) and here, where it is also played past
// its last input through the final stage's tally to the name entry, which a
// replay leaves for the title, with the score file untouched.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dodge_bot.h"
#include "play_bot.h"
#include "scenes/ending.h"

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

// The replay checker run on `file` in the game's folder, in the background;
// Line() waits for its line (empty when the checker is not built).
class ReplayChecker {
 public:
  ReplayChecker(GameDriver& d, const std::string& file) {
    const std::string checker = GameDriver::StartFolderPath() + "/replaycheck";
    if (!GameDriver::Exists(checker)) return;
    const std::string cmd = "cd '" + d.Folder() + "' && '" + checker + "' '" + file + "' 2>&1";
    pipe_ = popen(cmd.c_str(), "r");
  }
  std::string Line() {
    std::string text;
    if (!pipe_) return text;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe_)) text += buf;
    pclose(pipe_);
    pipe_ = nullptr;
    return text;
  }
  ~ReplayChecker() { Line(); }

 private:
  FILE* pipe_ = nullptr;
};

TEST(WholeRun, StageOneToTheEndingAndBackFromTheSavedReplay) {
#ifdef VKO_SLOW_BUILD
  GTEST_SKIP() << "a whole run is left to the optimised build";
#endif
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the stand-in data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  GameDriver::PlayStart start;
  start.character = 2;
  start.route = 2;
  start.stageNumber = 2;
  start.difficulty = 0;
  start.seed = 5;
  start.sandbox = false;
  d.StartPlay(start);

  bot::Run rec;
  std::vector<dodge::Threat> threats;
  uint32_t scoreBeforeEnd = 0;
  for (int pass = 1; pass < 300000 && (s.scene == ScenePlaying || s.scene == SceneStageResult); ++pass) {
    dodge::Steer(s, threats, pass);
    if (s.scene == ScenePlaying && (rec.stages.empty() || rec.stages.back() != s.stageNumber))
      rec.stages.push_back(s.stageNumber);
    s.input->Poll();
    const uint32_t before = s.inputIndex;
    scoreBeforeEnd = s.score;
    UpdateScene(s);
    if (s.inputIndex != before && s.inputIndex % 30 == 0) rec.digests.push_back(ComputeFrameDigest(s));
    if (s.boss->active) rec.bossIds |= 1u << s.boss->id;
    bot::Snapshot(s, pass);
  }
  bot::ReleaseKeys();
  ASSERT_EQ(s.scene, SceneEnding);
  EXPECT_EQ(rec.stages, (std::vector<uint32_t>{2, 4, 5, 8, 10, 11}));
  EXPECT_EQ(rec.bossIds, 0x1F4F30u);  // 4, 5, 8-11, 14, 16-20
  EXPECT_EQ(s.clearFlags[2][0], 1);
  const uint32_t finalScore = s.score;
  // The ending's bonus came with the last frame: lives and bombs left, and the
  // stage's own.
  EXPECT_EQ(finalScore - scoreBeforeEnd,
            static_cast<uint32_t>((s.lives * 5 + s.bombs) * 10000000 + s.stageBonus));
  // The same play with idle frames after its end, so that a playback reaches
  // the frame that ended it.
  const std::vector<uint8_t> tailed = bot::RecordedWithTail(d, 3);
  s.inputIndex -= 3;
  const uint32_t inputs = s.inputIndex;

  // The ending (skip held), the name entry and the replay save in slot 1.
  GameDriver::Key(dodge::kSkip, true);
  for (int i = 0; i < 2000 && s.scene == SceneEnding; ++i) {
    s.input->Poll();
    UpdateScene(s);
  }
  bot::ReleaseKeys();
  ASSERT_EQ(s.scene, SceneNameEntry);
  Press(s, kEscape);
  Press(s, dodge::kShot);  // the name ends: the high score is saved
  ASSERT_EQ(s.scene, SceneReplaySave);
  EXPECT_EQ(s.hiScore[0], finalScore);  // Easy, first place
  const std::vector<uint8_t> scores = GameDriver::ReadFile("score.dat");
  ASSERT_EQ(scores.size(), 1537u);
  Press(s, dodge::kShot);  // "Yes"
  Press(s, dodge::kShot);  // slot 1
  Press(s, kEscape);
  Press(s, dodge::kShot);
  ASSERT_EQ(s.scene, SceneTitle);
  const std::string file = d.Folder() + "/replay/vko01_01.rpy";
  ASSERT_EQ(GameDriver::ReadFile(file).size(), 80 + inputs + 1);

  // A fresh process plays the whole run, its last input as it was recorded:
  // the ending's bonus included, the recorded score reached.
  ReplayChecker checker(d, file);

  // Played back here past its end: the same frames; the final stage is
  // cleared through the tally, whose last stage returns the replay to the
  // replay list as every replay's end does.
  ASSERT_TRUE(d.StartReplay(tailed, false));
  const bot::Run back = bot::Play(s, false, true, false);
  EXPECT_EQ(back.stages, rec.stages);
  ASSERT_GE(back.digests.size(), rec.digests.size());
  EXPECT_EQ(FirstMismatch(rec.digests, back.digests), "");
  EXPECT_EQ(s.stageNumber, 65535u);
  EXPECT_EQ(s.scene, SceneReplaySelect);
  EXPECT_EQ(s.playback, 0);
  EXPECT_EQ(GameDriver::ReadFile("score.dat"), scores);

  const std::string line = checker.Line();
  if (!line.empty()) {
    char want[80];
    std::snprintf(want, sizeof want, "inputs=%u score=%u recorded=%u ", inputs, finalScore,
                  finalScore);
    EXPECT_NE(line.find(want), std::string::npos) << line;
    EXPECT_NE(line.find(" ok "), std::string::npos) << line;
    // Its live last frame saved scores in its own folder, not in the game's.
    EXPECT_EQ(GameDriver::ReadFile("score.dat"), scores);
  }
}

}  // namespace
