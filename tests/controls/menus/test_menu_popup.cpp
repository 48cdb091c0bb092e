// Styled pop-up menus shown through Qt: the pixels of every layer, the
// window's shape and place, keys, the placement rule, updates and stylers.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "MenuTestSupport.h"
#include "controls/LumMenuOfficeStyler.h"
#include "vcl/Forms.h"

using namespace menutest;
using vcl::TColor;

namespace {

int Distance(TColor a, TColor b) {
  int d = 0;
  for (int i = 0; i < 3; ++i)
    d = std::max(d, std::abs(static_cast<int>((a >> (8 * i)) & 0xFF) - static_cast<int>((b >> (8 * i)) & 0xFF)));
  return d;
}

void MoveMouse(QWidget* w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QApplication::processEvents();
}

// An item's rectangle in its window.
vcl::TRect InWindow(TMenuItem* item, vcl::TMenuWindow* window) {
  vcl::TRect r = item->ScreenRect();
  vcl::TRect w = window->WindowRect();
  vcl::OffsetRect(r, -w.Left, -w.Top);
  return r;
}

struct PopupFixture {
  vcl::TComponent owner{nullptr};
  TLumMenuOfficeStyler* styler = new TLumMenuOfficeStyler(&owner);
  TLumPopupMenu* menu = new TLumPopupMenu(&owner);
  TMenuItem* open;
  TMenuItem* line;
  TMenuItem* check;
  TMenuItem* radio;
  TMenuItem* sub;
  TMenuItem* last;

