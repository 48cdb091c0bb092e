// The edit-control text cursor against a small edit control written here
// that answers the edit-control messages as the desktop's does (characters
// counted as characters, lines joined by CR LF).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <cstring>
#include <string>
#include <vector>

#include "Tokenize.h"
#include "core/TestSupport.h"
#include "spell/engine/lx3Util.h"
#include "spell/lx3SpellWindows.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3Text.h"
#include "spell/lx3WinAPIParser.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace vcl;
using spell::TWinAPIControlParser;

namespace {

// Characters of a UTF-8 text, each as its bytes.
std::vector<std::string> Chars(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    int32_t cp = 0;
    const size_t n = spell::DecodeUtf8Char(s, i, cp);
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

class FakeEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::string text;  // UTF-8, lines joined by "\r\n"
  Integer selStart = 0, selEnd = 0, firstVisible = 0;
  bool answersRichEdit = false;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    size_t from = 0;
    for (;;) {
      const size_t at = text.find("\r\n", from);
      lines.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
      if (at == std::string::npos) return lines;
      from = at + 2;
    }
  }
  Integer LineIndex(Integer line) const {
    const auto lines = Lines();
    if (line < 0 || line >= static_cast<Integer>(lines.size())) return -1;
    Integer index = 0;
    for (Integer i = 0; i < line; ++i) index += static_cast<Integer>(Chars(lines[static_cast<size_t>(i)]).size()) + 2;
    return index;
  }
  Integer LineFromChar(Integer index) const {
    const auto lines = Lines();
    for (Integer i = static_cast<Integer>(lines.size()) - 1; i >= 0; --i)
      if (LineIndex(i) <= index) return i;
    return 0;
  }

  void WndProc(TMessage& m) override {
    switch (m.Msg) {
      case EM_GETLINECOUNT:
        m.Result = static_cast<LRESULT>(Lines().size());
        return;
      case EM_LINEINDEX:
        m.Result = LineIndex(static_cast<Integer>(m.WParam));
        return;
      case EM_LINEFROMCHAR:
        m.Result = LineFromChar(static_cast<Integer>(m.WParam));
        return;
      case EM_GETLINE: {
        const auto lines = Lines();
        const auto line = static_cast<size_t>(m.WParam);
        auto* buffer = reinterpret_cast<char*>(m.LParam);
        Word size = 0;
        std::memcpy(&size, buffer, sizeof size);
        const std::string l = line < lines.size() ? lines[line] : std::string();
        const size_t n = std::min<size_t>(size, l.size());
        std::memcpy(buffer, l.data(), n);
        m.Result = static_cast<LRESULT>(n);
        return;
      }
      case EM_SETSEL:
        selStart = static_cast<Integer>(m.WParam);
        selEnd = static_cast<Integer>(m.LParam);
        return;
      case EM_GETSEL:
        *reinterpret_cast<Cardinal*>(m.WParam) = static_cast<Cardinal>(selStart);
        *reinterpret_cast<Cardinal*>(m.LParam) = static_cast<Cardinal>(selEnd);
        return;
      case EM_REPLACESEL: {
        auto chars = Chars(text);
        std::string out;
        for (Integer i = 0; i < selStart && i < static_cast<Integer>(chars.size()); ++i) out += chars[static_cast<size_t>(i)];
        const std::string with = reinterpret_cast<const char*>(m.LParam);
        out += with;
        for (size_t i = static_cast<size_t>(selEnd); i < chars.size(); ++i) out += chars[i];
        text = out;
        selStart = selEnd = selStart + static_cast<Integer>(Chars(with).size());
        return;
      }
      case EM_POSFROMCHAR: {
        const Integer line = LineFromChar(static_cast<Integer>(m.WParam));
        const Integer column = static_cast<Integer>(m.WParam) - LineIndex(line);
        m.Result = MakeLParam(static_cast<Word>(column * 8), static_cast<Word>((line - firstVisible) * 16));
        return;
      }
      case EM_GETFIRSTVISIBLELINE:
        m.Result = firstVisible;
        return;
      case EM_LINESCROLL:
        firstVisible = std::max<Integer>(0, firstVisible + static_cast<Integer>(m.LParam));
        return;
      case EM_SCROLLCARET:
        return;
      case EM_EXGETSEL:
        if (answersRichEdit) {
          reinterpret_cast<TCharRange*>(m.LParam)->cpMin = selStart;
          reinterpret_cast<TCharRange*>(m.LParam)->cpMax = selEnd;
          return;
        }
        break;
      default:
        break;
    }
    TWinControl::WndProc(m);
  }
};

