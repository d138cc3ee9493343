// The generator's picture in memory: straight (not premultiplied) RGBA pixels
// and the small set of anti-aliased shapes every stand-in sheet is drawn with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

inline Rgba MakeRgba(int r, int g, int b, int a = 255) {
  auto c = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  return Rgba{c(r), c(g), c(b), c(a)};
}

// Hue 0-360, saturation and value 0-1.
Rgba Hsv(double hue, double sat, double val, int alpha = 255);
// Linear mix of two colours (t = 0 gives a, 1 gives b), alpha mixed too.
Rgba Mix(Rgba a, Rgba b, double t);
// The colour scaled in brightness by k (0..n), alpha kept.
Rgba Shade(Rgba c, double k);

struct Point {
  double x, y;
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Rgba fill = Rgba{});

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<Rgba>& pixels() const { return pixels_; }

  Rgba Get(int x, int y) const;
  void Set(int x, int y, Rgba c);
  // Source-over composition of c with coverage (0..1) onto the pixel.
  void Blend(int x, int y, Rgba c, double coverage = 1.0);
  // Adds the colour's channels (scaled by coverage) and raises alpha likewise.
  void Add(int x, int y, Rgba c, double coverage = 1.0);

  // Restricts every drawing operation to a rectangle (the whole canvas by default).
  void SetClip(int x, int y, int w, int h);
  void ResetClip();

  void Fill(Rgba c);
  void FillRect(int x, int y, int w, int h, Rgba c);          // replaces pixels
  void BlendRect(int x, int y, int w, int h, Rgba c);         // composes
  void OutlineRect(int x, int y, int w, int h, Rgba c, int thickness = 1);
  void VerticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);

  void FillCircle(double cx, double cy, double r, Rgba c);
  void FillEllipse(double cx, double cy, double rx, double ry, Rgba c, double angleDeg = 0.0);
  void Ring(double cx, double cy, double r, double thickness, Rgba c);
  // A glow: colour c with alpha falling from the centre to radius r (power shapes the falloff).
  void Glow(double cx, double cy, double r, Rgba c, double power = 2.0, bool additive = false);
  void Line(double x0, double y0, double x1, double y1, double thickness, Rgba c);
  void FillPolygon(const std::vector<Point>& pts, Rgba c);
  // Regular star with n points.
  void FillStar(double cx, double cy, double rOuter, double rInner, int points, double angleDeg, Rgba c);

  // Copies another canvas (source-over when blend, else replace) with its top-left at (x, y).
  void Draw(const Canvas& src, int x, int y, bool blend = true);
  Canvas Crop(int x, int y, int w, int h) const;

  // Opaque pure black would read as the library's default colour key: lift it to (1,1,1);
  // fully transparent pixels become exactly 0.
  void MakeKeySafe();

 private:
  bool InClip(int x, int y) const {
    return x >= clipX0_ && y >= clipY0_ && x < clipX1_ && y < clipY1_;
  }
  int width_ = 0, height_ = 0;
  int clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;
  std::vector<Rgba> pixels_;
};

// The picture turned a quarter turn clockwise (width and height swap): text laid out
// horizontally reads correctly again when the game draws the result turned by -90 degrees.
Canvas RotateClockwise(const Canvas& src);

}  // namespace datagen
