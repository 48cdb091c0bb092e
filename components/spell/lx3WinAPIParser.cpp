#include "spell/lx3WinAPIParser.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "rtl/Strings.h"
#include "spell/engine/lx3Text.h"
#include "spell/lx3UtilForms.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace spell {

namespace {

vcl::LRESULT Send(vcl::HWND h, Cardinal msg, vcl::WPARAM w = 0, vcl::LPARAM l = 0) {
  return vcl::SendMessage(h, msg, w, l);
}

// The class name of the control behind a window, in lower case.
std::string WindowClassName(vcl::HWND h) {
  vcl::TWinControl* c = vcl::FindControl(h);
  return c ? rtl::LowerCase(c->ClassName()).substr(0, 1024) : std::string();
}

}  // namespace

void TWinAPIControlParser::Initialize(vcl::TWinControl* control) {
  control_ = control;
  AttachHandle(control ? control->Handle() : 0);
}

void TWinAPIControlParser::AttachHandle(vcl::HWND handle) {
  handle_ = handle;
  endMark_ = false;
  x_ = y_ = 0;
  dirty_ = true;
  loadedLine_ = -1;
  line_.clear();
  selStart_ = selLength_ = 0;
  lineCount_ = LineCount();
  if (lineCount_ == 0) {
    // A container (a combined control hosting an edit): its first child
    // that has lines.
    if (vcl::TWinControl* c = vcl::FindControl(handle_)) {
      for (Integer i = 0; i < c->ControlCount(); ++i) {
        auto* child = dynamic_cast<vcl::TWinControl*>(c->Controls(i));
        if (!child) continue;
        const vcl::HWND h = child->Handle();
        if (!vcl::IsWindow(h)) continue;
        if (Send(h, vcl::EM_GETLINECOUNT) > 0) {
          handle_ = h;
          lineCount_ = LineCount();
          break;
        }
      }
    }
  }
  const std::string name = WindowClassName(handle_);
  if (name.find("richedit2") != std::string::npos)
    kind_ = 2;
  else if (name.find("richedit") != std::string::npos)
    kind_ = 1;
  else if (name.find("syntaxmemo") != std::string::npos || name.find("lmdmemo") != std::string::npos ||
           IsRichEditControl(handle_))
    kind_ = 1;
  else
    kind_ = 0;
}

Integer TWinAPIControlParser::LineCount() { return static_cast<Integer>(Send(handle_, vcl::EM_GETLINECOUNT)); }

Integer TWinAPIControlParser::LineIndex(Integer line) {
  return static_cast<Integer>(Send(handle_, vcl::EM_LINEINDEX, static_cast<vcl::WPARAM>(line)));
}

void TWinAPIControlParser::GetSel(Integer& start, Integer& end) {
  Cardinal s = 0, e = 0;
  Send(handle_, vcl::EM_GETSEL, reinterpret_cast<vcl::WPARAM>(&s), reinterpret_cast<vcl::LPARAM>(&e));
  start = static_cast<Integer>(s);
  end = static_cast<Integer>(e);
}

bool TWinAPIControlParser::LoadLine() {
  // The cursor may stand one place beyond either end of a line: it then
  // moves onto the next line's start or the previous line's LF. The line is
  // read first when it is not the one loaded (or the text changed).
  bool toLineEnd = false;
  for (;;) {
    if (y_ != loadedLine_ || dirty_) {
      if (y_ < 0 || y_ >= lineCount_) return false;
      dirty_ = false;
      std::vector<char> buffer(LineBufferSize, '\0');
      const Word size = MaxLineRead;
      std::memcpy(buffer.data(), &size, sizeof size);
      const auto read = static_cast<size_t>(std::clamp<vcl::LRESULT>(
          Send(handle_, vcl::EM_GETLINE, static_cast<vcl::WPARAM>(y_), reinterpret_cast<vcl::LPARAM>(buffer.data())),
          0, MaxLineRead));
      line_ = EngineCharsOfUtf8(std::string_view(buffer.data(), read)) + "\r\n";
      loadedLine_ = y_;
      lineCount_ = LineCount();
    }
    const auto length = static_cast<Integer>(line_.size());
    if (toLineEnd) {
      x_ = length - 1;
      toLineEnd = false;
    }
    if (x_ >= length) {
      x_ = 0;
      ++y_;
    } else if (x_ < 0) {
      if (y_ == 0) {
        x_ = 0;
        return false;
      }
      --y_;
      toLineEnd = true;
    } else {
      break;
    }
  }
  if (endMark_ && x_ > endX_ && y_ >= endY_) return false;
  return true;
}

char TWinAPIControlParser::GetChar() {
  if (!LoadLine() || x_ < 0 || x_ >= static_cast<Integer>(line_.size())) return 0;
  return line_[static_cast<size_t>(x_)];
}

std::string TWinAPIControlParser::GetLine() { return LoadLine() ? line_ : std::string(); }

bool TWinAPIControlParser::MoveNext() {
  ++x_;
  return LoadLine();
}

bool TWinAPIControlParser::MovePrevious() {
  --x_;
  return LoadLine();
}

void TWinAPIControlParser::SetPosition(Integer x, Integer y, Integer kind) {
  if (kind == 0) {
    dirty_ = true;
    x_ = x;
    y_ = y;
  } else if (kind == 1) {
    endX_ = x;
    endY_ = y;
    endMark_ = true;
  }
}

