// The image node as a mouse editor: real presses, moves and releases
// through the window manager at document points on a laid-out page, an
// editor that answers the image events from a script, and the page read
// back after each edit.
#include <gtest/gtest.h>

#include "KeyPage.h"
#include "htmledit/view/psPropertyGroups.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

struct FakeImage : TpsImageObject {
  explicit FakeImage(TpsImageNode* aNode) : Node(aNode) {}
  TpsImageNode* Node;
};

// The editor's side of image editing: every call recorded, the events
// answered as the test sets them, the unselect message kept as the editor
// keeps it.
class ScriptedImageEditor : public IpsImageEditing {
 public:
  TpsImageObjectPtr GetImage(TpsImageNode* aNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                             std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementId) override {
    ++LiveImages;
    Calls.push_back(std::string("GetImage") + (aCustomTag ? " custom " + aCustomTag->GetName() : "") +
                    (aLinkTag ? " link " + aLinkTag->GetAttribute("href") : ""));
    return std::make_unique<FakeImage>(aNode);
  }
  void ReleaseImage(TpsImageObjectPtr& aImage) override {
    if (aImage) --LiveImages;
    aImage.reset();
  }
  void HandleImageClick(TpsImageObject*, const TpsMouseButtons* aButtons, const TpsPoint& p, bool& ioSelect) override {
    Calls.push_back("OnImageClicked " + std::to_string(p.X) + "," + std::to_string(p.Y) +
                    (aButtons && aButtons->Right ? " right" : " left"));
    if (RefuseClick) ioSelect = false;
  }
  void HandleImageSelect(TpsImageObject* aImage, bool& ioResizable, bool& ioMovable, TpsMessagePtr aUnselect) override {
    Calls.push_back(std::string("OnImageSelected") + (ioResizable ? " resizable" : "") + (ioMovable ? " movable" : ""));
    Selected = aImage;
    Unselect = std::move(aUnselect);
  }
  void DiscardImageUnselectMessage() override {
    Calls.push_back("DiscardImageUnselectMessage");
    Unselect.reset();
  }
  void HandleImageUnselect(TpsImageObject*) override {}
  void ImageMouseEnter(TpsImageObject*, vcl::TCursor& ioCursor) override {
    Calls.push_back("OnImageMouseEnter");
    ioCursor = vcl::crArrow;
  }
  void ImageMouseLeave(TpsImageObject*) override { Calls.push_back("OnImageMouseLeave"); }
  void ImageDoubleClicked(TpsImageObject*, const TpsPoint&) override { Calls.push_back("OnImageDoubleClicked"); }
  void ImageConfirmResize(TpsImageObject*, Integer w, Integer h, bool& ioConfirm) override {
    Calls.push_back("OnImageConfirmResize " + std::to_string(w) + "x" + std::to_string(h));
    if (RefuseResize) ioConfirm = false;
  }
  void ImageResizingSizeChanged(TpsImageObject*, Integer w, Integer h) override {
    Sizes.push_back(std::to_string(w) + "x" + std::to_string(h));
  }
  void PopupImageMenu(const TpsPoint& p) override {
    Calls.push_back("PopupImageMenu " + std::to_string(p.X) + "," + std::to_string(p.Y));
  }
  TImageResizing* ImageResizingOptions() override { return &Resizing; }
  // The editor leaving image mode: the kept message posted.
  void LeaveImageMode(TpsWindowManager& aManager) {
    if (Unselect) aManager.PostAndProcess(std::move(Unselect));
  }

  std::vector<std::string> Calls;
  std::vector<std::string> Sizes;
  bool RefuseClick = false;
  bool RefuseResize = false;
  TpsImageObject* Selected = nullptr;
  TpsMessagePtr Unselect;
  Integer LiveImages = 0;
  TImageResizing Resizing;
};

