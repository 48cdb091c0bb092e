// SaveCell and LoadCell, the cell text stream and the grid cell stream
// between two models, with pictures through a fake codec.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "grid/model/CellControlState.h"
#include "grid/model/CellStream.h"
#include "grid/model/GridModel.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"

using namespace grid;

namespace {

// A picture of the fake codec: its bytes; a file picture: name and size.
struct StreamFakeFile {
  AnsiString Name;
  Integer Width = 0, Height = 0;
};

template <class T>
void StreamFakeFree(void* p) {
  delete static_cast<T*>(p);
}

class StreamHost : public TCellTransferHost {
 public:
  using TCellTransferHost::TCellTransferHost;
  std::vector<std::string> notes;
  int64_t id = 0;
  std::string EncodePicture(TStreamPicture kind, const void* object) override {
    return "PNG" + std::to_string(static_cast<int>(kind)) + *static_cast<const std::string*>(object);
  }
  TGraphicObject DecodePicture(TStreamPicture kind, std::string_view png) override {
    return {new std::string(png.substr(4)), &StreamFakeFree<std::string>};
  }
  bool DescribeFilePicture(const void* object, AnsiString& name, Integer& w, Integer& h) override {
    const auto* f = static_cast<const StreamFakeFile*>(object);
    name = f->Name;
    w = f->Width;
    h = f->Height;
    return true;
  }
  TGraphicObject MakeFilePicture(const AnsiString& name, Integer w, Integer h) override {
    return {new StreamFakeFile{name, w, h}, &StreamFakeFree<StreamFakeFile>};
  }
  int64_t StreamId() override { return id; }
  void SaveCellEvent(Integer col, Integer row, AnsiString& value) override {
    if (value == "secret") value = "***";
  }
  void RowScanNotify(Integer stage, Integer row) override {
    notes.push_back("scan " + std::to_string(stage) + " " + std::to_string(row));
  }
  void Progress(Integer percent) override { notes.push_back(std::to_string(percent) + "%"); }
};

struct StreamGrid {
  TGridModel m;
  StreamHost host{m};
  StreamGrid(Integer cols, Integer rows) {
    m.SetColCount(cols);
    m.SetRowCount(rows);
  }
};

// The record classes of a stream, in order.
std::vector<int> StreamRecordClasses(const std::string& s) {
  std::vector<int> classes;
  size_t i = 6;
  while (i + 5 <= s.size()) {
    classes.push_back(static_cast<uint8_t>(s[i]));
    uint32_t n = 0;
    for (int k = 0; k < 4; ++k) n |= static_cast<uint32_t>(static_cast<uint8_t>(s[i + 1 + k])) << (8 * k);
    i += 5 + n;
  }
  return classes;
}

TCellGraphic& StreamGraphic(TGridModel& m, Integer col, Integer row, TCellType type) {
  auto g = std::make_unique<TCellGraphic>();
  TCellGraphic* raw = g.get();
  g->CellType = type;
  m.CellProperties(col, row).SetGraphic(std::move(g));
  return *raw;
}

// Every graphic kind with the objects it carries.
void StreamEveryKind(TGridModel& m, Integer col0, Integer row0, std::mt19937& rng) {
  TCellControlHost controls(m);
  for (int k = 0; k < CellTypeCount; ++k) {
    const auto type = static_cast<TCellType>(k);
    const Integer col = col0 + k % 4, row = row0 + k / 4;
    m.SetDisplayCell(col, row, "kind " + std::to_string(k));
    if (type == ctRadio) {
      rtl::TStringList options;
      options.Add("one");
      options.Add("two \"2\"");
      controls.AddRadioGroup(col, row, options, true, 1);
      continue;
    }
    if (type == ctImages) {
      controls.AddImages(col, row, {3, 1, 4}, false);
      continue;
    }
    if (type == ctBalloon) {
      controls.AddBalloon(col, row, "Title", "Text", 2);
      continue;
    }
    if (type == ctEmpty) continue;
    TCellGraphic& g = StreamGraphic(m, col, row, type);
    g.CellVAlign = static_cast<TCellVAlign>(rng() % 6);
    g.CellHAlign = static_cast<TCellHAlign>(rng() % 6);
    g.CellIndex = static_cast<Integer>(rng() % 1000) - 10;
    g.CellTransparent = rng() % 2;
    g.CellBoolean = rng() % 2;
    g.CellAngle = static_cast<Integer>(rng() % 360);
    g.CellValue = static_cast<double>(rng() % 10000) / 7.0;
    g.CellErrFrom = 2;
    g.CellErrLen = 3;
    g.CellText = "caption " + std::to_string(k);
    if (k % 3 == 0) g.CellVar = k;
    switch (type) {
      case ctBitmap:
      case ctBitButton:
      case ctPicture:
        g.CellCreated = true;
        g.SetCellBitmap({new std::string("pixels of " + std::to_string(k)), &StreamFakeFree<std::string>});
        break;
      case ctIcon:
        g.CellCreated = true;
        g.SetCellIcon({new std::string("icon pixels"), &StreamFakeFree<std::string>});
        break;
      case ctFilePicture:
        g.CellCreated = true;
        g.SetCellBitmap({new StreamFakeFile{"/tmp/picture.png", 40, 30}, &StreamFakeFree<StreamFakeFile>});
        break;
      case ctProgress:
      case ctRangeIndicator:
      case ctXPProgress:
        g.SetCellBitmap({reinterpret_cast<void*>(uintptr_t{0x00FF00}), nullptr});
        g.SetCellIcon({reinterpret_cast<void*>(uintptr_t{0x0000FF}), nullptr});
        break;
      case ctProgressPie:
      case ctShape:
      case ctRating:
        g.SetCellBitmap({reinterpret_cast<void*>(uintptr_t{0x123456}), nullptr});
        break;
      default:
        break;
    }
  }
}

void ExpectSameProperties(const TCellProperties* a, const TCellProperties* b, const std::string& where) {
  ASSERT_EQ(a == nullptr, b == nullptr) << where;
  if (a == nullptr) return;
  EXPECT_EQ(a->BrushStyle, b->BrushStyle) << where;
  EXPECT_EQ(a->BrushColor(), b->BrushColor()) << where;
  EXPECT_EQ(a->BrushColorTo(), b->BrushColorTo()) << where;
  EXPECT_EQ(a->FontSize, b->FontSize) << where;
  EXPECT_EQ(a->FontColor, b->FontColor) << where;
  EXPECT_EQ(a->FontStyle, b->FontStyle) << where;
  EXPECT_EQ(a->FontName, b->FontName) << where;
  EXPECT_EQ(a->CellSpanX, b->CellSpanX) << where;
  EXPECT_EQ(a->CellSpanY, b->CellSpanY) << where;
  EXPECT_EQ(a->IsBaseCell, b->IsBaseCell) << where;
  EXPECT_EQ(a->BorderWidth, b->BorderWidth) << where;
  EXPECT_EQ(a->BorderColor, b->BorderColor) << where;
  EXPECT_EQ(a->Alignment, b->Alignment) << where;
  EXPECT_EQ(a->VAlignment(), b->VAlignment()) << where;
  EXPECT_EQ(a->WordWrap(), b->WordWrap()) << where;
  EXPECT_EQ(a->NodeLevel, b->NodeLevel) << where;
  EXPECT_EQ(a->Editor, b->Editor) << where;
  EXPECT_EQ(a->ReadOnly, b->ReadOnly) << where;
  EXPECT_EQ(a->GradientDirection, b->GradientDirection) << where;
  const TCellGraphic* g = a->Graphic();
  const TCellGraphic* h = b->Graphic();
  ASSERT_EQ(g == nullptr, h == nullptr) << where;
  if (g == nullptr) return;
  EXPECT_EQ(g->CellType, h->CellType) << where;
  EXPECT_EQ(g->CellVAlign, h->CellVAlign) << where;
  EXPECT_EQ(g->CellHAlign, h->CellHAlign) << where;
  EXPECT_EQ(g->CellIndex, h->CellIndex) << where;
  EXPECT_EQ(g->CellTransparent, h->CellTransparent) << where;
  EXPECT_EQ(g->CellCreated, h->CellCreated) << where;
  EXPECT_EQ(g->CellBoolean, h->CellBoolean) << where;
  EXPECT_EQ(g->CellAngle, h->CellAngle) << where;
  EXPECT_EQ(g->CellValue, h->CellValue) << where;
  EXPECT_EQ(g->CellErrFrom, h->CellErrFrom) << where;
  EXPECT_EQ(g->CellErrLen, h->CellErrLen) << where;
  EXPECT_EQ(g->CellText, h->CellText) << where;
  EXPECT_EQ(g->CellVar, h->CellVar) << where;
  switch (g->CellType) {
    case ctBitmap:
    case ctBitButton:
    case ctPicture:
      EXPECT_EQ(*static_cast<std::string*>(g->CellBitmap()), *static_cast<std::string*>(h->CellBitmap())) << where;
      break;
    case ctIcon:
      EXPECT_EQ(*static_cast<std::string*>(g->CellIcon()), *static_cast<std::string*>(h->CellIcon())) << where;
      break;
    case ctFilePicture: {
      const auto* f = static_cast<StreamFakeFile*>(g->CellBitmap());
      const auto* e = static_cast<StreamFakeFile*>(h->CellBitmap());
      EXPECT_EQ(f->Name, e->Name) << where;
      EXPECT_EQ(f->Width, e->Width) << where;
      EXPECT_EQ(f->Height, e->Height) << where;
      break;
    }
    case ctRadio:
    case ctBalloon:
      EXPECT_EQ(static_cast<rtl::TStrings*>(g->CellBitmap())->Text(), static_cast<rtl::TStrings*>(h->CellBitmap())->Text())
          << where;
      break;
    case ctImages:
      EXPECT_EQ(static_cast<TIntList*>(g->CellBitmap())->Values(), static_cast<TIntList*>(h->CellBitmap())->Values())
          << where;
      break;
    default:
      EXPECT_EQ(g->CellBitmap(), h->CellBitmap()) << where;
      EXPECT_EQ(g->CellIcon(), h->CellIcon()) << where;
      break;
  }
}

}  // namespace

