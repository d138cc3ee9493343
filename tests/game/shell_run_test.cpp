// The game run through the headless driver: start-up questions, the title
// with its build-up and cursor, snapshots, music overrides, replay speed
// control and the number drawers' pixels.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "core/test_files.h"
#include "driver.h"
#include "library/platform/fs.h"
#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "scenes/scene.h"
#include "scenes/stageresult.h"
#include "scenes/texts.h"
#include "scenes/title.h"
#include "shell/bgm.h"
#include "shell/gamemath.h"
#include "shell/input.h"
#include "shell/savefile.h"
#include "shell/sound.h"

namespace {

constexpr int kKeyZ = 44, kKeyX = 45, kKeyShift = 42, kKeyCtrl = 29, kKeyDown = 208,
              kKeyUp = 200, kKeyP = 0x19, kKeyEscape = 1;

// A driver in a folder with the stand-in data and a settings file that
// starts in a window without asking.
class ShellRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!driver_.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
    GameDriver::WriteWindowedSettings(4);
  }
  void StartAndFinishBuildUp() {
    ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
    driver_.Tap(kKeyZ);  // cuts the build-up short
    ASSERT_EQ(driver_.Run(2), 2);
    ASSERT_EQ(driver_.State().title->timer, kTitleBuildUpFrames);
  }
  GameDriver driver_;
};

TEST_F(ShellRun, ReachesTheTitleWithItsBuildUp) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  EXPECT_EQ(HeadlessMessageBoxCount(), 0);  // the settings fix the window mode
  EXPECT_EQ(s.scene, SceneTitle);
  ASSERT_NE(s.title, nullptr);
  EXPECT_EQ(s.title->timer, 0);
  EXPECT_NE(s.title->backdrop, -1);
  EXPECT_LE(s.playSeed, 255u);
  for (int i = 0; i < 8; ++i) EXPECT_NE(s.title->entries[i], -1);
  ASSERT_NE(s.input, nullptr);
  EXPECT_EQ(s.input->keyCode[0][ButtonShot], kKeyZ);

  driver_.Run(1);
  EXPECT_EQ(s.title->timer, 1);
  EXPECT_EQ(s.frameCount, 1);
  HeadlessFrame early = HeadlessLastFrame();
  ASSERT_EQ(early.width, 640);
  ASSERT_EQ(early.height, 480);
  driver_.Run(kTitleBuildUpFrames - 1);
  EXPECT_EQ(s.title->timer, kTitleBuildUpFrames);
  EXPECT_EQ(HeadlessPresentedFrameCount(), kTitleBuildUpFrames);
  HeadlessFrame built = HeadlessLastFrame();
  EXPECT_NE(early.pixels, built.pixels);  // the picture has faded in
  driver_.Run(10);
  EXPECT_EQ(HeadlessLastFrame().pixels, built.pixels);  // and then stands
  // The title music plays.
  ASSERT_NE(s.bgm, nullptr);
  EXPECT_NE(s.bgm->handles[4], -1);
  EXPECT_EQ(ApiIsSoundPlaying(s.bgm->handles[4]), 1);
}

TEST_F(ShellRun, ShotCutsTheBuildUpShortWithoutChoosing) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  driver_.Run(10);
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  EXPECT_EQ(driver_.State().title->timer, kTitleBuildUpFrames);
  EXPECT_EQ(driver_.State().scene, SceneTitle);
  driver_.Run(1);
  EXPECT_EQ(driver_.State().scene, SceneTitle);
}