  explicit PopupFixture(TOfficeStyle style) {
    styler->SetStyle(style);
    menu->SetMenuStyler(styler);
    open = AddItem(menu->Items(), "&Open");
    open->SetShortCut(vcl::ShortCut('O', {vcl::ssCtrl}));
    line = AddItem(menu->Items(), "-");
    check = AddItem(menu->Items(), "Checked");
    check->SetChecked(true);
    radio = AddItem(menu->Items(), "Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    sub = AddItem(menu->Items(), "More");
    AddItem(sub, "Inside");
    last = AddItem(menu->Items(), "Last");
  }
};

class StyledPopupPixels : public ::testing::TestWithParam<TOfficeStyle> {};

}  // namespace

TEST_P(StyledPopupPixels, EveryLayerOfThePopup) {
  PopupFixture f(GetParam());
  TCustomLumMenuStyler* s = f.styler;
  // A vertical background gradient that must run on across items.
  s->Background()->SetColor(0, vcl::RGB(250, 250, 10));
  s->Background()->SetColor(1, vcl::RGB(10, 200, 250));
  s->Background()->SetGradientDirection(gdVertical);
  bool looked = false;
  WithOpenPopup([&] { f.menu->Popup(100, 100); }, nullptr, [&](OpenPopup& open) {
    looked = true;
    ASSERT_NE(open.window, nullptr);
    const QImage& img = open.pixels;
    img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/styled_popup_" +
                                    std::to_string(static_cast<int>(GetParam())) + ".png"));
    Integer icon = s->IconBar()->Size();
    vcl::TRect o = InWindow(f.open, open.window), l = InWindow(f.last, open.window);
    // The icon bar: the same horizontal gradient in every item.
    for (int x = 2; x < icon; x += 3) EXPECT_EQ(At(img, x, o.Top + 5), At(img, x, l.Top + 5)) << x;
    EXPECT_LE(Distance(At(img, 3, o.Top + 5), s->IconBar()->Color()), 12);
    // The background: one vertical fill over the items' height.
    int height = img.height();
    int top = o.Top, span = l.Bottom - o.Top;
    TColor from = s->Background()->Color(), to = s->Background()->ColorTo();
    vcl::TRect sepRow = InWindow(f.line, open.window);
    for (int y = top; y < l.Bottom; y += 2) {
      if (y >= sepRow.Top && y < sepRow.Bottom) continue;  // the separator's line
      int at = y - top;
      TColor want = vcl::RGB(vcl::GetRValue(from) + (vcl::GetRValue(to) - vcl::GetRValue(from)) * at / span,
                             vcl::GetGValue(from) + (vcl::GetGValue(to) - vcl::GetGValue(from)) * at / span,
                             vcl::GetBValue(from) + (vcl::GetBValue(to) - vcl::GetBValue(from)) * at / span);
      TColor got = At(img, img.width() - 17 - 5, y);
      EXPECT_LE(Distance(got, want), 6) << "row " << y;
    }
    // The separator's line, right of the icon bar and its margin.
    vcl::TRect sep = InWindow(f.line, open.window);
    int mid = sep.Top + sep.Height() / 2;
    EXPECT_EQ(At(img, icon + 10, mid), s->Separator()->Color() & 0xFFFFFF);
    // Check and radio boxes in the icon bar's colours.
    vcl::TRect c = InWindow(f.check, open.window);
    // (the icon cell is a square of the item's height less 2, centred in
    // the icon bar's width)
    EXPECT_EQ(At(img, c.Left + 5, c.Top + 3), s->IconBar()->CheckColor());
    EXPECT_EQ(At(img, c.Left + 3, c.Top + c.Height() / 2), s->IconBar()->CheckBorder());
    vcl::TRect r = InWindow(f.radio, open.window);
    EXPECT_EQ(At(img, r.Left + 5, r.Top + 3), s->IconBar()->RadioColor());
    EXPECT_EQ(At(img, r.Left + 3, r.Top + r.Height() / 2), s->IconBar()->RadioBorder());
    // The sub-menu arrow: black pixels near the right edge.
    vcl::TRect m = InWindow(f.sub, open.window);
    int blacks = 0;
    for (int y = m.Top; y < m.Bottom; ++y)
      for (int x = m.Right - 17 - 10; x < m.Right - 17; ++x) blacks += At(img, x, y) == vcl::clBlack;
    EXPECT_EQ(blacks, 16) << "the 4 x 7 triangle";
    // The frame: the border colour, then the background colour inside it.
    EXPECT_EQ(At(img, 1, height / 2), s->MenuBorderColor());
    EXPECT_EQ(At(img, 2, height / 2), s->Background()->Color());
    EXPECT_EQ(At(img, img.width() - 18 - 1, height / 2), s->MenuBorderColor());
    // The window's shape and place.
    EXPECT_EQ(open.widget->mask().boundingRect(), QRect(1, 1, img.width() - 2 - 17, img.height() - 2));
    EXPECT_EQ(open.widget->pos(), QPoint(100 - 1, 100 - 2));
  });
  EXPECT_TRUE(looked);
}

TEST_P(StyledPopupPixels, SelectedItemsAfterTheKeyboardMovesOnThem) {
  PopupFixture f(GetParam());
  TCustomLumMenuStyler* s = f.styler;
  bool looked = false;
  // Down three times: Open, (the separator is skipped) Checked, Radio.
  WithOpenPopup(
      [&] { f.menu->Popup(50, 50); },
      [](QWidget* w) {
        for (int i = 0; i < 2; ++i) QTest::keyClick(w, Qt::Key_Down);
      },
      [&](OpenPopup& open) {
        looked = true;
        const QImage& img = open.pixels;
        vcl::TRect c = InWindow(f.check, open.window);
        TSelectedItem* sel = s->SelectedItem();
        EXPECT_EQ(At(img, c.Left + 5, c.Top + 3), sel->CheckColor()) << "the check box in the selected colours";
        EXPECT_EQ(At(img, c.Right - 17 - 1, c.Top + c.Height() / 2), sel->BorderColor()) << "the item's frame";
        EXPECT_EQ(At(img, c.Left + s->IconBar()->Size() + 30, c.Top + 2), sel->Color() & 0xFFFFFF)
            << "the selected box";
        vcl::TRect o = InWindow(f.open, open.window);
        EXPECT_NE(At(img, o.Left + s->IconBar()->Size() + 30, o.Top + 2), sel->Color()) << "no longer selected";
      });
  EXPECT_TRUE(looked);
  // One more: the radio item in the selected colours, the check item back
  // in the icon bar's.
  looked = false;
  WithOpenPopup(
      [&] { f.menu->Popup(50, 50); },
      [](QWidget* w) {
        for (int i = 0; i < 3; ++i) QTest::keyClick(w, Qt::Key_Down);
      },
      [&](OpenPopup& open) {
        looked = true;
        const QImage& img = open.pixels;
        TSelectedItem* sel = s->SelectedItem();
        vcl::TRect r = InWindow(f.radio, open.window);
        EXPECT_EQ(At(img, r.Left + 5, r.Top + 3), sel->RadioColor()) << "the radio box in the selected colours";
        EXPECT_EQ(At(img, r.Right - 17 - 1, r.Top + r.Height() / 2), sel->BorderColor()) << "the item's frame";
        vcl::TRect c = InWindow(f.check, open.window);
        EXPECT_EQ(At(img, c.Left + 5, c.Top + 3), s->IconBar()->CheckColor());
      });
  EXPECT_TRUE(looked);
}

