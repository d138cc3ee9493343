// Dialogue object.
#include "playfield/talk.h"

#include "library/tesra.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "playfield/talk_tables.h"
#include "shell/gamestate.h"
#include "shell/input.h"

namespace {

void FreeAll(int32_t* handles, int count) {
  for (int i = 0; i < count; ++i) {
    if (handles[i] != -1) ApiFreeGraphHandle(handles[i], 0);
    handles[i] = -1;
  }
}

struct StripSheet {
  const char* file;
  int32_t rows;  // strips are cut 3 across, row by row
};

// Strip sheet of each stage number 0-12.
const StripSheet kStripSheets[13] = {
    {"vko01\\talk1.bmp", 14}, {"vko01\\talk1.bmp", 14}, {"vko01\\talk1.bmp", 14},
    {"vko01\\talk1.bmp", 14}, {"vko01\\talk2.bmp", 7},  {"vko01\\talk3.bmp", 28},
    {"vko01\\talk4.bmp", 28}, {"vko01\\talk4.bmp", 28}, {"vko01\\talk4.bmp", 28},
    {"vko01\\talk4.bmp", 28}, {"vko01\\talk5.bmp", 28}, {"vko01\\talk6.bmp", 28},
    {"vko01\\talkex.bmp", 25},
};

// The FrameInput bytes of this play update and of the one before: recorded
// ones during playback; in live play pad 0 and the Player's last input, which
// is what the recording holds, and goes on where a full recording stops. So a
// dialogue advances on the same frames when its replay is played.
void FrameInputs(const GameState& s, uint8_t& now, uint8_t& before) {
  const uint32_t i = s.inputIndex;
  if (s.playback) {
    now = i < kPlaybackBufferSize ? s.playbackInputs[i] : 0;
    before = i > 0 && i - 1 < kPlaybackBufferSize ? s.playbackInputs[i - 1] : 0;
  } else {
    now = s.input ? BuildFrameInput(*s.input) : 0;
    before = s.player ? static_cast<uint8_t>(s.player->frameInput) : 0;
  }
}

}  // namespace

Talk::Talk(GameState& state)
    : extraSheet(-1), active(0), secondSpeaker(0), plateFade(0), plateFrames(0), line(0),
      endLine(0), portraitSet(-1) {
  for (int32_t& h : strips) h = -1;
  for (int32_t& h : namePlates) h = -1;
  for (int32_t& h : playerPortraits) h = -1;
  for (int32_t& h : otherPortraits) h = -1;
  if (state.cutinPlayerSheet > 0)
    for (int i = 0; i < 5; ++i)
      playerPortraits[i] = ApiDeriveSubGraph(200 * i, 0, 200, 300, state.cutinPlayerSheet);
  if (state.cutinSheet > 0)
    for (int i = 0; i < 15; ++i)
      otherPortraits[i] = ApiDeriveSubGraph(200 * (i % 5), 300 * (i / 5), 200, 300, state.cutinSheet);
  if (ApiLoadGraphFileSplit("vko01\\name.tga", 16, 1, 16, 256, 64, namePlates, 0) == -1)
    for (int32_t& h : namePlates) h = -1;
}

Talk::~Talk() {
  FreeAll(strips, 128);
  FreeAll(namePlates, 16);
  FreeAll(playerPortraits, 5);
  FreeAll(otherPortraits, 15);
  FreeAll(&extraSheet, 1);
}

void Talk::LoadStageStrips(int stageNumber) {
  FreeAll(strips, 128);
  if (stageNumber < 0 || stageNumber > 12) return;
  const StripSheet& sheet = kStripSheets[stageNumber];
  const int count = 3 * sheet.rows;
  if (ApiLoadGraphFileSplit(sheet.file, count, 3, sheet.rows, 300, 36, strips, 0) == -1)
    for (int i = 0; i < count; ++i) strips[i] = -1;
  if (stageNumber != 12) return;
  extraSheet = ApiLoadGraphFromFile("vko01\\talkex2.bmp", 0);
  if (extraSheet == -1) return;
  for (int i = 0; i < 27; ++i)
    strips[count + i] = ApiDeriveSubGraph(300 * (i % 3), 36 * (i / 3), 300, 36, extraSheet);
  FreeAll(&extraSheet, 1);
}

void Talk::ResetForStage() {
  active = 0;
  secondSpeaker = 0;
  plateFade = 0;
  plateFrames = 0;
  line = 0;
  endLine = 0;
  portraitSet = -1;
}

void Talk::Start(int32_t n) {
  if (active) return;
  const TalkDialogue* d = FindTalkDialogue(n);
  if (!d) return;
  active = 1;
  secondSpeaker = 0;
  plateFade = 0;
  plateFrames = 0;
  line = d->startLine;
  endLine = d->endLine;
  portraitSet = d->portraitSet;
}

void Talk::Update(GameState& state) {
  if (!active) return;
  uint8_t now = 0, before = 0;
  FrameInputs(state, now, before);
  if (((now & FrameShot) && !(before & FrameShot)) || (now & FrameSkip)) ++line;
  if (!secondSpeaker) {
    int32_t kind = TalkLineKind(static_cast<int32_t>(state.stageNumber), line);
    if (kind == 1 || kind == 2) secondSpeaker = 1;
    if (kind == 2) plateFade = 1;
  }
  if (line > endLine) active = 0;
  if (plateFade) ++plateFrames;
}

void Talk::Draw(GameState& state) {
  if (!active) return;
  const int32_t k = TalkLineKind(static_cast<int32_t>(state.stageNumber), line);
  if (k != 0 && k != 3)
    ApiSetBlendMode(1, 127);
  else
    ApiSetBlendMode(0, 255);
  if (k != 4 && state.character < 5) ApiDrawGraphAt(16, 164, playerPortraits[state.character], 1);
  const bool hasPortrait = portraitSet >= 0 && portraitSet < 15;
  if (secondSpeaker) {
    if (k == 0)
      ApiSetBlendMode(1, 127);
    else
      ApiSetBlendMode(0, 255);
    if (hasPortrait) ApiDrawGraphAt(200, 164, otherPortraits[portraitSet], 1);
  }
  if (plateFade && plateFrames <= 300 && portraitSet >= 0 && portraitSet < 16) {
    ApiSetBlendMode(1, 4 * plateFrames < 255 ? 4 * plateFrames : 255);
    ApiDrawGraphAt(144, 318, namePlates[portraitSet], 1);
  }
  ApiSetBlendMode(1, 255);
  ApiDrawRectangle(31, 401, 383, 449, ApiRgbToScreenColor(0, 0, 0), 1);
  ApiSetBlendMode(0, 255);
  if (line >= 0 && line < 128) ApiDrawGraphAt(57, 407, strips[line], 0);
}

uint64_t Talk::Hash() const {
  StateHasher h;
  h.Add(active);
  h.Add(secondSpeaker);
  h.Add(plateFade);
  h.Add(plateFrames);
  h.Add(line);
  h.Add(endLine);
  h.Add(portraitSet);
  return h.Value();
}
