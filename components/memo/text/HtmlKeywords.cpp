#include "memo/text/MemoTokenizer.h"

namespace memo {

namespace {

const char* const kHtmlKeywords[] = {
    "&lt",      "ABREV",   "ACRONYM",  "ADDRESS",  "APPLET",    "AREA",     "AU",       "AUTHOR",   "B",
    "BANNER",   "BASE",    "BASEFONT", "BGSOUND",  "BIG",       "BLINK",    "BLOCQUOTE", "BODY",    "BQ",
    "BR",       "CAPTION", "CENTER",   "CITE",     "CODE",      "COL",      "COLGROUP", "COMMENT",  "CREDIT",
    "DEL",      "DFN",     "DIR",      "DIV",      "DL",        "DT",       "DD",       "EM",       "EMBED",
    "FIG",      "FN",      "FONT",     "FORM",     "FRAME",     "FRAMESET", "HEAD",     "H1",       "H2",
    "H3",       "H4",      "H5",       "H6",       "HR",        "HTML",     "I",        "IFRAME",   "IMG",
    "INPUT",    "INS",     "ISINDEX",  "KBD",      "LANG",      "LH",       "LI",       "LINK",     "LISTING",
    "MAP",      "MARQUEE", "MATH",     "MENU",     "META",      "MULTICOL", "NOBR",     "NOFRAMES", "NOTE",
    "OL",       "OVERLAY", "P",        "PARAM",    "PERSON",    "PLAINTEXT", "PRE",     "Q",        "RANGE",
    "SAMP",     "SCRIPT",  "SELECT",   "SMALL",    "SPACER",    "SPOT",     "STRIKE",   "STRONG",   "SUB",
    "SUP",      "TAB",     "TBODY",    "TEXTAREA", "TEXTFLOW",  "TFOOT",    "TH",       "THEAD",    "TITLE",
    "TT",       "U",       "UL",       "VAR",      "WBR",       "XMP",      "DOCTYPE",  "PUBLIC"};

const char* const kTableKeywords[] = {"TABLE", "BORDER", "TD",    "TR",               "STYLE",
                                      "BORDERCOLOR", "WIDTH", "ID", "BORDERCOLORLIGHT", "BORDERCOLORDARK"};

}  // namespace

std::span<const char* const> HtmlStandardKeywords() { return kHtmlKeywords; }
std::span<const char* const> HtmlTableKeywords() { return kTableKeywords; }

}  // namespace memo
