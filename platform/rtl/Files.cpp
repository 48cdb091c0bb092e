#include "rtl/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

namespace rtl {

namespace {

AnsiString Reason(int err) { return std::strerror(err); }

std::vector<AnsiString> SplitPath(const AnsiString& path) {
  std::vector<AnsiString> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t p = path.find(PathDelim, start);
    if (p == AnsiString::npos) p = path.size();
    if (p > start) parts.push_back(path.substr(start, p - start));
    start = p + 1;
  }
  return parts;
}

TDateTime ToDateTime(const struct timespec& ts) {
  return UnixToLocalDateTime(static_cast<Int64>(ts.tv_sec)) +
         static_cast<double>(ts.tv_nsec) / 1e6 / MSecsPerDay;
}

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// A fresh name beside path for the temporary copy of an atomic replace.
AnsiString TempNameBeside(const AnsiString& path) {
  static thread_local std::mt19937 gen{std::random_device{}()};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(gen()));
  return ExtractFilePath(path) + "." + ExtractFileName(path) + "." + buf + ".tmp";
}

// Writes bytes to a new temporary file beside path with mode and fsyncs it.
// Answers 0 and its name, or the system error with nothing left behind.
// keepMode < 0: the usual mode for a new file (the umask applies).
int WriteTempBeside(const AnsiString& path, const AnsiString& bytes, int keepMode, AnsiString& temp) {
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    temp = TempNameBeside(path);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errno;
  // The replacement keeps the permissions of the file it replaces.
  if (keepMode >= 0) ::fchmod(fd, static_cast<mode_t>(keepMode));
  if (!WriteAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
    int err = errno ? errno : EIO;
    ::close(fd);
    ::unlink(temp.c_str());
    return err;
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return err;
  }
  return 0;
}

