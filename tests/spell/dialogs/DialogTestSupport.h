#pragma once
// Helpers of the spell dialogs' tests: pumping the message loop, synthetic
// clicks and keys on class-library controls, answering modal forms, and a
// component over a scratch folder holding American.adm's folder.
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TestSupport.h"
#include "spell/engine/lx3Util.h"
#include "spell/lx3Spell.h"
#include "vcl/Forms.h"
#include "vcl/ListBox.h"
#include "vcl/StdCtrls.h"

namespace spell_dialog_test {

using rtl::AnsiString;
using rtl::Integer;

inline void Pump() {
  for (int i = 0; i < 8; ++i) vcl::Application->ProcessMessages();
}

// Frees a dialog form the way the class library frees forms.
struct FreeForm {
  void operator()(vcl::TCustomForm* f) const { vcl::Free(f); }
};

inline void Click(vcl::TWinControl* c) {
  QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, QPoint(c->Width() / 2, c->Height() / 2));
  Pump();
}

inline void ClickListItem(vcl::TCustomListBox* box, Integer index, bool twice = false) {
  const vcl::TRect r = box->ItemRect(index);
  const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  // The class library takes two clicks within the double-click time at
  // one spot as a double click.
  QTest::mouseClick(box->Widget(), Qt::LeftButton, {}, p);
  if (twice) QTest::mouseClick(box->Widget(), Qt::LeftButton, {}, p);
  Pump();
}

inline void DoubleClick(vcl::TWinControl* c) {
  const QPoint p(c->Width() / 2, c->Height() / 2);
  QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, p);
  QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, p);
  Pump();
}

inline void Type(vcl::TWinControl* c, const char* text) {
  QTest::keyClicks(c->Widget(), text);
  Pump();
}

// The first shown modal form other than skip.
inline vcl::TCustomForm* ModalForm() {
  for (Integer i = 0; i < vcl::Screen->FormCount(); ++i)
    if (vcl::Screen->Forms(i)->Modal()) return vcl::Screen->Forms(i);
  return nullptr;
}

// The texts of a form's labels, joined by new lines.
inline std::string LabelTexts(vcl::TCustomForm* form) {
  std::string out;
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (auto* l = dynamic_cast<vcl::TLabel*>(form->Components(i))) out += l->Caption() + "\n";
  return out;
}

// Answers the next modal form that opens while armed: records its caption
// and label texts and closes it with the result. Disarm (or the end of the
// answer's life) stops the waiting.
struct ModalAnswer {
  std::vector<std::string> captions, texts;
  ~ModalAnswer() { Disarm(); }
  void Arm(vcl::TModalResult result, std::function<void(vcl::TCustomForm*)> act = nullptr) {
    Disarm();
    armed_ = std::make_shared<bool>(true);
    Poll(armed_, result, std::move(act));
  }
  void Disarm() {
    if (armed_) *armed_ = false;
    armed_.reset();
  }

 private:
  void Poll(std::shared_ptr<bool> armed, vcl::TModalResult result, std::function<void(vcl::TCustomForm*)> act) {
    QTimer::singleShot(2, [this, armed, result, act] {
      if (!*armed) return;
      vcl::TCustomForm* f = ModalForm();
      if (!f) {  // not open yet
        Poll(armed, result, act);
        return;
      }
      *armed = false;
      captions.push_back(f->Caption());
      texts.push_back(LabelTexts(f));
      if (act) act(f);
      if (result != vcl::mrNone) f->SetModalResult(result);
    });
  }
  std::shared_ptr<bool> armed_;
};

// A component checking against American.adm, its settings in memory and
// its custom dictionaries in a scratch folder.
class ScratchSpell {
 public:
  explicit ScratchSpell(const char* name, bool activeCustom = true, vcl::TComponent* owner = nullptr)
      : dir(name), spell(owner) {
    spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
    spell.SetConfigStorage(spell::csNone);
    spell.ConfigDictionaryDir().Clear();
    spell.ConfigDictionaryDir().Add(dir.Path().string());
    spell.ConfigDictionaryDir().Add("%AppDir%");
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
    if (!activeCustom) spell.SetConfigDefaultActiveCustom("");
    spell.SynchronousCheck = false;
    spell.MaxSuggestions = 8;
  }
  ~ScratchSpell() { spell::testing::SetUserNameHook(nullptr); }
  core_test::ScratchFolder dir;
  spell::TLexaSpell3 spell;
};

}  // namespace spell_dialog_test
