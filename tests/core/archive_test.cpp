// Archives: packer round trips, the archive-aware file layer, and every kind
// of damaged or hostile archive.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/archive.h"
#include "core/archive_pack.h"
#include "core/fileio.h"
#include "core/log.h"
#include "core/memory.h"
#include "core/test_files.h"
#include "platform/fs.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Repetitive data that LZ shrinks, and noise that it cannot.
std::vector<uint8_t> Repetitive(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>("ABCDEFGH"[(i / 3) % 8] + (i % 97 == 0));
  return v;
}
std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(gen());
  return v;
}

std::vector<PackInput> SampleInputs() {
  return {
      {"spell.tga", Repetitive(5000)},
      {"se\\shot.wav", Noise(3000, 1)},
      {"deep\\er\\Name.BMP", Bytes("nested file")},
      {"empty.txt", {}},
      {"\x95\x5C\\x.txt", Bytes("folder named with a 0x5C trail byte")},
  };
}

std::vector<uint8_t> ReadEntry(Archive* a, const char* name) {
  const ArchiveEntry* e = FindArchiveEntry(a, name);
  if (!e) return {0xDE, 0xAD};
  void* data = nullptr;
  size_t size = 0;
  if (ReadArchiveEntry(a, e, &data, &size) != 0) return {0xBA, 0xD0};
  std::vector<uint8_t> out(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  TrackedFree(data);
  return out;
}

void PutU32(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) (*v)[at + k] = static_cast<uint8_t>(x >> (8 * k));
}

}  // namespace

TEST(Lz, RoundTripsAndShrinksRepetitiveData) {
  for (size_t n : {0u, 1u, 2u, 3u, 17u, 4096u, 4097u, 70000u}) {
    const std::vector<uint8_t> plain = Repetitive(n);
    const std::vector<uint8_t> packed = LzEncode(plain.data(), plain.size());
    std::vector<uint8_t> back(n + 1, 0xEE);
    ASSERT_EQ(LzDecode(packed.data(), packed.size(), back.data(), n), 0) << n;
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), back.begin())) << n;
    EXPECT_EQ(back[n], 0xEE);  // nothing written past the end
    if (n >= 4096) {
      EXPECT_LT(packed.size(), n / 3);
    }
  }
  const std::vector<uint8_t> noise = Noise(5000, 9);
  const std::vector<uint8_t> packed = LzEncode(noise.data(), noise.size());
  std::vector<uint8_t> back(noise.size());
  ASSERT_EQ(LzDecode(packed.data(), packed.size(), back.data(), back.size()), 0);
  EXPECT_EQ(back, noise);
}

TEST(Lz, StreamsThatLieAboutSizesFail) {
  const std::vector<uint8_t> plain = Repetitive(1000);
  const std::vector<uint8_t> packed = LzEncode(plain.data(), plain.size());
  std::vector<uint8_t> out(2000);
  EXPECT_EQ(LzDecode(packed.data(), packed.size(), out.data(), 999), -1);   // input left over
  EXPECT_EQ(LzDecode(packed.data(), packed.size(), out.data(), 1001), -1);  // input runs out
  EXPECT_EQ(LzDecode(packed.data(), packed.size() - 1, out.data(), 1000), -1);
  // A match that reaches back before the start of the output.
  const uint8_t backRef[] = {0x00, 0x05, 0x00};
  EXPECT_EQ(LzDecode(backRef, sizeof backRef, out.data(), 3), -1);
  // A match longer than the room left.
  const uint8_t tooLong[] = {0x01, 'a', 0x00, 0xF0};
  EXPECT_EQ(LzDecode(tooLong, sizeof tooLong, out.data(), 5), -1);
  EXPECT_EQ(LzDecode(tooLong, sizeof tooLong, out.data(), 19), 0);
}

