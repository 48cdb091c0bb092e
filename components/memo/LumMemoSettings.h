#pragma once
// The option groups the code editor owns and publishes: the gutter, the
// active line, markers, code folding, auto-completion, auto-correct, print
// options and the character style of URLs. Each holds its values and tells
// its editor to repaint or re-lay out where a value changes what shows.
#include <functional>
#include <memory>

#include "rtl/Collection.h"
#include "rtl/StringList.h"
#include "vcl/Graphics.h"

namespace vcl {
class TBitmap;
class TImageList;
}  // namespace vcl

namespace memo {

using rtl::AnsiString;
using rtl::Integer;
using vcl::TColor;

class TLumCustomMemo;

// Text colour, background and font styles of one kind of text.
class TCharStyle : public vcl::TPersistent {
 public:
  TColor TextColor = vcl::clBlack;
  TColor BkColor = vcl::clWhite;
  vcl::TFontStyles Style;
  void Assign(const vcl::TPersistent* source) override;
};

class TLumGutter : public vcl::TPersistent {
 public:
  explicit TLumGutter(TLumCustomMemo* memo);
  ~TLumGutter() override;

  TLumCustomMemo* Memo() const { return memo_; }
  // The gutter rectangle in the editor's client area (the editor sets it).
  Integer Left = 1, Top = 1, Width = 45, Height = 0;

  TColor GutterColor() const { return gutterColor_; }
  void SetGutterColor(TColor v);
  // clNone: a plain fill; otherwise the right end of a gradient.
  TColor GutterColorTo() const { return gutterColorTo_; }
  void SetGutterColorTo(TColor v);
  bool ShowLeadingZeros() const { return showLeadingZeros_; }
  void SetShowLeadingZeros(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  Integer DigitCount() const { return digitCount_; }
  void SetDigitCount(Integer v);
  Integer GutterWidth() const { return gutterWidth_; }
  // Also the gutter's Width; the editor lays its text out again unless it
  // is loading.
  void SetGutterWidth(Integer v);
  Integer GutterMargin() const { return gutterMargin_; }
  // Values below 45 become 45.
  void SetGutterMargin(Integer v);
  vcl::TFont* Font() { return font_.get(); }
  void SetFont(const vcl::TFont* f);
  const AnsiString& NumberSuffix() const { return numberSuffix_; }
  void SetNumberSuffix(const AnsiString& v);
  TColor LineNumberTextColor() const { return lineNumberTextColor_; }
  void SetLineNumberTextColor(TColor v);
  bool ShowLineNumbers() const { return showLineNumbers_; }
  void SetShowLineNumbers(bool v);
  bool ShowModified() const { return showModified_; }
  void SetShowModified(bool v);
  Integer LineNumberStart() const { return lineNumberStart_; }
  // Negative values are ignored.
  void SetLineNumberStart(Integer v);
  TColor ModifiedColor() const { return modifiedColor_; }
  void SetModifiedColor(TColor v);
  TColor ModifiedColorBkg() const { return modifiedColorBkg_; }
  void SetModifiedColorBkg(TColor v);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v);

  // Fired when the gutter font changes (the editor leaves it unassigned).
  vcl::TNotifyEvent OnChange;

  void Assign(const vcl::TPersistent* source) override;

 private:
  void Repaint();
  TLumCustomMemo* memo_;  // owns this gutter
  TColor gutterColor_ = vcl::clBtnFace;
  TColor gutterColorTo_ = vcl::clWhite;
  bool showLeadingZeros_ = false;
  bool visible_ = true;
  Integer digitCount_ = 4;
  Integer gutterWidth_ = 45;
  Integer gutterMargin_ = 45;
  std::unique_ptr<vcl::TFont> font_;
  AnsiString numberSuffix_;
  TColor lineNumberTextColor_ = vcl::clBlack;
  bool showLineNumbers_ = true;
  bool showModified_ = false;
  Integer lineNumberStart_ = 1;
  TColor modifiedColor_ = vcl::clYellow;
  TColor modifiedColorBkg_ = vcl::clLime;
  TColor borderColor_ = vcl::clGray;
};

class TLumActiveLineSettings : public vcl::TPersistent {
 public:
  explicit TLumActiveLineSettings(TLumCustomMemo* memo) : memo_(memo) {}
  TLumCustomMemo* Memo() const { return memo_; }
  TColor ActiveLineColor() const { return activeLineColor_; }
  void SetActiveLineColor(TColor v);
  TColor ActiveLineTextColor() const { return activeLineTextColor_; }
  void SetActiveLineTextColor(TColor v);
  bool ActiveLineAtCursor() const { return activeLineAtCursor_; }
  // Turning it on makes the caret line the active line.
  void SetActiveLineAtCursor(bool v);
  bool ShowActiveLine() const { return showActiveLine_; }
  void SetShowActiveLine(bool v);
  bool ShowActiveLineIndicator() const { return showActiveLineIndicator_; }
  void SetShowActiveLineIndicator(bool v);
  void Assign(const vcl::TPersistent* source) override;

 private:
  TLumCustomMemo* memo_;  // owns these settings
  TColor activeLineColor_ = vcl::clNavy;
  TColor activeLineTextColor_ = vcl::clYellow;
  bool activeLineAtCursor_ = false;
  bool showActiveLine_ = false;
  bool showActiveLineIndicator_ = false;
};

class TLumMarkers;

class TLumMarker : public rtl::TCollectionItem {
 public:
  explicit TLumMarker(rtl::TCollection* collection) : TCollectionItem(collection) {}
  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& v) { text_ = v; }
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer v) { imageIndex_ = v; }
  Integer LineNumber() const { return lineNumber_; }
  void SetLineNumber(Integer v) { lineNumber_ = v; }
  AnsiString DisplayName() const override;
  void Assign(const TLumMarker& source);

 private:
  AnsiString text_;
  Integer imageIndex_ = 0;
  Integer lineNumber_ = 0;
};

