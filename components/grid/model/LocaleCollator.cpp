#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <memory>

#include "grid/model/GridEnvironment.h"
#include "grid/model/GridSort.h"
#include "grid/model/LocaleCollator.h"

namespace grid {

namespace {

// Closes an ICU collator.
struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorHandle = std::unique_ptr<UCollator, CollatorCloser>;

CollatorHandle OpenCollator(const char* locale, UColAttributeValue strength) {
  UErrorCode status = U_ZERO_ERROR;
  CollatorHandle collator(ucol_open(locale, &status));
  if (U_FAILURE(status)) return nullptr;
  ucol_setStrength(collator.get(), strength);
  return collator;
}

class IcuCollator : public Collator {
 public:
  IcuCollator(CollatorHandle withCase, CollatorHandle withoutCase)
      : withCase_(std::move(withCase)), withoutCase_(std::move(withoutCase)) {}
  int Compare(std::string_view a, std::string_view b, bool ignoreCase) const override {
    UCollator* collator = ignoreCase ? withoutCase_.get() : withCase_.get();
    UErrorCode status = U_ZERO_ERROR;
    // Bytes that are no UTF-8 compare as replacement characters.
    const UCollationResult result = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                     static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) return fallback_.Compare(a, b, ignoreCase);
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
  }

 private:
  CollatorHandle withCase_;
  CollatorHandle withoutCase_;
  OrdinalCollator fallback_;
};

}  // namespace

std::unique_ptr<Collator> MakeLocaleCollator(const char* locale) {
  CollatorHandle withCase = OpenCollator(locale, UCOL_TERTIARY);
  CollatorHandle withoutCase = OpenCollator(locale, UCOL_SECONDARY);
  if (!withCase || !withoutCase) return std::make_unique<OrdinalCollator>();
  return std::make_unique<IcuCollator>(std::move(withCase), std::move(withoutCase));
}

const Collator& LocaleCollator() {
  // The user's locale as ICU reads it from the environment, opened once.
  static const std::unique_ptr<Collator> collator = MakeLocaleCollator(uloc_getDefault());
  return *collator;
}

}  // namespace grid
