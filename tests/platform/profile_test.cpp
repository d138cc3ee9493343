// The profile-file reader on the game's "replace\bgm.ini" and on junk.
#include <gtest/gtest.h>

#include <random>

#include "core/test_files.h"
#include "platform/fs.h"

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cd_.ok());
    mkdir((dir_ / "replace").c_str(), 0755);
    ASSERT_TRUE(WriteText(dir_ / "replace/bgm.ini",
                          "; user music\r\n"
                          "[vko01_01]\r\n"
                          "Path=music\\title.wav\r\n"
                          "Loop=1500\r\n"
                          "\r\n"
                          "  [ VKO01_02 ]  \r\n"
                          "  path  =  \"  quoted path.ogg  \"  \r\n"
                          "LOOP = 0x20\r\n"
                          "[vko01_03]\n"
                          "Path=\x83\x5C\x83\x93\x83\x4F.wav\n"  // ソング.wav
                          "Loop=-250ms\n"
                          "Loop=999\n"
                          "[vko01_04]\n"
                          "Loop=abc\n"
                          "Path=\n"
                          "[vko01_05\n"
                          "Path=inside a broken header\n"));
  }
  std::string Get(const char* section, const char* key, const char* def = "", int size = 256) {
    char out[300];
    std::memset(out, 0x7F, sizeof out);
    const int n = FsGetProfileString(section, key, def, out, size, "replace\\bgm.ini");
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(out));
    EXPECT_EQ(out[size], 0x7F);  // nothing written past the buffer
    return out;
  }
  TempFolder dir_;
  ScopedChdir cd_{dir_.path()};
};

TEST_F(ProfileTest, ReadsTheGamesSectionsAndKeys) {
  EXPECT_EQ(Get("vko01_01", "Path"), "music\\title.wav");
  EXPECT_EQ(FsGetProfileInt("vko01_01", "Loop", 0, "replace\\bgm.ini"), 1500);
  // Sections and keys are matched without regard to case or surrounding blanks.
  EXPECT_EQ(Get("vko01_02", "Path"), "  quoted path.ogg  ");
  EXPECT_EQ(FsGetProfileInt("Vko01_02", "loop", 0, "REPLACE\\BGM.INI"), 32);
  EXPECT_EQ(Get("vko01_03", "Path"), "\x83\x5C\x83\x93\x83\x4F.wav");
  // The first of two equal keys wins; the integer is the numeric prefix.
  EXPECT_EQ(FsGetProfileInt("vko01_03", "Loop", 7, "replace\\bgm.ini"), -250);
  EXPECT_EQ(FsGetProfileInt("vko01_04", "Loop", 7, "replace\\bgm.ini"), 0);
  EXPECT_EQ(Get("vko01_04", "Path", "default"), "");  // present but empty: not the default
  EXPECT_EQ(FsGetProfileInt("vko01_04", "Path", 7, "replace\\bgm.ini"), 7);  // an empty value: the integer default
}

TEST_F(ProfileTest, DefaultsForWhatIsMissing) {
  EXPECT_EQ(Get("vko01_26", "Path", "none  "), "none");  // trailing blanks of the default go
  EXPECT_EQ(FsGetProfileInt("vko01_26", "Loop", 42, "replace\\bgm.ini"), 42);
  EXPECT_EQ(Get("vko01_01", "Volume", "d"), "d");
  EXPECT_EQ(Get("vko01_05", "Path", "d"), "d");  // a header without "]" is no section
  EXPECT_EQ(FsGetProfileInt("vko01_01", "Loop", 5, "replace\\none.ini"), 5);
  char out[8];
  EXPECT_EQ(FsGetProfileString("a", "b", nullptr, out, 8, "replace\\none.ini"), 0);
  EXPECT_STREQ(out, "");
}

TEST_F(ProfileTest, LengthLimitCutsWithoutSplittingACharacter) {
  EXPECT_EQ(Get("vko01_01", "Path", "", 6), "music");
  EXPECT_EQ(Get("vko01_01", "Path", "", 1), "");
  // "ソング.wav" cut to 3 bytes keeps only the first character (2 bytes).
  EXPECT_EQ(Get("vko01_03", "Path", "", 4), "\x83\x5C");
}

TEST_F(ProfileTest, JunkFilesNeitherCrashNorMatchByAccident) {
  std::mt19937 gen(5);
  std::string junk(200000, '\0');
  for (char& c : junk) c = static_cast<char>(gen());
  junk += "\n[vko01_01]\nPath=found after junk\n";
  junk.insert(1000, std::string("\0\0\0", 3));
  ASSERT_TRUE(WriteText(dir_ / "replace/bgm.ini", junk));
  EXPECT_EQ(Get("vko01_01", "Path", "d"), "found after junk");
  ASSERT_TRUE(WriteText(dir_ / "replace/bgm.ini", std::string(100000, '[')));
  EXPECT_EQ(Get("vko01_01", "Path", "d"), "d");
  ASSERT_TRUE(WriteText(dir_ / "replace/bgm.ini", "[vko01_01]\nLoop=99999999999999999999\nPath"));
  FsGetProfileInt("vko01_01", "Loop", 0, "replace\\bgm.ini");  // wraps, no overflow trap
  EXPECT_EQ(Get("vko01_01", "Path", "d"), "d");
}
