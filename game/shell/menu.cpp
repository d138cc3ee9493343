// Menu scenes. Until each menu is built its scene shows a blank screen and
// Escape or the cancel button (bomb) leads back to the title.
#include "shell/menu.h"

#include "library/tesra.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "shell/title.h"

void ReturnToTitle(GameState& state) {
  state.scene = SceneTitle;
  if (state.title) state.title->Reset(state);
}

Menu::Menu(GameState& state) : cursor(0), subState(0), saveSlot(0), namePos(0), place(0) {
  ResetCursor(state);
}

void Menu::ResetCursor(GameState& state) {
  cursor = 0;
  subState = 0;
  namePos = 0;
  if (state.scene == SceneDifficulty) cursor = static_cast<int32_t>(state.difficulty);
  if (state.scene == SceneCharacter) cursor = static_cast<int32_t>(state.character);
}

void Menu::Update(GameState& state) {
  const Input* in = state.input;
  if (!in) return;
  if (in->FreshPress(ButtonBomb)) {
    if (state.sound) state.sound->Play(SeCancel);
    ReturnToTitle(state);
  } else if (in->FreshPress(ButtonEscape)) {
    ReturnToTitle(state);
  }
}

void Menu::Draw(GameState&) { ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(0, 0, 0), 1); }
