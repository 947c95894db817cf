// Actions with keyboard shortcuts. A shortcut code is the original platform's: the key's
// virtual-key code plus scShift / scCtrl / scAlt (Ctrl+Alt+S is 0xC053). The shortcut works
// while the form that owns the action list is the active window.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/component.h"

class QAction;

namespace platform {

using TShortCut = int;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Ctrl+Alt+S -> "Ctrl+Alt+S"; empty for keys without a name.
std::string ShortCutToText(TShortCut shortCut);

class TActionList;

class TAction : public TComponent {
 public:
  explicit TAction(TComponent* Owner);
  ~TAction() override;
  const char* ClassName() const override { return "TAction"; }

  TActionList* GetActionList() const { return list_; }
  void SetActionList(TActionList* list);
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool v);

  Property<TActionList*, TAction, &TAction::GetActionList, &TAction::SetActionList> ActionList{
      this};
  Property<TShortCut, TAction, &TAction::GetShortCut, &TAction::SetShortCut> ShortCut{this};
  Property<bool, TAction, &TAction::GetEnabled, &TAction::SetEnabled> Enabled{this};
  std::string Caption;
  std::string Hint;
  TNotifyEvent OnExecute;

  // Runs OnExecute; false when disabled or without a handler.
  bool Execute();

 private:
  void Attach();
  QAction* action_;
  TActionList* list_ = nullptr;
  TShortCut shortCut_ = scNone;
  bool enabled_ = true;
};

class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* Owner) : TComponent(Owner) {}
  ~TActionList() override;
  const char* ClassName() const override { return "TActionList"; }

  int ActionCount() const { return static_cast<int>(actions_.size()); }
  TAction* Actions(int index) const;
  void AdoptChild(TComponent* child) override;

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
};

}  // namespace platform
