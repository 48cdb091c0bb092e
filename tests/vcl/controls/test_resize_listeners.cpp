// Objects that follow a form's size hear of each resize before the form's
// own OnResize, once each, and leave the form by their id in any order.
#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace vcl;

TEST(FormResizeListeners, EachHearsOnceBeforeTheFormsOwnHandler) {
  TForm* form = vcltest::MakeForm(300, 200);
  std::vector<std::string> heard;
  form->OnResize = [&](TObject*) { heard.push_back("form"); };
  const Integer a = form->AddResizeListener([&](TCustomForm* f) {
    EXPECT_EQ(f, form);
    heard.push_back("a");
  });
  const Integer b = form->AddResizeListener([&](TCustomForm*) { heard.push_back("b"); });
  form->SetBounds(10, 10, 400, 300);
  EXPECT_EQ(heard, (std::vector<std::string>{"a", "b", "form"}));

  // Taken off in the order they were added, and the other way round.
  heard.clear();
  form->RemoveResizeListener(a);
  form->SetBounds(10, 10, 410, 300);
  EXPECT_EQ(heard, (std::vector<std::string>{"b", "form"}));
  form->RemoveResizeListener(b);
  form->RemoveResizeListener(b);  // twice: nothing
  heard.clear();
  form->SetBounds(10, 10, 420, 300);
  EXPECT_EQ(heard, (std::vector<std::string>{"form"}));
  Free(form);
}

TEST(FormResizeListeners, AListenerMayTakeItselfAndOthersOffWhileItRuns) {
  TForm* form = vcltest::MakeForm(300, 200);
  std::vector<std::string> heard;
  Integer second = 0;
  Integer first = 0;
  first = form->AddResizeListener([&](TCustomForm* f) {
    heard.push_back("first");
    f->RemoveResizeListener(first);
    f->RemoveResizeListener(second);
  });
  second = form->AddResizeListener([&](TCustomForm*) { heard.push_back("second"); });
  form->SetBounds(10, 10, 350, 250);
  form->SetBounds(10, 10, 360, 250);
  EXPECT_EQ(heard, (std::vector<std::string>{"first"}));
  Free(form);
}
