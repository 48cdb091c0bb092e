// Option groups: defaults, the setters that put a value outside its range
// back to the default, and the round trip through a form stream.
#include <gtest/gtest.h>

#include <functional>

#include "htmledit/view/psPropertyGroups.h"
#include "rtl/Streams.h"
#include "vcl/Controls.h"
#include "vcl/Filer.h"

namespace {

using namespace htmlview;

TEST(PropertyGroups, Defaults) {
  TpsCodeGenerator code;
  EXPECT_TRUE(code.BeautifyCode);
  EXPECT_EQ(code.IndentationSize(), 2);
  EXPECT_EQ(code.LineLength(), 80);
  EXPECT_TRUE(code.GenerateStylesheet);
  EXPECT_TRUE(code.PutNBSPIntoEmptyBlocks);
  EXPECT_EQ(code.DocType, "");
  EXPECT_FALSE(code.EmptyTitles);
  EXPECT_FALSE(code.SaveLastEditingPosition);
  EXPECT_EQ(code.EditingPositionComment, "<!-- EDITING POSITION -->");
  EXPECT_FALSE(code.NumericCharRefs);

  TpsEditingOptions editing;
  EXPECT_TRUE(editing.AllowMultipleLineBreaks);
  EXPECT_TRUE(editing.AllowMultipleEmptyBlocks);
  EXPECT_FALSE(editing.AllowMultipleSpaces);
  EXPECT_EQ(editing.TabStops, 0);
  EXPECT_TRUE(editing.Shortcuts().Bold);
  EXPECT_TRUE(editing.Shortcuts().Italic);
  EXPECT_TRUE(editing.Shortcuts().Underline);

  EXPECT_TRUE(TpsScrollBars().VertVisible);

  TImageDragging dragging;
  EXPECT_EQ(dragging.ImageDragTreshold(), 8);
  EXPECT_EQ(dragging.ImageDragGrayoutColor, 0u);
  EXPECT_EQ(dragging.ImageDragGrayoutAlpha(), 25);
  EXPECT_EQ(dragging.ImageDragTargetBarColor, 255u);
  EXPECT_EQ(dragging.ImageDragTargetBarWidth(), 100);

  TImageResizing resizing;
  EXPECT_EQ(resizing.ImageResizeConstraints().MinWidth, 30);
  EXPECT_EQ(resizing.ImageResizeConstraints().MinHeight, 30);
  EXPECT_EQ(resizing.ImageResizeConstraints().MaxWidth, 1000);
  EXPECT_EQ(resizing.ImageResizeConstraints().MaxHeight, 1000);
  EXPECT_TRUE(resizing.ImageResizeAlphaBlended);
  EXPECT_EQ(resizing.ImageResizeAlpha(), 50);
  EXPECT_TRUE(resizing.ImageResizeKeepProportion);

  TpsTables tables;
  EXPECT_TRUE(tables.VirtualBorders().Enabled);
  EXPECT_EQ(tables.VirtualBorders().Color, 0x808080u);
  EXPECT_EQ(tables.VirtualBorders().Style, bstDashed);
}

TEST(PropertyGroups, SettersPutValuesOutsideTheirRangeBackToTheDefault) {
  struct Row {
    const char* name;
    std::function<void(Integer)> set;
    std::function<Integer()> get;
    Integer value, expected;
  };
  TpsCodeGenerator code;
  TImageDragging dragging;
  TImageResizing resizing;
  const auto indentation = [&](Integer v) { code.SetIndentationSize(v); };
  const auto lineLength = [&](Integer v) { code.SetLineLength(v); };
  const auto threshold = [&](Integer v) { dragging.SetImageDragTreshold(v); };
  const auto grayout = [&](Integer v) { dragging.SetImageDragGrayoutAlpha(v); };
  const auto barWidth = [&](Integer v) { dragging.SetImageDragTargetBarWidth(v); };
  const auto resizeAlpha = [&](Integer v) { resizing.SetImageResizeAlpha(v); };
  const std::vector<Row> rows = {
      {"IndentationSize", indentation, [&] { return code.IndentationSize(); }, -1, 2},
      {"IndentationSize", indentation, [&] { return code.IndentationSize(); }, 0, 0},
      {"IndentationSize", indentation, [&] { return code.IndentationSize(); }, 7, 7},
      {"LineLength", lineLength, [&] { return code.LineLength(); }, 9, 80},
      {"LineLength", lineLength, [&] { return code.LineLength(); }, 10, 10},
      {"ImageDragTreshold", threshold, [&] { return dragging.ImageDragTreshold(); }, 0, 8},
      {"ImageDragTreshold", threshold, [&] { return dragging.ImageDragTreshold(); }, -3, 8},
      {"ImageDragTreshold", threshold, [&] { return dragging.ImageDragTreshold(); }, 1, 1},
      {"ImageDragGrayoutAlpha", grayout, [&] { return dragging.ImageDragGrayoutAlpha(); }, 101, 25},
      {"ImageDragGrayoutAlpha", grayout, [&] { return dragging.ImageDragGrayoutAlpha(); }, 100, 100},
      {"ImageDragGrayoutAlpha", grayout, [&] { return dragging.ImageDragGrayoutAlpha(); }, -1, 25},
      {"ImageDragGrayoutAlpha", grayout, [&] { return dragging.ImageDragGrayoutAlpha(); }, 0, 0},
      {"ImageDragTargetBarWidth", barWidth, [&] { return dragging.ImageDragTargetBarWidth(); }, 150, 100},
      {"ImageDragTargetBarWidth", barWidth, [&] { return dragging.ImageDragTargetBarWidth(); }, 40, 40},
      {"ImageResizeAlpha", resizeAlpha, [&] { return resizing.ImageResizeAlpha(); }, -5, 50},
      {"ImageResizeAlpha", resizeAlpha, [&] { return resizing.ImageResizeAlpha(); }, 100, 100},
  };
  for (const Row& r : rows) {
    r.set(r.value);
    EXPECT_EQ(r.get(), r.expected) << r.name << " := " << r.value;
  }
  EXPECT_TRUE(TImageDragging::IsPercent(0));
  EXPECT_TRUE(TImageDragging::IsPercent(100));
  EXPECT_FALSE(TImageDragging::IsPercent(101));
}

// The editor's groups as a form stores them, under their published names.
struct Groups {
  TpsCodeGenerator CodeGenerator;
  TpsEditingOptions EditingOptions;
  TpsScrollBars ScrollBars;
  TImageDragging ImageDragging;
  TImageResizing ImageResizing;
  TpsTables Tables;
  void Define(vcl::TFiler& f) {
    CodeGenerator.DefineProperties(f, "CodeGenerator");
    EditingOptions.DefineProperties(f, "EditingOptions");
    ScrollBars.DefineProperties(f, "ScrollBars");
    ImageDragging.DefineProperties(f, "ImageDragging");
    ImageResizing.DefineProperties(f, "ImageResizing");
    Tables.DefineProperties(f, "Tables");
  }
};

// Writes the groups, then reads every stored property into a fresh set;
// the names stored, in order.
std::vector<std::string> RoundTrip(Groups& aFrom, Groups& aTo) {
  rtl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    aFrom.Define(writer);
  }
  const rtl::Int64 end = stream.Position();
  stream.SetPosition(0);
  std::vector<std::string> names;
  vcl::TReader reader(stream);
  while (stream.Position() < end) {
    const rtl::Int64 at = stream.Position();
    names.push_back(reader.ReadStr());
    stream.SetPosition(at);
    reader.ReadDefinedProperty("THTMLEdit", [&](vcl::TFiler& f) { aTo.Define(f); });
  }
  return names;
}

