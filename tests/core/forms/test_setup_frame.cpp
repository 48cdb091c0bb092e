// The simulator's setup frame docked on a form: the values shown in its
// three grids, edits through synthetic Qt keys stored in the simulator at
// once, the redisplay after a preview and after a project load, and the
// extra keys round-tripping through the grid and the project file whatever
// their number.
#include <gtest/gtest.h>

#include <memory>

#include "../TestSupport.h"
#include "FormsTestSupport.h"
#include "core/SimulatorFrameU.h"
#include "core/ZelWebExtU.h"
#include "core/forms/CoreFormsU.h"
#include "core/forms/VormekDevSetupU.h"
#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "rtl/IniFiles.h"
#include "vcl/ComCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

using namespace core;
using namespace forms_test;

namespace {

// A web extension with its frame docked on a shown form.
struct TFrameFixture {
  TZelWebExt ext;
  vcl::TForm* form = nullptr;
  TFrmVormekDevSetup* frame = nullptr;
  TvormekWebSimulator* simulator = nullptr;
  TFrameFixture() {
    form = vcl::Create<vcl::TForm>(nullptr, 0);
    form->SetClientWidth(340);
    form->SetClientHeight(720);
    frame = CreateSimulatorFrame(form, ext);
    IdeviceSimulatorControl* control = frame;
    control->SetParentControl(form);
    simulator = dynamic_cast<TvormekWebSimulator*>(ext.Simulator());
    form->Show();
    Pump();
  }
  ~TFrameFixture() { vcl::Free(form); }

  // Opens the editor of a cell with F2.
  vcl::TWinControl* Open(grid::TVadOdizadEzev* g, Integer col, Integer row) {
    g->SetCol(col);
    g->SetRow(row);
    KeyTo(g, Qt::Key_F2);
    Pump();
    if (auto* c = g->ActiveEditorControl()) return c;
    return g->EditorMode() ? g->InplaceEditor() : nullptr;
  }
  void Type(grid::TVadOdizadEzev* g, Integer col, Integer row, const std::string& text) {
    vcl::TWinControl* editor = Open(g, col, row);
    ASSERT_NE(editor, nullptr);
    KeyTo(editor, Qt::Key_A, Qt::ControlModifier);
    KeyTo(editor, Qt::Key_Delete);
    if (!text.empty()) TypeTo(editor, text);
    KeyTo(editor, Qt::Key_Return);
    Pump();
  }
  void Choose(grid::TVadOdizadEzev* g, Integer col, Integer row, const std::string& text) {
    auto* combo = dynamic_cast<grid::TGridCombo*>(Open(g, col, row));
    ASSERT_NE(combo, nullptr);
    const Integer target = combo->Items()->IndexOf(text);
    ASSERT_GE(target, 0) << text;
    while (combo->ItemIndex() < target) KeyTo(combo, Qt::Key_Down);
    while (combo->ItemIndex() > target) KeyTo(combo, Qt::Key_Up);
    KeyTo(combo, Qt::Key_Return);
    Pump();
  }
  AnsiString Preview(const AnsiString& body) {
    return ext.Simulate(ext.LoadPage("<html><body>" + body + "</body></html>"));
  }
};

}  // namespace

// Core makes the frame only through the factory the windowed program
// installs: none before, and after InstallCoreForms a frame attached to the
// web extension's simulator, redisplayed by a preview and detached when its
// owner frees it.
TEST(SetupFrame, MadeThroughCoresFactory) {
  SetSimulatorFrameFactory({});
  TZelWebExt ext;
  auto* form = vcl::Create<vcl::TForm>(nullptr, 0);
  EXPECT_FALSE(HasSimulatorFrameFactory());
  EXPECT_EQ(CreateSimulatorControl(form, ext), nullptr);
  EXPECT_EQ(ext.Simulator()->GetSimulatorControl(), nullptr);

  InstallCoreForms();
  EXPECT_TRUE(HasSimulatorFrameFactory());
  IdeviceSimulatorControl* control = CreateSimulatorControl(form, ext);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ext.Simulator()->GetSimulatorControl(), control);
  auto* frame = dynamic_cast<TFrmVormekDevSetup*>(control);
  ASSERT_NE(frame, nullptr);
  control->SetParentControl(form);
  form->Show();
  Pump();
  ext.Simulate(ext.LoadPage("<html><body><!--(EXEC PIN_OUTPUT4=1)--></body></html>"));
  EXPECT_EQ(frame->PinSettings->Cells(1, 4), "High");
  EXPECT_EQ(frame->PinSettings->Cells(4, 4), "Output");

  vcl::Free(form);
  EXPECT_EQ(ext.Simulator()->GetSimulatorControl(), nullptr) << "the frame went with its owner";
}

