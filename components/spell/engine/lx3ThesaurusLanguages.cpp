#include "spell/engine/lx3ThesaurusLanguages.h"

namespace spell::thesaurus {

namespace {

const char* const kEnglish[ThesaurusLanguageStringCount] = {
    "Thesaurus: %name%",
    "Looked &Up:",
    "Conte&xts:",
    "Replace &With:",
    "&Previous",
    "&Lookup",
    "&Replace",
    "&Close",
    "(not found)",
};

}  // namespace

std::string GetThesaurusLanguageString(int id, int language) {
  if (id < 0 || id >= ThesaurusLanguageStringCount || language < 0 || language >= ThesaurusLanguageCount) return {};
  return kEnglish[id];
}

}  // namespace spell::thesaurus
