// Byte images of the settings, score and replay files.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "shell/gamestate.h"
#include "shell/savefile.h"

namespace {

std::unique_ptr<GameState> NewState() {
  auto s = std::make_unique<GameState>();
  std::memset(s.get(), 0, sizeof(GameState));
  return s;
}

TEST(SaveScramble, EveryByteValueRoundTripsAtEveryPosition) {
  for (int p = 8; p <= 18; ++p) {
    bool seen[256] = {};
    for (int b = 0; b < 256; ++b) {
      uint8_t buf[20] = {};
      buf[p] = static_cast<uint8_t>(b);
      ScrambleConfig(buf);
      seen[buf[p]] = true;
      UnscrambleConfig(buf);
      ASSERT_EQ(buf[p], b) << "settings position " << p;
    }
    for (bool s : seen) ASSERT_TRUE(s);  // a permutation of the byte values
  }
  std::vector<uint8_t> buf(8 + 1600);
  for (int b = 0; b < 256; ++b) {
    std::fill(buf.begin(), buf.end(), static_cast<uint8_t>(b));
    ScrambleSaveData(buf.data(), 1600);
    for (int p = 0; p < 8; ++p) ASSERT_EQ(buf[p], b);  // magic and version stay plain
    UnscrambleSaveData(buf.data(), 1600);
    for (size_t p = 0; p < buf.size(); ++p) ASSERT_EQ(buf[p], b) << "save position " << p;
  }
}

TEST(SaveScramble, EmptySpanChangesNothing) {
  uint8_t buf[16];
  std::memset(buf, 0x5C, sizeof buf);
  ScrambleSaveData(buf, 0);
  ScrambleSaveData(buf, -3);
  for (uint8_t b : buf) EXPECT_EQ(b, 0x5C);
}

TEST(SaveChecksum, ThreeLetters) {
  const uint8_t abc[3] = {'a', 'b', 'c'};
  EXPECT_EQ(SaveChecksumHash(abc, 3), 1834118u);
  EXPECT_EQ(SaveChecksumHash(abc, 3) & 255u, 134u);
}

TEST(ConfigFile, ImageOfKnownSettings) {
  auto s = NewState();
  s->livesSetting = 1;
  s->bombsSetting = 2;
  s->bgmVolume = 80;
  s->seVolume = 55;
  s->screenMode = 0;
  s->color32 = 1;
  s->frameSkip = 1;
  const uint32_t pads[4] = {5, 9, 31, 4};
  std::memcpy(s->padButton, pads, sizeof pads);
  uint8_t buf[20];
  std::memset(buf, 0xEE, sizeof buf);
  EncodeConfigFile(*s, buf);
  const uint8_t expected[20] = {0x76, 0x6B, 0x6F, 0x30, 0x31, 0x63, 0x66, 0x69, 0x76, 0xA7,
                                0x41, 0x41, 0x5A, 0x5B, 0x5C, 0xBE, 0x59, 0x66, 0x71, 0x04};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(buf[i], expected[i]) << "byte " << i;

  auto t = NewState();
  ASSERT_TRUE(DecodeConfigFile(buf, *t));
  EXPECT_EQ(t->livesSetting, 1u);
  EXPECT_EQ(t->bombsSetting, 2u);
  EXPECT_EQ(t->bgmVolume, 80u);
  EXPECT_EQ(t->seVolume, 55u);
  EXPECT_EQ(t->screenMode, 0u);
  EXPECT_EQ(t->color32, 1);
  EXPECT_EQ(t->frameSkip, 1u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(t->padButton[k], pads[k]);
}

// A plain settings image with the given version and bytes 8-11, 16-19.
void PlainConfig(uint8_t* buf, uint8_t version, uint8_t b8, uint8_t b9, uint8_t b10, uint8_t b11,
                 uint8_t pad) {
  std::memset(buf, 0, 20);
  std::memcpy(buf, "vko01cf", 7);
  buf[7] = version;
  buf[8] = b8;
  buf[9] = b9;
  buf[10] = b10;
  buf[11] = b11;
  for (int k = 0; k < 4; ++k) buf[16 + k] = pad;
  ScrambleConfig(buf);
}

TEST(ConfigFile, LimitsAndVersions) {
  uint8_t buf[20];
  auto s = NewState();
  PlainConfig(buf, 'i', 0xF0, 200, 101, 0xF8, 40);
  ASSERT_TRUE(DecodeConfigFile(buf, *s));
  EXPECT_EQ(s->livesSetting, 2u);  // 3 limited to 2
  EXPECT_EQ(s->bombsSetting, 3u);
  EXPECT_EQ(s->bgmVolume, 100u);
  EXPECT_EQ(s->seVolume, 100u);
  EXPECT_EQ(s->screenMode, 3u);  // not limited: asks at start
  EXPECT_EQ(s->color32, 1);
  EXPECT_EQ(s->frameSkip, 2u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(s->padButton[k], 31u);

  // Pad bytes 0-3 are the pad's directions: read as the default buttons.
  PlainConfig(buf, 'i', 0, 0, 0, 0, 0);
  ASSERT_TRUE(DecodeConfigFile(buf, *s));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(s->padButton[k], 4u + k);

  // Version 10 asks at start with 32-bit colour and no frame skip.
  PlainConfig(buf, 10, 0x40, 50, 50, 0x08, 7);
  ASSERT_TRUE(DecodeConfigFile(buf, *s));
  EXPECT_EQ(s->screenMode, 2u);
  EXPECT_EQ(s->color32, 1);
  EXPECT_EQ(s->frameSkip, 0u);
  EXPECT_EQ(s->livesSetting, 1u);

  const uint8_t accepted[] = {'d', 'e', 'f', 'g', 'h', 'i', 20, 21, 22, 10};
  for (uint8_t v : accepted) {
    PlainConfig(buf, v, 0, 10, 20, 0, 5);
    EXPECT_TRUE(DecodeConfigFile(buf, *s)) << "version " << int(v);
  }
  const uint8_t refused[] = {'c', 'j', 0, 9, 11, 19, 23, 0xFF};
  for (uint8_t v : refused) {
    auto t = NewState();
    t->bgmVolume = 77;
    PlainConfig(buf, v, 0, 10, 20, 0, 5);
    EXPECT_FALSE(DecodeConfigFile(buf, *t)) << "version " << int(v);
    EXPECT_EQ(t->bgmVolume, 77u);
  }
  PlainConfig(buf, 'i', 0, 10, 20, 0, 5);
  buf[3] = 'X';
  EXPECT_FALSE(DecodeConfigFile(buf, *s));
}

TEST(ScoreFile, RecordsAtTheBitPackingLimits) {
  auto s = NewState();
  s->hiScore[0] = 0xFFFFFFFFu;
  s->hiCharacter[0] = 15;
  s->hiYear[0] = 2047;
  s->hiMonth[0] = 15;
  s->hiDay[0] = 31;
  for (int k = 0; k < 8; ++k) s->hiName[0][k] = static_cast<uint8_t>(101 + (k & 1));
  s->hiScore[24] = 10000000;
  s->hiCharacter[24] = 3;
  s->hiYear[24] = 2008;
  s->hiMonth[24] = 2;
  s->hiDay[24] = 10;
  s->clearFlags[0][0] = 1;
  s->clearFlags[4][4] = 1;
  s->clearValue[2] = 5;
  s->spellAttempts[0] = 70000;  // saturates
  s->spellAttempts[255] = 0x1234;
  s->spellCaptures[7] = 65535;

  std::vector<uint8_t> buf(kFileBufferSize, 0xAB);
  EncodeScoreFile(*s, buf.data());
  EXPECT_EQ(std::memcmp(buf.data(), "vko01svi", 8), 0);
  EXPECT_EQ(buf[1536], 0);  // the trailing byte
  std::vector<uint8_t> plain(buf.begin(), buf.begin() + 1537);
  UnscrambleSaveData(plain.data(), 1528);
  EXPECT_EQ(plain[8], 0x80);
  EXPECT_EQ(plain[10], 5);
  EXPECT_EQ(plain[12], 0x08);
  EXPECT_EQ(plain[13], 0);  // reserved bytes are zero
  const uint8_t record0[16] = {0xFF, 0xFF, 0xFF, 0xFF, 101, 102, 101, 102,
                               101,  102,  101,  102,  0xFF, 0xFF, 0xFF, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plain[16 + i], record0[i]) << "record byte " << i;
  const uint8_t* r24 = &plain[16 + 16 * 24];
  EXPECT_EQ(r24[0], 0x80);  // 10,000,000 = 0x989680
  EXPECT_EQ(r24[1], 0x96);
  EXPECT_EQ(r24[2], 0x98);
  EXPECT_EQ(r24[12], 0x3F);
  EXPECT_EQ(r24[13], 0xB0);
  EXPECT_EQ(r24[14], 0x4A);
  EXPECT_EQ(plain[416], 0);
  EXPECT_EQ(plain[512], 0xFF);
  EXPECT_EQ(plain[513], 0xFF);
  EXPECT_EQ(plain[1022], 0x34);
  EXPECT_EQ(plain[1023], 0x12);
  EXPECT_EQ(plain[1024 + 14], 0xFF);
  uint8_t check = plain[511];
  plain[511] = 0;
  EXPECT_EQ(check, SaveChecksumHash(plain.data(), 1536) & 255u);

  auto t = NewState();
  t->clearFlags[1][2] = 1;  // set in memory, clear in the file: stays set
  ASSERT_TRUE(DecodeScoreFile(*t, buf.data()));
  EXPECT_EQ(t->hiScore[0], 0xFFFFFFFFu);
  EXPECT_EQ(t->hiCharacter[0], 15u);
  EXPECT_EQ(t->hiYear[0], 2047u);
  EXPECT_EQ(t->hiMonth[0], 15u);
  EXPECT_EQ(t->hiDay[0], 31u);
  EXPECT_EQ(t->hiYear[24], 2008u);
  EXPECT_EQ(t->hiMonth[24], 2u);
  EXPECT_EQ(t->hiDay[24], 10u);
  EXPECT_EQ(t->hiCharacter[24], 3u);
  EXPECT_EQ(t->hiName[0][1], 102);
  EXPECT_EQ(t->clearFlags[0][0], 1);
  EXPECT_EQ(t->clearFlags[4][4], 1);
  EXPECT_EQ(t->clearFlags[1][2], 1);
  EXPECT_EQ(t->clearFlags[0][1], 0);
  EXPECT_EQ(t->clearValue[2], 5u);
  EXPECT_EQ(t->spellAttempts[0], 65535u);
  EXPECT_EQ(t->spellAttempts[255], 0x1234u);
  EXPECT_EQ(t->spellCaptures[7], 65535u);
}

TEST(ScoreFile, ScrambledImageOfOneRecordAtTheLimits) {
  // Hand-computed file bytes: flags of character 0 difficulty 0, clearValue 5
  // for character 2, record 0 at every field's limit, attempts of card 255.
  auto s = NewState();
  s->clearFlags[0][0] = 1;
  s->clearValue[2] = 5;
  s->hiScore[0] = 0xFFFFFFFFu;
  s->hiCharacter[0] = 15;
  s->hiYear[0] = 2047;
  s->hiMonth[0] = 15;
  s->hiDay[0] = 31;
  for (int k = 0; k < 8; ++k) s->hiName[0][k] = static_cast<uint8_t>(101 + (k & 1));
  s->spellAttempts[255] = 0x1234;
  std::vector<uint8_t> buf(1537, 0xAB);
  EncodeScoreFile(*s, buf.data());
  struct Span {
    int from;
    std::vector<uint8_t> bytes;
  };
  const Span spans[] = {
      {0, {0x76, 0x6B, 0x6F, 0x30, 0x31, 0x73, 0x76, 0x69}},
      {8, {0x88, 0x17, 0x11, 0x15, 0x14, 0x13, 0x12, 0x11}},
      {16, {0x11, 0x10, 0x1F, 0x1E, 0x87, 0x85, 0x85, 0x83, 0x83, 0x81, 0x81, 0x8F, 0x65, 0x64,
            0x63, 0x61}},
      {508, {0x04, 0x03, 0x02, 0xB6, 0x00, 0x0F, 0x0E, 0x0D}},  // 511: checksum 107
      {1020, {0x04, 0x03, 0x7E, 0x1F, 0x00, 0x0F}},
      {1532, {0x04, 0x03, 0x02, 0x01, 0x00}},  // 1536: the plain trailing byte
  };
  for (const Span& span : spans)
    for (size_t i = 0; i < span.bytes.size(); ++i)
      EXPECT_EQ(buf[span.from + i], span.bytes[i]) << "byte " << span.from + i;
  std::vector<uint8_t> plain = buf;
  UnscrambleSaveData(plain.data(), 1528);
  EXPECT_EQ(plain[511], 107);
  plain[511] = 0;
  EXPECT_EQ(SaveChecksumHash(plain.data(), 1536), 2946256747u);
}

TEST(ScoreFile, VersionsAndRefusals) {
  auto s = NewState();
  s->hiScore[3] = 424242;
  std::vector<uint8_t> image(1537);
  EncodeScoreFile(*s, image.data());
  for (uint8_t v = 'd'; v <= 'i'; ++v) {
    std::vector<uint8_t> buf = image;
    buf[7] = v;
    auto t = NewState();
    EXPECT_TRUE(DecodeScoreFile(*t, buf.data())) << "version " << v;
    EXPECT_EQ(t->hiScore[3], 424242u);
  }
  for (uint8_t v : {uint8_t('c'), uint8_t('j'), uint8_t(0)}) {
    std::vector<uint8_t> buf = image;
    buf[7] = v;
    auto t = NewState();
    t->hiScore[3] = 9;
    EXPECT_FALSE(DecodeScoreFile(*t, buf.data()));
    EXPECT_EQ(t->hiScore[3], 9u);  // untouched
  }
}

std::unique_ptr<GameState> ReplayState(uint32_t frames) {
  auto s = NewState();
  s->difficulty = 2;
  s->character = 3;
  s->livesSetting = 1;
  s->bombsSetting = 2;
  s->route = 1;
  s->playSeed = 0xC3;
  s->score = 123456789;
  for (int k = 0; k < 8; ++k) s->replayName[k] = 52 + k;
  s->inputIndex = frames;
  for (uint32_t i = 0; i < frames; ++i) s->recordInputs[i] = static_cast<uint8_t>(i * 37 + 11);
  return s;
}

TEST(ReplayFile, EmptyReplayIs81KnownBytes) {
  auto s = ReplayState(0);
  std::vector<uint8_t> buf(kFileBufferSize, 0xCD);
  ASSERT_EQ(EncodeReplayFile(*s, buf.data()), 81u);
  const uint8_t expected[81] = {
      0x76, 0x6B, 0x6F, 0x30, 0x31, 0x72, 0x70, 0x69, 0x16, 0x41, 0x16, 0x15, 0x14, 0x12,
      0x12, 0xDE, 0x10, 0x1F, 0x1E, 0x1D, 0x77, 0x2E, 0xBF, 0x62, 0x18, 0x67, 0x66, 0x65,
      0x64, 0x63, 0x62, 0x61, 0x60, 0x6F, 0x6E, 0x6D, 0x6C, 0x6B, 0x6A, 0x69, 0x68, 0x77,
      0x76, 0x75, 0x74, 0x73, 0x72, 0x71, 0x70, 0x7F, 0x7E, 0x7D, 0x7C, 0x7B, 0x7A, 0x79,
      0x78, 0x47, 0x46, 0x45, 0x44, 0x43, 0x42, 0x41, 0x40, 0x4F, 0x4E, 0x4D, 0x4C, 0x4B,
      0x4A, 0x49, 0x84, 0x82, 0x80, 0x8E, 0x8C, 0x8A, 0x88, 0x96, 0x00};
  for (int i = 0; i < 81; ++i) EXPECT_EQ(buf[i], expected[i]) << "byte " << i;
}

TEST(ReplayFile, RoundTripKeepsHeaderAndInputs) {
  auto s = ReplayState(5000);
  s->practice = 1;
  s->stageNumber = 10;
  s->replayHeader.reserved14 = 0x1A;
  s->replayHeader.reservedWords[11] = 0xDEADBEEF;
  std::vector<uint8_t> buf(kFileBufferSize);
  uint32_t size = EncodeReplayFile(*s, buf.data());
  ASSERT_EQ(size, 80u + 5000u + 1u);
  auto t = NewState();
  ASSERT_TRUE(DecodeReplayFile(*t, buf.data(), size));
  const ReplayHeader& h = t->replayHeader;
  EXPECT_EQ(h.inputCount, 5000u);
  EXPECT_EQ(h.practice, 1);
  EXPECT_EQ(h.stage, 10u);
  EXPECT_EQ(h.difficulty, 2u);
  EXPECT_EQ(h.character, 3u);
  EXPECT_EQ(h.livesSetting, 1u);
  EXPECT_EQ(h.bombsSetting, 2u);
  EXPECT_EQ(h.route, 1u);
  EXPECT_EQ(h.seed, 0xC3u);
  EXPECT_EQ(h.score, 123456789u);
  EXPECT_EQ(h.reserved14, 0x1Au);
  EXPECT_EQ(h.reservedWords[11], 0xDEADBEEFu);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(t->replayName[k], 52u + k);
  for (uint32_t i = 0; i < 5000; ++i)
    ASSERT_EQ(t->playbackInputs[i], static_cast<uint8_t>(i * 37 + 11)) << "frame " << i;
}

TEST(ReplayFile, StageIsReadOnlyForPracticeReplays) {
  auto s = ReplayState(3);
  std::vector<uint8_t> buf(kFileBufferSize);
  uint32_t size = EncodeReplayFile(*s, buf.data());
  UnscrambleSaveData(buf.data(), static_cast<int32_t>(size - 8));
  buf[8] = 0x78 | 2;  // stage bits set, practice bit clear
  ScrambleSaveData(buf.data(), static_cast<int32_t>(size - 8));
  auto t = NewState();
  ASSERT_TRUE(DecodeReplayFile(*t, buf.data(), size));
  EXPECT_EQ(t->replayHeader.practice, 0);
  EXPECT_EQ(t->replayHeader.stage, 0u);
  EXPECT_EQ(t->replayHeader.difficulty, 2u);
}

// Encodes a replay, patches one plain byte, and tries to decode it into a
// state that already holds a decoded replay.
bool DecodePatched(uint32_t frames, int position, uint8_t value, uint32_t sizeAdjust = 0,
                   uint32_t countOverride = 0xFFFFFFFFu) {
  auto s = ReplayState(frames);
  std::vector<uint8_t> buf(kFileBufferSize);
  uint32_t size = EncodeReplayFile(*s, buf.data());
  UnscrambleSaveData(buf.data(), static_cast<int32_t>(size - 8));
  if (position >= 0) buf[position] = value;
  if (countOverride != 0xFFFFFFFFu) std::memcpy(&buf[16], &countOverride, 4);
  ScrambleSaveData(buf.data(), static_cast<int32_t>(size - 8));

  auto t = NewState();
  t->replayHeader.inputCount = 7;
  t->replayName[0] = 99;
  t->playbackInputs[0] = 0x42;
  bool ok = DecodeReplayFile(*t, buf.data(), size - sizeAdjust);
  if (!ok) {
    // A refused file leaves the previous replay in place, untouched.
    EXPECT_EQ(t->replayHeader.inputCount, 7u);
    EXPECT_EQ(t->replayName[0], 99u);
    EXPECT_EQ(t->playbackInputs[0], 0x42);
  }
  return ok;
}

TEST(ReplayFile, RefusesHostileHeaders) {
  EXPECT_TRUE(DecodePatched(10, -1, 0));
  EXPECT_TRUE(DecodePatched(10, 8, 4));             // difficulty 4 (Extra)
  EXPECT_FALSE(DecodePatched(10, 8, 5));            // difficulty 5
  EXPECT_FALSE(DecodePatched(10, 8, 7));
  EXPECT_TRUE(DecodePatched(10, 9, 0x4F));          // character 4
  EXPECT_FALSE(DecodePatched(10, 9, 0x5F));         // character 5
  EXPECT_TRUE(DecodePatched(10, 13, 3));
  EXPECT_FALSE(DecodePatched(10, 13, 4));           // route 4
  EXPECT_TRUE(DecodePatched(10, 8, 0x80 | (11 << 3)));   // practice stage 11
  EXPECT_FALSE(DecodePatched(10, 8, 0x80 | (12 << 3)));  // practice stage 12
  EXPECT_FALSE(DecodePatched(10, 7, 'j'));
  EXPECT_FALSE(DecodePatched(10, 0, 'V'));
}

TEST(ReplayFile, AcceptsVersionsDToI) {
  for (uint8_t v = 'd'; v <= 'i'; ++v) EXPECT_TRUE(DecodePatched(10, 7, v)) << "version " << v;
  for (uint8_t v : {uint8_t('c'), uint8_t('j'), uint8_t(10), uint8_t(20), uint8_t(0xFF)})
    EXPECT_FALSE(DecodePatched(10, 7, v)) << "version " << int(v);
}

TEST(ReplayFile, RefusesCountsBeyondTheFileAndTheBuffers) {
  EXPECT_TRUE(DecodePatched(10, -1, 0, 1));    // the trailing byte may be missing
  EXPECT_FALSE(DecodePatched(10, -1, 0, 2));   // the last input is missing
  EXPECT_TRUE(DecodePatched(10, -1, 0, 0, 11));   // the trailing byte read as an input
  EXPECT_FALSE(DecodePatched(10, -1, 0, 0, 12));
  EXPECT_FALSE(DecodePatched(10, -1, 0, 0, 0xFFFFFFFFu - 1));
  EXPECT_FALSE(DecodePatched(10, -1, 0, 0, 300000));
  EXPECT_FALSE(DecodePatched(10, -1, 0, 20));  // shorter than the header

  auto s = ReplayState(1);
  std::vector<uint8_t> buf(kFileBufferSize + 16);
  uint32_t size = EncodeReplayFile(*s, buf.data());
  ASSERT_GT(size, 0u);
  auto t = NewState();
  EXPECT_FALSE(DecodeReplayFile(*t, buf.data(), kFileBufferSize + 1));
}

TEST(ReplayFile, LongestRecordingFitsTheBufferExactly) {
  auto s = std::make_unique<GameState>();
  std::memset(s.get(), 0, sizeof(GameState));
  s->inputIndex = kMaxReplayFrames;
  s->recordInputs[kMaxReplayFrames - 1] = 0x99;
  std::vector<uint8_t> buf(kFileBufferSize, 0xCD);
  ASSERT_EQ(EncodeReplayFile(*s, buf.data()), kFileBufferSize);
  auto t = NewState();
  ASSERT_TRUE(DecodeReplayFile(*t, buf.data(), kFileBufferSize));
  EXPECT_EQ(t->replayHeader.inputCount, 255919u);
  EXPECT_EQ(t->playbackInputs[255918], 0x99);

  s->inputIndex = kMaxReplayFrames + 1;
  EXPECT_EQ(EncodeReplayFile(*s, buf.data()), 0u);
}

TEST(ReplayFile, GarbageIsRefusedOrFullyInsideTheFile) {
  // Random images, half of them with a valid magic and version, decoded at
  // random sizes: an accepted one never claims inputs beyond the file.
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  std::vector<uint8_t> buf(kFileBufferSize);
  auto s = NewState();
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    uint32_t size = next() % 400;
    for (uint32_t i = 0; i < size; ++i) buf[i] = static_cast<uint8_t>(next());
    if (round % 2 == 0 && size >= 8) {
      std::memcpy(buf.data(), "vko01rpi", 8);
      if (size >= 80) {
        // Plain header fields in range, the count random but often small.
        std::vector<uint8_t> plain(buf.begin(), buf.begin() + size);
        plain[8] = static_cast<uint8_t>(next() % 5);
        plain[9] = static_cast<uint8_t>((next() % 5) << 4);
        plain[13] = static_cast<uint8_t>(next() % 4);
        uint32_t count = next() % 600;
        std::memcpy(&plain[16], &count, 4);
        ScrambleSaveData(plain.data(), static_cast<int32_t>(size - 8));
        std::copy(plain.begin(), plain.end(), buf.begin());
      }
    }
    if (DecodeReplayFile(*s, buf.data(), size)) {
      ++accepted;
      ASSERT_LE(s->replayHeader.inputCount + kReplayHeaderSize, size);
      ASSERT_LE(s->replayHeader.difficulty, 4u);
      ASSERT_LE(s->replayHeader.character, 4u);
      ASSERT_LE(s->replayHeader.route, 3u);
    }
    uint8_t cfg[20];
    for (uint8_t& b : cfg) b = static_cast<uint8_t>(next());
    if (round % 3 == 0) std::memcpy(cfg, "vko01cfi", 8);
    if (DecodeConfigFile(cfg, *s)) {
      ASSERT_LE(s->livesSetting, 2u);
      ASSERT_LE(s->frameSkip, 2u);
      ASSERT_LE(s->bgmVolume, 100u);
      for (uint32_t b : s->padButton) ASSERT_TRUE(b >= 4 && b <= 31);
    }
  }
  EXPECT_GT(accepted, 50);
}

}  // namespace
