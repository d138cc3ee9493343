// Stage background textures. Every texture is built from noise that repeats
// with the picture's own size, and every sprinkled detail is drawn wrapped, so
// the scrolling layers tile without a seam in both directions.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "layout.h"
#include "noise.h"
#include "sheets.h"

namespace datagen {

namespace {

constexpr double kPi = 3.141592653589793;

Rgba C(int r, int g, int b, int a = 255) { return MakeRgba(r, g, b, a); }

enum class Kind { kGround, kSpell, kSnowOverlay, kShadow, kGlow, kClouds, kMist, kWhite, kAurora,
                  kMagicCircle, kQuarterTiles, kBlossom, kForest, kShrineFloor };

struct Recipe {
  const char* name;
  Kind kind;
  uint32_t seed;
  Rgba a, b;
};

const Recipe kRecipes[] = {
    {"back1a1.tga", Kind::kGround, 101, C(225, 235, 250), C(150, 170, 210)},
    {"back1a2.tga", Kind::kShadow, 102, C(255, 255, 255), C(150, 160, 190)},
    {"back1a3.tga", Kind::kGlow, 103, C(255, 190, 100), C(0, 0, 0)},
    {"back1as1.tga", Kind::kSnowOverlay, 104, C(255, 255, 255), C(200, 230, 255)},
    {"back1as2.tga", Kind::kSpell, 105, C(40, 60, 160), C(150, 210, 255)},
    {"back1bs.tga", Kind::kSpell, 106, C(120, 30, 20), C(255, 170, 60)},
    {"back1b.tga", Kind::kForest, 107, C(40, 95, 65), C(200, 220, 230)},
    {"back1cs1.tga", Kind::kSpell, 108, C(40, 30, 90), C(120, 200, 140)},
    {"back1cs2.tga", Kind::kSnowOverlay, 109, C(190, 220, 255), C(120, 160, 255)},
    {"back1c1.tga", Kind::kShrineFloor, 110, C(90, 80, 110), C(170, 160, 190)},
    {"back1d1.tga", Kind::kGround, 111, C(170, 220, 240), C(60, 120, 170)},
    {"back1d2.tga", Kind::kMist, 112, C(220, 240, 255), C(0, 0, 0)},
    {"back1ds.tga", Kind::kSpell, 113, C(20, 70, 110), C(140, 240, 255)},
    {"back2s.tga", Kind::kSpell, 114, C(60, 60, 110), C(230, 230, 255)},
    {"tex.tga", Kind::kGround, 115, C(210, 220, 200), C(120, 140, 120)},
    {"fog.tga", Kind::kMist, 116, C(240, 245, 255), C(0, 0, 0)},
    {"cherry.tga", Kind::kBlossom, 117, C(255, 190, 210), C(255, 240, 245)},
    {"white.tga", Kind::kWhite, 118, C(255, 255, 255), C(255, 255, 255)},
    {"sky.tga", Kind::kClouds, 119, C(90, 150, 230), C(250, 250, 255)},
    {"back3ms.tga", Kind::kMagicCircle, 120, C(20, 10, 30), C(255, 60, 80)},
    {"back3s1.tga", Kind::kSpell, 121, C(10, 10, 20), C(200, 40, 60)},
    {"back4as1.tga", Kind::kSpell, 122, C(200, 220, 255), C(80, 120, 220)},
    {"back4as2.tga", Kind::kAurora, 123, C(120, 180, 255), C(10, 20, 50)},
    {"back42.tga", Kind::kSnowOverlay, 124, C(255, 255, 255), C(210, 230, 255)},
    {"back43.tga", Kind::kShrineFloor, 125, C(70, 80, 100), C(150, 160, 180)},
    {"back44.tga", Kind::kClouds, 126, C(40, 50, 80), C(140, 150, 190)},
    {"back45.tga", Kind::kForest, 127, C(30, 75, 70), C(180, 200, 220)},
    {"back4bs1.tga", Kind::kSpell, 128, C(30, 90, 120), C(170, 250, 255)},
    {"back4bs2.tga", Kind::kAurora, 129, C(150, 255, 230), C(10, 30, 40)},
    {"back4cs.tga", Kind::kSpell, 130, C(120, 120, 130), C(230, 230, 240)},
    {"back4ds1.tga", Kind::kSpell, 131, C(140, 20, 40), C(255, 150, 170)},
    {"back4ds2.tga", Kind::kAurora, 132, C(255, 120, 140), C(40, 10, 20)},
    {"back5s.tga", Kind::kSpell, 133, C(20, 20, 60), C(220, 220, 140)},
    {"back5.tga", Kind::kShrineFloor, 134, C(110, 40, 40), C(200, 150, 120)},
    {"back6s1.tga", Kind::kSpell, 135, C(90, 50, 10), C(255, 200, 90)},
    {"back6s2.tga", Kind::kAurora, 136, C(255, 200, 120), C(0, 0, 0)},
    {"back61.tga", Kind::kQuarterTiles, 137, C(60, 40, 20), C(230, 170, 80)},
    {"back62.tga", Kind::kMagicCircle, 138, C(0, 0, 0, 0), C(255, 210, 120)},
    {"backexs1.tga", Kind::kSpell, 139, C(10, 60, 60), C(120, 255, 220)},
    {"backexs2.tga", Kind::kSnowOverlay, 140, C(160, 255, 230), C(100, 200, 255)},
    {"backex1.tga", Kind::kClouds, 141, C(20, 70, 80), C(150, 220, 210)},
    {"backex2.tga", Kind::kSnowOverlay, 142, C(220, 255, 250), C(150, 230, 220)},
    {"backex3.tga", Kind::kClouds, 143, C(30, 40, 90), C(200, 220, 255)},
    {"backex4.tga", Kind::kSpell, 144, C(10, 40, 50), C(80, 230, 200)},
};

// A circle drawn at the point and at its copies one picture away, so it wraps.
void WrappedCircle(Canvas& t, double x, double y, double r, Rgba c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const double px = x + dx * t.width(), py = y + dy * t.height();
      if (px + r < 0 || py + r < 0 || px - r > t.width() || py - r > t.height()) continue;
      t.FillCircle(px, py, r, c);
    }
}

void WrappedGlowSpot(Canvas& t, double x, double y, double r, Rgba c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const double px = x + dx * t.width(), py = y + dy * t.height();
      if (px + r < 0 || py + r < 0 || px - r > t.width() || py - r > t.height()) continue;
      t.Glow(px, py, r, c, 1.5);
    }
}

