// BackgroundFrame: the frame picture around the play field and the status
// display: cut-ins of spell cards and bombs, the boss's status line and bar,
// the stage title, the score panel, the gauge, the boss marker and the tally
// text (draw only).
#pragma once
#include <cstdint>

struct GameState;

// The other speaker's cut-in and boss name strip of each boss id 0-22.
extern const int32_t kBossPortraitIndex[23];

class BackgroundFrame {
 public:
  explicit BackgroundFrame(GameState& state);
  virtual ~BackgroundFrame();

  // The frame, the panel and the notices over the field; during the tally
  // the scene hands in its frame count for the bonus lines (-1 otherwise).
  void Draw(GameState& state, int32_t tallyFrame = -1);

  int32_t framePicture;
  int32_t spellNames[256];   // entry i: the name of spell id i + 1
  int32_t bombNames[10];
  int32_t glyphs[78];        // 0-9 digits, 10-25 signs, 26-51 a-z, 52-77 A-Z
  int32_t smallGlyphs[13];   // 0-9 digits, 11 separator
  int32_t barPieces[4];      // spell bar, bar, gauge fill, gauge background
  int32_t difficultyNames[6];
  int32_t icons[8];          // 0 life and bar star, 2 bomb
  int32_t spellLineStrips[2];
  int32_t spellLineLabels[2];
  int32_t bossNames[16];
  int32_t bossMarker;
  int32_t cutinBand;
  int32_t lastBossBadge;
  int32_t playerCutins[5];
  int32_t bossCutins[15];
  int32_t titleNames[16];    // stage name strips
  int32_t titleColumns[16];  // large vertical titles
  int32_t titleRoutes[16];   // route strips of the fourth stage (rows 6-9)

 private:
  void DrawBossCutin(GameState& state);
  void DrawBombCutin(GameState& state);
  void DrawStageTitle(GameState& state);
  void DrawTally(GameState& state, int32_t tallyFrame);
  void DrawPanel(GameState& state);
  void DrawGauge(GameState& state);
  void DrawBossMarker(GameState& state);
  // A word of letters in glyphs at a 12-pixel pitch.
  void DrawWord(const char* word, int x, int y);
};

// Where a cut-in picture stands at cut-in counter c (180 down to 1): its
// alpha and position. `boss` picks the boss's path (from the right), else
// the player's bomb path.
struct CutinPlace {
  int alpha, x, y;
};
CutinPlace CutinPlaceAt(int32_t c, bool boss);
// The boss life bar's length in 1-pixel columns: 0 when the maximum is 0,
// at most 368.
int32_t BossBarColumns(int32_t hp, int32_t maxHp);
