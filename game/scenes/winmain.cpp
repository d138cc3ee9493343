// Start-up, main loop and end of the game.
#include "scenes/winmain.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "library/tesra.h"
#include "playfield/background.h"
#include "playfield/backgroundframe.h"
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
#include "scenes/texts.h"
#include "scenes/title.h"
#include "shell/bgm.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/loopcontrol.h"
#include "shell/savefile_io.h"
#include "shell/sound.h"

MainLoopState g_mainLoop;

namespace {

int32_t g_loadingScreen = -1;

void SetDefaultSettings(GameState& s) {
  s.screenMode = 2;
  s.color32 = 1;
  s.frameSkip = 0;
  s.livesSetting = 2;
  s.bombsSetting = 3;
  s.bgmVolume = 100;
  s.seVolume = 100;
  // Joypad buttons 0-3 for shot, bomb, slow and skip until assigned.
  for (int k = 0; k < 4; ++k) s.padButton[k] = 4 + static_cast<uint32_t>(k);
}

void SetDefaultHighScores(GameState& s) {
  static const uint32_t mainScores[5] = {100000000, 80000000, 60000000, 40000000, 20000000};
  static const uint32_t extraScores[5] = {50000000, 40000000, 30000000, 20000000, 10000000};
  for (int d = 0; d < 5; ++d)
    for (int p = 0; p < 5; ++p) {
      int i = d * 5 + p;
      s.hiScore[i] = d < 4 ? mainScores[p] : extraScores[p];
      for (int k = 0; k < 8; ++k) s.hiName[i][k] = static_cast<uint8_t>(52 + p);
      s.hiCharacter[i] = static_cast<uint32_t>(p % 4);
      s.hiYear[i] = 2008;
      s.hiMonth[i] = 2;
      s.hiDay[i] = 10;
    }
}

// Missing files keep the defaults, as do unreadable ones (reported by the
// reader and never written this session); a refused one asks to regenerate.
bool AcceptOrAsk(SaveFileRead result, const char* question) {
  if (result != SaveFileRead::Refused) return true;
  return GameAskYesNo(question, kCaption);
}

int32_t LoadOverridablePicture(const char* name) {
  char path[64];
  std::snprintf(path, sizeof path, "replace\\%s.tga", name);
  if (!GameOverrideOpens(path)) std::snprintf(path, sizeof path, "replace\\%s.bmp", name);
  if (!GameOverrideOpens(path)) std::snprintf(path, sizeof path, "vko01\\%s.tga", name);
  return ApiLoadGraphFromFile(path, 0);
}

template <typename T>
T* Create(GameState& s) {
  return new (std::nothrow) T(s);
}

void CreateObjects(GameState& s) {
  s.input = new (std::nothrow) Input();
  s.sound = Create<Sound>(s);
  s.bgm = Create<BGM>(s);
  s.title = Create<Title>(s);
  s.menu = Create<Menu>(s);
  s.talk = Create<Talk>(s);
  s.bullet = Create<Bullet>(s);
  s.item = Create<Item>(s);
  s.player = Create<Player>(s);
  s.enemy = Create<Enemy>(s);
  s.maho = Create<Maho>(s);
  s.boss = Create<Boss>(s);
  s.stage = Create<Stage>(s);
  s.ending = Create<Ending>(s);
  s.backgroundFrame = Create<BackgroundFrame>(s);
  s.background = Create<Background>(s);
  s.stageResult = Create<StageResult>(s);
  s.sceneCalls = &TheSceneCalls();
}

template <typename T>
void Delete(T*& p) {
  delete p;
  p = nullptr;
}

void RunUpdates(GameState& s) {
  int count = 1;
  if (s.playback && s.input) count = PlaybackUpdateCount(*s.input, g_mainLoop.passCounter);
  g_mainLoop.updatesLastPass = count;
  for (int i = 0; i < count; ++i) UpdateScene(s);
}

}  // namespace

