#pragma once
// The expression-evaluator component of the pattern engine's family: a table
// of identifiers (functions with their argument count) that an expression
// could name. The built-in mathematical functions are registered when the
// component is created; nothing in the tooling evaluates an expression text
// with it.
#include <functional>
#include <vector>

#include "core/KnRegExU.h"

namespace core {

// Error code of a second registration of one name ("Duplicate identifier").
constexpr Integer knErrDuplicateIdentifier = 161;

class TKnExpression;

// An identifier's function: receives exactly ArgCount arguments.
using TKnFunction = std::function<double(const std::vector<double>& args)>;

struct TKnIdentifier {
  AnsiString Name;  // lower case
  Integer ArgCount = 0;
  TKnFunction Func;
};

// Told about every identifier once it is registered.
using TKnAddIdentifierEvent = std::function<void(TKnExpression* Sender, const TKnIdentifier& ident)>;
// Asked for the value of a name the table does not hold; Found says whether
// the handler knew it.
using TKnGetIdentValueEvent =
    std::function<void(TKnExpression* Sender, const AnsiString& name, double& value, bool& found)>;

class TKnExpression : public TKnComponent {
 public:
  // Registers the built-ins, in this order: abs, arctan, cos, exp, frac,
  // int, trunc, ln, pi (no argument), round, sin, sqr, sqrt.
  TKnExpression();

  // Registers name (stored in lower case). A name already registered, in any
  // letter case, raises EKnExprError 161 "Duplicate identifier".
  void AddIdentifier(const AnsiString& name, Integer argCount, TKnFunction func);
  // The identifier of that name (any letter case); null when none.
  const TKnIdentifier* FindIdentifier(const AnsiString& name) const;
  Integer IdentifierCount() const { return static_cast<Integer>(identifiers_.size()); }
  // Raises EListError for an index outside 0..IdentifierCount()-1.
  const TKnIdentifier& Identifiers(Integer index) const;

  // Whether "=" may appear in an expression; kept for the expression syntax.
  bool AllowEqual() const { return allowEqual_; }
  void SetAllowEqual(bool value) { allowEqual_ = value; }

  TKnAddIdentifierEvent OnAddIdentifier;
  TKnGetIdentValueEvent OnGetIdentValue;

 private:
  std::vector<TKnIdentifier> identifiers_;
  bool allowEqual_ = false;
};

}  // namespace core