INSTANTIATE_TEST_SUITE_P(Presets, StyledPopupPixels,
                         ::testing::Values(osOffice2003Blue, osOffice2003Silver));

TEST(StyledPopup, AWindowOf200By100GetsItsShapeAndPlace) {
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  for (int i = 0; i < 2; ++i) {
    TMenuItem* item = AddItem(menu->Items(), "Item");
    // Sized by its own handler: 177 + the desktop's 17 by 47, inside the
    // window's 3-pixel border.
    item->OnMeasureItem = [](vcl::TObject*, vcl::TCanvas*, Integer& w, Integer& h) {
      w = 177;
      h = 47;
    };
  }
  menu->SetAlignment(vcl::paCenter);
  bool looked = false;
  WithOpenPopup([&] { menu->Popup(200, 150); }, nullptr, [&](OpenPopup& open) {
    looked = true;
    EXPECT_EQ(open.widget->size(), QSize(200, 100));
    EXPECT_EQ(open.widget->mask().boundingRect(), QRect(1, 1, 181, 98));
    EXPECT_EQ(open.widget->pos(), QPoint(200 + 8 - 1, 150 - 2)) << "centred: 8 right; then 1 left, 2 up";
    ASSERT_NE(open.window, nullptr);
    EXPECT_TRUE(open.window->HookInstalled());
  });
  EXPECT_TRUE(looked);
}

TEST(StyledPopup, KeysAndEnterRunTheChosenItem) {
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  std::vector<std::string> clicked;
  for (const char* c : {"One", "-", "Two", "Three"}) {
    TMenuItem* item = AddItem(menu->Items(), c);
    item->OnClick = [&clicked, c](vcl::TObject*) { clicked.push_back(c); };
  }
  QTimer::singleShot(0, [] {
    QWidget* w = QApplication::activePopupWidget();
    if (!w) return;
    QTest::keyClick(w, Qt::Key_Down);
    QTest::keyClick(w, Qt::Key_Down);
    QTest::keyClick(w, Qt::Key_Return);
  });
  menu->Popup(30, 30);
  EXPECT_EQ(clicked, std::vector<std::string>{"Two"});
}

