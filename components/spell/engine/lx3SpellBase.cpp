#include "spell/engine/lx3SpellBase.h"

#include <algorithm>
#include <fstream>

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Registry.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3Ignore.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3PhoneticsMap.h"
#include "spell/engine/lx3Suggestions.h"
#include "spell/engine/lx3Text.h"

namespace spell {

namespace {
// Only the primary language (the low 10 bits) says whether a dictionary is
// English or French.
constexpr Integer PrimaryLanguageOf(Cardinal lcid) { return static_cast<Integer>(lcid & 0x3FF); }
}  // namespace

TLexaSpell3Base::TLexaSpell3Base()
    : internal_(std::make_unique<TCustomDictionary>()),
      generator_(std::make_unique<TSuggestionsGenerator>()),
      phonetics_(std::make_unique<TPhoneticsMap>()),
      engine_(std::make_unique<TMainParsingEngine>()),
      config_(std::make_unique<TLexaConfig>(this)) {
  configDictionaryDir_.Add("%AppDir%");
  configDefaultMain_.Add("American.adm");
  // The tokenizing filters take part in reading words.
  engine_->OnCharacter = [this](char c, TControlParser* parser, bool& ignored) {
    for (TParserIgnore* f : tokenizingFilters_)
      if (f->IgnoreChar(c, parser)) {
        ignored = true;
        return;
      }
  };
  engine_->OnWord = [this](const std::string& word, TControlParser* parser, bool& ignored) {
    for (TParserIgnore* f : tokenizingFilters_)
      if (f->IgnoreParsedWord(word, parser)) {
        ignored = true;
        return;
      }
  };
}

TLexaSpell3Base::~TLexaSpell3Base() {
  Lock lock(mutex_);
  // The configuration saves itself; the dictionaries save their changes.
  config_.reset();
}

void TLexaSpell3Base::SetConfigStorage(TConfigStorage v) {
  Lock lock(mutex_);
  if (v == configStorage_) return;
  configStorage_ = v;
  config_->Reload();
}

void TLexaSpell3Base::SetConfigID(const AnsiString& v) {
  Lock lock(mutex_);
  if (v == configID_) return;
  configID_ = v;
  config_->Reload();
}

void TLexaSpell3Base::SetConfigFilename(const AnsiString& v) {
  Lock lock(mutex_);
  if (v == configFilename_) return;
  configFilename_ = v;
  if (configStorage_ == csFile) config_->Reload();
}

void TLexaSpell3Base::SetConfigRegistryKey(const AnsiString& v) {
  Lock lock(mutex_);
  if (v == configRegistryKey_) return;
  configRegistryKey_ = v;
  if (configStorage_ == csRegistry) config_->Reload();
}

void TLexaSpell3Base::SetQuoteChars(const AnsiString& v) {
  Lock lock(mutex_);
  quoteChars_ = v;
  ApplyOptions(true);
}

// ---- owned parts and pass-through settings ----

Integer TLexaSpell3Base::PhoneticMaxDistance() const { Lock lock(mutex_); return phonetics_->MaxDistance(); }
void TLexaSpell3Base::SetPhoneticMaxDistance(Integer v) { Lock lock(mutex_); phonetics_->SetMaxDistance(v); }
Integer TLexaSpell3Base::PhoneticDivisor() const { Lock lock(mutex_); return phonetics_->Divisor(); }
void TLexaSpell3Base::SetPhoneticDivisor(Integer v) { Lock lock(mutex_); phonetics_->SetDivisor(v); }
Integer TLexaSpell3Base::PhoneticDepth() const { Lock lock(mutex_); return phonetics_->StartDepth(); }
void TLexaSpell3Base::SetPhoneticDepth(Integer v) { Lock lock(mutex_); phonetics_->SetStartDepth(v); }

void TLexaSpell3Base::SetParsingEngine(std::unique_ptr<TParsingEngine> engine) {
  Lock lock(mutex_);
  if (!engine) return;
  engine->OnCharacter = engine_->OnCharacter;
  engine->OnWord = engine_->OnWord;
  engine_ = std::move(engine);
  ApplyOptions(true);
}

void TLexaSpell3Base::SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> generator) {
  Lock lock(mutex_);
  if (generator) generator_ = std::move(generator);
}

