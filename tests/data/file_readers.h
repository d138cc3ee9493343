// Independent readers of the written data files for the data tests: TGA (plain
// and run-length) and BMP headers and pixels, WAV format and samples. Strict: anything unexpected fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace datatest {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return out;
}

inline uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

struct Image {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<uint32_t> rgba;  // 0xAARRGGBB, top row first
  uint32_t At(int x, int y) const { return rgba[static_cast<size_t>(y) * width + x]; }
  int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
};

// 32-bit true-colour TGA, plain (type 2) or run-length encoded (type 10), either origin.
inline Image ParseTga(const std::vector<uint8_t>& b) {
  Image img;
  if (b.size() < 18 || b[1] != 0 || (b[2] != 2 && b[2] != 10) || b[16] != 32) return img;
  const int w = static_cast<int>(Le16(b, 12)), h = static_cast<int>(Le16(b, 14));
  if (w <= 0 || h <= 0) return img;
  const size_t count = static_cast<size_t>(w) * h;
  std::vector<uint32_t> seq;  // pixels in file order
  seq.reserve(count);
  size_t at = 18 + b[0];
  auto pixel = [&](size_t p) { return b[p] | (b[p + 1] << 8) | (b[p + 2] << 16) | (uint32_t{b[p + 3]} << 24); };
  if (b[2] == 2) {
    if (b.size() != at + count * 4) return img;
    for (size_t i = 0; i < count; ++i) seq.push_back(pixel(at + i * 4));
  } else {
    while (seq.size() < count) {
      if (at >= b.size()) return img;
      const uint8_t head = b[at++];
      const size_t n = (head & 0x7F) + 1u;
      if (seq.size() + n > count) return img;
      if (head & 0x80) {
        if (at + 4 > b.size()) return img;
        seq.insert(seq.end(), n, pixel(at));
        at += 4;
      } else {
        if (at + 4 * n > b.size()) return img;
        for (size_t i = 0; i < n; ++i) seq.push_back(pixel(at + 4 * i));
        at += 4 * n;
      }
    }
    if (at != b.size()) return img;
  }
  const bool topDown = (b[17] & 0x20) != 0;
  img.width = w;
  img.height = h;
  img.rgba.resize(count);
  for (int y = 0; y < h; ++y) {
    const int row = topDown ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) img.rgba[static_cast<size_t>(y) * w + x] = seq[static_cast<size_t>(row) * w + x];
  }
  img.ok = true;
  return img;
}

// 24-bit BI_RGB BMP, bottom-up; alpha reads as 255.
inline Image ParseBmp(const std::vector<uint8_t>& b) {
  Image img;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 14) != 40 || Le16(b, 28) != 24 || Le32(b, 30) != 0)
    return img;
  const int w = static_cast<int>(Le32(b, 18)), h = static_cast<int>(Le32(b, 22));
  const size_t off = Le32(b, 10);
  const size_t rowBytes = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  if (w <= 0 || h <= 0 || b.size() != off + rowBytes * h || Le32(b, 2) != b.size()) return img;
  img.width = w;
  img.height = h;
  img.rgba.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t p = off + static_cast<size_t>(h - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
      img.rgba[static_cast<size_t>(y) * w + x] = b[p] | (b[p + 1] << 8) | (b[p + 2] << 16) | 0xFF000000u;
    }
  img.ok = true;
  return img;
}

struct Wave {
  bool ok = false;
  int channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
  double Milliseconds() const {
    return channels && rate ? samples.size() / static_cast<double>(channels) * 1000.0 / rate : 0.0;
  }
};

// Canonical PCM WAV: RIFF, "fmt " then "data".
inline Wave ParseWav(const std::vector<uint8_t>& b) {
  Wave w;
  if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " || Le32(b, 4) + 8 != b.size())
    return w;
  if (Le16(b, 20) != 1) return w;
  w.channels = static_cast<int>(Le16(b, 22));
  w.rate = static_cast<int>(Le32(b, 24));
  w.bits = static_cast<int>(Le16(b, 34));
  if (std::string(b.begin() + 36, b.begin() + 40) != "data" || Le32(b, 40) + 44 != b.size() || w.bits != 16)
    return w;
  const size_t n = Le32(b, 40) / 2;
  w.samples.resize(n);
  for (size_t i = 0; i < n; ++i) w.samples[i] = static_cast<int16_t>(Le16(b, 44 + 2 * i));
  w.ok = true;
  return w;
}

}  // namespace datatest
