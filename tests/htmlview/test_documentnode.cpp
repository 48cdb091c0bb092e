// The view node base: the factory's order, the tree searches, height
// changes, box metrics from the cascade, style-stack preparation, taking
// the content out, and the image wrapper.
#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmldoc/support/ChunkFixture.h"

namespace {

using namespace htmlview;
using htmlview::testing::FakeHost;
using htmldoc::TpsDataChunk;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

// A node that answers the kind queries it is told to and, laid out, keeps
// the elements of one block (or one element).
class KindNode : public TpsDocumentNode {
 public:
  KindNode(TpsWindow* aParent, bool aText, bool aBlock, IpsEditorHost* aEditor = nullptr)
      : TpsDocumentNode(aParent, aEditor), Text(aText), Block(aBlock) {}
  void HandleMessage(TpsMessage& m) override {
    TpsDocumentNode::HandleMessage(m);
    if ((m.Id == psmIsTextNode && Text) || (m.Id == psmIsBlockNode && Block)) {
      m.Result = true;
      m.MarkHandled(this);
    }
  }
  std::unique_ptr<TpsDataChunk> GetChunk(bool aAsCopy) override {
    auto own = Content->Clone(false);
    auto children = TpsDocumentNode::GetChunk(aAsCopy);
    own->InsertChunk(*children, nullptr, true);
    return own;
  }
  std::unique_ptr<TpsDataChunk> CopyChunk() override { return GetChunk(true); }
  void LayoutChunk(TpsDataChunk& aChunk) override {
    TpsDocumentNode::LayoutChunk(aChunk);
    htmldoc::TpsChunkElement* last = aChunk.First();
    if (TpsDataChunk::IsBlockOpenTag(last)) last = aChunk.FindPartnerTag(last, nullptr);
    auto part = aChunk.Extract(aChunk.First(), last);
    Content->InsertChunk(*part, nullptr, true);
    WindowFlags.SetFlag(wfBeingLaidOut, false);
  }
  bool Text, Block;
  std::unique_ptr<TpsDataChunk> Content = std::make_unique<TpsDataChunk>();
};

struct NodeTree {
  NodeTree() { Root->SetBounds(0, 0, 500, 1000); }
  KindNode* Add(TpsWindow* aParent, Integer l, Integer t, Integer w, Integer h, bool aText, bool aBlock,
                bool aFloating = false) {
    auto node = NewWindow<KindNode>(aParent, aText, aBlock);
    node->SetBounds(l, t, w, h);
    node->WindowFlags.SetFlag(wfFloating, aFloating);
    return static_cast<KindNode*>(aParent->AddChild(std::move(node)));
  }
  FakeHost Host;
  std::unique_ptr<KindNode, TpsWindowDeleter> RootOwner{NewWindow<KindNode>(nullptr, false, false, &Host)};
  KindNode* Root = RootOwner.get();
};

TEST(NodeFactory, ClassesAreAskedInOrderAndTheFirstThatAcceptsBuilds) {
  NodeTree t;
  TpsNodeFactory factory;
  std::vector<std::string> asked;
  const auto entry = [&](const std::string& aName, Byte aCode) {
    return TpsNodeClassEntry{[&asked, aName, aCode](TpsDataChunk& c) {
                               asked.push_back(aName);
                               return TpsDataChunk::TagCodeOf(c.First()) == aCode ||
                                      (aCode == htmldoc::TAG_UNKNOWN && !TpsDataChunk::IsBlockTag(c.First()));
                             },
                             [](TpsWindow* aParent) -> TpsWindowPtr {
                               return NewWindow<KindNode>(aParent, false, true);
                             }};
  };
  // Registered out of order: the table's order holds.
  factory.Register(TpsNodeClass::Text, entry("text", htmldoc::TAG_UNKNOWN));
  factory.Register(TpsNodeClass::Heading, entry("heading", htmldoc::TAG_H1));
  factory.Register(TpsNodeClass::Paragraph, entry("paragraph", htmldoc::TAG_P));

  // An empty list adds nothing and succeeds.
  TpsDataChunk empty;
  EXPECT_TRUE(BuildViewNodes(empty, t.Root, factory));
  EXPECT_EQ(t.Root->ChildCount(), 0);
  EXPECT_TRUE(asked.empty());

  auto chunk = ReadFixture("<h1>a</h1><p>b</p>c", t.Host.Events);
  EXPECT_TRUE(BuildViewNodes(*chunk, t.Root, factory));
  EXPECT_TRUE(chunk->IsEmpty());
  EXPECT_EQ(asked, (std::vector<std::string>{"paragraph", "heading", "paragraph", "paragraph", "heading", "text"}));
  ASSERT_EQ(t.Root->ChildCount(), 3);
  EXPECT_EQ(DumpFixture(*static_cast<KindNode*>(t.Root->Child(0))->Content), "<h1>a</h1>");
  EXPECT_EQ(DumpFixture(*t.Root->GetChunk(true)), "<h1>a</h1><p>b</p>c");

  // No class accepts a list: building stops and fails.
  factory.Unregister(TpsNodeClass::Text);
  auto rest = ReadFixture("<p>x</p>y", t.Host.Events);
  EXPECT_FALSE(BuildViewNodes(*rest, t.Root, factory));
  EXPECT_EQ(DumpFixture(*rest), "y");
  // A factory without classes builds nothing. (The process-wide one holds
  // whatever node classes an earlier test of this program registered.)
  TpsNodeFactory none;
  auto any = ReadFixture("<p>x</p>", t.Host.Events);
  EXPECT_FALSE(BuildViewNodes(*any, t.Root, none));
}

TEST(NodeBase, NearestTextNodesAndBlockAtAPoint) {
  NodeTree t;
  KindNode* block = t.Add(t.Root, 0, 0, 500, 200, false, true);
  KindNode* a = t.Add(block, 10, 10, 100, 20, true, false);   // 10 .. 29
  KindNode* b = t.Add(block, 10, 50, 100, 20, true, false);   // 50 .. 69
  KindNode* c = t.Add(t.Root, 200, 300, 100, 20, true, true);  // 300 .. 319, both a block and text
  struct Row {
    Integer y;
    TpsWindow* byY;
  };
  // a ends at 29 and b starts at 50: 39 is nearer a, 40 nearer b.
  EXPECT_EQ(t.Root->NearestTextNodeByY(39), a);
  EXPECT_EQ(t.Root->NearestTextNodeByY(40), b);
  for (const Row& r : {Row{0, a}, Row{60, b}, Row{184, b}, Row{185, c}, Row{900, c}})
    EXPECT_EQ(t.Root->NearestTextNodeByY(r.y), r.byY) << r.y;
  // Equal distances keep the first in document order.
  KindNode* twin = t.Add(t.Root, 0, 10, 5, 20, true, false);  // the same edges as a, later in order
  EXPECT_EQ(t.Root->NearestTextNodeByY(12), a);
  t.Root->FreeChild(twin);
  // Only nodes whose horizontal extent holds X count; edges included.
  EXPECT_EQ(t.Root->NearestTextNodeAtPoint(250, 0), c);
  EXPECT_EQ(t.Root->NearestTextNodeAtPoint(109, 300), b);
  EXPECT_EQ(t.Root->NearestTextNodeAtPoint(110, 0), nullptr);
  // The deepest block; right and bottom edges excluded.
  EXPECT_EQ(t.Root->BlockNodeAt(20, 15), block);
  EXPECT_EQ(t.Root->BlockNodeAt(250, 310), c);
  EXPECT_EQ(t.Root->BlockNodeAt(300, 310), nullptr);
  EXPECT_EQ(t.Root->BlockNodeAt(499, 199), block);
  EXPECT_EQ(t.Root->BlockNodeAt(500, 100), nullptr);
  EXPECT_EQ(t.Root->BlockNodeAt(0, 200), nullptr);
}

TEST(NodeBase, HeightChangesMoveLaterFlowChildrenAndReachTheEditor) {
  NodeTree t;
  KindNode* block = t.Add(t.Root, 0, 0, 500, 100, false, true);
  KindNode* first = t.Add(block, 0, 0, 500, 40, true, false);
  KindNode* second = t.Add(block, 0, 40, 500, 60, true, false);
  KindNode* floating = t.Add(t.Root, 0, 150, 50, 50, false, false, true);
  KindNode* after = t.Add(t.Root, 0, 100, 500, 30, false, true);
  t.Root->Height = 130;
  t.Host.Forget();
  block->ChildHeightChanged(first, 15);
  EXPECT_EQ(first->Top, 0);
  EXPECT_EQ(second->Top, 55);
  EXPECT_EQ(block->Height, 115);
  EXPECT_EQ(after->Top, 115);
  EXPECT_EQ(floating->Top, 150);  // floating windows stay
  EXPECT_EQ(t.Root->Height, 145);
  EXPECT_EQ(t.Host.Calls, std::vector<std::string>{"UpdateScrollRanges"});
}

TEST(NodeBase, BoxMetricsFromTheCascade) {
  NodeTree t;
  htmldoc::testing::LoadCss(t.Host.Sheet,
                            "p { margin: 4px 3px 2px 1px; padding: 5px; border-width: 7px; border-style: solid;"
                            " border-color: #ff0000 }"
                            " h1 { margin: 9px; border-width: 6px }");
  struct Row {
    const char* tag;
    bool margins, borders, padding;
    Integer insetLeft, insetTop, insetRight, insetBottom, borderStyle;
  };
  t.Root->PrepareStyleStack();
  for (const Row& r : {Row{"<p>", true, true, true, 13, 16, 15, 14, 4}, Row{"<p>", true, false, true, 6, 9, 8, 7, 4},
                       Row{"<p>", false, true, false, 7, 7, 7, 7, 4},
                       // No border style: the widths are not read.
                       Row{"<h1>", true, true, true, 9, 9, 9, 9, 1}}) {
    SCOPED_TRACE(r.tag);
    KindNode* node = t.Add(t.Root, 0, 0, 10, 10, false, true);
    auto chunk = ReadFixture(std::string(r.tag) + "x", t.Host.Events);
    node->PrepareStyleStack();
    node->InitFromTag(chunk->First());
    node->LoadBoxMetrics(r.margins, r.borders, r.padding);
    EXPECT_EQ(node->InsetLeft, r.insetLeft);
    EXPECT_EQ(node->InsetTop, r.insetTop);
    EXPECT_EQ(node->InsetRight, r.insetRight);
    EXPECT_EQ(node->InsetBottom, r.insetBottom);
    EXPECT_EQ(node->BorderStyle, r.borderStyle);
    EXPECT_EQ(node->GetHorizontalInsets(), r.insetLeft + r.insetRight);
    if (r.borderStyle == 4) {
      EXPECT_EQ(node->BorderColor, vcl::RGB(255, 0, 0));
    }
    t.Root->FreeChild(node);
  }
}

TEST(NodeBase, StyleStacksStartFromTheRightNeighbour) {
  NodeTree t;
  htmldoc::testing::LoadCss(t.Host.Sheet, "p { color: red } .x { color: blue }");
  const Integer p = t.Host.Sheet.IndexOfStyle("p");
  const Integer x = t.Host.Sheet.IndexOfStyle(".x");
  const auto ids = [](KindNode* n) {
    std::vector<Integer> v;
    for (Integer i = 0; i < n->StyleStack->Count(); ++i) v.push_back(n->StyleStack->Item(i));
    return v;
  };
  t.Root->StyleStack->Push(99);  // the root clears its stack
  t.Root->PrepareStyleStack();
  t.Root->StyleStack->PushStyle(p);
  t.Root->SaveStyleEndState();
  EXPECT_EQ(ids(t.Root), std::vector<Integer>{p});

  KindNode* first = t.Add(t.Root, 0, 0, 10, 10, false, true);
  first->PrepareStyleStack();  // no previous sibling: the parent's state 1 (empty)
  EXPECT_TRUE(ids(first).empty());
  first->StyleStack->PushStyle(x);
  first->SaveStyleEndState();
  first->StyleStack->PushStyle(p);  // after its end state: not handed on

  KindNode* second = t.Add(t.Root, 0, 0, 10, 10, false, true);
  second->PrepareStyleStack();  // the previous sibling's state 2
  EXPECT_EQ(ids(second), std::vector<Integer>{x});

  KindNode* third = t.Add(t.Root, 0, 0, 10, 10, false, true);
  third->WindowFlags.SetFlag(wfStyleFromParent, true);
  third->PrepareStyleStack();
  EXPECT_TRUE(ids(third).empty());

  KindNode* floating = t.Add(t.Root, 0, 0, 10, 10, false, false, true);
  floating->Owner = first;
  floating->PrepareStyleStack();  // from its owner's state 2
  EXPECT_EQ(ids(floating), std::vector<Integer>{x});
}

TEST(NodeBase, TakingTheContentOutFreesChildrenAndOwnedFloats) {
  NodeTree t;
  KindNode* block = t.Add(t.Root, 0, 0, 500, 100, false, true);
  block->Content = ReadFixture("<p>a|</p>", t.Host.Events);
  KindNode* floating = t.Add(t.Root, 0, 0, 50, 50, false, false, true);
  floating->Owner = block;
  floating->Content = ReadFixture("<img src=\"f\">", t.Host.Events);
  KindNode* other = t.Add(t.Root, 0, 0, 50, 50, false, false, true);
  other->Owner = t.Root;
  // Floating children are not part of the content.
  EXPECT_EQ(DumpFixture(*t.Root->GetChunk(true)), "<p>a|</p>");
  EXPECT_EQ(t.Root->GetFirstElementId(), block->Content->First()->Id);
  block->Height = 77;
  auto extract = TpsMessage::Create(mrCommand, psmExtractChunk);
  block->HandleMessage(*extract);
  EXPECT_TRUE(block->WindowFlags.GetFlag(wfContentTakenOut));
  EXPECT_EQ(block->HeightBeforeEdit, 77);
  EXPECT_EQ(t.Root->FloatingWindows(), (TpsWindowList{other}));
  // Handed over once.
  EXPECT_EQ(DumpFixture(*block->TpsDocumentNode::GetChunk(false)), "<p>a|</p>");
  EXPECT_EQ(DumpFixture(*block->TpsDocumentNode::GetChunk(false)), "");
}

TEST(SkinNode, WrapsExactlyOneImageNode) {
  NodeTree t;
  auto skinOwner = NewWindow<TpsSkinNode>(t.Root);
  TpsSkinNode* skin = static_cast<TpsSkinNode*>(t.Root->AddChild(std::move(skinOwner)));
  EXPECT_THROW(skin->GetImageNode(), rtl::EAssertionFailed);
  KindNode* inner = static_cast<KindNode*>(skin->AddChild(NewWindow<KindNode>(skin, false, false)));
  inner->Content = ReadFixture("<img src=\"i\">", t.Host.Events);
  EXPECT_EQ(skin->GetImageNode(), inner);
  // Not an image node: no float alignment.
  EXPECT_EQ(skin->GetFloatAlignment(), 5);
  TpsDocumentNode* image = inner;
  EXPECT_FALSE(skin->IsFloatingImage(image));
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(DumpFixture(*skin->GetChunk(true)), "<img src=\"i\">");
}

}  // namespace