void TLexaSpell3Base::SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> map) {
  Lock lock(mutex_);
  if (map) phonetics_ = std::move(map);
}

void TLexaSpell3Base::SetKeepDictionariesActive(bool v) {
  Lock lock(mutex_);
  KeepDictionariesActive = v;
  if (!v) ReleaseDictionaries();
}

void TLexaSpell3Base::SetMappingDictionaryName(const AnsiString& v) {
  Lock lock(mutex_);
  if (v == MappingDictionaryName) return;
  MappingDictionaryName = v;
  mapping_.reset();
  if (!mains_.empty()) LoadDictionaries();
}

void TLexaSpell3Base::SetSuggestionsLearning(bool v) {
  Lock lock(mutex_);
  if (v == SuggestionsLearning) return;
  SuggestionsLearning = v;
  learning_.reset();
  if (v && config_->Loaded()) learning_ = OpenCustomDictionary(SuggestionsLearningDict);
}

void TLexaSpell3Base::SetSuggestionsLearningDict(const AnsiString& v) {
  Lock lock(mutex_);
  if (v == SuggestionsLearningDict) return;
  SuggestionsLearningDict = v;
  learning_.reset();
  if (SuggestionsLearning && config_->Loaded()) learning_ = OpenCustomDictionary(v);
}

// ---- paths and texts ----

AnsiString TLexaSpell3Base::ExpandPath(const AnsiString& path) { return ExpandConfigID(ExpandPathMacros(path)); }

AnsiString TLexaSpell3Base::ExpandConfigID(const AnsiString& path) {
  return ReplaceFirst("%ConfigID%", ExpandPathMacros(configID_), path);
}

AnsiString TLexaSpell3Base::GetString(int id) {
  Lock lock(mutex_);
  AnsiString text = GetSpellLanguageString(id, UILanguage);
  if (OnGetString) OnGetString(this, id, text);
  return text;
}

Integer TLexaSpell3Base::GetPrimaryLanguage() {
  Lock lock(mutex_);
  return mains_.empty() ? 0 : static_cast<Integer>(mains_.front()->Language());
}

// ---- configuration host ----

void TLexaSpell3Base::DoConfigReadString(const AnsiString& configID, const AnsiString& key, const AnsiString& def,
                                         AnsiString& value) {
  if (OnConfigReadString) OnConfigReadString(this, configID, key, def, value);
}

void TLexaSpell3Base::DoConfigWriteString(const AnsiString& configID, const AnsiString& key,
                                          const AnsiString& value) {
  if (OnConfigWriteString) OnConfigWriteString(this, configID, key, value);
}

void TLexaSpell3Base::DoConfigLoaded() {
  if (OnConfigLoaded) OnConfigLoaded(this);
}

void TLexaSpell3Base::DoConfigSaved() {
  if (OnConfigSaved) OnConfigSaved(this);
}

const rtl::TStrings& TLexaSpell3Base::GetMSWordCustomDictionaries() {
  Lock lock(mutex_);
  if (msWordCache_.Count() > 0) return msWordCache_;
  for (rtl::HKEY root : {rtl::HKEY_CURRENT_USER, rtl::HKEY_LOCAL_MACHINE}) {
    rtl::TRegistry reg(root);
    if (!reg.OpenKeyReadOnly("Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries")) continue;
    for (Integer i = 1;; ++i) {
      const AnsiString name = rtl::IntToStr(i);
      if (!reg.ValueExists(name)) break;
      AnsiString path;
      try {
        path = reg.ReadString(name);
      } catch (const rtl::Exception&) {
        break;
      }
      if (path.empty()) break;
      if (!IsPathName(path)) path = GetSpecialFolder(CSIDL_APPDATA) + "\\Microsoft\\Proof\\" + path;
      if (rtl::FileExists(NativeFileName(path))) msWordCache_.Add(path);
    }
  }
  return msWordCache_;
}

