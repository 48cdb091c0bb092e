#include <gtest/gtest.h>

#include <cmath>

#include "core/KnExpressionU.h"
#include "rtl/Exceptions.h"

namespace {

TEST(KnExpression, BuiltInsAreRegisteredInOrder) {
  core::TKnExpression expr;
  const std::vector<std::pair<std::string, int>> builtIns = {
      {"abs", 1}, {"arctan", 1}, {"cos", 1},   {"exp", 1}, {"frac", 1}, {"int", 1},  {"trunc", 1},
      {"ln", 1},  {"pi", 0},     {"round", 1}, {"sin", 1}, {"sqr", 1},  {"sqrt", 1},
  };
  ASSERT_EQ(expr.IdentifierCount(), static_cast<int>(builtIns.size()));
  for (int i = 0; i < expr.IdentifierCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expr.Identifiers(i).Name, builtIns[static_cast<size_t>(i)].first);
    EXPECT_EQ(expr.Identifiers(i).ArgCount, builtIns[static_cast<size_t>(i)].second);
  }
  EXPECT_THROW(expr.Identifiers(13), rtl::EListError);
  EXPECT_FALSE(expr.AllowEqual());
}

TEST(KnExpression, BuiltInFunctions) {
  core::TKnExpression expr;
  struct Case {
    const char* name;
    double arg;
    double result;
  };
  const Case cases[] = {
      {"abs", -2.5, 2.5}, {"frac", -2.75, -0.75}, {"int", -2.75, -2}, {"trunc", 2.75, 2}, {"round", 2.5, 2},
      {"round", 3.5, 4},  {"sqr", -3, 9},         {"sqrt", 16, 4},    {"ln", 1, 0},       {"exp", 0, 1},
      {"sin", 0, 0},      {"cos", 0, 1},          {"arctan", 1, M_PI / 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const core::TKnIdentifier* ident = expr.FindIdentifier(c.name);
    ASSERT_NE(ident, nullptr);
    EXPECT_DOUBLE_EQ(ident->Func({c.arg}), c.result);
  }
  EXPECT_DOUBLE_EQ(expr.FindIdentifier("PI")->Func({}), M_PI);
}

TEST(KnExpression, DuplicateIdentifier) {
  core::TKnExpression expr;
  std::vector<std::string> told;
  expr.OnAddIdentifier = [&](core::TKnExpression* sender, const core::TKnIdentifier& ident) {
    EXPECT_EQ(sender, &expr);
    told.push_back(ident.Name);
  };
  expr.AddIdentifier("Twice", 1, [](const std::vector<double>& a) { return 2 * a.at(0); });
  EXPECT_EQ(expr.FindIdentifier("TWICE")->Func({4}), 8);
  for (const char* name : {"sqrt", "SQRT", "twice", "Pi"}) {
    SCOPED_TRACE(name);
    try {
      expr.AddIdentifier(name, 0, nullptr);
      ADD_FAILURE() << "no error";
    } catch (const core::EKnExprError& e) {
      EXPECT_EQ(e.ErrorCode(), 161);
      EXPECT_EQ(e.Message(), "Duplicate identifier");
    }
  }
  EXPECT_EQ(told, std::vector<std::string>{"twice"});
  EXPECT_EQ(expr.IdentifierCount(), 14);
}

}  // namespace
