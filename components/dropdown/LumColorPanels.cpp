#include "dropdown/LumColorPanels.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "dropdown/VoeSpin.h"
#include "rtl/Format.h"
#include "vcl/Forms.h"
#include "vcl/Resources.h"

namespace dropdown {

using namespace vcl;

namespace {

// The honeycomb's colours row by row as RGB (red in the high byte).
constexpr uint32_t kCubeRgb[TLumColorCubePanel::CellCount] = {
    0x003366, 0x336699, 0x3366CC, 0x003399, 0x000099, 0x0000CC, 0x000066,                                 // 1
    0x006666, 0x006699, 0x0099CC, 0x0066CC, 0x0033CC, 0x0000FF, 0x3333FF, 0x333399,                       // 2
    0x008080, 0x009999, 0x33CCCC, 0x00CCFF, 0x0099FF, 0x0066FF, 0x3366FF, 0x3333CC, 0x666699,             // 3
    0x339966, 0x00CC99, 0x00FFCC, 0x00FFFF, 0x33CCFF, 0x3399FF, 0x6699FF, 0x6666FF, 0x6600FF, 0x6600CC,   // 4
    0x339933, 0x00CC66, 0x00FF99, 0x66FFCC, 0x66FFFF, 0x66CCFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF,
    0x9900FF,  // 5
    0x006600, 0x00CC00, 0x00FF00, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCECFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF,
    0xCC00FF, 0x9900CC,  // 6
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF,
    0xFF00FF, 0xCC00CC, 0x660066,  // 7
    0x336600, 0x009900, 0x66FF33, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF33CC,
    0xCC0099, 0x800080,                                                                                   // 8
    0x333300, 0x669900, 0x99FF33, 0xCCFF66, 0xFFFF99, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xCC3399,
    0x990099,                                                                                             // 9
    0x666633, 0x99CC00, 0xCCFF33, 0xFFFF66, 0xFFCC66, 0xFF9966, 0xFF7C80, 0xFF0066, 0xD60093, 0x993366,   // 10
    0x808000, 0xCCCC00, 0xFFFF00, 0xFFCC00, 0xFF9933, 0xFF6600, 0xFF5050, 0xCC0066, 0x660033,             // 11
    0x996633, 0xCC9900, 0xFF9900, 0xCC6600, 0xFF3300, 0xFF0000, 0xCC0000, 0x990033,                       // 12
    0x663300, 0x996600, 0xCC3300, 0x993300, 0x990000, 0x800000, 0xA50021,                                 // 13
};

TColor RgbToColor(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

std::vector<TPoint> Hexagon(const TCubeCell& c, Integer w, Integer q) {
  return {{c.X - w, c.Y - q}, {c.X, c.Y - 2 * q}, {c.X + w, c.Y - q},
          {c.X + w, c.Y + q}, {c.X, c.Y + 2 * q}, {c.X - w, c.Y + q}};
}

// The colour-picking pointer, drawn here as a pixel pattern: a cross of two
// black strokes edged in white with an open centre, the hot spot in the
// middle of the gap.
const char* const kPointerRows[] = {
    "...........###...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........###...........",  //
    ".........................",  //
    ".........................",  //
    "###########.....##########",
    "#XXXXXXXX#...#...#XXXXXXX#",
    "###########.....##########",
    ".........................",  //
    ".........................",  //
    "...........###...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........#X#...........",  //
    "...........###...........",  //
};

// The pointer as a cursor of the screen's own list, made once: the pattern
// goes through an image file the cursor loader reads.
void RegisterColorPointer() {
  static bool registered = false;
  if (registered || !Screen) return;
  registered = true;
  constexpr int size = 26;
  std::string xpm = "/* XPM */\nstatic char* pointer[] = {\n\"26 26 3 1\",\n\". c None\",\n\"# c #FFFFFF\",\n\"X c #000000\",\n";
  for (int y = 0; y < size; ++y) {
    std::string row = y < static_cast<int>(std::size(kPointerRows)) ? kPointerRows[y] : "";
    row.resize(size, '.');
    // The strokes are black inside a white edge.
    xpm += "\"" + row + "\"" + (y + 1 < size ? ",\n" : "\n");
  }
  xpm += "};\n";
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tolvane-color-pointer-" + std::to_string(getpid()) + ".xpm");
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(xpm.data(), 1, xpm.size(), f);
    std::fclose(f);
    if (HCURSOR cursor = LoadCursorFromFile(file.string(), TPoint{12, 12}))
      Screen->SetCursors(TLumColorSpectrumPanel::crColorPointer, cursor);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
}

}  // namespace

TLumCustomColorSelectorPanel::TLumCustomColorSelectorPanel(TComponent* owner) : TCustomControl(owner) {}

// ---------------------------------------------------------------------------
// The honeycomb

TLumColorCubePanel::TLumColorCubePanel(TComponent* owner) : TLumCustomColorSelectorPanel(owner) {
  BuildCells();
  SetShowRGBHint(true);
  SetBounds(Left(), Top(), 182, 160);
}

void TLumColorCubePanel::BuildCells() {
  hexWidth_ = 6;
  hexQuarter_ = 3;
  Integer n = 1;
  for (Integer r = 1; r <= 13; ++r) {
    const Integer count = r <= 7 ? r + 6 : 20 - r;
    const Integer startX = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
    for (Integer k = 0; k < count; ++k, ++n) {
      cells_[static_cast<size_t>(n)] = TCubeCell{startX + 12 * k, 20 + 10 * (r - 1), RgbToColor(kCubeRgb[n - 1])};
    }
  }
}

void TLumColorCubePanel::SetSelectedColor(TColor c) {
  selectedColor_ = c;
  selectedIndex_ = -1;
  for (Integer i = 1; i <= CellCount; ++i)
    if (cells_[static_cast<size_t>(i)].Color == c) {
      selectedIndex_ = i;
      break;
    }
}

void TLumColorCubePanel::SetShowRGBHint(bool v) {
  showRGBHint_ = v;
  SetShowHint(v);
}

void TLumColorCubePanel::ClearHover() {
  hoverIndex_ = -1;
  SetBounds(Left(), Top(), 182, 160);
}

Integer TLumColorCubePanel::CellAt(Integer x, Integer y) const {
  for (Integer i = 1; i <= CellCount; ++i) {
    const TCubeCell& c = cells_[static_cast<size_t>(i)];
    const Integer dx = c.X - x, dy = c.Y - y;
    if (dx * dx + dy * dy <= hexWidth_ * hexWidth_) return i;
  }
  return -1;
}

void TLumColorCubePanel::DrawCell(Integer index, TCanvas* canvas) {
  if (index < 1 || index > CellCount || !canvas) return;
  const TCubeCell& c = cells_[static_cast<size_t>(index)];
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(c.Color);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(c.Color);
  canvas->Polygon(Hexagon(c, 6, 3));
  auto frame = [&](TColor outer) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(outer);
    canvas->Polygon(Hexagon(c, 5, 3));
    canvas->Pen()->SetColor(clWhite);
    canvas->Polygon(Hexagon(c, 4, 2));
  };
  if (index == hoverIndex_) frame(0x0000FF);
  if (index == selectedIndex_) frame(clBlack);
}

void TLumColorCubePanel::RedrawCell(Integer index) {
  if (HandleAllocated()) DrawCell(index, Canvas());
}

void TLumColorCubePanel::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  for (Integer i = 1; i <= CellCount; ++i) DrawCell(i, canvas);
}

void TLumColorCubePanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumCustomColorSelectorPanel::MouseDown(button, shift, x, y);
  const Integer i = CellAt(x, y);
  if (i < 1) return;
  if (selectedIndex_ > 0) {
    const Integer old = selectedIndex_;
    selectedIndex_ = -1;
    RedrawCell(old);
  }
  selectedColor_ = cells_[static_cast<size_t>(i)].Color;
  selectedIndex_ = i;
  RedrawCell(i);
  if (OnSelect) OnSelect(this);
}

void TLumColorCubePanel::MouseMove(TShiftState shift, Integer x, Integer y) {
  TLumCustomColorSelectorPanel::MouseMove(shift, x, y);
  const Integer i = CellAt(x, y);
  if (i > 0 && i != hoverIndex_) {
    if (hoverIndex_ > 0) {
      const Integer old = hoverIndex_;
      hoverIndex_ = -1;
      RedrawCell(old);
    }
    hoverIndex_ = i;
    RedrawCell(i);
    if (showRGBHint_) {
      const TColor c = cells_[static_cast<size_t>(i)].Color;
      SetHint(rtl::Format("Red: %d,  Green: %d,  Blue: %d",
                          {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>((c >> 16) & 0xFF)}));
      if (Application) Application->CancelHint();
    }
  } else if (i <= 0 && showRGBHint_) {
    SetHint("");
    if (Application) Application->CancelHint();
  }
}

void TLumColorCubePanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumCustomColorSelectorPanel::MouseUp(button, shift, x, y);
  NotifyRelease();
}

// ---------------------------------------------------------------------------
// The spectrum

TLumColorSpectrumPanel::TLumColorSpectrumPanel(TComponent* owner) : TLumCustomColorSelectorPanel(owner) {
  EnsureDropdownResources();
  image_ = new TImage(this);
  image_->SetParent(this);
  image_->SetBounds(0, 0, 128, 128);
  TBitmap spectrum;
  spectrum.LoadFromResourceName(HInstance, "RUZ_SPECTRUM");
  image_->Picture()->SetGraphic(&spectrum);
  image_->OnMouseMove = [this](TObject*, TShiftState, Integer x, Integer y) { ImageMove(x, y); };
  image_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer x, Integer y) { ImageDown(x, y); };
  image_->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { NotifyRelease(); };
  RegisterColorPointer();
  image_->SetCursor(crColorPointer);
  SetBounds(Left(), Top(), 150, 174);
}

TLumColorSpectrumPanel::~TLumColorSpectrumPanel() = default;

TBitmap* TLumColorSpectrumPanel::SpectrumBitmap() const {
  return image_ ? dynamic_cast<TBitmap*>(image_->Picture()->Graphic()) : nullptr;
}

TColor TLumColorSpectrumPanel::ColorAt(Integer x, Integer y) const {
  TBitmap* b = SpectrumBitmap();
  if (!b || x < 0 || y < 0 || x >= b->Width() || y >= b->Height()) return clNone;
  return b->Canvas()->Pixels(x, y);
}

void TLumColorSpectrumPanel::LayoutSpectrum() {
  SetBounds(Left(), Top(), 150, 174);
  const Integer l = (Width() - image_->Width()) / 2, t = 10;
  image_->SetBounds(l, t, image_->Width(), image_->Height());
  const Integer w = image_->Width(), b = t + image_->Height();
  selectedBox_ = TRect{l - 1, b + 8, l + w / 2 - 2, b + 28};
  hotBox_ = TRect{selectedBox_.Right + 4, selectedBox_.Top, l + w + 1, selectedBox_.Bottom};
  hotColor_ = clNone;
  Invalidate();
}

void TLumColorSpectrumPanel::DrawBox(TCanvas* canvas, const TRect& box, TColor color) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(0x808080);
  canvas->Rectangle(TRect{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1});
  canvas->Pen()->SetColor(clWhite);
  if (color == clNone) {
    // No colour yet: the box stays empty, crossed out.
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(box);
    canvas->Pen()->SetColor(0x808080);
    canvas->MoveTo(box.Left + 1, box.Top + 1);
    canvas->LineTo(box.Right - 1, box.Bottom - 1);
    return;
  }
  canvas->Brush()->SetColor(color);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Rectangle(box);
}

void TLumColorSpectrumPanel::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  const Integer l = image_->Left(), t = image_->Top(), w = image_->Width(), b = t + image_->Height();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(clWhite);
  canvas->Rectangle(TRect{l - 1, t - 1, l + w + 1, b + 1});
  canvas->Pen()->SetColor(0x808080);
  canvas->Rectangle(TRect{l - 2, t - 2, l + w + 2, b + 2});
  DrawBox(canvas, selectedBox_, selectedColor_);
  DrawBox(canvas, hotBox_, hotColor_);
}

void TLumColorSpectrumPanel::ImageMove(Integer x, Integer y) {
  hotColor_ = ColorAt(x, y);
  if (HandleAllocated()) DrawBox(Canvas(), hotBox_, hotColor_);
}

void TLumColorSpectrumPanel::ImageDown(Integer x, Integer y) {
  // The colour under the press itself, whether or not a move came first.
  hotColor_ = ColorAt(x, y);
  selectedColor_ = hotColor_;
  if (HandleAllocated()) {
    DrawBox(Canvas(), hotBox_, hotColor_);
    DrawBox(Canvas(), selectedBox_, selectedColor_);
  }
  if (OnSelect) OnSelect(this);
}

}  // namespace dropdown
