// The item selector's items and item looks: which item changes are told,
// copies, the three colour styles as a table, copying looks (a different
// style replacing the copied colours) and the application styles' item
// looks applied over them.
#include <gtest/gtest.h>

#include "dropdown/LumItemAppearance.h"
#include "rtl/Exceptions.h"

namespace dropdown {
namespace {

using namespace vcl;

TEST(SelectorItems, CaptionColourAndImageIndexTellTheirChanges) {
  TComponent owner(nullptr);
  TSelectorItems items(&owner);
  EXPECT_EQ(items.Owner(), &owner);
  int told = 0;
  items.OnChange = [&] { ++told; };
  TSelectorItem* item = items.Add();
  EXPECT_EQ(item->Caption(), "");
  EXPECT_EQ(item->Color(), clNone);
  EXPECT_EQ(item->ImageIndex(), -1);
  EXPECT_TRUE(item->Enabled());
  struct Step {
    const char* name;
    std::function<void()> change;
    int told;
  } steps[] = {
      {"caption", [&] { item->SetCaption("<B>Red</B>"); }, 1},
      {"same caption", [&] { item->SetCaption("<B>Red</B>"); }, 1},
      {"colour", [&] { item->SetColor(clRed); }, 2},
      {"image index", [&] { item->SetImageIndex(3); }, 3},
      {"hint, untold", [&] { item->SetHint("the red one"); }, 3},
      {"disabled, untold", [&] { item->SetEnabled(false); }, 3},
      {"image, untold", [&] { item->SetImage(nullptr); }, 3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.change();
    EXPECT_EQ(told, s.told);
  }
  TSelectorItems copy(nullptr);
  int copyTold = 0;
  copy.OnChange = [&] { ++copyTold; };
  copy.Assign(items);
  EXPECT_EQ(copyTold, 1);
  ASSERT_EQ(copy.Count(), 1);
  TSelectorItem* c = copy.Items(0);
  EXPECT_EQ(c->Caption(), "<B>Red</B>");
  EXPECT_EQ(c->Color(), clRed);
  EXPECT_EQ(c->ImageIndex(), 3);
  EXPECT_EQ(c->Hint(), "the red one");
  EXPECT_FALSE(c->Enabled());
  copy.Assign(items);
  EXPECT_EQ(copy.Count(), 1);
  TFont font;
  EXPECT_THROW(copy.Items(0)->Assign(&font), rtl::EConvertError);  // c went with the copy's old items
}

struct StyleColours {
  TColor hot, hotTo, mirrorHot, mirrorHotTo, borderTop, borderBottom, border, edge, selected, selectedTo,
      mirrorSelected, mirrorSelectedTo;
};

StyleColours Read(const TItemAppearance& a) {
  return {a.ColorHot(),    a.ColorHotTo(),      a.ColorMirrorHot(), a.ColorMirrorHotTo(),
          a.BorderColorTop(), a.BorderColorBottom(), a.BorderColor(), a.EdgeColor(),
          a.ColorSelected(), a.ColorSelectedTo(), a.ColorMirrorSelected(), a.ColorMirrorSelectedTo()};
}

bool operator==(const StyleColours& x, const StyleColours& y) {
  return x.hot == y.hot && x.hotTo == y.hotTo && x.mirrorHot == y.mirrorHot && x.mirrorHotTo == y.mirrorHotTo &&
         x.borderTop == y.borderTop && x.borderBottom == y.borderBottom && x.border == y.border && x.edge == y.edge &&
         x.selected == y.selected && x.selectedTo == y.selectedTo && x.mirrorSelected == y.mirrorSelected &&
         x.mirrorSelectedTo == y.mirrorSelectedTo;
}

const StyleColours kStyles[3] = {
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
     0x68E3F9},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
};

TEST(ItemAppearance, ColourStylesSetTheirTwelveColours) {
  TItemAppearance a(nullptr);
  EXPECT_EQ(a.ItemColorStyle(), 1);
  EXPECT_TRUE(Read(a) == kStyles[0]);
  EXPECT_EQ(a.ColorSelectedText(), clBlack);
  EXPECT_EQ(a.ColorHotText(), clBlack);
  EXPECT_EQ(a.Font()->Name(), "Tahoma");
  for (int style : {2, 3, 1}) {
    SCOPED_TRACE(style);
    a.SetItemColorStyle(style);
    EXPECT_TRUE(Read(a) == kStyles[style - 1]);
  }
  // Unchanged does nothing: a colour set by hand stays.
  a.SetColorHot(0x010101);
  a.SetItemColorStyle(1);
  EXPECT_EQ(a.ColorHot(), TColor(0x010101));
  // Another value is stored and sets nothing.
  a.SetItemColorStyle(7);
  EXPECT_EQ(a.ItemColorStyle(), 7);
  EXPECT_EQ(a.ColorHot(), TColor(0x010101));
}

TEST(ItemAppearance, CopiesTakeTheColoursThenTheStyle) {
  TItemAppearance source(nullptr);
  source.SetItemColorStyle(2);
  source.SetColorHot(0x0A0B0C);  // by hand, after the style
  source.SetColorSelectedText(clRed);
  source.SetColorHotText(clBlue);
  source.Font()->SetName("DejaVu Sans");
  // The same style: the hand-set colour arrives.
  TItemAppearance same(nullptr);
  same.SetItemColorStyle(2);
  same.Assign(&source);
  EXPECT_EQ(same.ColorHot(), TColor(0x0A0B0C));
  EXPECT_EQ(same.ColorSelectedText(), clRed);
  EXPECT_EQ(same.ColorHotText(), clBlue);
  EXPECT_EQ(same.Font()->Name(), "DejaVu Sans");
  // A different style: the style's own colours replace the copied ones.
  TItemAppearance other(nullptr);
  other.Assign(&source);
  EXPECT_EQ(other.ItemColorStyle(), 2);
  EXPECT_TRUE(Read(other) == kStyles[1]);
  EXPECT_EQ(other.ColorSelectedText(), clRed);
  TFont font;
  EXPECT_THROW(other.Assign(&font), rtl::EConvertError);
}

TEST(ItemAppearance, ApplicationStylesGiveTheItemLooks) {
  TItemAppearance a(nullptr);
  a.SetColorSelectedText(clRed);
  a.SetColorHotText(clRed);
  ApplyItemAppearanceStyle(a, REZORuvar::tsCustom);
  EXPECT_EQ(a.ColorSelectedText(), clBlack);  // the text colours, even for custom
  EXPECT_EQ(a.ColorHotText(), clBlack);
  EXPECT_TRUE(Read(a) == kStyles[0]);  // and nothing else
  ApplyItemAppearanceStyle(a, REZORuvar::tsOffice2007Luna);
  EXPECT_EQ(a.ColorHot(), TColor(0xEBFDFF));
  EXPECT_EQ(a.ColorMirrorSelectedTo(), TColor(0x7AE1FE));
  EXPECT_EQ(a.BorderColorTop(), TColor(0xF4FEFF));
  EXPECT_EQ(a.EdgeColor(), TColor(0xC3D9DF));
  ApplyItemAppearanceStyle(a, REZORuvar::tsWindowsXP);
  EXPECT_EQ(a.ColorSelected(), clHighlight);
  EXPECT_EQ(a.ColorSelectedTo(), clNone);
  EXPECT_EQ(a.ColorMirrorHot(), clNone);
  EXPECT_EQ(a.BorderColor(), clHighlight);
  EXPECT_EQ(a.BorderColorTop(), clNone);
  EXPECT_EQ(a.ColorSelectedText(), clHighlightText);
  ApplyItemAppearanceStyle(a, REZORuvar::tsCustom);
  EXPECT_EQ(a.ColorSelected(), clHighlight);  // the last style's colours stay
  EXPECT_EQ(a.ColorSelectedText(), clBlack);
}

}  // namespace
}  // namespace dropdown
