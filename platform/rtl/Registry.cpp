#include "rtl/Registry.h"

#include <sys/stat.h>

#include <memory>
#include <mutex>

#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Format.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace rtl {

namespace {

constexpr char kDefaultValueName[] = "@";
constexpr char kDwordPrefix[] = "dword:";

// What the loaded document was read from; a change on disk means re-read.
struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtimeNs = 0;

  static FileStamp Of(const AnsiString& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
      s.exists = true;
      s.dev = st.st_dev;
      s.ino = st.st_ino;
      s.size = st.st_size;
      s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    }
    return s;
  }
  bool operator==(const FileStamp&) const = default;
};

// The current user's hive: one document for the process.
struct Store {
  std::mutex mutex;
  AnsiString overrideFile;
  AnsiString loadedFile;
  FileStamp stamp;
  std::unique_ptr<TMemIniFile> ini;
  bool pending = false;  // changes not yet written to the file

  AnsiString FileName() const {
    if (!overrideFile.empty()) return overrideFile;
    return IncludeTrailingPathDelimiter(AppDataFolder()) + "tolvane/registry.ini";
  }

  // Called with the mutex held: the document for the current file, read
  // again when another process has replaced the file.
  TMemIniFile& Doc() {
    AnsiString file = FileName();
    if (!ini || file != loadedFile || (!pending && !(FileStamp::Of(file) == stamp))) {
      stamp = FileStamp::Of(file);
      ini = std::make_unique<TMemIniFile>(file);
      loadedFile = file;
      pending = false;
    }
    return *ini;
  }

  void Persist() {
    AnsiString dir = ExtractFileDir(loadedFile);
    if (!dir.empty()) ForceDirectories(dir);
    try {
      ini->UpdateFile();
    } catch (const Exception& e) {
      pending = true;
      throw ERegistryException("Failed to write the registry file " + loadedFile + ": " + e.Message());
    }
    pending = false;
    stamp = FileStamp::Of(loadedFile);
  }

