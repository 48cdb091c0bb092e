// The search footer on a grid of words from the system's word list:
// typing finds the first match and moves the current cell, the buttons and
// Enter step through the matches, match case, a miss turning the field red
// and reporting (-1, -1), the highlight marking and un-marking every match
// with the texts back exactly, closing, and the panel's pixels with its
// buttons themed and classic (grabbed in the build folder).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/GridSearch.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"
#include "vcl/UxTheme.h"

using namespace grid;

namespace {

std::vector<std::string> Words() {
  std::vector<std::string> words;
  std::ifstream in("/usr/share/dict/american-english");
  std::string w;
  // Every 400th plain word: a few hundred words from the whole alphabet.
  for (int i = 0; std::getline(in, w); ++i)
    if (i % 400 == 0 && w.find('\'') == std::string::npos) words.push_back(w);
  return words;
}

struct SearchForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> words = Words();
  std::vector<std::tuple<std::string, Integer, Integer, TSearchAction>> actions;
  SearchForm() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 560, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 540, 280);
    grid->SetColCount(4);
    const Integer rows = static_cast<Integer>(words.size() / 3);
    grid->SetRowCount(rows + 1);
    grid->SetDefaultColWidth(120);
    for (Integer r = 0; r < rows; ++r) {
      grid->SetCells(0, r + 1, std::to_string(r + 1));
      for (Integer c = 1; c < 4; ++c) grid->SetCells(c, r + 1, words[r * 3 + c - 1]);
    }
    grid->OnSearchFooterAction = [this](vcl::TObject*, const AnsiString& v, Integer c, Integer r, TSearchAction a) {
      actions.emplace_back(v, c, r, a);
    };
    form->Show();
    grid->SearchFooter()->Visible = true;
    grid->UpdateSearchPanel();
    vcl::Application->ProcessMessages();
  }
  ~SearchForm() { vcl::Free(form); }
  TSearchPanel* Panel() { return grid->SearchPanel(); }
  // Typed characters as the keyboard sends them.
  void Type(const std::string& text) {
    for (char ch : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(ch)));
      QApplication::sendEvent(Panel()->Edit()->Widget(), &press);
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(QChar(ch)));
      QApplication::sendEvent(Panel()->Edit()->Widget(), &release);
    }
    vcl::Application->ProcessMessages();
  }
  void Click(vcl::TControl* c) { grid_test::Click(c, 5, 5); }
  // The cells holding the text (case ignored), column by column.
  std::vector<TCellCoord> Matches(const std::string& text) {
    std::vector<TCellCoord> out;
    auto upper = [](std::string s) {
      for (char& ch : s) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
      return s;
    };
    for (Integer c = 1; c < grid->ColCount(); ++c)
      for (Integer r = 1; r < grid->RowCount(); ++r)
        if (upper(grid->Cells(c, r)).find(upper(text)) != std::string::npos) out.push_back({c, r});
    return out;
  }
};

}  // namespace

