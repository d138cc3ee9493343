// The file layer: the handle table, the plain set and the archive-aware set.
#include "core/fileio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "core/archive.h"
#include "core/log.h"
#include "core/memory.h"
#include "core/report.h"
#include "core/sjis.h"
#include "platform/fs.h"

namespace {

constexpr uintptr_t kHandleBits = 0xF0000000u;
constexpr int kMaxFiles = 4096;
constexpr size_t kMaxName = 1024;

enum class FileKind { Free, Host, Memory };

struct OpenFile {
  FileKind kind = FileKind::Free;
  std::FILE* host = nullptr;   // Host: the open file
  int64_t hostSize = 0;
  uint8_t* data = nullptr;     // Memory: an archive entry read whole (TALLOC)
  size_t size = 0;
  size_t position = 0;
};

std::mutex g_filesMutex;
OpenFile g_files[kMaxFiles];
int g_openCount = 0;

const FileFunctionTable* g_current = nullptr;

std::mutex g_archiveMutex;
std::string g_extension = "TSA";
std::string g_key;
struct CachedArchiveFile {
  Archive* archive;
  int64_t size;
  int64_t modifiedNs;
};
std::map<std::string, CachedArchiveFile> g_archives;  // by host path

// Why the last open on this thread failed (UTF-8, for messages to the user).
thread_local std::string g_openFailure;

void SetOpenFailure(const std::string& reason) { g_openFailure = reason; }

std::string ArchiveLabel(const std::string& folderCp932, const std::string& extension) {
  return Cp932ToUtf8((folderCp932 + "." + extension).c_str());
}

OpenFile* FileOf(StreamHandle handle) {
  if ((handle & kHandleBits) != kHandleBits || handle > (kHandleBits | 0x0FFFFFFFu)) return nullptr;
  const uintptr_t slot = handle & 0x0FFFFFFFu;
  if (slot >= static_cast<uintptr_t>(kMaxFiles)) return nullptr;
  OpenFile* f = &g_files[slot];
  return f->kind == FileKind::Free ? nullptr : f;
}

StreamHandle AddFile(const OpenFile& file) {
  std::lock_guard<std::mutex> hold(g_filesMutex);
  for (int slot = 0; slot < kMaxFiles; ++slot) {
    if (g_files[slot].kind != FileKind::Free) continue;
    g_files[slot] = file;
    ++g_openCount;
    return kHandleBits | static_cast<uintptr_t>(slot);
  }
  return 0;
}

bool NameUsable(const char* name) {
  if (!name || !*name) {
    SetOpenFailure("no file name");
    return false;
  }
  if (std::strlen(name) > kMaxName) {
    SetOpenFailure("the name is too long");
    LogFormatLine("ファイル名が長すぎます: %.64s...", name);
    return false;
  }
  return true;
}

StreamHandle OpenHostFile(const char* name) {
  errno = 0;
  std::FILE* host = FsOpenRead(name);
  if (!host) {
    SetOpenFailure(FsErrorText(errno == 0 ? ENOENT : errno));
    return 0;
  }
  OpenFile file;
  file.kind = FileKind::Host;
  file.host = host;
  file.hostSize = FsFileSize(host);
  const StreamHandle handle = AddFile(file);
  if (!handle) {
    std::fclose(host);
    SetOpenFailure("too many open files");
    LogFormatLine("ファイルハンドルが足りません: %s", name);
  }
  return handle;
}

// ---- plain set ---------------------------------------------------------------------

StreamHandle PlainOpen(const char* name, int, int) {
  if (!NameUsable(name)) return 0;
  return OpenHostFile(name);
}

int AnyClose(StreamHandle handle) {
  std::lock_guard<std::mutex> hold(g_filesMutex);
  OpenFile* f = FileOf(handle);
  if (!f) return -1;
  if (f->host) std::fclose(f->host);
  TrackedFree(f->data);
  *f = OpenFile();
  --g_openCount;
  return 0;
}

int64_t AnyTell(StreamHandle handle) {
  OpenFile* f = FileOf(handle);
  if (!f) return -1;
  if (f->kind == FileKind::Host) return ftello(f->host);
  return static_cast<int64_t>(f->position);
}

int AnySeek(StreamHandle handle, int64_t offset, int origin) {
  OpenFile* f = FileOf(handle);
  if (!f) return -1;
  const int64_t size = f->kind == FileKind::Host ? f->hostSize : static_cast<int64_t>(f->size);
  int64_t base;
  switch (origin) {
    case 0: base = 0; break;
    case 1: base = AnyTell(handle); break;
    case 2: base = size; break;
    default: return -1;
  }
  if (base < 0 || (offset > 0 && base > INT64_MAX - offset)) return -1;
  const int64_t target = base + offset;
  if (target < 0) return -1;
  if (f->kind == FileKind::Host) return fseeko(f->host, static_cast<off_t>(target), SEEK_SET) == 0 ? 0 : -1;
  f->position = target > size ? static_cast<size_t>(size) : static_cast<size_t>(target);
  return 0;
}

size_t AnyRead(void* buffer, size_t size, size_t count, StreamHandle handle) {
  OpenFile* f = FileOf(handle);
  if (!f || !buffer || size == 0 || count == 0) return 0;
  if (f->kind == FileKind::Host) return std::fread(buffer, size, count, f->host);
  const size_t left = f->position < f->size ? f->size - f->position : 0;
  size_t elements = left / size;
  if (elements > count) elements = count;
  if (elements) std::memcpy(buffer, f->data + f->position, elements * size);
  f->position += elements * size;
  return elements;
}

int AnyEof(StreamHandle handle) {
  OpenFile* f = FileOf(handle);
  if (!f) return -1;
  if (f->kind == FileKind::Host) return ftello(f->host) >= f->hostSize ? 1 : 0;
  return f->position >= f->size ? 1 : 0;
}

int AnyIdle(StreamHandle handle) { return FileOf(handle) ? 1 : -1; }

int HostChdir(const char* path) {
  if (!path) return -1;
  const std::string host = FsHostPath(path);
  if (host.empty()) return -1;
  return chdir(host.c_str()) == 0 ? 0 : -1;
}

int HostGetcwd(char* buffer, size_t size) {
  if (!buffer || size == 0) return -1;
  return getcwd(buffer, size) ? 0 : -1;
}

// ---- archive-aware set ----------------------------------------------------------------

// Archives already named to the user as unreadable (by host path), so that
// each is named once, not once for every file looked for in it.
std::set<std::string> g_unreadableNamed;

void NameUnreadableArchive(const std::string& hostPath, const std::string& label, int error) {
  if (!g_unreadableNamed.insert(hostPath).second) return;
  ReportToUser("the archive %s cannot be read (%s)", label.c_str(), FsErrorText(error));
}

// The cached archive of hostPath, read again when the file changed; null
// when it can't be read.
Archive* CachedArchive(const std::string& hostPath) {
  struct stat st;
  if (stat(hostPath.c_str(), &st) != 0) return nullptr;
  const int64_t modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  auto it = g_archives.find(hostPath);
  if (it != g_archives.end()) {
    if (it->second.size == static_cast<int64_t>(st.st_size) && it->second.modifiedNs == modifiedNs)
      return it->second.archive;
    CloseArchive(it->second.archive);
    g_archives.erase(it);
  }
  Archive* archive = OpenArchiveFile(hostPath.c_str(), g_key.empty() ? nullptr : g_key.c_str());
  if (archive) g_archives[hostPath] = CachedArchiveFile{archive, static_cast<int64_t>(st.st_size), modifiedNs};
  return archive;
}

StreamHandle ArchiveOpen(const char* name, int async, int shareRead) {
  if (!NameUsable(name)) return 0;
  // Windows separators; "/" is accepted as well.
  std::string path(name);
  for (size_t i = 0; i < path.size();) {
    const int n = SjisCharLength(path.c_str() + i);
    if (n == 1 && path[i] == '/') path[i] = '\\';
    i += n ? static_cast<size_t>(n) : 1;
  }
  std::lock_guard<std::mutex> hold(g_archiveMutex);
  // Stepping by characters: a trail byte 0x5C (as in "表" or "ソフト") is
  // never a separator.
  size_t folderStart = 0;  // where the last component of the folder begins
  std::string unreadable, unreadableLabel;  // an archive there that cannot be read
  int unreadableError = 0;
  for (size_t i = 0; i < path.size();) {
    const int n = SjisCharLength(path.c_str() + i);
    if (n == 1 && path[i] == '\\') {
      const std::string folder = path.substr(0, i);
      const std::string last = folder.substr(folderStart);
      folderStart = i + 1;
      if (!last.empty() && last != "." && last != "..") {
        const std::string hostArchive = FsHostPath((folder + "." + g_extension).c_str());
        // 0 when it opens, ENOENT when there is none, else why it cannot be read.
        const int error = FsOpenHostError(hostArchive.c_str());
        if (error != 0 && error != ENOENT && unreadable.empty()) {
          unreadable = hostArchive;
          unreadableLabel = ArchiveLabel(folder, g_extension);
          unreadableError = error;
        }
        if (error == 0) {
          g_unreadableNamed.erase(hostArchive);
          Archive* archive = CachedArchive(hostArchive);
          if (!archive) {
            SetOpenFailure("the archive " + ArchiveLabel(folder, g_extension) +
                           " is damaged or was packed with another key");
            LogFormatLine("アーカイブファイルを読み込めません: %s.%s", folder.c_str(), g_extension.c_str());
            return 0;
          }
          const ArchiveEntry* entry = FindArchiveEntry(archive, path.c_str() + i + 1);
          if (!entry) {
            SetOpenFailure("it is not in the archive " + ArchiveLabel(folder, g_extension));
            LogFormatLine("アーカイブ %s.%s にファイル %s がありません", folder.c_str(),
                          g_extension.c_str(), path.c_str() + i + 1);
            return 0;
          }
          OpenFile file;
          file.kind = FileKind::Memory;
          void* data = nullptr;
          if (ReadArchiveEntry(archive, entry, &data, &file.size) != 0) {
            SetOpenFailure("its data in the archive " + ArchiveLabel(folder, g_extension) +
                           " is damaged");
            return 0;
          }
          file.data = static_cast<uint8_t*>(data);
          const StreamHandle handle = AddFile(file);
          if (!handle) {
            TrackedFree(data);
            SetOpenFailure("too many open files");
            LogFormatLine("ファイルハンドルが足りません: %s", name);
          }
          return handle;
        }
      }
    }
    i += n ? static_cast<size_t>(n) : 1;
  }
  // An archive that cannot be read is passed over for the plain file and
  // named once with the reason, whether the plain file is there or not.
  if (!unreadable.empty()) NameUnreadableArchive(unreadable, unreadableLabel, unreadableError);
  return PlainOpen(path.c_str(), async, shareRead);
}

const FileFunctionTable kPlainSet = {PlainOpen, AnyClose, AnyTell,  AnySeek,   AnyRead,
                                     AnyEof,    AnyIdle,  HostChdir, HostGetcwd};
const FileFunctionTable kArchiveSet = {ArchiveOpen, AnyClose, AnyTell,  AnySeek,   AnyRead,
                                       AnyEof,      AnyIdle,  HostChdir, HostGetcwd};

}  // namespace

