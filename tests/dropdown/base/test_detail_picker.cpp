// The detail picker beside the other list pickers: completion from the
// captions while typing (OnSelect untold), Backspace stopping it, Enter
// matching a caption exactly, indexes out of range and negative, a click on
// the chosen entry restoring its caption, a cancel restoring the index, the
// keys an open pop-up keeps, and an entry's picture, caption and notes on
// pixels. Completion over the first 2,000 words of the American word list
// is checked against a Python reference.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDetailDropDown.h"
#include "vcl/ImgList.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct DetailRig {
  TForm* owner = MakeForm(320, 300);
  TLumDetailDropDown* drop = nullptr;
  int selects = 0;
  explicit DetailRig(const std::vector<std::string>& captions = {"Apple", "Apricot", "Banana"}) {
    drop = new TLumDetailDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(10, 10, 200, 22);
    drop->SetDropPosition(TDropPosition::dpDown);
    for (const std::string& c : captions) drop->Items()->Add()->SetCaption(c);
    drop->OnSelect = [this](TObject*) { ++selects; };
    Key(owner, Qt::Key_Shift);  // no modifier held from an earlier test
    Pump();
  }
  ~DetailRig() { Free(owner); }
  std::string Text() const { return drop->Text(); }
};

TEST(DetailPicker, CompletionFromTheCaptions) {
  DetailRig rig;
  TLumDetailDropDown* d = rig.drop;
  d->SetFocus();
  Pump();
  Type(d, "ap");
  EXPECT_EQ(rig.Text(), "apple");
  EXPECT_EQ(d->SelStart(), 2);
  EXPECT_EQ(d->SelLength(), 3);
  EXPECT_EQ(d->ItemIndex(), 0);
  EXPECT_EQ(rig.selects, 0);
  Key(d, Qt::Key_Backspace, Qt::NoModifier, "\b");
  EXPECT_EQ(rig.Text(), "ap");
  EXPECT_FALSE(d->AutoComplete());
  Type(d, "r");
  EXPECT_EQ(rig.Text(), "apricot");
  EXPECT_EQ(d->ItemIndex(), 1);
  EXPECT_EQ(rig.selects, 0);
}

TEST(DetailPicker, EnterMatchesACaptionExactly) {
  DetailRig rig;
  TLumDetailDropDown* d = rig.drop;
  EXPECT_EQ(d->Items()->IndexOfCaption("Apricot"), 1);
  EXPECT_EQ(d->Items()->IndexOfCaption("apricot"), -1);
  d->SetFocus();
  Pump();
  d->SetTextDirect("apple");
  d->SetItemIndex(-1);
  Key(d, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(d->ItemIndex(), -1);
  EXPECT_EQ(rig.selects, 0);
  d->SetTextDirect("Apple");
  d->SetItemIndex(-1);
  Key(d, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(d->ItemIndex(), 0);
  EXPECT_EQ(rig.selects, 1);
}

TEST(DetailPicker, IndexesOutOfRangeAndNegative) {
  DetailRig rig;
  TLumDetailDropDown* d = rig.drop;
  d->SetItemIndex(2);
  EXPECT_EQ(rig.Text(), "Banana");
  EXPECT_EQ(d->SelLength(), 6);
  EXPECT_EQ(rig.selects, 1);
  d->SetItemIndex(5);
  EXPECT_EQ(d->ItemIndex(), 2);
  EXPECT_EQ(rig.selects, 1);
  d->SetItemIndex(2);  // unchanged
  EXPECT_EQ(rig.selects, 1);
  d->SetItemIndex(-1);  // the choice goes, the text stays
  EXPECT_EQ(d->ItemIndex(), -1);
  EXPECT_EQ(rig.Text(), "Banana");
  EXPECT_EQ(rig.selects, 1);
}

TEST(DetailPicker, ClicksKeysAndCancel) {
  DetailRig rig;
  TLumDetailDropDown* d = rig.drop;
  d->SetItemIndex(1);
  d->SetTextDirect("Apr");  // edited since
  d->DropDown();
  Pump();
  ASSERT_TRUE(d->DroppedDown());
  TLumCustomItemSelector* list = d->ListSelector();
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Items()->Items(0)->ItemRect().Bottom - list->Items()->Items(0)->ItemRect().Top, 22);
  // The open pop-up keeps Down: the list moves, the key goes no further.
  EXPECT_EQ(d->Perform(WM_KEYDOWN, VK_DOWN, 0), 1);
  EXPECT_EQ(d->ItemIndex(), 2);
  EXPECT_TRUE(d->DroppedDown());
  d->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(d->ItemIndex(), 1);
  d->SetTextDirect("Apr");
  const TRect r = list->Items()->Items(1)->ItemRect();
  QTest::mouseClick(list->Selector()->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 20, r.Top + 5));
  Pump();
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(rig.Text(), "Apricot");
  // A cancel restores the index of the opening.
  d->DropDown();
  Pump();
  d->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(d->ItemIndex(), 2);
  d->HideDropDown(true);
  EXPECT_EQ(d->ItemIndex(), 1);
}

