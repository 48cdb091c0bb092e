// The grid's clipboard on a form through Qt's offscreen clipboard: the
// plain text it copies, pastes and the smart fill, the grid's own format
// between two grids, rich text, cut, the clipboard keys, the selection
// resizer's fill from its own buffer, and AssignCells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/model/CellStream.h"
#include "vcl/ClipboardData.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

// Records the modified marks pastes ask for.
class TClipRecordingGrid : public TVadOdizadEzev {
 public:
  using TVadOdizadEzev::TVadOdizadEzev;
  std::vector<std::string> marks;
  void MarkRowsModified(TCellCoord from, const vcl::TGridRect& r, bool wasCopy) override {
    marks.push_back(std::to_string(from.X) + "," + std::to_string(from.Y) + " " + std::to_string(r.Top) + "-" +
                    std::to_string(r.Bottom) + (wasCopy ? " copy" : " cut"));
    TVadOdizadEzev::MarkRowsModified(from, r, wasCopy);
  }
};

struct TClipGrids {
  vcl::TForm* form = nullptr;
  TClipRecordingGrid* a = nullptr;
  TClipRecordingGrid* b = nullptr;
  TClipGrids() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 800, 500);
    a = Make(0);
    b = Make(400);
    form->Show();
  }
  TClipRecordingGrid* Make(Integer left) {
    auto* g = new TClipRecordingGrid(form);
    g->SetParent(form);
    g->SetBounds(left, 0, 380, 480);
    g->SetColCount(5);
    g->SetRowCount(8);
    auto options = g->Options();
    options.Include(vcl::goRangeSelect);
    options.Include(vcl::goEditing);
    g->SetOptions(options);
    return g;
  }
  ~TClipGrids() { vcl::Free(form); }
  static void Key(TVadOdizadEzev* g, vcl::Word key, Qt::KeyboardModifiers mods) {
    vcl::SetInputModifiers(mods);
    g->Perform(vcl::WM_KEYDOWN, key, 0);
    vcl::SetInputModifiers(Qt::NoModifier);
  }
  static grid_test::Texts Column(TVadOdizadEzev* g, Integer col, Integer from, Integer to) {
    return grid_test::ColumnTexts(g, col, from, to);
  }
};

using ClipTexts = std::vector<AnsiString>;

}  // namespace

TEST(GridClipboard, CopiedTextQuotesWhatWouldBreakAPeer) {
  TClipGrids g;
  TVadOdizadEzev* a = g.a;
  a->Model().SetDisplayCell(1, 1, "tab\there");
  a->Model().SetDisplayCell(2, 1, "say \"hi\"");
  a->Model().SetDisplayCell(1, 2, "two\r\nlines");
  a->Model().SetDisplayCell(2, 2, "caf\xC3\xA9");
  a->Model().SetWideCellText(3, 2, u"\u65E5\u672C");
  a->CopyRectToClipboard({1, 1, 3, 2}, false);
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT),
            "\"tab\there\"\t\"say \"\"hi\"\"\"\t\r\n\"two\nlines\"\tcaf\xC3\xA9\t\xE6\x97\xA5\xE6\x9C\xAC\r\n");
  // A single row: no line end.
  a->CopyRectToClipboard({1, 2, 2, 2}, false);
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "\"two\nlines\"\tcaf\xC3\xA9");
  EXPECT_EQ(a->CopyOrigin(), (TCellCoord{1, 2}));

  // Pasted into the other grid, the cells come back as they were.
  a->CopyRectToClipboard({1, 1, 3, 2}, false);
  Integer rows = 0, cols = 0;
  EXPECT_EQ(g.b->PasteFromClipboardAt(1, 3, rows, cols), 7);
  EXPECT_EQ(g.b->Model().GetDisplayCell(1, 3), "tab\there");
  EXPECT_EQ(g.b->Model().GetDisplayCell(2, 3), "say \"hi\"");
  EXPECT_EQ(g.b->Model().GetDisplayCell(1, 4), "two\r\nlines");
  EXPECT_EQ(g.b->Model().GetDisplayCell(3, 4), "\xE6\x97\xA5\xE6\x9C\xAC");
}

