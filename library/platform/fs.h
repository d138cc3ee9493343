// Host files by Windows-style names: "\" separators (never a trail byte of a
// double-byte character) become "/", CP932 names become UTF-8, and where the
// exact path does not exist a case-insensitive match per path component is
// tried. Plain open/create/read/write, durable replacing writes, wildcard
// listing and the profile-file ("*.ini") reader that the game uses for its own
// files. Reads open regular files only and never block on a FIFO or device.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The host calls under the layer's reads and durable writes. Tests replace
// entries to inject failures or to watch the order of the calls;
// FsResetHostCalls puts the real ones back.
struct FsHostCalls {
  int (*open)(const char* hostPath, int flags, int mode);
  ssize_t (*read)(int fd, void* buffer, size_t bytes);
  ssize_t (*write)(int fd, const void* buffer, size_t bytes);
  int (*fsync)(int fd);
  int (*rename)(const char* fromHost, const char* toHost);
};
FsHostCalls& FsCalls();
void FsResetHostCalls();

// Host path for a Windows-style name ("" for an empty or overlong name, more
// than 1024 bytes). For an existing file the case-insensitive match is used.
std::string FsHostPath(const char* windowsPath);

// Opens an existing regular file for reading, without blocking: a FIFO,
// device or folder is refused. Null on failure with errno set: ENOENT only
// when there is no such file, ENXIO / EISDIR for a path that is not a regular
// file, else the host's error (EACCES, EIO, ...).
std::FILE* FsOpenRead(const char* windowsPath);
// The same for a path already in host form (an archive found by the layer).
std::FILE* FsOpenHostRead(const char* hostPath);
// 0 when the file opens as FsOpenRead opens it, else the errno it gives.
int FsOpenError(const char* windowsPath);
// The reason for an errno of this layer in English: "no such file", "not a
// regular file", else the host's text.
const char* FsErrorText(int error);
// Reads at most capacity bytes from the start of the file (opened as
// FsOpenRead does). 0 with *fileSize (the whole size) and *got set, or the errno.
int FsReadFile(const char* windowsPath, void* buffer, size_t capacity, int64_t* fileSize, size_t* got);
// Replaces the file durably: the bytes go to "<name>.tmp", a new regular file
// made by this call (whatever stood at that name is removed, a link there is
// never followed), which is checked for size and flushed to the disk, then
// renamed over the file, and the folder is flushed after it. When the name is
// a link to a regular file, the temporary file goes beside the link's final
// target and replaces the target: the link stays. A link that leads nowhere
// is a missing file; a link to anything else is refused (ENXIO / EISDIR).
// 0, or the errno of the failed step; on failure the old file is untouched
// and the temporary file removed.
int FsReplaceFile(const char* windowsPath, const void* data, size_t bytes);
std::FILE* FsCreate(const char* windowsPath);      // write, replacing an old regular file; null on failure
std::FILE* FsOpenUpdate(const char* windowsPath);  // read and write an existing file
size_t FsRead(std::FILE* file, void* buffer, size_t bytes);
size_t FsWrite(std::FILE* file, const void* buffer, size_t bytes);
int64_t FsFileSize(std::FILE* file);               // -1 on failure; position kept
int FsClose(std::FILE* file);                      // 0 ok
int64_t FsSizeOf(const char* windowsPath);         // -1 when missing
int FsExists(const char* windowsPath);             // 1 when it opens for reading (FsOpenRead)
int FsIsDirectory(const char* windowsPath);
int FsRename(const char* from, const char* to);    // 0 ok, -1
int FsRemove(const char* windowsPath);             // 0 ok, -1
int FsMakeDirectory(const char* windowsPath);      // 0 ok (also when it exists), -1

// Names (name part only, CP932, sorted) of files matching pattern, whose last
// component may hold "*" and "?" (matched case-insensitively), e.g.
// "snapshot\vko???.bmp". Stores at most capacity rows of 256 bytes; names that
// do not fit a row are skipped. Returns the number stored.
int FsListFiles(const char* pattern, char (*rows)[256], int capacity);

// GetPrivateProfileStringA behaviour: the value of key in [section] of the file
// (sections and keys case-insensitive, blanks around them ignored, a value in
// matching quotes unquoted), else defaultValue (trailing blanks removed). Copies
// at most size - 1 bytes plus a zero; returns the bytes copied.
int FsGetProfileString(const char* section, const char* key, const char* defaultValue,
                       char* out, int size, const char* fileName);
// GetPrivateProfileIntA: the value's numeric prefix (decimal, or hex after 0x,
// optional sign), 0 when it has none, defaultValue when the key is missing or empty.
int FsGetProfileInt(const char* section, const char* key, int defaultValue,
                    const char* fileName);
