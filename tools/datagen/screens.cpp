// Whole screens and their pieces: loading, title, menu, character select, stage
// result, ending, staff roll, and the dialogue and ending line strips.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "figures.h"
#include "font.h"
#include "layout.h"
#include "noise.h"
#include "sheets.h"
#include "texts.h"

namespace datagen {

namespace {

Rgba C(int r, int g, int b, int a = 255) { return MakeRgba(r, g, b, a); }

// A snowy night: sky gradient, drifting haze, an amber moon, snow-covered hills and flakes.
void NightBackdrop(Canvas& t, int x0, int y0, int w, int h, uint32_t seed, double moonX, double moonY,
                   Rgba skyTop = C(8, 14, 40), Rgba skyBottom = C(40, 70, 120)) {
  t.SetClip(x0, y0, w, h);
  const NoiseField noise(w, h, 6, 4, 4, seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double n = noise.At(x, y);
      Rgba c = Mix(skyTop, skyBottom, static_cast<double>(y) / h);
      c = Mix(c, C(70, 160, 150), std::max(0.0, n - 0.5) * 0.8);  // blue-green haze
      t.Set(x0 + x, y0 + y, c);
    }
  if (moonX >= 0) {
    t.Glow(x0 + moonX, y0 + moonY, h * 0.28, C(255, 190, 90, 150), 1.4);
    t.FillCircle(x0 + moonX, y0 + moonY, h * 0.09, C(255, 205, 120));
    t.FillCircle(x0 + moonX - h * 0.025, y0 + moonY - h * 0.02, h * 0.025, C(235, 180, 100));
  }
  for (int layer = 0; layer < 2; ++layer) {
    const Rgba hill = layer == 0 ? C(150, 170, 210) : C(215, 228, 250);
    for (int x = 0; x < w; ++x) {
      const double top = h * (0.72 + 0.1 * layer) - h * 0.08 * PeriodicNoise(x * 4.0 / w, layer * 3.0, 4, 8, seed + 9 + layer);
      for (int y = static_cast<int>(top); y < h; ++y) t.Set(x0 + x, y0 + y, Shade(hill, 0.85 + 0.15 * (y - top) / h));
    }
  }
  for (int k = 0; k < w * h / 900; ++k) {
    const double fx = HashUnit(k, 1, seed) * w, fy = HashUnit(k, 2, seed) * h;
    t.FillCircle(x0 + fx, y0 + fy, 0.7 + 1.8 * HashUnit(k, 3, seed), C(245, 250, 255, 200));
  }
  t.ResetClip();
}

// One text strip: white text on black, one line at 17 px or two at 14 px.
void TextStrip(Canvas& t, int x, int y, int w, int h, const std::string& text, Rgba color) {
  t.FillRect(x, y, w, h, C(0, 0, 0));
  if (text.empty()) return;
  t.SetClip(x, y, w, h);
  TextStyle one = Style(17, Face::kGothic, color, false);
  if (MeasureText(text, one) <= w - 12) {
    DrawText(t, x + 6, y + (h - 20) / 2, text, one);
  } else {
    const TextStyle two = Style(14, Face::kGothic, color, false);
    const std::vector<std::string> lines = WrapText(text, two, w - 12, WrapAt::kCodePoints);
    const int top = lines.size() == 1 ? y + (h - 17) / 2 : y + 1;
    for (size_t i = 0; i < lines.size() && i < 2; ++i) DrawText(t, x + 6, top + static_cast<int>(i) * 17, lines[i], two);
  }
  t.ResetClip();
}

}  // namespace

// The loading screen stays on the back buffer until the title's backdrop is
// drawn over it, opaque but one step short of a plain copy, every frame. A
// pixel that starts darker than the backdrop never quite reaches it, which a
// 16-bit screen shows as a ghost; so the loading screen is the title's night
// lifted a little, and everything drawn on it is brighter still (white).
Canvas MakeLoadingSheet() {
  Canvas t(896, 480);
  NightBackdrop(t, 0, 0, 640, 480, 21, 540, 300);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      Rgba c = t.Get(x, y);
      c.r = static_cast<uint8_t>(std::min(255, c.r + 28));
      c.g = static_cast<uint8_t>(std::min(255, c.g + 28));
      c.b = static_cast<uint8_t>(std::min(255, c.b + 28));
      t.Set(x, y, c);
    }
  TextStyle title = Style(56, Face::kMincho, C(255, 255, 255), false);
  DrawTextCentered(t, 250, 200, Titles().title, title);
  DrawTextCentered(t, 250, 250, Titles().subtitle, Style(20, Face::kMincho, C(255, 255, 255), false));
  // Label: a small lantern beside "Now Loading"; label2: the note line. The
  // game draws the label at (400, 0) at the start and at (400, 336) while the
  // tally loads the next stage, label2 10 pixels left of it and 64 down: the
  // ink stays within the 240 x 144 pixels left on screen there, and below the
  // label's row 52 so the panel's title and subtitle stay clear.
  t.SetClip(640, 52, 240, 92);
  t.Glow(662, 72, 22, C(255, 240, 200, 110), 1.5);
  t.FillEllipse(662, 72, 9, 12, C(255, 250, 235, 200));
  t.FillEllipse(662, 72, 6, 9, C(255, 255, 255));
  t.FillRect(653, 58, 18, 3, C(255, 255, 255));
  t.FillRect(653, 84, 18, 3, C(255, 255, 255));
  TextStyle lbl = Style(26, Face::kGothic, C(255, 255, 255), false);
  lbl.bold = true;
  DrawTextCentered(t, 762, 70, Titles().loading, FitText(Titles().loading, lbl, 190));
  t.ResetClip();
  t.SetClip(640, 192, 240, 64);
  DrawTextCentered(t, 768, 232, Titles().loadingNote,
                   FitText(Titles().loadingNote, Style(18, Face::kGothic, C(255, 255, 255), false), 220));
  t.ResetClip();
  return t;
}

