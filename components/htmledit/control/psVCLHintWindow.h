#pragma once
// The editor's hint window: the view asks for one when a hint area (a
// link, an image's alternative text) wants its hint shown, and frees it
// when the hint goes. It shows the text in a class-library hint window
// owned by the editor, in the area's colour and at most its width, with its
// top-left corner 32 pixels below the screen point asked for.
#include "htmledit/view/psHintAreas.h"
#include "vcl/Controls.h"

namespace vcl {
class THintWindow;
}

namespace htmledit {

class TpsVCLHintWindow : public htmlview::TpsHintWindow {
 public:
  TpsVCLHintWindow(vcl::TComponent* aOwner, htmlview::TpsHintTriggerArea* aArea, const htmldoc::AnsiString& aHintText,
                   const vcl::TPoint& aScreenPoint);
  ~TpsVCLHintWindow() override;
  vcl::THintWindow* Window() const { return FWindow; }

 private:
  vcl::THintWindow* FWindow;  // owned here, though its owner is the editor
};

}  // namespace htmledit
