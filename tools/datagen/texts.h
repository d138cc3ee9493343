// Every word the generated pictures show: the title, menu labels, character and
// boss names, stage names, spell-card and bomb names, dialogues, ending lines and
// the staff roll. All of it lives in texts.cpp.
#pragma once

#include <string>
#include <vector>

namespace datagen {

constexpr int kCharacterCount = 5;
constexpr int kPortraitSets = 16;  // other speakers: 0-13 bosses, 14 the last form, 15 spare

struct CharacterText {
  const char* name;      // full name
  const char* title;     // epithet
  const char* shotNote;  // the character-select description line
  const char* bombs[2];  // bomb names: normal, slow
};

struct TitleTexts {
  const char* title;
  const char* subtitle;
  const char* entries[8];
  const char* menuLabels[6];
  const char* difficulty[5];
  const char* difficultyNote[5];
  const char* loading;
  const char* loadingNote;
  const char* locked;
  const char* stageClear;
  const char* ending;
  const char* cutinBand;
  const char* freeze;
  const char* lastBoss;
  const char* routes[4];
  const char* panelLabels[8];  // row labels of the status panel, top to bottom
  const char* itemLabels[8];   // the letters on the item pictures by kind ("" for none)
  const char* bonusLabel;      // small labels of the spell-card status line
  const char* historyLabel;
  const char* bossMarker;      // the boss position marker below the field
  const char* endMark;         // the end cell of the name-entry grid
};

struct DialogueLine {
  int kind;  // 0 player, 1 other speaker, 2 other speaker enters (plate fades in), 3 both, 4 other alone
  std::string text;
};

// One dialogue as the stage sheets lay it out.
struct Dialogue {
  int number;         // dialogue number 0-52
  int sheet;          // index into TalkSheets() (talkex and talkex2 count as one run: 6)
  int firstStrip;     // strip index within the stage's strips
  int portraitSet;    // the other speaker
  std::vector<DialogueLine> lines;
};

const TitleTexts& Titles();
const CharacterText& Character(int c);
const char* BossName(int portraitSet);
// Name strip (row 0-12), vertical title (column 0-9).
const char* StageLabel(int row);
const char* StageTitle(int column);
// Spell card name of spell id 1-199 ("" for unused ids).
std::string SpellName(int spellId);
// All stage dialogues, laid out strip by strip.
const std::vector<Dialogue>& Dialogues();
// The 84 ending lines of talked.bmp ("" for unused strips).
const std::vector<std::string>& EndingLines();
// Staff roll lines; a line starting with '#' is a heading.
const std::vector<std::string>& StaffRoll();

}  // namespace datagen
