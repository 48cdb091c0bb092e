// The colour picker drop-down on the offscreen platform and the manual
// clock: the named colours, the index and the colour and how each moves the
// other (a colour no entry has leaves no entry chosen), the value texts,
// the list keys closed and open, the 500 ms search, Enter on a hot item,
// Escape restoring the index, the wheel, clicks committing in every style,
// and the edit part's colour box and text on pixels.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumColorPickerDropDown.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct PickerRig {
  TForm* owner = MakeForm(320, 300);
  TLumColorPickerDropDown* picker = nullptr;
  int selects = 0;
  explicit PickerRig(bool named = true) {
    picker = new TLumColorPickerDropDown(owner);
    picker->SetParent(owner);
    picker->SetBounds(10, 10, 180, 22);
    picker->SetDropPosition(TDropPosition::dpDown);
    if (named) picker->AddNamedColors();
    picker->OnSelect = [this](TObject*) { ++selects; };
    // No modifier held from an earlier test: the keys below are plain.
    Key(owner, Qt::Key_Shift);
    Pump();
  }
  ~PickerRig() { Free(owner); }
  void KeyDown(Word key) {
    picker->Perform(WM_KEYDOWN, key, 0);
    Pump();
  }
  void Open() {
    picker->DropDown();
    Pump();
    ASSERT_TRUE(picker->DroppedDown());
  }
};

TEST(ColorPicker, NamedColoursAndTheIndexAndColourMovingEachOther) {
  PickerRig empty(false);
  EXPECT_EQ(empty.picker->Colors()->Count(), 0);
  PickerRig rig;
  TLumColorPickerDropDown* p = rig.picker;
  ASSERT_EQ(p->Colors()->Count(), 16);
  const char* captions[] = {"Black", "Maroon", "Green", "Olive", "Navy",    "Purple", "Teal", "Gray",
                            "Silver", "Red",   "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p->Colors()->Items(i)->Caption(), captions[i]);
  EXPECT_EQ(p->Colors()->Items(9)->Color(), TColor(0x0000FF));
  EXPECT_EQ(p->Colors()->Items(4)->Color(), TColor(0x800000));
  p->AddNamedColors();
  EXPECT_EQ(p->Colors()->Count(), 32);
  p->Colors()->Clear();
  p->AddNamedColors();

  struct Step {
    const char* name;
    std::function<void()> act;
    int index;
    TColor colour;
    int selects;
    const char* text;
  } steps[] = {
      {"red by colour selects its entry", [&] { p->SetSelectedColor(0x0000FF); }, 9, 0x0000FF, 1, "Red"},
      {"the same colour again does nothing", [&] { p->SetSelectedColor(0x0000FF); }, 9, 0x0000FF, 1, "Red"},
      {"a colour no entry has chooses none, untold", [&] { p->SetSelectedColor(0x123456); }, -1, 0x123456, 1,
       "#563412"},
      {"an entry by index", [&] { p->SetItemIndex(12); }, 12, 0xFF0000, 2, "Blue"},
      {"past the end ignored", [&] { p->SetItemIndex(16); }, 12, 0xFF0000, 2, "Blue"},
      {"-1 keeps the colour and tells", [&] { p->SetItemIndex(-1); }, -1, 0xFF0000, 3, "#0000FF"},
  };
  p->SetColorValueText(TColorValueText::cvtHTML);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.act();
    EXPECT_EQ(p->ItemIndex(), s.index);
    EXPECT_EQ(p->SelectedColor(), s.colour);
    EXPECT_EQ(rig.selects, s.selects);
    EXPECT_EQ(p->GetColorValueText(), s.text);
    EXPECT_EQ(p->GetText(), s.text);
  }
}

