// The sound-data converter: exact PCM, codec decodes against SoX's reference,
// MPEG frame walking with tags, Ogg Vorbis, seeking, and hostile input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sound/codec.h"
#include "sound/converter.h"
#include "sound_fixtures.h"

namespace {

Bytes Tail(const Bytes& b, size_t from) {
  return from >= b.size() ? Bytes() : Bytes(b.begin() + from, b.end());
}

// After a seek to each sample, reading must give the whole decode from there.
void ExpectSeekEquivalence(const Bytes& file, const std::vector<uint32_t>& samples) {
  ConverterOverBytes whole(file);
  ASSERT_TRUE(whole.open);
  const Bytes all = whole.ReadAll();
  const uint32_t align = whole.converter.outFormat.blockAlign;
  ConverterOverBytes c(file);
  ASSERT_TRUE(c.open);
  Bytes scratch(3000);
  for (uint32_t s : samples) {
    // Read a little first so the seek starts from somewhere else.
    ReadConverter(&c.converter, scratch.data(), 3000);
    SeekConverter(&c.converter, s);
    Bytes got(4000);
    const int n = ReadConverter(&c.converter, got.data(), 4000);
    got.resize(n > 0 ? n : 0);
    Bytes expect = Tail(all, static_cast<size_t>(s) * align);
    if (expect.size() > 4000) expect.resize(4000);
    EXPECT_EQ(got, expect) << "seek to sample " << s;
  }
}

TEST(ConverterPcm, EightAndSixteenBitDataComesOutByteForByte) {
  struct Case {
    int channels, bits, fmtSize;
    uint32_t bytes;
  } cases[] = {{1, 8, 16, 1001}, {2, 8, 18, 1002}, {1, 16, 16, 2002}, {2, 16, 18, 4004}};
  for (const Case& k : cases) {
    Bytes data(k.bytes);
    for (uint32_t i = 0; i < k.bytes; ++i) data[i] = static_cast<uint8_t>(i * 7 + 3);
    // An odd-sized LIST chunk before data must be passed with its pad byte.
    Bytes wav = MakeWave(PcmFmt(k.channels, 22050, k.bits, k.fmtSize), data,
                         {{"LIST", Bytes(13, 'x')}, {"junk", Bytes(4, 0)}});
    wav.insert(wav.end(), {'n', 'e', 'x', 't'});  // a chunk after data is not sound
    ConverterOverBytes c(wav);
    ASSERT_TRUE(c.open);
    EXPECT_EQ(c.converter.method, kConverterPcm);
    EXPECT_EQ(c.converter.outFormat.bitsPerSample, k.bits);
    EXPECT_EQ(c.converter.outFormat.blockAlign, k.channels * k.bits / 8);
    EXPECT_EQ(c.converter.outFormat.avgBytesPerSec, 22050u * k.channels * k.bits / 8);
    EXPECT_EQ(GetConverterLength(&c.converter), k.bytes);
    EXPECT_EQ(c.ReadAll(333), data);

    ConverterOverBytes w(wav);
    SoundWaveFormat f{};
    uint8_t* pcm = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(ConvertWholeToPcm(&w.converter, &f, &pcm, &size), 0);
    EXPECT_EQ(Bytes(pcm, pcm + size), data);
    SoundFree(pcm);
  }
}

TEST(ConverterPcm, ReadingPastTheEndSetsEndedAndEverySeekClearsIt) {
  const Bytes data = CounterPcm16(2, 100);
  ConverterOverBytes c(MakeWave(PcmFmt(2, 44100, 16), data));
  ASSERT_TRUE(c.open);
  Bytes buf(1000);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 390), 390);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 100), 10);
  EXPECT_EQ(c.converter.ended, 1u);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 100), 0);
  // A seek too small to move still clears the end mark.
  SeekConverter(&c.converter, 99);
  EXPECT_EQ(c.converter.ended, 0u);
  SeekConverter(&c.converter, 90);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 1000), 40);
  EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 40), Tail(data, 360));
}

