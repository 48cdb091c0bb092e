#include "spell/engine/lx3Util.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <mutex>

#include "rtl/Exceptions.h"
#include "rtl/Files.h"

namespace spell {

namespace {

std::mutex& HookMutex() {
  static std::mutex m;
  return m;
}
std::function<AnsiString()>& UserNameHook() {
  static std::function<AnsiString()> hook;
  return hook;
}
std::function<AnsiString(Integer)>& SpecialFolderHook() {
  static std::function<AnsiString(Integer)> hook;
  return hook;
}

AnsiString ProgramDir() { return rtl::ExcludeTrailingPathDelimiter(rtl::ProgramFolder()); }

// Each "%NAME%" whose NAME is in the process environment becomes its value;
// anything else is copied as it stands.
AnsiString ExpandEnvironment(const AnsiString& s) {
  AnsiString out;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '%') {
      out += s[i++];
      continue;
    }
    size_t close = s.find('%', i + 1);
    if (close == AnsiString::npos) {
      out.append(s, i, AnsiString::npos);
      break;
    }
    AnsiString name = s.substr(i + 1, close - i - 1);
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value) {
      out += value;
      i = close + 1;
    } else {
      // Unknown: the first '%' and the name stay; the closing '%' may open
      // the next variable.
      out.append(s, i, close - i);
      i = close;
    }
  }
  return out;
}

}  // namespace

AnsiString GetVersionText() {
  static const char kVersion[] = "3.4.4";
  static const char kEdition[] = " Pro";
  return AnsiString(kVersion) + kEdition;
}

// ---- TEventList ----

TEventList::~TEventList() {
  while (!listeners_.empty()) RemoveListener(listeners_.front());
}

void TEventList::AddListener(const void* listener, TCallback callback) {
  listeners_.push_back(listener);
  callbacks_.push_back(std::make_unique<TCallback>(std::move(callback)));
}

void TEventList::RemoveListener(const void* listener) {
  auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it == listeners_.end()) return;
  const auto index = it - listeners_.begin();
  listeners_.erase(it);
  callbacks_.erase(callbacks_.begin() + index);
}

void TEventList::NotifyListeners(void* sender) {
  for (size_t i = 0; i < callbacks_.size(); ++i)
    if (*callbacks_[i]) (*callbacks_[i])(sender);
}

// ---- paths ----

AnsiString ReplaceFirst(const AnsiString& pattern, const AnsiString& replacement,
                        const AnsiString& text) {
  if (pattern.empty()) return text;
  size_t at = text.find(pattern);
  if (at == AnsiString::npos) return text;
  AnsiString r = text;
  r.replace(at, pattern.size(), replacement);
  return r;
}

AnsiString GetSpecialFolder(Integer csidl) {
  {
    std::lock_guard<std::mutex> lock(HookMutex());
    if (SpecialFolderHook()) return SpecialFolderHook()(csidl);
  }
  AnsiString folder;
  switch (csidl) {
    case CSIDL_APPDATA:
      folder = rtl::AppDataFolder();
      break;
    case CSIDL_LOCAL_APPDATA: {
      const char* x = std::getenv("XDG_DATA_HOME");
      const char* home = std::getenv("HOME");
      if (x && *x)
        folder = x;
      else if (home && *home)
        folder = AnsiString(home) + "/.local/share";
      break;
    }
    case CSIDL_PERSONAL:
      folder = rtl::DocumentsFolder();
      break;
    default:
      break;
  }
  if (folder.size() > 1) folder = rtl::ExcludeTrailingPathDelimiter(folder);
  return folder;
}

AnsiString GetLoginUserName() {
  {
    std::lock_guard<std::mutex> lock(HookMutex());
    if (UserNameHook()) return UserNameHook()();
  }
  std::array<char, 4096> buf{};
  struct passwd pw {};
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_name)
    return found->pw_name;
  const char* user = std::getenv("USER");
  return user ? user : "";
}

AnsiString ExpandPathMacros(const AnsiString& path) {
  AnsiString s = path;
  AnsiString appName = rtl::ExtractFileName(rtl::ProgramFileName());
  appName = rtl::ChangeFileExt(appName, "");
  s = ReplaceFirst("%AppName%", appName, s);
  if (path.find("%UserName%") != AnsiString::npos) {
    AnsiString user = GetLoginUserName();
    s = ReplaceFirst("%UserName%", user.empty() ? AnsiString("default") : user, s);
  }
  s = ReplaceFirst("%AppDir%", ProgramDir(), s);
  if (path.find("%AppData%") != AnsiString::npos) {
    AnsiString appData = GetSpecialFolder(CSIDL_APPDATA);
    s = ReplaceFirst("%AppData%", appData.empty() ? ProgramDir() : appData, s);
  }
  if (path.find("%MyDocuments%") != AnsiString::npos)
    s = ReplaceFirst("%MyDocuments%", GetSpecialFolder(CSIDL_PERSONAL), s);
  return ExpandEnvironment(s);
}

