// Windows-style names on the host: separators, CP932 names, case-insensitive
// components, wildcard listing, reads that refuse what is not a regular file,
// and durable replacing writes.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/xattr.h>

#include <array>
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
  FsCalls().renameat = [](int folder, const char* from, const char* to, unsigned flags) {
    g_calls.push_back("rename");
    return ::renameat2(folder, from, folder, to, flags);
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
    if (!std::strcmp(f.step, "rename")) FsCalls().renameat = [](int, const char*, const char*, unsigned) { return errno = error, -1; };
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

// ---- a second writer about ------------------------------------------------------------

const char* g_outside = "";  // the file a planted link points at

// How a write makes its file: unnamed where the file system allows (as here),
// or under a temporary name where it cannot (O_TMPFILE refused).
struct WritePath {
  const char* name;
  bool unnamed;
};
const WritePath kWritePaths[] = {{"unnamed", true}, {"named", false}};

void UseWritePath(const WritePath& path) {
  FsResetHostCalls();
  if (!path.unnamed)
    FsCalls().openat = [](int folder, const char* name, int flags, int mode) {
      if ((flags & O_TMPFILE) == O_TMPFILE) return errno = EOPNOTSUPP, -1;
      return ::openat(folder, name, flags, static_cast<mode_t>(mode));
    };
}

// The temporary names of name (save.dat unless told) in the current folder.
std::vector<std::string> TemporaryNames(const std::string& name = "save.dat") {
  const std::string stem = name + ".";
  std::vector<std::string> found;
  for (const std::string& n : FolderNames("."))
    if (n.size() == stem.size() + 16 && n.rfind(stem, 0) == 0 && n.compare(n.size() - 4, 4, ".tmp") == 0)
      found.push_back(n);
  return found;
}

// Puts a link to g_outside where name stood, as a second process would.
void PlantLink(int folder, const char* name) {
  unlinkat(folder, name, 0);
  if (symlinkat(g_outside, folder, name) != 0) std::abort();
}

// Two processes save the same name again and again while this one looks at
// it: every look finds one whole file, every save succeeds, and the name
// ends whole with nothing beside it.
TEST_F(FsTest, TwoWritersOfOneNameEachPublishTheirOwnWholeFile) {
  const std::vector<uint8_t> first(200000, 'a'), second(150001, 'b'), initial = {'o', 'l', 'd'};
  for (const WritePath& path : kWritePaths) {
    SCOPED_TRACE(path.name);
    UseWritePath(path);
    ASSERT_TRUE(WriteBytes(dir_ / "save.dat", initial));
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
      writers[w] = fork();
      ASSERT_GE(writers[w], 0);
      if (writers[w] == 0) {
        const std::vector<uint8_t>& mine = w ? second : first;
        int failed = 0;
        for (int i = 0; i < 150; ++i) failed += FsReplaceFile("save.dat", mine.data(), mine.size()) != 0;
        _exit(failed > 100 ? 100 : failed);
      }
    }
    int looks = 0, torn = 0, running = 2, failedSaves = 0;
    while (running > 0) {
      const std::vector<uint8_t> seen = ReadBytes(dir_ / "save.dat");
      ++looks;
      torn += seen != first && seen != second && seen != initial;
      int status = 0;
      for (pid_t& w : writers)
        if (w > 0 && waitpid(w, &status, WNOHANG) == w) {
          w = 0;
          --running;
          failedSaves += WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
        }
    }
    EXPECT_EQ(torn, 0) << "of " << looks << " looks";
    EXPECT_EQ(failedSaves, 0);
    const std::vector<uint8_t> last = ReadBytes(dir_ / "save.dat");
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"save.dat"});
  }
}

