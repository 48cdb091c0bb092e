// The header's and footer's looks as the drop-down and the grid create and
// copy them: defaults, which changes are told, copying between records and
// button collections, and the bars' checked list.
#include <gtest/gtest.h>

#include "dropdown/LumDropDownAppearance.h"
#include "rtl/Exceptions.h"

namespace dropdown {
namespace {

using namespace vcl;

TEST(BarAppearance, HeaderAndFooterStartWithTheSharedDefaults) {
  TComponent owner(nullptr);
  THeaderAppearance h(&owner);
  TFooterAppearance f(&owner);
  TFont plain;
  EXPECT_EQ(h.Owner(), &owner);
  EXPECT_EQ(f.Owner(), &owner);
  EXPECT_EQ(h.Color(), TColor(0xC0C0C0));
  EXPECT_EQ(f.Color(), TColor(0xC0C0C0));
  EXPECT_EQ(h.ColorTo(), clWhite);
  EXPECT_EQ(f.ColorTo(), clWhite);
  EXPECT_EQ(h.Caption(), "");
  EXPECT_EQ(h.Font()->Name(), "Tahoma");
  EXPECT_EQ(f.Font()->Name(), plain.Name());  // the class library's default
  EXPECT_EQ(h.GradientDirection(), TGradientDirection::gdVertical);
  EXPECT_TRUE(h.Visible());
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(h.Height(), 22);
  EXPECT_EQ(f.Height(), 22);
  EXPECT_EQ(h.BorderColor(), clBlack);
  EXPECT_EQ(h.BorderWidth(), 1);
  EXPECT_EQ(h.ImageIndex(), -1);
  EXPECT_EQ(h.ButtonsList()->Count(), 0);
  EXPECT_EQ(h.ButtonsList()->Owner(), &owner);
  EXPECT_EQ(f.ButtonsList()->Owner(), &owner);
  EXPECT_EQ(h.ButtonAlignment(), TButtonAlignment::baRight);
  EXPECT_TRUE(f.SizeGrip());
}

TEST(BarAppearance, VisibleAndTheButtonsTellTheirChanges) {
  THeaderAppearance h(nullptr);
  int changes = 0, buttonChanges = 0;
  h.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &h);
    ++changes;
  };
  h.OnButtonsChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &h);
    ++buttonChanges;
  };
  h.SetVisible(true);
  EXPECT_EQ(changes, 0);
  h.SetVisible(false);
  EXPECT_EQ(changes, 1);
  // Plain values tell nothing.
  h.SetHeight(30);
  h.SetColor(0x123456);
  h.SetCaption("<B>x</B>");
  EXPECT_EQ(changes, 1);
  THeaderButton* b = h.ButtonsList()->Add();
  EXPECT_EQ(b->ImageIndex(), -1);
  EXPECT_TRUE(b->Enabled());
  EXPECT_EQ(b->Width(), 0);
  EXPECT_EQ(b->Height(), 0);
  struct Step {
    const char* name;
    std::function<void()> change;
    int told;  // buttonChanges after it
  } steps[] = {
      {"caption", [&] { b->SetCaption("OK"); }, 1},
      {"same caption", [&] { b->SetCaption("OK"); }, 1},
      {"disabled", [&] { b->SetEnabled(false); }, 2},
      {"width", [&] { b->SetWidth(40); }, 3},
      {"height, untold", [&] { b->SetHeight(20); }, 3},
      {"image, untold", [&] { b->SetImageIndex(2); }, 3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.change();
    EXPECT_EQ(buttonChanges, s.told);
  }
  EXPECT_EQ(b->Height(), 20);
  EXPECT_EQ(b->ImageIndex(), 2);
}