namespace {

// A placeholder element of a node list stands for a view window: the
// window is the list's embedded node, and the list carries it through a
// copy and a hand-over without touching it.
TEST(NodeBase, APlaceholderElementPointsAtAViewWindow) {
  NodeTree t;
  KindNode* line = t.Add(t.Root, 0, 0, 100, 20, true, false);
  auto skinOwner = NewWindow<TpsSkinNode>(t.Root);
  skinOwner->WindowFlags.SetFlag(wfFloating, true);
  skinOwner->Owner = line;
  TpsSkinNode* skin = static_cast<TpsSkinNode*>(t.Root->AddChild(std::move(skinOwner)));
  line->Content = ReadFixture("<p>a</p>", t.Host.Events);
  line->Content->InsertElement(htmldoc::NewNodeElement(skin), line->Content->First(), true);
  htmldoc::TpsChunkElement* placeholder = line->Content->First()->Next;
  ASSERT_TRUE(TpsDataChunk::IsEmbeddedNode(placeholder));
  EXPECT_EQ(placeholder->Kind, 3);
  EXPECT_EQ(static_cast<TpsWindow*>(placeholder->Node), skin);
  auto copy = t.Root->GetChunk(true);
  copy->Check();
  EXPECT_EQ(DumpFixture(*copy), "<p>#a</p>");
  EXPECT_EQ(static_cast<TpsWindow*>(copy->First()->Next->Node), skin);
  EXPECT_EQ(static_cast<TpsSkinNode*>(static_cast<TpsWindow*>(copy->First()->Next->Node))->WindowId,
            skin->WindowId);
}

}  // namespace

