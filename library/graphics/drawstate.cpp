// Draw state and blend lookup tables.
#include "graphics/drawstate.h"

DrawState g_drawState;
uint32_t ScaleTable[256][256];
int32_t SignedScaleTable[256][512];
uint8_t BlendGraphWeightTable[256];
int g_mmxFlag = 1;

void BuildScaleTables() {
  for (int r = 0; r < 256; ++r) {
    for (int j = 0; j < 256; ++j) ScaleTable[r][j] = static_cast<uint32_t>(j * r / 255);
    for (int k = 0; k < 511; ++k) SignedScaleTable[r][k] = (k - 255) * r / 255;  // C++ truncates toward zero
    SignedScaleTable[r][511] = 0;
  }
}

static int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

void BuildBlendGraphWeightTable(int border, int range) {
  border = Clamp255(border);
  range = Clamp255(range);
  const int offset = 256 - ((((65536 / (range + 1)) + 256) * border) >> 8);
  for (int b = 0; b < 256; ++b) {
    BlendGraphWeightTable[b] = static_cast<uint8_t>(Clamp255(b * 256 / (range + 1) + offset));
  }
}

void ResetDrawState(int targetWidth, int targetHeight) {
  g_drawState.areaX1 = 0;
  g_drawState.areaY1 = 0;
  g_drawState.areaX2 = targetWidth;
  g_drawState.areaY2 = targetHeight;
  g_drawState.blendMode = 0;
  g_drawState.blendParam = 255;
  g_drawState.brightWord = 0xFFFFFFFF;
  g_drawState.blendGraph = -1;
  g_drawState.blendGraphBorder = 0;
  g_drawState.blendGraphRange = 0;
  g_drawState.maskOn = 0;
  g_drawState.drawFilter = 0;
  g_drawState.depthWrite = 0;
}

int IntersectRectangles(IntRect* rect, const IntRect* clip) {
  if (rect->x2 < rect->x1) rect->x2 = rect->x1;
  if (rect->y2 < rect->y1) rect->y2 = rect->y1;
  auto clampTo = [](int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); };
  rect->y2 = clampTo(rect->y2, clip->y1, clip->y2);
  rect->y1 = clampTo(rect->y1, clip->y1, clip->y2);
  rect->x2 = clampTo(rect->x2, clip->x1, clip->x2);
  rect->x1 = clampTo(rect->x1, clip->x1, clip->x2);
  return 0;
}
