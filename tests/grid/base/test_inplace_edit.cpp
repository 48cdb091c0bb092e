// The grid's own in-place editor under real key events: the characters
// each editor type takes, the length limit, pasting, lookup completion and
// the password character.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "grid/GridComponent.h"
#include "grid/GridInplaceEdit.h"
#include "grid/model/GridEnvironment.h"
#include "vcl/Clipbrd.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TEditorGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TEditorType type = edNormal;
  TEditorGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    grid->OnGetEditorType = [this](vcl::TObject*, Integer, Integer, TEditorType& editor) { editor = type; };
    form->Show();
    grid->SetFocus();
  }
  ~TEditorGrid() { vcl::Free(form); }

  TLumInplaceEdit* Open(TEditorType editor, const char* start = "") {
    if (grid->EditorMode()) grid->Perform(vcl::WM_KEYDOWN, vcl::VK_ESCAPE, 0);
    type = editor;
    grid->SetCol(1);
    grid->SetRow(1);
    grid->SetCells(1, 1, start);
    grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
    TLumInplaceEdit* edit = grid->LumInplaceEditor();
    EXPECT_NE(edit, nullptr);
    EXPECT_TRUE(grid->EditorMode());
    // The caret after the text, nothing selected.
    edit->SetSelStart(static_cast<Integer>(edit->Text().size()));
    edit->SetSelLength(0);
    return edit;
  }

  // Key presses and releases as the keyboard sends them.
  static void Type(TLumInplaceEdit* edit, const QString& text) {
    for (QChar ch : text) {
      const int key = ch == '\b' ? Qt::Key_Backspace : ch == ' ' ? Qt::Key_Space : 0;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit->Widget(), &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit->Widget(), &release);
    }
    vcl::Application->ProcessMessages();
  }
};

}  // namespace

TEST(GridInplaceEdit, TypedCharactersFollowTheEditorType) {
  TEditorGrid g;
  struct Case {
    TEditorType editor;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {edNormal, "a-1.x", "a-1.x"},
      {edNumeric, "-5-a6", "-56"},
      {edNumeric, "5-", "5"},
      {edPositiveNumeric, "-12+3", "123"},
      {edUpperCase, "abC", "ABC"},
      {edCapital, "ab", "AB"},
      {edLowerCase, "AbC", "abc"},
      {edMixedCase, "hello wORLD", "Hello World"},
      {edFloat, "-1.5.2e", "-1.52"},
      {edFloat, "1,000.5", "1000.5"},
  };
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    TLumInplaceEdit* edit = g.Open(k.editor);
    TEditorGrid::Type(edit, k.typed);
    EXPECT_EQ(edit->Text(), k.shown);
    // The cell follows the editor as it is typed.
    EXPECT_EQ(g.grid->Cells(1, 1), k.shown);
  }
}

TEST(GridInplaceEdit, FloatSeparatorsOfACommaLocale) {
  TEditorGrid g;
  FixedLocaleSettings eu;
  eu.Decimal = ',';
  eu.Thousand = '.';
  ScopedLocale scope(eu);
  TLumInplaceEdit* edit = g.Open(edFloat);
  TEditorGrid::Type(edit, "1.234,5,6");
  EXPECT_EQ(edit->Text(), "1234,56");
  // With the ',' selected a new one replaces it.
  edit->SetSelStart(4);
  edit->SetSelLength(1);
  TEditorGrid::Type(edit, ",");
  EXPECT_EQ(edit->Text(), "1234,56");
}

TEST(GridInplaceEdit, ValidCharactersAndTheLengthLimit) {
  TEditorGrid g;
  g.grid->ValidChars = "ABC";
  TLumInplaceEdit* edit = g.Open(edValidChars);
  TEditorGrid::Type(edit, "ABDCa");
  EXPECT_EQ(edit->Text(), "ABC");
  TEditorGrid::Type(edit, "\b");
  EXPECT_EQ(edit->Text(), "AB");
  // The grid's set stands in for an empty ValidChars.
  g.grid->ValidChars.clear();
  g.grid->ValidCharSet.set('x');
  edit = g.Open(edValidChars);
  TEditorGrid::Type(edit, "xyx");
  EXPECT_EQ(edit->Text(), "xx");

  g.grid->SetMaxEditLength(5);
  edit = g.Open(edNormal);
  EXPECT_EQ(edit->LengthLimit, 5);
  TEditorGrid::Type(edit, "abcdefg");
  EXPECT_EQ(edit->Text(), "abcde");
  TEditorGrid::Type(edit, "\b");
  EXPECT_EQ(edit->Text(), "abcd");
  // A paste longer than the limit is refused.
  vcl::Clipboard()->SetAsText("123456");
  edit->Perform(vcl::WM_PASTE);
  EXPECT_EQ(edit->Text(), "abcd");
}

