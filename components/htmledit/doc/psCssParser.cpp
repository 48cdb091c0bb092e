#include "htmledit/doc/psCssParser.h"

#include "htmledit/doc/psStrings.h"
#include "rtl/Format.h"

namespace htmldoc {

EpsHtmlEditCssParserException::EpsHtmlEditCssParserException(const rtl::Exception& aInner, Integer aLine,
                                                             Integer aColumn)
    : rtl::Exception(rtl::Format("Error parsing CSS file:\r%s\rin Line %d Column %d",
                                 {aInner.Message(), aLine, aColumn})),
      Line(aLine),
      Column(aColumn) {}

namespace {

bool IsCssWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// A line end ends a quoted string, as CSS's tokenizer has it.
bool IsLineEnd(char c) { return c == '\n' || c == '\r' || c == '\f'; }

// Walks text once, keeping the line and column of the last character taken:
// CR LF, CR and LF each end one line.
class CssScanner {
 public:
  explicit CssScanner(const AnsiString& aText) : FText(aText) {}

  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek(size_t aAhead = 0) const {
    return FPos + aAhead < FText.size() ? FText[FPos + aAhead] : '\0';
  }
  bool LookingAt(const char* aText) const { return FText.compare(FPos, std::char_traits<char>::length(aText), aText) == 0; }
  size_t Position() const { return FPos; }

  char Take() {
    const char c = FText[FPos++];
    if (c == '\r') {
      ++Line;
      Column = 0;
    } else if (c == '\n') {
      if (FPos < 2 || FText[FPos - 2] != '\r') {
        ++Line;
        Column = 0;
      }
    } else {
      ++Column;
    }
    return c;
  }

  // After "/*" has been seen: through the closing "*/" or the end.
  void SkipComment() {
    Take();
    Take();
    while (!AtEnd()) {
      if (Peek() == '*' && Peek(1) == '/') {
        Take();
        Take();
        return;
      }
      Take();
    }
  }

  // At a quote: the string through its closing quote, an unescaped line
  // end or the end of the text, appended as written.
  void TakeString(AnsiString& aOut) {
    const char quote = Take();
    aOut += quote;
    while (!AtEnd()) {
      const char c = Peek();
      if (c == '\n' || c == '\r') return;
      aOut += Take();
      if (c == '\\') {
        if (!AtEnd()) aOut += Take();
      } else if (c == quote) {
        return;
      }
    }
  }

  // At "@": the at-rule's text through its ";" or the "}" that closes its
  // block (nested braces counted), else up to a "}" that closes nothing or
  // the end of the text.
  AnsiString TakeAtRule() {
    AnsiString text;
    Integer braces = 0;
    Integer parens = 0;
    while (!AtEnd()) {
      const char c = Peek();
      if (c == '/' && Peek(1) == '*') {
        const size_t from = FPos;
        SkipComment();
        text.append(FText, from, FPos - from);
        continue;
      }
      if (c == '"' || c == '\'') {
        TakeString(text);
        continue;
      }
      if (c == '\\') {
        text += Take();
        if (!AtEnd()) text += Take();
        continue;
      }
      // Inside parentheses or brackets braces and semicolons are plain
      // characters, as in a declaration.
      if (c == '}' && braces == 0 && parens == 0) return text;
      text += Take();
      if (c == '(' || c == '[') {
        ++parens;
      } else if ((c == ')' || c == ']') && parens > 0) {
        --parens;
      } else if (parens > 0) {
      } else if (c == '{') {
        ++braces;
      } else if (c == '}') {
        if (--braces == 0) return text;
      } else if (c == ';' && braces == 0) {
        return text;
      }
    }
    return text;
  }

  Integer Line = 0;
  Integer Column = 0;

