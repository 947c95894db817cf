// Published properties of the list controls, the timer, the actions and the save dialog.
#include "platform/vcl/actions.h"
#include "platform/vcl/list_controls.h"
#include "platform/vcl/published_helpers.h"
#include "platform/vcl/save_dialog.h"
#include "platform/vcl/timer.h"

namespace platform {

using namespace published;

void RegisterListClasses() {
  RegisterComponentClass<TComboBox>("TComboBox", "TWinControl")
      .Value<TComboBox>("Style", Enum<TComboBoxStyle>(&TComboBox::SetStyle,
                                                      {"csDropDown", "csSimple", "csDropDownList",
                                                       "csOwnerDrawFixed", "csOwnerDrawVariable"}))
      .Object<TComboBox>("Items", "TStrings", [](TComboBox& c) { return c.Items; })
      .Value<TComboBox>("ItemIndex", Int(&TComboBox::SetItemIndex))
      .Value<TComboBox>("Text", Str(&TComboBox::SetText))
      .Value<TComboBox>("DropDownCount", Int(&TComboBox::SetDropDownCount))
      .Event<TComboBox>("OnChange", &TComboBox::OnChange)
      .Ignore("ItemHeight");
  RegisterComponentClass<TMemo>("TMemo", "TWinControl")
      .Object<TMemo>("Lines", "TStrings", [](TMemo& m) { return m.Lines; })
      .Value<TMemo>("ScrollBars", Enum<TScrollStyle>(&TMemo::SetScrollBars, kScrollStyle))
      .Value<TMemo>("ReadOnly", Bool(&TMemo::SetReadOnly))
      .Value<TMemo>("WordWrap", Bool(&TMemo::SetWordWrap));
  RegisterComponentClass<TCheckListBox>("TCheckListBox", "TWinControl")
      .Object<TCheckListBox>("Items", "TStrings", [](TCheckListBox& c) { return c.Items; })
      .Value<TCheckListBox>("Columns", Int(&TCheckListBox::SetColumns))
      .Ignore("ItemHeight");
}

void RegisterOtherClasses() {
  RegisterComponentClass<TTimer>("TTimer", "TComponent")
      .Value<TTimer>("Enabled", Bool(&TTimer::SetEnabled))
      .Value<TTimer>("Interval", Int(&TTimer::SetInterval))
      .Event<TTimer>("OnTimer", &TTimer::OnTimer);
  RegisterComponentClass<TActionList>("TActionList", "TComponent").Ignore("Images");
  RegisterComponentClass<TAction>("TAction", "TComponent")
      .Value<TAction>("Caption", Field(&TAction::Caption))
      .Value<TAction>("Hint", Field(&TAction::Hint))
      .Value<TAction>("ShortCut", Int(&TAction::SetShortCut))
      .Value<TAction>("Enabled", Bool(&TAction::SetEnabled))
      .Event<TAction>("OnExecute", &TAction::OnExecute)
      .Ignore("Category");
  RegisterComponentClass<TSaveDialog>("TSaveDialog", "TComponent")
      .Value<TSaveDialog>("FileName", Field(&TSaveDialog::FileName))
      .Value<TSaveDialog>("Filter", Field(&TSaveDialog::Filter))
      .Value<TSaveDialog>("FilterIndex", Field(&TSaveDialog::FilterIndex))
      .Value<TSaveDialog>("DefaultExt", Field(&TSaveDialog::DefaultExt))
      .Value<TSaveDialog>("InitialDir", Field(&TSaveDialog::InitialDir))
      .Value<TSaveDialog>("Title", Field(&TSaveDialog::Title))
      .Value<TSaveDialog>("Options", [](TSaveDialog& d, const TLayoutValue& v) {
        d.Options = TOpenOptions::FromBits(v.AsSetBits({"ofReadOnly",
                                                        "ofOverwritePrompt",
                                                        "ofHideReadOnly",
                                                        "ofNoChangeDir",
                                                        "ofShowHelp",
                                                        "ofNoValidate",
                                                        "ofAllowMultiSelect",
                                                        "ofExtensionDifferent",
                                                        "ofPathMustExist",
                                                        "ofFileMustExist",
                                                        "ofCreatePrompt",
                                                        "ofShareAware",
                                                        "ofNoReadOnlyReturn",
                                                        "ofNoTestFileCreate",
                                                        "ofNoNetworkButton",
                                                        "ofNoLongNames",
                                                        "ofOldStyleDialog",
                                                        "ofNoDereferenceLinks",
                                                        "ofEnableIncludeNotify",
                                                        "ofEnableSizing"}));
      });
}

}  // namespace platform
