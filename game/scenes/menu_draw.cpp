// Menu drawing: backdrop, labels, lists with their highlight, the records
// pages, the replay slot list and the name grid.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "library/tesra.h"
#include "scenes/menu.h"
#include "scenes/menu_texts.h"
#include "shell/fileio.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/savefile_io.h"

const char* const kDifficultyWords[5] = {"Easy", "Normal", "Hard", "Lunatic", "Extra"};
// At most six letters each: with a blank place after it, a word stays inside
// the 90 pixels of the Type column ("Turara" is the short spelling of Tsurara).
const char* const kCharacterWords[5] = {"Akari", "Turara", "Kozue", "Rin", "Kagura"};

namespace {

enum FontIndex { F14 = 0, F18 = 1, F24 = 2 };

uint32_t White() { return ApiRgbToScreenColor(255, 255, 255); }

void Highlight(bool on) { ApiSetBlendMode(on ? 0 : 1, on ? 255 : 127); }
void BlendNone() { ApiSetBlendMode(0, 255); }

void Text(int x, int y, const char* text, int32_t font) {
  ApiDrawTextWithFont(x, y, text, White(), font, 0xFFFFFFFFu, 0);
}

// Text centred on x: half the measured width, truncated.
void TextCentred(int x, int y, const char* text, int32_t font) {
  int width = ApiMeasureTextWidthWithFont(text, static_cast<int>(std::strlen(text)), font, 0);
  Text(x - width / 2, y, text, font);
}

void TranslucentBox(int x1, int y1, int x2, int y2) {
  ApiSetBlendMode(1, 127);
  ApiDrawRectangle(x1, y1, x2, y2, ApiRgbToScreenColor(0, 0, 0), 1);
  BlendNone();
}

// The two boxes under the continue prompt and the pause: the whole screen
// darkened, the play field blacked out.
void PlayFieldBoxes() {
  TranslucentBox(0, 0, 640, 480);
  ApiDrawRectangle(16, 16, 400, 464, ApiRgbToScreenColor(0, 0, 0), 1);
}

// A list of texts, the cursor entry opaque and the others at alpha 127.
void TextList(const char* const* texts, int count, int cursor, int x, int y0, int step,
              int32_t font, bool centred) {
  for (int i = 0; i < count; ++i) {
    Highlight(i == cursor);
    if (centred)
      TextCentred(x, y0 + step * i, texts[i], font);
    else
      Text(x, y0 + step * i, texts[i], font);
  }
  BlendNone();
}

// The glyph cell that spells one character of a word: digits, letters, the
// stop (cell 10) and the blank.
uint32_t WordCell(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(26 + c - 'a');
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(52 + c - 'A');
  if (c == '.') return 10;
  return kGlyphBlank;
}

}  // namespace

void Menu::DrawGlyphWord(int x, int y, const char* word) {
  for (int k = 0; word[k] != 0; ++k) DrawNameGlyph(x + kGlyphPitch * k, y, WordCell(word[k]), glyphs);
}

void Menu::DrawDigits(int digits, int x, int y, uint32_t value) {
  DrawNumber(digits, x, y, value, glyphs);
}

void Menu::DrawScoreTable(GameState& state, uint32_t difficulty) {
  if (difficulty > 4) return;
  DrawGlyphWord(100, 120, "Score");
  DrawGlyphWord(240, 120, "Name");
  DrawGlyphWord(kTypeColumnX, 120, "Type");
  DrawGlyphWord(kColumnAfterTypeX, 120, "Date");
  for (int i = 0; i < 5; ++i) {
    const int e = static_cast<int>(difficulty) * 5 + i;
    const int y = 150 + 20 * i;
    DrawDigits(10, 100, y, state.hiScore[e]);
    for (int k = 0; k < 8; ++k) DrawNameGlyph(240 + 12 * k, y, state.hiName[e][k], glyphs);
    if (state.hiCharacter[e] <= 4)
      DrawGlyphWord(kTypeColumnX, y, kCharacterWords[state.hiCharacter[e]]);
    DrawDigits(2, kColumnAfterTypeX, y, state.hiMonth[e]);
    DrawNameGlyph(474, y, 25, glyphs);
    DrawDigits(2, 486, y, state.hiDay[e]);
  }
}

