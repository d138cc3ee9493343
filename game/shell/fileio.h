// The game's plain-file access (outside the library's archive layer): whole
// file reads, safe replacing writes, listings, folders, profile files and the
// start-up question boxes. Paths are Windows style ("replay\vko01_01.rpy"),
// relative to the current directory.
#pragma once
#include <cstdint>

// Reads at most capacity bytes. False when the file does not open or a read
// fails. *fileSize gets the file's whole size (may exceed capacity), *bytesRead
// what landed in the buffer.
bool GameReadFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* fileSize,
                  uint32_t* bytesRead);

// Writes size bytes to a temporary file beside path, checks that all of them
// were written, then renames it over path. The old file survives any failure.
bool GameWriteFileReplacing(const char* path, const uint8_t* data, uint32_t size);

bool GameFileOpensForReading(const char* path);
bool GameIsRegularFile(const char* path);
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
