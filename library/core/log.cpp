// The library log.
#include "core/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "core/library.h"
#include "core/lock.h"
#include "platform/platform.h"

namespace {

std::recursive_mutex g_logMutex;
int g_logOn = 1;
int g_logEcho = 0;
int g_indent = 0;
bool g_atLineStart = true;
bool g_clockSet = false;
uint32_t g_startMs = 0;
std::string g_logPath;       // empty: "Log.txt" in the directory current at the first write
std::FILE* g_logFile = nullptr;
bool g_openFailed = false;
int g_toFile = 1;            // 0: the lines go only to the echo

// The log is made afresh: an old log goes first, but only a regular file (a
// FIFO, folder or device standing at the name stays, and a link is never
// followed), and the new one is made exclusively. When something else stands
// there the log writes no file.
void OpenLogFile() {
  if (g_logFile || g_openFailed || !g_toFile) return;
  if (g_logPath.empty()) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) g_logPath = std::string(cwd) + "/Log.txt";
    else g_logPath = "Log.txt";
  }
  struct stat st;
  if (lstat(g_logPath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(g_logPath.c_str());
  const int fd = open(g_logPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  g_logFile = fd < 0 ? nullptr : fdopen(fd, "wb");
  if (fd >= 0 && !g_logFile) close(fd);
  if (!g_logFile) g_openFailed = true;
}

void Emit(const char* bytes, size_t length) {
  if (g_logFile) std::fwrite(bytes, 1, length, g_logFile);
  if (g_logEcho) std::fwrite(bytes, 1, length, stderr);
}

void EmitPrefix() {
  if (!g_clockSet) {
    g_startMs = PlatformMilliseconds();
    g_clockSet = true;
  }
  char prefix[32];
  const int n = std::snprintf(prefix, sizeof prefix, "%u:", PlatformMilliseconds() - g_startMs);
  Emit(prefix, static_cast<size_t>(n));
  for (int i = 0; i < g_indent; ++i) Emit("\t", 1);
}

}  // namespace

int SetLogOutput(int flag) {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  g_logOn = flag ? 1 : 0;
  return 0;
}

int IsLogOutputOn() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  return g_logOn;
}

void SetLogFilePath(const char* hostPath) {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  if (g_logFile) std::fclose(g_logFile);
  g_logFile = nullptr;
  g_openFailed = false;
  g_atLineStart = true;
  g_logPath = hostPath ? hostPath : "";
}

void SetLogFileOutput(int flag) {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  g_toFile = flag ? 1 : 0;
  if (!g_toFile && g_logFile) {
    std::fclose(g_logFile);
    g_logFile = nullptr;
  }
}

void SetLogEcho(int flag) {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  g_logEcho = flag ? 1 : 0;
}

int WriteLog(const char* text) {
  if (!text) return 0;
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  if (!g_logOn) return 0;
  OpenLogFile();
  const char* p = text;
  while (*p) {
    if (g_atLineStart) {
      EmitPrefix();
      g_atLineStart = false;
    }
    const char* newline = std::strchr(p, '\n');
    if (!newline) {
      Emit(p, std::strlen(p));
      break;
    }
    size_t length = static_cast<size_t>(newline - p);
    if (length && p[length - 1] == '\r') --length;  // "\r\n" in the text: one line end
    Emit(p, length);
    Emit("\r\n", 2);
    g_atLineStart = true;
    p = newline + 1;
  }
  if (g_logFile) std::fflush(g_logFile);
  return 0;
}

int LogFormatLine(const char* format, ...) {
  if (!format) return 0;
  if (!IsLogOutputOn()) return 0;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer - 1, format, args);
  va_end(args);
  if (n < 0) return 0;
  size_t length = std::strlen(buffer);
  buffer[length] = '\n';
  buffer[length + 1] = 0;
  return WriteLog(buffer);
}

int IndentLog() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  ++g_indent;
  return 0;
}

int UnindentLog() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  if (g_indent > 0) --g_indent;
  return 0;
}

int GetLogIndent() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  return g_indent;
}

void ResetLogClock() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  g_startMs = PlatformMilliseconds();
  g_clockSet = true;
}

void CloseLog() {
  std::lock_guard<std::recursive_mutex> hold(g_logMutex);
  if (g_logFile) std::fclose(g_logFile);
  g_logFile = nullptr;
  g_openFailed = false;
  g_atLineStart = true;
}

void FatalError(const char* message) {
  static std::atomic<int> entered{0};
  if (entered.exchange(1) == 0) {
    const char* text = message && *message ? message : "致命的なエラーが発生しました";
    WriteLog(text);
    if (text[std::strlen(text) - 1] != '\n') WriteLog("\n");
    if (IsLibraryStarted()) {
      LibraryLockGuard guard;
      EndLibrary();
    }
    CloseLog();
  }
  std::fflush(nullptr);
  std::exit(-1);
}