TEST(StyledPopup, PlacementByAlignment) {
  struct Case {
    vcl::TPopupAlignment alignment;
    Integer x, expected;
  } cases[] = {
      {vcl::paLeft, 10, 10},    {vcl::paLeft, 900, 917},  {vcl::paLeft, 1100, 1023}, {vcl::paRight, 500, 517},
      {vcl::paRight, 100, 100}, {vcl::paCenter, 500, 508},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PopupPlacementX(c.alignment, c.x, 100, 1024), c.expected) << static_cast<int>(c.alignment) << " " << c.x;
  // Through Qt, on this desktop: the point the pop-up is shown at, and
  // where its window lands (one pixel left of it, two up).
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  TMenuItem* first = AddItem(menu->Items(), "First");
  first->OnMeasureItem = [](vcl::TObject*, vcl::TCanvas*, Integer& w, Integer& h) {
    w = 100;
    h = 20;
  };
  AddItem(menu->Items(), "Second");
  const Integer desktop = vcl::Screen->Width();
  struct Shown {
    vcl::TPopupAlignment alignment;
    Integer x, expected;
  } shown_cases[] = {
      {vcl::paLeft, 10, 10},
      {vcl::paLeft, desktop - 124, desktop - 107},
      {vcl::paRight, 300, 317},
      {vcl::paCenter, 200, 208},
  };
  for (const Shown& c : shown_cases) {
    menu->SetAlignment(c.alignment);
    QPoint at;
    WithOpenPopup([&] { menu->Popup(c.x, 40); }, nullptr, [&](OpenPopup& open) { at = open.widget->pos(); });
    EXPECT_EQ(menu->PopupPoint().X, c.expected) << static_cast<int>(c.alignment) << " " << c.x;
    if (c.expected < desktop / 2) {
      EXPECT_EQ(at, QPoint(c.expected - 1, 40 - 2));
    }
  }
  TLumPopupMenu empty(&owner);
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = QApplication::activePopupWidget() != nullptr;
    if (QWidget* w = QApplication::activePopupWidget()) w->close();
  });
  empty.Popup(10, 10);
  QApplication::processEvents();
  EXPECT_FALSE(shown) << "a popup without items does not open";
}

TEST(StyledMenus, UpdatesHookOnceAtTheLastEndUpdate) {
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  Integer before = menu->HookPasses();
  menu->BeginUpdate();
  menu->BeginUpdate();
  for (int i = 0; i < 20; ++i) AddItem(menu->Items(), "Recent " + std::to_string(i));
  EXPECT_FALSE(static_cast<bool>(menu->Items()->Items(0)->OnMeasureItem)) << "not hooked while updating";
  menu->EndUpdate();
  EXPECT_TRUE(menu->Updating());
  EXPECT_EQ(menu->HookPasses(), before);
  menu->EndUpdate();
  EXPECT_FALSE(menu->Updating());
  EXPECT_EQ(menu->HookPasses(), before + 1) << "one pass for all twenty";
  EXPECT_TRUE(static_cast<bool>(menu->Items()->Items(19)->OnAdvancedDrawItem));
  menu->EndUpdate();
  EXPECT_EQ(menu->UpdateCount(), 0) << "an EndUpdate too many leaves the count at 0";
  EXPECT_EQ(menu->HookPasses(), before + 2) << "and hooks again";
}

TEST(StyledMenus, AnItemsOwnDrawHandlerStays) {
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  auto* own = new TMenuItem(menu);
  own->SetCaption("Own");
  own->OnDrawItem = [](vcl::TObject*, vcl::TCanvas*, vcl::TRect, bool) {};
  menu->Items()->Add(own);
  TMenuItem* plain = AddItem(menu->Items(), "Plain");
  menu->BeginUpdate();
  menu->EndUpdate();
  EXPECT_FALSE(static_cast<bool>(own->OnAdvancedDrawItem)) << "its own handler draws it";
  EXPECT_TRUE(static_cast<bool>(own->OnDrawItem));
  EXPECT_TRUE(static_cast<bool>(plain->OnAdvancedDrawItem));
}

