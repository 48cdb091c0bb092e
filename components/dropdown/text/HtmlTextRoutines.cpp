#include "dropdown/text/HtmlTextRoutines.h"

#include "rtl/Strings.h"

namespace dropdown {
namespace {

// Position of needle in s from start, ignoring ASCII case; npos when none.
size_t FindText(std::string_view s, std::string_view needle, size_t start = 0) {
  if (needle.size() > s.size()) return std::string_view::npos;
  for (size_t i = start; i + needle.size() <= s.size(); ++i)
    if (rtl::SameText(s.substr(i, needle.size()), needle)) return i;
  return std::string_view::npos;
}

}  // namespace

rtl::AnsiString StripHTML(std::string_view html) {
  // Line-break tags first, as whole "<BR>" and "<HR>" only.
  rtl::AnsiString text;
  text.reserve(html.size());
  for (size_t i = 0; i < html.size();) {
    if (html[i] == '<' && i + 4 <= html.size() &&
        (rtl::SameText(html.substr(i, 4), "<BR>") || rtl::SameText(html.substr(i, 4), "<HR>"))) {
      text += "\r\n";
      i += 4;
    } else {
      text += html[i++];
    }
  }
  // Then every tag; an unclosed "<" ends the work.
  rtl::AnsiString out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t lt = text.find('<', i);
    if (lt == rtl::AnsiString::npos) break;
    size_t gt = text.find('>', lt + 1);
    if (gt == rtl::AnsiString::npos) break;
    out.append(text, i, lt - i);
    i = gt + 1;
  }
  out.append(text, i, rtl::AnsiString::npos);
  return out;
}

bool HasControlTag(std::string_view html) { return FindText(html, "<CONTROL") != std::string_view::npos; }

}  // namespace dropdown
