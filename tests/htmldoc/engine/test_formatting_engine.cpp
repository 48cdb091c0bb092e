// Bold, italic and underline toggled on random ranges as the editor
// toggles them, beside QTextDocument given the same toggles: the editor
// selects the range, asks which tags cover the selection, marks the
// selected run of each block and removes the tag where it covers the
// selection, applies it elsewhere; QTextDocument merges the weight, italic
// or underline for the same characters. Afterwards every character has the
// same formatting in both.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/StringList.h"

using namespace htmldoc;

namespace {

struct Format {
  bool Bold = false, Italic = false, Underline = false;
  bool operator==(const Format&) const = default;
};

std::string Shown(const std::vector<Format>& aFormats) {
  std::string text;
  for (const Format& f : aFormats) text += f.Bold ? (f.Italic ? (f.Underline ? '*' : 'J') : (f.Underline ? 'V' : 'B'))
                                                  : (f.Italic ? (f.Underline ? 'W' : 'I') : (f.Underline ? 'U' : '.'));
  return text;
}

// The formatting of each character of the list: the inline tags open at it.
std::vector<Format> ModelFormats(TpsDataChunk& aChunk) {
  std::vector<Format> formats;
  for (TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    if (e->Kind != ceChar) continue;
    Format f;
    aChunk.ForEachInlineTagAround(e, [&](Integer, TpsChunkElement* aTag) {
      const Byte code = TpsDataChunk::TagCodeOf(aTag);
      f.Bold = f.Bold || code == TAG_B;
      f.Italic = f.Italic || code == TAG_I;
      f.Underline = f.Underline || code == TAG_U;
    });
    formats.push_back(f);
  }
  return formats;
}

// The formatting of each character of the document, block separators left
// out.
std::vector<Format> EngineFormats(const QTextDocument& aDocument) {
  std::vector<Format> formats;
  for (QTextBlock block = aDocument.begin(); block.isValid(); block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      Format f{format.fontWeight() >= QFont::Bold, format.fontItalic(), format.fontUnderline()};
      for (int i = 0; i < fragment.length(); ++i) formats.push_back(f);
    }
  }
  return formats;
}

class FormattingBesideAnEngine : public ::testing::TestWithParam<uint32_t> {};

TEST_P(FormattingBesideAnEngine, TogglesAgree) {
  std::mt19937 random(GetParam());
  const auto below = [&](uint32_t aBound) { return std::uniform_int_distribution<uint32_t>(0, aBound - 1)(random); };

  // A few paragraphs of words.
  static const char16_t kLetters[] = u"abcdefghijklmnopqrstuvwxyz";
  std::vector<std::u16string> paragraphs(1 + below(3));
  for (auto& paragraph : paragraphs) {
    for (uint32_t word = 2 + below(8); word > 0; --word) {
      if (!paragraph.empty()) paragraph += u' ';
      for (uint32_t n = 1 + below(7); n > 0; --n) paragraph += kLetters[below(26)];
    }
  }
  TpsStyleSheet sheet;
  const TpsHtmlTagEventsRef events = htmldoc::testing::SheetEvents(sheet);
  TpsDataChunk chunk;
  QString plain;
  for (const auto& paragraph : paragraphs) {
    chunk.AddTag(TpsHtmlTag::CreateFromText(events, "<p>"));
    chunk.InsertTextAt(paragraph, nullptr, true);
    chunk.AddTag(TpsHtmlTag::CreateFromText(events, "</p>"));
    if (!plain.isEmpty()) plain += u'\n';
    plain += QString::fromStdU16String(paragraph);
  }
  QTextDocument document;
  document.setPlainText(plain);

  std::vector<TpsChunkElement*> characters;
  for (TpsChunkElement* e = chunk.First(); e; e = e->Next)
    if (e->Kind == ceChar) characters.push_back(e);
  // Engine position of each character: one separator between blocks.
  std::vector<int> positions;
  {
    int position = 0;
    for (const auto& paragraph : paragraphs) {
      for (size_t i = 0; i < paragraph.size(); ++i) positions.push_back(position++);
      ++position;
    }
  }

  for (int toggle = 0; toggle < 60; ++toggle) {
    uint32_t first = below(static_cast<uint32_t>(characters.size()));
    uint32_t last = below(static_cast<uint32_t>(characters.size()));
    if (first > last) std::swap(first, last);
    static const char* const kTags[] = {"<b>", "<i>", "<u>"};
    const uint32_t which = below(3);
    const AnsiString tag = kTags[which];

    chunk.SetSelection(true, characters[first]->Id, characters[last]->Id, true);
    const std::unique_ptr<rtl::TStringList> covering = chunk.GetTagsCoveringSelection(&sheet);
    const bool remove = covering->IndexOf(tag) >= 0;
    Integer marker = 100;
    for (TpsChunkElement* e = chunk.First(); e && (e = chunk.MarkNextSelectedRun(e, marker));) {
    }
    for (Integer m = 100; m < marker; m += 2) {
      if (remove) {
        chunk.RemoveTagFromMarkedRange(m, m + 1, tag, &sheet);
      } else {
        chunk.ApplyTagToMarkedRange(events, m, m + 1, tag, &sheet, events->OnStyleAttributeToId);
      }
    }
    chunk.RemoveMarkers(100, INT_MAX);
    chunk.SetSelection(false, 0, 0, true);
    ASSERT_NO_THROW(chunk.Check(0, true));

    QTextCursor cursor(&document);
    cursor.setPosition(positions[first]);
    cursor.setPosition(positions[last] + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    if (which == 0) format.setFontWeight(remove ? QFont::Normal : QFont::Bold);
    if (which == 1) format.setFontItalic(!remove);
    if (which == 2) format.setFontUnderline(!remove);
    cursor.mergeCharFormat(format);

    const std::vector<Format> model = ModelFormats(chunk);
    const std::vector<Format> engine = EngineFormats(document);
    ASSERT_EQ(Shown(model), Shown(engine))
        << "toggle " << toggle << " of " << tag << (remove ? " (removed)" : " (applied)") << " on " << first
        << ".." << last << "\n" << htmldoc::testing::DumpFixture(chunk);
  }
  // The characters themselves never changed.
  size_t index = 0;
  for (TpsChunkElement* e = chunk.First(); e; e = e->Next) {
    if (e->Kind == ceChar) {
      EXPECT_EQ(e, characters[index++]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FormattingBesideAnEngine, ::testing::Range(1u, 41u));

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
