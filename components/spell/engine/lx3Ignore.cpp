#include "spell/engine/lx3Ignore.h"

#include "spell/engine/lx3Text.h"

namespace spell {

bool THTMLIgnore::MatchAhead(const std::string& text, TControlParser* parser) {
  if (text.empty() || parser->GetChar() != text[0]) return false;
  if (text.size() == 1) return true;
  if (!parser->MoveNext()) {
    parser->MovePrevious();
    return false;
  }
  if (MatchAhead(text.substr(1), parser)) return true;
  parser->MovePrevious();
  return false;
}

bool THTMLIgnore::IgnoreChar(char c, TControlParser* parser) {
  if (c != '<' || !parser) return false;
  if (!parser->MoveNext()) return true;
  const bool comment = MatchAhead("!--", parser);
  const char opener = parser->GetChar();
  const bool server = !comment && (opener == '%' || opener == '?');
  if (comment) {
    while (!MatchAhead("-->", parser))
      if (!parser->MoveNext()) break;
  } else if (server) {
    bool afterOpener = false;
    for (;;) {
      const char at = parser->GetChar();
      if (at == '>' && afterOpener) break;
      afterOpener = at == opener;
      if (!parser->MoveNext()) break;
    }
  } else {
    while (parser->GetChar() != '>')
      if (!parser->MoveNext()) break;
  }
  return true;
}

bool THTMLIgnore::IsIgnoredWord(const std::string& word, TControlParser*) {
  return !word.empty() && word[0] == '&';
}

namespace {
bool StartsWithWww(const std::string& word) { return EngineLowerCase(word).rfind("www.", 0) == 0; }
}  // namespace

bool TURLIgnore::IgnoreParsedWord(const std::string& word, TControlParser* parser) {
  if (!parser) return false;
  const char c = parser->GetChar();
  bool address = false;
  if (c == ':') {
    const std::string lower = EngineLowerCase(word);
    for (const char* scheme : {"http", "ftp", "news", "mailto", "nntp", "file", "https", "telnet", "wais"})
      address = address || lower == scheme;
  } else if (c == '@') {
    address = true;
  } else if (c == '\\' || c == '/') {
    address = StartsWithWww(word);
  }
  if (!address) return false;
  static const std::string delimiters = "\r\n\t \"()[]{},<>'";
  while (delimiters.find(parser->GetChar()) == std::string::npos)
    if (!parser->MoveNext()) break;
  return true;
}

bool TURLIgnore::IsIgnoredWord(const std::string& word, TControlParser*) { return StartsWithWww(word); }

bool TQuotedLineIgnore::IsIgnoredLine(const std::string& line) {
  return !line.empty() && quoteChars_.find(line[0]) != std::string::npos;
}

bool TQuotedLineIgnore::IsIgnoredWord(const std::string&, TControlParser* parser) {
  return parser && IsIgnoredLine(parser->GetLine());
}

bool TUppercaseWordIgnore::IsIgnoredWord(const std::string& word, TControlParser*) {
  return word == EngineUpperCase(word);
}

bool TNumbersIgnore::IsIgnoredWord(const std::string& word, TControlParser*) {
  for (char c : word)
    if (c >= '0' && c <= '9') return true;
  return false;
}

bool TAbbreviationsIgnore::IsIgnoredWord(const std::string& word, TControlParser*) {
  if (word.find('.') == std::string::npos) return false;
  std::string s = word;
  while (s.size() >= 3 && s[1] == '.') s.erase(0, 2);
  return s.size() < 3;
}

}  // namespace spell