TEST(StyledMenus, StylersComeAndGo) {
  vcl::TComponent owner(nullptr);
  auto* menu = new TLumPopupMenu(&owner);
  EXPECT_EQ(menu->Version(), "2.5.3.1");
  ASSERT_NE(menu->InternalStyler(), nullptr);
  EXPECT_EQ(menu->InternalStyler()->Name(), "InternalMenuStyler");
  EXPECT_EQ(menu->GetCurrentStyler(), menu->InternalStyler());
  auto* user = new TLumMenuStyler(&owner);
  menu->SetMenuStyler(user);
  EXPECT_EQ(menu->InternalStyler(), nullptr) << "freed";
  EXPECT_EQ(menu->GetCurrentStyler(), user);
  EXPECT_EQ(user->Menu(), menu);
  menu->SetMenuStyler(nullptr);
  ASSERT_NE(menu->InternalStyler(), nullptr);
  EXPECT_EQ(menu->InternalStyler()->Name(), "InternalMenuStyler");
  // A user styler freed while in use gives way to a fresh internal one.
  menu->SetMenuStyler(user);
  vcl::Free(user);
  ASSERT_NE(menu->GetCurrentStyler(), nullptr);
  EXPECT_EQ(menu->GetCurrentStyler(), menu->InternalStyler());
  // Also one the menu owns itself.
  auto* owned = new TLumMenuStyler(menu);
  menu->SetMenuStyler(owned);
  vcl::Free(owned);
  ASSERT_NE(menu->GetCurrentStyler(), nullptr);
  EXPECT_EQ(menu->GetCurrentStyler()->Name(), "InternalMenuStyler");
  EXPECT_EQ(menu->MenuStyler(), nullptr);
  // Measuring still works with the fresh one.
  TMenuItem* item = AddItem(menu->Items(), "After");
  EXPECT_GT(vcl::SendMeasureItem(item, 0, 15).cx, 0);
}

TEST(StyledMainMenu, TheBarShowsTheRootItemsOnOneGradient) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(400);
  form->SetClientHeight(200);
  auto* styler = new TLumMenuOfficeStyler(form);
  styler->SetStyle(osOffice2003Blue);
  auto* menu = new TLumMainMenu(form);
  menu->SetMenuStyler(styler);
  TMenuItem* file = AddItem(menu->Items(), "&File");
  TMenuItem* openItem = AddItem(file, "Open");
  TMenuItem* recent = AddItem(file, "Recent");
  AddItem(recent, "one.pjt");
  TMenuItem* edit = AddItem(menu->Items(), "&Edit");
  AddItem(edit, "Undo");
  form->SetMenu(menu);
  form->Show();
  QApplication::processEvents();
  auto* bar = form->Widget()->window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  QImage img = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
  img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/menu_bar.png"));
  TColor right = At(img, img.width() - 1, img.height() / 2);
  EXPECT_NE(right, vcl::clMenuBar);
  EXPECT_LE(Distance(right, styler->RootItem()->Color()), 40) << "the bar gradient reaches the right edge";
  EXPECT_LE(Distance(At(img, 1, img.height() / 2), styler->RootItem()->Color()), 8);
  vcl::TRect fileRect = file->ScreenRect();
  EXPECT_FALSE(fileRect.IsEmpty());
  // The mouse over a root item gives it the hover look.
  vcl::TRect editRect = edit->ScreenRect();
  QPoint editAt = bar->mapFromGlobal(QPoint(editRect.Left, editRect.Top));
  MoveMouse(bar, editAt + QPoint(5, 5));
  QImage hover = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(At(hover, editAt.x(), editAt.y() + editRect.Height() / 2), styler->RootItem()->HoverBorderColor());
  EXPECT_LE(Distance(At(hover, editAt.x() + 3, editAt.y() + 2), styler->RootItem()->HoverColor()), 12);
  MoveMouse(bar, QPoint(bar->width() - 5, 5));
  // Open the drop-down and its sub-menu with the keyboard.
  bool looked = false;
  QTimer::singleShot(0, [&] {
    QWidget* drop = QApplication::activePopupWidget();
    if (!drop) return;
    looked = true;
    QImage barNow = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPoint fileAt = bar->mapFromGlobal(QPoint(fileRect.Left, fileRect.Top));
    EXPECT_EQ(At(barNow, fileAt.x(), fileAt.y() + 2), styler->RootItem()->SelectedBorderColor())
        << "the selected root item's box";
    EXPECT_EQ(At(barNow, fileAt.x() + 5, fileAt.y() + fileRect.Height() - 1), styler->Background()->Color())
        << "its bottom row joins the drop-down";
    QImage dropImg = drop->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPoint rootInDrop = drop->mapFromGlobal(QPoint(fileRect.Left, fileRect.Top));
    EXPECT_EQ(At(dropImg, rootInDrop.x() + 4, 1), styler->Background()->Color()) << "the top border under the item";
    EXPECT_EQ(At(dropImg, drop->width() - 17 - 2, 1), styler->MenuBorderColor());
    // The sub-menu opens to the right and moves 14 pixels left.
    QTest::keyClick(drop, Qt::Key_Down);
    QTest::keyClick(drop, Qt::Key_Right);
    QWidget* subMenu = QApplication::activePopupWidget();
    if (subMenu != drop && subMenu) {
      vcl::TRect recentRect = recent->ScreenRect();
      EXPECT_EQ(subMenu->pos().x(), recentRect.Right - 14) << "beside its parent item, 14 to the left";
      QImage subImg = subMenu->grab().toImage().convertToFormat(QImage::Format_RGB32);
      QRect shape = subMenu->mask().boundingRect();
      EXPECT_EQ(shape, QRect(1, 1, subMenu->width() - 2 - 17, subMenu->height() - 2));
      EXPECT_EQ(At(subImg, shape.right(), shape.center().y()), styler->MenuBorderColor())
          << "the frame runs along the shape's right edge, with no item beyond it";
      EXPECT_EQ(At(subImg, shape.right() - 1, shape.center().y()), styler->Background()->Color());
      // For a person to look at: the window with its bar, the open
      // drop-down and its sub-menu, each in its shape.
      QWidget* top = form->Widget()->window();
      QImage sheet(top->width() + 200, top->height() + 100, QImage::Format_RGB32);
      sheet.fill(QColor(0xDD, 0xDD, 0xDD));
      QPainter p(&sheet);
      p.drawImage(0, 0, top->grab().toImage());
      for (QWidget* w : {drop, subMenu}) {
        QRect shape = w->mask().boundingRect();
        p.drawImage(top->mapFromGlobal(w->mapToGlobal(shape.topLeft())), w->grab(shape).toImage());
      }
      p.end();
      sheet.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/menu_bar_open.png"));
    } else {
      ADD_FAILURE() << "no sub-menu opened";
    }
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
  });
  QTest::keyClick(bar, Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->mapFromGlobal(QPoint(fileRect.Left + 3, fileRect.Top + 3)));
  EXPECT_TRUE(looked);
  (void)openItem;
  vcl::Free(form);
}

