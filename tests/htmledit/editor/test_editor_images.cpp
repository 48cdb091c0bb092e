// Pictures through TpsImage: alignment into the inline style keeps each
// tag's own declarations (those the sheet does not know included), equal
// style texts share one rule, size and alternative text.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "EditorFixture.h"
#include "QtInput.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCaret.h"
#include "htmledit/view/psImageNode.h"
#include "rtl/Clock.h"
#include "vcl/Pictures.h"

using namespace htmledittest;

namespace {

void CollectImageNodes(htmlview::TpsWindow* aWindow, std::vector<htmlview::TpsImageNode*>& aOut) {
  if (auto* image = dynamic_cast<htmlview::TpsImageNode*>(aWindow)) aOut.push_back(image);
  for (htmlview::TpsWindow* child : aWindow->ChildList()) CollectImageNodes(child, aOut);
}

// The image node showing aSrc in the view as it stands now.
htmlview::TpsImageNode* ImageNodeOf(TpsHTMLEdit* aEditor, const std::string& aSrc) {
  std::vector<htmlview::TpsImageNode*> nodes;
  CollectImageNodes(aEditor->RootWindow(), nodes);
  for (htmlview::TpsImageNode* n : nodes)
    if (n->ImageElement && n->ImageElement->Tag->GetAttribute("src") == aSrc) return n;
  return nullptr;
}

// The declarations of the style attribute of the img with that source in
// saved HTML, blanks removed, in order of name.
std::set<std::string> SavedStyleOf(const std::string& aHtml, const std::string& aSrc) {
  const size_t at = aHtml.find("src=\"" + aSrc + "\"");
  if (at == std::string::npos) return {"<no img>"};
  const size_t start = aHtml.rfind("<img", at);
  const size_t end = aHtml.find('>', at);
  const std::string tag = aHtml.substr(start, end - start);
  const size_t style = tag.find("style=\"");
  std::set<std::string> out;
  if (style == std::string::npos) return out;
  const std::string text = tag.substr(style + 7, tag.find('"', style + 7) - style - 7);
  size_t from = 0;
  while (from <= text.size()) {
    size_t to = text.find(';', from);
    if (to == std::string::npos) to = text.size();
    std::string d = text.substr(from, to - from);
    d.erase(std::remove(d.begin(), d.end(), ' '), d.end());
    if (!d.empty()) out.insert(d);
    from = to + 1;
  }
  return out;
}

TEST(EditorImages, AligningKeepsEachImagesOwnDeclarations) {
  EditorOnForm f(600, 400);
  const Integer rulesBefore = f.Editor->StyleSheet()->GetCount();
  f.Editor->LoadFromString(
      "<p>a<img src=\"a.png\" style=\"cursor:pointer\">b"
      "<img src=\"b.png\" style=\"border:1px solid red;cursor:pointer\">c"
      "<img src=\"c.png\" style=\"border:1px solid red\">d<img src=\"d.png\" style=\"border:1px solid red\">e</p>",
      true, false);
  // Three texts, three rules: the two equal ones share.
  EXPECT_EQ(f.Editor->StyleSheet()->GetCount(), rulesBefore + 3);
  for (const char* src : {"a.png", "b.png", "c.png"}) {
    htmlview::TpsImageNode* node = ImageNodeOf(f.Editor, src);
    ASSERT_NE(node, nullptr) << src;
    htmledit::TpsImage image(node, nullptr, nullptr, 0);
    image.SetAlignment(0);
  }
  // The model gives a floated image its side in the align attribute.
  const std::string saved = f.Body();
  EXPECT_EQ(SavedStyleOf(saved, "a.png"), (std::set<std::string>{"cursor:pointer"})) << saved;
  EXPECT_EQ(SavedStyleOf(saved, "b.png"), (std::set<std::string>{"border:1pxsolidred", "cursor:pointer"})) << saved;
  EXPECT_EQ(SavedStyleOf(saved, "c.png"), (std::set<std::string>{"border:1pxsolidred"})) << saved;
  EXPECT_EQ(SavedStyleOf(saved, "d.png"), (std::set<std::string>{"border:1pxsolidred"})) << saved;
  for (const char* src : {"a.png", "b.png", "c.png"}) {
    const size_t at = saved.find(std::string("src=\"") + src);
    EXPECT_NE(saved.substr(at, saved.find('>', at) - at).find("align=\"left\""), std::string::npos) << src;
  }
  EXPECT_EQ(saved.substr(saved.find("d.png")).substr(0, saved.substr(saved.find("d.png")).find('>')).find("align"),
            std::string::npos);
  // Loaded again, the three are floated left and keep their declarations.
  f.Editor->LoadFromString(saved, true, false);
  EXPECT_EQ(f.Body(), saved);
  for (const char* src : {"a.png", "b.png", "c.png"}) {
    htmlview::TpsImageNode* node = ImageNodeOf(f.Editor, src);
    ASSERT_NE(node, nullptr) << src;
    EXPECT_EQ(node->GetAlignment(), 0) << src;
  }
}

TEST(EditorImages, SizeAndAlternativeTextAndReadOnly) {
  EditorOnForm f(600, 400);
  f.Editor->LoadFromString("<p>a<img src=\"a.png\" width=\"40\" height=\"30\" alt=\"old\">b</p>", true, false);
  int changes = 0;
  f.Editor->OnDocumentChanged = [&](htmldoc::TObjectPtr) { ++changes; };
  {
    htmledit::TpsImage image(ImageNodeOf(f.Editor, "a.png"), nullptr, nullptr, 0);
    image.SetAlt("old");
    EXPECT_EQ(changes, 0);
    image.SetAlt("new");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.GetAlt(), "new");
  }
  EXPECT_NE(f.Body().find("alt=\"new\""), std::string::npos) << f.Body();
  {
    htmledit::TpsImage image(ImageNodeOf(f.Editor, "a.png"), nullptr, nullptr, 0);
    image.SetSize(-1, -1);
  }
  EXPECT_EQ(f.Body().find("width"), std::string::npos) << f.Body();
  EXPECT_EQ(f.Body().find("height"), std::string::npos) << f.Body();
  // Read-only: neither size, alignment nor alternative text change.
  f.Editor->SetReadOnly(true);
  const std::string before = f.Body();
  {
    htmledit::TpsImage image(ImageNodeOf(f.Editor, "a.png"), nullptr, nullptr, 0);
    image.SetSize(10, 10);
    image.SetAlignment(1);
    image.SetAlt("ignored");
    // Without a selected image a new source changes nothing either.
    image.SetSrc("other.png");
  }
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorImages, TheRecyclerKeepsOneImageAcrossARebuild) {
  EditorOnForm f(600, 400);
  f.Editor->LoadFromString("<p>a<img src=\"a.png\">b<img src=\"b.png\"></p>", true, false);
  htmledit::TpsImageRecycler recycler;
  recycler.Activate();
  std::unique_ptr<htmledit::TpsImage> image = recycler.GetImage(ImageNodeOf(f.Editor, "a.png"), nullptr, nullptr, 0);
  htmledit::TpsImage* kept = image.get();
  recycler.ReleaseImage(image);
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(recycler.Parked(), kept);
  std::unique_ptr<htmledit::TpsImage> again = recycler.GetImage(ImageNodeOf(f.Editor, "b.png"), nullptr, nullptr, 0);
  EXPECT_EQ(again.get(), kept);
  EXPECT_EQ(again->GetSrc(), "b.png");
  recycler.Deactivate();
  recycler.ReleaseImage(again);
  EXPECT_EQ(recycler.Parked(), nullptr);
}

}  // namespace

