#pragma once
// The module's tag parser: converts pages between the module's comment tags
// ("<!--(PIN 3)-->") and the editor's internal tags, reads and writes the
// internal form, classifies keys, finds the tag under a text position and
// makes a tag's help keyword.
//
//   core::TVormekWebParser parser;
//   AnsiString editor = parser.PageToEditor(page);   // comment tags -> internal
//   AnsiString back = parser.EditorToPage(tag);      // one internal tag -> comment
//   core::TzelVarList attrs = parser.ParseTag(tag);  // attrs.Value("type") ...
#include <memory>

#include "core/VormekCmdU.h"
#include "core/ZelWebCmdU.h"

namespace core {

class TKnRegEx;

// While a page is matched its line breaks are hidden behind these, so that a
// comment tag may span lines (67 characters each; the one ending "_RT"
// stands for the line feed, the one ending "_LF" for the carriage return).
inline constexpr char kLineFeedPlaceholder[] =
    "1C6803EC37184B1DAA340B67A7BD44E6E1FBAA4673C64BCA96911E41803E1549_RT";
inline constexpr char kCarriageReturnPlaceholder[] =
    "1AF5018758B64F509A0B1BB1AD5B007C36CD4590106C493BAEBA7661ECF88C44_LF";

class TVormekWebParser : public TzelwebParser {
 public:
  // Makes the two pattern objects and the filled tag list.
  TVormekWebParser();
  ~TVormekWebParser() override;

  TcustomTagParams GetTagTemplate(Integer type) const override { return TagTemplate(type); }
  // The same without a parser object.
  static TcustomTagParams TagTemplate(Integer type) { return VormekTagTemplate(type); }
  static AnsiString BuildKeyList() { return VormekKeyList(); }

  TzelVarList ParseTag(const AnsiString& text) const override;
  AnsiString FindTagAt(const AnsiString& line, Integer position) const override;
  AnsiString PageToEditor(const AnsiString& page) override;
  AnsiString EditorToPage(const AnsiString& text) const override;
  // Classifies the key first, then builds the internal tag.
  AnsiString BuildTag(Integer type, TzelVarList& attributes) override;
  AnsiString GetCommandText(const AnsiString& text) const override;

  // Adds "KEY" (for IF KEY, EXEC and READ, from "x" when missing) and the
  // key's class attributes.
  void ClassifyKey(Integer type, TzelVarList& attributes);
  // The class of one key (0..45).
  Integer KeyClass(const AnsiString& key);

  // The help keyword of a tag in page form (internal False) or internal
  // form; empty for a text that is no tag, and for an IF tag without a
  // usable operator.
  AnsiString TagHelpKeyword(const AnsiString& text, bool internal);

  bool IsInternalTag(const AnsiString& text) const { return core::IsInternalTag(text); }

  TvormekTagList* VormekTagList() const { return static_cast<TvormekTagList*>(tagList_.get()); }

 private:
  // The internal tag of one matched comment tag of the given kind.
  AnsiString ReadTag(Integer type, const AnsiString& tag);
  // The first one or two digits of text, and the 1-based index behind them.
  AnsiString PinNumber(const AnsiString& text, Integer& after);
  bool KeyPatternFound(const AnsiString& pattern, const AnsiString& key);

  std::unique_ptr<TKnRegEx> pageRegEx_;
  std::unique_ptr<TKnRegEx> keyRegEx_;
};

}  // namespace core
