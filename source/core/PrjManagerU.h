#pragma once
// The project: the list of web files that make up one module's web content,
// each active (goes into the image) or not, kept in a ".PJT" INI file with
// names relative to the project file's folder.
#include "rtl/Collection.h"
#include "rtl/Types.h"

namespace rtl {
class TCustomIniFile;
}

namespace core {

using rtl::AnsiString;

// One file of the project.
class TprjfileCollectionItem : public rtl::TCollectionItem {
 public:
  explicit TprjfileCollectionItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
  virtual const char* ClassName() const { return "TprjfileCollectionItem"; }

  // The file's full path as resolved when it was added or loaded.
  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& path) { name_ = path; }
  // True when the file goes into the image.
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }
  // True for the page that was open when the project was last saved.
  bool Open() const { return open_; }
  void SetOpen(bool open) { open_ = open; }
  void SetNameAndActive(const AnsiString& path, bool active) {
    name_ = path;
    active_ = active;
  }

 private:
  AnsiString name_;
  bool active_ = false;
  bool open_ = false;
};

// The files of a project, in the order of the project file.
class TfileCollection : public rtl::TCollectionOf<TprjfileCollectionItem> {
 public:
  virtual const char* ClassName() const { return "TfileCollection"; }
};

// The open project.
class Tprjmanager {
 public:
  Tprjmanager() = default;
  Tprjmanager(const Tprjmanager&) = delete;
  Tprjmanager& operator=(const Tprjmanager&) = delete;
  virtual ~Tprjmanager() = default;
  virtual const char* ClassName() const { return "Tprjmanager"; }

  // Appends an active, closed item unless FindFile already finds the path;
  // only an append marks the project modified.
  void AddFile(const AnsiString& path);
  // Marks the project modified, then removes the item at index (an index
  // outside the list raises the collection's index error).
  void DeleteFile(rtl::Integer index);
  // Empties the list, forgets the file name, clears the modified flag.
  void Clear();
  // The first item whose resolved name equals the resolved path, letter case
  // ignored; null when none.
  TprjfileCollectionItem* FindFile(const AnsiString& path) const;

  // The project file name, or "project1.PJT" while none is set.
  AnsiString GetFileName() const;
  void SetFileName(const AnsiString& path) { fileName_ = path; }
  // The project file's folder with a trailing delimiter; a lone delimiter
  // while no file name is set.
  AnsiString GetProjectDir() const;
  bool HasFileName() const { return !fileName_.empty(); }
  // True when a file name is set and that file exists.
  bool FileNameExists() const;

  // Replaces the list with the "PROJECT" and "FILES" sections of ini and
  // clears the modified flag. Set the file name first: stored names are
  // relative to it.
  void LoadFromIni(rtl::TCustomIniFile& ini);
  // Rewrites the "FILES" section and "NUM.FILES" of "PROJECT" in ini and
  // clears the modified flag. The caller makes the file permanent
  // (UpdateFile) once every section of the project file is written.
  void SaveToIni(rtl::TCustomIniFile& ini);

  TfileCollection& Files() { return files_; }
  const TfileCollection& Files() const { return files_; }
  rtl::Integer Count() const { return files_.Count(); }
  TprjfileCollectionItem* Item(rtl::Integer index) const { return files_.GetItem(index); }
  bool Modified() const { return modified_; }

 private:
  // The folder names are resolved against: the project file's folder made
  // absolute, or empty (the current folder) while no file name is set.
  AnsiString BaseFolder() const;

  TfileCollection files_;
  AnsiString fileName_;
  bool modified_ = false;
};

// Resolves a path given by the program (a native path, or a name with a
// drive or share part) against a folder: a path with a drive letter and
// colon, a share ("\\" or "//" first) or a leading "/" is absolute and comes
// back unchanged. Otherwise the path's segments, split at "\" and "/" alike,
// are applied to the folder one by one: ".." drops the last folder part
// gathered so far (the folder's own parts when the path has none left),
// "." and empty segments are dropped. An empty folder is the current one.
// The result uses native delimiters.
AnsiString ResolveProjectPath(const AnsiString& path, const AnsiString& folder);
// The same for a name stored in a project file: stored names are relative
// even when they begin with a delimiter (that one is dropped); only drive
// and share names are absolute.
AnsiString ResolveStoredPath(const AnsiString& stored, const AnsiString& folder);
// True for "X:" (any letter) at the start, or a share name.
bool HasDrivePart(const AnsiString& path);

}  // namespace core
