// Real pages no one here wrote (the Apache HTTP Server manual from Debian's
// apache2-doc, in English, Russian, German and Korean, and Python's own
// documentation from python3-doc) read by the page parser:
//   - each page gives the elements that Python's html.parser events give
//     once the editor's reading rules are applied (pageelements.py);
//   - round trip: each page parsed, written back whole in UTF-8 (each
//     custom pair as its tag as written, the HTML read between, and its
//     closing tag) and parsed again gives the same elements, and a second
//     write is byte for byte the first; html5lib builds the same tree from
//     every written page as from its original;
//   - charsets: copies made by iconv in other code pages (meta changed, in
//     both meta forms) and UTF-8 copies with a byte-order mark (meta naming
//     another charset) give the characters and attributes of the UTF-8
//     original, and the Korean pages in EUC-KR give the text iconv decodes.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psDocument.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "rtl/CodePages.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"
#include "CorpusSupport.h"

using namespace htmldoc;

namespace {

// html5lib's judgement gains nothing from a sanitizer build's checks, only
// its time: there it reads every seventh page.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t kJudgeEvery = 7;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr size_t kJudgeEvery = 7;
#else
constexpr size_t kJudgeEvery = 1;
#endif
#else
constexpr size_t kJudgeEvery = 1;
#endif

const std::filesystem::path kParserCorpusRoot = corpus::kApacheManual;
const std::filesystem::path kPythonRoot = "/usr/share/doc/python3-doc/html";
const char kEditingPosition[] = "<!-- editing position -->";

std::vector<std::filesystem::path> PagesUnder(const std::filesystem::path& aFolder) {
  std::vector<std::filesystem::path> pages;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           aFolder, std::filesystem::directory_options::follow_directory_symlink))
    if (entry.path().extension() == ".html") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::vector<std::filesystem::path> Pages(const char* aLanguage) { return PagesUnder(kParserCorpusRoot / aLanguage); }

// Both corpora, or a loud failure when one is missing.
bool CorporaInstalled() {
  bool installed = true;
  if (!std::filesystem::is_directory(kParserCorpusRoot)) {
    ADD_FAILURE() << kParserCorpusRoot << " is missing: run scripts/install-deps (apache2-doc)";
    installed = false;
  }
  if (!std::filesystem::is_directory(kPythonRoot)) {
    ADD_FAILURE() << kPythonRoot << " is missing: run scripts/install-deps (python3-doc)";
    installed = false;
  }
  return installed;
}

std::vector<std::filesystem::path> AllPages() {
  std::vector<std::filesystem::path> pages;
  for (const char* language : {"en", "ru", "de", "ko"}) {
    const auto some = Pages(language);
    pages.insert(pages.end(), some.begin(), some.end());
  }
  const auto python = PagesUnder(kPythonRoot);
  pages.insert(pages.end(), python.begin(), python.end());
  return pages;
}

std::string ReadBytes(const std::filesystem::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::unique_ptr<TpsDataChunk> ParseBytes(const std::string& aBytes, Integer& aCodePage,
                                         AnsiString* aTitle = nullptr) {
  TpsHtmlParser parser(kEditingPosition);
  if (aTitle) parser.OnTitle = [aTitle](TObjectPtr, const AnsiString& aText) { *aTitle += aText; };
  rtl::TStringStream stream(aBytes);
  TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(0);
  auto chunk = parser.Parse(stream, encoding, false);
  chunk->Check();
  aCodePage = encoding.GetCodePage();
  return chunk;
}

// The elements as a comparable list: tags by their text, characters by
// value (an entity written back reads as an entity), verbatim items by text.
std::vector<std::string> Elements(const TpsDataChunk& aChunk) {
  std::vector<std::string> items;
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    switch (e->Kind) {
      case ceTag:
        items.push_back("tag " + e->Tag->GetText() +
                        (TpsDataChunk::IsCustomTag(e) ? " source " + e->Tag->CustomSource : std::string()));
        break;
      case ceChar: {
        std::string text = "char ";
        rtl::AppendUtf8(text, e->Char);
        items.push_back(text);
        break;
      }
      case ceIgnore:
        items.push_back("verbatim " + e->Content->GetText());
        break;
      case ceCursor:
        items.push_back("cursor");
        break;
      default:
        items.push_back("other");
    }
  }
  return items;
}

