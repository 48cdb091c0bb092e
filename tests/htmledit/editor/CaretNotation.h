#pragma once
// Pages in the editing tests with the caret written as "|" in place of the
// editing-position comment the editor reads and writes.
#include <string>

namespace htmledittest {

inline const std::string& EditingPositionComment() {
  static const std::string comment = "<!-- EDITING POSITION -->";
  return comment;
}

inline std::string WithCaret(std::string aText) {
  const std::string& caret = EditingPositionComment();
  for (size_t at = aText.find('|'); at != std::string::npos; at = aText.find('|', at + caret.size()))
    aText.replace(at, 1, caret);
  return aText;
}

inline std::string ShowCaret(std::string aText) {
  const std::string& caret = EditingPositionComment();
  for (size_t at = aText.find(caret); at != std::string::npos; at = aText.find(caret, at + 1))
    aText.replace(at, caret.size(), "|");
  return aText;
}

}  // namespace htmledittest
