// Start, end and message pump of the library, and the settings made before
// the start (window title, icon, window mode, screen mode).
#pragma once
#include <cstdint>

struct LibrarySettings {
  char title[256];         // CP932 window title
  int32_t iconResource;    // 0 none
  int32_t windowed;        // 1 window, 0 full screen
  int32_t screenWidth;     // 640
  int32_t screenHeight;    // 480
  int32_t colorBits;       // 16 or 32
  int32_t refreshRate;     // 60
  int32_t soundOff;        // 1: the start skips the sound system
};
extern LibrarySettings g_librarySettings;

// Inner operations of the Api* entry points (call with the library lock held).
int InitializeLibrary();  // window, input, sound, display, in that order; 0 or -1
int EndLibrary();         // fonts, sound, graphics, input, window; joins the pump thread
int ProcessMessage();     // 0 go on, -1 the window is gone / the library is not running
int IsLibraryStarted();
int SetWindowTitleText(const char* textCp932);
int ChangeWindowMode(int windowed);
int SetScreenMode(int width, int height, int colorBits, int refreshRate);

// Milliseconds between two pump-thread passes.
constexpr int PumpIntervalMs = 17;
int PumpThreadRunning();    // 1 while the pump thread lives
int PumpPassCount();        // ProcessMessage passes run by the pump thread since the start
void* GetMainWindowHandle();
