#include "core/KnRegExU.h"

#include <cstring>
#include <string_view>

#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

namespace {

constexpr char kCR = 13;
constexpr char kLF = 10;

// The separators "\w" stands for.
constexpr char kSeparators[] = "\t !\"&()*+,-./:;<=>?@[]\\^`{}|~";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsQuantifier(const TKnNode* node) {
  return node->Kind == TKnNodeKind::nkClosure || node->Kind == TKnNodeKind::nkOptional;
}

// The node after the construct that starts at node: a quantifier reaches
// over its item (which may itself be a quantifier).
const TKnNode* AfterConstruct(const TKnNode* node) {
  while (IsQuantifier(node)) {
    node = node->Next;
    if (!node) return nullptr;
  }
  return node->Next;
}

// Range ends are ASCII letters and digits, whatever locale the process runs in.
bool IsAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// ---------------------------------------------------------------------------
// The compiler: one level of the pattern per call, left to right.
class TPatternCompiler {
 public:
  TPatternCompiler(TKnNodeHeap& heap, const AnsiString& pattern, bool ignoreCase)
      : heap_(heap), pat_(pattern), ignoreCase_(ignoreCase) {}

  TKnNode* Compile() {
    size_t p = 0;
    TKnNode* head = ParseLevel(p, /*top=*/true);
    if (tagOpen_) {
      heap_.FreeList(head);
      throw EKnRegExError(knErrUnbalancedTag);
    }
    return head;
  }

 private:
  // What the previous token of the level was, for the quantifier and
  // alternation rules.
  enum class TToken { tkNone, tkPlain, tkLineMark, tkRepeat, tkOptional, tkAlternation };

  struct TLevel {
    TKnNode* head = nullptr;
    TKnNode* tail = nullptr;        // last node of the list
    TKnNode* prev = nullptr;        // head of the last construct; nil right after the start node
    TKnNode* beforePrev = nullptr;  // the node whose Next is prev
    TToken last = TToken::tkNone;
    bool lastGroupTrivial = false;  // prev is a group like "(a*)"
  };

  // Frees the level's list when an error leaves it.
  struct TLevelGuard {
    TKnNodeHeap& heap;
    TLevel& level;
    bool armed = true;
    ~TLevelGuard() {
      if (armed) heap.FreeList(level.head);
    }
  };

  char Fold(char c) const { return ignoreCase_ ? rtl::UpCase(c) : c; }

  void Append(TLevel& lv, TKnNode* node, TToken token) {
    lv.beforePrev = lv.tail;
    lv.tail->Next = node;
    lv.tail = node;
    lv.prev = node;
    lv.last = token;
    lv.lastGroupTrivial = false;
  }

  void AppendChar(TLevel& lv, char c) {
    TKnNode* n = heap_.NewNode(TKnNodeKind::nkChar);
    n->Ch = Fold(c);
    Append(lv, n, TToken::tkPlain);
  }

  TKnNode* MakeClass(TKnNodeKind kind, const AnsiString& members) {
    AnsiString list;
    if (ignoreCase_) {
      // Upper case, each member once.
      for (char c : members) {
        char u = rtl::UpCase(c);
        if (list.find(u) == AnsiString::npos) list.push_back(u);
      }
    } else {
      list = members;
    }
    if (list.size() > knMaxClassMembers) throw EKnRegExError(knErrExpandingClass);
    TKnNode* n = heap_.NewNode(kind);
    n->SetMembers(list);
    return n;
  }

