#pragma once
// The clipboard with the desktop's numbered formats: text, and formats
// registered by name (the same name always gets the same number).
#include <string>
#include <vector>

#include "vcl/Components.h"

namespace vcl {

using TClipboardFormat = Word;
inline constexpr TClipboardFormat CF_TEXT = 1;
inline constexpr TClipboardFormat CF_BITMAP = 2;
inline constexpr TClipboardFormat CF_UNICODETEXT = 13;
inline constexpr TClipboardFormat CF_HDROP = 15;

// A number from 0xC000 up for a format name, case ignored; the same name
// answers the same number for the life of the process. 0 for an empty name.
TClipboardFormat RegisterClipboardFormat(const AnsiString& name);
// The name a registered format was given; "" for other numbers.
AnsiString GetClipboardFormatName(TClipboardFormat format);

class TClipboard : public TPersistent {
 public:
  TClipboard();
  ~TClipboard() override;
  // Between Open and Close every format set is kept together; the first one
  // set empties the clipboard. Outside Open and Close each setting replaces
  // the clipboard's contents. Brackets nest.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(TClipboardFormat format) const;
  // The formats on the clipboard now.
  std::vector<TClipboardFormat> Formats() const;
  Integer FormatCount() const { return static_cast<Integer>(Formats().size()); }

  AnsiString AsText() const;
  void SetAsText(const AnsiString& text);
  // The bytes of a format; empty when it is not there.
  std::string GetAsBytes(TClipboardFormat format) const;
  void SetAsBytes(TClipboardFormat format, const std::string& bytes);

 private:
  struct Pending;
  Pending* Target();
  void Commit();
  Integer openCount_ = 0;
  Pending* pending_ = nullptr;  // owned while open
};

// The process's clipboard object.
TClipboard* Clipboard();

}  // namespace vcl
