// The saved layout of a dock panel: the keys written for a panel of two
// rows and a hidden toolbar, read back into the same layout from an INI
// file and from the registry; a store that names nothing, a zero count,
// hidden and shown toolbars, a visible toolbar whose row is not there, and
// hand-damaged stores.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;
namespace fs = std::filesystem;

fs::path DockLayoutDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("tolvane-dock-layout-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

std::string DockReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void DockWriteAll(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

// A form with a top panel and the toolbars A, B, C and D, each docked in a
// row of its own, in the order given.
struct DockLayoutRig {
  vcl::TForm* form = nullptr;
  TLumDockPanel* panel = nullptr;
  std::map<std::string, TLumCustomToolBar*> bars;
  explicit DockLayoutRig(const char* order = "ABCD") {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(302);
    form->SetClientHeight(300);
    form->Show();
    panel = new TLumDockPanel(form);
    panel->SetName("TopDock");
    panel->SetParent(form);
    for (const char* c = order; *c; ++c) {
      auto* t = new TLumCustomToolBar(form);
      t->SetName(std::string(1, *c));
      t->SetParent(panel);
      bars[std::string(1, *c)] = t;
    }
  }
  ~DockLayoutRig() {
    if (form) vcl::Free(form);
  }
  TLumCustomToolBar* operator[](const char* name) { return bars.at(name); }
  void Persist(TPersistenceLocation where, const std::string& key, const std::string& section = "Layout") {
    panel->Persistence()->SetLocation(where);
    panel->Persistence()->SetKey(key);
    panel->Persistence()->SetSection(section);
    panel->Persistence()->SetEnabled(true);
  }
  // The panel's Loaded, as at the end of streaming (it loads the layout).
  void Load() {
    panel->BeginLoad();
    panel->EndLoad();
  }
  // Rows as text: "A B|C", hidden toolbars after "/".
  std::string Rows() const {
    std::string s;
    for (int r = 0; r < panel->RowCount(); ++r) {
      if (r) s += "|";
      TRowCollectionItem* row = panel->Rows()->GetRow(r);
      for (int i = 0; i < row->ToolBarCount(); ++i) s += (i ? " " : "") + row->ToolBar(i)->Name();
    }
    for (TLumCustomToolBar* t : panel->HiddenToolBars()) s += "/" + t->Name();
    return s;
  }
  // Every docked toolbar is in exactly one row (whose index it holds) or
  // hidden outside the rows, no row is empty, and the panel is as thick as
  // its rows.
  void ExpectWhole() const {
    for (int i = 0; i < panel->ToolBarCount(); ++i) {
      TLumCustomToolBar* t = panel->ToolBar(i);
      int listed = 0;
      for (int r = 0; r < panel->RowCount(); ++r)
        if (panel->Rows()->GetRow(r)->IndexOf(t) >= 0) {
          ++listed;
          EXPECT_EQ(t->RowIndex(), r) << t->Name();
        }
      EXPECT_EQ(listed, t->Visible() ? 1 : 0) << t->Name();
    }
    for (int r = 0; r < panel->RowCount(); ++r) EXPECT_GT(panel->Rows()->GetRow(r)->ToolBarCount(), 0);
    const int expected = panel->RowCount() ? panel->Rows()->GetRow(panel->RowCount() - 1)->Rect().Bottom : 3;
    EXPECT_EQ(panel->Height(), expected);
  }
};

// Rows [A B] and [C], D hidden.
void DockArrangeFour(DockLayoutRig& rig) {
  rig.panel->Rows()->MoveToRow(rig["B"], 0);
  rig["D"]->SetVisible(false);
  ASSERT_EQ(rig.Rows(), "A B|C/D");
}

const char* const kFourToolBars =
    "[Layout]\r\n"
    "ToolBarCount=4\r\n"
    "RowCount=2\r\n"
    "Name1=A\r\nA.Row=0\r\nA.Left=3\r\nA.Top=1\r\nA.Width=60\r\nA.Height=26\r\nA.Visible=1\r\n"
    "Name2=B\r\nB.Row=0\r\nB.Left=65\r\nB.Top=1\r\nB.Width=60\r\nB.Height=26\r\nB.Visible=1\r\n"
    "Name3=C\r\nC.Row=1\r\nC.Left=3\r\nC.Top=28\r\nC.Width=60\r\nC.Height=26\r\nC.Visible=1\r\n"
    "Name4=D\r\nD.Row=-1\r\nD.Left=3\r\nD.Top=55\r\nD.Width=60\r\nD.Height=26\r\nD.Visible=0\r\n";

TEST(RibbonDockLayout, FourToolBarsSavedKeyByKeyAndReadBack) {
  const fs::path file = DockLayoutDir() / "four.ini";
  fs::remove(file);
  {
    DockLayoutRig rig;
    DockArrangeFour(rig);
    rig.Persist(plIniFile, file.string());
  }  // the panel saves as it goes
  EXPECT_EQ(DockReadAll(file), kFourToolBars);
  // Another session, its toolbars docked in another order and all shown.
  DockLayoutRig rig("DCBA");
  rig.Persist(plIniFile, file.string());
  ASSERT_EQ(rig.Rows(), "D|C|B|A");
  rig.Load();
  EXPECT_EQ(rig.Rows(), "A B|C/D");
  EXPECT_FALSE(rig["D"]->Visible());
  EXPECT_EQ(rig["D"]->RowIndex(), -1) << "hidden and rowless";
  EXPECT_EQ(rig["B"]->Left(), 65);
  EXPECT_EQ(rig["C"]->Top(), 28);
  rig.ExpectWhole();
  // Written again, it is the same file.
  const fs::path again = DockLayoutDir() / "four-again.ini";
  fs::remove(again);
  rtl::TMemIniFile store(again.string());
  rig.panel->SaveLayout(&store);
  store.UpdateFile();
  EXPECT_EQ(DockReadAll(again), kFourToolBars);
  // Shown, the hidden toolbar gets a row.
  rig["D"]->SetVisible(true);
  EXPECT_EQ(rig.Rows(), "A B|C|D");
  rig.ExpectWhole();
}

TEST(RibbonDockLayout, RegistryStoreRoundTrip) {
  const fs::path hive = DockLayoutDir() / "registry.ini";
  fs::remove(hive);
  rtl::SetRegistryFile(hive.string());
  {
    DockLayoutRig rig;
    DockArrangeFour(rig);
    rig.Persist(plRegistry, "Software\\Tolvane\\DockTest");
  }
  {
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Tolvane\\DockTest\\Layout"));
    EXPECT_EQ(reg.GetDataType("ToolBarCount"), rtl::TRegDataType::rdInteger);
    EXPECT_EQ(reg.ReadInteger("ToolBarCount"), 4);
    EXPECT_EQ(reg.ReadInteger("RowCount"), 2);
    EXPECT_EQ(reg.GetDataType("Name3"), rtl::TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("Name3"), "C");
    EXPECT_EQ(reg.ReadInteger("D.Row"), -1);
  }
  {
    DockLayoutRig rig("DCBA");
    rig.Persist(plRegistry, "Software\\Tolvane\\DockTest");
    rig.Load();
    EXPECT_EQ(rig.Rows(), "A B|C/D");
    rig.ExpectWhole();
    rig.panel->Persistence()->SetEnabled(false);
  }
  rtl::SetRegistryFile("");
}

TEST(RibbonDockLayout, StoresThatChangeNothing) {
  const fs::path file = DockLayoutDir() / "nothing.ini";
  struct Case {
    const char* what;
    const char* key;  // "@" stands for the file
    const char* section;
    const char* stored;
  };
  const Case cases[] = {
      {"empty key", "", "Layout", kFourToolBars},
      {"empty section", "@", "", kFourToolBars},
      {"zero count", "@", "Layout",
       "[Layout]\r\nToolBarCount=0\r\nRowCount=1\r\nName1=D\r\nD.Row=0\r\nName2=C\r\nC.Row=0\r\n"},
      {"no count", "@", "Layout", "[Layout]\r\nRowCount=1\r\nName1=D\r\nD.Row=0\r\n"},
      {"another section", "@", "Elsewhere", kFourToolBars},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DockWriteAll(file, c.stored);
    {
      DockLayoutRig rig("DCBA");
      rig.Persist(plIniFile, std::string(c.key) == "@" ? file.string() : c.key, c.section);
      rig.Load();
      EXPECT_EQ(rig.Rows(), "D|C|B|A") << "not even the rows change";
      rig.ExpectWhole();
      // Without a key or a section the panel's save on the way out writes
      // nothing either; otherwise it is switched off here.
      if (!std::string(c.key).empty() && !std::string(c.section).empty()) rig.panel->Persistence()->SetEnabled(false);
    }
    EXPECT_EQ(DockReadAll(file), c.stored) << "nothing written";
  }
}

TEST(RibbonDockLayout, VisibleToolBarOutsideTheStoredRowsGetsARow) {
  const fs::path file = DockLayoutDir() / "outside.ini";
  // D shown with a row the store never made: it goes where a toolbar
  // shown outside every row goes (a new row), instead of showing outside
  // the rows.
  struct Case {
    const char* what;
    const char* dEntry;
    const char* rows;
  };
  const Case cases[] = {
      {"row past the rows", "D.Row=7\r\nD.Visible=1\r\n", "A B|C|D"},
      {"row -1 but visible", "D.Row=-1\r\nD.Visible=1\r\n", "A B|C|D"},
      {"stored hidden with a row", "D.Row=1\r\nD.Visible=0\r\n", "A B|C/D"},
      {"visible low byte 1", "D.Row=9\r\nD.Visible=257\r\n", "A B|C|D"},
      {"visible low byte 0", "D.Row=9\r\nD.Visible=256\r\n", "A B|C/D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DockWriteAll(file, std::string("[Layout]\r\nToolBarCount=4\r\nRowCount=2\r\n") +
                       "Name1=A\r\nA.Row=0\r\nName2=B\r\nB.Row=0\r\nName3=C\r\nC.Row=1\r\nName4=D\r\n" + c.dEntry);
    DockLayoutRig rig("DCBA");
    rig.Persist(plIniFile, file.string());
    rig.Load();
    EXPECT_EQ(rig.Rows(), c.rows);
    EXPECT_EQ(rig["D"]->RowIndex() >= 0, rig["D"]->Visible()) << "shown means in a row";
    rig.ExpectWhole();
    rig.panel->Persistence()->SetEnabled(false);
  }
}

TEST(RibbonDockLayout, ToolBarNamedFromAnotherPanelMovesOver) {
  const fs::path file = DockLayoutDir() / "other-panel.ini";
  DockWriteAll(file, "[Layout]\r\nToolBarCount=2\r\nRowCount=1\r\nName1=A\r\nA.Row=0\r\nName2=Z\r\nZ.Row=0\r\n");
  DockLayoutRig rig("A");
  auto* bottom = new TLumDockPanel(rig.form);
  bottom->SetDockAlign(daBottom);
  bottom->SetParent(rig.form);
  auto* z = new TLumCustomToolBar(rig.form);
  z->SetName("Z");
  z->SetParent(bottom);
  rig.Persist(plIniFile, file.string());
  rig.Load();
  EXPECT_EQ(z->Parent(), rig.panel);
  EXPECT_EQ(z->Position(), daTop);
  EXPECT_EQ(rig.Rows(), "A Z");
  EXPECT_EQ(bottom->ToolBarCount(), 0);
  EXPECT_EQ(bottom->RowCount(), 0);
  rig.ExpectWhole();
  rig.panel->Persistence()->SetEnabled(false);
}

TEST(RibbonDockLayout, DamagedStoresLoadWithDefaults) {
  const fs::path file = DockLayoutDir() / "damaged.ini";
  struct Case {
    const char* what;
    const char* text;
    const char* rows;  // null: only whole
  };
  const Case cases[] = {
      {"names only", "[Layout]\r\nToolBarCount=2\r\nName1=B\r\nName2=A\r\n", nullptr},
      {"count not a number", "[Layout]\r\nToolBarCount=four\r\nName1=A\r\nA.Row=0\r\n", "D|C|B|A"},
      {"numbers not numbers",
       "[Layout]\r\nToolBarCount=1\r\nRowCount=x\r\nName1=C\r\nC.Row=?\r\nC.Left=--\r\nC.Width=\r\nC.Visible=yes\r\n",
       nullptr},
      {"huge counts",
       "[Layout]\r\nToolBarCount=2147483647\r\nRowCount=2147483647\r\nName1=A\r\nA.Row=2147483646\r\n"
       "Name2147483647=B\r\nB.Row=0\r\nB.Width=999999999\r\nB.Left=-2147483648\r\n",
       "B|A|D|C"},
      {"negative counts", "[Layout]\r\nToolBarCount=-5\r\nRowCount=-5\r\nName1=A\r\n", "D|C|B|A"},
      {"negative row count", "[Layout]\r\nToolBarCount=2\r\nRowCount=-3\r\nName1=A\r\nA.Row=0\r\nName2=B\r\n", nullptr},
      {"names twice, unknown names, any case",
       "[layout]\r\ntoolbarcount=4\r\nrowcount=1\r\nname1=b\r\nb.row=0\r\nName2=B\r\nB.Row=0\r\nName3=Nobody\r\n"
       "Nobody.Row=0\r\nName4=TopDock\r\n",
       "B|D|C|A"},
      {"leading zeros and gaps", "[Layout]\r\nToolBarCount=9\r\nRowCount=2\r\nName01=A\r\nName9=C\r\nC.Row=1\r\n",
       "C|D|B|A"},
      {"empty name entry", "[Layout]\r\nToolBarCount=1\r\nRowCount=1\r\nName1=\r\n", "D|C|B|A"},
      {"not an ini file", "\x01\x02garbage\r\n=\r\n[\r\n]]=[\r\n", "D|C|B|A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DockWriteAll(file, c.text);
    DockLayoutRig rig("DCBA");
    rig.Persist(plIniFile, file.string());
    rig.Load();
    if (c.rows) {
      EXPECT_EQ(rig.Rows(), c.rows);
    }
    rig.ExpectWhole();
    rig.panel->Persistence()->SetEnabled(false);
  }
}

}  // namespace
