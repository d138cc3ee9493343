// Menu scenes: the selects that lead to a play, the replay select, records,
// music room, options, key configuration, continue prompt and pause.
#include "scenes/menu.h"

#include <cstdio>

#include "library/tesra.h"
#include "playfield/player.h"
#include "scenes/scene.h"
#include "scenes/title.h"
#include "shell/bgm.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/savefile.h"
#include "shell/savefile_io.h"
#include "shell/scene_calls.h"
#include "shell/sound.h"

namespace {

void Play(GameState& state, int effect) {
  if (state.sound) state.sound->Play(effect);
}

int32_t Cut(int x, int y, int w, int h, int32_t picture) {
  return picture == -1 ? -1 : ApiDeriveSubGraph(x, y, w, h, picture);
}

void Free(int32_t& handle) {
  if (handle != -1) ApiFreeGraphHandle(handle, 0);
  handle = -1;
}

// The first of the user's two replacements or the stock picture that opens.
int32_t LoadCharacterSelectPicture(const char* name) {
  char path[64];
  const char* const forms[3] = {"replace\\%s.tga", "replace\\%s.bmp", "vko01\\%s.tga"};
  for (int i = 0; i < 3; ++i) {
    std::snprintf(path, sizeof path, forms[i], name);
    if (i < 2 && !GameOverrideOpens(path)) continue;
    int32_t g = ApiLoadGraphFromFile(path, 0);
    if (g != -1) return g;
  }
  return -1;
}

}  // namespace

void ReturnToTitle(GameState& state) {
  state.scene = SceneTitle;
  if (state.title) state.title->Reset(state);
}

int32_t MoveMenuCursor(const Input& in, Sound* sound, int32_t cursor, int32_t count,
                       int decButton, int incButton, bool clamp, int repeatEvery) {
  if (in.Repeats(decButton, repeatEvery)) {
    --cursor;
    if (sound) sound->Play(SeCursor);
  }
  if (in.Repeats(incButton, repeatEvery)) {
    ++cursor;
    if (sound) sound->Play(SeCursor);
  }
  if (clamp) return cursor < 0 ? 0 : (cursor >= count ? count - 1 : cursor);
  if (cursor < 0) return count - 1;
  if (cursor >= count) return 0;
  return cursor;
}

bool LastCharacterUnlocked(const GameState& state) {
  for (int c = 0; c < 4; ++c)
    if (state.clearFlags[c][2] || state.clearFlags[c][3]) return true;
  return false;
}

Menu::Menu(GameState& state)
    : cursor(0), subState(0), saveSlot(0), namePos(0), place(0), watchedSlot(0), startedPlay(0),
      backdrop(-1) {
  for (int32_t& h : labels) h = -1;
  for (int32_t& h : plates) h = -1;
  for (int32_t& h : characterPictures) h = -1;
  for (int32_t& h : glyphs) h = -1;
  for (int32_t& h : spellNames) h = -1;

  int32_t menu = ApiLoadGraphFromFile("vko01\\menu.tga", 0);
  backdrop = Cut(0, 0, 640, 480, menu);
  for (int i = 0; i < 6; ++i) labels[i] = Cut(640, 32 * i, 192, 32, menu);
  for (int i = 0; i < 5; ++i) plates[i] = Cut(640, 196 + 64 * i, 256, 64, menu);
  Free(menu);
  int32_t select = LoadCharacterSelectPicture("charaselect");
  for (int i = 0; i < 4; ++i) characterPictures[i] = Cut(512 * (i % 2), 512 * (i / 2), 512, 512, select);
  Free(select);
  int32_t select2 = LoadCharacterSelectPicture("charaselect2");
  characterPictures[4] = Cut(0, 0, 512, 512, select2);
  characterPictures[5] = Cut(512, 0, 512, 512, select2);
  Free(select2);
  if (state.otherSheet != -1 && state.otherSheet != 0)
    for (int i = 0; i < kGlyphCells; ++i)
      glyphs[i] = Cut(16 * (i % 26), 16 * (i / 26 + 1), 16, 16, state.otherSheet);
  if (state.spellSheet != -1 && state.spellSheet != 0)
    for (int i = 0; i < 256; ++i) spellNames[i] = Cut(256 * (i % 4), 16 * (i / 4), 256, 16, state.spellSheet);
  ResetCursor(state);
}

Menu::~Menu() {
  Free(backdrop);
  for (int32_t& h : labels) Free(h);
  for (int32_t& h : plates) Free(h);
  for (int32_t& h : characterPictures) Free(h);
  for (int32_t& h : glyphs) Free(h);
  for (int32_t& h : spellNames) Free(h);
}

