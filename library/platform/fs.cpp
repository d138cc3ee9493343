// Host files by Windows-style names, wildcard listing and the profile reader.
#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "core/sjis.h"

namespace {

int HostOpen(const char* path, int flags, int mode) { return ::open(path, flags, static_cast<mode_t>(mode)); }
int HostOpenAt(int folder, const char* name, int flags, int mode) {
  return ::openat(folder, name, flags, static_cast<mode_t>(mode));
}
int HostRenameAt(int folder, const char* from, const char* to, unsigned flags) {
  return ::renameat2(folder, from, folder, to, flags);
}
const FsHostCalls kRealCalls = {HostOpen, HostOpenAt, ::read, ::write, ::fsync, ::linkat, HostRenameAt, ::fsetxattr, ::flock};
FsHostCalls g_calls = kRealCalls;

constexpr size_t kMaxPath = 1024;
constexpr int64_t kMaxProfileBytes = 16 << 20;

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// "\" and "/" separated components of a CP932 name, each converted to UTF-8.
bool SplitComponents(const char* windowsPath, bool* absolute, std::vector<std::string>* parts) {
  parts->clear();
  *absolute = false;
  std::string current;
  bool ok = true;
  const char* p = windowsPath;
  if (*p == '\\' || *p == '/') *absolute = true;
  while (*p) {
    const int n = SjisCharLength(p);
    if (n == 1 && (*p == '\\' || *p == '/')) {
      if (!current.empty()) parts->push_back(current);
      current.clear();
    } else {
      current.append(p, static_cast<size_t>(n));
    }
    p += n;
  }
  if (!current.empty()) parts->push_back(current);
  for (std::string& part : *parts) {
    bool converted = true;
    part = Cp932ToUtf8(part.c_str(), &converted);
    if (!converted) ok = false;
  }
  return ok;
}

std::string Join(const std::string& base, const std::string& name) {
  if (base.empty()) return name;
  if (base == "/") return "/" + name;
  return base + "/" + name;
}

// The case-insensitive match of name inside folder, or name itself.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
  const std::string exact = Join(folder, name);
  if (Exists(exact) || name == "." || name == "..") return exact;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return exact;
  std::string found;
  while (dirent* d = readdir(dir)) {
    if (EqualNoCase(name, d->d_name)) {
      found = d->d_name;
      break;
    }
  }
  closedir(dir);
  return found.empty() ? exact : Join(folder, found);
}

