// Live spelling's analysis as the editor's analysis thread runs it: the
// blocks of the Apache manual's English pages, each split into lines of
// about 70 characters held in node lists as a text line holds them, go
// through collection, the word split, the spell handler's AnalyzeBlock (the
// component's look-ups under its lock) and the marking of every rejected
// word in its line. Beside it, Hunspell's spell of the same words on a
// dictionary of the same word list, in the same run.
#include <benchmark/benchmark.h>
#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "HunspellWordList.h"
#include "htmledit/control/psSmartTags.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/Strings.h"
#include "spell/html/psSpellChecker.h"
#include "spell/lx3Spell.h"

namespace {

using htmldoc::TpsChunkElement;
using htmledit::IpsSmartTagNode;
using htmledit::TpsSmartTagAnalysisBlock;
using htmledit::TpsSmartTagMarkRequest;

// A text line: its characters in a node list, marks set on them.
class Line : public IpsSmartTagNode {
 public:
  explicit Line(const std::u16string& aText) : FText(aText) {
    for (char16_t c : aText) FChunk.AddCharacter(c);
  }
  bool IsSmartTagBlock() override { return false; }
  spell::Integer SmartTagChildCount() override { return 0; }
  IpsSmartTagNode* SmartTagChild(spell::Integer) override { return nullptr; }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock& aBlock) override {
    aBlock.AddText(this, FText, FChunk.GetCharacterIdsCrc());
  }
  void ClearSmartTags(spell::Integer aKeepId) override { FChunk.ClearSmartTagsExcept(aKeepId); }
  void SetSmartTag(const TpsSmartTagMarkRequest& aMark) override {
    TpsChunkElement* first = nullptr;
    TpsChunkElement* last = nullptr;
    spell::Integer at = 0;
    for (TpsChunkElement* e = FChunk.First(); e; e = e->Next) {
      ++at;
      if (at == aMark.First) first = e;
      if (at == aMark.Last) last = e;
    }
    if (!first || !last || FChunk.HasSmartTagBetween(first, last)) return;
    FChunk.SetSmartTag(first, last, true, aMark.MarkId, aMark.Handler);
    ++Marks;
  }
  size_t Marks = 0;

 private:
  std::u16string FText;
  htmldoc::TpsDataChunk FChunk;
};

class Block : public IpsSmartTagNode {
 public:
  bool IsSmartTagBlock() override { return true; }
  spell::Integer SmartTagChildCount() override { return static_cast<spell::Integer>(Lines.size()); }
  IpsSmartTagNode* SmartTagChild(spell::Integer aIndex) override { return Lines[static_cast<size_t>(aIndex)].get(); }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock&) override {}
  void ClearSmartTags(spell::Integer) override {}
  void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
  std::vector<std::unique_ptr<Line>> Lines;
};

bool IsBlockTag(const std::string& aName) {
  static const char* const kBlocks[] = {"p",  "li", "h1", "h2", "h3",    "h4",    "h5",         "h6",   "pre",
                                        "td", "th", "dt", "dd", "div",   "tr",    "blockquote", "title", "ul",
                                        "ol", "dl", "table"};
  for (const char* b : kBlocks)
    if (aName == b) return true;
  return false;
}

// The blocks of one page: text outside tags, cut at block tags; the common
// entities decoded, a no-break space kept as such.
std::vector<std::string> PageBlocks(const std::string& aHtml) {
  std::vector<std::string> blocks;
  std::string text;
  const auto flush = [&] {
    if (text.find_first_not_of(" \t\r\n") != std::string::npos) blocks.push_back(text);
    text.clear();
  };
  for (size_t i = 0; i < aHtml.size();) {
    const char c = aHtml[i];
    if (c == '<') {
      const size_t end = aHtml.find('>', i);
      if (end == std::string::npos) break;
      std::string name;
      for (size_t k = i + 1 + (aHtml[i + 1] == '/'); k < end && std::isalnum(static_cast<unsigned char>(aHtml[k])); ++k)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(aHtml[k])));
      if (IsBlockTag(name) || name == "br") flush();
      i = end + 1;
    } else if (c == '&') {
      const size_t end = aHtml.find(';', i);
      const std::string entity = end == std::string::npos ? "" : aHtml.substr(i + 1, end - i - 1);
      text += entity == "amp" ? "&" : entity == "lt" ? "<" : entity == "gt" ? ">" : entity == "quot" ? "\""
              : entity == "nbsp"                                                  ? "\xC2\xA0"
                                                                                  : " ";
      i = end == std::string::npos ? i + 1 : end + 1;
    } else {
      text += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
      ++i;
    }
  }
  flush();
  return blocks;
}

