#include "generated_data.h"

#include <cstdlib>
#include <filesystem>

#include "../../tools/datagen/datagen.h"

namespace datatest {

namespace {
std::string g_dir;
void RemoveDir() {
  std::error_code ec;
  if (!g_dir.empty()) std::filesystem::remove_all(g_dir, ec);
}
}  // namespace

const std::string& GeneratedDataDir() {
  static const std::string& dir = [] () -> const std::string& {
    char tmpl[] = "/tmp/vko_datagen_XXXXXX";
    if (const char* made = mkdtemp(tmpl)) {
      g_dir = made;
      std::atexit(RemoveDir);
      if (datagen::GenerateDataSet(g_dir, datagen::Options{}) != 0) {
        RemoveDir();
        g_dir.clear();
      }
    }
    return g_dir;
  }();
  return dir;
}

}  // namespace datatest
