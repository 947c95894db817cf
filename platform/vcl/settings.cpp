#include "platform/vcl/settings.h"

#include <QSettings>
#include <QString>
#include <charconv>

namespace platform {

namespace {

constexpr const char* kOrganisation = "Korvane";

QString Key(const std::string& group, const std::string& name) {
  return QString::fromStdString(group.empty() ? name : group + "/" + name);
}

// Ini format, so the file is plain text and a test can point QSettings at another folder.
QSettings Open(const std::string& application) {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, kOrganisation,
                   QString::fromStdString(application));
}

bool ReadText(const std::string& application, const std::string& group, const std::string& name,
              std::string& text) {
  QSettings settings = Open(application);
  const QVariant v = settings.value(Key(group, name));
  if (!v.isValid()) return false;
  text = v.toString().trimmed().toStdString();
  return true;
}

bool WriteText(const std::string& application, const std::string& group, const std::string& name,
               const std::string& text) {
  QSettings settings = Open(application);
  settings.setValue(Key(group, name), QString::fromStdString(text));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace

bool ReadUserBool(const std::string& application, const std::string& group, const std::string& name,
                  bool defaultValue) {
  std::string text;
  if (!ReadText(application, group, name, text)) return defaultValue;
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  return defaultValue;
}

int ReadUserInteger(const std::string& application, const std::string& group,
                    const std::string& name, int defaultValue) {
  std::string text;
  if (!ReadText(application, group, name, text)) return defaultValue;
  int value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return defaultValue;
  return value;
}

bool WriteUserBool(const std::string& application, const std::string& group,
                   const std::string& name, bool value) {
  return WriteText(application, group, name, value ? "true" : "false");
}

bool WriteUserInteger(const std::string& application, const std::string& group,
                      const std::string& name, int value) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return WriteText(application, group, name, std::string(buf, r.ptr));
}

}  // namespace platform
