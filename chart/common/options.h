// The chart editors' options, kept per user in the program's settings (application "Chart",
// group "Editor").
#pragma once

#include <string>

namespace chart {

// The stored value, or the default when there is none.
bool PlotReadBoolOption(const std::string& name, bool defaultValue);
int PlotReadIntegerOption(const std::string& name, int defaultValue);
// Stores the value; false when the settings file could not be written.
bool PlotSaveBoolOption(const std::string& name, bool value);
bool PlotSaveIntegerOption(const std::string& name, int value);

}  // namespace chart