void TLexaSpell3Base::RebuildFolders() {
  folders_.Clear();
  folders_.AddStrings(configDictionaryDir_);
  if (config_->Loaded()) folders_.AddStrings(config_->GetNewPaths());
  msWordCache_.Clear();
  mainCache_.Clear();
  customCache_.Clear();
}

void TLexaSpell3Base::DictionaryDirChanged() { ConfigurationChanged(true); }

void TLexaSpell3Base::FindDictionaryFiles(const AnsiString& extension, rtl::TStrings& list) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  for (Integer i = 0; i < folders_.Count(); ++i) {
    const AnsiString folder = NativeFileName(ExpandPath(folders_[i]));
    rtl::TSearchRec f;
    if (rtl::FindFirst(rtl::IncludeTrailingPathDelimiter(folder) + "*." + extension, rtl::faAnyFile & ~rtl::faDirectory,
                       f) == 0) {
      do list.Add(f.Name);
      while (rtl::FindNext(f) == 0);
      rtl::FindClose(f);
    }
  }
  for (Integer i = 0; i < list.Count(); ++i)
    for (Integer j = list.Count() - 1; j > i; --j)
      if (list[j] == list[i]) list.Delete(j);
}

const rtl::TStringList& TLexaSpell3Base::GetAvailableMainDictionaries() {
  Lock lock(mutex_);
  if (mainCache_.Count() == 0) FindDictionaryFiles("adm", mainCache_);
  return mainCache_;
}

const rtl::TStringList& TLexaSpell3Base::GetAvailableCustomDictionaries() {
  Lock lock(mutex_);
  if (customCache_.Count() == 0) {
    FindDictionaryFiles("adu", customCache_);
    const AnsiString active = config_->GetActiveCustom();
    if (!active.empty() && customCache_.IndexOf(active) < 0) customCache_.Insert(0, active);
  }
  return customCache_;
}

void TLexaSpell3Base::SetCustomDictionaryInUse(const AnsiString& name, bool inUse) {
  Lock lock(mutex_);
  rtl::TStringList& list = config_->GetCustomDictionaries();
  const Integer at = list.IndexOf(name);
  if (at >= 0 && !inUse) {
    const bool wasActive = config_->GetActiveCustom() == name;
    list.Delete(at);
    if (wasActive) config_->SetActiveCustom(list.Count() > 0 ? list[0] : AnsiString());
  } else if (at < 0 && inUse) {
    if (OpenCustomDictionary(name)) list.Add(name);
  }
}

void TLexaSpell3Base::SetMSWordDictionaryInUse(const AnsiString& path, bool inUse) {
  Lock lock(mutex_);
  rtl::TStringList& list = config_->GetMSWordCustomDictionaries();
  const Integer at = list.IndexOf(path);
  if (at >= 0 && !inUse)
    list.Delete(at);
  else if (at < 0 && inUse && rtl::FileExists(NativeFileName(ExpandPath(path))))
    list.Add(path);
}

void TLexaSpell3Base::DeleteCustomDictionary(const AnsiString& name) {
  Lock lock(mutex_);
  SetCustomDictionaryInUse(name, false);
  customCache_.Clear();
  if (auto d = OpenCustomDictionary(name)) {
    const AnsiString file = NativeFileName(d->Filename());
    d->SetModified(false);
    d.reset();
    if (rtl::FileExists(file)) rtl::DeleteFile(file);
  }
}

void TLexaSpell3Base::NewCustomDictionary(const AnsiString& name) {
  Lock lock(mutex_);
  AnsiString file = name;
  const size_t slash = file.find_last_of("\\/");
  if (slash != AnsiString::npos) file = file.substr(slash + 1);
  file = rtl::ChangeFileExt(file, ".adu");
  if (auto d = OpenCustomDictionary(file)) {
    d->SetLoaded(true);
    d->SetModified(true);
    d->Save();
  }
  if (config_->GetCustomDictionaries().IndexOf(file) < 0) config_->GetCustomDictionaries().Add(file);
  customCache_.Clear();
}

