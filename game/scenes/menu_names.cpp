// Name entry for the high-score table and the replay save: the glyph grid
// walked with the direction buttons.
#include <cstring>

#include "library/tesra.h"
#include "scenes/menu.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/savefile_io.h"
#include "shell/sound.h"

namespace {

void Play(GameState& state, int effect) {
  if (state.sound) state.sound->Play(effect);
}

// What a shot on a grid cell writes: the cell itself for a character or the
// blank, a blank for the empty cells of the last row and the end mark.
uint32_t CellWritten(int32_t cell) {
  return (cell >= 78 && cell <= 100) || cell == kGlyphEndMark ? kGlyphBlank
                                                              : static_cast<uint32_t>(cell);
}

}  // namespace

int32_t GridStep(int32_t cell, int dx, int dy) {
  cell += kGlyphColumns * dy;
  if (cell < 0) cell += kGlyphCells;
  if (cell >= kGlyphCells) cell -= kGlyphCells;
  int32_t row = cell / kGlyphColumns;
  int32_t column = (cell % kGlyphColumns + dx + kGlyphColumns) % kGlyphColumns;
  return row * kGlyphColumns + column;
}

int InsertHighScore(GameState& state, uint32_t difficulty, uint32_t score, uint32_t character,
                    const int32_t date[3]) {
  if (difficulty > 4) return -1;
  const int base = static_cast<int>(difficulty) * 5;
  int place = 0;
  while (place < 5 && state.hiScore[base + place] > score) ++place;
  if (place == 5) return -1;
  for (int i = base + 4; i > base + place; --i) {
    state.hiScore[i] = state.hiScore[i - 1];
    std::memcpy(state.hiName[i], state.hiName[i - 1], 8);
    state.hiCharacter[i] = state.hiCharacter[i - 1];
    state.hiYear[i] = state.hiYear[i - 1];
    state.hiMonth[i] = state.hiMonth[i - 1];
    state.hiDay[i] = state.hiDay[i - 1];
  }
  const int i = base + place;
  state.hiScore[i] = score;
  state.hiCharacter[i] = character;
  state.hiYear[i] = static_cast<uint32_t>(date[0]);
  state.hiMonth[i] = static_cast<uint32_t>(date[1]);
  state.hiDay[i] = static_cast<uint32_t>(date[2]);
  std::memset(state.hiName[i], kGlyphBlank, 8);
  return place;
}

template <typename Cell>
bool Menu::WalkGrid(GameState& state, Cell* name) {
  const Input& in = *state.input;
  const struct { int button, dx, dy; } moves[4] = {
      {ButtonUp, 0, -1}, {ButtonDown, 0, 1}, {ButtonLeft, -1, 0}, {ButtonRight, 1, 0}};
  for (const auto& m : moves) {
    if (!in.Repeats(m.button)) continue;
    cursor = GridStep(cursor, m.dx, m.dy);
    Play(state, SeCursor);
  }
  if (in.FreshPress(ButtonShot)) {
    if (cursor == kGlyphEndCell) return true;  // the caller sounds the outcome
    Play(state, SeOk);
    name[namePos] = static_cast<Cell>(CellWritten(cursor));
    if (namePos < 7) ++namePos;
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    if (namePos > 0) --namePos;
  } else if (in.FreshPress(ButtonEscape)) {
    Play(state, SeOk);
    cursor = kGlyphEndCell;
  }
  return false;
}

void Menu::UpdateNameEntry(GameState& state) {
  if (subState == 0) {
    int32_t now[6] = {};
    ApiGetLocalDateTime(now);
    place = InsertHighScore(state, state.difficulty, state.score, state.character, now);
    if (place < 0) {
      place = 0;
      Enter(state, SceneReplaySave);
      return;
    }
    namePos = 0;
    subState = 1;
  }
  const int entry = static_cast<int>(state.difficulty) * 5 + place;
  if (!WalkGrid(state, state.hiName[entry])) return;
  Play(state, SaveScoreFile(state) ? SeOk : SeCancel);
  Enter(state, SceneReplaySave);
}

void Menu::UpdateReplaySave(GameState& state) {
  const Input& in = *state.input;
  if (subState == 0) {
    if (state.continues != 0) {
      ReturnToTitle(state);
      return;
    }
    cursor = MoveMenuCursor(in, state.sound, cursor, 2, ButtonUp, ButtonDown);
    if (in.FreshPress(ButtonBomb)) {
      Play(state, SeCancel);
      ReturnToTitle(state);
    } else if (in.FreshPress(ButtonShot)) {
      Play(state, SeOk);
      if (cursor == 0) {
        ScanReplaySlots(state);
        subState = 1;
        cursor = 0;
      } else {
        ReturnToTitle(state);
      }
    }
  } else if (subState == 1) {
    cursor = MoveMenuCursor(in, state.sound, cursor, kReplaySlotCount, ButtonUp, ButtonDown);
    if (in.FreshPress(ButtonShot)) {
      Play(state, SeOk);
      saveSlot = cursor;
      subState = 2;
      namePos = 0;
      for (uint32_t& c : state.replayName) c = kGlyphBlank;
      cursor = 0;
    }
  } else if (WalkGrid(state, state.replayName)) {
    Play(state, SaveReplay(state, saveSlot) ? SeOk : SeCancel);
    ReturnToTitle(state);
  }
}
