// Where a check run's spell dialog comes from and where it stands: its
// owner form, found from the checked control; the modal dialog of a run;
// and the placement settings other than the remembered position.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/lx3SpellDialog.h"
#include "spell/lx3WinAPIParser.h"
#include "vcl/ExtCtrls.h"

using namespace spell;
using namespace spell_dialog_test;

namespace {

// A parser over a string that names a control, as the edit-control
// parsers do; its control rectangle and word rectangle are what the test
// gives, so the placement rules have something to avoid.
class NamedControlStringParser : public TControlParser2 {
 public:
  NamedControlStringParser(std::string* text, vcl::TWinControl* control) : control_(control) {
    inner_.Initialize(text);
  }
  TParserRect controlRect{}, wordRect{};

  char GetChar() override { return inner_.GetChar(); }
  std::string GetLine() override { return inner_.GetLine(); }
  bool MoveNext() override { return inner_.MoveNext(); }
  bool MovePrevious() override { return inner_.MovePrevious(); }
  void SetPosition(Integer x, Integer y, Integer kind) override { inner_.SetPosition(x, y, kind); }
  void GetPosition(Integer& x, Integer& y) override { inner_.GetPosition(x, y); }
  void SelectPreviousWord(Integer length) override { inner_.SelectPreviousWord(length); }
  void ReplaceWord(const std::string& word, Integer state) override { inner_.ReplaceWord(word, state); }
  void IgnoreWord(Integer state) override { inner_.IgnoreWord(state); }
  void CenterSelection() override {}
  void GetCursorPosition(Integer& x, Integer& y) override { inner_.GetCursorPosition(x, y); }
  void GetSelectionPosition(Integer& sx, Integer& sy, Integer& ex, Integer& ey) override {
    inner_.GetSelectionPosition(sx, sy, ex, ey);
  }
  TParserRect GetControlScreenRect() override { return controlRect; }
  TParserRect GetWordScreenRect() override { return wordRect; }
  void UndoLast(Integer, TSpellAction, Integer&) override {}
  vcl::TWinControl* GetControl() override { return control_; }

 private:
  TStringParser inner_;
  vcl::TWinControl* control_;
};

struct PlacementFormDeleter {
  void operator()(vcl::TCustomForm* f) const { vcl::Free(f); }
};
using PlacementFormPtr = std::unique_ptr<vcl::TForm, PlacementFormDeleter>;

PlacementFormPtr MakePlacementForm(const char* name) {
  PlacementFormPtr f(new vcl::TForm(vcl::Application, 0));
  f->SetName(name);
  return f;
}

// Runs a check over text with the given parser until the dialog shows,
// answers the dialog's owner, then cancels the run.
vcl::TComponent* SpellDialogOwnerOfRun(TLexaSpell3& spell, TControlParser* parser) {
  spell.CheckParser(parser, 2);
  Pump();
  vcl::TCustomForm* dialog = spell.SpellDialogForm();
  EXPECT_NE(dynamic_cast<TSpellDialog*>(dialog), nullptr);
  vcl::TComponent* owner = dialog ? dialog->Owner() : nullptr;
  spell.CancelCheck();
  Pump();
  EXPECT_FALSE(spell.Checking());
  return owner;
}

}  // namespace

TEST(SpellDialogOwner, TheCheckedControlsFormOwnsTheDialog) {
  PlacementFormPtr controlForm = MakePlacementForm("ControlForm");
  PlacementFormPtr componentForm = MakePlacementForm("ComponentForm");
  // The edit sits on a panel, owned by it: the walk goes up the owners,
  // not only one step.
  auto* panel = new vcl::TPanel(controlForm.get());
  panel->SetParent(controlForm.get());
  auto* edit = new vcl::TEdit(panel);
  edit->SetParent(panel);
  // The component's owner is a plain component on the other form.
  auto* holder = new vcl::TComponent(componentForm.get());
  ScratchSpell s("spell-dlg-owner", true, holder);
  std::string text = "A wrold.";

  NamedControlStringParser named(&text, edit);
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &named), controlForm.get());
  EXPECT_EQ(text, "A wrold.");

  // A parser that names no control, and one that is no control parser at
  // all, leave the component's nearest form as the owner.
  NamedControlStringParser unnamed(&text, nullptr);
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &unnamed), componentForm.get());
  TStringParser plain;
  plain.Initialize(&text);
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &plain), componentForm.get());

  // A control that is on no form, and whose owners reach none, also falls
  // back to the component's form.
  auto* loose = new vcl::TEdit(nullptr);
  NamedControlStringParser looseParser(&text, loose);
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &looseParser), componentForm.get());
  vcl::Free(loose);
}

