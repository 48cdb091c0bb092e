// Seeded random input through Qt on the editor's widget, as a user at the
// keyboard and the mouse gives it: keys with their shift states, typed
// characters (accented letters and a character beyond 16 bits among them),
// clicks, double clicks, drags, right clicks and wheel notches at random
// places, the clock moved on between them so that some presses become
// double clicks. Nothing may be raised but the editor's own exception (an
// edit the page does not allow), no painting may fail, and undoing
// everything gives the page as it was loaded. Each sequence stays under
// the undo list's capacity, and the test checks that it did, so that no
// step is dropped from the list.
#include <gtest/gtest.h>

#include <QWheelEvent>
#include <algorithm>
#include <random>

#include "EditorFixture.h"
#include "QtInput.h"
#include "htmledit/control/psUndo.h"
#include "rtl/Clock.h"

using namespace htmledittest;

namespace {

// Stop adding input at this many undo steps: one input makes at most one
// step, so the list (of 50) never drops its oldest.
constexpr rtl::Integer kSoakUndoLimit = 45;

struct SoakKey {
  int Key;
  Qt::KeyboardModifiers Mods;
};

const SoakKey kSoakKeys[] = {
    {Qt::Key_Left, Qt::NoModifier},        {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Up, Qt::NoModifier},          {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Home, Qt::NoModifier},        {Qt::Key_End, Qt::NoModifier},
    {Qt::Key_PageUp, Qt::NoModifier},      {Qt::Key_PageDown, Qt::NoModifier},
    {Qt::Key_Left, Qt::ShiftModifier},     {Qt::Key_Right, Qt::ShiftModifier},
    {Qt::Key_Down, Qt::ShiftModifier},     {Qt::Key_End, Qt::ShiftModifier},
    {Qt::Key_Left, Qt::ControlModifier},   {Qt::Key_Right, Qt::ControlModifier},
    {Qt::Key_Home, Qt::ControlModifier},   {Qt::Key_End, Qt::ControlModifier},
    {Qt::Key_Backspace, Qt::NoModifier},   {Qt::Key_Delete, Qt::NoModifier},
    {Qt::Key_Return, Qt::NoModifier},      {Qt::Key_Return, Qt::ShiftModifier},
    {Qt::Key_Tab, Qt::NoModifier},         {Qt::Key_Tab, Qt::ShiftModifier},
    {Qt::Key_B, Qt::ControlModifier},      {Qt::Key_I, Qt::ControlModifier},
    {Qt::Key_U, Qt::ControlModifier},      {Qt::Key_Escape, Qt::NoModifier},
    {Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier},
};

const char16_t* const kSoakTexts[] = {u"a", u"Z", u" ", u"\u00e9", u"\u00df", u"\U0001F600", u"7", u"."};

// A point in the client area, as the widget's local coordinates.
QPointF SoakPoint(EditorOnForm& f, std::mt19937& aRandom) {
  const vcl::TRect& border = f.Editor->NonClientInsets();
  const int w = std::max(1, f.Editor->ClientWidth()), h = std::max(1, f.Editor->ClientHeight());
  return QPointF(border.Left + static_cast<int>(aRandom() % w), border.Top + static_cast<int>(aRandom() % h));
}

void SoakMouse(EditorOnForm& f, QEvent::Type aType, Qt::MouseButton aButton, Qt::MouseButtons aButtons,
               const QPointF& aAt, Qt::KeyboardModifiers aMods = Qt::NoModifier) {
  QWidget* w = f.Editor->Widget();
  QMouseEvent e(aType, aAt, w->mapToGlobal(aAt), aButton, aButtons, aMods);
  QCoreApplication::sendEvent(w, &e);
  vcl::Application->ProcessMessages();
}

// One input, told in aTrace for the failure message.
void SoakStep(EditorOnForm& f, rtl::ManualClock& aClock, std::mt19937& aRandom, std::string& aTrace) {
  aClock.Advance(aRandom() % 700);
  switch (aRandom() % 10) {
    case 0:
    case 1:
    case 2: {
      const SoakKey& k = kSoakKeys[aRandom() % std::size(kSoakKeys)];
      aTrace += "key " + std::to_string(k.Key) + "/" + std::to_string(k.Mods.toInt()) + "; ";
      QtKey(f, k.Key, k.Mods);
      break;
    }
    case 3:
    case 4: {
      const char16_t* text = kSoakTexts[aRandom() % std::size(kSoakTexts)];
      aTrace += "type; ";
      QtTyped(f, QString::fromUtf16(text));
      break;
    }
    case 5:
    case 6: {
      // A click, sometimes with Shift, sometimes the second of a double
      // click at the same place.
      const QPointF at = SoakPoint(f, aRandom);
      const Qt::KeyboardModifiers mods = aRandom() % 4 == 0 ? Qt::ShiftModifier : Qt::NoModifier;
      aTrace += "click " + std::to_string(int(at.x())) + "," + std::to_string(int(at.y())) + "; ";
      SoakMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at, mods);
      SoakMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at, mods);
      if (aRandom() % 3 == 0) {
        aTrace += "double; ";
        SoakMouse(f, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
        SoakMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
      }
      break;
    }
    case 7: {
      // A drag: a press, a few moves with the button held, the release.
      QPointF at = SoakPoint(f, aRandom);
      aTrace += "drag " + std::to_string(int(at.x())) + "," + std::to_string(int(at.y()));
      SoakMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
      const int moves = 1 + static_cast<int>(aRandom() % 3);
      for (int i = 0; i < moves; ++i) {
        aClock.Advance(aRandom() % 80);
        at = SoakPoint(f, aRandom);
        aTrace += " " + std::to_string(int(at.x())) + "," + std::to_string(int(at.y()));
        SoakMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at);
      }
      aTrace += "; ";
      SoakMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
      break;
    }
    case 8: {
      const QPointF at = SoakPoint(f, aRandom);
      aTrace += "right " + std::to_string(int(at.x())) + "," + std::to_string(int(at.y())) + "; ";
      SoakMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
      SoakMouse(f, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, at);
      SoakMouse(f, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, at);
      break;
    }
    default: {
      const int delta = aRandom() % 2 ? 120 : -120;
      aTrace += "wheel " + std::to_string(delta) + "; ";
      QWidget* w = f.Editor->Widget();
      const QPointF at = SoakPoint(f, aRandom);
      QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(w, &e);
      vcl::Application->ProcessMessages();
      break;
    }
  }
}

