// The dialogs hold the component's lock while they are open, so the
// settings they change under it never meet live spelling halfway: a real
// second thread asks about a word while a dialog is open and gets its
// answer only after the dialog has closed. A check run's spell dialog
// waits without the lock, so live spelling goes on beside it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DialogTestSupport.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/lx3SpellDialog.h"
#include "vcl/ShellChoosers.h"

using namespace spell;
using namespace spell_dialog_test;

namespace {

// Live spelling's side: a thread that asks the component about a word as
// the editor's analysis thread does, and a log both threads write to.
class LockProbeLiveSpeller {
 public:
  explicit LockProbeLiveSpeller(TLexaSpell3& spell) : spell_(spell) {
    auto lock = spell.LockComponent();
    mutex_ = lock.mutex();
  }
  ~LockProbeLiveSpeller() {
    if (thread_.joinable()) thread_.join();
  }

  // Whether a thread other than this one could take the component's lock
  // now.
  bool LockFreeForAnotherThread() {
    bool got = false;
    std::thread t([&] {
      if (mutex_->try_lock()) {
        got = true;
        mutex_->unlock();
      }
    });
    t.join();
    return got;
  }

  // Starts the thread asking about word; returns once it is about to ask.
  void StartAsking(const char* word) {
    thread_ = std::thread([this, word] {
      asking_ = true;
      const bool acceptable = spell_.WordAcceptable(word);
      Log(std::string("live: ") + word + (acceptable ? " accepted" : " denied"));
    });
    while (!asking_) std::this_thread::yield();
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  void Log(const std::string& line) {
    std::lock_guard<std::mutex> g(logMutex_);
    log_.push_back(line);
  }
  std::vector<std::string> TakeLog() {
    std::lock_guard<std::mutex> g(logMutex_);
    return std::exchange(log_, {});
  }

 private:
  TLexaSpell3& spell_;
  std::recursive_mutex* mutex_ = nullptr;
  std::thread thread_;
  std::atomic<bool> asking_{false};
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

// One way a dialog opens: open runs it and calls whileOpen from inside it,
// then lets it close without a choice.
struct LockedDialogCase {
  const char* name;
  std::function<void(ScratchSpell& s, const std::function<void()>& whileOpen)> open;
};

void AnswerModalInside(const std::function<void()>& whileOpen, ModalAnswer& answer) {
  answer.Arm(vcl::mrCancel, [whileOpen](vcl::TCustomForm*) { whileOpen(); });
}

const LockedDialogCase kLockedDialogs[] = {
    {"options dialog",
     [](ScratchSpell& s, const std::function<void()>& whileOpen) {
       ModalAnswer answer;
       AnswerModalInside(whileOpen, answer);
       s.spell.ShowConfigDialog();
     }},
    {"dictionaries dialog",
     [](ScratchSpell& s, const std::function<void()>& whileOpen) {
       ModalAnswer answer;
       AnswerModalInside(whileOpen, answer);
       s.spell.ShowCustomDictionariesDialog();
     }},
    {"edit dialog",
     [](ScratchSpell& s, const std::function<void()>& whileOpen) {
       TCustomDictionary dictionary;
       dictionary.SetFilename((s.dir.Path() / "locked.adu").string());
       dictionary.SetLoaded(true);
       ModalAnswer answer;
       AnswerModalInside(whileOpen, answer);
       s.spell.ShowEditCustomDictionaryDialog(&dictionary);
     }},
    {"folder chooser",
     [](ScratchSpell& s, const std::function<void()>& whileOpen) {
       vcl::SetFolderChooserHook([whileOpen](const vcl::TFolderRequest&, AnsiString&) {
         whileOpen();
         return false;
       });
       s.spell.ShowAddDictionaryDir();
       vcl::SetFolderChooserHook(nullptr);
     }},
};

}  // namespace

TEST(DialogLock, LiveSpellingWaitsUntilTheDialogCloses) {
  for (const LockedDialogCase& c : kLockedDialogs) {
    SCOPED_TRACE(c.name);
    ScratchSpell s("spell-dlg-lock");
    LockProbeLiveSpeller live(s.spell);
    ASSERT_TRUE(live.LockFreeForAnotherThread());
    bool opened = false;
    c.open(s, [&] {
      opened = true;
      EXPECT_FALSE(live.LockFreeForAnotherThread());
      live.StartAsking("wrold");
      live.Log("dialog closing");
    });
    live.Join();
    EXPECT_TRUE(opened);
    EXPECT_EQ(live.TakeLog(), (std::vector<std::string>{"dialog closing", "live: wrold denied"}));
    EXPECT_TRUE(live.LockFreeForAnotherThread());  // nothing kept it
  }
}

TEST(DialogLock, ARunsSpellDialogLeavesTheLockFreeAndItsOptionsDialogTakesIt) {
  ScratchSpell s("spell-dlg-lock-run");
  LockProbeLiveSpeller live(s.spell);
  std::string text = "A wrold here.";
  TStringParser parser;
  parser.Initialize(&text);
  s.spell.CheckParser(&parser, 2);
  Pump();
  auto* d = dynamic_cast<TSpellDialog*>(s.spell.SpellDialogForm());
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(s.spell.Checking());

  // While the dialog waits for the user, live spelling answers at once.
  EXPECT_TRUE(live.LockFreeForAnotherThread());
  live.StartAsking("here");
  live.Join();
  live.Log("dialog waiting");
  EXPECT_EQ(live.TakeLog(), (std::vector<std::string>{"live: here accepted", "dialog waiting"}));

  // Its Options button opens the options dialog under the lock.
  ModalAnswer answer;
  bool opened = false;
  answer.Arm(vcl::mrCancel, [&](vcl::TCustomForm* form) {
    opened = true;
    EXPECT_EQ(form->Caption(), "Spelling Options");
    EXPECT_FALSE(live.LockFreeForAnotherThread());
    live.StartAsking("wrold");
    live.Log("options closing");
  });
  Click(d->OptionsButton);
  live.Join();
  EXPECT_TRUE(opened);
  EXPECT_EQ(live.TakeLog(), (std::vector<std::string>{"options closing", "live: wrold denied"}));
  EXPECT_TRUE(live.LockFreeForAnotherThread());
  EXPECT_TRUE(s.spell.Checking());
  EXPECT_EQ(d->NotFoundEdit->Text(), "wrold");
  s.spell.CancelCheck();
  Pump();
  EXPECT_FALSE(s.spell.Checking());
}
