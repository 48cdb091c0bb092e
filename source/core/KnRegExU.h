#pragma once
// The pattern engine every tag-language pattern runs on: a small
// backtracking matcher with its own dialect.
//
// The dialect differs from common engines on purpose, and page recognition
// depends on the differences:
//  - "|" joins single nodes, not sequences: "ab|cd" is "a", then "b" or "c",
//    then "d"; the first alternative that matches stays chosen;
//  - "?" takes its item when it can and never comes back to try without it;
//  - "*" repeats greedily, then backs off one character at a time (also
//    inside a repeated group) until the rest of its list matches;
//  - classes that exclude characters, and ".", never match CR or LF.
//
// The engine works on the bytes of the (UTF-8) text: positions count bytes,
// as Copy and Pos do, and the ignore-case option folds ASCII letters.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/Types.h"

namespace rtl {
class TStrings;
class TStringList;
}

namespace core {

using rtl::AnsiString;
using rtl::Cardinal;
using rtl::Integer;

// ---------------------------------------------------------------------------
// Error codes of the engine's string table (KnErrorMessage gives the text).
constexpr Integer knErrCreatingToken = 290;        // "Unknown error creating a pattern token"
constexpr Integer knErrExpandingClass = 291;       // "Problem in expanding character class"
constexpr Integer knErrAltAfterClosure = 292;      // "Alternation cannot immediately follow a closure marker"
constexpr Integer knErrUnbalancedNesting = 293;    // "Unbalanced nesting parentheses"
constexpr Integer knErrClosureAfterMarker = 294;   // "Closure cannot immediately follow BegOfLine, EndOfLine or another closure"
constexpr Integer knErrNearEndOfPattern = 295;     // "Error detected near end of pattern"
constexpr Integer knErrUnbalancedTag = 296;        // "Unbalanced tag marker"
constexpr Integer knErrNoPatterns = 297;           // "No Match, Replace, or SelAvoid Patterns defined"
constexpr Integer knErrEmptyClosureOperand = 302;  // "A * or + operand could be empty"

// The message of an error code; an unknown code gives an empty text.
AnsiString KnErrorMessage(Integer code);

// Base of the engine's exceptions: a message and an integer error code.
class EKnException : public rtl::Exception {
 public:
  EKnException(AnsiString message, Integer errorCode)
      : rtl::Exception(std::move(message)), errorCode_(errorCode) {}
  // Message taken from the string table.
  explicit EKnException(Integer errorCode) : EKnException(KnErrorMessage(errorCode), errorCode) {}
  Integer ErrorCode() const noexcept { return errorCode_; }
  const char* ClassName() const noexcept override { return "EKnException"; }

 private:
  Integer errorCode_;
};

// A pattern the compiler rejects.
class EKnRegExError : public EKnException {
 public:
  using EKnException::EKnException;
  const char* ClassName() const noexcept override { return "EKnRegExError"; }
};

// An expression the expression component rejects, with the 1-based column.
class EKnExprError : public EKnException {
 public:
  EKnExprError(AnsiString message, Integer errorCode, Integer errorColumn)
      : EKnException(std::move(message), errorCode), errorColumn_(errorColumn) {}
  Integer ErrorColumn() const noexcept { return errorColumn_; }
  const char* ClassName() const noexcept override { return "EKnExprError"; }

 private:
  Integer errorColumn_;
};

// A failure of the engine's buffered text streams.
class EKnBufStreamError : public EKnException {
 public:
  using EKnException::EKnException;
  const char* ClassName() const noexcept override { return "EKnBufStreamError"; }
};

// ---------------------------------------------------------------------------
// Where a search found its match. Indexes are 1-based; an empty match has
// MatchLength 0 and LastIndex = FirstIndex - 1.
struct TKnMatchPos {
  Cardinal FirstIndex = 0;   // first matched character
  Cardinal LastIndex = 0;    // last matched character
  Cardinal MatchLength = 0;  // LastIndex - FirstIndex + 1
  Cardinal LineNumber = 0;   // set to 1 by a search
};

// ---------------------------------------------------------------------------
// Compiled pattern: a singly linked list of nodes headed by a start node; a
// group node also points to the list of its contents. A closure or optional
// node takes the node after it as its item.
enum class TKnNodeKind : uint8_t {
  nkStart,     // head of every list; matches the empty text
  nkChar,      // one literal character
  nkClass,     // one character of Members
  nkNClass,    // one character not in Members, not CR, not LF
  nkClosure,   // zero or more of the next node
  nkOptional,  // zero or one of the next node
  nkAny,       // any character but CR and LF
  nkBOL,       // the text's first position
  nkEOL,       // before CR LF
  nkGroup,     // the list in Group
  nkTagStart,  // replacement marks; match the empty text
  nkTagEnd,
};

constexpr size_t knMaxClassMembers = 255;

struct TKnNode {
  TKnNodeKind Kind = TKnNodeKind::nkStart;
  char Ch = 0;                      // nkChar
  AnsiString Members;               // nkClass / nkNClass, at most 255
  std::array<uint64_t, 4> MemberSet{};  // the same members as a lookup
  bool Alternative = false;         // the next node is an alternative to this one
  TKnNode* Next = nullptr;
  TKnNode* Group = nullptr;         // nkGroup: the contents, headed by nkStart