TEST_F(ShellRun, CursorRepeatsAndWraps) {
  StartAndFinishBuildUp();
  GameState& s = driver_.State();
  std::vector<int> moves;
  int last = s.title->cursor;
  GameDriver::Key(kKeyDown, true);
  for (int pass = 1; pass <= 30; ++pass) {
    driver_.Run(1);
    if (s.title->cursor != last) moves.push_back(pass);
    last = s.title->cursor;
  }
  GameDriver::Key(kKeyDown, false);
  EXPECT_EQ(moves, (std::vector<int>{1, 25, 30}));
  EXPECT_EQ(s.title->cursor, 3);
  // Each move sounds the cursor effect.
  EXPECT_NE(s.sound->handles[SeCursor], -1);
  EXPECT_EQ(s.sound->lastStart[SeCursor], s.frameCount - 1);

  driver_.Run(1);
  for (int i = 0; i < 3; ++i) {
    driver_.Tap(kKeyUp);
    driver_.Run(1);
    driver_.Run(1);
  }
  EXPECT_EQ(s.title->cursor, 0);
  // Up on the first entry lands on quit without quitting, even with shot.
  driver_.Tap(kKeyUp);
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  EXPECT_EQ(s.title->cursor, 7);
  EXPECT_EQ(s.quit, 0);
  EXPECT_FALSE(driver_.LoopEnded());
  driver_.Run(1);
  // Shot on quit ends the loop after that pass.
  driver_.Tap(kKeyZ);
  EXPECT_EQ(driver_.Run(5), 1);
  EXPECT_EQ(s.quit, 1);
  EXPECT_TRUE(driver_.LoopEnded());
}

TEST_F(ShellRun, EntriesLeadToTheirScenesAndEscapeComesBack) {
  StartAndFinishBuildUp();
  GameState& s = driver_.State();
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneDifficulty);
  EXPECT_EQ(s.practice, 0);
  driver_.Run(3);
  driver_.Tap(kKeyX);
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(s.title->timer, 0);  // the build-up starts again
  // The extra start stays refused without a clear.
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  driver_.Run(1);
  driver_.Tap(kKeyDown);
  driver_.Run(1);
  driver_.Run(1);
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneTitle);
  s.clearFlags[2][3] = 1;
  driver_.Run(1);
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneExtraDifficulty);
}

int BmpDimension(const std::vector<uint8_t>& bmp, int offset) {
  return bmp[offset] | bmp[offset + 1] << 8 | bmp[offset + 2] << 16 | bmp[offset + 3] << 24;
}

TEST_F(ShellRun, SnapshotsAreNumberedUpward) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  driver_.Run(2);
  GameDriver::Key(kKeyP, true);
  driver_.Run(5);  // held: one snapshot
  GameDriver::Key(kKeyP, false);
  driver_.Run(1);
  std::vector<uint8_t> first = GameDriver::ReadFile("snapshot/vko001.bmp");
  ASSERT_GE(first.size(), 54u);
  EXPECT_EQ(first[0], 'B');
  EXPECT_EQ(first[1], 'M');
  EXPECT_EQ(BmpDimension(first, 18), 640);
  EXPECT_EQ(std::abs(BmpDimension(first, 22)), 480);
  EXPECT_FALSE(GameDriver::Exists("snapshot/vko002.bmp"));
  driver_.Tap(kKeyP);
  driver_.Run(1);
  EXPECT_TRUE(GameDriver::Exists("snapshot/vko002.bmp"));
  // Past 999 the numbers go on instead of overwriting 1000.
  GameDriver::WriteFile("snapshot/vko1000.bmp", {1});
  driver_.Run(1);
  driver_.Tap(kKeyP);
  driver_.Run(1);
  EXPECT_TRUE(GameDriver::Exists("snapshot/vko1001.bmp"));
  EXPECT_EQ(GameDriver::ReadFile("snapshot/vko1000.bmp").size(), 1u);
}