namespace {

TEST(EditorImages, InsertImageAtTheCaretWithItsCustomTagAndUndo) {
  EditorOnForm f(600, 400);
  f.Editor->LoadFromString("<p>ab<!-- EDITING POSITION -->cd</p>", true, false);
  std::vector<AnsiString> asked;
  f.Editor->OnRequestImage = [&](htmldoc::TObjectPtr, Integer aId, Integer, Integer, vcl::TGraphic*&,
                                 vcl::TPicture*&) { asked.push_back(f.Editor->GetImageSrc(aId)); };
  f.Editor->InsertImage("tag-3.bmp", 5, "", "", std::make_unique<htmldoc::TpsMarkupTag>("<#_zelbe54f7mdl type=\"3\" />"),
                        0, 0, false, "pin");
  EXPECT_EQ(asked, std::vector<AnsiString>{"tag-3.bmp"});
  EXPECT_EQ(f.Body(), "<p>ab<#_zelbe54f7mdl type=\"3\" />cd</p>");
  const std::string withoutCustom = f.Editor->SaveToString(false, false);
  EXPECT_NE(withoutCustom.find("<img src=\"tag-3.bmp\" alt=\"pin\" />"), std::string::npos) << withoutCustom;
  EXPECT_EQ(withoutCustom.find("width"), std::string::npos) << withoutCustom;
  f.Editor->InsertImage("b.png", 5, "wide", "border:1px solid red", nullptr, 20, 10, false, "");
  const std::string two = f.Body();
  EXPECT_NE(two.find("<img src=\"b.png\" width=\"20\" height=\"10\" class=\"wide\""), std::string::npos) << two;
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), "<p>ab<#_zelbe54f7mdl type=\"3\" />cd</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), "<p>abcd</p>");
  f.Editor->SetReadOnly(true);
  f.Editor->InsertImage("c.png", 5, "", "", nullptr, 0, 0, false, "");
  EXPECT_EQ(f.Body(), "<p>abcd</p>");
}

}  // namespace