TpsImageNode* FindImage(TpsWindow* aWindow) {
  if (auto* image = dynamic_cast<TpsImageNode*>(aWindow)) return image;
  for (TpsWindow* c : aWindow->ChildList())
    if (TpsImageNode* i = FindImage(c)) return i;
  for (TpsWindow* f : aWindow->FloatingWindows())
    if (TpsImageNode* i = FindImage(f)) return i;
  return nullptr;
}

std::unique_ptr<vcl::TBitmap> SolidPicture(Integer w, Integer h, vcl::TColor aColor) {
  auto bitmap = std::make_unique<vcl::TBitmap>(w, h);
  bitmap->Canvas()->Brush()->SetColor(aColor);
  bitmap->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return bitmap;
}

struct ImagePage : KeyPage {
  ImagePage() : KeyPage(400, 300) {
    Host.ImageEditor = &Editor;
    Host.Images = &Cache;
  }
  ~ImagePage() {
    // The nodes hand their objects back before the editor goes.
    Manager.SetRootWindow(nullptr);
  }
  TpsImageNode* Image() { return FindImage(Body); }
  TpsPoint Centre() {
    const TpsRect c = Image()->GetContentRect();
    return {(c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2};
  }
  void Press(TpsPoint p, Integer aButton = 0, Integer aShift = 0) { Mouse(psmMouseDown, p.X, p.Y, aButton, aShift); }
  void Release(TpsPoint p) { Mouse(psmMouseUp, p.X, p.Y); }
  void Move(TpsPoint p, bool aButtonHeld) { Mouse(psmMouseMove, p.X, p.Y, aButtonHeld ? 0 : -1); }

  ScriptedImageEditor Editor;
  TpsImageCache Cache;
};

const char* kInlineImage = "<html><body><p>ab <img src=\"red\" width=\"40\" height=\"30\"> cd|</p></body></html>";

TEST(ImageEditing, AClickSelectsTheImageUnlessTheApplicationRefuses) {
  struct Case {
    const char* Name;
    bool Refuse;
    bool ReadOnly;
    Integer Button;
    bool Selected;
    std::vector<std::string> Calls;
  } cases[] = {
      {"a left click selects", false, false, 0, true, {"GetImage", "OnImageClicked 35,14 left", "OnImageSelected resizable movable"}},
      {"a right click selects and opens the image menu", false, false, 1, true,
       {"GetImage", "OnImageClicked 35,14 right", "OnImageSelected resizable movable", "PopupImageMenu 35,14"}},
      {"OnImageClicked refuses", true, false, 0, false, {"GetImage", "OnImageClicked 35,14 left"}},
      {"read-only selects, but neither resizes nor moves", false, true, 0, true,
       {"GetImage", "OnImageClicked 35,14 left", "OnImageSelected"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ImagePage page;
    page.Host.Options["ReadOnly"] = c.ReadOnly;
    page.Editor.RefuseClick = c.Refuse;
    page.Open(kInlineImage);
    const TpsRect content = page.Image()->GetContentRect();
    EXPECT_EQ(content, (TpsRect{16, 0, 55, 29}));
    page.Press(page.Centre(), c.Button);
    EXPECT_EQ(page.Editor.Calls, c.Calls);
    EXPECT_EQ(page.Image()->Selected, c.Selected);
    EXPECT_EQ(page.Image()->ResizeAllowed, c.Selected && !c.ReadOnly);
    EXPECT_EQ(page.Image()->DragAllowed, c.Selected && !c.ReadOnly);
    // The node keeps the object while selected and hands the others back.
    EXPECT_EQ(page.Editor.LiveImages, c.Selected ? 1 : 0);
    EXPECT_EQ(page.Manager.FocusedNode() == page.Image(), c.Selected);
    page.Release(page.Centre());
    // Leaving image mode unselects it and hands the object back.
    page.Editor.LeaveImageMode(page.Manager);
    EXPECT_FALSE(page.Image()->Selected);
    EXPECT_EQ(page.Editor.LiveImages, 0);
  }
}

TEST(ImageEditing, TheLinkAroundTheImageGoesWithItsObject) {
  ImagePage page;
  page.Open("<html><body><p>ab <a href=\"x.html\"><b>q</b><img src=\"red\" width=\"40\" height=\"30\"></a> cd|</p>"
            "</body></html>");
  page.Press(page.Centre());
  ASSERT_FALSE(page.Editor.Calls.empty());
  EXPECT_EQ(page.Editor.Calls.front(), "GetImage link x.html");
}

TEST(ImageEditing, TheFrameAndTheResizeHandleInPixels) {
  struct Case {
    const char* Name;
    const char* Align;
    vcl::TCursor Cursor;
  } cases[] = {{"left in the flow: handle at the bottom right", "", vcl::crSizeNWSE},
               {"right-aligned: handle at the bottom left", " align=\"right\"", vcl::crSizeNESW}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ImagePage page;
    // A fresh layout has no picture to compare with.
    page.CheckEveryStep = false;
    page.Cache.AddImage("red", SolidPicture(40, 30, vcl::clRed), nullptr);
    page.Open(std::string("<html><body><p>ab <img src=\"red\"") + c.Align + "> cd|</p></body></html>");
    page.Press(page.Centre());
    page.Release(page.Centre());
    ASSERT_TRUE(page.Image()->Selected);
    page.Host.Canvas.BeginPaint(&page.Fake);
    page.Body->Paint(page.Host.Canvas, true);
    page.Host.Canvas.EndPaint();
    const TpsRect r = page.Image()->GetContentRect();
    // The outline inverted (red turns cyan), the handle a 6 by 6 outline
    // inside the corner, the picture's red everywhere else.
    const bool right = c.Align[0] != 0;
    const Integer x0 = right ? r.Left : r.Right - 7;
    const std::string expected =
        right ? "crrrrrrr|cccccccr|ccrrrrcr|ccrrrrcr|ccrrrrcr|ccrrrrcr|cccccccr|cccccccc"
              : "rrrrrrrc|rccccccc|rcrrrrcc|rcrrrrcc|rcrrrrcc|rcrrrrcc|rccccccc|cccccccc";
    const std::map<vcl::TColor, char> key{{vcl::clRed, 'r'}, {vcl::RGB(0, 255, 255), 'c'}};
    std::string rows = PixelRows(*page.Fake.Bitmap(), vcl::Rect(x0, r.Bottom - 7, x0 + 8, r.Bottom + 1), key);
    page.Fake.Bitmap()->Pixels().save(right ? "image_handle_right.png" : "image_handle_left.png");
    EXPECT_EQ(rows, expected);
    // The cursor over the handle.
    const TpsRect handle = page.Image()->GetResizeHandleRect();
    page.Move({handle.Left + 2, handle.Top + 2}, false);
    EXPECT_EQ(page.Image()->MouseCursor, c.Cursor);
  }
}

TEST(ImageEditing, HoverAndDoubleClick) {
  ImagePage page;
  page.Open(kInlineImage);
  page.Move(page.Centre(), false);
  EXPECT_EQ(page.Image()->MouseCursor, vcl::crArrow);
  // Off the image onto the text: the manager tells it the mouse left.
  page.Move({100, 5}, false);
  EXPECT_EQ(page.Editor.Calls, (std::vector<std::string>{"GetImage", "OnImageMouseEnter", "GetImage", "OnImageMouseLeave"}));
  EXPECT_EQ(page.Image()->MouseCursor, vcl::crIBeam);
  page.Editor.Calls.clear();
  page.Press(page.Centre());
  page.Release(page.Centre());
  page.Press(page.Centre(), 0, ssDoubleBit);
  page.Release(page.Centre());
  EXPECT_EQ(page.Editor.Calls.back(), "OnImageDoubleClicked");
  EXPECT_EQ(page.Editor.LiveImages, 1);
}

// Presses on the handle, moves to aTo and releases there.
void DragHandle(ImagePage& aPage, TpsPoint aTo) {
  aPage.Press(aPage.Centre());
  aPage.Release(aPage.Centre());
  const TpsRect handle = aPage.Image()->GetResizeHandleRect();
  const TpsPoint grip{handle.Left + 3, handle.Top + 3};
  aPage.Press(grip);
  aPage.Move(aTo, true);
  aPage.Release(aTo);
}

TEST(ImageEditing, AResizeEndsWithinItsLimits) {
  struct Case {
    const char* Name;
    TpsPoint To;
    bool KeepProportion;
    const char* Size;
    std::vector<std::string> Sizes;
  } cases[] = {
      // The block is 400 wide: at most 400 by 300 for a 4:3 picture.
      {"past the block's width and far down", {900, 900}, true, "400x300", {"400x300"}},
      {"below the minimum of 30 by 30, proportional", {0, 0}, true, "40x30", {"40x30"}},
      {"below the minimum, free", {0, 0}, false, "30x30", {"30x30"}},
      {"inside the limits, the larger proportional rectangle", {95, 49}, true, "80x60", {"80x60"}},
      {"inside the limits, free", {95, 40}, false, "80x41", {"80x41"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ImagePage page;
    page.Editor.Resizing.ImageResizeKeepProportion = c.KeepProportion;
    page.Open(kInlineImage);
    DragHandle(page, c.To);
    EXPECT_EQ(page.Editor.Sizes, c.Sizes);
    const std::string size = c.Size;
    const std::string w = size.substr(0, size.find('x')), h = size.substr(size.find('x') + 1);
    // The image took the focus from the line, whose cursor went with it.
    EXPECT_EQ(page.Html(), "<p>ab <img src=\"red\" width=\"" + w + "\" height=\"" + h + "\" /> cd</p>");
    EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 1);
    EXPECT_EQ(page.Editor.Calls.back(), "OnImageSelected resizable movable") << "the new node is selected again";
    EXPECT_TRUE(page.Image()->Selected);
    EXPECT_EQ(page.Manager.CapturedNode(), nullptr);
  }
}

TEST(ImageEditing, ARefusedResizeChangesNothing) {
  ImagePage page;
  page.Editor.RefuseResize = true;
  page.Open(kInlineImage);
  DragHandle(page, {200, 100});
  EXPECT_EQ(page.Editor.Calls.back(), "OnImageConfirmResize 185x139");
  EXPECT_EQ(page.Html(), "<p>ab <img src=\"red\" width=\"40\" height=\"30\" /> cd</p>");
  EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 0);
  EXPECT_FALSE(page.Image()->Resizing);
}

TEST(ImageEditing, ReadOnlyNeverResizes) {
  ImagePage page;
  page.Host.Options["ReadOnly"] = 1;
  page.Open(kInlineImage);
  page.Press(page.Centre());
  page.Release(page.Centre());
  const TpsRect c = page.Image()->GetContentRect();
  page.Press({c.Right - 3, c.Bottom - 3});
  page.Move({200, 100}, true);
  page.Release({200, 100});
  EXPECT_FALSE(page.Image()->Resizing);
  EXPECT_EQ(page.Html(), "<p>ab <img src=\"red\" width=\"40\" height=\"30\" /> cd</p>");
  EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 0);
}

}  // namespace

namespace {

TEST(ImageEditing, DropZonesOfABlock) {
  using htmldoc::adaCenter;
  using htmldoc::adaLeft;
  using htmldoc::adaRight;
  const htmldoc::TpsAllowedDragAlignments all{adaLeft, adaCenter, adaRight};
  struct Case {
    const char* Name;
    htmldoc::TpsAllowedDragAlignments Allowed;
    Integer X;
    Byte Zone;
  } cases[] = {
      // A block 300 pixels wide starting at 0.
      {"all three: the left third", all, 99, 0},
      {"all three: the middle third", all, 100, 2},
      {"all three: the right third", all, 200, 1},
      {"all three: left of the block", all, -20, 0},
      {"all three: right of the block", all, 340, 1},
      {"an empty set counts as all three", {}, 100, 2},
      {"only the flow: anywhere", {adaCenter}, 0, 2},
      {"only the flow: the right end", {adaCenter}, 299, 2},
      {"only left: the right end", {adaLeft}, 299, 0},
      {"only right: the left end", {adaRight}, 0, 1},
      {"left and right: the left half", {adaLeft, adaRight}, 150, 0},
      {"left and right: the right half", {adaLeft, adaRight}, 151, 1},
      {"flow and right: the left third belongs to the flow", {adaCenter, adaRight}, 10, 2},
      {"flow and right: the right third", {adaCenter, adaRight}, 250, 1},
      {"left and flow: the right third belongs to the flow", {adaLeft, adaCenter}, 250, 2},
      {"left and flow: the left third", {adaLeft, adaCenter}, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TpsImageNode::DropZoneInRange(c.X, 0, 299, c.Allowed), c.Zone);
  }
}

// Three paragraphs, the image inline in the second; the picture is
// pressed at its centre and dragged to aTo.
const char* kThreeParagraphs =
    "<html><body><p>one two</p><p>ab <img src=\"red\" width=\"40\" height=\"30\"> cd</p><p>three four</p></body></html>";

TEST(ImageEditing, DragsIntoEachDropZone) {
  struct Case {
    const char* Name;
    TpsPoint To;
    std::string Html;
  } cases[] = {
      {"the left zone of the third paragraph: floated left at its line's start",
       {50, 60},
       "<p>one two</p><p>ab  cd</p><p><img src=\"red\" width=\"40\" height=\"30\" align=\"left\" />three four</p>"},
      {"the right zone of the third paragraph: floated right at its line's start",
       {330, 60},
       "<p>one two</p><p>ab  cd</p><p><img src=\"red\" width=\"40\" height=\"30\" align=\"right\" />three four</p>"},
      {"the flow zone over the first paragraph's upper half: a centred block of its own above it",
       {200, 5},
       "<p style=\"text-align:center;\"><img src=\"red\" width=\"40\" height=\"30\" align=\"middle\" /></p>"
       "<p>one two</p><p>ab  cd</p><p>three four</p>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ImagePage page;
    // A fresh layout reads the inline style of the centred block from a
    // style sheet of its own, which does not know it.
    page.CheckEveryStep = false;
    page.Open(kThreeParagraphs);
    const TpsPoint from = page.Centre();
    page.Press(from);
    page.Move({from.X + 10, from.Y + 10}, true);
    ASSERT_TRUE(page.Image()->Dragging);
    page.Move(c.To, true);
    page.Release(c.To);
    EXPECT_EQ(page.Html(), c.Html);
    EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 1);
    EXPECT_EQ(page.Manager.CapturedNode(), nullptr);
    // The moved picture is a new node, selected again.
    ASSERT_TRUE(page.Image());
    EXPECT_TRUE(page.Image()->Selected);
    if (c.To.Y == 5) {
      EXPECT_EQ(page.Image()->GetContentRect(), (TpsRect{180, 0, 219, 29}));
    } else {
      const TpsRect r = page.Image()->GetAbsoluteRect();
      EXPECT_EQ(r.Top, 26);  // the third paragraph, below the now one-line second
      EXPECT_EQ(c.To.X < 200 ? r.Left : r.Right, c.To.X < 200 ? 0 : 399);
    }
  }
}

TEST(ImageEditing, EscapeAndADropAtTheOriginChangeNothing) {
  struct Case {
    const char* Name;
    std::string Html;
    bool Escape;
    TpsPoint By;
  } cases[] = {
      {"Escape during a drag", kThreeParagraphs, true, {20, 40}},
      {"a drop a few pixels from where the picture stands, in the flow",
       "<html><body><p>aaaaaaaaaaaaaaaaaaaa <img src=\"red\" width=\"40\" height=\"30\"> cd</p></body></html>", false,
       {3, 3}},
      {"a right float dropped a few pixels lower in the right zone",
       "<html><body><p><img src=\"red\" align=\"right\" width=\"40\" height=\"30\">text</p></body></html>", false,
       {-2, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ImagePage page;
    page.Open(c.Html);
    // The image takes the focus from the line, and its cursor with it.
    std::string before = page.Html();
    before.erase(before.find('|'), 1);
    const TpsPoint from = page.Centre();
    page.Press(from);
    page.Move({from.X + 1, from.Y}, true);
    page.Move({from.X + c.By.X, from.Y + c.By.Y}, true);
    ASSERT_TRUE(page.Image()->Dragging);
    if (c.Escape) {
      page.Key(psmKeyEscape);
      EXPECT_FALSE(page.Image()->Dragging);
    }
    page.Release({from.X + c.By.X, from.Y + c.By.Y});
    EXPECT_EQ(page.Html(), before);
    EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 0);
    EXPECT_FALSE(page.Image()->Dragging);
  }
}

}  // namespace

namespace {

// Link hints: the area over a link's characters on each line, built with
// what the editor's FireQueryLinkHint leaves, shown after the hint pause
// over the link.
TEST(LinkHints, ALineHintsTheLinksThatOpenOnIt) {
  struct Case {
    const char* Name;
    bool Refuse;
    const char* Text;
    std::vector<std::string> Areas;  // per line: "left,top,right,bottom text"
  } cases[] = {
      // The line that holds the link's opening tag hints it; the next
      // line, holding only its end, has none.
      {"the href over the link's characters to the line's end", false, nullptr, {"24,0,71,12 t.html", ""}},
      {"a text of the handler's", false, "Go there", {"24,0,71,12 Go there", ""}},
      {"the handler refuses", true, nullptr, {"", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    KeyPage page(100, 100);
    page.Host.OnQueryLinkHint = [&c](bool& ioCanShow, AnsiString& ioText, TpsHintSettings& ioSettings) {
      if (c.Refuse) ioCanShow = false;
      if (c.Text) ioText = c.Text;
      ioSettings.HintPause = 200;
    };
    // "xx " then a link over two lines of a block 100 wide.
    page.Open("<html><body><p>xx <a href=\"t.html\">linked text</a> yy|</p></body></html>");
    std::vector<std::string> areas;
    for (TpsTextNode* line : TextLines(page.Body)) {
      std::string a;
      if (line->HintAreaCount() == 1)
        for (Integer y = 0; y < line->Height && a.empty(); ++y)
          for (Integer x = 0; x < line->Width && a.empty(); ++x)
            if (TpsHintTriggerArea* area = line->FindHintArea({x, y})) {
              const TpsRect r = static_cast<TpsRectangularHintTriggerArea*>(area)->AreaRect;
              a = std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
                  std::to_string(r.Bottom) + " " + area->HintText;
            }
      areas.push_back(a);
    }
    EXPECT_EQ(areas, c.Areas);
    if (c.Refuse) continue;
    // The pointer resting over the link for the pause shows the hint.
    page.Manager.OnCreateTimer = [] { return vcl::Create<vcl::TTimer>(nullptr); };
    page.Host.Forget();
    page.Mouse(psmMouseMove, 30, 5, -1);
    page.Clock->Advance(200);
    vcl::Application->FireDueTimers();
    EXPECT_EQ(page.Host.CallCount(std::string("CreateHintWindow 130,205 ") + (c.Text ? c.Text : "t.html")), 1);
  }
}

}  // namespace
