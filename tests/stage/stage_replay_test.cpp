// Whole stages recorded through the main loop (with pauses, one of them in a
// dialogue) and played back at x1, x4, in slow motion and with frame skip:
// every playback gives the recording's digests, and the replay checker finds
// the recorded score. The replays are kept in "stage_replays/" of the build
// folder for the checker's CI run and the benchmark.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/test_files.h"
#include "game/driver.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "playfield/talk.h"
#include "scenes/scene.h"
#include "shell/input.h"
#include "shell/loopcontrol.h"
#include "shell/savefile.h"

namespace {

constexpr int kUp = 200, kLeft = 203, kRight = 205, kShot = 44, kBomb = 45, kSlow = 42,
              kSkip = 29, kEscape = 1;

// The recording's keys: shoot and skip, sway left and right, pause twice:
// once in the waves and once in the first dialogue, resuming with shot (so
// the shot edge that advances the dialogue comes from the recording).
class Recorder {
 public:
  explicit Recorder(GameDriver& d) : d_(d) {}
  void operator()(int pass) {
    GameState& s = d_.State();
    const bool talking = s.talk && s.talk->active;
    if (talking && !sawTalk_) {
      sawTalk_ = true;
      pauseAt_ = pass;
    }
    if (pass == 700) pauseAt_ = pass;
    const int k = pass - pauseAt_;  // the pause: escape, wait, shot to resume
    const bool inPause = pauseAt_ > 0 && k >= 0 && k < 6;
    const bool sway = (pass / 90) % 2 == 0;
    GameDriver::Key(kEscape, inPause && k == 1);
    // In a dialogue the shot is tapped: each fresh press passes a line.
    GameDriver::Key(kShot, inPause ? k >= 4 : (!talking || pass % 4 < 2));
    GameDriver::Key(kSkip, !inPause && !talking);
    GameDriver::Key(kLeft, sway && !inPause);
    GameDriver::Key(kRight, !sway && !inPause);
    GameDriver::Key(kUp, pass % 300 < 20);
  }
  bool sawTalk_ = false;