void Menu::DrawSpellPage(GameState& state) {
  for (int r = 0; r < 20; ++r) {
    const int n = cursor + r + 1;
    const int y = 80 + 16 * r;
    if (n < 1 || n > 255) continue;
    DrawGlyphWord(100, y, "No");
    DrawDigits(3, 124, y, static_cast<uint32_t>(n));
    if (state.spellAttempts[n] != 0)
      ApiDrawGraphAt(175, y, spellNames[n - 1], 1);
    else
      Text(175, y - 1, kNoSpellYet, state.fonts[F18]);
    DrawDigits(4, 440, y, state.spellCaptures[n]);
    DrawNameGlyph(488, y, 25, glyphs);
    DrawDigits(4, 500, y, state.spellAttempts[n]);
  }
  TextCentred(320, 436, kHintMove, state.fonts[F18]);
}

void Menu::DrawSlotList(GameState& state) {
  for (int r = 0; r < kReplaySlotCount; ++r) {
    const int y = 40 + 20 * r;
    char name[64];
    ReplaySlotFileName(r, name, sizeof name);
    Highlight(r == cursor);
    if (GameFileOpenError(name) == ENOENT) {  // one that is there but unreadable shows as damaged
      for (int j = 0; j < 20; ++j) DrawNameGlyph(135 + 20 * j, y, 19, glyphs);
      continue;
    }
    const ReplaySlotInfo& slot = state.replaySlots[r];
    DrawGlyphWord(88, y, "No.");
    DrawDigits(2, 124, y, static_cast<uint32_t>(r + 1));
    if (!slot.valid) {  // the file is there but cannot be read or does not decode
      DrawGlyphWord(160, y, "Damaged");
      continue;
    }
    for (int k = 0; k < 8; ++k) DrawNameGlyph(160 + 12 * k, y, slot.name[k], glyphs);
    if (slot.difficulty <= 4) DrawGlyphWord(272, y, kDifficultyWords[slot.difficulty]);
    if (slot.character <= 4) DrawGlyphWord(kTypeColumnX, y, kCharacterWords[slot.character]);
    DrawDigits(10, kColumnAfterTypeX, y, slot.score);
  }
  BlendNone();
}

void Menu::DrawGrid() {
  for (int c = 0; c < 78; ++c)
    DrawNameGlyph((c % 26 + 2) * 16, 300 + 16 * (c / 26), static_cast<uint32_t>(c), glyphs);
  DrawNameGlyph(432, 348, kGlyphEndMark, glyphs);
  DrawNameGlyph((cursor % 26 + 2) * 16, 300 + 16 * (cursor / 26), kGlyphEndCell, glyphs);
}