Canvas MakeTitleSheet() {
  Canvas t(960, 480);
  NightBackdrop(t, 0, 0, 640, 480, 21, 540, 300);
  // Banner: the title, laid out horizontally and stored turned clockwise.
  {
    Canvas banner(384, 96);
    for (int x = 0; x < 384; ++x)
      for (int y = 0; y < 96; ++y) {
        const double k = std::min(1.0, std::min(x, 383 - x) / 30.0);
        banner.Set(x, y, Rgba{20, 30, 60, static_cast<uint8_t>(std::lround(170 * k))});
      }
    banner.FillRect(10, 6, 364, 2, C(255, 200, 120));
    banner.FillRect(10, 88, 364, 2, C(255, 200, 120));
    TextStyle st = Style(64, Face::kMincho, C(255, 248, 235));
    st.outlineWidth = 3;
    st.outline = C(120, 60, 20);
    DrawTextCentered(banner, 192, 48, Titles().title, FitText(Titles().title, st, 370));
    t.Draw(RotateClockwise(banner), 640, 32, false);
  }
  t.SetClip(640, 0, 320, 32);
  DrawTextCentered(t, 800, 16, Titles().subtitle, FitText(Titles().subtitle, Style(22, Face::kMincho, C(255, 220, 150)), 316));
  t.ResetClip();
  for (int i = 0; i < 8; ++i) {
    t.SetClip(736, 32 + 32 * i, 192, 32);
    TextStyle st = Style(22, Face::kGothic, C(255, 255, 255));
    st.bold = true;
    DrawText(t, 740, 32 + 32 * i + 2, Titles().entries[i], FitText(Titles().entries[i], st, 186));
    t.ResetClip();
  }
  return t;
}