TEST(Archive, RoundTripsEveryVersionMethodAndKey) {
  const std::vector<PackInput> inputs = SampleInputs();
  for (int version : {0, 1, 2, 3}) {
    for (int method : {-1, 0, 1}) {
      for (const char* key : {"", "dorvask", "k"}) {
        PackOptions options;
        options.version = version;
        options.method = method;
        options.key = key;
        const std::vector<uint8_t> image = BuildArchive(inputs, options);
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(image.size() >= 24, true);
        Archive* a = OpenArchiveMemory(image.data(), image.size(), key);
        ASSERT_NE(a, nullptr) << version << " " << method << " " << key;
        EXPECT_EQ(ArchiveEntryCount(a), 5);
        for (const PackInput& in : inputs) EXPECT_EQ(ReadEntry(a, in.name.c_str()), in.data) << in.name;
        // Case-insensitive names, either separator.
        EXPECT_EQ(ReadEntry(a, "DEEP/ER\\name.bmp"), Bytes("nested file"));
        EXPECT_EQ(FindArchiveEntry(a, "deep\\er"), nullptr);
        EXPECT_EQ(FindArchiveEntry(a, "name.bmp"), nullptr);
        CloseArchive(a);
      }
    }
  }
}

TEST(Archive, LayoutIsLittleEndianWithScrambleByPosition) {
  PackOptions options;
  options.version = 1;
  options.method = 0;
  const std::vector<uint8_t> plain = BuildArchive({{"a.txt", Bytes("hello")}}, options);
  ASSERT_EQ(plain.size(), 24u + 5u + 40u + 6u);
  EXPECT_EQ(plain[0], 'T');
  EXPECT_EQ(plain[1], 'S');
  EXPECT_EQ(plain[2], 1);
  EXPECT_EQ(plain[4], 1);                 // one entry
  EXPECT_EQ(plain[8], 29);                // directory right after the data
  EXPECT_EQ(plain[12], 46);               // 40-byte entry + "a.txt\0"
  EXPECT_EQ(plain[20], 24);               // the data starts after the header
  EXPECT_EQ(std::memcmp(&plain[24], "hello", 5), 0);
  EXPECT_EQ(plain[29 + 8], 24);           // data offset of the entry
  EXPECT_EQ(std::memcmp(&plain[69], "a.txt", 6), 0);
  options.key = "dorvask";
  const std::vector<uint8_t> keyed = BuildArchive({{"a.txt", Bytes("hello")}}, options);
  ASSERT_EQ(keyed.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(keyed[i] ^ plain[i], "dorvask"[i % 7]) << i;
  // A version 2 entry is 44 bytes.
  options.version = 2;
  EXPECT_EQ(BuildArchive({{"a.txt", Bytes("hello")}}, options).size(), 24u + 5u + 44u + 6u);
}

TEST(Archive, PackerRefusesDuplicateNamesAndBadOptions) {
  EXPECT_TRUE(BuildArchive({{"A.txt", Bytes("1")}, {"a.TXT", Bytes("2")}}, PackOptions()).empty());
  EXPECT_TRUE(BuildArchive({{"", Bytes("1")}}, PackOptions()).empty());
  PackOptions bad;
  bad.version = 4;
  EXPECT_TRUE(BuildArchive({{"a", Bytes("1")}}, bad).empty());
}

class ArchiveDamage : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogFilePath((dir_ / "Log.txt").c_str());
    SetLogOutput(1);
    PackOptions options;
    options.key = "dorvask";
    image_ = BuildArchive(SampleInputs(), options);
    ASSERT_FALSE(image_.empty());
  }
  void TearDown() override {
    CloseLog();
    SetLogFilePath(nullptr);
  }
  // Plain copy of the image, to damage and scramble again.
  std::vector<uint8_t> Plain() {
    std::vector<uint8_t> p = image_;
    ArchiveScramble(p.data(), p.size(), 0, "dorvask");
    return p;
  }
  bool Opens(std::vector<uint8_t> plain, const char* key = "dorvask") {
    ArchiveScramble(plain.data(), plain.size(), 0, key);
    Archive* a = OpenArchiveMemory(plain.data(), plain.size(), key);
    CloseArchive(a);
    return a != nullptr;
  }
  std::string Log() { return ReadText(dir_ / "Log.txt"); }
  TempFolder dir_;
  std::vector<uint8_t> image_;
};

TEST_F(ArchiveDamage, WrongKeyOrNoKeyFails) {
  EXPECT_EQ(OpenArchiveMemory(image_.data(), image_.size(), "dorvasc"), nullptr);
  EXPECT_EQ(OpenArchiveMemory(image_.data(), image_.size(), nullptr), nullptr);
  // Same first two key bytes: the magic decodes, the directory check does not.
  EXPECT_EQ(OpenArchiveMemory(image_.data(), image_.size(), "doXXXXX"), nullptr);
  EXPECT_NE(Log().find("鍵が違います"), std::string::npos);
}

