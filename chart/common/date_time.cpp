#include "chart/common/date_time.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cmath>

#include "chart/common/chart_exception.h"

namespace chart {

namespace {

constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days from 1 January 1970 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

// 30 December 1899 counted from 1 January 1970.
const long long kEpoch = DaysFromCivil(1899, 12, 30);
constexpr double kMicrosecond = 1.0 / 86400000000.0;

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(std::uint16_t year, std::uint16_t month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month)))
    throw ChartException("Invalid argument to date encode");
  return static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
}

bool TryDecodeDate(TDateTime value, int& year, int& month, int& day) {
  // Years 1..9999 span about -693,594 .. 2,958,465 days.
  if (!std::isfinite(value) || value <= -693594.0 || value >= 2958466.0) return false;
  const long long days = static_cast<long long>(std::trunc(value));
  CivilFromDays(days + kEpoch, year, month, day);
  return true;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  if (!TryDecodeDate(value, year, month, day))
    throw ChartException("Invalid argument to date decode");
}

const std::array<double, dtNone> DateTimeStep = {1.0 / 86400000000.0,
                                                 1.0 / 86400000.0,
                                                 1.0 / 86400.0,
                                                 5.0 / 86400.0,
                                                 10.0 / 86400.0,
                                                 15.0 / 86400.0,
                                                 30.0 / 86400.0,
                                                 1.0 / 1440.0,
                                                 5.0 / 1440.0,
                                                 10.0 / 1440.0,
                                                 15.0 / 1440.0,
                                                 30.0 / 1440.0,
                                                 1.0 / 24.0,
                                                 2.0 / 24.0,
                                                 0.25,
                                                 0.5,
                                                 1.0,
                                                 2.0,
                                                 3.0,
                                                 7.0,
                                                 15.0,
                                                 30.0,
                                                 60.0,
                                                 90.0,
                                                 120.0,
                                                 182.0,
                                                 365.0};

double NextDateTimeStep(double step) {
  for (int i = dtSixMonths; i >= dtOneMicroSecond; --i)
    if (step >= DateTimeStep[i]) return DateTimeStep[i + 1];
  return DateTimeStep[dtOneYear];
}

TDateTimeStep FindDateTimeStep(double step) {
  for (int i = dtOneYear; i >= dtOneMicroSecond; --i)
    if (std::fabs(DateTimeStep[i] - step) < kMicrosecond) return static_cast<TDateTimeStep>(i);
  return dtNone;
}

namespace {

// A picture for one conversion (after its flags, width and E or O modifier); unpadded is the
// "-" flag.
std::string_view Conversion(char c, bool unpadded) {
  switch (c) {
    case 'd':
      return unpadded ? "d" : "dd";
    case 'e':
      return "d";
    case 'm':
      return unpadded ? "m" : "mm";
    case 'Y':
      return "yyyy";
    case 'y':
      return "yy";
    case 'H':
    case 'I':
      return unpadded ? "h" : "hh";
    case 'k':
    case 'l':
      return "h";
    case 'M':
      return unpadded ? "n" : "nn";
    case 'S':
      return unpadded ? "s" : "ss";
    case 'p':
      return "AM/PM";
    case 'P':
      return "am/pm";
    case 'b':
    case 'h':
      return "mmm";
    case 'B':
      return "mmmm";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'D':
    case 'x':
      return "mm/dd/yy";
    case 'F':
      return "yyyy-mm-dd";
    case 'T':
    case 'X':
      return "hh:nn:ss";
    case 'R':
      return "hh:nn";
    case 'r':
      return "hh:nn:ss AM/PM";
    case 'n':
    case 't':
      return " ";
    case '%':
      return "%";
    default:
      return {};
  }
}

// Bytes a picture shows as they are: digits, blanks and punctuation; "/" and ":" are the date
// and time separators, which is what a format of the same locale writes there.
bool Plain(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x80 && !std::isalpha(u) && c != '"' && c != '\'';
}

std::string LocaleFormat(nl_item item) {
  locale_t loc = newlocale(LC_TIME_MASK, "", locale_t{});
  if (!loc) loc = newlocale(LC_TIME_MASK, "C", locale_t{});
  if (!loc) return {};
  const char* format = nl_langinfo_l(item, loc);
  std::string picture = DateTimePictureOf(format ? format : "");
  freelocale(loc);
  return picture;
}

}  // namespace

std::string DateTimePictureOf(std::string_view format) {
  std::string out;
  std::string literal;
  const auto flushLiteral = [&] {
    if (!literal.empty()) out += '"' + literal + '"';
    literal.clear();
  };
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      if (Plain(c)) {
        flushLiteral();
        out += c;
      } else if (c == '"') {
        flushLiteral();
        out += "'\"'";
      } else {
        literal += c;
      }
      continue;
    }
    bool unpadded = false;
    while (i + 1 < format.size() &&
           std::string_view("-_0^#").find(format[i + 1]) != std::string_view::npos)
      unpadded = format[++i] == '-' || unpadded;
    while (i + 1 < format.size() && std::isdigit(static_cast<unsigned char>(format[i + 1]))) ++i;
    if (i + 1 < format.size() && (format[i + 1] == 'E' || format[i + 1] == 'O')) ++i;
    if (i + 1 >= format.size()) break;
    flushLiteral();
    out += Conversion(format[++i], unpadded);
  }
  flushLiteral();
  return out;
}

std::string LocaleShortDateFormat() {
  return LocaleFormat(D_FMT);
}

std::string LocaleShortTimeFormat() {
  return LocaleFormat(T_FMT);
}

std::string PlotShortDateFormat = LocaleShortDateFormat();
std::string PlotShortTimeFormat = LocaleShortTimeFormat();

std::string DateTimeDefaultFormat(double step) {
  return step > 1 ? PlotShortDateFormat : PlotShortTimeFormat;
}

}  // namespace chart
