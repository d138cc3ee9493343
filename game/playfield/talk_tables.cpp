// Dialogue tables: the strips, speaker and portrait of every stage dialogue,
// shared by the stage dialogues and the ending.
#include "playfield/talk_tables.h"

// Dialogue number -> strip sheet group, first and last strip, portrait set.
// Numbers without a row start nothing.
const TalkDialogue kTalkDialogues[kTalkDialogueCount] = {
    {0, 0, 3, 0},  // 0
    {0, 4, 5, 0},  // 1
    {0, 6, 9, 1},  // 2
    {0, 10, 11, 1},  // 3
    {0, 12, 15, 2},  // 4
    {0, 16, 17, 2},  // 5
    {0, 18, 21, 3},  // 6
    {0, 22, 23, 3},  // 7
    {1, 0, 2, 4},  // 8
    {1, 3, 4, 4},  // 9
    {1, 5, 7, 4},  // 10
    {1, 8, 9, 4},  // 11
    {1, 10, 12, 4},  // 12
    {1, 13, 14, 4},  // 13
    {1, 15, 17, 4},  // 14
    {1, 18, 19, 4},  // 15
    {2, 0, 3, 6},  // 16
    {2, 4, 5, 6},  // 17
    {2, 6, 9, 6},  // 18
    {2, 10, 11, 6},  // 19
    {2, 12, 15, 6},  // 20
    {2, 16, 17, 6},  // 21
    {2, 18, 21, 6},  // 22
    {2, 22, 23, 6},  // 23
    {3, 0, 3, 7},  // 24
    {3, 4, 5, 7},  // 25
    {3, 6, 9, 8},  // 26
    {3, 10, 11, 8},  // 27
    {3, 12, 15, 9},  // 28
    {3, 16, 17, 9},  // 29
    {3, 18, 21, 10},  // 30
    {3, 22, 23, 10},  // 31
    {4, 0, 3, 11},  // 32
    {4, 4, 5, 11},  // 33
    {4, 6, 9, 11},  // 34
    {4, 10, 11, 11},  // 35
    {4, 12, 15, 11},  // 36
    {4, 16, 17, 11},  // 37
    {4, 18, 21, 11},  // 38
    {4, 22, 23, 11},  // 39
    {5, 0, 3, 12},  // 40
    {5, 4, 7, 12},  // 41
    {5, 8, 11, 12},  // 42
    {5, 12, 15, 12},  // 43
    {5, 16, 18, 14},  // 44
    {6, 0, 3, 13},  // 45
    {6, 4, 5, 13},  // 46
    {6, 6, 9, 13},  // 47
    {6, 10, 11, 13},  // 48
    {6, 12, 15, 13},  // 49
    {6, 16, 17, 13},  // 50
    {6, 18, 21, 13},  // 51
    {6, 22, 23, 13},  // 52
    {-1, 0, 13, 15},  // 53: ending
    {-1, 14, 16, 15},  // 54: ending
    {-1, 17, 30, 15},  // 55: ending
    {-1, 31, 33, 15},  // 56: ending
    {-1, 34, 47, 15},  // 57: ending
    {-1, 48, 50, 15},  // 58: ending
    {-1, 51, 64, 15},  // 59: ending
    {-1, 65, 67, 15},  // 60: ending
};

// Who speaks on each strip of a sheet group: 0 the player, 1 the other
// speaker, 2 the other speaker entering with the name plate, 3 both, 4 the
// other speaker alone.
static const int8_t kKinds0[] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0};
static const int8_t kKinds1[] = {2, 0, 1, 1, 0, 2, 0, 1, 1, 0, 2, 0, 1, 1, 0, 2, 0, 1, 1, 0};
static const int8_t kKinds2[] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0};
static const int8_t kKinds3[] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0};
static const int8_t kKinds4[] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0};
static const int8_t kKinds5[] = {0, 2, 0, 1, 0, 2, 0, 1, 0, 2, 0, 1, 0, 2, 0, 1, 2, 4, 3};
static const int8_t kKinds6[] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0, 0, 2, 0, 1, 1, 0};

namespace {
struct KindRun {
  const int8_t* kinds;
  int32_t count;
};
const KindRun kKindRuns[kTalkSheetGroups] = {
    {kKinds0, static_cast<int32_t>(sizeof kKinds0)},
    {kKinds1, static_cast<int32_t>(sizeof kKinds1)},
    {kKinds2, static_cast<int32_t>(sizeof kKinds2)},
    {kKinds3, static_cast<int32_t>(sizeof kKinds3)},
    {kKinds4, static_cast<int32_t>(sizeof kKinds4)},
    {kKinds5, static_cast<int32_t>(sizeof kKinds5)},
    {kKinds6, static_cast<int32_t>(sizeof kKinds6)},
};
}  // namespace

int32_t TalkSheetGroup(int32_t stageNumber) {
  static const int8_t kGroup[13] = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3, 4, 5, 6};
  return stageNumber >= 0 && stageNumber <= 12 ? kGroup[stageNumber] : -1;
}

const TalkDialogue* FindEndingLines(int32_t ending) {
  if (ending < kTalkFirstEnding || ending >= kTalkDialogueCount) return nullptr;
  return &kTalkDialogues[ending];
}

const TalkDialogue* FindTalkDialogue(int32_t n) {
  if (n < 0 || n >= kTalkDialogueCount || kTalkDialogues[n].sheetGroup < 0) return nullptr;
  return &kTalkDialogues[n];
}

int32_t TalkLineKind(int32_t stageNumber, int32_t line) {
  int32_t g = TalkSheetGroup(stageNumber);
  if (g < 0 || line < 0 || line >= kKindRuns[g].count) return 0;
  return kKindRuns[g].kinds[line];
}