TEST(GridInplaceEdit, PastesAreMergedAndCheckedByType) {
  TEditorGrid g;
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  std::vector<std::string> events;
  g.grid->OnClipboardBeforePasteCell = [&](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool&) {
    events.push_back("before " + std::to_string(col) + "," + std::to_string(row) + " " + value);
  };
  g.grid->OnClipboardAfterPasteCell = [&](vcl::TObject*, Integer, Integer, const AnsiString& value) {
    events.push_back("after " + value);
  };
  struct Case {
    TEditorType editor;
    const char* start;
    const char* pasted;
    const char* result;
  };
  const Case cases[] = {
      {edNumeric, "", "-12", "-12"},
      // A positive numeric cell takes digits only, as its typing does.
      {edPositiveNumeric, "", "-12", ""},
      {edPositiveNumeric, "1", "23", "123"},
      {edFloat, "2", ".5", "2.5"},
      {edFloat, "2", "x", "2"},
      {edUpperCase, "a", "bc", "ABC"},
      {edNormal, "x", "line\r\n", "xline"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.pasted);
    TLumInplaceEdit* edit = g.Open(k.editor, k.start);
    vcl::Clipboard()->SetAsText(k.pasted);
    events.clear();
    edit->Perform(vcl::WM_PASTE);
    EXPECT_EQ(edit->Text(), k.result);
    EXPECT_EQ(g.grid->Cells(1, 1), k.result);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::string("before 1,1 ") + k.pasted);
  }
  // The owner may refuse the paste.
  g.grid->OnClipboardPaste = [](vcl::TObject*, bool& allow) { allow = false; };
  TLumInplaceEdit* edit = g.Open(edNormal, "kept");
  vcl::Clipboard()->SetAsText("other");
  edit->Perform(vcl::WM_PASTE);
  EXPECT_EQ(edit->Text(), "kept");
}

TEST(GridInplaceEdit, LookupCompletesTypedText) {
  TEditorGrid g;
  g.grid->Lookup = true;
  g.grid->LookupItems()->Add("Apple");
  g.grid->LookupItems()->Add("Apricot");
  TLumInplaceEdit* edit = g.Open(edNormal);
  TEditorGrid::Type(edit, "a");
  EXPECT_EQ(edit->Text(), "apple");
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 4);
  // Backspace takes the completion away and completes nothing.
  TEditorGrid::Type(edit, "\b");
  EXPECT_EQ(edit->Text(), "a");
  EXPECT_FALSE(edit->AutoCompleteAllowed());
  TEditorGrid::Type(edit, "pr");
  EXPECT_EQ(edit->Text(), "apricot");
  EXPECT_EQ(edit->SelLength(), 4);
  // Case-sensitive lookup needs the items' case.
  g.grid->LookupCaseSensitive = true;
  edit = g.Open(edNormal);
  TEditorGrid::Type(edit, "a");
  EXPECT_EQ(edit->Text(), "a");
  TEditorGrid::Type(edit, "\bA");
  EXPECT_EQ(edit->Text(), "Apple");
}

TEST(GridInplaceEdit, PasswordCellsShowThePasswordCharacter) {
  TEditorGrid g;
  TLumInplaceEdit* edit = g.Open(edPassword, "secret");
  EXPECT_EQ(edit->PasswordChar(), '*');
  edit = g.Open(edNormal, "plain");
  EXPECT_EQ(edit->PasswordChar(), 0);
  g.grid->PasswordChar = '#';
  edit = g.Open(edPassword, "x");
  EXPECT_EQ(edit->PasswordChar(), '#');
}
