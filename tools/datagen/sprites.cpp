// Sprite sheets: enemy bullets, items, the player sheet with shots and options,
// enemies and familiars, bosses, and the portrait sheets.
#include <algorithm>
#include <cmath>

#include "figures.h"
#include "font.h"
#include "layout.h"
#include "pixfont.h"
#include "sheets.h"
#include "texts.h"

namespace datagen {

namespace {

constexpr double kPi = 3.141592653589793;

Rgba C(int r, int g, int b, int a = 255) { return MakeRgba(r, g, b, a); }

// ---- Bullets ----

void Round(Canvas& t, double cx, double cy, double r, Rgba hue) {
  t.FillCircle(cx, cy, r, Shade(hue, 0.75));
  t.FillCircle(cx, cy, r * 0.78, hue);
  t.FillCircle(cx, cy, r * 0.45, Mix(hue, C(255, 255, 255), 0.85));
}

// An upward-pointing shape made of a polygon with a bright core.
void Pointed(Canvas& t, const RectI& r, Rgba hue, int style) {
  const double cx = r.x + r.w / 2.0, top = r.y + 0.5, bot = r.y + r.h - 0.5;
  const double hw = r.w / 2.0 - 0.5;
  const Rgba light = Mix(hue, C(255, 255, 255), 0.8);
  t.SetClip(r.x, r.y, r.w, r.h);  // nothing spills into a neighbouring cell
  switch (style) {
    case 0:  // rice grain
      t.FillEllipse(cx, (top + bot) / 2, hw, (bot - top) / 2, hue);
      t.FillEllipse(cx, (top + bot) / 2, hw * 0.45, (bot - top) / 2 * 0.6, light);
      break;
    case 1:  // needle
      t.FillPolygon({{cx, top}, {cx + hw, bot - r.h * 0.3}, {cx, bot}, {cx - hw, bot - r.h * 0.3}}, hue);
      t.FillPolygon({{cx, top + r.h * 0.2}, {cx + hw * 0.4, bot - r.h * 0.35}, {cx - hw * 0.4, bot - r.h * 0.35}}, light);
      break;
    case 2:  // arrowhead
      t.FillPolygon({{cx, top}, {cx + hw, top + r.h * 0.55}, {cx + hw * 0.35, top + r.h * 0.45},
                     {cx + hw * 0.35, bot}, {cx - hw * 0.35, bot}, {cx - hw * 0.35, top + r.h * 0.45},
                     {cx - hw, top + r.h * 0.55}},
                    hue);
      t.Line(cx, top + r.h * 0.2, cx, bot - 1, std::max(1.0, hw * 0.4), light);
      break;
    case 3:  // scale
      t.FillPolygon({{cx, top}, {cx + hw, bot - hw}, {cx, bot}, {cx - hw, bot - hw}}, hue);
      t.FillEllipse(cx, bot - hw - 1, hw * 0.5, hw * 0.5, light);
      break;
    case 4:  // drop
      t.FillCircle(cx, bot - hw, hw, hue);
      t.FillPolygon({{cx, top}, {cx + hw * 0.9, bot - hw}, {cx - hw * 0.9, bot - hw}}, hue);
      t.FillCircle(cx, bot - hw, hw * 0.5, light);
      break;
    case 6: {  // snowflake with a longer upper arm
      for (int k = 0; k < 6; ++k) {
        const double a = (-90 + k * 60) * kPi / 180.0;
        const double len = (k == 0 ? 1.0 : 0.8) * hw;
        t.Line(cx, r.y + r.h / 2.0, cx + len * std::cos(a), r.y + r.h / 2.0 + len * std::sin(a), 2.0, hue);
      }
      t.FillCircle(cx, r.y + r.h / 2.0, hw * 0.3, light);
      break;
    }
    case 7: {  // comet: bright head at the top, tail below
      const double hr = std::min(hw, r.h * 0.22);
      t.FillPolygon({{cx - hr * 0.9, top + hr}, {cx + hr * 0.9, top + hr}, {cx, bot}}, Rgba{hue.r, hue.g, hue.b, 190});
      Round(t, cx, top + hr, hr, hue);
      break;
    }
    case 10: {  // four-pointed ice star, its upper point the longest
      const double cy = r.y + r.h * 0.55, k = hw * 0.3;
      t.FillPolygon({{cx, top}, {cx + k, cy - k}, {cx + hw, cy}, {cx + k, cy + k}, {cx, bot}, {cx - k, cy + k},
                     {cx - hw, cy}, {cx - k, cy - k}},
                    hue);
      t.FillCircle(cx, cy, std::max(1.0, hw * 0.3), light);
      break;
    }
    case 9: {  // kunai: a pointed blade over a short grip with a ring
      const double ring = std::max(1.0, hw * 0.75);
      t.FillPolygon({{cx, top}, {cx + hw, r.y + r.h * 0.5}, {cx + hw * 0.35, r.y + r.h * 0.62},
                     {cx - hw * 0.35, r.y + r.h * 0.62}, {cx - hw, r.y + r.h * 0.5}},
                    light);
      t.FillPolygon({{cx, top + 2}, {cx + hw * 0.45, r.y + r.h * 0.5}, {cx - hw * 0.45, r.y + r.h * 0.5}}, hue);
      t.Line(cx, r.y + r.h * 0.62, cx, bot - ring * 2, std::max(1.0, hw * 0.5), Shade(hue, 0.7));
      t.Ring(cx, bot - ring, ring, 1.0, hue);
      break;
    }
    default:  // amulet card with a point
      t.FillPolygon({{cx, top}, {cx + hw, top + hw}, {cx + hw, bot}, {cx - hw, bot}, {cx - hw, top + hw}}, light);
      t.FillPolygon({{cx, top + 3}, {cx + hw - 3, top + hw + 1}, {cx + hw - 3, bot - 3}, {cx - hw + 3, bot - 3},
                     {cx - hw + 3, top + hw + 1}},
                    hue);
      break;
  }
  t.ResetClip();
}

void AdditiveOrb(Canvas& t, const RectI& r, Rgba hue) {
  const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, rad = r.w / 2.0 - 0.5;
  t.SetClip(r.x, r.y, r.w, r.h);
  t.Glow(cx, cy, rad, Shade(hue, 0.9), 1.2, true);
  t.Glow(cx, cy, rad * 0.6, hue, 0.9, true);
  t.Glow(cx, cy, rad * 0.35, C(255, 255, 255), 0.8, true);
  t.ResetClip();
}

}  // namespace

Rgba BulletHue(int i) {
  static const double hues[9] = {0, 28, 55, 120, 165, 195, 225, 270, 315};
  if (i == 9) return C(235, 235, 240);
  return Hsv(hues[(i % 10 + 10) % 10 % 9], 0.85, 1.0);
}

Canvas MakeBulletSheet() {
  Canvas t(512, 512);
  for (int type = 0; type < 172; ++type) {
    const RectI r = BulletRect(type);
    const Rgba hue = BulletHue(type % 10);
    const int fam = type / 10;
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0;
    switch (fam) {
      case 0: case 1: case 2: Round(t, cx, cy, r.w / 2.0 - 0.5, hue); break;
      case 3: Pointed(t, r, hue, 0); break;
      case 4: Pointed(t, r, hue, 1); break;
      case 5: Pointed(t, r, hue, 2); break;
      case 6: Pointed(t, r, hue, 3); break;
      case 7: case 13: AdditiveOrb(t, r, hue); break;
      case 8: Pointed(t, r, hue, 8); break;
      case 9: Pointed(t, r, hue, 4); break;
      case 10: Pointed(t, r, hue, 1); break;
      case 11: Pointed(t, r, hue, 0); break;
      case 12: Pointed(t, r, hue, 10); break;
      case 14: Pointed(t, r, hue, 6); break;
      case 15: Pointed(t, r, hue, 7); break;
      case 16: Pointed(t, r, hue, 9); break;
      default:
        if (type == 170) AdditiveOrb(t, r, C(255, 120, 200));
        else Pointed(t, r, C(180, 220, 255), 1);
        break;
    }
  }
  return t;
}

Canvas MakeItemSheet() {
  Canvas t(128, 32);
  static const Rgba colors[8] = {C(230, 40, 40),  C(230, 40, 40),  C(60, 110, 240), C(40, 190, 70),
                                 C(230, 60, 200), C(250, 230, 90), C(250, 200, 30), C(40, 220, 230)};
  const char* const* labels = Titles().itemLabels;
  for (int k = 0; k < 8; ++k) {
    const int x = k * 16;
    const Rgba col = colors[k];
    if (k == 5) {
      t.FillStar(x + 8, 8, 6, 2.6, 5, -90, col);
    } else if (k == 4) {
      t.FillStar(x + 8, 8, 8, 4.2, 5, -90, col);
    } else {
      const double half = k == 1 ? 7.5 : 6.0;
      t.FillRect(static_cast<int>(x + 8 - half), static_cast<int>(8 - half), static_cast<int>(half * 2),
                 static_cast<int>(half * 2), Shade(col, 0.6));
      t.FillRect(static_cast<int>(x + 9 - half), static_cast<int>(9 - half), static_cast<int>(half * 2 - 2),
                 static_cast<int>(half * 2 - 2), col);
    }
    if (k == 4) {  // extra life: its word in the tiny bitmap font, with a shadow
      DrawPixelText(t, x + 3, 7, labels[k], C(90, 0, 60));
      DrawPixelText(t, x + 2, 6, labels[k], C(255, 255, 255));
    } else if (labels[k][0]) {
      TextStyle st;
      st.size = k == 4 ? 7 : (k == 1 ? 12 : 10);
      st.bold = true;
      st.color = C(255, 255, 255);
      DrawTextCentered(t, x + 8, 8, labels[k], st);
    }
    // Marker above the field: an upward arrow in the kind's colour.
    t.FillPolygon({{x + 8.0, 17.0}, {x + 15.0, 26.0}, {x + 11.0, 26.0}, {x + 11.0, 31.0}, {x + 5.0, 31.0},
                   {x + 5.0, 26.0}, {x + 1.0, 26.0}},
                  col);
    if (k == 1) {  // the big power item's marker: a white arrowhead inside, set apart from kind 0
      t.FillPolygon({{x + 8.0, 19.0}, {x + 12.5, 25.0}, {x + 3.5, 25.0}}, C(255, 255, 255));
    } else {
      t.FillCircle(x + 8, 24, 1.5, C(255, 255, 255));
    }
  }
  t.MakeKeySafe();
  return t;
}

namespace {

// The player's own shots fly in dense volleys over the enemy bullets, so they
// never look like them: each is a slim see-through streak along the sprite's
// height (the game turns a sprite's top toward the shot's heading), a soft body
// of the character's colour round a light core. Both layers are drawn opaque in
// the cell, then laid on the sheet at their own strength, so crossing strokes
// do not build up.
enum class ShotLook { kCard, kShard, kSpark, kBolt, kDrop };
constexpr double kShotBodyAlpha = 100 / 255.0, kShotCoreAlpha = 220 / 255.0;

// A zigzag down the middle of a w x h cell: n strokes swinging `swing` pixels to either side.
std::vector<Point> Zigzag(double w, double h, int n, double inset, double swing, int seed) {
  std::vector<Point> pts;
  for (int i = 0; i <= n; ++i) {
    const double off = (i == 0 || i == n) ? 0 : ((i + seed) % 2 ? 1 : -1) * swing;
    pts.push_back({w / 2 + off, inset + (h - 2 * inset) * i / n});
  }
  return pts;
}

void PlayerShot(Canvas& t, const RectI& r, Rgba hue, ShotLook look, int seed = 0) {
  Canvas body(r.w, r.h), core(r.w, r.h);
  const Rgba light = Mix(hue, C(255, 255, 255), 0.6);
  const double cx = r.w / 2.0, h = r.h;
  auto strokes = [&](const std::vector<Point>& pts, double bodyWidth, double coreWidth) {
    for (size_t i = 1; i < pts.size(); ++i) {
      body.Line(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, bodyWidth, hue);
      core.Line(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, coreWidth, light);
    }
  };
  switch (look) {
    case ShotLook::kCard:  // a slim paper card, pointed at the front, its edges and spine light
      body.FillPolygon({{cx, 1}, {cx + 4, 5}, {cx + 4, h - 2}, {cx - 4, h - 2}, {cx - 4, 5}}, hue);
      core.Line(cx, 4, cx, h - 4, 1.4, light);
      core.Line(cx - 3.6, 6, cx - 3.6, h - 2.5, 0.7, light);
      core.Line(cx + 3.6, 6, cx + 3.6, h - 2.5, 0.7, light);
      break;
    case ShotLook::kShard:  // a narrow ice shard
      body.FillPolygon({{cx, 0.5}, {cx + 3.5, h * 0.55}, {cx, h - 0.5}, {cx - 3.5, h * 0.55}}, hue);
      core.Line(cx, 2.5, cx, h - 3, 1.5, light);
      break;
    case ShotLook::kSpark:  // a short spark of lightning in a faint spindle
      body.FillEllipse(cx, h / 2, 4, h / 2 - 2, hue);
      strokes(Zigzag(r.w, h, 4, 3, 2.2, seed), 2.4, 1.4);
      break;
    case ShotLook::kBolt:  // a thin bolt of lightning
      strokes(Zigzag(r.w, h, 6, 3, r.w * 0.18, seed), 4.5, 1.4);
      break;
    case ShotLook::kDrop:  // a slim drop, its round end behind
      body.FillCircle(cx, h - 3.5, 3, hue);
      body.FillPolygon({{cx, 0.5}, {cx + 2.8, h - 3.8}, {cx - 2.8, h - 3.8}}, hue);
      core.Line(cx, 3, cx, h - 3.5, 1.4, light);
      break;
  }
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) {
      t.Blend(r.x + x, r.y + y, body.Get(x, y), kShotBodyAlpha);
      t.Blend(r.x + x, r.y + y, core.Get(x, y), kShotCoreAlpha);
    }
}

void VerticalBeam(Canvas& t, const RectI& r, Rgba hue) {
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) {
      const double d = std::fabs((x + 0.5) - (r.x + r.w / 2.0)) / (r.w / 2.0);
      const double k = std::max(0.0, 1.0 - d);
      const double tip = std::min(1.0, (y - r.y + 0.5) / 12.0);  // soft far end
      const double core = std::pow(k, 3.0);
      const Rgba c = Mix(Shade(hue, k * tip), C(255, 255, 255), core * 0.8 * tip);
      t.Set(x, y, Rgba{c.r, c.g, c.b, static_cast<uint8_t>(std::lround(255 * std::min(1.0, k * 1.5) * tip))});
    }
}

