// Presentation (back -> front copy, front handed to the platform), screen to
// graph copies and BMP snapshots of the draw target.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/log.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/image_convert.h"
#include "graphics/screen.h"
#include "platform/fs.h"
#include "platform/platform.h"

int ShowFrontScreen() {
  const MEMIMG* front = GetFrontScreenMemImg();
  if (!front) return -1;
  return PlatformPresentFrame(front->pixels, front->width, front->height, front->pitch,
                              front->colorKind == ColorKind32 ? 32 : 16) == 0
             ? 0
             : -1;
}

int PresentBackScreenInner() {
  const MEMIMG* back = GetBackScreenMemImg();
  MEMIMG* front = GetFrontScreenMemImg();
  if (!back || !front) return -1;
  // A copy in a window and in full screen alike: the back screen keeps the frame.
  const size_t rowBytes = static_cast<size_t>(back->width) * back->format->bytesPerPixel;
  for (int y = 0; y < back->height; ++y) std::memcpy(MemImgRow(front, y), MemImgRow(back, y), rowBytes);
  return ShowFrontScreen();
}

int CopyScreenToGraphInner(int x1, int y1, int x2, int y2, int graph) {
  const GraphRecord* record = GetGraphRecord(graph);
  if (!record) return -1;
  MEMIMG view;
  MEMIMG* destination = GraphSourceMemImg(record, &view);
  const MEMIMG* source = GetDrawTargetMemImg();
  if (!destination || !source) return -1;
  if (destination->pixels == source->pixels) return -1;  // the target is the graph itself
  IntRect rect{x1, y1, x2, y2};
  const IntRect whole{0, 0, source->width, source->height};
  IntersectRectangles(&rect, &whole);
  const int width = std::min(rect.x2 - rect.x1, destination->width);
  const int height = std::min(rect.y2 - rect.y1, destination->height);
  const int sourceBytes = source->format->bytesPerPixel;
  const int destinationBytes = destination->format->bytesPerPixel;
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = MemImgRow(source, rect.y1 + y) + rect.x1 * sourceBytes;
    uint8_t* to = MemImgRow(destination, y);
    if (sourceBytes == destinationBytes && source->colorKind == destination->colorKind &&
        !destination->alphaFlag) {
      // memmove: two parts of one image may overlap.
      std::memmove(to, from, static_cast<size_t>(width) * sourceBytes);
    } else {
      // Another pixel layout (alpha graph, other depth): colour converted,
      // alpha made opaque.
      for (int x = 0; x < width; ++x) {
        const uint8_t* p = from + x * sourceBytes;
        uint32_t rgb;
        if (source->colorKind == ColorKind32) {
          rgb = (static_cast<uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
        } else {
          const uint32_t w = p[0] | (p[1] << 8);
          const uint32_t r5 = w >> 11, g6 = (w >> 5) & 63, b5 = w & 31;
          rgb = (((r5 << 3) | (r5 >> 2)) << 16) | (((g6 << 2) | (g6 >> 4)) << 8) |
                ((b5 << 3) | (b5 >> 2));
        }
        const uint32_t v = ArgbToMemImgPixel(0xFF000000u | rgb, destination->colorKind,
                                             destination->alphaFlag);
        for (int i = 0; i < destinationBytes; ++i)
          to[x * destinationBytes + i] = static_cast<uint8_t>(v >> (8 * i));
      }
    }
  }
  return 0;
}

static void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
static void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> EncodeBmp24(const MEMIMG* image, int x1, int y1, int x2, int y2) {
  std::vector<uint8_t> out;
  if (!image || image->aliveMark != MemImgAliveMark) return out;
  IntRect rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  const IntRect whole{0, 0, image->width, image->height};
  IntersectRectangles(&rect, &whole);
  const int width = rect.x2 - rect.x1, height = rect.y2 - rect.y1;
  if (width <= 0 || height <= 0) return out;
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t dataBytes = stride * static_cast<uint32_t>(height);
  out.reserve(54 + dataBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + dataBytes);  // file size
  Put32(out, 0);               // reserved
  Put32(out, 54);              // pixel data offset
  Put32(out, 40);              // information header size
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // positive: bottom-up rows
  Put16(out, 1);               // planes
  Put16(out, 24);              // bits per pixel
  Put32(out, 0);               // no compression
  Put32(out, dataBytes);
  Put32(out, 0);               // resolution (unspecified)
  Put32(out, 0);
  Put32(out, 0);               // palette entries
  Put32(out, 0);
  const int bpp = image->format->bytesPerPixel;
  for (int row = height - 1; row >= 0; --row) {
    const uint8_t* src = MemImgRow(image, rect.y1 + row) + rect.x1 * bpp;
    for (int x = 0; x < width; ++x) {
      uint8_t b, g, r;
      if (image->colorKind == ColorKind32) {
        b = src[x * bpp];
        g = src[x * bpp + 1];
        r = src[x * bpp + 2];
      } else {
        const uint32_t v = src[x * bpp] | (src[x * bpp + 1] << 8);
        const uint32_t r5 = v >> 11, g6 = (v >> 5) & 63, b5 = v & 31;
        r = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
        g = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
        b = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
      }
      out.push_back(b);
      out.push_back(g);
      out.push_back(r);
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

// The picture is made whole beside the file and only then given its name, so
// a full disk leaves no partial picture; onlyNew writes nowhere when anything
// stands at the name (-2).
int SaveScreenRectToBmpInner(int x1, int y1, int x2, int y2, const char* fileName, bool onlyNew, int* errorOut) {
  if (errorOut) *errorOut = EINVAL;
  if (!fileName) return -1;
  const std::vector<uint8_t> bytes = EncodeBmp24(GetDrawTargetMemImg(), x1, y1, x2, y2);
  if (bytes.empty()) return -1;
  const int error = onlyNew ? FsCreateNewFile(fileName, bytes.data(), bytes.size())
                            : FsReplaceFile(fileName, bytes.data(), bytes.size());
  if (errorOut) *errorOut = error;
  if (error == EEXIST && onlyNew) return -2;
  if (error != 0) {
    LogFormatLine("BMP ファイルが書き込めませんでした: %s (%s) in SaveScreenRectToBmp", fileName, FsErrorText(error));
    return -1;
  }
  return 0;
}
