// The multi-column drop-down and its table on the offscreen platform: the
// grid's own call order, completion while typing (apple/apricot, Bx,
// Backspace, Enter on APPLE), the lookup list after a refill with fewer
// rows, FitColumns' widths, Escape, and the table's header gradient and
// line widths on pixels. Completion over the first 2,000 words of the
// American word list is checked against a Python reference.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumMultiColumnDropDown.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct MultiRig {
  TForm* owner = MakeForm(420, 320);
  TLumMultiColumnDropDown* drop = nullptr;
  explicit MultiRig(const std::vector<std::vector<std::string>>& rows = {{"Apple", "red", "1"},
                                                                         {"Apricot", "orange", "2"},
                                                                         {"Banana", "yellow", "3"}},
                    int columns = 3) {
    drop = new TLumMultiColumnDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(10, 10, 200, 22);
    drop->SetDropPosition(TDropPosition::dpDown);
    const char* headers[] = {"Fruit", "Colour", "No.", "Four", "Five"};
    for (int c = 0; c < columns; ++c) drop->Columns()->Add()->SetHeader(headers[c % 5]);
    Fill(rows);
    Key(owner, Qt::Key_Shift);  // no modifier held from an earlier test
    Pump();
  }
  ~MultiRig() { Free(owner); }
  void Fill(const std::vector<std::vector<std::string>>& rows) {
    drop->Items()->Clear();
    for (const auto& row : rows) {
      TDropDownItem* item = drop->Items()->Add();
      for (const std::string& cell : row) item->Text()->Add(cell);
    }
  }
  std::string Text() const { return drop->Text(); }
};

TEST(MultiColumn, TheGridsCallOrder) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->BeginLookupUpdate();
  d->UpdateLookup();
  ASSERT_EQ(d->LookupList().Count(), 3);
  EXPECT_EQ(d->LookupList().Strings(1), "Apricot");
  d->SetItemIndex(0);  // an empty cell: the first row
  EXPECT_EQ(rig.Text(), "Apple");
  d->SetTextDirect("Banana");  // the cell's text in
  EXPECT_EQ(d->GetText(), "Banana");
  EXPECT_EQ(d->ItemIndex(), 2);  // the text completed to its own row
  d->SetItemIndex(5);            // past the rows: ignored
  EXPECT_EQ(d->ItemIndex(), 2);
  d->SetLookupColumn(5);
  d->SetItemIndex(1);  // no such cell in the row: an empty text
  EXPECT_EQ(rig.Text(), "");
}

TEST(MultiColumn, CompletionWhileTyping) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->UpdateLookup();
  d->SetFocus();
  Pump();
  d->SetTextDirect("");
  Type(d, "a");
  EXPECT_EQ(rig.Text(), "apple");
  EXPECT_EQ(d->SelStart(), 1);
  EXPECT_EQ(d->SelLength(), 4);
  EXPECT_EQ(d->ItemIndex(), 0);
  Type(d, "p");
  EXPECT_EQ(rig.Text(), "apple");
  EXPECT_EQ(d->SelStart(), 2);
  EXPECT_EQ(d->SelLength(), 3);
  Type(d, "r");
  EXPECT_EQ(rig.Text(), "apricot");
  EXPECT_EQ(d->ItemIndex(), 1);
  // No entry begins BX: the rest of the text goes.
  d->SetTextDirect("Banana");
  d->SetSelStart(1);
  Type(d, "x");
  EXPECT_EQ(rig.Text(), "Bx");
  EXPECT_EQ(d->SelStart(), 2);
  // After Backspace nothing completes until another key.
  d->SetTextDirect("");
  Type(d, "b");
  EXPECT_EQ(rig.Text(), "banana");
  Key(d, Qt::Key_Backspace, Qt::NoModifier, "\b");
  EXPECT_FALSE(d->AutoComplete());
  EXPECT_EQ(rig.Text(), "b");  // the completed part deleted, not completed again
  Type(d, "a");
  EXPECT_TRUE(d->AutoComplete());
  EXPECT_EQ(rig.Text(), "banana");
  // Enter takes the entry's own spelling.
  d->SetTextDirect("APPLE");
  d->SetSelStart(5);
  Key(d, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(rig.Text(), "Apple");
  EXPECT_EQ(d->ItemIndex(), 0);
}

