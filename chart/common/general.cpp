#include "chart/common/general.h"

#include <climits>

#include "chart/common/format_float.h"
#include "platform/vcl/component.h"
#include "platform/vcl/control.h"

namespace chart {

void PlotSort(int first, int last, const TPlotCompareProc& compare, const TPlotSwapProc& swap) {
  // Recurse into the smaller part and loop over the larger, so the depth stays logarithmic.
  while (first < last) {
    int pivot = static_cast<int>((static_cast<long long>(first) + last) / 2);
    int i = first;
    int j = last;
    while (i < j) {
      while (i < last && compare(i, pivot) < 0) ++i;
      while (j > first && compare(pivot, j) < 0) --j;
      if (i < j) {
        swap(i, j);
        if (pivot == i)
          pivot = j;
        else if (pivot == j)
          pivot = i;
      }
      if (i <= j) {
        if (i < INT_MAX) ++i;
        if (j > INT_MIN) --j;
      }
    }
    if (j - first < last - i) {
      if (first < j) PlotSort(first, j, compare, swap);
      first = i;
    } else {
      if (i < last) PlotSort(i, last, compare, swap);
      last = j;
    }
  }
}

std::string PlotFieldsSeparator = ";";

int PlotNumFields(const std::string& text, const std::string& separator) {
  if (text.empty()) return 0;
  if (separator.empty()) return 1;
  int count = 1;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, at + separator.size()))
    ++count;
  return count;
}

std::string PlotExtractField(const std::string& text, int index, const std::string& separator) {
  if (index < 1 || text.empty()) return "";
  if (separator.empty()) return text;
  std::size_t start = 0;
  for (int field = 1; field < index; ++field) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string::npos) break;
    start = at + separator.size();
  }
  const std::size_t end = text.find(separator, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string ReplaceChar(const std::string& text, char oldChar, char newChar) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != oldChar)
      out += c;
    else if (newChar != 0)
      out += newChar;
  }
  return out;
}

namespace {

// Swaps two characters in one pass, so "," and "." may trade places.
std::string SwapSeparators(const std::string& format, char thousandFrom, char thousandTo,
                           char decimalFrom, char decimalTo) {
  std::string out = format;
  char quote = 0;
  for (char& c : out) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == thousandFrom) {
      c = thousandTo;
    } else if (c == decimalFrom) {
      c = decimalTo;
    }
  }
  return out;
}

}  // namespace

std::string FixedToLocalFormat(const std::string& format) {
  return SwapSeparators(format, ',', PlotFormatSettings.ThousandSeparator, '.',
                        PlotFormatSettings.DecimalSeparator);
}

std::string LocalToFixedFormat(const std::string& format) {
  return SwapSeparators(format, PlotFormatSettings.ThousandSeparator, ',',
                        PlotFormatSettings.DecimalSeparator, '.');
}

std::string PlotGetUniqueName(const std::function<bool(const std::string&)>& nameTaken,
                              const std::string& startName) {
  for (long long n = 1;; ++n) {
    std::string name = startName + PlotStr(n);
    if (!nameTaken || !nameTaken(name)) return name;
  }
}

std::string PlotGetUniqueName(const platform::TComponent* owner, const std::string& startName) {
  if (owner == nullptr) return startName + "1";
  return PlotGetUniqueName(
      [owner](const std::string& name) { return owner->FindComponent(name) != nullptr; },
      startName);
}

void EnableControls(bool enable, const std::vector<platform::TControl*>& controls) {
  for (platform::TControl* c : controls)
    if (c != nullptr) c->SetEnabled(enable);
}

void EnableControls(bool enable, std::initializer_list<platform::TControl*> controls) {
  EnableControls(enable, std::vector<platform::TControl*>(controls));
}

TPlotTranslateHook PlotTranslateHook;

void PlotTranslateControl(platform::TControl* control,
                          const std::vector<platform::TControl*>& skip) {
  if (PlotTranslateHook) PlotTranslateHook(control, skip);
}

}  // namespace chart
