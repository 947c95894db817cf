#include "chart/common/date_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace chart {

namespace {

const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

struct Parts {
  int year = 0, month = 0, day = 0, weekday = 0;
  int hour = 0, minute = 0, second = 0, msec = 0;
  bool hasTime = false;
};

std::string Digits(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

bool StartsWithNoCase(const std::string& s, size_t at, const char* word) {
  for (size_t k = 0; word[k]; ++k)
    if (at + k >= s.size() ||
        std::toupper(static_cast<unsigned char>(s[at + k])) != static_cast<unsigned char>(word[k]))
      return false;
  return true;
}

// Whether the picture asks for a 12-hour clock anywhere outside quotes.
bool TwelveHour(const std::string& p) {
  char quote = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    if (quote) {
      if (p[i] == quote) quote = 0;
    } else if (p[i] == '"' || p[i] == '\'') {
      quote = p[i];
    } else if (StartsWithNoCase(p, i, "AM/PM") || StartsWithNoCase(p, i, "A/P") ||
               StartsWithNoCase(p, i, "AMPM")) {
      return true;
    }
  }
  return false;
}

size_t Run(const std::string& p, size_t i) {
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i])));
  size_t n = 1;
  while (i + n < p.size() && std::tolower(static_cast<unsigned char>(p[i + n])) == c) ++n;
  return n;
}

void Write(std::string& out, const std::string& p, const Parts& t, bool nested) {
  const bool twelve = TwelveHour(p);
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  bool afterHour = false;
  size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"' || c == '\'') {
      const size_t close = p.find(c, i + 1);
      const size_t end = close == std::string::npos ? p.size() : close;
      out.append(p, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (lc == 'a') {
      const bool pm = t.hour >= 12;
      if (StartsWithNoCase(p, i, "AM/PM")) {
        const std::string word = p.substr(i + (pm ? 3 : 0), 2);
        out += word;
        i += 5;
      } else if (StartsWithNoCase(p, i, "A/P")) {
        out += p[i + (pm ? 2 : 0)];
        i += 3;
      } else if (StartsWithNoCase(p, i, "AMPM")) {
        out += pm ? "PM" : "AM";
        i += 4;
      } else {
        out += c;
        ++i;
      }
      continue;
    }
    const size_t n = (lc == 'd' || lc == 'm' || lc == 'y' || lc == 'h' || lc == 'n' || lc == 's' ||
                      lc == 'z' || lc == 't')
                         ? Run(p, i)
                         : 1;
    bool hourToken = false;
    switch (lc) {
      case 'd':
        if (n >= 5 && !nested)
          Write(out, PlotShortDateFormat, t, true);
        else if (n == 4)
          out += kLongDays[t.weekday];
        else if (n == 3)
          out += kShortDays[t.weekday];
        else
          out += Digits(t.day, n >= 2 ? 2 : 1);
        break;
      case 'm':
        if (afterHour && n <= 2)
          out += Digits(t.minute, n);
        else if (n >= 4)
          out += kLongMonths[t.month - 1];
        else if (n == 3)
          out += kShortMonths[t.month - 1];
        else
          out += Digits(t.month, n);
        break;
      case 'y':
        out += n <= 2 ? Digits(t.year % 100, 2) : Digits(t.year, 4);
        break;
      case 'h':
        out += Digits(twelve ? hour12 : t.hour, n >= 2 ? 2 : 1);
        hourToken = true;
        break;
      case 'n':
        out += Digits(t.minute, n >= 2 ? 2 : 1);
        break;
      case 's':
        out += Digits(t.second, n >= 2 ? 2 : 1);
        break;
      case 'z':
        out += Digits(t.msec, n >= 3 ? 3 : 1);
        break;
      case 't':
        if (!nested) Write(out, PlotShortTimeFormat, t, true);
        break;
      case 'c':
        if (!nested) {
          Write(out, PlotShortDateFormat, t, true);
          if (t.hasTime) {
            out += ' ';
            Write(out, PlotShortTimeFormat, t, true);
          }
        }
        break;
      default:
        out += c;
        i += n;
        continue;
    }
    // Separators between an hour and its minutes keep the minutes reading of "m".
    afterHour = hourToken;
    i += n;
  }
}

}  // namespace

std::string DateTimeToString(const std::string& picture, TDateTime value) {
  if (!std::isfinite(value)) return {};
  Parts t;
  double day = std::trunc(value);
  long long ms = std::llround(std::fabs(value - day) * 86400000.0);
  if (ms >= 86400000) {
    ms -= 86400000;
    day += value < 0 ? -1 : 1;
  }
  if (!TryDecodeDate(day, t.year, t.month, t.day)) return {};
  const long long d = static_cast<long long>(day);
  t.weekday = static_cast<int>(((d % 7) + 13) % 7);
  t.hasTime = ms != 0;
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.msec = static_cast<int>(ms % 1000);
  std::string out;
  Write(out, picture, t, false);
  return out;
}

}  // namespace chart
