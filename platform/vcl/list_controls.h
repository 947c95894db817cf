// Controls that hold string lists: the combo box, the memo and the check list box. Their
// Items / Lines are TStrings backed directly by the widget.
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/control.h"
#include "platform/vcl/string_list.h"

namespace platform {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* Owner);
  ~TComboBox() override;
  const char* ClassName() const override { return "TComboBox"; }

  TComboBoxStyle GetStyle() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  int GetItemIndex() const;
  void SetItemIndex(int v);
  std::string GetText() const;
  void SetText(const std::string& v);
  int GetDropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);

  // csDropDown: an editable text with a list; csDropDownList: a choice from the list only.
  Property<TComboBoxStyle, TComboBox, &TComboBox::GetStyle, &TComboBox::SetStyle> Style{this};
  TStrings* const Items;
  // -1 when no item is chosen; an index outside the list chooses none and empties the text.
  Property<int, TComboBox, &TComboBox::GetItemIndex, &TComboBox::SetItemIndex> ItemIndex{this};
  // csDropDown: the edit text (the chosen item is kept); csDropDownList: chooses the item.
  Property<std::string, TComboBox, &TComboBox::GetText, &TComboBox::SetText> Text{this};
  Property<int, TComboBox, &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount>
      DropDownCount{this};
  // Runs when the user picks an item or edits the text (not when code sets them).
  TNotifyEvent OnChange;

  void Loaded() override;

  // The dropped list's width: never narrower than the box. Setting it makes the list at least
  // that wide.
  int GetDroppedWidth() const;
  void SetDroppedWidth(int v);
  bool Focused() const;
  // Draws the box as its window shows it into image (made the box's size).
  void PaintTo(TBitmap& image);
  bool CustomPaint() const { return customPaint_; }

  // What the window system's events do; the window calls them, a test may too.
  void PerformMouseEnter() { MouseEnter(); }
  void PerformMouseLeave() { MouseLeave(); }
  void PerformFocusChanged() { FocusChanged(); }

 protected:
  void ApplyColor() override;
  // Descendants that paint over the box switch this on: the window's paint then goes through
  // an image, the style's box first, then PaintWindow on that image's canvas.
  void SetCustomPaint(bool v);
  virtual void PaintWindow(TCanvas* canvas) { (void)canvas; }
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The box got or lost the keyboard focus.
  virtual void FocusChanged() {}

 private:
  void Change();
  bool customPaint_ = false;
  int droppedWidth_ = 0;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
  // Values read from the layout before the items: applied in Loaded.
  int pendingIndex_ = -1;
  bool hasPendingText_ = false;
  std::string pendingText_;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* Owner);
  ~TMemo() override;
  const char* ClassName() const override { return "TMemo"; }

  TScrollStyle GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool GetReadOnly() const;
  void SetReadOnly(bool v);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  std::string GetText() const { return Lines->GetText(); }
  void SetText(const std::string& v) { Lines->SetText(v); }

  // Lines->Add appends a line and scrolls it into view.
  TStrings* const Lines;
  // With a horizontal scroll bar lines are never wrapped.
  Property<TScrollStyle, TMemo, &TMemo::GetScrollBars, &TMemo::SetScrollBars> ScrollBars{this};
  Property<bool, TMemo, &TMemo::GetReadOnly, &TMemo::SetReadOnly> ReadOnly{this};
  Property<bool, TMemo, &TMemo::GetWordWrap, &TMemo::SetWordWrap> WordWrap{this};
  Property<std::string, TMemo, &TMemo::GetText, &TMemo::SetText> Text{this};

 protected:
  void ApplyColor() override;

 private:
  void ApplyWrap();
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
};

class TCheckListBox : public TWinControl {
 public:
  explicit TCheckListBox(TComponent* Owner);
  ~TCheckListBox() override;
  const char* ClassName() const override { return "TCheckListBox"; }

  bool GetChecked(int index) const;
  void SetChecked(int index, const bool& v);
  int GetItemIndex() const;
  void SetItemIndex(int v);
  int GetColumns() const { return columns_; }
  void SetColumns(int v);

  TStrings* const Items;
  // Raises EStringListError for an index outside the list.
  IndexedProperty<bool, TCheckListBox, &TCheckListBox::GetChecked, &TCheckListBox::SetChecked>
      Checked{this};
  Property<int, TCheckListBox, &TCheckListBox::GetItemIndex, &TCheckListBox::SetItemIndex>
      ItemIndex{this};
  // Items flow down, then into the next of this many columns; 0 is one column.
  Property<int, TCheckListBox, &TCheckListBox::GetColumns, &TCheckListBox::SetColumns> Columns{
      this};

 protected:
  void ApplyColor() override;
  void ApplyFont() override;
  void BoundsChanged() override;

 private:
  void ApplyColumns();
  int columns_ = 0;
};

}  // namespace platform
