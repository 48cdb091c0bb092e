#include "htmledit/view/psTextQueries.h"

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psTableNodes.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"

namespace htmlview {

namespace {

void AnswerLine(TpsTextNode& aLine, TpsMessage& m, bool aResult) {
  m.Result = aResult;
  m.MarkHandled(&aLine);
}

}  // namespace

bool AnswerTextLineQuery(TpsTextNode& aLine, TpsMessage& m) {
  if (m.Kind != mrCommand) return false;
  switch (m.Id) {
    case psmQueryTextNode:
    case psmIsTextNode:
      AnswerTextNodeQuery(&aLine, m);
      return true;
    case psmQueryParentNode:
      m.Answer = aLine.GetParent();
      AnswerLine(aLine, m, true);
      return true;
    case psmQueryAlignment:
      m.Alignment = aLine.TextAlign();
      AnswerLine(aLine, m, true);
      return true;
    case psmQueryListKind: {
      bool ordered = false;
      bool found = false;
      for (TpsWindow* w = aLine.GetParent(); w && !found; w = w->GetParent())
        found = TpsDocumentNode::IsListNode(w, ordered);
      m.TagCode = found ? (ordered ? htmldoc::TAG_OL : htmldoc::TAG_UL) : htmldoc::TAG_UNKNOWN;
      AnswerLine(aLine, m, found);
      return true;
    }
    case psmQueryInTopLevelList: {
      // The parent is a list item whose list lies in no other list.
      bool answer = false;
      TpsWindow* item = aLine.GetParent();
      if (item && TpsDocumentNode::IsListItemNode(item)) {
        answer = true;
        bool ordered = false;
        for (TpsWindow* w = item->GetParent() ? item->GetParent()->GetParent() : nullptr; w; w = w->GetParent())
          if (TpsDocumentNode::IsListNode(w, ordered)) answer = false;
      }
      AnswerLine(aLine, m, answer);
      return true;
    }
    case psmQueryInList: {
      // The parent block holds a list of its own.
      bool answer = false;
      bool ordered = false;
      if (TpsWindow* parent = aLine.GetParent())
        for (TpsWindow* c : parent->ChildList()) answer = answer || TpsDocumentNode::IsListNode(c, ordered);
      AnswerLine(aLine, m, answer);
      return true;
    }
    case psmQueryTable: {
      // The line itself, then its ancestors, asked whether they are a table.
      for (TpsWindow* w = &aLine; w; w = w->GetParent()) {
        TpsMessage query(mrCommand, psmIsTableNode, nullptr);
        query.AutoFree = false;
        w->HandleMessage(query);
        if (query.IsHandled() && query.Result) {
          m.Answer = query.Answer;
          AnswerLine(aLine, m, true);
          return true;
        }
      }
      m.Answer = nullptr;
      AnswerLine(aLine, m, false);
      return true;
    }
    case psmQueryMinContentWidth:
      RaiseToWidestCharacter(aLine.Items(), m);
      AnswerLine(aLine, m, true);
      return true;
    case psmGetSelectedText:
      if (htmldoc::TpsDataChunk* chunk = aLine.GetLineChunk())
        for (const htmldoc::TpsChunkElement* e = chunk->First(); e; e = e->Next)
          if (e->Selected && e->Kind == htmldoc::ceChar) m.WideText += e->Char;
      // Every line of the selection adds its part: the walk goes on.
      return false;
    case psmRemoveCursor:
      if (htmldoc::TpsDataChunk* chunk = aLine.GetLineChunk())
        if (htmldoc::TpsChunkElement* cursor = chunk->GetCursor()) chunk->RemoveElement(cursor, true);
      return false;
    default:
      return false;
  }
}

}  // namespace htmlview