bool TLexaSpell3Base::RenameCustomDictionary(const AnsiString& oldName, const AnsiString& newName) {
  Lock lock(mutex_);
  if (oldName == newName || GetAvailableCustomDictionaries().IndexOf(oldName) < 0) return false;
  auto old = OpenCustomDictionary(oldName);
  if (!old) return false;
  const AnsiString oldPath = old->Filename();
  const size_t slash = oldPath.find_last_of("\\/");
  const AnsiString folder = slash == AnsiString::npos ? AnsiString() : oldPath.substr(0, slash + 1);
  const AnsiString newFile = rtl::ChangeFileExt(newName, ".adu");
  const AnsiString newPath = folder + newFile;
  if (rtl::FileExists(NativeFileName(newPath)) || !CanCreateFile(newPath, true)) return false;
  old->SetLoaded(true);
  old->SetModified(true);
  if (!old->Save()) return false;
  old.reset();
  if (!rtl::RenameFile(NativeFileName(oldPath), NativeFileName(newPath))) return false;
  const bool wasActive = config_->GetActiveCustom() == oldName;
  rtl::TStringList& list = config_->GetCustomDictionaries();
  const Integer at = list.IndexOf(oldName);
  if (at >= 0) list.Delete(at);
  list.Add(newFile);
  if (wasActive) config_->SetActiveCustom(newFile);
  customCache_.Clear();
  return true;
}

void TLexaSpell3Base::ConfigurationChanged(bool reload) {
  Lock lock(mutex_);
  RebuildFolders();
  if (reload) {
    const AnsiString activeFile = activeCustom_ ? activeCustom_->Filename() : AnsiString();
    LoadDictionaries();
    // Undo records name the active dictionary's words.
    if (!activeCustom_ || activeCustom_->Filename() != activeFile) undo_.clear();
  }
  ApplyOptions(false);
  if (OnConfigChanged) OnConfigChanged(this);
  ConfigChangedListeners.NotifyListeners(this);
}

// ---- dictionary sets ----

AnsiString TLexaSpell3Base::JoinFolder(const AnsiString& folder, const AnsiString& name) {
  AnsiString f = folder;
  if (!f.empty() && (f.back() == '\\' || f.back() == '/')) f.pop_back();
  return ExpandPath(f + "\\" + name);
}

std::unique_ptr<TMainDictionary> TLexaSpell3Base::OpenMainDictionary(const AnsiString& name) {
  auto d = std::make_unique<TMainDictionary>();
  if (IsPathName(name)) {
    const AnsiString path = ExpandPath(name);
    d->Open(path);
    return d->FileName() == path ? std::move(d) : nullptr;
  }
  for (Integer i = 0; i < folders_.Count(); ++i) {
    const AnsiString path = JoinFolder(folders_[i], name);
    d->Open(path);
    if (d->FileName() == path) return d;
  }
  return nullptr;
}

std::unique_ptr<TCustomDictionary> TLexaSpell3Base::OpenCustomDictionary(const AnsiString& name) {
  TCustomDictionary* supplied = nullptr;
  if (OnCreateCustomDictionary) OnCreateCustomDictionary(this, supplied);
  std::unique_ptr<TCustomDictionary> d(supplied ? supplied : new TCustomDictionary());
  AnsiString path;
  if (IsPathName(name)) {
    path = ExpandPath(name);
    ForceFolder(rtl::ExtractFileDir(NativeFileName(path)));
  } else {
    for (Integer i = 0; i < folders_.Count() && path.empty(); ++i) {
      ForceFolder(ExpandPath(folders_[i]));
      const AnsiString candidate = JoinFolder(folders_[i], name);
      if (rtl::FileExists(NativeFileName(candidate))) path = candidate;
    }
    if (path.empty() && folders_.Count() > 0) path = JoinFolder(folders_[0], name);
  }
  if (path.empty()) return nullptr;
  // Open copies of the same file write their changes first, so this one
  // reads the current contents.
  for (auto& c : customs_)
    if (c->Filename() == path) c->Save();
  if (activeCustom_ && activeCustom_->Filename() == path) activeCustom_->Save();
  d->SetFilename(path);
  return d->Filename() == path ? std::move(d) : nullptr;
}