void Menu::Enter(GameState& state, uint32_t scene) {
  state.scene = scene;
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
  startedPlay = 0;
  if (!state.input) return;
  // A replay never writes a high score or saves a replay of its own.
  if (state.playback && (state.scene == SceneNameEntry || state.scene == SceneReplaySave)) {
    state.playback = 0;
    ReturnToTitle(state);
    return;
  }
  switch (state.scene) {
    case SceneDifficulty: UpdateDifficulty(state); break;
    case SceneExtraDifficulty: UpdateExtraDifficulty(state); break;
    case SceneCharacter: UpdateCharacter(state); break;
    case ScenePracticeStage: UpdatePracticeStage(state); break;
    case SceneRoute: UpdateRoute(state); break;
    case SceneReplaySelect: UpdateReplaySelect(state); break;
    case SceneRecords: UpdateRecords(state); break;
    case SceneMusicRoom: UpdateMusicRoom(state); break;
    case SceneOptions: UpdateOptions(state); break;
    case SceneKeyConfig: UpdateKeyConfig(state); break;
    case SceneContinue: UpdateContinue(state); break;
    case ScenePause: UpdatePause(state); break;
    case SceneNameEntry: UpdateNameEntry(state); break;
    case SceneReplaySave: UpdateReplaySave(state); break;
    default: break;
  }
}

// A play starts: playing scene, live input, the player's start values, then
// the stage. A practice gets nine lives and full power. A new run owes nothing
// to an earlier continued one: the stage reset clears the continues only for
// the first stages, so an Extra or practice run would otherwise inherit them
// and lose its clear flag and its replay save.
void Menu::StartPlay(GameState& state, bool practiceStart) {
  state.scene = ScenePlaying;
  state.playback = 0;
  state.continues = 0;
  if (state.player) state.player->Reset(state);
  if (practiceStart) {
    state.lives = 9;
    state.power = 128;
  }
  ResetStage(state);
  startedPlay = 1;
}

void StartReplayPlay(GameState& state) {
  const ReplayHeader& h = state.replayHeader;
  state.character = h.character;
  state.route = h.character == 4 ? h.route : h.character;
  state.difficulty = h.difficulty;
  state.stageNumber = h.difficulty == 4 ? 12 : state.route;
  state.practice = h.practice;
  if (h.practice) state.stageNumber = h.stage;
  state.scene = ScenePlaying;
  state.playback = 1;
  if (state.player) state.player->Reset(state);
  state.lives = static_cast<int32_t>(h.livesSetting);
  state.bombs = static_cast<int32_t>(h.bombsSetting);
  if (h.practice) {
    state.power = 128;
    state.lives = 9;
  }
  state.playSeed = h.seed;
  ResetStage(state);
}

void Menu::StartReplay(GameState& state) {
  StartReplayPlay(state);
  startedPlay = 1;
}

void Menu::UpdateDifficulty(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 4, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    state.difficulty = static_cast<uint32_t>(cursor);
    Enter(state, SceneCharacter);
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    ReturnToTitle(state);
  }
}

void Menu::UpdateExtraDifficulty(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 1, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    state.difficulty = 4;
    Enter(state, SceneCharacter);
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    ReturnToTitle(state);
  }
}

void Menu::UpdateCharacter(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 5, ButtonLeft, ButtonRight);
  if (in.FreshPress(ButtonShot)) {
    if (cursor == 4 && !LastCharacterUnlocked(state)) {
      Play(state, SeCancel);
      return;
    }
    Play(state, SeOk);
    state.character = static_cast<uint32_t>(cursor);
    if (state.practice) {
      Enter(state, ScenePracticeStage);
    } else if (state.difficulty == 4) {
      state.stageNumber = 12;
      StartPlay(state, false);
    } else if (cursor == 4) {
      Enter(state, SceneRoute);
    } else {
      state.stageNumber = state.route = state.character;
      StartPlay(state, false);
    }
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    Enter(state, SceneDifficulty);
  }
}

void Menu::UpdatePracticeStage(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 12, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    Enter(state, SceneCharacter);
  } else if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    state.stageNumber = static_cast<uint32_t>(cursor);
    if (cursor <= 3) state.route = static_cast<uint32_t>(cursor);
    if (cursor >= 6 && cursor <= 9) state.route = static_cast<uint32_t>(cursor - 6);
    StartPlay(state, true);
  }
}

void Menu::UpdateRoute(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 4, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    Enter(state, SceneCharacter);
  } else if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    state.route = state.stageNumber = static_cast<uint32_t>(cursor);
    StartPlay(state, false);
  }
}

void Menu::UpdateReplaySelect(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, kReplaySlotCount, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonShot)) {
    char name[64];
    ReplaySlotFileName(cursor, name, sizeof name);
    // A slot whose file is missing or does not decode cannot be played; the
    // replay last read must never stand in for it.
    if (FileExists(name) && LoadReplay(state, cursor)) {
      Play(state, SeOk);
      watchedSlot = cursor;
      StartReplay(state);
    } else {
      Play(state, SeCancel);
    }
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    ReturnToTitle(state);
  }
}