class RichEdit20Fake : public FakeEdit {
 public:
  using FakeEdit::FakeEdit;
  AnsiString ClassName() const { return "RichEdit20Fake"; }
};

struct Fixture {
  TForm* form = new TForm(Application, 0);
  FakeEdit* edit = nullptr;
  explicit Fixture(const std::string& text) {
    form->SetBounds(10, 10, 300, 200);
    edit = new FakeEdit(form);
    edit->SetParent(form);
    edit->SetBounds(5, 6, 200, 100);
    edit->text = text;
  }
  ~Fixture() { vcl::Free(form); }
};

std::vector<std::string> Words(TWinAPIControlParser& p, spell::TMainParsingEngine& e) {
  std::vector<std::string> words;
  for (std::string w = e.NextWord(); !w.empty(); w = e.NextWord()) {
    p.SelectPreviousWord(static_cast<Integer>(w.size()));
    p.IgnoreWord(0);
    words.push_back(w);
  }
  return words;
}

}  // namespace

TEST(WinApiParser, LinesEndWithCrLf) {
  Fixture f("ab\r\ncd");
  TWinAPIControlParser p;
  p.Initialize(f.edit);
  EXPECT_EQ(p.GetControl(), f.edit);
  EXPECT_EQ(p.ControlKind(), 0);
  std::string seen;
  do seen += p.GetChar();
  while (p.MoveNext());
  EXPECT_EQ(seen, "ab\r\ncd\r\n");
  EXPECT_EQ(p.GetLine(), "");
  // Back from (0, 0): False, X stays 0.
  p.SetPosition(0, 0, 0);
  EXPECT_FALSE(p.MovePrevious());
  Integer x = 9, y = 9;
  p.GetPosition(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // Back from the start of line 1: the LF of line 0.
  p.SetPosition(0, 1, 0);
  EXPECT_TRUE(p.MovePrevious());
  EXPECT_EQ(p.GetChar(), '\n');
  p.GetPosition(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(p.GetLine(), "ab\r\n");
}

TEST(WinApiParser, CheckReplaceAndEndMark) {
  Fixture f("teh cat\r\n\xCE\xB1 sat teh");
  TWinAPIControlParser p;
  p.Initialize(f.edit);
  spell::TMainParsingEngine e;
  e.Initialize(&p, 2);
  std::vector<std::string> words;
  for (std::string w = e.NextWord(); !w.empty(); w = e.NextWord()) {
    p.SelectPreviousWord(static_cast<Integer>(w.size()));
    if (w == "teh")
      p.ReplaceWord("the", 0);
    else
      p.IgnoreWord(0);
    words.push_back(w);
  }
  EXPECT_EQ(words, (std::vector<std::string>{"teh", "cat", "sat", "teh"}));
  EXPECT_EQ(f.edit->text, "the cat\r\n\xCE\xB1 sat the");  // the Greek letter stays

  // A selection: "cat sat" across the line break.
  f.edit->selStart = 4;
  f.edit->selEnd = 15;  // after "sat"
  Integer sx, sy, ex, ey;
  p.GetSelectionPosition(sx, sy, ex, ey);
  EXPECT_EQ(sx, 4);
  EXPECT_EQ(sy, 0);
  EXPECT_EQ(ex, 6);
  EXPECT_EQ(ey, 1);
  Integer cx, cy;
  p.GetCursorPosition(cx, cy);
  EXPECT_EQ(cx, 4);
  e.Initialize(&p, 0);
  EXPECT_EQ(Words(p, e), (std::vector<std::string>{"cat", "sat"}));
}

TEST(WinApiParser, AContainerIsCheckedThroughItsEditChild) {
  TForm* form = new TForm(Application, 0);
  auto* container = new TWinControl(form);
  container->SetParent(form);
  auto* edit = new FakeEdit(form);
  edit->SetParent(container);
  edit->text = "inner words";
  TWinAPIControlParser p;
  p.Initialize(container);
  EXPECT_EQ(p.Handle(), edit->Handle());
  spell::TMainParsingEngine e;
  e.Initialize(&p, 2);
  EXPECT_EQ(Words(p, e), (std::vector<std::string>{"inner", "words"}));
  vcl::Free(form);
}

TEST(WinApiParser, ControlKinds) {
  TForm* form = new TForm(Application, 0);
  auto* plain = new FakeEdit(form);
  plain->SetParent(form);
  auto* answering = new FakeEdit(form);
  answering->SetParent(form);
  answering->answersRichEdit = true;
  TWinAPIControlParser p;
  p.Initialize(plain);
  EXPECT_EQ(p.ControlKind(), 0);
  p.Initialize(answering);
  EXPECT_EQ(p.ControlKind(), 1);
  vcl::Free(form);
}

TEST(WinApiParser, ScreenRectangles) {
  Fixture f("one two\r\nthree");
  TWinAPIControlParser p;
  p.Initialize(f.edit);
  const spell::TParserRect control = p.GetControlScreenRect();
  EXPECT_EQ(control.Right - control.Left, 200);
  EXPECT_EQ(control.Bottom - control.Top, 100);
  p.SetPosition(7, 0, 0);
  p.SelectPreviousWord(3);  // "two"
  EXPECT_EQ(f.edit->selStart, 4);
  EXPECT_EQ(f.edit->selEnd, 7);
  const spell::TParserRect word = p.GetWordScreenRect();
  EXPECT_EQ(word.Left - control.Left, 32);
  EXPECT_EQ(word.Right - word.Left, 24);
  EXPECT_GE(word.Bottom - word.Top, 16);  // down to the next line's top
  p.CenterSelection();
  EXPECT_EQ(f.edit->selStart, 4);  // the selection comes back
  EXPECT_EQ(f.edit->selEnd, 7);
}

namespace {
// The spell checker with its window parts, on a scratch configuration.
struct WindowSpell {
  core_test::ScratchFolder dir{"spell-window"};
  spell::TLexaSpell3WindowBase spell;
  WindowSpell() {
    spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
    spell.SetConfigStorage(spell::csNone);
    spell.ConfigDictionaryDir().Clear();
    spell.ConfigDictionaryDir().Add(dir.Path().string());
    spell.ConfigDictionaryDir().Add(TOLVANE_BIN_DIR);
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
  }
  ~WindowSpell() { spell::testing::SetUserNameHook(nullptr); }
};
}  // namespace

TEST(SpellWindows, CheckAnEditControl) {
  Fixture f("teh cat sat");
  WindowSpell w;
  w.spell.EndMessage = spell::emNever;
  w.spell.OnPromptWord = [&](void*, const AnsiString& word, bool) {
    EXPECT_EQ(word, "teh");
    w.spell.ChangeCurrent("the");
  };
  w.spell.CheckWinControl(f.edit, 2);
  EXPECT_EQ(f.edit->text, "the cat sat");
  EXPECT_FALSE(w.spell.Checking());
  EXPECT_EQ(w.spell.WordCountEditControl(f.edit, 2), 3);
}

TEST(SpellWindows, PopupAsAClassLibraryMenu) {
  WindowSpell w;
  std::vector<std::string> captions;
  // Choose "receive" in the menu as the user would, once it is open.
  QTimer::singleShot(50, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) captions.push_back(a->text().toStdString());
    for (QAction* a : menu->actions())
      if (a->text() == "receive") {
        a->trigger();
        break;
      }
    menu->close();
  });
  AnsiString word = "recieve";
  EXPECT_EQ(w.spell.ShowPopupMenu(nullptr, 177, 100, 100, word), spell::spReplace);
  EXPECT_EQ(word, "receive");
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front(), "receive");
}
