// The toolbar unit's colour records: constructor values, which setters
// notify and when, what Assign copies and what it leaves alone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/LumStyleIF.h"
#include "rtl/Exceptions.h"
#include "ribbon/RorIvezEviRecords.h"

namespace {

using ribbon::TColor;

struct RecordsChangeCounter {
  int count = 0;
  vcl::TObject* last = nullptr;
  vcl::TNotifyEvent Hook() {
    return [this](vcl::TObject* sender) {
      ++count;
      last = sender;
    };
  }
};

TEST(RibbonRecords, GradientBackgroundValuesAndEveryWriteNotifies) {
  ribbon::TGradientBackground g;
  EXPECT_EQ(g.Color(), 0xFFFFFFu);
  EXPECT_EQ(g.ColorTo(), 0xFF00000Fu);
  EXPECT_EQ(g.Direction(), ribbon::gdHorizontal);
  EXPECT_EQ(g.Steps(), 64);
  EXPECT_FALSE(g.StepsStored());
  RecordsChangeCounter c;
  g.OnChange = c.Hook();
  // Same values still fire: one notification per write.
  g.SetColor(g.Color());
  g.SetColorTo(g.ColorTo());
  g.SetDirection(g.Direction());
  g.SetSteps(64);
  EXPECT_EQ(c.count, 4);
  EXPECT_EQ(c.last, &g);
  g.SetSteps(32);
  EXPECT_TRUE(g.StepsStored());
  EXPECT_EQ(c.count, 5);
}

TEST(RibbonRecords, GradientAssignCopiesSilentlyAndIgnoresOthers) {
  ribbon::TVistaGradientBackground from;
  from.SetColor(0x112233);
  from.SetColorTo(0x445566);
  from.SetDirection(ribbon::gdVertical);
  from.SetSteps(16);
  from.Mirror()->SetColorMirror(0x010203);
  ribbon::TGradientBackground plain;
  RecordsChangeCounter c;
  plain.OnChange = c.Hook();
  plain.Assign(&from);
  EXPECT_EQ(plain.Color(), 0x112233u);
  EXPECT_EQ(plain.ColorTo(), 0x445566u);
  EXPECT_EQ(plain.Direction(), ribbon::gdVertical);
  EXPECT_EQ(plain.Steps(), 16);
  EXPECT_EQ(c.count, 0);

  ribbon::TContainerAppearance unrelated;
  EXPECT_NO_THROW(plain.Assign(&unrelated));
  EXPECT_EQ(plain.Color(), 0x112233u);

  // A vista background takes the mirror too; a plain source leaves it.
  ribbon::TVistaGradientBackground vista;
  RecordsChangeCounter mc;
  vista.Mirror()->OnChange = mc.Hook();
  vista.Assign(&plain);
  EXPECT_EQ(vista.Mirror()->ColorMirror(), 0xEDD9C8u);
  vista.Assign(&from);
  EXPECT_EQ(vista.Mirror()->ColorMirror(), 0x010203u);
  EXPECT_EQ(vista.Steps(), 16);
  EXPECT_EQ(mc.count, 0);
}

TEST(RibbonRecords, MirrorGradientNotifiesOnlyOnChangeAndIsNotForwarded) {
  ribbon::TVistaGradientBackground vista;
  ribbon::TMirrorGradient* m = vista.Mirror();
  EXPECT_EQ(m->Color(), 0xFFFFFFu);
  EXPECT_EQ(m->ColorTo(), 0xFF00000Fu);
  EXPECT_EQ(m->ColorMirror(), 0xEDD9C8u);
  EXPECT_EQ(m->ColorMirrorTo(), 0xFFF4E3u);
  RecordsChangeCounter outer, inner;
  vista.OnChange = outer.Hook();
  m->OnChange = inner.Hook();
  struct Case {
    const char* name;
    std::function<TColor()> get;
    std::function<void(TColor)> set;
  };
  std::vector<Case> cases = {
      {"Color", [&] { return m->Color(); }, [&](TColor v) { m->SetColor(v); }},
      {"ColorTo", [&] { return m->ColorTo(); }, [&](TColor v) { m->SetColorTo(v); }},
      {"ColorMirror", [&] { return m->ColorMirror(); }, [&](TColor v) { m->SetColorMirror(v); }},
      {"ColorMirrorTo", [&] { return m->ColorMirrorTo(); }, [&](TColor v) { m->SetColorMirrorTo(v); }},
  };
  for (const auto& k : cases) {
    int before = inner.count;
    k.set(k.get());
    EXPECT_EQ(inner.count, before) << k.name;
    k.set(0x123456);
    EXPECT_EQ(inner.count, before + 1) << k.name;
    EXPECT_EQ(k.get(), 0x123456u) << k.name;
  }
  EXPECT_EQ(outer.count, 0);
  EXPECT_EQ(inner.last, m);

  // Setting the mirror copies into the owned object.
  ribbon::TMirrorGradient other;
  other.SetColor(0x0000FF);
  vista.SetMirror(&other);
  EXPECT_EQ(vista.Mirror(), m);
  EXPECT_EQ(m->Color(), 0x0000FFu);

  ribbon::TGradientBackground unrelated;
  try {
    m->Assign(&unrelated);
    ADD_FAILURE() << "no conversion error";
  } catch (const rtl::EConvertError& e) {
    EXPECT_EQ(std::string(e.Message()), "Cannot assign a TGradientBackground to a TMirrorGradient");
  }
}

TEST(RibbonRecords, ButtonAppearanceValuesAndOneNotificationPerDifferingSetter) {
  ribbon::TButtonAppearance a;
  using GD = ribbon::TGradientDirection;
  struct Case {
    const char* name;
    TColor initial;
    std::function<TColor()> get;
    std::function<void(TColor)> set;
  };
  auto dir = [](GD d) { return static_cast<TColor>(d); };
  auto todir = [](TColor v) { return v ? ribbon::gdVertical : ribbon::gdHorizontal; };
#define RIBBON_CASE(Name, Init) {#Name, Init, [&] { return a.Name(); }, [&](TColor v) { a.Set##Name(v); }}
#define RIBBON_DIR_CASE(Name) \
  {#Name, dir(ribbon::gdVertical), [&] { return dir(a.Name()); }, [&](TColor v) { a.Set##Name(todir(v)); }}
  std::vector<Case> cases = {
      RIBBON_CASE(Color, vcl::clNone),
      RIBBON_CASE(ColorTo, vcl::clNone),
      RIBBON_CASE(ColorChecked, 0xD8D5D4),
      RIBBON_CASE(ColorCheckedTo, vcl::clNone),
      RIBBON_CASE(ColorDown, 0xB59285),
      RIBBON_CASE(ColorDownTo, vcl::clNone),
      RIBBON_CASE(ColorHot, 0xD2BDB6),
      RIBBON_CASE(ColorHotTo, vcl::clNone),
      RIBBON_CASE(CaptionTextColor, vcl::clBlack),
      RIBBON_CASE(CaptionTextColorHot, vcl::clBlack),
      RIBBON_CASE(CaptionTextColorDown, vcl::clBlack),
      RIBBON_CASE(CaptionTextColorChecked, vcl::clBlack),
      RIBBON_DIR_CASE(GradientDirection),
      RIBBON_DIR_CASE(GradientDirectionHot),
      RIBBON_DIR_CASE(GradientDirectionDown),
      RIBBON_DIR_CASE(GradientDirectionChecked),
      RIBBON_CASE(BorderColor, vcl::clNone),
      RIBBON_CASE(BorderDownColor, 0x6A240A),
      RIBBON_CASE(BorderHotColor, 0x6A240A),
      RIBBON_CASE(BorderCheckedColor, 0x6A240A),
  };
#undef RIBBON_CASE
#undef RIBBON_DIR_CASE
  RecordsChangeCounter c;
  a.OnChange = c.Hook();
  for (const auto& k : cases) {
    EXPECT_EQ(k.get(), k.initial) << k.name;
    int before = c.count;
    k.set(k.get());
    EXPECT_EQ(c.count, before) << k.name << ": an equal value fired";
    TColor other = (k.initial == dir(ribbon::gdVertical)) ? 0 : 0x00ABCDEF;
    k.set(other);
    EXPECT_EQ(c.count, before + 1) << k.name;
    EXPECT_EQ(k.get(), other) << k.name;
  }
  EXPECT_EQ(c.last, &a);
  EXPECT_EQ(std::string(a.CaptionFont()->Name()), controls::IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma");
  EXPECT_TRUE(a.SystemFont());
}

TEST(RibbonRecords, ButtonAppearanceFontAndSystemFont) {
  ribbon::TButtonAppearance a;
  RecordsChangeCounter c;
  a.OnChange = c.Hook();
  const std::string system = std::string(ribbon::DefaultToolbarFontName());
  vcl::TFont f;
  f.SetName("Courier New");
  f.SetSize(14);
  a.SetCaptionFont(&f);
  a.SetCaptionFont(&f);  // always notifies
  EXPECT_EQ(c.count, 2);
  EXPECT_EQ(std::string(a.CaptionFont()->Name()), "Courier New");
  EXPECT_EQ(a.CaptionFont()->Size(), 14);
  a.SetSystemFont(false);
  EXPECT_EQ(std::string(a.CaptionFont()->Name()), "Courier New");
  a.SetSystemFont(true);
  EXPECT_EQ(std::string(a.CaptionFont()->Name()), system);
  EXPECT_EQ(a.CaptionFont()->Size(), 14);
  EXPECT_EQ(c.count, 2);  // SystemFont never notifies
}

TEST(RibbonRecords, ButtonAppearanceAssignCopiesTheListedMembersOnly) {
  ribbon::TButtonAppearance from, to;
  TColor v = 0x010101;
  auto next = [&v] { return v += 0x010203; };
  from.SetColor(next());
  from.SetColorTo(next());
  from.SetColorHot(next());
  from.SetColorHotTo(next());
  from.SetColorDown(next());
  from.SetColorDownTo(next());
  from.SetColorChecked(next());
  from.SetColorCheckedTo(next());
  from.SetCaptionTextColor(next());
  from.SetCaptionTextColorHot(next());
  from.SetCaptionTextColorDown(next());
  from.SetCaptionTextColorChecked(next());
  from.SetBorderColor(next());
  from.SetBorderHotColor(next());
  from.SetBorderDownColor(next());
  from.SetBorderCheckedColor(next());
  from.SetGradientDirection(ribbon::gdHorizontal);
  from.SetGradientDirectionHot(ribbon::gdHorizontal);
  from.SetGradientDirectionDown(ribbon::gdHorizontal);
  from.SetGradientDirectionChecked(ribbon::gdHorizontal);
  vcl::TFont f;
  f.SetName("Courier New");
  from.SetCaptionFont(&f);
  from.SetSystemFont(false);

  RecordsChangeCounter c;
  to.OnChange = c.Hook();
  const std::string font = std::string(to.CaptionFont()->Name());
  to.Assign(&from);
  EXPECT_EQ(c.count, 0);
  EXPECT_EQ(to.Color(), from.Color());
  EXPECT_EQ(to.ColorTo(), from.ColorTo());
  EXPECT_EQ(to.ColorHot(), from.ColorHot());
  EXPECT_EQ(to.ColorHotTo(), from.ColorHotTo());
  EXPECT_EQ(to.ColorDown(), from.ColorDown());
  EXPECT_EQ(to.ColorDownTo(), from.ColorDownTo());
  EXPECT_EQ(to.ColorChecked(), from.ColorChecked());
  EXPECT_EQ(to.ColorCheckedTo(), from.ColorCheckedTo());
  EXPECT_EQ(to.CaptionTextColor(), from.CaptionTextColor());
  EXPECT_EQ(to.CaptionTextColorHot(), from.CaptionTextColorHot());
  EXPECT_EQ(to.CaptionTextColorDown(), from.CaptionTextColorDown());
  EXPECT_EQ(to.CaptionTextColorChecked(), from.CaptionTextColorChecked());
  EXPECT_EQ(to.BorderColor(), from.BorderColor());
  EXPECT_EQ(to.BorderHotColor(), from.BorderHotColor());
  EXPECT_EQ(to.BorderDownColor(), from.BorderDownColor());
  EXPECT_EQ(to.BorderCheckedColor(), from.BorderCheckedColor());
  EXPECT_EQ(to.GradientDirection(), ribbon::gdHorizontal);
  // Left out: per-state directions, font, SystemFont.
  EXPECT_EQ(to.GradientDirectionHot(), ribbon::gdVertical);
  EXPECT_EQ(to.GradientDirectionDown(), ribbon::gdVertical);
  EXPECT_EQ(to.GradientDirectionChecked(), ribbon::gdVertical);
  EXPECT_EQ(std::string(to.CaptionFont()->Name()), font);
  EXPECT_TRUE(to.SystemFont());

  ribbon::TGradientBackground unrelated;
  EXPECT_NO_THROW(to.Assign(&unrelated));
  EXPECT_EQ(to.Color(), from.Color());
}

TEST(RibbonRecords, ContainerAppearanceNotifiesOnChangeAndAssignsThroughSetters) {
  ribbon::TContainerAppearance a, b;
  EXPECT_EQ(a.LineColor(), 0xFF000010u);
  EXPECT_TRUE(a.Line3D());
  RecordsChangeCounter c;
  a.OnChange = c.Hook();
  a.SetLineColor(vcl::clBtnShadow);
  a.SetLine3D(true);
  EXPECT_EQ(c.count, 0);
  a.Assign(&b);  // equal: silent
  EXPECT_EQ(c.count, 0);
  b.SetLineColor(0x00FF00);
  b.SetLine3D(false);
  a.Assign(&b);  // two differences, two notifications
  EXPECT_EQ(c.count, 2);
  EXPECT_EQ(a.LineColor(), 0x00FF00u);
  EXPECT_FALSE(a.Line3D());
  ribbon::TGradientBackground unrelated;
  EXPECT_THROW(a.Assign(&unrelated), rtl::EConvertError);
}

TEST(RibbonRecords, PersistenceNotifiesOnChangeAndAssignsSilently) {
  ribbon::TPersistence p(nullptr), q(nullptr);
  EXPECT_EQ(p.Location(), ribbon::plRegistry);
  EXPECT_EQ(std::string(p.Key()), "");
  EXPECT_EQ(std::string(p.Section()), "");
  EXPECT_FALSE(p.Enabled());
  RecordsChangeCounter c;
  p.OnChange = c.Hook();
  p.SetLocation(ribbon::plRegistry);
  p.SetKey("");
  p.SetSection("");
  p.SetEnabled(false);
  EXPECT_EQ(c.count, 0);
  p.SetLocation(ribbon::plIniFile);
  p.SetKey("Software\\Tolvane");
  p.SetKey("software\\tolvane");  // compared exactly
  p.SetSection("Bars");
  p.SetEnabled(true);
  EXPECT_EQ(c.count, 5);
  q.Assign(&p);
  EXPECT_EQ(q.Location(), ribbon::plIniFile);
  EXPECT_EQ(std::string(q.Key()), "software\\tolvane");
  EXPECT_EQ(std::string(q.Section()), "Bars");
  EXPECT_TRUE(q.Enabled());
  RecordsChangeCounter qc;
  q.OnChange = qc.Hook();
  ribbon::TPersistence r(nullptr);
  q.Assign(&r);
  EXPECT_EQ(qc.count, 0);
  EXPECT_FALSE(q.Enabled());
  ribbon::TGradientBackground unrelated;
  EXPECT_NO_THROW(q.Assign(&unrelated));
}

TEST(RibbonRecords, CheckedListAccessMessages) {
  EXPECT_NO_THROW(ribbon::CheckListRead(2, 3));
  EXPECT_NO_THROW(ribbon::CheckListRead(-1, 3));
  try {
    ribbon::CheckListRead(3, 3);
    ADD_FAILURE();
  } catch (const rtl::EListError& e) {
    EXPECT_EQ(std::string(e.Message()), "Index out of bounds in list read access");
  }
  try {
    ribbon::CheckListWrite(0, 0);
    ADD_FAILURE();
  } catch (const rtl::EListError& e) {
    EXPECT_EQ(std::string(e.Message()), "Index out of bounds in list write access");
  }
}

}  // namespace