TEST_F(ShellRun, ASnapshotNeverGoesThroughALinkAtItsName) {
  // A link that leads nowhere is not listed, but the next number must pass it
  // by rather than make the file it points at.
  ::mkdir("snapshot", 0755);
  ASSERT_EQ(::symlink("../outside.bmp", "snapshot/vko001.bmp"), 0);
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  driver_.Run(1);
  driver_.Tap(kKeyP);
  driver_.Run(1);
  EXPECT_FALSE(GameDriver::Exists("outside.bmp"));
  struct stat st;
  EXPECT_TRUE(::lstat("snapshot/vko001.bmp", &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_GT(GameDriver::ReadFile("snapshot/vko002.bmp").size(), 54u);
}

// A link put at the snapshot's name while the picture is written (as a
// second copy of the game or another program could) takes that number: the
// picture goes to the next one and the link's file keeps its bytes. On a full
// disk no picture, whole or partial, is left, and the player is told.
TEST_F(ShellRun, ASnapshotIsMadeWholeWhereNothingStands) {
  const struct {
    const char* how;
    ssize_t (*write)(int, const void*, size_t);
    int (*fsync)(int);
    std::vector<std::string> names;
    const char* said;
  } cases[] = {{"a link put at the name meanwhile", ::write,
                [](int fd) {
                  if (::symlink("../outside.bmp", "snapshot/vko001.bmp") != 0 && errno != EEXIST) std::abort();
                  return ::fsync(fd);
                },
                {"vko001.bmp", "vko002.bmp"}, ""},
               {"a full disk", [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; }, ::fsync, {},
                "vko01: the snapshot snapshot\\vko001.bmp could not be written (No space left on device)\n"}};
  GameDriver::WriteFile("outside.bmp", {1, 2, 3});
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    driver_.Run(1);  // P seen up, so that the tap is a fresh press
    FsCalls().write = c.write;
    FsCalls().fsync = c.fsync;
    testing::internal::CaptureStderr();
    driver_.Tap(kKeyP);
    driver_.Run(1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
    FsResetHostCalls();
    EXPECT_EQ(FolderNames("snapshot"), c.names);
    EXPECT_EQ(GameDriver::ReadFile("outside.bmp"), (std::vector<uint8_t>{1, 2, 3}));
    for (const std::string& name : c.names) {
      struct stat st;
      const std::string path = "snapshot/" + name;
      ASSERT_EQ(::lstat(path.c_str(), &st), 0);
      EXPECT_EQ(S_ISLNK(st.st_mode) ? 0 : st.st_size, name == "vko002.bmp" ? 54 + 640 * 480 * 3 : 0) << name;
      std::remove(path.c_str());
    }
  }
}

TEST_F(ShellRun, SnapshotsBeyondTheListingLimitOverwriteNothing) {
  // More snapshots than the listing holds: the largest may be missed, but no
  // existing picture is written over.
  ::mkdir("snapshot", 0755);
  constexpr int kExisting = 1100;
  for (int n = kExisting; n >= 1; --n) {  // the largest is listed last in name order
    char name[64];
    std::snprintf(name, sizeof name, "snapshot/vko%04d.bmp", n);
    GameDriver::WriteFile(name, {1});
  }
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  driver_.Run(1);
  driver_.Tap(kKeyP);
  driver_.Run(1);
  char next[64];
  std::snprintf(next, sizeof next, "snapshot/vko%d.bmp", kExisting + 1);
  EXPECT_GT(GameDriver::ReadFile(next).size(), 54u);
  for (int n = 1; n <= kExisting; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "snapshot/vko%04d.bmp", n);
    ASSERT_EQ(GameDriver::ReadFile(name).size(), 1u) << name;
  }
}

TEST(ShellStartUp, CorruptSettingsAnsweredNoEndsBeforeTheLibrary) {
  GameDriver driver;
  GameDriver::WriteFile("vko01.cfg", std::vector<uint8_t>(20, 0x33));
  HeadlessQueueMessageBoxAnswer(0);
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(HeadlessMessageBoxCount(), 1);
  EXPECT_STREQ(HeadlessLastMessageBoxText(), kConfigQuestion);
  EXPECT_EQ(PlatformHasWindow(), 0);
  EXPECT_EQ(HeadlessPresentedFrameCount(), 0);
  EXPECT_EQ(driver.State().input, nullptr);
}

TEST(ShellStartUp, CorruptSettingsAnsweredYesGoesOnWithDefaults) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  GameDriver::WriteFile("vko01.cfg", {'v', 'k', 'o', '0', '1', 'c', 'f', 'z', 9, 9, 9});
  GameDriver::WriteFile("score.dat", std::vector<uint8_t>(1537, 0));
  HeadlessQueueMessageBoxAnswer(1);  // regenerate the settings
  HeadlessQueueMessageBoxAnswer(1);  // regenerate the scores
  HeadlessQueueMessageBoxAnswer(0);  // full screen? no
  ASSERT_EQ(driver.Start(), StartUpResult::Ready);
  EXPECT_EQ(HeadlessMessageBoxCount(), 3);
  EXPECT_STREQ(HeadlessLastMessageBoxText(), kFullScreenQuestion);
  GameState& s = driver.State();
  EXPECT_EQ(s.screenMode, 2u);
  EXPECT_EQ(s.bgmVolume, 100u);
  EXPECT_EQ(s.seVolume, 100u);
  EXPECT_EQ(s.livesSetting, 2u);
  EXPECT_EQ(s.bombsSetting, 3u);
  EXPECT_EQ(s.hiScore[0], 100000000u);
  EXPECT_EQ(s.hiName[4][0], 56);  // "E"
  EXPECT_EQ(s.hiScore[24], 10000000u);
  // The action buttons answer to joypad buttons 0-3, not to the pad's down.
  EXPECT_EQ(s.input->padBits[0][ButtonShot], 0x10u);
  EXPECT_EQ(s.input->padBits[0][ButtonSkip], 0x80u);
  HeadlessSetPadCount(1);
  HeadlessSetPadBits(0, 0x1);  // down
  driver.Run(1);
  EXPECT_EQ(s.input->pressed[0][ButtonDown], 1);
  EXPECT_EQ(s.input->pressed[0][ButtonBomb], 0);
  HeadlessSetPadBits(0, 0x20);  // button 1
  driver.Run(1);
  EXPECT_EQ(s.input->pressed[0][ButtonBomb], 1);
}

