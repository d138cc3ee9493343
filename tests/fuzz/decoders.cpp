// Fuzz target: the picture decoder chain and the conversion into screen
// images, on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "graphics/graph_image.h"
#include "graphics/image_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GraphImage image{};
  if (DecodeImageMemory(data, size, &image) != 0) return 0;
  for (int bits : {16, 32}) {
    MEMIMG converted;
    std::memset(&converted, 0, sizeof converted);
    if (ConvertGraphImageToMemImg(&image, bits, &converted) == 0) FreeMemImg(&converted);
  }
  ReleaseGraphImage(&image);
  return 0;
}
