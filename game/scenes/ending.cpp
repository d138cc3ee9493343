// Ending: text lines, then the staff roll.
#include "scenes/ending.h"

#include "library/tesra.h"
#include "playfield/talk_tables.h"
#include "scenes/menu.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/input.h"

namespace {

void Free(int32_t& handle) {
  if (handle != -1) ApiFreeGraphHandle(handle, 0);
  handle = -1;
}

}  // namespace

Ending::Ending(GameState&)
    : endingImage(-1), staffImage(-1), staffRollImage(-1), active(0), line(0), lastLine(0),
      phase(0), scroll(0.0f), staffMusicStarted(0) {
  for (int32_t& h : lineImages) h = -1;
}

Ending::~Ending() { ReleaseImages(); }

void Ending::ReleaseImages() {
  for (int32_t& h : lineImages) Free(h);
  Free(endingImage);
  Free(staffImage);
  Free(staffRollImage);
}

void Ending::LoadImages() {
  ReleaseImages();
  if (ApiLoadGraphFileSplit("vko01\\talked.bmp", 84, 3, 28, 340, 36, lineImages, 0) != 0)
    for (int32_t& h : lineImages) h = -1;
  endingImage = ApiLoadGraphFromFile("vko01\\ending.tga", 0);
  staffImage = ApiLoadGraphFromFile("vko01\\staff.tga", 0);
  staffRollImage = ApiLoadGraphFromFile("vko01\\staffroll.tga", 0);
}

void Ending::Start(int32_t ending) {
  const TalkDialogue* d = FindEndingLines(ending);
  active = 1;
  line = d ? d->startLine : 0;
  lastLine = d ? d->endLine : -1;
}

void Ending::Prepare() {
  scroll = kEndingStartScroll;
  active = 0;
  phase = 0;
  staffMusicStarted = 0;
  LoadImages();
}

void Ending::Update(GameState& state) {
  const Input* in = state.input;
  const bool skip = in && in->Held(ButtonSkip);
  if (phase == 0) {
    if (scroll == kEndingStartScroll) {
      if (state.bgm) state.bgm->Play(5);
      scroll += 1.0f;
    }
    if (active && ((in && in->FreshPress(ButtonShot)) || skip)) {
      ++line;
      if (line > lastLine) {
        state.whiteFade = 255;
        if (state.bgm) state.bgm->StopAll();
        active = 0;
        phase = 1;
      }
    }
    return;
  }
  // The staff-roll music starts once the roll has reached -150 (a step of
  // 2.5 can jump over the exact value).
  if (!staffMusicStarted && scroll >= -150.0f) {
    if (state.bgm) state.bgm->Play(6);
    staffMusicStarted = 1;
  }
  if (scroll < -440.0f)
    scroll += 1.0f;
  else
    scroll += skip ? 2.5f : 0.5f;
  if (scroll >= 956.0f) {
    ReleaseImages();
    state.scene = SceneNameEntry;
    if (state.menu) state.menu->ResetCursor(state);
    if (state.bgm) state.bgm->StopAll();
  }
}

void Ending::Draw(GameState&) {
  if (phase == 0) {
    ApiDrawGraphAt(0, 0, endingImage, 0);
    if (active && line >= 0 && line < 128) ApiDrawGraphRotated(208, 240, 1.0, 0.0, lineImages[line], 0, 0);
    return;
  }
  if (scroll < -504.0f) return;
  if (scroll < -440.0f) {
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(255, 255, 255), 1);
    ApiSetBlendMode(1, static_cast<int>((scroll + 504.0f) * 4.0f));
    ApiDrawGraphAt(0, 0, staffImage, 0);
    ApiSetBlendMode(0, 255);
    return;
  }
  ApiDrawGraphAt(0, 0, staffImage, 0);
  ApiDrawGraphAt(64, static_cast<int>(-scroll), staffRollImage, 1);
  if (scroll >= 700.0f) {
    ApiSetBlendMode(1, static_cast<int>(scroll - 700.0f));
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(0, 0, 0), 1);
    ApiSetBlendMode(0, 255);
  }
}
