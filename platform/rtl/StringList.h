#pragma once
// Lists of text lines: TStrings, the interface every line-holding class
// offers (combo items, memo lines, INI section dumps), and TStringList, the
// plain in-memory one with sorting, names and values, and file I/O.
//
// Each line may carry an associated object pointer. The list never owns it
// unless OwnsObjects is set, in which case the caller registers how to free
// it (SetObjectDeleter); integers are stored as objects through IntToObject /
// ObjectToInt, as tag codes and line numbers are.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

class TStream;

// Stores a plain integer in an object slot and reads it back.
inline void* IntToObject(intptr_t value) { return reinterpret_cast<void*>(value); }
inline intptr_t ObjectToInt(const void* object) { return reinterpret_cast<intptr_t>(object); }

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

class TStrings {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  virtual ~TStrings() = default;

  // --- the primitives a descendant supplies ---
  virtual Integer Count() const = 0;
  // The line at index; raises EStringListError "List index out of bounds (%d)".
  virtual AnsiString Get(Integer index) const = 0;
  virtual void Put(Integer index, const AnsiString& s) = 0;
  virtual void* GetObject(Integer index) const = 0;
  virtual void PutObject(Integer index, void* object) = 0;
  virtual void Insert(Integer index, const AnsiString& s) = 0;
  virtual void Delete(Integer index) = 0;
  virtual void Clear() = 0;

  // --- built on the primitives ---
  // Appends (or, in a sorted list, inserts in order); answers the index.
  virtual Integer Add(const AnsiString& s);
  virtual Integer AddObject(const AnsiString& s, void* object);
  void InsertObject(Integer index, const AnsiString& s, void* object);
  // Appends every line (and object) of source.
  virtual void AddStrings(const TStrings& source);
  // Replaces the contents with a copy of source's lines and objects.
  virtual void Assign(const TStrings& source);
  virtual void Exchange(Integer index1, Integer index2);
  // Moves the line at curIndex so that it ends up at newIndex.
  virtual void Move(Integer curIndex, Integer newIndex);
  AnsiString operator[](Integer index) const { return Get(index); }
  AnsiString Strings(Integer index) const { return Get(index); }
  void* Objects(Integer index) const { return GetObject(index); }

  // First line equal to s under the list's comparison; -1 when none.
  virtual Integer IndexOf(const AnsiString& s) const;
  // First line whose name (text before the first "=") equals name; -1 when none.
  virtual Integer IndexOfName(const AnsiString& name) const;
  // First line whose object is object; -1 when none.
  Integer IndexOfObject(const void* object) const;
  bool Equals(const TStrings& other) const;

  // Text before the first "=" of line index; empty when the line has none.
  AnsiString Names(Integer index) const;
  // Text after the first "=" of the first line named name; empty when none.
  AnsiString Values(const AnsiString& name) const;
  // Sets the value of the first line named name, appending "name=value"
  // when there is none; an empty value deletes the line.
  void SetValue(const AnsiString& name, const AnsiString& value);
  // Text after the first "=" of line index; empty when the line has none.
  AnsiString ValueFromIndex(Integer index) const;
  void SetValueFromIndex(Integer index, const AnsiString& value);
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

  // Every line followed by CR LF.
  virtual AnsiString Text() const;
  // Splits on CR LF, LF or a lone CR; a last line without a line end counts
  // when it is not empty.
  virtual void SetText(const AnsiString& text);
  // Lines joined by the delimiter; a line holding a blank, the delimiter, a
  // quote char or control characters is written quoted with the quote char
  // doubled inside. An empty line is written as "" (a single empty line list
  // gives "\"\"").
  AnsiString DelimitedText() const;
  // Splits at the delimiter and, outside quotes, at blanks/control chars
  // (when StrictDelimiter is off); quoted items lose their quotes and the
  // doubled quote chars inside them.
  void SetDelimitedText(const AnsiString& text);
  // DelimitedText with "," and '"' whatever the list's delimiter settings.
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  bool StrictDelimiter() const { return strictDelimiter_; }
  void SetStrictDelimiter(bool v) { strictDelimiter_ = v; }

  // 8-bit text; stored bytes that are not valid UTF-8 are read as
  // Windows-1252. Raises EFOpenError when the file cannot be opened.
  virtual void LoadFromFile(const AnsiString& fileName);
  virtual void LoadFromStream(TStream& stream);
  // Writes Text() (CR LF line ends) replacing the file atomically; raises
  // EFCreateError naming the file when it cannot be written.
  virtual void SaveToFile(const AnsiString& fileName) const;
  virtual void SaveToStream(TStream& stream) const;

