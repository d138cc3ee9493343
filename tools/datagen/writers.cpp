#include "writers.h"

#include <png.h>

#include <cstdio>

namespace datagen {

namespace {
void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  Put16(o, v & 0xFFFF);
  Put16(o, v >> 16);
}
void PutTag(std::vector<uint8_t>& o, const char* t) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(t[i]));
}
}  // namespace

std::vector<uint8_t> EncodeTga(const Canvas& c) {
  std::vector<uint8_t> o;
  o.reserve(18 + static_cast<size_t>(c.width()) * c.height());
  o.push_back(0);   // no image id
  o.push_back(0);   // no colour map
  o.push_back(10);  // run-length encoded true colour
  for (int i = 0; i < 5; ++i) o.push_back(0);  // colour map spec
  Put16(o, 0);  // x origin
  Put16(o, 0);  // y origin
  Put16(o, static_cast<uint32_t>(c.width()));
  Put16(o, static_cast<uint32_t>(c.height()));
  o.push_back(32);
  o.push_back(0x08);  // 8 alpha bits, bottom-left origin
  auto put = [&](const Rgba& p) {
    o.push_back(p.b);
    o.push_back(p.g);
    o.push_back(p.r);
    o.push_back(p.a);
  };
  auto same = [](const Rgba& a, const Rgba& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; };
  // Packets never cross a row: run packets for two or more equal pixels, raw packets otherwise.
  for (int y = c.height() - 1; y >= 0; --y) {
    int x = 0;
    const int w = c.width();
    while (x < w) {
      int run = 1;
      while (x + run < w && run < 128 && same(c.Get(x + run, y), c.Get(x, y))) ++run;
      if (run >= 2) {
        o.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
        put(c.Get(x, y));
        x += run;
        continue;
      }
      int raw = 1;
      while (x + raw < w && raw < 128 &&
             !(x + raw + 1 < w && same(c.Get(x + raw, y), c.Get(x + raw + 1, y))))
        ++raw;
      o.push_back(static_cast<uint8_t>(raw - 1));
      for (int i = 0; i < raw; ++i) put(c.Get(x + i, y));
      x += raw;
    }
  }
  return o;
}

std::vector<uint8_t> EncodeBmp(const Canvas& c) {
  const uint32_t rowBytes = (static_cast<uint32_t>(c.width()) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(c.height());
  std::vector<uint8_t> o;
  o.reserve(54 + imageBytes);
  o.push_back('B');
  o.push_back('M');
  Put32(o, 54 + imageBytes);
  Put32(o, 0);
  Put32(o, 54);
  Put32(o, 40);
  Put32(o, static_cast<uint32_t>(c.width()));
  Put32(o, static_cast<uint32_t>(c.height()));
  Put16(o, 1);
  Put16(o, 24);
  Put32(o, 0);  // BI_RGB
  Put32(o, imageBytes);
  Put32(o, 2835);
  Put32(o, 2835);
  Put32(o, 0);
  Put32(o, 0);
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      Rgba p = c.Get(x, y);
      if (p.a == 0) p = Rgba{};
      o.push_back(p.b);
      o.push_back(p.g);
      o.push_back(p.r);
    }
    for (uint32_t pad = static_cast<uint32_t>(c.width()) * 3; pad < rowBytes; ++pad) o.push_back(0);
  }
  return o;
}

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int channels, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> o;
  o.reserve(44 + dataBytes);
  PutTag(o, "RIFF");
  Put32(o, 36 + dataBytes);
  PutTag(o, "WAVE");
  PutTag(o, "fmt ");
  Put32(o, 16);
  Put16(o, 1);  // PCM
  Put16(o, static_cast<uint32_t>(channels));
  Put32(o, static_cast<uint32_t>(sampleRate));
  Put32(o, static_cast<uint32_t>(sampleRate * channels * 2));
  Put16(o, static_cast<uint32_t>(channels * 2));
  Put16(o, 16);
  PutTag(o, "data");
  Put32(o, dataBytes);
  for (int16_t s : samples) Put16(o, static_cast<uint16_t>(s));
  return o;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "datagen: cannot create %s\n", path.c_str());
    return false;
  }
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) {
    std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const Canvas& c) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "datagen: cannot create %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(f);
    return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(c.width()) * 4);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(c.width()), static_cast<png_uint_32>(c.height()), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgba p = c.Get(x, y);
      row[x * 4 + 0] = p.r;
      row[x * 4 + 1] = p.g;
      row[x * 4 + 2] = p.b;
      row[x * 4 + 3] = p.a;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace datagen
