// A paged chart printed one chart page to a printer page, read back from the PDF file.
#include <gtest/gtest.h>

#include <QFile>
#include <QPdfDocument>
#include <QRegularExpression>
#include <string>

#include "chart/component/chart.h"
#include "chart/series/bar_series.h"
#include "tests/chart/engine/engine_fixture.h"

namespace {

class PrintPages : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    platform::TPrinter::SetPrinterList([] { return std::vector<std::string>{}; });
  }
  void TearDown() override {
    platform::TPrinter::SetPrinterList({});
    platform::Printer().OutputFileName.clear();
    platform::Printer().Title.clear();
  }
};

TEST_F(PrintPages, OnePrintedPagePerChartPage) {
  chart::TChart c(nullptr, platform::TPanelSurface::Headless);
  c.SetName("ChartSNR");
  c.SetBounds(0, 0, 900, 300);
  c.SetView3D(false);
  auto* s = new chart::TBarSeries(&c);
  s->SetParentChart(&c);
  c.BottomAxis()->SetLabelStyle(chart::talText);
  // 40 points of 16 a page: pages of 16, 16 and 8 points, each page's labels its own.
  const std::string kLabels[] = {"Kz", "Mz", "Qz"};
  for (int i = 0; i < 40; ++i) s->AddXY(i, 10 + i, kLabels[i / 16]);
  c.SetPointsPerPage(16);
  ASSERT_EQ(c.NumPages(), 3);
  c.SetPage(2);

  struct Case {
    int from, to;
    int pages;
    int firstPage;
  };
  const Case cases[] = {{0, 0, 3, 1}, {2, 0, 2, 2}, {3, 3, 1, 3}, {0, 99, 3, 1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.from) + ".." + std::to_string(k.to));
    const std::string file = KORVANE_BINARY_DIR "/chart-print-pages.pdf";
    QFile::remove(QString::fromStdString(file));
    platform::Printer().OutputFileName = file;
    c.PrintPages(k.from, k.to);
    EXPECT_EQ(c.GetPage(), 2);
    EXPECT_FALSE(platform::Printer().Printing());
    QPdfDocument doc(nullptr);
    ASSERT_EQ(doc.load(QString::fromStdString(file)), QPdfDocument::Error::None);
    ASSERT_EQ(doc.pageCount(), k.pages);
    for (int i = 0; i < k.pages; ++i) {
      // Printed page i shows chart page firstPage + i, and only that page's labels.
      QString text = doc.getAllText(i).text();
      text.remove(QRegularExpression("\\s"));
      for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(text.contains(QString::fromStdString(kLabels[page - 1])), page == k.firstPage + i)
            << "printed page " << i << ", chart page " << page;
      }
    }
  }
}

}  // namespace
