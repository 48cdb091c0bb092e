#pragma once
// The CSS reader: style-sheet text into one handler call per selector and
// declaration, at-rules verbatim to a second handler, and the exceptions
// that style handling raises.
//
// The reader follows CSS's lexical structure as far as splitting needs it:
// comments are skipped (and "<!--", "-->" between rules); ";", ":", "{",
// "}" and "," inside quoted strings, parentheses or brackets belong to the
// piece they stand in; a backslash escapes the character after it.
#include <functional>

#include "htmledit/doc/psGlobals.h"

namespace htmldoc {

// Wraps the failure of one declaration with the place of the ";" or "}"
// that ended it: the line counted from 0, the column from 1.
class EpsHtmlEditCssParserException : public rtl::Exception {
 public:
  EpsHtmlEditCssParserException(const rtl::Exception& aInner, Integer aLine, Integer aColumn);
  const char* ClassName() const noexcept override { return "EpsHtmlEditCssParserException"; }
  Integer Line;
  Integer Column;
};

class EpsHtmlEditCssParserUnknownAttributeException : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override {
    return "EpsHtmlEditCssParserUnknownAttributeException";
  }
};

class EpsHtmlEditCssParserInvalidAttributeValueException : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override {
    return "EpsHtmlEditCssParserInvalidAttributeValueException";
  }
};

// Error modes: every failure is an error; unknown properties skipped;
// unknown properties and invalid values skipped.
constexpr Byte cssErrorAll = 0, cssErrorSkipUnknown = 1, cssErrorSkipInvalid = 2;

using TpsCssDeclarationHandler = std::function<void(
    const AnsiString& aSelector, const AnsiString& aProperty, const AnsiString& aValue, TObjectPtr aContext)>;
// Receives an at-rule's whole text, from "@" through its ";" or through the
// "}" that closes its block.
using TpsCssAtRuleHandler = std::function<void(const AnsiString& aAtRule, TObjectPtr aContext)>;

struct TpsCssParseContext {
  TObjectPtr Object = nullptr;
  Integer Line = 0;
  Integer Column = 0;
  Byte ErrorMode = cssErrorAll;
};

// Reads aText; stops at the end or at a rule whose selector group is
// exactly "STOP". A raised error ends the parse; what was handled before
// stays handled.
void ParseCss(const AnsiString& aText, const TpsCssDeclarationHandler& aHandler, TObjectPtr aObject,
              Byte aErrorMode, const TpsCssAtRuleHandler& aAtRuleHandler = nullptr);

// Calls the handler once per selector of the group (split at commas outside
// quotes, parentheses and brackets) and maps its failures by error mode.
void ApplyDeclaration(const AnsiString& aSelectorGroup, const AnsiString& aProperty,
                      const AnsiString& aValue, const TpsCssDeclarationHandler& aHandler,
                      TpsCssParseContext& aContext);

// --- Lexical helpers shared with the declaration readers ---------------------
//
// Like the reader, they take a backslash with the character after it, and
// end a quoted string at its quote or at a line end.

// Without CSS's white space (space, tab, CR, LF, form feed) at either end.
AnsiString TrimCssWhitespace(const AnsiString& aText);
// The first aSeparator outside quoted strings, parentheses and brackets;
// npos when none.
size_t FindCssTopLevel(const AnsiString& aText, char aSeparator);

// Splits at aSeparator where it stands outside quoted strings, parentheses
// and brackets; each piece trimmed of spaces. The empty text gives none.
std::vector<AnsiString> SplitCssTopLevel(const AnsiString& aText, char aSeparator);
// Runs of white space become one space, none at either end; white space
// inside quoted strings is kept, and a string that a line end ended gets
// its closing quote.
AnsiString CollapseCssWhitespace(const AnsiString& aText);

// Text made safe to write inside a style sheet, closing what the end of a
// sheet would close when read: a trailing lone backslash is dropped, an open
// string gets its quote, open parentheses and brackets (and with
// aCloseBraces, braces) get their closers. Without aCloseBraces a brace
// outside strings and parentheses is escaped, so a value cannot end its
// rule, nor a semicolon its declaration.
AnsiString BalanceCss(const AnsiString& aText, bool aCloseBraces);

}  // namespace htmldoc