namespace {

// The left button pressed and released at a document point, as the mouse
// handlers send it.
void ClickAt(TpsHTMLEdit* aEditor, Integer aX, Integer aY) {
  for (Integer id : {htmlview::psmMouseDown, htmlview::psmMouseUp}) {
    auto m = htmlview::TpsMessage::Create(htmlview::mrPositional, id);
    m->X = aX;
    m->Y = aY;
    auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
    buttons->SetMouseButton(0);
    m->SetButtons(std::move(buttons));
    m->Shift = htmlview::ssLeftBit;
    aEditor->WindowManager()->PostAndProcess(std::move(m));
    aEditor->ProcessPendingUpdates();
  }
}

void ClickImage(TpsHTMLEdit* aEditor, const std::string& aSrc) {
  htmlview::TpsImageNode* node = ImageNodeOf(aEditor, aSrc);
  ASSERT_NE(node, nullptr) << aSrc;
  const htmldoc::TpsRect r = node->GetAbsoluteRect();
  ClickAt(aEditor, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

struct ImageEvents {
  explicit ImageEvents(TpsHTMLEdit* aEditor) : Editor(aEditor) {
    aEditor->OnImageClicked = [this](htmldoc::TObjectPtr, htmledit::TpsImage* aImage, vcl::TMouseButton aButton,
                                     const vcl::TPoint&, bool& oSelect) {
      Log.push_back("clicked " + aImage->GetSrc() + (aButton == vcl::mbLeft ? " left" : " other"));
      if (Refuse) oSelect = false;
    };
    aEditor->OnImageSelected = [this](htmldoc::TObjectPtr, htmledit::TpsImage* aImage, bool& oResizable, bool&) {
      Log.push_back("selected " + aImage->GetSrc() + (oResizable ? " resizable" : ""));
    };
    aEditor->OnImageUnselected = [this](htmldoc::TObjectPtr) {
      // The page as it stands when the event fires.
      Log.push_back(std::string("unselected") + (Body().find("<img") != std::string::npos ? " present" : ""));
    };
  }
  std::string Body() {
    const bool beautify = Editor->CodeGenerator.BeautifyCode;
    Editor->CodeGenerator.BeautifyCode = false;
    std::string s = Editor->SaveToString(false, true);
    Editor->CodeGenerator.BeautifyCode = beautify;
    return s;
  }
  TpsHTMLEdit* Editor;
  std::vector<std::string> Log;
  bool Refuse = false;
};

TEST(EditorImageSelection, AClickSelectsDeleteTakesTheImageOutAndUndoBringsItBack) {
  EditorOnForm f(600, 400);
  const std::string page = "<p>ab<img src=\"a.png\" width=\"40\" height=\"30\" alt=\"x\" />cd</p><p>second line</p>";
  f.Editor->LoadFromString(page, true, false);
  const std::string before = f.Body();
  ImageEvents events(f.Editor);
  ClickImage(f.Editor, "a.png");
  EXPECT_EQ(events.Log, (std::vector<std::string>{"clicked a.png left", "selected a.png resizable"}));
  ASSERT_TRUE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Editor->EditMode(), htmlview::emImage);
  EXPECT_EQ(f.Editor->SelectedImage()->GetSrc(), "a.png");
  EXPECT_TRUE(ImageNodeOf(f.Editor, "a.png")->Selected);
  // Image mode ends a text selection and hides the caret.
  EXPECT_FALSE(f.Editor->HasTextSelection());
  EXPECT_FALSE(f.Editor->GetCaret()->GetVisible());
  events.Log.clear();
  f.Editor->DeleteSelectedImage();
  // Unselected while the picture was still on the page, then taken out.
  EXPECT_EQ(events.Log, (std::vector<std::string>{"unselected present"}));
  EXPECT_EQ(f.Body(), "<p>abcd</p><p>second line</p>");
  EXPECT_FALSE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Editor->EditMode(), htmlview::emText);
  // Nothing more to delete.
  f.Editor->DeleteSelectedImage();
  EXPECT_EQ(f.Body(), "<p>abcd</p><p>second line</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
  // Read-only: a click still selects, but the image stays.
  f.Editor->SetReadOnly(true);
  ClickImage(f.Editor, "a.png");
  ASSERT_TRUE(f.Editor->IsImageSelected());
  EXPECT_FALSE(ImageNodeOf(f.Editor, "a.png")->ResizeAllowed);
  f.Editor->DeleteSelectedImage();
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorImageSelection, ARefusedClickATextClickAndSelectingAgainAfterARelayout) {
  EditorOnForm f(600, 400);
  f.Editor->LoadFromString("<p>ab<img src=\"a.png\" width=\"40\" height=\"30\" />cd</p><p>second line</p>", true,
                           false);
  ImageEvents events(f.Editor);
  events.Refuse = true;
  ClickImage(f.Editor, "a.png");
  EXPECT_EQ(events.Log, (std::vector<std::string>{"clicked a.png left"}));
  EXPECT_FALSE(f.Editor->IsImageSelected());
  events.Refuse = false;
  ClickImage(f.Editor, "a.png");
  ASSERT_TRUE(f.Editor->IsImageSelected());
  // A click into the text leaves image mode: the image hears it.
  events.Log.clear();
  htmlview::TpsWindow* root = f.Editor->RootWindow();
  const htmldoc::TpsRect page = root->GetAbsoluteRect();
  ClickAt(f.Editor, page.Left + 20, ImageNodeOf(f.Editor, "a.png")->GetAbsoluteRect().Bottom + 12);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"unselected present"}));
  EXPECT_FALSE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Editor->EditMode(), htmlview::emText);
  EXPECT_FALSE(ImageNodeOf(f.Editor, "a.png")->Selected);
  // Selected again by its element id; a new size lays the page out again
  // and the new node selects it once more.
  const uint32_t id = ImageNodeOf(f.Editor, "a.png")->ImageElement->Id;
  f.Editor->SelectImageByID(id);
  ASSERT_TRUE(f.Editor->IsImageSelected());
  f.Editor->SelectedImage()->SetSize(-1, -1);
  ASSERT_TRUE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Editor->SelectedImage()->GetSrc(), "a.png");
  EXPECT_TRUE(ImageNodeOf(f.Editor, "a.png")->Selected);
  EXPECT_EQ(f.Body().find("width"), std::string::npos) << f.Body();
}

