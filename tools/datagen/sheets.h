// The makers of every generated picture, one function per file; MakePicture
// picks the maker by file name.
#pragma once

#include <string>

#include "canvas.h"

namespace datagen {

// Colour of bullet colour index 0-9 (type mod 10), the same in every family.
Rgba BulletHue(int colorIndex);

// Sprite sheets (sprites.cpp).
Canvas MakeBulletSheet();
Canvas MakeItemSheet();
Canvas MakePlayerSheet();
Canvas MakeZakoSheet();
Canvas MakeBossSheet();
Canvas MakeCutinSheet();
Canvas MakeCutinPlayerSheet();

// Status, text and title sheets (ui_sheets.cpp).
Canvas MakeOtherSheet();
Canvas MakeSpellSheet();
Canvas MakeBombNameSheet();
Canvas MakeNamePlateSheet();
Canvas MakeStageTitleSheet();
Canvas MakeFrameSheet();

// Screens (screens.cpp).
Canvas MakeLoadingSheet();
Canvas MakeTitleSheet();
Canvas MakeMenuSheet();
Canvas MakeCharaSelectSheet();
Canvas MakeCharaSelect2Sheet();
Canvas MakeStageResultSheet();
Canvas MakeEndingSheet();
Canvas MakeStaffSheet();
Canvas MakeStaffRollSheet();
// Dialogue strips of talk sheet 0-7 (TalkSheets() order) and the ending lines.
Canvas MakeTalkSheet(int sheet);
Canvas MakeEndingLineSheet();

// Stage backgrounds (backgrounds.cpp); an empty canvas for an unknown name.
Canvas MakeBackground(const std::string& name);

// Any picture of the data set by file name; an empty canvas when the name is unknown.
Canvas MakePicture(const std::string& name);

}  // namespace datagen