TEST_F(ArchiveDamage, TruncatedAtEveryLengthFailsCleanly) {
  for (size_t n = 0; n < image_.size(); n += (n < 64 ? 1 : 97)) {
    Archive* a = OpenArchiveMemory(image_.data(), n, "dorvask");
    EXPECT_EQ(a, nullptr) << n;
    CloseArchive(a);
  }
}

TEST_F(ArchiveDamage, BadHeaderFields) {
  std::vector<uint8_t> p = Plain();
  EXPECT_TRUE(Opens(p));
  auto withU32 = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> q = p;
    PutU32(&q, at, v);
    return q;
  };
  std::vector<uint8_t> v4 = p;
  v4[2] = 4;
  EXPECT_FALSE(Opens(v4));                          // version 4
  EXPECT_FALSE(Opens(withU32(4, 0xFFFFFFFFu)));     // entry count
  EXPECT_FALSE(Opens(withU32(4, 1000)));            // more entries than the directory holds
  EXPECT_FALSE(Opens(withU32(8, 0xFFFFFFF0u)));     // directory offset past the end
  EXPECT_FALSE(Opens(withU32(8, 3)));               // directory inside the header
  EXPECT_FALSE(Opens(withU32(12, 0xFFFFFFFFu)));    // directory size
  EXPECT_FALSE(Opens(withU32(16, 0x12345678u)));    // directory checksum
  EXPECT_FALSE(Opens(withU32(20, 8)));              // data offset inside the header
  EXPECT_FALSE(Opens(withU32(20, 0x7FFFFFFFu)));    // data offset past the directory
  EXPECT_FALSE(Opens(withU32(20, 25)));             // the first entry's data lies before it
  EXPECT_TRUE(Opens(withU32(20, 0)));               // not given: accepted
  std::vector<uint8_t> magic = p;
  magic[1] = 'X';
  EXPECT_FALSE(Opens(magic));
}

TEST_F(ArchiveDamage, BadEntryFieldsWithARecomputedDirectoryChecksum) {
  const std::vector<uint8_t> p = Plain();
  const uint32_t dirOffset = p[8] | (p[9] << 8) | (p[10] << 16) | (p[11] << 24);
  const uint32_t dirSize = p[12] | (p[13] << 8) | (p[14] << 16) | (p[15] << 24);
  auto entryWith = [&](size_t field, uint32_t v) {
    std::vector<uint8_t> q = p;
    PutU32(&q, dirOffset + field, v);  // the first entry
    PutU32(&q, 16, ArchiveCrc32(&q[dirOffset], dirSize));
    return q;
  };
  EXPECT_FALSE(Opens(entryWith(0, 0xFFFFFF00u)));  // name offset outside the name table
  EXPECT_FALSE(Opens(entryWith(4, 0)));            // empty name
  EXPECT_FALSE(Opens(entryWith(4, 100000)));       // name running past the table
  EXPECT_FALSE(Opens(entryWith(4, 3)));            // name not ended where its length says
  EXPECT_FALSE(Opens(entryWith(8, 0xFFFFFF00u)));  // data offset past the end
  EXPECT_FALSE(Opens(entryWith(12, 0x7FFFFFFFu))); // stored size past the end
  EXPECT_FALSE(Opens(entryWith(20, 7)));           // unknown method
}

TEST_F(ArchiveDamage, EntryDataThatLiesFailsAtRead) {
  std::vector<uint8_t> p = Plain();
  const uint32_t dirOffset = p[8] | (p[9] << 8) | (p[10] << 16) | (p[11] << 24);
  const uint32_t dirSize = p[12] | (p[13] << 8) | (p[14] << 16) | (p[15] << 24);
  // The entries are sorted as given; entry 0 is "spell.tga", LZ-compressed.
  auto openWith = [&](size_t field, uint32_t v) {
    std::vector<uint8_t> q = p;
    PutU32(&q, dirOffset + field, v);
    PutU32(&q, 16, ArchiveCrc32(&q[dirOffset], dirSize));
    ArchiveScramble(q.data(), q.size(), 0, "dorvask");
    return q;
  };
  for (uint32_t original : {4999u, 5001u, 0x3FFFFFFFu, 0xFFFFFFFFu}) {
    std::vector<uint8_t> q = openWith(16, original);
    Archive* a = OpenArchiveMemory(q.data(), q.size(), "dorvask");
    if (!a) continue;  // refused at open is as good
    EXPECT_EQ(ReadEntry(a, "spell.tga"), (std::vector<uint8_t>{0xBA, 0xD0})) << original;
    CloseArchive(a);
  }
  // A flipped data byte fails the entry's checksum.
  std::vector<uint8_t> flipped = p;
  flipped[30] ^= 0x40;
  ArchiveScramble(flipped.data(), flipped.size(), 0, "dorvask");
  Archive* a = OpenArchiveMemory(flipped.data(), flipped.size(), "dorvask");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ReadEntry(a, "spell.tga"), (std::vector<uint8_t>{0xBA, 0xD0}));
  EXPECT_EQ(ReadEntry(a, "deep\\er\\name.bmp"), Bytes("nested file"));  // others still read
  CloseArchive(a);
  EXPECT_NE(Log().find("アーカイブの項目が壊れています: spell.tga"), std::string::npos);
}

