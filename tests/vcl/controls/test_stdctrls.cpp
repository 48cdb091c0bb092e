// The standard controls driven by synthetic input, and one picture of a
// sample form for a person to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QFileInfo>
#include <QTest>

#include "TestSupport.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using namespace vcltest;

namespace {

class StdCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(400, 300);
    form->Show();
    Pump();
  }
  void TearDown() override { Free(form); }
  template <typename T>
  T* Add(Integer l, Integer t, Integer w, Integer h, TWinControl* parent = nullptr) {
    auto* c = new T(form);
    c->SetBounds(l, t, w, h);
    c->SetParent(parent ? parent : form);
    return c;
  }
  TForm* form = nullptr;
};

TEST_F(StdCtrlsTest, EditTypingChangesTextAndKeyPressCanAlterOrDropCharacters) {
  auto* edit = Add<TEdit>(10, 10, 120, 21);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnKeyPress = [](TObject*, WideChar& key) {
    if (key >= '0' && key <= '9') key = 0;             // digits are refused
    if (key >= 'a' && key <= 'z') key = key - 'a' + 'A';  // letters go upper case
  };
  QTest::keyClicks(edit->Widget(), "ab1c");
  EXPECT_EQ(edit->Text(), "ABC");
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(edit->Modified());
  edit->SetText("x");
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(edit->SelStart(), 1);
  edit->SetMaxLength(3);
  edit->SelectAll();
  EXPECT_EQ(edit->SelLength(), 1);
  edit->OnKeyPress = nullptr;
  QTest::keyClicks(edit->Widget(), "yzw");
  EXPECT_EQ(edit->Text(), "yzw");
}