namespace {

// An image node's stand-in that notes the selected mark it is given.
class MarkedImage : public TpsDocumentNode {
 public:
  using TpsDocumentNode::TpsDocumentNode;
  void HandleMessage(TpsMessage& m) override {
    TpsDocumentNode::HandleMessage(m);
    if (m.Id == psmSetImageSelected && m.Target == this) {
      Marks.push_back(m.Result);
      m.MarkHandled(nullptr);
    }
  }
  std::vector<bool> Marks;
};

TEST(SkinNode, SelectingTheImageGoesToItsImageNodeThroughTheQueue) {
  FakeHost host;
  TpsWindowManager manager(&host.Canvas);
  manager.SetRootWindow(NewWindow<KindNode>(nullptr, false, false, &host));
  TpsWindow* root = manager.Root();
  auto* skin = static_cast<TpsSkinNode*>(root->AddChild(NewWindow<TpsSkinNode>(root)));
  auto* image = static_cast<MarkedImage*>(skin->AddChild(NewWindow<MarkedImage>(skin)));
  EXPECT_EQ(skin->GetEditor(), &host);
  skin->SetImageSelected(true);
  skin->SetImageSelected(false);
  EXPECT_EQ(image->Marks, (std::vector<bool>{true, false}));
  EXPECT_EQ(manager.QueuedCount(), 0);
}

}  // namespace