const FileFunctionTable* GetPlainFileFunctions() { return &kPlainSet; }
const FileFunctionTable* GetArchiveFileFunctions() { return &kArchiveSet; }

const FileFunctionTable* CurrentFileFunctions() { return g_current ? g_current : &kPlainSet; }

void UseArchiveFileAccess(int flag) { g_current = flag ? &kArchiveSet : &kPlainSet; }

int SetArchiveExtension(const char* extension) {
  if (!extension || std::strlen(extension) > 63) return -1;
  std::lock_guard<std::mutex> hold(g_archiveMutex);
  g_extension = extension;
  return 0;
}

int SetArchiveKey(const char* key) {
  std::lock_guard<std::mutex> hold(g_archiveMutex);
  std::string next = key ? std::string(key, strnlen(key, ArchiveMaxKey)) : std::string();
  if (next != g_key) {
    g_key = next;
    for (auto& kv : g_archives) CloseArchive(kv.second.archive);
    g_archives.clear();
  }
  return 0;
}

void ClearArchiveCache() {
  std::lock_guard<std::mutex> hold(g_archiveMutex);
  for (auto& kv : g_archives) CloseArchive(kv.second.archive);
  g_archives.clear();
  g_unreadableNamed.clear();
}

StreamHandle FileOpen(const char* name, int async, int shareRead) {
  g_openFailure.clear();
  const StreamHandle handle = CurrentFileFunctions()->open(name, async, shareRead);
  if (!handle && g_openFailure.empty()) g_openFailure = "it cannot be opened";
  return handle;
}

