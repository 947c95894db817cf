// A page control with tab sheets. A sheet whose TabVisible is false has no tab at all.
#pragma once

#include "platform/vcl/control.h"

namespace platform {

class TTabSheet;

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* Owner);
  const char* ClassName() const override { return "TPageControl"; }

  TTabSheet* GetActivePage() const;
  void SetActivePage(TTabSheet* page);
  int PageCount() const;
  TTabSheet* Pages(int index) const;

  Property<TTabSheet*, TPageControl, &TPageControl::GetActivePage, &TPageControl::SetActivePage>
      ActivePage{this};

 protected:
  void ControlAdded(TControl* c) override;
  void ControlRemoved(TControl* c) override;

 private:
  friend class TTabSheet;
  std::vector<TTabSheet*> pages_;
};

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* Owner);
  const char* ClassName() const override { return "TTabSheet"; }

  void SetCaption(const std::string& v) override;
  bool GetTabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  TPageControl* GetPageControl() const;
  void SetPageControl(TPageControl* pc) { SetParent(pc); }
  int PageIndex() const;

  Property<bool, TTabSheet, &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible> TabVisible{this};
  Property<TPageControl*, TTabSheet, &TTabSheet::GetPageControl, &TTabSheet::SetPageControl>
      PageControl{this};

  // For the layer: the page widget took its size.
  void PageResized(int width, int height);
  // A page shows its page control's pane, when the style fills that with one colour.
  bool BackdropUnder(const TRect& area, TColor* colour) const override;

 protected:
  // The page control places its pages.
  void ApplyGeometry() override {}
  void ApplyVisible() override {}

 private:
  friend class TPageControl;
  void ApplyTab();
  bool tabVisible_ = true;
};

}  // namespace platform