Canvas MakeMenuSheet() {
  Canvas t(896, 516);
  NightBackdrop(t, 0, 0, 640, 480, 31, 90, 80, C(10, 20, 50), C(30, 60, 90));
  t.BlendRect(0, 0, 640, 480, C(0, 0, 20, 70));
  for (int i = 0; i < 6; ++i) {
    t.SetClip(640, 32 * i, 192, 32);
    TextStyle st = Style(22, Face::kMincho, C(255, 240, 200));
    st.bold = true;
    DrawTextCentered(t, 736, 32 * i + 16, Titles().menuLabels[i], FitText(Titles().menuLabels[i], st, 188));
    t.ResetClip();
  }
  static const Rgba plate[5] = {C(60, 170, 90), C(60, 120, 200), C(210, 120, 40), C(190, 40, 150), C(200, 180, 40)};
  for (int d = 0; d < 5; ++d) {
    const int y = 196 + 64 * d;
    t.SetClip(640, y, 256, 64);
    for (int j = 4; j < 60; ++j)
      for (int i = 4; i < 252; ++i) {
        const double k = 1.0 - std::fabs(j - 32) / 40.0;
        t.Set(640 + i, y + j, Rgba{plate[d].r, plate[d].g, plate[d].b, static_cast<uint8_t>(std::lround(200 * k))});
      }
    t.OutlineRect(644, y + 4, 248, 56, Mix(plate[d], C(255, 255, 255), 0.6), 2);
    TextStyle name = Style(30, Face::kMincho, C(255, 255, 255));
    name.bold = true;
    DrawTextCentered(t, 768, y + 24, Titles().difficulty[d], name);
    DrawTextCentered(t, 768, y + 48, Titles().difficultyNote[d], Style(13));
    t.ResetClip();
  }
  t.MakeKeySafe();
  return t;
}

namespace {

// The game shows a panel at (64, 96), so its top 384 rows are on the screen, and draws
// the practice list and the route list in boxes over the panel's middle: the words and the
// portrait keep to the columns either side of the boxes and the strip below them.
constexpr int kBoxLeft = 166, kBoxRight = 346, kBoxBottom = 274;

void CharacterPanel(Canvas& t, int x, int y, int c, bool locked) {
  t.SetClip(x, y, 512, 512);
  for (int j = 4; j < 376; ++j)
    for (int i = 8; i < 504; ++i) t.Blend(x + i, y + j, C(10, 16, 40, 150));
  t.OutlineRect(x + 8, y + 4, 496, 372, C(200, 220, 255, 200), 2);
  Canvas portrait(150, 225);
  DrawPortrait(portrait, 0, 0, 150, 225, PlayerStyle(c), locked);
  t.Draw(portrait, x + (8 + kBoxLeft - 150) / 2, y + 30);
  // The column right of the boxes: epithet, name, the description wrapped by words.
  const int left = x + kBoxRight + 6, width = 504 - kBoxRight - 12, mid = left + width / 2;
  const CharacterText& ct = Character(c);
  if (locked) {
    DrawTextCentered(t, mid, y + 150, Titles().locked, FitText(Titles().locked, Style(48, Face::kMincho, C(200, 200, 220)), width));
    t.ResetClip();
    return;
  }
  DrawTextCentered(t, mid, y + 40, ct.title, FitText(ct.title, Style(16, Face::kMincho, C(255, 220, 160)), width));
  TextStyle name = Style(30, Face::kMincho);
  name.outlineWidth = 2;
  DrawTextCentered(t, mid, y + 76, ct.name, FitText(ct.name, name, width));
  t.FillRect(left + 8, y + 100, width - 16, 1, C(200, 220, 255, 160));
  const TextStyle note = Style(14);
  const std::vector<std::string> lines = WrapText(ct.shotNote, note, width, WrapAt::kWords);
  for (size_t i = 0; i < lines.size(); ++i) DrawText(t, left, y + 112 + static_cast<int>(i) * 22, lines[i], note);
  // The strip below the boxes: the two spell cards.
  for (int k = 0; k < 2; ++k) {
    const TextStyle st = FitText(ct.bombs[k], Style(16, Face::kGothic, k == 0 ? C(160, 255, 190) : C(160, 220, 255)), 440);
    DrawText(t, x + 36, y + kBoxBottom + 14 + 28 * k, ct.bombs[k], st);
  }
  t.ResetClip();
}

}  // namespace

Canvas MakeCharaSelectSheet() {
  Canvas t(1024, 1024);
  for (int c = 0; c < 4; ++c) CharacterPanel(t, 512 * (c % 2), 512 * (c / 2), c, false);
  t.MakeKeySafe();
  return t;
}