class TLumMarkers : public rtl::TCollectionOf<TLumMarker> {
 public:
  bool HasMarkers() const { return Count() > 0; }
  bool HasMarkerAt(Integer line) const { return MarkerAt(line) != nullptr; }
  bool HasMarkerAfter(Integer line) const;
  TLumMarker* MarkerAt(Integer line) const;
  Integer ImageIndexAt(Integer line) const;
  void RemoveMarkerAt(Integer line);
  // Every marker at line or below moves up (ShiftUp) or down one line.
  void ShiftUp(Integer line);
  void ShiftDown(Integer line);
};

class TLumMarkerList : public vcl::TPersistent {
 public:
  explicit TLumMarkerList(TLumCustomMemo* owner);
  ~TLumMarkerList() override;
  TLumCustomMemo* Owner() const { return owner_; }
  TLumMarkers* Markers() { return &markers_; }
  vcl::TBitmap* MarkerImage() { return markerImage_.get(); }
  vcl::TImageList* MarkerImageList() const { return markerImageList_; }
  // The editor hears of the list's freeing and lets go of it.
  void SetMarkerImageList(vcl::TImageList* v);
  // Values set while the editor loads from a form are not applied.
  Integer DefaultMarkerImageIndex() const { return defaultMarkerImageIndex_; }
  void SetDefaultMarkerImageIndex(Integer v);
  bool UseDefaultMarkerImageIndex() const { return useDefaultMarkerImageIndex_; }
  void SetUseDefaultMarkerImageIndex(bool v);
  // The marker picture's transparent colour (white when it has none).
  TColor ImageTransparentColor() const;
  void SetImageTransparentColor(TColor v);

 private:
  bool OwnerLoading() const;
  TLumCustomMemo* owner_;  // owns this list
  TLumMarkers markers_;
  std::unique_ptr<vcl::TBitmap> markerImage_;
  vcl::TImageList* markerImageList_ = nullptr;  // owned by the form
  Integer defaultMarkerImageIndex_ = -1;
  bool useDefaultMarkerImageIndex_ = false;
};

// Why the folding settings changed: a picture or the line colour, or Enabled.
enum class TCodeFoldingChange { cfcLooks = 1, cfcEnabled = 2 };

class TCodeFolding : public vcl::TPersistent {
 public:
  TCodeFolding();
  ~TCodeFolding() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor v);
  vcl::TBitmap* ExpandGlyph() { return expandGlyph_.get(); }
  void SetExpandGlyph(const vcl::TBitmap* v);
  vcl::TBitmap* CollapsedGlyph() { return collapsedGlyph_.get(); }
  void SetCollapsedGlyph(const vcl::TBitmap* v);
  // Copies Enabled and LineColor without telling anyone.
  void Assign(const vcl::TPersistent* source) override;

  std::function<void(TCodeFolding* sender, TCodeFoldingChange reason)> OnChange;

 private:
  void Changed(TCodeFoldingChange reason);
  bool enabled_ = false;
  TColor lineColor_ = vcl::clGray;
  std::unique_ptr<vcl::TBitmap> expandGlyph_;
  std::unique_ptr<vcl::TBitmap> collapsedGlyph_;
};

class TAutoCompletion : public vcl::TPersistent {
 public:
  TAutoCompletion();
  ~TAutoCompletion() override;
  bool Active = true;
  bool AutoDisplay = true;
  Integer Delay() const { return delay_; }
  // Also the completion timer's interval (through OnDelayChange).
  void SetDelay(Integer v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  vcl::TFont* Font() { return font_.get(); }
  void SetFont(const vcl::TFont* f);
  Integer Height = 100;
  Integer Width = 200;
  bool SizeDropDown = true;
  bool ShowImages = false;
  TColor ColorIdentifier = vcl::clTeal;
  TColor ColorVar = vcl::clBlue;
  TColor ColorProp = vcl::clTeal;
  TColor ColorEvent = vcl::clRed;
  TColor ColorMethod = vcl::clNavy;
  TColor ColorFunc = vcl::clNavy;
  TColor ColorProc = vcl::clNavy;
  // The colour of entry kind 0 to 6.
  TColor KindColor(Integer kind) const;
  void Assign(const vcl::TPersistent* source) override;

  // The editor follows these: the timer interval and an open list's looks.
  std::function<void()> OnDelayChange;
  std::function<void()> OnLooksChange;

 private:
  Integer delay_ = 500;
  TColor color_ = vcl::clWindow;
  std::unique_ptr<vcl::TFont> font_;
};

class TAutoCorrect : public vcl::TPersistent {
 public:
  bool Active = true;
  rtl::TStringList* OldValue() { return &oldValue_; }
  rtl::TStringList* NewValue() { return &newValue_; }
  void SetOldValue(const rtl::TStrings& v) { oldValue_.Assign(v); }
  void SetNewValue(const rtl::TStrings& v) { newValue_.Assign(v); }
  void Assign(const vcl::TPersistent* source) override;

 private:
  rtl::TStringList oldValue_;
  rtl::TStringList newValue_;
};

// Printing settings kept for the editor's users; nothing in it prints.
class TPrintOptions : public vcl::TPersistent {
 public:
  AnsiString JobName;
  AnsiString Title;
  AnsiString PagePrefix;
  Integer MarginLeft = 0;
  Integer MarginRight = 0;
  Integer MarginTop = 0;
  Integer MarginBottom = 0;
  bool PageNr = false;
  bool PrintLineNumbers = false;
  void Assign(const vcl::TPersistent* source) override;
};

}  // namespace memo
