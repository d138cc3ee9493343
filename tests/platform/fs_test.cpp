// Windows-style names on the host: separators, CP932 names, case-insensitive
// components, wildcard listing, reads that refuse what is not a regular file,
// and durable replacing writes.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/archive.h"
#include "core/fileio.h"
#include "core/sjis.h"
#include "core/test_files.h"
#include "platform/fs.h"

class FsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(cd_.ok()); }
  void TearDown() override { FsResetHostCalls(); }
  TempFolder dir_;
  ScopedChdir cd_{dir_.path()};
};

TEST_F(FsTest, PathsMatchComponentsWithoutRegardToCase) {
  mkdir((dir_ / "Replace").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir_ / "Replace/BGM.ini", "x"));
  EXPECT_EQ(FsHostPath("replace\\bgm.INI"), "Replace/BGM.ini");
  EXPECT_EQ(FsHostPath("REPLACE/bgm.ini"), "Replace/BGM.ini");
  EXPECT_EQ(FsHostPath(".\\replace\\bgm.ini"), "./Replace/BGM.ini");
  // A missing last component keeps its spelling under the matched folder (for creating).
  EXPECT_EQ(FsHostPath("replace\\New.txt"), "Replace/New.txt");
  EXPECT_EQ(FsHostPath(""), "");
  EXPECT_EQ(FsHostPath(std::string(1100, 'a').c_str()), "");
  EXPECT_EQ(FsExists("replace\\bgm.ini"), 1);
  EXPECT_EQ(FsExists("replace"), 0);  // a folder does not open as a file
  EXPECT_EQ(FsIsDirectory("REPLACE"), 1);
  EXPECT_EQ(FsSizeOf("replace\\BGM.INI"), 1);
  EXPECT_EQ(FsSizeOf("replace\\none"), -1);
}

TEST_F(FsTest, Cp932NamesWithA5CTrailByteBecomeUtf8Names) {
  // "表示\データ.bin": 表 = 0x95 0x5C, whose trail byte is "\".
  const char* name = "\x95\x5C\x8E\xA6\\\x83\x66\x81\x5B\x83\x5E.bin";
  ASSERT_EQ(FsMakeDirectory("\x95\x5C\x8E\xA6"), 0);
  EXPECT_EQ(FsMakeDirectory("\x95\x5C\x8E\xA6"), 0);  // already there
  std::FILE* f = FsCreate(name);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(FsWrite(f, "abc", 3), 3u);
  EXPECT_EQ(FsClose(f), 0);
  EXPECT_EQ(ReadText(dir_ / "表示/データ.bin"), "abc");
  f = FsOpenRead(name);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(FsFileSize(f), 3);
  char buf[4] = {};
  EXPECT_EQ(FsRead(f, buf, 4), 3u);
  FsClose(f);
}

TEST_F(FsTest, CreateReplacesRenameAndRemove) {
  ASSERT_TRUE(WriteText(dir_ / "vko01.cfg", "old contents that are long"));
  std::FILE* f = FsCreate("VKO01.CFG");  // matches the existing file
  ASSERT_NE(f, nullptr);
  FsWrite(f, "new", 3);
  FsClose(f);
  EXPECT_EQ(ReadText(dir_ / "vko01.cfg"), "new");
  EXPECT_EQ(FsRename("vko01.cfg", "moved.cfg"), 0);
  EXPECT_EQ(FsExists("vko01.cfg"), 0);
  EXPECT_EQ(FsRemove("MOVED.cfg"), 0);
  EXPECT_EQ(FsRemove("moved.cfg"), -1);
  EXPECT_EQ(FsCreate("no_such_folder\\x.bin"), nullptr);
  EXPECT_EQ(FsOpenRead("missing.bin"), nullptr);
  f = FsOpenUpdate("missing.bin");
  EXPECT_EQ(f, nullptr);
}

