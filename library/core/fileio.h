// The library's file layer. Every loader opens and reads files through the
// current FileFunctionTable: the plain set reads host files by Windows-style
// names, the archive-aware set first looks for an archive named after each
// leading folder of the path ("a\b\c.tga" -> "a.<ext>" entry "b\c.tga", then
// "a\b.<ext>" entry "c.tga"); the first archive that exists decides, and the
// plain file is opened only when none exists. An archive that is there but
// cannot be read (not a regular file, no permission) is passed over and named
// once on standard error with the reason. File handles are a slot index with the top four bits set; 0 means
// failure.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/stream.h"

struct FileFunctionTable {
  StreamHandle (*open)(const char* name, int async, int shareRead);  // handle or 0
  int (*close)(StreamHandle handle);
  int64_t (*tell)(StreamHandle handle);
  int (*seek)(StreamHandle handle, int64_t offset, int origin);
  size_t (*read)(void* buffer, size_t size, size_t count, StreamHandle handle);
  int (*eof)(StreamHandle handle);
  int (*idle)(StreamHandle handle);
  int (*chdir)(const char* path);                    // 0 ok, -1
  int (*getcwd)(char* buffer, size_t bufferSize);    // 0 ok, -1
};

const FileFunctionTable* GetPlainFileFunctions();
const FileFunctionTable* GetArchiveFileFunctions();
// The set every FileOpen uses; the plain set until archive access is switched on.
const FileFunctionTable* CurrentFileFunctions();
void UseArchiveFileAccess(int flag);  // 1 archive-aware set, 0 plain set

// Archive settings (what ApiSetArchiveFileExtension / ApiSetArchiveKey set).
int SetArchiveExtension(const char* extension);  // without the dot, up to 63 chars; default "TSA"
int SetArchiveKey(const char* key);              // up to 12 chars (longer is cut), null = none
// Closes cached archives (their directories are read again on the next open).
void ClearArchiveCache();

// Through the current set. FileOpen(name, 0, 1) -> handle or 0.
StreamHandle FileOpen(const char* name, int async = 0, int shareRead = 1);
// Why the last FileOpen on this thread failed, in English ("no such file", "the
// archive vko01.dat is damaged or was packed with another key", ...).
const char* FileOpenFailureReason();
int FileClose(StreamHandle handle);
int64_t FileTell(StreamHandle handle);
int FileSeek(StreamHandle handle, int64_t offset, int origin);
size_t FileRead(void* buffer, size_t size, size_t count, StreamHandle handle);
int FileEof(StreamHandle handle);
int FileIdle(StreamHandle handle);
int FileSize(StreamHandle handle);  // bytes, -1 bad handle (the position is kept)

// Reads a whole file through the current set into a TALLOC block (one zero byte
// appended, not counted). 0 with *data and *size set, or -1 (nothing allocated).
int FileReadWhole(const char* name, void** data, size_t* size);

// Closes every open file handle (the library end); returns how many were open.
int CloseAllFiles();
int OpenFileCount();
