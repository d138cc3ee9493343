// Shift-JIS utilities and CP932 conversion.
#include <gtest/gtest.h>

#include "core/sjis.h"

TEST(Sjis, SeparatorSearchNeverTakesATrailByte) {
  // "表" is 0x95 0x5C: its trail byte is the byte of "\".
  const char path[] = "\x95\x5C\\a\\\x83\x5C.wav";  // 表\a\ソ.wav
  const char* first = SjisFindChar(path, '\\');
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first - path, 2);
  const char* last = SjisFindLastChar(path, '\\');
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last - path, 4);
  EXPECT_EQ(SjisFindChar("\x95\x5C", '\\'), nullptr);
  EXPECT_EQ(SjisCharCount(path), 9u);
}

TEST(Sjis, IterationAndCutOffLeadByte) {
  EXPECT_TRUE(IsSjisLeadByte(0x81));
  EXPECT_TRUE(IsSjisLeadByte(0x9F));
  EXPECT_TRUE(IsSjisLeadByte(0xE0));
  EXPECT_TRUE(IsSjisLeadByte(0xFC));
  EXPECT_FALSE(IsSjisLeadByte(0xA0));  // half-width katakana area
  EXPECT_FALSE(IsSjisLeadByte(0x7F));
  EXPECT_FALSE(IsSjisLeadByte(0xFD));
  const char cut[] = "a\x82";  // a lead byte at the end takes no zero with it
  EXPECT_EQ(SjisCharLength(cut + 1), 1);
  EXPECT_EQ(SjisNext(cut + 1), cut + 2);
  EXPECT_EQ(SjisCharLength(cut + 2), 0);
}

TEST(Sjis, CaseFoldingIsAsciiOnly) {
  // "Ａ" (0x82 0x60) and "ａ" (0x82 0x81) are different characters; "A" "a" fold.
  char text[] = "VKO01\\\x82\x60.TGA";
  SjisToLowerAscii(text);
  EXPECT_STREQ(text, "vko01\\\x82\x60.tga");
  EXPECT_EQ(SjisCompareNoCase("Replace\\BGM.ini", "replace\\bgm.INI"), 0);
  EXPECT_NE(SjisCompareNoCase("\x82\x60", "\x82\x81"), 0);
  // A trail byte in the letter range (0x83 0x41 "ア") is not folded against 0x83 0x61 ("ャ").
  EXPECT_NE(SjisCompareNoCase("\x83\x41", "\x83\x61"), 0);
  EXPECT_LT(SjisCompareNoCase("abc", "abd"), 0);
  EXPECT_GT(SjisCompareNoCase("abcd", "abc"), 0);
  // A lead byte cut off by the end is shorter than the same lead byte with a trail.
  EXPECT_LT(SjisCompareNoCase("\x82", "\x82\xA0"), 0);
  EXPECT_GT(SjisCompareNoCase("a\x82\xA0", "A\x82"), 0);
  EXPECT_LT(SjisCompareNoCase("\x82", "\x82" "A"), 0);
}

TEST(Sjis, Cp932ConversionUsesTheMicrosoftTable) {
  bool ok = false;
  // "～" 0x81 0x60 is U+FF5E FULLWIDTH TILDE in CP932 (not U+301C WAVE DASH).
  EXPECT_EQ(Cp932ToUtf8("\x81\x60", &ok), "\xEF\xBD\x9E");
  EXPECT_TRUE(ok);
  // The window title of the game round-trips.
  const char* title = "碧霞霜月譚　～ Amber Snowfall Nocturne.　Ver 1.05";
  const std::string cp932 = Utf8ToCp932(title, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(cp932.substr(0, 2), "\x95\xC9");  // 碧
  EXPECT_EQ(Cp932ToUtf8(cp932.c_str()), title);
  // "－" U+FF0D and "∥" U+2225 exist only in the Microsoft table.
  EXPECT_EQ(Utf8ToCp932("\xEF\xBC\x8D", &ok), "\x81\x7C");
  EXPECT_TRUE(ok);
}

TEST(Sjis, BadBytesBecomeQuestionMarks) {
  bool ok = true;
  EXPECT_EQ(Cp932ToUtf8("a\x82", &ok), "a?");  // cut-off double-byte character
  EXPECT_FALSE(ok);
  ok = true;
  EXPECT_EQ(Cp932ToUtf8("\xFD" "b", &ok), "?b");
  EXPECT_FALSE(ok);
  EXPECT_EQ(Cp932ToUtf8(nullptr), "");
  // A character CP932 lacks becomes one '?', however many UTF-8 bytes it had.
  ok = true;
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b\xE2\x82", &ok), "a?b?");
  EXPECT_FALSE(ok);
}