  void Changed(bool defer) {
    if (defer)
      pending = true;
    else
      Persist();
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

// "A\\B\" and "\A\B" name the same key as "A\B".
AnsiString NormalizePath(const AnsiString& path) {
  AnsiString out;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!out.empty() && out.back() != '\\') out += '\\';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

bool IsBelow(const AnsiString& path, const AnsiString& key) {
  if (key.empty()) return true;
  return path.size() > key.size() && path[key.size()] == '\\' &&
         SameText(path.substr(0, key.size()), key);
}

bool KeyExistsIn(TMemIniFile& doc, const AnsiString& path) {
  if (path.empty()) return true;
  TStringList sections;
  doc.ReadSections(sections);
  for (Integer i = 0; i < sections.Count(); ++i)
    if (SameText(sections[i], path) || IsBelow(sections[i], path)) return true;
  return false;
}

void MakeKey(TMemIniFile& doc, const AnsiString& path) {
  if (path.empty() || doc.SectionExists(path)) return;
  // The document has no call for an empty section: write a line and take it
  // back, which leaves the section's header.
  doc.WriteString(path, kDefaultValueName, AnsiString());
  doc.DeleteKey(path, kDefaultValueName);
}

bool ValidKeyPath(const AnsiString& path) {
  return path.find_first_of("[]\r\n") == AnsiString::npos;
}

AnsiString StoredName(const AnsiString& name) {
  return name.empty() ? AnsiString(kDefaultValueName) : name;
}

bool ValidValueName(const AnsiString& name) {
  return name.find_first_of("=\r\n") == AnsiString::npos && Trim(name) == name &&
         (name.empty() || (name[0] != '[' && name[0] != ';'));
}

AnsiString EncodeString(const AnsiString& value) {
  AnsiString out = "\"";
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

AnsiString EncodeInteger(Integer value) {
  return kDwordPrefix + Format("%.8x", {static_cast<Integer>(value)});
}

struct StoredValue {
  TRegDataType type = TRegDataType::rdUnknown;
  AnsiString text;
  Integer number = 0;
};

StoredValue Decode(const AnsiString& raw) {
  StoredValue v;
  if (raw.size() == 6 + 8 && StartsText(kDwordPrefix, raw)) {
    Int64 n = 0;
    if (TryStrToInt64("$" + raw.substr(6), n)) {
      v.type = TRegDataType::rdInteger;
      v.number = static_cast<Integer>(static_cast<uint32_t>(n));
      return v;
    }
  }
  v.type = TRegDataType::rdString;
  if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
    for (size_t i = 1; i + 1 < raw.size(); ++i) {
      char c = raw[i];
      if (c == '\\' && i + 2 < raw.size()) {
        char e = raw[++i];
        v.text += e == 'r' ? '\r' : e == 'n' ? '\n' : e;
      } else {
        v.text += c;
      }
    }
  } else {
    v.text = raw;  // written by hand
  }
  return v;
}

bool Lookup(TMemIniFile& doc, const AnsiString& path, const AnsiString& name, StoredValue& out) {
  if (!doc.ValueExists(path, StoredName(name))) return false;
  out = Decode(doc.ReadString(path, StoredName(name), AnsiString()));
  return true;
}

}  // namespace

void SetRegistryFile(const AnsiString& path) {
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.overrideFile = path;
  s.ini.reset();
  s.pending = false;
}

AnsiString RegistryFile() {
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.FileName();
}

// ----------------------------------------------------------------- TRegistry

TRegistry::TRegistry() : TRegistry(HKEY_CURRENT_USER) {}

TRegistry::TRegistry(HKEY rootKey) : root_(rootKey) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

AnsiString TRegistry::Resolve(const AnsiString& key) const {
  if (!key.empty() && (key[0] == '\\' || key[0] == '/')) return NormalizePath(key);
  if (open_ && !current_.empty()) return NormalizePath(current_ + "\\" + key);
  return NormalizePath(key);
}

void TRegistry::RequireOpen(const char* what, const AnsiString& name) const {
  if (!open_ || readOnly_ || root_ != HKEY_CURRENT_USER)
    throw ERegistryException(Format("Failed to %s data for '%s'", {what, name}));
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
  AnsiString path = Resolve(key);
  CloseKey();
  if (root_ != HKEY_CURRENT_USER || !ValidKeyPath(path)) return false;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TMemIniFile& doc = s.Doc();
  if (!KeyExistsIn(doc, path)) {
    if (!canCreate) return false;
    MakeKey(doc, path);
    s.Changed(deferWrites_);
  }
  current_ = path;
  open_ = true;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) {
  AnsiString path = Resolve(key);
  CloseKey();
  if (root_ != HKEY_CURRENT_USER) return false;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (!KeyExistsIn(s.Doc(), path)) return false;
  current_ = path;
  open_ = true;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  open_ = false;
  readOnly_ = false;
  current_.clear();
}

bool TRegistry::CreateKey(const AnsiString& key) {
  AnsiString path = Resolve(key);
  if (root_ != HKEY_CURRENT_USER || path.empty() || !ValidKeyPath(path))
    throw ERegistryException(Format("Failed to create key %s", {key}));
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TMemIniFile& doc = s.Doc();
  if (!KeyExistsIn(doc, path)) {
    MakeKey(doc, path);
    s.Changed(deferWrites_);
  }
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& key) {
  AnsiString path = Resolve(key);
  if (root_ != HKEY_CURRENT_USER || path.empty()) return false;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TMemIniFile& doc = s.Doc();
  if (!KeyExistsIn(doc, path)) return false;
  TStringList sections;
  doc.ReadSections(sections);
  for (Integer i = 0; i < sections.Count(); ++i)
    if (SameText(sections[i], path) || IsBelow(sections[i], path)) doc.EraseSection(sections[i]);
  s.Changed(deferWrites_);
  return true;
}

bool TRegistry::KeyExists(const AnsiString& key) {
  if (root_ != HKEY_CURRENT_USER) return false;
  AnsiString path = Resolve(key);
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  return KeyExistsIn(s.Doc(), path);
}

bool TRegistry::ValueExists(const AnsiString& name) {
  return GetDataType(name) != TRegDataType::rdUnknown;
}

TRegDataType TRegistry::GetDataType(const AnsiString& name) {
  if (!open_ || root_ != HKEY_CURRENT_USER) return TRegDataType::rdUnknown;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  StoredValue v;
  return Lookup(s.Doc(), current_, name, v) ? v.type : TRegDataType::rdUnknown;
}

bool TRegistry::DeleteValue(const AnsiString& name) {
  if (!open_ || readOnly_ || root_ != HKEY_CURRENT_USER) return false;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TMemIniFile& doc = s.Doc();
  if (!doc.ValueExists(current_, StoredName(name))) return false;
  doc.DeleteKey(current_, StoredName(name));
  s.Changed(deferWrites_);
  return true;
}

void TRegistry::GetKeyNames(TStrings& strings) {
  strings.Clear();
  if (!open_ || root_ != HKEY_CURRENT_USER) return;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TStringList sections;
  s.Doc().ReadSections(sections);
  size_t skip = current_.empty() ? 0 : current_.size() + 1;
  for (Integer i = 0; i < sections.Count(); ++i) {
    const AnsiString& section = sections[i];
    if (!IsBelow(section, current_)) continue;
    AnsiString child = section.substr(skip);
    child = child.substr(0, child.find('\\'));
    bool known = false;
    for (Integer j = 0; j < strings.Count() && !known; ++j) known = SameText(strings[j], child);
    if (!known && !child.empty()) strings.Add(child);
  }
}

void TRegistry::GetValueNames(TStrings& strings) {
  strings.Clear();
  if (!open_ || root_ != HKEY_CURRENT_USER || current_.empty()) return;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  TStringList names;
  s.Doc().ReadSection(current_, names);
  for (Integer i = 0; i < names.Count(); ++i)
    strings.Add(names[i] == kDefaultValueName ? AnsiString() : names[i]);
}

bool TRegistry::HasSubKeys() {
  TStringList names;
  GetKeyNames(names);
  return names.Count() > 0;
}

AnsiString TRegistry::ReadString(const AnsiString& name) {
  if (!open_ || root_ != HKEY_CURRENT_USER) return AnsiString();
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  StoredValue v;
  if (!Lookup(s.Doc(), current_, name, v)) return AnsiString();
  if (v.type != TRegDataType::rdString)
    throw ERegistryException(Format("Invalid data type for '%s'", {name}));
  return v.text;
}

Integer TRegistry::ReadInteger(const AnsiString& name) {
  StoredValue v;
  bool found = false;
  if (open_ && root_ == HKEY_CURRENT_USER) {
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    found = Lookup(s.Doc(), current_, name, v);
  }
  if (!found) throw ERegistryException(Format("Failed to get data for '%s'", {name}));
  if (v.type != TRegDataType::rdInteger)
    throw ERegistryException(Format("Invalid data type for '%s'", {name}));
  return v.number;
}

bool TRegistry::ReadBool(const AnsiString& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) {
  RequireOpen("set", name);
  if (!ValidValueName(name)) throw ERegistryException(Format("Failed to set data for '%s'", {name}));
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.Doc().WriteString(current_, StoredName(name), EncodeString(value));
  s.Changed(deferWrites_);
}

void TRegistry::WriteInteger(const AnsiString& name, Integer value) {
  RequireOpen("set", name);
  if (!ValidValueName(name)) throw ERegistryException(Format("Failed to set data for '%s'", {name}));
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.Doc().WriteString(current_, StoredName(name), EncodeInteger(value));
  s.Changed(deferWrites_);
}

void TRegistry::WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

// ---------------------------------------------------------- TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const AnsiString& fileName, HKEY root)
    : TCustomIniFile(fileName), reg_(root) {
  reg_.deferWrites_ = true;
}

TRegistryIniFile::~TRegistryIniFile() {
  try {
    UpdateFile();
  } catch (const Exception&) {
    // A destructor cannot report; callers who care call UpdateFile themselves.
  }
}

AnsiString TRegistryIniFile::SectionKey(const AnsiString& section) const {
  return "\\" + FileName() + "\\" + section;
}

AnsiString TRegistryIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                        const AnsiString& def) {
  if (!reg_.OpenKeyReadOnly(SectionKey(section))) return def;
  AnsiString result = def;
  switch (reg_.GetDataType(ident)) {
    case TRegDataType::rdString: result = reg_.ReadString(ident); break;
    case TRegDataType::rdInteger: result = IntToStr(reg_.ReadInteger(ident)); break;
    case TRegDataType::rdUnknown: break;
  }
  reg_.CloseKey();
  return result;
}