TEST(CellStream, SaveCellGivesWhatACopyCarries) {
  StreamGrid g(3, 3);
  g.m.SetDisplayCell(0, 0, "<b>bold</b>");
  g.m.SetDisplayCell(1, 0, "{\\rtf1\\ansi plain {\\b text}}");
  g.m.SetDisplayCell(2, 0, "secret");
  StreamGraphic(g.m, 0, 1, ctCheckBox).CellBoolean = true;
  StreamGraphic(g.m, 1, 1, ctCheckBox).CellBoolean = false;
  g.m.SetDisplayCell(2, 1, "kept");
  StreamGraphic(g.m, 2, 1, ctCheckBox);
  EXPECT_EQ(g.host.SaveCell(0, 0), "<b>bold</b>");
  EXPECT_EQ(g.host.SaveCell(1, 0), "plain text");
  EXPECT_EQ(g.host.SaveCell(2, 0), "***");
  EXPECT_EQ(g.host.SaveCell(0, 1), "Y");
  EXPECT_EQ(g.host.SaveCell(1, 1), "N");
  EXPECT_EQ(g.host.SaveCell(2, 1), "kept");
  g.host.KeepHTML = false;
  g.host.KeepRichText = true;
  EXPECT_EQ(g.host.SaveCell(0, 0), "bold");
  EXPECT_EQ(g.host.SaveCell(1, 0), "{\\rtf1\\ansi plain {\\b text}}");
  // LoadCell goes through OnLoadCell.
  g.m.OnLoadCell = [](Integer, Integer, AnsiString& v) { v += "!"; };
  g.host.LoadCell(0, 2, "in");
  EXPECT_EQ(g.m.GetRawCell(0, 2), "in!");
}

