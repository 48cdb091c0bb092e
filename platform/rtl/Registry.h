#pragma once
// A stand-in for the desktop's per-user registry, for the settings that the
// components keep "in the registry" (spell configuration, panel layouts,
// toolbar state).
//
// Only the current user's hive holds anything. It lives in one INI file,
// "registry.ini" in the folder "tolvane" under the application-data folder
// (tests point it elsewhere with SetRegistryFile): a section per key path
// ("Software\Vendor\App\Sub", the path as first written), a line per value.
// A string is stored quoted with "\\", "\r" and "\n" escaped; an integer as
// "dword:" and eight hexadecimal digits, so that reading the wrong type is
// told apart as on the desktop; the unnamed default value is "@". Key paths
// and value names are compared without regard to ASCII case.
//
// The other roots exist but hold nothing: opening a key there for reading
// fails, creating one raises. Every change is written at once, replacing the
// file atomically (a failure raises ERegistryException and leaves the old
// file whole), unless a TRegistryIniFile gathers its changes into one write.
// One store serves the whole process, under a lock; it re-reads the file
// when another process changed it.
#include <cstdint>

#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/Types.h"

namespace rtl {

class TStrings;

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

RTL_DECLARE_EXCEPTION(ERegistryException, Exception);

// The file behind the current user's hive; "" restores the default. The
// store forgets what it read and reads the new file on its next use.
void SetRegistryFile(const AnsiString& path);
AnsiString RegistryFile();

// The data type of a stored value.
enum class TRegDataType { rdUnknown, rdString, rdInteger };

class TRegistry {
 public:
  TRegistry();
  explicit TRegistry(HKEY rootKey);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return root_; }
  // Closes the open key first.
  void SetRootKey(HKEY root);
  // The open key's path below the root, without leading delimiter; "" when none.
  const AnsiString& CurrentPath() const { return current_; }
  bool HasOpenKey() const { return open_; }

  // A key beginning with "\" is taken from the root, any other below the
  // open key. Opening a key that does not exist creates it when canCreate
  // is set (raising when the root cannot hold keys), else fails.
  bool OpenKey(const AnsiString& key, bool canCreate);
  bool OpenKeyReadOnly(const AnsiString& key);
  void CloseKey();
  bool CreateKey(const AnsiString& key);
  // Removes the key with its values and every key below it.
  bool DeleteKey(const AnsiString& key);
  bool KeyExists(const AnsiString& key);

  bool ValueExists(const AnsiString& name);
  bool DeleteValue(const AnsiString& name);
  TRegDataType GetDataType(const AnsiString& name);
  // Names of the keys directly below the open key, in the order first made.
  void GetKeyNames(TStrings& strings);
  void GetValueNames(TStrings& strings);
  bool HasSubKeys();

  // A missing value reads as ""; an integer value raises "Invalid data
  // type for '<name>'".
  AnsiString ReadString(const AnsiString& name);
  void WriteString(const AnsiString& name, const AnsiString& value);
  // A missing value raises "Failed to get data for '<name>'"; a string
  // value raises "Invalid data type for '<name>'".
  Integer ReadInteger(const AnsiString& name);
  void WriteInteger(const AnsiString& name, Integer value);
  bool ReadBool(const AnsiString& name);
  void WriteBool(const AnsiString& name, bool value);

 private:
  friend class TRegistryIniFile;
  AnsiString Resolve(const AnsiString& key) const;
  void RequireOpen(const char* what, const AnsiString& name) const;

  HKEY root_;
  AnsiString current_;
  bool open_ = false;
  bool readOnly_ = false;
  bool deferWrites_ = false;
};

// The INI-file view of a registry key: sections are the keys below it,
// idents their values. Changes stay in the process's store until
// UpdateFile (or the destructor) writes them in one replace of the file.
class TRegistryIniFile : public TCustomIniFile {
 public:
  // fileName is the key path below the root ("Software\Vendor\App").
  explicit TRegistryIniFile(const AnsiString& fileName, HKEY root = HKEY_CURRENT_USER);
  ~TRegistryIniFile() override;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                        const AnsiString& def) override;
  void WriteString(const AnsiString& section, const AnsiString& ident,
                   const AnsiString& value) override;
  // Reads an integer value, or a string value holding a number.
  Integer ReadInteger(const AnsiString& section, const AnsiString& ident, Integer def) override;
  // Writes an integer value.
  void WriteInteger(const AnsiString& section, const AnsiString& ident, Integer value) override;
  void ReadSection(const AnsiString& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const AnsiString& section, TStrings& strings) override;
  void EraseSection(const AnsiString& section) override;
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  // Writes the gathered changes; raises ERegistryException when the file
  // cannot be written (the changes stay gathered for another try).
  void UpdateFile() override;

  TRegistry& RegIniFile() { return reg_; }

 private:
  AnsiString SectionKey(const AnsiString& section) const;
  TRegistry reg_;
  bool dirty_ = false;
};

}  // namespace rtl