void Menu::UpdateRecords(GameState& state) {
  const Input& in = *state.input;
  if (subState == 0) {
    cursor = MoveMenuCursor(in, state.sound, cursor, 2, ButtonUp, ButtonDown);
    if (in.FreshPress(ButtonShot)) {
      Play(state, SeOk);
      subState = cursor == 0 ? 1 : 2;
      cursor = 0;
    } else if (in.FreshPress(ButtonBomb)) {
      Play(state, SeCancel);
      ReturnToTitle(state);
    }
    return;
  }
  if (subState == 1)
    cursor = MoveMenuCursor(in, state.sound, cursor, 5, ButtonUp, ButtonDown, true);
  else
    cursor = MoveMenuCursor(in, state.sound, cursor, 180, ButtonUp, ButtonDown, true, 2);
  if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    cursor = subState == 1 ? 0 : 1;
    subState = 0;
  }
}

void Menu::UpdateMusicRoom(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 14, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    if (state.bgm) state.bgm->PlayMusicRoom(cursor + 1);
  } else if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    if (state.bgm) state.bgm->StopAll();
    ReturnToTitle(state);
  }
}

namespace {

struct OptionValue {
  uint32_t GameState::*field;
  int32_t step;
  int32_t max;
};
const OptionValue kOptionValues[4] = {
    {&GameState::livesSetting, 1, 2},
    {&GameState::bombsSetting, 1, 3},
    {&GameState::bgmVolume, 5, 100},
    {&GameState::seVolume, 5, 100},
};

void ApplyVolumes(GameState& state) {
  if (state.bgm) state.bgm->ApplyVolume(state);
  if (state.sound) state.sound->ApplyVolume(state);
}

}  // namespace

void Menu::UpdateOptions(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 7, ButtonUp, ButtonDown);
  int change = 0;
  if (in.Repeats(ButtonLeft)) {
    Play(state, SeCursor);
    --change;
  }
  if (in.Repeats(ButtonRight)) {
    Play(state, SeCursor);
    ++change;
  }
  if (change != 0 && cursor < 4) {
    const OptionValue& o = kOptionValues[cursor];
    int32_t v = static_cast<int32_t>(state.*o.field) + change * o.step;
    v = v < 0 ? 0 : (v > o.max ? o.max : v);
    bool changed = static_cast<uint32_t>(v) != state.*o.field;
    state.*o.field = static_cast<uint32_t>(v);
    if (changed && cursor == 2 && state.bgm) state.bgm->ApplyVolume(state);
    if (changed && cursor == 3 && state.sound) state.sound->ApplyVolume(state);
  }
  if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    ReturnToTitle(state);
  } else if (in.FreshPress(ButtonShot)) {
    // The save entry sounds whether the settings file was written.
    if (cursor != 6) Play(state, SeOk);
    if (cursor == 4) {
      Enter(state, SceneKeyConfig);
    } else if (cursor == 5) {
      state.livesSetting = 2;
      state.bombsSetting = 3;
      state.bgmVolume = state.seVolume = 100;
      ApplyVolumes(state);
    } else if (cursor == 6) {
      ReturnToTitle(state);
      Play(state, SaveConfigFile(state) ? SeOk : SeCancel);
    }
  }
}

void Menu::UpdateKeyConfig(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 5, ButtonUp, ButtonDown);
  if (cursor <= 3) {
    uint32_t bits = static_cast<uint32_t>(ApiGetPadInputBits(1));
    for (int k = 4; k < 32 && bits != 0; ++k) {
      if (bits == (1u << k)) {
        state.padButton[cursor] = static_cast<uint32_t>(k);
        break;
      }
    }
  }
  if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    if (cursor == 4) {
      ApplyKeyConfig(state);
      Enter(state, SceneOptions);
    }
  }
}

void Menu::UpdateContinue(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 2, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    Enter(state, SceneNameEntry);
  } else if (in.FreshPress(ButtonShot)) {
    Play(state, SeOk);
    if (cursor == 0) {
      ++state.continues;
      if (state.player) state.player->Reset(state);
      state.scene = ScenePlaying;
    } else {
      Enter(state, SceneNameEntry);
    }
  }
}

void Menu::UpdatePause(GameState& state) {
  const Input& in = *state.input;
  cursor = MoveMenuCursor(in, state.sound, cursor, 3, ButtonUp, ButtonDown);
  if (in.FreshPress(ButtonEscape) || in.FreshPress(ButtonBomb)) {
    Play(state, SeCancel);
    state.scene = ScenePlaying;
    return;
  }
  if (!in.FreshPress(ButtonShot)) return;
  Play(state, SeOk);
  if (cursor == 0) {
    state.scene = ScenePlaying;
  } else if (cursor == 1 && state.playback) {
    StartReplay(state);  // the replay from its first frame
  } else if (cursor == 1) {
    if (state.stageNumber != 12 && !state.practice) state.stageNumber = state.route;
    StartPlay(state, state.practice != 0);
  } else {
    state.playback = 0;
    ReturnToTitle(state);
  }
}
