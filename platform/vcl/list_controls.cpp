#include "platform/vcl/list_controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <vector>

#include "platform/vcl/custom_paint.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

template <class W>
W* As(const TControl* c) {
  return static_cast<W*>(c->Widget());
}

void SetBase(QWidget* w, TColor color) {
  if (!w) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, qt::Color(color));
  w->setPalette(pal);
}

class ComboWidget : public QComboBox {
 public:
  explicit ComboWidget(TComboBox* owner) : owner_(owner) {}
  // The box as the style draws it (the edit field of an editable box is a child of its own).
  void DrawBase(QPainter& p) {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &p, this);
    style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &p, this);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (!qt::PaintOwnerImage(this, owner_)) QComboBox::paintEvent(e);
  }
  void enterEvent(QEnterEvent* e) override {
    QComboBox::enterEvent(e);
    RunHandler([this] { owner_->PerformMouseEnter(); }, true);
  }
  void leaveEvent(QEvent* e) override {
    QComboBox::leaveEvent(e);
    RunHandler([this] { owner_->PerformMouseLeave(); }, true);
  }
  void focusInEvent(QFocusEvent* e) override {
    QComboBox::focusInEvent(e);
    RunHandler([this] { owner_->PerformFocusChanged(); }, true);
  }
  void focusOutEvent(QFocusEvent* e) override {
    QComboBox::focusOutEvent(e);
    RunHandler([this] { owner_->PerformFocusChanged(); }, true);
  }

 private:
  TComboBox* owner_;
};

class ComboItems : public TStrings {
 public:
  explicit ComboItems(TComboBox* owner) : owner_(owner) {}
  int Count() const override {
    auto* w = Box();
    return w ? w->count() : 0;
  }
  std::string Get(int index) const override {
    CheckIndex(index, Count());
    return qt::Latin1(Box()->itemText(index));
  }
  void Put(int index, const std::string& value) override {
    CheckIndex(index, Count());
    Box()->setItemText(index, qt::Str(value));
  }
  void Insert(int index, const std::string& value) override {
    CheckIndex(index, Count() + 1);
    QComboBox* w = Box();
    const QSignalBlocker block(w);
    const int current = w->currentIndex();
    const QString text = w->currentText();
    w->insertItem(index, qt::Str(value));
    // Qt chooses the first item added to an empty box; the original platform chooses none.
    if (current < 0) Unselect(w, text);
  }
  void Delete(int index) override {
    CheckIndex(index, Count());
    QComboBox* w = Box();
    const QSignalBlocker block(w);
    const bool chosen = w->currentIndex() == index;
    w->removeItem(index);
    if (chosen) Unselect(w, QString());
  }
  void Clear() override {
    QComboBox* w = Box();
    if (!w) return;
    const QSignalBlocker block(w);
    const QString text = w->isEditable() ? w->currentText() : QString();
    w->clear();
    // Clearing the list keeps a typed text, as the original platform does.
    if (w->isEditable()) w->setEditText(text);
  }

  static void Unselect(QComboBox* w, const QString& text) {
    w->setCurrentIndex(-1);
    if (w->isEditable()) w->setEditText(text);
  }

 private:
  QComboBox* Box() const { return As<QComboBox>(owner_); }
  TComboBox* owner_;
};