// A custom pair as the editor writes it back: the tag rebuilt from its
// source, its stored content and its closing tag; a tag that had no
// closing tag in the page is written alone, as an opening tag. A closing
// tag that stood alone is written alone too (written as "its text, then
// its closing tag", it would double at every save).
std::string WriteCustomPair(const TpsChunkElement* aOpen) {
  TpsMarkupTag tag(aOpen->Tag->CustomSource);
  tag.SetContent(aOpen->Tag->CustomContent);
  bool alone = false;
  if (tag.GetTagType() == ttEmpty && !aOpen->Tag->CustomAsWritten) {
    tag.SetTagType(ttOpening);
    alone = true;
  }
  if (tag.GetTagType() != ttOpening || alone) return tag.GetText();
  return tag.GetText() + tag.GetContent() + "</" + tag.GetName() + ">";
}

// The page in UTF-8 as the editor writes a whole page: the skeleton
// completed, the title put back in the head, a doctype, the HTML before the
// body, the body with each custom pair written as above, the HTML after
// the body. A byte-order mark says UTF-8 whatever the page's meta says.
std::string WritePage(std::unique_ptr<TpsDataChunk> aChunk, const AnsiString& aTitle) {
  const TpsCharacterEncoding utf8 = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  TpsDocument document(std::move(aChunk), nullptr, nullptr, utf8);
  document.SetTitle(aTitle);
  TpsDataChunk& chunk = document.Chunk();
  std::string page = "\xEF\xBB\xBF<!DOCTYPE html>\r\n" + rtl::WideToUtf8(document.GetHtmlBeforeBody(utf8));
  TpsChunkElement* from = document.BeforeBody() ? document.BeforeBody()->Next : chunk.First();
  TpsChunkElement* stop = document.AfterBody();
  TpsChunkElement* run = nullptr;  // the first element not yet written
  const auto flush = [&](TpsChunkElement* aLast) {
    if (run) page += rtl::WideToUtf8(chunk.GetHtmlText(run, aLast, kEditingPosition, false, utf8));
    run = nullptr;
  };
  for (TpsChunkElement* e = from; e && e != stop; e = e->Next) {
    if (TpsDataChunk::IsCustomOpenTag(e)) {
      flush(e->Prev);
      page += WriteCustomPair(e);
      TpsChunkElement* close = chunk.FindPartnerTag(e, nullptr);
      EXPECT_NE(close, nullptr) << "a custom tag without its closing tag";
      if (!close) break;
      e = close;
    } else if (!run) {
      run = e;
    }
  }
  flush(stop ? stop->Prev : chunk.Last());
  return page + rtl::WideToUtf8(document.GetHtmlAfterBody(utf8));
}

void ExpectSameElements(const std::vector<std::string>& aGot, const std::vector<std::string>& aWant,
                        const std::string& aWhere) {
  if (aGot == aWant) return;
  size_t i = 0;
  while (i < aGot.size() && i < aWant.size() && aGot[i] == aWant[i]) ++i;
  ADD_FAILURE() << aWhere << ": element " << i << " differs: " << (i < aGot.size() ? aGot[i] : "(end)") << " / "
                << (i < aWant.size() ? aWant[i] : "(end)");
}

std::string Iconv(const std::string& aBytes, const char* aFrom, const char* aTo, bool& aHeld) {
  const auto path = std::filesystem::temp_directory_path() / ("parser-corpus-" + std::to_string(::getpid()));
  {
    std::ofstream out(path, std::ios::binary);
    out << aBytes;
  }
  rtl::TProcessOptions options;
  options.Program = "iconv";
  options.Arguments = {"-f", aFrom, "-t", aTo, path.string()};
  options.CaptureOutput = true;
  AnsiString out, err;
  aHeld = rtl::RunProgram(options, &out, &err) == 0;
  std::filesystem::remove(path);
  return out;
}

// pageelements.py over aPages in one run: for each page its items, in the
// script's notation; "X" alone when the page makes the parser fail.
// html5lib comes with Debian's own Python, which aPython names then.
std::map<std::string, std::vector<std::string>> PythonItems(const char* aMode,
                                                            const std::vector<std::filesystem::path>& aPages,
                                                            const char* aPython = "python3") {
  rtl::TProcessOptions options;
  options.Program = aPython;
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/htmldoc/corpus/pageelements.py", aMode};
  for (const auto& page : aPages) options.Arguments.push_back(page.string());
  options.CaptureOutput = true;
  AnsiString out, err;
  const auto exitCode = rtl::RunProgram(options, &out, &err);
  EXPECT_EQ(exitCode, 0u) << "pageelements.py failed: " << err;
  std::map<std::string, std::vector<std::string>> items;
  std::vector<std::string>* current = nullptr;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("P\t", 0) == 0) {
      current = &items[corpus::Unhex(line.substr(2))];
    } else if (current) {
      current->push_back(line == "X" ? line : corpus::Unhex(line));
    }
  }
  return items;
}

