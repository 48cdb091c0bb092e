#pragma once
// The spell-checker component's engine: its settings, dictionary sets,
// configuration, ignore filters, and the rules that decide whether a word
// is acceptable and how it is corrected automatically. Words at this
// boundary are UTF-8; below it, engine text (Windows-1252), converted once.
// A word 1252 cannot hold is in no dictionary and is never added.
//
// One recursive mutex serialises the component: every public operation
// holds it for its duration, so the editor's analysis thread and the user-
// interface thread never overlap inside it. Two waits run without it: a
// synchronous check run waiting for the dialog's next command, and the
// popup while it is shown. Events fired while the configuration loads run
// on the loading thread, which may be the editor's analysis thread.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "rtl/StringList.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3ParserBase.h"
#include "spell/engine/lx3SpellLanguages.h"
#include "spell/engine/lx3Types.h"
#include "spell/engine/lx3Util.h"

namespace spell {

class TCustomDictionary;
class TMainDictionary;
class TParserIgnore;
class TParsingEngine;
class TPhoneticsMap;
class TSuggestionsGenerator;
class TControlParser;
class TConfigurationDialogCtrl;

enum TCaseModification { cmNone, cmInitialCaps, cmInitialCapsOrUpcase, cmAnyCase, cmCustom };
enum TWordCheckType { wcAccepted, wcExcluded, wcCorrected, wcDenied, wcRepeated };
enum TSpellUI { suiDialog, suiSilent };
enum TSpellEndMessage { emNever, emAlways, emExceptCancel, emNoDialog };
enum TSpellEndPosition { epHome, epOriginal, epNoModify };
enum TSpellPopupOption { spCancel, spDialog, spAutoCorrect, spChangeAll, spAdd, spIgnoreAll, spIgnore, spReplace };
// A set of popup options, bit n for option n (the live-spelling popup: 177).
using TSpellPopupOptions = Byte;

// One undoable decision of a check run.
struct TLexaUndo {
  Integer X = 0, Y = 0;  // the parser position: the start of the current word
  AnsiString Word;
  AnsiString Replacement;
  TSpellAction Action = saIgnore;
  bool Automatic = false;
  Integer Data = 0;
};

// Notification lists carrying the values of the notification.
class TParserIgnoreWordEventList : public TEventList {
 public:
  Integer State = 0;
  bool Before = false;
};
class TPopupResultEventList : public TEventList {
 public:
  TSpellPopupOption Result = spCancel;
};

class TLexaSpell3Base : public TLexaConfigHost {
 public:
  TLexaSpell3Base();
  TLexaSpell3Base(const TLexaSpell3Base&) = delete;
  TLexaSpell3Base& operator=(const TLexaSpell3Base&) = delete;
  virtual ~TLexaSpell3Base();

  // ---- configuration settings ----
  void SetConfigStorage(TConfigStorage v);
  void SetConfigID(const AnsiString& v);
  void SetConfigFilename(const AnsiString& v);
  void SetConfigRegistryKey(const AnsiString& v);
  rtl::TStringList& ConfigDictionaryDir() { return configDictionaryDir_; }
  rtl::TStringList& ConfigDefaultMainList() { return configDefaultMain_; }
  rtl::TStringList& ConfigDefaultCustomList() { return configDefaultCustom_; }
  void SetConfigDefaultActiveCustom(const AnsiString& v) { configDefaultActiveCustom_ = v; }
  void SetConfigDefaultOptions(TSpellOptions v) { configDefaultOptions_ = v; }
  void SetConfigUseMSWordCustom(bool v) { configUseMSWordCustom_ = v; }
  void SetConfigDefaultUseMSWordCustom(bool v) { configDefaultUseMSWordCustom_ = v; }
  TLexaConfig& Config() { return *config_; }
  // Holds the component's lock for a caller that changes the configuration
  // (or several settings) directly, as the dialogs do.
  std::unique_lock<std::recursive_mutex> LockComponent() { return std::unique_lock<std::recursive_mutex>(mutex_); }

