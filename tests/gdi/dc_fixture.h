// A white 64 x 64 surface with a device context on it, and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "platform/gdi/dc.h"
#include "tests/support/gdi_test_support.h"

namespace gditest {

using namespace platform;
using namespace platform::gdi;

class DcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetUpText());
    image.fill(Qt::white);
  }

  // A device pixel of the surface (whatever the clip or mapping); -1 outside it.
  TColor Px(int x, int y) const {
    if (!image.valid(x, y)) return -1;
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  }

  // Row y from x0 to x1 (exclusive): '#' where the pixel is c, '.' where white, '?' else.
  std::string Row(int y, int x0, int x1, TColor c) const {
    std::string s;
    for (int x = x0; x < x1; ++x) {
      const TColor p = Px(x, y);
      s += p == c ? '#' : p == clWhite ? '.' : '?';
    }
    return s;
  }
  std::string Column(int x, int y0, int y1, TColor c) const {
    std::string s;
    for (int y = y0; y < y1; ++y) {
      const TColor p = Px(x, y);
      s += p == c ? '#' : p == clWhite ? '.' : '?';
    }
    return s;
  }

  // The smallest rectangle (right and bottom exclusive) holding every pixel that is not white.
  TRect Ink() const { return InkOf(image); }
  static TRect InkOf(const QImage& img) {
    TRect r{img.width(), img.height(), 0, 0};
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        if ((img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) continue;
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
    }
    return r.Right == 0 ? TRect{} : r;
  }
  // "" when two images are alike, else how many pixels differ and the first of them.
  static std::string Difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int n = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, y) == b.pixel(x, y)) continue;
        if (n++ == 0) first = " pixels, first at " + std::to_string(x) + "," + std::to_string(y);
      }
    }
    return n ? std::to_string(n) + first : "";
  }
  int Count(TColor c) const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += Px(x, y) == c;
    }
    return n;
  }

  static LogPen Pen(std::uint32_t style, int width, TColor color = clBlack) {
    LogPen p;
    p.Style = style;
    p.Width = width;
    p.Color = color;
    return p;
  }
  static LogBrush Solid(TColor color) {
    LogBrush b;
    b.Color = color;
    return b;
  }
  static LogBrush Hollow() {
    LogBrush b;
    b.Style = BS_NULL;
    return b;
  }

  QImage image{64, 64, QImage::Format_RGB32};
  Dc dc{&image};
};

}  // namespace gditest
