// The caption as the button paints it on its window: the "&" accelerator's
// underline on both text paths, the "Arial" family standing in for a face
// GDI+ cannot make, and the application button's never-painted background.
#include <gtest/gtest.h>

#include <algorithm>

#include "GlowButtonRig.h"
#include "vcl/Forms.h"

using namespace glowtest;

namespace {

struct GlowTextDiff {
  int count = 0;
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
};

GlowTextDiff GlowDiffOf(const QImage& a, const QImage& b) {
  GlowTextDiff d;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ++d.count;
        d.left = std::min(d.left, x);
        d.right = std::max(d.right, x);
        d.top = std::min(d.top, y);
        d.bottom = std::max(d.bottom, y);
      }
  return d;
}

QImage GlowGrabCaption(Rig& rig, TLumGlowButton* b, const char* caption) {
  b->SetCaption(caption);
  b->Invalidate();
  return rig.Grab(b);
}

// A button's grab with its caption in one face and its notes in another.
QImage GlowGrabFaces(const char* captionFace, const char* notesFace) {
  Rig rig;
  TLumGlowButton* b = rig.Add(20, 20, 200, 60);
  // The look's system font would replace the caption's face.
  b->Appearance()->SetSystemFont(false);
  b->Font()->SetName(captionFace);
  b->Font()->SetSize(12);
  b->NotesFont()->SetName(notesFace);
  b->NotesFont()->SetSize(12);
  b->SetCaption("Wamble Ox");
  rtl::TStringList notes;
  notes.Add("Quixotic Mw");
  b->SetNotes(&notes);
  b->Invalidate();
  return rig.Grab(b);
}

}  // namespace

TEST(GlowButtonText, AnAmpersandUnderlinesTheNextLetterOnBothPaths) {
  for (bool gdip : {true, false}) {
    Rig rig;
    TLumGlowButton* b = rig.Add(20, 20, 160, 41);
    b->Font()->SetName("Tahoma");
    b->Font()->SetSize(12);
    if (!gdip) b->SetAntiAlias(TAntiAlias::aaNone);
    const QImage empty = GlowGrabCaption(rig, b, "");
    const QImage plain = GlowGrabCaption(rig, b, "File");
    const QImage marked = GlowGrabCaption(rig, b, "&File");
    const GlowTextDiff text = GlowDiffOf(empty, plain);
    ASSERT_GT(text.count, 0) << gdip;
    // The ampersand takes no room and the letters stay where they were:
    // the only new pixels are the underline, below the letters (the caption
    // has no descenders) and under the "F" alone.
    const GlowTextDiff line = GlowDiffOf(plain, marked);
    ASSERT_GT(line.count, 0) << gdip;
    EXPECT_GT(line.top, text.bottom) << gdip;
    EXPECT_LE(line.bottom - line.top, 1) << gdip;
    EXPECT_LE(std::abs(line.left - text.left), 2) << gdip;
    EXPECT_LT(line.right - line.left, (text.right - text.left) / 2) << gdip;
    EXPECT_GE(line.right - line.left, 3) << gdip;
    for (int x = line.left; x <= line.right; ++x) {
      const TColor c = Rig::At(marked, x, line.top);
      EXPECT_LT(vcl::GetRValue(c), 128) << gdip << " x " << x;  // the black text colour
    }
  }
}

TEST(GlowButtonText, AFaceGdiPlusCannotMakeIsDrawnInArial) {
  // The notes take their own family: a face the system lacks is drawn in
  // "Arial", and another real face shows that the comparison can differ.
  const QImage arialNotes = GlowGrabFaces("Tahoma", "Arial");
  EXPECT_EQ(GlowDiffOf(GlowGrabFaces("Tahoma", "Nowhere Grotesk"), arialNotes).count, 0);
  EXPECT_GT(GlowDiffOf(GlowGrabFaces("Tahoma", "DejaVu Serif"), arialNotes).count, 0);

  // The caption's face chooses the path first: one the system's font list
  // names takes the GDI+ path, and when GDI+ cannot make its family the
  // caption is drawn in "Arial" there too.
  rtl::TStrings* fonts = vcl::Screen->Fonts();
  ASSERT_LT(fonts->IndexOf("Nowhere Grotesk"), 0);
  fonts->Add("Nowhere Grotesk");
  const QImage listed = GlowGrabFaces("Nowhere Grotesk", "Arial");
  fonts->Delete(fonts->IndexOf("Nowhere Grotesk"));
  const QImage arial = GlowGrabFaces("Arial", "Arial");
  EXPECT_EQ(GlowDiffOf(listed, arial).count, 0);
  EXPECT_GT(GlowDiffOf(GlowGrabFaces("DejaVu Serif", "Arial"), arial).count, 0);
}

TEST(GlowButtonText, AnAlwaysTransparentButtonNeverPaintsItsFaceOrBorder) {
  // The ribbon's application button: the parent shows through in every
  // look, where a Transparent one alone shows its face once entered.
  enum class Look { Normal, Hot, Down };
  for (bool always : {true, false}) {
    for (Look look : {Look::Normal, Look::Hot, Look::Down}) {
      Rig rig;
      TLumGlowButton* b = rig.Add();
      b->SetTransparent(true);
      b->SetAlwaysTransparent(always);
      b->Invalidate();
      rig.Pump();
      if (look != Look::Normal) Rig::Enter(b);
      if (look == Look::Down) Rig::Press(b, 50, 20);
      rig.Advance(300);
      const QImage shot = rig.Grab(b);
      int parent = 0;
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
          if (Rig::At(shot, x, y) == kParentColour) ++parent;
      const int all = shot.width() * shot.height();
      if (always || look == Look::Normal)
        EXPECT_EQ(parent, all) << always << " look " << static_cast<int>(look);
      else
        EXPECT_EQ(parent, 4) << always << " look " << static_cast<int>(look);  // the rounded corners
      if (look == Look::Down) Rig::Release(b, 50, 20);
    }
  }
}