TEST(ShellStartUp, MusicOverrideReplacesTheStockTitleTrack) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  // The stock title track stays out of reach: only the override can load.
  std::vector<uint8_t> track = GameDriver::ReadFile("vkobgm/vko01_01.wav");
  ASSERT_GT(track.size(), 44u);
  ASSERT_EQ(unlink("vkobgm"), 0);
  ASSERT_EQ(mkdir("replace", 0755), 0);
  GameDriver::WriteFile("replace/mine.wav", track);
  {
    std::string ini = "[vko01_01]\r\nPath=replace\\mine.wav\r\nLoop=100\r\n";
    GameDriver::WriteFile("replace/bgm.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
  }
  HeadlessSetDefaultMessageBoxAnswer(0);  // a window
  ASSERT_EQ(driver.Start(), StartUpResult::Ready);
  GameState& s = driver.State();
  EXPECT_STREQ(s.bgmPath[0], "replace\\mine.wav");
  EXPECT_EQ(s.bgmLoop[0], 100);
  EXPECT_NE(s.bgm->handles[4], -1);
  EXPECT_EQ(s.bgm->handles[5], -1);  // no stock ending track either
  EXPECT_EQ(ApiIsSoundPlaying(s.bgm->handles[4]), 1);
}

TEST(ShellStartUp, StageMusicTakesOverridesAndOneTrackPlaysAtATime) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  std::vector<uint8_t> track = GameDriver::ReadFile("vkobgm/vko01_02.wav");
  ASSERT_GT(track.size(), 44u);
  ASSERT_EQ(unlink("vkobgm"), 0);  // only overrides can load
  ASSERT_EQ(mkdir("replace", 0755), 0);
  GameDriver::WriteFile("replace/road.wav", track);
  GameDriver::WriteFile("replace/boss.wav", track);
  std::string ini =
      "[vko01_10]\nPath=replace\\road.wav\nLoop=250\n"
      "[vko01_11]\nPath=replace\\boss.wav\n"
      "[vko01_12]\nPath=replace\\none.wav\n";
  GameDriver::WriteFile("replace/bgm.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
  HeadlessSetDefaultMessageBoxAnswer(0);
  ASSERT_EQ(driver.Start(), StartUpResult::Ready);
  GameState& s = driver.State();
  BGM& bgm = *s.bgm;
  EXPECT_STREQ(s.bgmPath[9], "replace\\road.wav");
  EXPECT_EQ(s.bgmLoop[9], 250);
  EXPECT_STREQ(s.bgmPath[11], "");  // names a missing file
  bgm.LoadStage(4);  // stage 2: sections 10 and 11
  EXPECT_NE(bgm.handles[0], -1);
  EXPECT_NE(bgm.handles[1], -1);
  EXPECT_EQ(bgm.handles[2], -1);
  EXPECT_EQ(bgm.handles[3], -1);
  bgm.Play(0);
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[0]), 1);
  bgm.Play(0);  // already playing: nothing changes
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[0]), 1);
  bgm.Play(1);  // one track at a time
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[0]), 0);
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[1]), 1);
  bgm.Play(2);  // an empty slot: nothing happens
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[1]), 1);
  bgm.StopAll();
  EXPECT_EQ(ApiIsSoundPlaying(bgm.handles[1]), 0);
  bgm.LoadStage(5);  // stage 3: section 12 names a missing file, no stock
  EXPECT_EQ(bgm.handles[0], -1);
  EXPECT_EQ(bgm.handles[1], -1);
  // With the music volume at 0 the stage tracks are left alone.
  bgm.LoadStage(4);
  int32_t loaded = bgm.handles[0];
  s.bgmVolume = 0;
  bgm.LoadStage(5);
  EXPECT_EQ(bgm.handles[0], loaded);
}

