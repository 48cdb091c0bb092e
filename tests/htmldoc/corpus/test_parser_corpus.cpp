// Real pages no one here wrote (the Apache HTTP Server manual from Debian's
// apache2-doc, in English, Russian, German and Korean, and Python's own
// documentation from python3-doc) read by the page parser:
//   - each page gives the elements that Python's html.parser events give
//     once the editor's reading rules are applied (pageelements.py);
//   - round trip: each page parsed, written back whole in UTF-8 (each
//     custom pair as its tag as written, the HTML read between, and its
//     closing tag) and parsed again gives the same elements, and a second
//     write is byte for byte the first; html5lib builds the same tree from
//     the written page as from the original;
//   - charsets: copies made by iconv in other code pages (meta changed, in
//     both meta forms) give the characters and attributes of the UTF-8
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
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "rtl/CodePages.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"

using namespace htmldoc;

namespace {

const std::filesystem::path kCorpusRoot = "/usr/share/doc/apache2-doc/manual";
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

std::vector<std::filesystem::path> Pages(const char* aLanguage) { return PagesUnder(kCorpusRoot / aLanguage); }

// Both corpora, or a loud failure when one is missing.
bool CorporaInstalled() {
  bool installed = true;
  if (!std::filesystem::is_directory(kCorpusRoot)) {
    ADD_FAILURE() << kCorpusRoot << " is missing: run scripts/install-deps (apache2-doc)";
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

std::unique_ptr<TpsDataChunk> ParseBytes(const std::string& aBytes, Integer& aCodePage) {
  TpsHtmlParser parser(kEditingPosition);
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

// The page in UTF-8 as the editor writes one: every element through the
// node list's writer, a custom pair as its tag as written, what lies
// between, and its closing tag unless it stood empty.
std::string WritePage(const TpsDataChunk& aChunk) {
  const TpsCharacterEncoding utf8 = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  std::string page = "\xEF\xBB\xBF";
  std::vector<std::string> closing;
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    if (TpsDataChunk::IsCustomOpenTag(e)) {
      page += e->Tag->CustomSource;
      const TpsMarkupTag source(e->Tag->CustomSource);
      closing.push_back(e->Tag->CustomAsWritten && source.GetTagType() == ttOpening
                            ? "</" + source.GetName() + ">"
                            : std::string());
    } else if (TpsDataChunk::IsCustomCloseTag(e)) {
      if (!closing.empty()) {
        page += closing.back();
        closing.pop_back();
      }
    } else {
      page += rtl::WideToUtf8(TpsDataChunk::GetElementHtml(e, kEditingPosition, false, utf8));
    }
  }
  return page;
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

std::string Unhex(const std::string& aHex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < aHex.size(); i += 2) bytes += static_cast<char>(std::stoi(aHex.substr(i, 2), nullptr, 16));
  return bytes;
}

// pageelements.py over aPages in one run: for each page its items, in the
// script's notation; "X" alone when the page makes the parser fail.
std::map<std::string, std::vector<std::string>> PythonItems(const char* aMode,
                                                            const std::vector<std::filesystem::path>& aPages) {
  rtl::TProcessOptions options;
  options.Program = "python3";
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
      current = &items[Unhex(line.substr(2))];
    } else if (current) {
      current->push_back(line == "X" ? line : Unhex(line));
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
  ASSERT_TRUE(std::filesystem::is_directory(kCorpusRoot))
      << kCorpusRoot << " is missing: install Debian's apache2-doc package";
  size_t pages = 0;
  for (const char* language : {"en", "ru", "de", "ko"}) {
    for (const auto& path : Pages(language)) {
      Integer codePage = 0;
      const auto first = ParseBytes(ReadBytes(path), codePage);
      const std::string written = WritePage(*first);
      Integer again = 0;
      const auto second = ParseBytes(written, again);
      EXPECT_EQ(again, rtl::CP_UTF8) << path;
      const auto a = Elements(*first), b = Elements(*second);
      if (a != b) {
        ExpectSameElements(b, a, path.string());
        continue;
      }
      EXPECT_EQ(WritePage(*second), written) << path;
      ++pages;
    }
  }
  std::cout << pages << " pages read the same after a write\n";
  EXPECT_GT(pages, 0u);
}

TEST(ParserCorpus, CharsetCopiesGiveTheOriginal) {
  ASSERT_TRUE(std::filesystem::is_directory(kCorpusRoot))
      << kCorpusRoot << " is missing: install Debian's apache2-doc package";
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
      for (const std::string* page : {&httpEquiv, &shortForm}) {
        const auto chunk = ParseBytes(*page, codePage);
        auto got = Elements(*chunk);
        auto want = expected;
        // The meta tag itself names another charset.
        const auto isMeta = [](const std::string& item) { return item.rfind("tag <meta", 0) == 0; };
        got.erase(std::remove_if(got.begin(), got.end(), isMeta), got.end());
        want.erase(std::remove_if(want.begin(), want.end(), isMeta), want.end());
        ExpectSameElements(got, want, path.string() + " in " + copy.charset +
                                          (page == &shortForm ? " (meta charset)" : ""));
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