TEST(PropertyGroups, AFormStoresWhatDiffersAndReadsItBack) {
  Groups form;
  form.CodeGenerator.SetLineLength(65);
  form.EditingOptions.AllowMultipleSpaces = true;
  Groups read;
  read.CodeGenerator.EditingPositionComment = "x";
  const std::vector<std::string> names = RoundTrip(form, read);
  // The comment has no stored default: always written.
  EXPECT_EQ(names, (std::vector<std::string>{"CodeGenerator.LineLength", "CodeGenerator.EditingPositionComment",
                                              "EditingOptions.AllowMultipleSpaces"}));
  EXPECT_EQ(read.CodeGenerator.LineLength(), 65);
  EXPECT_TRUE(read.EditingOptions.AllowMultipleSpaces);
  EXPECT_EQ(read.CodeGenerator.EditingPositionComment, "<!-- EDITING POSITION -->");

  // Every group, nested ones too.
  Groups all;
  all.CodeGenerator.DocType = "html";
  all.CodeGenerator.SetIndentationSize(4);
  all.EditingOptions.TabStops = 3;
  all.EditingOptions.Shortcuts().Italic = false;
  all.ScrollBars.VertVisible = false;
  all.ImageDragging.SetImageDragGrayoutAlpha(60);
  all.ImageDragging.ImageDragTargetBarColor = 0xFF0000;
  all.ImageResizing.ImageResizeConstraints().MaxWidth = 640;
  all.ImageResizing.SetImageResizeAlpha(70);
  all.Tables.VirtualBorders().Style = bstDotted;
  all.Tables.VirtualBorders().Color = 0x123456;
  Groups back;
  RoundTrip(all, back);
  EXPECT_EQ(back.CodeGenerator.DocType, "html");
  EXPECT_EQ(back.CodeGenerator.IndentationSize(), 4);
  EXPECT_EQ(back.EditingOptions.TabStops, 3);
  EXPECT_FALSE(back.EditingOptions.Shortcuts().Italic);
  EXPECT_TRUE(back.EditingOptions.Shortcuts().Bold);
  EXPECT_FALSE(back.ScrollBars.VertVisible);
  EXPECT_EQ(back.ImageDragging.ImageDragGrayoutAlpha(), 60);
  EXPECT_EQ(back.ImageDragging.ImageDragTargetBarColor, 0xFF0000u);
  EXPECT_EQ(back.ImageResizing.ImageResizeConstraints().MaxWidth, 640);
  EXPECT_EQ(back.ImageResizing.ImageResizeConstraints().MinWidth, 30);
  EXPECT_EQ(back.ImageResizing.ImageResizeAlpha(), 70);
  EXPECT_EQ(back.Tables.VirtualBorders().Style, bstDotted);
  EXPECT_EQ(back.Tables.VirtualBorders().Color, 0x123456u);
}

TEST(PropertyGroups, ReadValuesPassTheSetters) {
  // A form written with a value a setter refuses reads back as the default.
  rtl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    writer.WriteStr("ImageDragging.ImageDragTreshold");
    writer.WriteInteger(-4);
    writer.WriteStr("Tables.VirtualBorders.Style");
    writer.WriteString("bstNowhere");
  }
  stream.SetPosition(0);
  Groups g;
  g.ImageDragging.SetImageDragTreshold(3);
  vcl::TReader reader(stream);
  reader.ReadDefinedProperty("THTMLEdit", [&](vcl::TFiler& f) { g.Define(f); });
  EXPECT_EQ(g.ImageDragging.ImageDragTreshold(), 8);
  EXPECT_THROW(reader.ReadDefinedProperty("THTMLEdit", [&](vcl::TFiler& f) { g.Define(f); }), rtl::EReadError);
  EXPECT_EQ(g.Tables.VirtualBorders().Style, bstDashed);
  EXPECT_EQ(BorderStyleName(bstOutset), "bstOutset");
  EXPECT_EQ(BorderStyleFromName("bstNone"), 0);
  EXPECT_EQ(BorderStyleFromName("none"), -1);
}

}  // namespace
