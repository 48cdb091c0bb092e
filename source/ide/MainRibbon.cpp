// The main window's ribbon, laid out the way the main form streams it.
// Groups keep the positions given here (the form's toolbars do not place
// or size their controls themselves): large buttons take a column of
// their own, everything else stacks three rows to a column.
#include "ide/MainRibbon.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"
#include "vcl/ActnList.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

namespace ide {

namespace {

using controls::TLumGlowButton;
using ribbon::TLumPage;
using ribbon::TRorIvezEvi;
using ribbon::TRorIvezEviContainer;
using ribbon::TRorIvezEviPager;

// Group geometry: the form's toolbars sit at (3, 3), 75 high, with a
// 16-pixel caption band at the bottom; rows of 19 fill the 59 above it.
constexpr int kGroupHeight = 75;
constexpr int kRowTop = 1;
constexpr int kRowHeight = 19;
constexpr int kLargeHeight = 56;
constexpr int kLargeTextMargin = 24;
constexpr int kColumnGap = 2;
constexpr int kRowsPerColumn = 3;

enum class Kind {
  Large,      // a glow button with its glyph above the caption
  Small,      // glyph and caption side by side
  Glyph,      // glyph only (inside a container)
  Combo,      // a combo box of the given width
  Edit,       // an edit of the given width
  Label,      // a label
  Buttons,    // a container of glyph buttons (the entries after it, up to End)
  Checks,     // a container of check boxes bound to actions (up to End)
  End,        // closes a container
  Column,     // starts a new column
};

// One entry of a group. Action: the bound action's name (empty: none);
// Name: the component's name where the form gives it one; Caption: the
// caption where the button does not show its action's; Menu: the
// drop-down menu's name; Split: a click runs the action, the arrow drops
// the menu; Width for combo boxes and edits.
struct Entry {
  Kind kind;
  const char* Action = "";
  const char* KeyTip = "";
  const char* Name = "";
  const char* Caption = "";
  const char* Menu = "";
  bool Split = false;
  int Width = 0;
  int Image = -1;
};

struct Group {
  int Page;
  const char* Name;  // the toolbar's component name ("" none)
  const char* Caption;
  std::vector<Entry> Entries;
};

struct PageDef {
  const char* Name;
  const char* Caption;
  const char* KeyTip;
};

const PageDef kPages[] = {
    {"FilePage", "&File", "F"},  {"EditHTMLPage", "&Edit", "E"}, {"EditSource", "&Edit", "E"},
    {"HTMLPage", "&HTML ", "H"}, {"ToolsPage", "&Tools", "T"},   {"TargetPage", "Tar&get", "G"},
};

Entry L(const char* action, const char* tip, int image) { return {Kind::Large, action, tip, "", "", "", false, 0, image}; }
Entry S(const char* action, const char* tip, int image) { return {Kind::Small, action, tip, "", "", "", false, 0, image}; }
Entry G(const char* action, const char* tip, int image) { return {Kind::Glyph, action, tip, "", "", "", false, 0, image}; }
Entry Col() { return {Kind::Column}; }
Entry End() { return {Kind::End}; }

const std::vector<Group>& Groups() {
  static const std::vector<Group> groups = {
      {0, "FileToolBar", "File",
       {S("SaveAsACt", "A", 3), S("NewAct", "N", 0), S("OpenAct", "O", 1), Col(), S("SaveAct", "S", 2),
        S("CloseAct", "C", 4), S("NewPrjAct", "PN", 5), Col(),
        {Kind::Large, "OpenPrjAct", "PO", "", "", "RecentPrjMenu", true, 0, 6}, Col(), S("SavePrjAct", "PS", 2),
        S("SaveProjectAs", "PA", 3)}},
      {0, "PrintToolBar", "Print", {S("PrintSetupAct", "U", 7), S("printpreviewAct", "V", 8), Col(), L("PrintAct", "R", 7)}},
      {0, "ExitToolBar", "Exit", {L("ExitAct", "X", 9)}},
      {1, "EditHTML", "Edit",
       {S("ac_Undo", "Z", 10), S("ac_Redo", "Y", 11), S("ac_Cut", "X", 12), Col(), L("ac_Paste", "V", 13), Col(),
        S("ac_Copy", "C", 14), S("RemoveSpanAct", "R", 15), S("ac_IncreaseListIndent", "AI", 16), Col(),
        S("ac_DecreaseListIndent", "AO", 17), Col(),
        {Kind::Large, "", "T", "ImportTextBtn", "Import Text", "ImportTextMenu", false, 0, 18},
        {Kind::Large, "TableAct", "B", "EditTableBtn", "Edit Table", "TableMenu", true, 0, 19}}},
      {1, "FontSettingsToolBar", "Font",
       {{Kind::Combo, "", "", "Cb_ribbonFontPicker", "", "", false, 130},
        {Kind::Buttons, "", "", "FontStyleContainer"}, G("ac_Bold", "FB", 20), G("ac_Italic", "FI", 21),
        G("ac_Underline", "FU", 22), G("ac_StrikeOut", "FS", 23), End(),
        {Kind::Buttons, "", "", "FontAlignContainer"}, G("ac_AlignLeft", "AL", 24), G("ac_AlignCenter", "AC", 25),
        G("ac_AlignRight", "AR", 26), End(), Col(), {Kind::Combo, "", "", "CB_RibbonfontSize", "", "", false, 64},
        S("FontColorAct", "FC", 27), S("BkgColorAct", "FK", 28), Col(),
        {Kind::Combo, "", "", "Cb_RibbonStyle", "", "", false, 110}}},
      {2, "EditSourceToolBar", "Edit",
       {S("EditCopy1", "C", 14), S("EditCut1", "X", 12), Col(), L("EditPaste1", "V", 13), Col(),
        S("UndoAction", "Z", 10), S("RedoAct", "Y", 11)}},
      {3, "ImageToolBar", "Image",
       {{Kind::Small, "RestoreSizeAct", "O", "", "Restore Original Size", "", false, 0, 29},
        S("DeleteImageAct", "D", 30), {Kind::Buttons, "", "", "ImageAlignContainer"}, G("AlignImgLeft", "AL", 24),
        G("AlignImgMiddleAct", "AM", 25), G("AlignImageRightAct", "AR", 26), End(), Col(),
        S("MakeImageLinkAct", "K", 31), Col(), L("ImageAct", "I", 32)}},
      {3, "TableListsToolBar", "Table/ Lists",
       {S("ac_UnorderedList", "U", 33), S("ac_OrderedList", "N", 34), Col(), L("TableAct", "T", 19)}},
      {3, "CommandsToolBar", "Commands",
       {{Kind::Large, "", "G", "InsertZelBtn", "Insert", "", false, 0, 35}, Col(),
        {Kind::Combo, "", "", "ZelExtCB", "", "", false, 120},
        {Kind::Small, "EdtZelExt", "E", "", "Edit Device CMD", "", false, 0, 36}}},
      {3, "HyperlinkToolBar", "Hyperlink",
       {{Kind::Label, "", "", "LinkLabel", "Link"}, {Kind::Edit, "", "", "ed_LinkHRef", "", "", false, 130}, Col(),
        S("btnHyperlinkAct", "H", 37), S("btnHyperlink", "M", 31), S("RemoveLinkAct", "R", 38)}},
      {4, "DocumentToolBar", "Document",
       {L("SpellCheckAct", "S", 39), Col(), S("SpellCheckOptsAct", "O", 40), S("WordCntAct", "W", 41),
        S("GraphicsAct", "G", 42), Col(), L("SearchFind", "F", 43)}},
      {4, "ViewToolBar", "View",
       {{Kind::Checks, "", "", "ViewContainer"},
        {Kind::Small, "RevealTagsAct"},
        {Kind::Small, "ProjectManagerAct"},
        {Kind::Small, "InsertAction"},
        {Kind::Small, "SimulateAct"},
        {Kind::Small, "SimErrors"},
        End()}},
      {5, "DeviceSelectionToolBar", "Device Selection",
       {L("ChangeDevice", "D", 44), Col(), {Kind::Label, "", "", "DeviceLabel", "Device"},
        {Kind::Edit, "", "", "DeviceSelected", "", "", false, 130}}},
      {5, "TargetToolBar", "Target", {L("UploadAct", "U", 45), L("CDFSAct", "C", 46), L("SettingsAct", "S", 47)}},
  };
  return groups;
}

constexpr int kImageCount = 48;

// The ribbon's small pictures: each a framed tile in a colour of its own
// with a mark that differs by index, on a fuchsia key colour.
vcl::TImageList* MakeImages(vcl::TForm* Form) {
  auto* images = new vcl::TImageList(Form);
  images->SetName("RibbonImages");
  const vcl::TColor palette[] = {0x2F6FD0, 0x3A9A3A, 0xC05020, 0x8040A0, 0x2090A0, 0xA08020};
  for (int i = 0; i < kImageCount; ++i) {
    vcl::TBitmap glyph;
    glyph.SetSize(16, 16);
    vcl::TCanvas* c = glyph.Canvas();
    c->Brush()->SetColor(vcl::clFuchsia);
    c->FillRect(vcl::TRect{0, 0, 16, 16});
    const vcl::TColor colour = palette[i % 6];
    c->Brush()->SetColor(colour);
    c->Pen()->SetColor(vcl::clBlack);
    c->Rectangle(1, 1, 15, 15);
    c->Brush()->SetColor(vcl::clWhite);
    c->Pen()->SetColor(vcl::clWhite);
    // The mark: one to eight white dots in a row pattern by index.
    const int dots = 1 + (i / 6) % 8;
    for (int d = 0; d < dots; ++d) {
      const int x = 3 + (d % 4) * 3, y = d < 4 ? 4 : 9;
      c->FillRect(vcl::TRect{x, y, x + 2, y + 3});
    }
    images->AddMasked(&glyph, vcl::clFuchsia);
  }
  return images;
}

// The form's component of that name and kind when the form already made
// it (a window that keeps a pointer to it), else a new one owned by the
// form. A component of that name but another kind is an error.
template <class T>
T* Seat(vcl::TForm* Form, const char* Name) {
  if (vcl::TComponent* c = Form->FindComponent(Name)) {
    if (auto* t = dynamic_cast<T*>(c)) return t;
    throw rtl::Exception(std::string("The ribbon's ") + Name + " is of another kind on the form");
  }
  auto* t = new T(Form);
  t->SetName(Name);
  return t;
}

vcl::TCustomAction* FindAction(vcl::TActionList* Actions, const char* Name) {
  for (int i = 0; i < Actions->ActionCount(); ++i) {
    auto* a = dynamic_cast<vcl::TCustomAction*>(Actions->Actions(i));
    if (a && rtl::SameText(a->Name(), Name)) return a;
  }
  throw rtl::Exception(std::string("The ribbon needs the action ") + Name);
}

// A menu the window made already is taken as it is once it has items.
vcl::TPopupMenu* SeatMenu(vcl::TForm* Form, const char* Name, bool& Fill) {
  vcl::TPopupMenu* menu = Seat<controls::TLumPopupMenu>(Form, Name);
  Fill = menu->Items()->Count() == 0;
  return menu;
}

vcl::TMenuItem* AddItem(vcl::TForm* Form, vcl::TMenuItem* Parent, vcl::TActionList* Actions, const char* Action,
                        const char* Caption = "") {
  auto* item = new vcl::TMenuItem(Form);
  if (Action[0]) item->SetAction(FindAction(Actions, Action));
  if (Caption[0]) item->SetCaption(Caption);
  Parent->Add(item);
  return item;
}

// The drop-down menus of the ribbon's buttons and of its help button.
// The actions of the menus the ribbon fills (in the order they appear).
const char* const kMenuActions[] = {"ImportTextAct",          "ImportWOlinebreaks",
                                    "ac_TableInsertColumnToTheLeft", "ac_TableInsertColumnToTheRight",
                                    "ac_TableInsertRowAbove", "ac_TableInsertRowBelow",
                                    "DeleteTableAct",         "ac_TableDeleteCurrentColumn",
                                    "ac_TableDeleteCurrentRow", "ShowHelp",
                                    "KeywordHelp",            "AboutAct"};

void MakeMenus(vcl::TForm* Form, vcl::TActionList* Actions) {
  bool fill = false;
  SeatMenu(Form, "RecentPrjMenu", fill);  // filled by the window from its recent projects
  vcl::TPopupMenu* import = SeatMenu(Form, "ImportTextMenu", fill);
  if (fill) {
    AddItem(Form, import->Items(), Actions, "ImportTextAct", "With linebreaks");
    AddItem(Form, import->Items(), Actions, "ImportWOlinebreaks", "Without linebreaks");
  }
  vcl::TPopupMenu* table = SeatMenu(Form, "TableMenu", fill);
  if (fill) {
    vcl::TMenuItem* insert = AddItem(Form, table->Items(), Actions, "", "Insert");
    for (const char* a : {"ac_TableInsertColumnToTheLeft", "ac_TableInsertColumnToTheRight",
                          "ac_TableInsertRowAbove", "ac_TableInsertRowBelow"})
      AddItem(Form, insert, Actions, a);
    vcl::TMenuItem* remove = AddItem(Form, table->Items(), Actions, "", "Delete");
    for (const char* a : {"DeleteTableAct", "ac_TableDeleteCurrentColumn", "ac_TableDeleteCurrentRow"})
      AddItem(Form, remove, Actions, a);
  }
  vcl::TPopupMenu* help = SeatMenu(Form, "HelpPopup", fill);
  if (fill)
    for (const char* a : {"ShowHelp", "KeywordHelp", "AboutAct"}) AddItem(Form, help->Items(), Actions, a);
}

// Lays one group's entries out in columns and parents them to Bar (or to
// the container open at the time).
class GroupBuilder {
 public:
  GroupBuilder(vcl::TForm* Form, vcl::TActionList* Actions, vcl::TImageList* Images, TRorIvezEvi* Bar)
      : form_(Form), actions_(Actions), images_(Images), bar_(Bar) {}

