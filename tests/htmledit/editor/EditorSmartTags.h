#pragma once
// Smart tags in a real editor, as tests see them: waiting until the
// scheduling thread has looked at the page as it stands, and the text and
// marks of each block the thread analyses, read straight from the view.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psWindows.h"

namespace htmledittest {

// Counts the scheduling thread's idle moments. Make it before the editor,
// so that it outlives the thread's last call.
class SmartTagIdle {
 public:
  explicit SmartTagIdle(htmledit::TpsHTMLEditBase* aEditor) : FEditor(aEditor) {
    aEditor->SetSmartTagIdleHook([this] {
      std::lock_guard<std::mutex> g(FLock);
      ++FCount;
      FChanged.notify_all();
    });
  }
  void Detach() { FEditor->SetSmartTagIdleHook(nullptr); }

  // Wakes the thread and waits for it to sleep again. An idle moment seen
  // after the wake may still be the end of a scan that began before the
  // last edit; the one after a second wake never is, since that scan was
  // woken while the edit was already in place.
  bool Settle() { return WakeAndWait() && WakeAndWait(); }

 private:
  bool WakeAndWait() {
    int seen;
    {
      htmldoc::TpsDocumentLockGuard g(FEditor->DocumentLock());
      FEditor->SmartTagThread()->RestartCaretBlock();
      std::lock_guard<std::mutex> l(FLock);
      seen = FCount;
    }
    std::unique_lock<std::mutex> l(FLock);
    return FChanged.wait_for(l, std::chrono::seconds(120), [&] { return FCount > seen; });
  }

  htmledit::TpsHTMLEditBase* FEditor;
  std::mutex FLock;
  std::condition_variable FChanged;
  int FCount = 0;
};

// One block as the scheduling thread reads it: its lines' shown text
// joined (blanks at a line's start left out, a no-break space as a blank,
// one blank for a closing "br"), and for each position the id of the
// handler whose mark covers it (0: none) and the mark id.
struct BlockMarks {
  htmlview::TpsWindow* Block = nullptr;
  rtl::WideString Text;
  std::vector<rtl::Integer> Handler;
  std::vector<rtl::Integer> MarkId;
  // The line and the chunk element behind each position (nullptr for a
  // "br" blank).
  std::vector<htmlview::TpsTextNode*> Line;
  std::vector<htmldoc::TpsChunkElement*> Element;
};

inline bool IsSmartTagBlockWindow(htmlview::TpsWindow* aWindow) {
  htmlview::TpsMessage ask(htmlview::mrCommand, htmlview::psmIsBlockNode, aWindow);
  ask.AutoFree = false;
  aWindow->HandleMessage(ask);
  return ask.Result;
}

inline void CollectBlockMarks(htmlview::TpsWindow* aNode, htmlview::TpsWindow* aRoot, std::vector<BlockMarks>& aOut) {
  if (!IsSmartTagBlockWindow(aNode)) return;
  if (aNode != aRoot) {
    BlockMarks b;
    b.Block = aNode;
    for (htmlview::TpsWindow* child : aNode->ChildList()) {
      auto* line = dynamic_cast<htmlview::TpsTextNode*>(child);
      if (!line || !line->GetLineChunk()) continue;
      htmldoc::TpsDataChunk& chunk = *line->GetLineChunk();
      bool started = false;
      for (htmldoc::TpsChunkElement* e = chunk.First(); e; e = e->Next) {
        if (e->Kind != htmldoc::ceChar) continue;
        if (!started && (e->Char == u' ' || e->Char == u'\t' || e->Char == 0xA0)) continue;
        started = true;
        b.Text += e->Char == 0xA0 ? u' ' : e->Char;
        const bool marked = htmldoc::HasSmartTagMark(e->SmartTag);
        b.Handler.push_back(marked ? static_cast<htmledit::TpsSmartTagHandler*>(e->SmartTag.Handler)->Id() : 0);
        b.MarkId.push_back(marked ? e->SmartTag.MarkId : 0);
        b.Line.push_back(line);
        b.Element.push_back(e);
      }
      if (chunk.Last() && htmldoc::TpsDataChunk::TagCodeOf(chunk.Last()) == htmldoc::TAG_BR) {
        b.Text += u' ';
        b.Handler.push_back(0);
        b.MarkId.push_back(0);
        b.Line.push_back(line);
        b.Element.push_back(nullptr);
      }
    }
    aOut.push_back(std::move(b));
  }
  for (htmlview::TpsWindow* child : aNode->ChildList()) CollectBlockMarks(child, aRoot, aOut);
}

// A right press on a character of a line, as the mouse gives it: at the
// character's document point, through the window manager.
inline void RightClickCharacter(htmledit::TpsHTMLEditBase* aEditor, htmlview::TpsTextNode* aLine,
                                htmldoc::TpsChunkElement* aElement) {
  htmldoc::TpsDocumentLockGuard g(aEditor->DocumentLock());
  const htmlview::TpsLineObjects& items = aLine->Items();
  for (rtl::Integer i = 0; i < items.Count(); ++i) {
    if (items.GetItem(i).Element != aElement) continue;
    auto press = htmlview::TpsMessage::Create(htmlview::mrPositional, htmlview::psmMouseDown);
    press->X = aLine->GetAbsoluteLeft() + items.GetItem(i).X + 2;
    press->Y = aLine->GetAbsoluteTop() + 5;
    auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
    buttons->SetMouseButton(1);
    press->SetButtons(std::move(buttons));
    press->Shift = htmlview::ssRightBit;
    aEditor->WindowManager()->PostMessage(std::move(press));
    aEditor->ProcessMessages();
    return;
  }
}

// Every block the thread analyses, under the document lock.
inline std::vector<BlockMarks> ReadBlockMarks(htmledit::TpsHTMLEditBase* aEditor) {
  htmldoc::TpsDocumentLockGuard g(aEditor->DocumentLock());
  std::vector<BlockMarks> blocks;
  if (aEditor->RootWindow()) CollectBlockMarks(aEditor->RootWindow(), aEditor->RootWindow(), blocks);
  return blocks;
}

}  // namespace htmledittest