TEST(SetupFrame, AFreshFrameShowsTheDefaults) {
  TFrameFixture f;
  auto* pins = f.frame->PinSettings;
  ASSERT_EQ(pins->RowCount(), 18);
  ASSERT_EQ(pins->ColCount(), 5);
  const char* titles[] = {"Pin", "Low/High", "Volts", "Locked", "Direction"};
  for (Integer c = 0; c < 5; ++c) EXPECT_EQ(pins->Cells(c, 0), titles[c]);
  for (Integer pin = 1; pin <= 17; ++pin) {
    SCOPED_TRACE(pin);
    EXPECT_EQ(pins->Cells(0, pin), std::to_string(pin));
    EXPECT_EQ(pins->Cells(1, pin), "Low");
    EXPECT_EQ(pins->Cells(2, pin), pin <= 5 ? "0.00" : "N/A");
    EXPECT_EQ(pins->Cells(3, pin), "False");
    EXPECT_EQ(pins->Cells(4, pin), "Input");
  }
  auto* general = f.frame->GeneralSettings;
  EXPECT_EQ(general->RowCount(), 7);
  EXPECT_EQ(general->FixedRows(), 0);
  EXPECT_EQ(general->FixedCols(), 1);
  const char* rows[][2] = {{"IP Address", "192.168.100.100"}, {"HTTP Port", "80"}, {"Netmask", "255.255.255.0"},
                           {"Gateway", "192.168.100.1"},      {"ID", "My ID"},     {"SSN", "My SSN"},
                           {"Serial Frame", ""}};
  for (Integer r = 0; r < 7; ++r) {
    EXPECT_EQ(general->Cells(0, r), rows[r][0]);
    EXPECT_EQ(general->Cells(1, r), rows[r][1]);
  }
  auto* keys = f.frame->KeyGrid;
  EXPECT_EQ(keys->RowCount(), 256);
  EXPECT_EQ(keys->FixedCols(), 0);
  EXPECT_EQ(keys->Cells(0, 0), "Key");
  EXPECT_EQ(keys->Cells(1, 0), "Return Value");
  // The first columns are as wide as their texts in the grid's font.
  vcl::TBitmap bmp;
  bmp.Canvas()->Font()->Assign(pins->Font());
  EXPECT_EQ(pins->ColWidths(0), bmp.Canvas()->TextWidth("PIN    "));
  EXPECT_EQ(pins->ColWidths(1), bmp.Canvas()->TextWidth("HIGH/LOW    "));
  EXPECT_EQ(f.simulator->GetSimulatorControl(), static_cast<IdeviceSimulatorControl*>(f.frame));
  GrabForm(f.form, "coreforms-setup-frame.png");
}

TEST(SetupFrame, APreviewShowsWhatItsTagsChanged) {
  TFrameFixture f;
  EXPECT_EQ(f.Preview("<!--(EXEC PIN_OUTPUT4=1)-->"), "<html><body></body></html>");
  EXPECT_EQ(f.frame->PinSettings->Cells(1, 4), "High");
  EXPECT_EQ(f.frame->PinSettings->Cells(4, 4), "Output");
  EXPECT_EQ(f.frame->PinSettings->Cells(1, 3), "Low");
}

TEST(SetupFrame, EditsAreStoredAtOnce) {
  TFrameFixture f;
  auto* pins = f.frame->PinSettings;
  TvormekParams& values = f.simulator->Params();
  f.Choose(pins, 1, 3, "High");
  EXPECT_EQ(values.GetPin(3).State, 1);
  f.Choose(pins, 3, 3, "True");
  EXPECT_TRUE(values.GetPin(3).Locked);
  f.Choose(pins, 4, 3, "Output");
  EXPECT_EQ(values.GetPin(3).Direction, 1);
  f.Type(pins, 2, 2, "3.3");
  EXPECT_FLOAT_EQ(values.GetPin(2).Volts, 3.3f);
  EXPECT_EQ(pins->Cells(2, 2), "3.30");
  // Pins without analog input have no volts to edit, the pin column none.
  EXPECT_EQ(f.Open(pins, 2, 7), nullptr);
  EXPECT_EQ(f.Open(pins, 0, 7), nullptr);
  EXPECT_EQ(values.GetPin(7).Volts, kNoAnalogVolts);
  EXPECT_EQ(f.Preview("<!--(PIN 3)-->/<!--(PIN 2 ANALOG)-->"), "<html><body>1/3.30</body></html>");

  // The HTTP port reaches the next preview but not the project file.
  auto* general = f.frame->GeneralSettings;
  f.Type(general, 1, 1, "8080");
  f.Type(general, 1, 6, "ABCDEF");
  EXPECT_EQ(values.HTTPPort, "8080");
  EXPECT_EQ(values.SerialFrame, "ABCDEF");
  EXPECT_EQ(f.Preview("<!--(READ HTTP)-->"), "<html><body>8080</body></html>");
  core_test::ScratchFolder folder("coreforms-frame");
  const AnsiString file = (folder.Path() / "p.zprj").string();
  {
    rtl::TMemIniFile ini(file);
    f.frame->SaveToIni(ini);
    ini.UpdateFile();
  }
  const std::string saved = core_test::Slurp(file);
  EXPECT_EQ(saved.find("8080"), std::string::npos);
  EXPECT_NE(saved.find("Serial.Frame=ABCDEF"), std::string::npos);
}