  void Add(const Entry& e) {
    switch (e.kind) {
      case Kind::Column:
        NextColumn();
        return;
      case Kind::Buttons:
      case Kind::Checks:
        OpenContainer(e);
        return;
      case Kind::End:
        CloseContainer();
        return;
      default:
        break;
    }
    if (container_) {
      AddToContainer(e);
      return;
    }
    if (e.kind == Kind::Large) {
      if (row_ > 0) NextColumn();
      vcl::TControl* c = Button(e, controls::bsLarge);
      c->SetBounds(x_, kRowTop, c->Width(), kLargeHeight);
      c->SetParent(bar_);
      columnWidth_ = c->Width();
      NextColumn();
      return;
    }
    vcl::TControl* c = nullptr;
    switch (e.kind) {
      case Kind::Small:
        c = Button(e, controls::bsLabel);
        break;
      case Kind::Combo: {
        auto* combo = Seat<vcl::TComboBox>(form_, e.Name);
        combo->SetWidth(e.Width);
        c = combo;
        break;
      }
      case Kind::Edit: {
        auto* edit = Seat<vcl::TEdit>(form_, e.Name);
        if (edit->Text() == e.Name) edit->SetText("");  // a new edit shows its name
        edit->SetWidth(e.Width);
        c = edit;
        break;
      }
      case Kind::Label: {
        auto* label = new vcl::TLabel(form_);
        label->SetName(e.Name);
        label->SetCaption(e.Caption);
        label->SetAutoSize(false);
        label->SetTransparent(true);
        label->SetLayout(vcl::tlCenter);
        label->SetWidth(40);
        c = label;
        break;
      }
      default:
        return;
    }
    Place(c, c->Width());
  }