// Lines added at the end while the box is hidden (the raw-sentence box on a page nobody looks
// at) wait in a list and reach the box, in one edit, when it is shown or changed otherwise:
// laying out text nobody sees costs the window most of its time at a busy line.
class MemoLines : public TStrings {
 public:
  explicit MemoLines(TMemo* owner) : owner_(owner) {}
  int Count() const override { return ShownCount() + static_cast<int>(held_.size()); }
  std::string Get(int index) const override {
    CheckIndex(index, Count());
    const int shown = ShownCount();
    if (index >= shown) return held_[static_cast<std::size_t>(index - shown)];
    return qt::Latin1(Edit()->document()->findBlockByNumber(index).text());
  }
  void Put(int index, const std::string& value) override {
    CheckIndex(index, Count());
    Flush();
    QTextCursor c(Edit()->document()->findBlockByNumber(index));
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(qt::Str(value));
    lines_ = true;
  }
  void Insert(int index, const std::string& value) override {
    const int n = Count();
    CheckIndex(index, n + 1);
    if (index == n) {
      Hold(value);
      if (Edit()->isVisible()) Flush();
      return;
    }
    Flush();
    QTextCursor c(Edit()->document()->findBlockByNumber(index));
    c.insertText(qt::Str(value) + QLatin1Char('\n'));
    lines_ = true;
    ShowLastLine(Edit());
  }
  void AddStrings(const TStrings& other) override {
    const int m = other.Count();
    for (int i = 0; i < m; ++i) Hold(other.Get(i));
    if (m > 0 && Edit()->isVisible()) Flush();
  }
  void Delete(int index) override {
    CheckIndex(index, Count());
    Flush();
    const int n = Count();
    QPlainTextEdit* w = Edit();
    if (n == 1) {
      Clear();
      return;
    }
    QTextCursor c(w->document()->findBlockByNumber(index));
    if (index == n - 1) {
      // The last line: remove the line break before it as well.
      c.movePosition(QTextCursor::PreviousBlock);
      c.movePosition(QTextCursor::EndOfBlock);
      c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
      c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
    lines_ = true;
  }
  void Clear() override {
    held_.clear();
    if (auto* w = Edit()) w->clear();
    lines_ = false;
  }
  // Hands the held lines to the box: one edit, one layout, one scroll.
  void Flush() {
    if (held_.empty()) return;
    QString text;
    for (std::size_t i = 0; i < held_.size(); ++i) {
      if (i > 0) text += QLatin1Char('\n');
      text += qt::Str(held_[i]);
    }
    held_.clear();
    QPlainTextEdit* w = Edit();
    if (w->document()->isEmpty()) {
      // A box showing one empty line keeps it above the new ones.
      if (lines_) text.prepend(QLatin1Char('\n'));
      w->setPlainText(text);
    } else {
      // Not appendPlainText: a box whose lines all fit counts there as scrolled to the bottom
      // and is moved to the scroll bar's maximum, which can leave an empty row under the last
      // line; ShowLastLine then sees that line in view and leaves it there.
      QTextCursor end(w->document());
      end.movePosition(QTextCursor::End);
      end.insertText(QLatin1Char('\n') + text);
    }
    lines_ = true;
    ShowLastLine(w);
  }
  // The document cannot tell "no lines" from "one empty line"; this flag does.
  bool lines_ = false;

 private:
  QPlainTextEdit* Edit() const { return As<QPlainTextEdit>(owner_); }
  int ShownCount() const {
    auto* w = Edit();
    if (!w || w->document()->isEmpty()) return lines_ ? 1 : 0;
    return w->document()->blockCount();
  }
  // Held lines are split where the box would break them: at CR LF, LF or CR.
  void Hold(std::string line) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] != '\r' && line[i] != '\n') continue;
      held_.push_back(line.substr(from, i - from));
      if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
      from = i + 1;
    }
    held_.push_back(from == 0 ? std::move(line) : line.substr(from));
  }
  // The last line comes into view from its start, not scrolled to its end.
  static void ShowLastLine(QPlainTextEdit* w) {
    w->moveCursor(QTextCursor::End);
    w->moveCursor(QTextCursor::StartOfBlock);
    w->ensureCursorVisible();
  }
  TMemo* owner_;
  std::vector<std::string> held_;
};

// Shows the held lines before the box is first painted.
class MemoEdit : public QPlainTextEdit {
 public:
  explicit MemoEdit(MemoLines* lines) : lines_(lines) {}

 protected:
  void showEvent(QShowEvent* e) override {
    lines_->Flush();
    QPlainTextEdit::showEvent(e);
  }

 private:
  MemoLines* lines_;
};

class ListItems : public TStrings {
 public:
  explicit ListItems(TCheckListBox* owner) : owner_(owner) {}
  int Count() const override {
    auto* w = List();
    return w ? w->count() : 0;
  }
  std::string Get(int index) const override {
    CheckIndex(index, Count());
    return qt::Latin1(List()->item(index)->text());
  }
  void Put(int index, const std::string& value) override {
    CheckIndex(index, Count());
    List()->item(index)->setText(qt::Str(value));
  }
  void Insert(int index, const std::string& value) override {
    CheckIndex(index, Count() + 1);
    auto* item = new QListWidgetItem(qt::Str(value));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    List()->insertItem(index, item);
  }
  void Delete(int index) override {
    CheckIndex(index, Count());
    delete List()->takeItem(index);
  }
  void Clear() override {
    if (auto* w = List()) w->clear();
  }
  void Check(int index) const { CheckIndex(index, Count()); }

