// The draw state that every software draw reads (draw area, blend mode and
// parameter, bright colour, blend graph), the module-wide blend lookup tables,
// and the rectangle clip helper.
#pragma once
#include <cstdint>

struct DrawState {
  int32_t areaX1, areaY1;   // draw area, top-left inclusive
  int32_t areaX2, areaY2;   // draw area, bottom-right exclusive
  int32_t blendMode;        // 0 copy, 1 alpha, 2 add, 3 subtract, 4 multiply; others draw nothing
  int32_t blendParam;       // 0-255 strength
  union {
    struct {
      uint8_t brightBlue, brightGreen, brightRed, brightPad;  // 255,255,255 = off
    };
    uint32_t brightWord;    // low 24 bits 0xFFFFFF = off
  };
  int32_t blendGraph;       // graph handle of the blend graph, or -1
  int32_t blendGraphBorder; // 0-255
  int32_t blendGraphRange;  // 0-255
  int32_t maskOn;           // 1: software draws go to the mask screen
  int32_t drawTarget;       // BackBufferTarget, FrontBufferTarget or a graph handle
  int32_t drawFilter;       // 0 nearest, 1 linear (stored; the software blits sample nearest)
  int32_t depthWrite;       // 1: triangle draws write the depth buffer
};

extern DrawState g_drawState;

inline bool DrawStateBrightOn(const DrawState& s) { return (s.brightWord & 0xFFFFFF) != 0xFFFFFF; }

// ScaleTable[r][j] = j * r / 255 (truncated); SignedScaleTable[r][k] =
// (k - 255) * r / 255 truncated toward zero, k = 0..510; row stride 512.
// (Also known as BlendMulTable and BlendDiffTable.)
extern uint32_t ScaleTable[256][256];
extern int32_t SignedScaleTable[256][512];
extern uint8_t BlendGraphWeightTable[256];
#define BlendMulTable ScaleTable
#define BlendDiffTable SignedScaleTable

// The processor offers saturating byte arithmetic (always 1 here; the
// behaviour is implemented portably).
extern int g_mmxFlag;

// Fills ScaleTable and SignedScaleTable; idempotent.
void BuildScaleTables();
// Rebuilds BlendGraphWeightTable for a border and range (each clamped to 0-255).
void BuildBlendGraphWeightTable(int border, int range);
// Resets the draw state to its start values for a target of the given size:
// draw area the whole target, blend none/255, bright off, no blend graph.
void ResetDrawState(int targetWidth, int targetHeight);

struct IntRect {
  int32_t x1, y1, x2, y2;
};
// In place: raise x2 to x1 and y2 to y1 where smaller, then clamp y2, y1 into
// clip's y1..y2 and x2, x1 into clip's x1..x2. Returns 0.
int IntersectRectangles(IntRect* rect, const IntRect* clip);