void TLexaSpell3Base::LoadDictionaries() {
  Lock lock(mutex_);
  englishPresent_ = false;
  primaryCountdown_ = 100;
  mains_.clear();
  rtl::TStringList& mainNames = config_->GetMainDictionaries();
  for (Integer i = 0; i < mainNames.Count(); ++i)
    if (auto d = OpenMainDictionary(mainNames[i])) {
      if (PrimaryLanguageOf(d->Language()) == 9) englishPresent_ = true;
      mains_.push_back(std::move(d));
    }
  customs_.clear();
  const AnsiString active = config_->GetActiveCustom();
  rtl::TStringList& customNames = config_->GetCustomDictionaries();
  for (Integer i = 0; i < customNames.Count(); ++i)
    if (customNames[i] != active)
      if (auto d = OpenCustomDictionary(customNames[i])) customs_.push_back(std::move(d));
  words_.clear();
  rtl::TStringList& wordPaths = config_->GetMSWordCustomDictionaries();
  for (Integer i = 0; i < wordPaths.Count(); ++i) {
    const AnsiString path = NativeFileName(ExpandPath(wordPaths[i]));
    if (!rtl::FileExists(path)) continue;
    auto d = std::make_unique<TCustomDictionary>();
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::string w;
      if (ToEngineText(rtl::ReadStoredText(line), w)) d->AddIgnore(w);
    }
    words_.push_back(std::move(d));
  }
  activeCustom_.reset();
  if (!active.empty()) activeCustom_ = OpenCustomDictionary(active);
  if (!mapping_ && !MappingDictionaryName.empty()) mapping_ = OpenCustomDictionary(MappingDictionaryName);
  if (!learning_ && SuggestionsLearning) learning_ = OpenCustomDictionary(SuggestionsLearningDict);
  if (OnDictionariesChanged) OnDictionariesChanged(this);
}

void TLexaSpell3Base::ChoosePrimaryDictionary() {
  Lock lock(mutex_);
  if (mains_.size() >= 2) {
    auto best = mains_.begin();
    for (auto it = mains_.begin(); it != mains_.end(); ++it)
      if ((*it)->HitCount() > (*best)->HitCount()) best = it;
    std::rotate(mains_.begin(), best, best + 1);
  }
  if (mains_.empty()) return;
  const Cardinal language = mains_.front()->Language();
  generator_->SetLanguage(static_cast<Integer>(language));
  if (auto* e = dynamic_cast<TMainParsingEngine*>(engine_.get()))
    e->SetFrenchApostrophes(PrimaryLanguageOf(language) == 12);
}

void TLexaSpell3Base::ReleaseDictionaries() {
  Lock lock(mutex_);
  if (KeepDictionariesActive) return;
  config_->Save();
  for (auto& m : mains_) m->SetActive(false);
  if (activeCustom_) activeCustom_->SetLoaded(false);
  for (auto& c : customs_) c->SetLoaded(false);
  if (learning_) learning_->SetLoaded(false);
}

// ---- suggestions ----

bool TLexaSpell3Base::IsSuggestionWord(const std::string& w) {
  bool found = false;
  if (primaryOnly_)
    found = InMainDictionariesEngine(w, true) || InMainDictionariesEngine(ApplyCaseRuleEngine(w), true);
  else
    found = InAnyDictionaryEngine(w) || InAnyDictionaryEngine(ApplyCaseRuleEngine(w));
  if (!found && englishPresent_) found = IsKnownPossessiveEngine(w);
  return found;
}