StartUpResult GameStartUp(GameState& s) {
  g_mainLoop = MainLoopState{};
  ApiSetLogOutput(0);
  ApiSetWindowTitle(kWindowTitle);
  ApiSetWindowIconResource(101);
  SetDefaultSettings(s);

  if (!AcceptOrAsk(ReadConfigFile(s), kConfigQuestion)) return StartUpResult::Declined;
  ApiChangeWindowMode(1);
  SetDefaultHighScores(s);
  if (!AcceptOrAsk(ReadScoreFile(s), kScoreQuestion)) return StartUpResult::Declined;
  ReadBgmOverrides(s);

  bool fullScreen;
  if (s.screenMode == 1)
    fullScreen = true;
  else if (s.screenMode == 0)
    fullScreen = false;
  else
    fullScreen = GameAskYesNo(kFullScreenQuestion, kCaption);
  ApiChangeWindowMode(fullScreen ? 0 : 1);
  ApiSetScreenMode(640, 480, s.color32 ? 32 : 16, 60);
  if (ApiInitializeLibrary() == -1) return StartUpResult::LibraryFailed;

  ApiSetArchiveFileAccess(1);
  ApiSetArchiveFileExtension("dat");
  ApiSetArchiveKey("dorvask");

  int32_t loading = ApiLoadGraphFromFile("vko01\\loading.tga", 0);
  g_loadingScreen = -1;
  s.loadingLabel = -1;
  s.loadingLabel2 = -1;
  if (loading != -1) {
    g_loadingScreen = ApiDeriveSubGraph(0, 0, 640, 480, loading);
    s.loadingLabel = ApiDeriveSubGraph(640, 0, 256, 192, loading);
    s.loadingLabel2 = ApiDeriveSubGraph(640, 192, 256, 64, loading);
    ApiFreeGraphHandle(loading, 0);
  }
  ApiDrawGraphAt(0, 0, g_loadingScreen, 0);
  ApiDrawGraphAt(400, 0, s.loadingLabel, 1);
  ApiSetBlendMode(1, 127);
  ApiDrawGraphAt(390, 64, s.loadingLabel2, 1);
  ApiSetBlendMode(0, 255);

  s.score = 0;
  s.frameCount = 0;
  s.practice = 0;
  s.difficulty = 0;
  s.extends = 0;
  s.inputIndex = 0;

  ApiSeedRandom(static_cast<uint32_t>(ApiGetMillisecondCount(0)));
  int seedDraw = ApiRandomInRange(255);
  s.playSeed = static_cast<uint32_t>(seedDraw) & 255u;
  ApiSeedRandom(s.playSeed);

  s.quit = 0;
  s.playback = 0;
  s.scene = SceneTitle;
  s.freeze = 0;
  s.whiteFade = 0;

  s.spellSheet = ApiLoadGraphFromFile("vko01\\spell.tga", 0);
  s.otherSheet = ApiLoadGraphFromFile("vko01\\other.tga", 0);
  s.zakoSheet = ApiLoadGraphFromFile("vko01\\zako.tga", 0);
  s.cutinSheet = LoadOverridablePicture("cutin");
  s.cutinPlayerSheet = LoadOverridablePicture("cutin_player");
  s.playerSheet = ApiLoadGraphFromFile("vko01\\player.tga", 0);

  CreateObjects(s);
  ApplyKeyConfig(s);
  ApiSelectDrawTarget(BackBufferTarget);

  s.fonts[0] = ApiCreateFontToHandle(kGothicFace, 14, 6, 3, -1, -1, 0, -1, -1);
  s.fonts[1] = ApiCreateFontToHandle(kGothicFace, 18, 6, 3, -1, -1, 0, -1, -1);
  s.fonts[2] = ApiCreateFontToHandle(kMinchoFace, 24, 8, 3, -1, -1, 0, -1, -1);

  if (g_loadingScreen != -1) ApiFreeGraphHandle(g_loadingScreen, 0);
  g_loadingScreen = -1;
  if (s.title) s.title->Reset(s);
  ApiSetDrawFilter(1);
  return StartUpResult::Ready;
}

bool GameRunPass(GameState& s) {
  MainLoopState& loop = g_mainLoop;
  uint32_t now = static_cast<uint32_t>(ApiGetMillisecondCount(0));
  if (now - loop.lastFpsTime >= 1000u) {
    s.fps = loop.framesCounted;
    loop.framesCounted = 0;
    loop.lastFpsTime = now;
  }
  ++loop.framesCounted;

  ++loop.passCounter;
  if (s.input) s.input->Poll();

  RunUpdates(s);

  loop.drewLastPass = PassDraws(s.frameSkip, loop.passCounter) ? 1 : 0;
  if (loop.drewLastPass) DrawScene(s);
  ApiPresentBackScreen();

  bool snapshotDown = ApiIsKeyDown(0x19) > 0;
  if (snapshotDown && !loop.snapshotKeyWasDown) SaveSnapshot();
  loop.snapshotKeyWasDown = snapshotDown ? 1 : 0;

  if (s.quit) return false;
  return ApiProcessMessage() != -1;
}

void GameShutDown(GameState& s) {
  Delete(s.input);
  Delete(s.sound);
  Delete(s.bgm);
  Delete(s.title);
  Delete(s.menu);
  Delete(s.talk);
  Delete(s.bullet);
  Delete(s.item);
  Delete(s.player);
  Delete(s.enemy);
  Delete(s.maho);
  Delete(s.boss);
  Delete(s.stage);
  Delete(s.ending);
  Delete(s.backgroundFrame);
  Delete(s.background);
  Delete(s.stageResult);
  if (s.loadingLabel != -1) ApiFreeGraphHandle(s.loadingLabel, 0);
  s.loadingLabel = -1;
  ApiEndLibrary();
}

bool SaveSnapshot() {
  static char names[1024][256];
  int count = ListFiles(names, 1024, "snapshot\\vko*.bmp");
  int64_t number = NextSnapshotNumber(names, count);
  if (!GameMakeDirectory("snapshot")) {
    std::fprintf(stderr, "vko01: cannot create the snapshot folder\n");
    return false;
  }
  char fileName[64];
  // The listing holds at most 1024 names, so the largest number may be
  // missing from it: never write over a snapshot that is already there, nor
  // through a link standing at the name (one that leads nowhere is not
  // listed). The picture takes its name only where nothing stands, so a name
  // taken meanwhile, by another copy of the game say, passes to the next.
  for (int tries = 0; tries < 100000; ++tries, ++number) {
    std::snprintf(fileName, sizeof fileName, "snapshot\\vko%03lld.bmp", static_cast<long long>(number));
    if (GameNameIsTaken(fileName)) continue;
    int error = 0;
    const int result = ApiSaveScreenRectToNewBmp(0, 0, 640, 480, fileName, &error);
    if (result == 0) return true;
    if (result != -2) {
      std::fprintf(stderr, "vko01: the snapshot %s could not be written (%s)\n", fileName, GameFileErrorText(error));
      return false;
    }
  }
  return false;
}

int WinMain(void*, void*, char*, int) {
  GameState& s = g_gameState;
  switch (GameStartUp(s)) {
    case StartUpResult::Declined: return 0;
    case StartUpResult::LibraryFailed: return -1;
    case StartUpResult::Ready: break;
  }
  while (GameRunPass(s)) {
  }
  GameShutDown(s);
  return 0;
}
