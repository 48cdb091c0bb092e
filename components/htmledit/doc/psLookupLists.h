#pragma once
// The fixed vocabularies of the HTML editor: tag codes, CSS colour names,
// character entities, the editor messages that change the document, and
// charset names with their code pages. Every table is built once per
// process and may be read from any thread; only the entity table changes
// afterwards (DefineEntity), and it swaps in a complete new table so that a
// reader never sees a half-built one.
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "htmledit/doc/psContainers.h"
#include "rtl/Types.h"

namespace htmldoc {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;
using rtl::WideChar;

// ---------------------------------------------------------------------------
// Tag codes: one byte per tag name. Codes below 12 are the inline
// formatting tags.

constexpr Byte TAG_I = 0, TAG_B = 1, TAG_U = 2, TAG_A = 3, TAG_SPAN = 4, TAG_STRONG = 5,
               TAG_CITE = 6, TAG_EM = 7, TAG_SUB = 8, TAG_SUP = 9, TAG_S = 10, TAG_STRIKE = 11,
               TAG_H1 = 12, TAG_H2 = 13, TAG_H3 = 14, TAG_H4 = 15, TAG_H5 = 16, TAG_H6 = 17,
               TAG_P = 18, TAG_DIV = 19, TAG_BLOCKQUOTE = 20, TAG_UL = 21, TAG_OL = 22,
               TAG_LI = 23, TAG_TABLE = 24, TAG_TR = 25, TAG_TD = 26, TAG_TH = 27, TAG_IMG = 28,
               TAG_BR = 29, TAG_CUST = 30, TAG_DRV = 31, TAG_BODY = 32, TAG_HEAD = 33,
               TAG_HTML = 34, TAG_TITLE = 35, TAG_STYLE = 36, TAG_META = 37, TAG_LINK = 38,
               TAG_UNKNOWN = 39;

// The code of a tag name, ASCII case ignored; TAG_UNKNOWN when not known.
Byte TagNameToCode(const AnsiString& aName);
// The name of a code after masking it with 0x7F; empty for "@drv" (31), the
// unknown code and anything above.
AnsiString TagCodeToName(Byte aTagCode);

// ---------------------------------------------------------------------------
// Colours, 0x00BBGGRR; system colours are 0xFF000000 plus the index.

using TColor = uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;

struct TColorNameTableEntry {
  const char* Name;
  TColor Color;
};

// The 165 rows in look-up order.
const std::vector<TColorNameTableEntry>& ColorNameTable();
// The name is lower-cased (ASCII, no trimming) and compared exactly, first
// row wins; clNone when none.
TColor ColorNameToColor(const AnsiString& aName);
// The name of the first row with that colour; empty when none.
AnsiString ColorToColorName(TColor aColor);

// ---------------------------------------------------------------------------
// Character entities

class TpsHtmlCodeTable {
 public:
  TpsHtmlCodeTable();
  ~TpsHtmlCodeTable();
  TpsHtmlCodeTable(const TpsHtmlCodeTable&) = delete;
  TpsHtmlCodeTable& operator=(const TpsHtmlCodeTable&) = delete;

  // A whole entity text ("&amp;", "&#65;", "&#x41;"). Named entities are
  // case-sensitive. A numeric reference gives its code point; zero, a
  // surrogate, or a value beyond U+10FFFF gives U+FFFD. aCharCode is -1
  // when the result is False.
  bool TryGetEntityChar(const AnsiString& aEntity, Integer& aCharCode) const;
  // TryGetEntityChar as one 16-bit character: 0xFFFF when unknown, U+FFFD
  // for a code point beyond U+FFFF.
  WideChar GetEntityChar(const AnsiString& aEntity) const;
  // The entity text for a character code; False and empty when it has none.
  bool GetEntity(Integer aCharCode, AnsiString& aEntity) const;
  // The characters the HTML writer always writes as entities.
  bool IsAlwaysEscaped(Integer aCharCode) const;
  // The character "&nbsp;" stands for.
  Integer GetNbspChar() const;
  // Binds aEntity to aCharCode, dropping any other name of that character;
  // an existing entity with a code outside 0 to 65535 is removed.
  void DefineEntity(const AnsiString& aEntity, Integer aCharCode);

  // The known entity texts, sorted (for tests and the HTML writer's tables).
  std::vector<AnsiString> EntityNames() const;
  // The length of the longest entity text: a longer span is no named entity.
  size_t MaxEntityLength() const;

 private:
  struct Table;
  const Table* Snapshot() const { return FTable.load(std::memory_order_acquire); }
  static std::unique_ptr<const Table> Build(const std::vector<std::pair<AnsiString, Integer>>& aPairs);
  void Publish(std::unique_ptr<const Table> aTable);

  // Readers take the current table without a lock. A replaced table is kept
  // until this object goes, so a reader still working on it stays safe;
  // DefineEntity is called a handful of times per run.
  std::atomic<const Table*> FTable{nullptr};
  std::vector<std::unique_ptr<const Table>> FTables;
  std::mutex FDefineLock;  // one DefineEntity at a time
  TpsSortedIntList FAlwaysEscaped;
};

// The process-wide entity table.
TpsHtmlCodeTable& HtmlCodeTable();

// A numeric character reference's raw value ("&#65;" or "&#x41;"), before
// any range check: True when aEntity has that form and its number is well
// formed. A decimal number too large for an Integer, or a hexadecimal one
// beyond 0x10FFFF, gives 0x110000 (out of range).
bool TryParseCharacterReference(const AnsiString& aEntity, Integer& aValue);
// The code point a reference value stands for: itself when it is a Unicode
// scalar value other than 0, else U+FFFD.
Integer SanitizeCodePoint(Integer aValue);

// ---------------------------------------------------------------------------
// Editor messages that change the document.

bool IsEditMessage(Integer aMessageId);

// ---------------------------------------------------------------------------
// Code pages

struct TpsCodepageTableRecord {
  Integer CodePage;
  AnsiString CharsetName;
  Integer CharBits;
};

class TpsCodepageTable {
 public:
  TpsCodepageTable();
  // The name of the first row with that code page; empty when none.
  AnsiString GetCharsetName(Integer aCodePage) const;
  // The first matching row's width; 0 when none.
  Integer GetCharBits(Integer aCodePage) const;
  // aName trimmed, ASCII case ignored; 0 when none.
  Integer GetCodePage(const AnsiString& aName) const;
  const std::vector<TpsCodepageTableRecord>& Records() const { return FRecords; }

 private:
  std::vector<TpsCodepageTableRecord> FRecords;
};

// The process-wide code-page table.
const TpsCodepageTable& CodepageTable();

}  // namespace htmldoc
