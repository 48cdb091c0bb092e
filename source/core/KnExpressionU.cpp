#include "core/KnExpressionU.h"

#include <cmath>
#include <numbers>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/Strings.h"

namespace core {

namespace {

TKnFunction Unary(double (*f)(double)) {
  return [f](const std::vector<double>& args) { return f(args.at(0)); };
}

}  // namespace

TKnExpression::TKnExpression() {
  AddIdentifier("abs", 1, Unary([](double x) { return std::fabs(x); }));
  AddIdentifier("arctan", 1, Unary([](double x) { return std::atan(x); }));
  AddIdentifier("cos", 1, Unary([](double x) { return std::cos(x); }));
  AddIdentifier("exp", 1, Unary([](double x) { return std::exp(x); }));
  AddIdentifier("frac", 1, Unary([](double x) { return x - std::trunc(x); }));
  AddIdentifier("int", 1, Unary([](double x) { return std::trunc(x); }));
  AddIdentifier("trunc", 1, Unary([](double x) { return std::trunc(x); }));
  AddIdentifier("ln", 1, Unary([](double x) { return std::log(x); }));
  AddIdentifier("pi", 0, [](const std::vector<double>&) { return std::numbers::pi; });
  // Ties go to the even neighbour, as the run-time's Round does.
  AddIdentifier("round", 1, Unary([](double x) { return static_cast<double>(rtl::Round(x)); }));
  AddIdentifier("sin", 1, Unary([](double x) { return std::sin(x); }));
  AddIdentifier("sqr", 1, Unary([](double x) { return x * x; }));
  AddIdentifier("sqrt", 1, Unary([](double x) { return std::sqrt(x); }));
}

void TKnExpression::AddIdentifier(const AnsiString& name, Integer argCount, TKnFunction func) {
  if (FindIdentifier(name)) throw EKnExprError("Duplicate identifier", knErrDuplicateIdentifier, 0);
  identifiers_.push_back(TKnIdentifier{rtl::LowerCase(name), argCount, std::move(func)});
  if (OnAddIdentifier) OnAddIdentifier(this, identifiers_.back());
}

const TKnIdentifier* TKnExpression::FindIdentifier(const AnsiString& name) const {
  const AnsiString lower = rtl::LowerCase(name);
  for (const TKnIdentifier& ident : identifiers_)
    if (ident.Name == lower) return &ident;
  return nullptr;
}

const TKnIdentifier& TKnExpression::Identifiers(Integer index) const {
  if (index < 0 || index >= IdentifierCount())
    throw rtl::EListError(rtl::ListIndexMessage(index));
  return identifiers_[static_cast<size_t>(index)];
}

}  // namespace core