// An entry's content: the picture at the left, the caption from the top,
// the notes one "gh" line below; an entry without a caption centres its
// image.
TEST(DetailPicker, EntriesOnPixels) {
  DetailRig rig(std::vector<std::string>{});
  TLumDetailDropDown* d = rig.drop;
  TImageList* images = new TImageList(rig.owner);
  images->SetWidth(32);
  images->SetHeight(32);
  TBitmap b(32, 32);
  b.Canvas()->Brush()->SetColor(0x00AA00);
  b.Canvas()->FillRect(TRect{0, 0, 32, 32});
  images->Add(&b, nullptr);
  d->SetImages(images);
  d->SetItemHeight(48);
  d->SetDropDownWidth(220);
  TDetailItem* first = d->Items()->Add();
  first->SetCaption("Sensor module");  // captions are plain text; notes are mini-HTML
  first->SetImageIndex(0);
  first->SetNotes("Reads the <i>temperature</i> every second");
  TDetailItem* second = d->Items()->Add();
  second->SetImageIndex(0);
  d->DropDown();
  Pump();
  TCustomItemSelector* inner = d->ListSelector()->Selector();
  QImage shot = inner->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  SaveShot(shot, "dropdown_detail_picker.png");
  const TRect r0 = d->ListSelector()->Items()->Items(0)->ItemRect();
  const TRect r1 = d->ListSelector()->Items()->Items(1)->ItemRect();
  // The image at the left, centred up and down.
  EXPECT_EQ(PixelAt(shot, r0.Left + 2, r0.Top + 8), TColor(0x00AA00));
  EXPECT_EQ(PixelAt(shot, r0.Left + 33, r0.Top + 39), TColor(0x00AA00));
  // Caption ink in the first text line, notes ink in the line below it.
  const int textLeft = r0.Left + 2 + 32 + 4 + 4;
  auto inkIn = [&](int top, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = textLeft; x < r0.Right - 4; ++x) ink += (PixelAt(shot, x, y) & 0xFF) < 0x80;
    return ink;
  };
  EXPECT_GT(inkIn(r0.Top + 2, r0.Top + 16), 10);
  EXPECT_GT(inkIn(r0.Top + 18, r0.Top + 32), 10);
  // No caption: the image centred across the row.
  const int width = r1.Right - r1.Left;
  const int x = r1.Left + (width - 32) / 2;
  EXPECT_EQ(PixelAt(shot, x, r1.Top + 24), TColor(0x00AA00));
  EXPECT_NE(PixelAt(shot, x - 1, r1.Top + 24), TColor(0x00AA00));
  d->HideDropDown(false);
}

// Every prefix of the first 2,000 words completes to the first caption that
// begins with it, whatever the case; Enter takes a caption only as spelled.
TEST(DetailPicker, CompletionOverTheAmericanWordList) {
  const char* list = "/usr/share/dict/american-english";
  std::ifstream in(list);
  if (!in) GTEST_SKIP() << list << " is not installed";
  std::vector<std::string> words;
  for (std::string w; words.size() < 2000 && std::getline(in, w);) words.push_back(w);
  const std::string script =
      "import sys\n"
      "words=[l.rstrip('\\n') for l in open(sys.argv[1],encoding='utf-8')][:2000]\n"
      "seen=set()\n"
      "for w in words:\n"
      "  for n in range(1,len(w)+1):\n"
      "    p=w[:n]\n"
      "    if p in seen: continue\n"
      "    seen.add(p)\n"
      "    i=next(i for i,x in enumerate(words) if x.upper().startswith(p.upper()))\n"
      "    print(p+'\\t'+str(i)+'\\t'+p+words[i][len(p):])\n";
  const std::string path = std::string(TOLVANE_BUILD_DIR) + "/detail_reference.py";
  std::ofstream(path) << script;
  FILE* pipe = popen(("python3 " + path + " " + list).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::tuple<std::string, int, std::string>> expected;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string s(line);
    if (!s.empty() && s.back() == '\n') s.pop_back();
    const size_t a = s.find('\t'), b = s.find('\t', a + 1);
    expected.emplace_back(s.substr(0, a), std::stoi(s.substr(a + 1, b - a - 1)), s.substr(b + 1));
  }
  ASSERT_EQ(pclose(pipe), 0);
  ASSERT_GT(expected.size(), 3000u);
  DetailRig rig(words);
  int wrong = 0;
  for (const auto& [prefix, index, text] : expected) {
    rig.drop->SetTextDirect("");
    rig.drop->SetTextDirect(prefix);
    if (rig.drop->ItemIndex() != index || rig.Text() != text) {
      if (++wrong < 10) ADD_FAILURE() << prefix << ": " << rig.Text() << " #" << rig.drop->ItemIndex();
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << expected.size();
  // Enter is case-sensitive: "aaa" is no caption, "AAA" is.
  rig.drop->SetFocus();
  Pump();
  rig.drop->SetItemIndex(-1);
  rig.drop->SetTextDirect("aaa");
  rig.drop->SetItemIndex(-1);
  Key(rig.drop, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(rig.drop->ItemIndex(), -1);
  rig.drop->SetTextDirect("AAA");
  rig.drop->SetItemIndex(-1);
  Key(rig.drop, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(rig.drop->ItemIndex(), rig.drop->Items()->IndexOfCaption("AAA"));
  EXPECT_GE(rig.drop->ItemIndex(), 0);
}

}  // namespace
}  // namespace dropdown
