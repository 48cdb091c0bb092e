#pragma once
// What the grid's model needs to know of the machine it runs on, behind four
// small interfaces so that the model can be tested without a window or the
// machine's settings: the regional settings (read at every call, since the
// user may change them while the program runs), how text compares, how wide
// text is in a font, and a few platform facts. Each has a default that the
// program uses and a fixed fake for tests.
#include <string_view>

#include "grid/model/GridTypes.h"

namespace grid {

// Separators, date format and OEM code page, read each time they are asked.
class LocaleSettings {
 public:
  virtual ~LocaleSettings() = default;
  virtual char DecimalSeparator() const = 0;
  virtual char ThousandSeparator() const = 0;
  virtual char DateSeparator() const = 0;
  virtual char TimeSeparator() const = 0;
  virtual AnsiString ShortDateFormat() const = 0;
  virtual AnsiString LongTimeFormat() const = 0;
  // The code page of text written by console programs (CSV exports).
  virtual Integer OEMCodePage() const = 0;
};

// The class library's regional settings.
class SystemLocaleSettings : public LocaleSettings {
 public:
  char DecimalSeparator() const override;
  char ThousandSeparator() const override;
  char DateSeparator() const override;
  char TimeSeparator() const override;
  AnsiString ShortDateFormat() const override;
  AnsiString LongTimeFormat() const override;
  Integer OEMCodePage() const override { return 437; }
};

// Settings fixed by a test.
class FixedLocaleSettings : public LocaleSettings {
 public:
  char Decimal = '.';
  char Thousand = ',';
  char DateSep = '/';
  char TimeSep = ':';
  AnsiString ShortDate = "M/d/yyyy";
  AnsiString LongTime = "h:nn:ss";
  Integer OEM = 437;

  char DecimalSeparator() const override { return Decimal; }
  char ThousandSeparator() const override { return Thousand; }
  char DateSeparator() const override { return DateSep; }
  char TimeSeparator() const override { return TimeSep; }
  AnsiString ShortDateFormat() const override { return ShortDate; }
  AnsiString LongTimeFormat() const override { return LongTime; }
  Integer OEMCodePage() const override { return OEM; }
};

// The settings the grid's routines read when the caller passes none: the
// system's, unless a program or test installed others (not owned; the
// installer keeps them alive while installed, and null restores the system's).
const LocaleSettings& CurrentLocale();
void SetCurrentLocale(const LocaleSettings* settings);

// Installs settings for the life of the scope, then restores the previous.
class ScopedLocale {
 public:
  explicit ScopedLocale(const LocaleSettings& settings);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  const LocaleSettings* previous_;
};

// How two cell texts compare for sorting: < 0, 0 or > 0.
class Collator {
 public:
  virtual ~Collator() = default;
  virtual int Compare(std::string_view a, std::string_view b, bool ignoreCase) const = 0;
};

// A collation that needs no locale: the run-time library's fixed case table,
// then code points.
class OrdinalCollator : public Collator {
 public:
  int Compare(std::string_view a, std::string_view b, bool ignoreCase) const override;
};

// How much room text takes in a font; the window layer backs it with the
// canvas the grid paints with, so measuring agrees with painting.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width and height of one line of text.
  virtual TExtent TextExtent(const TFontSpec& font, std::string_view text) const = 0;
};

// A fake with a fixed advance per byte and a fixed line height.
class FixedTextMeasurer : public TextMeasurer {
 public:
  Integer Advance = 7;
  Integer LineHeight = 14;
  TExtent TextExtent(const TFontSpec& font, std::string_view text) const override {
    return {static_cast<Integer>(text.size()) * Advance, LineHeight};
  }
};

// Facts of the desktop the grid adapts to.
class PlatformFacts {
 public:
  virtual ~PlatformFacts() = default;
  virtual bool WinXPOrLater() const = 0;
  virtual bool Win7OrLater() const = 0;
  virtual bool WindowsVistaOrLater() const = 0;
  // Visual styles are in use.
  virtual bool ThemeActive() const = 0;
  // The common controls are of version 6 or later.
  virtual bool NewCommonControls() const = 0;
  // Lines scrolled per wheel notch.
  virtual Integer WheelScrollLines() const = 0;
};

// Facts fixed by a test; the defaults describe a current desktop without
// visual styles.
class FixedPlatformFacts : public PlatformFacts {
 public:
  bool XP = true;
  bool Win7 = true;
  bool Vista = true;
  bool Themes = false;
  bool CommonControls6 = true;
  Integer WheelLines = 3;

  bool WinXPOrLater() const override { return XP; }
  bool Win7OrLater() const override { return Win7; }
  bool WindowsVistaOrLater() const override { return Vista; }
  bool ThemeActive() const override { return Themes; }
  bool NewCommonControls() const override { return CommonControls6; }
  Integer WheelScrollLines() const override { return WheelLines; }
};

}  // namespace grid
