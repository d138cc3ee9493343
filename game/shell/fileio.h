// The game's plain-file access (outside the library's archive layer): whole
// file reads, safe replacing writes, listings, folders, profile files and the
// start-up question boxes. Paths are Windows style ("replay\vko01_01.rpy"),
// relative to the current directory.
#pragma once
#include <cstdint>

// Reads at most capacity bytes. False when the file does not open (a FIFO,
// device or folder is refused without waiting) or a read fails; *error then
// holds the reason (ENOENT only when there is no such file, see
// GameFileErrorText). *fileSize gets the file's whole size (may exceed
// capacity), *bytesRead what landed in the buffer.
bool GameReadFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* fileSize,
                  uint32_t* bytesRead, int* error = nullptr);
const char* GameFileErrorText(int error);
// 0 when the file opens for reading, else the reason as GameReadFile gives it.
int GameFileOpenError(const char* path);

// Writes size bytes to a new temporary file beside path, checks that all of
// them were written and flushes them to the disk, then renames it over path
// and flushes the folder. A path that is a link to a regular file keeps its
// link: the link's target gets the bytes. The old file survives any failure
// (reported on stderr).
bool GameWriteFileReplacing(const char* path, const uint8_t* data, uint32_t size);

bool GameFileOpensForReading(const char* path);
// For the user's overrides in "replace": true when the file opens for reading.
// One that is there but cannot be read (not a regular file, no permission) is
// reported on stderr and not used.
bool GameOverrideOpens(const char* path);
bool GameIsRegularFile(const char* path);
// True when anything stands at the name, a link that leads nowhere included
// (or the name cannot be mapped): a new file must not be made there.
bool GameNameIsTaken(const char* path);
bool GameMakeDirectory(const char* path);  // true when it exists afterwards

// File names (name part only) matching a pattern with * and ? in its last
// component, up to capacity rows of 256 bytes. Returns the count.
int GameListFiles(char (*rows)[256], int capacity, const char* pattern);

// Windows profile file reading: the value of key in [section], or the default.
// Returns the length copied (truncated to size - 1).
int GameReadProfileString(const char* section, const char* key, const char* defaultValue,
                          char* out, int size, const char* path);
int GameReadProfileInt(const char* section, const char* key, int defaultValue, const char* path);

// A Yes/No question box with the exclamation icon: true for Yes.
bool GameAskYesNo(const char* text, const char* caption);
