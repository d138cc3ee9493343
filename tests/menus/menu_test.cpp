// The menus through the headless driver and their small rules: key repeat,
// cursor wrap, the name grid walk, high-score insertion, the settings file,
// the records pages, name entry, replay save and a damaged replay slot.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/driver.h"
#include "library/platform/fs.h"
#include "library/tesra.h"
#include "playfield/digest.h"
#include "scenes/menu.h"
#include "scenes/title.h"
#include "shell/input.h"
#include "shell/savefile.h"
#include "shell/savefile_io.h"
#include "shell/sound.h"

namespace {

constexpr int kKeyZ = 44, kKeyX = 45, kKeyEscape = 1, kKeyUp = 200, kKeyDown = 208,
              kKeyLeft = 203, kKeyRight = 205;

// Holds a button for n frames from a fresh press and lists the frames on
// which the cursor moved.
std::vector<int> MoveFrames(int count, int frames, int repeatEvery, std::vector<int>* cursors) {
  Input in;
  std::vector<int> moved;
  int32_t cursor = 0;
  for (int f = 1; f <= frames; ++f) {
    in.previous[0][ButtonDown] = in.pressed[0][ButtonDown];
    in.pressed[0][ButtonDown] = 1;
    in.hold[0][ButtonDown] = f;
    int32_t next = MoveMenuCursor(in, nullptr, cursor, count, ButtonUp, ButtonDown, false, repeatEvery);
    if (next != cursor) moved.push_back(f);
    cursor = next;
    if (cursors) cursors->push_back(cursor);
  }
  return moved;
}

TEST(MenuRules, HeldCursorRepeatsFromTheTwentyFifthFrameAndWraps) {
  std::vector<int> cursors;
  EXPECT_EQ(MoveFrames(4, 40, 5, &cursors), (std::vector<int>{1, 25, 30, 35, 40}));
  EXPECT_EQ(cursors[0], 1);
  EXPECT_EQ(cursors[34], 0);  // 3 wraps to 0 at frame 35
  EXPECT_EQ(MoveFrames(180, 26, 2, nullptr), (std::vector<int>{1, 22, 24, 26}));
}

TEST(MenuRules, WrapAndClampAtTheEnds) {
  Input in;
  in.pressed[0][ButtonUp] = 1;
  in.hold[0][ButtonUp] = 1;
  EXPECT_EQ(MoveMenuCursor(in, nullptr, 0, 4, ButtonUp, ButtonDown), 3);
  EXPECT_EQ(MoveMenuCursor(in, nullptr, 0, 5, ButtonUp, ButtonDown, true), 0);
  // Leaving the list without moving (the cursor stood on an extra entry).
  EXPECT_EQ(MoveMenuCursor(Input(), nullptr, 4, 4, ButtonUp, ButtonDown), 0);
}

TEST(MenuRules, GridWalk) {
  struct Case { int from, dx, dy, to; } cases[] = {
      {0, -1, 0, 25}, {25, 1, 0, 0}, {3, 0, -1, 81}, {81, 0, 1, 3}, {90, 0, 1, 12},
      {103, 1, 0, 78}, {78, -1, 0, 103}, {52, 0, -1, 26}, {40, 1, 0, 41}};
  for (const Case& c : cases)
    EXPECT_EQ(GridStep(c.from, c.dx, c.dy), c.to) << c.from << " by " << c.dx << "," << c.dy;
}

// A word's glyphs stand one pitch apart with no gap, so a character word must
// leave at least one blank glyph place before the date or the score drawn
// after the Type column, or the two read as one word.
TEST(MenuRules, CharacterWordsLeaveABlankBeforeTheNextColumn) {
  for (const char* word : kCharacterWords) {
    const int places = static_cast<int>(std::strlen(word)) + 1;
    EXPECT_LE(kGlyphPitch * places, kColumnAfterTypeX - kTypeColumnX) << word;
  }
}

TEST(MenuRules, NewHighScoreShiftsTheLowerPlacesDown) {
  static GameState s;
  std::memset(&s, 0, sizeof s);
  const uint32_t scores[5] = {500, 400, 300, 200, 100};
  for (int i = 0; i < 5; ++i) {
    s.hiScore[10 + i] = scores[i];
    s.hiName[10 + i][0] = static_cast<uint8_t>(i);
    s.hiDay[10 + i] = static_cast<uint32_t>(i + 1);
  }
  const int32_t date[3] = {2026, 12, 7};
  EXPECT_EQ(InsertHighScore(s, 2, 300, 4, date), 2);  // equal takes the place
  const uint32_t after[5] = {500, 400, 300, 300, 200};
  const uint8_t names[5] = {0, 1, kGlyphBlank, 2, 3};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(s.hiScore[10 + i], after[i]) << i;
    EXPECT_EQ(s.hiName[10 + i][0], names[i]) << i;
  }
  EXPECT_EQ(s.hiCharacter[12], 4u);
  EXPECT_EQ(s.hiMonth[12], 12u);
  EXPECT_EQ(s.hiDay[13], 3u);  // the old third place moved down with its date
  EXPECT_EQ(InsertHighScore(s, 2, 199, 0, date), -1);
  EXPECT_EQ(InsertHighScore(s, 5, 999, 0, date), -1);  // no such table
}