const char* FileOpenFailureReason() { return g_openFailure.c_str(); }
int FileClose(StreamHandle handle) { return AnyClose(handle); }
int64_t FileTell(StreamHandle handle) { return AnyTell(handle); }
int FileSeek(StreamHandle handle, int64_t offset, int origin) { return AnySeek(handle, offset, origin); }
size_t FileRead(void* buffer, size_t size, size_t count, StreamHandle handle) {
  return AnyRead(buffer, size, count, handle);
}
int FileEof(StreamHandle handle) { return AnyEof(handle); }
int FileIdle(StreamHandle handle) { return AnyIdle(handle); }

int FileSize(StreamHandle handle) {
  OpenFile* f = FileOf(handle);
  if (!f) return -1;
  const int64_t size = f->kind == FileKind::Host ? f->hostSize : static_cast<int64_t>(f->size);
  return size > INT32_MAX ? -1 : static_cast<int>(size);
}

int FileReadWhole(const char* name, void** data, size_t* size) {
  if (!data || !size) return -1;
  *data = nullptr;
  *size = 0;
  const StreamHandle h = FileOpen(name, 0, 1);
  if (!h) return -1;
  const int length = FileSize(h);
  if (length < 0) {
    FileClose(h);
    return -1;
  }
  auto* block = static_cast<uint8_t*>(TALLOC(static_cast<size_t>(length) + 1));
  if (!block) {
    FileClose(h);
    return -1;
  }
  const size_t got = FileRead(block, 1, static_cast<size_t>(length), h);
  FileClose(h);
  if (got != static_cast<size_t>(length)) {
    TrackedFree(block);
    return -1;
  }
  block[length] = 0;
  *data = block;
  *size = static_cast<size_t>(length);
  return 0;
}

int CloseAllFiles() {
  int closed = 0;
  for (int slot = 0; slot < kMaxFiles; ++slot) {
    if (g_files[slot].kind != FileKind::Free) {
      AnyClose(kHandleBits | static_cast<uintptr_t>(slot));
      ++closed;
    }
  }
  return closed;
}

int OpenFileCount() {
  std::lock_guard<std::mutex> hold(g_filesMutex);
  return g_openCount;
}
