#include "rtl/RichText.h"

#include <algorithm>
#include <cstring>

#include "rtl/CodePages.h"

namespace rtl {

namespace {

// The destinations whose content is not text of the document.
constexpr const char* SkippedDestinations[] = {
    "fonttbl", "stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer", "footerl",
    "footerr", "footerf", "footnote", "fldinst", "object", "objdata", "themedata", "colorschememapping",
    "latentstyles", "datastore", "xmlnstbl", "listtable", "listoverridetable", "rsidtbl", "generator", "filetbl",
    "revtbl", "nonshppict", "shppict", "bkmkstart", "bkmkend", "xe", "tc", "txe", "template", "userprops",
    "docvar", "pgdsctbl", "operator", "author", "title", "subject", "keywords", "comment", "doccomm", "company",
    "pntext", "pntxta", "pntxtb", "listtext", "wgrffmtfilter", "mmathPr", "passwordhash", "shpinst", "sp", "sn",
    "sv", "factoidname", "atnid", "atnauthor", "annotation", "atrfstart", "atrfend", "ftnsep", "ftnsepc",
    "ftncn", "aftnsep", "aftnsepc", "aftncn"};

bool IsSkippedDestination(std::string_view word) {
  for (const char* d : SkippedDestinations)
    if (word == d) return true;
  return false;
}

struct GroupState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Integer halfPoints = 0;
  Integer colorIndex = -1;
  Integer unicodeSkip = 1;  // \ucN
  bool skip = false;        // inside a destination that is not shown
  bool colorTable = false;
};

// Deeper groups than this share the state of the deepest one kept, so a
// text of nothing but braces costs no more than its length.
constexpr size_t MaxKeptDepth = 256;

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  TRichTextDocument Read() {
    stack_.push_back(GroupState{});
    bool started = false;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '{') {
        ++pos_;
        OpenGroup();
        started = true;
        pendingSkip_ = 0;
      } else if (c == '}') {
        ++pos_;
        pendingSkip_ = 0;
        if (!CloseGroup() && started) break;  // the outermost group ended
      } else if (c == '\\') {
        ++pos_;
        ControlAt();
      } else if (c == '\r' || c == '\n') {
        ++pos_;
      } else {
        ++pos_;
        if (ConsumeSkip()) continue;
        if (Top().colorTable) {
          if (c == ';') EndColor();
          continue;
        }
        AddByte(static_cast<unsigned char>(c));
      }
    }
    Flush();
    return std::move(doc_);
  }

 private:
  GroupState& Top() { return stack_.back(); }

  void OpenGroup() {
    if (overflow_ > 0 || stack_.size() >= MaxKeptDepth) {
      ++overflow_;
      return;
    }
    Flush();
    stack_.push_back(stack_.back());
    expectDestination_ = true;
  }

  // False at depth 0 (a closing brace without its opening one).
  bool CloseGroup() {
    if (overflow_ > 0) {
      --overflow_;
      return true;
    }
    Flush();
    if (stack_.size() <= 1) return false;
    stack_.pop_back();
    expectDestination_ = false;
    return stack_.size() > 1;
  }

  bool ConsumeSkip() {
    if (pendingSkip_ <= 0) return false;
    --pendingSkip_;
    return true;
  }

  void ControlAt() {
    if (pos_ >= s_.size()) return;
    const char c = s_[pos_];
    if (!IsLetter(c)) {
      ++pos_;
      ControlSymbol(c);
      return;
    }
    const size_t start = pos_;
    while (pos_ < s_.size() && IsLetter(s_[pos_]) && pos_ - start < 32) ++pos_;
    const std::string_view word = s_.substr(start, pos_ - start);
    bool hasParam = false;
    bool negative = false;
    int64_t param = 0;
    if (pos_ < s_.size() && s_[pos_] == '-' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    size_t digits = 0;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) {
      if (digits < 10) param = param * 10 + (s_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    hasParam = digits > 0;
    if (negative) param = -param;
    param = std::clamp<int64_t>(param, -2147483647, 2147483647);
    if (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
    ControlWord(word, hasParam, static_cast<Integer>(param));
  }

  void ControlSymbol(char c) {
    const bool first = expectDestination_;
    expectDestination_ = false;
    switch (c) {
      case '*':
        // An optional destination: shown only when we know it, and we
        // show none of them.
        if (first) Top().skip = true;
        return;
      case '\'': {
        unsigned value = 0;
        int n = 0;
        while (n < 2 && pos_ < s_.size() && IsHex(s_[pos_])) {
          value = value * 16 + HexValue(s_[pos_]);
          ++pos_;
          ++n;
        }
        if (n == 0 || ConsumeSkip()) return;
        if (!Top().skip && !Top().colorTable) bytes_.push_back(static_cast<char>(value));
        return;
      }
      case '\r':
      case '\n':
        if (ConsumeSkip()) return;
        Text("\r\n");
        return;
      default:
        break;
    }
    if (ConsumeSkip()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        if (!Top().colorTable) AddByte(static_cast<unsigned char>(c));
        return;
      case '~':
        Code(0x00A0);
        return;
      case '_':
        Code(0x2011);
        return;
      case '-':  // an optional hyphen shows nothing
      default:
        return;
    }
  }

  // An unknown word, even at a group's start, is skipped: its group still
  // holds text unless "\*" marked it.
  void ControlWord(std::string_view w, bool hasParam, Integer p) {
    expectDestination_ = false;
    // Text read so far keeps the style it was read in.
    if (w != "u") Flush();
    GroupState& g = Top();
    // Destinations.
    if (w == "colortbl") {
      g.colorTable = true;
      g.skip = true;
      doc_.Colors.clear();
      red_ = green_ = blue_ = -1;
      return;
    }
    if (IsSkippedDestination(w)) {
      g.skip = true;
      return;
    }
    if (w == "bin") {
      // Binary data of the given length follows.
      const size_t n = hasParam && p > 0 ? static_cast<size_t>(p) : 0;
      pos_ = std::min(s_.size(), pos_ + n);
      return;
    }
    if (g.colorTable) {
      if (w == "red") red_ = p & 0xFF;
      if (w == "green") green_ = p & 0xFF;
      if (w == "blue") blue_ = p & 0xFF;
      return;
    }
    // Document code page.
    if (w == "ansi") codePage_ = 1252;
    else if (w == "pc") codePage_ = 437;
    else if (w == "pca") codePage_ = 850;
    else if (w == "ansicpg" && hasParam && IsCodePageSupported(p) && p != 1200 && p != 1201) codePage_ = p;
    // Character formatting.
    else if (w == "b") SetFlag(g.bold, hasParam, p);
    else if (w == "i") SetFlag(g.italic, hasParam, p);
    else if (w == "ul") SetFlag(g.underline, hasParam, p);
    else if (w == "ulnone") g.underline = false;
    else if (w == "fs") g.halfPoints = hasParam && p > 0 ? std::min(p, 3276) : 0;
    else if (w == "cf") g.colorIndex = hasParam ? p : -1;
    else if (w == "plain") {
      g.bold = g.italic = g.underline = false;
      g.halfPoints = 0;
      g.colorIndex = -1;
    } else if (w == "uc") {
      g.unicodeSkip = hasParam ? std::clamp(p, 0, 16) : 1;
    } else if (w == "u") {
      if (!hasParam) return;
      Integer unit = p;
      if (unit < 0) unit += 65536;
      if (!g.skip && unit >= 0 && unit <= 0xFFFF) Unit(static_cast<char16_t>(unit));
      pendingSkip_ = g.unicodeSkip;
      return;
    } else {
      // Words that stand for text.
      if (ConsumeSkip()) return;
      if (w == "par" || w == "line" || w == "sect" || w == "page" || w == "row") Text("\r\n");
      else if (w == "tab" || w == "cell") Text("\t");
      else if (w == "emdash") Code(0x2014);
      else if (w == "endash") Code(0x2013);
      else if (w == "emspace") Code(0x2003);
      else if (w == "enspace") Code(0x2002);
      else if (w == "qmspace") Code(0x2005);
      else if (w == "bullet") Code(0x2022);
      else if (w == "lquote") Code(0x2018);
      else if (w == "rquote") Code(0x2019);
      else if (w == "ldblquote") Code(0x201C);
      else if (w == "rdblquote") Code(0x201D);
      return;
    }
  }

  static void SetFlag(bool& flag, bool hasParam, Integer p) { flag = !hasParam || p != 0; }

  void EndColor() {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
      doc_.Colors.push_back(-1);
    else
      doc_.Colors.push_back(std::max(red_, 0) | (std::max(green_, 0) << 8) | (std::max(blue_, 0) << 16));
    red_ = green_ = blue_ = -1;
  }

  // ----- text -----

  void AddByte(unsigned char b) {
    if (Top().skip) return;
    bytes_.push_back(static_cast<char>(b));
  }

  // Bytes of the document's code page become characters when other text
  // follows, so that a character of two bytes is read whole.
  void FlushBytes() {
    if (bytes_.empty()) return;
    FlushUnits();
    const WideString wide = DecodeCodePage(codePage_, bytes_);
    bytes_.clear();
    Append(WideToUtf8(wide));
  }

  void Unit(char16_t u) {
    FlushBytes();
    units_.push_back(u);
  }

  void FlushUnits() {
    if (units_.empty()) return;
    const WideString wide = std::move(units_);
    units_.clear();
    Append(WideToUtf8(wide));
  }

  void Code(char32_t code) {
    if (Top().skip) return;
    FlushBytes();
    FlushUnits();
    std::string out;
    AppendUtf8(out, code);
    Append(out);
  }

  void Text(std::string_view text) {
    if (Top().skip) return;
    FlushBytes();
    FlushUnits();
    Append(text);
  }

  void Append(std::string_view text) {
    if (text.empty()) return;
    const GroupState& g = Top();
    TRichTextRun style;
    style.Bold = g.bold;
    style.Italic = g.italic;
    style.Underline = g.underline;
    style.FontSize = g.halfPoints / 2.0;
    style.Color = g.colorIndex >= 0 && g.colorIndex < static_cast<Integer>(doc_.Colors.size())
                      ? doc_.Colors[static_cast<size_t>(g.colorIndex)]
                      : -1;
    if (doc_.Runs.empty() || !doc_.Runs.back().SameStyle(style)) doc_.Runs.push_back(style);
    doc_.Runs.back().Text.append(text);
  }

  void Flush() {
    FlushBytes();
    FlushUnits();
  }

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
  static unsigned HexValue(char c) {
    if (IsDigit(c)) return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>((c | 0x20) - 'a' + 10);
  }

  std::string_view s_;
  size_t pos_ = 0;
  std::vector<GroupState> stack_;
  size_t overflow_ = 0;
  bool expectDestination_ = false;
  Integer pendingSkip_ = 0;
  Integer codePage_ = 1252;
  Integer red_ = -1, green_ = -1, blue_ = -1;
  std::string bytes_;
  WideString units_;
  TRichTextDocument doc_;
};

}  // namespace

AnsiString TRichTextDocument::PlainText() const {
  AnsiString out;
  for (const auto& run : Runs) out += run.Text;
  return out;
}

TRichTextDocument ReadRichText(std::string_view rtf) { return Reader(rtf).Read(); }

AnsiString RichTextToPlainText(std::string_view rtf) { return ReadRichText(rtf).PlainText(); }

}  // namespace rtl