Integer TRegistryIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident,
                                      Integer def) {
  if (!reg_.OpenKeyReadOnly(SectionKey(section))) return def;
  Integer result = def;
  switch (reg_.GetDataType(ident)) {
    case TRegDataType::rdString: result = StrToIntDef(Trim(reg_.ReadString(ident)), def); break;
    case TRegDataType::rdInteger: result = reg_.ReadInteger(ident); break;
    case TRegDataType::rdUnknown: break;
  }
  reg_.CloseKey();
  return result;
}

void TRegistryIniFile::WriteString(const AnsiString& section, const AnsiString& ident,
                                   const AnsiString& value) {
  if (!reg_.OpenKey(SectionKey(section), true))
    throw ERegistryException(Format("Failed to set data for '%s'", {ident}));
  dirty_ = true;
  reg_.WriteString(ident, value);
  reg_.CloseKey();
}

void TRegistryIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident,
                                    Integer value) {
  if (!reg_.OpenKey(SectionKey(section), true))
    throw ERegistryException(Format("Failed to set data for '%s'", {ident}));
  dirty_ = true;
  reg_.WriteInteger(ident, value);
  reg_.CloseKey();
}

void TRegistryIniFile::ReadSection(const AnsiString& section, TStrings& strings) {
  strings.Clear();
  if (!reg_.OpenKeyReadOnly(SectionKey(section))) return;
  reg_.GetValueNames(strings);
  reg_.CloseKey();
}

void TRegistryIniFile::ReadSections(TStrings& strings) {
  strings.Clear();
  if (!reg_.OpenKeyReadOnly("\\" + FileName())) return;
  reg_.GetKeyNames(strings);
  reg_.CloseKey();
}

void TRegistryIniFile::ReadSectionValues(const AnsiString& section, TStrings& strings) {
  TStringList names;
  ReadSection(section, names);
  strings.Clear();
  for (Integer i = 0; i < names.Count(); ++i)
    strings.Add(names[i] + "=" + ReadString(section, names[i], AnsiString()));
}

void TRegistryIniFile::EraseSection(const AnsiString& section) {
  if (reg_.DeleteKey(SectionKey(section))) dirty_ = true;
}

void TRegistryIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  if (!reg_.OpenKey(SectionKey(section), false)) return;
  if (reg_.DeleteValue(ident)) dirty_ = true;
  reg_.CloseKey();
}

void TRegistryIniFile::UpdateFile() {
  if (!dirty_) return;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.Doc();
  if (s.pending) s.Persist();
  dirty_ = false;
}

}  // namespace rtl
