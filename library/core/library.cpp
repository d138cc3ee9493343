// Start, end and the message pump of the library, with its pump thread.
#include "core/library.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/fileio.h"
#include "core/hooks.h"
#include "core/lock.h"
#include "core/log.h"
#include "core/memory.h"
#include "core/random.h"
#include "core/report.h"
#include "core/sjis.h"
#include "platform/audio_device.h"
#include "platform/platform.h"

LibrarySettings g_librarySettings = {"Tesra", 0, 1, 640, 480, 16, 60, 0};

namespace {

std::atomic<int> g_started{0};
std::thread g_pumpThread;
std::thread::id g_pumpThreadId;
std::atomic<int> g_pumpRunning{0};
std::atomic<int> g_pumpPasses{0};
std::mutex g_pumpMutex;
std::condition_variable g_pumpWake;
bool g_pumpStop = false;

void PumpThreadMain() {
  for (;;) {
    g_libraryLock.Lock();
    bool stop;
    {
      std::lock_guard<std::mutex> hold(g_pumpMutex);
      stop = g_pumpStop;
    }
    int result = 0;
    if (!stop) {
      result = ProcessMessage();
      g_pumpPasses.fetch_add(1);
    }
    g_libraryLock.Unlock();
    if (stop || result == -1) break;
    std::unique_lock<std::mutex> hold(g_pumpMutex);
    if (g_pumpWake.wait_for(hold, std::chrono::milliseconds(PumpIntervalMs), [] { return g_pumpStop; }))
      break;
  }
  g_pumpRunning = 0;
}

void StartPumpThread() {
  {
    std::lock_guard<std::mutex> hold(g_pumpMutex);
    g_pumpStop = false;
  }
  g_pumpPasses = 0;
  g_pumpRunning = 1;
  g_pumpThread = std::thread(PumpThreadMain);
  g_pumpThreadId = g_pumpThread.get_id();
}

// Tells the pump thread to end and waits for it, letting go of the library
// lock meanwhile so that a pump thread waiting for it can finish its pass.
void StopPumpThread() {
  if (!g_pumpThread.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(g_pumpMutex);
    g_pumpStop = true;
  }
  g_pumpWake.notify_all();
  if (std::this_thread::get_id() == g_pumpThreadId) {
    g_pumpThread.detach();  // ended from the pump thread itself: it returns by itself
    return;
  }
  const int depth = g_libraryLock.ReleaseAll();
  g_pumpThread.join();
  g_libraryLock.Reacquire(depth);
}

// exit() may come while the library runs: from Xlib when the display is lost,
// or from anywhere else. It runs these steps before the destructors of the
// static objects made before the library first started, so the pump thread
// and the sound device's mixing thread are stopped before the lock, the sound
// tables and the mixer they use are gone.
void StopThreadsAtExit() {
  StopPumpThread();
  AudioDeviceHalt();
}

void RegisterExitSteps() {
  static std::atomic<int> registered{0};
  if (registered.exchange(1) == 0) std::atexit(StopThreadsAtExit);
}

void CopyTitle(const char* text) {
  const char* src = text ? text : "";
  size_t n = 0;
  while (src[n]) {
    const int len = SjisCharLength(src + n);
    if (n + static_cast<size_t>(len) > sizeof g_librarySettings.title - 1) break;
    n += static_cast<size_t>(len);
  }
  std::memcpy(g_librarySettings.title, src, n);
  g_librarySettings.title[n] = 0;
}

}  // namespace

int IsLibraryStarted() { return g_started.load(); }
int PumpThreadRunning() { return g_pumpRunning.load(); }
int PumpPassCount() { return g_pumpPasses.load(); }
void* GetMainWindowHandle() { return PlatformWindowHandle(); }

