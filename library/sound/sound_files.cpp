// Sound loading from files through the library's file layer: a whole file
// into memory, a file as a stream source, and LoadSoundFile.
#include <algorithm>

#include "core/fileio.h"
#include "core/report.h"
#include "core/sjis.h"
#include "sound/sound_internal.h"

namespace {

void ReportSoundOpenFailure(const char* fileName) {
  ReportToUser("cannot load the sound %s: %s", Cp932ToUtf8(fileName).c_str(), FileOpenFailureReason());
}

void ReportSoundDataFailure(const char* fileName) {
  ReportToUser("cannot load the sound %s: it is damaged or not a sound format this program reads",
               Cp932ToUtf8(fileName).c_str());
}

}  // namespace

int ReadFileToMemory(const char* fileName, uint8_t** data, uint32_t* size) {
  if (!fileName || !data || !size) return -1;
  const StreamHandle f = FileOpen(fileName, 0, 1);
  if (!f) {
    SoundLog("右記のファイルのオープンに失敗しました：%s", fileName);
    ReportSoundOpenFailure(fileName);
    return -1;
  }
  const int rc = ReadStreamToMemory(SoundStream{GetFileStreamFunctions(), f}, data, size);
  if (rc != 0) SoundLog("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", fileName);
  FileClose(f);
  return rc;
}

int AddStreamSoundFile(const char* fileName, uint8_t repeat, int h, int type, int share) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r || !fileName) return -1;
  const StreamHandle f = FileOpen(fileName, 0, 1);
  if (!f) {
    SoundLog("右記のＷＡＶファイルのロードに失敗しました：%s \n", fileName);
    ReportSoundOpenFailure(fileName);
    return -1;
  }
  int copied = 0;
  if (AddSreamSound(SoundStream{GetFileStreamFunctions(), f}, repeat, h, type, &copied, share) !=
      0) {
    FileClose(f);
    SoundLog("右記のＷＡＶファイルのセットアップに失敗しました：%s \n", fileName);
    ReportSoundDataFailure(fileName);
    return -1;
  }
  if (copied == 1) FileClose(f);
  r->openedHere[r->sourceCount - 1] = 1;
  return 0;
}

int LoadSoundFile(const char* fileName, int count, int share) {
  if (!SoundSystemStarted() || !fileName) return -1;
  if (g_soundLoadMode == 2 || g_soundLoadMode == 3) {
    const int h = AddSoundData(-1);
    if (h == -1) return -1;
    if (AddStreamSoundFile(fileName, 0, h, static_cast<int>(g_soundLoadMode), share) != 0) {
      DeleteSoundHandle(h, 0);
      return -1;
    }
    PrimeStreamSound(h);
    return h;
  }
  if (g_soundLoadMode != 0) return -1;  // mode 1 names no source kind
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (ReadFileToMemory(fileName, &data, &size) != 0) {
    SoundLog("右記の音声ファイルのロードに失敗しました_1：%s", fileName);
    return -1;
  }
  const int h = CreateSoundFromMemImage(data, size, std::min(count, kMaxSoundBuffers), -1);
  SoundFree(data);
  if (h == -1) {
    SoundLog("右記の音声ファイルのロードに失敗しました_2：%s", fileName);
    ReportSoundDataFailure(fileName);
    return -1;
  }
  return h;
}

int LoadSoundFileStub(const char* fileName, int count, int share) {
  return LoadSoundFile(fileName, count, share);
}