TEST(GridClipboard, PastesAndTheSmartFill) {
  TClipGrids g;
  TVadOdizadEzev* b = g.b;
  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "a\r\nb\r\nc\r\n"}});
  b->SetSelection({1, 1, 1, 1});
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(TClipGrids::Column(b, 1, 1, 3), (ClipTexts{"a", "b", "c"}));

  b->Navigation()->AllowSmartClipboard = true;
  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "1\r\n3\r\n"}});
  b->SetSelection({2, 1, 2, 5});
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(TClipGrids::Column(b, 2, 1, 5), (ClipTexts{"1", "3", "5", "7", "9"}));

  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "v"}});
  b->SetSelection({1, 5, 3, 7});
  b->PasteSelectionFromClipboard();
  for (Integer r = 5; r <= 7; ++r)
    for (Integer c = 1; c <= 3; ++c) EXPECT_EQ(b->Model().GetDisplayCell(c, r), "v") << c << "," << r;

  // Row growth off: the lines past the last row are dropped.
  b->Navigation()->AllowClipboardRowGrow = false;
  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "x\r\ny\r\nz\r\n"}});
  b->SetSelection({4, 6, 4, 6});
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(b->RowCount(), 8);
  EXPECT_EQ(TClipGrids::Column(b, 4, 6, 7), (ClipTexts{"x", "y"}));
  b->Navigation()->AllowClipboardRowGrow = true;
  b->SetSelection({4, 6, 4, 6});
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(b->RowCount(), 9);
  EXPECT_EQ(b->Model().GetDisplayCell(4, 8), "z");
}

TEST(GridClipboard, TheGridFormatKeepsColoursCheckBoxesAndPictures) {
  TClipGrids g;
  TClipRecordingGrid* a = g.a;
  TClipRecordingGrid* b = g.b;
  a->Navigation()->AllowFmtClipboard = true;
  b->Navigation()->AllowFmtClipboard = true;
  a->Model().SetDisplayCell(1, 1, "red");
  a->Model().SetColors(1, 1, clRed);
  TCellGraphic& check = a->CellControlState().CreateCellGraphic(2, 1);
  check.CellType = ctCheckBox;
  check.CellBoolean = true;
  auto* bitmap = new vcl::TBitmap(3, 2);
  bitmap->Canvas()->SetPixels(1, 1, 0x00FF00);
  TCellGraphic& picture = a->CellControlState().CreateCellGraphic(1, 2);
  picture.CellType = ctBitmap;
  picture.CellCreated = true;
  picture.SetCellBitmap({bitmap, [](void* p) { delete static_cast<vcl::TBitmap*>(p); }});
  a->SetSelection({1, 1, 2, 2});
  a->CopySelectionToClipboard();
  EXPECT_TRUE(vcl::HasClipboardBlock(vcl::RegisterClipboardFormat("TVadOdizadEzev Cells")));
  // The empty check box copies as its check text.
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "red\tY\r\n\t\r\n");

  b->SetSelection({2, 3, 2, 3});
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(b->Model().GetDisplayCell(2, 3), "red");
  EXPECT_EQ(b->Model().Colors(2, 3), clRed);
  bool state = false;
  EXPECT_TRUE(b->CellControlState().GetCellCheckState(3, 3, state));
  EXPECT_TRUE(state);
  const TCellGraphic* pasted = b->Model().CellGraphic(2, 4);
  ASSERT_NE(pasted, nullptr);
  ASSERT_EQ(pasted->CellType, ctBitmap);
  auto* back = static_cast<vcl::TBitmap*>(pasted->CellBitmap());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Width(), 3);
  EXPECT_EQ(back->Height(), 2);
  EXPECT_EQ(back->Canvas()->Pixels(1, 1) & 0xFFFFFF, 0x00FF00u);
  // From another grid: no copy origin; back into the source: its origin.
  ASSERT_FALSE(b->marks.empty());
  EXPECT_EQ(b->marks.back(), "-1,-1 3-4 cut");
  a->marks.clear();
  a->SetSelection({3, 5, 3, 5});
  a->PasteSelectionFromClipboard();
  ASSERT_FALSE(a->marks.empty());
  EXPECT_EQ(a->marks.back(), "1,1 5-6 copy");
}

