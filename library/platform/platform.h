// The one platform interface of the library: window, events, keyboard, pads,
// message boxes, clock, sleep and frame presentation. Two back ends, chosen
// before the library starts: SDL2 (a real window) and Headless (no window or
// device; tests drive it through the Headless* controls below). Nothing
// outside library/platform knows which one runs. Files: platform/fs.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/fs.h"

enum class PlatformBackend { Sdl, Headless };

// Chooses the back end; -1 while the platform is started (window open).
int PlatformUseBackend(PlatformBackend backend);
PlatformBackend PlatformCurrentBackend();

// Starts / ends the back end's devices (video, events, pads). 0 ok, -1 failed.
int PlatformStart();
void PlatformEnd();
int PlatformStarted();

// ---- Window ---------------------------------------------------------------------
// Creates the window with a width x height client area (the picture is scaled to
// fit and letterboxed in full screen). title is CP932 text. 0 ok, -1 failed.
int PlatformCreateWindow(const char* titleCp932, int width, int height, int windowed,
                         int iconResource);
void PlatformDestroyWindow();
int PlatformHasWindow();
int PlatformSetWindowTitle(const char* titleCp932);
int PlatformSetWindowed(int windowed);  // 1 window, 0 full screen
// Handles pending window, keyboard and pad events. Call on the thread that made
// the window. Returns 0, or -1 when the window is gone (closed by the user).
int PlatformPumpEvents();
// 1 once the window was closed by the user (any thread may ask).
int PlatformWindowGone();
// The thread that created the window (or started the platform) pumps events.
bool PlatformIsEventThread();
void* PlatformWindowHandle();  // the native window object (SDL_Window*), null headless

// ---- Input ----------------------------------------------------------------------
// Key state by DirectInput scan code (0-255); other codes are never down.
int PlatformIsKeyDown(int scanCode);
// Number of pads present (at most 16).
int PlatformPadCount();
// Pad state: bit 0x1 down, 0x2 left, 0x4 right, 0x8 up (stick past the dead zone
// or hat), bit 4 + k for button k (k = 0-23). pad is 0-based; 0 when absent.
uint32_t PlatformPadBits(int pad);

// ---- Message box ------------------------------------------------------------------
// A Yes/No question with the exclamation icon; works before the library starts.
// 1 = Yes, 0 = No. When it cannot be shown the answer is No, and the question
// and that answer are written to standard error (and the log).
int PlatformMessageBoxYesNo(const char* textCp932, const char* captionCp932);

// ---- Clock --------------------------------------------------------------------------
uint32_t PlatformMilliseconds();  // wraps at 2^32
void PlatformSleep(int milliseconds);

// ---- Presentation ----------------------------------------------------------------
// Shows one frame: bits 16 = 5-6-5 words, 32 = bytes B, G, R, x. Holds 60
// frames a second (vsync only where the display runs at 60 Hz, else a sleep to
// the next 1/60 s); the headless back end is unpaced. 0 ok, -1 bad arguments.
int PlatformPresentFrame(const void* pixels, int width, int height, int pitch, int bits);

// ---- Headless controls (tests) ------------------------------------------------------
void HeadlessReset();                       // keys, pads, answers, counters, clock to 0
void HeadlessSetKey(int scanCode, int down);
void HeadlessClearKeys();
void HeadlessSetPadCount(int count);        // 0-16
void HeadlessSetPadBits(int pad, uint32_t bits);
void HeadlessInjectClose();                 // as if the user closed the window
void HeadlessQueueMessageBoxAnswer(int yes);
void HeadlessSetDefaultMessageBoxAnswer(int yes);  // when no answer is queued (default 1)
void HeadlessSetMessageBoxesFail(int fail);  // 1: boxes cannot be shown (not counted)
int HeadlessMessageBoxCount();              // boxes shown so far
const char* HeadlessLastMessageBoxText();   // CP932 text of the last box ("" none)
void HeadlessAdvanceClock(uint32_t milliseconds);
void HeadlessSetClock(uint32_t milliseconds);
// Frame rate the virtual clock follows on each presented frame: 60 advances it
// 1000/60 ms per frame (16, 17, 17, ...); 0 (the default) leaves it to
// HeadlessAdvanceClock and PlatformSleep.
void HeadlessSetFrameClockRate(int framesPerSecond);
int HeadlessPresentedFrameCount();
// Copy of the last presented frame (rows packed, pitch = width x bytes per pixel).
struct HeadlessFrame {
  int width = 0, height = 0, bits = 0;
  std::vector<uint8_t> pixels;
};
HeadlessFrame HeadlessLastFrame();
