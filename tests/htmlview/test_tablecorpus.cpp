// Every page of the Apache manual (Debian's apache2-doc) that holds a
// table laid out by the body on the fake-metrics canvas: nothing raised,
// every row inside its table and every cell inside its row, the widening
// passes bounded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "LayoutFixture.h"
#include "htmledit/view/psTableNodes.h"

namespace {

using namespace htmlview;
namespace fs = std::filesystem;
using htmlview::testing::kApacheManual;


void CheckTables(TpsWindow* w, Integer& aTables) {
  if (auto* table = dynamic_cast<TpsTableNode*>(w)) {
    ++aTables;
    EXPECT_LE(table->Columns.PassCount(), kMaxTablePasses);
    const TpsRect t = table->GetAbsoluteRect();
    for (Integer r = 0; r < table->GetRowCount(); ++r) {
      TpsTableRowNode* row = table->GetRow(r);
      const TpsRect rr = row->GetAbsoluteRect();
      EXPECT_TRUE(rr.Left >= t.Left && rr.Right <= t.Right && rr.Top >= t.Top && rr.Bottom <= t.Bottom) << r;
      for (Integer c = 0; c < row->GetLaidOutCellCount(); ++c) {
        const TpsRect cr = row->GetCellNode(c)->GetAbsoluteRect();
        EXPECT_TRUE(cr.Left >= rr.Left && cr.Right <= rr.Right && cr.Top >= rr.Top && cr.Bottom <= rr.Bottom)
            << r << "," << c;
      }
    }
  }
  for (TpsWindow* c : w->ChildList()) CheckTables(c, aTables);
}

TEST(TableNodesCorpus, ApacheManualPagesWithTables) {
  if (!fs::exists(kApacheManual)) GTEST_SKIP() << "apache2-doc is not installed";
  Integer pages = 0, tables = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kApacheManual)) {
    if (entry.path().extension() != ".html") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (text.str().find("<table") == std::string::npos) continue;
    SCOPED_TRACE(entry.path().string());
    htmlview::testing::LayoutPage page(800, 600);
    ASSERT_NO_THROW(page.Load(text.str()));
    CheckTables(page.Body, tables);
    ++pages;
  }
  EXPECT_GT(pages, 100);
  EXPECT_GT(tables, pages);
}

}  // namespace
