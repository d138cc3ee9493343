// Save files on disk: safe replacing writes, short, damaged and unreadable
// files, replay slots, and the music overrides of "replace\bgm.ini".
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/test_files.h"
#include "library/platform/fs.h"
#include "shell/bgm.h"
#include "shell/fileio.h"
#include "shell/gamestate.h"
#include "shell/savefile.h"
#include "shell/savefile_io.h"

namespace {

// Runs each test in a fresh empty folder.
class SaveFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vko01_saveXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    old_ = old;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    state_ = std::make_unique<GameState>();
    std::memset(state_.get(), 0, sizeof(GameState));
  }
  void TearDown() override {
    FsResetHostCalls();
    ASSERT_EQ(chdir(old_.c_str()), 0);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  static std::vector<uint8_t> Slurp(const char* path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  }
  static void Spit(const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  GameState& s() { return *state_; }

  std::string dir_, old_;
  std::unique_ptr<GameState> state_;
};

TEST_F(SaveFolder, SettingsAndScoreRoundTripThroughFiles) {
  s().bgmVolume = 40;
  s().seVolume = 60;
  s().padButton[0] = 12;
  s().padButton[1] = 5;
  s().padButton[2] = 6;
  s().padButton[3] = 7;
  s().hiScore[7] = 31337;
  s().spellCaptures[200] = 3;
  ASSERT_TRUE(SaveConfigFile(s()));
  ASSERT_TRUE(SaveScoreFile(s()));
  EXPECT_EQ(Slurp("vko01.cfg").size(), 20u);
  EXPECT_EQ(Slurp("score.dat").size(), 1537u);
  EXPECT_FALSE(GameFileOpensForReading("vko01.cfg.tmp"));

  auto t = std::make_unique<GameState>();
  EXPECT_EQ(ReadConfigFile(*t), SaveFileRead::Accepted);
  EXPECT_EQ(ReadScoreFile(*t), SaveFileRead::Accepted);
  EXPECT_EQ(t->bgmVolume, 40u);
  EXPECT_EQ(t->seVolume, 60u);
  EXPECT_EQ(t->padButton[0], 12u);
  EXPECT_EQ(t->hiScore[7], 31337u);
  EXPECT_EQ(t->spellCaptures[200], 3u);
}

TEST_F(SaveFolder, MissingDamagedAndShortFiles) {
  EXPECT_EQ(ReadConfigFile(s()), SaveFileRead::Missing);
  EXPECT_EQ(ReadScoreFile(s()), SaveFileRead::Missing);
  Spit("vko01.cfg", {'v', 'k', 'o', '0', '1', 'c', 'f', 'j', 1, 2, 3});
  EXPECT_EQ(ReadConfigFile(s()), SaveFileRead::Refused);
  Spit("score.dat", {});
  EXPECT_EQ(ReadScoreFile(s()), SaveFileRead::Refused);

  // A file cut short of the size the game writes is damaged, whatever its
  // magic says: the regenerate question, never settings made up from zeros.
  ASSERT_TRUE(SaveConfigFile(s()));
  ASSERT_TRUE(SaveScoreFile(s()));
  const std::vector<uint8_t> config = Slurp("vko01.cfg"), score = Slurp("score.dat");
  struct Case {
    const char* name;
    const std::vector<uint8_t>* whole;
    size_t keep;
    SaveFileRead expected;
  };
  const Case cases[] = {
      {"vko01.cfg", &config, 8, SaveFileRead::Refused},
      {"vko01.cfg", &config, 19, SaveFileRead::Refused},
      {"vko01.cfg", &config, 20, SaveFileRead::Accepted},
      {"score.dat", &score, 1000, SaveFileRead::Refused},
      {"score.dat", &score, 1536, SaveFileRead::Refused},
      {"score.dat", &score, 1537, SaveFileRead::Accepted},
  };
  for (const Case& c : cases) {
    Spit(c.name, std::vector<uint8_t>(c.whole->begin(), c.whole->begin() + static_cast<long>(c.keep)));
    auto t = std::make_unique<GameState>();
    const SaveFileRead got = c.name[0] == 'v' ? ReadConfigFile(*t) : ReadScoreFile(*t);
    EXPECT_EQ(got, c.expected) << c.name << " cut to " << c.keep;
  }
}

TEST_F(SaveFolder, FailedWriteKeepsThePreviousFile) {
  ASSERT_TRUE(WriteSaveFile("keep.dat", reinterpret_cast<const uint8_t*>("old!"), 3));
  EXPECT_EQ(Slurp("keep.dat").size(), 4u);
  // The file is replaced only by a complete new one: a full disk makes the
  // write fail, and the old file survives.
  FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
  EXPECT_FALSE(WriteSaveFile("keep.dat", reinterpret_cast<const uint8_t*>("new data"), 7));
  FsResetHostCalls();
  std::vector<uint8_t> kept = Slurp("keep.dat");
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "old!");
  EXPECT_FALSE(WriteSaveFile("nofolder\\x.dat", reinterpret_cast<const uint8_t*>("x"), 0));
}

