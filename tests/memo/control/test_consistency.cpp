// The colours the control paints never depend on how the view got where it
// is: over the pages of the manual, a memo moved about by its scroll bar,
// page keys, caret moves and jumps, and edited anywhere, paints its text
// area exactly as a memo that computes the same view afresh from line 0.
#include <gtest/gtest.h>

#include <random>

#include "../MemoCorpus.h"
#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"

using namespace memo;
using memotest::Grab;
using memotest::MemoOnForm;

namespace {

struct ViewPair {
  ViewPair() : moved(240, 130), fresh(240, 130) {
    styler = new TLumHTMLMemoStyler(moved.form);
    for (MemoOnForm* f : {&moved, &fresh}) {
      f->memo->SetHiddenCaret(true);
      f->memo->SetScrollBars(vcl::ssVertical);
      f->memo->Gutter()->SetVisible(false);
      f->memo->SetSyntaxStyles(styler);
    }
  }

  // The rows of the moved memo's text area, and the same lines painted by
  // the fresh memo given the same text and view with every cached start
  // state forgotten. A page key may leave the moved memo's first line below
  // the last one the scroll bar reaches; the fresh memo then shows those
  // lines further down.
  std::pair<QImage, QImage> Areas() {
    TLumCustomMemo* a = moved.memo;
    TLumCustomMemo* b = fresh.memo;
    QImage imageA = Grab(a);  // settles the moved memo's view first
    std::string text = a->TextStore()->SaveToString();
    if (text != freshText) {
      b->TextStore()->LoadFromString(text);
      freshText = text;
    }
    b->ScrollBy(vcl::sbVertical, a->TopLine() - b->TopLine());
    b->SetLeftCol(a->LeftCol());
    b->InvalidateTokenStates(0, b->TextStore()->Count() - 1);
    QImage imageB = Grab(b);
    Integer shift = a->TopLine() - b->TopLine();
    Integer rows = a->GetVisibleExtent(1) - shift;
    if (shift < 0 || rows <= 0) {
      ADD_FAILURE() << "moved to line " << a->TopLine() + 1 << ", fresh to " << b->TopLine() + 1 << " of "
                    << b->TextStore()->Count() << ", rows " << a->GetVisibleExtent(1);
      return {};
    }
    Integer h = rows * a->LineHeight();
    TRect t = a->TextRect();
    return {imageA.copy(t.Left, t.Top + 1, t.Width(), h),
            imageB.copy(t.Left, t.Top + 1 + shift * b->LineHeight(), t.Width(), h)};
  }

  MemoOnForm moved, fresh;
  TLumHTMLMemoStyler* styler;  // owned by the moved memo's form
  std::string freshText;
};

TEST(MemoConsistency, ColoursFromAnyPathEqualOnePassFromTheTop) {
  auto files = memotest::ManualFiles();
  if (files.empty()) GTEST_SKIP() << "the manual is not installed";
  // The sanitizer flavours take every tenth page; the normal build all.
  size_t stride = 1;
#if defined(__SANITIZE_ADDRESS__)
  stride = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  stride = 10;
#endif
#endif
  const char* const snippets[] = {"<!--", "-->", "\"", "'", "x // y", "<!-- a --> <!--", "plain", "<b>"};
  ViewPair views;
  TLumCustomMemo* m = views.moved.memo;
  std::mt19937 rng(22);
  auto pick = [&](Integer n) { return n <= 0 ? 0 : static_cast<Integer>(rng() % static_cast<unsigned>(n)); };
  size_t compared = 0;
  for (size_t f = 0; f < files.size(); f += stride) {
    m->TextStore()->LoadFromString(memotest::Slurp(files[f]));
    if (m->TextStore()->Count() < 20) continue;
    std::string steps;
    for (int step = 0; step < 6; ++step) {
      Integer count = m->TextStore()->Count();
      switch (pick(8)) {
        case 0: {
          static const vcl::TScrollCode codes[] = {vcl::scLineDown, vcl::scLineUp, vcl::scPageDown, vcl::scPageUp};
          m->VertScrollBar()->UserScroll(codes[pick(4)]);
          steps += " bar";
          break;
        }
        case 1:
          m->VertScrollBar()->UserScroll(vcl::scTrack, pick(count));
          steps += " track";
          break;
        case 2:
          m->PageMove(pick(2) ? 1 : -1, {});
          steps += " page";
          break;
        case 3:
          m->SetCaret(0, pick(count));
          steps += " caret";
          break;
        case 4:
          m->MoveCaret(0, pick(2) ? 1 : -1, {});
          steps += " arrow";
          break;
        case 5:
          // The main window's jump to a reported line: the caret there and
          // the line centred.
          m->SetCaret(0, pick(count));
          m->ScrollBy(vcl::sbVertical, m->CaretY() - m->GetVisibleExtent(1) / 2 - m->TopLine());
          steps += " jump";
          break;
        default: {
          Integer line = pick(count);
          m->SetCaret(pick(m->TextStore()->LineLength(line) + 1), line);
          switch (pick(4)) {
            case 0: m->InsertText(snippets[pick(std::size(snippets))]); break;
            case 1: m->NewLine(); break;
            case 2: m->Backspace(); break;
            default: m->DeleteLine(); break;
          }
          steps += " edit";
          break;
        }
      }
      m->ClearSelection();
      auto [a, b] = views.Areas();
      if (a != b) {
        memotest::SaveShot(a, "memo_consistency_moved.png");
        memotest::SaveShot(b, "memo_consistency_fresh.png");
      }
      ASSERT_EQ(a, b)
          << files[f] << " from line " << m->TopLine() + 1 << " after" << steps;
      ++compared;
    }
  }
  EXPECT_GT(compared, 3000u / stride);
}

}  // namespace
