// The drawn cast: player characters, bosses, enemies and familiars as small
// figures in poses and animation steps, and their large portraits.
#pragma once

#include "canvas.h"

namespace datagen {

enum class Accessory { kNone, kRibbon, kWitchHat, kFoxEars, kCrowWings, kHorns, kUmbrella, kHalo,
                       kLantern, kDrum, kButterfly, kCrown, kVeil, kRabbitEars };

struct FigureStyle {
  Rgba hair, dress, accent, eyes, skin;
  Accessory accessory;
  bool longHair;
};

enum class Pose { kStill = 0, kLeft = 1, kRight = 2, kCast = 3 };

// Style of player character 0-4 and of other speaker / boss sprite set 0-15.
FigureStyle PlayerStyle(int c);
FigureStyle OtherStyle(int set);

// A full figure filling the cell (x, y, w, h); step 0-2 is the animation step.
void DrawFigure(Canvas& c, int x, int y, int w, int h, const FigureStyle& s, Pose pose, int step);
// A bust portrait filling the cell.
void DrawPortrait(Canvas& c, int x, int y, int w, int h, const FigureStyle& s, bool silhouette = false);
// Enemy of sprite set 0-31 in a 32 x 32 cell; row 0 front, 1 left, 2 right.
void DrawEnemy(Canvas& c, int x, int y, int set, int row, int step);
// Familiar picture 0-15 in a 64 x 64 cell; slowRow is the dimmer first row.
void DrawFamiliar(Canvas& c, int x, int y, int index, bool slowRow);
// Draws a dark one-pixel outline around the opaque parts of the region (x, y, w, h).
void OutlineRegion(Canvas& c, int x, int y, int w, int h, Rgba outline);

}  // namespace datagen