TEST_F(ShellRun, ReplaySpeedControlByButtonsHeld) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  s.scene = SceneNothing;  // updates only count frames
  s.playback = 1;
  auto framesOver = [&](int passes) {
    int before = s.frameCount;
    driver_.Run(passes);
    return s.frameCount - before;
  };
  EXPECT_EQ(framesOver(4), 4);
  GameDriver::Key(kKeyX, true);
  EXPECT_EQ(framesOver(4), 0);
  GameDriver::Key(kKeyZ, true);
  EXPECT_EQ(framesOver(4), 8);
  GameDriver::Key(kKeyCtrl, true);
  EXPECT_EQ(framesOver(4), 16);
  GameDriver::Key(kKeyShift, true);
  EXPECT_EQ(framesOver(4), 2);
  EXPECT_EQ(g_mainLoop.updatesLastPass, g_mainLoop.passCounter % 2 == 0 ? 1 : 0);
  // Frame skipping counts passes, so fast play-back keeps drawing.
  GameDriver::Key(kKeyShift, false);
  s.frameSkip = 1;
  int presented = HeadlessPresentedFrameCount();
  int drawn = 0;
  for (int i = 0; i < 6; ++i) {
    driver_.Run(1);
    drawn += g_mainLoop.drewLastPass;
  }
  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(HeadlessPresentedFrameCount(), presented + 6);
  s.playback = 0;
  EXPECT_EQ(framesOver(3), 3);  // live play ignores the speed buttons
}

TEST_F(ShellRun, PauseAndTallyWaitDoNotCountFrames) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  s.scene = ScenePause;
  int before = s.frameCount;
  driver_.Run(5);
  EXPECT_EQ(s.frameCount, before);
  s.scene = SceneStageResult;
  s.stageResult->frame = 202;
  driver_.Run(3);
  EXPECT_EQ(s.frameCount, before);
  s.stageResult->frame = 100;
  driver_.Run(1);
  EXPECT_EQ(s.frameCount, before + 1);
}

