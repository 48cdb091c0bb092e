// The View toolbar's panel toggles clicked on the ribbon: each shows its
// panel pinned open, then puts it away; a floating panel takes its window
// with it; a check box bound to an action follows the action's state.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "MainWindowRig.h"
#include "controls/ToolPanels.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/ActnList.h"
#include "vcl/StdCtrls.h"

using namespace idetest;

namespace {

// The ribbon's check box bound to the action.
vcl::TCheckBox* ToggleBoxFor(ide::Tfrm_Main* form, vcl::TBasicAction* action) {
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (auto* box = dynamic_cast<vcl::TCheckBox*>(form->Components(i)); box && box->Action() == action) return box;
  return nullptr;
}

void ClickToggle(ide::Tfrm_Main* form, vcl::TCheckBox* box) {
  // On the tick itself: a short caption leaves the box's middle blank.
  QTest::mouseClick(box->Widget(), Qt::LeftButton, {}, QPoint(6, box->Height() / 2));
  form->psHtmlEditActionList1->UpdateActions();
  Pump();
}

}  // namespace

TEST(PanelToggles, EachToggleShowsLocksAndHidesItsPanel) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  // The toggles sit on "&Tools".
  for (int i = 0; i < form->mainpager->PageCount(); ++i)
    if (form->mainpager->GetPageByIndex(i)->Name() == "ToolsPage") form->mainpager->SetActivePageIndex(i);
  Pump();

  struct Row {
    vcl::TAction* action;
    controls::TLumToolPanel* panel;
  };
  const Row rows[] = {{form->ProjectManagerAct, form->ProjectManagerTab},
                      {form->InsertAction, form->insertPanel},
                      {form->SimulateAct, form->SimTab},
                      {form->SimErrors, form->simErrorsTab}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.action->Name());
    vcl::TCheckBox* box = ToggleBoxFor(form, row.action);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(row.action->Enabled());
    // Whatever the start, the box shows the action's state.
    form->psHtmlEditActionList1->UpdateActions();
    Pump();
    EXPECT_EQ(box->Checked(), row.action->Checked());
    if (row.action->Checked()) ClickToggle(form, box);

    // Off: the panel is out of sight and its tab hidden.
    EXPECT_FALSE(row.action->Checked());
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(row.panel->Visible());
    EXPECT_TRUE(row.panel->Hidden());

    // On: shown, tab back, pinned open.
    ClickToggle(form, box);
    EXPECT_TRUE(row.action->Checked());
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(row.panel->Visible());
    EXPECT_FALSE(row.panel->Hidden());
    EXPECT_TRUE(row.panel->Locked());
    EXPECT_TRUE(row.panel->Showing());

    // Off again.
    ClickToggle(form, box);
    EXPECT_FALSE(row.action->Checked());
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(row.panel->Visible());
    EXPECT_TRUE(row.panel->Hidden());
  }
}

TEST(PanelToggles, AFloatingPanelComesAndGoesWithItsWindow) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  controls::TLumToolPanel* panel = form->SimTab;
  vcl::TAction* action = form->SimulateAct;
  panel->ManualFloat(vcl::TRect{100, 100, 340, 400});
  Pump();
  ASSERT_TRUE(panel->Floating());
  auto* floatWindow = dynamic_cast<vcl::TCustomForm*>(panel->Parent());
  ASSERT_NE(floatWindow, nullptr);
  form->psHtmlEditActionList1->UpdateActions();
  EXPECT_TRUE(action->Checked()) << "a floating panel that shows";

  // Each run turns the state the panel shows over.
  action->Execute();
  form->psHtmlEditActionList1->UpdateActions();
  EXPECT_FALSE(action->Checked());
  EXPECT_FALSE(panel->Visible());
  EXPECT_FALSE(floatWindow->Visible());
  EXPECT_TRUE(panel->Floating()) << "it stays in its window";

  action->Execute();
  form->psHtmlEditActionList1->UpdateActions();
  EXPECT_TRUE(action->Checked());
  EXPECT_TRUE(panel->Visible());
  EXPECT_TRUE(floatWindow->Visible());
}

TEST(PanelToggles, ACheckBoxFollowsItsAction) {
  vcl::TForm* owner = new vcl::TForm(nullptr);
  auto* action = new vcl::TAction(owner);
  action->SetCaption("Follow");
  int runs = 0;
  action->OnExecute = [&runs](vcl::TObject*) { ++runs; };
  auto* box = new vcl::TCheckBox(owner);
  box->SetParent(owner);
  box->SetAction(action);
  EXPECT_EQ(box->Caption(), "Follow");
  EXPECT_FALSE(box->Checked());

  // The action's state reaches the box without running the action.
  action->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(static_cast<QCheckBox*>(box->Widget())->isChecked());
  action->SetChecked(false);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(runs, 0);

  // A click runs the action; without AutoCheck the action stays
  // unchecked and so does the box.
  QTest::mouseClick(box->Widget(), Qt::LeftButton);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(box->Checked());
  EXPECT_FALSE(static_cast<QCheckBox*>(box->Widget())->isChecked());
  // With AutoCheck the click turns the action over, and the box with it.
  action->SetAutoCheck(true);
  QTest::mouseClick(box->Widget(), Qt::LeftButton);
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(action->Checked());
  EXPECT_TRUE(box->Checked());
  // A disabled action neither runs nor lets the box change.
  action->SetEnabled(false);
  box->SetEnabled(true);
  QTest::mouseClick(box->Widget(), Qt::LeftButton);
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(box->Checked());
  delete owner;
}
