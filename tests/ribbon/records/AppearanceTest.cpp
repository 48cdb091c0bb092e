// The ribbon's tab, page, caption, group and quick access records: their
// constructor values, one notification per differing setter, Assign's
// silent and by-setter members, and the routing of nested changes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "rtl/Exceptions.h"
#include "ribbon/RorIvezEviAppearance.h"

namespace {

using ribbon::TColor;
using controls::TGDIPGradient;

struct AppearanceEventTally {
  int count = 0;
  vcl::TNotifyEvent Hook() {
    return [this](vcl::TObject*) { ++count; };
  }
};

// One scalar member of a record: its constructor value and access as an
// integer, so a single table covers colours, gradients and metrics.
struct AppearanceMember {
  const char* name;
  long long initial;
  std::function<long long()> get;
  std::function<void(long long)> set;
};

#define APPEARANCE_MEMBER(Obj, Type, Name, Init)                                         \
  AppearanceMember {                                                                     \
    #Name, static_cast<long long>(Init), [&] { return static_cast<long long>(Obj.Name()); }, \
        [&](long long v) { Obj.Set##Name(static_cast<Type>(v)); }                        \
  }

// For every member: the constructor value, no event for an equal value,
// exactly one for a different one.
void CheckMembers(ribbon::TRibbonRecord& record, const std::vector<AppearanceMember>& members,
                  long long otherValue) {
  AppearanceEventTally t;
  record.OnChange = t.Hook();
  for (const auto& m : members) {
    EXPECT_EQ(m.get(), m.initial) << m.name;
    int before = t.count;
    m.set(m.get());
    EXPECT_EQ(t.count, before) << m.name << ": equal value fired";
    long long other = m.initial == otherValue ? otherValue - 1 : otherValue;
    m.set(other);
    EXPECT_EQ(t.count, before + 1) << m.name;
    EXPECT_EQ(m.get(), other) << m.name;
  }
}

constexpr long long kGV = static_cast<long long>(controls::ggVertical);

TEST(RibbonAppearance, TabAppearanceMembersIncludingBorderAndHighlightColours) {
  ribbon::TTabAppearance a;
  using T = TColor;
  using G = TGDIPGradient;
  std::vector<AppearanceMember> colours = {
      APPEARANCE_MEMBER(a, T, BorderColor, vcl::clBtnFace), APPEARANCE_MEMBER(a, T, BorderColorHot, vcl::clBlue),
      APPEARANCE_MEMBER(a, T, BorderColorSelected, vcl::clBtnFace),
      APPEARANCE_MEMBER(a, T, BorderColorSelectedHot, vcl::clNone),
      APPEARANCE_MEMBER(a, T, BorderColorDisabled, vcl::clNone), APPEARANCE_MEMBER(a, T, BorderColorDown, vcl::clNone),
      APPEARANCE_MEMBER(a, T, Color, vcl::clBtnFace), APPEARANCE_MEMBER(a, T, ColorTo, vcl::clWhite),
      APPEARANCE_MEMBER(a, T, ColorSelected, vcl::clWhite), APPEARANCE_MEMBER(a, T, ColorSelectedTo, vcl::clBtnFace),
      APPEARANCE_MEMBER(a, T, ColorDisabled, vcl::clNone), APPEARANCE_MEMBER(a, T, ColorDisabledTo, vcl::clNone),
      APPEARANCE_MEMBER(a, T, ColorHot, vcl::clYellow), APPEARANCE_MEMBER(a, T, ColorHotTo, vcl::clNone),
      APPEARANCE_MEMBER(a, T, ColorMirror, vcl::clWhite), APPEARANCE_MEMBER(a, T, ColorMirrorTo, vcl::clWhite),
      APPEARANCE_MEMBER(a, T, ColorMirrorHot, vcl::clNone), APPEARANCE_MEMBER(a, T, ColorMirrorHotTo, vcl::clNone),
      APPEARANCE_MEMBER(a, T, ColorMirrorSelected, vcl::clWhite),
      APPEARANCE_MEMBER(a, T, ColorMirrorSelectedTo, vcl::clWhite),
      APPEARANCE_MEMBER(a, T, ColorMirrorDisabled, vcl::clNone),
      APPEARANCE_MEMBER(a, T, ColorMirrorDisabledTo, vcl::clNone), APPEARANCE_MEMBER(a, T, TextColor, vcl::clBlue),
      APPEARANCE_MEMBER(a, T, TextColorHot, vcl::clBlue), APPEARANCE_MEMBER(a, T, TextColorSelected, vcl::clBlue),
      APPEARANCE_MEMBER(a, T, TextColorDisabled, vcl::clWhite), APPEARANCE_MEMBER(a, T, ShadowColor, 0xE8C7AE),
      APPEARANCE_MEMBER(a, T, HighLightColor, 0xFFFABF), APPEARANCE_MEMBER(a, T, HighLightColorHot, 0xFDF4ED),
      APPEARANCE_MEMBER(a, T, HighLightColorSelected, 0x63CCF8),
      APPEARANCE_MEMBER(a, T, HighLightColorSelectedHot, 0xBDFFFF),
      APPEARANCE_MEMBER(a, T, HighLightColorDown, 0xFFFBD0),
  };
  CheckMembers(a, colours, 0x123456);
  std::vector<AppearanceMember> gradients = {
      APPEARANCE_MEMBER(a, G, Gradient, kGV),         APPEARANCE_MEMBER(a, G, GradientMirror, kGV),
      APPEARANCE_MEMBER(a, G, GradientHot, kGV),      APPEARANCE_MEMBER(a, G, GradientMirrorHot, kGV),
      APPEARANCE_MEMBER(a, G, GradientSelected, kGV), APPEARANCE_MEMBER(a, G, GradientMirrorSelected, kGV),
      APPEARANCE_MEMBER(a, G, GradientDisabled, kGV), APPEARANCE_MEMBER(a, G, GradientMirrorDisabled, kGV),
  };
  CheckMembers(a, gradients, static_cast<long long>(controls::ggRadial));
  EXPECT_EQ(std::string(a.Font()->Name()), std::string(ribbon::DefaultToolbarFontName()));
  EXPECT_EQ(a.Font()->Size(), 8);

  // The tab row background's own changes reach the record's event; fonts
  // and SystemFont never fire.
  AppearanceEventTally t;
  a.OnChange = t.Hook();
  a.BackGround()->SetColor(a.BackGround()->Color());
  EXPECT_EQ(t.count, 1);
  vcl::TFont f;
  f.SetName("Courier New");
  a.SetFont(&f);
  a.SetSystemFont(false);
  EXPECT_EQ(std::string(a.Font()->Name()), "Courier New");
  a.SetSystemFont(true);
  EXPECT_EQ(std::string(a.Font()->Name()), std::string(ribbon::DefaultToolbarFontName()));
  EXPECT_EQ(t.count, 1);
}

TEST(RibbonAppearance, TabAppearanceAssignSilentExceptTheTwoTextColours) {
  ribbon::TTabAppearance from, to;
  AppearanceEventTally t;
  to.OnChange = t.Hook();
  from.SetColor(0x010203);
  from.SetHighLightColorDown(0x040506);
  from.SetGradientSelected(controls::ggRadial);
  from.SetTextColorSelected(0x0A0B0C);
  from.BackGround()->SetColor(0x111111);
  vcl::TFont f;
  f.SetName("Courier New");
  from.SetFont(&f);
  from.SetSystemFont(false);
  to.Assign(&from);
  EXPECT_EQ(t.count, 0);
  EXPECT_EQ(to.Color(), 0x010203u);
  EXPECT_EQ(to.HighLightColorDown(), 0x040506u);
  EXPECT_EQ(to.GradientSelected(), controls::ggRadial);
  EXPECT_EQ(to.TextColorSelected(), 0x0A0B0Cu);
  EXPECT_EQ(to.BackGround()->Color(), 0x111111u);
  EXPECT_EQ(std::string(to.Font()->Name()), "Courier New");
  EXPECT_TRUE(to.SystemFont());
  from.SetTextColor(0x00FF00);
  from.SetTextColorHot(0x00FF01);
  to.Assign(&from);
  EXPECT_EQ(t.count, 2);
  ribbon::TQATAppearance unrelated;
  EXPECT_THROW(to.Assign(&unrelated), rtl::EConvertError);
}

TEST(RibbonAppearance, CaptionAndTabSettingsValuesAndAssign) {
  ribbon::TLumPageCaption c;
  using I = int;
  std::vector<AppearanceMember> cm = {
      APPEARANCE_MEMBER(c, bool, Visible, 1), APPEARANCE_MEMBER(c, I, Height, 27),
      APPEARANCE_MEMBER(c, I, Indent, 100), APPEARANCE_MEMBER(c, I, MinWidth, 100)};
  CheckMembers(c, cm, 0);
  EXPECT_EQ(c.RightIndent(), 0);
  ribbon::TLumPageCaption src, dst;
  src.SetCaption("Tolvane");
  src.SetHeight(40);
  src.SetIndent(50);
  AppearanceEventTally t;
  dst.OnChange = t.Hook();
  dst.Assign(&src);  // caption and height silently; indent by setter
  EXPECT_EQ(std::string(dst.Caption()), "Tolvane");
  EXPECT_EQ(dst.Height(), 40);
  EXPECT_EQ(dst.Indent(), 50);
  EXPECT_EQ(t.count, 1);

  ribbon::TRIETabSettings s;
  std::vector<AppearanceMember> sm = {
      APPEARANCE_MEMBER(s, I, LeftMargin, 4),  APPEARANCE_MEMBER(s, I, RightMargin, 4),
      APPEARANCE_MEMBER(s, I, StartMargin, 60), APPEARANCE_MEMBER(s, I, EndMargin, 0),
      APPEARANCE_MEMBER(s, I, Height, 26),      APPEARANCE_MEMBER(s, I, Spacing, 4)};
  CheckMembers(s, sm, 9);
  EXPECT_EQ(s.SpacingLimit(), 3);
  EXPECT_EQ(s.MarginLimit(), 3);
  ribbon::TRIETabSettings other;
  AppearanceEventTally st;
  other.OnChange = st.Hook();
  other.Assign(&s);  // all five copied by setter; Spacing stays
  EXPECT_EQ(st.count, 5);
  EXPECT_EQ(other.LeftMargin(), 9);
  EXPECT_EQ(other.Spacing(), 4);
}

TEST(RibbonAppearance, VistaBackgroundsCaptionAndQatMembers) {
  using T = TColor;
  using G = TGDIPGradient;
  ribbon::TVistaPageBackground p;
  std::vector<AppearanceMember> pm = {
      APPEARANCE_MEMBER(p, T, BorderColor, vcl::clGray),  APPEARANCE_MEMBER(p, T, Color, vcl::clWhite),
      APPEARANCE_MEMBER(p, T, ColorTo, vcl::clWhite),     APPEARANCE_MEMBER(p, T, ColorMirror, vcl::clSilver),
      APPEARANCE_MEMBER(p, T, ColorMirrorTo, vcl::clWhite), APPEARANCE_MEMBER(p, G, Gradient, kGV),
      APPEARANCE_MEMBER(p, G, GradientMirror, kGV),       APPEARANCE_MEMBER(p, int, Steps, 64),
      APPEARANCE_MEMBER(p, T, ShadowColor, 0xC4AA96),     APPEARANCE_MEMBER(p, T, HighLightColor, 0xFDF9CE)};
  CheckMembers(p, pm, 2);

  ribbon::TVistaTextBackground tb;
  std::vector<AppearanceMember> tm = {APPEARANCE_MEMBER(tb, T, TextColor, vcl::clBlue),
                                      APPEARANCE_MEMBER(tb, T, TextColorExtended, vcl::clGray)};
  CheckMembers(tb, tm, 5);

  ribbon::TCaptionAppearance ca;
  std::vector<AppearanceMember> cm = {
      APPEARANCE_MEMBER(ca, T, CaptionColor, vcl::clGray),       APPEARANCE_MEMBER(ca, T, CaptionColorTo, vcl::clNone),
      APPEARANCE_MEMBER(ca, T, CaptionTextColor, vcl::clWhite),  APPEARANCE_MEMBER(ca, T, CaptionBorderColor, vcl::clNone),
      APPEARANCE_MEMBER(ca, T, CaptionColorHot, vcl::clNone),    APPEARANCE_MEMBER(ca, T, CaptionColorHotTo, vcl::clNone),
      APPEARANCE_MEMBER(ca, T, CaptionTextColorHot, vcl::clWhite),
      APPEARANCE_MEMBER(ca, T, CaptionBorderColorHot, vcl::clNone)};
  CheckMembers(ca, cm, 7);

  ribbon::TQATAppearance q;
  std::vector<AppearanceMember> qm = {
      APPEARANCE_MEMBER(q, T, BorderColor, vcl::clGray),        APPEARANCE_MEMBER(q, T, Color, vcl::clWhite),
      APPEARANCE_MEMBER(q, T, ColorTo, vcl::clSilver),          APPEARANCE_MEMBER(q, T, FullSizeBorderColor, 0xC59F81),
      APPEARANCE_MEMBER(q, T, FullSizeColor, 0xE3B28D),         APPEARANCE_MEMBER(q, T, FullSizeColorTo, 0xE3B28D),
      APPEARANCE_MEMBER(q, int, Steps, 64)};
  CheckMembers(q, qm, 3);
}

TEST(RibbonAppearance, AssignTablesOfTheSmallerRecords) {
  // Each case: the source differs in every member; the tally counts what
  // went through setters.
  {
    ribbon::TVistaTextBackground from, to;
    from.SetColor(1), from.SetSteps(10), from.SetGradient(controls::ggRadial), from.SetTextColor(2);
    from.SetTextColorExtended(3);
    AppearanceEventTally t;
    to.OnChange = t.Hook();
    to.Assign(&from);
    EXPECT_EQ(t.count, 3);  // Gradient, TextColor, TextColorExtended
    EXPECT_EQ(to.Color(), 1u);
    EXPECT_EQ(to.Steps(), 10);
    EXPECT_EQ(to.TextColorExtended(), 3u);
    ribbon::TVistaPageBackground plain;  // a plain vista source: inherited part only
    plain.SetColor(9);
    to.Assign(&plain);
    EXPECT_EQ(to.Color(), 9u);
    EXPECT_EQ(to.TextColor(), 2u);
  }
  {
    ribbon::TCaptionAppearance from, to;
    from.SetCaptionColor(1), from.SetCaptionColorHot(2), from.SetCaptionColorHotTo(3);
    from.SetCaptionTextColorHot(4), from.SetCaptionBorderColorHot(5);
    AppearanceEventTally t;
    to.OnChange = t.Hook();
    to.Assign(&from);
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(to.CaptionColor(), 1u);
    EXPECT_EQ(to.CaptionBorderColorHot(), 5u);
    EXPECT_EQ(to.CaptionTextColorHot(), 4u);
  }
  {
    ribbon::TQATAppearance from, to;
    from.SetColor(1), from.SetFullSizeColorTo(2), from.SetSteps(16);
    AppearanceEventTally t;
    to.OnChange = t.Hook();
    to.Assign(&from);
    EXPECT_EQ(t.count, 1);
    EXPECT_EQ(to.Color(), 1u);
    EXPECT_EQ(to.FullSizeColorTo(), 2u);
    EXPECT_EQ(to.Steps(), 64);
  }
}

TEST(RibbonAppearance, ToolBarAndGroupAppearanceNesting) {
  ribbon::TToolBarAppearance tb;
  EXPECT_EQ(tb.BorderColor(), vcl::clNone);
  EXPECT_EQ(tb.Color()->Color(), vcl::clWhite);
  EXPECT_EQ(tb.ColorHot()->Color(), vcl::clNone);
  EXPECT_EQ(tb.ColorHot()->ColorTo(), vcl::clNone);
  AppearanceEventTally tt;
  tb.OnChange = tt.Hook();
  tb.Color()->SetColorTo(0x123456);  // the gradients are not watched
  EXPECT_EQ(tt.count, 0);

  ribbon::TGroupAppearance g;
  EXPECT_EQ(g.BorderColor(), 0xA3B8ACu);
  EXPECT_EQ(g.TextColor(), vcl::clBlue);
  AppearanceEventTally gt;
  g.OnChange = gt.Hook();
  g.TabAppearance()->SetColorHot(0x00FF00);
  g.CaptionAppearance()->SetCaptionColor(1);
  g.PageAppearance()->SetShadowColor(2);
  g.ToolBarAppearance()->SetBorderColor(3);
  EXPECT_EQ(gt.count, 4);
  g.ToolBarAppearance()->Color()->SetColorTo(0x123456);  // not watched two levels down either
  EXPECT_EQ(gt.count, 4);

  ribbon::TGroupAppearance copy;
  AppearanceEventTally ct;
  copy.OnChange = ct.Hook();
  g.SetColor(0x0F0F0F);
  g.SetGradient(controls::ggRadial);
  copy.Assign(&g);
  EXPECT_EQ(copy.Color(), 0x0F0F0Fu);
  EXPECT_EQ(copy.TabAppearance()->ColorHot(), 0x00FF00u);  // silently inside
  EXPECT_EQ(copy.ToolBarAppearance()->BorderColor(), 3u);
  EXPECT_EQ(copy.ToolBarAppearance()->Color()->ColorTo(), 0x123456u);
  EXPECT_EQ(ct.count, 1);  // Gradient only
}

TEST(RibbonAppearance, TabGroupsRouteItemChangesToTheCollection) {
  ribbon::TLumPageCaption pagerStandIn;
  ribbon::TTabGroups groups(&pagerStandIn);
  int fired = 0;
  ribbon::TTabGroups* sender = nullptr;
  groups.OnChange = [&](ribbon::TTabGroups* s) {
    ++fired;
    sender = s;
  };
  ribbon::TTabGroupItem* item = groups.Add();
  ribbon::TTabGroupItem* second = groups.Add();
  EXPECT_EQ(fired, 0);  // adding does not fire
  EXPECT_EQ(groups.GetOwner(), &pagerStandIn);
  EXPECT_EQ(item->ImageIndex(), -1);
  EXPECT_EQ(item->TabIndexStart(), -1);
  EXPECT_EQ(item->TabIndexEnd(), -1);
  EXPECT_TRUE(item->DefaultAppearance());
  EXPECT_EQ(item->CaptionAlignment(), vcl::TAlignment::taLeftJustify);
  item->SetCaption("Tools");
  item->SetCaption("Tools");
  item->GroupAppearance()->TabAppearance()->SetColorHot(0x00FF00);
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(sender, &groups);
  item->SetTabIndexStart(1);
  item->SetCaptionAlignment(vcl::TAlignment::taCenter);
  item->SetDefaultAppearance(false);
  fired = 0;
  second->Assign(item);
  EXPECT_EQ(fired, 2);  // Caption and TabIndexStart differ
  EXPECT_EQ(std::string(second->Caption()), "Tools");
  EXPECT_EQ(second->CaptionAlignment(), vcl::TAlignment::taLeftJustify);
  EXPECT_TRUE(second->DefaultAppearance());
  EXPECT_NE(second->GroupAppearance()->TabAppearance()->ColorHot(), 0x00FF00u);
  groups.Delete(0);
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(groups.Count(), 1);
}

}  // namespace
