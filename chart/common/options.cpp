#include "chart/common/options.h"

#include "platform/vcl/settings.h"

namespace chart {

namespace {
constexpr const char* kApplication = "Chart";
constexpr const char* kGroup = "Editor";
}  // namespace

bool PlotReadBoolOption(const std::string& name, bool defaultValue) {
  return platform::ReadUserBool(kApplication, kGroup, name, defaultValue);
}

int PlotReadIntegerOption(const std::string& name, int defaultValue) {
  return platform::ReadUserInteger(kApplication, kGroup, name, defaultValue);
}

bool PlotSaveBoolOption(const std::string& name, bool value) {
  return platform::WriteUserBool(kApplication, kGroup, name, value);
}

bool PlotSaveIntegerOption(const std::string& name, int value) {
  return platform::WriteUserInteger(kApplication, kGroup, name, value);
}

}  // namespace chart