  // The group's width: its last column and a margin.
  int Finish() {
    if (row_ > 0) NextColumn();
    return std::max(x_ + 2, 40);
  }

 private:
  vcl::TControl* Button(const Entry& e, controls::TButtonSizeState State) {
    auto* g = new TLumGlowButton(form_);
    if (e.Name[0]) g->SetName(e.Name);
    g->SetImages(images_);
    g->SetLayout(State == controls::bsLarge ? controls::blGlyphTop : controls::blGlyphLeft);
    g->SetAutoSize(true);
    g->SetMinButtonSizeState(controls::bsGlyph);
    g->SetMaxButtonSizeState(controls::bsLarge);
    g->SetButtonSizeState(State);
    if (State == controls::bsGlyph) g->SetShowCaption(false);
    if (e.Action[0]) g->SetAction(FindAction(actions_, e.Action));
    if (e.Caption[0]) g->SetCaption(e.Caption);
    g->SetImageIndex(e.Image);
    g->SetShortCutHint(e.KeyTip);
    if (e.Menu[0]) {
      g->SetDropDownMenu(dynamic_cast<vcl::TPopupMenu*>(form_->FindComponent(e.Menu)));
      g->SetDropDownButton(true);
      g->SetDropDownSplit(e.Split);
      g->SetDropDownPosition(State == controls::bsLarge ? controls::dpBottom : controls::dpRight);
    }
    vcl::TSize size{0, 0};
    g->GetSizeForState(State, size);
    g->SetAutoSize(false);
    // A large button's caption may break between words, never inside
    // one: the column is at least as wide as the caption on one line.
    int width = size.cx;
    if (State == controls::bsLarge) {
      vcl::TBitmap measure;
      measure.Canvas()->Font()->Assign(g->Font());
      const std::string caption = g->Caption();
      for (size_t at = 0; at < caption.size();) {
        size_t end = caption.find(' ', at);
        if (end == std::string::npos) end = caption.size();
        width = std::max(width, measure.Canvas()->TextWidth(caption.substr(at, end - at)) + kLargeTextMargin);
        at = end + 1;
      }
    }
    g->SetWidth(width);
    g->SetHeight(State == controls::bsLarge ? kLargeHeight : kRowHeight);
    if (State == controls::bsGlyph) g->SetWidth(kRowHeight + 3);
    return g;
  }