TEST(MultiColumn, ARefillWithFewerRowsCompletesOnlyFromTheNewRows) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->UpdateLookup();
  rig.Fill({{"Cherry", "red", "4"}});
  d->UpdateLookup();
  ASSERT_EQ(d->LookupList().Count(), 1);
  d->SetFocus();
  Pump();
  d->SetTextDirect("");
  Type(d, "a");
  EXPECT_EQ(rig.Text(), "a");
  EXPECT_EQ(d->ItemIndex(), -1);
  rig.Fill({});
  d->UpdateLookup();
  EXPECT_EQ(d->LookupList().Count(), 0);
  d->SetLookupColumn(-1);
  rig.Fill({{"Date", "brown", "5"}});
  d->UpdateLookup();
  EXPECT_EQ(d->LookupList().Count(), 0);
  // A stale index reads as no row.
  EXPECT_EQ(d->CellText(3, 0), "");
  EXPECT_EQ(d->CellText(-1, 0), "");
}

TEST(MultiColumn, EscapeOnATextThatIsNoEntryClearsTheChoice) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->UpdateLookup();
  d->SetItemIndex(1);
  d->SetFocus();
  Pump();
  d->SetTextDirect("Kiwi");
  Key(d, Qt::Key_Escape);
  EXPECT_EQ(d->ItemIndex(), -1);
  EXPECT_EQ(rig.Text(), "");
}

TEST(MultiColumn, FitColumnsScalesToThePopupWidth) {
  std::vector<std::vector<std::string>> rows = {{"a", "b", "c", "d", "e"}, {"f", "g", "h", "i", "j"}};
  MultiRig rig(rows, 5);
  TLumMultiColumnDropDown* d = rig.drop;
  d->SetDropDownAutoWidth(false);
  d->SetDropDownWidth(420);
  d->DropDown();
  Pump();
  ASSERT_TRUE(d->DroppedDown());
  ASSERT_EQ(d->DropDownForm()->Width(), 420);
  TLumColGrid* g = d->Grid();
  ASSERT_EQ(g->ColCount(), 5);
  int total = 0;
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(g->ColWidths(c), 84) << c;
    total += g->ColWidths(c);
  }
  EXPECT_EQ(total, 420);
  d->HideDropDown(false);
}

TEST(MultiColumn, TheTableCommitsByKeysAndClicksAndKeepsTabs) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->UpdateLookup();
  int selects = 0;
  d->OnSelect = [&](TObject*) { ++selects; };
  d->DropDown();
  Pump();
  TLumColGrid* g = d->Grid();
  ASSERT_TRUE(d->DroppedDown());
  EXPECT_FALSE(d->DropDownForm()->CancelOnDeactivate());
  EXPECT_EQ(g->Perform(WM_GETDLGCODE), 3);
  // A release on the header row commits nothing; on a body row it does.
  const TRect header = g->CellRect(0, 0), body = g->CellRect(0, 2);
  QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint(header.Left + 5, header.Top + 5));
  Pump();
  EXPECT_TRUE(d->DroppedDown());
  EXPECT_EQ(selects, 0);
  QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint(body.Left + 5, body.Top + 5));
  Pump();
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->ItemIndex(), 1);
  EXPECT_EQ(rig.Text(), "Apricot");
  EXPECT_EQ(selects, 1);
}