 private:
  QListWidget* List() const { return As<QListWidget>(owner_); }
  TCheckListBox* owner_;
};

}  // namespace

// --- TComboBox ---

TComboBox::TComboBox(TComponent* Owner) : TWinControl(Owner), Items(new ComboItems(this)) {
  color_ = clWindow;
  auto* w = new ComboWidget(this);
  w->setEditable(true);
  w->setInsertPolicy(QComboBox::NoInsert);
  width_ = 145;
  height_ = 21;
  SetWidget(w);
  QObject::connect(w, &QComboBox::activated, w, [this] { Change(); });
  QObject::connect(w->lineEdit(), &QLineEdit::textEdited, w, [this] { Change(); });
}

TComboBox::~TComboBox() {
  delete Items;
}

int TComboBox::GetDroppedWidth() const {
  return std::max(droppedWidth_, width_);
}

void TComboBox::SetDroppedWidth(int v) {
  droppedWidth_ = std::max(0, v);
  if (auto* w = As<QComboBox>(this)) w->view()->setMinimumWidth(droppedWidth_);
}

bool TComboBox::Focused() const {
  auto* w = As<QComboBox>(this);
  return w && w->hasFocus();
}

void TComboBox::SetCustomPaint(bool v) {
  customPaint_ = v;
  Invalidate();
}

void TComboBox::PaintTo(TBitmap& image) {
  auto* w = As<ComboWidget>(this);
  if (!w) {
    image.SetSize(width_, height_);
    if (customPaint_) PaintWindow(image.Canvas);
    return;
  }
  qt::PaintThroughImage(
      image, *w, width_, height_, [w](QPainter& p) { w->DrawBase(p); },
      [this](TCanvas* canvas) {
        if (customPaint_) PaintWindow(canvas);
      });
}

void TComboBox::Change() {
  if (OnChange && !Loading()) RunHandler([this] { OnChange(this); }, true);
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  style_ = v;
  auto* w = As<QComboBox>(this);
  if (!w) return;
  const bool editable = v == csDropDown || v == csSimple;
  if (editable == w->isEditable()) return;
  const QSignalBlocker block(w);
  const int index = w->currentIndex();
  w->setEditable(editable);
  if (editable) {
    w->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(w->lineEdit(), &QLineEdit::textEdited, w, [this] { Change(); });
  }
  w->setCurrentIndex(index);
}

int TComboBox::GetItemIndex() const {
  if (Loading()) return pendingIndex_;
  auto* w = As<QComboBox>(this);
  return w ? w->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int v) {
  if (Loading()) {
    pendingIndex_ = v;
    return;
  }
  auto* w = As<QComboBox>(this);
  if (!w) return;
  const QSignalBlocker block(w);
  if (v < 0 || v >= w->count()) {
    ComboItems::Unselect(w, QString());
  } else {
    w->setCurrentIndex(v);
  }
}

std::string TComboBox::GetText() const {
  if (Loading() && hasPendingText_) return pendingText_;
  auto* w = As<QComboBox>(this);
  return w ? qt::Latin1(w->currentText()) : std::string();
}

void TComboBox::SetText(const std::string& v) {
  if (Loading()) {
    pendingText_ = v;
    hasPendingText_ = true;
    return;
  }
  auto* w = As<QComboBox>(this);
  if (!w) return;
  const QSignalBlocker block(w);
  if (w->isEditable()) {
    w->setEditText(qt::Str(v));
  } else {
    SetItemIndex(Items->IndexOf(v));
  }
}

void TComboBox::Loaded() {
  TWinControl::Loaded();
  const int index = pendingIndex_;
  SetItemIndex(index);
  if (hasPendingText_ && (index < 0 || style_ == csDropDown || style_ == csSimple)) {
    SetText(pendingText_);
  }
  hasPendingText_ = false;
  pendingText_.clear();
}

