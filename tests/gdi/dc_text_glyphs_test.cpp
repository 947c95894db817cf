// Text drawn from the glyphs kept for it, or from the image of its pixels kept once it is drawn
// again, has the pixels of a painter's drawText in the same font at the same place.
#include <QPainter>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST_F(DcTest, KeptGlyphsDrawWhatDrawTextDraws) {
  struct Case {
    const char* name;
    int height, weight;
    bool italic;
    int extra;
    int bkMode;
  };
  const Case cases[] = {{"small", -11, 400, false, 0, TRANSPARENT},
                        {"large bold italic", -23, 700, true, 0, TRANSPARENT},
                        {"spaced out on a cell", -13, 400, false, 2, OPAQUE},
                        {"squeezed", -15, 400, false, -1, TRANSPARENT}};
  const char* const texts[] = {"Satellite 12", "-40.5 %", "fi AV To Wy", " \xC4\xD6\xFC\xE9 ", "W"};
  QImage big(160, 120, QImage::Format_RGB32);
  for (const Case& c : cases) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(c.name) + ": " + text);
      big.fill(Qt::white);
      auto log = std::make_shared<VectorLog>();
      {
        Dc dc(&big);
        LogFont f;
        f.Height = c.height;
        f.Weight = c.weight;
        f.Italic = c.italic;
        dc.SelectFont(f);
        dc.SetTextCharacterExtra(c.extra);
        dc.SetBkMode(c.bkMode);
        dc.SetBkColor(clYellow);
        dc.SetTextColor(clNavy);
        dc.KeepVector(log);
        // Laid out on the first, taken as kept on the others, in another colour on the last.
        dc.TextOut(3, 4, text);
        dc.TextOut(40, 50, text);
        dc.TextOut(30, 30, text);
        dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
        dc.SetTextColor(clMaroon);
        dc.TextOut(150, 110, text);
      }
      QImage played(big.size(), QImage::Format_RGB32);
      played.fill(Qt::white);
      {
        QPainter p(&played);
        log->Play(p, false);
      }
      EXPECT_NE(InkOf(big), TRect{});
      EXPECT_EQ(big, played);
    }
  }
}

}  // namespace
}  // namespace gditest