  // ---- behaviour settings ----
  bool UseExcludeWords = true;
  TCaseModification AllowedCases = cmInitialCapsOrUpcase;
  bool MappingAutoReplace = true;
  bool SuggestionsAutoReplace = false;
  TSpellLanguageType UILanguage = ltEnglish;
  void SetQuoteChars(const AnsiString& v);
  const AnsiString& QuoteChars() const { return quoteChars_; }

  // ---- events ----
  std::function<void(void* sender)> OnConfigChanged, OnConfigLoaded, OnConfigSaved, OnDictionariesChanged,
      OnAddCustomIgnore;
  std::function<void(void* sender, const AnsiString& configID, const AnsiString& key, const AnsiString& def,
                     AnsiString& value)>
      OnConfigReadString;
  std::function<void(void* sender, const AnsiString& configID, const AnsiString& key, const AnsiString& value)>
      OnConfigWriteString;
  std::function<void(void* sender, int id, AnsiString& text)> OnGetString;
  std::function<void(void* sender, AnsiString& word)> OnCaseModification;
  std::function<void(void* sender, TCustomDictionary*& dictionary)> OnCreateCustomDictionary;

  // ---- dialogs ----
  // The base only fires the events; the window layer shows its own dialogs
  // when they are not assigned.
  std::function<void(void* sender, void* owner)> OnShowConfigDialog, OnShowCustomDictionariesDialog,
      OnShowAddDictionaryDir;
  std::function<void(void* sender, void* owner, TCustomDictionary* dictionary)> OnShowEditCustomDictionaryDialog;
  void ShowConfigDialog() { Lock lock(mutex_); DoShowConfigDialog(this); }
  void ShowCustomDictionariesDialog() { Lock lock(mutex_); DoShowCustomDictionariesDialog(this); }
  void ShowEditCustomDictionaryDialog(TCustomDictionary* d) { Lock lock(mutex_); DoShowEditCustomDictionaryDialog(this, d); }
  void ShowAddDictionaryDir() { Lock lock(mutex_); DoShowAddDictionaryDir(this); }

  // ---- rules ----
  bool WordAcceptable(const AnsiString& word);
  bool FindAutoCorrection(const AnsiString& word, AnsiString& replacement);
  bool InMainDictionaries(const AnsiString& word);
  bool InAnyDictionary(const AnsiString& word);
  bool IsExcludedWord(const AnsiString& word);
  bool IsKnownPossessive(const AnsiString& word);
  AnsiString ApplyCaseRule(const AnsiString& word);
  AnsiString GetString(int id);
  Integer GetPrimaryLanguage();

  // ---- suggestions ----
  // At most max ranked suggestions (no limit when max is negative).
  void GetSuggestions(const AnsiString& word, Integer max, rtl::TStrings& list);
  void Suggest(const AnsiString& word, rtl::TStrings& list);
  bool IsSuggestionWord(const std::string& engineWord);
  void LearnReplacement(const AnsiString& word, const AnsiString& replacement);
  Integer MaxSuggestions = -1;
  bool PhoneticSuggestions = true;
  std::function<void(void* sender)> OnAdjustPhoneticsMap;
  TPhoneticsMap& PhoneticsMap() { return *phonetics_; }
  TParsingEngine& ParsingEngine() { return *engine_; }
  TCustomDictionary* LearningDictionary() const { return learning_.get(); }
  TCustomDictionary* MappingDictionary() const { return mapping_.get(); }

