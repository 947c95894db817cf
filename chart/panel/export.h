// The base of the chart's text exporters (values as text, for the clipboard or a file).
#pragma once

#include <ostream>
#include <string>

namespace chart {

class TPlotExportData {
 public:
  virtual ~TPlotExportData() = default;
  // The base exports nothing.
  virtual std::string AsString() { return {}; }
  void CopyToClipboard();
  // The characters of AsString, no terminator.
  void SaveToStream(std::ostream& stream);
  // Creates (replaces) the file; platform::EFCreateError when it cannot be written.
  void SaveToFile(const std::string& fileName);
};

}  // namespace chart