TEST(ConverterPcm, SeekBeyondTheDataNeverReadsTheChunksAfterIt) {
  Bytes wav = MakeWave(PcmFmt(1, 8000, 16), CounterPcm16(1, 50));
  const Bytes trailer = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 1, 2, 3, 4};
  wav.insert(wav.end(), trailer.begin(), trailer.end());
  ConverterOverBytes c(wav);
  ASSERT_TRUE(c.open);
  SeekConverter(&c.converter, 5000);
  Bytes buf(100);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 100), 0);
  EXPECT_EQ(c.converter.ended, 1u);
}

TEST(ConverterPcm, LyingDataSizeGivesOnlyTheBytesThatExist) {
  Bytes data = CounterPcm16(1, 300);
  Bytes wav = MakeWave(PcmFmt(1, 8000, 16), data);
  // Claim far more data than the file holds.
  const size_t sizeAt = wav.size() - data.size() - 4;
  wav[sizeAt + 3] = 0x7F;
  ConverterOverBytes c(wav);
  ASSERT_TRUE(c.open);
  EXPECT_EQ(GetConverterLength(&c.converter), data.size());
  uint8_t* pcm = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ConvertWholeToPcm(&c.converter, nullptr, &pcm, &size), 0);
  EXPECT_EQ(Bytes(pcm, pcm + size), data);
  SoundFree(pcm);
}

TEST(ConverterPcm, SeekEquivalence) {
  ExpectSeekEquivalence(MakeWave(PcmFmt(2, 44100, 16), CounterPcm16(2, 5000)),
                        {0, 1, 7, 4000, 100, 2, 4999, 5000});
}

TEST(ConverterHostile, DamagedHeadersFailCleanly) {
  std::vector<Bytes> files;
  Bytes zeroAlign = PcmFmt(2, 44100, 16);
  zeroAlign[12] = zeroAlign[13] = 0;
  files.push_back(MakeWave(zeroAlign, Bytes(400, 1)));
  Bytes zeroChannels = PcmFmt(1, 44100, 16);
  zeroChannels[2] = 0;
  files.push_back(MakeWave(zeroChannels, Bytes(400, 1)));
  files.push_back(MakeWave(PcmFmt(6, 44100, 16), Bytes(1200, 1)));
  files.push_back(MakeWave(PcmFmt(2, 0, 16), Bytes(400, 1)));
  files.push_back(MakeWave(PcmFmt(2, 90000000, 16), Bytes(400, 1)));
  Bytes twelveBits = PcmFmt(1, 44100, 16, 18);
  twelveBits[14] = 12;
  files.push_back(MakeWave(twelveBits, Bytes(300, 1)));
  Bytes noData = MakeWave(PcmFmt(1, 8000, 8), Bytes());
  files.push_back(Bytes(noData.begin(), noData.end() - 8));
  Bytes hugeFmt = MakeWave(PcmFmt(1, 8000, 8), Bytes(10, 1));
  hugeFmt[19] = 0x7F;
  files.push_back(hugeFmt);
  Bytes hugeChunk = MakeWave(PcmFmt(1, 8000, 8), Bytes(10, 1), {{"LIST", Bytes(3, 1)}});
  hugeChunk[36 + 7] = 0xFF;  // the LIST size becomes enormous: no data chunk is found
  files.push_back(hugeChunk);
  Bytes good = MakeWave(PcmFmt(1, 8000, 16), CounterPcm16(1, 100));
  for (size_t cut : {size_t(3), size_t(11), size_t(20), size_t(40), size_t(44)}) {
    files.push_back(Bytes(good.begin(), good.begin() + cut));
  }
  for (size_t i = 0; i < files.size(); ++i) {
    ConverterOverBytes c(files[i]);
    EXPECT_FALSE(c.open) << "file " << i;
  }
  // A truncated body still opens and gives what is there.
  ConverterOverBytes cut(Bytes(good.begin(), good.begin() + 44 + 51));
  ASSERT_TRUE(cut.open);
  EXPECT_EQ(cut.ReadAll().size(), 50u);
}

struct CodecFixture {
  const char* name;
  uint16_t tag;
};