TEST(SpellDialogOwner, WithoutAnyFormTheMainFormThenTheApplicationOwnsIt) {
  ScratchSpell s("spell-dlg-owner2");
  std::string text = "A wrold.";
  TStringParser parser;
  parser.Initialize(&text);
  vcl::TCustomForm* savedMain = vcl::Application->MainForm();

  PlacementFormPtr mainForm = MakePlacementForm("MainForm");
  vcl::Application->SetMainForm(mainForm.get());
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &parser), mainForm.get());

  vcl::Application->SetMainForm(nullptr);
  EXPECT_EQ(SpellDialogOwnerOfRun(s.spell, &parser), vcl::Application);
  vcl::Application->SetMainForm(savedMain);
}

// ---- the modal dialog of a run ----

namespace {

// A modal form of the screen that pred accepts.
vcl::TCustomForm* ModalFormWhere(const std::function<bool(vcl::TCustomForm*)>& pred) {
  for (Integer i = 0; i < vcl::Screen->FormCount(); ++i) {
    vcl::TCustomForm* f = vcl::Screen->Forms(i);
    if (f->Modal() && f->Visible() && pred(f)) return f;
  }
  return nullptr;
}

// Plays the user of a modal spell dialog: at each step, once the dialog
// shows the step's word, the step's button is clicked. Other modal forms
// (the end message) are answered with OK and their captions kept.
class ModalSpellDialogUser {
 public:
  struct Step {
    const char* word;
    const char* replacement;  // typed into the replacement field first; null: left as offered
    vcl::TButton* TSpellDialog::*button;
  };
  explicit ModalSpellDialogUser(std::vector<Step> steps) : steps_(std::move(steps)) { Tick(alive_); }
  ~ModalSpellDialogUser() { *alive_ = false; }
  std::vector<std::string> endCaptions;
  std::vector<bool> stepWasModal;
  size_t StepsDone() const { return next_; }