TEST(CellStream, TextStreamCarriesWidthsAndTextsWithTheirLineBreaks) {
  StreamGrid a(3, 4);
  a.m.SetColWidths(1, 90);
  a.m.SetDisplayCell(0, 0, "head");
  a.m.SetDisplayCell(2, 1, "two\r\nlines");
  a.m.SetDisplayCell(1, 3, "a,b,c");
  const std::string text = SaveCellsToTextStream(a.host);
  EXPECT_EQ(text.substr(0, 5), "3,4\r\n");
  EXPECT_NE(text.find("cw 1,90\r\n"), std::string::npos);
  EXPECT_NE(text.find("2,1,two\x09\x08lines\r\n"), std::string::npos);
  EXPECT_EQ(a.host.notes.front(), "scan 0 0");
  EXPECT_EQ(a.host.notes.back(), "scan 2 -1");

  for (bool multi : {true, false}) {
    StreamGrid b(1, 1);
    b.host.Multilinecells = multi;
    LoadCellsFromTextStream(b.host, text);
    EXPECT_EQ(b.m.ColCount(), 3);
    EXPECT_EQ(b.m.RowCount(), 4);
    EXPECT_EQ(b.m.ColWidths(1), 90);
    EXPECT_EQ(b.m.GetRawCell(0, 0), "head");
    EXPECT_EQ(b.m.GetRawCell(1, 3), "a,b,c");
    EXPECT_EQ(b.m.GetRawCell(2, 1), multi ? "two\r\nlines" : "two");
  }

  // Without TransferFixedCells the normal cells travel, counted from the
  // first normal cell; a line without its column or row ends the reading.
  StreamGrid c(4, 4);
  c.m.TransferFixedCells = false;
  LoadCellsFromTextStream(c.host, "2,2\r\n0,0,x\r\n1,1,y\r\n,2,stop\r\n0,1,never\r\n");
  EXPECT_EQ(c.m.ColCount(), 3);
  EXPECT_EQ(c.m.RowCount(), 3);
  EXPECT_EQ(c.m.GetRawCell(1, 1), "x");
  EXPECT_EQ(c.m.GetRawCell(2, 2), "y");
  EXPECT_EQ(c.m.GetRawCell(1, 2), "");
}