// The game at its title with the stand-in data and a window-mode settings file.
class MenuRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!driver_.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
    GameDriver::WriteWindowedSettings();
    ASSERT_EQ(driver_.Start(), StartUpResult::Ready);
    S().frameSkip = 2;  // the menus draw nothing they keep: a third of the frames will do
    Press(kKeyZ);       // cuts the title's build-up short
  }
  // One press and release: one pass with the key down, one with it up.
  void Press(int key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      driver_.Tap(key);
      driver_.Run(1);
      driver_.Run(1);
    }
  }
  void Snapshot(const char* name) {
    if (const char* dir = std::getenv("VKO_SNAPSHOT_DIR")) {
      const uint32_t skip = S().frameSkip;
      S().frameSkip = 0;  // one more pass, drawn, with no key down
      driver_.Run(1);
      S().frameSkip = skip;
      std::string path = std::string(dir) + "/" + name + ".bmp";
      ApiSaveScreenRectToBmp(0, 0, 640, 480, path.c_str());
    }
  }
  GameState& S() { return driver_.State(); }
  GameDriver driver_;
};

TEST_F(MenuRun, OptionsChangeEverySettingAndSaveTwentyBytes) {
  Press(kKeyUp, 2);  // quit, options
  Press(kKeyZ);
  ASSERT_EQ(S().scene, SceneOptions);
  Press(kKeyLeft, 2);              // lives 2 -> 0
  Press(kKeyDown);
  Press(kKeyLeft);                 // bombs 3 -> 2
  Press(kKeyDown);
  Press(kKeyLeft, 3);              // music 100 -> 85
  Press(kKeyDown);
  Press(kKeyRight);                // effects stay at 100
  S().seVolume = 5;
  Press(kKeyLeft, 2);              // ... and stop at 0
  Snapshot("options");
  EXPECT_EQ(S().livesSetting, 0u);
  EXPECT_EQ(S().bombsSetting, 2u);
  EXPECT_EQ(S().bgmVolume, 85u);
  EXPECT_EQ(S().seVolume, 0u);
  Press(kKeyDown, 3);  // onto "back"
  Press(kKeyZ);
  EXPECT_EQ(S().scene, SceneTitle);
  std::vector<uint8_t> file = GameDriver::ReadFile("vko01.cfg");
  ASSERT_EQ(file.size(), 20u);
  static GameState decoded;
  std::memset(&decoded, 0, sizeof decoded);
  std::vector<uint8_t> image = file;  // decoding unscrambles in place
  ASSERT_TRUE(DecodeConfigFile(image.data(), decoded));
  EXPECT_EQ(decoded.livesSetting, 0u);
  EXPECT_EQ(decoded.bombsSetting, 2u);
  EXPECT_EQ(decoded.bgmVolume, 85u);
  EXPECT_EQ(decoded.seVolume, 0u);
  // Leaving with the cancel button keeps the values but writes nothing.
  Press(kKeyZ);  // the title's build-up again
  Press(kKeyUp, 2);
  Press(kKeyZ);
  Press(kKeyDown, 5);  // "reset"
  Press(kKeyZ);
  EXPECT_EQ(S().livesSetting, 2u);
  EXPECT_EQ(S().seVolume, 100u);
  Press(kKeyX);
  EXPECT_EQ(S().scene, SceneTitle);
  EXPECT_EQ(GameDriver::ReadFile("vko01.cfg"), file);
}