std::string TagItem(const char* aKind, const TpsMarkupTag& aTag) {
  std::string item = std::string(aKind) + " " + aTag.GetName();
  for (Integer i = 0; i < aTag.GetAttributeCount(); ++i) {
    const AnsiString value = DecodeEntities(aTag.GetAttributeValue(i));
    if (!value.empty()) item += " " + aTag.GetAttributeName(i) + "=\"" + value + "\"";
  }
  return item;
}

const char* KindName(Byte aTagType) {
  return aTagType == ttOpening ? "open" : aTagType == ttClosing ? "close" : "empty";
}

// The node list in pageelements.py's notation: a custom pair read back as
// the tag it stands for (opening when the page never closed it) and its
// closing tag, the characters of a run as one text item.
std::vector<std::string> Items(const TpsDataChunk& aChunk) {
  std::vector<std::string> items;
  std::vector<std::string> closing;
  WideString run;
  const auto endRun = [&] {
    if (!run.empty()) items.push_back("text " + rtl::WideToUtf8(run));
    run.clear();
  };
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    if (e->Kind == ceChar) {
      run += e->Char;
      continue;
    }
    endRun();
    if (TpsDataChunk::IsCustomOpenTag(e)) {
      const TpsMarkupTag source(e->Tag->CustomSource, false, true, false);
      const bool opened = source.GetTagType() == ttOpening || !e->Tag->CustomAsWritten;
      items.push_back(TagItem(opened ? "open" : KindName(source.GetTagType()), source));
      closing.push_back(source.GetTagType() == ttOpening && e->Tag->CustomAsWritten ? "close " + source.GetName()
                                                                                     : std::string());
    } else if (TpsDataChunk::IsCustomCloseTag(e)) {
      if (!closing.empty()) {
        if (!closing.back().empty()) items.push_back(closing.back());
        closing.pop_back();
      }
    } else if (e->Kind == ceTag) {
      items.push_back(TagItem(KindName(e->Tag->GetTagType()), *e->Tag));
    } else if (e->Kind == ceIgnore) {
      const bool comment = dynamic_cast<const TpsCommentIgnoreElement*>(e->Content) != nullptr;
      items.push_back((comment ? "comment " : "verbatim ") + e->Content->GetText());
    } else if (e->Kind == ceCursor) {
      items.push_back("cursor");
    }
  }
  endRun();
  return items;
}

}  // namespace

