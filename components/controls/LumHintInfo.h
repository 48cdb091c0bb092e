#pragma once
// The office-hint record: a title, notes, a picture and a show-help flag.
// Controls own one as their OfficeHint setting and copy into it with
// Assign.
#include <memory>

#include "controls/GDIPicture.h"
#include "rtl/StringList.h"
#include "vcl/Components.h"

namespace controls {

class TLumHintInfo : public vcl::TPersistent {
 public:
  TLumHintInfo();
  ~TLumHintInfo() override;

  // From another hint record only: the title, the notes' lines, the help
  // flag, the picture, the wide title and notes. Anything else (nil too)
  // is ignored without an error.
  void Assign(const vcl::TPersistent* Source) override;

  TGDIPPicture* Picture() const { return picture_.get(); }
  // Copies the picture into the owned one.
  void SetPicture(const TGDIPPicture* Value) { picture_->Assign(Value); }
  bool ShowHelp() const { return showHelp_; }
  void SetShowHelp(bool Value) { showHelp_ = Value; }
  rtl::TStringList* Notes() const { return notes_.get(); }
  // Copies the lines into the owned list.
  void SetNotes(const rtl::TStrings* Value);
  const vcl::AnsiString& Title() const { return title_; }
  void SetTitle(const vcl::AnsiString& Value) { title_ = Value; }
  // Not streamed.
  const vcl::WideString& UnicodeTitle() const { return unicodeTitle_; }
  void SetUnicodeTitle(const vcl::WideString& Value) { unicodeTitle_ = Value; }
  const vcl::WideString& UnicodeNotes() const { return unicodeNotes_; }
  void SetUnicodeNotes(const vcl::WideString& Value) { unicodeNotes_ = Value; }

 private:
  std::unique_ptr<TGDIPPicture> picture_;
  bool showHelp_ = false;
  std::unique_ptr<rtl::TStringList> notes_;
  vcl::AnsiString title_;
  vcl::WideString unicodeTitle_;
  vcl::WideString unicodeNotes_;
};

}  // namespace controls