// What escaped the event handlers, by class.
struct SoakExceptions {
  SoakExceptions() {
    FSaved = vcl::Application->OnException;
    vcl::Application->OnException = [this](vcl::TObject*, rtl::Exception& e) {
      Raised.push_back(std::string(e.ClassName()) + ": " + e.Message());
    };
  }
  ~SoakExceptions() { vcl::Application->OnException = FSaved; }
  SoakExceptions(const SoakExceptions&) = delete;
  SoakExceptions& operator=(const SoakExceptions&) = delete;

  std::vector<std::string> Raised;

 private:
  std::function<void(vcl::TObject*, rtl::Exception&)> FSaved;
};

void SoakPage(const std::string& aName, const std::string& aHtml, unsigned aSeed, int aInputs) {
  SCOPED_TRACE(aName + " seed " + std::to_string(aSeed));
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scope(clock);
  EditorOnForm f(500, 300);
  f.Editor->OnSupportedCustomTag = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) {
    aKeep = true;
  };
  f.Editor->LoadHTML(aHtml);
  FocusEditor(f);
  const std::string loaded = f.Body();
  std::mt19937 random(aSeed);
  std::string trace;
  SoakExceptions exceptions;
  for (int i = 0; i < aInputs && f.Editor->UndoList().Count() < kSoakUndoLimit; ++i) {
    SoakStep(f, *clock, random, trace);
    ASSERT_FALSE(f.Editor->PaintFailed()) << trace;
    ASSERT_LT(f.Editor->UndoList().Count(), f.Editor->UndoList().Capacity()) << trace;
  }
  // Every pending paint done: nothing fails there either.
  GrabWindow(f.Editor);
  EXPECT_FALSE(f.Editor->PaintFailed()) << trace;
  for (const std::string& e : exceptions.Raised)
    EXPECT_EQ(e.rfind("EpsHtmlEditException", 0), 0u) << e << "\n" << trace;
  int undone = 0;
  while (f.Editor->CanUndo() && undone <= kSoakUndoLimit) {
    f.Editor->Undo();
    ++undone;
  }
  EXPECT_FALSE(f.Editor->CanUndo()) << trace;
  EXPECT_EQ(f.Body(), loaded) << trace;
}

const char* const kSoakSmallPages[][2] = {
    {"mixed blocks",
     "<h1>Title</h1><p>First paragraph with <b>bold</b>, <i>italic</i> and <a href=\"u.html\">a link</a>."
     "<!-- EDITING POSITION --></p><ul><li>one</li><li>two <u>under</u></li></ul>"
     "<ol><li>first</li><li>second</li></ol><pre>  kept\n  lines</pre><p>Last one.</p>"},
    {"table and picture",
     "<p>Before <img src=\"a.png\" width=\"40\" height=\"30\" /> the table</p>"
     "<table border=\"1\"><tr><td>a1</td><td>b1</td></tr><tr><td>a2</td><td><p>b2</p><ul><li>x</li></ul></td></tr>"
     "</table><p><img src=\"b.png\" align=\"left\" width=\"30\" height=\"30\" />floated text after it</p>"},
};

TEST(EditorInputSoak, RandomQtInputOnSmallPagesRaisesNothingButTheEditorsErrorAndUndoesToTheLoadedPage) {
  for (const auto& page : kSoakSmallPages)
    for (unsigned seed = 1; seed <= 3; ++seed) SoakPage(page[0], page[1], seed, 40);
}

}  // namespace
