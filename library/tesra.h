// Tesra: the public entry points of the game library. Every Api* operation
// takes the library lock, calls the inner operation and returns its result:
// 0, a handle or a value on success, -1 on failure. The game includes only this.
#pragma once
#include <cstdint>

using ObjectHandle = int32_t;

constexpr int BackBufferTarget = -2;   // draw target: the back screen
constexpr int FrontBufferTarget = -4;  // draw target: the front screen (shows at once)

// ---- Start-up, end and the window -----------------------------------------
int ApiSetLogOutput(int flag);
int ApiSetWindowTitle(const char* text);            // CP932 text
int ApiSetWindowIconResource(int resourceNumber);
int ApiChangeWindowMode(int windowed);              // 1 window, 0 full screen
int ApiSetScreenMode(int width, int height, int colorBits, int refreshRate);
int ApiInitializeLibrary();
int ApiEndLibrary();
int ApiProcessMessage();                            // 0 go on, -1 window gone
int ApiSetArchiveFileAccess(int flag);
int ApiSetArchiveFileExtension(const char* extension);
int ApiSetArchiveKey(const char* key);

// ---- Clock, date and random numbers ----------------------------------------
int ApiGetMillisecondCount(int ignored = 0);
int ApiGetLocalDateTime(int32_t* sixFields);        // year, month, day, hour, minute, second
int ApiRandomInRange(uint32_t max);
int ApiSeedRandom(uint32_t seed);

// ---- Input ------------------------------------------------------------------
int ApiIsKeyDown(int scanCode);                     // DirectInput scan-code numbering
int ApiGetPadInputBits(int padNumber);              // 1-8, | 0x1000 merges the keyboard

// ---- Images and drawing -----------------------------------------------------
int ApiLoadGraphFromFile(const char* fileName, int flag);
int ApiLoadGraphFileSplit(const char* fileName, int count, int across, int down,
                          int pieceWidth, int pieceHeight, int* handles, int flag);
int ApiLoadAndDrawGraphFile(int x, int y, const char* fileName, int transparency);
int ApiDeriveSubGraph(int x, int y, int width, int height, int parent);
int ApiCreateBlankGraph(int width, int height, int flag);
int ApiFreeGraphHandle(int graph, int flag);
int ApiSelectDrawTarget(int target);
int ApiSetRenderTargetCreation(int flag);
int ApiSetClipRectangle(int x1, int y1, int x2, int y2);
int ApiDrawGraphAt(int x, int y, int graph, int transparency);
int ApiDrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int transparency);
int ApiDrawGraphRotated(int x, int y, double scale, double angle, int graph,
                        int transparency, int turn);
int ApiDrawGraphRotatedAboutPoint(int x, int y, int centreX, int centreY, double scale,
                                  double angle, int graph, int transparency, int turn);
int ApiDrawGraphQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                     int graph, int transparency);
int ApiDrawGraphPart(int x, int y, int srcX, int srcY, int width, int height, int graph,
                     int transparency, int turn);

// One vertex of ApiDrawGraphTriangles: position, a colour (bytes blue, green,
// red, alpha in memory order) and texture coordinates 0..1 across the graph.
struct GraphVertex {
  float x, y, z;
  uint32_t color;
  float u, v;
};
int ApiDrawGraphTriangles(const GraphVertex* vertices, int triangleCount, int graph,
                          int transparency);
int ApiDrawRectangle(int x1, int y1, int x2, int y2, uint32_t color, int fill);
int ApiPlotPixel(int x, int y, uint32_t color);
uint32_t ApiRgbToScreenColor(int red, int green, int blue);
int ApiSetDrawFilter(int mode);
int ApiSetBlendMode(int mode, int parameter);
int ApiSetDrawBrightness(int red, int green, int blue);
int ApiPresentBackScreen();
int ApiCopyScreenToGraph(int x1, int y1, int x2, int y2, int graph, int flag);
// Writes the rectangle of the draw target as a 24-bit BMP file, made whole
// before it replaces the old file (a link to a file keeps its link).
int ApiSaveScreenRectToBmp(int x1, int y1, int x2, int y2, const char* fileName);
// The same as a new file only: -2, with nothing written, when anything
// stands at the name (a link that leads nowhere included). -1 when it cannot
// be written, with the host's errno in *error when given (for FsErrorText).
int ApiSaveScreenRectToNewBmp(int x1, int y1, int x2, int y2, const char* fileName, int* error = nullptr);
int ApiSetViewportMatrix(const float* matrix16);
int ApiBuildViewportMatrix(float* matrix16, float centreX, float centreY, float width,
                           float height);

// ---- Fonts --------------------------------------------------------------------
int ApiCreateFontToHandle(const char* faceName, int size, int thickness, int fontType,
                          int charSet, int edgeSize, int italic, int reuseHandle,
                          int lastOption);
int ApiDrawTextWithFont(int x, int y, const char* text, uint32_t color, int font,
                        uint32_t edgeColor, int vertical);
int ApiMeasureTextWidthWithFont(const char* text, int length, int font, int vertical);

// ---- Sound --------------------------------------------------------------------
int ApiSetSoundLoadMode(int mode);
int ApiLoadSoundFile(const char* fileName, int bufferCount, int shareHandle);
int ApiDeleteSoundHandle(int sound, int flag);
int ApiPlaySoundHandle(int sound, int playType, int fromStart);
int ApiStopSoundHandle(int sound);
int ApiIsSoundPlaying(int sound);
int ApiSetSoundVolume(int volume, int sound);
int ApiSetSoundLoopPointMs(int milliseconds, int sound);

// ---- Utilities (no lock) --------------------------------------------------------
void SinCosFloat(float angle, float* sine, float* cosine);
int32_t FloatToIntTrunc(float value);
int32_t DoubleToIntTrunc(double value);
