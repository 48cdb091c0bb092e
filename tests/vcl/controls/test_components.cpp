// Ownership, names, free notification, alignment and anchors.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using namespace vcltest;

namespace {

struct Tracked : TComponent {
  std::vector<AnsiString>* log;
  std::vector<TComponent*> removed;
  Tracked(TComponent* owner, const char* name, std::vector<AnsiString>* l) : TComponent(owner), log(l) { SetName(name); }
  ~Tracked() override { log->push_back("free " + Name()); }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) removed.push_back(c);
  }
};

TEST(Components, OwnerFreesItsComponentsLastFirst) {
  std::vector<AnsiString> log;
  auto* root = new Tracked(nullptr, "Root", &log);
  new Tracked(root, "A", &log);
  auto* b = new Tracked(root, "B", &log);
  new Tracked(b, "B1", &log);
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(root->FindComponent("b"), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  delete root;
  // Each logs as its destruction begins, before its own components go.
  EXPECT_EQ(log, (std::vector<AnsiString>{"free Root", "free B", "free B1", "free A"}));
}

TEST(Components, NamesMustBeIdentifiersAndUniqueAmongTheOwners) {
  std::vector<AnsiString> log;
  TComponent owner(nullptr);
  auto* a = new Tracked(&owner, "Edit1", &log);
  auto* b = new Tracked(&owner, "Edit2", &log);
  try {
    b->SetName("EDIT1");
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named EDIT1 already exists");
  }
  try {
    a->SetName("1st");
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'1st' is not a valid component name");
  }
  a->SetName("");  // an empty name is allowed
  EXPECT_EQ(owner.FindComponent("Edit1"), nullptr);
}

TEST(Components, FreeNotificationClearsReferencesAcrossOwners) {
  std::vector<AnsiString> log;
  TComponent ownerA(nullptr), ownerB(nullptr);
  auto* watcher = new Tracked(&ownerA, "Watcher", &log);
  auto* watched = new Tracked(&ownerB, "Watched", &log);
  watched->FreeNotification(watcher);
  delete watched;
  ASSERT_EQ(watcher->removed.size(), 1u);
  EXPECT_EQ(watcher->removed[0], watched);
  // A popup menu freed before the control that uses it leaves no dangling
  // reference behind.
  TForm* form = MakeForm();
  auto* menu = new TPopupMenu(nullptr);
  auto* panel = new TPanel(form);
  panel->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(panel->PopupMenu(), nullptr);
  Free(form);
}

TEST(Components, ParentFreesItsChildrenAndTheOwnerForgetsThem) {
  TForm* form = MakeForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* button = new TButton(form);
  button->SetName("Inner");
  button->SetParent(panel);
  EXPECT_EQ(form->ComponentCount(), 2);
  delete panel;
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->FindComponent("Inner"), nullptr);
  Free(form);
}

struct AlignCase {
  const char* name;
  TAlign align;
  TRect want;
};

// A windowed control freed while parented leaves the parent's tab order
// too, so moving the focus later never meets a freed control.
TEST(Components, AWindowedChildFreedLeavesItsParentsTabOrder) {
  TForm* form = MakeForm();
  auto* first = new TEdit(form);
  first->SetParent(form);
  auto* doomed = new TEdit(form);
  doomed->SetParent(form);
  auto* last = new TEdit(form);
  last->SetParent(form);
  form->HandleNeeded();
  delete doomed;
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  EXPECT_EQ(order, (std::vector<TWinControl*>{first, last}));
  Free(form);
}

TEST(Layout, AlignmentSharesTheClientAreaInOrder) {
  TForm* form = MakeForm(400, 300);
  auto add = [form](TAlign a, Integer w, Integer h) {
    auto* p = new TPanel(form);
    p->SetBounds(0, 0, w, h);
    p->SetParent(form);
    p->SetAlign(a);
    return p;
  };
  auto* top = add(alTop, 50, 30);
  auto* bottom = add(alBottom, 50, 20);
  auto* left = add(alLeft, 60, 10);
  auto* right = add(alRight, 70, 10);
  auto* client = add(alClient, 10, 10);
  const std::vector<std::pair<TControl*, TRect>> want = {
      {top, Rect(0, 0, 400, 30)},       {bottom, Rect(0, 280, 400, 300)}, {left, Rect(0, 30, 60, 280)},
      {right, Rect(330, 30, 400, 280)}, {client, Rect(60, 30, 330, 280)},
  };
  for (auto& [c, r] : want) EXPECT_EQ(c->BoundsRect(), r) << c->ClassName();
  // The form grows: edges follow, the client area takes the rest.
  form->SetClientWidth(500);
  form->SetClientHeight(400);
  EXPECT_EQ(client->BoundsRect(), Rect(60, 30, 430, 380));
  EXPECT_EQ(right->BoundsRect(), Rect(430, 30, 500, 380));
  // A wider left panel narrows the client one.
  left->SetWidth(100);
  EXPECT_EQ(client->BoundsRect(), Rect(100, 30, 430, 380));
  // Hidden controls give up their place.
  top->Hide();
  EXPECT_EQ(client->BoundsRect(), Rect(100, 0, 430, 380));
  Free(form);
}

TEST(Layout, AnchorsKeepDistancesAndConstraintsLimitSizes) {
  TForm* form = MakeForm(300, 200);
  auto* stretch = new TPanel(form);
  stretch->SetBounds(10, 10, 100, 50);
  stretch->SetParent(form);
  stretch->SetAnchors({akLeft, akTop, akRight});
  auto* corner = new TButton(form);
  corner->SetBounds(200, 160, 75, 25);
  corner->SetParent(form);
  corner->SetAnchors({akRight, akBottom});
  form->SetClientWidth(400);
  form->SetClientHeight(250);
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 210, 60));
  EXPECT_EQ(corner->BoundsRect(), Rect(300, 210, 375, 235));
  auto* limited = new TPanel(form);
  limited->SetParent(form);
  limited->Constraints()->MinWidth = 40;
  limited->Constraints()->MaxHeight = 30;
  limited->SetBounds(0, 0, 10, 100);
  EXPECT_EQ(limited->Width(), 40);
  EXPECT_EQ(limited->Height(), 30);
  Free(form);
}

TEST(Layout, ParentFontAndColourFollowTheParent) {
  TForm* form = MakeForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(panel);
  form->Font()->SetName("Verdana");
  EXPECT_EQ(label->Font()->Name(), "Verdana");
  label->Font()->SetSize(14);  // its own font from now on
  EXPECT_FALSE(label->ParentFont());
  form->Font()->SetName("Arial");
  EXPECT_EQ(panel->Font()->Name(), "Arial");
  EXPECT_EQ(label->Font()->Name(), "Verdana");
  panel->SetColor(clRed);
  EXPECT_EQ(label->Color(), clRed);  // labels take their parent's colour
  Free(form);
}

}  // namespace