TEST(BarAppearance, CopiesGoOnlyBetweenTheSameKind) {
  TComponent owner(nullptr);
  THeaderAppearance h(&owner);
  h.SetColor(0x010203);
  h.SetColorTo(clNone);
  h.SetBorderColor(0x0000FF);
  h.SetCaption("Pick <I>one</I>");
  h.Font()->SetName("DejaVu Sans");
  h.SetImageIndex(4);
  h.SetBorderWidth(2);
  h.SetGradientDirection(TGradientDirection::gdHorizontal);
  h.SetHeight(30);
  h.SetVisible(false);
  h.SetButtonAlignment(TButtonAlignment::baLeft);
  THeaderButton* b = h.ButtonsList()->Add();
  b->SetCaption("All");
  b->SetWidth(50);
  b->SetHeight(18);
  b->SetImageIndex(1);
  b->SetEnabled(false);

  THeaderAppearance copy(nullptr);
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(&h);
  EXPECT_EQ(changes, 1);  // Visible through its setter
  EXPECT_EQ(copy.Color(), TColor(0x010203));
  EXPECT_EQ(copy.ColorTo(), clNone);
  EXPECT_EQ(copy.BorderColor(), TColor(0x0000FF));
  EXPECT_EQ(copy.Caption(), "Pick <I>one</I>");
  EXPECT_EQ(copy.Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(copy.ImageIndex(), 4);
  EXPECT_EQ(copy.BorderWidth(), 2);
  EXPECT_EQ(copy.GradientDirection(), TGradientDirection::gdHorizontal);
  EXPECT_EQ(copy.Height(), 30);
  EXPECT_FALSE(copy.Visible());
  EXPECT_EQ(copy.ButtonAlignment(), TButtonAlignment::baLeft);
  ASSERT_EQ(copy.ButtonsList()->Count(), 1);
  THeaderButton* cb = copy.ButtonsList()->Items(0);
  EXPECT_NE(cb, b);
  EXPECT_EQ(cb->Caption(), "All");
  EXPECT_EQ(cb->Width(), 50);
  EXPECT_EQ(cb->Height(), 18);
  EXPECT_EQ(cb->ImageIndex(), 1);
  EXPECT_FALSE(cb->Enabled());
  // Copying again replaces the buttons rather than adding to them.
  copy.Assign(&h);
  EXPECT_EQ(copy.ButtonsList()->Count(), 1);

  // A footer is no header: each ignores the other.
  TFooterAppearance f(&owner);
  f.Assign(&h);
  EXPECT_EQ(f.Color(), TColor(0xC0C0C0));
  EXPECT_TRUE(f.Visible());
  copy.Assign(&f);
  EXPECT_EQ(copy.Color(), TColor(0x010203));
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Height(), 30);

  // Footers copy their size grip and their buttons' modal results.
  f.SetSizeGrip(false);
  TFooterButton* fb = f.ButtonsList()->Add();
  fb->SetCaption("OK");
  fb->SetModalResult(mrOk);
  TFooterAppearance f2(nullptr);
  f2.Assign(&f);
  EXPECT_FALSE(f2.SizeGrip());
  ASSERT_EQ(f2.ButtonsList()->Count(), 1);
  EXPECT_EQ(f2.ButtonsList()->Items(0)->ModalResult(), mrOk);
  EXPECT_EQ(f2.ButtonsList()->Items(0)->Caption(), "OK");

  // A button takes only its own kind.
  THeaderButton* header = copy.ButtonsList()->Items(0);  // the copy's buttons were replaced above
  EXPECT_THROW(header->Assign(fb), rtl::EConvertError);
  EXPECT_THROW(fb->Assign(header), rtl::EConvertError);
}

TEST(BarAppearance, TheButtonControlListRaisesOnReadsPastItsEnd) {
  TDbgList list;
  int a = 1, b = 2;
  list.Add(&a);
  list.Add(&b);
  EXPECT_EQ(list.Items(1), &b);
  EXPECT_EQ(list[0], &a);
  for (Integer bad : {2, 5, -1}) {
    try {
      list.Items(bad);
      ADD_FAILURE() << bad;
    } catch (const rtl::Exception& e) {
      EXPECT_EQ(e.Message(), "Index out of bounds in list read access") << bad;
    }
  }
}

}  // namespace
}  // namespace dropdown