TEST_F(FsTest, WildcardListingOfSnapshots) {
  mkdir((dir_ / "snapshot").c_str(), 0755);
  for (const char* n : {"vko001.bmp", "vko012.bmp", "VKO003.BMP", "vko1000.bmp", "vko01.bmp",
                        "xko002.bmp", "vko004.bmp.bak"})
    ASSERT_TRUE(WriteText(dir_ / (std::string("snapshot/") + n), "b"));
  mkdir((dir_ / "snapshot/vko005.bmp").c_str(), 0755);  // a folder is not listed
  char rows[16][256];
  const int n = FsListFiles("snapshot\\vko???.bmp", rows, 16);
  ASSERT_EQ(n, 3);
  EXPECT_STREQ(rows[0], "VKO003.BMP");
  EXPECT_STREQ(rows[1], "vko001.bmp");
  EXPECT_STREQ(rows[2], "vko012.bmp");
  EXPECT_EQ(FsListFiles("snapshot\\vko???.bmp", rows, 2), 2);  // stops when the rows are full
  EXPECT_EQ(FsListFiles("snapshot\\*.bmp", rows, 16), 6);
  EXPECT_EQ(FsListFiles("snapshot\\*", rows, 16), 7);
  EXPECT_EQ(FsListFiles("nothing\\*.bmp", rows, 16), 0);
  EXPECT_EQ(FsListFiles("snapshot\\vko???.bmp", rows, 0), 0);
  EXPECT_EQ(FsListFiles("*.none", rows, 16), 0);
}

TEST_F(FsTest, WildcardQuestionMarkIsOneCharacterOfEitherWidth) {
  mkdir((dir_ / "snapshot").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir_ / "snapshot/ソ12.bmp", "b"));  // "ソ" is one double-byte character
  ASSERT_TRUE(WriteText(dir_ / "snapshot/a\xF0\x9F\x98\x80.bmp", "b"));  // not spelt in CP932
  char rows[4][256];
  ASSERT_EQ(FsListFiles("snapshot\\???.bmp", rows, 4), 1);
  EXPECT_STREQ(rows[0], "\x83\x5C" "12.bmp");  // listed in CP932
  EXPECT_EQ(FsListFiles("snapshot\\\x83\x5C?2.BMP", rows, 4), 1);
  EXPECT_EQ(FsListFiles("snapshot\\????.bmp", rows, 4), 0);
  EXPECT_EQ(FsListFiles("snapshot\\*", rows, 4), 1);
}

// Only "no such file" is missing; a FIFO, a folder or a failing open or read
// is an error with its reason, and nothing waits on a FIFO.
TEST_F(FsTest, ReadsRefuseWhatIsNotARegularFileWithoutBlocking) {
  ASSERT_EQ(mkfifo((dir_ / "pipe.dat").c_str(), 0644), 0);
  mkdir((dir_ / "folder").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir_ / "file.dat", "data"));
  struct Case {
    const char* name;
    int error;
    const char* reason;
  } cases[] = {{"pipe.dat", ENXIO, "not a regular file"}, {"folder", EISDIR, "not a regular file"},
               {"none.dat", ENOENT, "no such file"},      {"file.dat/x", ENOENT, "no such file"},
               {"file.dat", 0, nullptr}};
  const bool inTime = EndsWithinASecond([&] {
    for (const Case& c : cases) {
      char buffer[8];
      int64_t size = -1;
      size_t got = 9;
      EXPECT_EQ(FsReadFile(c.name, buffer, sizeof buffer, &size, &got), c.error) << c.name;
      EXPECT_EQ(FsOpenError(c.name), c.error) << c.name;
      EXPECT_EQ(FsExists(c.name), c.error == 0 ? 1 : 0) << c.name;
      EXPECT_EQ(got, c.error ? 0u : 4u) << c.name;
      const StreamHandle h = FileOpen(c.name);
      if (c.reason) {
        EXPECT_STREQ(FileOpenFailureReason(), c.reason) << c.name;
      }
      if (h) FileClose(h);
    }
    EXPECT_EQ(FsCreate("pipe.dat"), nullptr);
    EXPECT_EQ(OpenArchiveFile((dir_ / "pipe.dat").c_str(), "key"), nullptr);
  }, {dir_ / "pipe.dat"});
  EXPECT_TRUE(inTime);

  // Failures injected below the layer.
  FsCalls().read = [](int, void*, size_t) -> ssize_t { return errno = EIO, -1; };
  char buffer[8];
  int64_t size = 0;
  size_t got = 0;
  EXPECT_EQ(FsReadFile("file.dat", buffer, sizeof buffer, &size, &got), EIO);
  FsCalls().open = [](const char*, int, int) { return errno = EACCES, -1; };
  EXPECT_EQ(FsOpenError("file.dat"), EACCES);
  EXPECT_EQ(FsOpenRead("file.dat"), nullptr);
  EXPECT_STREQ(FsErrorText(EACCES), std::strerror(EACCES));
}