TEST(CellStream, RecordsOfPlainCellsAndOfACheckBox) {
  StreamGrid g(4, 4);
  g.m.SetDisplayCell(1, 1, "a");
  EXPECT_EQ(StreamRecordClasses(SaveCellsToStream(g.host, {1, 1, 2, 2})), (std::vector<int>{1, 2, 2, 2, 2}));
  StreamGraphic(g.m, 2, 1, ctCheckBox).CellBoolean = true;
  EXPECT_EQ(StreamRecordClasses(SaveCellsToStream(g.host, {1, 1, 2, 2})), (std::vector<int>{1, 2, 2, 3, 4, 2, 2}));
}

TEST(CellStream, ABlockLandsAtTheCellItIsReadAt) {
  StreamGrid a(8, 10);
  a.m.SetDisplayCell(5, 7, "57");
  a.m.SetDisplayCell(6, 8, "68");
  a.m.SetColors(6, 7, clRed);
  a.host.id = 42;
  const std::string s = SaveCellsToStream(a.host, {5, 7, 6, 8});
  StreamGrid b(4, 4);
  const TCellStreamHeader h = LoadCellsFromStream(b.host, {1, 1}, s);
  EXPECT_EQ(h.ID, 42);
  EXPECT_FALSE(h.FullGrid);
  EXPECT_EQ(b.m.GetDisplayCell(1, 1), "57");
  EXPECT_EQ(b.m.GetDisplayCell(2, 2), "68");
  EXPECT_EQ(b.m.Colors(2, 1), clRed);
  // Cells that fall outside the grid are left out.
  StreamGrid c(2, 2);
  LoadCellsFromStream(c.host, {1, 1}, s);
  EXPECT_EQ(c.m.GetDisplayCell(1, 1), "57");
  c.m.Check();
}

TEST(CellStream, AFullGridTakesOverSizeWidthsAndHeights) {
  StreamGrid a(3, 2);
  a.m.SetColWidths(2, 77);
  a.m.SetRowHeights(1, 33);
  a.m.SetDisplayCell(2, 1, "last");
  const std::string s = SaveCellsToStream(a.host, {0, 0, 2, 1});
  StreamGrid b(6, 6);
  b.m.SetDisplayCell(5, 5, "old");
  EXPECT_TRUE(LoadCellsFromStream(b.host, {0, 0}, s).FullGrid);
  EXPECT_EQ(b.m.ColCount(), 3);
  EXPECT_EQ(b.m.RowCount(), 2);
  EXPECT_EQ(b.m.ColWidths(2), 77);
  EXPECT_EQ(b.m.RowHeights(1), 33);
  EXPECT_EQ(b.m.GetDisplayCell(2, 1), "last");
  b.m.Check();
}