  void Place(vcl::TControl* c, int width) {
    c->SetBounds(x_, kRowTop + row_ * kRowHeight, width, kRowHeight);
    c->SetParent(bar_);
    columnWidth_ = std::max(columnWidth_, width);
    if (++row_ == kRowsPerColumn) NextColumn();
  }

  void NextColumn() {
    if (columnWidth_ == 0) return;
    x_ += columnWidth_ + kColumnGap;
    columnWidth_ = 0;
    row_ = 0;
  }

  void OpenContainer(const Entry& e) {
    container_ = new TRorIvezEviContainer(form_);
    container_->SetName(e.Name);
    container_->SetRorIvezEvi(bar_);
    container_->SetCaption("");
    // Sized before its children arrive, as the form reads it: a container
    // keeps its children inside, so a small one would pile them up.
    container_->SetBounds(0, 0, 400, kRowsPerColumn * kRowHeight + 1);
    checks_ = e.kind == Kind::Checks;
    inner_ = 0;
    innerRow_ = 0;
    innerWidth_ = 0;
  }

  void AddToContainer(const Entry& e) {
    if (checks_) {
      // Check boxes: two columns of three rows, each as wide as its text.
      auto* box = new vcl::TCheckBox(form_);
      box->SetAction(FindAction(actions_, e.Action));
      const int column = inner_ / kRowsPerColumn;
      box->SetBounds(4 + column * 118, 2 + (inner_ % kRowsPerColumn) * kRowHeight, 114, kRowHeight - 2);
      box->SetParent(container_);
      innerWidth_ = 4 + (column + 1) * 118;
      innerRow_ = kRowsPerColumn;
    } else {
      vcl::TControl* b = Button(e, controls::bsGlyph);
      b->SetBounds(2 + inner_ * (kRowHeight + 3), 1, b->Width(), kRowHeight - 2);
      b->SetParent(container_);
      innerWidth_ = 2 + (inner_ + 1) * (kRowHeight + 3) + 1;
      innerRow_ = 1;
    }
    ++inner_;
  }

