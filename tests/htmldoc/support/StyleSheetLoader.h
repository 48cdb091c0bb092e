#pragma once
// What the editor control does with CSS it reads, for the model's tests,
// fuzz targets and benchmarks: a style-sheet sink that names a class rule
// by a leading ".", refuses an empty name, keeps unknown properties as
// unknown declarations and keeps at-rules; and a drawing surface with fixed
// metrics.
#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagStyles.h"

namespace htmldoc::testing {

class SheetSink final : public TpsStyleSheetSink {
 public:
  explicit SheetSink(TpsStyleSheet& aSheet) : Sheet(aSheet) {}

  void SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                         const AnsiString& aValue) override {
    AnsiString name = aStyleName;
    const bool isClass = !name.empty() && name[0] == '.';
    if (isClass) name.erase(0, 1);
    if (name.empty()) throw EpsHtmlEditException("TpsHTMLEditBase.SetStyleAttribute: empty style name!");
    Sheet.SetStyleAttribute(name, aAttributeName, aValue, isClass,
                            [this](TObjectPtr, const AnsiString&, const AnsiString&, bool& ioDelete) {
                              ++UnknownAttributes;
                              ioDelete = DropUnknown;
                            });
  }
  void AddAtRule(const AnsiString& aText) override { Sheet.AddAtRule(aText); }

  TpsStyleSheet& Sheet;
  bool DropUnknown = false;
  int UnknownAttributes = 0;
};

inline void LoadCss(TpsStyleSheet& aSheet, const AnsiString& aCss, Integer aErrorMode = cssErrorAll) {
  SheetSink sink(aSheet);
  ApplyStyleSheetText(aCss, sink, aErrorMode);
}

// 96 pixels per inch; "x" is half the character height.
class FakeStyleCanvas final : public TpsStyleCanvas {
 public:
  AnsiString GetFontName() const override { return FontName; }
  void SetFontName(const AnsiString& aName) override { FontName = aName, ++Changes; }
  bool GetFontBold() const override { return Bold; }
  void SetFontBold(bool aBold) override { Bold = aBold, ++Changes; }
  bool GetFontItalic() const override { return Italic; }
  void SetFontItalic(bool aItalic) override { Italic = aItalic, ++Changes; }
  TColor GetFontColor() const override { return Color; }
  void SetFontColor(TColor aColor) override { Color = aColor, ++Changes; }
  Integer GetFontHeight() const override { return Height; }
  void SetFontHeight(Integer aHeight) override { Height = aHeight, ++Changes; }
  Integer GetFontPixelsPerInch() const override { return PixelsPerInch; }
  Integer GetXHeight() const override { return (Height < 0 ? -Height : Height) / 2; }

  AnsiString FontName = "Arial";
  bool Bold = false;
  bool Italic = false;
  TColor Color = 0;
  Integer Height = -13;
  Integer PixelsPerInch = 96;
  int Changes = 0;
};

}  // namespace htmldoc::testing