// Windows wildcard match on one CP932 name ("*" any run, "?" one character,
// single- or double-byte), ASCII case folded. "*" and "?" are never trail bytes.
bool WildMatch(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    const int pn = SjisCharLength(pattern);
    const int nn = SjisCharLength(name);
    if (pn == 1 && *pattern == '*') {
      star = pattern++;
      resume = name;
    } else if ((pn == 1 && *pattern == '?') ||
               (pn == nn && pn == 1 && FoldAscii(*pattern) == FoldAscii(*name)) ||
               (pn == nn && pn == 2 && pattern[0] == name[0] && pattern[1] == name[1])) {
      pattern += pn;
      name += nn;
    } else if (star) {
      pattern = star + 1;
      resume += SjisCharLength(resume);
      name = resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool EqualNoCaseSjis(const std::string& a, const char* b) { return SjisCompareNoCase(a.c_str(), b) == 0; }

// The raw value of key in section, or false when either is missing.
bool FindProfileValue(const char* section, const char* key, const char* fileName, std::string* value) {
  std::FILE* f = FsOpenRead(fileName);
  if (!f) return false;
  const int64_t size = FsFileSize(f);
  if (size < 0 || size > kMaxProfileBytes) {
    std::fclose(f);
    return false;
  }
  std::string text(static_cast<size_t>(size), '\0');
  const size_t got = text.empty() ? 0 : std::fread(&text[0], 1, text.size(), f);
  std::fclose(f);
  text.resize(got);
  const std::string wantedSection = Trim(section);
  const std::string wantedKey = Trim(key);
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    const size_t zero = line.find('\0');
    if (zero != std::string::npos) line.resize(zero);  // junk after a zero byte is ignored
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const char* close = SjisFindChar(line.c_str() + 1, ']');
      if (!close) continue;
      const size_t closeAt = static_cast<size_t>(close - line.c_str());
      inSection = EqualNoCaseSjis(Trim(line.substr(1, closeAt - 1)), wantedSection.c_str());
      continue;
    }
    if (!inSection) continue;
    const char* eq = SjisFindChar(line.c_str(), '=');
    if (!eq) continue;
    const size_t at = static_cast<size_t>(eq - line.c_str());
    if (!EqualNoCaseSjis(Trim(line.substr(0, at)), wantedKey.c_str())) continue;
    std::string v = Trim(line.substr(at + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    *value = v;
    return true;
  }
  return false;
}

}  // namespace

std::string FsHostPath(const char* windowsPath) {
  if (!windowsPath || !*windowsPath || std::strlen(windowsPath) > kMaxPath) return std::string();
  bool absolute = false;
  std::vector<std::string> parts;
  SplitComponents(windowsPath, &absolute, &parts);
  std::string path = absolute ? "/" : "";
  for (const std::string& part : parts) path = MatchInFolder(path, part);
  if (path.empty()) path = absolute ? "/" : ".";
  return path;
}

namespace {

// A descriptor of an existing regular file opened for reading, or -1 with
// errno. The stat refuses a FIFO or device before it is opened; the open is
// non-blocking and checked again, so one swapped in meanwhile cannot hang it.
int OpenRegularHost(const std::string& host) {
  if (host.empty()) {
    errno = ENOENT;
    return -1;
  }
  struct stat st;
  if (stat(host.c_str(), &st) != 0) {
    if (errno == ENOTDIR) errno = ENOENT;  // a file where a folder should be
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    return -1;
  }
  const int fd = g_calls.open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = ENXIO;
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

int OpenRegularForReading(const char* windowsPath) { return OpenRegularHost(FsHostPath(windowsPath)); }

// The descriptor as a stream, or null with errno (the descriptor closed).
std::FILE* StreamOf(int fd) {
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "rb");
  if (!f) {
    const int error = errno;
    close(fd);
    errno = error;
  }
  return f;
}

// The errno of the call that just failed (EIO when it set none).
int LastError() { return errno ? errno : EIO; }

// Writes all bytes, retrying short writes; false with errno.
bool WriteAll(int fd, const uint8_t* data, size_t bytes) {
  while (bytes > 0) {
    const ssize_t n = g_calls.write(fd, data, bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    bytes -= static_cast<size_t>(n);
  }
  return true;
}

// The file a replacing write renames over: the name itself, or for a link to
// a regular file the link's final target, so that the link stays and its
// target gets the bytes. A link that leads nowhere is a missing file and is
// replaced by the new one. A link to a FIFO, folder or device, or a loop of
// links, is refused and kept. 0 with *target set, or the errno.
int ReplacedFile(const std::string& host, std::string* target) {
  *target = host;
  struct stat st;
  if (lstat(host.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
  char* resolved = realpath(host.c_str(), nullptr);
  if (!resolved) {
    if (errno == ENOENT || errno == ENOTDIR) return 0;
    return LastError();
  }
  *target = resolved;
  std::free(resolved);
  if (stat(target->c_str(), &st) != 0) return LastError();
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
  return 0;
}

// ---- durable writes ------------------------------------------------------------------
// Each write makes a file of its own in the folder of the file it writes,
// fills and flushes it whole, and only then gives it the file's name. Where
// the file system allows, the new file has no name at all until it is whole
// (O_TMPFILE), so a write killed midway leaves nothing; else it lives under a
// fresh temporary name, made exclusively and never through a link. Each write
// holds a lock on its file from its making to its end, which tells a live
// write's file from the leftover of a killed one.

constexpr size_t kTempStemBytes = 200;  // of the name in a temporary name: it stays below 255 bytes
constexpr int kTempDigits = 12;         // random hex digits in a temporary name
constexpr int kNameLost = -1;           // the temporary name no longer holds the write's file
constexpr int kCannotName = -2;         // the unnamed file could not be linked: make it named

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// "<name>.<12 hex digits>.tmp" with fresh digits from the kernel's random
// source. Without that they need only differ: the exclusive create refuses a
// name that is taken.
std::string TempNameFor(const std::string& name) {
  uint8_t random[kTempDigits / 2];
  if (getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
    static std::atomic<uint64_t> counter{0};
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t mix = (static_cast<uint64_t>(getpid()) << 36) ^ (counter++ << 24) ^ static_cast<uint64_t>(now.tv_nsec);
    for (uint8_t& b : random) {
      b = static_cast<uint8_t>(mix);
      mix >>= 8;
    }
  }
  static const char kHex[] = "0123456789abcdef";
  std::string temp = name.substr(0, kTempStemBytes) + ".";
  for (const uint8_t b : random) {
    temp += kHex[b >> 4];
    temp += kHex[b & 15];
  }
  return temp + ".tmp";
}

bool IsTempNameOf(const std::string& name, const char* candidate) {
  const std::string stem = name.substr(0, kTempStemBytes) + ".";
  if (std::strlen(candidate) != stem.size() + kTempDigits + 4 || stem.compare(0, stem.size(), candidate, stem.size()) != 0)
    return false;
  const char* digits = candidate + stem.size();
  for (int i = 0; i < kTempDigits; ++i)
    if (!((digits[i] >= '0' && digits[i] <= '9') || (digits[i] >= 'a' && digits[i] <= 'f'))) return false;
  return std::strcmp(digits + kTempDigits, ".tmp") == 0;
}

// True while name in folder is the regular file open as fd (not a link or
// anything put in its place).
bool HoldsFile(int folder, const std::string& name, int fd) {
  struct stat named, opened;
  return fstat(fd, &opened) == 0 && fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(named.st_mode) && SameFile(named, opened);
}

// Removes temp from folder when it is the leftover of a killed write: a
// regular file that no write holds locked.
void RemoveIfAbandoned(int folder, const std::string& temp) {
  struct stat named;
  if (fstatat(folder, temp.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) return;
  int fd = ::openat(folder, temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) fd = ::openat(folder, temp.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && HoldsFile(folder, temp, fd)) unlinkat(folder, temp.c_str(), 0);
  close(fd);
}

// Clears away what killed writes of name left in the folder, so that they
// never pile up; nothing under any other name is touched.
void RemoveLeftovers(int folder, const std::string& name) {
  const int listing = fcntl(folder, F_DUPFD_CLOEXEC, 0);
  if (listing < 0) return;
  DIR* dir = fdopendir(listing);
  if (!dir) {
    close(listing);
    return;
  }
  std::vector<std::string> found;
  while (dirent* d = readdir(dir))
    if (IsTempNameOf(name, d->d_name)) found.push_back(d->d_name);
  closedir(dir);
  for (const std::string& temp : found) RemoveIfAbandoned(folder, temp);
}

// A write's own file: open, locked, and named temp (empty while unnamed).
struct NewFile {
  int fd = -1;
  std::string temp;
};

// Closes the write's file; its temporary name goes while it still holds it.
void Discard(int folder, NewFile* file) {
  if (!file->temp.empty() && HoldsFile(folder, file->temp, file->fd)) unlinkat(folder, file->temp.c_str(), 0);
  if (file->fd >= 0) close(file->fd);
  *file = NewFile{};
}

// What a replaced file hands on to the new one: its owner, group and bits,
// and its access ACL where it has one.
constexpr char kAccessAcl[] = "system.posix_acl_access";
struct Replaced {
  struct stat st{};              // the replaced file itself
  enum { Unknown, None, Some } acl = Unknown;  // whether it has an access ACL (Unknown: could not be read)
  std::vector<char> aclBytes;    // the ACL attribute as the kernel gives it
};

// Reads the access ACL through a descriptor of the very file that was
// looked at (one that cannot be read, through /proc).
void ReadAccessAcl(int folder, const std::string& name, Replaced* old) {
  bool byPath = false;
  int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    fd = ::openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    byPath = true;
  }
  if (fd < 0) return;
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  const auto get = [&](void* buffer, size_t size) {
    return byPath ? getxattr(self, kAccessAcl, buffer, size) : fgetxattr(fd, kAccessAcl, buffer, size);
  };
  struct stat st;
  if (fstat(fd, &st) == 0 && SameFile(st, old->st)) {
    ssize_t n = get(nullptr, 0);
    if (n > 0) {
      old->aclBytes.resize(static_cast<size_t>(n));
      n = get(old->aclBytes.data(), old->aclBytes.size());
    }
    if (n > 0) {
      old->aclBytes.resize(static_cast<size_t>(n));
      old->acl = Replaced::Some;
    } else if (n == 0 || errno == ENODATA || errno == EOPNOTSUPP) {
      old->acl = Replaced::None;
    }
  }
  close(fd);
}

// The bits of a file whose ACL is not kept: the group part of an ACL'd
// file's bits is its mask, so the owning group gets its own entry within the
// mask, never the mask itself (nothing when the entry is missing).
mode_t BitsWithoutAcl(const Replaced& old) {
  const mode_t bits = old.st.st_mode & 07777;
  if (old.acl != Replaced::Some) return bits;
  unsigned group = 0;
  const auto* a = reinterpret_cast<const uint8_t*>(old.aclBytes.data());
  for (size_t at = 4; at + 8 <= old.aclBytes.size(); at += 8)
    if ((a[at] | a[at + 1] << 8) == 0x04) group = a[at + 2] & 7u;  // the owning group's entry
  return (bits & ~static_cast<mode_t>(070)) | (bits & (group << 3));
}

// The replaced file's owner, group, permission bits and access ACL, as far
// as this process may give them (a new file keeps the default).
void TakeOwnerAndMode(int fd, const Replaced& old) {
  struct stat st;
  // Where neither is allowed the file stays this process's own.
  if (fstat(fd, &st) == 0 && (st.st_uid != old.st.st_uid || st.st_gid != old.st.st_gid) &&
      fchown(fd, old.st.st_uid, old.st.st_gid) != 0)
    (void)!fchown(fd, static_cast<uid_t>(-1), old.st.st_gid);
  // Entries the folder's default ACL gave the file go when the old one had none.
  if (old.acl == Replaced::None) (void)!fremovexattr(fd, kAccessAcl);
  // Where this fails it keeps the bits it was made with, less the umask's: never wider.
  (void)!fchmod(fd, BitsWithoutAcl(old));
  if (old.acl == Replaced::Some) (void)!g_calls.fsetxattr(fd, kAccessAcl, old.aclBytes.data(), old.aclBytes.size(), 0);
}

// Tries fresh temporary names of name until make takes one (0, and *temp
// gets it) or fails otherwise than on a name already taken. 0 or the errno.
template <class Make>
int TakeFreshName(const std::string& name, Make make, std::string* temp) {
  for (int tries = 0; tries < 16; ++tries) {
    const std::string fresh = TempNameFor(name);
    const int error = make(fresh);
    if (error == 0) *temp = fresh;
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

// Makes the write's file in the folder, unnamed unless named is asked or the
// file system cannot, locks it, gives it what the replaced file had, fills it
// with the bytes, checks its size and flushes it. 0, or the errno with
// nothing left.
int MakeWholeFile(int folder, const std::string& name, bool named, const Replaced* replaced, const void* data,
                  size_t bytes, NewFile* file) {
  const int mode = replaced ? static_cast<int>(BitsWithoutAcl(*replaced) & 0777) : 0666;
  if (!named) file->fd = g_calls.openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (file->fd < 0) {
    const int made = TakeFreshName(name, [&](const std::string& temp) {
      file->fd = g_calls.openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
      return file->fd >= 0 ? 0 : LastError();
    }, &file->temp);
    if (made != 0) return made;
  }
  int error = 0;
  while (flock(file->fd, LOCK_EX) != 0 && !error)
    if (errno != EINTR) error = LastError();
  if (!error && replaced) TakeOwnerAndMode(file->fd, *replaced);
  if (!error && !WriteAll(file->fd, static_cast<const uint8_t*>(data), bytes)) error = LastError();
  struct stat st;
  if (!error && (fstat(file->fd, &st) != 0 || st.st_size != static_cast<off_t>(bytes))) error = EIO;
  if (!error && g_calls.fsync(file->fd) != 0) error = LastError();
  if (error) Discard(folder, file);
  return error;
}

// Links the open file itself as name: by its descriptor, else through /proc.
int LinkOpenFile(int fd, int folder, const std::string& name) {
  if (g_calls.linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  if (g_calls.linkat(AT_FDCWD, self, folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  return LastError();
}

// The folder's lock, held while a write gives its file the name, so that two
// writers of this layer never swap names in each other's midst. A folder
// that cannot be locked, or one held by another program for more than a
// second, is written in without it: the checks stand either way.
class FolderLock {
 public:
  explicit FolderLock(int folder) : folder_(folder) {
    // Another write holds it for microseconds: each wait is twice the last,
    // up to a millisecond at a time.
    long waited = 0, pause = 10000;  // nanoseconds
    while (g_calls.lock(folder, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || waited > 1000000000) return;
      const timespec wait{0, pause};
      nanosleep(&wait, nullptr);
      waited += pause;
      pause = std::min(pause * 2, 1000000L);
    }
    held_ = true;
  }
  ~FolderLock() {
    if (held_) g_calls.lock(folder_, LOCK_UN);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int folder_;
  bool held_ = false;
};

// Gives the whole file the name in place of the file there; an unnamed one
// gets a temporary name first. The two names are exchanged in one step and
// the file counts as given only when the name then holds it: anything
// slipped in at the temporary name goes back there, what stood at the name
// comes back, and the write is made again. The name's old file, now at the
// temporary name, goes as a rename would have removed it. Where the file
// system cannot exchange, the file is renamed over the name after the same
// check; when the name then holds something slipped in, the old file is gone,
// the slipped-in thing goes back, and the write is made where nothing stands.
int PublishReplacing(int folder, NewFile* file, const std::string& name) {
  if (file->temp.empty()) {
    const int error =
        TakeFreshName(name, [&](const std::string& temp) { return LinkOpenFile(file->fd, folder, temp); }, &file->temp);
    if (error != 0) return error == EEXIST ? EEXIST : kCannotName;
  }
  const FolderLock lock(folder);
  if (!HoldsFile(folder, file->temp, file->fd)) return kNameLost;
  const char* temp = file->temp.c_str();  // cleared only at the end
  struct stat stood;
  const bool exchange = fstatat(folder, name.c_str(), &stood, AT_SYMLINK_NOFOLLOW) == 0;
  if (g_calls.renameat(folder, temp, name.c_str(), exchange ? RENAME_EXCHANGE : RENAME_NOREPLACE) != 0) {
    if (errno == ENOENT || errno == EEXIST) return kNameLost;  // either name changed meanwhile
    if (errno != EINVAL && errno != ENOSYS) return LastError();
    if (g_calls.renameat(folder, temp, name.c_str(), 0) != 0) return LastError();
    if (!HoldsFile(folder, name, file->fd)) {
      // The old file is gone then; what was slipped in goes back, and the
      // write is made again where nothing stands.
      if (g_calls.renameat(folder, name.c_str(), temp, RENAME_NOREPLACE) != 0) unlinkat(folder, name.c_str(), 0);
      return kNameLost;
    }
    file->temp.clear();
    return 0;
  }
  if (!HoldsFile(folder, name, file->fd)) {
    if (exchange) g_calls.renameat(folder, temp, name.c_str(), RENAME_EXCHANGE);
    else g_calls.renameat(folder, name.c_str(), temp, RENAME_NOREPLACE);
    return kNameLost;
  }
  struct stat moved;
  if (exchange && fstatat(folder, temp, &moved, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(moved, stood))
    unlinkat(folder, temp, 0);
  file->temp.clear();
  return 0;
}

// Gives the whole file the name only when nothing stands there (EEXIST). The
// open file itself is linked, so nothing put at its temporary name meanwhile
// can take the name; where that cannot be done, a rename that replaces
// nothing, checked after and taken back when the name holds something else.
int PublishNew(int folder, NewFile* file, const std::string& name) {
  const int linked = LinkOpenFile(file->fd, folder, name);
  if (linked == 0 || linked == EEXIST) return linked;  // the temporary name goes with the file's closing
  if (file->temp.empty()) return kCannotName;
  if (!HoldsFile(folder, file->temp, file->fd)) return kNameLost;
  const std::string temp = file->temp;
  if (g_calls.renameat(folder, temp.c_str(), name.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return LastError();
    // Without that rename: a second link by name, and the temporary name
    // goes with the file's closing.
    if (g_calls.linkat(folder, temp.c_str(), folder, name.c_str(), 0) != 0) return LastError();
  } else {
    file->temp.clear();
  }
  if (HoldsFile(folder, name, file->fd)) return 0;
  // What was slipped in at the temporary name goes back there (the second
  // link of it is this call's own).
  if (file->temp.empty()) g_calls.renameat(folder, name.c_str(), temp.c_str(), RENAME_NOREPLACE);
  else unlinkat(folder, name.c_str(), 0);
  return kNameLost;
}

// The folder part of a host path ("." or "/" where there is none) and the name.
void SplitPath(const std::string& path, std::string* folder, std::string* name) {
  const size_t slash = path.rfind('/');
  *folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  *name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// A folder that may be written but not listed is still written in; it is
// then neither locked, swept nor flushed. The descriptor, or -1 with errno.
int OpenFolder(const std::string& path) {
  const int folder = g_calls.open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (folder >= 0 || errno != EACCES) return folder;
  return g_calls.open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
}

bool SameFolder(int a, int b) {
  struct stat sa, sb;
  return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && SameFile(sa, sb);
}

// Where a write goes: the folder of the file it writes (for a link, of the
// link's final target), its name there, and what stands there now. All of it
// is looked at while no write of this layer is giving a file its name in
// the folder of the name or of the target: only in that moment can a link
// slipped in at a temporary name stand at the name, and it must never be
// followed or taken for the file. 0 with *folder open, or the errno.
int LookWhereItGoes(const std::string& host, bool onlyNew, int* folder, std::string* name, Replaced* replaced,
                    bool* keep) {
  const auto look = [&](int in) {
    *keep = fstatat(in, name->c_str(), &replaced->st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(replaced->st.st_mode);
    if (*keep) ReadAccessAcl(in, *name, replaced);
  };
  std::string folderPath;
  SplitPath(host, &folderPath, name);
  *folder = OpenFolder(folderPath);
  if (*folder < 0) return LastError();
  std::optional<FolderLock> nameLock(std::in_place, *folder);
  struct stat there;
  if (onlyNew) return fstatat(*folder, name->c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 ? EEXIST : 0;
  std::string target;
  if (const int error = ReplacedFile(host, &target)) return error;
  if (target == host) {
    look(*folder);
    return 0;
  }
  SplitPath(target, &folderPath, name);
  const int targetFolder = OpenFolder(folderPath);
  if (targetFolder < 0) return LastError();
  std::optional<FolderLock> targetLock;
  if (!SameFolder(targetFolder, *folder)) targetLock.emplace(targetFolder);
  std::string again;  // under both locks the link must still lead where it led
  int error = ReplacedFile(host, &again);
  if (!error && again != target) error = EAGAIN;
  if (!error) look(targetFolder);
  targetLock.reset();
  nameLock.reset();
  close(*folder);
  *folder = targetFolder;
  return error;
}

int WriteDurably(const std::string& host, const void* data, size_t bytes, bool onlyNew) {
  if (!data && bytes) return EINVAL;
  if (host.empty()) return ENAMETOOLONG;
  int folder = -1;
  std::string name;
  Replaced replaced;
  bool keep = false;
  int error = LookWhereItGoes(host, onlyNew, &folder, &name, &replaced, &keep);
  if (error) {
    if (folder >= 0) close(folder);
    return error;
  }
  RemoveLeftovers(folder, name);
  // A file whose name was taken from it before it was given the name is made
  // again; one that cannot be named unnamed is made again under a name.
  error = kNameLost;
  bool named = false;
  for (int attempt = 0; attempt < 8 && error < 0; ++attempt) {
    NewFile file;
    error = MakeWholeFile(folder, name, named, keep ? &replaced : nullptr, data, bytes, &file);
    if (!error) error = onlyNew ? PublishNew(folder, &file, name) : PublishReplacing(folder, &file, name);
    Discard(folder, &file);
    if (error == kCannotName) named = true;
  }
  if (error < 0) error = EAGAIN;
  if (!error) g_calls.fsync(folder);  // the new name on the disk; best effort, the file itself is safe
  close(folder);
  return error;
}

}  // namespace

FsHostCalls& FsCalls() { return g_calls; }
void FsResetHostCalls() { g_calls = kRealCalls; }

std::FILE* FsOpenRead(const char* windowsPath) { return StreamOf(OpenRegularForReading(windowsPath)); }

std::FILE* FsOpenHostRead(const char* hostPath) { return StreamOf(OpenRegularHost(hostPath ? hostPath : "")); }

int FsOpenError(const char* windowsPath) { return FsOpenHostError(FsHostPath(windowsPath).c_str()); }

int FsOpenHostError(const char* hostPath) {
  const int fd = OpenRegularHost(hostPath ? hostPath : "");
  if (fd < 0) return LastError();
  close(fd);
  return 0;
}

const char* FsErrorText(int error) {
  switch (error) {
    case 0: return "no error";
    case ENOENT: return "no such file";
    case ENXIO:
    case EISDIR: return "not a regular file";
    default: return std::strerror(error);
  }
}

int FsReadFile(const char* windowsPath, void* buffer, size_t capacity, int64_t* fileSize, size_t* got) {
  *fileSize = 0;
  *got = 0;
  const int fd = OpenRegularForReading(windowsPath);
  if (fd < 0) return LastError();
  struct stat st;
  if (fstat(fd, &st) != 0) {
    const int error = errno;
    close(fd);
    return error;
  }
  *fileSize = static_cast<int64_t>(st.st_size);
  auto* out = static_cast<uint8_t*>(buffer);
  int error = 0;
  while (*got < capacity) {
    const ssize_t n = g_calls.read(fd, out + *got, capacity - *got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = LastError();
      break;
    }
    if (n == 0) break;
    *got += static_cast<size_t>(n);
  }
  close(fd);
  return error;
}

int FsReplaceFile(const char* windowsPath, const void* data, size_t bytes) {
  return windowsPath ? WriteDurably(FsHostPath(windowsPath), data, bytes, false) : EINVAL;
}

int FsReplaceHostFile(const char* hostPath, const void* data, size_t bytes) {
  return hostPath && *hostPath ? WriteDurably(hostPath, data, bytes, false) : EINVAL;
}

int FsCreateNewFile(const char* windowsPath, const void* data, size_t bytes) {
  return windowsPath ? WriteDurably(FsHostPath(windowsPath), data, bytes, true) : EINVAL;
}

std::FILE* FsCreate(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  if (host.empty()) return nullptr;
  // Non-blocking, and only a regular file: a FIFO in its place is refused.
  const int fd = g_calls.open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  std::FILE* f = nullptr;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
    f = fdopen(fd, "wb");
  if (!f) close(fd);
  return f;
}

std::FILE* FsOpenUpdate(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  if (host.empty()) return nullptr;
  return std::fopen(host.c_str(), "r+b");
}

size_t FsRead(std::FILE* file, void* buffer, size_t bytes) {
  if (!file || !buffer || bytes == 0) return 0;
  return std::fread(buffer, 1, bytes, file);
}

size_t FsWrite(std::FILE* file, const void* buffer, size_t bytes) {
  if (!file || !buffer || bytes == 0) return 0;
  return std::fwrite(buffer, 1, bytes, file);
}

int64_t FsFileSize(std::FILE* file) {
  if (!file) return -1;
  struct stat st;
  if (fstat(fileno(file), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int FsClose(std::FILE* file) { return file && std::fclose(file) == 0 ? 0 : -1; }

int64_t FsSizeOf(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

int FsExists(const char* windowsPath) { return FsOpenError(windowsPath) == 0 ? 1 : 0; }

int FsIsDirectory(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  struct stat st;
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

int FsRename(const char* from, const char* to) {
  const std::string a = FsHostPath(from), b = FsHostPath(to);
  if (a.empty() || b.empty()) return -1;
  return std::rename(a.c_str(), b.c_str()) == 0 ? 0 : -1;
}

int FsRemove(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  if (host.empty()) return -1;
  return std::remove(host.c_str()) == 0 ? 0 : -1;
}

int FsMakeDirectory(const char* windowsPath) {
  const std::string host = FsHostPath(windowsPath);
  if (host.empty()) return -1;
  if (mkdir(host.c_str(), 0755) == 0) return 0;
  return errno == EEXIST && FsIsDirectory(windowsPath) ? 0 : -1;
}

int FsListFiles(const char* pattern, char (*rows)[256], int capacity) {
  if (!pattern || !*pattern || std::strlen(pattern) > kMaxPath || capacity <= 0 || !rows) return 0;
  // Split off the last component (never at a trail byte).
  const char* sep = nullptr;
  for (const char* p = pattern; *p; p = SjisNext(p))
    if (SjisCharLength(p) == 1 && (*p == '\\' || *p == '/')) sep = p;
  std::string folder = sep ? std::string(pattern, static_cast<size_t>(sep - pattern)) : std::string();
  if (sep == pattern) folder = "\\";
  const std::string namePattern = sep ? sep + 1 : pattern;  // matched in CP932
  const std::string hostFolder = folder.empty() ? "." : FsHostPath(folder.c_str());
  if (hostFolder.empty()) return 0;
  DIR* dir = opendir(hostFolder.c_str());
  if (!dir) return 0;
  std::vector<std::string> names;  // CP932
  while (dirent* d = readdir(dir)) {
    if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
    bool converted = true;
    const std::string cp932 = Utf8ToCp932(d->d_name, &converted);
    // A name CP932 cannot spell could not be opened by the name listed.
    if (!converted || cp932.size() >= 256 || !WildMatch(namePattern.c_str(), cp932.c_str())) continue;
    struct stat st;
    if (stat(Join(hostFolder, d->d_name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    names.push_back(cp932);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  int stored = 0;
  for (const std::string& name : names) {
    if (stored >= capacity) break;
    std::memcpy(rows[stored], name.c_str(), name.size() + 1);
    ++stored;
  }
  return stored;
}

int FsGetProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                       int size, const char* fileName) {
  if (!out || size <= 0) return 0;
  std::string value;
  if (!section || !key || !fileName || !FindProfileValue(section, key, fileName, &value)) {
    value = defaultValue ? defaultValue : "";
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  }
  size_t n = value.size();
  if (n > static_cast<size_t>(size - 1)) {
    n = static_cast<size_t>(size - 1);
    // Never leave half of a double-byte character at the cut.
    size_t i = 0;
    while (i < n) {
      const int len = SjisCharLength(value.c_str() + i);
      if (i + static_cast<size_t>(len) > n) break;
      i += static_cast<size_t>(len ? len : 1);
    }
    n = i;
  }
  std::memcpy(out, value.data(), n);
  out[n] = 0;
  return static_cast<int>(n);
}

int FsGetProfileInt(const char* section, const char* key, int defaultValue, const char* fileName) {
  std::string value;
  if (!section || !key || !fileName || !FindProfileValue(section, key, fileName, &value)) return defaultValue;
  if (value.empty()) return defaultValue;  // "Key=" with nothing after it
  const char* p = value.c_str();
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  uint32_t result = 0;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    for (p += 2;; ++p) {
      int d;
      if (*p >= '0' && *p <= '9') d = *p - '0';
      else if (*p >= 'a' && *p <= 'f') d = *p - 'a' + 10;
      else if (*p >= 'A' && *p <= 'F') d = *p - 'A' + 10;
      else break;
      result = result * 16u + static_cast<uint32_t>(d);
    }
  } else {
    for (; *p >= '0' && *p <= '9'; ++p) result = result * 10u + static_cast<uint32_t>(*p - '0');
  }
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}
