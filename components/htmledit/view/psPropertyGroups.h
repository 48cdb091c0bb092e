#pragma once
// The editor's published settings, grouped into small persistent objects
// that forms store and read like any published property. The editor owns
// one of each; whoever uses a setting reads it when it runs, so a change
// counts from then on. Setters with a rule replace a value outside its
// range by the default. DefineProperties stores each value that differs
// from its default under "<prefix>.<name>" and reads it back through the
// same setters.
#include <memory>

#include "htmledit/view/psViewTypes.h"
#include "vcl/Components.h"

namespace vcl {
class TFiler;
class TSizeConstraints;
}  // namespace vcl

namespace htmledit {
class IpsSmartTagEditor;
class TpsSmartTagHandler;
}  // namespace htmledit

namespace htmlview {

enum class TpsBorderStyle : Byte {
  bstNone, bstDotted, bstDashed, bstSolid, bstDouble, bstGroove, bstRidge, bstInset, bstOutset
};
using enum TpsBorderStyle;

class TpsCodeGenerator : public vcl::TPersistent {
 public:
  TpsCodeGenerator() = default;
  Integer IndentationSize() const { return FIndentationSize; }
  // Below 0: 2.
  void SetIndentationSize(Integer aValue);
  Integer LineLength() const { return FLineLength; }
  // Below 10: 80.
  void SetLineLength(Integer aValue);
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

  bool BeautifyCode = true;
  bool GenerateStylesheet = true;
  bool PutNBSPIntoEmptyBlocks = true;
  AnsiString DocType;
  bool EmptyTitles = false;
  bool SaveLastEditingPosition = false;
  // Always stored.
  AnsiString EditingPositionComment = "<!-- EDITING POSITION -->";
  bool NumericCharRefs = false;

 private:
  Integer FIndentationSize = 2;
  Integer FLineLength = 80;
};

class TShortcuts : public vcl::TPersistent {
 public:
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);
  bool Bold = true;
  bool Italic = true;
  bool Underline = true;
};

class TpsEditingOptions : public vcl::TPersistent {
 public:
  TpsEditingOptions();
  ~TpsEditingOptions() override;
  TShortcuts& Shortcuts() { return *FShortcuts; }
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

  bool AllowMultipleLineBreaks = true;
  bool AllowMultipleEmptyBlocks = true;
  bool AllowMultipleSpaces = false;
  Integer TabStops = 0;

 private:
  std::unique_ptr<TShortcuts> FShortcuts;
};

class TpsScrollBars : public vcl::TPersistent {
 public:
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);
  bool VertVisible = true;
};

class TImageDragging : public vcl::TPersistent {
 public:
  Integer ImageDragTreshold() const { return FImageDragTreshold; }
  // 0 or less: 8.
  void SetImageDragTreshold(Integer aValue);
  Integer ImageDragGrayoutAlpha() const { return FImageDragGrayoutAlpha; }
  // Outside 0 to 100: 25.
  void SetImageDragGrayoutAlpha(Integer aValue);
  Integer ImageDragTargetBarWidth() const { return FImageDragTargetBarWidth; }
  // Outside 0 to 100: 100.
  void SetImageDragTargetBarWidth(Integer aValue);
  static bool IsPercent(Integer aValue) { return aValue >= 0 && aValue <= 100; }
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

  TColor ImageDragGrayoutColor = 0;
  TColor ImageDragTargetBarColor = 255;

 private:
  Integer FImageDragTreshold = 8;
  Integer FImageDragGrayoutAlpha = 25;
  Integer FImageDragTargetBarWidth = 100;
};

class TImageResizing : public vcl::TPersistent {
 public:
  TImageResizing();
  ~TImageResizing() override;
  // Minimum 30 by 30, maximum 1000 by 1000 at first.
  vcl::TSizeConstraints& ImageResizeConstraints() { return *FConstraints; }
  Integer ImageResizeAlpha() const { return FImageResizeAlpha; }
  // Outside 0 to 100: 50.
  void SetImageResizeAlpha(Integer aValue);
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

  bool ImageResizeAlphaBlended = true;
  bool ImageResizeKeepProportion = true;

 private:
  std::unique_ptr<vcl::TSizeConstraints> FConstraints;
  Integer FImageResizeAlpha = 50;
};

class TpsVirtualBorders : public vcl::TPersistent {
 public:
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);
  bool Enabled = true;
  TColor Color = 0x808080;
  TpsBorderStyle Style = bstDashed;
};

class TpsTables : public vcl::TPersistent {
 public:
  TpsTables();
  ~TpsTables() override;
  TpsVirtualBorders& VirtualBorders() { return *FVirtualBorders; }
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

 private:
  std::unique_ptr<TpsVirtualBorders> FVirtualBorders;
};

// The editor's SmartTags group. Smart tags are active while Enabled is set
// and the editor has its scheduling thread (it has none at design time);
// while they are not, the handler queries answer 0 and nullptr and
// MoveHandler does nothing. The queries take the document lock.
class TpsSmartTags : public vcl::TPersistent {
 public:
  explicit TpsSmartTags(htmledit::IpsSmartTagEditor* aEditor = nullptr) : FEditor(aEditor) {}
  void SetEditor(htmledit::IpsSmartTagEditor* aEditor) { FEditor = aEditor; }
  bool Active() const;
  Integer GetCount() const;
  // An index outside the list raises the list index error.
  htmledit::TpsSmartTagHandler* GetHandler(Integer aIndex) const;
  htmledit::TpsSmartTagHandler* GetHandlerByID(Integer aId) const;
  // With aRestart every block is analysed again.
  void MoveHandler(Integer aId, Integer aNewIndex, bool aRestart);
  void DefineProperties(vcl::TFiler& aFiler, const AnsiString& aPrefix);

  bool Enabled = true;

 private:
  htmledit::IpsSmartTagEditor* FEditor;
};

// The name of a border style as forms store it ("bstDashed"); -1 for a
// name that is none.
AnsiString BorderStyleName(TpsBorderStyle aStyle);
Integer BorderStyleFromName(const AnsiString& aName);

}  // namespace htmlview
