#include "spell/engine/lx3PhoneticsMap.h"

#include "rtl/Exceptions.h"
#include "spell/engine/lx3Text.h"

namespace spell {

TReplaceNode::~TReplaceNode() = default;

bool TReplaceNode::Match(std::string_view text, Integer position, std::string& replacement,
                         Integer& sourceLength) const {
  if (position >= 1 && static_cast<size_t>(position) <= text.size()) {
    const auto c = static_cast<unsigned char>(text[static_cast<size_t>(position) - 1]);
    if (const TReplaceNode* child = children_[c].get())
      if (child->Match(text, position + 1, replacement, sourceLength)) return true;
  }
  if (!destination_) return false;
  replacement = replacement_;
  sourceLength = sourceLength_;
  return true;
}

void TReplaceNode::ClearRules() {
  if (!hasChildren_) return;
  for (auto& child : children_) child.reset();
  hasChildren_ = false;
}

void TReplaceNode::AddRule(std::string_view source, std::string_view replacement, Integer sourceLength) {
  TReplaceNode* node = this;
  for (char ch : source) {
    auto& child = node->children_[static_cast<unsigned char>(ch)];
    if (!child) child = std::make_unique<TReplaceNode>();
    node->hasChildren_ = true;
    node = child.get();
  }
  node->destination_ = true;
  node->replacement_ = std::string(replacement);
  node->sourceLength_ = sourceLength;
}

Integer TReplaceNode::RuleCount() const {
  Integer n = 0;
  for (const auto& child : children_)
    if (child) n += (child->destination_ ? 1 : 0) + child->RuleCount();
  return n;
}

namespace {

struct Rule {
  const char* source;
  const char* replacement;
  Integer length;
};

void AddEnglish(TPhoneticsMap& map) {
  for (const char* s : {"b", "f", "h", "j", "k", "l", "m", "n", "p", "r", "s", "t"}) map.AddRule(s, s, 1);
  static const Rule rules[] = {
      {"c", "k", 1},    {"cia", "x", 1},  {"ci", "s", 1},   {"ce", "s", 1},   {"cy", "s", 1},
      {"ch", "x", 2},   {"ck", "k", 2},   {"d", "t", 1},    {"dge", "j", 2},  {"dgy", "j", 2},
      {"dgi", "j", 2},  {"g", "k", 1},    {"gi", "j", 1},   {"ge", "j", 1},   {"gy", "j", 1},
      {"gn", "n", 2},   {"gh", "", 2},    {"gha", "k", 2},  {"ghe", "k", 2},  {"ghi", "k", 2},
      {"gho", "k", 2},  {"ghu", "k", 2},  {"ghy", "k", 2},
  };
  for (const Rule& r : rules) map.AddRule(r.source, r.replacement, r.length);
  const char vowels[] = "aeiou";
  for (char before : std::string_view(vowels))
    for (char after : std::string_view(vowels)) map.AddRule(std::string{before, 'h', after}, "h", 2);
  for (char v : std::string_view(vowels)) map.AddRule(std::string{v, 'h'}, "", 2);
  static const Rule more[] = {
      {"ph", "f", 2},  {"q", "k", 1},   {"sh", "x", 2},  {"sio", "x", 1}, {"sia", "x", 1},
      {"tia", "x", 1}, {"tio", "x", 1}, {"th", "0", 2},  {"tch", "x", 3}, {"v", "f", 1},
      {"wa", "w", 1},  {"we", "w", 1},  {"wi", "w", 1},  {"wo", "w", 1},  {"wu", "w", 1},
      {"wy", "w", 1},  {"x", "ks", 1},  {"ya", "y", 1},  {"ye", "y", 1},  {"yi", "y", 1},
      {"yo", "y", 1},  {"yu", "y", 1},  {"yy", "y", 2},  {"z", "s", 1},
  };
  for (const Rule& r : more) map.AddRule(r.source, r.replacement, r.length);
}

// Letters of code page 1251.
namespace cyr {
constexpr char a = '\xE0', be = '\xE1', ve = '\xE2', ge = '\xE3', de = '\xE4', ie = '\xE5', zhe = '\xE6',
               ze = '\xE7', i = '\xE8', ka = '\xEA', el = '\xEB', em = '\xEC', en = '\xED', o = '\xEE',
               pe = '\xEF', er = '\xF0', es = '\xF1', te = '\xF2', u = '\xF3', che = '\xF7', sha = '\xF8',
               shcha = '\xF9', yery = '\xFB', soft = '\xFC', yu = '\xFE';
}  // namespace cyr

void AddRussian(TPhoneticsMap& map) {
  using namespace cyr;
  auto s = [](std::initializer_list<char> letters) { return std::string(letters); };
  for (char c : {be, ve, ge, de, ze, ka, el, em, en, pe, er, es, te}) map.AddRule(s({c}), s({c, soft}), 1);
  map.AddRule(s({ze}), s({es}), 1);
  map.AddRule(s({zhe}), s({sha}), 1);
  map.AddRule(s({ka}), s({ge}), 1);
  map.AddRule(s({o}), s({ie}), 1);
  map.AddRule(s({o}), s({a}), 1);
  map.AddRule(s({de}), s({te}), 1);
  map.AddRule(s({o, er, o}), s({'a', er, o}), 3);
  map.AddRule(s({o, er, o}), s({o, er, a}), 3);
  map.AddRule(s({o, el, o}), s({'a', el, o}), 3);
  map.AddRule(s({o, el, o}), s({o, el, a}), 3);
  map.AddRule(s({en, en}), s({en}), 2);
  map.AddRule(s({es, es}), s({es}), 2);
  map.AddRule(s({ie, ie}), s({ie}), 2);
  map.AddRule(s({zhe, i}), s({zhe, yery}), 2);
  map.AddRule(s({sha, i}), s({sha, yery}), 2);
  map.AddRule(s({shcha}), s({sha, soft}), 1);
  map.AddRule(s({shcha, u}), s({sha, yu}), 2);
  map.AddRule(s({es, che}), s({shcha}), 2);
  map.AddRule(s({es, sha}), s({sha}), 1);
}

void AddSingleLetterRules(TPhoneticsMap& map, std::initializer_list<std::pair<char, char>> rules) {
  for (auto [from, to] : rules) map.AddRule(std::string(1, from), std::string(1, to), 1);
}

}  // namespace

void TPhoneticsMap::SetLanguage(Integer lcid) {
  if (lcid == language_) return;
  language_ = lcid;
  ClearRules();
  switch (lcid & 0xFF) {
    case 0x09:
      AddEnglish(*this);
      break;
    case 0x19:
      AddRussian(*this);
      break;
    case 0x0C:
      AddSingleLetterRules(*this, {{'b', 'b'}, {'p', 'b'}, {'c', 'c'}, {'k', 'c'}, {'q', 'c'}, {'d', 'd'},
                                   {'t', 'd'}, {'l', 'l'}, {'m', 'm'}, {'n', 'm'}, {'r', 'r'}, {'g', 'g'},
                                   {'j', 'g'}, {'x', 'x'}, {'z', 'x'}, {'s', 'x'}, {'f', 'f'}, {'v', 'f'}});
      break;
    default:
      AddSingleLetterRules(*this, {{'b', 'b'}, {'f', 'b'}, {'p', 'b'}, {'v', 'b'}, {'c', 'k'}, {'g', 'k'},
                                   {'j', 'k'}, {'k', 'k'}, {'q', 'k'}, {'s', 'k'}, {'x', 'k'}, {'z', 'k'},
                                   {'d', 'd'}, {'t', 'd'}, {'l', 'l'}, {'m', 'm'}, {'n', 'm'}, {'r', 'r'}});
      break;
  }
}

void TPhoneticsMap::SetStartDepth(Integer depth) {
  if (depth >= 1) startDepth_ = depth;
}

std::string TPhoneticsMap::GetPhoneticKey(std::string_view word) const {
  std::string w = EngineLowerCase(word);
  std::string key;
  size_t at = 0;  // w is consumed from here on
  if (!w.empty() && startDepth_ > 0) {
    at = std::min(w.size(), static_cast<size_t>(startDepth_));
    key = w.substr(0, at);
  }
  Integer budget = keyLimit_;
  std::string replacement;
  while (at < w.size()) {
    Integer length = 0;
    const std::string_view rest(w.data() + at, w.size() - at);
    if (Match(rest, 1, replacement, length)) {
      const bool doubled = removeDuplicates_ && !key.empty() && length == 1 && !replacement.empty() &&
                           key.back() == replacement.front();
      if (!doubled) {
        key += replacement;
        budget -= static_cast<Integer>(replacement.size());
        if (budget <= 0) break;
      }
      at += static_cast<size_t>(std::max<Integer>(length, 1));
    } else {
      ++at;
    }
  }
  return key;
}

bool TPhoneticsMap::DistanceAcceptable(std::string_view word, Integer distance) const {
  if (divisor_ == 0) throw rtl::EDivByZero("Division by zero");
  return static_cast<Integer>(word.size()) / divisor_ >= distance && distance <= maxDistance_;
}

}  // namespace spell
