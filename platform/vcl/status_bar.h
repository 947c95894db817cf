// A status bar made of panels: each panel has its width in pixels (the last one takes what is
// left), an alignment and a plain text. By default the bar sits at the bottom of its parent.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/control.h"

namespace platform {

class TStatusBar;

class TStatusPanel : public TPersistent {
 public:
  explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
  const char* ClassName() const override { return "TStatusPanel"; }

  std::string GetText() const { return text_; }
  void SetText(const std::string& v);
  int GetWidth() const { return width_; }
  void SetWidth(int v);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

  Property<std::string, TStatusPanel, &TStatusPanel::GetText, &TStatusPanel::SetText> Text{this};
  Property<int, TStatusPanel, &TStatusPanel::GetWidth, &TStatusPanel::SetWidth> Width{this};
  Property<TAlignment, TStatusPanel, &TStatusPanel::GetAlignment, &TStatusPanel::SetAlignment>
      Alignment{this};

 private:
  TStatusBar* bar_;
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels {
 public:
  explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
  // EListError for an index outside the panels.
  TStatusPanel& operator[](int index) const;
  int Count() const { return static_cast<int>(panels_.size()); }
  TStatusPanel* Add();
  void Clear();

 private:
  TStatusBar* bar_;
  std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* Owner);
  const char* ClassName() const override { return "TStatusBar"; }

  TStatusPanels Panels{this};
  // When set, one text across the whole bar instead of the panels.
  bool GetSimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  std::string GetSimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v);
  Property<bool, TStatusBar, &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel> SimplePanel{
      this};
  Property<std::string, TStatusBar, &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText>
      SimpleText{this};

  // For the layer: a panel changed.
  void PanelsChanged();

 private:
  bool simplePanel_ = false;
  std::string simpleText_;
};

}  // namespace platform