TEST(GridClipboard, RichTextCopiedAsItStandsAndPasted) {
  TClipGrids g;
  const AnsiString rtf = "{\\rtf1\\ansi Hello {\\b world}}";
  g.a->Navigation()->AllowRTFClipboard = true;
  g.b->Navigation()->AllowRTFClipboard = true;
  g.a->Model().SetDisplayCell(1, 1, rtf);
  g.a->SetSelection({1, 1, 1, 1});
  g.a->CopySelectionToClipboard();
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "Hello world");
  const std::string block = vcl::GetClipboardBlock(vcl::RegisterClipboardFormat("Rich Text Format"));
  EXPECT_EQ(block, rtf + '\0');
  g.b->SetSelection({2, 2, 2, 2});
  g.b->PasteSelectionFromClipboard();
  EXPECT_EQ(g.b->Model().GetDisplayCell(2, 2), rtf);
  EXPECT_EQ(g.b->SaveCell(2, 2), "Hello world");
  // Other programs see the rich text in the desktop's own type.
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("text/rtf").toStdString(), rtf);
  // And their rich text, with no private type beside it, pastes into a cell.
  const AnsiString foreign = "{\\rtf1\\ansi From {\\i elsewhere}}";
  for (const char* type : {"text/rtf", "application/rtf"}) {
    auto* mime = new QMimeData;
    mime->setData(type, QByteArray::fromStdString(foreign));
    mime->setText("From elsewhere");
    QGuiApplication::clipboard()->setMimeData(mime);
    g.b->Model().SetDisplayCell(3, 3, "");
    g.b->SetSelection({3, 3, 3, 3});
    g.b->PasteSelectionFromClipboard();
    EXPECT_EQ(g.b->Model().GetDisplayCell(3, 3), foreign) << type;
  }
}

TEST(GridClipboard, CutEmptiesWhatMayChangeWithRecordsAndKeysAskFirst) {
  TClipGrids g;
  TVadOdizadEzev* a = g.a;
  TLumGridUndoRedo undo(g.form);
  a->SetUndoRedo(&undo);
  a->Model().SetDisplayCell(1, 1, "one");
  a->Model().SetDisplayCell(2, 1, "kept");
  a->OnCanEditCell = [](vcl::TObject*, Integer, Integer col, bool& can) { can = col != 2; };
  a->SetSelection({1, 1, 2, 1});
  a->CutSelectionToClipboard();
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "one\tkept");
  EXPECT_EQ(a->Model().GetDisplayCell(1, 1), "");
  EXPECT_EQ(a->Model().GetDisplayCell(2, 1), "kept");
  EXPECT_FALSE(a->LastOperationWasCopy());
  ASSERT_EQ(undo.Count(), 3);
  EXPECT_EQ(undo.Items(1).OrigValue, "one");
  a->SetUndoRedo(nullptr);

  // Ctrl+C and Ctrl+V with the shortcuts on; OnClipboardCopy may refuse.
  a->Navigation()->AllowClipboardShortCuts = true;
  a->SetFocus();
  a->Model().SetDisplayCell(3, 3, "key");
  a->SetSelection({3, 3, 3, 3});
  bool allow = false;
  a->OnClipboardCopy = [&](vcl::TObject*, bool& Allow) { Allow = allow; };
  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "before"}});
  TClipGrids::Key(a, 'C', Qt::ControlModifier);
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "before");
  allow = true;
  TClipGrids::Key(a, 'C', Qt::ControlModifier);
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "key");
  a->SetSelection({4, 4, 4, 4});
  TClipGrids::Key(a, vcl::VK_INSERT, Qt::ShiftModifier);
  EXPECT_EQ(a->Model().GetDisplayCell(4, 4), "key");
}