 private:
  const AnsiString& FText;
  size_t FPos = 0;
};

bool IsBlankPiece(const AnsiString& aPiece) {
  for (char c : aPiece)
    if (!IsCssWhite(c)) return false;
  return true;
}

}  // namespace

AnsiString CollapseCssWhitespace(const AnsiString& aText) {
  AnsiString result;
  result.reserve(aText.size());
  bool pending = false;
  char quote = 0;
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    if (quote && IsLineEnd(c)) {
      // A line end ends a string, as the reader saw it; closed here, the
      // string keeps its end when the line end becomes a space.
      result += quote;
      quote = 0;
    }
    if (quote) {
      result += c;
      if (c == '\\' && i + 1 < aText.size())
        result += aText[++i];
      else if (c == quote)
        quote = 0;
      continue;
    }
    if (IsCssWhite(c)) {
      pending = !result.empty();
      continue;
    }
    if (pending) result += ' ';
    pending = false;
    result += c;
    if (c == '\\' && i + 1 < aText.size())
      result += aText[++i];
    else if (c == '"' || c == '\'')
      quote = c;
  }
  return result;
}

AnsiString TrimCssWhitespace(const AnsiString& aText) {
  size_t first = 0, last = aText.size();
  while (first < last && IsCssWhite(aText[first])) ++first;
  while (last > first && IsCssWhite(aText[last - 1])) --last;
  return aText.substr(first, last - first);
}

size_t FindCssTopLevel(const AnsiString& aText, char aSeparator) {
  Integer depth = 0;
  char quote = 0;
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    if (c == '\\') {
      ++i;
    } else if (quote) {
      if (c == quote || IsLineEnd(c)) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(' || c == '[') {
      ++depth;
    } else if ((c == ')' || c == ']') && depth > 0) {
      --depth;
    } else if (c == aSeparator && depth == 0) {
      return i;
    }
  }
  return AnsiString::npos;
}

std::vector<AnsiString> SplitCssTopLevel(const AnsiString& aText, char aSeparator) {
  std::vector<AnsiString> parts;
  if (aText.empty()) return parts;
  AnsiString piece;
  Integer depth = 0;
  char quote = 0;
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    if (quote) {
      piece += c;
      if (c == '\\' && i + 1 < aText.size())
        piece += aText[++i];
      else if (c == quote || IsLineEnd(c))
        quote = 0;
      continue;
    }
    if (c == aSeparator && depth == 0) {
      parts.push_back(TrimSpaces(piece));
      piece.clear();
      continue;
    }
    piece += c;
    if (c == '\\' && i + 1 < aText.size())
      piece += aText[++i];
    else if (c == '"' || c == '\'')
      quote = c;
    else if (c == '(' || c == '[')
      ++depth;
    else if ((c == ')' || c == ']') && depth > 0)
      --depth;
  }
  parts.push_back(TrimSpaces(piece));
  return parts;
}

AnsiString BalanceCss(const AnsiString& aText, bool aCloseBraces) {
  // Counts as the readers do: parentheses and brackets on one depth,
  // braces (of at-rules) on their own.
  AnsiString result;
  result.reserve(aText.size() + 4);
  std::string parens;  // closing characters, innermost last
  Integer braces = 0;
  char quote = 0;
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    if (c == '\\') {
      if (i + 1 == aText.size()) break;  // a lone backslash at the end
      result += c;
      result += aText[++i];
      continue;
    }
    if (quote) {
      if (c == quote || IsLineEnd(c)) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && !aCloseBraces && parens.empty()) {
      result += '\\';
    } else if (c == '(') {
      parens += ')';
    } else if (c == '[') {
      parens += ']';
    } else if ((c == ')' || c == ']') && !parens.empty()) {
      parens.pop_back();
    } else if ((c == '{' || c == '}') && parens.empty()) {
      if (!aCloseBraces)
        result += '\\';
      else if (c == '{')
        ++braces;
      else if (braces > 0)
        --braces;
    }
    result += c;
  }
  if (quote) result += quote;
  result.append(parens.rbegin(), parens.rend());
  result.append(braces, '}');
  return result;
}