  // ---- check runs ----
  // Starts a run over parser (check types: 0 the selection, 1 from the
  // cursor, 2 the whole text, 3 the selection or else the whole text from
  // the cursor, 4 on from where the caller put the parser). With
  // ownsParser the run frees the parser when it ends.
  void CheckParser(TControlParser* parser, Integer checkType, bool ownsParser = false);
  // Checks a UTF-8 text; the changes come back in text.
  void CheckString(AnsiString& text);
  Integer WordCount(TControlParser* parser, Integer checkType);
  Integer WordCountString(const AnsiString& text);
  void CountWords(TControlParser* parser, Integer checkType, Integer& words, Integer& errors, bool& hasErrors,
                  bool stopAtFirstError, bool checkSpelling);
  void IgnoreCurrent();
  void IgnoreAllCurrent();
  void ChangeCurrent(const AnsiString& replacement);
  void ChangeAllCurrent(const AnsiString& replacement);
  void AddCurrent();
  void AutoCorrectCurrent(const AnsiString& replacement);
  void UndoCurrent();
  void IgnoreRepeated();
  void DeleteRepeated();
  void CancelCheck();
  void StopCheck(bool cancelled);
  void ResumeCheck();
  bool CanUndo();
  void ClearUndo();
  bool IsRepeatedWord(const std::string& engineWord, TControlParser* parser);
  bool Checking() const { return checking_; }
  bool Cancelled() const { return cancelled_; }
  const AnsiString& CurrentWord() const { return currentWord_; }
  bool RepeatedPrompt() const { return repeatedPrompt_; }
  Integer WordsChecked() const { return wordsChecked_; }
  Integer UndoCount() const { return static_cast<Integer>(undo_.size()); }

