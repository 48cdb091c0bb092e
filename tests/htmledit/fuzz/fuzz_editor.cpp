// Arbitrary bytes loaded into the editor component (the first byte says
// whether through the importer) and saved: nothing escapes, and the
// editor is left usable, with the page or, after OnDocumentLoadingError,
// the empty paragraph; a plain page loads and saves after it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "htmledit/control/psHtmlEdit.h"
#include "vcl/Forms.h"

namespace {

[[noreturn]] void Fail(const char* aWhat, const std::string& aInput, const std::string& aOutput) {
  std::fprintf(stderr, "%s\ninput:  %s\noutput: %s\n", aWhat, aInput.c_str(), aOutput.c_str());
  std::abort();
}

struct World {
  World() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    vcl::InitApplication();
    Form = new vcl::TForm(vcl::Application, 0);
    Form->SetClientWidth(420);
    Form->SetClientHeight(320);
    Editor = new htmledit::TpsHTMLEdit(Form);
    Editor->SetParent(Form);
    Editor->SetBounds(10, 10, 400, 300);
    Editor->CodeGenerator.BeautifyCode = false;
    Editor->OnSupportedCustomTag = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) {
      aKeep = true;
    };
    Editor->OnDocumentLoadingError = [this](htmldoc::TObjectPtr, const htmldoc::AnsiString&,
                                            const htmldoc::AnsiString&) { ++Errors; };
    Editor->Loaded();
    Form->Show();
  }
  vcl::TForm* Form;
  htmledit::TpsHTMLEdit* Editor;
  int Errors = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  if (size == 0) return 0;
  const bool import = (data[0] & 1) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  htmledit::TpsHTMLEdit* e = world.Editor;
  world.Errors = 0;
  std::string saved;
  try {
    e->LoadFromString(text, true, import);
    saved = e->SaveToString(false, true);
  } catch (const std::exception& x) {
    Fail(x.what(), text, saved);
  }
  if (world.Errors > 1) Fail("more than one loading error for one load", text, saved);
  if (world.Errors == 1 && saved != "<p>&nbsp;</p>") Fail("a failed load left something else", text, saved);
  if (!e->RootWindow()) Fail("no view after the load", text, saved);
  try {
    e->LoadFromString("<p>after</p>", true, false);
    const std::string after = e->SaveToString(false, true);
    if (after != "<p>after</p>") Fail("the editor is not usable after the load", text, after);
  } catch (const std::exception& x) {
    Fail(x.what(), text, saved);
  }
  return 0;
}