TEST(EditorImageSelection, AnInsertedImageWithItsCustomTagIsSelectedAndDeletedWithIt) {
  EditorOnForm f(600, 400);
  f.Editor->LoadFromString("<p>ab<!-- EDITING POSITION -->cd</p>", true, false);
  ImageEvents events(f.Editor);
  f.Editor->InsertImage("tag-3.bmp", 5, "", "", std::make_unique<htmldoc::TpsMarkupTag>("<#_zelbe54f7mdl type=\"3\" />"),
                        0, 0, true, "pin");
  EXPECT_EQ(events.Log, (std::vector<std::string>{"selected tag-3.bmp resizable"}));
  ASSERT_TRUE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Body(), "<p>ab<#_zelbe54f7mdl type=\"3\" />cd</p>");
  f.Editor->DeleteSelectedImage();
  EXPECT_EQ(f.Body(), "<p>abcd</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), "<p>ab<#_zelbe54f7mdl type=\"3\" />cd</p>");
}

}  // namespace

// The same through Qt: the mouse on the editor's widget, as a user works
// a picture.
namespace {

htmldoc::TpsPoint CentreOf(const htmldoc::TpsRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// A click on the picture's centre; the clock then moves past the
// double-click time, so the next press there is a press of its own.
void QtSelectImage(EditorOnForm& f, rtl::ManualClock& aClock, const std::string& aSrc) {
  htmlview::TpsImageNode* node = ImageNodeOf(f.Editor, aSrc);
  ASSERT_NE(node, nullptr) << aSrc;
  QtClick(f, CentreOf(node->GetContentRect()));
  aClock.Advance(2000);
}

TEST(EditorImageMouse, AClickSelectsTheImageAndARightClickOnItShowsTheImageMenu) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scope(clock);
  EditorOnForm f(600, 400);
  auto* plain = new RecordingPopupMenu(f.Form);
  auto* imageMenu = new RecordingPopupMenu(f.Form);
  f.Editor->SetPopupMenu(plain);
  f.Editor->SetImagePopupMenu(imageMenu);
  f.Editor->LoadFromString("<p>ab<img src=\"a.png\" width=\"40\" height=\"30\" />cd</p><p>second line</p>", true,
                           false);
  FocusEditor(f);
  ImageEvents events(f.Editor);
  QtSelectImage(f, *clock, "a.png");
  EXPECT_EQ(events.Log, (std::vector<std::string>{"clicked a.png left", "selected a.png resizable"}));
  ASSERT_TRUE(f.Editor->IsImageSelected());
  EXPECT_EQ(f.Editor->SelectedImage()->GetSrc(), "a.png");
  // A right click on the selected picture: its own menu at the pointer,
  // not the text's.
  events.Log.clear();
  const htmldoc::TpsPoint at = CentreOf(ImageNodeOf(f.Editor, "a.png")->GetContentRect());
  QtClick(f, at, Qt::RightButton);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"clicked a.png other"}));
  EXPECT_EQ(imageMenu->Shown, 1);
  EXPECT_EQ(plain->Shown, 0);
  const htmldoc::TpsPoint client = f.Editor->DocumentToClient(at);
  const vcl::TPoint screen = f.Editor->ClientToScreen(vcl::TPoint{client.X, client.Y});
  EXPECT_EQ(imageMenu->At.X, screen.X);
  EXPECT_EQ(imageMenu->At.Y, screen.Y);
  // A right click on the text beside it: the text's menu, and the
  // picture is let go.
  events.Log.clear();
  QtClick(f, LeftOfItem(KeyTestLines(f.Editor)[1], 2), Qt::RightButton);
  EXPECT_EQ(plain->Shown, 1);
  EXPECT_EQ(imageMenu->Shown, 1);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"unselected present"}));
  EXPECT_FALSE(f.Editor->IsImageSelected());
}

