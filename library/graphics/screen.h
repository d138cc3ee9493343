// The screens (back, front, mask, depth buffer) as MEMIMGs, the screen mode
// settings, the draw target and the draw-state setters.
#pragma once
#include <cstdint>

#include "graphics/graphics_internal.h"

struct ScreenSettings {
  int32_t width = 640;
  int32_t height = 480;
  int32_t bits = 16;
  int32_t refreshRate = 60;
  int32_t windowed = 1;
  int32_t renderTargetCreation = 0;
};
extern ScreenSettings g_screenSettings;

// Creates the screens at the current settings (cleared to black, the depth
// buffer to 65535), builds the blend tables and resets the draw state.
// 0, or -1 when an image can't be made.
int CreateScreens();
void DestroyScreens();
bool ScreensExist();
MEMIMG* GetBackScreenMemImg();
MEMIMG* GetFrontScreenMemImg();

// BackBufferTarget, FrontBufferTarget or a render-target graph; resets the
// draw area to the target's size. -1 for anything else.
int SelectDrawTargetInner(int target);
int SetClipRectangleInner(int x1, int y1, int x2, int y2);
int SetBlendModeInner(int mode, int parameter);
int SetDrawBrightnessInner(int red, int green, int blue);
// (graph handle or -1, border, range): the blend graph of later draws.
int SetBlendGraphInner(int graph, int border, int range);

// The pixel value of (red, green, blue) in the screen's format: a 5-6-5 word
// on 16-bit screens, 0x00RRGGBB on 32-bit ones (byte 3 is 0).
uint32_t RgbToScreenColorInner(int red, int green, int blue);

// Size of the current draw target (0 x 0 when there is none).
void DrawTargetSize(int32_t* width, int32_t* height);
