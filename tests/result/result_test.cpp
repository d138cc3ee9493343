// The stage-result tally (bonus arithmetic, the turning panel, the wait for a
// press) and the ending's timing, through the headless driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "game/driver.h"
#include "library/tesra.h"
#include "scenes/ending.h"
#include "scenes/menu.h"
#include "scenes/scene.h"
#include "scenes/stageresult.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/savefile.h"

namespace {

constexpr int kKeyZ = 44, kKeyCtrl = 29;

TEST(StageBonus, Arithmetic) {
  struct Case {
    uint32_t advanced, difficulty;
    int32_t graze, points, gauge;
    int32_t clear, total;
  } cases[] = {
      {5, 1, 1000, 200, 3, 1500000, 12150000},  // stage 2 cleared on Normal
      {65535, 3, 0, 0, 0, 4800000, 4800000},    // the final stage on Lunatic
      {4, 2, 0, 0, 0, 1299999, 1299999},        // Hard's factor is a little below 1.3
      {10, 0, 1, 1, 1, 1750000, 1750000 + 350 + 35000 + 35000},
      {3, 1, 0, 0, 0, 0, 0},                    // no clear bonus for stage 1
  };
  for (const Case& c : cases) {
    StageBonuses b = ComputeStageBonuses(StageClearBonusFor(c.advanced), c.difficulty, c.graze,
                                         c.points, c.gauge);
    EXPECT_EQ(b.clear, c.clear) << c.advanced;
    EXPECT_EQ(b.total, c.total) << c.advanced;
  }
  // Counts no play reaches saturate instead of wrapping.
  StageBonuses huge = ComputeStageBonuses(3000000, 4, 2000000000, 2000000000, 0);
  EXPECT_EQ(huge.pointItems, INT32_MAX);
  EXPECT_EQ(huge.total, INT32_MAX);
}

class ResultRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!driver_.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
    GameDriver::WriteWindowedSettings();
    ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  }
  void Snapshot(const std::string& name) {
    if (const char* dir = std::getenv("VKO_SNAPSHOT_DIR"))
      ApiSaveScreenRectToBmp(0, 0, 640, 480, (std::string(dir) + "/" + name + ".bmp").c_str());
  }
  // A cleared stage 2 on Normal (the stage number already advanced to 5) with
  // the play field shown in one colour on the front buffer.
  void ClearStage(uint8_t playback) {
    GameState& s = S();
    s.difficulty = 1;
    s.route = 1;
    s.stageNumber = 5;
    s.playback = playback;
    s.score = 1000;
    s.stageGraze = 1000;
    s.stagePointItems = 200;
    s.stageKind7Items = 3;
    ApiSelectDrawTarget(FrontBufferTarget);
    ApiDrawRectangle(16, 16, 400, 464, ApiRgbToScreenColor(40, 160, 90), 1);
    ApiSelectDrawTarget(BackBufferTarget);
    s.stageResult->Start(s);
    s.scene = SceneStageResult;
  }
  GameState& S() { return driver_.State(); }
  // Updates without drawing (drawing is looked at only where a frame is
  // presented by driver_.Run); `key` held through the first of them.
  void Update(int count, int key = 0) {
    for (int i = 0; i < count; ++i) {
      if (key) GameDriver::Key(key, i == 0);
      S().input->Poll();
      UpdateScene(S());
    }
    if (key) GameDriver::Key(key, false);
  }
  GameDriver driver_;
};