void FillReplayState(GameState& s, uint32_t frames, uint32_t score) {
  s.difficulty = 1;
  s.character = 2;
  s.route = 3;
  s.playSeed = 77;
  s.score = score;
  s.inputIndex = frames;
  for (uint32_t i = 0; i < frames; ++i) s.recordInputs[i] = static_cast<uint8_t>(i);
  for (int k = 0; k < 8; ++k) s.replayName[k] = 101;
}

// A settings or score file that is there but cannot be read is reported,
// taken as neither missing nor damaged, and no save of the session replaces it.
void ExpectKeptThroughTheSession(const char* how, const std::function<void()>& spoil,
                                 const std::function<void()>& mend) {
  for (const char* name : {"vko01.cfg", "score.dat"}) {
    SCOPED_TRACE(std::string(how) + " " + name);
    const bool config = name[0] == 'v';
    auto t = std::make_unique<GameState>();
    t->hiScore[0] = 123456;
    ASSERT_TRUE(config ? SaveConfigFile(*t) : SaveScoreFile(*t));
    std::ifstream in(name, std::ios::binary);
    const std::vector<uint8_t> saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    spoil();
    auto u = std::make_unique<GameState>();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(config ? ReadConfigFile(*u) : ReadScoreFile(*u), SaveFileRead::Unreadable);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(std::string(name) + " cannot be read"),
              std::string::npos);
    mend();  // readable again: still never written in this session
    EXPECT_FALSE(config ? SaveConfigFile(*u) : SaveScoreFile(*u));
    std::ifstream again(name, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
              saved);
    std::remove(name);
  }
}

TEST_F(SaveFolder, UnreadableSaveFilesAreKept) {
  ExpectKeptThroughTheSession("open refused", [] {
    FsCalls().open = [](const char* path, int flags, int mode) {
      return (flags & O_ACCMODE) == O_RDONLY ? (errno = EACCES, -1) : open(path, flags, mode);
    };
  }, [] { FsResetHostCalls(); });
  ExpectKeptThroughTheSession("read error", [] {
    FsCalls().read = [](int, void*, size_t) -> ssize_t { return errno = EIO, -1; };
  }, [] { FsResetHostCalls(); });
}

TEST_F(SaveFolder, SaveFilesWithoutReadPermissionAreKept) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  ExpectKeptThroughTheSession("no permission", [&] {
    chmod("vko01.cfg", 0200);
    chmod("score.dat", 0200);
  }, [] {
    chmod("vko01.cfg", 0644);
    chmod("score.dat", 0644);
  });
}

