#include "chart/canvas/canvas_unit.h"

#include <memory>

namespace chart {

bool IsWindowsNT = true;
int GetDefaultFontSize = 8;
std::string GetDefaultFontName = "Arial";
bool PlotSetDCBrushColor = true;
bool PlotSetDCPenColor = true;
bool PlotAlphaBlendAvailable = false;
bool PlotCheckPenWidth = false;

namespace {

std::unique_ptr<std::vector<std::string>>& CustomColors() {
  static std::unique_ptr<std::vector<std::string>> colors;
  return colors;
}

}  // namespace

std::vector<std::string>& PlotCustomEditColors() {
  auto& colors = CustomColors();
  if (!colors) colors = std::make_unique<std::vector<std::string>>();
  return *colors;
}

void PlotCanvasUnitStart() {
  IsWindowsNT = true;
  PlotAlphaBlendAvailable = false;
  GetDefaultFontSize = 8;
  GetDefaultFontName = "Arial";
  PlotSetDCBrushColor = true;
  PlotSetDCPenColor = true;
  PlotCheckPenWidth = false;
}

void PlotCanvasUnitEnd() {
  CustomColors().reset();
  GetDefaultFontName.clear();
}

}  // namespace chart