TEST(ConverterCompressed, DecodesEqualSoXReference) {
  const CodecFixture fixtures[] = {{"ima_stereo", kWaveTagImaAdpcm}, {"ima_mono", kWaveTagImaAdpcm},
                                   {"ms_stereo", kWaveTagMsAdpcm},   {"ms_mono", kWaveTagMsAdpcm},
                                   {"alaw_mono", kWaveTagALaw},      {"ulaw_stereo", kWaveTagMuLaw}};
  for (const CodecFixture& f : fixtures) {
    const Bytes wav = ReadFixture(std::string(f.name) + ".wav");
    const Bytes ref = ReadFixture(std::string(f.name) + ".ref.raw");
    ASSERT_FALSE(wav.empty()) << f.name;
    ASSERT_FALSE(ref.empty()) << f.name;
    ConverterOverBytes c(wav);
    ASSERT_TRUE(c.open) << f.name;
    EXPECT_EQ(c.converter.method, kConverterCompressed);
    EXPECT_EQ(ReadLe16(c.converter.sourceFormat), f.tag);
    EXPECT_EQ(c.converter.outFormat.bitsPerSample, 16);
    const Bytes pcm = c.ReadAll(777);
    EXPECT_EQ(pcm, ref) << f.name;
    EXPECT_EQ(GetConverterLength(&c.converter), ref.size()) << f.name;
  }
}

TEST(ConverterCompressed, WideAndFloatingPointPcmIsNarrowedToSixteenBits) {
  // 24-bit stereo: the top two bytes of each sample.
  Bytes wide;
  for (int i = 0; i < 300; ++i) {
    wide.insert(wide.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 5),
                             0x11, 0x22, 0x83});
  }
  Bytes expect;
  for (int i = 0; i < 300; ++i) {
    expect.insert(expect.end(), {static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 5), 0x22, 0x83});
  }
  ConverterOverBytes c24(MakeWave(PcmFmt(2, 48000, 24), wide));
  ASSERT_TRUE(c24.open);
  EXPECT_EQ(c24.converter.outFormat.bitsPerSample, 16);
  EXPECT_EQ(c24.ReadAll(), expect);

  // 32-bit float mono, clamped.
  const float samples[5] = {0.0f, 0.5f, -0.25f, 1.5f, -2.0f};
  Bytes floats(sizeof samples);
  std::memcpy(floats.data(), samples, sizeof samples);
  Bytes fmt = PcmFmt(1, 22050, 32, 18);
  fmt[0] = 3;
  ConverterOverBytes cf(MakeWave(fmt, floats));
  ASSERT_TRUE(cf.open);
  const Bytes out = cf.ReadAll();
  ASSERT_EQ(out.size(), 10u);
  const int16_t want[5] = {0, 16384, -8192, 32767, -32768};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(static_cast<int16_t>(ReadLe16(out.data() + 2 * i)), want[i]);

  // The extensible format with a PCM sub-format plays its 16-bit data as it is.
  Bytes ext = PcmFmt(2, 44100, 16, 18);
  ext[0] = 0xFE;
  ext[1] = 0xFF;
  ext[16] = 22;
  ext.insert(ext.end(), {16, 0, 3, 0, 0, 0, 1, 0});
  ext.resize(40, 0x10);
  const Bytes data = CounterPcm16(2, 400);
  ConverterOverBytes ce(MakeWave(ext, data));
  ASSERT_TRUE(ce.open);
  EXPECT_EQ(ce.ReadAll(), data);
}

TEST(ConverterCompressed, SeekEquivalenceWithLookAhead) {
  for (const char* name : {"ima_stereo", "ms_mono", "ulaw_stereo"}) {
    const Bytes wav = ReadFixture(std::string(name) + ".wav");
    ExpectSeekEquivalence(wav, {0, 1000, 10, 3000, 3001, 2999, 50, 4000});
    // With a loop start the look-ahead decoder runs toward it and takes over.
    ConverterOverBytes whole(wav);
    const Bytes all = whole.ReadAll();
    ConverterOverBytes c(wav);
    const uint32_t align = c.converter.outFormat.blockAlign;
    const uint32_t loop = static_cast<uint32_t>(all.size() / align) * 2 / 3;
    c.converter.loopStartBytes = loop * align;
    Bytes buf(200 * align);
    for (int lap = 0; lap < 3; ++lap) {
      while (ReadConverter(&c.converter, buf.data(), static_cast<uint32_t>(buf.size())) > 0) {
      }
      SeekConverter(&c.converter, loop);
      Bytes got(100 * align);
      const int n = ReadConverter(&c.converter, got.data(), static_cast<uint32_t>(got.size()));
      ASSERT_EQ(n, static_cast<int>(got.size())) << name;
      EXPECT_EQ(got, Bytes(all.begin() + loop * align, all.begin() + (loop + 100) * align)) << name;
    }
  }
}