// The pointer over a selected picture's handle shows the resize cursor;
// pressed there and dragged, the picture takes the size the pointer gives
// within ImageResizeConstraints and the block, unless the application
// refuses it.
TEST(EditorImageMouse, AHandleDragResizesWithinTheConstraintsAndARefusalKeepsTheSize) {
  struct Case {
    const char* Name;
    bool KeepProportion;
    rtl::Integer MinW, MinH, MaxW, MaxH;  // 0: the default
    htmldoc::TpsPoint By;                 // from the picture's top-left pixel
    bool Refuse;
    const char* Size;                     // width x height saved, or "" for unchanged
    const char* LastReported;             // the last size OnImageResizingSizeChanged heard
  } cases[] = {
      {"free: the pointer's corner", false, 0, 0, 0, 0, {79, 40}, false, "80x41", "80x41"},
      {"proportional: the larger of the two rectangles", true, 0, 0, 0, 0, {79, 50}, false, "80x60", "80x60"},
      {"free beyond the maximum", false, 0, 0, 60, 45, {199, 199}, false, "60x45", "60x45"},
      {"free below the minimum", false, 50, 35, 0, 0, {5, 5}, false, "50x35", "50x35"},
      {"proportional past the block's width: the block's width", true, 0, 0, 0, 0, {2000, 2000}, false, "block",
       "block"},
      {"refused by OnImageConfirmResize", false, 0, 0, 0, 0, {99, 99}, true, "", "100x100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto clock = std::make_shared<rtl::ManualClock>(1000);
    rtl::ScopedClock scope(clock);
    EditorOnForm f(600, 400);
    f.Editor->ImageResizing.ImageResizeKeepProportion = c.KeepProportion;
    vcl::TSizeConstraints& limits = f.Editor->ImageResizing.ImageResizeConstraints();
    if (c.MinW) limits.MinWidth = c.MinW;
    if (c.MinH) limits.MinHeight = c.MinH;
    if (c.MaxW) limits.MaxWidth = c.MaxW;
    if (c.MaxH) limits.MaxHeight = c.MaxH;
    const std::string page = "<p>ab<img src=\"a.png\" width=\"40\" height=\"30\" />cd</p>";
    f.Editor->LoadFromString(page, true, false);
    FocusEditor(f);
    const std::string before = f.Body();
    std::vector<std::string> reported, confirmed;
    f.Editor->OnImageResizingSizeChanged = [&](htmldoc::TObjectPtr, htmledit::TpsImage*, Integer w, Integer h) {
      reported.push_back(std::to_string(w) + "x" + std::to_string(h));
    };
    f.Editor->OnImageConfirmResize = [&](htmldoc::TObjectPtr, htmledit::TpsImage*, Integer w, Integer h,
                                         bool& oConfirm) {
      confirmed.push_back(std::to_string(w) + "x" + std::to_string(h));
      if (c.Refuse) oConfirm = false;
    };
    QtSelectImage(f, *clock, "a.png");
    ASSERT_TRUE(f.Editor->IsImageSelected());
    htmlview::TpsImageNode* node = ImageNodeOf(f.Editor, "a.png");
    const htmldoc::TpsRect content = node->GetContentRect();
    const htmldoc::TpsRect outer = node->GetAbsoluteRect();
    const htmldoc::TpsRect handle = node->GetResizeHandleRect();
    const htmldoc::TpsPoint grip{handle.Left + 2, handle.Top + 2};
    QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, grip);
    EXPECT_EQ(f.Editor->Widget()->cursor().shape(), Qt::SizeFDiagCursor);
    // The block's width less the picture's own margins: the widest it may
    // grow there.
    auto* block = dynamic_cast<htmlview::TpsBlockNode*>(KeyTestLines(f.Editor)[0]->GetParent());
    ASSERT_NE(block, nullptr);
    const rtl::Integer blockWidth =
        block->GetContentWidth() - ((outer.Right - outer.Left) - (content.Right - content.Left));
    const htmldoc::TpsPoint to{content.Left + c.By.X, content.Top + c.By.Y};
    QtMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, grip);
    ASSERT_TRUE(ImageNodeOf(f.Editor, "a.png")->Resizing);
    QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {(grip.X + to.X) / 2, (grip.Y + to.Y) / 2});
    QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    QtMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    std::string size = c.Size, last = c.LastReported;
    if (size == "block") size = last = std::to_string(blockWidth) + "x" + std::to_string((blockWidth * 3 + 2) / 4);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), last);
    EXPECT_EQ(confirmed, std::vector<std::string>{last});
    if (size.empty()) {
      EXPECT_EQ(f.Body(), before);
      EXPECT_FALSE(f.Editor->CanUndo());
    } else {
      const std::string w = size.substr(0, size.find('x')), h = size.substr(size.find('x') + 1);
      EXPECT_EQ(f.Body(), "<p>ab<img src=\"a.png\" width=\"" + w + "\" height=\"" + h + "\" />cd</p>");
      // The resized picture is still the selected one.
      ASSERT_TRUE(f.Editor->IsImageSelected());
      EXPECT_TRUE(ImageNodeOf(f.Editor, "a.png")->Selected);
      f.Editor->Undo();
      EXPECT_EQ(f.Body(), before);
    }
  }
}

