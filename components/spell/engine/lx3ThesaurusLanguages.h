#pragma once
// Every text the thesaurus dialog shows, by text id and user-interface
// language, compiled in (UTF-8). Languages without a translation of their
// own carry the English texts. The names live in their own namespace: the
// thesaurus's language and text names repeat some of the spell checker's.
#include <string>

namespace spell::thesaurus {

enum TThesaurusLanguageType {
  ltEnglish, ltSwedish, ltGerman, ltRussian, ltCzech, ltDanish, ltNorwegianBok, ltPolish, ltItalian, ltEstonian
};
inline constexpr int ThesaurusLanguageCount = 10;

enum TThesaurusLanguageString {
  lsThesaurus,
  lsDlgLookedUp,
  lsDlgContexts,
  lsDlgReplaceWith,
  lsDlgPrevious,
  lsDlgLookup,
  lsDlgReplace,
  lsDlgClose,
  lsDlgNotFound,
};
inline constexpr int ThesaurusLanguageStringCount = 9;

// The text of id in language; empty for an id or language out of range.
std::string GetThesaurusLanguageString(int id, int language);

}  // namespace spell::thesaurus