  TKnNode* ParseLevel(size_t& p, bool top) {
    TLevel lv;
    lv.head = lv.tail = heap_.NewNode(TKnNodeKind::nkStart);
    TLevelGuard guard{heap_, lv};
    for (;;) {
      if (p >= pat_.size()) {
        if (!top) throw EKnRegExError(knErrNearEndOfPattern);
        break;
      }
      const char ch = pat_[p];
      if (ch == ')' && !top) {
        ++p;
        break;
      }
      switch (ch) {
        case '(': {
          const size_t open = p++;
          TKnNode* contents = ParseLevel(p, /*top=*/false);
          TKnNode* g = heap_.NewNode(TKnNodeKind::nkGroup);
          g->Group = contents;
          Append(lv, g, TToken::tkPlain);
          lv.lastGroupTrivial = IsTrivialGroup(std::string_view(pat_).substr(open + 1, p - open - 2));
          continue;
        }
        case '[':
          ++p;
          Append(lv, ParseClass(p), TToken::tkPlain);
          continue;
        case '.':
          Append(lv, heap_.NewNode(TKnNodeKind::nkAny), TToken::tkPlain);
          break;
        case '^':
          Append(lv, heap_.NewNode(TKnNodeKind::nkBOL), TToken::tkLineMark);
          break;
        case '$':
          Append(lv, heap_.NewNode(TKnNodeKind::nkEOL), TToken::tkLineMark);
          break;
        case '{':
          if (tagOpen_) {
            AppendChar(lv, ch);
          } else {
            tagOpen_ = true;
            Append(lv, heap_.NewNode(TKnNodeKind::nkTagStart), TToken::tkPlain);
          }
          break;
        case '}':
          if (tagOpen_) {
            tagOpen_ = false;
            Append(lv, heap_.NewNode(TKnNodeKind::nkTagEnd), TToken::tkPlain);
          } else {
            AppendChar(lv, ch);
          }
          break;
        case '*':
        case '?':
        case '+':
          if (!lv.prev) {
            // Nothing to repeat yet: the character stands for itself.
            AppendChar(lv, ch);
          } else {
            ApplyQuantifier(lv, ch);
          }
          break;
        case '|':
          if (lv.prev && IsQuantifier(lv.prev)) throw EKnRegExError(knErrAltAfterClosure);
          (lv.prev ? lv.prev : lv.head)->Alternative = true;
          lv.last = TToken::tkAlternation;
          break;
        case '\\':
          ++p;
          ParseEscape(lv, p);
          continue;
        default:
          AppendChar(lv, ch);
          break;
      }
      ++p;
    }
    guard.armed = false;
    return lv.head;
  }

  // A group whose whole text is one character, or one escaped character,
  // followed by "*" or "?": repeating it could repeat an empty match.
  static bool IsTrivialGroup(std::string_view content) {
    const auto quantifier = [](char c) { return c == '*' || c == '?'; };
    if (content.size() == 2) return content[0] != '\\' && quantifier(content[1]);
    if (content.size() == 3) return content[0] == '\\' && quantifier(content[2]);
    return false;
  }

  void ApplyQuantifier(TLevel& lv, char ch) {
    if (lv.last == TToken::tkLineMark || lv.last == TToken::tkRepeat)
      throw EKnRegExError(knErrClosureAfterMarker);
    if (ch != '?' && lv.prev->Kind == TKnNodeKind::nkGroup && lv.lastGroupTrivial)
      throw EKnRegExError(knErrEmptyClosureOperand);
    TKnNode* item = lv.prev;
    TKnNode* q = heap_.NewNode(ch == '?' ? TKnNodeKind::nkOptional : TKnNodeKind::nkClosure);
    q->Next = item;
    if (ch == '+') {
      // "x+" is "x" followed by "x*".
      TKnNode* copyHead = CopyConstruct(item);
      TKnNode* copyTail = copyHead;
      while (copyTail->Next) copyTail = copyTail->Next;
      copyTail->Next = q;
      lv.beforePrev->Next = copyHead;
      lv.beforePrev = copyTail;
    } else {
      lv.beforePrev->Next = q;
    }
    lv.prev = q;
    lv.last = ch == '?' ? TToken::tkOptional : TToken::tkRepeat;
    lv.lastGroupTrivial = false;
  }

  // A copy of the construct at node: the node, and the item of a quantifier.
  TKnNode* CopyConstruct(const TKnNode* node) {
    TKnNode* head = heap_.CopyNode(node);
    TKnNode* tail = head;
    while (IsQuantifier(node) && node->Next) {
      node = node->Next;
      tail->Next = heap_.CopyNode(node);
      tail = tail->Next;
    }
    return head;
  }

  // p is just after the "\".
  void ParseEscape(TLevel& lv, size_t& p) {
    if (p >= pat_.size()) {
      // A final backslash stands for itself.
      AppendChar(lv, '\\');
      return;
    }
    const char c = pat_[p++];
    switch (c) {
      case 'b': AppendChar(lv, 8); break;
      case 'h': Append(lv, MakeClass(TKnNodeKind::nkClass, kHexDigits), TToken::tkPlain); break;
      case 'l': AppendChar(lv, kLF); break;
      case 'n':
        AppendChar(lv, kCR);
        AppendChar(lv, kLF);
        break;
      case 'r': AppendChar(lv, kCR); break;
      case 's': AppendChar(lv, ' '); break;
      case 't': AppendChar(lv, 9); break;
      case 'w': Append(lv, MakeClass(TKnNodeKind::nkClass, kSeparators), TToken::tkPlain); break;
      default: AppendChar(lv, c); break;
    }
  }