// Random damage anywhere in the plain image (the directory checksum put right
// again, so the damage reaches the entry checks and the decoder): every open
// and read either succeeds or fails cleanly.
TEST_F(ArchiveDamage, RandomlyDamagedImagesNeverReadOutOfBounds) {
  SetLogOutput(0);
  const std::vector<uint8_t> p = Plain();
  const uint32_t dirOffset = p[8] | (p[9] << 8) | (p[10] << 16) | (p[11] << 24);
  const uint32_t dirSize = p[12] | (p[13] << 8) | (p[14] << 16) | (p[15] << 24);
  std::mt19937 gen(11);
  int opened = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> q = p;
    const int flips = 1 + static_cast<int>(gen() % 4);
    for (int k = 0; k < flips; ++k) {
      const uint32_t at = gen() % q.size();
      const uint32_t bits = 1 + gen() % 255;
      q[at] ^= static_cast<uint8_t>(bits);
    }
    if (round % 2 == 0) PutU32(&q, 16, ArchiveCrc32(&q[dirOffset], dirSize));
    ArchiveScramble(q.data(), q.size(), 0, "dorvask");
    Archive* a = OpenArchiveMemory(q.data(), q.size(), "dorvask");
    if (!a) continue;
    ++opened;
    for (int i = 0; i < ArchiveEntryCount(a); ++i) {
      void* data = nullptr;
      size_t size = 0;
      if (ReadArchiveEntry(a, ArchiveEntryAt(a, i), &data, &size) == 0) TrackedFree(data);
    }
    CloseArchive(a);
  }
  EXPECT_GT(opened, 0);  // some damage lands in the data and is met at read
  SetLogOutput(1);
}

// The archive-aware file layer over folders holding archives and plain files.
class ArchiveFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cd_.ok());
    SetLogOutput(0);
    SetArchiveExtension("dat");
    SetArchiveKey("dorvask");
    UseArchiveFileAccess(1);
    PackOptions options;
    options.key = "dorvask";
    ASSERT_TRUE(WriteBytes(dir_ / "vko01.dat",
                           BuildArchive({{"spell.tga", Repetitive(3000)},
                                         {"sub\\Item.TGA", Bytes("item in sub")}},
                                        options)));
    mkdir((dir_ / "vko01").c_str(), 0755);
    ASSERT_TRUE(WriteText(dir_ / "vko01/plain.txt", "plain beside the archive"));
    mkdir((dir_ / "music").c_str(), 0755);
    ASSERT_TRUE(WriteBytes(dir_ / "music/Inner.DAT", BuildArchive({{"a.wav", Bytes("wave")}}, options)));
    ASSERT_TRUE(WriteText(dir_ / "music/b.wav", "plain music"));
    mkdir((dir_ / "replace").c_str(), 0755);
    ASSERT_TRUE(WriteText(dir_ / "replace/bgm.ini", "[x]\n"));
  }
  void TearDown() override {
    UseArchiveFileAccess(0);
    ClearArchiveCache();
    SetArchiveKey(nullptr);
    SetArchiveExtension("TSA");
    SetLogOutput(1);
  }
  std::string ReadAll(const char* name) {
    void* data = nullptr;
    size_t size = 0;
    if (FileReadWhole(name, &data, &size) != 0) return "<fail>";
    std::string s(static_cast<char*>(data), size);
    TrackedFree(data);
    return s;
  }
  TempFolder dir_;
  ScopedChdir cd_{dir_.path()};
};