TEST_F(MenuRun, RecordsPagesStepAndClamp) {
  Press(kKeyDown, 4);  // records
  Press(kKeyZ);
  ASSERT_EQ(S().scene, SceneRecords);
  Snapshot("records");
  Press(kKeyZ);
  EXPECT_EQ(S().menu->subState, 1);
  Press(kKeyUp);
  EXPECT_EQ(S().menu->cursor, 0);  // clamped
  Press(kKeyDown, 6);
  EXPECT_EQ(S().menu->cursor, 4);
  Snapshot("records_scores");
  Press(kKeyX);
  Press(kKeyDown);
  Press(kKeyZ);
  EXPECT_EQ(S().menu->subState, 2);
  S().spellAttempts[3] = 2;
  S().spellCaptures[3] = 1;
  Press(kKeyDown, 3);
  EXPECT_EQ(S().menu->cursor, 3);
  Press(kKeyUp, 5);
  EXPECT_EQ(S().menu->cursor, 0);
  Snapshot("records_spells");
  Press(kKeyX);
  EXPECT_EQ(S().menu->subState, 0);
  EXPECT_EQ(S().menu->cursor, 1);
}

// Types a name on the grid: each cell reached from the top left.
void TypeCells(MenuRun& run, const std::vector<int>& cells, const std::function<void(int)>& press) {
  (void)run;
  for (int cell : cells) {
    for (int i = 0; i < cell % 26; ++i) press(kKeyRight);
    for (int i = 0; i < cell / 26; ++i) press(kKeyDown);
    press(kKeyZ);
    for (int i = 0; i < cell / 26; ++i) press(kKeyUp);
    for (int i = 0; i < cell % 26; ++i) press(kKeyLeft);
  }
}

