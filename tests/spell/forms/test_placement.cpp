// Placing the spell checker's dialogs on the monitor and beside a word, and
// telling rich-edit windows apart.
#include <gtest/gtest.h>

#include "spell/lx3UtilForms.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace vcl;

namespace {

struct FormGuard {
  TForm* form;
  FormGuard(Integer width, Integer height) : form(new TForm(Application, 0)) {
    form->SetBounds(0, 0, width, height);
  }
  ~FormGuard() { vcl::Free(form); }
};

TRect Monitor() { return Screen->MonitorBoundsRect(Rect(0, 0, 1, 1)); }

// A window that answers the rich-edit selection query as the desktop's
// rich-edit control does.
class RichEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void WndProc(TMessage& m) override {
    if (m.Msg == EM_EXGETSEL) {
      auto* range = reinterpret_cast<TCharRange*>(m.LParam);
      range->cpMin = 3;
      range->cpMax = 7;
      return;
    }
    TWinControl::WndProc(m);
  }
};

}  // namespace

TEST(SpellPlacement, KeepFormOnMonitor) {
  const TRect m = Monitor();
  ASSERT_GT(m.Width(), 300);
  ASSERT_GT(m.Height(), 200);
  FormGuard g(200, 100);
  struct Case {
    Integer left, top, wantLeft, wantTop;
  } cases[] = {
      {m.Left + 10, m.Top + 20, m.Left + 10, m.Top + 20},         // inside: as asked
      {m.Left - 50, m.Top - 60, m.Left, m.Top},                   // beyond the left and top edges
      {m.Right + 40, m.Bottom + 40, m.Right - 200, m.Bottom - 100},  // beyond the right and bottom edges
  };
  for (const Case& c : cases) {
    spell::KeepFormOnMonitor(g.form, c.left, c.top);
    EXPECT_EQ(g.form->Left(), c.wantLeft);
    EXPECT_EQ(g.form->Top(), c.wantTop);
    EXPECT_EQ(g.form->Width(), 200);
    EXPECT_EQ(g.form->Height(), 100);
  }
  // Larger than the monitor: its right and bottom edges on the monitor's.
  FormGuard huge(m.Width() + 100, m.Height() + 50);
  spell::KeepFormOnMonitor(huge.form, m.Left + 5, m.Top + 5);
  EXPECT_EQ(huge.form->Left(), m.Right - huge.form->Width());
  EXPECT_EQ(huge.form->Top(), m.Bottom - huge.form->Height());
  spell::KeepFormOnMonitor(nullptr, 0, 0);  // nothing
}

TEST(SpellPlacement, PlaceFormNearRect) {
  const TRect m = Monitor();
  FormGuard g(200, 100);
  g.form->SetBounds(m.Left + 7, m.Top + 9, 200, 100);
  struct Case {
    TRect word;
    bool horizontal, vertical;
    Integer wantLeft, wantTop;
  } cases[] = {
      // Below the word, at its left.
      {Rect(m.Left + 50, m.Top + 40, m.Left + 90, m.Top + 55), true, true, m.Left + 50, m.Top + 55},
      // Near the bottom: above the word.
      {Rect(m.Left + 50, m.Bottom - 30, m.Left + 90, m.Bottom - 15), true, true, m.Left + 50, m.Bottom - 130},
      // Near the right edge: pulled back inside.
      {Rect(m.Right - 20, m.Top + 40, m.Right - 5, m.Top + 55), true, true, m.Right - 200, m.Top + 55},
      // Vertical only: the left stays.
      {Rect(m.Left + 50, m.Top + 40, m.Left + 90, m.Top + 55), false, true, m.Left + 7, m.Top + 55},
  };
  for (const Case& c : cases) {
    g.form->SetBounds(m.Left + 7, m.Top + 9, 200, 100);
    spell::PlaceFormNearRect(g.form, c.word, c.horizontal, c.vertical);
    EXPECT_EQ(g.form->Left(), c.wantLeft);
    EXPECT_EQ(g.form->Top(), c.wantTop);
  }
  spell::PlaceFormNearRect(nullptr, Rect(0, 0, 1, 1), true, true);
}

TEST(SpellPlacement, RichEditTest) {
  FormGuard g(200, 100);
  auto* rich = new RichEdit(g.form);
  rich->SetParent(g.form);
  auto* plain = new TWinControl(g.form);
  plain->SetParent(g.form);
  EXPECT_TRUE(spell::IsRichEditControl(rich->Handle()));
  EXPECT_FALSE(spell::IsRichEditControl(plain->Handle()));
  EXPECT_FALSE(spell::IsRichEditControl(0));  // no window
  EXPECT_EQ(EM_EXGETSEL, 1076u);
}