TEST(GridClipboard, TheResizerFillsFromItsOwnBuffer) {
  TClipGrids g;
  TVadOdizadEzev* a = g.a;
  a->SetSelectionRectangle(true);
  a->SetSelectionResizer(true);
  std::vector<std::string> events;
  auto rect = [](const vcl::TGridRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
  };
  a->OnSelectionResize = [&](vcl::TObject*, vcl::TGridRect o, vcl::TGridRect n) {
    events.push_back("resize " + rect(o) + " " + rect(n));
  };
  a->OnSelectionResized = [&](vcl::TObject*, vcl::TGridRect o, vcl::TGridRect n) {
    events.push_back("resized " + rect(o) + " " + rect(n));
  };
  vcl::SetClipboardBlocks({{vcl::CF_TEXT, "the user's own"}});
  auto drag = [&](const vcl::TGridRect& from, Integer toCol, Integer toRow) {
    a->SetSelection(from);
    const vcl::TRect handle = a->SelectionResizerHandle();
    ASSERT_FALSE(handle.IsEmpty());
    grid_test::Press(a, handle.Left + 2, handle.Top + 2);
    EXPECT_TRUE(a->SelectionResizing());
    const vcl::TRect target = a->CellRect(toCol, toRow);
    a->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(target.Left + 3, target.Top + 3));
    grid_test::Release(a, target.Left + 3, target.Top + 3);
    EXPECT_FALSE(a->SelectionResizing());
  };
  a->Model().SetDisplayCell(1, 1, "1");
  drag({1, 1, 1, 1}, 1, 5);
  EXPECT_EQ(TClipGrids::Column(a, 1, 1, 5), (ClipTexts{"1", "1", "1", "1", "1"}));
  EXPECT_EQ(events, (std::vector<std::string>{"resize 1,1-1,1 1,1-1,5", "resized 1,1-1,1 1,1-1,5"}));
  // Two cells continue their series.
  a->Model().SetDisplayCell(2, 1, "10");
  a->Model().SetDisplayCell(2, 2, "20");
  drag({2, 1, 2, 2}, 2, 6);
  EXPECT_EQ(TClipGrids::Column(a, 2, 1, 6), (ClipTexts{"10", "20", "30", "40", "50", "60"}));
  // The system clipboard was never touched.
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "the user's own");
}

TEST(GridClipboard, AssignCellsGoesThroughTheTextStream) {
  TClipGrids g;
  g.a->SetColCount(3);
  g.a->SetRowCount(4);
  g.a->SetColWidths(2, 91);
  g.a->Model().SetDisplayCell(2, 3, "end");
  g.a->Multilinecells = true;
  g.b->Multilinecells = true;
  g.a->Model().SetDisplayCell(1, 1, "two\r\nlines");
  g.b->AssignCells(g.a);
  EXPECT_EQ(g.b->ColCount(), 3);
  EXPECT_EQ(g.b->RowCount(), 4);
  EXPECT_EQ(g.b->ColWidths(2), 91);
  EXPECT_EQ(g.b->Model().GetDisplayCell(2, 3), "end");
  EXPECT_EQ(g.b->Model().GetDisplayCell(1, 1), "two\r\nlines");
}