void TLexaSpell3Base::LearnReplacement(const AnsiString& word, const AnsiString& replacement) {
  Lock lock(mutex_);
  std::string w, r;
  if (!learning_ || !ToEngineText(word, w) || !ToEngineText(replacement, r)) return;
  learning_->AddAutoCorrect(w, r);
  learning_->AddIgnore(r);
}

void TLexaSpell3Base::Suggest(const AnsiString& word, rtl::TStrings& list) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  GetSuggestions(word, MaxSuggestions, list);
}

void TLexaSpell3Base::GetSuggestions(const AnsiString& word, Integer max, rtl::TStrings& list) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w;
  list.Clear();
  if (!ToEngineText(word, w)) return;
  std::string r;
  if (mapping_ && mapping_->GetAutoCorrect(w, r)) {
    list.Add(FromEngineText(r));
    return;
  }
  struct Entry {
    std::string word;
    Integer score = 0;
  };
  std::vector<Entry> entries;
  // The caller's list gets what was built, also when an error interrupts.
  struct Deliver {
    std::vector<Entry>& entries;
    rtl::TStrings& list;
    ~Deliver() {
      list.Clear();
      for (const Entry& e : entries) list.Add(FromEngineText(e.word));
    }
  } deliver{entries, list};
  rtl::TStringList work;
  generator_->GenerateWithCaseVariants(w, max < 0 ? -1 : max, [this](const std::string& c) { return IsSuggestionWord(c); }, &work);
  const Integer nearMisses = work.Count();
  if (PhoneticSuggestions && !mains_.empty()) {
    const auto language = static_cast<Integer>(mains_.front()->Language());
    if (phonetics_->Language() != language) {
      phonetics_->SetLanguage(language);
      if (OnAdjustPhoneticsMap) OnAdjustPhoneticsMap(this);
    }
    mains_.front()->FindPhoneticCandidates(w, *phonetics_, work);
    if (PrimaryLanguageOf(static_cast<Cardinal>(phonetics_->Language())) == 9 && work.Count() < 20) {
      phonetics_->SetLanguage(0);
      if (OnAdjustPhoneticsMap) OnAdjustPhoneticsMap(this);
      mains_.front()->FindPhoneticCandidates(w, *phonetics_, work);
    }
  }
  for (Integer i = 0; i < work.Count(); ++i) {
    const Integer score = WordDistance(w, work[i]);
    if (i >= nearMisses && !phonetics_->DistanceAcceptable(w, score)) continue;
    entries.push_back({work[i], score});
  }
  if (learning_) {
    std::string learnt;
    if (learning_->GetAutoCorrect(w, learnt)) {
      auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return EngineSameText(e.word, learnt); });
      if (it != entries.end() && it->word == learnt)
        it->score = 0;
      else if (WordAcceptable(FromEngineText(learnt)))
        entries.insert(entries.begin(), Entry{learnt, 0});
    }
    for (Entry& e : entries) e.score = learning_->IsIgnored(e.word) ? 2 * e.score - 1 : 2 * e.score;
  }
  for (size_t i = 0; i + 1 < entries.size(); ++i)
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (entries[j].score < entries[i].score) std::swap(entries[i], entries[j]);
  if (max >= 0 && entries.size() > static_cast<size_t>(max)) entries.resize(static_cast<size_t>(max));
}

// ---- options and filters ----

