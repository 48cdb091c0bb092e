#include "spell/engine/lx3ThesaurusFile.h"

#include <algorithm>
#include <exception>

#include "rtl/Files.h"
#include "spell/engine/lx3Text.h"
#include "spell/engine/lx3Util.h"

namespace spell {

namespace {

constexpr uint32_t kLinkMask = 0xFFFFF;
constexpr uint32_t kOneChild = 1u << 20;
constexpr uint32_t kParent = 1u << 21;
constexpr uint32_t kChain = 1u << 22;
constexpr uint32_t kEndOfWord = 1u << 23;
constexpr size_t kMeaningSize = 14;

uint16_t Get16(const Byte* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Get32(const Byte* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Reads the counted parts of the file one after another, refusing any
// count that does not fit in what is left of the file before memory is
// taken for it.
class PartReader {
 public:
  explicit PartReader(rtl::TStream& stream) : stream_(stream), left_(stream.Size() - stream.Position()) {}

  bool Bytes(void* buffer, Int64 count) {
    if (count < 0 || count > left_) return false;
    if (count > 0 && stream_.Read(buffer, static_cast<Integer>(count)) != count) return false;
    left_ -= count;
    return true;
  }
  bool ShortString(AnsiString& s) {
    Byte length = 0;
    if (!Bytes(&length, 1)) return false;
    s.assign(length, '\0');
    return Bytes(s.data(), length);
  }
  bool Int32(Int64& value) {
    Byte b[4];
    if (!Bytes(b, 4)) return false;
    value = static_cast<int32_t>(Get32(b));
    return true;
  }
  bool Part(rtl::TMemoryStream& into, Int64 size) {
    if (size < 0 || size > left_) return false;
    into.SetSize(size);
    into.SetPosition(0);
    return Bytes(into.Memory(), size);
  }
  bool Skip(Int64 count) {
    if (count > left_) return false;
    stream_.Seek(count, rtl::soFromCurrent);
    left_ -= count;
    return true;
  }

 private:
  rtl::TStream& stream_;
  Int64 left_;
};

bool IsCapitalLetter(char c) { return EngineIsCasedLetter(c) && EngineUpperChar(c) == c; }

}  // namespace

// ---- nodes ----

bool TReverseNode::ReadNode(const TThesaurusFile& file, Integer index) {
  uint32_t v = 0;
  if (!file.ReadNodeValue(index, v)) return false;
  LinkPosition = v & kLinkMask;
  OneChild = (v & kOneChild) != 0;
  HasParent = (v & kParent) != 0;
  Chain = (v & kChain) != 0;
  EndOfWord = (v & kEndOfWord) != 0;
  Letter = static_cast<Byte>(v >> 24);
  uint64_t at = LinkPosition;
  childListAt_ = at;
  if (OneChild) {
    if (!file.ReadLinkWord(at, OnlyChild) || OnlyChild >= file.NodeCount()) return false;
    at += 2;
  } else {
    Byte count = 0;
    if (!file.ReadLinkByte(at, count)) return false;
    at += 1 + 2 * static_cast<uint64_t>(count);
  }
  if (HasParent) {
    if (!file.ReadLinkWord(at, Parent) || Parent >= file.NodeCount()) return false;
    at += 2;
  }
  afterParent_ = at;
  return true;
}

bool TForwardNode::ReadNode(const TThesaurusFile& file, Integer index) {
  Children.clear();
  Meanings.clear();
  if (!TReverseNode::ReadNode(file, index)) return false;
  if (OneChild) {
    Children.push_back(OnlyChild);
  } else {
    Byte count = 0;
    if (!file.ReadLinkByte(childListAt_, count)) return false;
    for (uint64_t i = 0; i < count; ++i) {
      Word child = 0;
      if (!file.ReadLinkWord(childListAt_ + 1 + 2 * i, child) || child >= file.NodeCount()) return false;
      Children.push_back(child);
    }
  }
  if (EndOfWord || Chain) {
    Byte count = 0;
    if (!file.ReadLinkByte(afterParent_, count)) return false;
    for (uint64_t i = 0; i < count; ++i) {
      Word reference = 0;
      if (!file.ReadLinkWord(afterParent_ + 1 + 2 * i, reference)) return false;
      Meanings.push_back(reference);
    }
  }
  return true;
}

bool TEntry::ReadEntry(const TThesaurusFile& file, Integer record) {
  const Byte* p = nullptr;
  if (!file.ReadMeaning(record, p)) return false;
  HeadIndex = Get16(p);
  uint64_t at = Get32(p + 10);
  for (size_t k = 0; k < Lists.size(); ++k) {
    const uint16_t length = Get16(p + 2 + 2 * k);
    Lists[k].clear();
    Lists[k].reserve(length);
    for (uint16_t i = 0; i < length; ++i, at += 2) {
      Word index = 0;
      if (!file.ReadIndexWord(at, index)) return false;
      Lists[k].push_back(index);
    }
  }
  return true;
}

// ---- the file ----

TThesaurusFile::TThesaurusFile() = default;

TThesaurusFile::~TThesaurusFile() = default;

bool TThesaurusFile::ReadNodeValue(Integer index, uint32_t& value) const {
  if (index < 0 || index >= nodeCount_) return false;
  value = Get32(static_cast<const Byte*>(nodes_.Memory()) + 4 * static_cast<size_t>(index));
  return true;
}

bool TThesaurusFile::ReadLinkByte(uint64_t position, Byte& value) const {
  if (position >= static_cast<uint64_t>(linkSize_)) return false;
  value = static_cast<const Byte*>(links_.Memory())[position];
  return true;
}

bool TThesaurusFile::ReadLinkWord(uint64_t position, Word& value) const {
  if (position + 2 > static_cast<uint64_t>(linkSize_)) return false;
  value = Get16(static_cast<const Byte*>(links_.Memory()) + position);
  return true;
}

bool TThesaurusFile::ReadMeaning(Integer record, const Byte*& bytes) const {
  if (record < 0 || record >= meaningCount_) return false;
  bytes = static_cast<const Byte*>(meanings_.Memory()) + kMeaningSize * static_cast<size_t>(record);
  return true;
}

bool TThesaurusFile::ReadIndexWord(uint64_t position, Word& value) const {
  if (position + 2 > static_cast<uint64_t>(indexSize_)) return false;
  value = Get16(static_cast<const Byte*>(index_.Memory()) + position);
  return true;
}

void TThesaurusFile::ClearStreams() {
  nodes_.Clear();
  links_.Clear();
  meanings_.Clear();
  index_.Clear();
  nodeCount_ = 0;
  linkSize_ = 0;
  meaningCount_ = 0;
  indexSize_ = 0;
}

bool TThesaurusFile::LoadFrom(rtl::TStream& stream) {
  PartReader in(stream);
  if (!in.Skip(HeaderSize)) return false;
  AnsiString name;
  if (!in.ShortString(name)) return false;
  name_ = name;
  kindNames_.Clear();
  for (int k = 0; k < 5; ++k) {
    AnsiString kind;
    if (!in.ShortString(kind)) return false;
    kindNames_.Add(kind);
  }
  Int64 n = 0, l = 0, i = 0;
  if (!in.Int32(n) || n < 0 || n > INT32_MAX / 4 || !in.Part(nodes_, 4 * n)) return false;
  if (!in.Int32(l) || !in.Part(links_, l)) return false;
  Byte m[2];
  if (!in.Bytes(m, 2)) return false;
  const Word meaningCount = Get16(m);
  if (!in.Part(meanings_, static_cast<Int64>(kMeaningSize) * meaningCount)) return false;
  if (!in.Int32(i) || !in.Part(index_, i)) return false;
  nodeCount_ = static_cast<Integer>(n);
  linkSize_ = static_cast<Integer>(l);
  meaningCount_ = meaningCount;
  indexSize_ = static_cast<Integer>(i);
  return true;
}

void TThesaurusFile::Load() {
  if (fileName_.empty() || !rtl::FileExists(NativeFileName(fileName_))) return;
  bool ok = false;
  try {
    rtl::TFileStream stream(NativeFileName(fileName_), rtl::fmOpenRead | rtl::fmShareDenyWrite);
    ok = LoadFrom(stream);
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) {
    // Nothing of a file that could not be read whole is kept.
    ClearStreams();
    name_.clear();
    kindNames_.Clear();
    loaded_ = false;
    return;
  }
  loaded_ = true;
}

void TThesaurusFile::Unload() {
  if (!loaded_) return;
  ClearStreams();
  loaded_ = false;
}

void TThesaurusFile::SetLoaded(bool value) {
  if (value == loaded_) return;
  if (value)
    Load();
  else
    Unload();
}

void TThesaurusFile::SetFileName(const AnsiString& name) {
  if (name == fileName_ || !rtl::FileExists(NativeFileName(name))) return;
  const bool wasLoaded = loaded_;
  Unload();
  fileName_ = name;
  SetLoaded(wasLoaded);
}

AnsiString TThesaurusFile::GetNodeWord(Integer index) const {
  // The root's letter is never part of a word.
  if (index <= 0) return AnsiString();
  TReverseNode node;
  if (!node.ReadNode(*this, index)) return AnsiString();
  std::string tail(1, static_cast<char>(node.Letter));
  const Integer limit = nodeCount_;
  if (node.Chain) {
    TReverseNode at = node;
    for (Integer steps = 0; at.OneChild; ++steps) {
      if (steps >= limit || !at.ReadNode(*this, at.OnlyChild)) return AnsiString();
      tail += static_cast<char>(at.Letter);
    }
  }
  std::string head;  // reversed
  TReverseNode at = node;
  for (Integer steps = 0; at.HasParent && at.Parent != 0; ++steps) {
    if (steps >= limit || !at.ReadNode(*this, at.Parent)) return AnsiString();
    head += static_cast<char>(at.Letter);
  }
  std::reverse(head.begin(), head.end());
  return head + tail;
}

bool TThesaurusFile::FindWord(std::string_view word, Integer& index) const {
  TForwardNode node;
  if (!node.ReadNode(*this, 0)) return false;
  std::string_view rest = word;
  // Each step takes a letter of the word, so the descent is bounded by it.
  while (!rest.empty() && !node.Children.empty()) {
    Integer match = -1;
    for (Word child : node.Children) {
      TReverseNode c;
      if (!c.ReadNode(*this, child)) return false;
      if (static_cast<char>(c.Letter) == rest.front()) {
        match = child;
        break;
      }
    }
    if (match < 0) return false;
    rest.remove_prefix(1);
    TForwardNode next;
    if (!next.ReadNode(*this, match)) return false;
    if (next.EndOfWord && rest.empty()) {
      index = match;
      return true;
    }
    if (!next.Chain) {
      node = std::move(next);
      continue;
    }
    // A chain holds the rest of its one word: the word is found only when
    // it spells the chain out whole.
    if (next.Children.empty()) return false;
    std::string chain;
    TReverseNode c;
    Integer at = next.Children.front();
    for (Integer steps = 0;; ++steps) {
      if (steps >= nodeCount_ || chain.size() >= rest.size() || !c.ReadNode(*this, at)) return false;
      chain += static_cast<char>(c.Letter);
      if (!c.OneChild) break;
      at = c.OnlyChild;
    }
    if (chain != rest) return false;
    index = match;
    return true;
  }
  return false;
}

void TThesaurusFile::FillContext(const TEntry& entry, TThesaurusEntry& context) const {
  context.ContextWord = GetNodeWord(entry.HeadIndex);
  context.ContextKind = entry.Kind;
  context.ContextKindName =
      entry.Kind >= 0 && entry.Kind < kindNames_.Count() ? kindNames_.Get(entry.Kind) : AnsiString();
  for (size_t k = 0; k < context.Lists.size(); ++k) {
    context.Lists[k].Clear();
    for (Word index : entry.Lists[k]) context.Lists[k].Add(GetNodeWord(index));
  }
}

void TThesaurusFile::AdjustContextCase(std::string_view word, TThesaurusEntry& context) const {
  enum class Pattern { Keep, Capitals, FirstCapital };
  Pattern pattern = Pattern::Keep;
  if (EngineUpperCase(word) == word)
    pattern = Pattern::Capitals;
  else if (!word.empty() && IsCapitalLetter(word.front()))
    pattern = Pattern::FirstCapital;
  if (pattern == Pattern::Keep) return;
  auto adjust = [pattern](const AnsiString& s) {
    if (pattern == Pattern::Capitals) return EngineUpperCase(s);
    AnsiString t = s;
    if (!t.empty()) t[0] = EngineUpperChar(t[0]);
    return t;
  };
  context.ContextWord = adjust(context.ContextWord);
  for (rtl::TStringList& list : context.Lists)
    for (Integer i = 0; i < list.Count(); ++i) list.Put(i, adjust(list.Get(i)));
}

bool TThesaurusFile::Lookup(std::string_view word) {
  SetLoaded(true);
  if (!loaded_) return false;
  contexts_.clear();
  lookedUpWord_ = AnsiString(word);
  Integer index = 0;
  bool adjustCase = false;
  if (!FindWord(word, index)) {
    if (!allowCaseChanges_ || !FindWord(EngineLowerCase(word), index)) return false;
    adjustCase = true;
  }
  TForwardNode node;
  if (!node.ReadNode(*this, index)) return false;
  std::vector<std::unique_ptr<TThesaurusEntry>> contexts;
  for (Word reference : node.Meanings) {
    TEntry entry;
    if (!entry.ReadEntry(*this, reference / 5)) return false;
    entry.Kind = reference % 5;
    auto context = std::make_unique<TThesaurusEntry>();
    FillContext(entry, *context);
    if (adjustCase) AdjustContextCase(lookedUpWord_, *context);
    contexts.push_back(std::move(context));
  }
  contexts_ = std::move(contexts);
  return true;
}

}  // namespace spell