// The table on pixels: the header's gradient from white at its top to
// grey at its bottom, and the body lines at GridLineWidth 2 (two pixels of
// the line colour along each cell's bottom and right) and 0 (the cell's
// own fill there).
TEST(MultiColumn, TheTablesHeaderAndLinesOnPixels) {
  MultiRig rig;
  TLumMultiColumnDropDown* d = rig.drop;
  d->SetLineColor(0x0000FF);
  d->DropDown();
  Pump();
  TLumColGrid* g = d->Grid();
  QImage gallery(2 * 300, 140, QImage::Format_RGB32);
  gallery.fill(Qt::white);
  int column = 0;
  for (int width : {2, 0}) {
    SCOPED_TRACE(width);
    g->SetGridLineWidth(width);
    EXPECT_EQ(g->TCustomGrid::GridLineWidth(), 0);
    g->Invalidate();
    Pump();
    QImage shot = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(140, shot.height()); ++y)
      for (int x = 0; x < std::min(300, shot.width()); ++x) gallery.setPixel(column * 300 + x, y, shot.pixel(x, y));
    ++column;
    const TRect h = g->CellRect(1, 0);
    const TColor top = PixelAt(shot, h.Left + 20, h.Top + 1), bottom = PixelAt(shot, h.Left + 20, h.Bottom - 4);
    EXPECT_GT(top & 0xFF, bottom & 0xFF);  // lighter above
    EXPECT_GE(top & 0xFF, 0xF0u);
    const TRect b = g->CellRect(1, 2);  // a body cell, not selected
    const TColor bottomLine = PixelAt(shot, b.Left + 20, b.Top + g->RowHeights(2) - 2);
    const TColor rightLine = PixelAt(shot, b.Left + g->ColWidths(1) - 2, b.Top + 5);
    if (width == 2) {
      EXPECT_EQ(bottomLine, TColor(0x0000FF));
      EXPECT_EQ(rightLine, TColor(0x0000FF));
      EXPECT_EQ(PixelAt(shot, b.Left + g->ColWidths(1) - 1, b.Top + 5), TColor(0x0000FF));
    } else {
      EXPECT_EQ(bottomLine, TColor(0xFFFFFF));
      EXPECT_EQ(rightLine, TColor(0xFFFFFF));
    }
  }
  SaveShot(gallery, "dropdown_multicolumn_table.png");
  d->HideDropDown(false);
}

// Completion over real words: every prefix of the first 2,000 words
// completes to the first word that begins with it, whatever the case, as
// the Python reference computes it.
TEST(MultiColumn, CompletionOverTheAmericanWordList) {
  const char* list = "/usr/share/dict/american-english";
  std::ifstream in(list);
  if (!in) GTEST_SKIP() << list << " is not installed";
  std::vector<std::string> words;
  for (std::string w; words.size() < 2000 && std::getline(in, w);) words.push_back(w);
  const std::string script =
      "import sys\n"
      "words=[l.rstrip('\\n') for l in open(sys.argv[1],encoding='utf-8')][:2000]\n"
      "seen=set()\n"
      "for w in words:\n"
      "  for n in range(1,len(w)+1):\n"
      "    p=w[:n]\n"
      "    if len(p)<n or p in seen: continue\n"
      "    seen.add(p)\n"
      "    i=next(i for i,x in enumerate(words) if x.upper().startswith(p.upper()))\n"
      "    print(p+'\\t'+str(i)+'\\t'+p+words[i][len(p):])\n";
  const std::string path = std::string(TOLVANE_BUILD_DIR) + "/multicolumn_reference.py";
  std::ofstream(path) << script;
  FILE* pipe = popen(("python3 " + path + " " + list).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::tuple<std::string, int, std::string>> expected;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string s(line);
    if (!s.empty() && s.back() == '\n') s.pop_back();
    const size_t a = s.find('\t'), b = s.find('\t', a + 1);
    expected.emplace_back(s.substr(0, a), std::stoi(s.substr(a + 1, b - a - 1)), s.substr(b + 1));
  }
  ASSERT_EQ(pclose(pipe), 0);
  ASSERT_GT(expected.size(), 3000u);

  MultiRig rig({}, 1);
  std::vector<std::vector<std::string>> rows;
  for (const std::string& w : words) rows.push_back({w});
  rig.Fill(rows);
  rig.drop->UpdateLookup();
  int wrong = 0;
  for (const auto& [prefix, index, text] : expected) {
    rig.drop->SetTextDirect("");
    rig.drop->SetTextDirect(prefix);  // the caret after it: completed
    if (rig.drop->ItemIndex() != index || rig.Text() != text) {
      if (++wrong < 10) ADD_FAILURE() << prefix << ": " << rig.Text() << " #" << rig.drop->ItemIndex();
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << expected.size();
}

}  // namespace
}  // namespace dropdown
