// Stage background textures. Every texture is built from noise that repeats
// with the picture's own size, and every sprinkled detail is drawn wrapped, so
// the scrolling layers tile without a seam in both directions. The bullets are
// bright and saturated, so the layers stay dim, muted and soft: no round spots
// that could pass for a bullet or an item, and the overlays whose edges show
// fade there to the value their blend mode leaves unchanged.
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

// How the game draws the layer, which decides its finish: an opaque layer is muted,
// a multiplied one fades to white at its edges and an added one to black.
enum class Role { kOpaque, kOverlay, kMultiply, kAdd, kSprite };

struct Recipe {
  const char* name;
  Kind kind;
  uint32_t seed;
  Rgba a, b;
  Role role;
};

const Recipe kRecipes[] = {
    {"back1a1.tga", Kind::kGround, 101, C(150, 165, 200), C(60, 75, 110), Role::kOpaque},
    {"back1a2.tga", Kind::kShadow, 102, C(255, 255, 255), C(190, 196, 220), Role::kMultiply},
    {"back1a3.tga", Kind::kGlow, 103, C(255, 190, 100), C(0, 0, 0), Role::kAdd},
    {"back1as1.tga", Kind::kSnowOverlay, 104, C(235, 242, 255), C(200, 230, 255), Role::kOverlay},
    {"back1as2.tga", Kind::kSpell, 105, C(40, 60, 160), C(150, 210, 255), Role::kOpaque},
    {"back1bs.tga", Kind::kSpell, 106, C(120, 30, 20), C(255, 170, 60), Role::kOpaque},
    {"back1b.tga", Kind::kForest, 107, C(40, 95, 65), C(200, 220, 230), Role::kOpaque},
    {"back1cs1.tga", Kind::kSpell, 108, C(40, 30, 90), C(120, 200, 140), Role::kOpaque},
    {"back1cs2.tga", Kind::kSnowOverlay, 109, C(190, 220, 255), C(120, 160, 255), Role::kOverlay},
    {"back1c1.tga", Kind::kShrineFloor, 110, C(90, 80, 110), C(170, 160, 190), Role::kOpaque},
    {"back1d1.tga", Kind::kGround, 111, C(170, 220, 240), C(60, 120, 170), Role::kOpaque},
    {"back1d2.tga", Kind::kMist, 112, C(200, 215, 235), C(0, 0, 0), Role::kOverlay},
    {"back1ds.tga", Kind::kSpell, 113, C(20, 70, 110), C(140, 240, 255), Role::kOpaque},
    {"back2s.tga", Kind::kSpell, 114, C(60, 60, 110), C(230, 230, 255), Role::kOpaque},
    {"tex.tga", Kind::kGround, 115, C(210, 220, 200), C(120, 140, 120), Role::kOpaque},
    {"fog.tga", Kind::kMist, 116, C(210, 220, 235), C(0, 0, 0), Role::kOverlay},
    {"cherry.tga", Kind::kBlossom, 117, C(255, 205, 220, 150), C(255, 240, 245, 150), Role::kSprite},
    {"white.tga", Kind::kWhite, 118, C(225, 232, 245), C(225, 232, 245), Role::kOpaque},
    {"sky.tga", Kind::kClouds, 119, C(90, 150, 230), C(250, 250, 255), Role::kOpaque},
    {"back3ms.tga", Kind::kMagicCircle, 120, C(20, 10, 30), C(255, 60, 80), Role::kOpaque},
    {"back3s1.tga", Kind::kSpell, 121, C(10, 10, 20), C(200, 40, 60), Role::kOpaque},
    {"back4as1.tga", Kind::kSpell, 122, C(200, 220, 255), C(80, 120, 220), Role::kOpaque},
    {"back4as2.tga", Kind::kAurora, 123, C(120, 180, 255), C(10, 20, 50), Role::kOpaque},
    {"back42.tga", Kind::kSnowOverlay, 124, C(255, 255, 255), C(210, 230, 255), Role::kOverlay},
    {"back43.tga", Kind::kShrineFloor, 125, C(70, 80, 100), C(150, 160, 180), Role::kOpaque},
    {"back44.tga", Kind::kClouds, 126, C(40, 50, 80), C(140, 150, 190), Role::kOpaque},
    {"back45.tga", Kind::kForest, 127, C(30, 75, 70), C(180, 200, 220), Role::kOpaque},
    {"back4bs1.tga", Kind::kSpell, 128, C(30, 90, 120), C(170, 250, 255), Role::kOpaque},
    {"back4bs2.tga", Kind::kAurora, 129, C(150, 255, 230), C(10, 30, 40), Role::kOpaque},
    {"back4cs.tga", Kind::kSpell, 130, C(120, 120, 130), C(230, 230, 240), Role::kOpaque},
    {"back4ds1.tga", Kind::kSpell, 131, C(140, 20, 40), C(255, 150, 170), Role::kOpaque},
    {"back4ds2.tga", Kind::kAurora, 132, C(255, 120, 140), C(40, 10, 20), Role::kOpaque},
    {"back5s.tga", Kind::kSpell, 133, C(20, 20, 60), C(220, 220, 140), Role::kOpaque},
    {"back5.tga", Kind::kShrineFloor, 134, C(110, 40, 40), C(200, 150, 120), Role::kOpaque},
    {"back6s1.tga", Kind::kSpell, 135, C(90, 50, 10), C(255, 200, 90), Role::kOpaque},
    {"back6s2.tga", Kind::kAurora, 136, C(255, 200, 120), C(0, 0, 0), Role::kAdd},
    {"back61.tga", Kind::kQuarterTiles, 137, C(60, 40, 20), C(230, 170, 80), Role::kOpaque},
    {"back62.tga", Kind::kMagicCircle, 138, C(0, 0, 0, 0), C(255, 210, 120, 120), Role::kOverlay},
    {"backexs1.tga", Kind::kSpell, 139, C(10, 60, 60), C(120, 255, 220), Role::kOpaque},
    {"backexs2.tga", Kind::kSnowOverlay, 140, C(160, 255, 230), C(100, 200, 255), Role::kOverlay},
    {"backex1.tga", Kind::kClouds, 141, C(20, 70, 80), C(150, 220, 210), Role::kOpaque},
    {"backex2.tga", Kind::kSnowOverlay, 142, C(220, 255, 250), C(150, 230, 220), Role::kOverlay},
    {"backex3.tga", Kind::kClouds, 143, C(30, 40, 90), C(200, 220, 255), Role::kOpaque},
    {"backex4.tga", Kind::kSpell, 144, C(10, 40, 50), C(80, 230, 200), Role::kOpaque},
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
      if (r.kind == Kind::kGround) Sprinkle(t, r.seed + 1, 120, 0.6, 1.1, C(255, 255, 255, 110));
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
      break;
    }
    case Kind::kSnowOverlay: {
      // Faint flakes, and a few larger ones out of focus: snow, never a bullet's crisp dot.
      Sprinkle(t, r.seed, 150, 0.6, 1.3, Rgba{r.a.r, r.a.g, r.a.b, 140});
      for (int k = 0; k < 25; ++k)
        WrappedGlowSpot(t, HashUnit(k, 1, r.seed + 5) * w, HashUnit(k, 2, r.seed + 5) * h, 3.5,
                        Rgba{r.b.r, r.b.g, r.b.b, 80});
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
          const int a = static_cast<int>(std::clamp((n - 0.35) * 200.0, 0.0, 90.0));
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
      for (int k = 0; k < 4; ++k) t.Draw(q, (k % 2) * q.width(), (k / 2) * q.height(), false);
      break;
    }
    case Kind::kBlossom: {
      // One translucent petal, long and notched at its tip: it spins as it falls.
      t.FillEllipse(32, 32, 26, 12, r.a);
      t.FillEllipse(36, 32, 14, 6, r.b);
      t.FillPolygon({{50.0, 32.0}, {60.0, 26.0}, {60.0, 38.0}}, Rgba{});
      for (int y = 26; y < 39; ++y)
        for (int x = 50; x < 60; ++x)
          if (std::fabs(y + 0.5 - 32.0) < (x + 0.5 - 50.0) * 0.6) t.Set(x, y, Rgba{});
      t.MakeKeySafe();
      break;
    }
    case Kind::kForest: {
      // Tree crowns seen from above: a canopy of noise, snow lying on its higher parts
      // and the snowy ground showing through its gaps.
      const NoiseField crowns(w, h, 8, 9, 4, r.seed);
      const NoiseField snow(w, h, 16, 18, 3, r.seed + 3);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = crowns.At(x, y);
          const double crown = std::clamp((n - 0.36) / 0.3, 0.0, 1.0);
          Rgba c = Mix(Shade(r.b, 0.75), Shade(r.a, 0.7 + 0.5 * n), crown);
          c = Mix(c, r.b, std::clamp((snow.At(x, y) - 0.55) * 2.0, 0.0, 0.5) * crown);
          t.Set(x, y, c);
        }
      break;
    }
    case Kind::kShrineFloor: {
      const NoiseField noise(w, h, 8, 8, 3, r.seed);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const double n = noise.At(x, y);
          const bool seam = (x % 48) < 2 || ((y + ((x / 48) % 2) * 28) % 56) < 2;
          t.Set(x, y, seam ? Shade(Mix(r.a, r.b, n), 0.8) : Mix(r.a, r.b, n));
        }
      break;
    }
  }
  return t;
}

}  // namespace

