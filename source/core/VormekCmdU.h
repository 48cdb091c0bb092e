#pragma once
// The module's tag language: its fourteen tag kinds (type numbers, names,
// page syntax patterns), the parameter templates of the tag dialogs, the key
// list offered for key parameters, the 46 key-class patterns, and the tag
// list (TvormekTagList of TvormekCmdItem) that fills the tag palette.
#include <array>
#include <functional>

#include "core/ZelWebCmdU.h"

namespace core {

// ---------------------------------------------------------------------------
// Tag kinds. Type 13 is any other comment tag; the tag list holds 0..12.
inline constexpr Integer kTagKindCount = 14;
inline constexpr Integer kTagListCount = 13;
inline constexpr Integer kCatchAllTagType = 13;

enum TVormekTagType : Integer {
  vtPin = 0,
  vtPinAnalog = 1,
  vtPinAnalogCalc = 2,
  vtPinText = 3,
  vtSerialData = 4,
  vtPlugIn = 5,
  vtIfPinEqual = 6,
  vtIfPinCompare = 7,
  vtIfKey = 8,
  vtElse = 9,
  vtEndIf = 10,
  vtExec = 11,
  vtRead = 12,
  vtOther = 13,
};

// The kind names (palette captions), by type number.
extern const std::array<const char*, kTagKindCount> kTagKindNames;
// The page syntax patterns, by type number, for the pattern engine with its
// ignore-case option.
extern const std::array<const char*, kTagKindCount> kTagSyntaxPatterns;

// ---------------------------------------------------------------------------
// Key classes: a key's class is the first of these patterns found anywhere
// in it (ignoring case), tried in kKeyClassSearchOrder.
inline constexpr Integer kKeyClassCount = 46;
inline constexpr Integer kKeyClassCatchAll = 45;
extern const std::array<const char*, kKeyClassCount> kKeyClassPatterns;
// Table order, except that "UNLOCK" (34) is tried before "LOCK" (33) and the
// e-mail temperatures (41) before the temperatures (29): a shorter class must
// not swallow the longer key it is part of.
extern const std::array<Integer, kKeyClassCount> kKeyClassSearchOrder;

// Named key classes the classifier gives extra attributes to.
inline constexpr Integer kKeyClassPinFirst = 0;
inline constexpr Integer kKeyClassPinLast = 4;
inline constexpr Integer kKeyClassRegFirst = 5;
inline constexpr Integer kKeyClassRegLast = 7;
inline constexpr Integer kKeyClassTemp = 29;

// Attribute names the classifier adds.
inline constexpr char kAttrKeyCmdClass[] = "KEY_CMD_CLASS";
inline constexpr char kAttrKeyPinNum[] = "KEY_PIN_NUM";
inline constexpr char kAttrKeyRegNum[] = "KEY_REG_NUM";
inline constexpr char kAttrKeyGrade[] = "KEY_GRADE";
inline constexpr char kAttrKeyI2cTemp[] = "KEY_I2c_TEMP";

// The patterns of a class pattern once each optional item ("x?") is taken
// both ways: present and absent. The engine never gives back an optional
// item it has taken, so "REG[0-2]?[0-9][0-9]?" alone misses "REG1"; one of
// its variants finds it. A pattern without optional items is its own only
// variant. Optional items inside groups or next to "|" are left alone.
std::vector<AnsiString> ExpandOptionalItems(const AnsiString& pattern);

// ---------------------------------------------------------------------------
// The key list: every key the module knows, each line ended by CR LF.
AnsiString VormekKeyList();

// The parameter template of a tag kind; type 5 and numbers outside 0..12
// give an empty record.
TcustomTagParams VormekTagTemplate(Integer type);

// The dialog that edits a kind's parameters: shown with a title, changes
// the parameters' values, answers True when the user confirmed. The window
// layer installs it; without one, every dialog counts as cancelled.
using TShowTagDialog = std::function<bool(const AnsiString& title, TcustomTagParams& params)>;
void SetShowTagDialog(TShowTagDialog dialog);
const TShowTagDialog& ShowTagDialog();

// ---------------------------------------------------------------------------
// One tag kind of the module.
class TvormekCmdItem : public TzelWebCmd {
 public:
  explicit TvormekCmdItem(rtl::TCollection* collection) : TzelWebCmd(collection) {}

  bool IsVisible() const override { return params_.Visible; }
  bool InsertTag(TzelwebParser& parser, AnsiString& tagText) override;
  bool EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) override;
  void Reserved() override {}
  AnsiString GetName() const override { return name_; }

  void SetName(const AnsiString& name) { name_ = name; }
  Byte TagType() const { return type_; }
  void SetTagType(Byte type) { type_ = type; }
  const TcustomTagParams& Params() const { return params_; }
  TcustomTagParams& Params() { return params_; }
  void SetParams(const TcustomTagParams& params) { params_ = params; }
  void SetVisible(bool visible) { params_.Visible = visible; }

 private:
  // The parameters with a value, in order, built into a tag.
  AnsiString BuildFromParams(TzelwebParser& parser, TzelVarList& list) const;

  AnsiString name_;
  Byte type_ = 0;
  TcustomTagParams params_;
};

// The module's tag kinds, in type order.
class TvormekTagList : public TwebServerTagList {
 public:
  TvormekTagList() : TwebServerTagList(ItemClass<TvormekCmdItem>()) {}
  ~TvormekTagList() override { Clear(); }

  AnsiString GetCaption() const override { return "Tolvane commands"; }
  // Appends the items of types 0 to 12; type 5 is not visible.
  void FillCommands() override;
  // The item of the "type" line (0 without one) edits the tag; a type
  // without an item raises the collection's index error.
  bool EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) override;
  Integer Reserved() const override { return 0; }

  TvormekCmdItem* Items(Integer index) const { return static_cast<TvormekCmdItem*>(TCollection::Items(index)); }
};

}  // namespace core