// A sub-menu without room on the right opens to the left of its drop-down
// and moves 20 pixels right.
TEST(StyledMainMenu, ASubMenuOpeningToTheLeftMovesRight) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(300);
  form->SetClientHeight(100);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  form->SetLeft(screen.right() - 120);
  form->SetTop(40);
  auto* menu = new TLumMainMenu(form);
  TMenuItem* file = AddItem(menu->Items(), "&File");
  TMenuItem* recent = AddItem(file, "Recent projects");
  AddItem(recent, "a project with a long name.pjt");
  form->SetMenu(menu);
  form->Show();
  QApplication::processEvents();
  auto* bar = form->Widget()->window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  bool looked = false;
  QTimer::singleShot(0, [&] {
    QWidget* drop = QApplication::activePopupWidget();
    if (!drop) return;
    QTest::keyClick(drop, Qt::Key_Down);
    QTest::keyClick(drop, Qt::Key_Right);
    QWidget* sub = QApplication::activePopupWidget();
    if (sub && sub != drop) {
      looked = true;
      vcl::TRect parent = recent->ScreenRect();
      EXPECT_LT(sub->pos().x(), parent.Left) << "opened to the left";
      // Qt puts it flush with the parent item's left edge; the frame step
      // moves it 20 to the right.
      EXPECT_EQ(sub->pos().x() + sub->width(), parent.Left + 20);
    }
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
  });
  QTest::keyClick(bar, Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_TRUE(looked);
  vcl::Free(form);
}

