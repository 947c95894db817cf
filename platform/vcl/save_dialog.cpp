#include "platform/vcl/save_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "platform/vcl/application.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

// "NMEA Files|*.nma|All Files|*.*" -> {"NMEA Files (*.nma)", "All Files (*.*)"}
QStringList NameFilters(const std::string& filter) {
  QStringList out;
  const QStringList parts = qt::Str(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return out;
}

}  // namespace

bool TSaveDialog::Execute() {
  TModalRequest request;
  request.Kind = mkSaveDialog;
  request.Caption = Title;
  request.FileName = FileName;
  request.Filter = Filter;
  const int chosen = Application->RunModal(request, [&]() -> int {
    QFileDialog dialog(nullptr, qt::Str(Title), QFile::decodeName(InitialDir.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFilters(Filter);
    if (!filters.isEmpty()) {
      dialog.setNameFilters(filters);
      const qsizetype index =
          FilterIndex >= 1 && FilterIndex <= filters.size() ? FilterIndex - 1 : 0;
      dialog.selectNameFilter(filters[index]);
    }
    if (!DefaultExt.empty()) dialog.setDefaultSuffix(qt::Str(DefaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !Options.Contains(ofOverwritePrompt));
    // File names are the file system's bytes, not Latin-1 text.
    if (!FileName.empty()) dialog.selectFile(QFile::decodeName(FileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    request.FileName = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    if (index >= 0) FilterIndex = static_cast<int>(index) + 1;
    return 1;
  });
  if (!chosen) return false;
  FileName = request.FileName;
  return true;
}

}  // namespace platform
