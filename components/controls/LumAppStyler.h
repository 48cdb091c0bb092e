#pragma once
// One application-wide look (a REZORuvar preset) handed to form stylers,
// which push it into every component of their form (or frame and the frames
// inside it) that takes presets through the style interface.
#include <functional>
#include <vector>

#include "controls/LumMenuOfficeStyler.h"
#include "controls/LumStyleIF.h"
#include "vcl/Components.h"

namespace controls {

class TFormStyler;

// Hears the desktop's theme-changed message.
using TThemeNotifierWindow = TNotifierWindow;

class TLumAppStyler : public vcl::TComponent {
 public:
  explicit TLumAppStyler(vcl::TComponent* owner);
  // Unlinks every registered form styler.
  ~TLumAppStyler() override;

  // From another application styler: its style, then its adaptation.
  // Anything else is ignored.
  void Assign(const vcl::TPersistent* source) override;

  REZORuvar Style() const { return style_; }
  // A change goes to every registered form styler (unless loading), then
  // OnChange.
  void SetStyle(REZORuvar value);
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool value);
  // With AutoThemeAdapt: the preset of the desktop's colour scheme.
  void ThemeChanged();
  // "1.2.2.0"; writing is ignored.
  vcl::AnsiString Version() const;
  void SetVersion(const vcl::AnsiString&) {}

  // Appends the form styler unless listed; RemoveFormStyler takes it out.
  void AddFormStyler(TFormStyler* styler);
  void RemoveFormStyler(TFormStyler* styler);
  Integer FormStylerCount() const { return static_cast<Integer>(formStylers_.size()); }
  TFormStyler* FormStylers(Integer index) const { return formStylers_.at(static_cast<size_t>(index)); }
  TThemeNotifierWindow* Notifier() const { return notifier_; }

  vcl::TNotifyEvent OnChange;

 protected:
  void Loaded() override;

 private:
  std::vector<TFormStyler*> formStylers_;  // not owned: each unregisters when destroyed
  REZORuvar style_ = tsCustom;
  bool autoThemeAdapt_ = false;
  TThemeNotifierWindow* notifier_ = nullptr;  // owned (a component this styler owns)
};

using TApplyStyleEvent = std::function<void(vcl::TObject* Sender, vcl::TComponent* Component, bool& Allow)>;

// The companion of one form or frame: pushes its style into the
// components the form (or the frame, and frames within) owns.
class TFormStyler : public vcl::TComponent {
 public:
  explicit TFormStyler(vcl::TComponent* owner);
  // Leaves its application styler's list.
  ~TFormStyler() override;

  REZORuvar Style() const { return style_; }
  // A change is stored; a preset other than tsCustom is applied (not while
  // loading); then OnChange.
  void SetStyle(REZORuvar value);
  TLumAppStyler* AppStyler() const { return appStyler_; }
  // Links to the application styler: takes its style (not while loading)
  // and registers with it.
  void SetAppStyler(TLumAppStyler* value);
  // The form walk or, for a frame, the container walk.
  void ApplyStyle();

  vcl::TNotifyEvent OnChange;
  TApplyStyleEvent OnApplyStyle;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void Offer(vcl::TComponent* component);
  void WalkContainer(vcl::TComponent* container);

  REZORuvar style_ = tsCustom;
  TLumAppStyler* appStyler_ = nullptr;  // not owned
};

}  // namespace controls
