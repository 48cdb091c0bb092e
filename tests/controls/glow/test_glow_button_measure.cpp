// Measuring and automatic sizing through the fake-metrics canvas, whose
// characters are 9 pixels wide and 13 high on both text paths (GDI+ adds
// its 2-pixel padding at each end): the layouts, notes, the drop-down
// part, the three size states and the "\n" caption.
#include <gtest/gtest.h>

#include "GlowButtonRig.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace glowtest;

namespace {

constexpr vcl::TFakeMetrics kMetrics{9, 10, 3};

// A button that lays its text out on the fake-metrics canvas.
class MeasuredButton : public TLumGlowButton {
 public:
  explicit MeasuredButton(vcl::TComponent* owner) : TLumGlowButton(owner) {}
  vcl::TFakeMetricsCanvas fake{0, 0, kMetrics};
  vcl::TCanvas* MeasuringCanvas() override { return &fake; }
};

vcl::TImageList* Glyphs(vcl::TComponent* owner, int size) {
  auto* list = new vcl::TImageList(owner);
  list->SetWidth(size);
  list->SetHeight(size);
  vcl::TBitmap bitmap;
  bitmap.SetSize(size, size);
  bitmap.Canvas()->Brush()->SetColor(vcl::clGreen);
  bitmap.Canvas()->FillRect(vcl::Rect(0, 0, size, size));
  list->Add(&bitmap, nullptr);
  return list;
}

MeasuredButton* AddMeasured(Rig& rig, vcl::TImageList* images, bool gdip) {
  auto* b = new MeasuredButton(rig.form);
  b->SetParent(rig.panel);
  b->SetBounds(20, 20, 100, 41);
  b->Font()->SetName("Tahoma");
  b->SetImages(images);
  b->SetImageIndex(0);
  b->SetCaption("Abcd");  // 40 x 13 on the GDI+ path, 36 x 13 on the GDI one
  if (!gdip) b->SetAntiAlias(TAntiAlias::aaNone);
  b->HandleNeeded();
  b->SetAutoSize(true);
  rig.Pump();
  return b;
}

}  // namespace

TEST(GlowButtonMeasure, AThirtyTwoPixelGlyphOverItsCaption) {
  // Width max(32, 40) + 2 + 6 + 2 + 2 = 52, height 13 + 34 + 2 + 4 + 2 = 55
  // on the GDI+ path; the GDI path's caption is 36 wide.
  for (bool gdip : {true, false}) {
    Rig rig;
    MeasuredButton* b = AddMeasured(rig, Glyphs(rig.form, 32), gdip);
    b->SetLayout(blGlyphTop);
    b->SetAutoSize(false);
    b->SetAutoSize(true);
    rig.Pump();
    EXPECT_EQ(b->Width(), gdip ? 52 : 48) << gdip;
    EXPECT_EQ(b->Height(), 55) << gdip;
  }
}

