#pragma once
// What surrounds the caret, kept by the editor and refreshed when the caret
// moves or the document changes: the block holding it (its tag, class, id,
// alignment, font, style), the custom tag around it, the table it is in and
// the blocks nested around it. Reading is cheap; every change is one of the
// editor's commands (one undo step, refresh after).
#include <memory>

#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagParser.h"

namespace htmledit {

class TpsHTMLEditBase;
class TpsSpanList;
using htmldoc::TpsMarkupTag;

// The innermost custom tag enclosing the caret, parsed from its source text.
class TpsCustomTagsAroundCursorList {
 public:
  explicit TpsCustomTagsAroundCursorList(TpsHTMLEditBase* aEditor);
  bool HasCustomTag() const { return FTag != nullptr; }
  // nullptr when none encloses the caret.
  TpsMarkupTag* GetCustomTag() const { return FTag.get(); }

 private:
  TpsHTMLEditBase* FEditor;
  std::unique_ptr<TpsMarkupTag> FTag;
};

class TpsBlock {
 public:
  explicit TpsBlock(TpsHTMLEditBase* aEditor);
  ~TpsBlock();
  TpsBlock(const TpsBlock&) = delete;
  TpsBlock& operator=(const TpsBlock&) = delete;

  // Reads class, tag code and id of the caret's block again and drops the
  // caret lists, which are made anew on their next request.
  void Refresh();
  TpsSpanList* GetSpans();
  TpsCustomTagsAroundCursorList* GetCustomTags();
  const rtl::AnsiString& GetClass() const { return FClass; }
  rtl::Byte GetTagCode() const { return FTagCode; }
  const rtl::AnsiString& GetId() const { return FId; }
  // Nothing while an image is selected.
  void SetClass(const rtl::AnsiString& aName);
  // The caret's line answers; 0 when none does.
  rtl::Byte GetAlignment();
  // Only a change is a command.
  void SetAlignment(rtl::Byte aAlignment);
  // From the block tag's style and the sheet, else the sheet's "body".
  rtl::AnsiString GetFontFamily();
  htmldoc::TpsFontSizeValue GetFontSize();
  void SetBackgroundColor(htmldoc::TColor aColor);
  // The declarations of the block tag's own "style".
  rtl::AnsiString GetStyleText();
  // Every inline tag but links.
  void ClearStyles();

 private:
  std::unique_ptr<TpsMarkupTag> BlockTag();
  TpsHTMLEditBase* FEditor;
  rtl::AnsiString FClass;
  rtl::Byte FTagCode = 0;
  rtl::AnsiString FId;
  std::unique_ptr<TpsSpanList> FSpans;
  std::unique_ptr<TpsCustomTagsAroundCursorList> FCustomTags;
};

class TpsTable {
 public:
  explicit TpsTable(TpsHTMLEditBase* aEditor);
  // Only with the caret in a table; outside one the last table's values
  // stay.
  void Refresh();
  // A copy: changing it gives the table its text as one command.
  TpsMarkupTag* GetTableTag() const { return FTag.get(); }
  const rtl::AnsiString& GetStyleText() const { return FStyleText; }
  const rtl::AnsiString& GetClassName() const { return FClassName; }
  rtl::Integer GetCurrentRow() const { return FCurrentRow; }
  rtl::Integer GetCurrentColumn() const { return FCurrentColumn; }
  rtl::Integer GetRowCount() const { return FRowCount; }
  rtl::Integer GetColumnCount() const { return FColumnCount; }
  rtl::Integer GetLastRowIndex() const { return FRowCount - 1; }
  rtl::Integer GetLastColumnIndex() const { return FColumnCount - 1; }
  const rtl::AnsiString& GetId() const { return FId; }

 private:
  void ApplyTableTag();
  TpsHTMLEditBase* FEditor;
  std::unique_ptr<TpsMarkupTag> FTag;
  uint32_t FTagElementId = 0;
  rtl::AnsiString FStyleText;
  rtl::AnsiString FClassName;
  rtl::Integer FCurrentRow = -1;
  rtl::Integer FCurrentColumn = -1;
  rtl::Integer FRowCount = 0;
  rtl::Integer FColumnCount = 0;
  rtl::AnsiString FId;
};

// "<name>" of the caret's block and of each block around it up to the
// root, innermost first.
class TpsBlocksAroundCursorList {
 public:
  explicit TpsBlocksAroundCursorList(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}
  void Refresh();
  const htmldoc::TpsMarkupTagList& Tags() const { return FTags; }
  rtl::Integer GetCount() const { return FTags.Count(); }
  TpsMarkupTag* GetTag(rtl::Integer aIndex) const { return FTags.GetTag(aIndex); }

 private:
  TpsHTMLEditBase* FEditor;
  htmldoc::TpsMarkupTagList FTags{true};
};

}  // namespace htmledit