// The colour of a pixel of the last presented frame, as 0xRRGGBB.
uint32_t FramePixel(int x, int y) {
  HeadlessFrame f = HeadlessLastFrame();
  if (f.bits != 32 || x < 0 || y < 0 || x >= f.width || y >= f.height) return 0xFFFFFFFFu;
  const uint8_t* p = f.pixels.data() + (static_cast<size_t>(y) * f.width + x) * 4;
  return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

// The panel's vertex colour (255) darkens the texture by at most one step.
bool NearField(uint32_t pixel) {
  const uint32_t field = 0x28A05A;
  for (int shift : {0, 8, 16}) {
    int d = static_cast<int>((pixel >> shift) & 255) - static_cast<int>((field >> shift) & 255);
    if (d < -1 || d > 0) return false;
  }
  return true;
}

TEST_F(ResultRun, PanelTurnsBonusAddsAndTheTallyWaitsForAPress) {
  ClearStage(0);
  GameState& s = S();
  EXPECT_EQ(s.stageBonus, 12150000);
  EXPECT_EQ(s.stageGraze, 500000);
  driver_.Run(1);  // tally frame 0: the panel lies flat over the field
  Snapshot("tally_000");
  for (int y : {16, 240, 463})
    for (int x : {16, 208, 399}) EXPECT_TRUE(NearField(FramePixel(x, y))) << x << "," << y;
  EXPECT_FALSE(NearField(FramePixel(15, 240)));
  EXPECT_FALSE(NearField(FramePixel(400, 240)));
  EXPECT_FALSE(NearField(FramePixel(208, 464)));
  Update(89);
  driver_.Run(1);  // frame 90: edge-on, the field black
  Snapshot("tally_090");
  for (int y : {24, 240, 456})
    for (int x : {24, 208, 392}) EXPECT_EQ(FramePixel(x, y), 0u) << x << "," << y;
  Update(109);
  driver_.Run(1);  // frame 200: turned over, the result picture covers the field
  Snapshot("tally_200");
  for (int y : {24, 240, 456})
    for (int x : {24, 208, 392}) {
      EXPECT_NE(FramePixel(x, y), 0u) << x << "," << y;
      EXPECT_FALSE(NearField(FramePixel(x, y))) << x << "," << y;
    }
  EXPECT_EQ(s.score, 1000u);
  Update(2);  // frame 201 adds the bonus and sets up the next stage
  EXPECT_EQ(s.score, 1000u + 12150000u);
  EXPECT_EQ(s.stageResult->frame, kStageResultWaitFrame);
  const int32_t standing = s.frameCount;
  Update(30);
  EXPECT_EQ(s.stageResult->frame, kStageResultWaitFrame);
  EXPECT_EQ(s.frameCount, standing);  // frames stand while it waits
  Update(1, kKeyZ);
  EXPECT_EQ(s.stageResult->frame, kStageResultWaitFrame + 1);
  EXPECT_EQ(s.stageGraze, 0);
  Update(382 - 203);
  EXPECT_EQ(s.scene, SceneStageResult);
  Update(1);
  EXPECT_EQ(s.scene, ScenePlaying);
}

// The next stage is set up at frame 201, but the tally's lines keep their
// bonuses while it waits for the press.
TEST_F(ResultRun, BonusLinesStayThroughTheWait) {
  ClearStage(0);
  GameState& s = S();
  Update(kStageResultWaitFrame + 30);
  ASSERT_EQ(s.stageResult->frame, kStageResultWaitFrame);
  EXPECT_EQ(s.stageGraze, 500000);
  EXPECT_EQ(s.stagePointItems, 10000000);
  EXPECT_EQ(s.stageKind7Items, 150000);
  Update(1, kKeyZ);
  EXPECT_EQ(s.stagePointItems + s.stageKind7Items, 0);
}

TEST_F(ResultRun, PlaybackPassesTheWaitLastStageAndPracticeLeaveTheTally) {
  ClearStage(1);
  GameState& s = S();
  s.stageNumber = 65535;  // after the last stage
  Update(203);
  EXPECT_EQ(s.stageResult->frame, kStageResultWaitFrame + 1);
  Update(1);  // without the second half-turn: a replay back to its list
  EXPECT_EQ(s.scene, SceneReplaySelect);
  EXPECT_EQ(s.playback, 0);
  EXPECT_EQ(s.stageResult->frame, kStageResultWaitFrame + 1);
  s.scene = SceneStageResult;  // the live run goes on to the name entry
  Update(1);
  EXPECT_EQ(s.scene, SceneNameEntry);
  // Practice keeps its stage; its tally shows the next stage's bonus, never
  // the last tally's scaled again.
  s.playback = 0;
  s.practice = 1;
  s.stageNumber = 4;
  s.stageClearBonus = 1500000;
  s.stageResult->Start(s);
  EXPECT_EQ(s.stageClearBonus, 1500000);
  s.stageResult->Start(s);
  EXPECT_EQ(s.stageClearBonus, 1500000);
  s.scene = SceneStageResult;
  Update(202);
  Update(2, kKeyZ);
  EXPECT_EQ(s.scene, SceneReplaySave);
}

TEST_F(ResultRun, EndingLinesThenTheStaffRollToTheNameEntry) {
  GameState& s = S();
  s.ending->Prepare();
  s.ending->Start(53);
  s.scene = SceneEnding;
  ASSERT_EQ(s.scene, SceneEnding);
  EXPECT_EQ(s.ending->line, 0);
  EXPECT_EQ(s.ending->lastLine, 13);
  driver_.Run(1);
  Snapshot("ending_text");
  for (int i = 0; i < 13; ++i) {
    driver_.Tap(kKeyZ);
    driver_.Run(2);
  }
  EXPECT_EQ(s.ending->phase, 0);
  EXPECT_EQ(s.ending->line, 13);
  driver_.Tap(kKeyZ);
  driver_.Run(1);  // the 14th press starts the roll
  ASSERT_EQ(s.ending->phase, 1);
  EXPECT_EQ(s.whiteFade, 254);
  int musicAt = 0, endAt = 0;
  for (int pass = 1; pass <= 4000 && s.scene == SceneEnding; ++pass) {
    if (pass == 600) {
      driver_.Run(1);  // one whole pass, drawn
      Snapshot("staff_roll");
    } else {
      s.ending->Update(s);
    }
    if (!musicAt && s.ending->staffMusicStarted) musicAt = pass;
    endAt = pass;
  }
  // 319 frames climb to -440, 580 at half speed reach -150, and the roll
  // takes 2792 half-speed frames in all.
  EXPECT_EQ(musicAt, 900);
  EXPECT_EQ(endAt, 3111);
  EXPECT_EQ(s.scene, SceneNameEntry);
  EXPECT_EQ(s.ending->staffImage, -1);
}

TEST_F(ResultRun, HoldingSkipShowsEachLineForOneFrameAndHurriesTheRoll) {
  GameState& s = S();
  s.ending->Prepare();
  s.ending->Start(54);  // three lines
  s.scene = SceneEnding;
  GameDriver::Key(kKeyCtrl, true);
  driver_.Run(1);
  EXPECT_EQ(s.ending->line, 15);
  driver_.Run(2);
  EXPECT_EQ(s.ending->phase, 1);
  Update(319);  // 1.0 a frame up to -440
  GameDriver::Key(kKeyCtrl, false);
  Update(1);  // 0.5 without skip: -439.5
  GameDriver::Key(kKeyCtrl, true);
  Update(116);  // 2.5 a frame with skip: -152, then -149.5, past -150
  EXPECT_EQ(s.ending->scroll, -149.5f);
  EXPECT_FALSE(s.ending->staffMusicStarted);
  Update(1);  // the roll has crossed -150: its music starts
  EXPECT_TRUE(s.ending->staffMusicStarted);
  GameDriver::Key(kKeyCtrl, false);
}

}  // namespace
