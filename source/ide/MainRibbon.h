#pragma once
// The main window's ribbon made in code, as the main form lays it out:
// the pager "mainpager" with its six pages and fourteen groups, the glow
// buttons bound to the form's actions, the containers, combo boxes and
// edits, the drop-down menus of the ribbon's buttons and the help button,
// and the office styler in the classic look with the form's own values on
// top. Everything is owned by the form and carries the form's component
// names, so the window finds what it drives with FindComponent. Combo
// boxes, edits and menus the form already holds under their names are
// seated on the ribbon instead of made (a menu that has items is left as
// it is; the font-size list is filled only when empty).
#include <string>
#include <vector>

#include "vcl/Forms.h"

namespace vcl {
class TActionList;
}

namespace ribbon {
class TRorIvezEviPager;
class TRorIvezEviOfficeStyler;
}  // namespace ribbon

namespace ide {

// Builds the ribbon on Form (its client width is the ribbon's width) and
// answers the pager. Every action the ribbon binds is looked up by name in
// Actions; a missing one raises rtl::Exception naming it. The pager shows
// all six pages, both "&Edit" pages among them, as the form streams them:
// which "&Edit" page stays is the window's business. Event handlers
// (OnChanging, OnHelpClick, the recent-projects menu's items, the "Insert"
// button's click) are left to the window.
ribbon::TRorIvezEviPager* MainRibbonFixture(vcl::TForm* Form, vcl::TActionList* Actions);

// The form's office styler with its values: bsOffice2003Classic, then the
// main form's own settings. Owned by Form; MainRibbonFixture makes one.
ribbon::TRorIvezEviOfficeStyler* MakeMainRibbonStyler(vcl::TForm* Form);

// Every action the ribbon binds (its buttons, check boxes and the menus it
// fills), each once, in the ribbon's order.
std::vector<std::string> MainRibbonActionNames();

// The font-size combo's list: 8 .. 72 in points, then the same in pixels.
const std::vector<const char*>& MainRibbonFontSizes();

}  // namespace ide