TEST_F(MenuRun, GameOverEntersANameAndSavesTheReplay) {
  GameState& s = S();
  for (int i = 0; i < 5; ++i) s.hiScore[5 + i] = 50000u - 10000u * static_cast<uint32_t>(i);
  s.difficulty = 1;
  s.character = 2;
  s.route = 2;
  s.stageNumber = 2;
  s.score = 35000;
  s.continues = 0;
  const uint32_t frames = 300;
  for (uint32_t i = 0; i < frames; ++i) s.recordInputs[i] = static_cast<uint8_t>(i * 7);
  s.inputIndex = frames;
  s.scene = SceneNameEntry;
  s.menu->ResetCursor(s);
  auto press = [&](int key) { Press(key); };
  driver_.Run(1);
  ASSERT_EQ(s.menu->place, 2);
  EXPECT_EQ(s.hiScore[7], 35000u);
  EXPECT_EQ(s.hiScore[8], 30000u);  // the old third place moved down
  EXPECT_EQ(s.hiScore[9], 20000u);
  TypeCells(*this, {52 + 7, 26 + 8}, press);  // "Hi"
  Snapshot("name_entry");
  Press(kKeyEscape);
  EXPECT_EQ(s.menu->cursor, kGlyphEndCell);
  Press(kKeyZ);
  ASSERT_EQ(s.scene, SceneReplaySave);
  EXPECT_EQ(s.hiName[7][0], 59);
  EXPECT_EQ(s.hiName[7][1], 34);
  EXPECT_EQ(s.hiName[7][2], kGlyphBlank);
  std::vector<uint8_t> score = GameDriver::ReadFile("score.dat");
  ASSERT_EQ(score.size(), 1537u);
  static GameState reread;
  std::memset(&reread, 0, sizeof reread);
  ASSERT_TRUE(DecodeScoreFile(reread, score.data()));
  EXPECT_EQ(reread.hiScore[7], 35000u);
  EXPECT_EQ(reread.hiScore[8], 30000u);
  int32_t now[6] = {};
  ApiGetLocalDateTime(now);
  EXPECT_EQ(reread.hiDay[7], static_cast<uint32_t>(now[2]));

  Snapshot("replay_question");
  Press(kKeyZ);  // "Yes"
  ASSERT_EQ(s.menu->subState, 1);
  Press(kKeyZ);  // slot 1
  ASSERT_EQ(s.menu->subState, 2);
  TypeCells(*this, {1, 2}, press);
  Snapshot("replay_name");
  Press(kKeyEscape);
  Press(kKeyZ);
  EXPECT_EQ(s.scene, SceneTitle);
  std::vector<uint8_t> replay = GameDriver::ReadFile("replay/vko01_01.rpy");
  ASSERT_EQ(replay.size(), 80u + frames + 1u);
  static GameState played;
  std::memset(&played, 0, sizeof played);
  ASSERT_TRUE(DecodeReplayFile(played, replay.data(), static_cast<uint32_t>(replay.size())));
  EXPECT_EQ(played.replayName[0], 1u);
  EXPECT_EQ(played.replayName[1], 2u);
  EXPECT_EQ(played.replayName[2], static_cast<uint32_t>(kGlyphBlank));
  EXPECT_EQ(played.replayHeader.score, 35000u);
  EXPECT_EQ(played.replayHeader.difficulty, 1u);
  EXPECT_EQ(played.playbackInputs[10], 70);
  EXPECT_EQ(s.sound->lastStart[SeOk], s.frameCount - 2);  // the save succeeded
}

TEST_F(MenuRun, ContinuedRunsAndPlaybacksSaveNothing) {
  GameState& s = S();
  s.score = 10;  // below every place
  s.continues = 1;
  s.scene = SceneNameEntry;
  s.menu->ResetCursor(s);
  driver_.Run(2);
  EXPECT_EQ(s.scene, SceneTitle);
  s.playback = 1;
  s.score = 99999999;
  s.scene = SceneNameEntry;
  driver_.Run(1);
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(s.playback, 0);
  EXPECT_NE(s.hiScore[0], 99999999u);
  EXPECT_FALSE(GameDriver::Exists("score.dat"));
}

// A slot that does not decode and one that cannot be read at all (a FIFO)
// both show "Damaged", never an empty slot a save would write over.
TEST_F(MenuRun, DamagedReplaySlotIsRefused) {
  mkdir("replay", 0755);
  GameDriver::WriteFile("replay/vko01_01.rpy", std::vector<uint8_t>(120, 0x5A));
  ASSERT_EQ(mkfifo("replay/vko01_02.rpy", 0644), 0);
  Press(kKeyDown, 3);  // replay
  Press(kKeyZ);
  ASSERT_EQ(S().scene, SceneReplaySelect);
  EXPECT_EQ(S().replaySlots[0].valid, 0);
  // The FIFO's row drawn, then the same row with a file that does not decode.
  S().frameSkip = 0;
  const auto slotTwoRow = [&] {
    driver_.Run(1);
    const HeadlessFrame f = HeadlessLastFrame();
    const size_t pitch = static_cast<size_t>(f.width) * f.bits / 8;
    return std::vector<uint8_t>(f.pixels.begin() + 60 * pitch, f.pixels.begin() + 80 * pitch);
  };
  const std::vector<uint8_t> unreadable = slotTwoRow();
  ASSERT_EQ(unlink("replay/vko01_02.rpy"), 0);
  GameDriver::WriteFile("replay/vko01_02.rpy", std::vector<uint8_t>(120, 0x5A));
  EXPECT_TRUE(slotTwoRow() == unreadable);
  Snapshot("replay_select");
  Press(kKeyZ);
  EXPECT_EQ(S().scene, SceneReplaySelect);
  EXPECT_EQ(S().sound->lastStart[SeCancel], S().frameCount - 2);
  EXPECT_EQ(S().playback, 0);
}

