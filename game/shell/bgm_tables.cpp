// Music tables and the reading of "replace\bgm.ini".
#include <cstdio>
#include <cstring>

#include "shell/bgm.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"

namespace {

// Per stage 0-12: tracks of slots 0-2 and loop points of slots 0-2.
const int kStageTracks[13][3] = {
    {2, 4, 0}, {3, 4, 0}, {2, 4, 0}, {3, 4, 0}, {3, 5, 0}, {2, 6, 0}, {2, 7, 0},
    {2, 7, 0}, {2, 7, 0}, {2, 7, 0}, {2, 8, 0}, {9, 10, 11}, {2, 12, 0}};
const int kStageLoops[13][3] = {
    {4500, 1500, 0}, {0, 1500, 0}, {4500, 1500, 0}, {0, 1500, 0}, {0, 6860, 0},
    {4500, 8900, 0}, {4500, 3000, 0}, {4500, 3000, 0}, {4500, 3000, 0}, {4500, 3000, 0},
    {4500, 0, 0}, {15600, 17000, 0}, {4500, 0, 0}};
// bgm.ini sections (1-based) replacing slots 0-2 of each stage; 0 = none.
const int kStageSections[13][3] = {
    {2, 3, 0}, {4, 5, 0}, {6, 7, 0}, {8, 9, 0}, {10, 11, 0}, {12, 13, 0}, {14, 15, 0},
    {14, 16, 0}, {14, 17, 0}, {14, 18, 0}, {19, 20, 0}, {21, 22, 23}, {24, 25, 0}};
const int kMusicRoomLoops[10] = {0, 4500, 0, 1500, 6860, 8900, 3000, 0, 15600, 17000};

}  // namespace

int BgmOverrideEntry(int stageNumber, int slot) {
  if (stageNumber < 0 || stageNumber > 12 || slot < 0 || slot > 2) return 31;
  int section = kStageSections[stageNumber][slot];
  return section == 0 ? 31 : section - 1;
}

int StageTrackNumber(int stageNumber, int slot) {
  if (stageNumber < 0 || stageNumber > 12 || slot < 0 || slot > 2) return 0;
  return kStageTracks[stageNumber][slot];
}

int StageLoopPointMs(int stageNumber, int slot) {
  if (stageNumber < 0 || stageNumber > 12 || slot < 0 || slot > 2) return 0;
  return kStageLoops[stageNumber][slot];
}

int MusicRoomLoopPointMs(int track) {
  return track >= 1 && track <= 10 ? kMusicRoomLoops[track - 1] : 0;
}

void ReadBgmOverrides(GameState& state) {
  const char* ini = "replace\\bgm.ini";
  if (!GameOverrideOpens(ini)) return;
  for (int s = 1; s <= 27; ++s) {
    char section[24];
    std::snprintf(section, sizeof section, "vko01_%02d", s);
    char path[1024];
    int length = GameReadProfileString(section, "Path", "", path, sizeof path, ini);
    char* entry = state.bgmPath[s - 1];
    entry[0] = 0;
    if (length > 0 && length <= kBgmPathSize - 1 && GameOverrideOpens(path))
      std::memcpy(entry, path, static_cast<size_t>(length) + 1);
    state.bgmLoop[s - 1] = GameReadProfileInt(section, "Loop", 0, ini);
  }
}