void Sprinkle(Canvas& t, uint32_t seed, int count, double rMin, double rMax, Rgba c) {
  for (int k = 0; k < count; ++k) {
    const double x = HashUnit(k, 11, seed) * t.width(), y = HashUnit(k, 12, seed) * t.height();
    WrappedCircle(t, x, y, rMin + (rMax - rMin) * HashUnit(k, 13, seed), c);
  }
}

Canvas Build(const Recipe& r, int w, int h) {
  Canvas t(w, h);
  switch (r.kind) {
    case Kind::kGround:
    case Kind::kClouds: {
      const NoiseField noise(w, h, r.kind == Kind::kGround ? 6 : 3, r.kind == Kind::kGround ? 7 : 4, 5, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          t.Set(x, y, Mix(r.b, r.a, std::clamp((n - 0.25) * 1.8, 0.0, 1.0)));
        }
      if (r.kind == Kind::kGround) {
        Sprinkle(t, r.seed, 40, 1.5, 4.0, Shade(r.b, 0.6));
        Sprinkle(t, r.seed + 1, 120, 0.6, 1.4, C(255, 255, 255, 220));
      }
      break;
    }
    case Kind::kSpell: {
      const NoiseField noise(w, h, 4, 4, 4, r.seed);
      const NoiseField warp(w, h, 2, 8, 3, r.seed + 7);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          const double m = warp.At(x, y);
          // Bands that wrap: a whole number of periods across and down.
          const double bands = 0.5 + 0.5 * std::sin(2 * kPi * (x / static_cast<double>(w) * 2 + y / static_cast<double>(h) * 3) + 6 * m);
          t.Set(x, y, Mix(r.a, r.b, std::clamp(0.15 + 0.6 * n * bands + 0.3 * n, 0.0, 1.0)));
        }
      for (int k = 0; k < 14; ++k)
        WrappedGlowSpot(t, HashUnit(k, 1, r.seed) * w, HashUnit(k, 2, r.seed) * h, 10 + 20 * HashUnit(k, 3, r.seed),
                        Rgba{r.b.r, r.b.g, r.b.b, 160});
      break;
    }
    case Kind::kSnowOverlay: {
      Sprinkle(t, r.seed, 150, 0.8, 2.0, r.a);
      Sprinkle(t, r.seed + 5, 25, 2.0, 3.5, Rgba{r.b.r, r.b.g, r.b.b, 200});
      break;
    }
    case Kind::kShadow: {
      const NoiseField noise(w, h, 3, 3, 4, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          t.Set(x, y, Mix(r.a, r.b, std::clamp((n - 0.45) * 2.5, 0.0, 1.0)));
        }
      break;
    }
    case Kind::kGlow: {
      t.Fill(C(0, 0, 0, 255));
      t.Glow(w / 2.0, h / 2.0, w / 2.0, r.a, 1.8, true);
      t.Glow(w / 2.0, h / 2.0, w / 5.0, C(255, 240, 200), 1.5, true);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          Rgba p = t.Get(x, y);
          p.a = 255;
          t.Set(x, y, p);
        }
      break;
    }
    case Kind::kMist: {
      const NoiseField noise(w, h, 3, 4, 5, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          const int a = static_cast<int>(std::clamp((n - 0.35) * 300.0, 0.0, 150.0));
          t.Set(x, y, Rgba{r.a.r, r.a.g, r.a.b, static_cast<uint8_t>(a)});
        }
      break;
    }
    case Kind::kWhite: {
      t.Fill(r.a);
      break;
    }
    case Kind::kAurora: {
      const NoiseField noise(w, h, 2, 6, 4, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          const double band = std::pow(0.5 + 0.5 * std::sin(2 * kPi * (2.0 * x / w) + 8 * n), 3.0);
          t.Set(x, y, Mix(r.b, r.a, std::clamp(band * n * 1.6, 0.0, 1.0)));
        }
      break;
    }
    case Kind::kMagicCircle: {
      const bool transparent = r.a.a == 0;
      if (!transparent) {
        const NoiseField noise(w, h, 4, 4, 4, r.seed);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const double n = noise.At(x, y);
            t.Set(x, y, Mix(r.a, Shade(r.b, 0.4), n * 0.7));
          }
      }
      const double cx = w / 2.0, cy = h / 2.0;
      for (int k = 0; k < 5; ++k) t.Ring(cx, cy, 60 + k * 45, 3 - k * 0.3, r.b);
      for (int k = 0; k < 3; ++k) {
        std::vector<Point> tri;
        for (int j = 0; j < 5; ++j) {
          const double a = (k * 24 + j * 144 - 90) * kPi / 180.0;
          // Radii 105-225: every star stays inside the picture, so no line ends cut off when it turns.
          tri.push_back({cx + (105 + k * 60) * std::cos(a), cy + (105 + k * 60) * std::sin(a)});
        }
        for (int j = 0; j < 5; ++j) t.Line(tri[j].x, tri[j].y, tri[(j + 1) % 5].x, tri[(j + 1) % 5].y, 2, r.b);
      }
      for (int k = 0; k < 36; ++k) {
        const double a = k * 10 * kPi / 180.0;
        t.FillCircle(cx + 232 * std::cos(a), cy + 232 * std::sin(a), 3, r.b);
      }
      break;
    }
    case Kind::kQuarterTiles: {
      // One 192 x 224 tile that wraps on its own, repeated in the four quarters.
      Canvas q(w / 2, h / 2);
      const NoiseField noise(q.width(), q.height(), 3, 3, 4, r.seed);
      for (int y = 0; y < q.height(); ++y)
        for (int x = 0; x < q.width(); ++x) {
          const double n = noise.At(x, y);
          const double ring = 0.5 + 0.5 * std::cos(2 * kPi * x / q.width()) * std::cos(2 * kPi * y / q.height());
          q.Set(x, y, Mix(r.a, r.b, std::clamp(0.2 + 0.5 * n + 0.4 * ring * ring, 0.0, 1.0)));
        }
      Sprinkle(q, r.seed, 30, 1.0, 2.5, C(255, 240, 200));
      for (int k = 0; k < 4; ++k) t.Draw(q, (k % 2) * q.width(), (k / 2) * q.height(), false);
      break;
    }
    case Kind::kBlossom: {
      for (int k = 0; k < 5; ++k) {
        const double a = (k * 72 - 90) * kPi / 180.0;
        t.FillEllipse(32 + 15 * std::cos(a), 32 + 15 * std::sin(a), 14, 9, r.a, k * 72 - 90);
      }
      t.FillCircle(32, 32, 7, r.b);
      t.FillCircle(32, 32, 3, C(250, 200, 90));
      t.MakeKeySafe();
      break;
    }
    case Kind::kForest: {
      const NoiseField noise(w, h, 5, 6, 4, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          t.Set(x, y, Mix(r.b, Shade(r.b, 0.7), n));
        }
      for (int k = 0; k < 26; ++k) {
        const double x = HashUnit(k, 1, r.seed) * w, y = HashUnit(k, 2, r.seed) * h;
        const double s = 10 + 12 * HashUnit(k, 3, r.seed);
        WrappedCircle(t, x + 3, y + 3, s, C(0, 0, 0, 60));
        WrappedCircle(t, x, y, s, r.a);
        WrappedCircle(t, x - s * 0.3, y - s * 0.3, s * 0.55, C(240, 245, 255, 220));
      }
      break;
    }
    case Kind::kShrineFloor: {
      const NoiseField noise(w, h, 8, 8, 3, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          const bool seam = (x % 48) < 2 || ((y + ((x / 48) % 2) * 28) % 56) < 2;
          t.Set(x, y, seam ? Shade(r.a, 0.6) : Mix(r.a, r.b, n));
        }
      Sprinkle(t, r.seed, 60, 0.8, 2.0, C(245, 250, 255, 200));
      break;
    }
  }
  return t;
}

}  // namespace

Canvas MakeBackground(const std::string& name) {
  for (const TextureSpec& spec : BackgroundTextures()) {
    if (name != spec.name) continue;
    for (const Recipe& r : kRecipes)
      if (name == r.name) return Build(r, spec.width, spec.height);
  }
  return Canvas();
}

}  // namespace datagen
