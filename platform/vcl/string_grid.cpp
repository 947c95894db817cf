#include "platform/vcl/string_grid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include "platform/vcl/exception.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

// The first fixed row and column become the view's headers; every other cell is a model cell.
struct TStringGrid::Model : public QAbstractTableModel {
  explicit Model(TStringGrid* g) : grid(g) {}

  int HeaderRows() const { return grid->fixedRows_ > 0 ? 1 : 0; }
  int HeaderCols() const { return grid->fixedCols_ > 0 ? 1 : 0; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(0, grid->rowCount_ - HeaderRows());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(0, grid->colCount_ - HeaderCols());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return qt::Str(grid->cells_[static_cast<size_t>(index.row() + HeaderRows())]
                               [static_cast<size_t>(index.column() + HeaderCols())]);
  }
  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Horizontal) {
      if (!HeaderRows() || section + HeaderCols() >= grid->colCount_) return {};
      return qt::Str(grid->cells_[0][static_cast<size_t>(section + HeaderCols())]);
    }
    if (!HeaderCols() || section + HeaderRows() >= grid->rowCount_) return {};
    return qt::Str(grid->cells_[static_cast<size_t>(section + HeaderRows())][0]);
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void CellChanged(int col, int row) {
    if (row < HeaderRows()) {
      emit headerDataChanged(Qt::Horizontal, col - HeaderCols(), col - HeaderCols());
    } else if (col < HeaderCols()) {
      emit headerDataChanged(Qt::Vertical, row - HeaderRows(), row - HeaderRows());
    } else {
      const QModelIndex i = index(row - HeaderRows(), col - HeaderCols());
      emit dataChanged(i, i, {Qt::DisplayRole});
    }
  }

  TStringGrid* grid;
};

namespace {
QTableView* View(const TControl* c) {
  return static_cast<QTableView*>(c->Widget());
}
}  // namespace

TStringGrid::TStringGrid(TComponent* Owner) : TWinControl(Owner) {
  color_ = clWindow;
  auto* w = new QTableView;
  width_ = 320;
  height_ = 120;
  model_ = new Model(this);
  model_->setParent(w);
  Reshape(colCount_, rowCount_, fixedCols_, fixedRows_);
  w->setModel(model_);
  w->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w->setSelectionMode(QAbstractItemView::SingleSelection);
  w->horizontalHeader()->setMinimumSectionSize(1);
  w->verticalHeader()->setMinimumSectionSize(1);
  w->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  w->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  w->horizontalHeader()->setHighlightSections(false);
  w->verticalHeader()->setHighlightSections(false);
  SetWidget(w);
  SetScrollBars(ssBoth);
  ApplySizes();
}

TStringGrid::~TStringGrid() {
  // The view reads the cells while it goes; let it go while they still exist.
  delete Widget();
}

void TStringGrid::Reshape(int cols, int rows, int fixedCols, int fixedRows) {
  cols = std::max(1, cols);
  rows = std::max(1, rows);
  cells_.resize(static_cast<size_t>(rows));
  for (auto& r : cells_) r.resize(static_cast<size_t>(cols));
  colWidths_.resize(static_cast<size_t>(cols), defaultColWidth_);
  colCount_ = cols;
  rowCount_ = rows;
  fixedCols_ = std::clamp(fixedCols, 0, cols - 1);
  fixedRows_ = std::clamp(fixedRows, 0, rows - 1);
  if (model_) model_->Reset();
  ApplySizes();
}

void TStringGrid::ApplySizes() {
  QTableView* w = View(this);
  if (!w || !model_) return;
  QHeaderView* top = w->horizontalHeader();
  QHeaderView* left = w->verticalHeader();
  top->setVisible(model_->HeaderRows() > 0);
  left->setVisible(model_->HeaderCols() > 0);
  top->setFixedHeight(defaultRowHeight_);
  left->setDefaultSectionSize(defaultRowHeight_);
  if (model_->HeaderCols()) left->setFixedWidth(colWidths_[0]);
  for (int c = model_->HeaderCols(); c < colCount_; ++c) {
    w->setColumnWidth(c - model_->HeaderCols(), colWidths_[static_cast<size_t>(c)]);
  }
}

void TStringGrid::SetColCount(int v) {
  Reshape(v, rowCount_, fixedCols_, fixedRows_);
}
void TStringGrid::SetRowCount(int v) {
  Reshape(colCount_, v, fixedCols_, fixedRows_);
}
void TStringGrid::SetFixedRows(int v) {
  Reshape(colCount_, rowCount_, fixedCols_, v);
}
void TStringGrid::SetFixedCols(int v) {
  Reshape(colCount_, rowCount_, v, fixedRows_);
}

void TStringGrid::SetDefaultRowHeight(int v) {
  defaultRowHeight_ = std::max(1, v);
  ApplySizes();
}

void TStringGrid::SetDefaultColWidth(int v) {
  defaultColWidth_ = std::max(0, v);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  ApplySizes();
}

int TStringGrid::GetColWidth(int col) const {
  if (col < 0 || col >= colCount_) throw EListError("Grid index out of range");
  return colWidths_[static_cast<size_t>(col)];
}

void TStringGrid::SetColWidth(int col, const int& width) {
  if (col < 0 || col >= colCount_) throw EListError("Grid index out of range");
  colWidths_[static_cast<size_t>(col)] = std::max(0, width);
  ApplySizes();
}

void TStringGrid::CheckCell(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
    throw EListError("Grid index out of range");
  }
}

std::string TStringGrid::GetCell(int col, int row) const {
  CheckCell(col, row);
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  CheckCell(col, row);
  std::string& cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == text) return;
  cell = text;
  if (model_) model_->CellChanged(col, row);
}

void TStringGrid::SetScrollBars(TScrollStyle v) {
  scrollBars_ = v;
  QTableView* w = View(this);
  if (!w) return;
  const bool h = v == ssHorizontal || v == ssBoth;
  const bool vert = v == ssVertical || v == ssBoth;
  w->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  w->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

}  // namespace platform