// A FIFO at a save file, a replay slot or a music override is refused at
// once: the game would otherwise wait in the open for ever.
TEST_F(SaveFolder, FifosAreRefusedWithoutBlocking) {
  ASSERT_EQ(mkdir("replay", 0755), 0);
  ASSERT_EQ(mkdir("replace", 0755), 0);
  const std::vector<std::string> fifos = {dir_ + "/vko01.cfg", dir_ + "/score.dat",
                                          dir_ + "/replay/vko01_01.rpy", dir_ + "/replace/bgm.ini",
                                          dir_ + "/replace/cutin.tga"};
  for (const std::string& f : fifos) ASSERT_EQ(mkfifo(f.c_str(), 0644), 0) << f;
  const bool inTime = EndsWithinASecond([&] {
    EXPECT_EQ(ReadConfigFile(s()), SaveFileRead::Unreadable);
    EXPECT_EQ(ReadScoreFile(s()), SaveFileRead::Unreadable);
    EXPECT_EQ(ScanReplaySlots(s()), 0);
    EXPECT_FALSE(LoadReplay(s(), 0));
    FillReplayState(s(), 10, 100);
    EXPECT_FALSE(SaveReplay(s(), 0));  // the slot's file is kept
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(GameOverrideOpens("replace\\cutin.tga"));
    ReadBgmOverrides(s());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("replace\\bgm.ini cannot be read (not a regular file)"),
              std::string::npos);
    EXPECT_STREQ(s().bgmPath[0], "");
  }, fifos);
  EXPECT_TRUE(inTime);
  struct stat st;
  ASSERT_EQ(stat("replay/vko01_01.rpy", &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Each save writes a file of its own and removes nothing it did not make: a
// player's "<name>.tmp" (a link or a file, beside the name or beside a link's
// target) stays as it was, never written through. A save whose name is a
// link to a file keeps the link and the file gets the save; a link that leads
// nowhere is a missing file. Nothing else is left beside the name or the target.
TEST_F(SaveFolder, SavesNeverWriteThroughALinkTheyDidNotMakeAndKeepThePlayersLinks) {
  ASSERT_EQ(mkdir("replay", 0755), 0);
  ASSERT_EQ(mkdir("synced", 0755), 0);
  FillReplayState(s(), 10, 100);
  const struct {
    std::string name;
    std::function<bool()> save;
  } kinds[] = {{"vko01.cfg", [&] { return SaveConfigFile(s()); }},
               {"score.dat", [&] { return SaveScoreFile(s()); }},
               {"replay/vko01_03.rpy", [&] { return SaveReplay(s(), 2); }}};
  const std::string target = dir_ + "/synced/file";
  const std::vector<uint8_t> old = {'n', 'i', 'n', 'e', ' ', 'b', 'y', 't', 'e'};
  const std::vector<uint8_t> mine = {'m', 'i', 'n', 'e'};
  Spit((target + ".tmp").c_str(), mine);
  struct Case {
    const char* how;
    bool linkAtTemporaryName, targetThere, linkKept;
  } cases[] = {{"the player's link at <name>.tmp", true, true, false},
               {"link at the name", false, true, true},
               {"dangling link at the name", false, false, false}};
  for (const auto& kind : kinds) {
    const std::string& name = kind.name;
    const std::string folder = name.find('/') == std::string::npos ? "." : "replay";
    ASSERT_TRUE(kind.save());
    const std::vector<uint8_t> fresh = Slurp(name.c_str());
    for (const Case& c : cases) {
      SCOPED_TRACE(name + ": " + c.how);
      const std::vector<std::string> before = FolderNames(folder);
      std::remove(name.c_str());
      std::remove(target.c_str());
      if (c.targetThere) Spit(target.c_str(), old);
      ASSERT_EQ(symlink(target.c_str(), (c.linkAtTemporaryName ? name + ".tmp" : name).c_str()), 0);
      EXPECT_TRUE(kind.save());
      struct stat st;
      ASSERT_EQ(lstat(name.c_str(), &st), 0);
      EXPECT_EQ(S_ISLNK(st.st_mode), c.linkKept);
      EXPECT_EQ(Slurp(name.c_str()), fresh);
      EXPECT_EQ(Slurp(target.c_str()), c.linkKept ? fresh : c.targetThere ? old : std::vector<uint8_t>());
      EXPECT_EQ(Slurp((target + ".tmp").c_str()), mine);
      if (c.linkAtTemporaryName) {
        EXPECT_TRUE(lstat((name + ".tmp").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
        EXPECT_EQ(std::remove((name + ".tmp").c_str()), 0);
      }
      EXPECT_EQ(FolderNames(folder), before);
      EXPECT_EQ(FolderNames(dir_ + "/synced"), (c.targetThere ? std::vector<std::string>{"file", "file.tmp"}
                                                              : std::vector<std::string>{"file.tmp"}));
    }
  }
}

TEST_F(SaveFolder, ReplaySaveCreatesTheFolderAndLoads) {
  FillReplayState(s(), 300, 5555);
  ASSERT_TRUE(SaveReplay(s(), 4));
  EXPECT_EQ(Slurp("replay/vko01_05.rpy").size(), 80u + 300u + 1u);
  EXPECT_TRUE(FileExists("replay\\vko01_05.rpy"));

  auto t = std::make_unique<GameState>();
  ASSERT_TRUE(LoadReplay(*t, 4));
  EXPECT_EQ(t->replayHeader.inputCount, 300u);
  EXPECT_EQ(t->replayHeader.score, 5555u);
  EXPECT_EQ(t->playbackInputs[299], 299 & 255);
  EXPECT_FALSE(LoadReplay(*t, 5));
  EXPECT_FALSE(LoadReplay(*t, 20));
  EXPECT_FALSE(LoadReplay(*t, -1));

  s().inputIndex = kMaxReplayFrames + 1;
  EXPECT_FALSE(SaveReplay(s(), 4));
  EXPECT_EQ(Slurp("replay/vko01_05.rpy").size(), 381u);  // untouched
}

TEST_F(SaveFolder, ScanShowsOnlySlotsThatDecode) {
  FillReplayState(s(), 10, 1000);
  ASSERT_TRUE(SaveReplay(s(), 0));
  FillReplayState(s(), 20, 2000);
  ASSERT_TRUE(SaveReplay(s(), 2));
  // Slot 2: damaged (count beyond the file); slot 4: far too large.
  std::vector<uint8_t> bytes = Slurp("replay/vko01_03.rpy");
  bytes.resize(60);
  Spit("replay/vko01_03.rpy", bytes);
  Spit("replay/vko01_05.rpy", std::vector<uint8_t>(kFileBufferSize + 100, 0));

  auto t = std::make_unique<GameState>();
  t->replaySlots[2].valid = 1;  // stale entries from an earlier scan
  t->replaySlots[2].score = 1;
  t->replaySlots[9].valid = 1;
  EXPECT_EQ(ScanReplaySlots(*t), 3);
  EXPECT_EQ(t->replaySlots[0].valid, 1);
  EXPECT_EQ(t->replaySlots[0].score, 1000u);
  EXPECT_EQ(t->replaySlots[0].inputCount, 10u);
  EXPECT_EQ(t->replaySlots[0].difficulty, 1u);
  EXPECT_EQ(t->replaySlots[0].character, 2u);
  EXPECT_EQ(t->replaySlots[2].valid, 0);
  EXPECT_EQ(t->replaySlots[2].score, 0u);
  EXPECT_EQ(t->replaySlots[4].valid, 0);
  EXPECT_EQ(t->replaySlots[9].valid, 0);

  // A damaged slot does not play the replay decoded before it.
  ASSERT_TRUE(LoadReplay(*t, 0));
  EXPECT_FALSE(LoadReplay(*t, 2));
  EXPECT_EQ(t->replayHeader.score, 1000u);
}

TEST_F(SaveFolder, MusicOverridesAcceptOnlyRegularFilesOfSaneLength) {
  ASSERT_EQ(mkdir("replace", 0755), 0);
  ASSERT_EQ(mkdir("music", 0755), 0);
  Spit("music/title.wav", {'R', 'I', 'F', 'F'});
  Spit("music/boss.wav", {'R', 'I', 'F', 'F'});
  std::string longName(300, 'a');
  std::ofstream ini("replace/bgm.ini");
  ini << "[vko01_01]\r\nPath=music\\title.wav\r\nLoop=1234\r\n"
      << "[vko01_02]\nPath=music\n"
      << "[vko01_03]\nPath=" << longName << "\nLoop=5\n"
      << "[vko01_27]\n Path = music/boss.wav \nLoop=-7\n"
      << "[vko01_28]\nPath=music/title.wav\n";
  ini.close();
  ReadBgmOverrides(s());
  EXPECT_STREQ(s().bgmPath[0], "music\\title.wav");
  EXPECT_EQ(s().bgmLoop[0], 1234);
  EXPECT_STREQ(s().bgmPath[1], "");  // a folder
  EXPECT_STREQ(s().bgmPath[2], "");  // longer than 255 characters
  EXPECT_EQ(s().bgmLoop[2], 5);
  EXPECT_STREQ(s().bgmPath[26], "music/boss.wav");
  EXPECT_EQ(s().bgmLoop[26], -7);
  EXPECT_STREQ(s().bgmPath[27], "");  // only sections 1-27 are read
  EXPECT_STREQ(s().bgmPath[31], "");
}

TEST(MusicTables, StageSlotsAndOverrideSections) {
  EXPECT_EQ(StageTrackNumber(11, 2), 11);
  EXPECT_EQ(StageTrackNumber(4, 2), 0);
  EXPECT_EQ(StageLoopPointMs(5, 1), 8900);
  EXPECT_EQ(StageLoopPointMs(11, 0), 15600);
  EXPECT_EQ(BgmOverrideEntry(0, 0), 1);    // section 2
  EXPECT_EQ(BgmOverrideEntry(8, 0), 13);   // section 14 for stages 6-9
  EXPECT_EQ(BgmOverrideEntry(8, 1), 16);   // section 17
  EXPECT_EQ(BgmOverrideEntry(11, 2), 22);  // section 23
  EXPECT_EQ(BgmOverrideEntry(4, 2), 31);   // no track: the never-read entry
  EXPECT_EQ(MusicRoomLoopPointMs(10), 17000);
  EXPECT_EQ(MusicRoomLoopPointMs(11), 0);
}


TEST(MusicTables, EveryStageRow) {
  struct Row {
    int tracks[3];
    int loops[3];
    int sections[3];  // bgm.ini sections, 0 = none
  };
  const Row rows[13] = {
      {{2, 4, 0}, {4500, 1500, 0}, {2, 3, 0}},       {{3, 4, 0}, {0, 1500, 0}, {4, 5, 0}},
      {{2, 4, 0}, {4500, 1500, 0}, {6, 7, 0}},       {{3, 4, 0}, {0, 1500, 0}, {8, 9, 0}},
      {{3, 5, 0}, {0, 6860, 0}, {10, 11, 0}},        {{2, 6, 0}, {4500, 8900, 0}, {12, 13, 0}},
      {{2, 7, 0}, {4500, 3000, 0}, {14, 15, 0}},     {{2, 7, 0}, {4500, 3000, 0}, {14, 16, 0}},
      {{2, 7, 0}, {4500, 3000, 0}, {14, 17, 0}},     {{2, 7, 0}, {4500, 3000, 0}, {14, 18, 0}},
      {{2, 8, 0}, {4500, 0, 0}, {19, 20, 0}},        {{9, 10, 11}, {15600, 17000, 0}, {21, 22, 23}},
      {{2, 12, 0}, {4500, 0, 0}, {24, 25, 0}}};
  for (int s = 0; s < 13; ++s)
    for (int slot = 0; slot < 3; ++slot) {
      EXPECT_EQ(StageTrackNumber(s, slot), rows[s].tracks[slot]) << s << "/" << slot;
      EXPECT_EQ(StageLoopPointMs(s, slot), rows[s].loops[slot]) << s << "/" << slot;
      int section = rows[s].sections[slot];
      EXPECT_EQ(BgmOverrideEntry(s, slot), section ? section - 1 : 31) << s << "/" << slot;
    }
  const int room[10] = {0, 4500, 0, 1500, 6860, 8900, 3000, 0, 15600, 17000};
  for (int t = 1; t <= 32; ++t) EXPECT_EQ(MusicRoomLoopPointMs(t), t <= 10 ? room[t - 1] : 0) << t;
  EXPECT_EQ(StageTrackNumber(13, 0), 0);  // outside the table
  EXPECT_EQ(BgmOverrideEntry(-1, 0), 31);
}

}  // namespace