TEST_F(ArchiveFiles, FirstLeadingFolderWithAnArchiveDecides) {
  EXPECT_EQ(ReadAll("vko01\\sub\\item.tga"), "item in sub");
  EXPECT_EQ(ReadAll("VKO01\\SPELL.TGA").size(), 3000u);
  // vko01.dat exists: the plain file beside it is not looked at.
  EXPECT_EQ(ReadAll("vko01\\plain.txt"), "<fail>");
  // No "music.dat": "music\inner.dat" is tried next (matched case-insensitively).
  EXPECT_EQ(ReadAll("music\\inner\\a.wav"), "wave");
  // No archive at all: the plain file.
  EXPECT_EQ(ReadAll("music\\b.wav"), "plain music");
  EXPECT_EQ(ReadAll("replace\\bgm.ini"), "[x]\n");
  // The plain set never looks into archives.
  UseArchiveFileAccess(0);
  EXPECT_EQ(ReadAll("vko01\\plain.txt"), "plain beside the archive");
  EXPECT_EQ(ReadAll("vko01\\spell.tga"), "<fail>");
}

// Folder names whose last character has the trail byte 0x5C: 表 (95 5C),
// ソフト (83 5C 83 74 83 67); the folder/archive split steps by characters.
TEST_F(ArchiveFiles, FoldersEndingInA5CTrailByteFindTheirArchive) {
  PackOptions options;
  options.key = "dorvask";
  ASSERT_TRUE(WriteBytes(dir_ / "表.dat", BuildArchive({{"a.txt", Bytes("hyou")}}, options)));
  ASSERT_TRUE(WriteBytes(dir_ / "ソフト.dat", BuildArchive({{"b.txt", Bytes("soft")}}, options)));
  mkdir((dir_ / "x").c_str(), 0755);
  ASSERT_TRUE(WriteBytes(dir_ / "x/表.dat", BuildArchive({{"c.txt", Bytes("nested")}}, options)));
  EXPECT_EQ(ReadAll("\x95\x5C\\a.txt"), "hyou");
  EXPECT_EQ(ReadAll("\x83\x5C\x83\x74\x83\x67\\b.txt"), "soft");
  EXPECT_EQ(ReadAll("x\\\x95\x5C\\c.txt"), "nested");
}

// What the user is told when an open fails.
TEST_F(ArchiveFiles, FailedOpensSayWhy) {
  ASSERT_TRUE(WriteText(dir_ / "music/inner.dat", "TS but damaged"));
  const struct {
    const char* name;
    const char* reason;
  } cases[] = {
      {"nothing\\here.tga", "no such file"},
      {"vko01\\missing.tga", "it is not in the archive vko01.dat"},
      {"music\\inner\\a.wav", "the archive music\\inner.dat is damaged or was packed with another key"},
      {"", "no file name"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileOpen(c.name, 0, 1), 0u) << c.name;
    EXPECT_STREQ(FileOpenFailureReason(), c.reason) << c.name;
  }
}

TEST_F(ArchiveFiles, HandlesSeekTellReadAndEof) {
  const StreamHandle h = FileOpen("vko01\\sub\\item.tga", 0, 1);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(h & 0xF0000000u, 0xF0000000u);
  EXPECT_EQ(FileSize(h), 11);
  char buf[16] = {};
  EXPECT_EQ(FileRead(buf, 4, 1, h), 1u);
  EXPECT_EQ(std::string(buf, 4), "item");
  EXPECT_EQ(FileTell(h), 4);
  EXPECT_EQ(FileSeek(h, -3, 2), 0);
  EXPECT_EQ(FileRead(buf, 1, 10, h), 3u);
  EXPECT_EQ(std::string(buf, 3), "sub");
  EXPECT_EQ(FileEof(h), 1);
  EXPECT_EQ(FileSeek(h, -1, 0), -1);
  EXPECT_EQ(FileSeek(h, 2, 0), 0);
  EXPECT_EQ(FileEof(h), 0);
  EXPECT_EQ(FileRead(buf, 4, 3, h), 2u);  // whole elements only
  EXPECT_EQ(FileClose(h), 0);
  EXPECT_EQ(FileClose(h), -1);
  EXPECT_EQ(FileRead(buf, 1, 1, h), 0u);
  EXPECT_EQ(FileTell(0), -1);
  EXPECT_EQ(FileTell(0xF0000000u | 4095u), -1);
  EXPECT_EQ(FileTell(0x12345678u), -1);
}

