// What the player reads on standard error when nobody sees a question box or
// the data cannot be loaded (the log is off in the game).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "driver.h"
#include "library/core/report.h"
#include "library/sound/sound_internal.h"
#include "shell/savefile_io.h"

namespace {

std::string Line(const std::string& text) { return std::string(ReportProgramName()) + ": " + text + "\n"; }

// Opening the named file fails as without read permission (root reads anything).
const char* g_refused = "";
void RefuseOpening(const char* name) {
  g_refused = name;
  FsCalls().open = [](const char* path, int flags, int mode) {
    return std::strcmp(path, g_refused) == 0 ? (errno = EACCES, -1) : open(path, flags, mode);
  };
}

TEST(ShellMessages, AnUnseenQuestionIsPrintedWithTheAnswerTaken) {
  GameDriver driver;
  GameDriver::WriteFile("vko01.cfg", std::vector<uint8_t>(20, 0x33));
  HeadlessSetMessageBoxesFail(1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);  // No: the game ends, the file stays
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Line("cannot show the question \"コンフィグファイルがおかしいです。 再生成しますか？\"; "
                 "taking the answer No"));
  EXPECT_EQ(GameDriver::ReadFile("vko01.cfg"), std::vector<uint8_t>(20, 0x33));
}

TEST(ShellMessages, ADamagedArchiveNamesEachFileAndWhy) {
  GameDriver driver;
  GameDriver::WriteFile("vko01.dat", std::vector<uint8_t>{'T', 'S', 3, 0, 1, 2, 3});
  HeadlessSetDefaultMessageBoxAnswer(0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(driver.Start(), StartUpResult::Ready);  // goes on where it can
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string why = ": the archive vko01.dat is damaged or was packed with another key";
  EXPECT_EQ(err.substr(0, err.find('\n') + 1), Line("cannot load the picture vko01\\loading.tga" + why));
  for (const char* name : {"spell.tga", "player.tga", "cutin.tga"})
    EXPECT_NE(err.find(Line("cannot load the picture vko01\\" + std::string(name) + why)), std::string::npos)
        << name << " in\n" << err;
}

// An archive that cannot be read is named once with the reason: before the
// files that could not be found when no plain folder stands beside it, and
// alone when the game plays from the folder.
TEST(ShellMessages, AnUnreadableArchiveIsNamedOnce) {
  for (const bool withFolder : {false, true})
    for (const char* reason : {"not a regular file", "Permission denied"}) {
      SCOPED_TRACE(std::string(reason) + (withFolder ? ", with the folder" : ""));
      GameDriver driver;
      if (withFolder && !driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
      GameDriver::WriteFile("vko01.dat", std::vector<uint8_t>(64, 0));
      if (reason[0] == 'n') ASSERT_EQ(unlink("vko01.dat") | mkfifo("vko01.dat", 0644), 0);
      else RefuseOpening("vko01.dat");
      HeadlessSetDefaultMessageBoxAnswer(0);
      testing::internal::CaptureStderr();
      EXPECT_EQ(driver.Start(), StartUpResult::Ready);
      const std::string err = testing::internal::GetCapturedStderr();
      FsResetHostCalls();
      const std::string named = Line("the archive vko01.dat cannot be read (" + std::string(reason) + ")");
      if (withFolder) {
        EXPECT_EQ(err, named);
        continue;
      }
      const size_t firstLine = err.find('\n') + 1;
      EXPECT_EQ(err.substr(0, firstLine), named);
      EXPECT_EQ(err.find("vko01.dat", firstLine), std::string::npos) << err;
      EXPECT_EQ(err.find(Line("cannot load the picture vko01\\loading.tga: no such file")), firstLine) << err;
    }
}

// Without a sound device the game says so once and plays on silently; the
// sound effects and music it then starts add nothing.
TEST(ShellMessages, AMissingSoundDeviceIsSaidOnce) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  GameDriver::WriteWindowedSettings();
  SetSoundBackend(AudioBackend::None);
  testing::internal::CaptureStderr();
  const StartUpResult started = driver.Start();
  driver.Tap(44);  // Z: past the title's build-up, with its effect
  driver.Run(120);
  const std::string err = testing::internal::GetCapturedStderr();
  SetSoundBackend(AudioBackend::Null);
  EXPECT_EQ(started, StartUpResult::Ready);
  EXPECT_EQ(err, Line("no sound device; playing silently"));
}

// A score file that cannot be read is named at start-up, asks nothing, and
// is never replaced by the session's saves.
TEST(ShellMessages, AnUnreadableScoreFileIsNamedAndKept) {
  GameDriver driver;
  GameDriver::WriteWindowedSettings();
  const std::vector<uint8_t> kept(1537, 0x5A);
  GameDriver::WriteFile("score.dat", kept);
  RefuseOpening("score.dat");
  HeadlessSetMessageBoxesFail(1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(driver.Start(), StartUpResult::Ready);
  const std::string err = testing::internal::GetCapturedStderr();
  FsResetHostCalls();
  EXPECT_NE(err.find("vko01: score.dat cannot be read (Permission denied); playing without it, and it "
                     "will not be written\n"), std::string::npos) << err;
  EXPECT_EQ(err.find("question"), std::string::npos) << err;
  EXPECT_FALSE(SaveScoreFile(driver.State()));
  EXPECT_EQ(GameDriver::ReadFile("score.dat"), kept);
}

}  // namespace
