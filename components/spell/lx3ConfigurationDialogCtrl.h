#pragma once
// The non-visual component every spell-checker dialog form carries as
// "DialogControl": the form's one link to the spell component. The spell
// component attaches itself when it shows the form; from then on the form
// reads texts, settings and dictionaries and sends its commands through
// it. Unattached, every operation does nothing and answers an empty value,
// so a form made by itself keeps its design-time texts.
#include <functional>
#include <memory>

#include "rtl/StringList.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3Types.h"
#include "vcl/Components.h"

namespace spell {

class TLexaSpell3Base;
class TLexaConfig;
class TCustomDictionary;
class TMainDictionary;

enum TSpellDialogCommand {
  sdcIgnore, sdcIgnoreAll, sdcChange, sdcChangeAll, sdcAdd, sdcAutoCorrect, sdcUndo, sdcHelp, sdcCancel,
  sdcOptions, sdcCustomDictionary, sdcCustomDictionaries, sdcConfigOK, sdcAddedEdit, sdcAutoCorrectEdit,
  sdcExcludedEdit, sdcInternalEdit, sdcMainDictFolderBrowse, sdcResetDefaults
};
// A set of dialog commands, bit n for command n.
using TSpellDialogCommands = Cardinal;
constexpr bool HasCommand(TSpellDialogCommands set, TSpellDialogCommand c) { return (set >> c) & 1u; }

// Which dialog a help request or help context is for.
enum TSpellHelpDialog { shdSpell, shdOptions, shdDictionaries, shdEdit };

// The application's help: no help system is built in, so a help request
// goes to this hook (help file, context) when one is installed.
using TSpellHelpHook = std::function<void(const AnsiString& helpFile, Integer context)>;
void SetSpellHelpHook(TSpellHelpHook hook);

using TWordPromptEvent = std::function<void(void* sender, const AnsiString& word, bool repeated)>;

class TConfigurationDialogCtrl : public vcl::TComponent {
 public:
  explicit TConfigurationDialogCtrl(vcl::TComponent* owner) : vcl::TComponent(owner) {}

  // Only the first non-null component attaches; it fires
  // OnConfigurationAvailable, in which the form sets its texts.
  void Attach(TLexaSpell3Base* spell);
  // Null clears the dictionary without an event.
  void SetCustomDictionary(TCustomDictionary* dictionary);
  TLexaSpell3Base* Spell() const { return spell_; }
  TCustomDictionary* CustomDictionary() const { return dictionary_; }
  TLexaConfig* Config() const { return config_; }
  TSpellOptions AvailableOptions() const { return availableOptions_; }
  static AnsiString Version();

  // Each forwards to the attached component; unattached they do nothing
  // and answer null, empty, false (UseExcludeWords: true).
  const rtl::TStringList* GetAvailableMainDictionaries();
  const rtl::TStringList* GetAvailableCustomDictionaries();
  const rtl::TStrings* GetMSWordCustomDictionaries();
  bool UseExcludeWords();
  bool CanUndo();
  TCustomDictionary* GetInternalDictionary();
  TCustomDictionary* GetActiveCustomDictionary();
  TSpellDialogCommands GetCommandsVisible();
  TSpellDialogCommands GetCommandsEnabled();
  Integer GetHelpContext(TSpellHelpDialog dialog);
  void ShowHelp(TSpellHelpDialog dialog);
  // The caller owns what these answer.
  std::unique_ptr<TMainDictionary> OpenMainDictionary(const AnsiString& name);
  std::unique_ptr<TCustomDictionary> OpenCustomDictionary(const AnsiString& name);
  void GetString(Integer id, AnsiString& text);
  AnsiString GetString(Integer id);
  void GetOptionCaption(TSpellOption option, AnsiString& text);
  void ShowConfigDialog();
  void ShowCustomDictionariesDialog();
  void ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary);
  void ShowAddDictionaryDir();
  void SetCustomDictionaryInUse(const AnsiString& name, bool inUse);
  void SetMSWordDictionaryInUse(const AnsiString& path, bool inUse);
  void DeleteCustomDictionary(const AnsiString& name);
  void NewCustomDictionary(const AnsiString& name);
  bool RenameCustomDictionary(const AnsiString& oldName, const AnsiString& newName);
  void Ignore();
  void IgnoreAll();
  void Change(const AnsiString& replacement);
  void ChangeAll(const AnsiString& replacement);
  void Add();
  void AutoCorrect(const AnsiString& replacement);
  void Undo();
  void Cancel();
  void IgnoreRepeated();
  void DeleteRepeated();
  void Suggest(const AnsiString& word, rtl::TStrings& list);

  vcl::TNotifyEvent OnConfigurationAvailable;
  vcl::TNotifyEvent OnCustomDictionaryAvailable;
  TWordPromptEvent OnPromptWord;

 private:
  TLexaSpell3Base* spell_ = nullptr;
  TCustomDictionary* dictionary_ = nullptr;
  TLexaConfig* config_ = nullptr;
  TSpellOptions availableOptions_ = 0;
};

// The form's first dialog control; null when it has none.
TConfigurationDialogCtrl* FindConfigurationDialogCtrl(vcl::TComponent* form);

}  // namespace spell
