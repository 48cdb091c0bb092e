#pragma once
// The module's page tags as the rest of the tooling sees them, independent of
// one module: a tag's attributes (TzelVarList), the parameter templates the
// tag dialogs edit, the abstract tag command and tag list, and the abstract
// tag parser that turns comment tags into the editor's internal tags.
//
// Internal tag text: "<#_zelbe54f7mdl type=\"N\" name=\"value\" ... />".
// Attribute values are escaped when a tag is built (EscapeTagValue) and
// unescaped when it is read (ParseTag), so a value may hold quotes, angle
// brackets, "#" and line breaks without ending the tag early or hiding it
// from the simulator's search for "<#_zelbe54f7mdl[^<>#]*/>".
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "rtl/Collection.h"
#include "rtl/Types.h"

namespace rtl {
class TStrings;
}

namespace core {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;
using rtl::Word;

// ---------------------------------------------------------------------------
// The internal tag's fixed prefix (15 characters) and the empty tag.
inline constexpr char kInternalTagPrefix[] = "<#_zelbe54f7mdl";
inline constexpr Integer kInternalTagPrefixLength = sizeof(kInternalTagPrefix) - 1;
inline constexpr char kEmptyInternalTag[] = "<#_zelbe54f7mdl />";

// True when text begins with the internal tag prefix, ignoring case.
bool IsInternalTag(const AnsiString& text);

// The escape of one attribute value and its inverse. The escaped text holds
// none of '"', '<', '>', '#', CR or LF; '&' is escaped too, so unescaping is
// exact. An '&' that starts none of the escapes is kept as it is.
AnsiString EscapeTagValue(const AnsiString& value);
AnsiString UnescapeTagValue(const AnsiString& value);

// ---------------------------------------------------------------------------
// The comparison operators, by the number the tags store as "OPT".
inline constexpr Integer kOperatorCount = 6;
inline constexpr std::array<const char*, kOperatorCount> kOperatorTexts = {"!=", "<=", ">=", "=", "<", ">"};
inline constexpr Integer kOperatorNotEqual = 0;
inline constexpr Integer kOperatorEqual = 3;
inline constexpr Integer kOperatorLess = 4;
inline constexpr Integer kOperatorGreater = 5;

// ---------------------------------------------------------------------------
// One attribute of a tag.
struct TzelVar {
  AnsiString Name;
  AnsiString Value;
  bool operator==(const TzelVar&) const = default;
};

// The attributes of one tag, in order. Names are found without regard to
// ASCII case and the first match wins.
struct TzelVarList {
  std::vector<TzelVar> Vars;

  void Add(const AnsiString& name, const AnsiString& value);
  Integer Count() const { return static_cast<Integer>(Vars.size()); }
  // New entries are empty.
  void SetCount(Integer count);
  // Raises EListError for an index outside 0..Count-1.
  const TzelVar& Items(Integer index) const;
  void Put(Integer index, const TzelVar& var);

  // The value of the first attribute called name; empty when there is none.
  AnsiString Value(const AnsiString& name) const;
  // Present, even with an empty value.
  bool Exists(const AnsiString& name) const;
  // Value(name) through StrToInt / StrToFloat: EConvertError for text that
  // is not a number (an absent attribute is the empty text).
  Integer IntValue(const AnsiString& name) const;
  double FloatValue(const AnsiString& name) const;

  bool operator==(const TzelVarList&) const = default;
};

// ---------------------------------------------------------------------------
// Parameter templates of the tag dialogs.

// The editor and validation kind of a parameter.
enum TTagParamKind : Byte {
  tpkPin = 0,       // pin number 1..17
  tpkNumber = 1,    // integer
  tpkDecimal = 2,   // decimal number, two places
  tpkText = 3,      // text, with a drop-down of proposals when List is set
  tpkOperator = 4,  // comparison operator; Value is the operator number
  tpkLowHigh = 5,   // "0" or "1"
};

// Bits of TcustomTagParam::Flags.
inline constexpr Word tpfOptional = 1u << 0;    // an empty value is accepted
inline constexpr Word tpfOpLess = 1u << 1;      // operators offered (kind 4)
inline constexpr Word tpfOpEqual = 1u << 2;
inline constexpr Word tpfOpGreater = 1u << 3;
inline constexpr Word tpfOpLessEqual = 1u << 5;
inline constexpr Word tpfOpGreaterEqual = 1u << 6;
inline constexpr Word tpfOpNotEqual = 1u << 7;
inline constexpr Word tpfRanged = 1u << 8;      // Min..Max apply

struct TcustomTagParam {
  AnsiString Name;
  Byte Kind = tpkPin;
  AnsiString Description;
  Word Flags = 0;
  float Min = 0;
  float Max = 0;
  AnsiString Value;
  AnsiString List;
  AnsiString Default;
  bool Hidden = false;

