// Edit transactions posted to a block: the block lays itself out alone
// while its height and floats stay, and hands the transaction to the root
// when they change; either way the geometry equals a fresh full layout.
#include <gtest/gtest.h>

#include "LayoutFixture.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

const char* kPage = "<html><body><p>first paragraph</p><p>second paragraph</p></body></html>";

// 530, 550, a marker before the block's closing tag (400), the list
// inserted after it (605), 560, 540: the edits marked as changing the
// document, so the block does not keep them for the root.
void PostTransaction(LayoutPage& aPage, TpsWindow* aBlock, const std::string& aText) {
  const auto post = [&](Integer aId, bool aChanges) -> TpsMessage& {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, aBlock);
    if (aChanges) m->Flags->SetFlag(mfChangesDocument, true);
    TpsMessage& ref = *m;
    aPage.Manager.PostMessage(std::move(m));
    return ref;
  };
  post(psmBeginEdit, false);
  post(psmExtractChunk, false);
  post(psmInsertMarkerInBlock, true).SetParam(1, 9);
  TpsMessage& insert = post(psmInsertChunkAtMarker, true);
  insert.SetParam(1, 9);
  auto chunk = std::make_shared<htmldoc::TpsDataChunk>();
  for (char c : aText) chunk->AddCharacter(static_cast<WideChar>(c));
  insert.Chunk = chunk;
  post(psmRelayout, false);
  post(psmEndEdit, false);
  aPage.Manager.ProcessMessages();
}

Integer RootLayouts(const FakeHost& aHost) {
  return static_cast<Integer>(std::count(aHost.Calls.begin(), aHost.Calls.end(), "LayoutRunning 1"));
}

std::string FreshLayout(LayoutPage& aPage) {
  std::unique_ptr<htmldoc::TpsDataChunk> chunk = aPage.Body->GetChunk(true);
  chunk->AppendCopyOf(*aPage.Rest);
  LayoutPage fresh(200, 300);
  fresh.LoadChunk(std::move(chunk));
  return DumpLayout(fresh.Body);
}

TEST(Transactions, AnEditThatKeepsTheHeightRelaysOutTheBlockAlone) {
  LayoutPage page(200, 300);
  page.Host.DC = &page.Fake;
  page.Load(kPage);
  TpsWindow* first = page.Body->Child(0);
  TpsWindow* second = page.Body->Child(1);
  page.Host.Forget();
  PostTransaction(page, first, " x");
  EXPECT_EQ(RootLayouts(page.Host), 0);
  // The other block is the same node, untouched.
  EXPECT_EQ(page.Body->Child(1), second);
  EXPECT_EQ(LineText(static_cast<TpsTextNode*>(first->Child(0))), "first paragraph x");
  EXPECT_EQ(DumpLayout(page.Body), FreshLayout(page));
}

TEST(Transactions, AChangedHeightRelaysOutTheRootExactlyOnce) {
  LayoutPage page(200, 300);
  page.Host.DC = &page.Fake;
  page.Load(kPage);
  page.Host.Forget();
  // 200 pixels hold 25 characters: the paragraph takes a second line.
  PostTransaction(page, page.Body->Child(0), " and a good many words more");
  EXPECT_EQ(RootLayouts(page.Host), 1);
  ASSERT_EQ(page.Body->Child(0)->ChildCount(), 2);
  EXPECT_EQ(page.Body->Child(1)->GetAbsoluteTop(), 26);
  EXPECT_EQ(DumpLayout(page.Body), FreshLayout(page));
}

}  // namespace