struct Data {
  spell_bench::HunspellWordList list;
  std::vector<std::unique_ptr<Block>> blocks;
  std::vector<std::string> words;  // the blocks' words as the split gives them
  std::unique_ptr<spell::TLexaSpell3> component;
  std::unique_ptr<spell::TpsSmartTagSpellchecker> handler;

  Data() {
    const std::filesystem::path root = "/usr/share/doc/apache2-doc/manual/en";
    std::vector<std::filesystem::path> pages;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
      if (e.is_regular_file() && e.path().extension() == ".html") pages.push_back(e.path());
    std::sort(pages.begin(), pages.end());
    for (const auto& page : pages) {
      std::ifstream in(page, std::ios::binary);
      const std::string html((std::istreambuf_iterator<char>(in)), {});
      for (const std::string& text : PageBlocks(html)) {
        auto block = std::make_unique<Block>();
        const std::u16string wide = rtl::Utf8ToWide(text);
        // Lines of about 70 characters, broken after a blank as the layout
        // breaks them.
        for (size_t at = 0; at < wide.size();) {
          size_t end = std::min(wide.size(), at + 70);
          while (end < wide.size() && wide[end - 1] != u' ') ++end;
          block->Lines.push_back(std::make_unique<Line>(wide.substr(at, end - at)));
          at = end;
        }
        blocks.push_back(std::move(block));
      }
    }
    component = std::make_unique<spell::TLexaSpell3>();
    component->SetConfigStorage(spell::csNone);
    component->ConfigDictionaryDir().Clear();
    component->ConfigDictionaryDir().Add(list.folder.string());
    component->ConfigDictionaryDir().Add(TOLVANE_BIN_DIR);
    component->SetConfigDefaultActiveCustom("");
    component->SuggestionsLearning = false;
    component->Config().EnsureLoaded();
    handler = std::make_unique<spell::TpsSmartTagSpellchecker>(component.get(), true, 255);
    for (auto& block : blocks) {
      TpsSmartTagAnalysisBlock analysis(nullptr, block.get());
      analysis.Collect();
      analysis.Prepare();
      for (spell::Integer i = 0; i < analysis.GetWordCount(); ++i) words.push_back(analysis.GetWord(i));
    }
  }
  ~Data() {
    handler.reset();
    component.reset();
  }
};

// Made on the first benchmark's first call, before its timed loop: the
// editor's word split has tables of its own that static initialisation of
// this program must not run ahead of.
Data& D() {
  static Data data;
  return data;
}

void BM_AnalyzeBlocks_LiveSpelling(benchmark::State& state) {
  Data& d = D();
  size_t marks = 0;
  for (auto _ : state) {
    for (auto& block : D().blocks) {
      TpsSmartTagAnalysisBlock analysis(nullptr, block.get());
      analysis.Collect();
      analysis.Prepare();
      D().handler->AnalyzeBlock(analysis);
      marks += analysis.Queue().size();
      analysis.DeliverMarks();
    }
  }
  state.counters["blocks"] = static_cast<double>(D().blocks.size());
  state.counters["rejected%"] =
      100.0 * static_cast<double>(marks) / static_cast<double>(state.iterations() * D().words.size());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_AnalyzeBlocks_LiveSpelling)->Unit(benchmark::kMillisecond);

void BM_Spell_Hunspell(benchmark::State& state) {
  Data& d = D();
  Hunspell h(d.list.aff.c_str(), d.list.dic.c_str());
  size_t rejected = 0;
  for (auto _ : state)
    for (const auto& w : D().words) rejected += !h.spell(w);
  state.counters["rejected%"] =
      100.0 * static_cast<double>(rejected) / static_cast<double>(state.iterations() * D().words.size());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_Spell_Hunspell)->Unit(benchmark::kMillisecond);

}  // namespace