// The third character's shot: a slim leaf, mostly see-through, with a bright
// rim and midrib so it reads as a leaf without hiding the bullets beneath its
// dense volleys.
void LeafShot(Canvas& t, const RectI& r, Rgba hue) {
  const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0;
  const Rgba rim = Mix(hue, C(255, 255, 255), 0.25);
  t.SetClip(r.x, r.y, r.w, r.h);
  const double rx = 4.5, ry = 22;
  t.FillEllipse(cx, cy, rx, ry, Rgba{hue.r, hue.g, hue.b, 80});
  const int steps = 36;
  for (int i = 0; i < steps; ++i) {
    const double a0 = 2 * kPi * i / steps, a1 = 2 * kPi * (i + 1) / steps;
    t.Line(cx + rx * std::cos(a0), cy + ry * std::sin(a0), cx + rx * std::cos(a1), cy + ry * std::sin(a1), 0.9,
           Rgba{rim.r, rim.g, rim.b, 170});
  }
  t.Line(cx, cy - 20, cx, cy + 27, 1.0, Rgba{rim.r, rim.g, rim.b, 210});
  for (int j = 0; j < 3; ++j) {
    const double y = cy - 8 + 9 * j;
    t.Line(cx, y, cx - 3, y - 4, 0.8, Rgba{rim.r, rim.g, rim.b, 130});
    t.Line(cx, y, cx + 3, y - 4, 0.8, Rgba{rim.r, rim.g, rim.b, 130});
  }
  t.ResetClip();
}

}  // namespace

