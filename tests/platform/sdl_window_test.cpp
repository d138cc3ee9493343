// The SDL2 back end with a real window, where a display exists (skipped
// otherwise): start, present, a short key tap, a close request from the window
// system, end.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/library.h"
#include "core/log.h"
#include "core/report.h"
#include "core/sjis.h"
#include "core/test_files.h"
#include "platform/platform.h"
#include "tesra.h"

TEST(SdlWindow, ClosingTheWindowEndsTheLoopCleanly) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no display";
#if defined(__SANITIZE_ADDRESS__)
  // The display's client libraries, loaded and unloaded at run time, keep
  // blocks that the leak checker cannot attribute.
  GTEST_SKIP() << "not under the address sanitizer";
#endif
  TempFolder dir;
  SetLogFilePath((dir / "Log.txt").c_str());
  ASSERT_EQ(PlatformUseBackend(PlatformBackend::Sdl), 0);
  const std::string title = Utf8ToCp932("碧霞霜月譚　～ Amber Snowfall Nocturne.　Ver 1.05");
  ApiSetWindowTitle(title.c_str());
  ApiSetWindowIconResource(101);
  ApiChangeWindowMode(1);
  if (ApiInitializeLibrary() != 0) {
    SetLogFilePath(nullptr);
    GTEST_SKIP() << "the display refused a window";
  }
  auto* window = static_cast<SDL_Window*>(GetMainWindowHandle());
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "碧霞霜月譚　～ Amber Snowfall Nocturne.　Ver 1.05");
  std::vector<uint16_t> screen(640 * 480, 0xF800);
  EXPECT_EQ(PlatformPresentFrame(screen.data(), 640, 480, 1280, 16), 0);
  EXPECT_EQ(ApiProcessMessage(), 0);
  // A tap shorter than one pump interval (press and release both queued) is
  // seen down for the frame after it, then released.
  SDL_Event tap{};
  tap.type = SDL_KEYDOWN;
  tap.key.keysym.scancode = SDL_SCANCODE_Z;
  ASSERT_EQ(SDL_PushEvent(&tap), 1);
  tap.type = SDL_KEYUP;
  ASSERT_EQ(SDL_PushEvent(&tap), 1);
  EXPECT_EQ(ApiProcessMessage(), 0);
  EXPECT_EQ(ApiIsKeyDown(0x2C), 1);  // Z
  EXPECT_EQ(ApiProcessMessage(), 0);
  EXPECT_EQ(ApiIsKeyDown(0x2C), 0);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 1);
  EXPECT_EQ(ApiProcessMessage(), -1);
  EXPECT_EQ(ApiEndLibrary(), 0);
  EXPECT_EQ(PumpThreadRunning(), 0);
  PlatformUseBackend(PlatformBackend::Headless);
  SetLogFilePath(nullptr);
}

// With no display the start fails with one line of ours on standard error,
// not only SDL's own words (or nothing).
TEST(SdlWindow, NoDisplayIsSaidOnStandardError) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  ASSERT_EQ(PlatformUseBackend(PlatformBackend::Sdl), 0);
  SetLogOutput(0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformStart(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  SetLogOutput(1);
  EXPECT_NE(err.find(std::string(ReportProgramName()) + ": no display could be opened ("),
            std::string::npos)
      << err;
}
