#include "platform/vcl/system_metrics.h"

#include <QApplication>
#include <QStyle>

#include "platform/vcl/qt_bridge.h"

namespace platform {

int GetSystemMetrics(int index) {
  if (index != SM_CXSIZE) return 0;
  qt::EnsureApplication();
  // The style's title-bar button, when it names one; else the classic desktop's 18 pixels.
  const int size = QApplication::style()->pixelMetric(QStyle::PM_TitleBarButtonSize);
  return size > 0 ? size : 18;
}

}  // namespace platform