Canvas MakePlayerSheet() {
  Canvas t(512, 640);
  for (int i = 0; i < 45; ++i) {
    const int row = i / 15, col = i % 15;
    DrawFigure(t, col * 32, row * 48, 32, 48, PlayerStyle(col / 3), static_cast<Pose>(row), col % 3);
  }
  // Hit marker.
  t.FillCircle(484, 4, 3.6, C(255, 60, 60));
  t.FillCircle(484, 4, 2.2, C(255, 255, 255));
  const Rgba thunder[7] = {C(250, 220, 60), C(230, 200, 90), C(240, 150, 250), C(255, 240, 120),
                           C(160, 140, 250), C(250, 180, 60), C(200, 240, 255)};
  for (int k = 0; k <= 6; ++k) PlayerShot(t, PlayerShotRect(k), thunder[k], ShotLook::kBolt, k);
  for (int k = 7; k <= 13; ++k) VerticalBeam(t, PlayerShotRect(k), C(250, 230, 120));
  PlayerShot(t, PlayerShotRect(14), C(250, 220, 60), ShotLook::kSpark);
  VerticalBeam(t, PlayerShotRect(15), C(255, 110, 60));
  VerticalBeam(t, PlayerShotRect(16), C(255, 170, 80));
  for (int k = 17; k <= 18; ++k)
    PlayerShot(t, PlayerShotRect(k), k == 17 ? C(230, 40, 60) : C(250, 120, 60), ShotLook::kCard);
  for (int k = 20; k <= 21; ++k)
    PlayerShot(t, PlayerShotRect(k), k == 20 ? C(150, 210, 255) : C(210, 240, 255), ShotLook::kShard);
  for (int k = 22; k <= 23; ++k) LeafShot(t, PlayerShotRect(k), k == 22 ? C(255, 160, 40) : C(255, 90, 60));
  for (int k = 24; k <= 25; ++k) {  // the bomb's broad leaves
    const RectI r = PlayerShotRect(k);
    const Rgba leaf = (k % 2 == 0) ? C(240, 120, 30) : C(220, 50, 40);
    t.FillEllipse(r.x + 16, r.y + 30, 10, 24, leaf);
    t.Line(r.x + 16, r.y + 8, r.x + 16, r.y + 60, 1.6, Shade(leaf, 0.55));
    for (int j = 0; j < 3; ++j) {
      t.Line(r.x + 16, r.y + 22 + j * 10, r.x + 9, r.y + 15 + j * 10, 1.0, Shade(leaf, 0.55));
      t.Line(r.x + 16, r.y + 22 + j * 10, r.x + 23, r.y + 15 + j * 10, 1.0, Shade(leaf, 0.55));
    }
  }
  VerticalBeam(t, PlayerShotRect(26), C(120, 250, 150));
  PlayerShot(t, PlayerShotRect(27), C(255, 250, 170), ShotLook::kDrop);
  {
    const RectI r = PlayerShotRect(28);
    Pointed(t, r, C(250, 200, 90), 7);
  }
  // Options: 0 the drum spirit, 2 the snowflake ring piece, 3 the glowing third character.
  {
    const RectI r = OptionRect(0);
    t.FillEllipse(r.x + 16, r.y + 26, 12, 15, C(200, 60, 40));
    t.FillEllipse(r.x + 16, r.y + 14, 12, 4, C(250, 235, 200));
    t.FillEllipse(r.x + 16, r.y + 38, 12, 4, C(250, 235, 200));
    t.FillStar(r.x + 16, r.y + 26, 6, 2.5, 3, -90, C(250, 220, 60));
    OutlineRegion(t, r.x, r.y, r.w, r.h, C(24, 20, 36));
  }
  {
    const RectI r = OptionRect(2);
    for (int k = 0; k < 6; ++k) {
      const double a = (k * 60 - 90) * kPi / 180.0;
      t.Line(r.x + 32, r.y + 32, r.x + 32 + 26 * std::cos(a), r.y + 32 + 26 * std::sin(a), 3.5, C(200, 235, 255));
      t.Line(r.x + 32 + 14 * std::cos(a), r.y + 32 + 14 * std::sin(a),
             r.x + 32 + 14 * std::cos(a) + 8 * std::cos(a + 0.8), r.y + 32 + 14 * std::sin(a) + 8 * std::sin(a + 0.8),
             2.0, C(200, 235, 255));
      t.Line(r.x + 32 + 14 * std::cos(a), r.y + 32 + 14 * std::sin(a),
             r.x + 32 + 14 * std::cos(a) + 8 * std::cos(a - 0.8), r.y + 32 + 14 * std::sin(a) + 8 * std::sin(a - 0.8),
             2.0, C(200, 235, 255));
    }
    t.FillCircle(r.x + 32, r.y + 32, 5, C(255, 255, 255));
  }
  {
    const RectI r = OptionRect(3);
    t.Glow(r.x + 16, r.y + 24, 16, C(255, 220, 120), 1.2);
    DrawFigure(t, r.x, r.y, r.w, r.h, PlayerStyle(2), Pose::kCast, 2);
  }
  t.MakeKeySafe();
  t.Set(0, 0, Rgba{});  // the invisible pulse shot's one pixel
  return t;
}