// Opaque layers: half their saturation, and their brightness pressed into a low band
// with its contrast, so the bullets drawn over them stand out.
void Mute(Canvas& t) {
  constexpr double kSaturation = 0.7, kFloor = 14.0, kCeiling = 108.0;
  for (int y = 0; y < t.height(); ++y)
    for (int x = 0; x < t.width(); ++x) {
      const Rgba p = t.Get(x, y);
      const double grey = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
      auto channel = [&](int v) {
        return static_cast<int>(std::lround(kFloor + (grey + (v - grey) * kSaturation) * (kCeiling - kFloor) / 255.0));
      };
      t.Set(x, y, MakeRgba(channel(p.r), channel(p.g), channel(p.b), p.a));
    }
}

// Moves every pixel towards `neutral` within `margin` pixels of an edge, so the
// layer's border leaves what lies under it unchanged.
void FadeEdges(Canvas& t, Rgba neutral, int margin) {
  for (int y = 0; y < t.height(); ++y)
    for (int x = 0; x < t.width(); ++x) {
      const int d = std::min(std::min(x, t.width() - 1 - x), std::min(y, t.height() - 1 - y));
      const double k = std::clamp(d / static_cast<double>(margin), 0.0, 1.0);
      t.Set(x, y, Mix(neutral, t.Get(x, y), k * k * (3 - 2 * k)));
    }
}

