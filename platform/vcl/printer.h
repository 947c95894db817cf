// The printer: pages drawn through Canvas (a white page bitmap at the printer's resolution) and
// sent at EndDoc, as the shapes and text drawn on them, to the system's default printer, or,
// when the system has no printer set up, written as a PDF file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/exception.h"
#include "platform/vcl/graphics.h"

class QPrinter;

namespace platform {

class TBitmap;
namespace gdi {
class VectorLog;
}

enum TPrinterOrientation { poPortrait, poLandscape };

// The printer could not take the document.
class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

class TPrinter {
 public:
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The document's name in the print queue.
  std::string Title;
  // Where the PDF goes when no printer is set up; empty: "<Title or chart>.pdf" in the user's
  // documents folder.
  std::string OutputFileName;

  TPrinterOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation value);
  // The printable page in printer pixels, and its resolution.
  int PageWidth();
  int PageHeight();
  int DpiX();
  int DpiY();
  // The system printer the page goes to; empty when it becomes a PDF file.
  std::string PrinterName();
  // The file the last document was written to (empty when it went to a printer).
  std::string LastFileName() const { return lastFile_; }

  // A new white page; EPrinter while a document is open.
  void BeginDoc();
  // Sends the page; EPrinter when the printer or file refuses it. The document is closed
  // either way.
  void EndDoc();
  // Keeps the page drawn so far and starts a new white one; EPrinter when no document is open.
  void NewPage();
  // Pages of the open document, the one being drawn included (0 when none is open).
  int PageCount() const { return printing_ ? static_cast<int>(donePages_.size()) + 1 : 0; }
  // Drops the pages.
  void Abort();
  bool Printing() const { return printing_; }
  // The page's canvas while printing, else null.
  TCanvas* Canvas();

  // The printers the system has set up (QPrinterInfo); tests put a list of their own in.
  static void SetPrinterList(std::function<std::vector<std::string>()> list);
  static std::vector<std::string> AvailablePrinters();

 private:
  QPrinter& Device();
  void StartPage();

  std::unique_ptr<QPrinter> device_;
  std::string deviceFor_;
  std::unique_ptr<TBitmap> page_;
  std::shared_ptr<gdi::VectorLog> pageVector_;
  // The document's finished pages, in order.
  std::vector<std::shared_ptr<gdi::VectorLog>> donePages_;
  TPrinterOrientation orientation_ = poPortrait;
  bool printing_ = false;
  std::string lastFile_;
};

// The program's printer.
TPrinter& Printer();

// The primary screen in pixels (0, 0, 0, 0 without one).
TRect ScreenRect();

}  // namespace platform
