// Three application styles on a whole drop-down for a person to look at,
// written to dropdown_gallery_styles.png: the focused non-editable edit,
// and the open pop-up with its header and footer (caption and buttons,
// grip) around an item selector with a selected and a hot item. The
// pop-up's frame, its bars' first gradient row and the selected item's
// box are checked against the style's tables; Olive's pop-up has no frame.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>
#include <string>

#include "DropdownTestSupport.h"
#include "controls/LumStyleIF.h"
#include "dropdown/LumDropDown.h"
#include "dropdown/LumItemSelector.h"
#include "dropdown/LumDropDownStyles.h"

namespace dropdown {
namespace {

using namespace ddtest;

TEST(DropDownStyleGallery, ThreeStylesOnAWholeDropDown) {
  struct Case {
    const char* name;
    controls::REZORuvar style;
    bool framed;
  } cases[] = {
      {"Office 2003 blue", controls::tsOffice2003Blue, true},
      {"Office 2003 olive", controls::tsOffice2003Olive, false},
      {"Windows 7", controls::tsWindows7, true},
  };
  QImage gallery(3 * 230, 250, QImage::Format_RGB32);
  gallery.fill(Qt::white);
  QPainter painter(&gallery);
  int column = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TForm* owner = MakeForm(300, 80);
    auto* drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(10, 10, 200, 22);
    drop->SetEditorEnabled(false);
    drop->SetText("Sea green");
    drop->SetDropPosition(TDropPosition::dpDown);
    auto* list = new TLumCustomItemSelector(owner);
    list->SetSelectorType(TSelectorType::stColor);
    list->SetColumns(2);
    const std::pair<const char*, TColor> colours[] = {
        {"Red", 0x0000FF}, {"Sea green", 0x578B2E}, {"<b>Navy</b>", 0x800000}, {"Gold", 0x00D7FF},
        {"Orchid", 0xD670DA}, {"Tan", 0x8CB4D2}};
    for (const auto& [caption, colour] : colours) {
      TSelectorItem* item = list->Items()->Add();
      item->SetCaption(caption);
      item->SetColor(colour);
    }
    ApplyItemAppearanceStyle(*list->ItemAppearance(), c.style);
    // Room for the whole list inside the pop-up's frame.
    list->SetBounds(0, 0, list->GetSelectorSize().cx + 4, list->GetSelectorSize().cy + 4);
    // The pop-up is as wide as its content unless told; the frame needs two more.
    drop->SetDropDownWidth(list->Width() + 2);
    drop->SetDropDownControl(list);
    THeaderAppearance* header = drop->DropDownHeader();
    header->SetVisible(true);
    header->SetCaption("<b>Colours</b>");
    header->ButtonsList()->Add()->SetCaption("X");
    TFooterAppearance* footer = drop->DropDownFooter();
    footer->SetVisible(true);
    footer->SetCaption("6 colours");
    footer->ButtonsList()->Add()->SetCaption("OK");
    drop->SetComponentStyle(c.style);
    drop->SetFocus();
    Pump();
    QImage edit = Grab(drop);
    drop->DropDown();
    Pump();
    ASSERT_TRUE(drop->DroppedDown());
    list->SetItemIndex(1);
    list->Selector()->SetHotIndex(2);
    Pump();
    QImage popup = drop->DropDownForm()->WindowWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The frame, or none: the pop-up's first column is its border colour
    // only when the style gives one.
    const int mid = popup.height() / 2;
    const TColor edge = PixelAt(popup, 0, mid);
    if (c.framed) {
      EXPECT_EQ(edge, ColorToRGB(drop->DropDownBorderColor()));
      EXPECT_EQ(drop->DropDownBorderColor(), c.style == controls::tsWindows7 ? TColor(0x979797) : TColor(0));
    } else {
      EXPECT_EQ(drop->DropDownBorderColor(), clNone);
      EXPECT_NE(edge, TColor(0));
    }
    // The selected and the hot item in their own looks, the others plain.
    QImage listShot = Grab(list->Selector());
    auto middleOf = [&](int i) {
      const TRect r = list->Items()->Items(i)->ItemRect();
      return PixelAt(listShot, r.Left + 3, (r.Top + r.Bottom) / 2);
    };
    EXPECT_NE(middleOf(1), ColorToRGB(clWindow));
    EXPECT_NE(middleOf(2), ColorToRGB(clWindow));
    EXPECT_NE(middleOf(1), middleOf(2));
    EXPECT_EQ(middleOf(3), ColorToRGB(clWindow));
    // The focused non-editable edit shows its text in the highlight box.
    EXPECT_EQ(PixelAt(edit, 3, 3), ColorToRGB(clHighlight));

    painter.drawImage(column * 230 + 5, 5, edit);
    painter.drawImage(column * 230 + 5, 40, popup);
    ++column;
    drop->HideDropDown(false);
    Free(owner);
  }
  painter.end();
  SaveShot(gallery, "dropdown_gallery_styles.png");
}

}  // namespace
}  // namespace dropdown