TEST(ConverterCompressed, WholeDecodeStopsAtADamagedBlockWithOnlyWhatWasMade) {
  // The third block names a predictor that does not exist: the whole decode
  // is the first two blocks of the reference, no more bytes than were made.
  Bytes wav = ReadFixture("ms_mono.wav");
  const Bytes ref = ReadFixture("ms_mono.ref.raw");
  ASSERT_GT(wav.size(), 60u);
  const uint32_t align = ReadLe16(wav.data() + 32);
  const uint32_t perBlock = ReadLe16(wav.data() + 38);
  size_t data = 12;
  while (data + 8 <= wav.size() && std::memcmp(wav.data() + data, "data", 4) != 0) {
    data += 8 + ReadLe32(wav.data() + data + 4);
  }
  ASSERT_LT(data + 8 + 3 * align, wav.size());
  wav[data + 8 + 2 * align] = 0x40;
  ConverterOverBytes c(wav);
  ASSERT_TRUE(c.open);
  EXPECT_GT(GetConverterLength(&c.converter), 2 * perBlock * 2);
  SoundWaveFormat f{};
  uint8_t* pcm = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ConvertWholeToPcm(&c.converter, &f, &pcm, &size), 0);
  ASSERT_EQ(size, 2 * perBlock * 2);
  EXPECT_EQ(Bytes(pcm, pcm + size), Bytes(ref.begin(), ref.begin() + size));
  SoundFree(pcm);
}

TEST(ConverterCompressed, DamagedAdpcmFormatsAreRefused) {
  Bytes wav = ReadFixture("ima_stereo.wav");
  ASSERT_GT(wav.size(), 40u);
  Bytes zeroAlign = wav;
  zeroAlign[32] = zeroAlign[33] = 0;
  Bytes manySamples = wav;
  manySamples[38] = manySamples[39] = 0xFF;  // samples per block beyond the block
  Bytes threeChannels = wav;
  threeChannels[22] = 3;
  for (const Bytes& b : {zeroAlign, manySamples, threeChannels}) {
    ConverterOverBytes c(b);
    EXPECT_FALSE(c.open);
  }
}

TEST(MpegHeader, TableAndRejections) {
  MpegFrameInfo info{};
  const uint8_t noSync[4] = {0xFF, 0xE3, 0x90, 0x00};
  EXPECT_EQ(ParseMpegHeader(noSync, &info), -2);
  const uint8_t noSync2[4] = {0xFE, 0xFB, 0x90, 0x00};
  EXPECT_EQ(ParseMpegHeader(noSync2, &info), -2);
  const uint8_t reservedLayer[4] = {0xFF, 0xF9, 0x90, 0x00};
  EXPECT_EQ(ParseMpegHeader(reservedLayer, &info), -1);
  const uint8_t badRate[4] = {0xFF, 0xFB, 0xF0, 0x00};
  EXPECT_EQ(ParseMpegHeader(badRate, &info), -1);
  const uint8_t freeFormat[4] = {0xFF, 0xFB, 0x00, 0x00};
  EXPECT_EQ(ParseMpegHeader(freeFormat, &info), -1);
  const uint8_t reservedSampleRate[4] = {0xFF, 0xFB, 0x9C, 0x00};
  EXPECT_EQ(ParseMpegHeader(reservedSampleRate, &info), -1);

  struct Known {
    uint8_t b1, b2, b3;
    uint32_t bytes, samples, rate, kbps;
    int layer, version, channels;
  } known[] = {
      {0xFB, 0x90, 0x00, 417, 1152, 44100, 128, 2, 0, 2},  // MPEG-1 Layer III 128k
      {0xFB, 0x92, 0xC0, 418, 1152, 44100, 128, 2, 0, 1},  // padded, single channel
      {0xFD, 0xA4, 0x00, 576, 1152, 48000, 192, 1, 0, 2},  // MPEG-1 Layer II 192k
      {0xFF, 0x20, 0xC0, 68, 384, 44100, 64, 0, 0, 1},     // MPEG-1 Layer I 64k
      {0xF3, 0x80, 0x00, 208, 576, 22050, 64, 2, 1, 2},    // MPEG-2 Layer III 64k
      {0xF5, 0x28, 0x00, 144, 1152, 16000, 16, 1, 1, 2},   // MPEG-2 Layer II 16k
      {0xF7, 0x24, 0x00, 96, 384, 24000, 48, 0, 1, 2},     // MPEG-2 Layer I 48k
  };
  for (const Known& k : known) {
    const uint8_t h[4] = {0xFF, k.b1, k.b2, k.b3};
    ASSERT_EQ(ParseMpegHeader(h, &info), 0);
    EXPECT_EQ(info.frameBytes, k.bytes);
    EXPECT_EQ(info.samplesPerFrame, k.samples);
    EXPECT_EQ(info.sampleRate, k.rate);
    EXPECT_EQ(info.bitRate, k.kbps);
    EXPECT_EQ(info.layer, k.layer);
    EXPECT_EQ(info.version, k.version);
    EXPECT_EQ(info.channels, k.channels);
  }
}