TEST(ColorPicker, ValueTextsOfAColourNotFromTheList) {
  PickerRig rig(false);
  TLumColorPickerDropDown* p = rig.picker;
  struct Case {
    TColor colour;
    TColorValueText kind;
    const char* text;
  } cases[] = {
      {0x0000FF, TColorValueText::cvtHTML, "#FF0000"},
      {0x0000FF, TColorValueText::cvtHex, "0000FF"},
      {0x0000FF, TColorValueText::cvtRGB, "Red:255,Green:0,Blue:0"},
      {0x0000FF, TColorValueText::cvtWebName, "red"},
      {0x0000FF, TColorValueText::cvtNone, ""},
      {0xFFFF00, TColorValueText::cvtWebName, "aqua"},  // the first of two names
      {0x8B3D48, TColorValueText::cvtWebName, "darkslateblue"},
      {0x123456, TColorValueText::cvtWebName, "#563412"},
      {0x0A0B0C, TColorValueText::cvtHex, "0A0B0C"},
      {ColorToRGB(clWhite), TColorValueText::cvtRGB, "Red:255,Green:255,Blue:255"},
  };
  for (const Case& c : cases) {
    p->SetSelectedColor(c.colour);
    p->SetColorValueText(c.kind);
    EXPECT_EQ(p->GetColorValueText(), c.text) << std::hex << c.colour;
  }
  // A system colour is named by what it shows.
  p->SetSelectedColor(clWindow);
  p->SetColorValueText(TColorValueText::cvtHTML);
  const TColor shown = ColorToRGB(clWindow);
  char want[8];
  std::snprintf(want, sizeof want, "#%02X%02X%02X", shown & 0xFF, (shown >> 8) & 0xFF, (shown >> 16) & 0xFF);
  EXPECT_EQ(p->GetColorValueText(), want);
}

TEST(ColorPicker, KeysOnAClosedPicker) {
  PickerRig rig;
  struct Step {
    Word key;
    int index;
  } steps[] = {{VK_DOWN, 0}, {VK_UP, 0}, {VK_DOWN, 1}, {VK_END, 15}, {VK_DOWN, 15}, {VK_HOME, 0}, {VK_UP, 0}};
  for (const Step& s : steps) {
    rig.KeyDown(s.key);
    EXPECT_EQ(rig.picker->ItemIndex(), s.index) << s.key;
    EXPECT_FALSE(rig.picker->DroppedDown());
  }
}

TEST(ColorPicker, KeysOnAnOpenListChangeTheValueAndLeaveItOpen) {
  PickerRig rig;
  rig.picker->SetColumns(2);
  rig.Open();
  TLumCustomItemSelector* list = rig.picker->ListSelector();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Items()->Count(), 16);
  struct Step {
    Word key;
    int index;
  } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 2}, {VK_RIGHT, 3}, {VK_UP, 1}, {VK_LEFT, 0}, {VK_END, 15}, {VK_HOME, 0}};
  for (const Step& s : steps) {
    rig.KeyDown(s.key);
    EXPECT_EQ(rig.picker->ItemIndex(), s.index) << s.key;
    EXPECT_EQ(list->ItemIndex(), s.index) << s.key;
    EXPECT_TRUE(rig.picker->DroppedDown()) << s.key;
  }
  // A page is the rows the list shows, times the columns.
  const int page = list->VisibleItemCount();
  ASSERT_GT(page, 0);
  rig.KeyDown(VK_NEXT);
  EXPECT_EQ(rig.picker->ItemIndex(), std::min(page, 15));
  rig.KeyDown(VK_PRIOR);
  EXPECT_EQ(rig.picker->ItemIndex(), 0);
}

TEST(ColorPicker, SearchByTypedLettersResetsAfterHalfASecond) {
  ManualTime time(300000);
  PickerRig rig;
  rig.Open();
  struct Step {
    const char* name;
    Word key;
    uint64_t pauseBefore;
    const char* search;
    int index;
  } steps[] = {
      {"G", 'G', 0, "G", 2},           // Green before Gray
      {"R within the pause", 'R', 300, "GR", 2},
      {"A", 'A', 100, "GRA", 7},       // Gray
      {"B after a pause", 'B', 500, "B", 0},  // Black
      {"L", 'L', 10, "BL", 0},
      {"U", 'U', 10, "BLU", 12},       // Blue
      {"no match keeps the choice", 'Z', 10, "BLUZ", 12},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.pauseBefore) time.Advance(s.pauseBefore);
    rig.KeyDown(s.key);
    EXPECT_EQ(rig.picker->SearchText(), s.search);
    EXPECT_EQ(rig.picker->ItemIndex(), s.index);
    EXPECT_TRUE(rig.picker->DroppedDown());
  }
  time.Advance(500);
  EXPECT_EQ(rig.picker->SearchText(), "");
  // Keys without a character (Shift, F2, Insert) leave the search alone.
  for (Word k : {Word(VK_SHIFT), Word(VK_F2), Word(VK_INSERT)}) rig.KeyDown(k);
  EXPECT_EQ(rig.picker->SearchText(), "");
  rig.KeyDown('N');
  EXPECT_EQ(rig.picker->ItemIndex(), 4);  // Navy
}