Canvas MakeZakoSheet() {
  Canvas t(1088, 512);
  for (int set = 0; set < 32; ++set)
    for (int row = 0; row < 3; ++row)
      for (int step = 0; step < 3; ++step) {
        const int cellRow = 3 * (set / 8) + row, cellCol = 3 * (set % 8) + step;
        DrawEnemy(t, cellCol * 32, cellRow * 32, set, row, step);
      }
  // Underlay: a slow magic circle drawn beneath strong enemies.
  {
    Canvas u(64, 64);
    u.Ring(32, 32, 29, 2, C(150, 200, 255, 200));
    u.Ring(32, 32, 22, 1.2, C(150, 200, 255, 170));
    u.FillStar(32, 32, 22, 9, 6, -90, C(120, 170, 255, 90));
    for (int k = 0; k < 12; ++k) {
      const double a = k * 30 * kPi / 180.0;
      u.FillCircle(32 + 25.5 * std::cos(a), 32 + 25.5 * std::sin(a), 1.3, C(220, 240, 255, 220));
    }
    u.MakeKeySafe();
    t.Draw(u, 0, 384);
  }
  for (int i = 0; i < 32; ++i) DrawFamiliar(t, 64 * ((i % 16) + 1), 64 * ((i / 16) + 6), i % 16, i < 16);
  return t;
}

Canvas MakeBossSheet() {
  Canvas t(960, 768);
  for (int set = 0; set < 15; ++set)
    for (int pose = 0; pose < 4; ++pose)
      for (int step = 0; step < 3; ++step) {
        const int col = 3 * (set % 5) + step, row = 4 * (set / 5) + pose;
        DrawFigure(t, col * 64, row * 64, 64, 64, OtherStyle(set), static_cast<Pose>(pose), step);
      }
  return t;
}

Canvas MakeCutinSheet() {
  Canvas t(1000, 900);
  for (int i = 0; i < 15; ++i) DrawPortrait(t, 200 * (i % 5), 300 * (i / 5), 200, 300, OtherStyle(i));
  return t;
}

Canvas MakeCutinPlayerSheet() {
  Canvas t(1000, 300);
  for (int c = 0; c < 5; ++c) DrawPortrait(t, 200 * c, 0, 200, 300, PlayerStyle(c));
  return t;
}

}  // namespace datagen