TEST(ConverterMpeg, LengthIsFramesTimesSamplesAndTagsChangeNothing) {
  const Bytes frames = MakeLayer1Frames(40);
  ConverterOverBytes plain(frames);
  ASSERT_TRUE(plain.open);
  EXPECT_EQ(plain.converter.totalSamples, 40 * 384);
  EXPECT_EQ(GetConverterLength(&plain.converter), 40u * 384 * 2);
  const Bytes pcm = plain.ReadAll();
  EXPECT_EQ(pcm.size(), 40u * 384 * 2);
  bool silent = true;
  for (uint8_t b : pcm) silent = silent && b == 0;
  EXPECT_FALSE(silent);

  std::vector<Bytes> tagged;
  Bytes v23 = Id3v2Tag(3, false, 300);
  v23.insert(v23.end(), frames.begin(), frames.end());
  tagged.push_back(v23);
  Bytes v24 = Id3v2Tag(4, true, 301);
  v24.insert(v24.end(), frames.begin(), frames.end());
  Bytes v1 = Id3v1Tag();
  v24.insert(v24.end(), v1.begin(), v1.end());
  tagged.push_back(v24);
  Bytes trailing = frames;
  trailing.insert(trailing.end(), v1.begin(), v1.end());
  tagged.push_back(trailing);
  for (size_t i = 0; i < tagged.size(); ++i) {
    ConverterOverBytes c(tagged[i]);
    ASSERT_TRUE(c.open) << i;
    EXPECT_EQ(c.converter.totalSamples, 40 * 384) << i;
    EXPECT_EQ(c.ReadAll(1234), pcm) << i;
  }
}

TEST(ConverterMpeg, LayerThreeOfEveryFrameCountDecodesItsWholeLength) {
  // Silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, stereo: 417 bytes
  // each, zero side information). The decoder only trusts a first frame once
  // it sees another header, so a stream of one frame is the hard case.
  for (int frames : {1, 2, 5}) {
    Bytes b;
    for (int i = 0; i < frames; ++i) {
      Bytes f(417, 0);
      f[0] = 0xFF;
      f[1] = 0xFB;
      f[2] = 0x90;
      b.insert(b.end(), f.begin(), f.end());
    }
    ConverterOverBytes c(b);
    ASSERT_TRUE(c.open) << frames;
    EXPECT_EQ(c.converter.totalSamples, frames * 1152) << frames;
    EXPECT_EQ(c.ReadAll().size(), frames * 1152u * 4) << frames;
  }
}