TEST(SetupFrame, KeysClearedAndRebuiltInRowOrder) {
  TFrameFixture f;
  TextraCmds& keys = f.simulator->Params().ExtraCmds;
  keys.AddKey("A", "1");
  keys.AddKey("B", "2");
  keys.AddKey("C", "3");
  f.frame->RefreshGrids();
  auto* grid = f.frame->KeyGrid;
  EXPECT_EQ(grid->Cells(0, 2), "B");
  f.Type(grid, 0, 2, "");
  ASSERT_EQ(keys.Count(), 2);
  EXPECT_EQ(keys.Get(0), "A=1");
  EXPECT_EQ(keys.Get(1), "C=3");
  // A new key typed further down joins in row order.
  f.Type(grid, 0, 10, "REG9");
  f.Type(grid, 1, 10, "nine");
  ASSERT_EQ(keys.Count(), 3);
  EXPECT_EQ(keys.Get(2), "REG9=nine");
  EXPECT_EQ(f.Preview("<!--(READ REG9)-->"), "<html><body>nine</body></html>");
}

// More keys than the grid's usual rows all get a row, and survive an edit
// and the project file.
TEST(SetupFrame, ThreeHundredKeysRoundTrip) {
  core_test::ScratchFolder folder("coreforms-keys");
  const AnsiString file = (folder.Path() / "many.zprj").string();
  {
    TvormekParams many;
    for (int i = 0; i < 300; ++i) many.ExtraCmds.AddKey("K" + std::to_string(i), std::to_string(i * 2));
    rtl::TMemIniFile ini(file);
    many.SaveToIni(ini);
    ini.UpdateFile();
  }
  TFrameFixture f;
  {
    rtl::TMemIniFile ini(file);
    f.frame->LoadFromIni(ini);
  }
  auto* grid = f.frame->KeyGrid;
  EXPECT_EQ(grid->RowCount(), 302) << "300 keys, one empty row, the title";
  EXPECT_EQ(grid->Cells(0, 300), "K299");
  EXPECT_EQ(grid->Cells(1, 300), "598");
  f.Type(grid, 1, 280, "changed");
  TextraCmds& keys = f.simulator->Params().ExtraCmds;
  ASSERT_EQ(keys.Count(), 300);
  EXPECT_EQ(keys.Get(279), "K279=changed");
  EXPECT_EQ(keys.Get(299), "K299=598");

  {
    rtl::TMemIniFile ini(file);
    f.frame->SaveToIni(ini);
    ini.UpdateFile();
  }
  TvormekParams back;
  {
    rtl::TMemIniFile ini(file);
    back.LoadFromIni(ini);
  }
  ASSERT_EQ(back.ExtraCmds.Count(), 300);
  EXPECT_EQ(back.ExtraCmds.Get(279), "K279=changed");
  EXPECT_EQ(back.ExtraCmds.Get(0), "K0=0");
}

// A pin state that is neither low nor high shows its number and stays
// until the user picks one of the two.
TEST(SetupFrame, AnOddPinStateIsKeptUntilChosen) {
  TFrameFixture f;
  f.simulator->Params().PinRef(3).State = 7;
  f.frame->RefreshGrids();
  auto* pins = f.frame->PinSettings;
  EXPECT_EQ(pins->Cells(1, 3), "7");
  f.Choose(pins, 4, 3, "Output");
  f.Type(pins, 2, 3, "1.25");
  EXPECT_EQ(f.simulator->Params().GetPin(3).State, 7);
  EXPECT_EQ(pins->Cells(1, 3), "7");
  f.Choose(pins, 1, 3, "High");
  EXPECT_EQ(f.simulator->Params().GetPin(3).State, 1);
  f.Choose(pins, 1, 3, "Low");
  EXPECT_EQ(f.simulator->Params().GetPin(3).State, 0);
}

TEST(SetupFrame, RefreshButtonAndDetaching) {
  auto f = std::make_unique<TFrameFixture>();
  std::vector<vcl::TObject*> senders;
  IdeviceSimulatorControl* control = f->frame;
  control->SetOnRefresh([&](vcl::TObject* s) { senders.push_back(s); });
  ClickOn(f->frame->ToolBar1);  // beside the button: nothing
  const vcl::TRect r = f->frame->Refresh->BoundsRect();
  QTest::mouseClick(f->frame->ToolBar1->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 5));
  Pump();
  EXPECT_EQ(senders, (std::vector<vcl::TObject*>{f->frame}));
  // Freed first, the frame leaves the simulator without a control.
  vcl::Free(f->frame);
  EXPECT_EQ(f->simulator->GetSimulatorControl(), nullptr);
  EXPECT_EQ(f->Preview("<!--(EXEC PIN_OUTPUT2=1)--><!--(PIN 2)-->"), "<html><body>1</body></html>");
}
