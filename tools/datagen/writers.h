// Exact little-endian writers of the file formats the data set uses: 32-bit RLE
// TGA with alpha, 24-bit BMP, 16-bit PCM WAV, and PNG for the eye-check snapshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace datagen {

// Run-length encoded true-colour TGA (type 10), 32 bits with 8 alpha bits, rows
// bottom-up; no packet crosses a row.
std::vector<uint8_t> EncodeTga(const Canvas& c);
// Uncompressed 24-bit BMP (BITMAPINFOHEADER, rows bottom-up, padded to 4 bytes);
// transparent pixels are written as black.
std::vector<uint8_t> EncodeBmp(const Canvas& c);
// PCM WAV, 16-bit signed samples, interleaved when channels is 2.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int channels, int sampleRate);

// Writes bytes to a file; false (and a line on stderr) on failure.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// 8-bit RGBA PNG through libpng; false on failure.
bool WritePng(const std::string& path, const Canvas& c);

}  // namespace datagen