 private:
  void Tick(std::shared_ptr<bool> alive) {
    QTimer::singleShot(2, [this, alive] {
      if (!*alive) return;
      Tick(alive);  // armed before a click that may open a nested loop
      if (vcl::TCustomForm* other =
              ModalFormWhere([](vcl::TCustomForm* f) { return !dynamic_cast<TSpellDialog*>(f); })) {
        endCaptions.push_back(other->Caption());
        other->SetModalResult(vcl::mrOk);
        return;
      }
      if (next_ >= steps_.size() || busy_) return;
      auto* d = dynamic_cast<TSpellDialog*>(
          ModalFormWhere([](vcl::TCustomForm* f) { return dynamic_cast<TSpellDialog*>(f) != nullptr; }));
      if (!d || d->NotFoundEdit->Text() != steps_[next_].word) return;
      const Step step = steps_[next_++];
      stepWasModal.push_back(d->Modal());
      if (step.replacement) d->ReplaceWithEdit->SetText(step.replacement);
      busy_ = true;
      Click(d->*step.button);
      busy_ = false;
    });
  }
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool busy_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

struct ModalRunCase {
  const char* name;
  bool immediate;
  std::vector<ModalSpellDialogUser::Step> steps;
  const char* textAfter;
  size_t endMessages;
};

}  // namespace

TEST(SpellDialogModal, ARunWithAModalDialogReturnsOnlyWhenItIsOver) {
  const ModalRunCase cases[] = {
      {"change then ignore", false,
       {{"wrold", "world", &TSpellDialog::ChangeButton}, {"tabel", nullptr, &TSpellDialog::IgnoreButton}},
       "A world and a tabel.", 1},
      {"shown before the first word", true,
       {{"wrold", nullptr, &TSpellDialog::IgnoreButton}, {"tabel", "table", &TSpellDialog::ChangeButton}},
       "A wrold and a table.", 1},
      {"cancelled", false, {{"wrold", nullptr, &TSpellDialog::CancelButton}}, "A wrold and a tabel.", 0},
  };
  for (const ModalRunCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchSpell s("spell-dlg-modal");
    s.spell.DialogShowModal = true;
    s.spell.DialogShowImmediate = c.immediate;
    int shown = 0, hidden = 0;
    s.spell.OnSpellDialogShow = [&](void*) { ++shown; };
    s.spell.OnSpellDialogHide = [&](void*) { ++hidden; };
    std::string text = "A wrold and a tabel.";
    TStringParser parser;
    parser.Initialize(&text);
    ModalSpellDialogUser user(c.steps);
    // Not a synchronous run: the modal dialog alone keeps the call open.
    s.spell.CheckParser(&parser, 2);
    EXPECT_EQ(user.StepsDone(), c.steps.size());
    EXPECT_EQ(user.stepWasModal, std::vector<bool>(c.steps.size(), true));
    EXPECT_FALSE(s.spell.Checking());
    EXPECT_EQ(s.spell.SpellDialogForm(), nullptr);
    EXPECT_EQ(text, c.textAfter);
    EXPECT_EQ(user.endCaptions, std::vector<std::string>(c.endMessages, "Spelling"));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(hidden, 1);
    Pump();
    EXPECT_EQ(ModalFormWhere([](vcl::TCustomForm*) { return true; }), nullptr);
  }
}

// ---- placement ----

namespace {

struct PlacedAt {
  Integer left, top;
  bool operator==(const PlacedAt&) const = default;
};
std::ostream& operator<<(std::ostream& o, const PlacedAt& p) { return o << "(" << p.left << ", " << p.top << ")"; }

struct PlacementSetup {
  TLexaSpell3Base::TSpellDialogInitialPos initial = TLexaSpell3Base::ipIgnore;
  TLexaSpell3Base::TSpellDialogAvoidPos avoid = TLexaSpell3Base::saNone;
  bool immediate = false;
  TParserRect control{}, word{};
  // Where the dialog form stands when it is made (the component asks for
  // it through OnCreateSpellDialog).
  PlacedAt made{0, 0};
};

// Runs a check until the dialog shows, answers where it stands, cancels.
PlacedAt PlaceSpellDialogOfRun(const PlacementSetup& setup, int* userPlacements = nullptr) {
  ScratchSpell s("spell-dlg-place");
  s.spell.DialogInitialPos = setup.initial;
  s.spell.DialogSelectionAvoid = setup.avoid;
  s.spell.DialogShowImmediate = setup.immediate;
  s.spell.OnCreateSpellDialog = [&](void*, vcl::TCustomForm*& form, bool create) {
    if (!create) {
      form->Release();
      return;
    }
    form = new TSpellDialog(vcl::Application);
    form->SetBounds(setup.made.left, setup.made.top, form->Width(), form->Height());
  };
  s.spell.OnPositionDialog = [&](void*) {
    if (userPlacements) ++*userPlacements;
    vcl::TCustomForm* f = s.spell.SpellDialogForm();
    f->SetBounds(37, 41, f->Width(), f->Height());
  };
  std::string text = "A wrold.";
  NamedControlStringParser parser(&text, nullptr);
  parser.controlRect = setup.control;
  parser.wordRect = setup.word;
  s.spell.CheckParser(&parser, 2);
  Pump();
  vcl::TCustomForm* f = s.spell.SpellDialogForm();
  EXPECT_NE(f, nullptr);
  const PlacedAt at = f ? PlacedAt{f->Left(), f->Top()} : PlacedAt{-1, -1};
  s.spell.CancelCheck();
  Pump();
  return at;
}

// The spell dialog's outer size, as the placement sees it.
vcl::TPoint SpellDialogOuterSize() {
  std::unique_ptr<TSpellDialog, FreeForm> f(new TSpellDialog(vcl::Application));
  return {f->Width(), f->Height()};
}

TParserRect RectAt(Integer left, Integer top, Integer right, Integer bottom) {
  TParserRect r{};
  r.Left = left;
  r.Top = top;
  r.Right = right;
  r.Bottom = bottom;
  return r;
}

}  // namespace

TEST(SpellDialogPlacement, EachInitialPositionPlacesTheDialog) {
  const vcl::TRect m = vcl::Screen->MonitorBoundsRect(vcl::TRect{0, 0, 10, 10});
  const vcl::TPoint size = SpellDialogOuterSize();
  const Integer w = size.X, h = size.Y;
  ASSERT_GT(m.Width(), w + 200);
  ASSERT_GT(m.Height(), h + 200);
  const PlacedAt centred{m.Left + (m.Width() - w) / 2, m.Top + (m.Height() - h) / 2};
  const PlacedAt made{m.Left + 60, m.Top + 70};
  const TParserRect word = RectAt(m.Left + 50, m.Top + 50, m.Left + 90, m.Top + 65);
  // Control rectangles that leave room below, only to the right, only
  // above, only to the left, and none.
  const TParserRect topLeft = RectAt(m.Left + 20, m.Top + 20, m.Left + 120, m.Top + 80);
  const TParserRect lowLeft = RectAt(m.Left + 20, m.Bottom - 60, m.Left + 120, m.Bottom - 10);
  const TParserRect lowRight = RectAt(m.Right - 100, m.Bottom - 60, m.Right - 10, m.Bottom - 10);
  const TParserRect rightColumn = RectAt(m.Right - 100, m.Top + 10, m.Right - 10, m.Bottom - 10);
  const TParserRect whole = RectAt(m.Left, m.Top, m.Right, m.Bottom);

  using S = TLexaSpell3Base;
  struct Case {
    const char* name;
    PlacementSetup setup;
    PlacedAt expected;
  };
  const Case cases[] = {
      {"screen centre", {S::ipScreenCenter, S::saNone, false, {}, word, made}, centred},
      {"desktop centre", {S::ipDesktopCenter, S::saNone, false, {}, word, made}, centred},
      {"under the selection", {S::ipUnderSelection, S::saNone, false, {}, word, made}, {word.Left, word.Bottom}},
      // Shown before the first word there is no selection to go under.
      {"under the selection, immediate", {S::ipUnderSelection, S::saNone, true, {}, word, made}, made},
      {"ignored", {S::ipIgnore, S::saNone, false, topLeft, word, made}, made},
      {"below the control", {S::ipAvoidControl, S::saNone, false, topLeft, word, made},
       {topLeft.Left, topLeft.Bottom}},
      // Right of it, top-aligned, then pulled up onto the monitor.
      {"right of the control", {S::ipAvoidControl, S::saNone, false, lowLeft, word, made},
       {lowLeft.Right, m.Bottom - h}},
      // Above it, left-aligned, then pulled left onto the monitor.
      {"above the control", {S::ipAvoidControl, S::saNone, false, lowRight, word, made},
       {m.Right - w, lowRight.Top - h}},
      {"left of the control", {S::ipAvoidControl, S::saNone, false, rightColumn, word, made},
       {rightColumn.Left - w, rightColumn.Top}},
      {"no room: off the word", {S::ipAvoidControl, S::saNone, false, whole, word, made}, {word.Left, word.Bottom}},
      {"no room, immediate: centred on the control", {S::ipAvoidControl, S::saNone, true, whole, word, made},
       centred},
      // Without a control rectangle the monitor stands for it.
      {"no control rectangle: off the word", {S::ipAvoidControl, S::saNone, false, {}, word, made},
       {word.Left, word.Bottom}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceSpellDialogOfRun(c.setup), c.expected);
  }

  int placements = 0;
  PlacementSetup user{S::ipUserDefined, S::saNone, false, topLeft, word, made};
  EXPECT_EQ(PlaceSpellDialogOfRun(user, &placements), (PlacedAt{37, 41}));
  EXPECT_EQ(placements, 1);
}

TEST(SpellDialogPlacement, EachAvoidSettingKeepsTheDialogOffTheWord) {
  const vcl::TRect m = vcl::Screen->MonitorBoundsRect(vcl::TRect{0, 0, 10, 10});
  const PlacedAt made{m.Left + 200, m.Top + 200};
  const TParserRect over = RectAt(made.left + 10, made.top + 10, made.left + 50, made.top + 25);
  const TParserRect apart = RectAt(m.Left + 10, m.Top + 10, m.Left + 50, m.Top + 25);
  using S = TLexaSpell3Base;
  struct Case {
    const char* name;
    S::TSpellDialogAvoidPos avoid;
    TParserRect word;
    PlacedAt expected;
  };
  const Case cases[] = {
      {"none, over the word", S::saNone, over, made},
      {"avoid, apart", S::saAvoid, apart, made},
      {"avoid, over the word", S::saAvoid, over, {over.Left, over.Bottom}},
      {"move, apart", S::saMove, apart, {apart.Left, apart.Bottom}},
      {"avoid up-down, apart", S::saAvoidUpDown, apart, made},
      {"avoid up-down, over the word", S::saAvoidUpDown, over, {made.left, over.Bottom}},
      {"move up-down, apart", S::saMoveUpDown, apart, {made.left, apart.Bottom}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlacementSetup setup{S::ipIgnore, c.avoid, false, {}, c.word, made};
    EXPECT_EQ(PlaceSpellDialogOfRun(setup), c.expected);
  }
}

TEST(SpellDialogPlacement, TheRememberedPositionComesBackOnTheMonitor) {
  const vcl::TRect m = vcl::Screen->MonitorBoundsRect(vcl::TRect{0, 0, 10, 10});
  const vcl::TPoint size = SpellDialogOuterSize();
  ScratchSpell s("spell-dlg-remember");
  ASSERT_EQ(s.spell.DialogInitialPos, TLexaSpell3Base::ipLastUserPos);
  s.spell.DialogSelectionAvoid = TLexaSpell3Base::saNone;
  std::string text = "A wrold.";
  NamedControlStringParser parser(&text, nullptr);
  parser.controlRect = RectAt(m.Left + 20, m.Top + 20, m.Left + 120, m.Top + 80);
  auto runUntilDialog = [&]() -> vcl::TCustomForm* {
    parser.SetPosition(1, 0, 0);
    s.spell.CheckParser(&parser, 2);
    Pump();
    return s.spell.SpellDialogForm();
  };

  // Nothing remembered yet: the dialog keeps off the checked control.
  vcl::TCustomForm* f = runUntilDialog();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ((PlacedAt{f->Left(), f->Top()}), (PlacedAt{m.Left + 20, m.Top + 80}));
  // The user moves it; the end of the run remembers where it stood.
  f->SetBounds(m.Left + 150, m.Top + 120, f->Width(), f->Height());
  s.spell.CancelCheck();
  Pump();
  EXPECT_EQ(s.spell.Config().GetDialogX(), m.Left + 150);
  EXPECT_EQ(s.spell.Config().GetDialogY(), m.Top + 120);

  f = runUntilDialog();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ((PlacedAt{f->Left(), f->Top()}), (PlacedAt{m.Left + 150, m.Top + 120}));
  s.spell.CancelCheck();
  Pump();

  // A position off the monitor (another monitor since unplugged) is pulled
  // back onto it.
  s.spell.Config().SetDialogX(m.Right + 500);
  s.spell.Config().SetDialogY(m.Bottom + 500);
  f = runUntilDialog();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ((PlacedAt{f->Left(), f->Top()}), (PlacedAt{m.Right - size.X, m.Bottom - size.Y}));
  s.spell.CancelCheck();
  Pump();
}
