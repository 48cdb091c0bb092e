#include "htmledit/view/psPropertyGroups.h"

#include <functional>

#include "htmledit/control/psSmartTags.h"
#include "rtl/Exceptions.h"
#include "vcl/Controls.h"
#include "vcl/Filer.h"

namespace htmlview {

namespace {

// One stored property: written when it differs from its default, read
// back through its setter.
void DefineInteger(vcl::TFiler& aFiler, const AnsiString& aName, Integer aValue, Integer aDefault,
                   const std::function<void(Integer)>& aSet) {
  aFiler.DefineProperty(
      aName, [aSet](vcl::TReader& r) { aSet(r.ReadInteger()); },
      [aValue](vcl::TWriter& w) { w.WriteInteger(aValue); }, aValue != aDefault);
}

void DefineBoolean(vcl::TFiler& aFiler, const AnsiString& aName, bool& aField, bool aDefault) {
  bool* field = &aField;
  aFiler.DefineProperty(
      aName, [field](vcl::TReader& r) { *field = r.ReadBoolean(); },
      [field](vcl::TWriter& w) { w.WriteBoolean(*field); }, aField != aDefault);
}

void DefineString(vcl::TFiler& aFiler, const AnsiString& aName, AnsiString& aField, bool aStore) {
  AnsiString* field = &aField;
  aFiler.DefineProperty(
      aName, [field](vcl::TReader& r) { *field = r.ReadString(); },
      [field](vcl::TWriter& w) { w.WriteString(*field); }, aStore);
}

// An integer or colour field stored as given.
template <typename T>
void DefineField(vcl::TFiler& aFiler, const AnsiString& aName, T& aField, T aDefault) {
  T* field = &aField;
  DefineInteger(aFiler, aName, static_cast<Integer>(aField), static_cast<Integer>(aDefault),
                [field](Integer v) { *field = static_cast<T>(v); });
}

const char* const kBorderStyleNames[] = {"bstNone",   "bstDotted", "bstDashed", "bstSolid", "bstDouble",
                                         "bstGroove", "bstRidge",  "bstInset",  "bstOutset"};

}  // namespace

AnsiString BorderStyleName(TpsBorderStyle aStyle) { return kBorderStyleNames[static_cast<size_t>(aStyle)]; }

Integer BorderStyleFromName(const AnsiString& aName) {
  for (Integer i = 0; i < 9; ++i)
    if (aName == kBorderStyleNames[i]) return i;
  return -1;
}

// --- Code generator ---

void TpsCodeGenerator::SetIndentationSize(Integer aValue) { FIndentationSize = aValue < 0 ? 2 : aValue; }

void TpsCodeGenerator::SetLineLength(Integer aValue) { FLineLength = aValue < 10 ? 80 : aValue; }

void TpsCodeGenerator::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".BeautifyCode", BeautifyCode, true);
  DefineInteger(f, p + ".IndentationSize", FIndentationSize, 2, [this](Integer v) { SetIndentationSize(v); });
  DefineInteger(f, p + ".LineLength", FLineLength, 80, [this](Integer v) { SetLineLength(v); });
  DefineBoolean(f, p + ".GenerateStylesheet", GenerateStylesheet, true);
  DefineBoolean(f, p + ".PutNBSPIntoEmptyBlocks", PutNBSPIntoEmptyBlocks, true);
  DefineString(f, p + ".DocType", DocType, !DocType.empty());
  DefineBoolean(f, p + ".EmptyTitles", EmptyTitles, false);
  DefineBoolean(f, p + ".SaveLastEditingPosition", SaveLastEditingPosition, false);
  DefineString(f, p + ".EditingPositionComment", EditingPositionComment, true);
  DefineBoolean(f, p + ".NumericCharRefs", NumericCharRefs, false);
}

// --- Editing options ---

void TShortcuts::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".Bold", Bold, true);
  DefineBoolean(f, p + ".Italic", Italic, true);
  DefineBoolean(f, p + ".Underline", Underline, true);
}

TpsEditingOptions::TpsEditingOptions() : FShortcuts(std::make_unique<TShortcuts>()) {}
TpsEditingOptions::~TpsEditingOptions() = default;

void TpsEditingOptions::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".AllowMultipleLineBreaks", AllowMultipleLineBreaks, true);
  DefineBoolean(f, p + ".AllowMultipleEmptyBlocks", AllowMultipleEmptyBlocks, true);
  DefineBoolean(f, p + ".AllowMultipleSpaces", AllowMultipleSpaces, false);
  DefineField<Integer>(f, p + ".TabStops", TabStops, 0);
  FShortcuts->DefineProperties(f, p + ".Shortcuts");
}

void TpsScrollBars::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".VertVisible", VertVisible, true);
}

// --- Images ---

void TImageDragging::SetImageDragTreshold(Integer aValue) { FImageDragTreshold = aValue <= 0 ? 8 : aValue; }

