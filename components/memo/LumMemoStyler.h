#pragma once
// Syntax stylers: the non-visual components that tell the code editor how
// to colour a language (keyword groups, string delimiters, symbols, comment
// markers, number characters). One styler may serve several editors; each
// reads a plain snapshot of it (Defs), rebuilt after any change, so the
// tokenizer never reaches into the component itself.
#include <memory>

#include "memo/ParameterHint.h"
#include "memo/text/MemoTokenizer.h"
#include "rtl/Collection.h"
#include "rtl/StringList.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"

namespace vcl {
class TCanvas;
struct TRect;
}  // namespace vcl

namespace memo {

class TCharStyle;
class TLumCustomMemo;
class TElementStyles;
class TLumCustomMemoStyler;

class TElementStyle : public rtl::TCollectionItem {
 public:
  explicit TElementStyle(rtl::TCollection* collection);
  ~TElementStyle() override;

  rtl::TStringList* KeyWords() { return &keyWords_; }
  void SetKeyWords(const rtl::TStrings& v);
  vcl::TFont* Font() { return &font_; }
  void SetFont(const vcl::TFont* v);
  vcl::TColor BGColor() const { return bgColor_; }
  void SetBGColor(vcl::TColor v);
  const AnsiString& Info() const { return info_; }
  void SetInfo(const AnsiString& v);
  TStyleType StyleType() const { return styleType_; }
  void SetStyleType(TStyleType v);
  char BracketStart() const { return bracketStart_; }
  void SetBracketStart(char v);
  char BracketEnd() const { return bracketEnd_; }
  void SetBracketEnd(char v);
  const AnsiString& Symbols() const { return symbols_; }
  void SetSymbols(const AnsiString& v);
  AnsiString DisplayName() const override;
  // From another element style; anything else leaves this one unchanged.
  void Assign(const rtl::TCollectionItem* source);

 private:
  void Changed();
  rtl::TStringList keyWords_;
  vcl::TFont font_;
  vcl::TColor bgColor_ = vcl::clWhite;
  AnsiString info_;
  TStyleType styleType_ = stKeyword;
  char bracketStart_ = 0;
  char bracketEnd_ = 0;
  AnsiString symbols_;
};

class TElementStyles : public rtl::TCollectionOf<TElementStyle> {
 public:
  explicit TElementStyles(TLumCustomMemoStyler* owner) : owner_(owner) {}
  ~TElementStyles() override;
  TLumCustomMemoStyler* Owner() const { return owner_; }
  // The editor that most recently took the styler.
  TLumCustomMemo* Editor() const { return editor_; }
  void SetEditor(TLumCustomMemo* v) { editor_ = v; }
  // Set once any item has been destroyed.
  bool ItemRemoved() const { return itemRemoved_; }
  bool IsDelimiterChar(char ch) const;
  void Assign(const TElementStyles& source);
  // An item's setter changed it.
  void ItemChanged();

 protected:
  void Update(rtl::TCollectionItem* item) override;
  void Notify(rtl::TCollectionItem* item, bool added) override;

 private:
  TLumCustomMemoStyler* owner_;
  TLumCustomMemo* editor_ = nullptr;
  bool itemRemoved_ = false;
};

// A code-folding rule: a region opens at Identifier (then, for closed and
// ignored rules, at RegionStart) and closes at RegionEnd.
enum class TRegionType { rtOpen, rtClosed, rtFile, rtIgnore };
using enum TRegionType;

class TRegionDefinition : public rtl::TCollectionItem {
 public:
  explicit TRegionDefinition(rtl::TCollection* collection) : TCollectionItem(collection) {}
  const AnsiString& Identifier() const { return identifier_; }
  // The three words are kept without surrounding blanks.
  void SetIdentifier(const AnsiString& v);
  const AnsiString& RegionStart() const { return regionStart_; }
  void SetRegionStart(const AnsiString& v);
  const AnsiString& RegionEnd() const { return regionEnd_; }
  void SetRegionEnd(const AnsiString& v);
  TRegionType RegionType() const { return regionType_; }
  void SetRegionType(TRegionType v) { regionType_ = v; }
  bool ShowComments() const { return showComments_; }
  void SetShowComments(bool v) { showComments_ = v; }
  // From another definition: type, end, identifier and start.
  void Assign(const rtl::TCollectionItem* source);

