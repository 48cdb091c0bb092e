#pragma once
// A root that lays its whole content out as one leaf, so that an editing
// transaction (begin, extract, operations, relayout, end) runs on the
// root's own edit operations without the block and text nodes.
#include <memory>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "htmldoc/support/ChunkFixture.h"
#include "htmledit/view/psDocumentNode.h"

namespace htmlview::testing {

class OneLeaf : public TpsDocumentNode {
 public:
  using TpsDocumentNode::TpsDocumentNode;
  std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy) override {
    if (aAsCopy) return Content->Clone(false);
    auto out = std::move(Content);
    Content = std::make_unique<htmldoc::TpsDataChunk>();
    return out;
  }
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override {
    TpsDocumentNode::LayoutChunk(aChunk);
    Content->InsertChunk(aChunk, nullptr, true);
    WindowFlags.SetFlag(wfBeingLaidOut, false);
  }
  std::unique_ptr<htmldoc::TpsDataChunk> Content = std::make_unique<htmldoc::TpsDataChunk>();
};

class OneLeafRoot : public TpsDocumentNode {
 public:
  using TpsDocumentNode::TpsDocumentNode;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override {
    TpsDocumentNode::LayoutChunk(aChunk);
    auto leaf = NewWindow<OneLeaf>(this);
    leaf->LayoutChunk(aChunk);
    AddChild(std::move(leaf));
    WindowFlags.SetFlag(wfBeingLaidOut, false);
  }
};

// A fixture laid out under a one-leaf root with a fake host.
struct EditRoot {
  explicit EditRoot(const std::string& aFixture) {
    htmldoc::testing::LoadCss(Host.Sheet, ".note { color: red } .wide { margin: 2px }");
    auto chunk = htmldoc::testing::ReadFixture(aFixture, Host.Events);
    Root->LayoutChunk(*chunk);
  }
  // The document as it stands, in the fixture notation.
  std::string Out() { return htmldoc::testing::DumpFixture(*Root->GetChunk(true)); }
  // The element the dump shows as aText (the aNth of them).
  htmldoc::TpsChunkElement* Element(const std::string& aText, int aNth = 0) {
    return htmldoc::testing::At(*static_cast<OneLeaf*>(Root->Child(0))->Content, aText, aNth);
  }
  // Each message handled by the root in order, as the queue would deliver
  // those addressed to it.
  void Run(std::vector<TpsMessagePtr>& aQueue) {
    for (auto& m : aQueue) Root->HandleMessage(*m);
  }
  FakeHost Host;
  std::unique_ptr<OneLeafRoot, TpsWindowDeleter> Root{NewWindow<OneLeafRoot>(nullptr, &Host)};
};

}  // namespace htmlview::testing