int InitializeLibrary() {
  if (g_started.load()) return 0;
  ResetLogClock();
  WriteLog("Tesra Ver2.23 の初期化を開始します\n");
  IndentLog();
  if (PlatformStart() != 0) {
    WriteLog("プラットフォームの初期化に失敗しました\n");
    UnindentLog();
    return -1;
  }
  if (PlatformCreateWindow(g_librarySettings.title, g_librarySettings.screenWidth,
                           g_librarySettings.screenHeight, g_librarySettings.windowed,
                           g_librarySettings.iconResource) != 0) {
    WriteLog("ウインドウの作成に失敗しました\n");
    PlatformEnd();
    UnindentLog();
    return -1;
  }
  RegisterExitSteps();
  StartPumpThread();
  LogFormatLine("入力装置: パッド %d 個", PlatformPadCount());
  SeedRandom(PlatformMilliseconds());
  if (!g_librarySettings.soundOff && g_libraryHooks.initializeSoundSystem) {
    if (g_libraryHooks.initializeSoundSystem() != 0) {
      WriteLog("サウンドなしで続けます\n");
      ReportToUser("no sound device; playing silently");
    }
  }
  if (g_libraryHooks.initializeGraphicsSystem && g_libraryHooks.initializeGraphicsSystem() != 0) {
    WriteLog("グラフィックスの初期化に失敗しました\n");
    if (g_libraryHooks.terminateSoundSystem) g_libraryHooks.terminateSoundSystem();
    StopPumpThread();
    PlatformEnd();
    UnindentLog();
    return -1;
  }
  g_started = 1;
  UnindentLog();
  WriteLog("初期化が完了しました\n");
  return 0;
}

int EndLibrary() {
  if (!g_started.load()) return -1;
  WriteLog("終了処理を開始します\n");
  IndentLog();
  StopPumpThread();
  if (g_libraryHooks.endCurrentMusic) g_libraryHooks.endCurrentMusic();
  if (g_libraryHooks.terminateFontSystem) g_libraryHooks.terminateFontSystem();
  if (g_libraryHooks.terminateSoundSystem) g_libraryHooks.terminateSoundSystem();
  if (g_libraryHooks.terminateGraphicsSystem) g_libraryHooks.terminateGraphicsSystem();
  const int leftOpen = CloseAllFiles();
  if (leftOpen) LogFormatLine("開いたままのファイル %d 個を閉じました", leftOpen);
  ClearArchiveCache();
  PlatformEnd();
  g_started = 0;
  if (TrackedLiveBlockCount() > 0) {
    WriteLog("解放されていないメモリ:\n");
    IndentLog();
    DumpTrackedBlocks();
    UnindentLog();
  }
  UnindentLog();
  WriteLog("終了しました\n");
  CloseLog();
  return 0;
}

int ProcessMessage() {
  if (!PlatformHasWindow()) return -1;
  if (PlatformIsEventThread()) PlatformPumpEvents();
  if (g_libraryHooks.refillStreamSounds) g_libraryHooks.refillStreamSounds();
  if (g_libraryHooks.pollMusicPlayState) g_libraryHooks.pollMusicPlayState();
  return PlatformWindowGone() ? -1 : 0;
}

int SetWindowTitleText(const char* textCp932) {
  CopyTitle(textCp932);
  return PlatformHasWindow() ? PlatformSetWindowTitle(g_librarySettings.title) : 0;
}

int ChangeWindowMode(int windowed) {
  g_librarySettings.windowed = windowed ? 1 : 0;
  return PlatformHasWindow() ? PlatformSetWindowed(g_librarySettings.windowed) : 0;
}

int SetScreenMode(int width, int height, int colorBits, int refreshRate) {
  if (width == -1) width = g_librarySettings.screenWidth;
  if (height == -1) height = g_librarySettings.screenHeight;
  if (colorBits == -1) colorBits = g_librarySettings.colorBits;
  if (refreshRate == -1) refreshRate = g_librarySettings.refreshRate;
  if (width <= 0 || height <= 0 || (colorBits != 8 && colorBits != 16 && colorBits != 32)) return -1;
  if (g_started.load()) {
    // The screens are made at the start; only the mode they have is accepted.
    if (width == g_librarySettings.screenWidth && height == g_librarySettings.screenHeight &&
        colorBits == g_librarySettings.colorBits)
      return 0;
    WriteLog("起動後の画面モード変更には対応していません\n");
    return -1;
  }
  g_librarySettings.refreshRate = refreshRate;
  if (width == 640 && height == 480 && colorBits != 8) {
    g_librarySettings.screenWidth = width;
    g_librarySettings.screenHeight = height;
    g_librarySettings.colorBits = colorBits;
    return 0;
  }
  g_librarySettings.screenWidth = 640;
  g_librarySettings.screenHeight = 480;
  g_librarySettings.colorBits = 16;
  return -2;
}
