#pragma once
// The editor's clipboard formats: 8-bit text, Unicode text (format 13,
// UTF-16LE with a terminating zero unit) and "HTML Format", a header of
// byte offsets before an HTML document in which the fragment is delimited;
// and the splitter that turns pasted text into lines.
//
// The bytes travel through a backend, so the routines need no window
// system: the host installs one over the desktop's clipboard, tests an
// in-memory one. Without an installed backend a process-wide in-memory
// clipboard is used.
#include <map>
#include <string>
#include <vector>

#include "rtl/Types.h"

namespace htmledit {

using rtl::AnsiString;
using rtl::Integer;
using rtl::WideString;
using TpsClipboardFormat = rtl::Word;

inline constexpr TpsClipboardFormat CF_TEXT = 1;
inline constexpr TpsClipboardFormat CF_UNICODETEXT = 13;

// One format's bytes as one block, under numbered formats. Between Open and
// Close every format set is kept together and the first one set empties the
// clipboard; brackets nest.
class IpsClipboardBackend {
 public:
  virtual ~IpsClipboardBackend() = default;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool HasFormat(TpsClipboardFormat aFormat) = 0;
  // Empty when the format is not there.
  virtual std::string GetData(TpsClipboardFormat aFormat) = 0;
  virtual void SetData(TpsClipboardFormat aFormat, const std::string& aBytes) = 0;
  // The same name (ASCII case ignored) always gives the same number, from
  // 0xC000 up.
  virtual TpsClipboardFormat RegisterFormat(const AnsiString& aName) = 0;
};

// Keeps each format's bytes exactly as set.
class TpsMemoryClipboard : public IpsClipboardBackend {
 public:
  void Open() override;
  void Close() override;
  bool HasFormat(TpsClipboardFormat aFormat) override;
  std::string GetData(TpsClipboardFormat aFormat) override;
  void SetData(TpsClipboardFormat aFormat, const std::string& aBytes) override;
  TpsClipboardFormat RegisterFormat(const AnsiString& aName) override;

  Integer OpenCount() const { return FOpenCount; }
  // The formats held now, in ascending order.
  std::vector<TpsClipboardFormat> Formats() const;

 private:
  std::map<TpsClipboardFormat, std::string> FData;
  std::vector<AnsiString> FNames;
  Integer FOpenCount = 0;
  bool FEmptied = false;
};

// The backend the routines use; nullptr puts the process-wide in-memory one
// back. The caller keeps ownership.
void SetClipboardBackend(IpsClipboardBackend* aBackend);
IpsClipboardBackend& ClipboardBackend();

class TpsClipboard {
 public:
  static constexpr Integer HeaderLength = 163;

  // The clipboard must be open (PutHtml and PutUnicodeText too).
  static void SetData(TpsClipboardFormat aFormat, const char* aBytes, size_t aCount);
  // aFirst and aLast: 1-based, inclusive positions of the fragment in aHtml.
  static void PutHtml(const AnsiString& aHtml, Integer aFirst, Integer aLast);
  // The "HTML Format" data as built by PutHtml (its zero byte included).
  static std::string BuildHtmlFormat(const AnsiString& aHtml, Integer aFirst, Integer aLast);
  // The "HTML Format" data up to its first zero byte; empty without it.
  static AnsiString GetHtml();
  // The fragment the header delimits, cut with the clamping Copy (offsets
  // past the data, reversed or negative never read outside it); empty when
  // the header lacks StartFragment or EndFragment.
  static AnsiString GetFragment(const AnsiString& aData);
  static void PutUnicodeText(const WideString& aText);
  // Up to the first zero unit; empty without Unicode text.
  static WideString GetUnicodeText();
  // Lines of pasted text: blanks and tabs squeezed, each ended line with a
  // final CR, an empty source line as an entry of a lone CR. CR LF, a lone
  // CR and a lone LF each end a line.
  static void TextToLines(const WideString& aText, std::vector<WideString>& aLines);

  static TpsClipboardFormat HtmlFormat();
};

}  // namespace htmledit
