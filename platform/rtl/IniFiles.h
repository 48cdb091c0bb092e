#pragma once
// INI files with the desktop profile rules: section and key names compared
// without regard to ASCII case, blanks around names and around "=" ignored,
// CR LF written (LF or CR LF read), comment lines (";") and unknown lines
// kept on rewrite, section and key order stable, new keys appended at the
// end of their section. Reading never creates the file. A write replaces
// the file atomically (temporary file beside it, flushed, renamed over it),
// so a failure leaves the old file whole; a write that cannot be made raises.
// Values are 8-bit text; stored bytes that are not valid UTF-8 are read as
// Windows-1252.
#include <memory>

#include "rtl/Types.h"

namespace rtl {

class TStrings;

namespace ini_detail {
struct Document;
}

class TCustomIniFile {
 public:
  explicit TCustomIniFile(AnsiString fileName) : fileName_(std::move(fileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;
  virtual ~TCustomIniFile() = default;

  const AnsiString& FileName() const { return fileName_; }

  // The value of ident in section, or def when either is missing.
  virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& def) = 0;
  virtual void WriteString(const AnsiString& section, const AnsiString& ident,
                           const AnsiString& value) = 0;
  // Decimal (or "0x"/"$" hexadecimal) integer; def when missing or not a number.
  // Virtual so that a store with typed values (the registry) keeps integers as such.
  virtual Integer ReadInteger(const AnsiString& section, const AnsiString& ident, Integer def);
  virtual void WriteInteger(const AnsiString& section, const AnsiString& ident, Integer value);
  // Any non-zero integer is true; def when missing or not a number.
  bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def);
  // Writes "1" or "0".
  void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
  // Locale-free floating-point text; def when missing or not a number.
  double ReadFloat(const AnsiString& section, const AnsiString& ident, double def);
  void WriteFloat(const AnsiString& section, const AnsiString& ident, double value);

  bool SectionExists(const AnsiString& section);
  bool ValueExists(const AnsiString& section, const AnsiString& ident);
  // Replaces strings with the key names of section, in file order.
  virtual void ReadSection(const AnsiString& section, TStrings& strings) = 0;
  // Replaces strings with the section names, in file order.
  virtual void ReadSections(TStrings& strings) = 0;
  // Replaces strings with the "key=value" lines of section, in file order.
  virtual void ReadSectionValues(const AnsiString& section, TStrings& strings) = 0;
  virtual void EraseSection(const AnsiString& section) = 0;
  virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
  // Makes pending changes permanent.
  virtual void UpdateFile() = 0;

 private:
  AnsiString fileName_;
};

// The whole file in memory: read once by the constructor (a missing file
// gives an empty one), written only by UpdateFile, which raises
// EFCreateError naming the file when it cannot be written.
class TMemIniFile : public TCustomIniFile {
 public:
  explicit TMemIniFile(const AnsiString& fileName);
  ~TMemIniFile() override;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                        const AnsiString& def) override;
  void WriteString(const AnsiString& section, const AnsiString& ident,
                   const AnsiString& value) override;
  void ReadSection(const AnsiString& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const AnsiString& section, TStrings& strings) override;
  void EraseSection(const AnsiString& section) override;
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  void UpdateFile() override;

  // Forgets every section (the file is untouched until UpdateFile).
  void Clear();
  // The file's lines as they would be written (CR LF between them).
  void GetStrings(TStrings& strings) const;
  // Replaces the contents with these lines.
  void SetStrings(const TStrings& strings);

 private:
  std::unique_ptr<ini_detail::Document> doc_;
};

// Every read looks at the file as it is on disk now; every write,
// EraseSection and DeleteKey goes to disk at once. A write that cannot be
// made raises EIniFileException "Unable to write to <file>. <reason>".
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const AnsiString& fileName);
  ~TIniFile() override;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                        const AnsiString& def) override;
  void WriteString(const AnsiString& section, const AnsiString& ident,
                   const AnsiString& value) override;
  void ReadSection(const AnsiString& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const AnsiString& section, TStrings& strings) override;
  void EraseSection(const AnsiString& section) override;
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  // Nothing is pending; present for the common interface.
  void UpdateFile() override;

 private:
  // The file as it is now (re-read only when it changed on disk).
  ini_detail::Document& Current();
  void Store();

  std::unique_ptr<ini_detail::Document> doc_;
  struct Stamp;
  std::unique_ptr<Stamp> stamp_;
};

}  // namespace rtl
