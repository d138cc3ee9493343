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
// entries to inject failures, to watch the order of the calls or to act as a
// second process at a chosen step; FsResetHostCalls puts the real ones back.
struct FsHostCalls {
  int (*open)(const char* hostPath, int flags, int mode);           // reads, and folders
  int (*openat)(int folder, const char* name, int flags, int mode);  // a durable write's new file
  ssize_t (*read)(int fd, void* buffer, size_t bytes);
  ssize_t (*write)(int fd, const void* buffer, size_t bytes);
  int (*fsync)(int fd);
  int (*linkat)(int fromFolder, const char* from, int toFolder, const char* to, int flags);
  int (*renameat)(int folder, const char* from, const char* to, unsigned flags);  // renameat2 in one folder
  int (*fsetxattr)(int fd, const char* name, const void* value, size_t size, int flags);  // the kept ACL
  int (*lock)(int fd, int operation);  // flock, on the folder while a write looks and names its file
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
int FsOpenHostError(const char* hostPath);  // the same for a path in host form
// The reason for an errno of this layer in English: "no such file", "not a
// regular file", else the host's text.
const char* FsErrorText(int error);
// Reads at most capacity bytes from the start of the file (opened as
// FsOpenRead does). 0 with *fileSize (the whole size) and *got set, or the errno.
int FsReadFile(const char* windowsPath, void* buffer, size_t capacity, int64_t* fileSize, size_t* got);
// Replaces the file durably. The bytes go to a new file of this call's own
// beside the file: unnamed until it is whole where the file system allows it,
// else under a fresh unique name ("<name>.<12 hex digits>.tmp") made
// exclusively, never through a link. It takes the replaced file's permission
// bits and access ACL (and owner and group where allowed; a new file gets the
// default); where the ACL cannot be set, the bits give the owning group no more
// than the ACL did. It is checked for size and flushed, then exchanged with the
// file in one step and kept only when the name then holds it (anything slipped
// in at its temporary name goes back there and the write is made again); the
// folder is flushed after. What stands at the name and at a link's target is
// looked at under the folder's lock, which the exchange holds too, so a write
// never follows what stands there for that moment. Where the file system cannot
// exchange two names, it is renamed over the file after the same check, a
// moment apart, and checked again (the old file is lost when something slipped
// in then; that goes back and the write is made again). Two writers of one name
// each publish their own whole file and the last one wins; a reader sees the
// old file or a new one, never part of one. Nothing else is removed but the
// leftovers of this name's own earlier writes that were killed midway: regular
// files under its temporary names that no live write holds.
// When the name is a link to a regular file, the new file goes beside the
// link's final target and replaces the target: the link stays. A link that
// leads nowhere is a missing file; a link to anything else is refused (ENXIO
// / EISDIR). 0, or the errno of the failed step; on failure the old file is
// untouched and nothing of this call's is left.
int FsReplaceFile(const char* windowsPath, const void* data, size_t bytes);
int FsReplaceHostFile(const char* hostPath, const void* data, size_t bytes);  // a path in host form
// Writes a new file durably, made whole beside it as FsReplaceFile does, and
// given its name only when nothing stands there (a link that leads nowhere
// included): EEXIST then, and nothing is written anywhere. The name is linked
// to the open file itself, so nothing put at a temporary name is published. 0, or the errno;
// on failure nothing of this call's is left.
int FsCreateNewFile(const char* windowsPath, const void* data, size_t bytes);
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