TEST_F(MenuRun, CharacterFourStaysLockedWithoutAHardClear) {
  GameState& s = S();
  s.clearFlags[0][0] = s.clearFlags[1][1] = 1;
  Press(kKeyZ);  // game start
  Press(kKeyZ);  // Easy
  ASSERT_EQ(s.scene, SceneCharacter);
  Press(kKeyLeft);  // wraps onto character 4
  ASSERT_EQ(s.menu->cursor, 4);
  Snapshot("character_locked");
  Press(kKeyZ);
  EXPECT_EQ(s.scene, SceneCharacter);
  s.clearFlags[3][2] = 1;
  Press(kKeyZ);
  EXPECT_EQ(s.scene, SceneRoute);
  Snapshot("route");
}

TEST_F(MenuRun, PracticeSelectSetsStageAndRoute) {
  GameState& s = S();
  s.route = 3;
  s.continues = 1;  // left by an earlier continued run
  Press(kKeyDown, 2);  // practice start
  Press(kKeyZ);
  Press(kKeyZ);  // Easy
  Press(kKeyZ);  // character 0
  ASSERT_EQ(s.scene, ScenePracticeStage);
  Press(kKeyDown, 7);  // STAGE 4B
  Snapshot("practice");
  Press(kKeyZ);
  EXPECT_EQ(s.scene, ScenePlaying);
  EXPECT_EQ(s.stageNumber, 7u);
  EXPECT_EQ(s.route, 1u);
  EXPECT_EQ(s.lives, 9);
  EXPECT_EQ(s.power, 128);
  EXPECT_EQ(s.continues, 0u);  // else its clear would offer no replay save
  EXPECT_EQ(s.frameCount, 2);  // the start frame counts, then one frame of play
}

}  // namespace

namespace {

// A play restarted from the pause replays frame for frame: the restart counts
// its frame as every play start does, so frameCount (which grazes and some
// attacks read) matches the replay's.
TEST_F(MenuRun, RestartedPlayReplaysWithIdenticalDigests) {
  S().frameSkip = 0;  // every frame drawn, live and replayed alike
  GameDriver::PlayStart start;
  start.stageNumber = 0;
  start.seed = 77;
  start.sandbox = false;
  driver_.StartPlay(start);
  GameDriver::Key(kKeyZ, true);
  driver_.Run(40);
  GameDriver::Key(kKeyZ, false);
  Press(kKeyEscape);
  ASSERT_EQ(S().scene, ScenePause);
  Press(kKeyDown);
  std::vector<uint64_t> live, replayed;
  driver_.SetUpdateHook([&](GameState& s) { live.push_back(ComputeFrameDigest(s).Combined()); });
  driver_.Tap(kKeyZ);  // "restart"
  driver_.RunPlay(1);
  ASSERT_EQ(S().scene, ScenePlaying);
  EXPECT_EQ(S().frameCount, 1);
  GameDriver::Key(kKeyLeft, true);
  GameDriver::Key(kKeyZ, true);
  driver_.RunPlay(100);
  GameDriver::Key(kKeyLeft, false);
  GameDriver::Key(kKeyZ, false);
  std::vector<uint8_t> image = driver_.RecordedReplay();
  ASSERT_EQ(image.size(), 80u + 100u + 1u);

  driver_.SetUpdateHook([&](GameState& s) { replayed.push_back(ComputeFrameDigest(s).Combined()); });
  ASSERT_TRUE(driver_.StartReplay(image, false));
  replayed.push_back(ComputeFrameDigest(S()).Combined());  // the start counts as the restart did
  driver_.RunPlay(100);
  // Playback leaves for the replay list as it takes its last recorded input.
  ASSERT_EQ(replayed.size(), live.size());
  for (size_t i = 0; i + 2 < live.size(); ++i) ASSERT_EQ(replayed[i], live[i]) << "frame " << i;
  EXPECT_EQ(S().scene, SceneReplaySelect);
}

}  // namespace