void TLexaSpell3Base::ApplyOptions(bool force) {
  Lock lock(mutex_);
  const TSpellOptions options = config_->GetOptions();
  if (optionsCached_ && options == cachedOptions_ && !force) return;
  optionsCached_ = true;
  cachedOptions_ = options;
  ClearIgnoreFilters();
  if (HasSpellOption(options, soInternet)) AddIgnoreFilter(std::make_unique<TURLIgnore>());
  if (HasSpellOption(options, soUpcase)) AddIgnoreFilter(std::make_unique<TUppercaseWordIgnore>());
  if (HasSpellOption(options, soNumbers)) AddIgnoreFilter(std::make_unique<TNumbersIgnore>());
  if (HasSpellOption(options, soHTML)) AddIgnoreFilter(std::make_unique<THTMLIgnore>());
  if (HasSpellOption(options, soQuoted)) {
    std::string quotes;
    ToEngineText(quoteChars_, quotes);
    AddIgnoreFilter(std::make_unique<TQuotedLineIgnore>(quotes));
  }
  if (HasSpellOption(options, soAbbreviations)) AddIgnoreFilter(std::make_unique<TAbbreviationsIgnore>());
  primaryOnly_ = HasSpellOption(options, soPrimaryOnly);
  repeated_ = HasSpellOption(options, soRepeated);
  dualCaps_ = HasSpellOption(options, soDUalCaps);
  liveSpelling_ = HasSpellOption(options, soLiveSpelling);
  liveCorrect_ = HasSpellOption(options, soLiveCorrect);
  if (OnAddCustomIgnore) OnAddCustomIgnore(this);
  OptionsAppliedListeners.NotifyListeners(this);
}

void TLexaSpell3Base::AddIgnoreFilter(std::unique_ptr<TParserIgnore> filter) {
  Lock lock(mutex_);
  if (!filter) return;
  if (filter->HooksParser()) tokenizingFilters_.push_back(filter.get());
  if (filter->ChecksLines()) lineFilters_.push_back(filter.get());
  filters_.push_back(std::move(filter));
}

void TLexaSpell3Base::ClearIgnoreFilters() {
  Lock lock(mutex_);
  tokenizingFilters_.clear();
  lineFilters_.clear();
  filters_.clear();
}

bool TLexaSpell3Base::IsIgnoredByFilters(const std::string& engineWord, TControlParser* parser) {
  Lock lock(mutex_);
  for (auto& f : filters_)
    if (f->IsIgnoredWord(engineWord, parser)) return true;
  return false;
}

bool TLexaSpell3Base::IsLineIgnoredByFilters(const std::string& engineLine) {
  Lock lock(mutex_);
  for (TParserIgnore* f : lineFilters_)
    if (f->IsIgnoredLine(engineLine)) return true;
  return false;
}

// ---- rules ----

std::string TLexaSpell3Base::ApplyCaseRuleEngine(const std::string& w) {
  if (w.empty()) return w;
  switch (AllowedCases) {
    case cmNone:
      return w;
    case cmInitialCaps:
      return EngineLowerChar(w[0]) + w.substr(1);
    case cmInitialCapsOrUpcase:
      if (EngineUpperCase(w) == w) return EngineLowerCase(w);
      return EngineLowerChar(w[0]) + w.substr(1);
    case cmAnyCase:
      return EngineLowerCase(w);
    case cmCustom: {
      AnsiString variant = FromEngineText(w);
      if (OnCaseModification) OnCaseModification(this, variant);
      std::string out;
      return ToEngineText(variant, out) ? out : w;
    }
  }
  return w;
}

AnsiString TLexaSpell3Base::ApplyCaseRule(const AnsiString& word) {
  Lock lock(mutex_);
  std::string w;
  if (!ToEngineText(word, w)) return word;
  return FromEngineText(ApplyCaseRuleEngine(w));
}

bool TLexaSpell3Base::InMainDictionariesEngine(const std::string& w, bool countHit) {
  for (auto& m : mains_)
    if (m->WordExists(w)) {
      if (countHit) m->CountHit();
      return true;
    }
  return false;
}

bool TLexaSpell3Base::InAnyDictionaryEngine(const std::string& w) {
  if (InMainDictionariesEngine(w, true)) return true;
  if (activeCustom_ && activeCustom_->IsIgnored(w)) return true;
  for (auto& c : customs_)
    if (c->IsIgnored(w)) return true;
  for (auto& d : words_)
    if (d->IsIgnored(w)) return true;
  return internal_->IsIgnored(w);
}