  // One member of a class at p (escapes resolved); p moves past it.
  char ClassMember(size_t& p) {
    char c = pat_[p++];
    if (c != '\\' || p >= pat_.size()) return c;
    c = pat_[p++];
    switch (c) {
      case 'b': return 8;
      case 'l': return kLF;
      case 'r': return kCR;
      case 's': return ' ';
      case 't': return 9;
      default: return c;
    }
  }

  // p is just after the "["; moves past the "]".
  TKnNode* ParseClass(size_t& p) {
    TKnNodeKind kind = TKnNodeKind::nkClass;
    if (p < pat_.size() && pat_[p] == '^') {
      kind = TKnNodeKind::nkNClass;
      ++p;
    }
    AnsiString members;
    for (;;) {
      if (p >= pat_.size()) throw EKnRegExError(knErrExpandingClass);
      if (pat_[p] == ']') {
        ++p;
        break;
      }
      const char first = ClassMember(p);
      if (p + 1 < pat_.size() && pat_[p] == '-' && pat_[p + 1] != ']') {
        size_t q = p + 1;
        const char last = ClassMember(q);
        if (IsAlnum(first) && IsAlnum(last) &&
            static_cast<unsigned char>(first) <= static_cast<unsigned char>(last)) {
          for (unsigned c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last); ++c)
            members.push_back(static_cast<char>(c));
          p = q;
          continue;
        }
      }
      members.push_back(first);
    }
    return MakeClass(kind, members);
  }

  TKnNodeHeap& heap_;
  const AnsiString& pat_;
  const bool ignoreCase_;
  bool tagOpen_ = false;
};

// ---------------------------------------------------------------------------
// The matcher over one prepared text: the text, CR LF, then the terminator
// position `end` that only a tag end matches.
class TMatcher {
 public:
  TMatcher(const char* text, size_t end) : t_(text), end_(end) {}

  static constexpr size_t kFail = static_cast<size_t>(-1);

  // Matches the list from node at i; the end position or kFail.
  size_t MatchList(const TKnNode* node, size_t i) const {
    while (node) {
      switch (node->Kind) {
        case TKnNodeKind::nkClosure: {
          const TKnNode* item = node->Next;
          const TKnNode* rest = AfterConstruct(node);
          size_t reached = RepeatItem(item, i);
          // Back off one character at a time until the rest matches.
          for (size_t q = reached;; --q) {
            size_t r = MatchList(rest, q);
            if (r != kFail) return r;
            if (q == i) return kFail;
          }
        }
        case TKnNodeKind::nkOptional: {
          size_t r = MatchNode(node->Next, i);
          if (r != kFail) i = r;
          node = AfterConstruct(node);
          break;
        }
        default: {
          size_t r = MatchNode(node, i);
          if (r != kFail) {
            i = r;
            // Skip the run of alternatives chained to this node.
            const TKnNode* cur = node;
            while (cur->Alternative && cur->Next) cur = cur->Next;
            node = IsQuantifier(cur) ? AfterConstruct(cur) : cur->Next;
          } else if (node->Alternative && node->Next) {
            node = node->Next;
          } else {
            return kFail;
          }
          break;
        }
      }
    }
    return i;
  }

 private:
  // Greedy repetition of item from i: stops when the item fails, at the
  // terminator, or when an iteration does not advance (an item that can
  // match the empty text would otherwise repeat for ever).
  size_t RepeatItem(const TKnNode* item, size_t i) const {
    while (i < end_) {
      size_t r = MatchNode(item, i);
      if (r == kFail || r == i) break;
      i = r;
    }
    return i;
  }