  // Dialog placement and commands (the dialogs come with the window layer).
  enum TSpellDialogInitialPos { ipScreenCenter, ipUnderSelection, ipAvoidControl, ipUserDefined, ipLastUserPos,
                                ipIgnore, ipDesktopCenter };
  enum TSpellDialogAvoidPos { saNone, saAvoid, saAvoidUpDown, saMove, saMoveUpDown };
  TSpellDialogInitialPos DialogInitialPos = ipLastUserPos;
  TSpellDialogAvoidPos DialogSelectionAvoid = saAvoid;
  bool DialogShowImmediate = false;
  bool DialogShowModal = false;
  bool UseHourglassCursor = true;
  static constexpr Cardinal AllDialogCommands = 0x7FFFF;
  Cardinal CommandsVisible = AllDialogCommands;
  Cardinal CommandsEnabled = AllDialogCommands;
  AnsiString HelpFile;
  Integer HelpCtxSpellDialog = 0, HelpCtxConfigDialog = 0, HelpCtxDictionariesDialog = 0,
          HelpCtxDictionaryEditDialog = 0;
  TSpellOptions ConfigAvailableOptions = 1804;
  AnsiString ConfigUserOption1, ConfigUserOption2, ConfigUserOption3, ConfigUserOption4;
  AnsiString Version() const { return GetVersionText(); }
  // Straight through to the phonetics map.
  Integer PhoneticMaxDistance() const;
  void SetPhoneticMaxDistance(Integer v);
  Integer PhoneticDivisor() const;
  void SetPhoneticDivisor(Integer v);
  Integer PhoneticDepth() const;
  void SetPhoneticDepth(Integer v);
  // Replace the owned parts (null is ignored).
  void SetParsingEngine(std::unique_ptr<TParsingEngine> engine);
  void SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> generator);
  void SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> map);
  void SetKeepDictionariesActive(bool v);
  void SetMappingDictionaryName(const AnsiString& v);
  void SetSuggestionsLearning(bool v);
  void SetSuggestionsLearningDict(const AnsiString& v);
  // Notified with the component: options applied, configuration changed.
  TEventList OptionsAppliedListeners, ConfigChangedListeners;
  TParserIgnoreWordEventList WordIgnoredListeners;
  TPopupResultEventList PopupResultListeners;

  TSpellUI UIType = suiSilent;
  TSpellEndMessage EndMessage = emExceptCancel;
  TSpellEndPosition EndCursorPosition = epOriginal;
  bool EndMessageWordCount = false;
  Integer MaxUndo = -1;
  bool SynchronousCheck = true;
  bool UseAutoCorrectFirst = false;
  bool RecheckReplacedWords = true;
  bool ResumeFromLastPosition = true;
  std::function<void(void* sender, const AnsiString& word, TWordCheckType& type, AnsiString& replacement)>
      OnWordCheck;
  std::function<void(void* sender, const AnsiString& word, bool repeated)> OnPromptWord;
  std::function<void(void* sender)> OnCompleteCheck, OnShowEndMessage, OnBeforeChange;
  std::function<void(void* sender, bool before, const AnsiString& replacement, Integer state)> OnParserReplaceWord;
  std::function<void(void* sender, bool before, Integer state)> OnParserIgnoreWord;
  std::function<void(void* sender, Integer undoState, TSpellAction action, Integer& data)> OnParserUndoLast;

  // ---- the live-spelling popup ----
  // Shows the popup for word at the screen point and performs the choice;
  // on a replacement word comes back as the chosen suggestion.
  TSpellPopupOption ShowPopupMenu(void* control, TSpellPopupOptions options, Integer x, Integer y, AnsiString& word);
  // The replaceable steps; menus and items are the window layer's objects.
  std::function<void(void* sender, void* owner, void*& menu)> OnPopupCreateMenu;
  std::function<void(void* sender, void* menu, void* parent, const AnsiString& caption, bool enabled,
                     bool hasChildren, Integer tag, void*& item)>
      OnPopupAddMenuItem;
  std::function<void(void* sender, void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption)>
      OnPopupDoMenu;
  std::function<void(void* sender, const AnsiString& word, AnsiString& resultWord, TSpellPopupOption& result)>
      OnPopupResult;

  // ---- options and filters ----
  void ApplyOptions(bool force);
  void AddIgnoreFilter(std::unique_ptr<TParserIgnore> filter);
  void ClearIgnoreFilters();
  bool IsIgnoredByFilters(const std::string& engineWord, TControlParser* parser);
  bool IsLineIgnoredByFilters(const std::string& engineLine);
  bool PrimaryOnly() const { return primaryOnly_; }
  bool Repeated() const { return repeated_; }
  bool DualCaps() const { return dualCaps_; }
  bool LiveSpelling() const { return liveSpelling_; }
  bool LiveCorrect() const { return liveCorrect_; }

  // ---- dictionary sets ----
  void LoadDictionaries();
  void ReleaseDictionaries();
  void ChoosePrimaryDictionary();
  Integer MainDictionaryCount() const { return static_cast<Integer>(mains_.size()); }
  TMainDictionary* MainDictionary(Integer i) const { return mains_.at(static_cast<size_t>(i)).get(); }
  TCustomDictionary* ActiveCustomDictionary() const { return activeCustom_.get(); }
  TCustomDictionary* InternalDictionary() const { return internal_.get(); }
  std::unique_ptr<TMainDictionary> OpenMainDictionary(const AnsiString& name);
  std::unique_ptr<TCustomDictionary> OpenCustomDictionary(const AnsiString& name);
  // Available dictionary files by name (each cache filled while empty).
  const rtl::TStringList& GetAvailableMainDictionaries();
  const rtl::TStringList& GetAvailableCustomDictionaries();
  void FindDictionaryFiles(const AnsiString& extension, rtl::TStrings& list);
  void DictionaryDirChanged();
  void SetCustomDictionaryInUse(const AnsiString& name, bool inUse);
  void SetMSWordDictionaryInUse(const AnsiString& path, bool inUse);
  void NewCustomDictionary(const AnsiString& name);
  void DeleteCustomDictionary(const AnsiString& name);
  bool RenameCustomDictionary(const AnsiString& oldName, const AnsiString& newName);
  // The lines of the dictionary folders followed by the configuration's added folders.
  const rtl::TStringList& Folders() const { return folders_; }

  // ---- TLexaConfigHost ----
  TConfigStorage ConfigStorage() const override { return configStorage_; }
  AnsiString ConfigID() const override { return configID_; }
  AnsiString ConfigFilename() const override { return configFilename_; }
  AnsiString ConfigRegistryKey() const override { return configRegistryKey_; }
  const rtl::TStrings& ConfigDefaultMain() const override { return configDefaultMain_; }
  const rtl::TStrings& ConfigDefaultCustom() const override { return configDefaultCustom_; }
  AnsiString ConfigDefaultActiveCustom() const override { return configDefaultActiveCustom_; }
  TSpellOptions ConfigDefaultOptions() const override { return configDefaultOptions_; }
  bool ConfigUseMSWordCustom() const override { return configUseMSWordCustom_; }
  bool ConfigDefaultUseMSWordCustom() const override { return configDefaultUseMSWordCustom_; }
  bool Designing() const override { return false; }
  AnsiString ExpandPath(const AnsiString& path) override;
  AnsiString ExpandConfigID(const AnsiString& path) override;
  const rtl::TStrings& GetMSWordCustomDictionaries() override;
  void DoConfigReadString(const AnsiString& configID, const AnsiString& key, const AnsiString& def,
                          AnsiString& value) override;
  void DoConfigWriteString(const AnsiString& configID, const AnsiString& key, const AnsiString& value) override;
  void DoConfigLoaded() override;
  void DoConfigSaved() override;
  void ConfigurationChanged(bool reload) override;

 protected:
  using Lock = std::lock_guard<std::recursive_mutex>;
  mutable std::recursive_mutex mutex_;

  // The window layer's parts of a run: the spell dialog, the message box
  // and waiting for the user's next command. Without a window layer there
  // is no dialog, no message box is shown, and waiting runs the pending
  // synchronised work.
  virtual void ShowSpellDialog() {}
  virtual void HideSpellDialog() {}
  // Shows the end message; the base shows nothing.
  virtual void ShowMessageText(const AnsiString& text, const AnsiString& caption) {}
  // Asks a yes/no question; the base answers No.
  virtual bool AskYesNo(const AnsiString& text, const AnsiString& caption) { return false; }
  virtual void WaitForCommand();
  // The hourglass of long runs (UseHourglassCursor); the base has no cursor.
  virtual void SetBusyCursor(bool busy) {}
  virtual void DoShowConfigDialog(void* owner) { if (OnShowConfigDialog) OnShowConfigDialog(this, owner); }
  virtual void DoShowCustomDictionariesDialog(void* owner) {
    if (OnShowCustomDictionariesDialog) OnShowCustomDictionariesDialog(this, owner);
  }
  virtual void DoShowEditCustomDictionaryDialog(void* owner, TCustomDictionary* d) {
    if (OnShowEditCustomDictionaryDialog) OnShowEditCustomDictionaryDialog(this, owner, d);
  }
  virtual void DoShowAddDictionaryDir(void* owner) { if (OnShowAddDictionaryDir) OnShowAddDictionaryDir(this, owner); }
  // The popup's steps without events: the base has no menus (it creates
  // none and shows nothing); the window layer makes real ones.
  virtual void* CreatePopupMenu(void* owner);
  virtual void* AddPopupMenuItem(void* menu, void* parent, const AnsiString& caption, bool enabled,
                                 bool hasChildren, Integer tag);
  virtual void RunPopupMenu(void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption);
  virtual void FreePopupMenu(void* menu) {}
  // A menu item's click: the chosen tag and caption.
  void PopupItemClicked(Integer tag, const AnsiString& caption);

  virtual void ShowEndMessage();
  bool DialogShown() const { return dialogShownInRun_; }
  // The window layer's part of prompting: it tells the spell dialog's
  // control of the word before OnPromptWord fires.
  virtual void PromptDialogWord(const AnsiString& word, bool repeated) {}
  // What the window layer's dialog handling reads of a run.
  TControlParser* CurrentParser() const { return currentParser_; }
  bool HideDialogAllowed() const { return hideDialogAllowed_; }
  // A modal dialog's show drives the run from inside its modal loop.
  void ContinueFromDialog() { GuardedContinue(); }
  void PromptCurrentWord() { PromptWord(); }
  friend class TConfigurationDialogCtrl;

 private:
  bool InMainDictionariesEngine(const std::string& w, bool countHit);
  bool InAnyDictionaryEngine(const std::string& w);
  bool IsExcludedEngine(const std::string& w);
  bool IsKnownPossessiveEngine(const std::string& w);
  std::string ApplyCaseRuleEngine(const std::string& w);
  void RebuildFolders();
  AnsiString JoinFolder(const AnsiString& folder, const AnsiString& name);

  TConfigStorage configStorage_ = csRegistry;
  AnsiString configID_ = "%UserName%";
  AnsiString configFilename_ = "%AppDir%\\Spell.cfg";
  AnsiString configRegistryKey_ = "Software\\Vovavovuz Software\\%AppName%";
  rtl::TStringList configDictionaryDir_, configDefaultMain_, configDefaultCustom_;
  AnsiString configDefaultActiveCustom_ = "%ConfigID%.adu";
  TSpellOptions configDefaultOptions_ = 1699;
  bool configUseMSWordCustom_ = true;
  bool configDefaultUseMSWordCustom_ = false;
  AnsiString quoteChars_ = ">";

  std::unique_ptr<TCustomDictionary> internal_;
  std::unique_ptr<TSuggestionsGenerator> generator_;
  std::unique_ptr<TPhoneticsMap> phonetics_;
  std::unique_ptr<TParsingEngine> engine_;
  std::vector<std::unique_ptr<TMainDictionary>> mains_;
  std::vector<std::unique_ptr<TCustomDictionary>> customs_;
  std::vector<std::unique_ptr<TCustomDictionary>> words_;
  std::unique_ptr<TCustomDictionary> activeCustom_, mapping_, learning_;
  std::vector<std::unique_ptr<TParserIgnore>> filters_;
  std::vector<TParserIgnore*> tokenizingFilters_, lineFilters_;
  std::unique_ptr<TLexaConfig> config_;
  rtl::TStringList folders_;
  rtl::TStringList msWordCache_, mainCache_, customCache_;
  bool englishPresent_ = false;
  Integer primaryCountdown_ = 100;
  bool primaryOnly_ = false, repeated_ = true, dualCaps_ = true, liveSpelling_ = true, liveCorrect_ = true;
  bool optionsCached_ = false;
  TSpellOptions cachedOptions_ = 0;
  TControlParser* currentParser_ = nullptr;
  // Check-run state.
  void ContinueCheck();
  void GuardedContinue();
  void CompleteCheck();
  void CheckSmartSelection(TControlParser* parser);
  void BeginMultiPartCheck();
  void EndMultiPartCheck();
  void PromptWord();
  void ReplaceCurrentWord(const AnsiString& text, Integer state);
  void IgnoreCurrentWord(Integer state);
  void AddUndo(TSpellAction action, const AnsiString& replacement, bool automatic);
  void UndoLastAction();
  void NotifyUndo(Integer phase, TSpellAction action, Integer& data);
  void SelectCurrentWord();
  std::atomic<bool> checking_{false};  // read by the waiting loop without the lock
  bool cancelled_ = false, beforeChangeFired_ = false, repeatedPrompt_ = false;
  AnsiString currentWord_;
  std::string previousAccepted_;
  Integer wordsChecked_ = 0;
  Integer startX_ = 0, startY_ = 0;
  bool multiPart_ = false, hideDialogAllowed_ = true, savedHideDialogAllowed_ = true, savedKeepActive_ = false;
  bool freeParserAtEnd_ = false;
  bool dialogShownInRun_ = false;
  std::unique_ptr<TControlParser> ownedParser_;
  std::vector<TLexaUndo> undo_;
  bool popupActive_ = false;
  Integer popupTag_ = 0;
  AnsiString popupCaption_;

 public:
  AnsiString MappingDictionaryName;
  bool SuggestionsLearning = true;
  AnsiString SuggestionsLearningDict = "%AppDir%\\%UserName%_sp.adl";
  bool KeepDictionariesActive = false;
};

}  // namespace spell