TEST(GridSearchFooter, TypingFindsAndButtonsStep) {
  SearchForm f;
  ASSERT_GT(f.words.size(), 100u) << "the word list (wamerican) is missing";
  TSearchPanel* p = f.Panel();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Visible());
  EXPECT_EQ(p->Height(), 32);
  EXPECT_FALSE(p->FindNextButton()->Enabled());  // nothing typed
  f.Type("an");
  EXPECT_EQ(p->Edit()->Text(), "an");
  EXPECT_TRUE(p->FindNextButton()->Enabled());
  const std::vector<TCellCoord> matches = f.Matches("an");
  ASSERT_GT(matches.size(), 3u);
  EXPECT_EQ(f.grid->Col(), matches[0].X);
  EXPECT_EQ(f.grid->Row(), matches[0].Y);
  EXPECT_EQ(p->Edit()->Color(), vcl::clWindow);
  ASSERT_EQ(f.actions.size(), 2u);  // "a", then "an"
  EXPECT_EQ(f.actions.back(), std::make_tuple(std::string("an"), matches[0].X, matches[0].Y, saFindFirst));

  // Find next through every match, then (-1, -1), then the first again.
  f.actions.clear();
  std::vector<TCellCoord> stepped;
  for (size_t i = 1; i <= matches.size() + 1; ++i) {
    p->FindNextButton()->Click();
    stepped.push_back({std::get<1>(f.actions.back()), std::get<2>(f.actions.back())});
  }
  std::vector<TCellCoord> expected(matches.begin() + 1, matches.end());
  expected.push_back({-1, -1});
  expected.push_back(matches[0]);
  EXPECT_EQ(stepped, expected);
  EXPECT_EQ(std::get<3>(f.actions.back()), saFindNext);
  EXPECT_EQ(f.grid->Row(), matches[0].Y);
  // Enter in the field is find next; find previous steps back.
  p->Edit()->Perform(vcl::WM_KEYDOWN, vcl::VK_RETURN, 0);
  EXPECT_EQ(f.grid->LastFoundCell(), matches[1]);
  p->FindPrevButton()->Click();
  EXPECT_EQ(f.grid->LastFoundCell(), matches[0]);
  EXPECT_EQ(std::get<3>(f.actions.back()), saFindPrevious);

  // A miss: red field, (-1, -1), the current cell where it was.
  const Integer row = f.grid->Row();
  f.Type("qqq");
  EXPECT_EQ(p->Edit()->Color(), TColor(0x0000FF));
  EXPECT_EQ(f.actions.back(), std::make_tuple(std::string("anqqq"), -1, -1, saFindFirst));
  EXPECT_EQ(f.grid->Row(), row);
  p->Edit()->SetText("");
  EXPECT_EQ(p->Edit()->Color(), vcl::clWindow);
  EXPECT_FALSE(p->HighlightButton()->Enabled());
}

TEST(GridSearchFooter, MatchCaseHighlightWildcardsAndClose) {
  SearchForm f;
  TSearchPanel* p = f.Panel();
  // A word in capitals in one cell only.
  f.grid->SetCells(2, 5, "ZEBRA crossing");
  f.grid->SetCells(3, 9, "zebra");
  p->MatchCaseBox()->SetChecked(true);
  p->Edit()->SetText("ZEBRA");
  EXPECT_EQ(f.grid->Col(), 2);
  EXPECT_EQ(f.grid->Row(), 5);
  p->FindNextButton()->Click();
  EXPECT_EQ(f.grid->LastFoundCell(), (TCellCoord{-1, -1}));
  p->MatchCaseBox()->SetChecked(false);
  p->FindNextButton()->Click();
  EXPECT_EQ(f.grid->LastFoundCell(), (TCellCoord{2, 5}));
  p->FindNextButton()->Click();
  EXPECT_EQ(f.grid->LastFoundCell(), (TCellCoord{3, 9}));

  // Highlight every match, then back: each cell text exactly as before.
  std::vector<std::string> before;
  for (Integer r = 0; r < f.grid->RowCount(); ++r)
    for (Integer c = 0; c < 4; ++c) before.push_back(f.grid->Cells(c, r));
  p->Edit()->SetText("e");
  f.Click(p->HighlightButton());
  EXPECT_TRUE(p->HighlightButton()->Down());
  Integer marked = 0;
  for (Integer r = 1; r < f.grid->RowCount(); ++r)
    for (Integer c = 1; c < 4; ++c) marked += f.grid->Cells(c, r).find("<hi>") != std::string::npos;
  EXPECT_EQ(marked, static_cast<Integer>(f.Matches("e").size()));
  // With the marks on, find next still finds cells by their shown text.
  p->FindNextButton()->Click();
  EXPECT_NE(f.grid->LastFoundCell(), (TCellCoord{-1, -1}));
  f.Click(p->HighlightButton());
  std::vector<std::string> after;
  for (Integer r = 0; r < f.grid->RowCount(); ++r)
    for (Integer c = 0; c < 4; ++c) after.push_back(f.grid->Cells(c, r));
  EXPECT_EQ(after, before);

  // Wildcards through the grid's find routine.
  EXPECT_EQ(f.grid->FindCell({-1, -1}, "zeb*ing", fiWildcards), (TCellCoord{2, 5}));
  EXPECT_EQ(f.grid->FindCell({-1, -1}, "z?bra", fiWildcards | fiMatchFull), (TCellCoord{3, 9}));

  int closed = 0;
  f.grid->OnSearchFooterClose = [&](vcl::TObject*) { ++closed; };
  f.Click(p->CloseButton());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(f.grid->SearchFooter()->Visible);
  EXPECT_FALSE(p->Visible());
  EXPECT_EQ(p->Height(), 0);
}