  size_t MatchNode(const TKnNode* node, size_t i) const {
    if (i >= end_) return node->Kind == TKnNodeKind::nkTagEnd ? i : kFail;
    const char c = t_[i];
    switch (node->Kind) {
      case TKnNodeKind::nkStart:
      case TKnNodeKind::nkTagStart:
      case TKnNodeKind::nkTagEnd:
        return i;
      case TKnNodeKind::nkChar:
        return c == node->Ch ? i + 1 : kFail;
      case TKnNodeKind::nkClass:
        return node->HasMember(static_cast<unsigned char>(c)) ? i + 1 : kFail;
      case TKnNodeKind::nkNClass:
        return c != kCR && c != kLF && !node->HasMember(static_cast<unsigned char>(c)) ? i + 1 : kFail;
      case TKnNodeKind::nkAny:
        return c != kCR && c != kLF ? i + 1 : kFail;
      case TKnNodeKind::nkBOL:
        return i == 0 ? i : kFail;
      case TKnNodeKind::nkEOL:
        return c == kCR && i + 1 < end_ && t_[i + 1] == kLF ? i : kFail;
      case TKnNodeKind::nkGroup:
        return MatchList(node->Group, i);
      case TKnNodeKind::nkOptional: {
        // Only as the item of another quantifier, as in "a?*".
        size_t r = MatchNode(node->Next, i);
        return r != kFail ? r : i;
      }
      case TKnNodeKind::nkClosure:
        return RepeatItem(node->Next, i);
    }
    return kFail;
  }

  const char* t_;
  size_t end_;
};

// The characters one node can consume at a match's start, into set. False
// when the node may match without consuming, or offers an alternative.
bool FirstCharacters(const TKnNode* node, std::array<uint64_t, 4>& set) {
  if (node->Alternative) return false;
  switch (node->Kind) {
    case TKnNodeKind::nkChar: {
      const auto u = static_cast<unsigned char>(node->Ch);
      set[u >> 6] |= uint64_t{1} << (u & 63);
      return true;
    }
    case TKnNodeKind::nkClass:
      for (size_t k = 0; k < set.size(); ++k) set[k] |= node->MemberSet[k];
      return true;
    case TKnNodeKind::nkNClass:
    case TKnNodeKind::nkAny:
      for (unsigned c = 0; c < 256; ++c) {
        if (c == static_cast<unsigned>(kCR) || c == static_cast<unsigned>(kLF)) continue;
        if (node->Kind == TKnNodeKind::nkNClass && node->HasMember(static_cast<unsigned char>(c))) continue;
        set[c >> 6] |= uint64_t{1} << (c & 63);
      }
      return true;
    case TKnNodeKind::nkGroup: {
      const TKnNode* head = node->Group;
      return !head->Alternative && head->Next && FirstCharacters(head->Next, set);
    }
    default:
      return false;
  }
}

}  // namespace

AnsiString KnErrorMessage(Integer code) {
  switch (code) {
    case knErrCreatingToken: return "Unknown error creating a pattern token";
    case knErrExpandingClass: return "Problem in expanding character class";
    case knErrAltAfterClosure: return "Alternation cannot immediately follow a closure marker";
    case knErrUnbalancedNesting: return "Unbalanced nesting parentheses";
    case knErrClosureAfterMarker:
      return "Closure cannot immediately follow BegOfLine, EndOfLine or another closure";
    case knErrNearEndOfPattern: return "Error detected near end of pattern";
    case knErrUnbalancedTag: return "Unbalanced tag marker";
    case knErrNoPatterns: return "No Match, Replace, or SelAvoid Patterns defined";
    case knErrEmptyClosureOperand: return "A * or + operand could be empty";
    default: return AnsiString();
  }
}

// ---------------------------------------------------------------------------
void TKnNode::SetMembers(const AnsiString& members) {
  Members = members;
  MemberSet.fill(0);
  for (char c : members) {
    const auto u = static_cast<unsigned char>(c);
    MemberSet[u >> 6] |= uint64_t{1} << (u & 63);
  }
}

TKnNodeHeap::~TKnNodeHeap() = default;

TKnNode* TKnNodeHeap::NewNode(TKnNodeKind kind) {
  TKnNode* n;
  if (free_) {
    n = free_;
    free_ = n->Next;
    --freeCount_;
    n->Ch = 0;
    n->Members.clear();  // keeps its storage for the next class
    n->MemberSet.fill(0);
    n->Alternative = false;
    n->Next = nullptr;
    n->Group = nullptr;
  } else {
    all_.push_back(std::make_unique<TKnNode>());
    n = all_.back().get();
  }
  n->Kind = kind;
  return n;
}

void TKnNodeHeap::FreeNode(TKnNode* node) {
  if (!node) return;
  FreeList(node->Group);
  node->Group = nullptr;
  node->Next = free_;
  free_ = node;
  ++freeCount_;
}