void TImageDragging::SetImageDragGrayoutAlpha(Integer aValue) {
  FImageDragGrayoutAlpha = IsPercent(aValue) ? aValue : 25;
}

void TImageDragging::SetImageDragTargetBarWidth(Integer aValue) {
  FImageDragTargetBarWidth = IsPercent(aValue) ? aValue : 100;
}

void TImageDragging::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineInteger(f, p + ".ImageDragTreshold", FImageDragTreshold, 8,
                [this](Integer v) { SetImageDragTreshold(v); });
  DefineField<TColor>(f, p + ".ImageDragGrayoutColor", ImageDragGrayoutColor, 0);
  DefineInteger(f, p + ".ImageDragGrayoutAlpha", FImageDragGrayoutAlpha, 25,
                [this](Integer v) { SetImageDragGrayoutAlpha(v); });
  DefineField<TColor>(f, p + ".ImageDragTargetBarColor", ImageDragTargetBarColor, 255);
  DefineInteger(f, p + ".ImageDragTargetBarWidth", FImageDragTargetBarWidth, 100,
                [this](Integer v) { SetImageDragTargetBarWidth(v); });
}

TImageResizing::TImageResizing() : FConstraints(std::make_unique<vcl::TSizeConstraints>()) {
  FConstraints->MinWidth = 30;
  FConstraints->MinHeight = 30;
  FConstraints->MaxWidth = 1000;
  FConstraints->MaxHeight = 1000;
}

TImageResizing::~TImageResizing() = default;

void TImageResizing::SetImageResizeAlpha(Integer aValue) {
  FImageResizeAlpha = TImageDragging::IsPercent(aValue) ? aValue : 50;
}

void TImageResizing::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  const AnsiString c = p + ".ImageResizeConstraints";
  DefineField<Integer>(f, c + ".MinWidth", FConstraints->MinWidth, 30);
  DefineField<Integer>(f, c + ".MinHeight", FConstraints->MinHeight, 30);
  DefineField<Integer>(f, c + ".MaxWidth", FConstraints->MaxWidth, 1000);
  DefineField<Integer>(f, c + ".MaxHeight", FConstraints->MaxHeight, 1000);
  DefineBoolean(f, p + ".ImageResizeAlphaBlended", ImageResizeAlphaBlended, true);
  DefineInteger(f, p + ".ImageResizeAlpha", FImageResizeAlpha, 50, [this](Integer v) { SetImageResizeAlpha(v); });
  DefineBoolean(f, p + ".ImageResizeKeepProportion", ImageResizeKeepProportion, true);
}

// --- Tables ---

void TpsVirtualBorders::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".Enabled", Enabled, true);
  DefineField<TColor>(f, p + ".Color", Color, 0x808080);
  f.DefineProperty(
      p + ".Style",
      [this](vcl::TReader& r) {
        const Integer style = BorderStyleFromName(r.ReadString());
        if (style < 0) throw rtl::EReadError("Invalid property value");
        Style = static_cast<TpsBorderStyle>(style);
      },
      [this](vcl::TWriter& w) { w.WriteString(BorderStyleName(Style)); }, Style != bstDashed);
}

TpsTables::TpsTables() : FVirtualBorders(std::make_unique<TpsVirtualBorders>()) {}
TpsTables::~TpsTables() = default;

void TpsTables::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  FVirtualBorders->DefineProperties(f, p + ".VirtualBorders");
}

// --- Smart tags ---

bool TpsSmartTags::Active() const { return Enabled && FEditor && FEditor->SmartTagThread(); }

Integer TpsSmartTags::GetCount() const {
  if (!Active()) return 0;
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  return FEditor->SmartTagThread()->Handlers().Count();
}

htmledit::TpsSmartTagHandler* TpsSmartTags::GetHandler(Integer aIndex) const {
  if (!Active()) return nullptr;
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  const htmledit::TpsSmartTagHandlerList& handlers = FEditor->SmartTagThread()->Handlers();
  if (aIndex < 0 || aIndex >= handlers.Count()) htmldoc::RaiseListIndexError(aIndex);
  return handlers.Get(aIndex);
}

htmledit::TpsSmartTagHandler* TpsSmartTags::GetHandlerByID(Integer aId) const {
  if (!Active()) return nullptr;
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  return FEditor->SmartTagThread()->Handlers().FindById(aId);
}

void TpsSmartTags::MoveHandler(Integer aId, Integer aNewIndex, bool aRestart) {
  if (!Active()) return;
  FEditor->SmartTagThread()->MoveHandler(aId, aNewIndex, aRestart);
}

void TpsSmartTags::DefineProperties(vcl::TFiler& f, const AnsiString& p) {
  DefineBoolean(f, p + ".Enabled", Enabled, true);
}

}  // namespace htmlview