  bool HasMember(unsigned char c) const { return (MemberSet[c >> 6] >> (c & 63)) & 1u; }
  // Replaces the member list (and its lookup) by members.
  void SetMembers(const AnsiString& members);
};

// The node store. Nodes are recycled through a free list across
// compilations; the store owns every node it ever made and frees them all
// when it is destroyed.
class TKnNodeHeap {
 public:
  TKnNodeHeap() = default;
  TKnNodeHeap(const TKnNodeHeap&) = delete;
  TKnNodeHeap& operator=(const TKnNodeHeap&) = delete;
  ~TKnNodeHeap();

  // A cleared node of the kind, from the free list when it has one.
  TKnNode* NewNode(TKnNodeKind kind);
  // Returns the node and its group contents (not its Next) to the free list.
  void FreeNode(TKnNode* node);
  // Returns every node of the list (and their group contents).
  void FreeList(TKnNode* head);
  // A copy of the node with a copy of its group contents; Next is nil.
  TKnNode* CopyNode(const TKnNode* node);
  // A copy of the whole list.
  TKnNode* CopyList(const TKnNode* head);

  // Nodes made so far / nodes waiting on the free list.
  size_t AllocatedCount() const { return all_.size(); }
  size_t FreeCount() const { return freeCount_; }

 private:
  std::vector<std::unique_ptr<TKnNode>> all_;
  TKnNode* free_ = nullptr;
  size_t freeCount_ = 0;
};

// The engine object: compiles one pattern text and searches texts with it.
class TKnStreamRegEx {
 public:
  TKnStreamRegEx() = default;
  TKnStreamRegEx(const TKnStreamRegEx&) = delete;
  TKnStreamRegEx& operator=(const TKnStreamRegEx&) = delete;
  ~TKnStreamRegEx();

  bool IgnoreCase() const { return ignoreCase_; }
  // Takes effect at the next Compile.
  void SetIgnoreCase(bool value) { ignoreCase_ = value; }

  // Compiles the pattern text, replacing the previous compiled pattern.
  // Raises EKnRegExError. An empty text compiles to the bare start node.
  void Compile(const AnsiString& pattern);
  // The compiled list (its start node); nil before the first Compile.
  const TKnNode* Pattern() const { return pattern_; }

  // Searches text for the leftmost match of the compiled pattern. Sets
  // LineNumber to 1 and MatchLength to 0 first; on success fills pos and
  // answers True; a failed search leaves FirstIndex and LastIndex as they were.
  bool FindMatch(const AnsiString& text, TKnMatchPos& pos) const;

  TKnNodeHeap& NodeHeap() { return heap_; }

 private:
  TKnNodeHeap heap_;
  TKnNode* pattern_ = nullptr;
  bool ignoreCase_ = false;
  // The characters at which a match of the compiled pattern can start, when
  // its first node must consume one (firstKnown_); lets the search pass
  // over positions where the first node would fail anyway.
  bool firstKnown_ = false;
  std::array<uint64_t, 4> firstSet_{};
};

// ---------------------------------------------------------------------------
// Base of the engine's components.
class TKnComponent {
 public:
  TKnComponent() = default;
  TKnComponent(const TKnComponent&) = delete;
  TKnComponent& operator=(const TKnComponent&) = delete;
  virtual ~TKnComponent() = default;
  AnsiString Version() const { return "4.03"; }
};

// How the line-by-line file processing splits its input and output.
enum class TKnLineTerminator : uint8_t { ltCRLF, ltTermChar, ltFixedLength };
// Output switches of the file processing; none is set by default.
enum class TKnOutputOption : uint8_t {};
using TKnOutputOptions = rtl::TSet<TKnOutputOption>;

class TKnRegEx;
using TKnMatchEvent = std::function<void(TKnRegEx* Sender, const TKnMatchPos& pos)>;
using TKnProgressEvent = std::function<void(TKnRegEx* Sender, Integer percent)>;

// The regular-expression component. The system sets IgnoreCase and one line
// of MatchPattern, then calls FindMatch. The file-processing properties are
// kept for completeness and do nothing.
//
//   core::TKnRegEx re;
//   re.SetIgnoreCase(true);
//   re.MatchPattern()->Add("<#_zelbe54f7mdl[^<>#]*/>");
//   core::TKnMatchPos pos;        // clear before each search
//   if (re.FindMatch(text, pos))  // rtl::Copy(text, pos.FirstIndex, pos.MatchLength)
class TKnRegEx : public TKnComponent {
 public:
  TKnRegEx();
  ~TKnRegEx() override;

