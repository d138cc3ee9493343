// The log file: line prefix, indent TABs, CRLF, off switch, fresh start.
#include <gtest/gtest.h>

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
