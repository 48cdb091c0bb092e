// The block keywords around the caret: the start and the end keyword of the
// block the caret is in (or on), looked for among the visible lines.
#include <algorithm>
#include <vector>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoStyler.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"

namespace memo {

namespace {

struct TKeyHit {
  size_t pos;    // byte offset in the line
  size_t bytes;  // the keyword's length in bytes
  bool start;
};

// The comma-separated alternatives of a keyword setting, in upper case.
std::vector<AnsiString> Alternatives(const AnsiString& setting) {
  std::vector<AnsiString> out;
  size_t from = 0;
  while (from <= setting.size()) {
    size_t comma = setting.find(',', from);
    if (comma == AnsiString::npos) comma = setting.size();
    AnsiString one = rtl::UpperCase(rtl::Trim(setting.substr(from, comma - from)));
    if (!one.empty()) out.push_back(one);
    from = comma + 1;
  }
  return out;
}

}  // namespace

void TLumCustomMemo::UpdateBlockHighlight() {
  auto clear = [this] {
    if (blockStartLine_ < 0 && blockEndLine_ < 0) return;
    blockStartLine_ = blockStartCol_ = blockStartLen_ = -1;
    blockEndLine_ = blockEndCol_ = blockEndLen_ = -1;
    Invalidate();
  };
  TLumCustomMemoStyler* styler = ActiveStyler();
  if (!styler || styler->BlockStart.empty() || styler->BlockEnd.empty() || LineCount() == 0 || caretY_ >= LineCount()) {
    clear();
    return;
  }
  const std::vector<AnsiString> starts = Alternatives(styler->BlockStart);
  const std::vector<AnsiString> ends = Alternatives(styler->BlockEnd);

  // Every keyword of a line with a delimiter (or the line's edge) on each
  // side, left to right.
  auto hits = [&](Integer line) {
    std::vector<TKeyHit> found;
    const AnsiString upper = rtl::UpperCase(LineText(line));
    auto delimited = [&](size_t at, size_t bytes) {
      bool left = at == 0 || IsDelimiter(upper[at - 1]);
      bool right = at + bytes >= upper.size() || IsDelimiter(upper[at + bytes]);
      return left && right;
    };
    size_t p = 0;
    while (p < upper.size()) {
      bool matched = false;
      for (int kind = 0; kind < 2 && !matched; ++kind)
        for (const AnsiString& k : kind == 0 ? starts : ends)
          if (upper.compare(p, k.size(), k) == 0 && delimited(p, k.size())) {
            found.push_back({p, k.size(), kind == 0});
            p += k.size();
            matched = true;
            break;
          }
      if (!matched) ++p;
    }
    return found;
  };

  Integer firstVisible = topLine_;
  Integer lastVisible =
      std::min(VisibleToReal(RealToVisible(topLine_) + std::max(GetVisibleExtent(1), 0)), LineCount() - 1);
  const std::vector<TKeyHit> onCaret = hits(caretY_);
  bool caretStart = std::any_of(onCaret.begin(), onCaret.end(), [](const TKeyHit& h) { return h.start; });
  bool caretEnd = std::any_of(onCaret.begin(), onCaret.end(), [](const TKeyHit& h) { return !h.start; });

  Integer endLine = -1;
  TKeyHit endHit{};
  {
    Integer count = 0, target = caretStart ? 0 : -1;
    for (Integer line = caretY_; line <= lastVisible && endLine < 0; line = VisibleToReal(RealToVisible(line) + 1)) {
      for (const TKeyHit& h : line == caretY_ ? onCaret : hits(line)) {
        count += h.start ? 1 : -1;
        if (!h.start && count == target) {
          endLine = line;
          endHit = h;
          break;
        }
      }
      if (line >= LineCount() - 1) break;
    }
  }
  Integer startLine = -1;
  TKeyHit startHit{};
  {
    Integer count = 0, target = caretEnd ? 0 : -1;
    for (Integer line = caretY_; line >= firstVisible && startLine < 0; line = VisibleToReal(RealToVisible(line) - 1)) {
      std::vector<TKeyHit> lineHits = line == caretY_ ? onCaret : hits(line);
      for (auto it = lineHits.rbegin(); it != lineHits.rend(); ++it) {
        count += it->start ? -1 : 1;
        if (it->start && count == target) {
          startLine = line;
          startHit = *it;
          break;
        }
      }
      if (line <= 0) break;
    }
  }
  if (startLine < 0 || endLine < 0) {
    clear();
    return;
  }
  auto column = [this](Integer line, size_t pos) { return CharLength(std::string_view(LineText(line)).substr(0, pos)); };
  blockStartLine_ = startLine;
  blockStartCol_ = column(startLine, startHit.pos);
  blockStartLen_ = CharLength(std::string_view(LineText(startLine)).substr(startHit.pos, startHit.bytes));
  blockEndLine_ = endLine;
  blockEndCol_ = column(endLine, endHit.pos);
  blockEndLen_ = CharLength(std::string_view(LineText(endLine)).substr(endHit.pos, endHit.bytes));
  Invalidate();
}

}  // namespace memo