TEST_F(ShellRun, ResetStageClearsThePoolsAndReseeds) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  s.bullet->records[2047].active = 1;
  s.item->slots[3].active = 1;
  s.enemy->slots[255].active = 1;
  s.maho->slots[0].active = 1;
  s.player->shots[9].active = 1;
  s.player->x = 1.0f;
  s.boss->active = 1;
  s.boss->spellId = 12;
  s.boss->invulnerable = 0;
  s.stage->frame = 500;
  s.gaugeActive = 1;
  s.gauge = 700;
  s.continues = 2;
  s.stageNumber = 3;
  s.playSeed = 200;
  s.frameCount = 99;
  ResetStage(s);
  EXPECT_EQ(s.bullet->records[2047].active, 0);
  EXPECT_EQ(s.item->slots[3].active, 0);
  EXPECT_EQ(s.enemy->slots[255].active, 0);
  EXPECT_EQ(s.maho->slots[0].active, 0);
  EXPECT_EQ(s.player->shots[9].active, 0);
  EXPECT_EQ(s.player->x, 208.0f);
  EXPECT_EQ(s.player->y, 420.0f);
  EXPECT_EQ(s.player->invulnerable, 270);
  EXPECT_EQ(s.boss->active, 0);
  EXPECT_EQ(s.boss->spellId, 0);
  EXPECT_EQ(s.boss->invulnerable, 1);
  EXPECT_EQ(s.boss->animStep, 1);
  EXPECT_EQ(s.stage->frame, 0);
  EXPECT_EQ(s.gauge, 0);
  EXPECT_EQ(s.gaugeActive, 0);
  EXPECT_EQ(s.continues, 0u);
  EXPECT_EQ(s.frameCount, 0);
  int afterReset[4];
  for (int& v : afterReset) v = ApiRandomInRange(1000000);
  ApiSeedRandom(200);
  for (int v : afterReset) EXPECT_EQ(ApiRandomInRange(1000000), v);
  // From stage 4 on the continues of the run are kept.
  s.continues = 2;
  s.stageNumber = 4;
  ResetStage(s);
  EXPECT_EQ(s.continues, 2u);
}

TEST_F(ShellRun, EffectsRepeatWhileFrameCountStands) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  s.scene = ScenePause;
  driver_.Run(3);
  const int frame = s.frameCount;
  s.sound->Play(SeCursor);
  const int first = s.sound->lastStart[SeCursor];
  EXPECT_GT(first, frame);  // started on the effects' own clock
  driver_.Run(1);
  s.sound->Play(SeCursor);  // within the interval: refused
  EXPECT_EQ(s.sound->lastStart[SeCursor], first);
  driver_.Run(1);
  s.sound->Play(SeCursor);  // two frames on, though frameCount stood
  EXPECT_EQ(s.sound->lastStart[SeCursor], first + 2);
  EXPECT_EQ(s.frameCount, frame);
  // The tally's wait for a press stands the same way.
  s.scene = SceneStageResult;
  s.stageResult->frame = 202;
  driver_.Run(2);
  s.sound->Play(SeCursor);
  EXPECT_EQ(s.sound->lastStart[SeCursor], first + 4);
  EXPECT_EQ(s.frameCount, frame);
  // The stage reset starts the effects' clock again with frameCount.
  s.stageNumber = 4;
  ResetStage(s);
  EXPECT_EQ(s.sound->standingFrames, 0);
  s.frameCount = 2;
  s.sound->Play(SeOk);
  EXPECT_EQ(s.sound->lastStart[SeOk], 2);
}

