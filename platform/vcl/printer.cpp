#include "platform/vcl/printer.h"

#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"

namespace platform {

namespace {

// Enough for sharp text and thin lines; a page stays a few tens of megabytes.
constexpr int kPrintResolution = 300;

std::function<std::vector<std::string>()>& PrinterList() {
  static std::function<std::vector<std::string>()> list;
  return list;
}

}  // namespace

void TPrinter::SetPrinterList(std::function<std::vector<std::string>()> list) {
  PrinterList() = std::move(list);
}

std::vector<std::string> TPrinter::AvailablePrinters() {
  if (PrinterList()) return PrinterList()();
  std::vector<std::string> names;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
    names.push_back(info.printerName().toStdString());
  return names;
}

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() = default;

std::string TPrinter::PrinterName() {
  const std::vector<std::string> names = AvailablePrinters();
  if (names.empty()) return {};
  const std::string def = QPrinterInfo::defaultPrinterName().toStdString();
  for (const std::string& n : names)
    if (n == def) return n;
  return names.front();
}

QPrinter& TPrinter::Device() {
  const std::string name = PrinterName();
  if (!device_ || name != deviceFor_) {
    device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (name.empty()) {
      device_->setOutputFormat(QPrinter::PdfFormat);
    } else {
      device_->setPrinterName(QString::fromStdString(name));
    }
    device_->setResolution(kPrintResolution);
    deviceFor_ = name;
  }
  device_->setPageOrientation(orientation_ == poLandscape ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
  return *device_;
}

void TPrinter::SetOrientation(TPrinterOrientation value) {
  orientation_ = value;
}

int TPrinter::PageWidth() {
  return Device().pageRect(QPrinter::DevicePixel).toRect().width();
}

int TPrinter::PageHeight() {
  return Device().pageRect(QPrinter::DevicePixel).toRect().height();
}

int TPrinter::DpiX() {
  return Device().logicalDpiX();
}

int TPrinter::DpiY() {
  return Device().logicalDpiY();
}

void TPrinter::BeginDoc() {
  if (printing_) throw EPrinter("Printing in progress");
  donePages_.clear();
  StartPage();
  printing_ = true;
}

void TPrinter::NewPage() {
  if (!printing_) throw EPrinter("Printer is not currently printing");
  donePages_.push_back(std::move(pageVector_));
  StartPage();
}

void TPrinter::StartPage() {
  page_ = std::make_unique<TBitmap>();
  page_->SetSize(std::max(1, PageWidth()), std::max(1, PageHeight()));
  page_->Canvas->SetDeviceResolution(DpiX(), DpiY());
  // The printer gets the page's shapes and text, sharp at its own resolution.
  pageVector_ = std::make_shared<gdi::VectorLog>();
  page_->Canvas->GetHandle()->KeepVector(pageVector_);
}

void TPrinter::EndDoc() {
  if (!printing_) return;
  printing_ = false;
  std::unique_ptr<TBitmap> page = std::move(page_);
  std::vector<std::shared_ptr<gdi::VectorLog>> pages = std::move(donePages_);
  donePages_.clear();
  pages.push_back(std::move(pageVector_));
  QPrinter& device = Device();
  device.setDocName(QString::fromStdString(Title));
  lastFile_.clear();
  if (device.outputFormat() == QPrinter::PdfFormat) {
    std::string file = OutputFileName;
    if (file.empty()) {
      QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      if (dir.isEmpty()) dir = QDir::homePath();
      file = QDir(dir)
                 .filePath(QString::fromStdString(Title.empty() ? "chart" : Title) + ".pdf")
                 .toStdString();
    }
    device.setOutputFileName(QString::fromStdString(file));
    lastFile_ = file;
  }
  QPainter p;
  if (!p.begin(&device)) throw EPrinter("Printer selected is not valid");
  // A PDF keeps images as they are, not as JPEG.
  p.setRenderHint(QPainter::LosslessImageRendering);
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !device.newPage()) throw EPrinter("Printer selected is not valid");
    if (pages[i]) pages[i]->Play(p);
  }
  if (!p.end()) throw EPrinter("Printer selected is not valid");
}

void TPrinter::Abort() {
  printing_ = false;
  page_.reset();
  pageVector_.reset();
  donePages_.clear();
}

TCanvas* TPrinter::Canvas() {
  return printing_ && page_ ? page_->Canvas : nullptr;
}

TPrinter& Printer() {
  static TPrinter printer;
  return printer;
}

TRect ScreenRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return TRect{};
  const QRect g = screen->geometry();
  return TRect{0, 0, g.width(), g.height()};
}

}  // namespace platform
