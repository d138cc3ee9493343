// Host files by Windows-style names: "\" separators (never a trail byte of a
// double-byte character) become "/", CP932 names become UTF-8, and where the
// exact path does not exist a case-insensitive match per path component is
// tried. Plain open/create/read/write, wildcard listing and the profile-file
// ("*.ini") reader that the game uses for its own files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Host path for a Windows-style name ("" for an empty or overlong name, more
// than 1024 bytes). For an existing file the case-insensitive match is used.
std::string FsHostPath(const char* windowsPath);

std::FILE* FsOpenRead(const char* windowsPath);    // null when missing
std::FILE* FsCreate(const char* windowsPath);      // write, replacing an old file; null on failure
std::FILE* FsOpenUpdate(const char* windowsPath);  // read and write an existing file
size_t FsRead(std::FILE* file, void* buffer, size_t bytes);
size_t FsWrite(std::FILE* file, const void* buffer, size_t bytes);
int64_t FsFileSize(std::FILE* file);               // -1 on failure; position kept
int FsClose(std::FILE* file);                      // 0 ok
int64_t FsSizeOf(const char* windowsPath);         // -1 when missing
int FsExists(const char* windowsPath);             // 1 when it opens for reading
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
