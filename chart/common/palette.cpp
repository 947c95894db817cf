#include "chart/common/palette.h"

namespace chart {

const std::vector<TColor>& DefaultColorPalette() {
  static const std::vector<TColor> colors = {0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF,
                                             0x808080, 0xFF00FF, 0x808000, 0x800000, 0x000080,
                                             0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00,
                                             0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0};
  return colors;
}

std::vector<TColor> ColorPalette = DefaultColorPalette();

void SetDefaultColorPalette() {
  ColorPalette = DefaultColorPalette();
}

void SetDefaultColorPalette(const std::vector<TColor>& colors) {
  ColorPalette = colors.size() > 1 ? colors : DefaultColorPalette();
}

TColor GetDefaultColor(int index) {
  const std::vector<TColor>& palette = ColorPalette.empty() ? DefaultColorPalette() : ColorPalette;
  const long long n = static_cast<long long>(palette.size());
  const long long i = ((static_cast<long long>(index) % n) + n) % n;
  return palette[static_cast<std::size_t>(i)];
}

}  // namespace chart
