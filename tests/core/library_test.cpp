// Start, pump thread and end of the library on the headless back end, the
// subsystem hooks in order, and the core entry points for settings, clock and input.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/hooks.h"
#include "core/input.h"
#include "core/library.h"
#include "core/lock.h"
#include "core/log.h"
#include "core/test_files.h"
#include "platform/platform.h"
#include "tesra.h"

namespace {

std::vector<std::string> g_calls;
int g_graphicsResult = 0;
int g_soundResult = 0;

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000) {
  for (int i = 0; i < milliseconds && !condition(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return condition();
}

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_libraryHooks;
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    SetLogFilePath((dir_ / "Log.txt").c_str());
    SetLogOutput(1);
    g_calls.clear();
    g_graphicsResult = 0;
    g_soundResult = 0;
    g_libraryHooks = LibraryHooks{};
    g_libraryHooks.initializeSoundSystem = [] { g_calls.push_back("sound start"); return g_soundResult; };
    g_libraryHooks.initializeGraphicsSystem = [] { g_calls.push_back("graphics start"); return g_graphicsResult; };
    g_libraryHooks.endCurrentMusic = [] { g_calls.push_back("end music"); };
    g_libraryHooks.terminateFontSystem = [] { g_calls.push_back("end fonts"); };
    g_libraryHooks.terminateSoundSystem = [] { g_calls.push_back("end sound"); };
    g_libraryHooks.terminateGraphicsSystem = [] { g_calls.push_back("end graphics"); };
    g_libraryHooks.refillStreamSounds = [] { g_calls.push_back("refill"); };
    g_libraryHooks.pollMusicPlayState = [] { g_calls.push_back("poll"); };
  }
  void TearDown() override {
    if (IsLibraryStarted()) ApiEndLibrary();
    g_libraryHooks = saved_;
    CloseLog();
    SetLogFilePath(nullptr);
    g_librarySettings.soundOff = 0;
  }
  // Calls recorded so far, without the periodic refill/poll pairs.
  std::vector<std::string> StartEndCalls() {
    LibraryLockGuard guard;
    std::vector<std::string> out;
    for (const std::string& c : g_calls)
      if (c != "refill" && c != "poll") out.push_back(c);
    return out;
  }
  LibraryHooks saved_{};
  TempFolder dir_;
};

}  // namespace

TEST_F(LibraryTest, StartAndEndRunTheSubsystemsInOrder) {
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  EXPECT_EQ(IsLibraryStarted(), 1);
  EXPECT_EQ(PlatformHasWindow(), 1);
  EXPECT_EQ(ApiInitializeLibrary(), 0);  // a second start changes nothing
  EXPECT_EQ(StartEndCalls(), (std::vector<std::string>{"sound start", "graphics start"}));
  ASSERT_EQ(ApiEndLibrary(), 0);
  EXPECT_EQ(StartEndCalls(), (std::vector<std::string>{"sound start", "graphics start", "end music",
                                                       "end fonts", "end sound", "end graphics"}));
  EXPECT_EQ(PumpThreadRunning(), 0);
  EXPECT_EQ(PlatformHasWindow(), 0);
  EXPECT_EQ(ApiEndLibrary(), -1);  // nothing left to end
  EXPECT_EQ(ApiProcessMessage(), -1);
  const std::string log = ReadText(dir_ / "Log.txt");
  EXPECT_EQ(log.rfind("0:Tesra Ver2.23 の初期化を開始します\r\n", 0), 0u) << log;
}

TEST_F(LibraryTest, FailedSoundStartIsIgnoredAndSoundOffSkipsIt) {
  g_soundResult = -1;
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  ApiEndLibrary();
  g_calls.clear();
  g_librarySettings.soundOff = 1;
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  EXPECT_EQ(StartEndCalls().front(), "graphics start");
}

