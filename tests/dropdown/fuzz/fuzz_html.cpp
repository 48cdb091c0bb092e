// Markup of any shape through the renderer (measured, drawn on the
// fake-metrics canvas, hit-tested at a point taken from the input) and the
// text routines: nothing may crash or raise. The first four bytes are the
// point, the switches and the control looked for; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QImageReader>

#include "dropdown/HtmlText.h"
#include "dropdown/PictureContainer.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/TestCanvases.h"

namespace {

struct World {
  World() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QImageReader::setAllocationLimit(16);
    vcl::InitApplication();
    images = std::make_unique<vcl::TImageList>(nullptr);
    vcl::TBitmap bitmap(16, 16);
    images->Add(&bitmap, nullptr);
    container = std::make_unique<dropdown::TPictureContainer>(nullptr);
    dropdown::TPictureItem* item = container->Items()->Add();
    item->SetName("pic");
    item->Picture()->LoadFromFile("/usr/share/doc/apache2-doc/manual/images/down.gif");
  }
  std::unique_ptr<vcl::TImageList> images;
  std::unique_ptr<dropdown::TPictureContainer> container;
  dropdown::THTMLPictureCache cache;  // only RES:// and FILE:// load, and only regular files
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  if (size < 4) return 0;
  std::string html(reinterpret_cast<const char*>(data) + 4, size - 4);
  vcl::TFakeMetricsCanvas canvas(160, 120);
  dropdown::THtmlTextOptions o;
  o.Images = world.images.get();
  o.Pictures = world.container.get();
  o.PictureCache = &world.cache;
  o.PointX = data[0];
  o.PointY = data[1];
  o.WrapWords = !(data[2] & 1);
  o.HotUnderlineOnly = data[2] & 2;
  o.SelectedText = data[2] & 4;
  o.BlinkPhase = !(data[2] & 8);
  o.FocusLinkIndex = (data[2] >> 4) - 1;
  o.HotLinkIndex = data[3] & 7;
  dropdown::THtmlTextResult r;
  o.MeasureOnly = true;
  dropdown::DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 160, 65535}, o, r);
  o.MeasureOnly = false;
  dropdown::DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 160, 120}, o, r);
  o.HitTestOnly = true;
  r = {};
  r.ControlId = (data[3] & 8) ? "ok" : "";
  dropdown::DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 160, 120}, o, r);

  (void)dropdown::StripHTML(html);
  std::string word = html.substr(0, std::min<size_t>(data[3] % 5, html.size()));
  rtl::AnsiString marked = dropdown::HighlightText(html, word, "hi", data[2] & 1);
  (void)dropdown::UnhighlightText(marked, "hi");
  (void)dropdown::NextEditControlId(html, "ok");
  (void)dropdown::ClearRadioControls(html);
  (void)dropdown::GetControlMaxLen(html, "r");
  rtl::AnsiString edited = html;
  (void)dropdown::SetControlValue(edited, "name", word);
  return 0;
}
