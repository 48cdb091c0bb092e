// The tag dialog on its form: laid out as the palette's dialogs are, every
// parameter kind edited with its own editor through synthetic Qt keys, the
// values stored as the tag needs them, refusals keeping the editor on its
// cell, and the tags built from it read back by the page conversion and
// found whole by the simulator's pattern.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "FormsTestSupport.h"
#include "core/DeviceSimulatorU.h"
#include "core/KnRegExU.h"
#include "core/VormekCmdU.h"
#include "core/VormekWebParserU.h"
#include "core/forms/CoreFormsU.h"
#include "core/forms/CustTagEditU.h"
#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "vcl/StdCtrls.h"

using namespace core;
using namespace forms_test;

namespace {

// Installs the real dialog, counting how often core asks for it.
struct TInstalledDialog {
  int shown = 0;
  TInstalledDialog() {
    InstallCoreForms();
    TShowTagDialog real = ShowTagDialog();
    SetShowTagDialog([this, real](const AnsiString& title, TcustomTagParams& params) {
      ++shown;
      return real(title, params);
    });
  }
  ~TInstalledDialog() { SetShowTagDialog(nullptr); }
};

// What a user does in the open dialog.
struct TDialogUser {
  TfrmCustTagEdit* form;
  grid::TVadOdizadEzev* grid() const { return form->ParamsTable; }

  // Moves to the value cell of a shown row and opens its editor with F2.
  vcl::TWinControl* OpenEditor(Integer row) {
    grid()->SetCol(2);
    grid()->SetRow(row);
    KeyTo(grid(), Qt::Key_F2);
    Pump();
    if (vcl::TWinControl* c = grid()->ActiveEditorControl()) return c;
    return grid()->InplaceEditor();
  }
  // Replaces the text of the row's value with typed keys and presses Enter.
  vcl::TWinControl* Type(Integer row, const std::string& text) {
    vcl::TWinControl* editor = OpenEditor(row);
    EXPECT_NE(editor, nullptr);
    if (!editor) return nullptr;
    KeyTo(editor, Qt::Key_A, Qt::ControlModifier);
    KeyTo(editor, Qt::Key_Delete);
    if (!text.empty()) TypeTo(editor, text);
    KeyTo(editor, Qt::Key_Return);
    Pump();
    return editor;
  }
  // Chooses an entry of the row's drop-down list by its text, with the
  // arrow keys, and presses Enter.
  void Choose(Integer row, const std::string& text) {
    vcl::TWinControl* editor = OpenEditor(row);
    auto* combo = dynamic_cast<grid::TGridCombo*>(editor);
    ASSERT_NE(combo, nullptr);
    const Integer target = combo->Items()->IndexOf(text);
    ASSERT_GE(target, 0) << text;
    while (combo->ItemIndex() < target) KeyTo(combo, Qt::Key_Down);
    while (combo->ItemIndex() > target) KeyTo(combo, Qt::Key_Up);
    KeyTo(combo, Qt::Key_Return);
    Pump();
  }
  std::vector<AnsiString> Offered(Integer row) {
    auto* combo = dynamic_cast<grid::TGridCombo*>(OpenEditor(row));
    std::vector<AnsiString> items;
    if (combo)
      for (Integer i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
    KeyTo(grid()->ActiveEditorControl() ? grid()->ActiveEditorControl() : grid(), Qt::Key_Escape);
    Pump();
    return items;
  }
  void Ok() { ClickOn(form->OkButt); }
  void Cancel() { ClickOn(form->Button2); }
};

// Runs script inside the next tag dialog that opens.
void WhenDialogOpens(std::function<void(TDialogUser&)> script) {
  Later([script] {
    auto* form = OpenForm<TfrmCustTagEdit>();
    if (form == nullptr) {
      ADD_FAILURE() << "no tag dialog open";
      return;
    }
    TDialogUser user{form};
    script(user);
    // A script that left the dialog open ends it, so the test goes on.
    if (form->Visible() && form->ModalResult() == vcl::mrNone) user.Cancel();
  });
}

// The tag as the simulator's search finds it: the whole text.
bool SimulatorFindsWhole(const AnsiString& tag) {
  TKnRegEx re;
  re.SetIgnoreCase(true);
  re.MatchPattern()->Add(kSimulatorTagPattern);
  TKnMatchPos pos;
  const AnsiString text = "<p>" + tag + "</p>";
  return re.FindMatch(text, pos) && pos.FirstIndex == 4 && static_cast<size_t>(pos.MatchLength) == tag.size();
}

}  // namespace

TEST(TagDialog, FormLayout) {
  auto* form = vcl::Create<TfrmCustTagEdit>(nullptr);
  std::unique_ptr<TfrmCustTagEdit, void (*)(TfrmCustTagEdit*)> guard(form, [](TfrmCustTagEdit* f) { vcl::Free(f); });
  form->LoadParams(VormekTagTemplate(vtPinAnalogCalc));
  form->SetCaption("Insert Tag PIN X Analog[*a][/b][+c][-d],p");
  EXPECT_EQ(form->ClientWidth(), 621);
  EXPECT_EQ(form->ClientHeight(), 297);
  EXPECT_EQ(form->BorderStyle(), vcl::TFormBorderStyle::bsSingle);
  EXPECT_EQ(form->Position(), vcl::poScreenCenter);
  EXPECT_EQ(form->Font()->Name(), "Tahoma");
  EXPECT_TRUE(form->FormatMask->Font()->Style().Contains(vcl::fsBold));
  EXPECT_EQ(form->FormatMask->Caption(), "<!--(PIN X ANALOG*A/B+C-D, P)-->");
  EXPECT_EQ(form->Desc->Caption(), "The element is replaced by a number representing the calculation result.");
  auto* g = form->ParamsTable;
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->RowCount(), 7);
  EXPECT_EQ(g->FixedCols(), 0);
  EXPECT_EQ(g->FixedRows(), 1);
  EXPECT_EQ(g->ColWidths(0), 64);
  EXPECT_EQ(g->ColWidths(1), 349);
  EXPECT_EQ(g->ColWidths(2), 172);
  EXPECT_EQ(g->RowHeights(3), 21);
  EXPECT_EQ(g->Cells(0, 0), "Name");
  EXPECT_EQ(g->Cells(1, 0), "Description");
  EXPECT_EQ(g->Cells(2, 0), "Value");
  // Default shown, a value when there is one.
  EXPECT_EQ(g->Cells(0, 1), "X");
  EXPECT_EQ(g->Cells(1, 1), "Pin number");
  EXPECT_EQ(g->Cells(2, 1), "1");
  EXPECT_EQ(g->Cells(0, 6), "p");
  EXPECT_EQ(g->Cells(2, 6), "0");
  EXPECT_EQ(g->Cells(2, 2), "");
  EXPECT_EQ(form->OkButt->Caption(), "Ok");
  EXPECT_EQ(form->Button2->Caption(), "Cancel");
  form->Show();
  const QImage img = GrabForm(form, "coreforms-tag-dialog.png");
  EXPECT_FALSE(img.isNull());
}

