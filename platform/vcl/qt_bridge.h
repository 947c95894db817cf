// Private to the layer: conversions between the layer's types and Qt's. Never included by a
// public header.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QString>
#include <QStringDecoder>
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
// A text that may hold characters beyond Latin-1 (the signal chart's hint): shown as UTF-8
// when the bytes are valid UTF-8, else as Latin-1.
inline QString DisplayText(const std::string& s) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
  return utf8.hasError() ? Str(s) : text;
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