std::vector<std::string> g_calls;

// The write is flushed before the rename and the folder after it; a failing
// step leaves the old file and no temporary file.
TEST_F(FsTest, ReplaceFileFlushesBeforeTheRenameAndTheFolderAfter) {
  FsCalls().fsync = [](int fd) {
    struct stat st;
    fstat(fd, &st);
    g_calls.push_back(S_ISDIR(st.st_mode) ? "fsync folder" : "fsync file");
    return ::fsync(fd);
  };
  FsCalls().rename = [](const char* from, const char* to) {
    g_calls.push_back("rename");
    return ::rename(from, to);
  };
  g_calls.clear();
  ASSERT_EQ(FsReplaceFile("save.dat", "first", 5), 0);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"fsync file", "rename", "fsync folder"}));
  EXPECT_EQ(ReadText(dir_ / "save.dat"), "first");

  struct Fault {
    const char* step;
    int error;
  } faults[] = {{"write", ENOSPC}, {"fsync", EIO}, {"rename", EXDEV}};
  for (const Fault& f : faults) {
    FsResetHostCalls();
    static int error;
    error = f.error;
    if (!std::strcmp(f.step, "write")) FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = error, -1; };
    if (!std::strcmp(f.step, "fsync")) FsCalls().fsync = [](int) { return errno = error, -1; };
    if (!std::strcmp(f.step, "rename")) FsCalls().rename = [](const char*, const char*) { return errno = error, -1; };
    EXPECT_EQ(FsReplaceFile("SAVE.DAT", "second", 6), f.error) << f.step;
    EXPECT_EQ(ReadText(dir_ / "save.dat"), "first") << f.step;
    EXPECT_EQ(FsExists("save.dat.tmp"), 0) << f.step;
  }
}

// Through a save name that is a link, the target takes the bytes and keeps
// its old ones on a failure, the link stays, and no temporary file is left
// beside either. A link to a FIFO, a folder or round a loop is refused at once.
TEST_F(FsTest, ReplaceFileWritesThroughTheNamesLinkOnlyToARegularFile) {
  mkdir((dir_ / "synced").c_str(), 0755);
  mkdir((dir_ / "synced/folder").c_str(), 0755);
  ASSERT_EQ(mkfifo((dir_ / "synced/pipe").c_str(), 0644), 0);
  ASSERT_TRUE(WriteText(dir_ / "synced/save.dat", "old"));
  const struct {
    const char* name;
    const char* target;
    int error;
  } cases[] = {{"save.dat", "synced/save.dat", 0}, {"pipe.dat", "synced/pipe", ENXIO},
               {"folder.dat", "synced/folder", EISDIR}, {"loop.dat", "loop.dat", ELOOP}};
  for (const auto& c : cases) ASSERT_EQ(symlink(c.target, (dir_ / c.name).c_str()), 0);
  EXPECT_TRUE(EndsWithinASecond([&] {
    for (const auto& c : cases) EXPECT_EQ(FsReplaceFile(c.name, "first", 5), c.error) << c.name;
  }, {dir_ / "synced/pipe"}));
  FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
  EXPECT_EQ(FsReplaceFile("save.dat", "second", 6), ENOSPC);
  EXPECT_EQ(ReadText(dir_ / "synced/save.dat"), "first");
  for (const auto& c : cases) {
    struct stat st;
    EXPECT_TRUE(lstat((dir_ / c.name).c_str(), &st) == 0 && S_ISLNK(st.st_mode)) << c.name;
    EXPECT_NE(lstat((dir_ / c.name + ".tmp").c_str(), &st), 0) << c.name;
    EXPECT_NE(lstat((dir_ / c.target + ".tmp").c_str(), &st), 0) << c.name;
  }
}