TEST_F(ShellRun, CancelButtonLeavesTheOptions) {
  StartAndFinishBuildUp();
  GameState& s = driver_.State();
  driver_.Tap(kKeyUp);  // onto quit
  driver_.Run(2);
  driver_.Tap(kKeyUp);  // onto options
  driver_.Run(2);
  ASSERT_EQ(s.title->cursor, TitleOptions);
  driver_.Tap(kKeyZ);
  driver_.Run(1);
  ASSERT_EQ(s.scene, SceneOptions);
  driver_.Run(3);
  driver_.Tap(kKeyX);
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(s.title->timer, 0);
  EXPECT_EQ(s.title->cursor, 0);
  EXPECT_EQ(s.sound->lastStart[SeCancel], s.frameCount - 1);  // the cancel effect
  EXPECT_EQ(ApiIsSoundPlaying(s.bgm->handles[4]), 1);
}

// The title after its build-up, read from the folders or from the archives.
HeadlessFrame BuiltTitle(bool archives) {
  GameDriver driver;
  bool ready = archives ? driver.UseStandInArchives() : driver.UseStandInData();
  if (!ready) return {};
  if (archives) {
    EXPECT_FALSE(GameDriver::Exists("vko01"));
  }
  HeadlessSetDefaultMessageBoxAnswer(0);
  if (driver.Start() != StartUpResult::Ready) return {};
  driver.Run(kTitleBuildUpFrames + 2);
  GameState& s = driver.State();
  EXPECT_NE(s.title->backdrop, -1);
  EXPECT_NE(s.otherSheet, -1);
  EXPECT_NE(s.sound->handles[SeCursor], -1);
  EXPECT_EQ(ApiIsSoundPlaying(s.bgm->handles[4]), 1);
  return HeadlessLastFrame();
}

TEST(ShellStartUp, ArchivesShowTheSameTitleAsTheFolders) {
  HeadlessFrame fromFolders = BuiltTitle(false);
  if (fromFolders.pixels.empty()) GTEST_SKIP() << "the data generator is not built";
  HeadlessFrame fromArchives = BuiltTitle(true);
  if (fromArchives.pixels.empty()) GTEST_SKIP() << "the archive packer is not built";
  ASSERT_EQ(fromArchives.width, 640);
  EXPECT_EQ(fromArchives.pixels, fromFolders.pixels);
  // Not a blank screen: the backdrop spans many colours.
  size_t differing = 0;
  for (size_t i = 4; i < fromArchives.pixels.size(); i += 4)
    differing += fromArchives.pixels[i] != fromArchives.pixels[0];
  EXPECT_GT(differing, fromArchives.pixels.size() / 8);
}

TEST(ShellStartUp, UndecodableMusicOverrideKeepsTheStockTrack) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(mkdir("replace", 0755), 0);
  std::string noise = "RIFF this is no sound at all, only words in a file";
  GameDriver::WriteFile("replace/noise.wav", std::vector<uint8_t>(noise.begin(), noise.end()));
  std::string ini =
      "[vko01_01]\nPath=replace\\noise.wav\n"
      "[vko01_02]\nPath=replace\\noise.wav\nLoop=10\n";
  GameDriver::WriteFile("replace/bgm.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
  HeadlessSetDefaultMessageBoxAnswer(0);
  ASSERT_EQ(driver.Start(), StartUpResult::Ready);
  GameState& s = driver.State();
  ASSERT_STREQ(s.bgmPath[0], "replace\\noise.wav");  // a regular file, so taken as a path
  EXPECT_NE(s.bgm->handles[4], -1);
  EXPECT_EQ(ApiIsSoundPlaying(s.bgm->handles[4]), 1);  // the stock title music
  s.bgm->LoadStage(0);
  EXPECT_NE(s.bgm->handles[0], -1);  // the stock road music of the first stage
  EXPECT_NE(s.bgm->handles[1], -1);
}