TEST_F(LibraryTest, FailedStartLeavesNoThreadAndCanBeRetried) {
  g_graphicsResult = -1;
  EXPECT_EQ(ApiInitializeLibrary(), -1);
  EXPECT_EQ(IsLibraryStarted(), 0);
  EXPECT_EQ(PumpThreadRunning(), 0);
  EXPECT_EQ(PlatformHasWindow(), 0);
  EXPECT_EQ(PlatformStarted(), 0);
  EXPECT_EQ(StartEndCalls(), (std::vector<std::string>{"sound start", "graphics start", "end sound"}));
  g_graphicsResult = 0;
  EXPECT_EQ(ApiInitializeLibrary(), 0);
  EXPECT_EQ(PumpThreadRunning(), 1);
}

TEST_F(LibraryTest, PumpThreadRunsProcessMessageNoFasterThanEvery17Ms) {
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  EXPECT_EQ(PumpThreadRunning(), 1);
  const auto begin = std::chrono::steady_clock::now();
  const int first = PumpPassCount();
  ASSERT_TRUE(WaitFor([&] { return PumpPassCount() >= first + 5; }));
  const auto elapsed = std::chrono::steady_clock::now() - begin;
  // Five more passes need at least four full pauses.
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 4 * PumpIntervalMs);
  LibraryLockGuard guard;
  int refills = 0;
  for (size_t i = 0; i + 1 < g_calls.size(); ++i)
    if (g_calls[i] == "refill" && g_calls[i + 1] == "poll") ++refills;
  EXPECT_GE(refills, 5);  // each pass refills stream sounds, then polls the music
}

TEST_F(LibraryTest, InjectedCloseEndsThePumpThreadAndProcessMessageReportsIt) {
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  EXPECT_EQ(ApiProcessMessage(), 0);
  HeadlessInjectClose();
  EXPECT_EQ(ApiProcessMessage(), -1);
  EXPECT_TRUE(WaitFor([] { return PumpThreadRunning() == 0; }));
  EXPECT_EQ(ApiProcessMessage(), -1);  // stays gone
  EXPECT_EQ(ApiEndLibrary(), 0);
}

TEST_F(LibraryTest, EndWhileThePumpThreadWaitsForTheLock) {
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  {
    LibraryLockGuard guard;  // the main thread is inside the library
    ASSERT_TRUE(WaitFor([] { return g_libraryLock.WaitingCount() == 1; }));
    EXPECT_EQ(ApiEndLibrary(), 0);  // must not deadlock on the waiting pump thread
    EXPECT_EQ(PumpThreadRunning(), 0);
    EXPECT_EQ(g_libraryLock.Depth(), 1);  // still held by this scope
  }
  EXPECT_FALSE(g_libraryLock.HeldByCurrentThread());
}

TEST_F(LibraryTest, RestartsCleanlyManyTimes) {
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(ApiInitializeLibrary(), 0);
    ASSERT_EQ(ApiEndLibrary(), 0);
    EXPECT_EQ(PumpThreadRunning(), 0);
  }
}

TEST_F(LibraryTest, ScreenModeWindowModeAndTitleSettings) {
  EXPECT_EQ(ApiSetScreenMode(640, 480, 32, 60), 0);
  EXPECT_EQ(g_librarySettings.colorBits, 32);
  EXPECT_EQ(ApiSetScreenMode(-1, -1, 16, -1), 0);
  EXPECT_EQ(g_librarySettings.colorBits, 16);
  EXPECT_EQ(ApiSetScreenMode(640, 480, 24, 60), -1);
  EXPECT_EQ(ApiSetScreenMode(0, 480, 32, 60), -1);
  EXPECT_EQ(ApiSetScreenMode(800, 600, 32, 60), -2);  // falls back to 640 x 480, 16 bits
  EXPECT_EQ(g_librarySettings.screenWidth, 640);
  EXPECT_EQ(g_librarySettings.colorBits, 16);
  EXPECT_EQ(ApiSetScreenMode(640, 480, 8, 60), -2);
  EXPECT_EQ(ApiChangeWindowMode(0), 0);
  EXPECT_EQ(g_librarySettings.windowed, 0);
  EXPECT_EQ(ApiChangeWindowMode(1), 0);
  // The title keeps at most 255 bytes and never half a double-byte character.
  std::string title(254, 'a');
  title += "\x82\xA0";  // "あ" would end at byte 256
  EXPECT_EQ(ApiSetWindowTitle(title.c_str()), 0);
  EXPECT_EQ(std::string(g_librarySettings.title), std::string(254, 'a'));
  EXPECT_EQ(ApiSetWindowTitle("碧霞霜月譚"), 0);
  EXPECT_EQ(ApiSetArchiveFileExtension(std::string(64, 'x').c_str()), -1);
  EXPECT_EQ(ApiSetArchiveFileExtension("dat"), 0);
  EXPECT_EQ(ApiSetArchiveFileExtension("TSA"), 0);
}