 private:
  AnsiString identifier_, regionStart_, regionEnd_;
  TRegionType regionType_ = rtClosed;
  bool showComments_ = false;
};

class TRegionDefinitions : public rtl::TCollectionOf<TRegionDefinition> {
 public:
  explicit TRegionDefinitions(TLumCustomMemoStyler* owner) : owner_(owner) {}
  TLumCustomMemoStyler* Owner() const { return owner_; }

 private:
  TLumCustomMemoStyler* owner_;
};

class TLumCustomMemoStyler : public vcl::TComponent {
 public:
  explicit TLumCustomMemoStyler(vcl::TComponent* owner);
  ~TLumCustomMemoStyler() override;

  TElementStyles* AllStyles() { return allStyles_.get(); }
  // Copies the given styles and tells the using editor.
  void SetAllStyles(const TElementStyles& v);
  AnsiString LineComment, MultiCommentLeft, MultiCommentRight;
  TCharStyle* CommentStyle() const { return commentStyle_.get(); }
  TCharStyle* NumberStyle() const { return numberStyle_.get(); }
  // Index 1: the comment style, 2: the number style; the styler takes the object.
  virtual void SetCharStyle(Integer index, TCharStyle* style);
  rtl::TStringList* CompletionList() { return &completionList_; }
  // The parameter lists the hint shows (none unless a descendant or its
  // user adds them).
  THintParameter* HintParameter() { return hintParameter_.get(); }
  void SetHintParameter(const THintParameter* v) { hintParameter_->Assign(v); }
  // The code-folding rules (none unless a descendant or its user adds them).
  TRegionDefinitions* RegionDefinitions() { return regionDefinitions_.get(); }
  AnsiString NumberChars = "+-.0123456789";
  AnsiString HexChars;
  AnsiString BlockEnd, BlockStart;
  AnsiString EscapeChar;
  bool CustomKeywords = false;
  AnsiString Filter, DefaultExtension, Extensions, Description, StylerName;

  // The CustomKeywords hook: draws a keyword the painter found.
  virtual void KeywordFound(vcl::TCanvas* canvas, const AnsiString& keyword, const vcl::TRect& rect) {}

  // The snapshot the editors tokenize with; rebuilt after any change.
  const TStylerDefs& Defs();
  // Grows with every change an editor must see.
  Integer Version() const { return version_; }
  // Something changed: snapshots are rebuilt, the using editor is told.
  void StylesChanged();

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  std::unique_ptr<TElementStyles> allStyles_;
  std::unique_ptr<TCharStyle> commentStyle_;
  std::unique_ptr<TCharStyle> numberStyle_;
  rtl::TStringList completionList_;
  std::unique_ptr<THintParameter> hintParameter_;
  std::unique_ptr<TRegionDefinitions> regionDefinitions_;
  TStylerDefs defs_;
  Integer version_ = 1;
  Integer defsVersion_ = 0;
};

class TLumHTMLMemoStyler : public TLumCustomMemoStyler {
 public:
  explicit TLumHTMLMemoStyler(vcl::TComponent* owner);
  AnsiString Version() const { return "1.0"; }
};

// The stylers that belong to an editor's owner.
class TLumStylerList : public vcl::TComponent {
 public:
  // Takes every styler among the components of formOwner.
  TLumStylerList(vcl::TComponent* owner, vcl::TComponent* formOwner);
  Integer Count() const { return static_cast<Integer>(stylers_.size()); }
  TLumCustomMemoStyler* Stylers(Integer i) const { return stylers_.at(static_cast<size_t>(i)); }

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  std::vector<TLumCustomMemoStyler*> stylers_;  // components of the form
};

}  // namespace memo
