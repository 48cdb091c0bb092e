#include "MainRibbonRig.h"

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include "MainRibbon.h"
#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Strings.h"
#include "vcl/Menus.h"

#ifndef TOLVANE_BUILD_DIR
#define TOLVANE_BUILD_DIR "."
#endif

namespace ide::testing {

namespace {

// The window's actions the ribbon binds: name, caption, shortcut, and
// whether the action needs a project with a file name.
struct StandIn {
  const char* Name;
  const char* Caption;
  const char* ShortCut;
  bool NeedsProject;
};

const StandIn kActions[] = {
    {"NewAct", "New", "Ctrl+N", true},
    {"OpenAct", "Open", "Ctrl+O", true},
    {"SaveAct", "Save", "Ctrl+S", true},
    {"SaveAsACt", "Save As", "Ctrl+Shift+S", true},
    {"CloseAct", "Close", "", true},
    {"NewPrjAct", "New Project", "Ctrl+P", false},
    {"OpenPrjAct", "Open Project", "", false},
    {"SavePrjAct", "Save Project", "Ctrl+Alt+S", false},
    {"SaveProjectAs", "Save Project As", "", true},
    {"PrintAct", "Print", "", true},
    {"printpreviewAct", "Print Preview", "", true},
    {"PrintSetupAct", "Print Setup", "", true},
    {"ExitAct", "Exit", "", false},
    {"FontColorAct", "Font Color", "", false},
    {"BkgColorAct", "Background Color", "", false},
    {"RemoveSpanAct", "RemoveSpanAct", "", false},
    {"RestoreSizeAct", "Restore original size", "", false},
    {"DeleteImageAct", "Delete", "", false},
    {"AlignImgLeft", "AlignImgLeft", "", false},
    {"AlignImgMiddleAct", "Align Image Middle", "", false},
    {"AlignImageRightAct", "Align Image Right", "", false},
    {"MakeImageLinkAct", "Make link", "", false},
    {"SpellCheckAct", "Spell Check", "", false},
    {"SpellCheckOptsAct", "Spell Check Options", "", false},
    {"WordCntAct", "Word Count", "", false},
    {"GraphicsAct", "Graphics list", "", false},
    {"btnHyperlinkAct", "Anchor", "", false},
    {"ImageAct", "Insert Image", "", false},
    {"TableAct", "Insert Table", "", false},
    {"DeleteTableAct", "Table", "", false},
    {"ImportTextAct", "Import text with linebreaks ", "", false},
    {"ImportWOlinebreaks", "Import text without linebreaks", "", false},
    {"UploadAct", "Upload", "", false},
    {"CDFSAct", "Build Image", "", false},
    {"ChangeDevice", "Change Device", "", false},
    {"SettingsAct", "Settings", "", false},
    {"EdtZelExt", "Edit Vormek CMD", "", false},
    {"btnHyperlink", "Make Hyperlink", "", false},
    {"RemoveLinkAct", "Remove Hyperlink", "", false},
    {"RevealTagsAct", "Show Tags", "", false},
    {"EditCut1", "Cut", "", false},
    {"EditCopy1", "Copy", "Ctrl+C", false},
    {"EditPaste1", "Paste", "", false},
    {"UndoAction", "Undo", "Ctrl+Z", false},
    {"RedoAct", "Redo", "Ctrl+Shift+Z", false},
    {"SearchFind", "Find", "Ctrl+F", false},
    {"ProjectManagerAct", "Project Manager", "", false},
    {"InsertAction", "Insert", "", false},
    {"SimulateAct", "Simulate Settings", "", false},
    {"SimErrors", "Simulate Errors", "", false},
    {"ShowHelp", "Help", "", false},
    {"KeywordHelp", "Help for keyword", "", false},
    {"AboutAct", "&About", "", false},
    // The editor's own actions placed on the form.
    {"ac_Undo", "Undo", "", false},
    {"ac_Redo", "Redo", "", false},
    {"ac_Cut", "Cut", "", false},
    {"ac_Copy", "Copy", "", false},
    {"ac_Paste", "Paste", "", false},
    {"ac_Bold", "Bold", "", false},
    {"ac_Italic", "Italic", "", false},
    {"ac_Underline", "Underline", "", false},
    {"ac_StrikeOut", "Strike Out", "", false},
    {"ac_AlignLeft", "Align Left", "", false},
    {"ac_AlignCenter", "Center", "", false},
    {"ac_AlignRight", "Align Right", "", false},
    {"ac_UnorderedList", "Unordered List", "", false},
    {"ac_OrderedList", "Ordered List", "", false},
    {"ac_IncreaseListIndent", "Increase List Indent", "", false},
    {"ac_DecreaseListIndent", "Decrease List Indent", "", false},
    {"ac_TableInsertColumnToTheLeft", "Insert Column to the Left", "", false},
    {"ac_TableInsertColumnToTheRight", "Insert Column to the Right", "", false},
    {"ac_TableInsertRowAbove", "Insert Row Above", "", false},
    {"ac_TableInsertRowBelow", "Insert Row Below", "", false},
    {"ac_TableDeleteCurrentColumn", "Delete Current Column", "", false},
    {"ac_TableDeleteCurrentRow", "Delete Current Row", "", false},
};

}  // namespace

MainRibbonRig::MainRibbonRig() {
  rtl::InstallClock(clock);
  QCursor::setPos(0, 0);
  form = new vcl::TForm(vcl::Application, 0);
  form->SetName("frm_Main");
  form->SetBounds(0, 0, 1000, 400);
  form->SetClientWidth(978);
  actions = new vcl::TActionList(form);
  actions->SetName("psHtmlEditActionList1");
  for (const StandIn& s : kActions) {
    auto* a = new vcl::TAction(form);
    a->SetName(s.Name);
    a->SetCaption(s.Caption);
    a->SetShortCut(vcl::TextToShortCut(s.ShortCut));
    a->SetActionList(actions);
    const std::string name = s.Name;
    a->OnExecute = [this, name](vcl::TObject*) { ++runs[name]; };
  }
  pager = MainRibbonFixture(form, actions);
  pager->OnChanging = [this](vcl::TObject*, int from, int to, bool& allow) {
    allow = to < 0 || to >= pager->PageCount() || pager->GetPageByIndex(to)->Enabled();
    changing.push_back({from, to, allow});
  };
  pager->OnHelpClick = [this](vcl::TObject*) {
    const vcl::TPoint at = form->ClientToScreen({917, 32});
    helpPopups.push_back(at);
    Menu("HelpPopup")->Popup(at.X, at.Y);
  };
  SetVisualEditing(true);
  form->Show();
  Pump();
}

MainRibbonRig::~MainRibbonRig() {
  if (pager) {
    pager->OnChanging = nullptr;
    pager->OnHelpClick = nullptr;
  }
  vcl::Free(form);
  Pump();
  rtl::InstallClock(nullptr);
}

void MainRibbonRig::Pump() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

void MainRibbonRig::Advance(uint64_t ms) {
  clock->Advance(ms);
  Pump();
}

ribbon::TLumPage* MainRibbonRig::Page(const char* name) const {
  return dynamic_cast<ribbon::TLumPage*>(form->FindComponent(name));
}

ribbon::TLumCustomToolBar* MainRibbonRig::Bar(const char* caption, const char* page) const {
  ribbon::TLumPage* p = Page(page);
  for (int i = 0; p && i < p->ToolBarCount(); ++i)
    if (p->ToolBars(i)->Caption() == caption) return p->ToolBars(i);
  return nullptr;
}

controls::TLumGlowButton* MainRibbonRig::Button(const char* actionOrName) const {
  if (auto* g = dynamic_cast<controls::TLumGlowButton*>(form->FindComponent(actionOrName))) return g;
  vcl::TCustomAction* a = Action(actionOrName);
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* g = dynamic_cast<controls::TLumGlowButton*>(form->Components(i)); g && a && g->Action() == a)
      return g;
  return nullptr;
}