// A selected picture pressed and dragged: a float lands on the line under
// the picture's top, on the side its centre is nearest; the flow's drop bar
// follows the pointer. Undo puts it back where it stood.
TEST(EditorImageMouse, ADragMovesThePictureToTheDropZoneAndUndoPutsItBack) {
  const std::string page =
      "<p>one two</p><p>ab<img src=\"a.png\" width=\"40\" height=\"30\" />cd</p><p>three four</p>";
  struct Case {
    const char* Name;
    int Line;         // the text line dropped on: 0, 1 or 2
    double AtWidth;   // where across it, as a share of its width
    bool PictureTop;  // the picture's top on the line, else the pointer near its top
    const char* Body;
  } cases[] = {
      {"the left zone of the third paragraph: floated left at its start", 2, 0.1, true,
       "<p>one two</p><p>abcd</p><p><img src=\"a.png\" width=\"40\" height=\"30\" align=\"left\" />three four</p>"},
      {"the right zone of the third paragraph: floated right at its start", 2, 0.9, true,
       "<p>one two</p><p>abcd</p><p><img src=\"a.png\" width=\"40\" height=\"30\" align=\"right\" />three four</p>"},
      {"the left zone of its own line: floated left at the line's start", 1, 0.05, true,
       "<p>one two</p><p><img src=\"a.png\" width=\"40\" height=\"30\" align=\"left\" />abcd</p><p>three four</p>"},
      {"the flow zone over the first paragraph's upper half: a centred block above it", 0, 0.5, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto clock = std::make_shared<rtl::ManualClock>(1000);
    rtl::ScopedClock scope(clock);
    EditorOnForm f(600, 400);
    f.Editor->LoadFromString(page, true, false);
    FocusEditor(f);
    const std::string before = f.Body();
    std::vector<std::string> log;
    f.Editor->OnImageStartDragging = [&](htmldoc::TObjectPtr, htmledit::TpsImage* aImage,
                                         htmldoc::TpsAllowedDragAlignments&) {
      log.push_back("start " + aImage->GetSrc());
    };
    QtSelectImage(f, *clock, "a.png");
    ASSERT_TRUE(f.Editor->IsImageSelected());
    const htmldoc::TpsRect lineRect = KeyTestLines(f.Editor)[c.Line]->GetAbsoluteRect();
    const htmldoc::TpsRect picture = ImageNodeOf(f.Editor, "a.png")->GetContentRect();
    const htmldoc::TpsPoint from = CentreOf(picture);
    const htmldoc::TpsPoint to{
        lineRect.Left + static_cast<rtl::Integer>((lineRect.Right - lineRect.Left) * c.AtWidth),
        lineRect.Top + 2 + (c.PictureTop ? from.Y - picture.Top : 0)};
    QtMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {from.X + 10, from.Y + 10});
    ASSERT_TRUE(ImageNodeOf(f.Editor, "a.png")->Dragging);
    EXPECT_EQ(log, std::vector<std::string>{"start a.png"});
    QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    QtMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    const std::string after = f.Body();
    if (c.Body) {
      EXPECT_EQ(after, c.Body);
    } else {
      // A block of its own before the first paragraph, holding only the
      // picture, centred.
      const size_t first = after.find("<p>one two</p>");
      ASSERT_NE(first, std::string::npos) << after;
      const std::string moved = after.substr(0, first);
      EXPECT_NE(moved.find("a.png"), std::string::npos) << after;
      EXPECT_NE(moved.find("center"), std::string::npos) << after;
      EXPECT_EQ(after.substr(first), "<p>one two</p><p>abcd</p><p>three four</p>");
    }
    // The moved picture is selected again, and nothing is dragged.
    ASSERT_TRUE(f.Editor->IsImageSelected());
    EXPECT_FALSE(ImageNodeOf(f.Editor, "a.png")->Dragging);
    f.Editor->Undo();
    EXPECT_EQ(f.Body(), before);
  }
}

}  // namespace
