// The conversion blitter: decoded pictures (any GraphImage format) into
// MEMIMGs of the screens' colour kind.
#pragma once
#include <cstdint>

#include "graphics/graph_image.h"

// Pixel (x, y) of a decoded picture as 0xAARRGGBB (alpha 255 when the picture
// has none). Channels narrower than 8 bits are widened by repeating their bits.
uint32_t GraphImagePixelArgb(const GraphImage* image, int32_t x, int32_t y);

// A new MEMIMG (not alive on entry) of image's size in the kind of a screen of
// screenBits (16: 5-6-5, 32: blue, green, red, 4th byte), with the alpha flag
// when the picture carries alpha. Without alpha the 4th byte of a 32-bit
// pixel is 0; the transparent colour is black (0). 0, or -1.
int ConvertGraphImageToMemImg(const GraphImage* image, int32_t screenBits, MEMIMG* out);

// One colour 0xAARRGGBB as a pixel of a MEMIMG of the given kind and alpha flag.
uint32_t ArgbToMemImgPixel(uint32_t argb, uint32_t colorKind, uint32_t alphaFlag);
