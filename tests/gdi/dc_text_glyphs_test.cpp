// Text from kept glyphs or a kept image of its pixels has the pixels of a painter's drawText.
#include <QPainter>
#include <utility>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST_F(DcTest, KeptGlyphsDrawWhatDrawTextDraws) {
  const struct {
    LogFont font;
    int extra, bkMode;
  } cases[] = {{{.Height = -11}, 0, TRANSPARENT},
               {{.Height = -23, .Weight = 700, .Italic = true}, 0, TRANSPARENT},
               {{.Height = -13}, 2, OPAQUE},
               {{.Height = -15}, -1, TRANSPARENT}};
  const char* const texts[] = {"Satellite 12", "-40.5 %", "fi AV To Wy", " \xC4\xD6\xFC\xE9 ", "W"};
  QImage big(160, 120, QImage::Format_RGB32);
  for (const auto& c : cases) {
    for (const char* text : texts) {
      SCOPED_TRACE(testing::Message() << c.font.Height << " " << c.extra << ": " << text);
      big.fill(Qt::white);
      auto log = std::make_shared<VectorLog>();
      {
        Dc dc(&big);
        dc.SelectFont(c.font);
        dc.SetTextCharacterExtra(c.extra);
        dc.SetBkMode(c.bkMode);
        dc.SetBkColor(clYellow);
        dc.SetTextColor(clNavy);
        dc.KeepVector(log);
        // Laid out on the first, taken as kept on the others, in another colour on the last.
        for (const auto& [x, y] : {std::pair{3, 4}, {40, 50}, {30, 30}}) dc.TextOut(x, y, text);
        dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
        dc.SetTextColor(clMaroon);
        dc.TextOut(150, 110, text);
      }
      QImage played(big.size(), QImage::Format_RGB32);
      played.fill(Qt::white);
      QPainter p(&played);
      log->Play(p, false);
      p.end();
      EXPECT_NE(InkOf(big), TRect{});
      EXPECT_EQ(big, played);
    }
  }
}

}  // namespace
}  // namespace gditest