AnsiString NativeFileName(const AnsiString& name) {
  AnsiString r = name;
  std::replace(r.begin(), r.end(), '\\', rtl::PathDelim);
  return r;
}

bool IsPathName(const AnsiString& name) {
  return name.find('\\') != AnsiString::npos || name.find('/') != AnsiString::npos;
}

bool CanCreateFile(const AnsiString& fileName, bool deleteOnClose) {
  if (fileName.empty()) return false;
  const AnsiString native = NativeFileName(fileName);
  int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  if (deleteOnClose) ::unlink(native.c_str());
  return true;
}

void ForceFolder(const AnsiString& folder) {
  AnsiString native = NativeFileName(folder);
  if (native.empty() || rtl::DirectoryExists(native)) return;
  try {
    rtl::ForceDirectories(native);
  } catch (const rtl::Exception&) {
    // Not reported: the caller finds out when it uses the folder.
  }
}

// ---- distance ----

Integer WordDistance(std::string_view a, std::string_view b) {
  const size_t m = a.size();
  const size_t n = b.size();
  if (m >= 255 || n >= 255) return static_cast<Integer>(std::max(m, n));
  // Every cell is at most 254, so a byte table is enough.
  std::vector<unsigned char> t((m + 1) * (n + 1));
  auto cell = [&](size_t i, size_t j) -> unsigned char& { return t[i * (n + 1) + j]; };
  for (size_t i = 0; i <= m; ++i) cell(i, 0) = static_cast<unsigned char>(i);
  for (size_t j = 0; j <= n; ++j) cell(0, j) = static_cast<unsigned char>(j);
  for (size_t i = 1; i <= m; ++i)
    for (size_t j = 1; j <= n; ++j) {
      if (a[i - 1] == b[j - 1]) {
        cell(i, j) = cell(i - 1, j - 1);
      } else {
        unsigned char best = std::min({cell(i - 1, j), cell(i, j - 1), cell(i - 1, j - 1)});
        cell(i, j) = static_cast<unsigned char>(best + 1);
      }
    }
  Integer d = cell(m, n);
  const size_t limit = std::min(m, n);
  // 1-based positions p as in the two words; a[p] is a[p - 1] here.
  for (size_t p = 2; p <= limit; ++p) {
    if (a[p - 1] == b[p - 2] && a[p - 2] == b[p - 1] && a[p - 1] != a[p - 2] && d > 0) {
      --d;
      ++p;  // two discounts never share a letter
    }
  }
  return d;
}

// ---- custom dictionary hashing ----

Integer WordHash(std::string_view word, Integer size) {
  // Signed 32-bit arithmetic with wrapping products, as the stored tables
  // were laid out with; unsigned arithmetic keeps the wrap defined.
  auto wrap = [](uint32_t v) { return static_cast<int32_t>(v); };
  int32_t h = 0;
  int32_t m = 31415;
  for (unsigned char c : word) {
    h = wrap(static_cast<uint32_t>(m) * static_cast<uint32_t>(h) + c) % size;
    if (h < 0) h = (-h) % size;
    m = wrap(static_cast<uint32_t>(m) * 27183u) % (size - 1);
  }
  return h;
}

Integer ProbeStep(Integer hash) { return hash % 97 + 1; }

namespace {
constexpr std::array<Integer, 24> kTableSizes = {
    251,      509,       1021,      2039,      4093,      8191,       16381,      32749,
    65521,    131071,    262139,    524287,    1048573,   2097143,    4194301,    8388593,
    16777213, 33554393,  67108859,  134217689, 268435399, 536870909,  1073741789, 2147483647};
}

Integer NextTableSize(Integer size) {
  for (Integer s : kTableSizes)
    if (s > size) return s;
  return 0;
}

bool IsTableSize(Integer size) {
  return std::find(kTableSizes.begin(), kTableSizes.end(), size) != kTableSizes.end();
}

namespace testing {
void SetUserNameHook(std::function<AnsiString()> hook) {
  std::lock_guard<std::mutex> lock(HookMutex());
  UserNameHook() = std::move(hook);
}
void SetSpecialFolderHook(std::function<AnsiString(Integer)> hook) {
  std::lock_guard<std::mutex> lock(HookMutex());
  SpecialFolderHook() = std::move(hook);
}
}  // namespace testing

}  // namespace spell