TEST(GridSearchFooter, CtrlFAndAcceleratorsWhileShown) {
  SearchForm f;
  TSearchPanel* p = f.Panel();
  f.grid->SearchFooter()->HighLightCaption = "&Highlight";
  f.grid->UpdateSearchPanel();
  f.grid->SetFocus();
  vcl::Application->ProcessMessages();
  ASSERT_TRUE(f.grid->Focused());
  QKeyEvent ctrlF(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier);
  QApplication::sendEvent(f.grid->Widget(), &ctrlF);
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(p->Edit()->Focused());
  // Plain F in the grid leaves the focus where it is.
  f.grid->SetFocus();
  QKeyEvent plainF(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f");
  QApplication::sendEvent(f.grid->Widget(), &plainF);
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(f.grid->Focused());

  p->Edit()->SetText("an");
  const std::vector<TCellCoord> matches = f.Matches("an");
  ASSERT_GT(matches.size(), 3u);
  struct Case {
    const char* what;
    Word ch;
    vcl::LRESULT result;
    TCellCoord found;
    bool highlighted;
  };
  // "Find &next", "Find &previous", "&Highlight"; letters are matched
  // without case, as the class library's accelerators are.
  const std::vector<Case> cases = {
      {"n finds the next match", 'n', 1, matches[1], false},
      {"N as well", 'N', 1, matches[2], false},
      {"p the previous one", 'p', 1, matches[1], false},
      {"h switches the highlight on", 'h', 1, matches[1], true},
      {"and off", 'h', 1, matches[1], false},
      {"another letter is the form's", 'x', 0, matches[1], false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.grid->Perform(vcl::CM_DIALOGCHAR, c.ch, 0), c.result) << c.what;
    EXPECT_EQ(f.grid->LastFoundCell(), c.found) << c.what;
    EXPECT_EQ(p->HighlightButton()->Down(), c.highlighted) << c.what;
    EXPECT_EQ(f.grid->Cells(matches[0].X, matches[0].Y).find("<hi>") != std::string::npos, c.highlighted) << c.what;
  }
  // A disabled button (nothing to search) and a hidden footer answer 0.
  p->Edit()->SetText("");
  EXPECT_EQ(f.grid->Perform(vcl::CM_DIALOGCHAR, 'n', 0), 0);
  p->Edit()->SetText("an");
  f.grid->SearchFooter()->Visible = false;
  f.grid->UpdateSearchPanel();
  EXPECT_EQ(f.grid->Perform(vcl::CM_DIALOGCHAR, 'n', 0), 0);
  f.grid->SetFocus();
  QApplication::sendEvent(f.grid->Widget(), &ctrlF);
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(f.grid->Focused());
}

TEST(GridSearchFooter, PanelPixelsThemedAndClassic) {
  SearchForm f;
  TSearchPanel* p = f.Panel();
  f.grid->SearchFooter()->Color = 0xFFFFFF;
  f.grid->SearchFooter()->ColorTo = 0xC08040;
  f.grid->UpdateSearchPanel();
  p->Edit()->SetText("ab");
  p->FindPrevButton()->Perform(vcl::CM_MOUSEENTER);
  for (const bool themed : {true, false}) {
    vcl::SetThemeActive(themed);
    if (!themed) {
      f.grid->ControlLook()->SetControlStyle(csClassic);
      f.grid->UpdateSearchPanel();
    }
    vcl::Application->ProcessMessages();
    p->Invalidate();
    const QImage img = f.grid->Widget()->grab().toImage();
    img.save(QString(TOLVANE_BUILD_DIR "/") + (themed ? "grid-search-footer.png" : "grid-search-footer-classic.png"));
    const int top = p->Top();
    // The gradient runs light to dark down the panel; the line along the
    // top is the grid's line colour.
    const QRgb upper = img.pixel(450, top + 3), lower = img.pixel(530, top + 29);
    EXPECT_GT(qGreen(upper), qGreen(lower));
    EXPECT_EQ(p->FindNextButton()->Flat(), themed);
  }
  vcl::SetThemeActive(true);
  // Every row in view: making the last row clear stops at once.
  f.grid->SetRowCount(3);
  f.grid->ScrollLastRowClear();
  EXPECT_EQ(f.grid->TopRow(), 1);
  EXPECT_TRUE(f.grid->LastRowClearOfSearchFooter());
}