TEST_F(LibraryTest, ClockFollowsThePlatformAndWraps) {
  HeadlessSetClock(0xFFFFFFF0u);
  EXPECT_EQ(ApiGetMillisecondCount(), static_cast<int>(0xFFFFFFF0u));
  HeadlessAdvanceClock(0x20);
  EXPECT_EQ(ApiGetMillisecondCount(123), 0x10);
  int32_t f[6] = {};
  EXPECT_EQ(ApiGetLocalDateTime(f), 0);
  EXPECT_GE(f[0], 2020);
  EXPECT_GE(f[1], 1);
  EXPECT_LE(f[1], 12);
  EXPECT_GE(f[2], 1);
  EXPECT_LE(f[2], 31);
  EXPECT_LE(f[3], 23);
  EXPECT_LE(f[4], 59);
  EXPECT_LE(f[5], 60);
  EXPECT_EQ(ApiGetLocalDateTime(nullptr), -1);
}

TEST_F(LibraryTest, KeysByDirectInputCode) {
  HeadlessSetKey(KeyP, 1);
  HeadlessSetKey(KeyLeftShift, 1);
  EXPECT_EQ(ApiIsKeyDown(0x19), 1);
  EXPECT_EQ(ApiIsKeyDown(0x2A), 1);
  EXPECT_EQ(ApiIsKeyDown(0x2C), 0);
  EXPECT_EQ(ApiIsKeyDown(-1), 0);
  EXPECT_EQ(ApiIsKeyDown(256), 0);
  EXPECT_EQ(ApiIsKeyDown(0x119), 0);  // not taken modulo 256
  HeadlessSetKey(KeyP, 0);
  EXPECT_EQ(ApiIsKeyDown(0x19), 0);
}

TEST_F(LibraryTest, PadBitsAndKeyboardMerge) {
  HeadlessSetPadCount(2);
  HeadlessSetPadBits(0, PadDown | (PadButton0 << 3));
  HeadlessSetPadBits(1, PadUp | (PadButton0 << 23));
  EXPECT_EQ(ApiGetPadInputBits(1), 0x1 | 0x80);
  EXPECT_EQ(ApiGetPadInputBits(2), static_cast<int>(0x8 | 0x8000000u));
  EXPECT_EQ(ApiGetPadInputBits(3), 0);  // beyond the pads present
  EXPECT_EQ(ApiGetPadInputBits(0), 0);
  EXPECT_EQ(ApiGetPadInputBits(9), 0);
  HeadlessSetKey(KeyLeft, 1);
  HeadlessSetKey(KeyZ, 1);
  HeadlessSetKey(KeySpace, 1);
  EXPECT_EQ(ApiGetPadInputBits(1), 0x1 | 0x80);  // no merge without the flag
  EXPECT_EQ(ApiGetPadInputBits(0x1001), 0x1 | 0x80 | 0x2 | 0x10 | 0x2000);
  EXPECT_EQ(ApiGetPadInputBits(0x1000), 0x2 | 0x10 | 0x2000);  // keyboard alone
  EXPECT_EQ(ApiGetPadInputBits(0x1003), 0x2 | 0x10 | 0x2000);
}
