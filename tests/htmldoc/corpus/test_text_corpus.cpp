// The text runs of real pages (the Apache HTTP Server manual from Debian's
// apache2-doc), read by AddTextWithEntities, must give what Python's
// html.unescape gives once white space is collapsed as the node list
// collapses it; and the HTML the list writes for them, read back by
// html.unescape, must give the list's characters again. Differences our
// rules call for are listed below; any other fails.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Process.h"
#include "CorpusSupport.h"

using namespace htmldoc;

namespace {

const char* const kTextCorpusRoot = corpus::kApacheManual;
const char* const kTextCorpusFolders[] = {"en", "ru"};

std::string Script() { return std::string(TOLVANE_SOURCE_DIR) + "/tests/htmldoc/corpus/textruns.py"; }

std::vector<std::string> Lines(const std::vector<std::string>& aArguments) {
  rtl::TProcessOptions options;
  options.Program = "python3";
  options.Arguments = aArguments;
  options.CaptureOutput = true;
  rtl::AnsiString out, err;
  const auto exitCode = rtl::RunProgram(options, &out, &err);
  EXPECT_EQ(exitCode, 0u) << "textruns.py failed: " << err;
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < out.size()) {
    size_t end = out.find('\n', from);
    if (end == std::string::npos) end = out.size();
    lines.push_back(out.substr(from, end - from));
    from = end + 1;
  }
  return lines;
}

WideString Characters(const TpsDataChunk& aChunk) {
  WideString text;
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next) text += e->Char;
  return text;
}

// The node list's white-space rule applied to text: CR dropped, tab and LF
// as spaces, no two spaces in a row.
WideString Collapsed(const WideString& aText) {
  TpsDataChunk chunk;
  chunk.AddText(aText);
  return Characters(chunk);
}

// --- The differences our rules call for ---------------------------------------

bool HasReferenceWithoutSemicolon(const std::string& aRaw) {
  // The standard also reads a few names without ";" ("&amp", "&copy");
  // the node list reads a reference only up to its ";".
  static const std::regex pattern("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z][A-Za-z0-9]*)(?!;|[A-Za-z0-9])");
  return std::regex_search(aRaw, pattern);
}

bool HasWindowsRemappedReference(const std::string& aRaw) {
  // The standard reads "&#128;" to "&#159;" as the windows-1252 characters;
  // the node list reads the number as it stands.
  static const std::regex pattern("&#(12[89]|1[3-5][0-9]);|&#[xX]([89][0-9a-fA-F]);");
  return std::regex_search(aRaw, pattern);
}

bool HasWhiteSpaceReference(const std::string& aRaw) {
  // A space, tab or line end written as a reference is never collapsed.
  static const std::regex pattern("&(#(9|10|13|32)|#[xX](9|[aA]|[dD]|20)|Tab|NewLine);");
  return std::regex_search(aRaw, pattern);
}

struct KnownTextDifference {
  const char* rule;
  bool (*applies)(const std::string& aRaw);
};

const KnownTextDifference kKnownTextDifferences[] = {
    {"a reference without \";\" stays text", HasReferenceWithoutSemicolon},
    {"\"&#128;\" to \"&#159;\" are not remapped to windows-1252", HasWindowsRemappedReference},
    {"white space written as a reference is not collapsed", HasWhiteSpaceReference},
};

}  // namespace

TEST(TextCorpus, EntitiesAndWriterAgreeWithPythonsHtmlModule) {
  ASSERT_TRUE(rtl::DirectoryExists(kTextCorpusRoot)) << kTextCorpusRoot << " is missing: run scripts/install-deps";
  std::vector<std::string> arguments = {Script(), "runs"};
  for (const char* folder : kTextCorpusFolders) arguments.push_back(std::string(kTextCorpusRoot) + "/" + folder);
  const std::vector<std::string> records = Lines(arguments);
  ASSERT_GT(records.size(), 10000u) << "the corpus gave too few text runs";

  std::map<std::string, int> explained;
  size_t same = 0;
  std::string written;  // our HTML of every run, for html.unescape
  std::vector<WideString> characters;
  for (const std::string& record : records) {
    const size_t tab = record.find('\t');
    ASSERT_NE(tab, std::string::npos);
    const std::string raw = corpus::Unhex(record.substr(0, tab));
    const WideString expected = Collapsed(rtl::Utf8ToWide(corpus::Unhex(record.substr(tab + 1))));
    TpsDataChunk chunk;
    chunk.AddTextWithEntities(rtl::Utf8ToWide(raw));
    const WideString actual = Characters(chunk);
    written += corpus::Hex(rtl::WideToUtf8(chunk.GetHtmlText(nullptr, nullptr, "", false,
                                                     TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8)))) +
               "\n";
    characters.push_back(actual);
    if (actual == expected) {
      ++same;
      continue;
    }
    const KnownTextDifference* known = nullptr;
    for (const auto& k : kKnownTextDifferences)
      if (k.applies(raw)) known = &k;
    if (known)
      ++explained[known->rule];
    else
      ADD_FAILURE() << "run: " << raw << "\nours:   " << rtl::WideToUtf8(actual)
                    << "\npython: " << rtl::WideToUtf8(expected);
  }
  std::cout << records.size() << " text runs, " << same << " read alike\n";
  for (const auto& [rule, count] : explained) std::cout << count << " differ: " << rule << "\n";

  // Written and read back by html.unescape: the same characters.
  const std::string path = std::string(TOLVANE_BIN_DIR) + "/htmldoc-text-runs.hex";
  rtl::WriteFileAtomically(path, written);
  const std::vector<std::string> unescaped = Lines({Script(), "unescape", path});
  ASSERT_EQ(unescaped.size(), characters.size());
  size_t mismatches = 0;
  for (size_t i = 0; i < characters.size(); ++i) {
    const std::string back = corpus::Unhex(unescaped[i]);
    if (back != rtl::WideToUtf8(characters[i]) && ++mismatches < 20)
      ADD_FAILURE() << "read back: " << back << "\nours:      " << rtl::WideToUtf8(characters[i]);
  }
  EXPECT_EQ(mismatches, 0u);
}