// Added layers light the field only faintly: their brightest pixel at `peak`.
void Dim(Canvas& t, int peak) {
  int top = 1;
  for (const Rgba& p : t.pixels()) top = std::max({top, static_cast<int>(p.r), static_cast<int>(p.g), static_cast<int>(p.b)});
  for (int y = 0; y < t.height(); ++y)
    for (int x = 0; x < t.width(); ++x) {
      const Rgba p = t.Get(x, y);
      t.Set(x, y, MakeRgba(p.r * peak / top, p.g * peak / top, p.b * peak / top, p.a));
    }
}

Canvas Finish(const Recipe& r, Canvas t) {
  switch (r.role) {
    case Role::kOpaque: Mute(t); break;
    case Role::kMultiply: FadeEdges(t, C(255, 255, 255), 48); break;
    case Role::kAdd:
      Dim(t, 72);
      FadeEdges(t, C(0, 0, 0), 16);
      break;
    case Role::kOverlay:
    case Role::kSprite: break;
  }
  return t;
}

Canvas MakeBackground(const std::string& name) {
  for (const TextureSpec& spec : BackgroundTextures()) {
    if (name != spec.name) continue;
    for (const Recipe& r : kRecipes)
      if (name == r.name) return Finish(r, Build(r, spec.width, spec.height));
  }
  return Canvas();
}

}  // namespace datagen
