#pragma once
// The expansion done the plain way: after every replacement the pattern
// engine searches the whole text from its start again (inside an IF block,
// the text from the scan position). The simulator's own expansion must give
// the same output, messages and values.
#include <string>

#include "SimTestSupport.h"
#include "core/KnRegExU.h"

namespace simtest {

inline int LinesBefore(const std::string& text, size_t end) {
  int lines = 0;
  char prev = 0;
  for (size_t i = 0; i < end; ++i) {
    const char c = text[i];
    if (c == '\r' || (c == '\n' && prev != '\r')) ++lines;
    prev = c;
  }
  return lines;
}

// The expansion done the plain way, through the pattern engine on the whole
// text (or the text from the scan position) every time.
class ReferenceExpansion {
 public:
  explicit ReferenceExpansion(simtest::TestSimulator& sim) : sim_(sim) {
    re_.SetIgnoreCase(true);
    re_.MatchPattern()->Add(core::kSimulatorTagPattern);
  }

  void Expand(std::string& text) {
    for (;;) {
      size_t start = 0, length = 0;
      if (!Find(text, 0, start, length)) break;
      sim_.SetCurrentLine(LinesBefore(text, start));
      std::string tag = text.substr(start, length);
      sim_.EvaluateTag(tag, false);
      if (tag == core::kIfTrueMarker || tag == core::kIfFalseMarker) {
        if (!Resolve(text, start, length, tag == core::kIfTrueMarker)) sim_.DoError("If without endif", -1);
      } else if (tag == core::kElseMarker) {
        sim_.DoError("Else without if", -1);
        text.erase(start, length);
      } else if (tag == core::kEndIfMarker) {
        sim_.DoError("Endif without if", -1);
        text.erase(start, length);
      } else {
        text.replace(start, length, tag);
      }
    }
  }

 private:
  bool Find(const std::string& text, size_t from, size_t& start, size_t& length) {
    core::TKnMatchPos pos;
    if (!re_.FindMatch(text.substr(from), pos)) return false;
    start = from + pos.FirstIndex - 1;
    length = pos.MatchLength;
    return true;
  }

  bool Resolve(std::string& text, size_t ifStart, size_t ifLength, bool keeping) {
    text.erase(ifStart, ifLength);
    size_t blockStart = ifStart, scan = ifStart;
    int depth = 1;
    for (;;) {
      size_t start = 0, length = 0;
      if (!Find(text, scan, start, length)) return false;
      std::string tag = text.substr(start, length);
      sim_.EvaluateTag(tag, true);
      scan = start + length;
      if (tag == core::kIfTrueMarker || tag == core::kIfFalseMarker) {
        if (++depth > sim_.NestingLimit())
          sim_.DoError("Device can not support more than " + std::to_string(sim_.NestingLimit()) +
                           " nested if statments.",
                       -1);
      } else if (tag == core::kEndIfMarker) {
        if (--depth == 0) {
          if (keeping) text.erase(start, length);
          else text.erase(blockStart, scan - blockStart);
          return true;
        }
      } else if (tag == core::kElseMarker && depth == 1) {
        if (keeping) {
          blockStart = start;
          text.erase(start, length);
        } else {
          text.erase(blockStart, scan - blockStart);
        }
        scan = blockStart;
        keeping = !keeping;
      }
    }
  }

  simtest::TestSimulator& sim_;
  core::TKnRegEx re_;
};

// Extra keys whose values end, complete or start tags around the place
// where they are read.
inline void AddTrickyKeys(core::TvormekParams& p) {
  p.ExtraCmds.AddKey("REG1", "/>");
  p.ExtraCmds.AddKey("REG2", "be54f7mdl type=\"12\" KEY=\"REG4\" KEY_CMD_CLASS=\"5\" />");
  p.ExtraCmds.AddKey("REG3", "<#_zelbe54f7mdl");
  p.ExtraCmds.AddKey("REG4", "<#_zelbe54f7mdl type=\"12\" KEY=\"REG1\" KEY_CMD_CLASS=\"5\" />");
  p.ExtraCmds.AddKey("REG6", "\r\n");
  p.ExtraCmds.AddKey("REG7", "<#_ZELBE54F7MDL type=\"10\" />");
}

}  // namespace simtest