// Writes killed midway leave at most their own temporary files, which never
// block a later save and go with it; the player's own "save.dat.tmp" stays.
TEST_F(FsTest, KilledWritesLeaveNothingThatPilesUp) {
  ASSERT_TRUE(WriteText(dir_ / "save.dat.tmp", "mine"));
  for (const WritePath& path : kWritePaths) {
    SCOPED_TRACE(path.name);
    ASSERT_TRUE(WriteText(dir_ / "save.dat", "old"));
    for (int kill = 0; kill < 5; ++kill) {
      const pid_t writer = fork();
      ASSERT_GE(writer, 0);
      if (writer == 0) {
        UseWritePath(path);
        FsCalls().write = [](int fd, const void* data, size_t bytes) -> ssize_t {
          if (::write(fd, data, bytes / 2) < 0) _exit(3);
          raise(SIGKILL);
          return -1;
        };
        const std::string big(100000, 'k');
        FsReplaceFile("save.dat", big.data(), big.size());
        _exit(2);
      }
      int status = 0;
      ASSERT_EQ(waitpid(writer, &status, 0), writer);
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
      EXPECT_EQ(ReadText(dir_ / "save.dat"), "old");
    }
    // Named, each write clears away the one before it: one is left, not five.
    EXPECT_EQ(FolderNames(dir_.path()).size(), path.unnamed ? 2u : 3u);
    UseWritePath(path);
    EXPECT_EQ(FsReplaceFile("save.dat", "new", 3), 0);
    EXPECT_EQ(ReadText(dir_ / "save.dat"), "new");
    EXPECT_EQ(FolderNames(dir_.path()), (std::vector<std::string>{"save.dat", "save.dat.tmp"}));
    EXPECT_EQ(ReadText(dir_ / "save.dat.tmp"), "mine");
  }
}

// A replaced file keeps its permission bits, through a link too; a new file
// gets the default.
TEST_F(FsTest, ReplacedFilesKeepTheirPermissionBits) {
  const mode_t oldMask = umask(022);
  mkdir((dir_ / "synced").c_str(), 0755);
  const struct {
    const char* name;
    const char* target;  // the file whose bits are kept
    mode_t mode;
  } cases[] = {{"private.dat", "private.dat", 0600}, {"group.dat", "group.dat", 0640},
               {"readonly.dat", "readonly.dat", 0444}, {"linked.dat", "synced/linked", 0600},
               {"new.dat", "new.dat", 0}};
  for (const auto& c : cases) {
    if (!c.mode) continue;
    ASSERT_TRUE(WriteText(dir_ / c.target, "old"));
    ASSERT_EQ(chmod((dir_ / c.target).c_str(), c.mode), 0);
    if (std::strcmp(c.name, c.target)) {
      ASSERT_EQ(symlink(c.target, (dir_ / c.name).c_str()), 0);
    }
  }
  for (const auto& c : cases) {
    EXPECT_EQ(FsReplaceFile(c.name, "new", 3), 0) << c.name;
    struct stat st;
    ASSERT_EQ(stat((dir_ / c.target).c_str(), &st), 0) << c.name;
    EXPECT_EQ(st.st_mode & 07777, c.mode ? c.mode : 0644u) << c.name;
    EXPECT_EQ(ReadText(dir_ / c.target), "new") << c.name;
  }
  umask(oldMask);
}