TEST(SoundEffects, IntervalLimitsStarts) {
  GameDriver driver;
  GameState& s = driver.State();
  s.seVolume = 55;
  Sound sound(s);  // no files: every slot without a sound, the rule still runs
  EXPECT_EQ(sound.interval[0], 3);
  EXPECT_EQ(sound.interval[16], 4);
  EXPECT_EQ(sound.interval[2], 1);
  EXPECT_EQ(sound.interval[31], 1);
  std::vector<int> starts;
  s.frameCount = 0;
  for (int f = 10; f <= 22; ++f) {
    s.frameCount = f;
    int before = sound.lastStart[0];
    sound.Play(SeShot);
    if (sound.lastStart[0] != before) starts.push_back(f);
  }
  EXPECT_EQ(starts, (std::vector<int>{10, 14, 18, 22}));
  // After the stage reset's volume pass an interval-1 effect waits for frame 2.
  sound.ApplyVolume(s);
  starts.clear();
  for (int f = 0; f <= 3; ++f) {
    s.frameCount = f;
    int before = sound.lastStart[SeOk];
    sound.Play(SeOk);
    if (sound.lastStart[SeOk] != before) starts.push_back(f);
  }
  EXPECT_EQ(starts, (std::vector<int>{2}));
}

// Draws into a cleared back buffer and returns the presented picture.
HeadlessFrame Picture(const std::function<void()>& draw) {
  ApiSelectDrawTarget(BackBufferTarget);
  ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(0, 0, 0), 1);
  draw();
  ApiPresentBackScreen();
  return HeadlessLastFrame();
}

TEST_F(ShellRun, NumberDrawersPlaceDigitsAtTheirPitch) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  int32_t digits[10];
  for (int i = 0; i < 10; ++i) {
    digits[i] = ApiDeriveSubGraph(16 * i, 16, 16, 16, s.otherSheet);
    ASSERT_NE(digits[i], -1);
  }
  HeadlessFrame blank = Picture([] {});
  HeadlessFrame drawn = Picture([&] { DrawNumber(3, 100, 50, 7, digits); });
  HeadlessFrame expected = Picture([&] {
    ApiDrawGraphAt(100, 50, digits[0], 1);
    ApiDrawGraphAt(112, 50, digits[0], 1);
    ApiDrawGraphAt(124, 50, digits[7], 1);
  });
  EXPECT_NE(expected.pixels, blank.pixels);
  EXPECT_EQ(drawn.pixels, expected.pixels);

  drawn = Picture([&] { DrawNumberSmall(4, 200, 60, 305, digits); });
  expected = Picture([&] {
    ApiDrawGraphAt(200, 60, digits[0], 1);
    ApiDrawGraphAt(206, 60, digits[3], 1);
    ApiDrawGraphAt(212, 60, digits[0], 1);
    ApiDrawGraphAt(218, 60, digits[5], 1);
  });
  EXPECT_EQ(drawn.pixels, expected.pixels);

  // A value too large for its places draws nines, never a graph past the table.
  drawn = Picture([&] { DrawNumber(2, 10, 10, 123, digits); });
  expected = Picture([&] {
    ApiDrawGraphAt(10, 10, digits[9], 1);
    ApiDrawGraphAt(22, 10, digits[9], 1);
  });
  EXPECT_EQ(drawn.pixels, expected.pixels);
}

TEST_F(ShellRun, NameGlyphsBeyondTheAlphabetDrawNothing) {
  ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
  GameState& s = driver_.State();
  int32_t glyphs[kNameGlyphCount];
  for (uint32_t i = 0; i < kNameGlyphCount; ++i)
    glyphs[i] = ApiDeriveSubGraph(16 * (i % 26), 16 * (i / 26 + 1), 16, 16, s.otherSheet);
  HeadlessFrame blank = Picture([] {});
  HeadlessFrame drawn = Picture([&] {
    DrawNameGlyph(40, 40, 52, glyphs);
    DrawNameGlyph(52, 40, 104, glyphs);
    DrawNameGlyph(64, 40, 255, glyphs);
    DrawNameGlyph(76, 40, 0xFFFFFFFFu, glyphs);
  });
  HeadlessFrame expected = Picture([&] { ApiDrawGraphAt(40, 40, glyphs[52], 1); });
  EXPECT_NE(expected.pixels, blank.pixels);
  EXPECT_EQ(drawn.pixels, expected.pixels);
}

}  // namespace
