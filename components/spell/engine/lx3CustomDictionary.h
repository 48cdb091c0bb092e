#pragma once
// The user's own word list: added words (accepted), excluded words (always
// wrong) and auto-correct pairs, held as an open-addressing hash table of
// slot values over a byte pool of records, and stored in one file that
// several programs may share. Words are engine text (Windows-1252),
// compared byte for byte.
//
// Sharing: the version of the file that was read is remembered (device,
// inode, modification time in nanoseconds, size). A save writes the whole
// file when that version is still on disk; otherwise it reloads the file
// and replays this instance's changes on it, in the order they were made.
// Every write replaces the file atomically, so a failed one leaves the old
// file whole and the changes pending.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/engine/lx3Types.h"

namespace spell {

// Record kinds.
inline constexpr char dkIgnore = 'I';
inline constexpr char dkExclude = 'E';
inline constexpr char dkAutoCorrect = 'A';
inline constexpr char dkAny = '*';  // search key only

// Which version of a file was read.
struct TFileVersion {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t modifiedNs = 0;
  int64_t size = 0;
  bool operator==(const TFileVersion&) const = default;
};

// A dictionary file as OpenAndCheck read it: its bytes and version. A file
// that does not exist (but could be created) has open == false.
struct TDictionaryFile {
  bool open = false;
  std::string bytes;
  TFileVersion version;
};

class TCustomDictionary {
 public:
  // The file's first 120 bytes: 119 characters and a NUL.
  static const std::string_view Banner;
  static constexpr size_t BannerSize = 120;

  TCustomDictionary();
  TCustomDictionary(const TCustomDictionary&) = delete;
  TCustomDictionary& operator=(const TCustomDictionary&) = delete;
  virtual ~TCustomDictionary();

  const AnsiString& Filename() const { return filename_; }
  // Takes a new file when it opens as a dictionary (or can be created);
  // first saves and releases the old one. An unusable name, or an old file
  // whose changes could not be written, leaves everything as it was.
  virtual void SetFilename(const AnsiString& name);
  bool Loaded() const { return loaded_; }
  // True loads; False saves pending changes and empties. When the save
  // fails the dictionary stays loaded and modified, so a later release (or
  // the destructor) tries again.
  virtual void SetLoaded(bool value);
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  virtual Integer GetIgnoreCount();
  virtual Integer GetExcludeCount();
  virtual Integer GetAutoCorrectCount();
  Integer WordCount() const { return wordCount_; }
  Integer TableSize() const { return static_cast<Integer>(table_.size()); }
  Integer PoolLength() const { return static_cast<Integer>(pool_.size()); }

  // Reads and checks the file. False for a file that exists but is not a
  // sound dictionary (or cannot be read), and for a missing file that
  // cannot be created. With keepOpen the bytes come back in file.
  virtual bool OpenAndCheck(const AnsiString& name, bool keepOpen, TDictionaryFile& file);
  // Loads the body (everything after the 0x1A byte) of a checked file.
  // False, leaving the dictionary empty, when it does not hold together.
  virtual bool ReadBody(const TDictionaryFile& file);
  // Writes the whole dictionary to name, replacing it atomically. False on
  // failure (LastError() tells why); the old file stays whole.
  virtual bool WriteToFile(const AnsiString& name);
  Integer LastError() const { return lastError_; }

  virtual std::unique_ptr<TCustomDictionary> CreateInstance() const;

  // Saves pending changes (merging with another writer's). True when
  // nothing is left to save; False when the file could not be written (the
  // changes stay pending). A file that has become unusable (not a
  // dictionary) gets nothing, and the changes are dropped.
  virtual bool Save();
  // Writes the whole dictionary to another file; name, modified flag and
  // pending changes stay as they are.
  virtual bool SaveToFile(const AnsiString& name);

  virtual std::string GetIgnoreWord(Integer index);
  virtual std::string GetExcludeWord(Integer index);
  virtual void GetAutoCorrectPair(Integer index, std::string& word, std::string& replacement);
  virtual bool IsIgnored(std::string_view word);
  virtual bool IsExcluded(std::string_view word);
  virtual bool GetAutoCorrect(std::string_view word, std::string& replacement);
  virtual bool AddIgnore(std::string_view word);
  virtual bool AddExclude(std::string_view word);
  virtual bool AddAutoCorrect(std::string_view word, std::string_view replacement);
  virtual bool RemoveIgnore(std::string_view word);
  virtual bool RemoveExclude(std::string_view word);
  virtual bool RemoveAutoCorrect(std::string_view word);
  // Empties words, table, pool and pending changes; the modified flag stays.
  virtual void Clear();

  // The raw search: found with the record's kind (dkAny matches any kind);
  // the slot index and value where the search ended.
  virtual bool FindRecord(char kind, std::string_view word, Integer& slotIndex, Integer& slotValue);
  // Slot value (pool offset of the word + 0) of table slot i; for tests.
  Integer SlotAt(Integer i) const { return table_.at(static_cast<size_t>(i)); }
  // Throws rtl::EAssertionFailed when the table, pool and counts disagree.
  void Check() const;

 protected:
  virtual void AddToKindList(char kind, Integer slotValue);
  virtual void BuildKindLists();
  std::string GetWordAt(Integer poolOffset) const;
  virtual void AppendToPool(std::string_view bytes);
  virtual void InsertSlot(std::vector<int32_t>& table, std::string_view word, Integer slotValue);
  virtual void AddToTable(std::string_view word, Integer slotValue);
  virtual bool AddRecord(char kind, std::string_view word, std::string_view replacement);
  virtual bool RemoveRecord(char kind, std::string_view word);

 private:
  struct Change {
    bool add;
    char kind;
    std::string word;
    std::string replacement;
  };

  void EnsureLoaded();
  void Empty();
  void Rebuild();
  bool AddTracked(char kind, std::string_view word, std::string_view replacement, Integer& count);
  bool RemoveTracked(char kind, std::string_view word, Integer& count);
  std::string Serialise() const;
  bool MergeAndSave();

  AnsiString filename_;
  bool loaded_ = false;
  bool modified_ = false;
  Integer ignoreCount_ = 0;
  Integer excludeCount_ = 0;
  Integer autoCorrectCount_ = 0;
  TFileVersion version_;
  Integer wordCount_ = 0;
  std::vector<char> pool_;
  std::vector<int32_t> table_;
  bool kindListsValid_ = false;
  std::vector<Integer> ignoreList_, excludeList_, autoCorrectList_;
  bool tracking_ = false;
  std::vector<Change> changes_;  // since the last load or save, in order
  Integer lastError_ = 0;
};

}  // namespace spell
