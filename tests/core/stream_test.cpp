// Memory streams and the file stream set.
#include <gtest/gtest.h>

#include "core/fileio.h"
#include "core/stream.h"
#include "core/test_files.h"

TEST(MemoryStream, ReadSeekClampAndClose) {
  const char data[] = "0123456789";
  const StreamFunctions* s = GetMemoryStreamFunctions();
  const StreamHandle h = CreateMemoryStream(data, 10);
  ASSERT_NE(h, 0u);
  char buf[8] = {};
  EXPECT_EQ(s->read(buf, 3, 2, h), 2u);
  EXPECT_EQ(std::string(buf, 6), "012345");
  EXPECT_EQ(s->tell(h), 6);
  EXPECT_EQ(s->read(buf, 3, 2, h), 1u);  // 4 left: one whole element of 3
  EXPECT_EQ(s->tell(h), 9);
  EXPECT_EQ(s->seek(h, 100, 0), 0);
  EXPECT_EQ(s->tell(h), 10);  // clamped to the size
  EXPECT_EQ(s->eof(h), 1);
  EXPECT_EQ(s->seek(h, -100, 1), 0);
  EXPECT_EQ(s->tell(h), 0);   // clamped to 0
  EXPECT_EQ(s->seek(h, -2, 2), 0);
  EXPECT_EQ(s->read(buf, 1, 8, h), 2u);
  EXPECT_EQ(s->seek(h, INT64_MAX, 1), 0);
  EXPECT_EQ(s->tell(h), 10);
  EXPECT_EQ(s->seek(h, 0, 3), -1);
  EXPECT_EQ(s->idle(h), 1);
  EXPECT_EQ(s->close(h), 0);
  EXPECT_EQ(CreateMemoryStream(nullptr, 5), 0u);
  const StreamHandle empty = CreateMemoryStream(nullptr, 0);
  ASSERT_NE(empty, 0u);
  EXPECT_EQ(s->eof(empty), 1);
  EXPECT_EQ(s->read(buf, 1, 4, empty), 0u);  // no copy from a null block
  EXPECT_EQ(CloseMemoryStream(empty), 0);
}

TEST(FileStream, PlainFilesThroughTheStreamSet) {
  TempFolder dir;
  ScopedChdir cd(dir.path());
  ASSERT_TRUE(WriteText(dir / "Data.bin", "abcdef"));
  UseArchiveFileAccess(0);
  const StreamHandle h = FileOpen("data.BIN", 0, 1);  // case-insensitive match
  ASSERT_NE(h, 0u);
  const StreamFunctions* s = GetFileStreamFunctions();
  char buf[4] = {};
  EXPECT_EQ(s->seek(h, 2, 0), 0);
  EXPECT_EQ(s->read(buf, 1, 4, h), 4u);
  EXPECT_EQ(std::string(buf, 4), "cdef");
  EXPECT_EQ(s->eof(h), 1);
  EXPECT_EQ(s->tell(h), 6);
  EXPECT_EQ(s->close(h), 0);
  EXPECT_EQ(OpenFileCount(), 0);
}

TEST(FileFunctionTableTest, BothSetsShareHandlesAndChangeDirectory) {
  TempFolder dir;
  ScopedChdir cd(dir.path());
  mkdir((dir / "Sub").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir / "Sub/f.txt", "x"));
  const FileFunctionTable* plain = GetPlainFileFunctions();
  const FileFunctionTable* archive = GetArchiveFileFunctions();
  EXPECT_NE(plain, archive);
  UseArchiveFileAccess(1);
  EXPECT_EQ(CurrentFileFunctions(), archive);
  UseArchiveFileAccess(0);
  EXPECT_EQ(CurrentFileFunctions(), plain);
  ASSERT_EQ(plain->chdir("sub"), 0);  // the folder matched without regard to case
  char cwd[4096];
  ASSERT_EQ(plain->getcwd(cwd, sizeof cwd), 0);
  EXPECT_EQ(std::string(cwd), dir / "Sub");
  EXPECT_EQ(plain->getcwd(cwd, 3), -1);  // too small: failure, not a cut path
  const StreamHandle h = archive->open("F.TXT", 0, 1);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(plain->close(h), 0);  // a handle of one set closes through the other
  EXPECT_EQ(plain->chdir("no such folder"), -1);
  EXPECT_EQ(plain->chdir(nullptr), -1);
}
