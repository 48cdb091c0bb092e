#include "grid/model/InplaceRules.h"

#include <algorithm>
#include <cctype>

#include "grid/model/GridUtils.h"
#include "rtl/Strings.h"

namespace grid {

namespace {

constexpr unsigned char KeyBack = 8, KeyTab = 9, KeyEnter = 13, KeyEscape = 27;

bool IsControlKey(unsigned char c) { return c == KeyBack || c == KeyTab || c == KeyEnter || c == KeyEscape; }
bool IsDigitKey(unsigned char c) { return c >= '0' && c <= '9'; }

// The selection holds the position of the text.
bool SelectionCovers(const TCharRuleInput& in, size_t position) {
  return in.SelLength > 0 && static_cast<Integer>(position) >= in.SelStart &&
         static_cast<Integer>(position) < in.SelStart + in.SelLength;
}

TCharRule Pass(unsigned char c) { return {TCharVerdict::cvPass, c, false, false}; }
TCharRule Refuse(unsigned char c) { return {TCharVerdict::cvRefuse, c, false, false}; }
TCharRule Ignore(unsigned char c) { return {TCharVerdict::cvIgnore, c, false, false}; }

}  // namespace

TCharRule ApplyCharRule(const TCharRuleInput& in) {
  const unsigned char c = in.Char;
  // A full text takes no more characters unless some are selected.
  if (in.LengthLimit > 0 && static_cast<Integer>(in.Text.size()) >= in.LengthLimit && in.SelLength == 0 &&
      c != KeyBack && c != KeyEscape && c != KeyEnter)
    return Ignore(c);
  if (c == KeyEnter && in.LineFeedOnEnter &&
      (in.Editor == edNormal || in.Editor == edCapital || in.Editor == edMixedCase || in.Editor == edLowerCase ||
       in.Editor == edUpperCase || in.Editor == edValidChars)) {
    TCharRule r = Pass(c);
    r.LineBreak = true;
    return r;
  }
  switch (in.Editor) {
    case edNormal:
    case edPassword:
      return Pass(c);
    case edNumeric:
      if (IsControlKey(c) || IsDigitKey(c)) return Pass(c);
      if (c == '-' && in.Text.find('-') == AnsiString::npos && in.SelStart == 0) return Pass(c);
      return Refuse(c);
    case edPositiveNumeric:
      if (IsControlKey(c) || IsDigitKey(c)) return Pass(c);
      return Refuse(c);
    case edFloat: {
      const bool candidate = IsControlKey(c) || IsDigitKey(c) || c == ',' || c == '-' || c == '.';
      if (!candidate) return in.Ctrl ? Pass(c) : Ignore(c);
      if (c == static_cast<unsigned char>(in.DecimalSeparator)) {
        for (size_t i = 0; i < in.Text.size(); ++i)
          if (in.Text[i] == in.DecimalSeparator && !SelectionCovers(in, i)) return Ignore(c);
        return Pass(c);
      }
      if (c == static_cast<unsigned char>(in.ThousandSeparator)) return Ignore(c);
      if (c == '-') {
        bool selectedMinus = false;
        for (size_t i = 0; i < in.Text.size(); ++i)
          if (in.Text[i] == '-' && SelectionCovers(in, i)) selectedMinus = true;
        if ((in.SelStart == 0 && in.Text.find('-') == AnsiString::npos) || selectedMinus) return Pass(c);
        return Refuse(c);
      }
      return Pass(c);
    }
    case edCapital:
    case edUpperCase:
      return Pass(static_cast<unsigned char>(std::toupper(c)));
    case edLowerCase:
      return Pass(static_cast<unsigned char>(std::tolower(c)));
    case edMixedCase: {
      TCharRule r = Pass(c);
      r.MixedCaseAfter = true;
      return r;
    }
    case edValidChars: {
      if (c == KeyBack || c == KeyEnter) return Pass(c);
      const bool valid = in.ValidChars.empty() ? in.ValidSet.test(c) : in.ValidChars.find(static_cast<char>(c)) != AnsiString::npos;
      return valid ? Pass(c) : Refuse(c);
    }
    default:
      return Ignore(c);
  }
}

TPasteResult ApplyPaste(const TPasteInput& in) {
  TPasteResult r;
  r.Text = in.Text;
  r.SelStart = in.SelStart;
  r.SelLength = in.SelLength;
  if (in.LengthLimit > 0 && static_cast<Integer>(in.Pasted.size()) > in.LengthLimit) return r;
  AnsiString pasted = in.Pasted;
  // A single line break at the very end is the copy's, not the text's.
  if (pasted.size() >= 2 && pasted.compare(pasted.size() - 2, 2, "\r\n") == 0) {
    const AnsiString body = pasted.substr(0, pasted.size() - 2);
    if (body.find('\r') == AnsiString::npos && body.find('\n') == AnsiString::npos) pasted = body;
  }
  const size_t start = static_cast<size_t>(std::clamp<Integer>(in.SelStart, 0, static_cast<Integer>(in.Text.size())));
  const size_t length = in.SelLength > 0 ? std::min<size_t>(static_cast<size_t>(in.SelLength), in.Text.size() - start) : 0;
  AnsiString merged = in.Text.substr(0, start) + pasted + in.Text.substr(start + length);
  if (in.LengthLimit > 0 && static_cast<Integer>(merged.size()) > in.LengthLimit) return r;
  r.Merged = true;
  bool taken = true;
  switch (in.Editor) {
    case edNumeric:
      taken = GetNumberKind(merged) == TNumberKind::nkInteger;
      break;
    case edPositiveNumeric:
      taken = !merged.empty() && std::all_of(merged.begin(), merged.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
      break;
    case edFloat: {
      const TNumberKind kind = GetNumberKind(merged);
      taken = kind == TNumberKind::nkInteger || kind == TNumberKind::nkFloat;
      break;
    }
    case edMixedCase:
      merged = MixedCase(merged);
      break;
    case edLowerCase:
      merged = rtl::AnsiLowerCase(merged);
      break;
    case edUpperCase:
      merged = rtl::AnsiUpperCase(merged);
      break;
    case edValidChars:
      taken = std::all_of(merged.begin(), merged.end(),
                          [&](char ch) { return in.ValidChars.find(ch) != AnsiString::npos; });
      break;
    default:
      break;
  }
  if (!taken) return r;
  r.Text = merged;
  if (length > 0) {
    r.SelStart = static_cast<Integer>(start);
    r.SelLength = static_cast<Integer>(pasted.size());
  } else {
    r.SelStart = static_cast<Integer>(start + pasted.size());
    r.SelLength = 0;
  }
  return r;
}

TLookupCompletion CompleteFromLookup(std::string_view text, Integer caret, const std::vector<AnsiString>& items,
                                     bool caseSensitive) {
  TLookupCompletion r;
  r.Text = AnsiString(text);
  const size_t at = static_cast<size_t>(std::clamp<Integer>(caret, 0, static_cast<Integer>(text.size())));
  const AnsiString typed(text.substr(0, at));
  if (typed.empty()) return r;
  const AnsiString prefix = caseSensitive ? typed : rtl::AnsiUpperCase(typed);
  for (const AnsiString& item : items) {
    if (item.size() < prefix.size()) continue;
    const AnsiString head = item.substr(0, prefix.size());
    if ((caseSensitive ? head : rtl::AnsiUpperCase(head)) != prefix) continue;
    r.Completed = true;
    r.Text = typed + item.substr(prefix.size(), 255);
    r.SelStart = static_cast<Integer>(typed.size());
    r.SelLength = static_cast<Integer>(r.Text.size() - typed.size());
    return r;
  }
  return r;
}

}  // namespace grid
