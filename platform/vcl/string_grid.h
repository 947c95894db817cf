// A grid of strings: Cells[col][row]. The first fixed row and column are shown as headings
// that stay in place while the rest scrolls. An index outside the grid raises EListError.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/control.h"
#include "platform/vcl/list_controls.h"

namespace platform {

class TStringGrid : public TWinControl {
 public:
  explicit TStringGrid(TComponent* Owner);
  ~TStringGrid() override;
  const char* ClassName() const override { return "TStringGrid"; }

  int GetColCount() const { return colCount_; }
  void SetColCount(int v);
  int GetRowCount() const { return rowCount_; }
  void SetRowCount(int v);
  int GetFixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  int GetFixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int GetDefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int GetDefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int v);
  int GetColWidth(int col) const;
  void SetColWidth(int col, const int& width);
  std::string GetCell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);
  TScrollStyle GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);

  Property<int, TStringGrid, &TStringGrid::GetColCount, &TStringGrid::SetColCount> ColCount{this};
  Property<int, TStringGrid, &TStringGrid::GetRowCount, &TStringGrid::SetRowCount> RowCount{this};
  Property<int, TStringGrid, &TStringGrid::GetFixedRows, &TStringGrid::SetFixedRows> FixedRows{
      this};
  Property<int, TStringGrid, &TStringGrid::GetFixedCols, &TStringGrid::SetFixedCols> FixedCols{
      this};
  Property<int, TStringGrid, &TStringGrid::GetDefaultRowHeight, &TStringGrid::SetDefaultRowHeight>
      DefaultRowHeight{this};
  Property<int, TStringGrid, &TStringGrid::GetDefaultColWidth, &TStringGrid::SetDefaultColWidth>
      DefaultColWidth{this};
  IndexedProperty<int, TStringGrid, &TStringGrid::GetColWidth, &TStringGrid::SetColWidth> ColWidths{
      this};
  Property<TScrollStyle, TStringGrid, &TStringGrid::GetScrollBars, &TStringGrid::SetScrollBars>
      ScrollBars{this};

  class Column {
   public:
    Column(TStringGrid* g, int col) : g_(g), col_(col) {}
    class Ref {
     public:
      Ref(TStringGrid* g, int col, int row) : g_(g), col_(col), row_(row) {}
      Ref(const Ref&) = default;
      std::string operator()() const { return g_->GetCell(col_, row_); }
      operator std::string() const { return g_->GetCell(col_, row_); }
      Ref& operator=(const std::string& text) {
        g_->SetCell(col_, row_, text);
        return *this;
      }
      Ref& operator=(const Ref& other) { return *this = other(); }
      friend bool operator==(const Ref& a, const std::string& b) { return a() == b; }
      friend std::ostream& operator<<(std::ostream& os, const Ref& r) { return os << r(); }

     private:
      TStringGrid* g_;
      int col_, row_;
    };
    Ref operator[](int row) const { return Ref(g_, col_, row); }

   private:
    TStringGrid* g_;
    int col_;
  };
  class CellGrid {
   public:
    explicit CellGrid(TStringGrid* g) : g_(g) {}
    Column operator[](int col) const { return Column(g_, col); }

   private:
    TStringGrid* g_;
  };
  // Cells[col][row]
  CellGrid Cells{this};

 private:
  struct Model;
  void Reshape(int cols, int rows, int fixedCols, int fixedRows);
  void ApplySizes();
  void CheckCell(int col, int row) const;

  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int defaultRowHeight_ = 24;
  int defaultColWidth_ = 64;
  std::vector<int> colWidths_;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  TScrollStyle scrollBars_ = ssBoth;
  Model* model_ = nullptr;
};

}  // namespace platform