TEST(GlowButtonMeasure, EveryLayoutWithNotesAndTheDropDownPart) {
  struct Case {
    TButtonLayout layout;
    bool notes;
    bool dropDown;
    TDropDownPosition position;
    int gdipW, gdipH, gdiW, gdiH;
  } cases[] = {
      // Beside the glyph: 16 + spacing, the caption, spacing; glyph height.
      {blGlyphLeft, false, false, dpRight, 70, 24, 66, 24},
      {blGlyphRight, false, false, dpRight, 70, 24, 66, 24},
      {blGlyphLeftAdjusted, false, false, dpRight, 70, 24, 66, 24},
      {blGlyphRightAdjusted, false, false, dpRight, 70, 24, 66, 24},
      // Above and below: the wider of glyph and caption; both heights.
      {blGlyphTop, false, false, dpRight, 52, 39, 48, 39},
      {blGlyphTopAdjusted, false, false, dpRight, 52, 39, 48, 39},
      {blGlyphBottom, false, false, dpRight, 52, 37, 48, 37},
      {blGlyphBottomAdjusted, false, false, dpRight, 52, 37, 48, 37},
      // Notes make any layout the adjusted left one: on the GDI+ path a
      // line under the caption; on the GDI path a word a line, as wide as
      // their widest word.
      {blGlyphTop, true, false, dpRight, 115, 34, 66, 47},
      // The drop-down part adds its 14 pixels on its side.
      {blGlyphLeft, false, true, dpRight, 84, 24, 80, 24},
      {blGlyphTop, false, true, dpBottom, 52, 53, 48, 53},
  };
  for (const Case& c : cases) {
    for (bool gdip : {true, false}) {
      Rig rig;
      MeasuredButton* b = AddMeasured(rig, Glyphs(rig.form, 16), gdip);
      b->SetLayout(c.layout);
      if (c.notes) b->Notes()->Add("Note text");
      b->SetDropDownButton(c.dropDown);
      b->SetDropDownPosition(c.position);
      b->SetAutoSize(false);
      b->SetAutoSize(true);
      rig.Pump();
      const int layout = static_cast<int>(c.layout);
      EXPECT_EQ(b->Width(), gdip ? c.gdipW : c.gdiW) << layout << " notes " << c.notes << " gdip " << gdip;
      EXPECT_EQ(b->Height(), gdip ? c.gdipH : c.gdiH) << layout << " notes " << c.notes << " gdip " << gdip;
    }
  }
}

TEST(GlowButtonMeasure, SizeStatesSizeSaveAndRestore) {
  Rig rig;
  MeasuredButton* b = AddMeasured(rig, Glyphs(rig.form, 16), true);
  b->SetLayout(blGlyphTop);
  b->SetDropDownButton(true);
  b->SetDropDownPosition(dpBottom);
  b->SetAutoSize(false);
  b->SetAutoSize(true);
  rig.Pump();
  struct Case {
    TButtonSizeState state;
    int w, h;
    TButtonLayout layout;
    TDropDownPosition position;
  } cases[] = {
      {bsLarge, 52, 53, blGlyphTop, dpBottom},  // glyph over caption, part below
      {bsLabel, 84, 24, blGlyphLeft, dpRight},  // one line, part at the right
      {bsGlyph, 40, 22, blGlyphLeft, dpRight},  // the glyph alone
  };
  // Each state's size is known before entering it, from any state.
  for (const Case& from : cases) {
    b->SetButtonSizeState(from.state);
    rig.Pump();
    for (const Case& c : cases) {
      vcl::TSize size{};
      b->GetSizeForState(c.state, size);
      EXPECT_EQ(size.cx, c.w) << int(from.state) << "->" << int(c.state);
      EXPECT_EQ(size.cy, c.h) << int(from.state) << "->" << int(c.state);
    }
    EXPECT_EQ(b->Width(), from.w) << int(from.state);
    EXPECT_EQ(b->Height(), from.h) << int(from.state);
    EXPECT_EQ(b->Layout(), from.layout) << int(from.state);
    EXPECT_EQ(b->DropDownPosition(), from.position) << int(from.state);
  }
  b->SetButtonSizeState(bsLarge);
  rig.Pump();
  EXPECT_EQ(b->Layout(), blGlyphTop);
  EXPECT_EQ(b->DropDownPosition(), dpBottom);
  EXPECT_EQ(b->Width(), 52);
  // The bounds the ribbon may set: Max switches, Min only upwards.
  b->SetMaxButtonSizeState(bsLabel);
  EXPECT_EQ(b->ButtonSizeState(), bsLabel);
  b->SetMinButtonSizeState(bsGlyph);
  EXPECT_EQ(b->ButtonSizeState(), bsLabel);
  b->SetMinButtonSizeState(bsLarge);
  EXPECT_EQ(b->ButtonSizeState(), bsLarge);
}

