// Leaves chart-panel.png in the build folder and reads it back.
#include <QFile>
#include <QImage>
#include <algorithm>

#include "tests/chart/panel/showcase.h"

namespace paneltest {
namespace {

TEST_F(PanelTest, ShowcasePanelIsSavedAsPngAndReadsBackPixelEqual) {
  const auto p = MakeShowcasePanel();
  p->ProcessPaint();
  ASSERT_EQ(p->DrawCount(), 1);
  const QImage shown = WindowCopy(*p);
  ASSERT_EQ(shown.size(), QSize(400, 250));

  // What a person should see: the border outside, the gradient running down inside the
  // bevels, the picture in the middle of the panel less its shadow.
  EXPECT_EQ(WindowPixel(*p, 0, 100), platform::clNavy);
  const TColor top = WindowPixel(*p, 100, 12);
  const TColor bottom = WindowPixel(*p, 100, 230);
  // One end near white, the other near the end colour (red 0x60).
  EXPECT_GE(std::max(top & 0xFF, bottom & 0xFF), 0xF0);
  EXPECT_LE(std::min(top & 0xFF, bottom & 0xFF), 0x70);
  // Panel 394 x 244 after the shadow: (60 - 394) div 2 = -167, (40 - 244) div 2 = -102.
  EXPECT_EQ(WindowPixel(*p, 167 + 5, 102 + 5), Coded(5, 5));
  EXPECT_EQ(WindowPixel(*p, 167, 102), platform::clNavy);
  // The shadow along the right edge, the parent-less background beside it.
  EXPECT_EQ(WindowPixel(*p, 397, 125), platform::clGray);

  const QString path = QStringLiteral(KORVANE_BINARY_DIR "/chart-panel.png");
  QFile::remove(path);
  ASSERT_TRUE(shown.save(path, "PNG"));
  QImage back(path);
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.size(), shown.size());
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
            shown.convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace paneltest