vcl::TCustomAction* MainRibbonRig::Action(const char* name) const {
  return dynamic_cast<vcl::TCustomAction*>(form->FindComponent(name));
}

vcl::TPopupMenu* MainRibbonRig::Menu(const char* name) const {
  return dynamic_cast<vcl::TPopupMenu*>(form->FindComponent(name));
}

int MainRibbonRig::Runs(const char* action) const {
  auto it = runs.find(action);
  return it == runs.end() ? 0 : it->second;
}

void MainRibbonRig::SetVisualEditing(bool value) {
  visual = value;
  ribbon::TLumPage* editHtml = Page("EditHTMLPage");
  ribbon::TLumPage* editSource = Page("EditSource");
  editHtml->SetEnabled(value);
  Page("HTMLPage")->SetEnabled(value);
  editSource->SetEnabled(!value);
  // The index is noted before the pages go: noted after, it would name
  // the page one place further on whenever the active page stands past
  // the "&Edit" page, and a disabled page there would refuse it.
  const int noted = pager->GetActivePageIndex();
  pager->RemovePage(editSource);
  pager->RemovePage(editHtml);
  ribbon::TLumPage* shown = value ? editHtml : editSource;
  pager->AddPage(shown);
  shown->SetPageIndex(1);
  pager->SetActivePage(Page("FilePage"));
  pager->SetActivePageIndex(noted);
  pager->Invalidate();
}

void MainRibbonRig::SetProjectOpen(bool open) {
  for (const StandIn& s : kActions)
    if (s.NeedsProject) Action(s.Name)->SetEnabled(open);
}

std::vector<std::string> MainRibbonRig::TabCaptions() const {
  std::vector<std::string> out;
  for (int i = 0; i < pager->PageCount(); ++i) out.push_back(pager->GetPageByIndex(i)->Caption());
  return out;
}

void MainRibbonRig::Click(vcl::TWinControl* c, QPoint at, Qt::MouseButton button) {
  QWidget* w = c->Widget();
  QTest::mouseMove(w, at);
  QTest::mousePress(w, button, {}, at);
  QTest::mouseRelease(w, button, {}, at);
  Pump();
}

QPoint MainRibbonRig::TabCentre(int index) const {
  const vcl::TRect r = pager->GetTabRect(index);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

void MainRibbonRig::ClickTab(int index) { Click(pager, TabCentre(index)); }

void MainRibbonRig::Key(int qtKey, Qt::KeyboardModifiers mods) {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = form->Widget();
  QTest::keyClick(target, static_cast<Qt::Key>(qtKey), mods);
  Pump();
}

void MainRibbonRig::Wheel(QPoint at, int delta) {
  QWidget* w = pager->Widget();
  const QPoint global = w->mapToGlobal(at);
  QCursor::setPos(global);
  QWheelEvent e(QPointF(at), QPointF(global), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(w, &e);
  Pump();
}

std::string SaveGrab(vcl::TWinControl* c, const std::string& name) {
  const std::string path = std::string(TOLVANE_BUILD_DIR) + "/" + name;
  c->Widget()->grab().toImage().save(QString::fromStdString(path));
  return path;
}

}  // namespace ide::testing