  bool Optional() const { return (Flags & tpfOptional) != 0; }
  bool Ranged() const { return (Flags & tpfRanged) != 0; }
  bool operator==(const TcustomTagParam&) const = default;
};

struct TcustomTagParams {
  std::vector<TcustomTagParam> Params;
  AnsiString Description;
  AnsiString Syntax;
  // The help keyword's source: "%NAME$" stands for the parameter NAME.
  AnsiString Template;
  bool Visible = false;

  bool operator==(const TcustomTagParams&) const = default;
};

// ---------------------------------------------------------------------------
class TzelwebParser;

// The abstract tag command: one tag kind of a module's page language.
class TzelWebCmd : public rtl::TCollectionItem {
 public:
  explicit TzelWebCmd(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}

  virtual bool IsVisible() const = 0;
  // Runs the kind's insert dialog; on confirmation answers True and the new
  // internal tag in tagText.
  virtual bool InsertTag(TzelwebParser& parser, AnsiString& tagText) = 0;
  // Runs the kind's edit dialog over attribute lines ("name=value"); on
  // confirmation rewrites the lines and answers True and the new tag.
  virtual bool EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) = 0;
  // A slot kept for descendants; does nothing here.
  virtual void Reserved() = 0;
  virtual AnsiString GetName() const = 0;
};

// The abstract list of a module's tag commands.
class TwebServerTagList : public rtl::TCollection {
 public:
  explicit TwebServerTagList(ItemFactory itemClass) : rtl::TCollection(std::move(itemClass)) {}

  // The palette category caption.
  virtual AnsiString GetCaption() const = 0;
  // Appends the module's tag kinds.
  virtual void FillCommands() = 0;
  // Edits a tag given as attribute lines with the dialog of its kind.
  virtual bool EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) = 0;
  // A slot kept for descendants.
  virtual Integer Reserved() const = 0;

  TzelWebCmd* Commands(Integer index) const { return static_cast<TzelWebCmd*>(Items(index)); }
};

// The abstract tag parser. Holds the tag list its descendant makes.
class TzelwebParser {
 public:
  TzelwebParser() = default;
  TzelwebParser(const TzelwebParser&) = delete;
  TzelwebParser& operator=(const TzelwebParser&) = delete;
  virtual ~TzelwebParser() = default;

  virtual AnsiString GetEmptyTag() const;
  virtual TcustomTagParams GetTagTemplate(Integer type) const = 0;
  // The attributes of an internal tag, "type" among them, values unescaped.
  virtual TzelVarList ParseTag(const AnsiString& text) const = 0;
  // The tag (a comment tag, or any tag from "<" to ">") that covers the
  // 1-based character position of line; empty when none does.
  virtual AnsiString FindTagAt(const AnsiString& line, Integer position) const = 0;
  // Every comment tag of the page replaced by its internal tag.
  virtual AnsiString PageToEditor(const AnsiString& page) = 0;
  // The comment form of one internal tag.
  virtual AnsiString EditorToPage(const AnsiString& text) const = 0;
  // The internal tag text: prefix, type, then the attributes in order with
  // their values escaped.
  virtual AnsiString BuildTag(Integer type, TzelVarList& attributes);
  // The comment form without "<!--(" and ")-->".
  virtual AnsiString GetCommandText(const AnsiString& text) const = 0;

  // The tag list (owned).
  TwebServerTagList* TagList() const { return tagList_.get(); }

 protected:
  std::unique_ptr<TwebServerTagList> tagList_;
};

}  // namespace core