TEST(TagDialog, LowOrHighThatIsNoNumberRaisesBeforeShowing) {
  TInstalledDialog installed;
  TcustomTagParams params = VormekTagTemplate(vtIfPinEqual);
  params.Params[1].Value = "x";
  EXPECT_THROW(ShowTagDialog()("Edit Tag If PIN x=n", params), rtl::EConvertError);
  EXPECT_EQ(OpenForm<TfrmCustTagEdit>(), nullptr);
}

// The edge cases of the palette's kinds, each through the real dialog.
TEST(TagDialog, KindsEditedThroughTheirEditors) {
  struct Case {
    const char* what;
    Integer type;
    std::function<void(TDialogUser&)> script;  // null: no dialog expected
    const char* wantTag;
    const char* wantPage;
  };
  const std::vector<Case> cases = {
      {"only X and p filled", vtPinAnalogCalc,
       [](TDialogUser& u) {
         u.Type(1, "7");
         u.Type(6, "2");
         // An optional value typed and taken back again is accepted empty.
         u.Type(2, "3");
         u.Type(2, "");
         EXPECT_EQ(u.grid()->Cells(2, 2), "");
         EXPECT_EQ(u.form->Params().Params[1].Value, "");
         u.Ok();
       },
       "<#_zelbe54f7mdl type=\"2\" X=\"7\" p=\"2\" />", "<!--(PIN 7 ANALOG,2)-->"},
      {"Else without a dialog", vtElse, nullptr, "<#_zelbe54f7mdl type=\"9\" />", "<!--(ELSE)-->"},
      {"EndIF without a dialog", vtEndIf, nullptr, "<#_zelbe54f7mdl type=\"10\" />", "<!--(ENDIF)-->"},
      {"IF PIN = hides its operator", vtIfPinEqual,
       [](TDialogUser& u) {
         EXPECT_EQ(u.grid()->RowCount(), 3) << "the operator row is hidden";
         EXPECT_EQ(u.grid()->Cells(0, 2), "a");
         EXPECT_EQ(u.grid()->Cells(2, 2), "High");
         EXPECT_EQ(u.Offered(2), (std::vector<AnsiString>{"Low", "High"}));
         u.Choose(2, "Low");
         EXPECT_EQ(u.form->Params().Params[1].Value, "0");
         u.Choose(2, "High");
         EXPECT_EQ(u.form->Params().Params[1].Value, "1");
         u.Choose(2, "Low");
         u.Type(1, "12");
         u.Ok();
       },
       "<#_zelbe54f7mdl type=\"6\" x=\"12\" a=\"0\" OPT=\"3\" />", "<!--(IF PIN 12 = 0)-->"},
      {"IF PIN < offers two operators", vtIfPinCompare,
       [](TDialogUser& u) {
         EXPECT_EQ(u.Offered(2), (std::vector<AnsiString>{"<", ">"}));
         u.Choose(2, ">");
         EXPECT_EQ(u.form->Params().Params[1].Value, "5");
         u.Type(3, "2.5");
         u.Ok();
       },
       "<#_zelbe54f7mdl type=\"7\" x=\"1\" OPT=\"5\" a=\"2.5\" />", "<!--(IF PIN 1 > 2.5)-->"},
      {"IF KEY starts at not equal", vtIfKey,
       [](TDialogUser& u) {
         EXPECT_EQ(u.grid()->Cells(2, 2), "!=");
         EXPECT_EQ(u.form->Params().Params[1].Value, "0");
         EXPECT_TRUE(u.grid()->HasComboBox(2, 2));
         EXPECT_FALSE(u.grid()->HasComboBox(2, 1));
         EXPECT_EQ(u.Offered(2), (std::vector<AnsiString>{"<", "=", ">", "<=", ">=", "!="}));
         u.Type(1, "REG5");
         u.Type(3, "9");
         u.Ok();
       },
       nullptr, "<!--(IF REG5 != 9)-->"},
  };
  TInstalledDialog installed;
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    installed.shown = 0;
    if (c.script) WhenDialogOpens(c.script);
    AnsiString tag;
    ASSERT_TRUE(list.Items(c.type)->InsertTag(parser, tag));
    EXPECT_EQ(installed.shown, c.script ? 1 : 0);
    if (c.wantTag) {
      EXPECT_EQ(tag, c.wantTag);
    }
    EXPECT_EQ(parser.EditorToPage(tag), c.wantPage);
    EXPECT_TRUE(SimulatorFindsWhole(tag)) << tag;
    Pump();
  }
}

