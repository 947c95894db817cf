// Text with a small set of HTML tags (line breaks, sizes, faces, colours, styles, sub- and
// superscript, headings, centring, a rule, images, four entities) measured and drawn on a chart
// canvas. Each call keeps its own font and style stacks and leaves the canvas font as it found
// it. Mark-up that cannot be read never stops a paint: the text is then measured and drawn as
// it stands.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/canvas/plot_canvas.h"
#include "chart/common/chart_exception.h"

namespace platform {
class TGraphic;
}

namespace chart {

class HtmlParserException : public ChartException {
 public:
  using ChartException::ChartException;
};

// Given an upper-case file extension ("PNG"), a new graphic able to load it, or null.
using TGraphicFileExtension =
    std::function<std::unique_ptr<platform::TGraphic>(const std::string& extension)>;
// Fills bytes with the image at source; 0 means success.
using TGraphicDownload = std::function<int(const std::string& source, std::string& bytes)>;

// Both unset by default: images then draw as placeholders. Window thread only.
extern TGraphicFileExtension GraphicFileExtension;
extern TGraphicDownload GraphicDownload;

struct THtmlSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const THtmlSize&, const THtmlSize&) = default;
};

// The size the text takes from (0, 0): the widest line, and the lines' heights summed. A loaded
// image moves what follows right by its width and down by its height; a placeholder drawn for
// one that cannot be had takes no room.
THtmlSize HtmlTextExtent(TPlotCanvas& canvas, const std::string& text);
void HtmlTextOut(TPlotCanvas& canvas, int x, int y, const std::string& text);

// Makes TPlotCanvas::TextOut(..., true) draw through HtmlTextOut. Use-counted with the
// message table's start (PlotConstUnitStart), which runs when the library loads.
void HtmlTextStart();
void HtmlTextEnd();

}  // namespace chart