  // The pattern as lines; each line is trimmed of characters up to the space
  // at both ends and the lines are joined without separators.
  rtl::TStringList* MatchPattern() const { return matchPattern_.get(); }
  void SetMatchPattern(const rtl::TStrings& lines);
  rtl::TStringList* SelAvoidPattern() const { return selAvoidPattern_.get(); }
  void SetSelAvoidPattern(const rtl::TStrings& lines);
  rtl::TStringList* ReplacePattern() const { return replacePattern_.get(); }
  void SetReplacePattern(const rtl::TStrings& lines);

  // Compare in upper case (ASCII letters).
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool value) { ignoreCase_ = value; }

  // Compiles MatchPattern and searches text for its leftmost match (see
  // TKnStreamRegEx::FindMatch). Raises EKnRegExError for a bad pattern and
  // error 297 when the pattern is empty.
  bool FindMatch(const AnsiString& text, TKnMatchPos& pos);

  // The engine object, owned by the component.
  TKnStreamRegEx& Engine() { return *engine_; }

  // --- file-processing properties: stored only ---
  bool Avoid() const { return avoid_; }
  void SetAvoid(bool v) { avoid_ = v; }
  bool LineNumbers() const { return lineNumbers_; }
  void SetLineNumbers(bool v) { lineNumbers_ = v; }
  TKnOutputOptions OutputOptions() const { return outputOptions_; }
  void SetOutputOptions(TKnOutputOptions v) { outputOptions_ = v; }
  TKnLineTerminator InLineTerminator() const { return inLineTerminator_; }
  void SetInLineTerminator(TKnLineTerminator v) { inLineTerminator_ = v; }
  char InLineTermChar() const { return inLineTermChar_; }
  void SetInLineTermChar(char v) { inLineTermChar_ = v; }
  Integer InFixedLineLength() const { return inFixedLineLength_; }
  void SetInFixedLineLength(Integer v) { inFixedLineLength_ = v; }
  TKnLineTerminator OutLineTerminator() const { return outLineTerminator_; }
  void SetOutLineTerminator(TKnLineTerminator v) { outLineTerminator_ = v; }
  char OutLineTermChar() const { return outLineTermChar_; }
  void SetOutLineTermChar(char v) { outLineTermChar_ = v; }
  Integer OutFixedLineLength() const { return outFixedLineLength_; }
  void SetOutFixedLineLength(Integer v) { outFixedLineLength_ = v; }
  const AnsiString& InputFile() const { return inputFile_; }
  void SetInputFile(const AnsiString& v) { inputFile_ = v; }
  const AnsiString& OutputFile() const { return outputFile_; }
  void SetOutputFile(const AnsiString& v) { outputFile_ = v; }

  TKnMatchEvent OnMatch;
  TKnProgressEvent OnProgress;

 private:
  std::unique_ptr<TKnStreamRegEx> engine_;
  std::unique_ptr<rtl::TStringList> matchPattern_;
  std::unique_ptr<rtl::TStringList> selAvoidPattern_;
  std::unique_ptr<rtl::TStringList> replacePattern_;
  bool ignoreCase_ = false;
  bool avoid_ = false;
  bool lineNumbers_ = false;
  TKnOutputOptions outputOptions_{};
  TKnLineTerminator inLineTerminator_ = TKnLineTerminator::ltCRLF;
  char inLineTermChar_ = 10;
  Integer inFixedLineLength_ = 80;
  TKnLineTerminator outLineTerminator_ = TKnLineTerminator::ltCRLF;
  char outLineTermChar_ = 10;
  Integer outFixedLineLength_ = 80;
  AnsiString inputFile_;
  AnsiString outputFile_;
};

}  // namespace core