void TComboBox::SetDropDownCount(int v) {
  dropDownCount_ = std::max(1, v);
  if (auto* w = As<QComboBox>(this)) w->setMaxVisibleItems(dropDownCount_);
}

void TComboBox::ApplyColor() {
  SetBase(Widget(), color_);
}

// --- TMemo ---

TMemo::TMemo(TComponent* Owner) : TWinControl(Owner), Lines(new MemoLines(this)) {
  color_ = clWindow;
  auto* w = new MemoEdit(static_cast<MemoLines*>(Lines));
  width_ = 185;
  height_ = 89;
  SetWidget(w);
  SetScrollBars(ssNone);
  QObject::connect(w, &QPlainTextEdit::textChanged, w, [this, w] {
    // Typing into an empty memo makes a line; emptying it leaves none.
    static_cast<MemoLines*>(Lines)->lines_ = !w->document()->isEmpty();
  });
}

TMemo::~TMemo() {
  delete Lines;
}

void TMemo::SetScrollBars(TScrollStyle v) {
  scrollBars_ = v;
  auto* w = As<QPlainTextEdit>(this);
  if (!w) return;
  const bool h = v == ssHorizontal || v == ssBoth;
  const bool vert = v == ssVertical || v == ssBoth;
  w->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  w->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  ApplyWrap();
}

bool TMemo::GetReadOnly() const {
  auto* w = As<QPlainTextEdit>(this);
  return w && w->isReadOnly();
}

void TMemo::SetReadOnly(bool v) {
  if (auto* w = As<QPlainTextEdit>(this)) w->setReadOnly(v);
}

void TMemo::SetWordWrap(bool v) {
  wordWrap_ = v;
  ApplyWrap();
}

void TMemo::ApplyWrap() {
  auto* w = As<QPlainTextEdit>(this);
  if (!w) return;
  const bool wrap = wordWrap_ && scrollBars_ != ssHorizontal && scrollBars_ != ssBoth;
  w->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::ApplyColor() {
  SetBase(Widget(), color_);
}

// --- TCheckListBox ---

TCheckListBox::TCheckListBox(TComponent* Owner) : TWinControl(Owner), Items(new ListItems(this)) {
  color_ = clWindow;
  auto* w = new QListWidget;
  width_ = 121;
  height_ = 97;
  SetWidget(w);
}

TCheckListBox::~TCheckListBox() {
  delete Items;
}

bool TCheckListBox::GetChecked(int index) const {
  static_cast<ListItems*>(Items)->Check(index);
  return As<QListWidget>(this)->item(index)->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int index, const bool& v) {
  static_cast<ListItems*>(Items)->Check(index);
  As<QListWidget>(this)->item(index)->setCheckState(v ? Qt::Checked : Qt::Unchecked);
}

int TCheckListBox::GetItemIndex() const {
  auto* w = As<QListWidget>(this);
  return w ? w->currentRow() : -1;
}

void TCheckListBox::SetItemIndex(int v) {
  auto* w = As<QListWidget>(this);
  if (!w) return;
  w->setCurrentRow(v >= 0 && v < w->count() ? v : -1);
}

void TCheckListBox::SetColumns(int v) {
  columns_ = std::max(0, v);
  ApplyColumns();
}

void TCheckListBox::ApplyColumns() {
  auto* w = As<QListWidget>(this);
  if (!w) return;
  if (columns_ <= 1) {
    w->setFlow(QListView::TopToBottom);
    w->setWrapping(false);
    w->setGridSize(QSize());
    return;
  }
  const int rowHeight = QFontMetrics(w->font()).height() + 2;
  const int columnWidth = std::max(1, (width_ - 4) / columns_);
  w->setFlow(QListView::TopToBottom);
  w->setWrapping(true);
  w->setResizeMode(QListView::Adjust);
  w->setGridSize(QSize(columnWidth, rowHeight));
}

void TCheckListBox::ApplyColor() {
  SetBase(Widget(), color_);
}

void TCheckListBox::ApplyFont() {
  TWinControl::ApplyFont();
  ApplyColumns();
}

void TCheckListBox::BoundsChanged() {
  TWinControl::BoundsChanged();
  ApplyColumns();
}

}  // namespace platform
