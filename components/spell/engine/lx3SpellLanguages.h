#pragma once
// Every text the spell checker's dialogs and menus show, by text id and
// user-interface language, compiled in. Texts are UTF-8. Languages without
// a translation of their own carry the English texts, accelerators and the
// spaces around the group-frame captions included.
#include <string>

namespace spell {

enum TSpellLanguageType {
  ltEnglish, ltSwedish, ltBrPort, ltAfrikaans, ltGerman, ltSpanish, ltRussian, ltCzech,
  ltDutch, ltDanish, ltPolish, ltNorwegianBok, ltFrench, ltItalian, ltEstonian
};
inline constexpr int SpellLanguageCount = 15;

enum TSpellLanguageString {
  lsLiveSpelling,
  lsLiveCorrect,
  lsIgnoreUpcase,
  lsIgnoreNumbers,
  lsHTML,
  lsInternet,
  lsQuoted,
  lsAbbreviations,
  lsPrimaryOnly,
  lsRepeated,
  lsDUalCaps,
  lsConfirmation,
  lsRemoveCustomDict,
  lsIgnoreAllChangeAll,
  lsSpelling,
  lsSpellingOptions,
  lsDictionaries,
  lsIgnoreAllChangeAllTitle,
  lsNewCustomTitle,
  lsDlgNotFound,
  lsDlgRepeatedWord,
  lsDlgReplaceWith,
  lsDlgSuggestions,
  lsDlgUndo,
  lsDlgOptions,
  lsDlgIgnoreAll,
  lsDlgIgnore,
  lsDlgChangeAll,
  lsDlgChange,
  lsDlgAdd,
  lsDlgAutoCorrect,
  lsDlgHelp,
  lsDlgCancel,
  lsDlgResetDefaults,
  lsDlgOptionsLabel,
  lsDlgDictionariesLabel,
  lsDlgName,
  lsDlgFilename,
  lsDlgCustomDictionary,
  lsDlgDictionaries,
  lsDlgBrowseForMain,
  lsDlgBrowseForMainTitle,
  lsDlgCustomDictionaries,
  lsDlgEdit,
  lsDlgDelete,
  lsDlgNew,
  lsDlgOK,
  lsDlgNewCustom,
  lsDlgAddedWords,
  lsDlgAddedWordsExplanation,
  lsDlgIgnoreThisWord,
  lsDlgAutoCorrectPairs,
  lsDlgAutoCorrectPairsExplanation,
  lsDlgReplace,
  lsDlgWith,
  lsDlgExcludedWords,
  lsDlgExcludedWordsExplanation,
  lsDlgExcludeThisWord,
  lsEndMessage,
  lsWordsChecked,
  lsEndSelectionMessage,
  lsMnNoSuggestions,
  lsMnIgnore,
  lsMnIgnoreAll,
  lsMnAdd,
  lsMnChangeAll,
  lsMnAutoCorrect,
  lsMnSpelling,
};
inline constexpr int SpellLanguageStringCount = 68;

// The text of id in language; empty for an id or language out of range.
std::string GetSpellLanguageString(int id, int language);

}  // namespace spell
