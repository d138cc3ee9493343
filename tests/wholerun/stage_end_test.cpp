// Stage numbers 6-12 played headless from their start to their end: the
// stages before the final one reach the tally with the next stage number; the
// final stage leads to its ending, or in a practice or a replay through the
// tally; the Extra stage leads to the name entry, or a replay of it back to
// the replay list without touching the score file.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "play_bot.h"
#include "scenes/ending.h"
#include "shell/savefile.h"

namespace {

enum class Mode { Live, Practice, Playback };  // a playback of stage 11 is a practice one

struct EndCase {
  uint32_t stage, character, continues;
  Mode mode;
  uint32_t scene, stageAfter;
  uint32_t bosses;
  int32_t endingLine;  // the first line shown in scene 13, else -1
  bool clearFlag;      // the run's clear flag set (and saved)
};

// The clear flags as score.dat holds them.
std::unique_ptr<GameState> SavedScores() {
  auto saved = std::make_unique<GameState>();
  std::vector<uint8_t> bytes = GameDriver::ReadFile("score.dat");
  if (bytes.size() != 1537 || !DecodeScoreFile(*saved, bytes.data())) return nullptr;
  return saved;
}

class StageEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(StageEnd, PlaysToItsEnd) {
  const EndCase c = GetParam();
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the stand-in data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  GameDriver::PlayStart start;
  start.stageNumber = c.stage;
  start.character = c.character;
  start.route = c.stage <= 9 ? c.stage - 6 : c.character % 4;
  start.difficulty = c.stage == 12 ? 4 : 1;
  start.seed = 7 * c.stage;
  start.practice = c.mode == Mode::Practice || (c.mode == Mode::Playback && c.stage == 11);
  start.sandbox = false;
  d.StartPlay(start);
  s.lives = 9;
  s.power = 128;
  s.continues = c.continues;
  bot::Run r = bot::Play(s, true, false);
  if (c.mode == Mode::Playback) {
    // The score file of the live ending stays as it is through the playback.
    const std::vector<uint8_t> saved = GameDriver::ReadFile("score.dat");
    ASSERT_EQ(saved.size(), 1537u);
    std::memset(s.clearFlags, 0, sizeof s.clearFlags);
    ASSERT_TRUE(d.StartReplay(bot::RecordedWithTail(d, 5), false));
    s.continues = c.continues;
    r = bot::Play(s, false, false);
    EXPECT_EQ(GameDriver::ReadFile("score.dat"), saved);
    EXPECT_EQ(s.playback, c.scene == SceneStageResult ? 1 : 0);
  }
  EXPECT_EQ(s.scene, c.scene);
  EXPECT_EQ(s.stageNumber, c.stageAfter);
  EXPECT_EQ(r.bossIds, c.bosses);
  if (c.endingLine >= 0) {
    EXPECT_EQ(s.ending->active, 1);
    EXPECT_EQ(s.ending->line, c.endingLine);
  }
  EXPECT_EQ(s.clearFlags[c.character][start.difficulty], c.clearFlag ? 1 : 0);
  std::unique_ptr<GameState> saved = SavedScores();
  if (c.mode == Mode::Live) {
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->clearFlags[c.character][start.difficulty], c.clearFlag ? 1 : 0);
  }
  if (c.scene == SceneStageResult) {
    // The tally runs its course: on to the next stage, or in practice off to
    // the replay save (a replay back to the replay list).
    const bool replaying = s.playback != 0;
    for (int i = 0; i < 400 && s.scene == SceneStageResult; ++i) {
      GameDriver::Key(bot::kShot, i % 2 == 0);
      s.input->Poll();
      UpdateScene(s);
    }
    bot::ReleaseKeys();
    const uint32_t next =
        !start.practice ? ScenePlaying : (replaying ? SceneReplaySelect : SceneReplaySave);
    EXPECT_EQ(s.scene, next);
  }
}

constexpr uint32_t kTally = SceneStageResult, kEnding = SceneEnding, kNames = SceneNameEntry;

const EndCase kEndCases[] = {
    {6, 0, 0, Mode::Live, kTally, 10, 1u << 12, -1, false},
    {7, 1, 0, Mode::Live, kTally, 10, 1u << 13, -1, false},
    {8, 2, 0, Mode::Live, kTally, 10, 1u << 14, -1, false},
    {9, 4, 0, Mode::Live, kTally, 10, 1u << 15, -1, false},
    {10, 1, 0, Mode::Live, kTally, 11, 3u << 16, -1, false},
    {11, 0, 0, Mode::Live, kEnding, 11, 7u << 18, 0, true},
    {11, 2, 1, Mode::Live, kEnding, 11, 7u << 18, 48, false},  // a continue: the second text
    {11, 4, 0, Mode::Live, kNames, 11, 7u << 18, -1, true},    // no ending text
    {11, 3, 0, Mode::Practice, kTally, 11, 7u << 18, -1, false},
    {11, 1, 0, Mode::Playback, kTally, 11, 7u << 18, -1, false},
    {12, 1, 0, Mode::Live, kNames, 12, 3u << 21, -1, true},
    {12, 3, 0, Mode::Playback, SceneReplaySelect, 12, 3u << 21, -1, false},
};

std::string CaseName(const ::testing::TestParamInfo<EndCase>& info) {
  const EndCase& c = info.param;
  static const char* const kModes[] = {"live", "practice", "playback"};
  return "stage" + std::to_string(c.stage) + "_char" + std::to_string(c.character) + "_" +
         kModes[static_cast<int>(c.mode)];
}

INSTANTIATE_TEST_SUITE_P(Stages, StageEnd, ::testing::ValuesIn(kEndCases), CaseName);

}  // namespace