void SyncFolderOf(const AnsiString& path) {
  AnsiString dir = ExtractFileDir(path);
  if (dir.empty()) dir = ".";
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Renames without ever replacing an existing target. File systems without
// the no-replace flag get a hard link and unlink, which refuse the same way.
int RenameNoReplace(const AnsiString& from, const AnsiString& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

bool CopyWithAttributes(const AnsiString& source, const AnsiString& dest, bool failIfExists) {
  struct stat st;
  if (::stat(source.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (failIfExists) {
    struct stat dst;
    if (::lstat(dest.c_str(), &dst) == 0) return false;
  }
  AnsiString bytes;
  try {
    bytes = ReadFileBytes(source);
  } catch (const Exception&) {
    return false;
  }
  AnsiString temp;
  if (WriteTempBeside(dest, bytes, static_cast<int>(st.st_mode & 07777), temp) != 0) return false;
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::utimensat(AT_FDCWD, temp.c_str(), times, 0);
  int r;
  if (failIfExists) {
    // Refusing at the rename closes the race the check above leaves open.
    r = RenameNoReplace(temp, dest);
    if (r != 0) ::unlink(temp.c_str());
  } else {
    r = ::rename(temp.c_str(), dest.c_str());
    if (r != 0) ::unlink(temp.c_str());
  }
  return r == 0;
}

}  // namespace

// ------------------------------------------------------------------ names

AnsiString ExtractFilePath(const AnsiString& fileName) {
  auto p = fileName.rfind(PathDelim);
  return p == AnsiString::npos ? AnsiString() : fileName.substr(0, p + 1);
}

AnsiString ExtractFileDir(const AnsiString& fileName) {
  auto p = fileName.rfind(PathDelim);
  if (p == AnsiString::npos) return AnsiString();
  if (p == 0) return AnsiString(1, PathDelim);
  return fileName.substr(0, p);
}

AnsiString ExtractFileName(const AnsiString& fileName) {
  auto p = fileName.rfind(PathDelim);
  return p == AnsiString::npos ? fileName : fileName.substr(p + 1);
}

AnsiString ExtractFileExt(const AnsiString& fileName) {
  auto p = fileName.find_last_of(AnsiString(1, PathDelim) + ".");
  if (p == AnsiString::npos || fileName[p] != '.') return AnsiString();
  return fileName.substr(p);
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension) {
  auto p = fileName.find_last_of(AnsiString(1, PathDelim) + ".");
  if (p == AnsiString::npos || fileName[p] != '.') return fileName + extension;
  return fileName.substr(0, p) + extension;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& path) {
  if (!path.empty() && path.back() == PathDelim) return path;
  return path + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& path) {
  if (!path.empty() && path.back() == PathDelim) return path.substr(0, path.size() - 1);
  return path;
}

AnsiString ExtractRelativePath(const AnsiString& baseName, const AnsiString& destName) {
  std::vector<AnsiString> base = SplitPath(ExtractFilePath(baseName));
  std::vector<AnsiString> dest = SplitPath(ExtractFilePath(destName));
  size_t common = 0;
  while (common < base.size() && common < dest.size() && base[common] == dest[common]) ++common;
  AnsiString out;
  for (size_t i = common; i < base.size(); ++i) out += AnsiString("..") + PathDelim;
  for (size_t i = common; i < dest.size(); ++i) out += dest[i] + PathDelim;
  return out + ExtractFileName(destName);
}

AnsiString ExpandFileName(const AnsiString& fileName) {
  if (fileName.empty()) return AnsiString();
  AnsiString full = fileName;
  if (full[0] != PathDelim) full = IncludeTrailingPathDelimiter(GetCurrentDir()) + full;
  std::vector<AnsiString> out;
  for (const AnsiString& part : SplitPath(full)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(part);
  }
  AnsiString result;
  for (const AnsiString& part : out) result += PathDelim + part;
  if (result.empty() || full.back() == PathDelim) result += PathDelim;
  return result;
}

AnsiString StoredToNativePath(const AnsiString& stored) {
  AnsiString out = stored;
  for (char& c : out)
    if (c == '\\') c = PathDelim;
  return out;
}

AnsiString NativeToStoredPath(const AnsiString& native) {
  AnsiString out = native;
  for (char& c : out)
    if (c == PathDelim) c = '\\';
  return out;
}

// ---------------------------------------------------- files and folders

bool FileExists(const AnsiString& fileName) {
  struct stat st;
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& dir) {
  struct stat st;
  return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const AnsiString& dir) {
  if (dir.empty()) throw EInOutError("Unable to create directory");
  AnsiString path = ExcludeTrailingPathDelimiter(ExpandFileName(dir));
  if (path.empty() || DirectoryExists(path)) return true;
  AnsiString parent = ExtractFileDir(path);
  if (parent != path && !parent.empty() && !ForceDirectories(parent)) return false;
  return CreateDir(path) || DirectoryExists(path);
}

bool CreateDir(const AnsiString& dir) { return ::mkdir(dir.c_str(), 0777) == 0; }

bool RemoveDir(const AnsiString& dir) { return ::rmdir(dir.c_str()) == 0; }

bool DeleteFile(const AnsiString& fileName) {
  struct stat st;
  if (::lstat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(fileName.c_str()) == 0;
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
  return RenameNoReplace(oldName, newName) == 0;
}

bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists) {
  return CopyWithAttributes(source, dest, failIfExists);
}

bool MoveFile(const AnsiString& source, const AnsiString& dest) {
  int err = RenameNoReplace(source, dest);
  if (err == 0) return true;
  if (err != EXDEV) return false;
  if (!CopyWithAttributes(source, dest, true)) return false;
  if (::unlink(source.c_str()) != 0) {
    ::unlink(dest.c_str());
    return false;
  }
  return true;
}

AnsiString GetCurrentDir() {
  std::vector<char> buf(4096);
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (errno != ERANGE) return AnsiString();
    buf.resize(buf.size() * 2);
  }
  return AnsiString(buf.data());
}

bool SetCurrentDir(const AnsiString& dir) { return ::chdir(dir.c_str()) == 0; }

bool FileAge(const AnsiString& fileName, TDateTime& age) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) return false;
  age = ToDateTime(st.st_mtim);
  return true;
}

Int64 FileSize(const AnsiString& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) return -1;
  return static_cast<Int64>(st.st_size);
}

