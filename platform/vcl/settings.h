// Per-user settings of the program (organisation "Korvane"), kept in a small settings file in
// the user's configuration folder. Values are read back as written, whatever the locale.
#pragma once

#include <string>

namespace platform {

// The value under group/name of the given application's settings; the default when the file,
// the value or its form is missing.
bool ReadUserBool(const std::string& application, const std::string& group, const std::string& name,
                  bool defaultValue);
int ReadUserInteger(const std::string& application, const std::string& group,
                    const std::string& name, int defaultValue);
// Writes the value (creating file and group); false when it could not be stored.
bool WriteUserBool(const std::string& application, const std::string& group,
                   const std::string& name, bool value);
bool WriteUserInteger(const std::string& application, const std::string& group,
                      const std::string& name, int value);

}  // namespace platform
