#include "core/PrjManagerU.h"

#include <algorithm>
#include <string>
#include <vector>

#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {
namespace {

constexpr const char* kProjectSection = "PROJECT";
constexpr const char* kFilesSection = "FILES";
constexpr const char* kNumFiles = "NUM.FILES";
constexpr const char* kDefaultFileName = "project1.PJT";

bool IsDelimiter(char c) { return c == '\\' || c == '/'; }

AnsiString FileKey(rtl::Integer i, const char* what) {
  return "FILE." + std::to_string(i) + "." + what;
}

std::vector<AnsiString> SplitSegments(const AnsiString& path) {
  std::vector<AnsiString> parts;
  AnsiString current;
  for (char c : path) {
    if (IsDelimiter(c)) {
      parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  parts.push_back(current);
  return parts;
}

// The folder as absolute native folder parts ("/a/b" -> {"a", "b"}).
std::vector<AnsiString> FolderParts(const AnsiString& folder) {
  AnsiString base = folder.empty() ? rtl::GetCurrentDir() : folder;
  if (base.empty() || base[0] != rtl::PathDelim) base = rtl::ExpandFileName(base);
  std::vector<AnsiString> parts;
  for (AnsiString& part : SplitSegments(base))
    if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

AnsiString Resolve(const AnsiString& path, const AnsiString& folder) {
  std::vector<AnsiString> base = FolderParts(folder);
  std::vector<AnsiString> rest;
  for (AnsiString& segment : SplitSegments(path)) {
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") {
      if (!rest.empty())
        rest.pop_back();
      else if (!base.empty())
        base.pop_back();  // the root stays the root
      continue;
    }
    rest.push_back(std::move(segment));
  }
  AnsiString result;
  for (const AnsiString& part : base) result += rtl::PathDelim + part;
  result += rtl::PathDelim;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (i > 0) result += rtl::PathDelim;
    result += rest[i];
  }
  return result;
}

// The indexes below count whose name key is present, in ascending order.
// Entries without a name key are skipped anyway, so walking only these gives
// the same list as walking 0 .. count-1, without a damaged count (two
// thousand million, say) keeping the program busy.
std::vector<rtl::Integer> NamedEntries(rtl::TCustomIniFile& ini, rtl::Integer count) {
  rtl::TStringList keys;
  ini.ReadSection(kFilesSection, keys);
  std::vector<rtl::Integer> indexes;
  for (rtl::Integer k = 0; k < keys.Count(); ++k) {
    const AnsiString key = keys.Get(k);
    // "FILE." digits ".Name", the digits as a number is written: no sign,
    // no leading zero.
    if (key.size() < 11 || !rtl::SameText(key.substr(0, 5), "FILE.") ||
        !rtl::SameText(key.substr(key.size() - 5), ".Name"))
      continue;
    const AnsiString digits = key.substr(5, key.size() - 10);
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0') ||
        digits.find_first_not_of("0123456789") != AnsiString::npos)
      continue;
    const long long index = std::stoll(digits);
    if (index < count) indexes.push_back(static_cast<rtl::Integer>(index));
  }
  std::sort(indexes.begin(), indexes.end());
  indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  return indexes;
}

}  // namespace

bool HasDrivePart(const AnsiString& path) {
  if (path.size() < 2) return false;
  const unsigned char first = static_cast<unsigned char>(path[0]);
  const bool letter = (first | 0x20) >= 'a' && (first | 0x20) <= 'z';
  return (letter && path[1] == ':') || (IsDelimiter(path[0]) && IsDelimiter(path[1]));
}

AnsiString ResolveProjectPath(const AnsiString& path, const AnsiString& folder) {
  if (HasDrivePart(path) || (!path.empty() && path[0] == rtl::PathDelim)) return path;
  return Resolve(path, folder);
}

AnsiString ResolveStoredPath(const AnsiString& stored, const AnsiString& folder) {
  if (HasDrivePart(stored)) return stored;
  // A leading delimiter is an empty first segment, which Resolve drops.
  return Resolve(stored, folder);
}

void Tprjmanager::AddFile(const AnsiString& path) {
  if (FindFile(path)) return;
  TprjfileCollectionItem* item = files_.Add();
  item->SetName(path);
  item->SetActive(true);
  item->SetOpen(false);
  modified_ = true;
}

void Tprjmanager::DeleteFile(rtl::Integer index) {
  modified_ = true;
  files_.Delete(index);
}

void Tprjmanager::Clear() {
  files_.Clear();
  fileName_.clear();
  modified_ = false;
}

TprjfileCollectionItem* Tprjmanager::FindFile(const AnsiString& path) const {
  const AnsiString base = BaseFolder();
  const AnsiString wanted = ResolveProjectPath(path, base);
  for (rtl::Integer i = 0; i < files_.Count(); ++i) {
    TprjfileCollectionItem* item = files_.GetItem(i);
    if (rtl::AnsiSameText(ResolveProjectPath(item->Name(), base), wanted)) return item;
  }
  return nullptr;
}

AnsiString Tprjmanager::GetFileName() const { return HasFileName() ? fileName_ : kDefaultFileName; }

AnsiString Tprjmanager::GetProjectDir() const {
  if (!HasFileName()) return AnsiString(1, rtl::PathDelim);
  return rtl::IncludeTrailingPathDelimiter(rtl::ExtractFilePath(rtl::ExpandFileName(fileName_)));
}

bool Tprjmanager::FileNameExists() const { return HasFileName() && rtl::FileExists(fileName_); }

AnsiString Tprjmanager::BaseFolder() const {
  if (!HasFileName()) return {};
  return rtl::ExtractFilePath(rtl::ExpandFileName(fileName_));
}

void Tprjmanager::LoadFromIni(rtl::TCustomIniFile& ini) {
  files_.Clear();
  const AnsiString base = BaseFolder();
  const rtl::Integer count = ini.ReadInteger(kProjectSection, kNumFiles, 0);
  for (rtl::Integer i : NamedEntries(ini, count)) {
    const bool active = ini.ReadBool(kFilesSection, FileKey(i, "ACTIVE"), false);
    const AnsiString stored = ini.ReadString(kFilesSection, FileKey(i, "Name"), "");
    if (stored.empty()) continue;
    TprjfileCollectionItem* item = files_.Add();
    item->SetNameAndActive(ResolveStoredPath(stored, base), active);
    item->SetOpen(ini.ReadBool(kFilesSection, FileKey(i, "OPEN"), false));
  }
  modified_ = false;
}

void Tprjmanager::SaveToIni(rtl::TCustomIniFile& ini) {
  AnsiString base = BaseFolder();
  if (base.empty()) base = rtl::GetCurrentDir();
  base = rtl::IncludeTrailingPathDelimiter(base);
  ini.EraseSection(kFilesSection);
  ini.WriteInteger(kProjectSection, kNumFiles, files_.Count());
  for (rtl::Integer i = 0; i < files_.Count(); ++i) {
    const TprjfileCollectionItem* item = files_.GetItem(i);
    AnsiString stored = item->Name();
    if (!HasDrivePart(stored))
      stored = rtl::NativeToStoredPath(rtl::ExtractRelativePath(base, ResolveProjectPath(stored, base)));
    ini.WriteString(kFilesSection, FileKey(i, "Name"), stored);
    ini.WriteBool(kFilesSection, FileKey(i, "ACTIVE"), item->Active());
    ini.WriteBool(kFilesSection, FileKey(i, "OPEN"), item->Open());
  }
  modified_ = false;
}

}  // namespace core