// A link put at the write's temporary name while it runs is never renamed
// over the file nor written through: the write makes its file again. A link
// put at a new file's name meanwhile makes that name taken.
TEST_F(FsTest, ANameSwappedForALinkDuringAWriteIsNeverPublished) {
  const std::string outside = dir_ / "outside.txt";
  g_outside = outside.c_str();
  for (const WritePath& path : kWritePaths) {
    SCOPED_TRACE(path.name);
    ASSERT_TRUE(WriteText(outside, "13 bytes here"));
    ASSERT_TRUE(WriteText(dir_ / "save.dat", "old"));
    UseWritePath(path);
    static bool struck;
    struck = false;
    // The second process strikes once, the moment the temporary name exists
    // with the whole file behind it.
    if (path.unnamed)
      FsCalls().linkat = [](int fromFolder, const char* from, int toFolder, const char* to, int flags) {
        const int made = ::linkat(fromFolder, from, toFolder, to, flags);
        if (made == 0 && !struck) PlantLink(toFolder, to), struck = true;
        return made;
      };
    else
      FsCalls().fsync = [](int fd) {
        const std::vector<std::string> temps = TemporaryNames();
        if (!temps.empty() && !struck) PlantLink(AT_FDCWD, temps[0].c_str()), struck = true;
        return ::fsync(fd);
      };
    EXPECT_EQ(FsReplaceFile("save.dat", "the new save", 12), 0);
    EXPECT_TRUE(struck);
    struct stat st;
    EXPECT_TRUE(lstat((dir_ / "save.dat").c_str(), &st) == 0 && S_ISREG(st.st_mode));
    EXPECT_EQ(ReadText(dir_ / "save.dat"), "the new save");
    EXPECT_EQ(FsReplaceFile("save.dat", "again", 5), 0);
    EXPECT_EQ(ReadText(dir_ / "save.dat"), "again");
    EXPECT_EQ(ReadText(outside), "13 bytes here");
    const std::vector<std::string> planted = TemporaryNames();
    ASSERT_EQ(planted.size(), 1u);  // the other process's link is not this layer's to remove
    EXPECT_TRUE(lstat(planted[0].c_str(), &st) == 0 && S_ISLNK(st.st_mode));
    std::remove(planted[0].c_str());
  }
  FsResetHostCalls();
}

// A new file takes its name only where nothing stands, a link included, and
// a link put there while it is written; a full disk leaves nothing.
TEST_F(FsTest, ANewFileIsMadeWholeAndOnlyWhereNothingStands) {
  const std::string outside = dir_ / "outside.bmp";
  g_outside = outside.c_str();
  enum class At { Nothing, Link, DanglingLink, LinkMeanwhile, FullDisk };
  const struct {
    const char* how;
    At at;
    int error;
  } cases[] = {{"free", At::Nothing, 0},
               {"a link", At::Link, EEXIST},
               {"a link that leads nowhere", At::DanglingLink, EEXIST},
               {"a link put there meanwhile", At::LinkMeanwhile, EEXIST},
               {"a full disk", At::FullDisk, ENOSPC}};
  mkdir((dir_ / "snapshot").c_str(), 0755);
  for (const WritePath& path : kWritePaths)
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(path.name) + ", " + c.how);
      std::remove(outside.c_str());
      if (c.at != At::DanglingLink) {
        ASSERT_TRUE(WriteText(outside, "13 bytes here"));
      }
      UseWritePath(path);
      if (c.at == At::Link || c.at == At::DanglingLink) {
        ASSERT_EQ(symlink(g_outside, (dir_ / "snapshot/vko001.bmp").c_str()), 0);
      }
      if (c.at == At::LinkMeanwhile)
        FsCalls().fsync = [](int fd) {
          if (symlink(g_outside, "snapshot/vko001.bmp") != 0 && errno != EEXIST) std::abort();
          return ::fsync(fd);
        };
      if (c.at == At::FullDisk) FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
      EXPECT_EQ(FsCreateNewFile("snapshot\\vko001.bmp", "picture", 7), c.error);
      FsResetHostCalls();
      struct stat st;
      const bool made = lstat((dir_ / "snapshot/vko001.bmp").c_str(), &st) == 0;
      EXPECT_EQ(made, c.at != At::FullDisk);
      EXPECT_EQ(made && S_ISREG(st.st_mode), c.at == At::Nothing);
      if (c.at == At::Nothing) {
        EXPECT_EQ(ReadText(dir_ / "snapshot/vko001.bmp"), "picture");
      }
      EXPECT_EQ(ReadText(outside), c.at == At::DanglingLink ? "" : "13 bytes here");
      EXPECT_EQ(FolderNames(dir_ / "snapshot").size(), made ? 1u : 0u);
      std::remove((dir_ / "snapshot/vko001.bmp").c_str());
    }
}

// ---- what a replaced file hands on, and the moment it is named -------------------------

