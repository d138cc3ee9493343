#include "figures.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.141592653589793;

Rgba C(int r, int g, int b) { return MakeRgba(r, g, b); }

const Rgba kSkin = C(255, 228, 210);

}  // namespace

FigureStyle PlayerStyle(int c) {
  switch (c) {
    case 0: return {C(60, 40, 36), C(220, 40, 50), C(255, 255, 255), C(160, 40, 40), kSkin, Accessory::kLantern, true};
    case 1: return {C(200, 230, 255), C(70, 110, 200), C(240, 250, 255), C(60, 120, 220), kSkin, Accessory::kWitchHat, false};
    case 2: return {C(150, 80, 30), C(200, 120, 40), C(250, 210, 90), C(140, 70, 20), kSkin, Accessory::kCrowWings, false};
    case 3: return {C(250, 210, 60), C(120, 60, 170), C(250, 240, 120), C(200, 150, 20), kSkin, Accessory::kDrum, true};
    default: return {C(40, 40, 70), C(240, 240, 250), C(250, 220, 120), C(200, 60, 90), kSkin, Accessory::kRabbitEars, true};
  }
}

FigureStyle OtherStyle(int set) {
  static const FigureStyle s[16] = {
      {C(240, 245, 255), C(150, 200, 240), C(255, 255, 255), C(70, 120, 200), kSkin, Accessory::kRibbon, false},
      {C(250, 170, 60), C(240, 110, 40), C(255, 240, 200), C(230, 120, 20), kSkin, Accessory::kFoxEars, true},
      {C(90, 60, 160), C(120, 180, 90), C(240, 80, 80), C(200, 40, 60), kSkin, Accessory::kUmbrella, false},
      {C(160, 230, 240), C(90, 200, 230), C(240, 255, 255), C(40, 160, 200), kSkin, Accessory::kHalo, true},
      {C(230, 240, 250), C(170, 170, 220), C(250, 250, 255), C(120, 110, 200), kSkin, Accessory::kButterfly, false},
      {C(30, 30, 40), C(50, 50, 70), C(200, 60, 60), C(220, 40, 40), kSkin, Accessory::kCrowWings, false},
      {C(40, 30, 40), C(220, 220, 230), C(210, 40, 50), C(180, 30, 40), kSkin, Accessory::kCrowWings, false},
      {C(235, 240, 255), C(250, 250, 255), C(160, 200, 240), C(100, 160, 230), C(245, 245, 255), Accessory::kVeil, true},
      {C(120, 200, 220), C(70, 140, 190), C(200, 250, 255), C(40, 120, 180), kSkin, Accessory::kButterfly, true},
      {C(170, 170, 180), C(110, 120, 130), C(220, 220, 230), C(90, 100, 120), kSkin, Accessory::kVeil, false},
      {C(230, 60, 70), C(60, 120, 200), C(255, 220, 220), C(220, 40, 40), kSkin, Accessory::kHorns, false},
      {C(30, 40, 80), C(240, 240, 250), C(200, 40, 50), C(80, 90, 200), kSkin, Accessory::kHalo, true},
      {C(250, 190, 80), C(200, 120, 30), C(255, 230, 150), C(220, 130, 20), kSkin, Accessory::kCrown, true},
      {C(60, 170, 160), C(40, 110, 140), C(180, 240, 230), C(30, 150, 130), kSkin, Accessory::kVeil, true},
      {C(255, 200, 100), C(120, 60, 20), C(255, 240, 180), C(255, 150, 0), C(250, 220, 190), Accessory::kCrown, true},
      {C(80, 80, 90), C(60, 60, 70), C(120, 120, 130), C(200, 200, 200), kSkin, Accessory::kNone, false},
  };
  return s[(set >= 0 && set < 16) ? set : 15];
}

void OutlineRegion(Canvas& c, int x, int y, int w, int h, Rgba outline) {
  std::vector<uint8_t> solid(static_cast<size_t>(w) * h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) solid[static_cast<size_t>(j) * w + i] = c.Get(x + i, y + j).a >= 96;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (solid[static_cast<size_t>(j) * w + i] || c.Get(x + i, y + j).a > 0) continue;
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int u = i + dx, v = j + dy;
          if (u >= 0 && v >= 0 && u < w && v < h && solid[static_cast<size_t>(v) * w + u]) {
            edge = true;
            break;
          }
        }
      if (edge) c.Set(x + i, y + j, outline);
    }
}

