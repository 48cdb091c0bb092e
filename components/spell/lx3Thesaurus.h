#pragma once
// The thesaurus component: looks a word up in the thesaurus file, shows the
// thesaurus dialog with its meanings and related words, and answers the
// word the user chose instead. Words at this boundary are UTF-8; the file
// holds Windows-1252, so a word 1252 cannot hold is not found. The dialog
// form talks to the component only through the TThesaurusDialogCtrl placed
// on it, so a program can put a form of its own in its place.
#include <functional>
#include <memory>
#include <vector>

#include "rtl/StringList.h"
#include "spell/engine/lx3ThesaurusFile.h"
#include "spell/engine/lx3ThesaurusLanguages.h"
#include "vcl/Components.h"
#include "vcl/Controls.h"

namespace vcl {
class TCustomForm;
class TWinControl;
}  // namespace vcl

namespace spell {

class TControlParser;
class TParsingEngine;
class TThesaurus3Base;

enum TDialogDoubleClickAction { dcaNone, dcaReplace, dcaLookup };
enum TThesaurusDialogCommand { tdcLookedUp, tdcPrevious, tdcLookup, tdcReplace, tdcClose };
// A set of thesaurus dialog commands, bit n for command n.
using TThesaurusDialogCommands = Byte;
inline constexpr TThesaurusDialogCommands AllThesaurusCommands = 0x1F;
constexpr bool HasCommand(TThesaurusDialogCommands set, TThesaurusDialogCommand c) { return (set >> c) & 1u; }

// The contexts of a look-up, their texts in UTF-8.
using TThesaurusContexts = std::vector<std::unique_ptr<TThesaurusEntry>>;
using TPromptLookupEvent =
    std::function<void(void* sender, const AnsiString& word, const TThesaurusContexts& contexts)>;
using TPromptContextEvent = std::function<void(void* sender, const rtl::TStrings& words)>;

class TThesaurusDialogCtrl : public vcl::TComponent {
 public:
  explicit TThesaurusDialogCtrl(vcl::TComponent* owner) : vcl::TComponent(owner) {}
  // Only while no component is attached: attaches, copies the command
  // sets and fires OnActivate.
  void AttachThesaurus(TThesaurus3Base* thesaurus);
  void Detach() { thesaurus_ = nullptr; }
  TThesaurus3Base* Thesaurus() const { return thesaurus_; }
  TThesaurusDialogCommands CommandsEnabled() const { return enabled_; }
  TThesaurusDialogCommands CommandsVisible() const { return visible_; }
  static AnsiString Version();

  // Forwarded to the attached component; nothing (an empty text) without.
  void SelectContext(Integer index);
  void Lookup(const AnsiString& word);
  void Replace(const AnsiString& word);
  void DoubleClick(const AnsiString& word);
  void Close();
  AnsiString GetString(Integer id);

  vcl::TNotifyEvent OnActivate;
  TPromptLookupEvent OnPromptLookup;
  TPromptContextEvent OnPromptContext;

 private:
  TThesaurus3Base* thesaurus_ = nullptr;
  TThesaurusDialogCommands enabled_ = 0, visible_ = 0;
};

class TThesaurus3Base : public vcl::TComponent {
 public:
  explicit TThesaurus3Base(vcl::TComponent* owner);
  ~TThesaurus3Base() override;

  const AnsiString& Filename() const { return filename_; }
  virtual void SetFilename(const AnsiString& name);
  // A non-null engine replaces (and frees) the owned one.
  virtual void SetParsingEngine(std::unique_ptr<TParsingEngine> engine);
  bool SortedLists = false;
  TDialogDoubleClickAction DoubleClickAction = dcaLookup;
  thesaurus::TThesaurusLanguageType UILanguage = thesaurus::ltEnglish;
  TThesaurusDialogCommands CommandsEnabled = AllThesaurusCommands;
  TThesaurusDialogCommands CommandsVisible = AllThesaurusCommands;
  AnsiString HelpFile;
  Integer HelpCtxThesaurusDialog = 0;
  static AnsiString Version();

  // Supplies the dialog form (create true) and disposes of it (false).
  std::function<void(void* sender, vcl::TCustomForm*& form, bool create)> OnCreateThesaurusDialog;
  TPromptLookupEvent OnPromptLookup;
  TPromptContextEvent OnPromptContext;
  vcl::TNotifyEvent OnBeforeChange;
  std::function<void(void* sender, Integer id, AnsiString& text)> OnGetString;

  // Shows the dialog for word; a non-empty answer is the chosen word. A
  // call while a dialog is open, or without a readable file, answers
  // empty at once.
  AnsiString LookupWord(const AnsiString& word);
  virtual bool LookupParser(TControlParser* parser);
  virtual bool LookupControl(vcl::TWinControl* control);
  virtual AnsiString GetString(Integer id);

  // What the dialog control forwards.
  virtual void SelectContext(Integer index);
  virtual void LookupFromDialog(const AnsiString& word);
  virtual void ReplaceFromDialog(const AnsiString& word);
  virtual void WordDoubleClicked(const AnsiString& word);
  virtual void CloseDialog();

  bool Busy() const { return busy_; }
  TThesaurusFile& File() { return *file_; }
  const TThesaurusContexts& Contexts() const { return contexts_; }
  vcl::TCustomForm* DialogForm() const { return form_; }

 protected:
  virtual void PositionDialog();
  // Leaves replacement as it was when no dialog could be shown.
  virtual void ShowThesaurusDialog(const AnsiString& word, AnsiString& replacement);
  virtual TThesaurusDialogCtrl* FindDialogCtrl(vcl::TCustomForm* form);
  virtual void PromptLookup();
  virtual void DialogShow(vcl::TObject* sender);
  // The base has no form of its own.
  virtual vcl::TCustomForm* CreateThesaurusDialog() { return nullptr; }

 private:
  void TakeContexts(const AnsiString& word);
  AnsiString filename_ = "%AppDir%\\Velun.adt";
  std::unique_ptr<TParsingEngine> engine_;
  std::unique_ptr<TThesaurusFile> file_;
  bool busy_ = false;
  vcl::TRect wordRect_{-1, -1, -1, -1};
  vcl::TCustomForm* form_ = nullptr;
  TThesaurusDialogCtrl* control_ = nullptr;
  vcl::TCursor savedCursor_ = vcl::crDefault;
  vcl::TNotifyEvent savedOnShow_;
  AnsiString replacement_;
  AnsiString lookedUp_;
  TThesaurusContexts contexts_;
};

class TThesaurus3 : public TThesaurus3Base {
 public:
  using TThesaurus3Base::TThesaurus3Base;

 protected:
  vcl::TCustomForm* CreateThesaurusDialog() override;
};

}  // namespace spell