// An access or default ACL as the kernel keeps it: {tag, bits, id} entries.
std::string AclAttribute(std::initializer_list<std::array<uint32_t, 3>> entries) {
  std::string a("\2\0\0\0", 4);
  for (const auto& e : entries)
    for (const uint32_t v : {e[0] | e[1] << 16, e[2]})
      for (int byte = 0; byte < 4; ++byte) a += static_cast<char>(v >> (8 * byte));
  return a;
}

// A file shared with one friend through an ACL keeps it; where the ACL cannot
// be set, the owning group gets no more than its own entry gave it (the bits'
// group part is the mask). A file without an ACL gets none from the folder's
// default ACL.
TEST_F(FsTest, ReplacedFilesKeepTheirAccessAclAndNeverWiden) {
  const uint32_t none = 0xFFFFFFFFu;
  const std::string shared = AclAttribute({{1, 6, none}, {2, 6, 4242}, {4, 0, none}, {0x10, 6, none}, {0x20, 0, none}});
  const char* access = "system.posix_acl_access";
  mkdir((dir_ / "inherit").c_str(), 0755);
  if (setxattr((dir_ / "inherit").c_str(), "system.posix_acl_default", shared.data(), shared.size(), 0) != 0)
    GTEST_SKIP() << "this file system keeps no ACLs: " << std::strerror(errno);
  const struct {
    const char* name;
    bool hasAcl, refused;  // the old file's ACL; setting it fails
    mode_t want;
  } cases[] = {{"shared.dat", true, false, 0660}, {"refused.dat", true, true, 0600}, {"inherit/plain.dat", false, false, 0640}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteText(dir_ / c.name, "old"));
    removexattr(c.name, access);
    ASSERT_EQ(chmod(c.name, 0640), 0);
    if (c.hasAcl) {
      ASSERT_EQ(setxattr(c.name, access, shared.data(), shared.size(), 0), 0);
    }
    if (c.refused)
      FsCalls().fsetxattr = [](int, const char*, const void*, size_t, int) { return errno = EOPNOTSUPP, -1; };
    EXPECT_EQ(FsReplaceFile(c.name, "new", 3), 0);
    FsResetHostCalls();
    EXPECT_EQ(ReadText(dir_ / c.name), "new");
    std::string acl(256, '\0');
    const ssize_t n = getxattr(c.name, access, &acl[0], acl.size());
    acl.resize(n > 0 ? static_cast<size_t>(n) : 0);
    EXPECT_EQ(acl, c.hasAcl && !c.refused ? shared : "");
    struct stat st;
    ASSERT_EQ(stat(c.name, &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.want);
  }
}

const char* g_naming = "";  // the name a write gives its file
int g_planted = -1;         // links planted at its temporary names; -1 before the strike
bool g_noExchange = false;  // the file system cannot exchange two names

// The moment the write gives its file the name, a second process puts a link
// at each of its temporary names, once.
void StrikeAsNamed(int folder, const char* to) {
  if (g_planted >= 0 || std::strcmp(to, g_naming) != 0) return;
  g_planted = 0;
  for (const std::string& n : TemporaryNames(g_naming)) {
    PlantLink(folder, n.c_str());
    ++g_planted;
  }
}

