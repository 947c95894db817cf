// Private to the layer: conversions between the layer's types and Qt's. Never included by a
// public header.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QString>
#include <string>

#include "platform/vcl/colors.h"

namespace platform {

class TFont;
class TPen;
class TBrush;
class TGraphic;

namespace qt {

// Creates the Qt application object on first use (the window thread).
void EnsureApplication();

// Texts are 8-bit: each byte is one Latin-1 character.
inline QString Str(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string Latin1(const QString& s) {
  const QByteArray b = s.toLatin1();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

QColor Color(TColor c);
TColor FromQColor(const QColor& c);
QFont Font(const TFont& f);
// The decoded pixels of a graphic; nullptr when it has none.
const QImage* GraphicImage(const TGraphic* g);

}  // namespace qt
}  // namespace platform
