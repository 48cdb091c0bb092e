#pragma once
// The parameter hint's definitions and the decision of what it shows: the
// call being typed left of the caret, the pattern that describes it, and
// that pattern cut into the parameters before, at and after the caret's.
// Nothing here touches a window, so the rules are tested on plain lines.
#include <functional>
#include <optional>
#include <string_view>

#include "rtl/StringList.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"

namespace vcl {
class TCanvas;
}

namespace memo {

using rtl::AnsiString;
using rtl::Integer;

class THintParameter : public vcl::TPersistent {
 public:
  vcl::TColor TextColor = vcl::clBlack;
  vcl::TColor BkColor = vcl::clInfoBk;
  AnsiString HintCharStart = "(";
  AnsiString HintCharEnd = ")";
  AnsiString HintCharDelimiter = ";";
  AnsiString HintCharWriteDelimiter = ",";
  // Call patterns: a name, then its parameters between HintCharStart and
  // HintCharEnd, separated by HintCharWriteDelimiter.
  rtl::TStringList* Parameters() { return &parameters_; }
  const rtl::TStringList* Parameters() const { return &parameters_; }
  void SetParameters(const rtl::TStrings& v) { parameters_.Assign(v); }
  void Assign(const vcl::TPersistent* source) override;

 private:
  rtl::TStringList parameters_;
};

// The call whose parameter list the caret stands in.
struct TCallAtCaret {
  AnsiString Name;           // as typed
  Integer ParameterIndex = 0;  // parameters written before the caret's
};

// Which of the three parts the hint window writes in bold.
enum class THintBold { hbNone = 0, hbFirst = 1, hbMiddle = 2, hbLast = 3 };
using enum THintBold;

struct TParameterHintText {
  AnsiString Before, Current, After;
  THintBold Bold = hbNone;
  AnsiString Plain() const { return Before + Current + After; }
  // The part written in bold (empty with hbNone).
  AnsiString BoldPart() const;
};

// Scans line leftwards from the caret's column (characters; a column past
// the end counts from the end). No call when a HintCharEnd comes first, no
// HintCharStart is met, five blanks stand in a row, or no name precedes it.
std::optional<TCallAtCaret> FindCallAtCaret(std::string_view line, Integer column, const THintParameter& hp);

// The first pattern whose name (the text before its HintCharStart, trimmed)
// is the given name, folded to upper case unless caseSensitive; empty when
// none is.
AnsiString FindParameterPattern(const THintParameter& hp, std::string_view name, bool caseSensitive);

// The pattern's parameter list cut at the given parameter: that one in bold
// with what comes before and after it, or the whole list plain when the
// caret stands past the last parameter.
TParameterHintText SplitParameterHint(std::string_view pattern, Integer parameterIndex, const THintParameter& hp);

// A handler's say on the hint for a name; Handled keeps the patterns unread.
using TGetParameterHintEvent =
    std::function<void(vcl::TObject* Sender, const AnsiString& AToken, AnsiString& AParameterHint, bool& Handled)>;

// The whole decision for a caret on a line: nothing when there is no call
// or no hint for it.
std::optional<TParameterHintText> ParameterHintFor(std::string_view line, Integer column, const THintParameter& hp,
                                                   bool caseSensitive, const TGetParameterHintEvent& onGet,
                                                   vcl::TObject* sender);

// The hint window's size for a text with the canvas's font: each part as
// written (the bold one bold) plus 6 wide, a sample of tall and deep
// characters ("h,g_`") plus 5 high.
vcl::TSize ParameterHintSize(vcl::TCanvas* canvas, const TParameterHintText& text);

// The hint window's face over a client area of the given size: filled with
// the background colour inside a gray frame, the text's three parts written
// one after another from (2, 2) in the text colour, the bold one in bold.
// The font's style and colour are left as found.
void DrawParameterHint(vcl::TCanvas* canvas, vcl::TSize client, const TParameterHintText& text, vcl::TColor textColour,
                       vcl::TColor background);

}  // namespace memo
