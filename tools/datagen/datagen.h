// The data-set generator's entry: writes OUTDIR/vko01/... (pictures and effects)
// and OUTDIR/vkobgm/... (music) from the layout table.
#pragma once

#include <string>

namespace datagen {

struct Options {
  bool debug = false;          // outline every cut rectangle and print its index
  std::string snapshotDir;     // when set, eye-check PNGs are written there
  bool pictures = true;
  bool sounds = true;
};

// Returns 0 on success, -1 on failure (a line on stderr says what failed).
int GenerateDataSet(const std::string& outDir, const Options& options);

// Draws every cut of the named picture as an outline with its index (debug mode).
class Canvas;
void DrawDebugCuts(Canvas& c, const std::string& pictureName);

}  // namespace datagen