Canvas MakeCharaSelect2Sheet() {
  Canvas t(1024, 512);
  CharacterPanel(t, 0, 0, 4, false);
  CharacterPanel(t, 512, 0, 4, true);
  t.MakeKeySafe();
  return t;
}

Canvas MakeStageResultSheet() {
  Canvas t(384, 448);
  NightBackdrop(t, 0, 0, 384, 448, 41, -1, 0, C(20, 30, 70), C(60, 90, 140));
  t.BlendRect(30, 80, 324, 160, C(0, 0, 20, 150));
  t.OutlineRect(30, 80, 324, 160, C(200, 220, 255, 200), 1);
  TextStyle st = Style(36, Face::kMincho, C(255, 240, 200));
  st.outlineWidth = 2;
  DrawTextCentered(t, 192, 44, Titles().stageClear, st);
  // The tally shows this picture on the back of a panel that has turned half
  // over, which mirrors it top to bottom: it is stored mirrored.
  Canvas mirrored(t.width(), t.height());
  for (int y = 0; y < t.height(); ++y)
    for (int x = 0; x < t.width(); ++x) mirrored.Set(x, t.height() - 1 - y, t.Get(x, y));
  return mirrored;
}

Canvas MakeEndingSheet() {
  Canvas t(640, 480);
  NightBackdrop(t, 0, 0, 640, 480, 51, 560, 60, C(60, 80, 140), C(250, 200, 160));
  t.BlendRect(16, 200, 384, 80, C(0, 0, 0, 90));
  DrawTextCentered(t, 520, 440, Titles().ending, Style(22, Face::kMincho));
  return t;
}

Canvas MakeStaffSheet() {
  Canvas t(640, 480);
  NightBackdrop(t, 0, 0, 640, 480, 61, 320, 120, C(30, 40, 90), C(120, 140, 200));
  t.BlendRect(64, 0, 512, 480, C(0, 0, 30, 110));
  return t;
}

Canvas MakeStaffRollSheet() {
  Canvas t(512, 1440);
  int y = 40;
  for (const std::string& line : StaffRoll()) {
    if (!line.empty() && line[0] == '#') {
      TextStyle st = Style(26, Face::kMincho, C(255, 220, 150));
      st.outlineWidth = 2;
      const std::string s = line.substr(1);
      DrawTextCentered(t, 256, y + 16, s, FitText(s, st, 500));
      y += 44;
    } else {
      if (!line.empty()) DrawTextCentered(t, 256, y + 12, line, FitText(line, Style(20), 500));
      y += 34;
    }
  }
  t.MakeKeySafe();
  return t;
}

Canvas MakeTalkSheet(int sheet) {
  const TalkSheet& ts = TalkSheets().at(static_cast<size_t>(sheet));
  Canvas t(900, 36 * ts.rows, C(0, 0, 0));
  // The extra stage's strips run on from the first sheet (75 strips) into the second.
  const int dialogueSheet = sheet >= 6 ? 6 : sheet;
  const int offset = sheet == 7 ? 75 : 0;
  for (const Dialogue& d : Dialogues()) {
    if (d.sheet != dialogueSheet) continue;
    for (size_t i = 0; i < d.lines.size(); ++i) {
      const int strip = d.firstStrip + static_cast<int>(i) - offset;
      if (strip < 0 || strip >= 3 * ts.rows) continue;
      const DialogueLine& l = d.lines[i];
      const Rgba color = (l.kind == 0 || l.kind == 3) ? C(255, 255, 255) : C(190, 225, 255);
      TextStrip(t, 300 * (strip % 3), 36 * (strip / 3), 300, 36, l.text, color);
    }
  }
  return t;
}

Canvas MakeEndingLineSheet() {
  Canvas t(1020, 1008, C(0, 0, 0));
  const std::vector<std::string>& lines = EndingLines();
  for (int i = 0; i < 84; ++i) TextStrip(t, 340 * (i % 3), 36 * (i / 3), 340, 36, lines[i], C(255, 255, 255));
  return t;
}

}  // namespace datagen