 private:
  GameDriver& d_;
  int pauseAt_ = 0;
};

void ClearKeys() {
  for (int k : {kUp, kLeft, kRight, kShot, kBomb, kSlow, kSkip, kEscape}) GameDriver::Key(k, false);
}

// The digests of the updates in which the player took an input (the frames a
// replay holds), for `passes` main-loop passes (or until playback ends), each
// pass as the main loop runs it but without presenting: input, the playback
// speed's number of updates, the draw unless frame skip leaves it out.
void RunPasses(GameState& s, int passes, std::vector<FrameDigest>& out, uint32_t& passCounter,
               const std::function<void(int)>& keys = nullptr) {
  for (int p = 1; p <= passes; ++p) {
    if (keys) keys(p);
    if (!keys && !s.playback) return;
    ++passCounter;
    s.input->Poll();
    const int updates = s.playback ? PlaybackUpdateCount(*s.input, passCounter) : 1;
    for (int u = 0; u < updates; ++u) {
      const uint32_t before = s.inputIndex;
      UpdateScene(s);
      // Every 8th frame is compared (a difference stays once it arises).
      if (s.inputIndex != before && s.inputIndex % 8 == 0) {
        // A pause opens in live play only: its scene is not part of the play.
        const uint32_t scene = s.scene;
        if (scene == ScenePause) s.scene = ScenePlaying;
        out.push_back(ComputeFrameDigest(s));
        s.scene = scene;
      }
    }
    if (PassDraws(s.frameSkip, passCounter)) DrawScene(s);
    if (keys && s.scene != ScenePlaying && s.scene != ScenePause) return;
  }
}

std::string FirstMismatch(const std::vector<FrameDigest>& want, const std::vector<FrameDigest>& got) {
  for (size_t i = 0; i + 1 < got.size() && i < want.size(); ++i)
    if (!(want[i] == got[i])) {
      std::string parts;
      for (int p = 0; p < kDigestPartCount; ++p)
        if (want[i].part[p] != got[i].part[p]) parts += std::string(" ") + DigestPartName(p);
      return "frame " + std::to_string(i + 1) + ":" + parts;
    }
  return "";
}

class StageReplay : public ::testing::TestWithParam<uint32_t> {};

TEST_P(StageReplay, PlaysBackIdenticallyAtEverySpeed) {
  const uint32_t n = GetParam();
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  uint32_t passCounter = 0;

  // Record the stage from its start to its tally.
  GameDriver::PlayStart start;
  start.stageNumber = n;
  start.character = n <= 3 ? n : 2;
  start.route = start.character;
  start.difficulty = 1;
  start.seed = 40 + n;
  start.practice = true;
  start.sandbox = false;
  d.StartPlay(start);
  Recorder keys(d);
  std::vector<FrameDigest> rec;
  s.frameSkip = 1000;  // drawing never changes the play; draw seldom
  // Up to 6000 passes: the waves, the dialogues, the first boss fights; the
  // play may end sooner when the player runs out of lives.
  RunPasses(s, 6000, rec, passCounter, [&keys](int p) { keys(p); });
  ClearKeys();
  // End on a frame that scores nothing: a replay's last input is never
  // played, and the checker compares the score it reaches.
  for (uint32_t before = ~0u; before != s.score && s.scene == ScenePlaying;) {
    before = s.score;
    RunPasses(s, 1, rec, passCounter, [](int) {});
  }
  ASSERT_NE(s.scene, ScenePause);
  const std::vector<uint8_t> image = d.RecordedReplay();
  ASSERT_FALSE(image.empty());

  // Playback ends one frame before the recording did (its last input is
  // never played); every frame before that matches.
  struct Variant {
    const char* name;
    int key;
    uint32_t frameSkip;
    int passes;  // frame skip draws a third of the passes: a prefix will do
  };
  const Variant variants[] = {{"x1", 0, 1000, 100000}, {"x4", kSkip, 1000, 100000},
                              {"slow", kSlow, 1000, 3000}, {"frame skip 2", 0, 2, 300}};
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    ASSERT_TRUE(d.StartReplay(image, false));
    s.frameSkip = v.frameSkip;
    if (v.key) GameDriver::Key(v.key, true);
    std::vector<FrameDigest> got;
    RunPasses(s, v.passes, got, passCounter);
    ClearKeys();
    if (v.passes == 100000) {
      EXPECT_GE(got.size() + 1, rec.size());  // played to the end
    }
    EXPECT_GE(got.size(), 30u);
    EXPECT_EQ(FirstMismatch(rec, got), "");
  }