// ---- Figure ----

namespace {

struct Frame {
  double ox, oy, s;  // design unit (32 x 48 box) to pixels
  double X(double u) const { return ox + u * s; }
  double Y(double v) const { return oy + v * s; }
};

void DrawAccessoryBack(Canvas& t, const Frame& f, const FigureStyle& st, double hx, double hy, int step) {
  if (st.accessory == Accessory::kCrowWings || st.accessory == Accessory::kButterfly) {
    const double flap = (step == 1 ? 1.0 : step == 2 ? 2.0 : 0.0);
    const Rgba wing = st.accessory == Accessory::kCrowWings ? Shade(st.hair, 0.8) : Rgba{200, 240, 255, 170};
    for (int side = -1; side <= 1; side += 2) {
      t.FillEllipse(f.X(16 + side * 9), f.Y(hy + 14 - flap), 7 * f.s, 3.2 * f.s, wing, side * (30 + flap * 8));
      if (st.accessory == Accessory::kButterfly)
        t.FillEllipse(f.X(16 + side * 7), f.Y(hy + 21 - flap * 0.5), 4 * f.s, 2.5 * f.s, wing, side * -20);
    }
  }
  if (st.longHair) t.FillEllipse(f.X(hx), f.Y(hy + 9), 8.5 * f.s, 12 * f.s, Shade(st.hair, 0.85));
}

void DrawAccessoryFront(Canvas& t, const Frame& f, const FigureStyle& st, double hx, double hy, int step) {
  const double s = f.s;
  switch (st.accessory) {
    case Accessory::kRibbon:
      t.FillEllipse(f.X(hx - 4), f.Y(hy - 7), 3.2 * s, 2 * s, st.accent, -20);
      t.FillEllipse(f.X(hx + 4), f.Y(hy - 7), 3.2 * s, 2 * s, st.accent, 20);
      t.FillCircle(f.X(hx), f.Y(hy - 7), 1.4 * s, Shade(st.accent, 0.8));
      break;
    case Accessory::kWitchHat:
      t.FillPolygon({{f.X(hx - 10), f.Y(hy - 5)}, {f.X(hx + 10), f.Y(hy - 5)}, {f.X(hx + 3), f.Y(hy - 16)}},
                    Shade(st.dress, 0.7));
      t.FillEllipse(f.X(hx), f.Y(hy - 5), 11 * s, 2.2 * s, Shade(st.dress, 0.6));
      t.FillStar(f.X(hx + 2), f.Y(hy - 10), 2.2 * s, 1 * s, 5, -90, st.accent);
      break;
    case Accessory::kFoxEars:
    case Accessory::kRabbitEars: {
      const bool rabbit = st.accessory == Accessory::kRabbitEars;
      for (int side = -1; side <= 1; side += 2) {
        if (rabbit) {
          t.FillEllipse(f.X(hx + side * 3.5), f.Y(hy - 11), 2 * s, 6 * s, st.dress, side * 12);
          t.FillEllipse(f.X(hx + side * 3.5), f.Y(hy - 11), 0.9 * s, 4.5 * s, C(250, 190, 200), side * 12);
        } else {
          t.FillPolygon({{f.X(hx + side * 2), f.Y(hy - 5)}, {f.X(hx + side * 8), f.Y(hy - 4)},
                         {f.X(hx + side * 6), f.Y(hy - 12)}},
                        st.hair);
        }
      }
      break;
    }
    case Accessory::kHorns:
      for (int side = -1; side <= 1; side += 2)
        t.FillPolygon({{f.X(hx + side * 3), f.Y(hy - 5)}, {f.X(hx + side * 6), f.Y(hy - 5)},
                       {f.X(hx + side * 6), f.Y(hy - 12)}},
                      C(250, 240, 200));
      break;
    case Accessory::kHalo:
      t.Ring(f.X(hx), f.Y(hy - 9), 5 * s, 1.3 * s, C(255, 240, 150));
      break;
    case Accessory::kCrown:
      t.FillPolygon({{f.X(hx - 5), f.Y(hy - 6)}, {f.X(hx + 5), f.Y(hy - 6)}, {f.X(hx + 5), f.Y(hy - 11)},
                     {f.X(hx + 2.5), f.Y(hy - 8)}, {f.X(hx), f.Y(hy - 12)}, {f.X(hx - 2.5), f.Y(hy - 8)},
                     {f.X(hx - 5), f.Y(hy - 11)}},
                    C(255, 210, 60));
      t.FillCircle(f.X(hx), f.Y(hy - 7.5), 1.1 * s, C(220, 60, 80));
      break;
    case Accessory::kVeil:
      t.FillEllipse(f.X(hx), f.Y(hy - 3), 9.5 * s, 5 * s, Rgba{st.accent.r, st.accent.g, st.accent.b, 150});
      break;
    case Accessory::kUmbrella: {
      const double ux = hx + 9, uy = hy - 6 + step * 0.4;
      t.Line(f.X(ux), f.Y(uy), f.X(ux - 1), f.Y(uy + 22), 1.2 * s, C(120, 80, 40));
      t.FillPolygon({{f.X(ux - 9), f.Y(uy + 1)}, {f.X(ux + 9), f.Y(uy + 1)}, {f.X(ux), f.Y(uy - 7)}}, st.dress);
      t.FillCircle(f.X(ux - 2), f.Y(uy - 2), 1.5 * s, C(255, 255, 255));
      t.FillCircle(f.X(ux - 2), f.Y(uy - 2), 0.7 * s, C(20, 20, 20));
      break;
    }
    case Accessory::kLantern:
      t.Line(f.X(hx - 11), f.Y(hy + 10), f.X(hx - 11), f.Y(hy + 15), 0.8 * f.s, C(90, 60, 30));
      t.FillEllipse(f.X(hx - 11), f.Y(hy + 19), 3 * s, 4 * s, C(255, 180, 80));
      t.Glow(f.X(hx - 11), f.Y(hy + 19), 5 * s, C(255, 230, 150), 1.5);
      t.Ring(f.X(hx + 0), f.Y(hy - 7), 2.5 * s, 1.5 * s, st.accent);
      break;
    case Accessory::kDrum:
      t.FillEllipse(f.X(hx + 10), f.Y(hy + 20), 4 * s, 3.2 * s, C(200, 60, 40));
      t.FillEllipse(f.X(hx + 10), f.Y(hy + 18.5), 4 * s, 1.6 * s, C(250, 235, 200));
      t.FillStar(f.X(hx), f.Y(hy - 8), 2.6 * s, 1.2 * s, 4, -90, st.accent);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawFigure(Canvas& c, int x, int y, int w, int h, const FigureStyle& st, Pose pose, int step) {
  Canvas t(w, h);
  Frame f;
  f.s = std::min(w / 32.0, h / 48.0) * 0.94;
  f.ox = (w - 32 * f.s) / 2;
  f.oy = (h - 48 * f.s) / 2 + 1;
  const double lean = pose == Pose::kLeft ? -1.0 : (pose == Pose::kRight ? 1.0 : 0.0);
  const double bob = step * 0.6;
  const double hx = 16 + lean * 1.8, hy = 13 + bob;
  const double sway = (step - 1) * 0.8;
  DrawAccessoryBack(t, f, st, hx, hy, step);
  // Legs.
  t.Line(f.X(14 + lean), f.Y(38), f.X(13.5 + lean * 2), f.Y(46), 2.2 * f.s, Shade(st.skin, 0.9));
  t.Line(f.X(18 + lean), f.Y(38), f.X(18.5 + lean * 2), f.Y(46), 2.2 * f.s, Shade(st.skin, 0.9));
  // Arms (behind the dress for the still pose).
  const Rgba sleeve = Shade(st.dress, 0.85);
  auto arm = [&](double sx, double sy, double ex, double ey) {
    t.Line(f.X(sx), f.Y(sy), f.X(ex), f.Y(ey), 2.6 * f.s, sleeve);
    t.FillCircle(f.X(ex), f.Y(ey), 1.5 * f.s, st.skin);
  };
  // Dress.
  const double hem = 40 + bob * 0.3;
  t.FillPolygon({{f.X(hx - 4), f.Y(hy + 8)}, {f.X(hx + 4), f.Y(hy + 8)},
                 {f.X(25 + lean * 2 + sway), f.Y(hem)}, {f.X(7 + lean * 2 + sway), f.Y(hem)}},
                st.dress);
  t.FillPolygon({{f.X(7 + lean * 2 + sway), f.Y(hem - 2.5)}, {f.X(25 + lean * 2 + sway), f.Y(hem - 2.5)},
                 {f.X(25 + lean * 2 + sway), f.Y(hem)}, {f.X(7 + lean * 2 + sway), f.Y(hem)}},
                st.accent);
  t.FillEllipse(f.X(hx), f.Y(hy + 10), 2.4 * f.s, 1.6 * f.s, st.accent);
  switch (pose) {
    case Pose::kStill:
      arm(hx - 4, hy + 10, hx - 8, hy + 20 + sway * 0.5);
      arm(hx + 4, hy + 10, hx + 8, hy + 20 - sway * 0.5);
      break;
    case Pose::kLeft:
      arm(hx - 4, hy + 10, hx - 12, hy + 13 + sway);
      arm(hx + 4, hy + 10, hx + 6, hy + 20);
      break;
    case Pose::kRight:
      arm(hx - 4, hy + 10, hx - 6, hy + 20);
      arm(hx + 4, hy + 10, hx + 12, hy + 13 + sway);
      break;
    case Pose::kCast: {
      arm(hx - 4, hy + 10, hx - 10, hy + 2);
      arm(hx + 4, hy + 10, hx + 10, hy + 2);
      const double r = (3.0 + step) * f.s;
      t.Glow(f.X(hx), f.Y(hy - 11), r * 1.8, st.accent, 1.2);
      t.FillStar(f.X(hx), f.Y(hy - 11), r, r * 0.45, 5, -90 + step * 24, st.eyes);
      break;
    }
  }
  // Head, hair and face.
  t.FillCircle(f.X(hx), f.Y(hy), 7.2 * f.s, st.skin);
  t.FillEllipse(f.X(hx), f.Y(hy - 3), 8 * f.s, 5 * f.s, st.hair);
  t.FillEllipse(f.X(hx - 6.2), f.Y(hy + 2), 2.2 * f.s, 5 * f.s, st.hair, 10);
  t.FillEllipse(f.X(hx + 6.2), f.Y(hy + 2), 2.2 * f.s, 5 * f.s, st.hair, -10);
  const double look = lean * 1.6;
  for (int side = -1; side <= 1; side += 2) {
    if (pose == Pose::kCast) {
      t.Line(f.X(hx + side * 2.8 + look - 1), f.Y(hy + 1.5), f.X(hx + side * 2.8 + look + 1), f.Y(hy + 1.5),
             0.9 * f.s, Shade(st.eyes, 0.6));
    } else {
      t.FillEllipse(f.X(hx + side * 2.8 + look), f.Y(hy + 1.3), 1.2 * f.s, 1.8 * f.s, st.eyes);
      t.FillCircle(f.X(hx + side * 2.8 + look - 0.3), f.Y(hy + 0.6), 0.45 * f.s, C(255, 255, 255));
    }
  }
  DrawAccessoryFront(t, f, st, hx, hy, step);
  OutlineRegion(t, 0, 0, w, h, C(24, 20, 36));
  t.MakeKeySafe();
  c.Draw(t, x, y);
}

void DrawPortrait(Canvas& c, int x, int y, int w, int h, const FigureStyle& st0, bool silhouette) {
  FigureStyle st = st0;
  Canvas t(w, h);
  Frame f;
  // The bust is the top of a figure at about 7.5 times the sprite scale.
  f.s = w / 32.0 * 1.05;
  f.ox = (w - 32 * f.s) / 2;
  f.oy = h * 0.04;
  const double hx = 16, hy = 13;
  DrawAccessoryBack(t, f, st, hx, hy, 1);
  // Shoulders and body, cut by the cell's bottom.
  t.FillPolygon({{f.X(hx - 6), f.Y(hy + 8)}, {f.X(hx + 6), f.Y(hy + 8)}, {f.X(hx + 15), f.Y(hy + 40)},
                 {f.X(hx - 15), f.Y(hy + 40)}},
                st.dress);
  t.FillPolygon({{f.X(hx - 3), f.Y(hy + 8)}, {f.X(hx + 3), f.Y(hy + 8)}, {f.X(hx), f.Y(hy + 16)}}, st.accent);
  t.FillEllipse(f.X(hx), f.Y(hy + 7.8), 2.2 * f.s, 1.2 * f.s, st.skin);
  t.FillCircle(f.X(hx), f.Y(hy), 7.2 * f.s, st.skin);
  t.FillEllipse(f.X(hx), f.Y(hy - 3), 8 * f.s, 5 * f.s, st.hair);
  t.FillEllipse(f.X(hx - 6.2), f.Y(hy + 2), 2.2 * f.s, 5 * f.s, st.hair, 10);
  t.FillEllipse(f.X(hx + 6.2), f.Y(hy + 2), 2.2 * f.s, 5 * f.s, st.hair, -10);
  for (int side = -1; side <= 1; side += 2) {
    const double ex = f.X(hx + side * 2.8), ey = f.Y(hy + 1.5);
    t.FillEllipse(ex, ey, 1.25 * f.s, 1.9 * f.s, C(255, 255, 255));
    t.FillEllipse(ex, ey + 0.2 * f.s, 1.05 * f.s, 1.6 * f.s, st.eyes);
    t.FillCircle(ex, ey + 0.5 * f.s, 0.5 * f.s, Shade(st.eyes, 0.4));
    t.FillCircle(ex - 0.35 * f.s, ey - 0.5 * f.s, 0.4 * f.s, C(255, 255, 255));
    t.Line(ex - 1.3 * f.s, ey - 2.1 * f.s, ex + 1.3 * f.s, ey - 2.3 * f.s, 0.35 * f.s, Shade(st.hair, 0.6));
  }
  t.Line(f.X(hx - 0.8), f.Y(hy + 4.6), f.X(hx + 0.8), f.Y(hy + 4.6), 0.3 * f.s, C(180, 90, 90));
  t.FillEllipse(f.X(hx - 4.5), f.Y(hy + 3.6), 1.2 * f.s, 0.6 * f.s, Rgba{255, 150, 150, 110});
  t.FillEllipse(f.X(hx + 4.5), f.Y(hy + 3.6), 1.2 * f.s, 0.6 * f.s, Rgba{255, 150, 150, 110});
  DrawAccessoryFront(t, f, st, hx, hy, 1);
  OutlineRegion(t, 0, 0, w, h, C(24, 20, 36));
  if (silhouette) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const Rgba p = t.Get(i, j);
        if (p.a) t.Set(i, j, Rgba{40, 40, 56, p.a});
      }
  }
  t.MakeKeySafe();
  c.Draw(t, x, y);
}

void DrawEnemy(Canvas& c, int x, int y, int set, int row, int step) {
  Canvas t(32, 32);
  // Shape and hue both change along a row of sets and down a column, so no two sets look alike.
  const int shape = (set % 8 + set / 8) % 4;
  const double hue = std::fmod((set % 8) * 45.0 + (set / 8) * 19.0 + 10.0, 360.0);
  const Rgba main = Hsv(hue, 0.65, 0.95), dark = Hsv(hue, 0.8, 0.55), light = Hsv(hue, 0.25, 1.0);
  const double dir = row == 1 ? -1.0 : (row == 2 ? 1.0 : 0.0);
  const double flap = step * 1.5;
  const double cx = 16 + dir * 1.5;
  switch (shape) {
    case 0: {  // fairy
      for (int side = -1; side <= 1; side += 2) {
        const double ang = side * (35 - flap * 8) + dir * 10;
        t.FillEllipse(16 - dir * 2 + side * 7, 13 - flap * 0.5, 6.5, 3, Rgba{light.r, light.g, light.b, 170}, ang);
      }
      t.FillPolygon({{cx - 3, 15}, {cx + 3, 15}, {cx + 6 + dir, 27}, {cx - 6 + dir, 27}}, main);
      t.FillCircle(cx, 11, 5.2, C(255, 228, 210));
      t.FillEllipse(cx, 8.5, 5.6, 3.2, dark);
      t.FillCircle(cx - 2 + dir * 1.2, 11.5, 0.9, dark);
      t.FillCircle(cx + 2 + dir * 1.2, 11.5, 0.9, dark);
      break;
    }
    case 1: {  // wisp
      t.FillPolygon({{cx - 7, 16}, {cx + 7, 16}, {16 - dir * 10, 29.0 - step}}, Rgba{main.r, main.g, main.b, 200});
      t.Glow(cx, 14, 12, light, 1.5);
      t.FillCircle(cx, 14, 7, main);
      t.FillCircle(cx - 2.5 + dir * 2, 13, 1.6, C(255, 255, 255));
      t.FillCircle(cx + 2.5 + dir * 2, 13, 1.6, C(255, 255, 255));
      t.FillCircle(cx - 2.5 + dir * 2.4, 13.3, 0.8, C(30, 20, 40));
      t.FillCircle(cx + 2.5 + dir * 2.4, 13.3, 0.8, C(30, 20, 40));
      break;
    }
    case 2: {  // snow spirit
      t.FillCircle(16, 20, 8.5, C(240, 246, 255));
      t.FillCircle(cx, 10, 6, C(250, 252, 255));
      t.FillEllipse(cx, 15.5, 6.5, 2, main);
      t.Line(8, 19, 2 + dir * 2, 14 - flap, 1.2, C(120, 80, 40));
      t.Line(24, 19, 30 + dir * 2, 14 - flap, 1.2, C(120, 80, 40));
      t.FillCircle(cx - 2 + dir * 1.5, 9.5, 1.0, C(30, 30, 40));
      t.FillCircle(cx + 2 + dir * 1.5, 9.5, 1.0, C(30, 30, 40));
      t.FillPolygon({{cx - 6, 6}, {cx + 6, 6}, {cx, 1}}, dark);
      break;
    }
    default: {  // bird
      const double wing = 8 - flap * 2;
      t.FillEllipse(cx, 17, 6, 7, dark);
      t.FillPolygon({{cx - 4, 15}, {cx - 14, 15 - wing}, {cx - 10, 21}}, main);
      t.FillPolygon({{cx + 4, 15}, {cx + 14, 15 - wing}, {cx + 10, 21}}, main);
      t.FillCircle(cx + dir * 2, 9, 4.5, dark);
      t.FillPolygon({{cx + dir * 4 - 1.5, 10}, {cx + dir * 4 + 1.5, 10}, {cx + dir * 7, 13}}, C(250, 200, 60));
      t.FillCircle(cx + dir * 2.5 - 1.5, 8.5, 1.0, C(255, 80, 60));
      t.FillCircle(cx + dir * 2.5 + 1.5, 8.5, 1.0, C(255, 80, 60));
      break;
    }
  }
  OutlineRegion(t, 0, 0, 32, 32, C(24, 20, 36));
  t.MakeKeySafe();
  c.Draw(t, x, y);
}

void DrawFamiliar(Canvas& c, int x, int y, int index, bool slowRow) {
  Canvas t(64, 64);
  const double hue = std::fmod(200.0 + index * 67.0, 360.0);
  const int alpha = slowRow ? 150 : 255;
  const Rgba core = Hsv(hue, 0.55, 1.0, alpha), ring = Hsv(hue, 0.8, 0.9, alpha);
  t.Glow(32, 32, 30, Hsv(hue, 0.4, 1.0, slowRow ? 90 : 160), 1.6);
  t.Ring(32, 32, 20, 2.0, ring);
  for (int k = 0; k < 6; ++k) {
    const double a = (k * 60.0 + index * 15.0) * kPi / 180.0;
    t.FillStar(32 + 20 * std::cos(a), 32 + 20 * std::sin(a), 4.5, 2, 4, k * 15.0, core);
  }
  t.FillCircle(32, 32, 9, core);
  t.FillCircle(29, 29, 3, Rgba{255, 255, 255, static_cast<uint8_t>(alpha)});
  if (slowRow) t.Ring(32, 32, 27, 1.0, Rgba{255, 255, 255, 120});
  t.MakeKeySafe();
  c.Draw(t, x, y);
}

}  // namespace datagen