// A link slipped in at the temporary name inside the renaming or linking
// call never takes the name: the name ends with the write's own bytes, the
// link stays where it was put, and nothing outside changes then or on the
// next save.
TEST_F(FsTest, ALinkSlippedInAsTheFileIsNamedNeverTakesTheName) {
  const std::string outside = dir_ / "outside.txt";
  g_outside = outside.c_str();
  const struct {
    const char* what;
    const char* name;
    int (*write)(const char*, const void*, size_t);
    bool noExchange;
  } writes[] = {{"a save", "save.dat", FsReplaceFile, false},
                {"a save where names cannot be exchanged", "save.dat", FsReplaceFile, true},
                {"a snapshot", "vko001.bmp", FsCreateNewFile, false}};
  for (const WritePath& path : kWritePaths)
    for (const auto& w : writes) {
      SCOPED_TRACE(std::string(path.name) + ", " + w.what);
      const bool replacing = w.write == FsReplaceFile;
      ASSERT_TRUE(WriteText(outside, "13 bytes here"));
      if (replacing) {
        ASSERT_TRUE(WriteText(dir_ / w.name, "old"));
      }
      UseWritePath(path);
      g_naming = w.name;
      g_planted = -1;
      g_noExchange = w.noExchange;
      FsCalls().renameat = [](int folder, const char* from, const char* to, unsigned flags) {
        if (g_noExchange && (flags & RENAME_EXCHANGE)) return errno = EINVAL, -1;
        StrikeAsNamed(folder, to);
        return ::renameat2(folder, from, folder, to, flags);
      };
      FsCalls().linkat = [](int fromFolder, const char* from, int toFolder, const char* to, int flags) {
        StrikeAsNamed(toFolder, to);
        return ::linkat(fromFolder, from, toFolder, to, flags);
      };
      EXPECT_EQ(w.write(w.name, "the new one", 11), 0);
      EXPECT_GE(g_planted, 0);
      struct stat st;
      EXPECT_TRUE(lstat(w.name, &st) == 0 && S_ISREG(st.st_mode));
      EXPECT_EQ(ReadText(dir_ / w.name), "the new one");
      if (replacing) {
        EXPECT_EQ(FsReplaceFile(w.name, "again", 5), 0);
        EXPECT_EQ(ReadText(dir_ / w.name), "again");
      }
      EXPECT_EQ(ReadText(outside), "13 bytes here");
      int others = 0, links = 0;
      for (const std::string& n : FolderNames(dir_.path()))
        if (n != w.name && n != "outside.txt") {
          ++others;
          links += lstat(n.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
          std::remove(n.c_str());
        }
      EXPECT_EQ(links, g_planted);
      EXPECT_EQ(others, g_planted);
      std::remove(w.name);
    }
}

int g_tries[2];          // the second writer says through it that it is trying the folder's lock
pid_t g_second = 0;      // the second writer
bool g_inSecond = false;

// While a write's exchange has put a slipped-in link at the name, for the
// moment before it goes back, a second writer of the name waits for that
// moment to pass: it never follows the link nor takes it for the file.
TEST_F(FsTest, ASecondWriterWaitsWhileASlippedInLinkStandsAtTheName) {
  const std::string outside = dir_ / "outside.txt";
  g_outside = outside.c_str();
  ASSERT_TRUE(WriteText(outside, "13 bytes here"));
  ASSERT_TRUE(WriteText(dir_ / "save.dat", "old"));
  ASSERT_EQ(pipe(g_tries), 0);
  g_second = 0;
  FsCalls().lock = [](int fd, int how) {
    if (g_inSecond) (void)!::write(g_tries[1], "t", 1);
    return ::flock(fd, how);
  };
  FsCalls().renameat = [](int folder, const char* from, const char* to, unsigned flags) {
    if (g_second != 0 || g_inSecond || std::strcmp(to, "save.dat") != 0) return ::renameat2(folder, from, folder, to, flags);
    PlantLink(folder, from);
    const int done = ::renameat2(folder, from, folder, to, flags);
    g_second = fork();
    if (g_second == 0) {
      g_inSecond = true;
      _exit(FsReplaceFile("save.dat", "second", 6));
    }
    close(g_tries[1]);
    char said;
    (void)!::read(g_tries[0], &said, 1);  // it is at the lock, or gone
    return done;
  };
  EXPECT_EQ(FsReplaceFile("save.dat", "first", 5), 0);
  int status = -1;
  ASSERT_EQ(waitpid(g_second, &status, 0), g_second);
  close(g_tries[0]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadText(outside), "13 bytes here");
  struct stat st;
  EXPECT_TRUE(lstat("save.dat", &st) == 0 && S_ISREG(st.st_mode));
  const std::string saved = ReadText(dir_ / "save.dat");
  EXPECT_TRUE(saved == "first" || saved == "second") << saved;
}