TEST(ColorPicker, EnterOnAHotItemCommitsOnceAndEscapeRestoresTheIndex) {
  PickerRig rig;
  rig.picker->SetItemIndex(5);
  rig.selects = 0;
  rig.Open();
  rig.picker->ListSelector()->Selector()->SetHotIndex(3);
  rig.KeyDown(VK_RETURN);
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 3);
  EXPECT_EQ(rig.selects, 1);
  // Without a hot item Enter closes and tells the value once.
  rig.Open();
  rig.selects = 0;
  rig.KeyDown(VK_RETURN);
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 3);
  EXPECT_EQ(rig.selects, 1);
  // Keys change the value live; Escape brings back the index of the opening.
  rig.Open();
  rig.KeyDown(VK_DOWN);
  rig.KeyDown(VK_DOWN);
  EXPECT_EQ(rig.picker->ItemIndex(), 5);
  rig.KeyDown(VK_ESCAPE);
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 3);
  EXPECT_EQ(rig.picker->SelectedColor(), rig.picker->Colors()->Items(3)->Color());
}

TEST(ColorPicker, TheWheelMovesTheHotItemOpenAndTheChoiceClosed) {
  PickerRig rig;
  rig.Open();
  rig.picker->MouseWheelDownHook();
  rig.picker->MouseWheelDownHook();
  EXPECT_EQ(rig.picker->ListSelector()->HotIndex(), 1);
  EXPECT_EQ(rig.picker->ItemIndex(), -1);
  rig.picker->MouseWheelUpHook();
  EXPECT_EQ(rig.picker->ListSelector()->HotIndex(), 0);
  rig.picker->HideDropDown(false);
  Pump();
  rig.picker->MouseWheelDownHook();
  EXPECT_EQ(rig.picker->ItemIndex(), 0);
  rig.picker->MouseWheelDownHook();
  EXPECT_EQ(rig.picker->ItemIndex(), 1);
  EXPECT_FALSE(rig.picker->DroppedDown());
  rig.picker->SetReadOnly(true);
  rig.picker->MouseWheelDownHook();
  EXPECT_EQ(rig.picker->ItemIndex(), 1);
}

TEST(ColorPicker, AClickCommitsAndClosesInEveryStyle) {
  {
    PickerRig rig;
    rig.Open();
    TCustomItemSelector* inner = rig.picker->ListSelector()->Selector();
    const TRect r = rig.picker->ListSelector()->Items()->Items(4)->ItemRect();
    QTest::mouseClick(inner->Widget(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    Pump();
    EXPECT_FALSE(rig.picker->DroppedDown());
    EXPECT_EQ(rig.picker->ItemIndex(), 4);
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0x800000));
  }
  {
    PickerRig rig;
    rig.picker->SetItemIndex(2);
    rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csColorCube);
    rig.Open();
    TLumColorCubePanel* cube = rig.picker->CubePanel();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->SelectedColor(), TColor(0x008000));
    EXPECT_EQ(rig.picker->DropDownForm()->Width(), 182 + 2);
    EXPECT_EQ(rig.picker->DropDownForm()->Height(), 160 + 2);
    // A footer shows no grip here; the list style keeps it.
    EXPECT_FALSE(rig.picker->DropDownSizeable());
    // Escape changes nothing in the honeycomb.
    rig.KeyDown(VK_ESCAPE);
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0x008000));
    rig.Open();
    const TCubeCell& c = cube->Cell(64);
    QTest::mouseClick(cube->Widget(), Qt::LeftButton, {}, QPoint(c.X, c.Y));
    Pump();
    EXPECT_FALSE(rig.picker->DroppedDown());
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_EQ(rig.picker->ItemIndex(), -1);
  }
  {
    PickerRig rig;
    rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csSpectrum);
    rig.Open();
    TLumColorSpectrumPanel* s = rig.picker->SpectrumPanel();
    ASSERT_NE(s, nullptr);
    QTest::mouseClick(s->Widget(), Qt::LeftButton, {}, QPoint(s->SpectrumImage()->Left() + 64, s->SpectrumImage()->Top() + 64));
    Pump();
    EXPECT_FALSE(rig.picker->DroppedDown());
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0xFFFF00));
  }
  {
    PickerRig rig;
    rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csDiscrete);
    rig.picker->SetSelectedColor(0x0000FF);  // in no box
    rig.Open();
    TCustomColorSelector* d = rig.picker->DiscreteSelector();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->SelectedIndex(), -1);
    // Keys choose live and keep it open; Escape brings the colour back.
    rig.KeyDown(VK_DOWN);
    EXPECT_EQ(d->SelectedIndex(), 0);
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_TRUE(rig.picker->DroppedDown());
    rig.KeyDown(VK_ESCAPE);
    EXPECT_EQ(rig.picker->SelectedColor(), TColor(0x0000FF));
    rig.Open();
    const TRect r = d->Boxes()->Items(13)->BoxRect();
    QTest::mouseClick(d->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 3, r.Top + 3));
    Pump();
    EXPECT_FALSE(rig.picker->DroppedDown());
    EXPECT_EQ(rig.picker->SelectedColor(), d->Boxes()->Items(13)->Color());
    EXPECT_EQ(rig.picker->ItemIndex(), -1);
  }
}