bool TLexaSpell3Base::IsExcludedEngine(const std::string& w) {
  if (activeCustom_ && activeCustom_->IsExcluded(w)) return true;
  for (auto& c : customs_)
    if (c->IsExcluded(w)) return true;
  std::string r;
  return mapping_ && mapping_->GetAutoCorrect(w, r);
}

bool TLexaSpell3Base::IsKnownPossessiveEngine(const std::string& w) {
  static const char* const endings[] = {"'s", "'S", "\x92s", "\x92S"};
  for (const char* ending : endings) {
    const size_t at = w.find(ending);
    if (at == std::string::npos) continue;
    if (at + 2 != w.size()) return false;
    const std::string stem = w.substr(0, w.size() - 2);
    const std::string variant = ApplyCaseRuleEngine(stem);
    for (auto& m : mains_)
      if (PrimaryLanguageOf(m->Language()) == 9 && (m->WordExists(variant) || m->WordExists(stem))) return true;
    return false;
  }
  return false;
}

bool TLexaSpell3Base::InMainDictionaries(const AnsiString& word) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w;
  return ToEngineText(word, w) && InMainDictionariesEngine(w, true);
}

bool TLexaSpell3Base::InAnyDictionary(const AnsiString& word) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w;
  return ToEngineText(word, w) && InAnyDictionaryEngine(w);
}

bool TLexaSpell3Base::IsExcludedWord(const AnsiString& word) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w;
  return ToEngineText(word, w) && IsExcludedEngine(w);
}

bool TLexaSpell3Base::IsKnownPossessive(const AnsiString& word) {
  Lock lock(mutex_);
  std::string w;
  return ToEngineText(word, w) && IsKnownPossessiveEngine(w);
}

bool TLexaSpell3Base::WordAcceptable(const AnsiString& word) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w;
  const bool held = ToEngineText(word, w);
  if (held && InAnyDictionaryEngine(w)) return !(UseExcludeWords && IsExcludedEngine(w));
  if (held) {
    const std::string variant = ApplyCaseRuleEngine(w);
    if (InAnyDictionaryEngine(variant)) return !(UseExcludeWords && IsExcludedEngine(variant));
    if (englishPresent_ && IsKnownPossessiveEngine(w)) return true;
  }
  double number = 0;
  if (rtl::TryStrToFloat(word, number)) return true;
  std::u16string wide = rtl::Utf8ToWide(word);
  if (wide.size() == 1 || (wide.size() == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00)) return true;
  return held && IsIgnoredByFilters(w, currentParser_);
}

bool TLexaSpell3Base::FindAutoCorrection(const AnsiString& word, AnsiString& replacement) {
  Lock lock(mutex_);
  config_->EnsureLoaded();
  std::string w, r;
  if (!ToEngineText(word, w)) return false;
  auto found = [&](TCustomDictionary* d) {
    if (d && d->GetAutoCorrect(w, r)) {
      replacement = FromEngineText(r);
      return true;
    }
    return false;
  };
  if (found(activeCustom_.get()) || found(internal_.get())) return true;
  for (auto& c : customs_)
    if (found(c.get())) return true;
  if (MappingAutoReplace && found(mapping_.get())) return true;
  if (SuggestionsAutoReplace && learning_ && learning_->GetAutoCorrect(w, r) && WordAcceptable(FromEngineText(r))) {
    replacement = FromEngineText(r);
    return true;
  }
  if (dualCaps_ && w.size() >= 3 && EngineLowerCase(w.substr(2)) == w.substr(2) &&
      EngineUpperCase(w.substr(0, 2)) == w.substr(0, 2)) {
    std::string candidate = w;
    candidate[1] = EngineLowerChar(candidate[1]);
    if (candidate != w && EngineIsCasedLetter(w[0]) && WordAcceptable(FromEngineText(candidate))) {
      replacement = FromEngineText(candidate);
      return true;
    }
  }
  return false;
}

}  // namespace spell
