#pragma once
// The application's handle on a picture of the page: a TpsImage stands for
// one image node while it lives (the image events hand it out, the editor
// keeps the selected one) and reads and changes the img tag's size,
// source, alternative text and alignment. The recycler keeps one alive
// across a rebuild of the view, so a handler may keep using it.
#include <functional>
#include <memory>

#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/view/psImageEditing.h"
#include "htmledit/view/psImageNode.h"

namespace htmledit {

class TpsHTMLEditBase;

class TpsSelectableObject {
 public:
  virtual ~TpsSelectableObject() {
    if (OnDestroy) OnDestroy(this);
  }
  std::function<void(TpsSelectableObject* aSender)> OnDestroy;
  // No image events and no selected-image record while set.
  bool Silent = false;
};

// The view holds it as its image object while the image is selected and
// hands it back to the editor's recycler.
class TpsImage : public TpsSelectableObject, public htmlview::TpsImageObject {
 public:
  TpsImage(htmlview::TpsImageNode* aImageNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
           std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementID);
  void Bind(htmlview::TpsImageNode* aImageNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
            std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementID);

  // -1 removes the attribute. Nothing while read-only.
  void SetSize(Integer aWidth, Integer aHeight);
  AnsiString GetSrc() const;
  // Through the editor's selected image only.
  void SetSrc(const AnsiString& aSrc);
  AnsiString GetAlt() const;
  void SetAlt(const AnsiString& aAlt);
  // 0 left, 1 right, 2 middle, 3 top, 4 bottom, 5 none.
  void SetAlignment(Byte aAlignment);
  uint32_t GetElementID() const;
  TpsHTMLEditBase* GetEditor() const;
  // The change event of CustomTag and LinkTag.
  void TagChanged(htmldoc::TpsMarkupTag* aTag);

  htmlview::TpsImageNode* ImageNode = nullptr;
  htmldoc::TpsHtmlTag* ImageTag = nullptr;
  std::unique_ptr<htmldoc::TpsMarkupTag> CustomTag;
  std::unique_ptr<htmldoc::TpsHtmlTag> LinkTag;
  uint32_t LinkElementID = 0;
};

class TpsImageRecycler {
 public:
  ~TpsImageRecycler() { Deactivate(); }
  void Activate() { FActive = true; }
  void Deactivate();
  std::unique_ptr<TpsImage> GetImage(htmlview::TpsImageNode* aImageNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                                     std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementID);
  void ReleaseImage(std::unique_ptr<TpsImage>& aImage);
  bool Active() const { return FActive; }
  TpsImage* Parked() const { return FParked.get(); }

 private:
  bool FActive = false;
  std::unique_ptr<TpsImage> FParked;
};

}  // namespace htmledit