TEST(ConverterMpeg, MpegInsideWaveAndSeekEquivalence) {
  const Bytes frames = MakeLayer1Frames(30);
  Bytes fmt(30, 0);
  WriteLe16(fmt.data(), kWaveTagMpegLayer3);
  WriteLe16(fmt.data() + 2, 1);
  WriteLe32(fmt.data() + 4, 44100);
  WriteLe32(fmt.data() + 8, 8000);
  WriteLe16(fmt.data() + 12, 1);
  WriteLe16(fmt.data() + 16, 12);
  ConverterOverBytes wav(MakeWave(fmt, frames));
  ASSERT_TRUE(wav.open);
  EXPECT_EQ(wav.converter.totalSamples, 30 * 384);
  ConverterOverBytes raw(frames);
  EXPECT_EQ(wav.ReadAll(), raw.ReadAll());
  ExpectSeekEquivalence(frames, {0, 5000, 100, 384, 11000, 20});
}

TEST(ConverterMpeg, FreeFormatAndJunkNeverHang) {
  Bytes freeFormat;
  for (int i = 0; i < 50; ++i) {
    freeFormat.insert(freeFormat.end(), {0xFF, 0xFB, 0x00, 0x00});
    freeFormat.insert(freeFormat.end(), 100, 0x11);
  }
  ConverterOverBytes a(freeFormat);
  EXPECT_FALSE(a.open);
  ConverterOverBytes b(Bytes(5000, 0x42));
  EXPECT_FALSE(b.open);
  Bytes damaged = MakeLayer1Frames(10);
  damaged.resize(damaged.size() - 30);  // the last frame is cut short
  ConverterOverBytes c(damaged);
  ASSERT_TRUE(c.open);
  EXPECT_LE(c.ReadAll().size(), 10u * 384 * 2);
}

TEST(ConverterOgg, CloseToTheSourceAndLengthCarriesTheExtraSecond) {
  const Bytes ogg = ReadFixture("sine441.ogg");
  ASSERT_FALSE(ogg.empty());
  ConverterOverBytes c(ogg);
  ASSERT_TRUE(c.open);
  EXPECT_EQ(c.converter.method, kConverterOgg);
  EXPECT_EQ(c.converter.outFormat.channels, 1);
  EXPECT_EQ(c.converter.outFormat.samplesPerSec, 44100u);
  EXPECT_EQ(GetConverterLength(&c.converter), (44100u + 44100u) * 2);
  const Bytes pcm = c.ReadAll();
  ASSERT_EQ(pcm.size(), 44100u * 2);
  double error = 0, power = 0;
  for (uint32_t i = 0; i < 44100; ++i) {
    const double got = static_cast<int16_t>(ReadLe16(pcm.data() + 2 * i));
    const double want = 0.5 * 32767 * std::sin(2 * M_PI * 441 * i / 44100.0);
    error += (got - want) * (got - want);
    power += want * want;
  }
  EXPECT_LT(error / power, 0.001);
  ExpectSeekEquivalence(ogg, {0, 20000, 10, 44000, 30000});
  // A seek into the extra second reads nothing.
  SeekConverter(&c.converter, 44100 + 500);
  Bytes buf(100);
  EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 100), 0);
}

// libvorbisfile may be left half-made by an error other than a hole; the
// data ends there and the decoder is never called again (a later read or
// seek could crash inside it). bad_codebook.ogg: a code book that cannot be
// built, so the first read answers OV_EBADLINK; foreign_link.ogg: a page of
// a link the file does not list, so the seek back to a loop point fails.
TEST(ConverterOgg, ADecoderErrorEndsTheDataForGood) {
  for (const char* name : {"bad_codebook.ogg", "foreign_link.ogg"}) {
    ConverterOverBytes c(ReadFixture(name));
    ASSERT_TRUE(c.open) << name;
    EXPECT_EQ(c.ReadAll().size(), 0u) << name;
    SeekConverter(&c.converter, 100);
    const int64_t where = GetMemoryStreamFunctions()->tell(c.stream);
    Bytes buf(4096);
    for (uint32_t sample : {0u, 200u, 30000u}) {
      EXPECT_EQ(ReadConverter(&c.converter, buf.data(), 4096), 0) << name << " " << sample;
      SeekConverter(&c.converter, sample);
    }
    EXPECT_EQ(GetMemoryStreamFunctions()->tell(c.stream), where) << name;
  }
}

}  // namespace
