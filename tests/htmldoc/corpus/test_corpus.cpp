// Start tags of real pages that no one here wrote (the Apache HTTP Server
// manual as Debian's apache2-doc installs it), read by the standard library
// of Python (html.parser, get_starttag_text) and by TpsMarkupTag, must give
// the same name, kind and attributes, apart from the differences our tag
// rules call for, each listed below with the pages' tags that show it.
#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"
#include "rtl/Files.h"
#include "rtl/Process.h"
#include "rtl/Strings.h"
#include "CorpusSupport.h"

using namespace htmldoc;

namespace {

const char* const kCorpusRoot = corpus::kApacheManual;
// Two languages: one in ASCII-heavy English, one with non-ASCII text in
// titles and attribute values.
const char* const kCorpusFolders[] = {"en", "ja"};

struct Attribute {
  std::string name;
  std::string value;
  bool bare = false;  // written without "=" (html.parser gives None)
};

struct Record {
  std::string file;
  bool empty = false;  // closed by "/>"
  std::string text;
  std::string name;
  std::vector<Attribute> attributes;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (;;) {
    const size_t at = line.find('\t', from);
    fields.push_back(line.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return fields;
    from = at + 1;
  }
}

std::vector<Record> ReadCorpus() {
  std::vector<Record> records;
  rtl::TProcessOptions options;
  options.Program = "python3";
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/htmldoc/corpus/starttags.py"};
  for (const char* folder : kCorpusFolders)
    options.Arguments.push_back(std::string(kCorpusRoot) + "/" + folder);
  options.CaptureOutput = true;
  rtl::AnsiString out, err;
  const auto exitCode = rtl::RunProgram(options, &out, &err);
  EXPECT_EQ(exitCode, 0u) << "the corpus lister failed: " << err;
  size_t from = 0;
  while (from < out.size()) {
    size_t end = out.find('\n', from);
    if (end == std::string::npos) end = out.size();
    const auto fields = SplitTabs(out.substr(from, end - from));
    from = end + 1;
    if (fields.size() < 4 || fields.size() % 2 != 0) {
      ADD_FAILURE() << "malformed record";
      continue;
    }
    Record r;
    r.file = corpus::Unhex(fields[0]);
    r.empty = fields[1] == "E";
    r.text = corpus::Unhex(fields[2]);
    r.name = corpus::Unhex(fields[3]);
    for (size_t i = 4; i < fields.size(); i += 2) {
      Attribute a;
      a.name = corpus::Unhex(fields[i]);
      a.bare = fields[i + 1] == "-";
      if (!a.bare) a.value = corpus::Unhex(fields[i + 1]);
      r.attributes.push_back(a);
    }
    records.push_back(std::move(r));
  }
  return records;
}

// What html.parser's record becomes under our rules where those differ by
// design:
// - a name given twice keeps its first position and its last value;
// - a bare attribute ("nowrap") is kept with itself as its value.
std::vector<Attribute> Expected(const Record& r) {
  std::vector<Attribute> result;
  std::map<std::string, size_t> position;
  for (const auto& a : r.attributes) {
    auto [it, added] = position.emplace(a.name, result.size());
    if (added)
      result.push_back(a);
    else
      result[it->second].value = a.value, result[it->second].bare = a.bare;
  }
  return result;
}

// Our values keep entities as written; html.parser decodes them. So ours is
// compared after DecodeEntities.
std::string Compare(const Record& r, const TpsMarkupTag& tag) {
  if (tag.GetName() != r.name) return "name '" + tag.GetName() + "'";
  if ((tag.GetTagType() == ttEmpty) != r.empty) return "kind";
  const auto expected = Expected(r);
  if (tag.GetAttributeCount() != static_cast<Integer>(expected.size()))
    return "attribute count " + std::to_string(tag.GetAttributeCount());
  for (size_t i = 0; i < expected.size(); ++i) {
    const auto& e = expected[i];
    const std::string name = tag.GetAttributeName(static_cast<Integer>(i));
    const std::string value = tag.GetAttributeValue(static_cast<Integer>(i));
    if (name != e.name) return "attribute name '" + name + "'";
    if (e.bare ? !rtl::SameText(value, e.name) : DecodeEntities(value) != e.value)
      return "value of '" + name + "': '" + value + "'";
  }
  return {};
}

// --- The differences our tag rules call for -------------------------------
//
// Each is recognised from the tag's text; a tag that differs from html.parser
// must show at least one of them.

// Calls aVisit for each character outside quoted attribute values, with a
// flag telling whether an unquoted value starts there.
template <typename Visit>
void ScanTag(const std::string& aText, Visit aVisit) {
  for (size_t i = 1; i + 1 < aText.size(); ++i) {
    const char c = aText[i];
    bool unquotedValue = false;
    if (c == '=') {
      size_t j = i + 1;
      while (j < aText.size() && std::isspace(static_cast<unsigned char>(aText[j]))) ++j;
      if (j < aText.size() && (aText[j] == '"' || aText[j] == '\'')) {
        const size_t close = aText.find(aText[j], j + 1);
        aVisit(i, c, false);
        if (close == std::string::npos) return;
        i = close;
        continue;
      }
      unquotedValue = j + 1 < aText.size();
    }
    aVisit(i, c, unquotedValue);
  }
}

bool HasUnquotedValue(const Record& r, const std::string&) {
  // Unquoted values may hold blanks and end before the next "name=" or at
  // a quote.
  bool found = false;
  ScanTag(r.text, [&](size_t, char, bool unquoted) { found = found || unquoted; });
  return found;
}

bool HasSlashInside(const Record& r, const std::string&) {
  // A "/" where a name is expected ends the attributes as the empty-tag mark.
  bool found = false;
  ScanTag(r.text, [&](size_t i, char c, bool) {
    found = found || (c == '/' && i + 2 != r.text.size());
  });
  return found;
}

bool ValueHasReferenceBeyondTheTable(const Record& r, const std::string& difference) {
  // Only the table's 130 entities and numeric references ending in ";" are
  // decoded; html.parser also knows the newer names and references without ";".
  const std::string prefix = "value of '";
  if (difference.rfind(prefix, 0) != 0) return false;
  const size_t end = difference.find('\'', prefix.size());
  const std::string name = difference.substr(prefix.size(), end - prefix.size());
  return TpsMarkupTag(r.text).GetAttribute(name).find('&') != std::string::npos;
}

bool HasNonAsciiName(const Record& r, const std::string&) {
  // Each character of a tag or attribute name is taken as its low 8 bits.
  const auto nonAscii = [](const std::string& s) {
    for (unsigned char c : s)
      if (c >= 0x80) return true;
    return false;
  };
  if (nonAscii(r.name)) return true;
  for (const auto& a : r.attributes)
    if (nonAscii(a.name)) return true;
  return false;
}

bool HasOtherBlanks(const Record& r, const std::string&) {
  // Only tab, LF, CR and space separate names and values.
  return r.text.find_first_of("\f\v") != std::string::npos;
}

struct KnownDifference {
  const char* rule;
  bool (*applies)(const Record&, const std::string& difference);
};

const KnownDifference kKnownDifferences[] = {
    {"unquoted values follow their own rules", HasUnquotedValue},
    {"a '/' inside the tag marks it empty and ends the attributes", HasSlashInside},
    {"entities beyond the table stay undecoded", ValueHasReferenceBeyondTheTable},
    {"names are taken 8 bits per character", HasNonAsciiName},
    {"form feed and vertical tab are no blanks", HasOtherBlanks},
};

}  // namespace

TEST(Corpus, StartTagsMatchPythonsHtmlParser) {
  ASSERT_TRUE(rtl::DirectoryExists(kCorpusRoot))
      << kCorpusRoot << " is missing: install Debian's apache2-doc package";
  const auto records = ReadCorpus();
  ASSERT_FALSE(records.empty()) << "the corpus gave no start tags";

  std::map<std::string, int> explained;
  size_t same = 0;
  for (const auto& r : records) {
    TpsMarkupTag tag(r.text);
    const std::string difference = Compare(r, tag);
    if (difference.empty()) {
      ++same;
      continue;
    }
    const KnownDifference* known = nullptr;
    for (const auto& k : kKnownDifferences) {
      if (k.applies(r, difference)) {
        known = &k;
        break;
      }
    }
    if (known)
      ++explained[known->rule];
    else
      ADD_FAILURE() << r.file << ": " << r.text << " -> " << difference;
  }
  std::cout << records.size() << " start tags, " << same << " read alike\n";
  for (const auto& [rule, count] : explained) std::cout << count << " differ: " << rule << "\n";
}