void TKnNodeHeap::FreeList(TKnNode* head) {
  while (head) {
    TKnNode* next = head->Next;
    FreeNode(head);
    head = next;
  }
}

TKnNode* TKnNodeHeap::CopyNode(const TKnNode* node) {
  if (!node) return nullptr;
  TKnNode* n = NewNode(node->Kind);
  n->Ch = node->Ch;
  n->Members = node->Members;
  n->MemberSet = node->MemberSet;
  n->Alternative = node->Alternative;
  n->Group = CopyList(node->Group);
  return n;
}

TKnNode* TKnNodeHeap::CopyList(const TKnNode* head) {
  TKnNode* first = nullptr;
  TKnNode* tail = nullptr;
  for (; head; head = head->Next) {
    TKnNode* n = CopyNode(head);
    if (tail)
      tail->Next = n;
    else
      first = n;
    tail = n;
  }
  return first;
}

// ---------------------------------------------------------------------------
TKnStreamRegEx::~TKnStreamRegEx() { heap_.FreeList(pattern_); }

void TKnStreamRegEx::Compile(const AnsiString& pattern) {
  heap_.FreeList(pattern_);
  pattern_ = nullptr;
  TPatternCompiler compiler(heap_, pattern, ignoreCase_);
  pattern_ = compiler.Compile();
  firstSet_.fill(0);
  firstKnown_ = !pattern_->Alternative && pattern_->Next && FirstCharacters(pattern_->Next, firstSet_);
}

bool TKnStreamRegEx::FindMatch(const AnsiString& text, TKnMatchPos& pos) const {
  pos.LineNumber = 1;
  pos.MatchLength = 0;
  if (!pattern_) return false;
  // The copy ends in CR LF, so "$" also matches at the text's end.
  AnsiString buf = ignoreCase_ ? rtl::UpperCase(text) : text;
  buf.push_back(kCR);
  buf.push_back(kLF);
  const size_t end = buf.size();
  TMatcher matcher(buf.data(), end);
  const auto canStart = [this](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (firstSet_[u >> 6] >> (u & 63)) & 1u;
  };
  // A single possible first character is found with memchr.
  int single = -1;
  if (firstKnown_) {
    int count = 0;
    for (unsigned c = 0; c < 256 && count < 2; ++c)
      if (canStart(static_cast<char>(c))) {
        single = static_cast<int>(c);
        ++count;
      }
    if (count != 1) single = -1;
  }
  for (size_t s = 0; s < end; ++s) {
    if (single >= 0) {
      const void* hit = std::memchr(buf.data() + s, single, end - s);
      if (!hit) break;
      s = static_cast<size_t>(static_cast<const char*>(hit) - buf.data());
    } else if (firstKnown_ && !canStart(buf[s])) {
      continue;
    }
    const size_t e = matcher.MatchList(pattern_, s);
    if (e != TMatcher::kFail) {
      pos.FirstIndex = static_cast<Cardinal>(s + 1);
      pos.LastIndex = static_cast<Cardinal>(e);
      pos.MatchLength = static_cast<Cardinal>(e - s);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
TKnRegEx::TKnRegEx()
    : engine_(std::make_unique<TKnStreamRegEx>()),
      matchPattern_(std::make_unique<rtl::TStringList>()),
      selAvoidPattern_(std::make_unique<rtl::TStringList>()),
      replacePattern_(std::make_unique<rtl::TStringList>()) {}

TKnRegEx::~TKnRegEx() = default;

void TKnRegEx::SetMatchPattern(const rtl::TStrings& lines) { matchPattern_->Assign(lines); }
void TKnRegEx::SetSelAvoidPattern(const rtl::TStrings& lines) { selAvoidPattern_->Assign(lines); }
void TKnRegEx::SetReplacePattern(const rtl::TStrings& lines) { replacePattern_->Assign(lines); }

bool TKnRegEx::FindMatch(const AnsiString& text, TKnMatchPos& pos) {
  pos.LineNumber = 1;
  pos.MatchLength = 0;
  AnsiString pattern;
  for (Integer i = 0; i < matchPattern_->Count(); ++i) pattern += rtl::Trim(matchPattern_->Get(i));
  if (pattern.empty()) throw EKnRegExError(knErrNoPatterns);
  engine_->SetIgnoreCase(ignoreCase_);
  engine_->Compile(pattern);
  return engine_->FindMatch(text, pos);
}

}  // namespace core
