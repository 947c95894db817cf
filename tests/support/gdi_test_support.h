// Shared by the drawing tests: a text set-up that gives the same pixels on every machine, a
// recorder that collects what a device context is asked to draw, and a comparison of pictures
// drawn by different renderers.
#pragma once

#include <stdlib.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"

namespace gditest {

// Offscreen, 96 dpi, Liberation Sans standing in for "Arial" and for the default family, and
// no text antialiasing. Safe to call from every test; the set-up happens once. False when the
// font files are missing.
inline bool SetUpText() {
  static const bool ok = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_FONT_DPI", "96", 1);
    if (!QCoreApplication::instance()) {
      static int argc = 1;
      static char name[] = "test";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
    bool loaded = true;
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                             "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"}) {
      const QString path = QStringLiteral("/usr/share/fonts/truetype/liberation/") + file;
      loaded = QFontDatabase::addApplicationFont(path) >= 0 && loaded;
    }
    const QString family = QStringLiteral("Liberation Sans");
    QFont::insertSubstitution(QStringLiteral("Arial"), family);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), family);
    QFont base(family);
    base.setPixelSize(11);
    base.setStyleStrategy(QFont::NoAntialias);
    QGuiApplication::setFont(base);
    platform::gdi::SetTextAntialiasing(false);
    return loaded;
  }();
  return ok;
}

// Collects every primitive a device context hands to its recorder.
class Recorder {
 public:
  platform::gdi::DcRecorder Hook() {
    return [this](const platform::gdi::DcCall& call) { calls.push_back(call); };
  }
  void Attach(platform::gdi::Dc& dc) { dc.SetRecorder(Hook()); }

  // The calls of one operation, in order.
  std::vector<platform::gdi::DcCall> Only(const std::string& op) const {
    std::vector<platform::gdi::DcCall> out;
    for (const auto& c : calls) {
      if (c.Op == op) out.push_back(c);
    }
    return out;
  }
  // The operation names in order, e.g. to compare a whole sequence.
  std::vector<std::string> Ops() const {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.Op);
    return out;
  }
  void Clear() { calls.clear(); }

  std::vector<platform::gdi::DcCall> calls;
};

// The share of a's pixels with no like pixel (each channel within 47) within one pixel of the
// same place in b: edges may move by a pixel between renderers, content may not. 1 when the
// sizes differ.
inline double Mismatch(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 1;
  int bad = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb pa = a.pixel(x, y);
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy) {
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          if (!b.valid(x + dx, y + dy)) continue;
          const QRgb pb = b.pixel(x + dx, y + dy);
          found = std::abs(qRed(pa) - qRed(pb)) < 48 && std::abs(qGreen(pa) - qGreen(pb)) < 48 &&
                  std::abs(qBlue(pa) - qBlue(pb)) < 48;
        }
      }
      bad += !found;
    }
  }
  return static_cast<double>(bad) / (static_cast<double>(a.width()) * a.height());
}

}  // namespace gditest
