// Small rules of the main loop: how many updates a replay-playback pass runs,
// which passes draw, and snapshot numbering.
#pragma once
#include <cstdint>

class Input;

// Updates to run this pass during playback, by pad 0's live buttons: slow
// held -> one on even passes, none on odd; else skip -> 4; else shot -> 2;
// else bomb -> 0; else 1.
int PlaybackUpdateCount(const Input& input, uint32_t passCounter);

// Frame skipping draws one pass in frameSkip + 1, counted on the pass counter.
bool PassDraws(uint32_t frameSkip, uint32_t passCounter);

// Position of the first ".bmp" in name (case-sensitive), or -1.
int FindBmpExtension(const char* name);

// The number of a snapshot file name "vkoNNN.bmp": the digits between "vko"
// and ".bmp", all of them digits; -1 for any other name.
int64_t SnapshotNumberOf(const char* name);
// One above the largest snapshot number among the names (1 when none).
int64_t NextSnapshotNumber(const char (*names)[256], int count);