void Menu::Draw(GameState& state) {
  const uint32_t scene = state.scene;
  const int32_t f14 = state.fonts[F14], f18 = state.fonts[F18], f24 = state.fonts[F24];
  if (scene != SceneContinue && scene != ScenePause) ApiDrawGraphAt(0, 0, backdrop, 0);
  auto label = [&](int i) { ApiDrawGraphRotated(320, 30, 1.0, 0.0, labels[i], 1, 0); };
  const int32_t shown = static_cast<int32_t>(state.character) <= 4 ? static_cast<int32_t>(state.character) : 0;
  auto picture = [&](int c) {
    int index = c == 4 && !LastCharacterUnlocked(state) ? 5 : c;
    ApiDrawGraphAt(64, 96, characterPictures[index], 1);
  };

  switch (scene) {
    case SceneDifficulty:
      label(0);
      for (int i = 0; i < 4; ++i) {
        Highlight(i == cursor);
        ApiDrawGraphRotated(320, 120 + 80 * i, 1.0, 0.0, plates[i], 1, 0);
      }
      BlendNone();
      if (cursor >= 0 && cursor <= 4) TextCentred(320, 418, kDifficultyDescriptions[cursor], f24);
      break;
    case SceneExtraDifficulty:
      label(0);
      ApiDrawGraphRotated(320, 240, 1.0, 0.0, plates[4], 1, 0);
      TextCentred(320, 418, kDifficultyDescriptions[4], f24);
      break;
    case SceneCharacter:
      label(1);
      if (cursor >= 0 && cursor <= 4) picture(cursor);
      break;
    case ScenePracticeStage:
      label(1);
      picture(shown);
      TranslucentBox(230, 110, 410, 370);
      TextList(kStageNames, 12, cursor, 320, 120, 20, f18, true);
      break;
    case SceneRoute:
      label(1);
      picture(shown);
      TranslucentBox(230, 190, 410, 290);
      TextList(kRouteNames, 4, cursor, 320, 200, 20, f18, true);
      break;
    case SceneReplaySelect:
      DrawSlotList(state);
      TextCentred(320, 450, kSelectReplay, f18);
      break;
    case SceneRecords:
      label(3);
      if (subState == 0) {
        TextList(kRecordsEntries, 2, cursor, 40, 80, 30, f24, false);
      } else if (subState == 1) {
        if (cursor >= 0 && cursor <= 4) TextCentred(320, 80, kDifficultyWords[cursor], f24);
        DrawScoreTable(state, static_cast<uint32_t>(cursor));
        TextCentred(320, 436, kHintDifficulty, f18);
      } else {
        DrawSpellPage(state);
      }
      break;
    case SceneMusicRoom:
      label(4);
      TranslucentBox(16, 80, 320, 464);
      TranslucentBox(336, 80, 624, 464);
      Text(344, 88, kMusicLabel, f18);
      if (cursor >= 0 && cursor < 14) {
        Text(344, 110, kMusicTexts[cursor], f14);
        if (cursor == 6)
          for (int i = 0; i < 4; ++i) Text(344, 128 + 18 * i, kMusicMoreLines6[i], f14);
        if (cursor == 8) Text(344, 128, kMusicMoreLines8[0], f14);
      }
      TextList(kMusicTitles, 14, cursor, 24, 88, 20, f14, false);
      break;
    case SceneOptions: {
      label(5);
      TextList(kOptionLabels, 7, cursor, 100, 80, 30, f24, false);
      const char* const digits[4] = {"0", "1", "2", "3"};
      for (uint32_t v = 0; v < 3; ++v) {
        Highlight(v == state.livesSetting);
        Text(290 + 30 * static_cast<int>(v), 80, digits[v + 1], f24);
      }
      for (uint32_t v = 0; v < 4; ++v) {
        Highlight(v == state.bombsSetting);
        Text(290 + 30 * static_cast<int>(v), 110, digits[v], f24);
      }
      BlendNone();
      char value[16];
      std::snprintf(value, sizeof value, "%u%%", state.bgmVolume);
      Text(290, 140, value, f24);
      std::snprintf(value, sizeof value, "%u%%", state.seVolume);
      Text(290, 170, value, f24);
      if (cursor >= 0 && cursor < 7) TextCentred(320, 436, kOptionDescriptions[cursor], f18);
      break;
    }
    case SceneKeyConfig:
      label(5);
      TextList(kKeyConfigLabels, 5, cursor, 100, 80, 30, f24, false);
      for (int i = 0; i < 4; ++i) {
        char value[16];
        std::snprintf(value, sizeof value, "%u", state.padButton[i]);
        Highlight(i == cursor);
        Text(290, 80 + 30 * i, value, f24);
      }
      BlendNone();
      break;
    case SceneContinue:
      PlayFieldBoxes();
      TextCentred(208, 204, kContinueQuestion, f24);
      TextList(kYesNo, 2, cursor, 208, 240, 24, f24, true);
      break;
    case SceneNameEntry:
      if (state.difficulty <= 4) TextCentred(320, 80, kDifficultyWords[state.difficulty], f24);
      DrawScoreTable(state, state.difficulty);
      DrawNameGlyph(240 + 12 * namePos, 150 + 20 * place, 23, glyphs);
      DrawGrid();
      break;
    case SceneReplaySave:
      if (subState == 0) {
        TextCentred(320, 204, kSaveQuestion, f24);
        TextList(kYesNo, 2, cursor, 320, 240, 24, f24, true);
      } else if (subState == 1) {
        DrawSlotList(state);
        TextCentred(320, 450, kSelectSaveSlot, f18);
      } else {
        DrawGlyphWord(88, 80, "No.");
        DrawDigits(2, 124, 80, static_cast<uint32_t>(saveSlot + 1));
        for (int k = 0; k < 8; ++k) DrawNameGlyph(160 + 12 * k, 80, state.replayName[k], glyphs);
        if (state.difficulty <= 4) DrawGlyphWord(272, 80, kDifficultyWords[state.difficulty]);
        if (state.character <= 4) DrawGlyphWord(kTypeColumnX, 80, kCharacterWords[state.character]);
        DrawDigits(10, kColumnAfterTypeX, 80, state.score);
        DrawNameGlyph(160 + 12 * namePos, 80, 23, glyphs);
        DrawGrid();
      }
      break;
    case ScenePause:
      PlayFieldBoxes();
      TextList(kPauseEntries, 3, cursor, 208, 216, 24, f24, true);
      break;
    default: break;
  }
}
