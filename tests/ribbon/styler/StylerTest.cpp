// The toolbar styler base: constructor values, the reason code of every
// setter and nested record, the controls list, the broadcast's dispatch
// by control kind, Assign's partial copy and the menu styler link.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ribbon/RorIvezEviStyler.h"

namespace {

using ribbon::TCustomRorIvezEviStyler;
using ribbon::TStylerClientKind;

// A control that records every styler change it hears.
class StylerRecordingControl : public vcl::TCustomControl, public ribbon::IRorIvezEviStylerClient {
 public:
  StylerRecordingControl(TStylerClientKind kind, std::vector<std::string>* log, const char* name)
      : vcl::TCustomControl(nullptr), kind_(kind), log_(log), name_(name) {}
  TStylerClientKind StylerClientKind() const override { return kind_; }
  void StylerChanged(int Code) override {
    codes.push_back(Code);
    if (log_) log_->push_back(name_ + ":" + std::to_string(Code));
  }
  IRorIvezEviStylerClient* CompactWindowToolBar() override { return compact; }
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return styler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override {
    if (styler_) styler_->UnregisterControl(this);
    styler_ = Value;
    if (styler_) styler_->RegisterControl(this);
  }
  std::vector<int> codes;
  IRorIvezEviStylerClient* compact = nullptr;

