// Code folding: regions kept in the lines' records, the maps between rows
// and lines, and the regions found by the styler's rules.
#include <algorithm>
#include <map>
#include <vector>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoTokenizer.h"
#include "rtl/Strings.h"

namespace memo {

// ------------------------------------------------------------ row maps

Integer TLumCustomMemo::RealToVisible(Integer line) const {
  if (!codeFolding_->Enabled() || regionCount_ == 0 || line <= 0) return line;
  const Integer count = LineCount();
  Integer row = 0;
  for (Integer i = 0; i < count;) {
    if (i == line) return row;
    if (IsRegionStart(i) && !IsExpanded(i)) {
      Integer end = RegionEndLine(i);
      if (end > i) {
        if (line > i && line <= end) return row;  // hidden: its start's row
        ++row;
        i = end + 1;
        continue;
      }
    }
    ++row;
    ++i;
  }
  return row + (line - count);
}

Integer TLumCustomMemo::VisibleToReal(Integer row) const {
  if (!codeFolding_->Enabled() || regionCount_ == 0 || row <= 0) return row;
  const Integer count = LineCount();
  Integer at = 0;
  for (Integer i = 0; i < count;) {
    if (at == row) return i;
    Integer next = i + 1;
    if (IsRegionStart(i) && !IsExpanded(i)) {
      Integer end = RegionEndLine(i);
      if (end > i) next = end + 1;
    }
    ++at;
    i = next;
  }
  return count + (row - at);
}

// -------------------------------------------------------------- queries

bool TLumCustomMemo::IsRegionStart(Integer line) const {
  if (!codeFolding_->Enabled()) return false;
  TLineProp* p = TextStore()->GetLineProp(line);
  return p && p->RegionStart;
}

bool TLumCustomMemo::IsExpanded(Integer line) const {
  TLineProp* p = TextStore()->GetLineProp(line);
  return !p || p->Expanded;
}

Integer TLumCustomMemo::RegionEndLine(Integer start) const {
  if (!IsRegionStart(start)) return -1;
  TLumMemoStrings* store = TextStore();
  Integer open = 1, closed = 0;
  for (Integer i = start + 1; i < store->Count(); ++i) {
    TLineProp* p = store->GetLineProp(i);
    if (!p) continue;
    if (p->RegionStart) ++open;
    closed += p->RegionEndCount();
    if (closed >= open) return i;
  }
  return -1;
}

// ------------------------------------------------------------- changes

void TLumCustomMemo::SetExpanded(Integer line, bool expanded) {
  if (!IsRegionStart(line) || IsExpanded(line) == expanded) return;
  {
    TFlagScope quiet(notifications_, false);
    TextStore()->GetLineProp(line)->Expanded = expanded;
  }
  UpdateScrollBars(false);
  Invalidate();
  // The caret steps right and back, so its place is worked out anew.
  Integer x = caretX_;
  SetCaretX(x + 1);
  if (caretX_ != x) SetCaretX(x);
  if (autoExpand_) {
    TFlagScope quiet(notifications_, false);
    StoreTrimmedLine(caretY_);
  }
  ShowCaretAt(true);
}

void TLumCustomMemo::ToggleExpanded(Integer line) { SetExpanded(line, !IsExpanded(line)); }

bool TLumCustomMemo::CaptionedCollapsedRegionAt(Integer line) const {
  if (!IsRegionStart(line) || IsExpanded(line)) return false;
  Integer definition = -1;
  AnsiString caption;
  return RegionCaption(line, definition, caption);
}

void TLumCustomMemo::ExpandRegionAt(Integer line) {
  if (IsRegionStart(line) && !IsExpanded(line)) SetExpanded(line, true);
}

void TLumCustomMemo::AddRegion(Integer start, Integer end) {
  if (!codeFolding_->Enabled()) return;
  TLumMemoStrings* store = TextStore();
  if (start < 0 || start >= store->Count() || IsRegionStart(start) || end >= store->Count() || start >= end) return;
  ++regionCount_;
  store->CreateLineProp(start)->RegionStart = true;
  TLineProp* last = store->CreateLineProp(end);
  last->InRegion = true;
  last->SetRegionEndCount(last->RegionEndCount() + 1);
  for (Integer i = start + 1; i < end; ++i) store->CreateLineProp(i)->InRegion = true;
  UpdateScrollBars(false);
  // The first region makes room for the strip: the caret moves with the text.
  if (caretShown_) ShowCaretAt(true);
  Invalidate();
}

void TLumCustomMemo::RemoveRegionStartingAt(Integer line) {
  if (!IsRegionStart(line)) return;
  TLumMemoStrings* store = TextStore();
  TLineProp* start = store->GetLineProp(line);
  const bool outer = start->InRegion;
  Integer end = RegionEndLine(line);
  // Lines of nested regions keep their mark.
  Integer depth = 0;
  for (Integer i = line + 1; end >= 0 && i <= end; ++i) {
    TLineProp* p = store->GetLineProp(i);
    if (!p) continue;
    if (depth == 0 && !outer && i != end) p->InRegion = false;
    if (p->RegionStart) ++depth;
    depth -= std::min(depth, p->RegionEndCount());
  }
  if (end >= 0) {
    TLineProp* last = store->GetLineProp(end);
    if (!outer && last->RegionEndCount() <= 1) last->InRegion = false;
    last->SetRegionEndCount(last->RegionEndCount() - 1);
    --regionCount_;
  }
  start->RegionStart = false;
  start->Expanded = true;
  Invalidate();
}

void TLumCustomMemo::RemoveRegionEndingAt(Integer line) {
  if (!codeFolding_->Enabled()) return;
  TLumMemoStrings* store = TextStore();
  TLineProp* last = store->GetLineProp(line);
  if (!last || !last->InRegion || last->RegionEndCount() <= 0) return;
  // Upwards to the start this end pairs with.
  Integer depth = 0, start = -1;
  for (Integer i = line - 1; i >= 0; --i) {
    TLineProp* p = store->GetLineProp(i);
    if (!p) continue;
    if (p->RegionStart) {
      if (depth == 0) {
        start = i;
        break;
      }
      --depth;
    }
    depth += p->RegionEndCount();
  }
  TLineProp* after = store->GetLineProp(line + 1);
  const bool afterInRegion = after && after->InRegion;
  if (start >= 0 && !afterInRegion)
    for (Integer i = start + 1; i < line; ++i)
      if (TLineProp* p = store->GetLineProp(i)) p->InRegion = false;
  --regionCount_;
  last->SetRegionEndCount(last->RegionEndCount() - 1);
  last->InRegion = line + 1 < store->Count() && afterInRegion;
  if (start >= 0) {
    store->GetLineProp(start)->RegionStart = false;
    store->GetLineProp(start)->Expanded = true;
  }
  Invalidate();
}

void TLumCustomMemo::RemoveRegionsForDeletedLine(Integer line) {
  if (!codeFolding_->Enabled() || regionCount_ == 0) return;
  TLineProp* p = TextStore()->GetLineProp(line);
  if (!p) return;
  if (p->RegionStart)
    RemoveRegionStartingAt(line);
  else if (p->InRegion && p->RegionEndCount() > 0)
    RemoveRegionEndingAt(line);
}

void TLumCustomMemo::ClearRegions() {
  TLumMemoStrings* store = TextStore();
  for (Integer i = 0; i < store->Count(); ++i)
    if (TLineProp* p = store->GetLineProp(i)) {
      p->Expanded = true;
      p->SetRegionEndCount(0);
      p->InRegion = false;
      p->RegionStart = false;
    }
  regionCount_ = 0;
  if (caretShown_) ShowCaretAt(true);
  Invalidate();
}

bool TLumCustomMemo::RegionCaption(Integer line, Integer& definition, AnsiString& caption) const {
  definition = -1;
  caption.clear();
  TLumCustomMemoStyler* styler = syntaxStyles_;
  if (!IsRegionStart(line) || !styler) return false;
  const AnsiString& text = LineText(line);
  size_t lead = text.find_first_not_of(' ');
  if (lead == AnsiString::npos) return false;
  const AnsiString trimmed = rtl::Trim(text);
  const AnsiString right = styler->MultiCommentRight;
  size_t wordEnd = 0;
  while (wordEnd < trimmed.size() && trimmed[wordEnd] != ' ' && trimmed[wordEnd] != ';' && trimmed[wordEnd] != ':' &&
         !(right.size() == 1 && trimmed[wordEnd] == right[0]))
    ++wordEnd;
  const AnsiString word = rtl::UpperCase(trimmed.substr(0, wordEnd));
  TRegionDefinitions* rules = styler->RegionDefinitions();
  for (Integer i = 0; i < rules->Count(); ++i) {
    TRegionDefinition* r = rules->Items(i);
    if (word != rtl::UpperCase(r->Identifier()) && word != rtl::UpperCase(r->RegionStart()) &&
        word != rtl::UpperCase(r->RegionEnd()))
      continue;
    if (!r->ShowComments()) return false;
    AnsiString rest = trimmed.substr(wordEnd);
    if (!right.empty()) {
      size_t close = rest.find(right);
      if (close != AnsiString::npos) rest = rest.substr(0, close);
    }
    definition = i;
    caption = text.substr(0, lead) + "[" + rtl::Trim(rest) + "]";
    return true;
  }
  return false;
}

// -------------------------------------------------------------- rebuild

void TLumCustomMemo::RebuildRegions() {
  TLumCustomMemoStyler* styler = syntaxStyles_;
  if (!codeFolding_->Enabled() || !styler || !useStyler_) return;
  TRegionDefinitions* rules = styler->RegionDefinitions();
  if (rules->Count() == 0) return;
  TLumMemoStrings* store = TextStore();
  const Integer count = store->Count();

  std::map<Integer, bool> expanded;
  for (Integer i = 0; i < count; ++i)
    if (TLineProp* p = store->GetLineProp(i); p && p->RegionStart) expanded[i] = p->Expanded;
  ClearRegions();

  AnsiString delimiters = "{}";
  for (Integer i = 0; i < styler->AllStyles()->Count(); ++i)
    if (TElementStyle* e = styler->AllStyles()->Items(i); e->StyleType() == stSymbol) delimiters += e->Symbols();
  struct TRule {
    AnsiString identifier, start, end;
    TRegionType type;
  };
  std::vector<TRule> rule;
  for (Integer i = 0; i < rules->Count(); ++i) {
    TRegionDefinition* r = rules->Items(i);
    rule.push_back({rtl::UpperCase(r->Identifier()), rtl::UpperCase(r->RegionStart()), rtl::UpperCase(r->RegionEnd()),
                    r->RegionType()});
  }
  auto isRuleWord = [&](const AnsiString& w) {
    if (w.empty()) return false;
    for (const TRule& r : rule)
      if (w == r.identifier || w == r.start || w == r.end) return true;
    return false;
  };
  const AnsiString lineComment = rtl::UpperCase(styler->LineComment);
  const AnsiString left = rtl::UpperCase(styler->MultiCommentLeft);
  const AnsiString right = rtl::UpperCase(styler->MultiCommentRight);

  struct TFound {
    Integer start, end;
    Integer rule;
    bool secondSlot;
  };
  std::vector<TFound> found;
  Integer newestOpen = -1;  // the newest rtOpen region still open
  struct TPending {
    Integer line = -1, rule = -1;
  } first, second;
  bool secondUsed = false;
  Integer ignored = 0;
  bool inComment = false;
  const Integer lastLine = count - 1;

  for (Integer line = 0; line < count; ++line) {
    AnsiString text = rtl::UpperCase(rtl::Trim(store->Line(line)));
    std::vector<AnsiString> tokens;
    if (inComment) {
      size_t close = right.empty() ? AnsiString::npos : text.find(right);
      if (close == AnsiString::npos) continue;
      text.erase(0, close + right.size());
      inComment = false;
    }
    AnsiString kept;
    for (size_t at = 0; at < text.size();) {
      size_t lc = lineComment.empty() ? AnsiString::npos : text.find(lineComment, at);
      size_t bc = left.empty() ? AnsiString::npos : text.find(left, at);
      if (lc != AnsiString::npos && (bc == AnsiString::npos || lc < bc)) {
        kept += text.substr(at, lc - at);
        break;
      }
      if (bc == AnsiString::npos) {
        kept += text.substr(at);
        break;
      }
      kept += text.substr(at, bc - at);
      size_t close = right.empty() ? AnsiString::npos : text.find(right, bc + left.size());
      if (close == AnsiString::npos) {
        inComment = true;
        break;
      }
      // A comment that closes on its line may carry a rule's word at the
      // line's start (as "{$REGION" does).
      AnsiString first = text.substr(0, text.find(' '));
      if (isRuleWord(first))
        tokens.push_back(first);
      else if (first.size() > 1 && isRuleWord(first.substr(0, first.size() - 1)))
        tokens.push_back(first.substr(0, first.size() - 1));
      at = close + right.size();
    }
    AnsiString piece;
    auto flush = [&] {
      if (!piece.empty()) tokens.push_back(piece);
      piece.clear();
    };
    for (char c : kept) {
      if (c == ' ' || c == ';' || c == ':' || delimiters.find(c) != AnsiString::npos)
        flush();
      else
        piece += c;
    }
    flush();

    for (const AnsiString& token : tokens) {
      for (Integer r = 0; r < static_cast<Integer>(rule.size()); ++r) {
        const TRule& R = rule[r];
        if (!R.identifier.empty() && token == R.identifier) {
          if (R.type == rtOpen) {
            if (newestOpen >= 0 && line > 0) found[newestOpen].end = line - 1;
            found.push_back({line, -1, r, false});
            newestOpen = static_cast<Integer>(found.size()) - 1;
            continue;
          }
          if (R.type == rtFile) {
            found.push_back({line, lastLine, r, false});
            continue;
          }
          if (R.start == R.identifier) {
            found.push_back({line, -1, r, false});
          } else {
            first = second;
            second = {line, r};
            secondUsed = false;
          }
          break;
        }
        if (R.type != rtClosed && R.type != rtIgnore) continue;
        if (!R.start.empty() && token == R.start) {
          bool pending = second.line >= 0 || first.line >= 0;
          if (!pending || ignored > 0) {
            ++ignored;
          } else if (secondUsed || second.line < 0) {
            if (first.line >= 0) found.push_back({first.line, -1, first.rule, false});
          } else {
            found.push_back({second.line, -1, second.rule, true});
            secondUsed = true;
          }
          break;
        }
        if (!R.end.empty() && token == R.end) {
          if (ignored > 0) {
            --ignored;
            break;
          }
          bool matched = false;
          for (auto it = found.rbegin(); it != found.rend(); ++it) {
            const TRule& opened = rule[it->rule];
            if (it->end >= 0 || opened.type == rtOpen || opened.type == rtFile || opened.end != token) continue;
            it->end = line;
            matched = true;
            if (it->secondSlot) first = second = {};
            break;
          }
          if (!matched) first = second = {};
          break;
        }
      }
    }
  }

  for (TFound& f : found) {
    TRegionType type = rule[f.rule].type;
    if (type == rtOpen && f.end < 0) f.end = lastLine;
    if (type == rtIgnore || f.end < 0) continue;
    AddRegion(f.start, f.end);
  }
  for (const auto& [line, state] : expanded)
    if (TLineProp* p = store->GetLineProp(line); p && p->RegionStart) p->Expanded = state;
  UpdateScrollBars(false);
  Invalidate();
}

}  // namespace memo
