// Fuzz target: a replay file as the replay menu reads it, and when it is
// accepted, its play on a directly built field (no window, no pictures, no
// sound) for a bounded number of frames; also the settings and score decoders
// on the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/log.h"
#include "library/tesra.h"
#include "playfield/background.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "playfield/talk.h"
#include "scenes/ending.h"
#include "scenes/menu.h"
#include "scenes/scene.h"
#include "scenes/stageresult.h"
#include "shell/gamestate.h"
#include "shell/savefile.h"

namespace {

constexpr int kFrames = 1500;

struct Field {
  std::unique_ptr<Boss> boss;
  std::unique_ptr<Stage> stage;
  std::unique_ptr<Talk> talk;
  std::unique_ptr<Background> background;
  std::unique_ptr<Bullet> bullet;
  std::unique_ptr<Item> item;
  std::unique_ptr<Maho> maho;
  std::unique_ptr<Enemy> enemy;
  std::unique_ptr<Player> player;
  std::unique_ptr<StageResult> stageResult;
  std::unique_ptr<Ending> ending;

  explicit Field(GameState& s) {
    s.otherSheet = s.playerSheet = s.cutinSheet = s.cutinPlayerSheet = s.spellSheet = -1;
    s.zakoSheet = -1;
    s.boss = (boss = std::make_unique<Boss>(s)).get();
    s.stage = (stage = std::make_unique<Stage>(s)).get();
    s.talk = (talk = std::make_unique<Talk>(s)).get();
    s.background = (background = std::make_unique<Background>(s)).get();
    s.bullet = (bullet = std::make_unique<Bullet>(s)).get();
    s.item = (item = std::make_unique<Item>(s)).get();
    s.maho = (maho = std::make_unique<Maho>(s)).get();
    s.enemy = (enemy = std::make_unique<Enemy>(s)).get();
    s.player = (player = std::make_unique<Player>(s)).get();
    s.stageResult = (stageResult = std::make_unique<StageResult>(s)).get();
    s.ending = (ending = std::make_unique<Ending>(s)).get();
    s.sceneCalls = &TheSceneCalls();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool quiet = [] {
    SetLogOutput(0);
    return true;
  }();
  (void)quiet;
  if (size > kFileBufferSize) return 0;
  static GameState s;
  std::memset(&s, 0, sizeof s);

  std::vector<uint8_t> bytes(data, data + size);
  bytes.resize(std::max<size_t>(size, kScoreFileSize), 0);
  DecodeConfigFile(bytes.data(), s);
  std::memcpy(bytes.data(), data, size);
  DecodeScoreFile(s, bytes.data());

  std::memcpy(s.fileBuffer, data, size);
  if (!DecodeReplayFile(s, s.fileBuffer, static_cast<uint32_t>(size))) return 0;
  Field field(s);
  StartReplayPlay(s);
  for (int f = 0; f < kFrames && s.playback &&
                  (s.scene == ScenePlaying || s.scene == SceneStageResult);
       ++f)
    UpdateScene(s);
  // The objects go before the record that points at them.
  std::memset(&s, 0, sizeof s);
  return 0;
}
