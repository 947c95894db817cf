#include "platform/vcl/actions.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <algorithm>

#include "platform/vcl/form.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

// The virtual-key code of a shortcut as a Qt key; 0 for keys we do not map.
int QtKey(int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
  if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + (vk - 0x70);
  switch (vk) {
    case 0x08:
      return Qt::Key_Backspace;
    case 0x09:
      return Qt::Key_Tab;
    case 0x0D:
      return Qt::Key_Return;
    case 0x1B:
      return Qt::Key_Escape;
    case 0x20:
      return Qt::Key_Space;
    case 0x21:
      return Qt::Key_PageUp;
    case 0x22:
      return Qt::Key_PageDown;
    case 0x23:
      return Qt::Key_End;
    case 0x24:
      return Qt::Key_Home;
    case 0x25:
      return Qt::Key_Left;
    case 0x26:
      return Qt::Key_Up;
    case 0x27:
      return Qt::Key_Right;
    case 0x28:
      return Qt::Key_Down;
    case 0x2D:
      return Qt::Key_Insert;
    case 0x2E:
      return Qt::Key_Delete;
    default:
      return 0;
  }
}

QKeySequence ToSequence(TShortCut s) {
  const int key = QtKey(s & 0xFF);
  if (!key) return {};
  Qt::KeyboardModifiers mods;
  if (s & scShift) mods |= Qt::ShiftModifier;
  if (s & scCtrl) mods |= Qt::ControlModifier;
  if (s & scAlt) mods |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  return qt::Latin1(ToSequence(shortCut).toString(QKeySequence::PortableText));
}

TAction::TAction(TComponent* Owner) : TComponent(Owner) {
  qt::EnsureApplication();
  action_ = new QAction;
  action_->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action_, &QAction::triggered, action_,
                   [this] { RunHandler([this] { Execute(); }, true); });
}

TAction::~TAction() {
  SetActionList(nullptr);
  delete action_;
}

void TAction::SetActionList(TActionList* list) {
  if (list == list_) return;
  if (list_) {
    auto& v = list_->actions_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  list_ = list;
  if (list_) list_->actions_.push_back(this);
  Attach();
}

void TAction::Attach() {
  for (QObject* o : action_->associatedObjects()) {
    if (auto* w = qobject_cast<QWidget*>(o)) w->removeAction(action_);
  }
  const auto* form = list_ ? dynamic_cast<const TForm*>(list_->Owner()) : nullptr;
  if (form && form->Widget()) form->Widget()->addAction(action_);
}

void TAction::SetShortCut(TShortCut v) {
  shortCut_ = v;
  action_->setShortcut(ToSequence(v));
}

void TAction::SetEnabled(bool v) {
  enabled_ = v;
  action_->setEnabled(v);
}

bool TAction::Execute() {
  if (!enabled_ || !OnExecute) return false;
  RunHandler([this] { OnExecute(this); }, false);
  return true;
}

TActionList::~TActionList() {
  for (TAction* a : std::vector<TAction*>(actions_)) a->SetActionList(nullptr);
}

TAction* TActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount()) return nullptr;
  return actions_[static_cast<size_t>(index)];
}

void TActionList::AdoptChild(TComponent* child) {
  if (auto* a = dynamic_cast<TAction*>(child)) a->SetActionList(this);
}

}  // namespace platform