  void CloseContainer() {
    if (!container_) return;
    if (checks_) {
      if (row_ > 0) NextColumn();
      container_->SetBounds(x_, kRowTop, innerWidth_, kRowsPerColumn * kRowHeight + 1);
      container_->SetParent(bar_);
      columnWidth_ = innerWidth_;
      NextColumn();
    } else {
      Place(container_, innerWidth_);
    }
    container_ = nullptr;
  }

  vcl::TForm* form_;
  vcl::TActionList* actions_;
  vcl::TImageList* images_;
  TRorIvezEvi* bar_;
  int x_ = 4;
  int row_ = 0;
  int columnWidth_ = 0;
  TRorIvezEviContainer* container_ = nullptr;
  bool checks_ = false;
  int inner_ = 0;
  int innerRow_ = 0;
  int innerWidth_ = 0;
};

}  // namespace

std::vector<std::string> MainRibbonActionNames() {
  std::vector<std::string> names;
  auto add = [&names](const char* n) {
    if (n[0] && std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
  };
  for (const Group& g : Groups())
    for (const Entry& e : g.Entries) add(e.Action);
  for (const char* n : kMenuActions) add(n);
  return names;
}

const std::vector<const char*>& MainRibbonFontSizes() {
  static const std::vector<const char*> sizes = {
      "8pt",  "9pt",  "10pt", "11pt", "12pt", "14pt", "16pt", "18pt", "20pt", "22pt", "24pt",
      "26pt", "28pt", "36pt", "48pt", "72pt", "8px",  "9px",  "10px", "11px", "12px", "14px",
      "16px", "18px", "20px", "22px", "24px", "26px", "28px", "36px", "48px", "72px"};
  return sizes;
}

ribbon::TRorIvezEviOfficeStyler* MakeMainRibbonStyler(vcl::TForm* Form) {
  auto* styler = new ribbon::TRorIvezEviOfficeStyler(Form);
  styler->SetName("RibbonStyler");
  styler->SetStyle(ribbon::bsOffice2003Classic);
  // Classic whatever the desktop's colour scheme.
  styler->SetAutoThemeAdapt(false);
  // The form's own values on top of the preset.
  ribbon::TVistaPageBackground* page = styler->PageAppearance();
  page->SetColor(vcl::clWhite);
  page->SetColorTo(0xC9D1D5);
  page->SetColorMirror(0xC9D1D5);
  page->SetColorMirrorTo(vcl::clWhite);
  styler->PagerCaption()->SetTextColor(0xFF0000);
  styler->PagerCaption()->SetTextColorExtended(0xFF0000);
  styler->SetBorderColor(0xDFD2C5);
  styler->ButtonAppearance()->SetBorderCheckedColor(0x800000);
  styler->ContainerAppearance()->SetLineColor(vcl::clBtnShadow);
  styler->ContainerAppearance()->SetLine3D(true);
  ribbon::TTabAppearance* tab = styler->TabAppearance();
  tab->SetColor(vcl::clBtnFace);
  tab->SetColorTo(vcl::clWhite);
  tab->SetColorMirror(vcl::clWhite);
  tab->SetColorMirrorTo(vcl::clWhite);
  // Disabled glow buttons: a pale grey face in a light grey frame, the
  // same for the compact buttons of collapsed groups.
  for (controls::TGlowButtonAppearance* glow :
       {styler->GlowButtonAppearance(), styler->CompactGlowButtonAppearance()}) {
    glow->SetColorDisabled(0xF4F4F4);
    glow->SetColorDisabledTo(0xEAEAEA);
    glow->SetColorMirrorDisabled(0xEAEAEA);
    glow->SetColorMirrorDisabledTo(0xF4F4F4);
    glow->SetBorderColorDisabled(0xC8C8C8);
  }
  return styler;
}

TRorIvezEviPager* MainRibbonFixture(vcl::TForm* Form, vcl::TActionList* Actions) {
  const int before = Form->ComponentCount();
  vcl::TImageList* images = MakeImages(Form);
  MakeMenus(Form, Actions);
  ribbon::TRorIvezEviOfficeStyler* styler = MakeMainRibbonStyler(Form);

  auto* pager = new TRorIvezEviPager(Form);
  pager->SetName("mainpager");
  pager->SetToolBarStyler(styler);
  pager->SetParent(Form);
  pager->SetHeight(120);
  pager->PageCaption()->SetVisible(false);
  pager->TabSettings()->SetHeight(34);
  pager->SetAutoMDIButtons(false);
  pager->SetShowHelpButton(true);
  pager->Persistence()->SetEnabled(false);

  std::vector<TLumPage*> pages;
  for (const PageDef& p : kPages) {
    auto* page = new TLumPage(Form);
    page->SetName(p.Name);
    page->SetCaption(p.Caption);
    page->SetShortCutHint(p.KeyTip);
    page->SetParent(pager);
    pages.push_back(page);
  }

  for (const Group& g : Groups()) {
    auto* bar = new TRorIvezEvi(Form);
    if (g.Name[0]) bar->SetName(g.Name);
    // Its parent first, as reading the form gives it: the page makes it a
    // fixed toolbar, which lets it keep its own layout.
    bar->SetParent(pages[static_cast<size_t>(g.Page)]);
    bar->SetBounds(3, 3, 40, kGroupHeight);
    bar->SetCaption(g.Caption);
    bar->SetToolBarStyler(styler);
    bar->SetAutoPositionControls(false);
    bar->SetAutoSize(false);
    bar->SetShowCaption(true);
    bar->SetCaptionPosition(ribbon::cpBottom);
    bar->SetCaptionAlignment(vcl::taCenter);
    bar->SetShowRightHandle(false);
    bar->SetShowOptionIndicator(rtl::SameText(g.Caption, "Font"));
    bar->SetImages(images);
    // Collapsed, the group shows its caption on its compact button, with a
    // key tip of its own (Q and its place on the page).
    bar->SetCompactCaption(g.Caption);
    bar->SetCompactShortCutHint("Q" + std::to_string(pages[static_cast<size_t>(g.Page)]->ToolBarCount()));
    GroupBuilder builder(Form, Actions, images, bar);
    for (const Entry& e : g.Entries) builder.Add(e);
    bar->SetWidth(builder.Finish());
  }

  auto* sizes = dynamic_cast<vcl::TComboBox*>(Form->FindComponent("CB_RibbonfontSize"));
  if (sizes->Items()->Count() == 0)
    for (const char* s : MainRibbonFontSizes()) sizes->Items()->Add(s);
  // What reading the form's resource ends with: every component of the
  // ribbon told that its properties are all set, in creation order (the
  // pager measures its tabs, the pages line their groups up, the
  // containers hand the styler's glow appearance to their buttons).
  std::vector<vcl::TComponent*> made;
  for (int i = before; i < Form->ComponentCount(); ++i) made.push_back(Form->Components(i));
  for (vcl::TComponent* c : made) c->BeginLoad();
  for (vcl::TComponent* c : made) c->EndLoad();
  // A page fits its groups when it loads, before the groups themselves
  // are loaded and may collapse: fitted again now, a page too narrow for
  // its groups starts as it would after any change of width.
  for (TLumPage* page : pages) page->FitToolBars();
  pager->SetActivePageIndex(0);
  return pager;
}

}  // namespace ide
