// Reading and writing the settings, score and replay files through the one
// file buffer of GameState.
#pragma once
#include <cstdint>

struct GameState;

// Writes count + 1 bytes of buffer to the file safely (temporary file, size
// check, rename). False when the file could not be written; the previous
// file is then untouched.
bool WriteSaveFile(const char* fileName, const uint8_t* buffer, uint32_t count);
bool FileExists(const char* fileName);
int ListFiles(char (*rows)[256], int capacity, const char* pattern);

// Missing: no such file. Refused: a bad magic or version, or cut short.
// Unreadable: there but it cannot be opened or read (no permission, a read
// error, not a regular file).
enum class SaveFileRead { Missing, Accepted, Refused, Unreadable };
// Start-up readers: the file is read into fileBuffer (zeroed first, so a
// short file decodes against zeros) and decoded. An unreadable file is
// reported on stderr and marked in GameState: the session never writes it.
SaveFileRead ReadConfigFile(GameState& state);
SaveFileRead ReadScoreFile(GameState& state);

// Writers used by the menus, the ending and the stage clear: true when saved;
// false (reported) when it failed or the file was unreadable at start-up.
bool SaveConfigFile(GameState& state);
bool SaveScoreFile(GameState& state);

// The replay slots 0-19, files "replay\vko01_01.rpy" to "..._20.rpy".
void ReplaySlotFileName(int slotIndex, char* out, int size);
int ScanReplaySlots(GameState& state);
// Creates the "replay" folder when missing. False when the replay is too
// long for a file, the slot holds a file that cannot be read (it is kept) or
// the file could not be written.
bool SaveReplay(GameState& state, int slotIndex);
// True when the slot's file was read and decoded into the ReplayHeader,
// replayName and playbackInputs; false leaves those untouched.
bool LoadReplay(GameState& state, int slotIndex);
