// The status and text sheets: the shared "other" sheet (bars, glyphs, names,
// bursts, spell circle), spell-card and bomb name strips, name plates, stage
// titles and the play-field frame.
#include <algorithm>
#include <cmath>
#include <string>

#include "figures.h"
#include "font.h"
#include "layout.h"
#include "noise.h"
#include "pixfont.h"
#include "sheets.h"
#include "texts.h"

namespace datagen {

namespace {

constexpr double kPi = 3.141592653589793;

Rgba C(int r, int g, int b, int a = 255) { return MakeRgba(r, g, b, a); }

// The character that name-glyph cell c shows ("" for cells without one).
std::string GlyphText(int c) {
  static const char* signs[16] = {".", ",", "!", "?", "'", "\"", "(", ")", "+", "-", ":", "=", "*", "^", "&", "/"};
  if (c >= 0 && c <= 9) return std::string(1, static_cast<char>('0' + c));
  if (c >= 10 && c <= 25) return signs[c - 10];
  if (c >= 26 && c <= 51) return std::string(1, static_cast<char>('a' + c - 26));
  if (c >= 52 && c <= 77) return std::string(1, static_cast<char>('A' + c - 52));
  return "";
}

// The shortest period of at least `least` pixels that divides `length`: a phrase
// repeated with it meets itself again across the ends of a strip tiled every `length`.
int BandPeriod(int least, int length) {
  for (int copies = length / std::max(1, least); copies > 1; --copies)
    if (length % copies == 0) return length / copies;
  return length;
}

void Burst(Canvas& t, int x, int y, Rgba hue) {
  t.SetClip(x, y, 32, 32);
  t.Glow(x + 16, y + 16, 16, hue, 1.3);
  t.FillStar(x + 16, y + 16, 15, 4, 8, -90, Mix(hue, C(255, 255, 255), 0.5));
  t.FillCircle(x + 16, y + 16, 4, C(255, 255, 255));
  t.ResetClip();
}

}  // namespace

Canvas MakeOtherSheet() {
  Canvas t(512, 512);
  // Bar pieces: 0 boss bar in a spell card, 1 boss bar / power bar, 2 gauge fill, 3 gauge background.
  const Rgba bars[4][2] = {{C(255, 150, 170), C(200, 40, 80)},
                           {C(255, 255, 255), C(170, 180, 220)},
                           {C(150, 255, 255), C(30, 160, 200)},
                           {C(70, 70, 90), C(40, 40, 60)}};
  for (int i = 0; i < 4; ++i)
    for (int y = 0; y < 4; ++y) t.Set(i, y, Mix(bars[i][0], bars[i][1], y / 3.0));
  DrawPixelText(t, 17, 1, Titles().bonusLabel, C(255, 230, 140));
  DrawPixelText(t, 49, 1, Titles().historyLabel, C(170, 220, 255));
  for (int i = 0; i < 13; ++i) {
    static const char small[13] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '.', '/', ':'};
    DrawPixelDigit57(t, 8 * i + 1, 8, small[i], C(255, 255, 255));
  }
  // Boss position marker: a box with "ENEMY" and an upward notch.
  t.FillRect(112, 2, 46, 14, C(150, 30, 60, 220));
  t.OutlineRect(112, 2, 46, 14, C(255, 200, 210));
  t.FillPolygon({{135.0, 0.0}, {139.0, 3.0}, {131.0, 3.0}}, C(255, 200, 210));
  DrawPixelText(t, 116, 5, Titles().bossMarker, C(255, 255, 255), 1);
  // Icons: 0 life star, 1 half star, 2 bomb, 3-7 spare marks.
  t.FillStar(168, 8, 7.5, 3.4, 5, -90, C(255, 110, 170));
  t.FillStar(184, 8, 6, 2.8, 5, -90, C(255, 200, 120));
  t.FillStar(200, 8, 7.5, 3.4, 5, -90, C(90, 230, 110));
  t.FillCircle(200, 8, 2, C(255, 255, 255));
  for (int i = 3; i < 8; ++i) t.FillCircle(160 + 16 * i + 8, 8, 5, Hsv(i * 50, 0.6, 1.0));
  // Name glyphs.
  for (int c = 0; c < 104; ++c) {
    if (c >= 78 && c <= 94) continue;
    const int gx = 16 * (c % 26), gy = 16 * (c / 26 + 1);
    if (c == 102) {  // end mark
      DrawPixelText(t, gx + 3, gy + 2, Titles().endMark, C(255, 240, 150));
      t.Line(gx + 3, gy + 11, gx + 13, gy + 11, 1.5, C(255, 240, 150));
      t.FillPolygon({{gx + 2.0, gy + 11.0}, {gx + 6.0, gy + 8.0}, {gx + 6.0, gy + 14.0}}, C(255, 240, 150));
      continue;
    }
    if (c == 103) {
      t.OutlineRect(gx, gy, 16, 16, C(255, 220, 80), 2);
      continue;
    }
    const std::string s = GlyphText(c);
    if (s.empty()) continue;
    TextStyle st = Style(13);
    st.bold = true;
    t.SetClip(gx, gy, 16, 16);
    DrawTextCentered(t, gx + 8, gy + 8, s, st);
    t.ResetClip();
  }
  // Lines under the spell name (red) and the bomb name (blue).
  for (int i = 0; i < 2; ++i) {
    const Rgba a = i == 0 ? C(255, 80, 120) : C(80, 160, 255);
    for (int x = 0; x < 272; ++x) {
      const double fade = std::min(1.0, (272 - x) / 80.0);
      for (int y = 0; y < 6; ++y) {
        const double k = 1.0 - std::fabs(y - 2.5) / 3.0;
        t.Set(x, 64 + 6 * i + y, Rgba{a.r, a.g, a.b, static_cast<uint8_t>(std::lround(255 * k * fade))});
      }
    }
  }
  // Difficulty names.
  static const Rgba diffColors[5] = {C(120, 255, 140), C(120, 190, 255), C(255, 170, 90), C(255, 90, 200),
                                     C(255, 255, 140)};
  for (int d = 0; d < 5; ++d) {
    TextStyle st = Style(20, Face::kMincho, diffColors[d]);
    st.bold = true;
    t.SetClip(0, 80 + 24 * d, 96, 24);
    DrawTextCentered(t, 48, 80 + 24 * d + 12, Titles().difficulty[d], st);
    t.ResetClip();
  }
  // Boss names.
  for (int i = 0; i < 16; ++i) {
    t.SetClip(96, 80 + 16 * i, 128, 16);
    const TextStyle st = FitText(BossName(i), Style(13), 126);
    DrawText(t, 97, 80 + 16 * i, BossName(i), st);
    t.ResetClip();
  }
  // Freeze picture: ice shards (drawn mirrored and plain either side of the field).
  t.SetClip(0, 224, 96, 64);
  for (int k = 0; k < 7; ++k) {
    const double bx = 8 + k * 13, h = 20 + (k * 17) % 36;
    t.FillPolygon({{bx, 287.0}, {bx + 6, 287.0 - h}, {bx + 12, 287.0}}, C(170, 220, 255, 200));
    t.FillPolygon({{bx + 3, 287.0}, {bx + 6, 287.0 - h + 6}, {bx + 8, 287.0}}, C(240, 250, 255, 230));
  }
  t.Glow(48, 256, 40, C(200, 240, 255, 160), 1.5);
  t.ResetClip();
  // Spell circle.
  {
    const double cx = 224 + 96, cy = 96 + 96;
    t.SetClip(224, 96, 192, 192);
    t.Ring(cx, cy, 92, 3, C(255, 120, 160));
    t.Ring(cx, cy, 84, 1.5, C(255, 170, 200));
    t.Ring(cx, cy, 50, 2, C(255, 140, 180));
    for (int k = 0; k < 2; ++k) {
      std::vector<Point> tri;
      for (int j = 0; j < 3; ++j) {
        const double a = (k * 60 + j * 120 - 90) * kPi / 180.0;
        tri.push_back({cx + 84 * std::cos(a), cy + 84 * std::sin(a)});
      }
      for (int j = 0; j < 3; ++j) t.Line(tri[j].x, tri[j].y, tri[(j + 1) % 3].x, tri[(j + 1) % 3].y, 2, C(255, 150, 190));
    }
    for (int k = 0; k < 24; ++k) {
      const double a = k * 15 * kPi / 180.0;
      t.FillCircle(cx + 88 * std::cos(a), cy + 88 * std::sin(a), k % 2 ? 1.5 : 2.5, C(255, 220, 230));
    }
    t.ResetClip();
  }
  // Bursts: enemy sets by group, then familiar bursts.
  for (int k = 0; k < 4; ++k) {
    Burst(t, 32 * k, 352, Hsv(k * 90 + 20, 0.5, 1.0));
    Burst(t, 32 * k, 384, Hsv(200 + k * 67, 0.6, 1.0));
  }
  // Last-boss badge.
  t.FillRect(132, 360, 184, 48, C(60, 20, 30, 200));
  t.OutlineRect(132, 360, 184, 48, C(255, 210, 90), 2);
  DrawTextCentered(t, 224, 384, Titles().lastBoss, Style(24, Face::kMincho, C(255, 220, 120)));
  // Cut-in band: a vertical strip of repeated words, laid out sideways. The game tiles
  // the strip every 448 pixels, so the phrase repeats with a period that divides 448.
  {
    Canvas band(448, 96);
    for (int x = 0; x < 448; ++x)
      for (int y = 0; y < 96; ++y) {
        const double k = 1.0 - std::fabs(y - 47.5) / 48.0;
        band.Set(x, y, Rgba{200, 40, 90, static_cast<uint8_t>(std::lround(140 * std::min(1.0, k * 2.0)))});
      }
    band.FillRect(0, 8, 448, 2, C(255, 200, 220, 220));
    band.FillRect(0, 86, 448, 2, C(255, 200, 220, 220));
    const TextStyle st = FitText(Titles().cutinBand, Style(20, Face::kGothic, C(255, 235, 245, 230), false), 424);
    const int period = BandPeriod(MeasureText(Titles().cutinBand, st) + 24, 448);
    for (int x = 12; x < 448; x += period) DrawText(band, x, 36, Titles().cutinBand, st);
    t.Draw(RotateClockwise(band), 416, 0, false);
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeSpellSheet() {
  Canvas t(1024, 1024);
  for (int i = 0; i < 256; ++i) {
    const std::string name = SpellName(i + 1);
    if (name.empty()) continue;
    const int x = 256 * (i % 4), y = 16 * (i / 4);
    t.SetClip(x, y, 256, 16);
    const TextStyle st = FitText(name, Style(13), 250);
    DrawText(t, x + 2, y + 1, name, st);
    t.ResetClip();
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeBombNameSheet() {
  Canvas t(512, 160);
  for (int k = 0; k < 10; ++k) {
    const std::string name = Character(k / 2).bombs[k % 2];
    t.SetClip(0, 16 * k, 512, 16);
    DrawText(t, 2, 16 * k + 1, name, FitText(name, Style(13), 500));
    t.ResetClip();
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeNamePlateSheet() {
  Canvas t(256, 1024);
  for (int i = 0; i < 16; ++i) {
    const int y = 64 * i;
    const FigureStyle fs = OtherStyle(i);
    for (int x = 0; x < 256; ++x) {
      const double k = std::min(1.0, std::min(x, 255 - x) / 40.0);
      for (int j = 14; j < 50; ++j)
        t.Set(x, y + j, Rgba{static_cast<uint8_t>(fs.dress.r / 3), static_cast<uint8_t>(fs.dress.g / 3),
                             static_cast<uint8_t>(fs.dress.b / 3), static_cast<uint8_t>(std::lround(200 * k))});
    }
    t.FillRect(16, y + 14, 224, 1, fs.accent);
    t.FillRect(16, y + 49, 224, 1, fs.accent);
    t.SetClip(0, y, 256, 64);
    const TextStyle st = FitText(BossName(i), Style(26, Face::kMincho, C(255, 255, 255)), 236);
    DrawTextCentered(t, 128, y + 32, BossName(i), st);
    t.ResetClip();
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeStageTitleSheet() {
  Canvas t(1024, 512);
  for (int i = 0; i < 13; ++i) {
    t.SetClip(704, 32 * i, 160, 32);
    TextStyle st = Style(22, Face::kMincho, C(255, 250, 230));
    st.bold = true;
    // Left-aligned: the strip's right end lies under the title column on the screen.
    const TextStyle fit = FitText(StageLabel(i), st, 156);
    DrawText(t, 706, 32 * i + 3, StageLabel(i), fit);
    t.ResetClip();
  }
  // Title columns: the letters alone. The game draws a column over the play field for
  // seconds, so any line or frame in it would show as a stripe across the field.
  for (int k = 0; k < 10; ++k) {
    const int x = 64 * k;
    t.SetClip(x, 0, 64, 512);
    TextStyle st = Style(40, Face::kMincho, C(255, 255, 255));
    st.outlineWidth = 2;
    DrawTextVertical(t, x + 32, 64, StageTitle(k), st);
    t.ResetClip();
  }
  for (int i = 6; i < 10; ++i) {
    t.SetClip(864, 32 * (i - 6), 96, 32);
    DrawTextCentered(t, 912, 32 * (i - 6) + 16, Titles().routes[i - 6], Style(18, Face::kGothic, C(255, 230, 150)));
    t.ResetClip();
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeFrameSheet() {
  Canvas t(640, 480);
  const NoiseField noise(640, 480, 8, 6, 4, 77);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const double n = noise.At(x, y);
      const double v = 0.35 + 0.5 * n;
      t.Set(x, y, MakeRgba(static_cast<int>(30 * v + 10), static_cast<int>(50 * v + 20), static_cast<int>(110 * v + 30)));
    }
  // Snowflakes.
  for (int k = 0; k < 90; ++k) {
    const int x = static_cast<int>(HashUnit(k, 1, 5) * 640), y = static_cast<int>(HashUnit(k, 2, 5) * 480);
    t.FillCircle(x, y, 0.8 + 1.6 * HashUnit(k, 3, 5), C(230, 240, 255, 170));
  }
  // The window onto the play field, with a thin border.
  t.OutlineRect(14, 14, 388, 452, C(180, 200, 240), 2);
  t.FillRect(16, 16, 384, 448, Rgba{});
  // The status panel's row labels, right-aligned before x 494.
  // The rows the panel's numbers are drawn on: bullets, high score, score, lives, bombs,
  // power, graze, point items.
  const int rows[8] = {30, 60, 80, 114, 134, 166, 186, 206};
  for (int i = 0; i < 8; ++i) {
    const TextStyle st = Style(14, Face::kGothic, C(220, 230, 255));
    const char* text = Titles().panelLabels[i];
    DrawText(t, 490 - MeasureText(text, st), rows[i] - 1, text, st);
  }
  t.FillRect(494, 178, 130, 1, C(120, 140, 190));
  // The title on the panel.
  TextStyle big = Style(34, Face::kMincho, C(255, 250, 235));
  big.outlineWidth = 2;
  DrawTextCentered(t, 522, 340, Titles().title, FitText(Titles().title, big, 220));
  DrawTextCentered(t, 522, 378, Titles().subtitle, FitText(Titles().subtitle, Style(12), 220));
  t.MakeKeySafe();
  t.FillRect(16, 16, 384, 448, Rgba{});
  return t;
}

}  // namespace datagen
