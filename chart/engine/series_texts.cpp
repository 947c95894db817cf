// What a series shows besides its shapes: which points lie inside the chart rectangle, the texts
// of its marks and of its legend items.
#include <cmath>
#include <string>
#include <utility>

#include "chart/common/date_format.h"
#include "chart/common/format_float.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

void TSeriesMarks::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  if (series_) series_->Repaint();
}

void TChartSeries::CalcFirstLastVisibleIndex() {
  FirstVisible = -1;
  LastVisible = -1;
  const int n = Count() - 1;
  if (n < 0) return;
  TCustomAxisPanel* chart = GetParentChart();
  TChartAxis* axis = yIsValue_ ? horizAxisObj_ : vertAxisObj_;
  if (!LimitToVisible || positionValues_->GetOrder() == loNone || !chart || !axis) {
    FirstVisible = 0;
    LastVisible = n;
    return;
  }
  const TRect& r = chart->ChartRect;
  int nearPixel = yIsValue_ ? r.Left : r.Bottom;
  int farPixel = yIsValue_ ? r.Right : r.Top;
  if (axis->GetInverted()) std::swap(nearPixel, farPixel);
  const double vNear = axis->CalcPosPoint(nearPixel);
  const double vFar = axis->CalcPosPoint(farPixel);
  const TChartValueList& pos = *positionValues_;
  for (int i = 0; i <= n && FirstVisible < 0; ++i)
    if (pos.GetValue(i) >= vNear) FirstVisible = i;
  if (FirstVisible < 0) return;
  if (!(pos.GetValue(n) > vFar)) {
    LastVisible = n;
    return;
  }
  LastVisible = n;
  for (int i = FirstVisible; i <= n; ++i)
    if (pos.GetValue(i) >= vFar) {
      LastVisible = i;
      break;
    }
  if (!KeepEdgePoint && pos.GetValue(LastVisible) > vFar) --LastVisible;
}

std::string TChartSeries::MarkPercent(int valueIndex, bool addTotal) {
  const double total = mainValues_->TotalABS();
  const double percent = total == 0 ? 100 : std::fabs(GetMarkValue(valueIndex)) * 100 / total;
  std::string text = FormatFloat(percentFormat_, percent);
  if (addTotal)
    text = Format(marks_->GetMultiLine() ? PlotMsg_DefaultPercentOf2 : PlotMsg_DefaultPercentOf,
                  {text, FormatFloat(valueFormat_, total)});
  return text;
}

std::string TChartSeries::GetMarkText(int valueIndex) {
  std::string text;
  const TMarksItem* item = marks_->Items().Existing(valueIndex);
  const platform::TStrings* own = item ? item->TextIfAny() : nullptr;
  if (own && own->Count() > 0) {
    for (int i = 0; i < own->Count(); ++i) {
      if (i > 0) text += "\r\n";
      text += own->Get(i);
    }
  } else {
    const std::string sep = marks_->GetMultiLine() ? std::string(1, PlotLineSeparator) : " ";
    const std::string value = FormatFloat(valueFormat_, GetMarkValue(valueIndex));
    std::string label = labels_.GetLabel(valueIndex);
    if (label.empty()) label = value;
    switch (marks_->GetStyle()) {
      case smsValue:
        text = value;
        break;
      case smsPercent:
        text = MarkPercent(valueIndex, false);
        break;
      case smsLabel:
        text = label;
        break;
      case smsLabelPercent:
        text = label + sep + MarkPercent(valueIndex, false);
        break;
      case smsLabelValue:
        text = label + sep + value;
        break;
      case smsLegend:
        if (TCustomAxisPanel* chart = GetParentChart())
          text = chart->FormattedValueLegend(this, valueIndex);
        if (!marks_->GetMultiLine())
          for (char& c : text)
            if (c == PlotColumnSeparator) c = ' ';
        break;
      case smsPercentTotal:
        text = MarkPercent(valueIndex, true);
        break;
      case smsLabelPercentTotal:
        text = label + sep + MarkPercent(valueIndex, true);
        break;
      case smsXValue:
        text = XValueToText(positionValues_->GetValue(valueIndex));
        break;
      case smsXY:
        text = XValueToText(positionValues_->GetValue(valueIndex)) + sep + value;
        break;
    }
  }
  if (OnGetMarkText) OnGetMarkText(this, valueIndex, text);
  return text;
}

std::string TChartSeries::LegendString(int legendIndex, TLegendTextStyle style) {
  const int i = LegendToValueIndex(legendIndex);
  const std::string label = labels_.GetLabel(i);
  if (style == ltsPlain) return label;
  const std::string col(1, PlotColumnSeparator);
  const double value = GetMarkValue(i);
  const std::string v = mainValues_->GetDateTime()
                            ? DateTimeToString(DateTimeDefaultFormat(value), value)
                            : FormatFloat(valueFormat_, value);
  const double total = mainValues_->TotalABS();
  const std::string p = FormatFloat(percentFormat_, total == 0 ? 100 : value * 100 / total);
  auto joined = [&](const std::string& a, const std::string& b, const std::string& alone) {
    return label.empty() ? alone : a + col + b;
  };
  switch (style) {
    case ltsPlain:
      break;
    case ltsLeftValue:
      return joined(v, label, v);
    case ltsRightValue:
      return joined(label, v, v);
    case ltsLeftPercent:
      return joined(p, label, p);
    case ltsRightPercent:
      return joined(label, p, p);
    case ltsXValue:
      return XValueToText(GetxValue(i));
    case ltsValue:
      return v;
    case ltsPercent:
      return p;
    case ltsXAndValue:
      return XValueToText(GetxValue(i)) + col + v;
    case ltsXAndPercent:
      return XValueToText(GetxValue(i)) + col + p;
  }
  return label;
}

}  // namespace chart