TEST_F(ArchiveFiles, DamagedArchiveFailsEveryOpenBelowIt) {
  EXPECT_NE(FileOpen("vko01\\spell.tga", 0, 1), 0u);
  CloseAllFiles();
  // Replaced on disk while cached: the changed file is read again.
  ASSERT_TRUE(WriteText(dir_ / "vko01.dat", "TS but not really an archive"));
  EXPECT_EQ(FileOpen("vko01\\spell.tga", 0, 1), 0u);
  EXPECT_EQ(FileOpen("vko01\\plain.txt", 0, 1), 0u);
  SetArchiveKey("wrong");
  EXPECT_EQ(FileOpen("vko01\\spell.tga", 0, 1), 0u);
}

TEST_F(ArchiveFiles, MissingAndOverlongNames) {
  EXPECT_EQ(FileOpen("nothing\\here.tga", 0, 1), 0u);
  EXPECT_EQ(FileOpen("", 0, 1), 0u);
  EXPECT_EQ(FileOpen(nullptr, 0, 1), 0u);
  const std::string longName = "vko01\\" + std::string(5000, 'a');
  EXPECT_EQ(FileOpen(longName.c_str(), 0, 1), 0u);
  EXPECT_EQ(OpenFileCount(), 0);
}

TEST(PackFolder, NamesEntriesRelativeToTheFolderInCp932) {
  TempFolder dir;
  ScopedChdir cd(dir.path());
  mkdir((dir / "vko01").c_str(), 0755);
  mkdir((dir / "vko01/se").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir / "vko01/top.tga", "top"));
  ASSERT_TRUE(WriteText(dir / "vko01/se/ショット.wav", "shot sound"));
  PackOptions options;
  options.key = "dorvask";
  std::vector<PackInput> inputs;
  ASSERT_EQ(GatherFolder((dir / "vko01").c_str(), &inputs), 0);
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].name, "se\\\x83\x56\x83\x87\x83\x62\x83\x67.wav");
  EXPECT_EQ(inputs[1].name, "top.tga");
  ASSERT_EQ(PackFolder((dir / "vko01.dat").c_str(), (dir / "vko01").c_str(), options), 0);
  TempFolder::RemoveTree(dir / "vko01");  // only the archive is left
  SetLogOutput(0);
  SetArchiveExtension("dat");
  SetArchiveKey("dorvask");
  UseArchiveFileAccess(1);
  void* data = nullptr;
  size_t size = 0;
  ASSERT_EQ(FileReadWhole("vko01\\SE\\\x83\x56\x83\x87\x83\x62\x83\x67.WAV", &data, &size), 0);
  EXPECT_EQ(std::string(static_cast<char*>(data), size), "shot sound");
  TrackedFree(data);
  UseArchiveFileAccess(0);
  ClearArchiveCache();
  SetArchiveKey(nullptr);
  SetArchiveExtension("TSA");
  SetLogOutput(1);
  EXPECT_EQ(PackFolder((dir / "x.dat").c_str(), (dir / "missing").c_str(), options), -1);
  // A folder linked into itself is refused, not followed forever.
  mkdir((dir / "loop").c_str(), 0755);
  ASSERT_EQ(symlink(".", (dir / "loop/self").c_str()), 0);
  EXPECT_EQ(GatherFolder((dir / "loop").c_str(), &inputs), -1);
}

// tsapack's closing line: the files, the bytes read from them and the bytes of
// the archive it wrote (LZ makes the second smaller here).
// The packer built beside the tests, "" when there is none.
std::string Tsapack() {
  char cwd[4096];
  const std::string tool = std::string(getcwd(cwd, sizeof cwd) ? cwd : ".") + "/tsapack";
  return access(tool.c_str(), X_OK) == 0 ? tool : "";
}

TEST(PackFolder, TsapackSaysTheBytesReadAndTheBytesWritten) {
  const std::string tool = Tsapack();
  if (tool.empty()) GTEST_SKIP() << "no tsapack beside the tests";
  TempFolder dir;
  mkdir((dir / "in").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir / "in/a.txt", std::string(4000, 'a')));
  ASSERT_TRUE(WriteText(dir / "in/b.txt", "b"));
  std::FILE* p = popen(("'" + tool + "' '" + (dir / "x.dat") + "' '" + (dir / "in") + "'").c_str(), "r");
  ASSERT_NE(p, nullptr);
  char line[512] = {};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  EXPECT_EQ(pclose(p), 0);
  ASSERT_TRUE(got);
  struct stat st;
  ASSERT_EQ(stat((dir / "x.dat").c_str(), &st), 0);
  EXPECT_LT(st.st_size, 4001);
  EXPECT_EQ(std::string(line), "tsapack: " + (dir / "x.dat") + ": 2 files, 4001 bytes read, " +
                                   std::to_string(st.st_size) + " bytes written\n");
}

