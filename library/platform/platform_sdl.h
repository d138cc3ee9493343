// The SDL2 back end of the platform layer (used only by platform.cpp).
#pragma once
#include <cstdint>

namespace sdl_backend {
int Start();
void End();
int CreateWindow(const char* titleUtf8, int width, int height, int windowed, int iconResource);
void DestroyWindow();
int HasWindow();
int SetWindowTitle(const char* titleUtf8);
int SetWindowed(int windowed);
int PumpEvents();  // 0, or -1 once the window is gone
int WindowGone();
int IsKeyDown(int scanCode, bool onEventThread);
int PadCount();
uint32_t PadBits(int pad);
int MessageBoxYesNo(const char* textUtf8, const char* captionUtf8);  // 1, 0, -1 not shown
int PresentFrame(const void* pixels, int width, int height, int pitch, int bits);
void* WindowHandle();
}  // namespace sdl_backend
