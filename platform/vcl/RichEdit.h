#pragma once
// A rich-text control that lays out and draws the styled runs of an RTF
// text (read by rtl::ReadRichText) through the class library's canvas, so
// that rich text drawn into another control's canvas (a grid cell) and
// measured for it agree pixel for pixel with what the control shows.
#include <vector>

#include "rtl/RichText.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"

namespace vcl {

class TRichEdit : public TCustomControl {
 public:
  explicit TRichEdit(TComponent* owner);

  // Loads an RTF text (as a stream would); an empty text clears the
  // control. Text that is not RTF is taken as one plain run.
  void LoadRichText(const AnsiString& rtf);
  void Clear();
  // The text without its styles, paragraphs ended by "\r\n".
  AnsiString PlainText() const { return document_.PlainText(); }
  const rtl::TRichTextDocument& Document() const { return document_; }

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

  // The colour every run shows in (as selecting all the text and setting
  // its colour does); clNone gives the runs their own colours back.
  TColor AllTextColor() const { return allTextColor_; }
  void SetAllTextColor(TColor color);

  // The font the text starts in: the control's font with the first run's
  // size and style (the selection's attributes at the start of the text).
  void GetStartFont(TFont* font);

  // Draws the text into r on canvas, its first line at r's top-left corner,
  // wrapped within r's width when WordWrap is on, clipped to r; lines that
  // start below r are not drawn. Answers the height drawn.
  Integer DrawTo(TCanvas* canvas, const TRect& r);
  // The same in twips (1/1440 inch) at the canvas's resolution, as a
  // device's format range takes it.
  Integer FormatRange(TCanvas* canvas, const TRect& twips, Integer dpiX, Integer dpiY);
  // The size the text asks for when laid out in width pixels (wrapped when
  // WordWrap is on; unbounded otherwise).
  TSize RequestSize(TCanvas* canvas, Integer width);

 protected:
  void Paint() override;

 private:
  struct TPiece {
    AnsiString Text;
    size_t Run = 0;
    Integer X = 0;
    Integer Width = 0;
  };
  struct TLine {
    std::vector<TPiece> Pieces;
    Integer Width = 0;
    Integer Height = 0;
    Integer Ascent = 0;
  };
  void ApplyRunFont(TCanvas* canvas, const TFont& base, size_t run) const;
  std::vector<TLine> Layout(TCanvas* canvas, Integer width);

  rtl::TRichTextDocument document_;
  bool wordWrap_ = true;
  TColor allTextColor_ = clNone;
};

}  // namespace vcl
