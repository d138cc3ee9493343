// StageResult: scene 12, the tally after a cleared stage. A panel turns over
// the play field from the frozen play to the result picture, the bonus is
// added, the next stage is set up behind it, and the panel turns on to it.
#pragma once
#include <cstdint>

#include "library/tesra.h"

struct GameState;

// The frame at which the tally waits for the player's press.
constexpr int32_t kStageResultWaitFrame = 202;

// The clear bonus of the stage a clear advances to (4: stage 2 ... 65535:
// after the last stage); 0 for stage numbers without one.
int32_t StageClearBonusFor(uint32_t advancedStageNumber);
// The bonuses of one tally: f = 0.3 x difficulty + 0.7 in double, each
// product truncated and saturated to the 32-bit range.
struct StageBonuses {
  int32_t clear, graze, pointItems, gaugeItems, total;
};
StageBonuses ComputeStageBonuses(int32_t clearBonus, uint32_t difficulty, int32_t graze,
                                  int32_t pointItems, int32_t gaugeItems);

class StageResult {
 public:
  explicit StageResult(GameState& state);  // cuts and the four drawable screens
  virtual ~StageResult();

  // Called by the stage clear after it has advanced stageNumber: the bonuses
  // and the three panel pictures.
  void Start(GameState& state);
  void Update(GameState& state);
  void Draw(GameState& state);
  // True while the tally stands at its wait for a press (live play only).
  bool WaitingForPress() const { return frame == kStageResultWaitFrame; }
  // Places the panel's six vertices for the cosine of cosDegrees and the sine
  // of sinDegrees (one angle apart in the second half-turn).
  void PlacePanel(double cosDegrees, double sinDegrees);

  int32_t portraits[5];  // 200 x 300 from the player cut-in sheet
  int32_t sprites[5];    // 32 x 48 from the player sheet
  int32_t screenPlay, screenResult, screenNext;  // 512 x 512 panel faces
  int32_t workScreen;    // 384 x 448, the play field's size
  int32_t frame;         // frames since Start
  float viewport[16];
  GraphVertex panel[6];  // two triangles
};
