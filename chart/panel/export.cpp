// The panel into bitmap files, pictures and the clipboard. Every export is one unbuffered
// drawing pass into a surface of the rectangle's size, so the window's buffer is left alone.
#include "chart/panel/export.h"

#include <algorithm>
#include <fstream>

#include "chart/panel/plot_panel.h"
#include "platform/vcl/export_targets.h"

namespace chart {

namespace {

TRect AtOrigin(const TRect& r) {
  const long long w = static_cast<long long>(r.Right) - r.Left;
  const long long h = static_cast<long long>(r.Bottom) - r.Top;
  return TRect{0, 0, static_cast<int>(std::clamp(w, 0LL, 1LL << 15)),
               static_cast<int>(std::clamp(h, 0LL, 1LL << 15))};
}

}  // namespace

void TCustomPlotPanel::SaveToBitmapFile(const std::string& fileName) {
  SaveToBitmapFile(fileName, GetRectangle());
}

void TCustomPlotPanel::SaveToBitmapFile(const std::string& fileName, const TRect& r) {
  const auto bitmap = PlotCreateBitmap(platform::clWhite, r, platform::pfDevice);
  platform::SaveBitmapToFile(*bitmap, fileName);
}

void TCustomPlotPanel::CopyToClipboardBitmap() {
  CopyToClipboardBitmap(GetRectangle());
}

void TCustomPlotPanel::CopyToClipboardBitmap(const TRect& r) {
  const auto bitmap = PlotCreateBitmap(platform::clWhite, r, platform::pfDevice);
  platform::CopyBitmapToClipboard(*bitmap);
}

std::unique_ptr<platform::TMetafile> TCustomPlotPanel::PlotCreateMetafile(bool enhanced,
                                                                          const TRect& r) {
  const TRect target = AtOrigin(r);
  auto metafile = std::make_unique<platform::TMetafile>(std::max(1, target.Right),
                                                        std::max(1, target.Bottom), enhanced);
  metafile->Title = GetName();
  DrawToMetaCanvas(metafile->Canvas(), target);
  return metafile;
}

void TCustomPlotPanel::SaveToMetafile(const std::string& fileName) {
  SaveToMetafileRect(false, fileName, GetRectangle());
}

void TCustomPlotPanel::SaveToMetafileEnh(const std::string& fileName) {
  SaveToMetafileRect(true, fileName, GetRectangle());
}

void TCustomPlotPanel::SaveToMetafileRect(bool enhanced, const std::string& fileName,
                                          const TRect& r) {
  PlotCreateMetafile(enhanced, r)->SaveToFile(fileName);
}

void TCustomPlotPanel::CopyToClipboardMetafile(bool enhanced) {
  CopyToClipboardMetafile(enhanced, GetRectangle());
}

void TCustomPlotPanel::CopyToClipboardMetafile(bool enhanced, const TRect& r) {
  PlotCreateMetafile(enhanced, r)->CopyToClipboard();
}

// --- TPlotExportData ---

void TPlotExportData::CopyToClipboard() {
  platform::CopyTextToClipboard(AsString());
}

void TPlotExportData::SaveToStream(std::ostream& stream) {
  const std::string text = AsString();
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TPlotExportData::SaveToFile(const std::string& fileName) {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw platform::EFCreateError("Cannot create file \"" + fileName + "\"");
  SaveToStream(file);
  file.close();
  if (!file) throw platform::EFCreateError("Cannot create file \"" + fileName + "\"");
}

}  // namespace chart
