#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {
constexpr double kPi = 3.141592653589793;

uint8_t ClampByte(double v) {
  if (!(v > 0.0)) return 0;  // also NaN: converting it to an integer would be undefined
  if (v >= 255.0) return 255;
  return static_cast<uint8_t>(v + 0.5);
}
}  // namespace

Rgba Hsv(double hue, double sat, double val, int alpha) {
  double h = std::fmod(hue, 360.0);
  if (h < 0) h += 360.0;
  const double c = val * sat;
  const double hp = h / 60.0;
  const double x = c * (1.0 - std::fabs(std::fmod(hp, 2.0) - 1.0));
  double r = 0, g = 0, b = 0;
  if (hp < 1) { r = c; g = x; }
  else if (hp < 2) { r = x; g = c; }
  else if (hp < 3) { g = c; b = x; }
  else if (hp < 4) { g = x; b = c; }
  else if (hp < 5) { r = x; b = c; }
  else { r = c; b = x; }
  const double m = val - c;
  return Rgba{ClampByte((r + m) * 255.0), ClampByte((g + m) * 255.0), ClampByte((b + m) * 255.0),
              ClampByte(alpha)};
}

Rgba Mix(Rgba a, Rgba b, double t) {
  return Rgba{ClampByte(a.r + (b.r - a.r) * t), ClampByte(a.g + (b.g - a.g) * t),
              ClampByte(a.b + (b.b - a.b) * t), ClampByte(a.a + (b.a - a.a) * t)};
}

Rgba Shade(Rgba c, double k) {
  return Rgba{ClampByte(c.r * k), ClampByte(c.g * k), ClampByte(c.b * k), c.a};
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {
  ResetClip();
}

Rgba Canvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgba{};
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, Rgba c) {
  if (!InClip(x, y)) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, Rgba c, double coverage) {
  if (!InClip(x, y) || !(coverage > 0.0)) return;
  Rgba& d = pixels_[static_cast<size_t>(y) * width_ + x];
  const double sa = c.a / 255.0 * std::min(coverage, 1.0);
  if (sa <= 0.0) return;
  const double da = d.a / 255.0;
  const double oa = sa + da * (1.0 - sa);
  auto ch = [&](uint8_t s, uint8_t dd) {
    return ClampByte((s * sa + dd * da * (1.0 - sa)) / oa);
  };
  d = Rgba{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), ClampByte(oa * 255.0)};
}

void Canvas::Add(int x, int y, Rgba c, double coverage) {
  if (!InClip(x, y) || !(coverage > 0.0)) return;
  Rgba& d = pixels_[static_cast<size_t>(y) * width_ + x];
  const double k = c.a / 255.0 * std::min(coverage, 1.0);
  d = Rgba{ClampByte(d.r + c.r * k), ClampByte(d.g + c.g * k), ClampByte(d.b + c.b * k),
           ClampByte(d.a + 255.0 * k)};
}

void Canvas::SetClip(int x, int y, int w, int h) {
  clipX0_ = std::max(0, x);
  clipY0_ = std::max(0, y);
  clipX1_ = std::min(width_, x + w);
  clipY1_ = std::min(height_, y + h);
}

void Canvas::ResetClip() { SetClip(0, 0, width_, height_); }

void Canvas::Fill(Rgba c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Canvas::FillRect(int x, int y, int w, int h, Rgba c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::BlendRect(int x, int y, int w, int h, Rgba c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Blend(i, j, c);
}

void Canvas::OutlineRect(int x, int y, int w, int h, Rgba c, int t) {
  BlendRect(x, y, w, t, c);
  BlendRect(x, y + h - t, w, t, c);
  BlendRect(x, y + t, t, h - 2 * t, c);
  BlendRect(x + w - t, y + t, t, h - 2 * t, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
  for (int j = 0; j < h; ++j) {
    const Rgba c = Mix(top, bottom, h > 1 ? static_cast<double>(j) / (h - 1) : 0.0);
    for (int i = 0; i < w; ++i) Set(x + i, y + j, c);
  }
}

void Canvas::FillCircle(double cx, double cy, double r, Rgba c) { FillEllipse(cx, cy, r, r, c); }

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgba c, double angleDeg) {
  if (rx <= 0 || ry <= 0) return;
  const double a = angleDeg * kPi / 180.0;
  const double ca = std::cos(a), sa = std::sin(a);
  const double rmax = std::max(rx, ry) + 1.0;
  const int x0 = static_cast<int>(std::floor(cx - rmax)), x1 = static_cast<int>(std::ceil(cx + rmax));
  const int y0 = static_cast<int>(std::floor(cy - rmax)), y1 = static_cast<int>(std::ceil(cy + rmax));
  const double rmin = std::min(rx, ry);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double u = (dx * ca + dy * sa) / rx, v = (-dx * sa + dy * ca) / ry;
      const double d = std::sqrt(u * u + v * v);
      // Approximate signed distance to the edge in pixels.
      const double edge = (1.0 - d) * rmin;
      const double cov = std::clamp(edge + 0.5, 0.0, 1.0);
      Blend(x, y, c, cov);
    }
  }
}

