// A picture of the cell editors for a person to look at: every control of
// the first drop-down unit set, on one form, written into the build folder.
#include <gtest/gtest.h>

#include <QWidget>

#include "DropdownTestSupport.h"
#include "dropdown/VoeSpin.h"
#include "dropdown/VoeUni.h"

namespace dropdown {
namespace {

using namespace ddtest;

TEST(Gallery, CellEditors) {
  TForm* form = MakeForm(420, 260);
  auto place = [&](TWinControl* c, int x, int y, int w, int h) {
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
  };
  auto* spin = new TVoeSpinEdit(form);
  place(spin, 10, 10, 120, 24);
  spin->SetValue(42);
  auto* fspin = new TVoeSpinEdit(form);
  place(fspin, 140, 10, 120, 24);
  fspin->SetSpinType(sptFloat);
  fspin->SetPrecision(2);
  fspin->SetFloatValue(3.14159);
  fspin->SetDirection(spHorizontal);
  auto* xspin = new TVoeSpinEdit(form);
  place(xspin, 270, 10, 120, 24);
  xspin->SetXPLook(true);
  auto* flat = new TVOEComboBox(form);
  place(flat, 10, 50, 120, 24);
  flat->SetText("flat");
  auto* etched = new TVOEComboBox(form);
  place(etched, 140, 50, 120, 24);
  etched->SetEtched(true);
  etched->SetText("etched");
  auto* xp = new TVOEComboBox(form);
  place(xp, 270, 50, 120, 24);
  xp->SetXPLook(true);
  xp->SetText("themed");
  auto* btn = new TVoeEditBtn(form);
  place(btn, 10, 90, 120, 24);
  btn->SetButtonCaption("...");
  auto* unit = new TVoeUnitEditBtn(form);
  place(unit, 140, 90, 120, 24);
  unit->SetText("12");
  unit->SetUnitID("mm");
  unit->SetButtonCaption("...");
  auto* uniBtn = new TVoeUniEditBtn(form);
  place(uniBtn, 270, 90, 120, 24);
  uniBtn->SetText(WideString(u"\u4E2D\u6587 \u00E9t\u00E9"));
  uniBtn->SetButtonCaption("...");
  auto* uni = new TVoeUniEdit(form);
  place(uni, 10, 130, 120, 24);
  uni->SetText(WideString(u"\u0416\u0438\u0432\u043E \u03A9"));
  auto* uniCombo = new TVOEUniComboBox(form);
  place(uniCombo, 140, 130, 120, 24);
  uniCombo->Items()->Add(u"\u00C4pfel");
  uniCombo->SetText(WideString(u"\u00C4pfel"));
  auto* memo = new TVoeUniMemo(form);
  place(memo, 10, 170, 250, 80);
  memo->SetText(WideString(u"first line\r\nsecond \u4E2D line"));
  Pump();
  QImage img = form->Widget()->grab().toImage();
  SaveShot(img.scaled(img.width() * 2, img.height() * 2), "dropdown_gallery_cell_editors.png");
  EXPECT_FALSE(img.isNull());
  Free(form);
}

}  // namespace
}  // namespace dropdown
