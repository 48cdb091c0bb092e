// The check run of TLexaSpell3Base: the word loop, the dialog commands,
// undo, the end of a run and word counting.
#include <chrono>
#include <thread>

#include "rtl/Clock.h"
#include "rtl/MessagePump.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/engine/lx3Text.h"

namespace spell {

namespace {
constexpr Integer kChangeState = 0, kChangeAllState = 1, kAutoCorrectState = 2;
constexpr Integer kIgnoreState = 10, kIgnoreAllState = 11, kAddState = 12;
}  // namespace

void TLexaSpell3Base::WaitForCommand() {
  rtl::ProcessMessages();
  std::this_thread::yield();
}

void TLexaSpell3Base::CheckParser(TControlParser* parser, Integer checkType, bool ownsParser) {
  {
    Lock lock(mutex_);
    std::unique_ptr<TControlParser> owned(ownsParser ? parser : nullptr);
    if (checking_ || (multiPart_ && cancelled_)) return;  // an owned parser goes with `owned`
    if (checkType == 3) {
      freeParserAtEnd_ = false;
      CheckSmartSelection(parser);
      return;
    }
    ownedParser_ = std::move(owned);
    freeParserAtEnd_ = ownsParser;
    beforeChangeFired_ = cancelled_ = repeatedPrompt_ = false;
    checking_ = true;
    try {
      config_->EnsureLoaded();
      currentParser_ = parser;
      parser->GetCursorPosition(startX_, startY_);
      previousAccepted_.clear();
      engine_->Initialize(parser, checkType);
      undo_.clear();
      if (!multiPart_) {
        wordsChecked_ = 0;
        primaryCountdown_ = 100;
        dialogShownInRun_ = false;
      }
      ChoosePrimaryDictionary();
      ContinueCheck();  // inside the guard below
    } catch (...) {
      // An error ends the run as a cancel does, so later checks start.
      cancelled_ = true;
      CompleteCheck();
      throw;
    }
  }
  // The wait runs without the lock: the dialog's commands take it each time,
  // and live spelling goes on meanwhile.
  while (SynchronousCheck && checking_) WaitForCommand();
}

void TLexaSpell3Base::GuardedContinue() {
  try {
    ContinueCheck();
  } catch (...) {
    // An error leaving the loop ends the run as a cancel does, so later
    // checks start; then it goes on to the caller.
    if (checking_) {
      cancelled_ = true;
      CompleteCheck();
    }
    throw;
  }
}

void TLexaSpell3Base::ContinueCheck() {
  TControlParser* p = currentParser_;
  // After a second of checking the hourglass shows until the loop stops.
  const uint64_t started = rtl::GetTickCount64();
  bool busy = false;
  struct BusyGuard {
    TLexaSpell3Base& spell;
    bool& busy;
    ~BusyGuard() {
      if (busy) spell.SetBusyCursor(false);
    }
  } guard{*this, busy};
  for (;;) {
    if (UseHourglassCursor && !busy && rtl::GetTickCount64() - started > 1000) {
      busy = true;
      SetBusyCursor(true);
    }
    const std::string word = engine_->NextWord();
    if (word.empty()) {
      CompleteCheck();
      return;
    }
    ++wordsChecked_;
    if (primaryCountdown_ > 0 && --primaryCountdown_ == 0) ChoosePrimaryDictionary();
    currentWord_ = FromEngineText(word);
    AnsiString replacement;
    TWordCheckType type;
    if (WordAcceptable(currentWord_)) {
      type = wcAccepted;
      if (UseAutoCorrectFirst && FindAutoCorrection(currentWord_, replacement)) {
        type = wcCorrected;
      } else if (repeated_) {
        if (previousAccepted_ == word && IsRepeatedWord(word, p)) type = wcRepeated;
        previousAccepted_ = word;
      }
    } else if (FindAutoCorrection(currentWord_, replacement)) {
      type = wcCorrected;
    } else if (!UseExcludeWords) {
      type = wcDenied;
    } else {
      type = IsExcludedWord(currentWord_) || IsExcludedWord(ApplyCaseRule(currentWord_)) ? wcExcluded : wcDenied;
    }
    if (OnWordCheck) OnWordCheck(this, currentWord_, type, replacement);
    if (type == wcCorrected) {
      p->SelectPreviousWord(static_cast<Integer>(word.size()));
      AddUndo(saChange, replacement, true);
      ReplaceCurrentWord(replacement, kAutoCorrectState);
      continue;
    }
    if (type == wcAccepted) continue;
    repeatedPrompt_ = type == wcRepeated;
    if (repeatedPrompt_) currentWord_ = currentWord_ + " " + currentWord_;
    SelectCurrentWord();
    p->CenterSelection();
    dialogShownInRun_ = dialogShownInRun_ || UIType == suiDialog;
    ShowSpellDialog();
    if (checking_) PromptWord();
    return;
  }
}

void TLexaSpell3Base::SelectCurrentWord() {
  std::string w;
  EngineCharsOfUtf8(currentWord_).swap(w);
  currentParser_->SelectPreviousWord(static_cast<Integer>(w.size()));
}

bool TLexaSpell3Base::IsRepeatedWord(const std::string& word, TControlParser* parser) {
  Integer x = 0, y = 0;
  parser->GetPosition(x, y);
  bool repeated = true;
  for (size_t i = 0; i < word.size() + 1 && repeated; ++i) repeated = parser->MovePrevious();
  if (repeated) repeated = parser->GetChar() == ' ';
  for (size_t i = word.size(); i > 0 && repeated; --i)
    repeated = parser->MovePrevious() && parser->GetChar() == word[i - 1];
  parser->SetPosition(x, y, 0);
  return repeated;
}

void TLexaSpell3Base::PromptWord() {
  ChoosePrimaryDictionary();
  PromptDialogWord(currentWord_, repeatedPrompt_);
  if (OnPromptWord) OnPromptWord(this, currentWord_, repeatedPrompt_);
}

void TLexaSpell3Base::ReplaceCurrentWord(const AnsiString& text, Integer state) {
  if (!beforeChangeFired_) {
    beforeChangeFired_ = true;
    if (OnBeforeChange) OnBeforeChange(this);
  }
  if (OnParserReplaceWord) OnParserReplaceWord(this, true, text, state);
  std::string engineText = EngineCharsOfUtf8(text);
  currentParser_->ReplaceWord(engineText, state);
  if (OnParserReplaceWord) OnParserReplaceWord(this, false, text, state);
}

void TLexaSpell3Base::IgnoreCurrentWord(Integer state) {
  if (OnParserIgnoreWord) OnParserIgnoreWord(this, true, state);
  WordIgnoredListeners.State = state;
  WordIgnoredListeners.Before = true;
  WordIgnoredListeners.NotifyListeners(this);
  currentParser_->IgnoreWord(state);
  if (OnParserIgnoreWord) OnParserIgnoreWord(this, false, state);
  WordIgnoredListeners.Before = false;
  WordIgnoredListeners.NotifyListeners(this);
}

// ---- dialog commands ----

void TLexaSpell3Base::IgnoreCurrent() {
  Lock lock(mutex_);
  if (!checking_) return;
  AddUndo(saIgnore, "", false);
  IgnoreCurrentWord(kIgnoreState);
  GuardedContinue();
}

void TLexaSpell3Base::IgnoreAllCurrent() {
  Lock lock(mutex_);
  if (!checking_ || repeatedPrompt_) return;
  AddUndo(saIgnoreAll, "", false);
  std::string w;
  if (ToEngineText(currentWord_, w)) internal_->AddIgnore(w);
  IgnoreCurrentWord(kIgnoreAllState);
  GuardedContinue();
}

void TLexaSpell3Base::ChangeCurrent(const AnsiString& replacement) {
  Lock lock(mutex_);
  if (!checking_ || repeatedPrompt_) return;
  AddUndo(saChange, replacement, false);
  ReplaceCurrentWord(replacement, kChangeState);
  if (RecheckReplacedWords) {
    Integer x = 0, y = 0;
    currentParser_->GetPosition(x, y);
    currentParser_->SetPosition(x - static_cast<Integer>(EngineCharsOfUtf8(replacement).size()), y, 0);
  }
  LearnReplacement(currentWord_, replacement);
  GuardedContinue();
}

void TLexaSpell3Base::ChangeAllCurrent(const AnsiString& replacement) {
  Lock lock(mutex_);
  if (!checking_ || repeatedPrompt_) return;
  AddUndo(saChangeAll, replacement, false);
  std::string w, r;
  if (ToEngineText(currentWord_, w) && ToEngineText(replacement, r)) internal_->AddAutoCorrect(w, r);
  ReplaceCurrentWord(replacement, kChangeAllState);
  LearnReplacement(currentWord_, replacement);
  GuardedContinue();
}

void TLexaSpell3Base::AddCurrent() {
  Lock lock(mutex_);
  if (!checking_ || repeatedPrompt_) return;
  AddUndo(saAdd, "", false);
  std::string w;
  if (activeCustom_ && ToEngineText(currentWord_, w)) activeCustom_->AddIgnore(w);
  IgnoreCurrentWord(kAddState);
  GuardedContinue();
}

void TLexaSpell3Base::AutoCorrectCurrent(const AnsiString& replacement) {
  Lock lock(mutex_);
  if (!checking_ || repeatedPrompt_) return;
  AddUndo(saAutoCorrect, replacement, false);
  std::string w, r;
  if (activeCustom_ && ToEngineText(currentWord_, w) && ToEngineText(replacement, r))
    activeCustom_->AddAutoCorrect(w, r);
  LearnReplacement(currentWord_, replacement);
  ReplaceCurrentWord(replacement, kAutoCorrectState);
  GuardedContinue();
}

void TLexaSpell3Base::UndoCurrent() {
  Lock lock(mutex_);
  if (!checking_ || !CanUndo()) return;
  UndoLastAction();
  GuardedContinue();
}

void TLexaSpell3Base::IgnoreRepeated() { IgnoreCurrent(); }

void TLexaSpell3Base::DeleteRepeated() {
  Lock lock(mutex_);
  if (!checking_ || !repeatedPrompt_) return;
  const AnsiString single = FromEngineText(previousAccepted_);
  AddUndo(saChange, single, false);
  ReplaceCurrentWord(single, kChangeState);
  GuardedContinue();
}

void TLexaSpell3Base::CancelCheck() { StopCheck(true); }

void TLexaSpell3Base::StopCheck(bool cancelled) {
  Lock lock(mutex_);
  if (!checking_) return;
  cancelled_ = cancelled;
  CompleteCheck();
}

void TLexaSpell3Base::ResumeCheck() {
  Lock lock(mutex_);
  if (!checking_) return;
  undo_.clear();
  Integer x = 0, y = 0;
  currentParser_->GetPosition(x, y);
  x = std::max(0, x - static_cast<Integer>(EngineCharsOfUtf8(currentWord_).size()));
  Integer cx = 0, cy = 0;
  currentParser_->GetCursorPosition(cx, cy);
  if (!ResumeFromLastPosition || cy < y || (cy == y && cx < x)) {
    x = cx;
    y = cy;
  }
  engine_->StartAt(x, y);
  GuardedContinue();
}

// ---- undo ----

bool TLexaSpell3Base::CanUndo() {
  Lock lock(mutex_);
  return !undo_.empty();
}

void TLexaSpell3Base::ClearUndo() {
  Lock lock(mutex_);
  undo_.clear();
}

void TLexaSpell3Base::NotifyUndo(Integer phase, TSpellAction action, Integer& data) {
  if (OnParserUndoLast) OnParserUndoLast(this, phase, action, data);
  if (currentParser_) currentParser_->UndoLast(phase, action, data);
}

void TLexaSpell3Base::AddUndo(TSpellAction action, const AnsiString& replacement, bool automatic) {
  if (!currentParser_ || MaxUndo == 0) return;
  TLexaUndo u;
  currentParser_->GetPosition(u.X, u.Y);
  u.Word = currentWord_;
  u.Action = action;
  u.Replacement = replacement;
  u.Automatic = automatic;
  NotifyUndo(0, action, u.Data);
  undo_.push_back(u);
  while (MaxUndo != -1 && static_cast<Integer>(undo_.size()) > MaxUndo) undo_.erase(undo_.begin());
}

void TLexaSpell3Base::UndoLastAction() {
  for (;;) {
    if (!currentParser_ || undo_.empty()) return;
    TLexaUndo u = undo_.back();
    NotifyUndo(1, u.Action, u.Data);
    std::string w, r;
    const bool held = ToEngineText(u.Word, w) && ToEngineText(u.Replacement, r);
    auto changeBack = [&](Integer state) {
      const auto length = static_cast<Integer>(EngineCharsOfUtf8(u.Replacement).size());
      currentParser_->SetPosition(u.X + length, u.Y, 0);
      currentParser_->SelectPreviousWord(length);
      ReplaceCurrentWord(u.Word, state);
    };
    switch (u.Action) {
      case saIgnore:
        break;
      case saIgnoreAll:
        if (held) internal_->RemoveIgnore(w);
        break;
      case saChange:
        changeBack(3);
        break;
      case saChangeAll:
        if (held) internal_->RemoveAutoCorrect(w);
        changeBack(4);
        break;
      case saAdd:
        if (activeCustom_ && held) activeCustom_->RemoveIgnore(w);
        break;
      case saAutoCorrect:
        if (activeCustom_ && held) activeCustom_->RemoveAutoCorrect(w);
        if (held) internal_->RemoveAutoCorrect(w);
        changeBack(5);
        break;
    }
    currentParser_->SetPosition(u.X, u.Y, 0);
    undo_.pop_back();
    NotifyUndo(2, u.Action, u.Data);
    if (!u.Automatic) return;
  }
}

// ---- ending ----

void TLexaSpell3Base::ShowEndMessage() {
  if (UIType != suiDialog || multiPart_) return;
  const bool show = EndMessage == emAlways || (EndMessage == emExceptCancel && !cancelled_) ||
                    (EndMessage == emNoDialog && dialogShownInRun_);
  if (!show) return;
  if (hideDialogAllowed_) HideSpellDialog();
  if (OnShowEndMessage) {
    OnShowEndMessage(this);
    return;
  }
  AnsiString text = GetString(lsEndMessage);
  if (EndMessageWordCount) text += "\r\n\r\n" + GetString(lsWordsChecked) + " " + std::to_string(wordsChecked_);
  ShowMessageText(text, GetString(lsSpelling));
}

void TLexaSpell3Base::CompleteCheck() {
  if (OnCompleteCheck) OnCompleteCheck(this);
  ShowEndMessage();
  if (currentParser_ && !cancelled_) {
    if (EndCursorPosition == epHome)
      currentParser_->SetPosition(0, 0, 0);
    else if (EndCursorPosition == epOriginal)
      currentParser_->SetPosition(startX_, startY_, 0);
    currentParser_->SelectPreviousWord(0);
  }
  if (freeParserAtEnd_) ownedParser_.reset();
  currentParser_ = nullptr;
  HideSpellDialog();
  undo_.clear();
  checking_ = false;
  ReleaseDictionaries();
}

// ---- several parts ----

void TLexaSpell3Base::BeginMultiPartCheck() {
  wordsChecked_ = 0;
  primaryCountdown_ = 100;
  cancelled_ = false;
  multiPart_ = true;
  dialogShownInRun_ = false;
  savedHideDialogAllowed_ = hideDialogAllowed_;
  savedKeepActive_ = KeepDictionariesActive;
  hideDialogAllowed_ = false;
  KeepDictionariesActive = true;
}

void TLexaSpell3Base::EndMultiPartCheck() {
  if (!multiPart_) return;
  multiPart_ = false;
  hideDialogAllowed_ = true;
  ShowEndMessage();
  HideSpellDialog();
  hideDialogAllowed_ = savedHideDialogAllowed_;
  KeepDictionariesActive = savedKeepActive_;
  if (!KeepDictionariesActive) ReleaseDictionaries();
}

void TLexaSpell3Base::CheckSmartSelection(TControlParser* parser) {
  const bool savedSynchronous = SynchronousCheck;
  SynchronousCheck = true;
  BeginMultiPartCheck();
  Integer x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  parser->GetSelectionPosition(x1, y1, x2, y2);
  if (x1 == x2 && y1 == y2) {
    CheckParser(parser, 1);
    parser->SetPosition(0, 0, 0);
    parser->SetPosition(x1, y1, 1);
    CheckParser(parser, 4);
  } else {
    CheckParser(parser, 0);
    if (!cancelled_) {
      if (AskYesNo(GetString(lsEndSelectionMessage), GetString(lsSpelling))) {
        parser->SetPosition(x2, y2, 0);
        parser->SetPosition(2147483647, 2147483647, 1);
        CheckParser(parser, 4);
        parser->SetPosition(0, 0, 0);
        parser->SetPosition(x1, y1, 1);
        CheckParser(parser, 4);
      } else {
        cancelled_ = true;
      }
    }
  }
  EndMultiPartCheck();
  SynchronousCheck = savedSynchronous;
}

// ---- strings and counting ----

void TLexaSpell3Base::CheckString(AnsiString& text) {
  TStringParser parser;
  parser.Initialize(&text);
  const bool synchronous = SynchronousCheck;
  SynchronousCheck = true;  // the parser lives on this stack frame
  CheckParser(&parser, 2);
  SynchronousCheck = synchronous;
}

Integer TLexaSpell3Base::WordCountString(const AnsiString& text) {
  AnsiString copy = text;
  TStringParser parser;
  parser.Initialize(&copy);
  return WordCount(&parser, 2);
}

Integer TLexaSpell3Base::WordCount(TControlParser* parser, Integer checkType) {
  Integer words = 0, errors = 0;
  bool hasErrors = false;
  CountWords(parser, checkType, words, errors, hasErrors, false, false);
  return words;
}

void TLexaSpell3Base::CountWords(TControlParser* parser, Integer checkType, Integer& words, Integer& errors,
                                 bool& hasErrors, bool stopAtFirstError, bool checkSpelling) {
  Lock lock(mutex_);
  words = errors = 0;
  hasErrors = false;
  if (checkType != 0 && checkType != 2) return;
  config_->EnsureLoaded();
  Integer x = 0, y = 0;
  parser->GetCursorPosition(x, y);
  TMainParsingEngine engine;
  engine.OnCharacter = engine_->OnCharacter;
  engine.OnWord = engine_->OnWord;
  if (auto* main = dynamic_cast<TMainParsingEngine*>(engine_.get()))
    engine.SetFrenchApostrophes(main->FrenchApostrophes());
  engine.Initialize(parser, checkType);
  std::string previous;
  for (std::string w = engine.NextWord(); !w.empty(); w = engine.NextWord()) {
    ++words;
    if (checkSpelling) {
      if (!WordAcceptable(FromEngineText(w))) {
        ++errors;
      } else if (repeated_) {
        if (previous == w && IsRepeatedWord(w, parser)) ++errors;
        previous = w;
      }
      if (stopAtFirstError && errors > 0) break;
    }
  }
  if (EndCursorPosition == epHome)
    parser->SetPosition(0, 0, 0);
  else if (EndCursorPosition == epOriginal)
    parser->SetPosition(x, y, 0);
  parser->SelectPreviousWord(0);
  hasErrors = errors > 0;
}

}  // namespace spell
