// Dialogue tables: for each dialogue number its strips and the other
// speaker's portrait, and for each strip who is speaking. The stage dialogues
// and the ending read them.
#pragma once
#include <cstdint>

constexpr int32_t kTalkDialogueCount = 61;
constexpr int32_t kTalkSheetGroups = 7;  // stage 1, 2, 3, 4, 5, final, extra
constexpr int32_t kTalkNoPortrait = 15;  // a portrait set without a picture
// Rows 53-60 are the endings' lines on their own sheet: no stage dialogue.
constexpr int32_t kTalkFirstEnding = 53;

struct TalkDialogue {
  int32_t sheetGroup;   // the strip sheet it lives on (-1: no such dialogue)
  int32_t startLine;    // first strip
  int32_t endLine;      // last strip
  int32_t portraitSet;  // the other speaker's portrait and name plate 0-15
};
extern const TalkDialogue kTalkDialogues[kTalkDialogueCount];

// The lines of ending 53-60, or nullptr for any other number.
const TalkDialogue* FindEndingLines(int32_t ending);
// The dialogue of number n, or nullptr when there is none.
const TalkDialogue* FindTalkDialogue(int32_t n);
// The strip sheet group of a stage number 0-12, -1 for any other.
int32_t TalkSheetGroup(int32_t stageNumber);
// Line kind 0-4 of strip `line` on the sheet of `stageNumber`; 0 for a strip
// without a dialogue line or a stage without strips.
int32_t TalkLineKind(int32_t stageNumber, int32_t line);