// tsapack --list shows the reader's reasons on standard error (a damaged
// archive's here) but keeps no log file: none in its folder, and the null
// device stays a device.
TEST(PackFolder, TsapackListKeepsNoLogFile) {
  const std::string tool = Tsapack();
  if (tool.empty()) GTEST_SKIP() << "no tsapack beside the tests";
  TempFolder dir;
  mkdir((dir / "in").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir / "in/a.txt", "abc"));
  ASSERT_TRUE(WriteText(dir / "bad.dat", std::string("TS\3\0", 4) + std::string(40, 'x')));
  const std::string run = "cd '" + dir.path() + "' && '" + tool + "' x.dat in >/dev/null && '" + tool +
                          "' --list x.dat && '" + tool + "' --list bad.dat 2>&1";
  std::FILE* p = popen(run.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char line[256];
  while (std::fgets(line, sizeof line, p)) out += line;
  EXPECT_NE(pclose(p), 0);  // the damaged one
  EXPECT_NE(out.find(" a.txt\n"), std::string::npos) << out;
  EXPECT_NE(out.find("tsapack: cannot read bad.dat"), std::string::npos) << out;
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"bad.dat", "in", "x.dat"}));
  struct stat st;
  EXPECT_TRUE(stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
}

// The packer writes as the game saves: never through a link at OUT.tmp (it
// stays), a player's own OUT.tmp keeps its bytes, and a failed write leaves
// OUT as it was with nothing beside it.
TEST(PackFolder, WritesTheArchiveAsTheGameWritesASave) {
  TempFolder dir;
  mkdir((dir / "in").c_str(), 0755);
  ASSERT_TRUE(WriteText(dir / "in/a.txt", "abc"));
  PackOptions options;
  std::vector<PackInput> inputs;
  ASSERT_EQ(GatherFolder((dir / "in").c_str(), &inputs), 0);
  const std::vector<uint8_t> archive = BuildArchive(inputs, options);
  const std::string out = dir / "x.dat", temp = dir / "x.dat.tmp";
  enum class At { Link, PlayersFile, FullDisk };
  const struct {
    const char* how;
    At at;
  } cases[] = {{"a link at OUT.tmp", At::Link}, {"a player's OUT.tmp", At::PlayersFile}, {"a full disk", At::FullDisk}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    ASSERT_TRUE(WriteText(dir / "outside", "outside"));
    ASSERT_TRUE(WriteText(out, "old archive"));
    std::remove(temp.c_str());
    if (c.at == At::Link) {
      ASSERT_EQ(symlink((dir / "outside").c_str(), temp.c_str()), 0);
    }
    if (c.at == At::PlayersFile) {
      ASSERT_TRUE(WriteText(temp, "mine"));
    }
    if (c.at == At::FullDisk) FsCalls().write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
    testing::internal::CaptureStderr();
    const int packed = PackFolder(out.c_str(), (dir / "in").c_str(), options);
    const std::string said = testing::internal::GetCapturedStderr();
    FsResetHostCalls();
    EXPECT_EQ(ReadText(dir / "outside"), "outside");
    struct stat st;
    if (c.at == At::FullDisk) {
      EXPECT_EQ(packed, -1);
      EXPECT_EQ(said, "tsapack: cannot write " + out + " (No space left on device)\n");
      EXPECT_EQ(ReadText(out), "old archive");
      EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"in", "outside", "x.dat"}));
      continue;
    }
    EXPECT_EQ(packed, 0);
    EXPECT_EQ(ReadBytes(out), archive);
    EXPECT_TRUE(lstat(out.c_str(), &st) == 0 && S_ISREG(st.st_mode));
    EXPECT_TRUE(lstat(temp.c_str(), &st) == 0 && S_ISLNK(st.st_mode) == (c.at == At::Link));
    if (c.at == At::PlayersFile) {
      EXPECT_EQ(ReadText(temp), "mine");
    }
    EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"in", "outside", "x.dat", "x.dat.tmp"}));
  }
}