  // Kept for the replay checker; and the checker, when built, agrees.
  const std::string dir = GameDriver::StartFolderPath() + "/stage_replays";
  mkdir(dir.c_str(), 0755);
  const std::string file = dir + "/stage" + std::to_string(n) + ".rpy";
  GameDriver::WriteFile(file, image);
  const std::string checker = GameDriver::StartFolderPath() + "/replaycheck";
  struct stat st;
  if (stat(checker.c_str(), &st) != 0) GTEST_SKIP() << "replaycheck is not built";
  const std::string out = d.Folder() + "/check.txt";
  const std::string cmd = "cd '" + d.Folder() + "' && '" + checker + "' '" + file + "' > '" + out + "' 2>&1";
  const int rc = std::system(cmd.c_str());
  std::vector<uint8_t> text = GameDriver::ReadFile(out);
  const std::string line(text.begin(), text.end());
  EXPECT_EQ(rc, 0) << line;
  EXPECT_NE(line.find(" ok "), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Stages, StageReplay, ::testing::Values(0u, 1u, 2u, 3u, 4u, 5u));

// The checker's answers: ok, a changed recorded score, a missing and a
// damaged file in one call (exit 2, the worst); the same file twice gives the
// same line twice (each file in a fresh game).
TEST(ReplayCheck, LinesAndExitCodes) {
  const std::string checker = GameDriver::StartFolderPath() + "/replaycheck";
  struct stat st;
  if (stat(checker.c_str(), &st) != 0) GTEST_SKIP() << "replaycheck is not built";
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameDriver::PlayStart start;
  start.seed = 9;
  start.sandbox = false;
  d.StartPlay(start);
  GameDriver::Key(kShot, true);
  std::vector<FrameDigest> unused;
  uint32_t passCounter = 0;
  RunPasses(d.State(), 600, unused, passCounter, [](int) {});
  ClearKeys();
  // A replay's last input is never played: end on a frame that scores
  // nothing, so the recorded score is the one the playback reaches.
  for (uint32_t before = ~0u; before != d.State().score;) {
    before = d.State().score;
    RunPasses(d.State(), 1, unused, passCounter, [](int) {});
  }
  std::vector<uint8_t> good = d.RecordedReplay();
  ASSERT_GT(good.size(), 600u);
  std::vector<uint8_t> changed = good;
  const int32_t span = static_cast<int32_t>(good.size() - 1 - 8);
  UnscrambleSaveData(changed.data(), span);
  changed[20] ^= 1;  // the recorded score
  ScrambleSaveData(changed.data(), span);
  GameDriver::WriteFile("good.rpy", good);
  GameDriver::WriteFile("changed.rpy", changed);
  GameDriver::WriteFile("damaged.rpy", std::vector<uint8_t>(good.begin(), good.begin() + 40));

  auto run = [&](const std::string& files, std::string& out) {
    const std::string cmd = "'" + checker + "' " + files + " > out.txt 2> err.txt";
    const int rc = std::system(cmd.c_str());
    std::vector<uint8_t> o = GameDriver::ReadFile("out.txt");
    out.assign(o.begin(), o.end());
    return WEXITSTATUS(rc);
  };
  std::string out;
  EXPECT_EQ(run("good.rpy changed.rpy good.rpy", out), 1);
  // Every recorded input is played, the last one as it was recorded.
  const std::string frames = "good.rpy: frames=" + std::to_string(d.State().inputIndex) +
                             " inputs=" + std::to_string(d.State().inputIndex) + " ";
  ASSERT_EQ(out.find(frames), 0u) << out;
  const size_t second = out.find('\n') + 1, third = out.find('\n', second) + 1;
  EXPECT_NE(out.substr(second, third - second).find("MISMATCH"), std::string::npos) << out;
  const auto noTime = [](const std::string& line) { return line.substr(0, line.rfind(" ok ")); };
  const std::string firstLine = out.substr(0, second), lastLine = out.substr(third);
  EXPECT_NE(firstLine.find(" ok "), std::string::npos) << out;
  EXPECT_EQ(noTime(firstLine), noTime(lastLine));  // each file in a fresh game
  EXPECT_EQ(run("missing.rpy damaged.rpy", out), 2);
  std::vector<uint8_t> err = GameDriver::ReadFile("err.txt");
  const std::string errText(err.begin(), err.end());
  EXPECT_NE(errText.find("missing.rpy: cannot open"), std::string::npos) << errText;
  EXPECT_NE(errText.find("damaged.rpy: not a replay"), std::string::npos) << errText;
}

// An empty file and a FIFO are refused (exit 2) at once, in every build.
TEST(ReplayCheck, EmptyFileAndFifoAreRefused) {
  const std::string checker = GameDriver::StartFolderPath() + "/replaycheck";
  struct stat st;
  if (stat(checker.c_str(), &st) != 0) GTEST_SKIP() << "replaycheck is not built";
  TempFolder dir;
  GameDriver::WriteFile(dir / "empty.rpy", {});
  ASSERT_EQ(mkfifo((dir / "pipe.rpy").c_str(), 0644), 0);
  for (const char* name : {"empty.rpy", "pipe.rpy"}) {
    const std::string cmd = "cd '" + dir.path() + "' && timeout 10 '" + checker + "' " + name + " 2> err.txt";
    const int rc = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(rc), 2) << name;
    const std::string err = ReadText(dir / "err.txt");
    EXPECT_EQ(err.find(std::string(name) + ": "), 0u) << err;
    EXPECT_NE(err.find(name[0] == 'e' ? "empty file" : "not a regular file"), std::string::npos) << err;
  }
}

}  // namespace
