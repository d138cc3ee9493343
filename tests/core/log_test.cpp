// The log file: line prefix, indent TABs, CRLF, off switch, fresh start.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "core/log.h"
#include "core/test_files.h"
#include "platform/platform.h"

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    HeadlessSetClock(5000);
    SetLogFilePath((dir_ / "Log.txt").c_str());
    SetLogOutput(1);
    ResetLogClock();
  }
  void TearDown() override {
    while (GetLogIndent() > 0) UnindentLog();
    CloseLog();
    SetLogFilePath(nullptr);
  }
  std::string Log() { return ReadText(dir_ / "Log.txt"); }
  TempFolder dir_;
};

TEST_F(LogTest, ExactLineFormat) {
  WriteLog("start\n");
  HeadlessAdvanceClock(1234);
  IndentLog();
  IndentLog();
  LogFormatLine("value %d of %s", 7, "x");
  UnindentLog();
  WriteLog("two\nlines\n");
  UnindentLog();
  UnindentLog();  // not below 0
  EXPECT_EQ(GetLogIndent(), 0);
  WriteLog("end\n");
  EXPECT_EQ(Log(), "0:start\r\n1234:\t\tvalue 7 of x\r\n1234:\ttwo\r\n1234:\tlines\r\n1234:end\r\n");
}

TEST_F(LogTest, TextWithoutNewlineContinuesTheLine) {
  WriteLog("part one, ");
  WriteLog("part two\n");
  WriteLog("crlf given\r\n");
  EXPECT_EQ(Log(), "0:part one, part two\r\n0:crlf given\r\n");
}

TEST_F(LogTest, OffWritesNothingAndAnOldLogIsReplaced) {
  ASSERT_TRUE(WriteText(dir_ / "Log.txt", "old contents\r\n"));
  SetLogOutput(0);
  WriteLog("hidden\n");
  LogFormatLine("hidden %d", 1);
  EXPECT_EQ(Log(), "old contents\r\n");  // never opened while off
  SetLogOutput(1);
  WriteLog("shown\n");
  EXPECT_EQ(Log(), "0:shown\r\n");
}

// An old log is deleted only when it is a regular file: a FIFO, a folder, a
// device or a link at the log's name stays as it was, nothing waits on the
// FIFO, and no log file is written there.
TEST_F(LogTest, OnlyARegularOldLogIsDeleted) {
  const std::string outside = dir_ / "outside.txt";
  ASSERT_TRUE(WriteText(outside, "kept"));
  const struct {
    const char* name;
    mode_t type;
  } cases[] = {{"fifo.log", S_IFIFO}, {"folder.log", S_IFDIR}, {"device.log", S_IFCHR}, {"link.log", S_IFLNK}};
  for (const auto& c : cases) {
    const std::string path = dir_ / c.name;
    const int made = c.type == S_IFIFO  ? mkfifo(path.c_str(), 0644)
                     : c.type == S_IFDIR ? mkdir(path.c_str(), 0755)
                     : c.type == S_IFCHR ? mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3))  // a null device
                                         : symlink(outside.c_str(), path.c_str());
    if (made != 0 && c.type == S_IFCHR) continue;  // no device nodes without the right to make them
    ASSERT_EQ(made, 0) << c.name;
    SetLogFilePath(path.c_str());
    EXPECT_TRUE(EndsWithinASecond([] { WriteLog("line\n"); }, {path})) << c.name;
    CloseLog();
    struct stat st;
    EXPECT_TRUE(lstat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == c.type) << c.name;
  }
  EXPECT_EQ(ReadText(outside), "kept");
}

TEST_F(LogTest, LongFormattedLineIsCutNotOverrun) {
  const std::string big(5000, 'a');
  LogFormatLine("%s", big.c_str());
  const std::string log = Log();
  ASSERT_GT(log.size(), 1000u);
  EXPECT_LT(log.size(), 1100u);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST(FatalErrorTest, LogsAndEndsTheProcessWithMinusOne) {
  TempFolder dir;
  const std::string path = dir / "Log.txt";
  EXPECT_EXIT(
      {
        SetLogFilePath(path.c_str());
        SetLogOutput(1);
        FatalError("致命的: テスト");
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_NE(ReadText(path).find("致命的: テスト\r\n"), std::string::npos);
}