TEST(ColorPicker, OnlyTheListIsSizeable) {
  PickerRig rig;
  EXPECT_TRUE(rig.picker->DropDownSizeable());
  for (TColorSelectionStyle s :
       {TColorSelectionStyle::csDiscrete, TColorSelectionStyle::csColorCube, TColorSelectionStyle::csSpectrum}) {
    rig.picker->SetColorSelectionStyle(s);
    EXPECT_FALSE(rig.picker->DropDownSizeable());
  }
  rig.picker->SetDropDownSizeable(false);
  rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csList);
  EXPECT_FALSE(rig.picker->DropDownSizeable());
}

// The edit part: a black-framed box in the colour and the text beside it,
// in each value style.
TEST(ColorPicker, TheEditShowsTheColourBoxAndItsText) {
  PickerRig rig(false);
  rig.picker->SetSelectedColor(0x2E8B57);
  QImage gallery(200, 5 * 26, QImage::Format_RGB32);
  gallery.fill(Qt::white);
  const TColorValueText kinds[] = {TColorValueText::cvtNone, TColorValueText::cvtHex, TColorValueText::cvtWebName,
                                   TColorValueText::cvtRGB, TColorValueText::cvtHTML};
  int row = 0;
  for (TColorValueText k : kinds) {
    rig.picker->SetColorValueText(k);
    Pump();
    QImage shot = Grab(rig.picker);
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width() && x < 200; ++x) gallery.setPixel(x, row * 26 + y, shot.pixel(x, y));
    ++row;
    const int top = (22 - 14) / 2 + 1;
    EXPECT_EQ(PixelAt(shot, 5, top), TColor(clBlack));
    EXPECT_EQ(PixelAt(shot, 5 + 13, top + 13), TColor(clBlack));
    EXPECT_EQ(PixelAt(shot, 11, top + 7), TColor(0x2E8B57));
    int ink = 0;
    for (int y = 3; y < 19; ++y)
      for (int x = 24; x < 150; ++x) ink += (PixelAt(shot, x, y) & 0xFF) < 0x80;
    if (k == TColorValueText::cvtNone)
      EXPECT_EQ(ink, 0);
    else
      EXPECT_GT(ink, 10) << static_cast<int>(k);
  }
  SaveShot(gallery, "dropdown_color_picker_edit.png");
  // Without a colour nothing is drawn beside the edit.
  rig.picker->SetSelectedColor(clNone);
  Pump();
  QImage none = Grab(rig.picker);
  EXPECT_NE(PixelAt(none, 5, 5), TColor(clBlack));
}

}  // namespace
}  // namespace dropdown

namespace dropdown {
namespace {

TEST(ColorPicker, SwitchingStylesWhileClosedSizesThePopupForTheStyleShown) {
  PickerRig rig;
  rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csColorCube);
  rig.Open();
  TDropDownForm* f = rig.picker->DropDownForm();
  EXPECT_EQ(f->Width(), 184);
  EXPECT_EQ(f->Height(), 162);
  rig.KeyDown(VK_ESCAPE);
  rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csList);
  EXPECT_EQ(f->Height(), 200);
  rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csColorCube);
  EXPECT_EQ(f->Width(), 184);
  EXPECT_EQ(f->Height(), 162);
  rig.picker->SetColorSelectionStyle(TColorSelectionStyle::csSpectrum);
  EXPECT_EQ(f->Width(), 152);
  EXPECT_EQ(f->Height(), 176);
  rig.Open();
  EXPECT_EQ(rig.picker->SpectrumPanel()->Width(), 150);
  EXPECT_EQ(rig.picker->SpectrumPanel()->Height(), 174);
}

}  // namespace
}  // namespace dropdown