namespace {

// The key configuration takes a joypad button only when exactly one button
// bit (4-31) is down; two buttons or a direction leave the entry as it was.
TEST_F(MenuRun, KeyConfigTakesOneButtonAlone) {
  Press(kKeyUp, 2);  // quit, options
  Press(kKeyZ);
  Press(kKeyDown, 4);  // key configuration
  Press(kKeyZ);
  ASSERT_EQ(S().scene, SceneKeyConfig);
  HeadlessSetPadCount(1);
  struct Case { uint32_t bits, shotButton; } cases[] = {
      {1u << 9, 9}, {(1u << 5) | (1u << 6), 9}, {1u << 2, 9}, {1u << 31, 31}, {0, 31}};
  for (const Case& c : cases) {
    HeadlessSetPadBits(0, c.bits);
    driver_.Run(1);
    HeadlessSetPadBits(0, 0);
    driver_.Run(1);
    EXPECT_EQ(S().padButton[0], c.shotButton) << std::hex << c.bits;
  }
  Press(kKeyUp);  // "back"
  Press(kKeyZ);
  EXPECT_EQ(S().scene, SceneOptions);
  EXPECT_EQ(S().padMask[4], 1u << 31);  // applied on the way out
}

}  // namespace

namespace {

// A replay that cannot be written sounds the cancel effect, not the confirm.
TEST_F(MenuRun, FailedReplaySaveSoundsCancel) {
  GameState& s = S();
  GameDriver::WriteFile("replay", {7});  // a file where the folder should be
  s.continues = 0;
  s.inputIndex = 10;
  s.scene = SceneReplaySave;
  s.menu->ResetCursor(s);
  Press(kKeyZ);  // "Yes"
  Press(kKeyZ);  // slot 1
  Press(kKeyEscape);
  Press(kKeyZ);  // finish the name: the save fails
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(s.sound->lastStart[SeCancel], s.frameCount - 2);
  EXPECT_EQ(GameDriver::ReadFile("replay"), std::vector<uint8_t>{7});
}

// So does an options save whose settings file cannot be written.
TEST_F(MenuRun, FailedOptionsSaveSoundsCancel) {
  GameState& s = S();
  FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };  // a full disk
  Press(kKeyUp, 2);  // options
  Press(kKeyZ);
  ASSERT_EQ(s.scene, SceneOptions);
  Press(kKeyUp);  // "back", which saves
  Press(kKeyZ);
  EXPECT_EQ(s.scene, SceneTitle);
  EXPECT_EQ(s.sound->lastStart[SeCancel], s.frameCount - 2);
  EXPECT_LT(s.sound->lastStart[SeOk], s.frameCount - 2);
  FsResetHostCalls();
}

}  // namespace

namespace {

// A replay that ends returns to the replay list on the slot it was started
// from, whatever the pause menu's cursor was.
TEST_F(MenuRun, ReplayEndReturnsToItsSlot) {
  GameDriver::PlayStart start;
  start.seed = 5;
  start.sandbox = false;
  driver_.StartPlay(start);
  driver_.Run(60);
  mkdir("replay", 0755);
  ASSERT_TRUE(SaveReplay(S(), 2));
  S().scene = SceneTitle;
  S().title->Reset(S());
  Press(kKeyZ);       // the build-up
  Press(kKeyDown, 3);  // replay
  Press(kKeyZ);
  ASSERT_EQ(S().scene, SceneReplaySelect);
  Press(kKeyDown, 2);
  Press(kKeyZ);
  ASSERT_EQ(S().scene, ScenePlaying);
  Press(kKeyEscape);
  Press(kKeyDown);  // the pause's cursor on its second entry
  Press(kKeyEscape);
  driver_.Run(80);
  EXPECT_EQ(S().scene, SceneReplaySelect);
  EXPECT_EQ(S().playback, 0);
  EXPECT_EQ(S().menu->cursor, 2);
}

}  // namespace
