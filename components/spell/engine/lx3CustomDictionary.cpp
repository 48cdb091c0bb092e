#include "spell/engine/lx3CustomDictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "spell/engine/lx3Util.h"

namespace spell {

namespace {

constexpr char kCustomBannerText[] =
    "Tolvane custom dictionary\r\n"
    "File format version 4.0\r\n"
    "Added words, excluded words, auto-correct\r\n"
    "Do not edit by hand.\r\n"
    "\r\n";
static_assert(sizeof(kCustomBannerText) == 120, "119 characters and a NUL");

constexpr size_t kHeaderEnd = TCustomDictionary::BannerSize + 1;  // after the 0x1A byte
constexpr Integer kPoolStep = 65535;
constexpr size_t kMaxRecordText = 500;

int32_t ReadInt(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return static_cast<int32_t>(v);
}

void WriteInt(std::string& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool IsKind(char c) { return c == dkIgnore || c == dkExclude || c == dkAutoCorrect; }

// The body of a file, checked: every count, size and slot is trusted only
// after this answers true.
struct BodyLayout {
  int32_t ignoreCount = 0, excludeCount = 0, autoCorrectCount = 0, wordCount = 0;
  int32_t tableSize = 0;
  size_t slotsAt = 0;
  int32_t poolLength = 0;
  size_t poolAt = 0;
};

bool CheckBody(const std::string& bytes, BodyLayout& layout) {
  layout = BodyLayout{};
  if (bytes.size() < kHeaderEnd) return false;
  if (bytes.size() == kHeaderEnd) return true;  // nothing after the banner: empty
  size_t pos = kHeaderEnd;
  if (bytes.size() - pos < 20) return false;
  layout.ignoreCount = ReadInt(bytes, pos);
  layout.excludeCount = ReadInt(bytes, pos + 4);
  layout.autoCorrectCount = ReadInt(bytes, pos + 8);
  layout.wordCount = ReadInt(bytes, pos + 12);
  layout.tableSize = ReadInt(bytes, pos + 16);
  pos += 20;
  const int32_t wc = layout.wordCount;
  if (layout.ignoreCount < 0 || layout.excludeCount < 0 || layout.autoCorrectCount < 0 || wc < 0)
    return false;
  if (layout.ignoreCount > wc || layout.excludeCount > wc || layout.autoCorrectCount > wc) return false;
  const int32_t n = layout.tableSize;
  if (n != 0 && !IsTableSize(n)) return false;
  if (n == 0 && wc != 0) return false;
  if (n > 0 && !(4 * static_cast<int64_t>(wc) < n)) return false;
  const uint64_t slotBytes = 4 * static_cast<uint64_t>(n);
  if (bytes.size() - pos < slotBytes + 4) return false;
  layout.slotsAt = pos;
  pos += slotBytes;
  layout.poolLength = ReadInt(bytes, pos);
  pos += 4;
  if (layout.poolLength < 0 || bytes.size() - pos < static_cast<uint64_t>(layout.poolLength)) return false;
  layout.poolAt = pos;
  const char* pool = bytes.data() + layout.poolAt;
  const size_t poolLength = static_cast<size_t>(layout.poolLength);
  int64_t live = 0;
  int64_t perKind[3] = {0, 0, 0};  // ignore, exclude, auto-correct
  for (int32_t i = 0; i < n; ++i) {
    const int32_t v = ReadInt(bytes, layout.slotsAt + 4 * static_cast<size_t>(i));
    if (v == 0 || v == -1) continue;
    if (v < 0) return false;
    ++live;
    const auto word = static_cast<size_t>(v);
    if (word >= poolLength) return false;  // the kind byte and one word byte at least
    if (!IsKind(pool[word - 1])) return false;
    ++perKind[pool[word - 1] == dkIgnore ? 0 : pool[word - 1] == dkExclude ? 1 : 2];
    const void* end = std::memchr(pool + word, 0, poolLength - word);
    if (!end) return false;
    if (pool[word - 1] == dkAutoCorrect) {
      const size_t repl = static_cast<size_t>(static_cast<const char*>(end) - pool) + 1;
      if (repl >= poolLength || !std::memchr(pool + repl, 0, poolLength - repl)) return false;
    }
    // The word's probe sequence reaches its slot without passing an empty
    // one, as every insertion leaves it; otherwise no search could find it.
    const std::string_view text(pool + word, static_cast<size_t>(static_cast<const char*>(end) - (pool + word)));
    int32_t index = WordHash(text, n);
    const int32_t step = ProbeStep(index);
    for (int32_t probes = 0; index != i; ++probes) {
      if (probes >= n || ReadInt(bytes, layout.slotsAt + 4 * static_cast<size_t>(index)) == 0) return false;
      index = (index + step) % n;
    }
  }
  // The header's counts are kept in step with the records by every change;
  // a file where they disagree would be saved back in a form no reader takes.
  return live == wc && perKind[0] == layout.ignoreCount && perKind[1] == layout.excludeCount &&
         perKind[2] == layout.autoCorrectCount;
}

bool ReadWholeFile(int fd, std::string& bytes) {
  bytes.clear();
  char buf[65536];
  for (;;) {
    ssize_t r = ::read(fd, buf, sizeof buf);
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) return true;
    bytes.append(buf, static_cast<size_t>(r));
  }
}

}  // namespace

const std::string_view TCustomDictionary::Banner(kCustomBannerText, sizeof(kCustomBannerText));

TCustomDictionary::TCustomDictionary() = default;

TCustomDictionary::~TCustomDictionary() {
  try {
    SetLoaded(false);
  } catch (...) {
    // A destructor cannot report; the file stays as it was.
  }
}

void TCustomDictionary::EnsureLoaded() {
  if (!loaded_) SetLoaded(true);
}

void TCustomDictionary::Empty() {
  ignoreCount_ = excludeCount_ = autoCorrectCount_ = 0;
  wordCount_ = 0;
  pool_.clear();
  pool_.shrink_to_fit();
  table_.clear();
  table_.shrink_to_fit();
  ignoreList_.clear();
  excludeList_.clear();
  autoCorrectList_.clear();
  kindListsValid_ = false;
  changes_.clear();
}

void TCustomDictionary::SetFilename(const AnsiString& name) {
  TDictionaryFile probe;
  if (!OpenAndCheck(name, false, probe)) return;
  const bool wasLoaded = loaded_;
  SetLoaded(false);
  if (loaded_) return;  // the old file's changes are still pending
  filename_ = name;
  tracking_ = !name.empty();
  SetLoaded(wasLoaded);
}

void TCustomDictionary::SetLoaded(bool value) {
  if (value == loaded_) return;
  if (value) {
    if (filename_.empty()) {
      loaded_ = true;
      return;
    }
    TDictionaryFile file;
    if (!OpenAndCheck(filename_, true, file)) {
      Empty();
      return;
    }
    if (!file.open) {
      // Missing but creatable: an empty dictionary, written at the next save.
      version_ = TFileVersion{};
      modified_ = true;
      loaded_ = true;
      return;
    }
    version_ = file.version;
    if (!ReadBody(file)) Empty();
    loaded_ = true;
    return;
  }
  if (modified_ && !Save()) return;
  modified_ = false;
  Empty();
  loaded_ = false;
}

Integer TCustomDictionary::GetIgnoreCount() {
  BuildKindLists();
  return static_cast<Integer>(ignoreList_.size());
}

Integer TCustomDictionary::GetExcludeCount() {
  BuildKindLists();
  return static_cast<Integer>(excludeList_.size());
}

Integer TCustomDictionary::GetAutoCorrectCount() {
  BuildKindLists();
  return static_cast<Integer>(autoCorrectList_.size());
}

bool TCustomDictionary::OpenAndCheck(const AnsiString& name, bool keepOpen, TDictionaryFile& file) {
  file = TDictionaryFile{};
  if (name.empty()) return true;
  const AnsiString native = NativeFileName(name);
  int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CanCreateFile(name, true);
  struct stat st {};
  std::string bytes;
  const bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadWholeFile(fd, bytes);
  ::close(fd);
  if (!read || bytes.size() < kHeaderEnd) return false;
  if (std::string_view(bytes).substr(0, BannerSize) != Banner) return false;
  BodyLayout layout;
  if (!CheckBody(bytes, layout)) return false;
  if (keepOpen) {
    file.open = true;
    file.bytes = std::move(bytes);
    file.version.exists = true;
    file.version.device = st.st_dev;
    file.version.inode = st.st_ino;
    file.version.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    file.version.size = st.st_size;
  }
  return true;
}

bool TCustomDictionary::ReadBody(const TDictionaryFile& file) {
  Empty();
  BodyLayout layout;
  if (!CheckBody(file.bytes, layout)) return false;
  ignoreCount_ = layout.ignoreCount;
  excludeCount_ = layout.excludeCount;
  autoCorrectCount_ = layout.autoCorrectCount;
  wordCount_ = layout.wordCount;
  table_.resize(static_cast<size_t>(layout.tableSize));
  for (size_t i = 0; i < table_.size(); ++i) table_[i] = ReadInt(file.bytes, layout.slotsAt + 4 * i);
  const auto p = static_cast<size_t>(layout.poolLength);
  pool_.reserve(p / kPoolStep * kPoolStep + kPoolStep);
  pool_.assign(file.bytes.begin() + static_cast<std::ptrdiff_t>(layout.poolAt),
               file.bytes.begin() + static_cast<std::ptrdiff_t>(layout.poolAt + p));
  return true;
}

std::string TCustomDictionary::Serialise() const {
  std::string out;
  out.reserve(kHeaderEnd + 24 + 4 * table_.size() + pool_.size());
  out.append(Banner);
  out += '\x1A';
  WriteInt(out, ignoreCount_);
  WriteInt(out, excludeCount_);
  WriteInt(out, autoCorrectCount_);
  WriteInt(out, wordCount_);
  WriteInt(out, static_cast<int32_t>(table_.size()));
  for (int32_t v : table_) WriteInt(out, v);
  WriteInt(out, static_cast<int32_t>(pool_.size()));
  out.append(pool_.data(), pool_.size());
  return out;
}

bool TCustomDictionary::WriteToFile(const AnsiString& name) {
  lastError_ = rtl::TryWriteFileAtomically(NativeFileName(name), Serialise());
  return lastError_ == 0;
}

std::unique_ptr<TCustomDictionary> TCustomDictionary::CreateInstance() const {
  return std::make_unique<TCustomDictionary>();
}

bool TCustomDictionary::Save() {
  if (!modified_) return true;
  bool written = true;
  TDictionaryFile file;
  if (!filename_.empty() && OpenAndCheck(filename_, true, file)) {
    const TFileVersion current = file.open ? file.version : version_;
    written = current == version_ ? WriteToFile(filename_) : MergeAndSave();
  }
  // Written, or nothing to write to (no file, or a file that is no longer a
  // dictionary, whose changes are dropped).
  if (!written) return false;
  modified_ = false;
  changes_.clear();
  return true;
}

bool TCustomDictionary::MergeAndSave() {
  std::unique_ptr<TCustomDictionary> merged = CreateInstance();
  merged->SetFilename(filename_);
  merged->SetLoaded(true);
  if (merged->Filename() != filename_ || !merged->Loaded()) return false;
  for (const Change& c : changes_) {
    if (c.add) {
      if (c.kind == dkIgnore) merged->AddIgnore(c.word);
      else if (c.kind == dkExclude) merged->AddExclude(c.word);
      else merged->AddAutoCorrect(c.word, c.replacement);
    } else {
      if (c.kind == dkIgnore) merged->RemoveIgnore(c.word);
      else if (c.kind == dkExclude) merged->RemoveExclude(c.word);
      else merged->RemoveAutoCorrect(c.word);
    }
  }
  const bool ok = merged->Save();
  // A failed merge is retried from this instance's own changes, never from
  // the temporary one's destructor.
  if (!ok) merged->SetModified(false);
  return ok;
}

bool TCustomDictionary::SaveToFile(const AnsiString& name) {
  EnsureLoaded();
  return WriteToFile(name);
}

void TCustomDictionary::AddToKindList(char kind, Integer slotValue) {
  switch (kind) {
    case dkIgnore: ignoreList_.push_back(slotValue); break;
    case dkExclude: excludeList_.push_back(slotValue); break;
    case dkAutoCorrect: autoCorrectList_.push_back(slotValue); break;
    default: break;
  }
}

void TCustomDictionary::BuildKindLists() {
  if (kindListsValid_) return;
  EnsureLoaded();
  ignoreList_.clear();
  excludeList_.clear();
  autoCorrectList_.clear();
  ignoreList_.reserve(static_cast<size_t>(ignoreCount_) + 256);
  excludeList_.reserve(static_cast<size_t>(excludeCount_) + 256);
  autoCorrectList_.reserve(static_cast<size_t>(autoCorrectCount_) + 256);
  for (int32_t v : table_)
    if (v > 0) AddToKindList(pool_[static_cast<size_t>(v) - 1], v);
  kindListsValid_ = true;
}

std::string TCustomDictionary::GetWordAt(Integer poolOffset) const {
  if (poolOffset < 0 || static_cast<size_t>(poolOffset) >= pool_.size()) return std::string();
  const char* start = pool_.data() + poolOffset;
  const void* end = std::memchr(start, 0, pool_.size() - static_cast<size_t>(poolOffset));
  return end ? std::string(start, static_cast<const char*>(end)) : std::string();
}

bool TCustomDictionary::FindRecord(char kind, std::string_view word, Integer& slotIndex,
                                   Integer& slotValue) {
  EnsureLoaded();
  slotIndex = 0;
  slotValue = 0;
  const auto size = static_cast<Integer>(table_.size());
  if (size == 0) return false;
  Integer index = WordHash(word, size);
  const Integer step = ProbeStep(index);
  Integer probes = 0;
  for (;;) {
    slotIndex = index;
    slotValue = table_[static_cast<size_t>(index)];
    if (slotValue == 0) return false;
    if (slotValue > 0) {
      const auto at = static_cast<size_t>(slotValue);
      if (at + word.size() < pool_.size() && std::memcmp(pool_.data() + at, word.data(), word.size()) == 0 &&
          pool_[at + word.size()] == 0) {
        return kind == dkAny || pool_[at - 1] == kind;
      }
    }
    index = (index + step) % size;
    if (probes > size) {
      // No empty slot on the way: drop the deleted slots.
      Rebuild();
      return false;
    }
    ++probes;
  }
}

void TCustomDictionary::Rebuild() {
  std::vector<int32_t> fresh(table_.size(), 0);
  for (int32_t v : table_)
    if (v > 0) InsertSlot(fresh, GetWordAt(v), v);
  table_.swap(fresh);
  kindListsValid_ = false;
}

void TCustomDictionary::AppendToPool(std::string_view bytes) {
  if (pool_.capacity() - pool_.size() <= bytes.size())
    pool_.reserve(pool_.capacity() + std::max<size_t>(kPoolStep, bytes.size() + 1));
  pool_.insert(pool_.end(), bytes.begin(), bytes.end());
}

void TCustomDictionary::InsertSlot(std::vector<int32_t>& table, std::string_view word, Integer slotValue) {
  const auto size = static_cast<Integer>(table.size());
  Integer index = WordHash(word, size);
  if (table[static_cast<size_t>(index)] > 0) {
    const Integer step = ProbeStep(index);
    Integer probes = 0;
    do {
      index = (index + step) % size;
      // Tables stay under a quarter full of live records, so an empty slot
      // is always reached; a full one is a broken invariant.
      RTL_ASSERT(++probes <= size);
    } while (table[static_cast<size_t>(index)] != 0);
  }
  table[static_cast<size_t>(index)] = slotValue;
}

void TCustomDictionary::AddToTable(std::string_view word, Integer slotValue) {
  auto size = static_cast<Integer>(table_.size());
  if (4 * static_cast<int64_t>(wordCount_) >= size) {
    const Integer grown = NextTableSize(size);
    if (grown > 0) {
      std::vector<int32_t> fresh(static_cast<size_t>(grown), 0);
      for (int32_t v : table_)
        if (v > 0) InsertSlot(fresh, GetWordAt(v), v);
      table_.swap(fresh);
      kindListsValid_ = false;
      size = grown;
    }
  }
  if (size >= 1) InsertSlot(table_, word, slotValue);
}

bool TCustomDictionary::AddRecord(char kind, std::string_view word, std::string_view replacement) {
  EnsureLoaded();
  // A file that cannot be read is never written: nothing is added to it.
  if (!loaded_) return false;
  if (word.size() + replacement.size() > kMaxRecordText) return false;
  // A NUL ends a record's word, so it cannot be part of one.
  if (word.find('\0') != std::string_view::npos) return false;
  std::string record;
  record += kind;
  record.append(word);
  record += '\0';
  if (kind == dkAutoCorrect) {
    if (replacement.find('\0') != std::string_view::npos) return false;
    record.append(replacement);
    record += '\0';
  }
  Integer index = 0, value = 0;
  if (word.empty() || FindRecord(dkAny, word, index, value)) return false;
  const auto slotValue = static_cast<Integer>(pool_.size() + 1);
  AppendToPool(record);
  ++wordCount_;
  AddToTable(word, slotValue);
  if (kindListsValid_) AddToKindList(kind, slotValue);
  return true;
}

bool TCustomDictionary::RemoveRecord(char kind, std::string_view word) {
  Integer index = 0, value = 0;
  if (!FindRecord(kind, word, index, value)) return false;
  kindListsValid_ = false;
  table_[static_cast<size_t>(index)] = -1;
  --wordCount_;
  return true;
}

bool TCustomDictionary::AddTracked(char kind, std::string_view word, std::string_view replacement,
                                   Integer& count) {
  if (!AddRecord(kind, word, replacement)) return false;
  if (tracking_) changes_.push_back({true, kind, std::string(word), std::string(replacement)});
  modified_ = true;
  ++count;
  return true;
}

bool TCustomDictionary::RemoveTracked(char kind, std::string_view word, Integer& count) {
  if (!RemoveRecord(kind, word)) return false;
  if (tracking_) changes_.push_back({false, kind, std::string(word), std::string()});
  modified_ = true;
  --count;
  return true;
}

std::string TCustomDictionary::GetIgnoreWord(Integer index) {
  BuildKindLists();
  if (index < 0 || static_cast<size_t>(index) >= ignoreList_.size()) return std::string();
  return GetWordAt(ignoreList_[static_cast<size_t>(index)]);
}

std::string TCustomDictionary::GetExcludeWord(Integer index) {
  BuildKindLists();
  if (index < 0 || static_cast<size_t>(index) >= excludeList_.size()) return std::string();
  return GetWordAt(excludeList_[static_cast<size_t>(index)]);
}

void TCustomDictionary::GetAutoCorrectPair(Integer index, std::string& word, std::string& replacement) {
  BuildKindLists();
  word.clear();
  replacement.clear();
  if (index < 0 || static_cast<size_t>(index) >= autoCorrectList_.size()) return;
  const Integer v = autoCorrectList_[static_cast<size_t>(index)];
  word = GetWordAt(v);
  replacement = GetWordAt(v + static_cast<Integer>(word.size()) + 1);
}

bool TCustomDictionary::IsIgnored(std::string_view word) {
  Integer i = 0, v = 0;
  return FindRecord(dkIgnore, word, i, v);
}

bool TCustomDictionary::IsExcluded(std::string_view word) {
  Integer i = 0, v = 0;
  return FindRecord(dkExclude, word, i, v);
}

bool TCustomDictionary::GetAutoCorrect(std::string_view word, std::string& replacement) {
  Integer i = 0, v = 0;
  if (!FindRecord(dkAutoCorrect, word, i, v)) return false;
  replacement = GetWordAt(v + static_cast<Integer>(word.size()) + 1);
  return true;
}

bool TCustomDictionary::AddIgnore(std::string_view word) { return AddTracked(dkIgnore, word, {}, ignoreCount_); }
bool TCustomDictionary::AddExclude(std::string_view word) {
  return AddTracked(dkExclude, word, {}, excludeCount_);
}
bool TCustomDictionary::AddAutoCorrect(std::string_view word, std::string_view replacement) {
  return AddTracked(dkAutoCorrect, word, replacement, autoCorrectCount_);
}
bool TCustomDictionary::RemoveIgnore(std::string_view word) { return RemoveTracked(dkIgnore, word, ignoreCount_); }
bool TCustomDictionary::RemoveExclude(std::string_view word) {
  return RemoveTracked(dkExclude, word, excludeCount_);
}
bool TCustomDictionary::RemoveAutoCorrect(std::string_view word) {
  return RemoveTracked(dkAutoCorrect, word, autoCorrectCount_);
}

void TCustomDictionary::Clear() {
  EnsureLoaded();
  Empty();
}

void TCustomDictionary::Check() const {
  Integer live = 0;
  const auto size = static_cast<Integer>(table_.size());
  for (Integer i = 0; i < size; ++i) {
    const int32_t v = table_[static_cast<size_t>(i)];
    RTL_ASSERT(v >= -1);
    if (v <= 0) continue;
    ++live;
    RTL_ASSERT(static_cast<size_t>(v) < pool_.size());
    RTL_ASSERT(IsKind(pool_[static_cast<size_t>(v) - 1]));
    const std::string word = GetWordAt(v);
    RTL_ASSERT(!word.empty());
    // The probe sequence from the word's hash reaches its slot without
    // passing an empty slot.
    Integer index = WordHash(word, size);
    const Integer step = ProbeStep(index);
    Integer probes = 0;
    while (index != i) {
      RTL_ASSERT(table_[static_cast<size_t>(index)] != 0);
      index = (index + step) % size;
      RTL_ASSERT(++probes <= size);
    }
  }
  RTL_ASSERT(live == wordCount_);
  RTL_ASSERT(size == 0 || 4 * static_cast<int64_t>(wordCount_) < size);
}

}  // namespace spell