void TWinAPIControlParser::GetPosition(Integer& x, Integer& y) {
  x = x_;
  y = y_;
}

void TWinAPIControlParser::SelectPreviousWord(Integer length) {
  x_ -= length;
  selStart_ = LineIndex(y_) + x_;
  selLength_ = length;
  Send(handle_, vcl::EM_SETSEL, static_cast<vcl::WPARAM>(selStart_), selStart_ + length);
}

void TWinAPIControlParser::ReplaceWord(const std::string& word, Integer) {
  Send(handle_, vcl::EM_SETSEL, static_cast<vcl::WPARAM>(selStart_), selStart_ + selLength_);
  Integer start = 0, end = 0;
  GetSel(start, end);
  const auto newLength = static_cast<Integer>(word.size());
  if (endMark_ && y_ == endY_) endX_ += newLength - (end - start);
  const std::string utf8 = FromEngineText(word);
  Send(handle_, vcl::EM_REPLACESEL, 0, reinterpret_cast<vcl::LPARAM>(utf8.c_str()));
  x_ += newLength;
  dirty_ = true;
}

void TWinAPIControlParser::IgnoreWord(Integer) {
  Integer start = 0, end = 0;
  GetSel(start, end);
  x_ += end - start;
}

Integer TWinAPIControlParser::LineHeight() {
  std::unique_ptr<vcl::TCanvas> dc = vcl::GetDC(handle_);
  if (!dc) return 0;
  const vcl::TTextMetrics m = dc->GetTextMetrics();
  return m.Height + m.ExternalLeading;
}

void TWinAPIControlParser::CenterSelection() {
  Integer start = 0, end = 0;
  GetSel(start, end);
  const Integer lineHeight = LineHeight();
  vcl::TWinControl* c = vcl::FindControl(handle_);
  if (lineHeight > 0 && c) {
    const Integer visible = c->ClientHeight() / lineHeight;
    const auto first = static_cast<Integer>(Send(handle_, vcl::EM_GETFIRSTVISIBLELINE));
    Send(handle_, vcl::EM_LINESCROLL, 0, y_ - first - visible / 2);
  }
  Send(handle_, vcl::EM_SETSEL, static_cast<vcl::WPARAM>(start), start);
  Send(handle_, vcl::EM_SCROLLCARET);
  Send(handle_, vcl::EM_SETSEL, static_cast<vcl::WPARAM>(end), end);
  Send(handle_, vcl::EM_SCROLLCARET);
  Send(handle_, vcl::EM_SETSEL, static_cast<vcl::WPARAM>(start), end);
}

void TWinAPIControlParser::GetCursorPosition(Integer& x, Integer& y) {
  Integer start = 0, end = 0;
  GetSel(start, end);
  y = static_cast<Integer>(Send(handle_, vcl::EM_LINEFROMCHAR, static_cast<vcl::WPARAM>(start)));
  x = start - LineIndex(y);
}

void TWinAPIControlParser::GetSelectionPosition(Integer& startX, Integer& startY, Integer& endX, Integer& endY) {
  Integer start = 0, end = 0;
  GetSel(start, end);
  startY = static_cast<Integer>(Send(handle_, vcl::EM_LINEFROMCHAR, static_cast<vcl::WPARAM>(start)));
  startX = start - LineIndex(startY);
  endY = static_cast<Integer>(Send(handle_, vcl::EM_LINEFROMCHAR, static_cast<vcl::WPARAM>(end)));
  endX = end - LineIndex(endY);
}

vcl::TPoint TWinAPIControlParser::ToScreen(vcl::TPoint p) {
  vcl::TWinControl* c = vcl::FindControl(handle_);
  return c ? c->ClientToScreen(p) : p;
}

TParserRect TWinAPIControlParser::GetControlScreenRect() {
  vcl::TWinControl* c = vcl::FindControl(handle_);
  if (!c) return {};
  const vcl::TPoint origin = c->ClientToScreen(vcl::TPoint{0, 0});
  return {origin.X, origin.Y, origin.X + c->Width(), origin.Y + c->Height()};
}

vcl::TPoint TWinAPIControlParser::GetCharPoint(Integer index) {
  if (kind_ == 1) {
    vcl::TPoint p{0, 0};
    Send(handle_, vcl::EM_POSFROMCHAR, reinterpret_cast<vcl::WPARAM>(&p), index);
    return p;
  }
  const vcl::LRESULT r = Send(handle_, vcl::EM_POSFROMCHAR, static_cast<vcl::WPARAM>(index));
  if (r == -1) return {0, 0};
  return {static_cast<int16_t>(r & 0xFFFF), static_cast<int16_t>((r >> 16) & 0xFFFF)};
}

TParserRect TWinAPIControlParser::GetWordScreenRect() {
  Integer start = 0, end = 0;
  GetSel(start, end);
  const vcl::TPoint topLeft = ToScreen(GetCharPoint(start));
  const vcl::TPoint right = ToScreen(GetCharPoint(end));
  TParserRect r{topLeft.X, topLeft.Y, right.X, topLeft.Y + LineHeight()};
  const Integer next = LineIndex(y_ + 1);
  if (next != -1) r.Bottom = std::max(r.Bottom, ToScreen(GetCharPoint(next)).Y);
  return r;
}

}  // namespace spell
