// Test helpers shared by the graphics and renderer tests: read and write one
// pixel of a MEMIMG at its own pixel size, and bring up headless screens.
#pragma once
#include <cstdint>
#include <cstring>

#include "graphics/memimg.h"

namespace testutil {

inline uint32_t GetPixel(const MEMIMG* image, int x, int y) {
  uint32_t v = 0;
  std::memcpy(&v, MemImgRow(image, y) + x * image->format->bytesPerPixel,
              image->format->bytesPerPixel);
  return v;
}

inline void PutPixel(MEMIMG* image, int x, int y, uint32_t v) {
  std::memcpy(MemImgRow(image, y) + x * image->format->bytesPerPixel, &v,
              image->format->bytesPerPixel);
}

}  // namespace testutil