TEST(CellStream, EveryGraphicKindAndItsPicturesRoundTrip) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    std::mt19937 rng(seed);
    StreamGrid a(12, 14);
    StreamEveryKind(a.m, 2, 2, rng);
    for (Integer row = 0; row < 14; ++row) {
      for (Integer col = 0; col < 12; ++col) {
        if (rng() % 3) continue;
        TCellProperties& p = a.m.CellProperties(col, row);
        p.SetBrushColor(rng() & 0xFFFFFF);
        p.FontSize = static_cast<Integer>(rng() % 30);
        p.FontName = "Font " + std::to_string(rng() % 5);
        p.FontStyle = TFontStyles{fsBold, fsStrikeOut};
        p.Alignment = static_cast<TAlignment>(rng() % 3);
        p.SetVAlignment(static_cast<TVAlignment>(rng() % 3));
        p.Editor = static_cast<TEditorType>(rng() % EditorTypeCount);
        p.ReadOnly = rng() % 2;
        p.NodeLevel = static_cast<Integer>(rng() % 4);
        p.BorderWidth = 1;
        p.BorderColor = clBlue;
        if (a.m.GetRawCell(col, row).empty()) a.m.SetDisplayCell(col, row, "cell\t" + std::to_string(rng()));
      }
    }
    a.m.MergeCells(9, 10, 2, 3);
    const std::string s = SaveCellsToStream(a.host, {1, 1, 11, 13});
    StreamGrid b(12, 14);
    LoadCellsFromStream(b.host, {1, 1}, s);
    b.m.Check();
    for (Integer row = 1; row < 14; ++row) {
      for (Integer col = 1; col < 12; ++col) {
        const std::string where = "seed " + std::to_string(seed) + " cell " + std::to_string(col) + "," +
                                  std::to_string(row);
        EXPECT_EQ(a.m.GetDisplayCell(col, row), b.m.GetDisplayCell(col, row)) << where;
        ExpectSameProperties(a.m.GetRawObject(col, row), b.m.GetRawObject(col, row), where);
      }
    }
  }
}

TEST(CellStream, RowsPastSixteenBitsKeepTheirPlaces) {
  // A block across row 65,536.
  StreamGrid a(3, 70000);
  for (Integer row = 65530; row < 65542; ++row) a.m.SetDisplayCell(1, row, "r" + std::to_string(row));
  StreamGrid b(3, 70000);
  LoadCellsFromStream(b.host, {0, 65530}, SaveCellsToStream(a.host, {1, 65530, 1, 65541}));
  for (Integer row = 65530; row < 65542; ++row) EXPECT_EQ(b.m.GetDisplayCell(0, row), "r" + std::to_string(row));

  // A full copy of a 70,000-row grid.
  a.m.SetDisplayCell(2, 69999, "last");
  a.m.SetRowHeights(69000, 41);
  StreamGrid c(2, 2);
  LoadCellsFromStream(c.host, {0, 0}, SaveCellsToStream(a.host, {0, 0, 2, 69999}));
  EXPECT_EQ(c.m.RowCount(), 70000);
  EXPECT_EQ(c.m.GetDisplayCell(2, 69999), "last");
  EXPECT_EQ(c.m.GetDisplayCell(1, 65537), "r65537");
  EXPECT_EQ(c.m.RowHeights(69000), 41);
}

TEST(CellStream, MalformedStreamsRaiseTheReadErrorAndATrailingByteIsIgnored) {
  StreamGrid a(3, 3);
  a.m.SetDisplayCell(0, 0, "x");
  StreamGraphic(a.m, 1, 1, ctCheckBox);
  const std::string s = SaveCellsToStream(a.host, {0, 0, 1, 1});
  {
    StreamGrid b(3, 3);
    LoadCellsFromStream(b.host, {0, 0}, s + "\x02");
    EXPECT_EQ(b.m.GetDisplayCell(0, 0), "x");
  }
  std::vector<std::string> bad = {
      "",
      "TVGC",
      "XVGC\x01\x00",
      std::string("TVGC\x02\x00", 6) + s.substr(6),  // an unknown version
      s.substr(0, s.size() - 3),                    // a record cut short
      s.substr(0, 12),                              // the header cut short
      s + "\x02\xFF\xFF\xFF\x7F",                   // a length past the end
      s + std::string("\x05\x00\x00\x00\x00", 5),   // a class where a cell is due
  };
  // A header whose counts do not match its sizes.
  std::string counts = s;
  counts[11] = 9;
  bad.push_back(counts);
  for (size_t i = 0; i < bad.size(); ++i) {
    StreamGrid b(3, 3);
    EXPECT_THROW(LoadCellsFromStream(b.host, {0, 0}, bad[i]), rtl::EReadError) << i;
    b.m.Check();
  }
}