 private:
  TStylerClientKind kind_;
  std::vector<std::string>* log_;
  std::string name_;
  TCustomRorIvezEviStyler* styler_ = nullptr;
};

// A registered control of another class (a quick access toolbar, say).
class StylerBystanderControl : public vcl::TCustomControl {
 public:
  StylerBystanderControl() : vcl::TCustomControl(nullptr) {}
};

TEST(RibbonStyler, ConstructorValues) {
  auto* s = new TCustomRorIvezEviStyler(nullptr);
  EXPECT_EQ(s->LumMenuStyler(), nullptr);
  ASSERT_NE(s->InternalMenuStyler(), nullptr);
  EXPECT_EQ(std::string(s->InternalMenuStyler()->Name()), "InternalMenuStyler");
  EXPECT_EQ(s->CurrentMenuStyler(), s->InternalMenuStyler());
  EXPECT_TRUE(s->BackGround()->Empty());
  EXPECT_TRUE(s->BackGroundTransparent());
  EXPECT_EQ(s->BackGroundDisplay(), ribbon::bdTile);
  EXPECT_EQ(s->BorderColor(), vcl::clNone);
  EXPECT_EQ(s->BorderColorHot(), vcl::clNone);
  EXPECT_EQ(s->ColorHot()->Color(), vcl::clNone);
  EXPECT_EQ(s->ColorHot()->ColorTo(), vcl::clNone);
  EXPECT_EQ(s->Color()->Color(), vcl::clWhite);
  EXPECT_EQ(s->DragGripStyle(), ribbon::dsDots);
  EXPECT_EQ(s->FloatingWindowBorderColor(), 0x6D6D6Du);
  EXPECT_EQ(s->FloatingWindowBorderWidth(), 2);
  EXPECT_EQ(s->RightHandleColor(), 0x9E9E9Eu);
  EXPECT_EQ(s->RightHandleColorTo(), 0u);
  EXPECT_EQ(s->RightHandleColorHot(), 0xD2BDB6u);
  EXPECT_EQ(s->RightHandleColorHotTo(), 0u);
  EXPECT_EQ(s->RightHandleColorDown(), 0x76C1FFu);
  EXPECT_EQ(s->RightHandleColorDownTo(), 0x2DA0FFu);
  EXPECT_FALSE(s->TransparentToolBars());
  EXPECT_TRUE(s->RoundedLook());
  EXPECT_FALSE(s->Edge3D());
  EXPECT_EQ(s->Edge3DKind(), 0);
  EXPECT_FALSE(s->AltQATShape());
  EXPECT_EQ(s->CornerColor(), 0u);
  EXPECT_EQ(s->GlyphColor(), 0u);
  EXPECT_TRUE(s->SystemFont());
  const std::string font = std::string(ribbon::DefaultToolbarFontName());
  EXPECT_EQ(std::string(s->Font()->Name()), font);
  EXPECT_EQ(std::string(s->CaptionFont()->Name()), font);
  EXPECT_EQ(s->ButtonAppearance()->ColorHot(), 0xD2BDB6u);
  delete s;
}

TEST(RibbonStyler, EverySettingSendsItsReasonCode) {
  TCustomRorIvezEviStyler s(nullptr);
  StylerRecordingControl pager(TStylerClientKind::sckPager, nullptr, "pager");
  s.RegisterControl(&pager);
  vcl::TFont font;
  vcl::TBitmap bitmap;
  struct Case {
    const char* what;
    std::function<void()> change;
    std::vector<int> codes;
  };
  std::vector<Case> cases = {
      {"BackGround", [&] { s.SetBackGround(&bitmap); }, {1}},
      {"BackGroundTransparent same", [&] { s.SetBackGroundTransparent(true); }, {}},
      {"BackGroundTransparent", [&] { s.SetBackGroundTransparent(false); }, {1}},
      {"BackGroundDisplay", [&] { s.SetBackGroundDisplay(ribbon::bdStretch); }, {1}},
      {"Font equal", [&] { s.SetFont(s.Font()); }, {1}},
      {"BorderColor same", [&] { s.SetBorderColor(vcl::clNone); }, {}},
      {"BorderColor", [&] { s.SetBorderColor(0x123456); }, {2}},
      {"BorderColorHot", [&] { s.SetBorderColorHot(0x123456); }, {2}},
      {"Color record", [&] { s.Color()->SetColorTo(0x111111); }, {2}},
      {"DockColor record", [&] { s.DockColor()->SetSteps(12); }, {2}},
      {"CaptionAppearance record", [&] { s.CaptionAppearance()->SetCaptionColor(1); }, {2}},
      {"CaptionFont", [&] { s.SetCaptionFont(&font); }, {2}},
      {"RightHandleColorDownTo", [&] { s.SetRightHandleColorDownTo(5); }, {2}},
      {"RightHandleImage", [&] { s.SetRightHandleImage(&bitmap); }, {2}},
      {"FloatingWindowBorderWidth", [&] { s.SetFloatingWindowBorderWidth(3); }, {2}},
      {"RoundedLook always", [&] { s.SetRoundedLook(true); }, {2}},
      {"Edge3D", [&] { s.SetEdge3D(true); }, {2}},
      {"Edge3DKind", [&] { s.SetEdge3DKind(2); }, {2}},
      {"ContainerAppearance record", [&] { s.ContainerAppearance()->SetLine3D(false); }, {4}},
      {"DragGripStyle", [&] { s.SetDragGripStyle(ribbon::dsNone); }, {5}},
      {"LumMenuStyler none", [&] { s.SetLumMenuStyler(nullptr); }, {6}},
      {"GlowButtonAppearance record", [&] { s.GlowButtonAppearance()->SetColor(1); }, {7}},
      {"CompactGlowButtonAppearance record", [&] { s.CompactGlowButtonAppearance()->SetColor(1); }, {7}},
      {"TabAppearance record", [&] { s.TabAppearance()->SetColorHot(1); }, {10}},
      {"PageAppearance record", [&] { s.PageAppearance()->SetColor(1); }, {10}},
      {"GroupAppearance nested", [&] { s.GroupAppearance()->TabAppearance()->SetColor(1); }, {10}},
      {"PagerCaption record", [&] { s.PagerCaption()->SetTextColor(1); }, {11}},
      {"GlyphColor", [&] { s.SetGlyphColor(0xFFFFFF); }, {11}},
      {"GlyphColor same", [&] { s.SetGlyphColor(0xFFFFFF); }, {}},
      {"QATAppearance record", [&] { s.QATAppearance()->SetColor(1); }, {12}},
      {"ButtonAppearance sends nothing", [&] { s.ButtonAppearance()->SetColor(1); }, {}},
      {"ColorHot sends nothing", [&] { s.ColorHot()->SetColor(1); }, {}},
      {"DragGripImage sends nothing", [&] { s.SetDragGripImage(&bitmap); }, {}},
      {"SystemFont sends nothing", [&] { s.SetSystemFont(false); }, {}},
  };
  for (const auto& k : cases) {
    pager.codes.clear();
    k.change();
    EXPECT_EQ(pager.codes, k.codes) << k.what;
  }
  s.UnregisterControl(&pager);
}

TEST(RibbonStyler, BroadcastReachesEachRegistrationOnceByKind) {
  std::vector<std::string> log;
  auto* s = new TCustomRorIvezEviStyler(nullptr);
  auto* dock = new StylerRecordingControl(TStylerClientKind::sckDockPanel, &log, "dock");
  auto* bar = new StylerRecordingControl(TStylerClientKind::sckToolBar, &log, "bar");
  auto* compact = new StylerRecordingControl(TStylerClientKind::sckToolBar, &log, "compact");
  auto* pager = new StylerRecordingControl(TStylerClientKind::sckPager, &log, "pager");
  auto* qat = new StylerBystanderControl;
  bar->compact = compact;  // the toolbar in its compact window, told first
  s->RegisterControl(nullptr);  // nothing
  s->RegisterControl(dock);
  s->RegisterControl(bar);
  s->RegisterControl(qat);
  s->RegisterControl(pager);
  s->RegisterControl(pager);  // twice: told twice
  EXPECT_EQ(s->Controls().size(), 5u);
  s->BroadcastChange(2);
  EXPECT_EQ(log, (std::vector<std::string>{"dock:2", "compact:2", "bar:2", "pager:2", "pager:2"}));

  log.clear();
  s->UnregisterControl(pager);  // one entry goes
  s->BroadcastChange(11);
  EXPECT_EQ(log, (std::vector<std::string>{"dock:11", "compact:11", "bar:11", "pager:11"}));

  // A freed control leaves the list and is never called again.
  log.clear();
  vcl::Free(bar);
  vcl::Free(qat);
  EXPECT_EQ(s->Controls().size(), 2u);
  s->BroadcastChange(4);
  EXPECT_EQ(log, (std::vector<std::string>{"dock:4", "pager:4"}));
  vcl::Free(compact);
  s->UnregisterControl(pager);
  delete s;
  vcl::Free(dock);
  vcl::Free(pager);
}

TEST(RibbonStyler, DestructionDropsFromDockPanelsAndPagersButNotToolbars) {
  auto* s = new TCustomRorIvezEviStyler(nullptr);
  auto* dock = new StylerRecordingControl(TStylerClientKind::sckDockPanel, nullptr, "dock");
  auto* pager = new StylerRecordingControl(TStylerClientKind::sckPager, nullptr, "pager");
  auto* bar = new StylerRecordingControl(TStylerClientKind::sckToolBar, nullptr, "bar");
  dock->SetToolBarStyler(s);
  bar->SetToolBarStyler(s);
  pager->SetToolBarStyler(s);
  delete s;
  EXPECT_EQ(dock->ToolBarStyler(), nullptr);
  EXPECT_EQ(pager->ToolBarStyler(), nullptr);
  EXPECT_EQ(bar->ToolBarStyler(), s);  // toolbars learn it from their parent
  vcl::Free(dock);
  vcl::Free(pager);
  vcl::Free(bar);  // the styler is gone: it must not be told
}

TEST(RibbonStyler, MenuStylerLinkAndItsFreeing) {
  TCustomRorIvezEviStyler s(nullptr);
  StylerRecordingControl bar(TStylerClientKind::sckToolBar, nullptr, "bar");
  s.RegisterControl(&bar);
  auto* menus = new controls::TLumMenuStyler(nullptr);
  s.SetLumMenuStyler(menus);
  EXPECT_EQ(s.CurrentMenuStyler(), menus);
  EXPECT_EQ(bar.codes, std::vector<int>{6});
  vcl::Free(menus);  // falls back to the internal one, and says so
  EXPECT_EQ(s.LumMenuStyler(), nullptr);
  EXPECT_EQ(s.CurrentMenuStyler(), s.InternalMenuStyler());
  EXPECT_EQ(bar.codes, (std::vector<int>{6, 6}));
  s.UnregisterControl(&bar);
}

TEST(RibbonStyler, AssignCopiesItsPartOnly) {
  TCustomRorIvezEviStyler from(nullptr), to(nullptr);
  StylerRecordingControl pager(TStylerClientKind::sckPager, nullptr, "pager");
  to.RegisterControl(&pager);
  from.Color()->SetColor(0x010101);
  from.DockColor()->SetColor(0x020202);
  from.SetBackGroundDisplay(ribbon::bdCenter);
  vcl::TFont f;
  f.SetName("Courier New");
  from.SetFont(&f);
  from.SetCaptionFont(&f);
  from.SetDragGripStyle(ribbon::dsSingleLine);
  from.SetFloatingWindowBorderWidth(5);
  from.CaptionAppearance()->SetCaptionColor(0x030303);
  from.ButtonAppearance()->SetColorHot(0x040404);
  from.SetBorderColor(0x050505);
  from.SetRightHandleColor(0x060606);
  from.TabAppearance()->SetColor(0x070707);
  from.ContainerAppearance()->SetLineColor(0x080808);
  to.Assign(&from);
  EXPECT_EQ(to.Color()->Color(), 0x010101u);
  EXPECT_EQ(to.DockColor()->Color(), 0x020202u);
  EXPECT_EQ(to.BackGroundDisplay(), ribbon::bdCenter);
  EXPECT_EQ(std::string(to.Font()->Name()), "Courier New");
  EXPECT_EQ(to.DragGripStyle(), ribbon::dsSingleLine);
  EXPECT_EQ(to.FloatingWindowBorderWidth(), 5);
  EXPECT_EQ(to.CaptionAppearance()->CaptionColor(), 0x030303u);
  EXPECT_EQ(to.ButtonAppearance()->ColorHot(), 0x040404u);
  // Not copied:
  EXPECT_NE(std::string(to.CaptionFont()->Name()), "Courier New");
  EXPECT_EQ(to.BorderColor(), vcl::clNone);
  EXPECT_EQ(to.RightHandleColor(), 0x9E9E9Eu);
  EXPECT_EQ(to.TabAppearance()->Color(), vcl::clBtnFace);
  EXPECT_EQ(to.ContainerAppearance()->LineColor(), vcl::clBtnShadow);
  // Through setters: display 1, grip 5, border width 2 (silent copies of
  // the records send nothing).
  EXPECT_EQ(pager.codes, (std::vector<int>{1, 5, 2}));
  // No menu styler on the source: this one's current menu styler stays.
  EXPECT_EQ(to.CurrentMenuStyler(), to.InternalMenuStyler());
  ribbon::TGradientBackground unrelated;
  EXPECT_THROW(to.Assign(&unrelated), rtl::EConvertError);
  to.UnregisterControl(&pager);
}

TEST(RibbonStyler, SystemFontRenamesBothFonts) {
  TCustomRorIvezEviStyler s(nullptr);
  vcl::TFont f;
  f.SetName("Courier New");
  s.SetFont(&f);
  s.SetCaptionFont(&f);
  s.SetSystemFont(false);
  EXPECT_EQ(std::string(s.Font()->Name()), "Courier New");
  s.SetSystemFont(true);
  const std::string font = std::string(ribbon::DefaultToolbarFontName());
  EXPECT_EQ(std::string(s.Font()->Name()), font);
  EXPECT_EQ(std::string(s.CaptionFont()->Name()), font);
}

}  // namespace