TEST(ParserCorpus, PagesWrittenBackReadTheSame) {
  if (!CorporaInstalled()) return;
  const auto pages = AllPages();
  const auto folder = std::filesystem::temp_directory_path() / ("parser-roundtrip-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  // html5lib judges every page (see kJudgeEvery), written and as it came.
  std::vector<std::filesystem::path> originals, copies;
  size_t same = 0;
  for (size_t index = 0; index < pages.size(); ++index) {
    const auto& path = pages[index];
    Integer codePage = 0;
    AnsiString title;
    auto first = ParseBytes(ReadBytes(path), codePage, &title);
    const auto expected = Items(*first);
    const std::string written = WritePage(std::move(first), title);
    Integer again = 0;
    AnsiString titleAgain;
    auto second = ParseBytes(written, again, &titleAgain);
    EXPECT_EQ(again, rtl::CP_UTF8) << path;
    EXPECT_EQ(titleAgain, title) << path;
    const auto got = Items(*second);
    if (got != expected) {
      ExpectSameElements(got, expected, path.string());
      continue;
    }
    EXPECT_EQ(WritePage(std::move(second), titleAgain), written) << path;
    ++same;
    if (index % kJudgeEvery != 0) continue;
    originals.push_back(path);
    copies.push_back(folder / (std::to_string(index) + ".html"));
    std::ofstream(copies.back(), std::ios::binary) << written;
  }
  std::cout << same << " of " << pages.size() << " pages read the same after a write\n";
  EXPECT_GT(same, 1000u);

  // The trees html5lib builds; the written copies are UTF-8 with a
  // byte-order mark, the originals in the charset their meta names.
  // Normalisation: the editor writes the title first in the head; the
  // title's own place goes, its text stays compared.
  const auto titleFirst = [](std::vector<std::string>& aTree) {
    const auto title = std::find(aTree.begin(), aTree.end(), "2 element title");
    if (title == aTree.end()) return;
    const auto text = title + 1 != aTree.end() && title[1].rfind("3 text ", 0) == 0 ? title + 2 : title + 1;
    std::vector<std::string> moved(title, text);
    aTree.erase(title, text);
    const auto head = std::find(aTree.begin(), aTree.end(), "1 element head");
    if (head != aTree.end()) aTree.insert(head + 1, moved.begin(), moved.end());
  };
  // The difference the editor's rules call for: a tab in body text stands
  // for no-break spaces, which no longer collapse.
  const auto tabsAsSpaces = [](std::vector<std::string> aTree) {
    for (auto& line : aTree) {
      std::string plain;
      for (size_t at = 0; at < line.size(); ++at) {
        const bool nbsp = line.compare(at, 2, "\xC2\xA0") == 0;
        if (nbsp) ++at;
        const char c = nbsp ? ' ' : line[at];
        if (c != ' ' || plain.empty() || plain.back() != ' ') plain += c;
      }
      line = plain;
    }
    return aTree;
  };
  // And one the markup tag calls for: an attribute read as empty is left
  // out when written, or written with its name as value when it had none.
  // Such attributes (empty, or holding their own name) leave both trees.
  const auto withoutEmptyAttributes = [](std::vector<std::string> aTree) {
    static const std::regex empty(" ([^ =\"]+)=\"(\\1)?\"");
    for (auto& line : aTree)
      if (line.find(" element ") != std::string::npos) line = std::regex_replace(line, empty, "");
    return aTree;
  };
  size_t alike = 0, tabs = 0, bare = 0;
  // In batches, the originals and the copies read side by side.
  constexpr size_t kBatch = 100;
  std::map<std::string, std::vector<std::string>> want, got;
  for (size_t i = 0; i < originals.size(); ++i) {
    if (i % kBatch == 0) {
      const auto end = std::min(i + kBatch, originals.size());
      const std::vector<std::filesystem::path> someOriginals(originals.begin() + i, originals.begin() + end);
      const std::vector<std::filesystem::path> someCopies(copies.begin() + i, copies.begin() + end);
      auto wantLater = std::async(std::launch::async, [&someOriginals] {
        return PythonItems("tree", someOriginals, "/usr/bin/python3");
      });
      got = PythonItems("tree", someCopies, "/usr/bin/python3");
      want = wantLater.get();
    }
    titleFirst(want[originals[i].string()]);
    titleFirst(got[copies[i].string()]);
    if (got[copies[i].string()] == want[originals[i].string()]) {
      ++alike;
      continue;
    }
    if (ReadBytes(originals[i]).find('\t') != std::string::npos &&
        tabsAsSpaces(got[copies[i].string()]) == tabsAsSpaces(want[originals[i].string()])) {
      ++tabs;
      continue;
    }
    if (withoutEmptyAttributes(got[copies[i].string()]) == withoutEmptyAttributes(want[originals[i].string()])) {
      ++bare;
      continue;
    }
    ExpectSameElements(got[copies[i].string()], want[originals[i].string()],
                       originals[i].string() + " in html5lib");
  }
  std::cout << alike << " of " << originals.size() << " written pages give html5lib the original's tree\n"
            << "  " << tabs << " differ: a tab in body text stands for no-break spaces\n"
            << "  " << bare << " differ: an empty attribute is left out, one without a value written with its name as value\n";
  EXPECT_GT(alike, 1000u / kJudgeEvery);
  std::filesystem::remove_all(folder);
}

TEST(ParserCorpus, CharsetCopiesGiveTheOriginal) {
  ASSERT_TRUE(std::filesystem::is_directory(kParserCorpusRoot))
      << kParserCorpusRoot << " is missing: install Debian's apache2-doc package";
  struct Copy {
    const char* language;
    const char* charset;
  };
  const Copy copies[] = {{"ru", "windows-1251"}, {"ru", "koi8-r"}, {"de", "iso-8859-2"}, {"en", "windows-1250"}};
  const std::regex meta("charset=[A-Za-z0-9_-]+");
  size_t compared = 0;
  for (const Copy& copy : copies) {
    const auto all = Pages(copy.language);
    // Every fourth page keeps the test quick; iconv runs once per page.
    for (size_t index = 0; index < all.size(); index += 4) {
      const auto& path = all[index];
      const std::string original = ReadBytes(path);
      if (original.find("charset=UTF-8") == std::string::npos && original.find("charset=utf-8") == std::string::npos)
        continue;
      Integer codePage = 0;
      const auto expected = Elements(*ParseBytes(original, codePage));
      bool held = false;
      const std::string converted = Iconv(original, "UTF-8", copy.charset, held);
      if (!held) continue;  // the code page cannot hold every character
      // The http-equiv form, then the short form in its place.
      // Only the meta tag's: the pages about charsets name them in their text.
      const std::string httpEquiv = std::regex_replace(converted, meta, std::string("charset=") + copy.charset,
                                                       std::regex_constants::format_first_only);
      const std::string shortForm = std::regex_replace(
          httpEquiv, std::regex("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=[^\"]+\" ?/?>"),
          std::string("<meta charset=\"") + copy.charset + "\" />", std::regex_constants::format_first_only);
      // A byte-order mark means UTF-8 whatever the meta names.
      const std::string marked = "\xEF\xBB\xBF" + std::regex_replace(original, meta, std::string("charset=") + copy.charset,
                                                                    std::regex_constants::format_first_only);
      for (const std::string* page : {&httpEquiv, &shortForm, &marked}) {
        const auto chunk = ParseBytes(*page, codePage);
        auto got = Elements(*chunk);
        auto want = expected;
        // The meta tag itself names another charset.
        const auto isMeta = [](const std::string& item) { return item.rfind("tag <meta", 0) == 0; };
        got.erase(std::remove_if(got.begin(), got.end(), isMeta), got.end());
        want.erase(std::remove_if(want.begin(), want.end(), isMeta), want.end());
        ExpectSameElements(got, want, path.string() + " in " + copy.charset +
                                          (page == &shortForm ? " (meta charset)"
                                           : page == &marked ? " (UTF-8 with a byte-order mark)"
                                                             : ""));
        EXPECT_EQ(TpsCharacterEncoding::CreateFromCodePage(codePage).GetCharsetName().empty(), false);
        ++compared;
      }
    }
  }
  std::cout << compared << " charset copies compared\n";
  EXPECT_GT(compared, 0u);

  // The Korean pages are EUC-KR: they give the text iconv decodes.
  size_t korean = 0;
  for (const auto& path : Pages("ko")) {
    const std::string original = ReadBytes(path);
    if (original.find("charset=EUC-KR") == std::string::npos) continue;
    bool held = false;
    const std::string utf8 = Iconv(original, "EUC-KR", "UTF-8", held);
    ASSERT_TRUE(held) << path;
    Integer codePage = 0, utf8CodePage = 0;
    const auto got = Elements(*ParseBytes(original, codePage));
    EXPECT_EQ(codePage, 949) << path;
    const auto want = Elements(*ParseBytes("\xEF\xBB\xBF" + utf8, utf8CodePage));
    ExpectSameElements(got, want, path.string());
    ++korean;
  }
  std::cout << korean << " EUC-KR pages compared\n";
  EXPECT_GT(korean, 0u);
}

TEST(ParserCorpus, ElementsAsPythonsHtmlParserReadsThem) {
  if (!CorporaInstalled()) return;
  const auto pages = AllPages();
  // Python reads the pages while we do.
  auto python = std::async(std::launch::async, [&pages] { return PythonItems("elements", pages); });
  std::vector<std::vector<std::string>> ours;
  size_t refused = 0;
  for (const auto& path : pages) {
    try {
      Integer codePage = 0;
      ours.push_back(Items(*ParseBytes(ReadBytes(path), codePage)));
    } catch (const EpsHtmlEditParserError&) {
      ours.push_back({"X"});
      ++refused;
    }
  }
  const auto expected = python.get();
  ASSERT_EQ(expected.size(), pages.size()) << "pageelements.py left pages out";
  size_t same = 0;
  for (size_t i = 0; i < pages.size(); ++i) {
    const auto& want = expected.at(pages[i].string());
    if (ours[i] == want) {
      ++same;
      continue;
    }
    ExpectSameElements(ours[i], want, pages[i].string());
  }
  std::cout << pages.size() << " pages, " << same << " read as html.parser reads them (" << refused
            << " refused)\n";
  EXPECT_GT(same, 1000u);
}
