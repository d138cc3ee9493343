// Title screen.
#include "scenes/title.h"

#include "library/tesra.h"
#include "scenes/menu.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/savefile_io.h"
#include "shell/sound.h"

namespace {

void PlayEffect(GameState& state, int slot) {
  if (state.sound) state.sound->Play(slot);
}

void AlphaOrNone(int32_t alpha, bool fading) {
  if (fading) ApiSetBlendMode(1, alpha);
}

void BlendNone() { ApiSetBlendMode(0, 255); }

}  // namespace

bool ExtraStartUnlocked(const GameState& state) {
  for (int c = 0; c < 5; ++c)
    for (int d = 0; d < 4; ++d)
      if (state.clearFlags[c][d]) return true;
  return false;
}

Title::Title(GameState&) : backdrop(-1), banner(-1), logo(-1), cursor(0), timer(0) {
  for (int32_t& e : entries) e = -1;
  int32_t picture = ApiLoadGraphFromFile("vko01\\title.tga", 0);
  if (picture == -1) return;
  backdrop = ApiDeriveSubGraph(0, 0, 640, 480, picture);
  banner = ApiDeriveSubGraph(640, 32, 96, 384, picture);
  logo = ApiDeriveSubGraph(640, 0, 320, 32, picture);
  for (int i = 0; i < 8; ++i) entries[i] = ApiDeriveSubGraph(736, 32 + 32 * i, 192, 32, picture);
  ApiFreeGraphHandle(picture, 0);
}

Title::~Title() {
  int32_t* all[3] = {&backdrop, &banner, &logo};
  for (int32_t* h : all)
    if (*h != -1) ApiFreeGraphHandle(*h, 0);
  for (int32_t e : entries)
    if (e != -1) ApiFreeGraphHandle(e, 0);
}

void Title::Reset(GameState& state) {
  cursor = 0;
  timer = 0;
  if (state.bgm) state.bgm->Play(4);
}

void Title::Update(GameState& state) {
  const Input* in = state.input;
  if (timer < kTitleBuildUpFrames) {
    ++timer;
    if (in && in->FreshPress(ButtonShot)) timer = kTitleBuildUpFrames;
    return;
  }
  if (!in) return;
  bool moved = false;
  if (in->Repeats(ButtonUp)) {
    --cursor;
    moved = true;
    PlayEffect(state, SeCursor);
  }
  if (in->Repeats(ButtonDown)) {
    ++cursor;
    moved = true;
    PlayEffect(state, SeCursor);
  }
  bool wrapped = false;
  if (cursor < 0) {
    cursor = 7;
    wrapped = true;
  } else if (cursor > 7) {
    cursor = 0;
    wrapped = true;
  }
  (void)moved;
  // A press in the frame the cursor wraps acts on no entry.
  if (wrapped || !in->FreshPress(ButtonShot)) return;

  uint32_t next = state.scene;
  switch (cursor) {
    case TitleStart:
      state.practice = 0;
      next = SceneDifficulty;
      break;
    case TitleExtraStart:
      if (!ExtraStartUnlocked(state)) {
        PlayEffect(state, SeCancel);
        return;
      }
      state.practice = 0;
      next = SceneExtraDifficulty;
      break;
    case TitlePracticeStart:
      state.practice = 1;
      next = SceneDifficulty;
      break;
    case TitleReplay:
      ScanReplaySlots(state);
      next = SceneReplaySelect;
      break;
    case TitleRecords: next = SceneRecords; break;
    case TitleMusicRoom: next = SceneMusicRoom; break;
    case TitleOptions: next = SceneOptions; break;
    default:
      PlayEffect(state, SeOk);
      state.quit = 1;
      return;
  }
  PlayEffect(state, SeOk);
  state.scene = next;
  if (state.menu) state.menu->ResetCursor(state);
}

void Title::Draw(GameState&) {
  const int32_t t = timer;
  AlphaOrNone(4 * t, t < 64);
  ApiDrawGraphAt(0, 0, backdrop, 0);
  BlendNone();
  if (t >= 64) {
    AlphaOrNone(4 * t - 256, t < 128);
    ApiDrawGraphRotated(208, 64, 1.0, -3.141592653589793 / 2, banner, 0, 0);
    BlendNone();
  }
  if (t >= 128) {
    AlphaOrNone(4 * t - 512, t < 192);
    ApiDrawGraphAt(48, 100, logo, 1);
    BlendNone();
  }
  if (t >= 192) {
    for (int i = 0; i < 8; ++i) {
      int32_t alpha = t < 256 ? 2 * t - 384 : (i == cursor ? 255 : 128);
      ApiSetBlendMode(1, alpha);
      ApiDrawGraphAt(64 + 8 * i, 160 + 36 * i, entries[i], 1);
    }
    BlendNone();
  }
}