TEST(GridClipboard, PicturesIconsAndFilePicturesTravelInTheGridFormat) {
  TClipGrids g;
  g.a->Navigation()->AllowFmtClipboard = true;
  g.b->Navigation()->AllowFmtClipboard = true;
  vcl::TBitmap pixels(4, 3);
  pixels.Canvas()->SetPixels(2, 1, 0x0000FF);
  auto* picture = new vcl::TPicture();
  picture->SetGraphic(&pixels);
  TCellGraphic& p = g.a->CellControlState().CreateCellGraphic(1, 1);
  p.CellType = ctPicture;
  p.CellCreated = true;
  p.SetCellBitmap({picture, [](void* o) { delete static_cast<vcl::TPicture*>(o); }});
  TCellGraphic& i = g.a->CellControlState().CreateCellGraphic(2, 1);
  i.CellType = ctIcon;
  i.CellCreated = true;
  i.SetCellIcon({new vcl::TBitmap(5, 6), [](void* o) { delete static_cast<vcl::TGraphic*>(o); }});
  const AnsiString file = std::string(TOLVANE_BUILD_DIR) + "/grid-clipboard-file-picture.bmp";
  pixels.SaveToFile(file);
  auto* filePicture = new TFilePicture();
  filePicture->SetFilename(file);
  TCellGraphic& f = g.a->CellControlState().CreateCellGraphic(3, 1);
  f.CellType = ctFilePicture;
  f.CellCreated = true;
  f.SetCellBitmap({filePicture, [](void* o) { delete static_cast<TFilePicture*>(o); }});
  g.a->SetSelection({1, 1, 3, 1});
  g.a->CopySelectionToClipboard();
  g.b->SetSelection({1, 2, 1, 2});
  g.b->PasteSelectionFromClipboard();

  const TCellGraphic* bp = g.b->Model().CellGraphic(1, 2);
  ASSERT_NE(bp, nullptr);
  ASSERT_EQ(bp->CellType, ctPicture);
  auto* back = static_cast<vcl::TPicture*>(bp->CellBitmap());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Width(), 4);
  EXPECT_EQ(back->Height(), 3);
  EXPECT_EQ(back->Bitmap()->Canvas()->Pixels(2, 1) & 0xFFFFFF, 0x0000FFu);
  const TCellGraphic* bi = g.b->Model().CellGraphic(2, 2);
  ASSERT_NE(bi, nullptr);
  ASSERT_EQ(bi->CellType, ctIcon);
  ASSERT_NE(bi->CellIcon(), nullptr);
  EXPECT_EQ(static_cast<vcl::TGraphic*>(bi->CellIcon())->Width(), 5);
  EXPECT_EQ(static_cast<vcl::TGraphic*>(bi->CellIcon())->Height(), 6);
  const TCellGraphic* bf = g.b->Model().CellGraphic(3, 2);
  ASSERT_NE(bf, nullptr);
  ASSERT_EQ(bf->CellType, ctFilePicture);
  auto* backFile = static_cast<TFilePicture*>(bf->CellBitmap());
  ASSERT_NE(backFile, nullptr);
  EXPECT_EQ(backFile->Filename(), file);
  EXPECT_EQ(backFile->Width(), 4);
  EXPECT_EQ(backFile->Height(), 3);
}

TEST(GridClipboard, DragTextsAndMarkedRows) {
  TClipGrids g;
  TVadOdizadEzev* a = g.a;
  a->Model().SetDisplayCell(1, 1, "a");
  a->Model().SetDisplayCell(2, 1, "b");
  a->Model().SetDisplayCell(1, 2, "c");
  a->Model().SetWideCellText(2, 2, u"\u00E9");
  a->SetSelection({1, 1, 2, 2});
  EXPECT_EQ(a->GetSelectionText(), AnsiString("a\tb\r\nc\t") + a->Model().GetDisplayCell(2, 2));
  EXPECT_TRUE(a->IsWideTextCell(2, 2));
  EXPECT_FALSE(a->IsWideTextCell(1, 2));
  struct Case {
    const char* text;
    Integer cols, lastLine;
  } cases[] = {{"", 1, -1}, {"a\tb\r\nc", 2, 1}, {"a\r\n\r\nb\tc\td\r\n", 3, 1}, {"x", 1, 0}};
  for (const auto& c : cases) {
    Integer cols = 0, last = 0;
    a->GetTextDimensions(c.text, cols, last);
    EXPECT_EQ(cols, c.cols) << c.text;
    EXPECT_EQ(last, c.lastLine) << c.text;
  }
  // With marked rows the copy takes the marked rows of the whole grid.
  a->MouseActions()->SetDisjunctRowSelect(true);
  a->SetRowMarked(2, true);
  a->CopySelectionToClipboard();
  EXPECT_EQ(vcl::GetClipboardBlock(vcl::CF_TEXT), "\tc\t\xC3\xA9\t\t");
}
