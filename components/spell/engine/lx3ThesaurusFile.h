#pragma once
// A thesaurus file (".adt"): a letter trie of the head words, a table of
// meanings (a head word, a kind and four word lists) and the word lists as
// node numbers of the trie. A look-up finds the word's node, reads the
// meanings attached to it and spells every listed node back into a word by
// walking up to the root. Words are engine text (Windows-1252).
//
// Layout, integers little-endian, a short string being a length byte and
// that many bytes: a 165-byte header (not read), the name, five kind
// names, then four counted parts: N node records of 4 bytes, L bytes of
// links, M meaning records of 14 bytes, and I bytes of index.
// A node record holds the link position (bits 0-19), one child (20),
// parent reference (21), chain (22), end of word (23) and the letter
// (24-31). At its link position: the children (one bare index with the
// one-child flag, else a count byte and that many indices), the parent
// index (parent flag), and for word ends and chains a count byte and that
// many meaning references r (record r div 5, kind r mod 5). A meaning
// record holds the head's node index, the four list lengths and the byte
// offset of the lists in the index.
//
// Nothing read is trusted: the counts must fit in the rest of the file
// before anything is allocated, and every node index, link position,
// meaning record and list is checked where it is followed. Walks stop
// after as many steps as the file has nodes, so a damaged file with
// cycles cannot hang a look-up. A bad reference makes that look-up answer
// not found, or that listed word empty.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/StringList.h"
#include "rtl/Streams.h"
#include "spell/engine/lx3Types.h"

namespace spell {

class TThesaurusFile;

// One trie node as read for walking towards the root.
class TReverseNode {
 public:
  TReverseNode() = default;
  virtual ~TReverseNode() = default;

  // Reads the node record and, at its link position, the only child (or
  // skips the child list) and the parent. False when the index, the link
  // position, a referenced node or the links read lie outside the file;
  // the fields are then not to be used.
  virtual bool ReadNode(const TThesaurusFile& file, Integer index);

  bool EndOfWord = false;
  bool Chain = false;
  bool HasParent = false;
  bool OneChild = false;
  Byte Letter = 0;
  Cardinal LinkPosition = 0;
  Word OnlyChild = 0;  // with OneChild
  Word Parent = 0;     // with HasParent

 protected:
  // Links position after the parent; valid after a successful read.
  uint64_t afterParent_ = 0;
  uint64_t childListAt_ = 0;
};

// A node with its children and, for word ends and chains, its meanings.
class TForwardNode : public TReverseNode {
 public:
  bool ReadNode(const TThesaurusFile& file, Integer index) override;

  std::vector<Word> Children;
  std::vector<Word> Meanings;  // meaning references
};

// One meaning record as read.
class TEntry {
 public:
  // Reads record `record` and its four lists; False when the record is not
  // below the meaning count or its lists do not lie inside the index.
  bool ReadEntry(const TThesaurusFile& file, Integer record);

  Integer Kind = 0;  // 0 .. 4, set by the caller from the reference
  Word HeadIndex = 0;
  std::array<std::vector<Word>, 4> Lists;
};

// One meaning as text, for the component and its dialog.
class TThesaurusEntry {
 public:
  AnsiString ContextWord;
  Integer ContextKind = 0;
  AnsiString ContextKindName;
  std::array<rtl::TStringList, 4> Lists;  // one list a kind (1 .. 4)
};

class TThesaurusFile {
 public:
  // The header, not read back.
  static constexpr size_t HeaderSize = 165;

  TThesaurusFile();
  TThesaurusFile(const TThesaurusFile&) = delete;
  TThesaurusFile& operator=(const TThesaurusFile&) = delete;
  virtual ~TThesaurusFile();

  // Reads the whole file when it exists; a file that cannot be read whole
  // stays unloaded.
  virtual void Load();
  virtual void Unload();
  // The word spelled by the node; empty for the root, a bad index or a
  // walk that leaves the file or goes round.
  virtual AnsiString GetNodeWord(Integer index) const;
  // The node where the word ends; byte for byte, case-sensitive.
  virtual bool FindWord(std::string_view word, Integer& index) const;
  virtual void FillContext(const TEntry& entry, TThesaurusEntry& context) const;
  // Gives the context word and every listed word the case pattern of word:
  // all capitals, or a capital first letter.
  virtual void AdjustContextCase(std::string_view word, TThesaurusEntry& context) const;
  virtual void SetLoaded(bool value);
  // Takes the name only for an existing file; a loaded thesaurus then
  // holds the new file.
  virtual void SetFileName(const AnsiString& name);
  // Finds the word, or failing that its lower-case form, and fills the
  // contexts with its meanings (in the word's case pattern when the
  // lower-case form was found). False when the file cannot be loaded, the
  // word is not held or its meanings cannot be read.
  virtual bool Lookup(std::string_view word);

  bool Loaded() const { return loaded_; }
  const AnsiString& FileName() const { return fileName_; }
  Integer NodeCount() const { return nodeCount_; }
  Integer LinkSize() const { return linkSize_; }
  Word MeaningCount() const { return meaningCount_; }
  Integer IndexSize() const { return indexSize_; }
  // The thesaurus's name and the five kind names, as the file holds them.
  const AnsiString& Name() const { return name_; }
  const rtl::TStringList& KindNames() const { return kindNames_; }
  // The meanings of the last look-up, and the word looked up.
  const std::vector<std::unique_ptr<TThesaurusEntry>>& Contexts() const { return contexts_; }
  const AnsiString& LookedUpWord() const { return lookedUpWord_; }
  bool AllowCaseChanges() const { return allowCaseChanges_; }
  void SetAllowCaseChanges(bool value) { allowCaseChanges_ = value; }

  // Checked reads for the node and entry readers: False when the bytes lie
  // outside their part.
  bool ReadNodeValue(Integer index, uint32_t& value) const;
  bool ReadLinkByte(uint64_t position, Byte& value) const;
  bool ReadLinkWord(uint64_t position, Word& value) const;
  bool ReadMeaning(Integer record, const Byte*& bytes) const;
  bool ReadIndexWord(uint64_t position, Word& value) const;

 private:
  bool LoadFrom(rtl::TStream& stream);
  void ClearStreams();

  bool loaded_ = false;
  AnsiString fileName_;
  Integer nodeCount_ = 0;
  Integer linkSize_ = 0;
  Word meaningCount_ = 0;
  Integer indexSize_ = 0;
  rtl::TMemoryStream nodes_;
  rtl::TMemoryStream links_;
  rtl::TMemoryStream meanings_;
  rtl::TMemoryStream index_;
  AnsiString name_;
  rtl::TStringList kindNames_;
  std::vector<std::unique_ptr<TThesaurusEntry>> contexts_;
  AnsiString lookedUpWord_;
  bool allowCaseChanges_ = true;
};

}  // namespace spell