TEST_F(StdCtrlsTest, CheckBoxAndRadioGroupReportClicks) {
  auto* check = Add<TCheckBox>(10, 10, 120, 17);
  check->SetCaption("Locked");
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  QTest::mouseClick(check->Widget(), Qt::LeftButton, {}, {5, 8});
  EXPECT_TRUE(check->Checked());
  check->SetChecked(false);
  EXPECT_EQ(clicks, 2);  // setting the state clicks too

  auto* group = Add<TRadioGroup>(10, 40, 150, 80);
  group->SetCaption("Select by");
  group->Items()->Add("IP Address");
  group->Items()->Add("Serial");
  group->SetItemIndex(0);
  int groupClicks = 0;
  group->OnClick = [&](TObject*) { ++groupClicks; };
  QWidget* second = group->Buttons(1)->Widget();
  ASSERT_TRUE(second->isVisible());
  QTest::mouseClick(second, Qt::LeftButton, {}, {5, second->height() / 2});
  EXPECT_EQ(group->ItemIndex(), 1) << second->geometry().x() << "," << second->geometry().y() << " "
                                   << second->width() << "x" << second->height();
  EXPECT_EQ(groupClicks, 1);
  EXPECT_FALSE(static_cast<TRadioButton*>(group->Buttons(0))->Checked());
  group->Items()->Delete(1);
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(StdCtrlsTest, ComboBoxListChoosesItemsAndEditableOneTakesText) {
  auto* list = Add<TComboBox>(10, 10, 120, 21);
  list->SetStyle(csDropDownList);
  list->Items()->SetCommaText("Low,High");
  std::vector<AnsiString> events;
  list->OnChange = [&](TObject*) { events.push_back("change " + list->Text()); };
  list->SetItemIndex(0);
  EXPECT_EQ(list->Text(), "Low");
  EXPECT_TRUE(events.empty());  // setting it in code fires nothing
  QTest::keyClick(list->Widget(), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(events, (std::vector<AnsiString>{"change High"}));
  list->SetText("low");
  EXPECT_EQ(list->ItemIndex(), 0);

  auto* edit = Add<TComboBox>(10, 40, 120, 21);
  edit->SetSorted(true);
  edit->Items()->Add("b");
  edit->Items()->Add("a");
  EXPECT_EQ(edit->Items()->Strings(0), "a");
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  auto* qc = static_cast<QComboBox*>(edit->Widget());
  QTest::keyClicks(qc->lineEdit(), "b");
  EXPECT_EQ(edit->Text(), "b");
  EXPECT_EQ(edit->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(StdCtrlsTest, LabelSizesItselfThroughItsCanvas) {
  auto* label = Add<TLabel>(10, 10, 10, 10);
  label->SetCaption("&Value");
  TCanvas measure;
  measure.SetFont(label->Font());
  EXPECT_EQ(label->Width(), measure.TextWidth("Value"));
  EXPECT_EQ(label->Height(), measure.GetTextMetrics().Height);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetWidth(measure.TextWidth("Value for"));
  label->SetAutoSize(true);
  label->SetCaption("Value for Key is required.");
  EXPECT_GE(label->Height(), 2 * measure.GetTextMetrics().Height);
}

TEST_F(StdCtrlsTest, SplitterDragResizesItsNeighbour) {
  auto* left = Add<TPanel>(0, 0, 100, 10);
  left->SetAlign(alLeft);
  auto* split = new TSplitter(form);
  split->SetLeft(100);
  split->SetParent(form);
  auto* rest = Add<TPanel>(0, 0, 10, 10);
  rest->SetAlign(alClient);
  EXPECT_EQ(split->Left(), 100);
  EXPECT_EQ(split->FindControl(), left);
  int moved = 0;
  split->OnMoved = [&](TObject*) { ++moved; };
  QWidget* surface = form->Widget();
  QTest::mousePress(surface, Qt::LeftButton, {}, {101, 50});
  QTest::mouseMove(surface, {151, 50});
  QMouseEvent move(QEvent::MouseMove, QPointF(151, 50), surface->mapToGlobal(QPointF(151, 50)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(surface, &move);
  QTest::mouseRelease(surface, Qt::LeftButton, {}, {151, 50});
  EXPECT_EQ(left->Width(), 150);
  EXPECT_EQ(split->Left(), 150);
  EXPECT_EQ(rest->Left(), 153);
  EXPECT_EQ(moved, 1);
  // Never below the minimum size.
  QTest::mousePress(surface, Qt::LeftButton, {}, {151, 50});
  QMouseEvent back(QEvent::MouseMove, QPointF(0, 50), surface->mapToGlobal(QPointF(0, 50)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(surface, &back);
  QTest::mouseRelease(surface, Qt::LeftButton, {}, {0, 50});
  EXPECT_EQ(left->Width(), split->MinSize());
}

TEST_F(StdCtrlsTest, PageControlSwitchesSheetsByTabClickUnlessRefused) {
  auto* pages = Add<TPageControl>(10, 10, 300, 200);
  std::vector<TTabSheet*> sheets;
  for (const char* caption : {"Addressing", "WiFi", "E-Mail"}) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    sheets.push_back(sheet);
  }
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_TRUE(sheets[0]->Visible());
  EXPECT_FALSE(sheets[1]->Visible());
  EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());
  int changes = 0;
  bool allow = false;
  pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
  pages->OnChange = [&](TObject*) { ++changes; };
  TRect tab = pages->TabRect(1);
  QPoint at((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  QTest::mouseClick(pages->Widget(), Qt::LeftButton, {}, at);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  allow = true;
  QTest::mouseClick(pages->Widget(), Qt::LeftButton, {}, at);
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_EQ(changes, 1);
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  delete sheets[2];
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
}

TEST_F(StdCtrlsTest, TabControlKeepsAlignedChildrenBelowItsTabs) {
  auto* tabs = Add<TTabControl>(0, 0, 300, 200);
  tabs->Tabs()->SetCommaText("Addressing,WiFi,E-Mail,Protocols,Misc");
  EXPECT_EQ(tabs->TabIndex(), 0);
  auto* inner = Add<TPanel>(0, 0, 10, 10, tabs);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), tabs->DisplayRect());
  TRect fourth = tabs->TabRect(3);
  QTest::mouseClick(tabs->Widget(), Qt::LeftButton, {}, QPoint(fourth.Left + 3, fourth.Top + 3));
  EXPECT_EQ(tabs->TabIndex(), 3);
  tabs->SetFocus();
  QTest::keyClick(tabs->Widget(), Qt::Key_Right);
  EXPECT_EQ(tabs->TabIndex(), 4);
}

TEST_F(StdCtrlsTest, StatusBarPanelsSitSideBySide) {
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
  auto* p1 = bar->Panels()->Add();
  p1->SetWidth(120);
  p1->SetText("Ready");
  bar->Panels()->Add()->SetText("Line 1");
  EXPECT_EQ(bar->PanelRect(0).Width(), 120);
  EXPECT_EQ(bar->PanelRect(1).Left, 122);
  EXPECT_EQ(bar->PanelRect(1).Right, bar->Width());
}

TEST(SampleForm, GrabSavedAsPng) {
  auto* form = new TForm(Application, 0);
  form->SetCaption("Device Settings");
  form->SetBorderStyle(bsDialog);
  form->SetClientWidth(460);
  form->SetClientHeight(330);
  auto* menu = new TMainMenu(form);
  for (const char* caption : {"&File", "&Edit", "&Help"}) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  auto* tools = new TToolBar(form);
  tools->SetParent(form);
  Integer left = 0;
  for (const char* caption : {"Refresh", "Read", "Write"}) {
    auto* b = new TToolButton(form);
    b->SetCaption(caption);
    b->SetLeft(left += 100);
    b->SetParent(tools);
  }
  auto* status = new TStatusBar(form);
  status->SetParent(form);
  status->Panels()->Add()->SetText("Connected");
  status->Panels()->Items(0)->SetWidth(150);
  status->Panels()->Add()->SetText("192.168.100.128:6666");
  auto* buttons = new TPanel(form);
  buttons->SetParent(form);
  buttons->SetAlign(alBottom);
  buttons->SetHeight(41);
  buttons->SetBevelOuter(bvNone);
  Integer x = 120;
  for (const char* caption : {"Update Device", "Retrieve Settings", "Finished"}) {
    auto* b = new TButton(form);
    b->SetCaption(caption);
    b->SetBounds(x, 8, 105, 25);
    b->SetParent(buttons);
    x += 112;
  }
  auto* tabs = new TTabControl(form);
  tabs->SetParent(form);
  tabs->SetAlign(alClient);
  tabs->Tabs()->SetCommaText("Addressing,WiFi,E-Mail,Protocols,Misc");
  auto* label = new TLabel(form);
  label->SetCaption("IP &Address");
  label->SetBounds(16, 40, 80, 17);
  label->SetParent(tabs);
  auto* edit = new TEdit(form);
  edit->SetText("192.168.100.128");
  edit->SetBounds(110, 36, 150, 21);
  edit->SetParent(tabs);
  auto* dhcp = new TCheckBox(form);
  dhcp->SetCaption("DHCP");
  dhcp->SetChecked(true);
  dhcp->SetBounds(280, 38, 80, 17);
  dhcp->SetParent(tabs);
  auto* combo = new TComboBox(form);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetCommaText("Low,High");
  combo->SetItemIndex(1);
  combo->SetBounds(110, 66, 150, 21);
  combo->SetParent(tabs);
  auto* group = new TRadioGroup(form);
  group->SetCaption("Select by");
  group->Items()->Add("IP Address");
  group->Items()->Add("Serial port");
  group->SetItemIndex(0);
  group->SetBounds(16, 100, 200, 90);
  group->SetParent(tabs);
  auto* panel = new TPanel(form);
  panel->SetCaption("Panel with a raised bevel");
  panel->SetBevelInner(bvLowered);
  panel->SetBounds(230, 110, 200, 60);
  panel->SetParent(tabs);
  form->Show();
  Pump();
  const AnsiString file = AnsiString(TOLVANE_BUILD_DIR) + "/vcl-sample-form.png";
  ASSERT_TRUE(form->SaveWindowImage(file));
  QImage saved(QString::fromStdString(file));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.width(), form->Width());
  EXPECT_EQ(saved.height(), form->Height());
  // The status bar's face colour at the bottom left.
  QRgb p = saved.pixel(5, saved.height() - 3);
  EXPECT_EQ(RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p))),
            ColorToRGB(clBtnFace));
  Free(form);
}

}  // namespace

namespace {

TEST_F(StdCtrlsTest, SpinEditStepsTypesAndKeepsItsRange) {
  auto* spin = new TSpinEdit(form);
  spin->SetBounds(10, 10, 100, 22);
  spin->SetParent(form);
  spin->SetMinValue(1);
  spin->SetMaxValue(65535);
  EXPECT_EQ(spin->Value(), 1);  // clamped into the new range
  int changes = 0;
  spin->OnChange = [&](TObject*) { ++changes; };
  spin->SetValue(6666);
  EXPECT_EQ(spin->Text(), "6666");
  EXPECT_EQ(changes, 1);
  spin->SetFocus();
  QTest::keyClick(spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(spin->Value(), 6667);
  spin->SetValue(70000);
  EXPECT_EQ(spin->Value(), 65535);
  spin->SetText("abc");
  EXPECT_EQ(spin->Value(), 1);
  auto* line = spin->Widget()->findChild<QLineEdit*>();
  ASSERT_NE(line, nullptr);
  line->selectAll();
  QTest::keyClicks(line, "7124");
  EXPECT_EQ(spin->Value(), 7124);
  EXPECT_GE(changes, 5);
}

}  // namespace

namespace {

TEST_F(StdCtrlsTest, ToolBarLaysOutButtonsAndClicksThem) {
  auto* bar = new TToolBar(form);
  bar->SetParent(form);
  EXPECT_EQ(bar->Top(), 0);
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  auto addButton = [&](const char* caption, TToolButtonStyle style, Integer left) {
    auto* b = new TToolButton(form);
    b->SetCaption(caption);
    b->SetStyle(style);
    b->SetLeft(left);
    b->SetParent(bar);
    return b;
  };
  auto* refresh = addButton("Refresh", tbsButton, 0);
  auto* sep = addButton("", tbsSeparator, 100);
  auto* low = addButton("Low", tbsCheck, 200);
  auto* high = addButton("High", tbsCheck, 300);
  low->SetGrouped(true);
  high->SetGrouped(true);
  EXPECT_EQ(bar->ButtonCount(), 4);
  EXPECT_EQ(refresh->Left(), 2);
  EXPECT_EQ(sep->Left(), refresh->Left() + refresh->Width());
  EXPECT_EQ(low->Left(), sep->Left() + 8);
  EXPECT_EQ(high->Left(), low->Left() + low->Width());
  int clicks = 0;
  refresh->OnClick = [&](TObject*) { ++clicks; };
  auto clickOn = [&](TControl* b) {
    QTest::mouseClick(bar->Widget(), Qt::LeftButton, {}, QPoint(b->Left() + 3, b->Top() + 3));
  };
  clickOn(refresh);
  EXPECT_EQ(clicks, 1);
  clickOn(low);
  EXPECT_TRUE(low->Down());
  clickOn(high);
  EXPECT_TRUE(high->Down());
  EXPECT_FALSE(low->Down());
  clickOn(high);  // a grouped button stays down
  EXPECT_TRUE(high->Down());
}

}  // namespace

namespace {

TEST_F(StdCtrlsTest, NativeControlsShowTheirColourAndFontColour) {
  auto* edit = Add<TEdit>(10, 10, 120, 21);
  QWidget* w = edit->Widget();
  EXPECT_EQ(w->palette().color(QPalette::Base), QColor(Qt::white));
  edit->SetColor(clYellow);
  edit->Font()->SetColor(clRed);
  EXPECT_EQ(w->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(w->palette().color(QPalette::Text), QColor(Qt::red));
  auto* check = Add<TCheckBox>(10, 40, 120, 17);
  check->Font()->SetColor(clBlue);
  EXPECT_EQ(check->Widget()->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(check->Widget()->palette().color(QPalette::Base), w->style()->standardPalette().color(QPalette::Base));
}

}  // namespace
