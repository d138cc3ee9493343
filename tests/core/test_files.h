// Helpers for tests that touch files: a private temporary folder (removed with
// everything in it at the end), whole-file read/write and a time limit for
// code that must not block on a FIFO.
#pragma once
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/tesra_test_XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "";
  }
  ~TempFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  static void RemoveTree(const std::string& path) {
    if (DIR* dir = opendir(path.c_str())) {
      while (dirent* d = readdir(dir)) {
        if (!std::strcmp(d->d_name, ".") || !std::strcmp(d->d_name, "..")) continue;
        const std::string child = path + "/" + d->d_name;
        struct stat st;
        if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) RemoveTree(child);
        else std::remove(child.c_str());
      }
      closedir(dir);
    }
    rmdir(path.c_str());
  }

 private:
  std::string path_;
};

// Runs the scope with the current directory changed, and changes it back.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::string& path) {
    char buffer[4096];
    old_ = getcwd(buffer, sizeof buffer) ? buffer : ".";
    ok_ = chdir(path.c_str()) == 0;
  }
  ~ScopedChdir() {
    if (chdir(old_.c_str()) != 0) std::abort();
  }
  bool ok() const { return ok_; }

 private:
  std::string old_;
  bool ok_;
};

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

inline bool WriteText(const std::string& path, const std::string& text) {
  return WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  uint8_t buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
  std::fclose(f);
  return out;
}

// The names in a folder, sorted ("." and ".." left out).
inline std::vector<std::string> FolderNames(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* d = readdir(dir))
      if (std::strcmp(d->d_name, ".") && std::strcmp(d->d_name, "..")) names.push_back(d->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> b = ReadBytes(path);
  return std::string(b.begin(), b.end());
}

// Runs body on a thread; false when it has not ended within a second. A
// body stuck on one of the FIFOs is then let go (each is opened at both ends
// and closed, so a waiting reader sees the end and a waiting writer opens)
// and the test goes on.
inline bool EndsWithinASecond(const std::function<void()>& body, const std::vector<std::string>& fifos) {
  std::promise<void> done;
  std::future<void> ended = done.get_future();
  std::thread runner([&] {
    body();
    done.set_value();
  });
  const bool inTime = ended.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
  while (ended.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
    for (const std::string& fifo : fifos) {
      for (const int mode : {O_RDONLY, O_WRONLY}) {
        const int fd = open(fifo.c_str(), mode | O_NONBLOCK);
        if (fd >= 0) close(fd);
      }
    }
  runner.join();
  return inTime;
}