void Canvas::Ring(double cx, double cy, double r, double thickness, Rgba c) {
  const double ro = r + thickness * 0.5, ri = r - thickness * 0.5;
  const int x0 = static_cast<int>(std::floor(cx - ro - 1)), x1 = static_cast<int>(std::ceil(cx + ro + 1));
  const int y0 = static_cast<int>(std::floor(cy - ro - 1)), y1 = static_cast<int>(std::ceil(cy + ro + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double cov = std::clamp(std::min(ro - d, d - ri) + 0.5, 0.0, 1.0);
      Blend(x, y, c, cov);
    }
}

void Canvas::Glow(double cx, double cy, double r, Rgba c, double power, bool additive) {
  if (!(r > 0.0)) return;
  const int x0 = static_cast<int>(std::floor(cx - r)), x1 = static_cast<int>(std::ceil(cx + r));
  const int y0 = static_cast<int>(std::floor(cy - r)), y1 = static_cast<int>(std::ceil(cy + r));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
      if (d >= 1.0) continue;
      const double k = std::pow(1.0 - d, power);
      if (additive) Add(x, y, c, k);
      else Blend(x, y, c, k);
    }
}

void Canvas::Line(double x0, double y0, double x1, double y1, double thickness, Rgba c) {
  const double hw = thickness * 0.5;
  const int bx0 = static_cast<int>(std::floor(std::min(x0, x1) - hw - 1));
  const int bx1 = static_cast<int>(std::ceil(std::max(x0, x1) + hw + 1));
  const int by0 = static_cast<int>(std::floor(std::min(y0, y1) - hw - 1));
  const int by1 = static_cast<int>(std::ceil(std::max(y0, y1) + hw + 1));
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  for (int y = by0; y <= by1; ++y)
    for (int x = bx0; x <= bx1; ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      double t = len2 > 0 ? (px * dx + py * dy) / len2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double d = std::hypot(px - t * dx, py - t * dy);
      Blend(x, y, c, std::clamp(hw - d + 0.5, 0.0, 1.0));
    }
}

void Canvas::FillPolygon(const std::vector<Point>& pts, Rgba c) {
  if (pts.size() < 3) return;
  double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
  for (const Point& p : pts) {
    minX = std::min(minX, p.x); maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y); maxY = std::max(maxY, p.y);
  }
  auto inside = [&](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      if ((pts[i].y > y) != (pts[j].y > y) &&
          x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
        in = !in;
    }
    return in;
  };
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y)
    for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x) {
      if (!InClip(x, y)) continue;
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
          if (inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)) ++hits;
      if (hits) Blend(x, y, c, hits / 16.0);
    }
}

void Canvas::FillStar(double cx, double cy, double rOuter, double rInner, int points, double angleDeg,
                      Rgba c) {
  std::vector<Point> pts;
  for (int i = 0; i < points * 2; ++i) {
    const double a = (angleDeg + i * 180.0 / points) * kPi / 180.0;
    const double r = (i % 2 == 0) ? rOuter : rInner;
    pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  FillPolygon(pts, c);
}

void Canvas::Draw(const Canvas& src, int x, int y, bool blend) {
  for (int j = 0; j < src.height(); ++j)
    for (int i = 0; i < src.width(); ++i) {
      const Rgba p = src.Get(i, j);
      if (blend) Blend(x + i, y + j, p);
      else Set(x + i, y + j, p);
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(i, j, Get(x + i, y + j));
  return out;
}

void Canvas::MakeKeySafe() {
  for (Rgba& p : pixels_) {
    if (p.a == 0) p = Rgba{};
    else if (p.r == 0 && p.g == 0 && p.b == 0) p = Rgba{1, 1, 1, p.a};
  }
}

Canvas RotateClockwise(const Canvas& src) {
  Canvas out(src.height(), src.width());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) out.Set(src.height() - 1 - y, x, src.Get(x, y));
  return out;
}

}  // namespace datagen
