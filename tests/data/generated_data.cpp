#include "generated_data.h"

#include <cstdlib>
#include <filesystem>

#include "../../tools/datagen/datagen.h"

namespace datatest {

namespace {

std::string g_dirs[3];

void RemoveDirs() {
  for (std::string& d : g_dirs) {
    std::error_code ec;
    if (!d.empty()) std::filesystem::remove_all(d, ec);
  }
}

}  // namespace

const std::string& GeneratedDataDir(Content content) {
  static bool registered = false;
  std::string& dir = g_dirs[static_cast<int>(content)];
  if (!dir.empty()) return dir;
  char tmpl[] = "/tmp/vko_datagen_XXXXXX";
  const char* made = mkdtemp(tmpl);
  if (!made) return dir;
  dir = made;
  if (!registered) {
    std::atexit(RemoveDirs);
    registered = true;
  }
  datagen::Options o;
  o.pictures = content != Content::kSounds;
  o.sounds = content != Content::kPictures;
  if (datagen::GenerateDataSet(dir, o) != 0) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    dir.clear();
  }
  return dir;
}

}  // namespace datatest