void ApplyDeclaration(const AnsiString& aSelectorGroup, const AnsiString& aProperty,
                      const AnsiString& aValue, const TpsCssDeclarationHandler& aHandler,
                      TpsCssParseContext& aContext) {
  for (const AnsiString& selector : SplitCssTopLevel(aSelectorGroup, ',')) {
    try {
      aHandler(selector, aProperty, aValue, aContext.Object);
    } catch (const EpsHtmlEditCssParserUnknownAttributeException& e) {
      if (aContext.ErrorMode == cssErrorAll)
        throw EpsHtmlEditCssParserException(e, aContext.Line, aContext.Column);
    } catch (const EpsHtmlEditCssParserInvalidAttributeValueException& e) {
      if (aContext.ErrorMode != cssErrorSkipInvalid)
        throw EpsHtmlEditCssParserException(e, aContext.Line, aContext.Column);
    } catch (const EpsHtmlEditCssParserException&) {
      throw;
    } catch (const rtl::Exception& e) {
      throw EpsHtmlEditCssParserException(e, aContext.Line, aContext.Column);
    } catch (const std::exception& e) {
      throw EpsHtmlEditCssParserException(rtl::Exception(e.what()), aContext.Line, aContext.Column);
    }
  }
}

void ParseCss(const AnsiString& aText, const TpsCssDeclarationHandler& aHandler, TObjectPtr aObject,
              Byte aErrorMode, const TpsCssAtRuleHandler& aAtRuleHandler) {
  enum class State { Selector, Property, Value };
  TpsCssParseContext context;
  context.Object = aObject;
  context.ErrorMode = aErrorMode;

  CssScanner scan(aText);
  State state = State::Selector;
  AnsiString piece;
  AnsiString selectorGroup;
  AnsiString property;
  Integer depth = 0;  // parentheses and brackets

  while (!scan.AtEnd()) {
    if (selectorGroup == "STOP") break;
    const char c = scan.Peek();
    if (c == '/' && scan.Peek(1) == '*') {
      scan.SkipComment();
      continue;
    }
    if (state == State::Selector && depth == 0 && IsBlankPiece(piece)) {
      if (scan.LookingAt("<!--")) {
        for (int i = 0; i < 4; ++i) scan.Take();
        continue;
      }
      if (scan.LookingAt("-->")) {
        for (int i = 0; i < 3; ++i) scan.Take();
        continue;
      }
      if (c == '@') {
        const AnsiString atRule = scan.TakeAtRule();
        piece.clear();
        if (aAtRuleHandler) aAtRuleHandler(atRule, aObject);
        continue;
      }
    }
    if (c == '"' || c == '\'') {
      scan.TakeString(piece);
      continue;
    }
    scan.Take();
    if (c == '\\') {
      piece += c;
      if (!scan.AtEnd()) piece += scan.Take();
      continue;
    }
    if (c == '(' || c == '[') {
      ++depth;
    } else if ((c == ')' || c == ']') && depth > 0) {
      --depth;
    } else if (depth == 0) {
      context.Line = scan.Line;
      context.Column = scan.Column;
      switch (state) {
        case State::Selector:
          if (c == '{') {
            selectorGroup = CollapseCssWhitespace(piece);
            piece.clear();
            state = State::Property;
            continue;
          }
          break;
        case State::Property:
          if (c == ':') {
            property = CollapseCssWhitespace(piece);
            piece.clear();
            state = State::Value;
            continue;
          }
          if (c == '}') {
            piece.clear();
            state = State::Selector;
            continue;
          }
          break;
        case State::Value:
          if (c == ';' || c == '}') {
            const AnsiString value = CollapseCssWhitespace(piece);
            piece.clear();
            state = c == ';' ? State::Property : State::Selector;
            ApplyDeclaration(selectorGroup, property, value, aHandler, context);
            continue;
          }
          break;
      }
    }
    piece += c;
  }
}

}  // namespace htmldoc