TEST(TagDialog, RefusedValuesKeepTheEditorOnTheCell) {
  TInstalledDialog installed;
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  WhenDialogOpens([](TDialogUser& u) {
    vcl::TWinControl* editor = u.Type(1, "18");
    EXPECT_EQ(u.grid()->ActiveEditorControl(), editor) << "a pin 18 is refused";
    EXPECT_EQ(u.grid()->Row(), 1);
    KeyTo(editor, Qt::Key_Escape);
    Pump();
    EXPECT_EQ(u.grid()->Cells(2, 1), "1");
    editor = u.Type(3, "6");
    EXPECT_EQ(u.grid()->ActiveEditorControl(), editor) << "6 lies outside 0 to 5";
    KeyTo(editor, Qt::Key_Escape);
    Pump();
    u.Type(3, "4.75");
    EXPECT_EQ(u.grid()->ActiveEditorControl(), nullptr);
    EXPECT_EQ(u.grid()->Cells(2, 3), "4.75");
    u.Ok();
  });
  AnsiString tag;
  ASSERT_TRUE(list.Items(vtIfPinCompare)->InsertTag(parser, tag));
  EXPECT_EQ(parser.EditorToPage(tag), "<!--(IF PIN 1 < 4.75)-->");
}

TEST(TagDialog, RequiredValueMissingKeepsTheDialogOpen) {
  TInstalledDialog installed;
  TBoxRecorder boxes;
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  bool stayedOpen = false;
  WhenDialogOpens([&](TDialogUser& u) {
    u.Ok();
    Pump();
    stayedOpen = u.form->Visible() && u.form->ModalResult() == vcl::mrNone;
    u.Type(1, "EMAIL_TO");
    u.Ok();
    Pump();
    EXPECT_EQ(boxes.boxes.size(), 2u) << "Value is still missing";
    u.Type(2, "me@example.org");
    u.Ok();
  });
  AnsiString tag;
  ASSERT_TRUE(list.Items(vtExec)->InsertTag(parser, tag));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(boxes.Texts(), (std::vector<AnsiString>{"Value for Key is required.", "Value for Value is required."}));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].Type, vcl::mtError);
  EXPECT_EQ(boxes.beeps, (std::vector<rtl::Cardinal>{vcl::MB_ICONHAND, vcl::MB_ICONHAND}));
  EXPECT_EQ(parser.EditorToPage(tag), "<!--(EXEC EMAIL_TO=me@example.org)-->");
  EXPECT_TRUE(SimulatorFindsWhole(tag));
}

TEST(TagDialog, EditFindsNamesWithoutRegardToCaseAndCancelKeepsTheLines) {
  TInstalledDialog installed;
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  rtl::TStringList lines;
  lines.Add("type=\"12\"");
  lines.Add("KEY=\"SSN\"");
  AnsiString shownKey;
  WhenDialogOpens([&](TDialogUser& u) {
    EXPECT_EQ(u.form->Caption(), "Edit Tag READ KEY");
    shownKey = u.grid()->Cells(2, 1);
    u.Cancel();
  });
  AnsiString tag;
  EXPECT_FALSE(list.EditTag(lines, parser, tag));
  EXPECT_EQ(shownKey, "SSN");
  EXPECT_EQ(lines.Count(), 2);

  WhenDialogOpens([&](TDialogUser& u) {
    u.Type(1, "VER");
    u.Ok();
  });
  ASSERT_TRUE(list.EditTag(lines, parser, tag));
  EXPECT_EQ(parser.EditorToPage(tag), "<!--(READ VER)-->");
  EXPECT_EQ(lines.Strings(0), "Key=\"VER\"");
  EXPECT_TRUE(SimulatorFindsWhole(tag));
}