Integer TryWriteFileAtomically(const AnsiString& name, const AnsiString& bytes) {
  // Through a symbolic link the file it points to is replaced, not the link.
  AnsiString path = name;
  struct stat lst;
  if (::lstat(name.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(name.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  int keepMode = -1;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    keepMode = static_cast<int>(st.st_mode & 07777);
  }
  AnsiString temp;
  if (int err = WriteTempBeside(path, bytes, keepMode, temp)) return err;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return err;
  }
  SyncFolderOf(path);
  return 0;
}

void WriteFileAtomically(const AnsiString& path, const AnsiString& bytes) {
  if (Integer err = TryWriteFileAtomically(path, bytes))
    throw EFCreateError("Cannot create file \"" + path + "\". " + Reason(err));
}

AnsiString ReadFileBytes(const AnsiString& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  int err = errno;
  struct stat st;
  if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    fd = -1;
    err = EISDIR;
  }
  if (fd < 0) throw EFOpenError("Cannot open file \"" + path + "\". " + Reason(err));
  AnsiString out;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      err = errno;
      ::close(fd);
      throw EReadError("Cannot read file \"" + path + "\". " + Reason(err));
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

// ---------------------------------------------------------- folder listing

struct FindState {
  DIR* dir = nullptr;
  AnsiString folder;
  AnsiString pattern;
  Integer attr = 0;
  ~FindState() {
    if (dir) ::closedir(dir);
  }
};

namespace {

bool MatchesPattern(const AnsiString& pattern, const AnsiString& name) {
  if (pattern == "*" || pattern == "*.*") return true;
  return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// Advances to the next entry that passes the pattern and attributes.
Integer FindMatch(TSearchRec& f) {
  FindState& s = *f.FindHandle;
  for (;;) {
    errno = 0;
    struct dirent* e = ::readdir(s.dir);
    if (!e) return errno ? errno : ENOENT;
    AnsiString name = e->d_name;
    if (!MatchesPattern(s.pattern, name)) continue;
    struct stat lst, st;
    AnsiString full = s.folder + name;
    if (::lstat(full.c_str(), &lst) != 0) continue;
    bool isLink = S_ISLNK(lst.st_mode);
    if (!isLink || ::stat(full.c_str(), &st) != 0) st = lst;
    Integer attr = 0;
    if (S_ISDIR(st.st_mode))
      attr |= faDirectory;
    else
      attr |= faArchive;
    if (isLink) attr |= faSymLink;
    bool dots = name == "." || name == "..";
    if (name[0] == '.' && !dots) attr |= faHidden;
    if (::access(full.c_str(), W_OK) != 0) attr |= faReadOnly;
    if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) attr |= faSysFile;
    // Plain files always match; the special kinds only when asked for.
    Integer special = attr & (faDirectory | faHidden | faSysFile);
    if ((special & ~s.attr) != 0) continue;
    f.Name = name;
    f.Attr = attr;
    f.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
    f.Time = ToDateTime(st.st_mtim);
    return 0;
  }
}

}  // namespace

Integer FindFirst(const AnsiString& path, Integer attr, TSearchRec& f) {
  FindClose(f);
  auto state = std::make_shared<FindState>();
  state->folder = ExtractFilePath(path);
  state->pattern = ExtractFileName(path);
  state->attr = attr;
  state->dir = ::opendir(state->folder.empty() ? "." : state->folder.c_str());
  if (!state->dir) return errno ? errno : ENOENT;
  f.ExcludeAttr = ~attr & (faDirectory | faHidden | faSysFile);
  f.FindHandle = std::move(state);
  Integer r = FindMatch(f);
  if (r != 0) FindClose(f);
  return r;
}

Integer FindNext(TSearchRec& f) {
  if (!f.FindHandle) return EBADF;
  return FindMatch(f);
}

void FindClose(TSearchRec& f) { f.FindHandle.reset(); }

// --------------------------------------------------------- special folders

AnsiString TempFolder() {
  const char* t = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(t && *t ? t : "/tmp");
}

AnsiString AppDataFolder() {
  const char* x = std::getenv("XDG_CONFIG_HOME");
  if (x && *x) return IncludeTrailingPathDelimiter(x);
  const char* home = std::getenv("HOME");
  return IncludeTrailingPathDelimiter(AnsiString(home && *home ? home : "") + "/.config");
}

AnsiString DocumentsFolder() {
  const char* x = std::getenv("XDG_DOCUMENTS_DIR");
  if (x && *x) return IncludeTrailingPathDelimiter(x);
  const char* homeEnv = std::getenv("HOME");
  const AnsiString home = homeEnv ? homeEnv : "";
  // The user-dirs file holds lines such as XDG_DOCUMENTS_DIR="$HOME/Documents".
  std::ifstream dirs(AppDataFolder() + "user-dirs.dirs");
  std::string line;
  while (std::getline(dirs, line)) {
    const std::string key = "XDG_DOCUMENTS_DIR=";
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    std::string value = line.substr(at + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (!value.empty() && value.front() == '/') return IncludeTrailingPathDelimiter(value);
  }
  if (!home.empty() && DirectoryExists(home + "/Documents")) return home + "/Documents/";
  return AnsiString();
}

AnsiString ProgramFileName() {
  std::vector<char> buf(4096);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return AnsiString();
    if (static_cast<size_t>(n) < buf.size()) return AnsiString(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

AnsiString ProgramFolder() { return ExtractFilePath(ProgramFileName()); }

}  // namespace rtl
