#pragma once
// A text cursor over an edit or rich-edit control, through the edit-control
// messages. The control's texts are UTF-8 and its character indices count
// characters; the engine sees one Windows-1252 byte per character (a blank
// for a character 1252 cannot hold). Every line ends with two extra
// positions, CR and LF, which the tokenizer takes as separators.
#include <string>

#include "spell/engine/lx3ParserBase.h"
#include "vcl/Types.h"

namespace vcl {
class TWinControl;
}

namespace spell {

// A text cursor that knows its control.
class TControlParser2 : public TControlParser {
 public:
  virtual vcl::TWinControl* GetControl() = 0;
};

class TWinAPIControlParser : public TControlParser2 {
 public:
  static constexpr size_t LineBufferSize = 16384;
  static constexpr Integer MaxLineRead = 16374;

  TWinAPIControlParser() = default;

  // Binds the parser to the control (not owned) and its window.
  void Initialize(vcl::TWinControl* control);
  // Binds the parser to a window: cursor (0, 0), no end mark, nothing
  // loaded; a window without lines is checked through its first child that
  // has some. The class name sets the control kind.
  void AttachHandle(vcl::HWND handle);

  char GetChar() override;
  std::string GetLine() override;
  bool MoveNext() override;
  bool MovePrevious() override;
  void SetPosition(Integer x, Integer y, Integer kind) override;
  void GetPosition(Integer& x, Integer& y) override;
  void SelectPreviousWord(Integer length) override;
  void ReplaceWord(const std::string& word, Integer state) override;
  void IgnoreWord(Integer state) override;
  void CenterSelection() override;
  void GetCursorPosition(Integer& x, Integer& y) override;
  void GetSelectionPosition(Integer& startX, Integer& startY, Integer& endX, Integer& endY) override;
  TParserRect GetControlScreenRect() override;
  TParserRect GetWordScreenRect() override;
  void UndoLast(Integer, TSpellAction, Integer&) override {}
  vcl::TWinControl* GetControl() override { return control_; }

  virtual bool LoadLine();
  virtual vcl::TPoint GetCharPoint(Integer index);

  vcl::HWND Handle() const { return handle_; }
  // 0 plain edit, 1 rich edit addressed through a point pointer, 2 rich edit
  // of version 2 or later.
  Byte ControlKind() const { return kind_; }

 private:
  Integer LineCount();
  Integer LineIndex(Integer line);
  void GetSel(Integer& start, Integer& end);
  Integer LineHeight();
  vcl::TPoint ToScreen(vcl::TPoint p);

  vcl::TWinControl* control_ = nullptr;
  vcl::HWND handle_ = 0;
  Byte kind_ = 0;
  Integer endX_ = 0, endY_ = 0;
  bool endMark_ = false;
  Integer x_ = 0, y_ = 0;
  std::string line_;  // the loaded line, one engine byte per character, with CR LF
  Integer loadedLine_ = -1;
  Integer lineCount_ = 0;
  bool dirty_ = true;
  Integer selStart_ = 0;
  Integer selLength_ = 0;
};

}  // namespace spell
