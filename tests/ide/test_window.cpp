// The window as built: its views and panels, and the two editor keys bound
// at creation.
#include <gtest/gtest.h>

#include "MainWindowRig.h"
#include "web/WebBrowserPort.h"
#include "controls/ToolPanels.h"
#include "core/DeviceSimulatorU.h"
#include "core/forms/VormekDevSetupU.h"
#include "htmledit/view/psMessages.h"
#include "vcl/Messages.h"

using namespace idetest;

TEST(MainWindow, ViewsPanelsAndStatusBarAsDesigned) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  std::vector<std::string> captions;
  for (Integer i = 0; i < form->PageControl->PageCount(); ++i) captions.push_back(form->PageControl->Pages(i)->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"Visual", "Internet &Explorer", "BODY", "HTML", "Stylesheet",
                                                "Meta-Tags"}));
  std::vector<std::string> panels;
  for (Integer i = 0; i < form->ct->Panels()->Count(); ++i)
    panels.push_back(form->ct->Panels()->Items(i)->Panel->Caption());
  EXPECT_EQ(panels, (std::vector<std::string>{"Project Manager", "Insert", "Simulate", "Simulate Errors"}));
  EXPECT_EQ(form->RightBar->Panels()->Count(), 0);
  EXPECT_EQ(form->bottomBar->Panels()->Count(), 0);
  EXPECT_EQ(form->StatusBar->Panels()->Count(), 5);
  EXPECT_GT(form->Cb_ribbonFontPicker->Items()->Count(), 0) << "the screen's fonts";
  // Without a page nothing is modified, whatever happens.
  form->SetModified(true);
  EXPECT_FALSE(form->Modified());
  EXPECT_EQ(form->StatusBar->Panels()->Items(4)->Text(), "");
}

TEST(MainWindow, EnterAndShiftEnterBothBreakTheLine) {
  Scratch scratch;
  const std::string page = scratch.Write("keys.htm", "<html><body><p>ab</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  htmledit::TpsKeyCmdTable& table = form->HTMLEdit->KeyCmdTable();
  EXPECT_EQ(table.Find(vcl::VK_RETURN), htmlview::psmShiftEnter);
  EXPECT_EQ(table.Find(htmledit::kscShift | vcl::VK_RETURN), htmlview::psmShiftEnter);
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  PressKey(form->HTMLEdit, Qt::Key_End);
  PressKey(form->HTMLEdit, Qt::Key_Return);
  TypeText(form->HTMLEdit, "cd");
  PressKey(form->HTMLEdit, Qt::Key_Return, Qt::ShiftModifier);
  TypeText(form->HTMLEdit, "ef");
  const std::string body = form->HTMLEdit->SaveToString(false, false);
  size_t paragraphs = 0;
  for (size_t at = body.find("<p"); at != std::string::npos; at = body.find("<p", at + 1)) ++paragraphs;
  EXPECT_EQ(paragraphs, 1u) << body;
  size_t breaks = 0;
  for (size_t at = body.find("<br"); at != std::string::npos; at = body.find("<br", at + 1)) ++breaks;
  EXPECT_EQ(breaks, 2u) << body;
  EXPECT_TRUE(form->Modified());
}

TEST(MainWindow, TheSimulatorFrameSitsInSimTabAndItsRefreshRerunsOnlyAShownPreview) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  core::TFrmVormekDevSetup* frame = form->SimulatorSetup;
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Parent(), form->SimTab);
  EXPECT_EQ(frame->Align(), vcl::alClient);
  EXPECT_EQ(&frame->Values(), &static_cast<core::TvormekWebSimulator*>(form->WebExt()->Simulator())->Params());
  // Each preview run ends in a navigation of the (do-nothing) browser.
  const auto previews = [form] { return form->wb_Browser->NavigationCount(); };
  const auto clickRefresh = [frame] {
    vcl::TToolButton* b = frame->Refresh;
    Click(frame->ToolBar1, b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
  };
  // Refresh with another page shown, then with the preview shown.
  clickRefresh();
  EXPECT_EQ(previews(), 0);
  form->PageControl->SetActivePage(form->ts_InternetExplorer);
  clickRefresh();
  EXPECT_EQ(previews(), 1);
}