// A window is adjusted once per showing: hiding a sub-menu removes its
// shape and undoes the hook, and showing it again shapes and moves it again
// from where Qt puts it, landing where it landed the first time.
TEST(StyledPopup, ASubMenuIsAdjustedAgainEachTimeItShows) {
  PopupFixture f(osOffice2003Blue);
  bool looked = false;
  WithOpenPopup([&] { f.menu->Popup(60, 60); }, nullptr, [&](OpenPopup& open) {
    auto* top = qobject_cast<QMenu*>(open.widget);
    ASSERT_NE(top, nullptr);
    // Down to the one item with a sub-menu.
    auto onSubItem = [top] { return top->activeAction() && top->activeAction()->menu(); };
    for (int i = 0; i < 8 && !onSubItem(); ++i) QTest::keyClick(top, Qt::Key_Down);
    ASSERT_TRUE(onSubItem());
    struct Seen {
      QPoint pos;
      QRect shape;
      bool hooked = false;
    };
    auto openSub = [&]() -> std::pair<QWidget*, Seen> {
      QTest::keyClick(top, Qt::Key_Right);
      QApplication::processEvents();
      QWidget* sub = QApplication::activePopupWidget();
      if (!sub || sub == top) return {nullptr, {}};
      auto* window = dynamic_cast<vcl::TMenuWindow*>(sub);
      return {sub, {sub->pos(), sub->mask().boundingRect(), window && window->HookInstalled()}};
    };
    auto [sub, first] = openSub();
    ASSERT_NE(sub, nullptr) << "the sub-menu opened";
    EXPECT_TRUE(first.hooked);
    EXPECT_EQ(first.shape, QRect(1, 1, sub->width() - 2 - 17, sub->height() - 2));
    QTest::keyClick(sub, Qt::Key_Left);
    QApplication::processEvents();
    EXPECT_FALSE(sub->isVisible());
    EXPECT_TRUE(sub->mask().isEmpty()) << "the shape goes with the showing";
    auto* window = dynamic_cast<vcl::TMenuWindow*>(sub);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->HookInstalled()) << "hiding undid the hook";
    auto [again, second] = openSub();
    ASSERT_EQ(again, sub) << "the same window shows again";
    EXPECT_TRUE(second.hooked);
    EXPECT_EQ(second.shape, first.shape);
    EXPECT_EQ(second.pos, first.pos) << "moved once more from Qt's place, not twice";
    looked = true;
  });
  EXPECT_TRUE(looked);
}