  // Nested update brackets: OnChange fires once when the outermost ends.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

  std::function<void(TStrings* sender)> OnChanging;
  std::function<void(TStrings* sender)> OnChange;

 protected:
  // Compares two lines the way IndexOf and Find do (ASCII case-insensitive
  // unless a descendant says otherwise).
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
  // Called when the outermost update bracket opens or closes.
  virtual void SetUpdateState(bool updating) {}
  // Raises EStringListError "List index out of bounds (%d)".
  [[noreturn]] static void IndexError(Integer index);

 private:
  AnsiString DelimitedWith(char delimiter, char quote, bool strict) const;
  void SetDelimitedWith(const AnsiString& text, char delimiter, char quote, bool strict);

  Integer updateCount_ = 0;
  char delimiter_ = ',';
  char quoteChar_ = '"';
  char nameValueSeparator_ = '=';
  bool strictDelimiter_ = false;
};

// A list of lines in memory.
class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
  ~TStringList() override;

  Integer Count() const override { return static_cast<Integer>(items_.size()); }
  AnsiString Get(Integer index) const override;
  // Raises EStringListError "Operation not allowed on sorted list" when sorted.
  void Put(Integer index, const AnsiString& s) override;
  void* GetObject(Integer index) const override;
  // With OwnsObjects, a replaced object is freed.
  void PutObject(Integer index, void* object) override;
  // Raises EStringListError "Operation not allowed on sorted list" when sorted.
  void Insert(Integer index, const AnsiString& s) override;
  void Delete(Integer index) override;
  void Clear() override;
  // In a sorted list the line goes to its place; Duplicates decides about
  // an equal line already present (dupError raises EStringListError
  // "String list does not allow duplicates").
  Integer Add(const AnsiString& s) override;
  Integer AddObject(const AnsiString& s, void* object) override;
  void Exchange(Integer index1, Integer index2) override;
  // Moves the line with its object (an owned object stays alive).
  void Move(Integer curIndex, Integer newIndex) override;
  // In a sorted list: binary search through Find; else a linear scan.
  Integer IndexOf(const AnsiString& s) const override;

  // Binary search of a sorted list: true when s is present, index then the
  // first equal line; otherwise index is where s would be inserted.
  // On an unsorted list the result is unspecified (as the caller was warned).
  bool Find(const AnsiString& s, Integer& index) const;
  // Sorts by CompareStrings (stable: equal lines keep their order).
  virtual void Sort();
  // Sorts by compare(list, i, j) < 0 meaning line i before line j.
  virtual void CustomSort(const std::function<int(TStringList& list, Integer i, Integer j)>& compare);

  bool Sorted() const { return sorted_; }
  // Switching on sorts the list at once.
  void SetSorted(bool v);
  bool CaseSensitive() const { return caseSensitive_; }
  // Changing the case rule re-sorts a sorted list.
  void SetCaseSensitive(bool v);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool v) { ownsObjects_ = v; }
  // How an owned object is freed (needed only with OwnsObjects).
  void SetObjectDeleter(std::function<void(void*)> deleter) { deleter_ = std::move(deleter); }

 protected:
  int CompareStrings(const AnsiString& a, const AnsiString& b) const override;
  void SetUpdateState(bool updating) override;
  // Inserts without the sorted-list check; index already validated.
  void InsertItem(Integer index, const AnsiString& s, void* object);
  void Changing();
  void Changed();
  // The line and the object at index without a copy; index already
  // validated (for descendants that read many lines, such as editors).
  const AnsiString& ItemText(Integer index) const { return items_[static_cast<size_t>(index)].text; }
  void* ItemObject(Integer index) const { return items_[static_cast<size_t>(index)].object; }
  // Replaces the line at index without events or checks; index already
  // validated.
  void SetItemText(Integer index, AnsiString s) { items_[static_cast<size_t>(index)].text = std::move(s); }
  void SetItemObject(Integer index, void* object) { items_[static_cast<size_t>(index)].object = object; }

 private:
  struct Item {
    AnsiString text;
    void* object = nullptr;
  };
  void FreeObject(void* object);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
  TDuplicates duplicates_ = dupIgnore;
  std::function<void(void*)> deleter_;
};

}  // namespace rtl
