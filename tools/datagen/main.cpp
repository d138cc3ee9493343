// datagen OUTDIR [--debug] [--snapshots DIR]: writes the stand-in data set.
#include <cstdio>
#include <cstring>
#include <string>

#include "datagen.h"

int main(int argc, char** argv) {
  datagen::Options options;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--debug") == 0) {
      options.debug = true;
    } else if (std::strcmp(argv[i], "--snapshots") == 0 && i + 1 < argc) {
      options.snapshotDir = argv[++i];
    } else if (argv[i][0] == '-' || !out.empty()) {
      std::fprintf(stderr, "usage: datagen OUTDIR [--debug] [--snapshots DIR]\n");
      return 2;
    } else {
      out = argv[i];
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: datagen OUTDIR [--debug] [--snapshots DIR]\n");
    return 2;
  }
  return datagen::GenerateDataSet(out, options) == 0 ? 0 : 1;
}