// The side bar through Qt: one fill down the whole pop-up with its caption
// running across the rows of several items, as one piece. (That only the
// first item paints it is counted on the recording canvas, in the measure
// tests: pixels cannot tell a second, identical painting.)
TEST_P(StyledPopupPixels, TheSideBarRunsDownThePopupWithItsCaption) {
  vcl::TComponent owner(nullptr);
  auto* styler = new TLumMenuOfficeStyler(&owner);
  styler->SetStyle(GetParam());
  auto* menu = new TLumPopupMenu(&owner);
  menu->SetMenuStyler(styler);
  TSideBar* bar = styler->SideBar();
  bar->SetVisible(true);
  bar->SetVisibleIn(viFirstLevel);
  bar->SetCaption("Tolvane Tolvane");
  bar->SetShadowColor(vcl::clNone);
  const TColor barColor = vcl::RGB(40, 70, 140);
  bar->Background()->SetColor(0, barColor);
  bar->Background()->SetColor(1, barColor);
  bar->Font()->SetColor(vcl::clWhite);
  std::vector<TMenuItem*> items;
  for (int i = 0; i < 8; ++i) items.push_back(AddItem(menu->Items(), "Item " + std::to_string(i)));
  bool looked = false;
  WithOpenPopup([&] { menu->Popup(80, 40); }, nullptr, [&](OpenPopup& open) {
    looked = true;
    ASSERT_NE(open.window, nullptr);
    const QImage& img = open.pixels;
    img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/styled_popup_side_bar_" +
                                    std::to_string(static_cast<int>(GetParam())) + ".png"));
    vcl::TRect first = InWindow(items.front(), open.window), last = InWindow(items.back(), open.window);
    // A column inside the bar's border, left of the letters: the bar's
    // colour from the first item's top to the last item's bottom, less the
    // border's rows.
    for (int y = first.Top + 1; y < last.Bottom - 1; ++y)
      ASSERT_EQ(At(img, first.Left + 2, y), barColor) << "row " << y;
    // The caption's white letters, item by item.
    int itemsShowingLetters = 0, letterPixels = 0;
    for (TMenuItem* item : items) {
      vcl::TRect r = InWindow(item, open.window);
      int here = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Left + bar->Size(); ++x) {
          // near-white: the letters, not the bar's border or splitter
          TColor c = At(img, x, y);
          if (vcl::GetRValue(c) > 200 && vcl::GetGValue(c) > 200 && vcl::GetBValue(c) > 200) ++here;
        }
      letterPixels += here;
      if (item != items.front() && here > 0) ++itemsShowingLetters;
    }
    EXPECT_GT(letterPixels, 60) << "the caption is there";
    EXPECT_GE(itemsShowingLetters, 3) << "the caption spans the rows of several items";
    // Item text starts right of the bar and its splitter.
    EXPECT_EQ(At(img, first.Left + bar->Size() + bar->SplitterWidth() + 2, first.Top + first.Height() / 2),
              At(img, first.Left + bar->Size() + bar->SplitterWidth() + 2, last.Top + last.Height() / 2))
        << "the icon bar begins after the side bar in every item";
  });
  EXPECT_TRUE(looked);
}

// A menu read with its form: items are left alone while loading, and
// Loaded hooks those without handlers of their own, keeps an item's own
// draw handler, and frees the internal styler once a user styler took over.
TEST(StyledMenus, LoadingWithTheFormHooksAtLoaded) {
  for (bool userStyler : {false, true}) {
    SCOPED_TRACE(userStyler);
    vcl::TComponent form(nullptr);
    form.BeginLoad();
    auto* menu = new TLumPopupMenu(&form);
    ASSERT_TRUE(menu->Loading());
    auto* own = new TMenuItem(menu);
    own->SetCaption("Own");
    own->OnDrawItem = [](vcl::TObject*, vcl::TCanvas*, vcl::TRect, bool) {};
    menu->Items()->Add(own);
    TMenuItem* plain = AddItem(menu->Items(), "Plain");
    TMenuItem* sub = AddItem(plain, "Inside");
    EXPECT_FALSE(static_cast<bool>(plain->OnAdvancedDrawItem)) << "left alone while loading";
    TCustomLumMenuStyler* internal = menu->InternalStyler();
    ASSERT_NE(internal, nullptr);
    TLumMenuStyler* styler = nullptr;
    if (userStyler) {
      styler = new TLumMenuStyler(&form);
      menu->SetMenuStyler(styler);
      EXPECT_EQ(menu->InternalStyler(), internal) << "still loading: nothing freed";
    }
    form.EndLoad();
    EXPECT_FALSE(menu->Loading());
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(static_cast<bool>(plain->OnAdvancedDrawItem));
    EXPECT_TRUE(static_cast<bool>(plain->OnMeasureItem));
    EXPECT_TRUE(static_cast<bool>(sub->OnAdvancedDrawItem)) << "sub-items too";
    EXPECT_FALSE(static_cast<bool>(own->OnAdvancedDrawItem)) << "its own handler draws it";
    ASSERT_TRUE(static_cast<bool>(own->OnDrawItem));
    if (userStyler) {
      EXPECT_EQ(menu->InternalStyler(), nullptr) << "freed at Loaded";
      EXPECT_EQ(menu->GetCurrentStyler(), styler);
    } else {
      EXPECT_EQ(menu->GetCurrentStyler(), internal) << "the internal styler stays in use";
    }
  }
}