TEST(GlowButtonMeasure, TheHostMayChangeAnAutomaticSize) {
  Rig rig;
  MeasuredButton* b = AddMeasured(rig, Glyphs(rig.form, 16), true);
  std::vector<std::pair<int, int>> offered;
  b->OnInternalSize = [&](vcl::TObject*, int& w, int& h) {
    offered.push_back({w, h});
    w += 10;
    h = 66;
  };
  b->SetAutoSize(false);
  b->SetAutoSize(true);
  rig.Pump();
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.back(), (std::pair{70, 24}));
  EXPECT_EQ(b->Width(), 80);
  EXPECT_EQ(b->Height(), 66);
}

TEST(GlowButtonMeasure, ALineMarkBreaksLargeCaptionsAndIsASpaceInSmallOnes) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  vcl::TFakeMetricsCanvas fake(0, 0, kMetrics);
  vcl::TFont font;
  font.SetName("Tahoma");
  struct Case {
    const char* caption;
    bool gdip;
    bool small;
    int w, h;
  } cases[] = {
      // Caption box plus spacing: two lines of "One" / "Two", or one line.
      {"One\\nTwo", true, false, 27 + 4 + 2, 26 + 2},
      {"One\\NTwo", true, false, 27 + 4 + 2, 26 + 2},
      {"One\\nTwo", true, true, 63 + 4 + 2 + 18, 16 + 2},
      {"One\\nTwo", false, false, 27 + 2, 26 + 2},
      {"One\\nTwo", false, true, 63 + 2 + 18, 16 + 2},
      {"One\\xTwo", true, false, 72 + 4 + 2, 13 + 2},
      // UTF-8 text measures by its characters, not its bytes.
      {"\xC3\x89t\xC3\xA9", true, false, 27 + 4 + 2, 13 + 2},
      {"\xC3\x89t\xC3\xA9", false, false, 27 + 2, 13 + 2},
  };
  vcl::TBitmap glyph;
  glyph.SetSize(20, 20);
  for (const Case& c : cases) {
    TGlowDrawInput in;
    in.R = vcl::Rect(0, 0, 100, 41);
    in.Font = &font;
    in.NotesFont = &font;
    in.Caption = c.caption;
    in.AntiAlias = c.gdip ? TAntiAlias::aaClearType : TAntiAlias::aaNone;
    in.Measure = true;
    if (c.small) {
      in.GlyphSize = {16, 16};
      in.Glyph = &glyph;
    }
    const vcl::TSize got = b->DrawGlowButton(&fake, in);
    EXPECT_EQ(got.cx, c.w) << c.caption << " gdip " << c.gdip << " small " << c.small;
    EXPECT_EQ(got.cy, c.h) << c.caption << " gdip " << c.gdip << " small " << c.small;
  }
}

TEST(GlowButtonMeasure, TheGdiPathGreysADisabledCaptionButKeepsTheNotesColour) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  vcl::TRecordingCanvas canvas(kMetrics);
  vcl::TFont font, notesFont;
  font.SetName("Tahoma");
  font.SetColor(vcl::clNavy);
  notesFont.SetColor(vcl::clRed);
  TGlowDrawInput in;
  in.R = vcl::Rect(0, 0, 200, 60);
  in.Font = &font;
  in.NotesFont = &notesFont;
  in.Caption = "Cap";
  in.Notes = "Note";
  in.AntiAlias = TAntiAlias::aaNone;
  in.Layout = blGlyphTop;  // notes make it the adjusted left one
  for (bool enabled : {true, false}) {
    canvas.Clear();
    in.Enabled = enabled;
    b->DrawGlowButton(&canvas, in);
    std::vector<std::pair<std::string, TColor>> texts;
    for (const vcl::TCanvasRecord& r : canvas.Records())
      if (r.Op == "TextOut" || r.Op == "TextRect") texts.push_back({r.Text, r.FontColor});
    ASSERT_EQ(texts.size(), 2u) << enabled;
    EXPECT_EQ(texts[0].first, "Cap");
    EXPECT_EQ(texts[0].second, enabled ? vcl::clNavy : vcl::clGray);
    EXPECT_EQ(texts[1].first, "Note");
    EXPECT_EQ(texts[1].second, vcl::clRed);
  }
}
