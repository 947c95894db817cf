#include "chart/common/format_float.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace chart {

TPlotFormatSettings PlotFormatSettings;

namespace {

struct Token {
  enum Kind { Literal, Digit, Point, Comma, Exponent } kind = Literal;
  std::string text;     // Literal
  bool zero = false;    // Digit: "0" rather than "#"
  bool always = false;  // Exponent: "E+" shows the sign of positive exponents too
  int expDigits = 0;    // Exponent: minimum digits
};

std::vector<std::string> SplitSections(const std::string& format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

Token Make(Token::Kind kind) {
  Token t;
  t.kind = kind;
  return t;
}

std::vector<Token> Tokenize(const std::string& s) {
  std::vector<Token> out;
  auto literal = [&out](const std::string& text) {
    if (out.empty() || out.back().kind != Token::Literal) out.push_back(Make(Token::Literal));
    out.back().text += text;
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = s.find(c, i + 1);
      literal(s.substr(i + 1, (end == std::string::npos ? s.size() : end) - i - 1));
      i = end == std::string::npos ? s.size() : end;
    } else if (c == '0' || c == '#') {
      out.push_back(Make(Token::Digit));
      out.back().zero = c == '0';
    } else if (c == '.') {
      out.push_back(Make(Token::Point));
    } else if (c == ',') {
      out.push_back(Make(Token::Comma));
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      Token t = Make(Token::Exponent);
      t.text = std::string(1, c);
      t.always = s[i + 1] == '+';
      i += 2;
      while (i < s.size() && s[i] == '0') {
        ++t.expDigits;
        ++i;
      }
      --i;
      out.push_back(t);
    } else {
      literal(std::string(1, c));
    }
  }
  return out;
}

// The value's shortest decimal form: digits without leading zeros and the power of ten of the
// first digit. Zero gives empty digits.
void DecimalDigits(double v, std::string& digits, int& exponent) {
  digits.clear();
  exponent = 0;
  if (v == 0) return;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  const std::string s(buf, r.ptr);
  const std::size_t e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] >= '0' && s[i] <= '9') digits += s[i];
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

// Adds one unit at the last digit of num; returns true when it carried out of the front.
bool Increment(std::string& num) {
  for (std::size_t i = num.size(); i-- > 0;) {
    if (num[i] == '9') {
      num[i] = '0';
    } else {
      ++num[i];
      return false;
    }
  }
  return true;
}

struct Picture {
  int intMin = 0;  // "0" before the point
  int decMin = 0;  // "0" after the point
  int decMax = 0;  // "0" and "#" after the point
  bool grouping = false;
  bool scientific = false;
  bool expAlways = false;
  int expDigits = 0;
  std::string expLetter;
};

Picture Describe(const std::vector<Token>& tokens) {
  Picture p;
  bool afterPoint = false;
  for (const Token& t : tokens) {
    if (t.kind == Token::Exponent) {
      if (!p.scientific) {
        p.scientific = true;
        p.expAlways = t.always;
        p.expDigits = t.expDigits;
        p.expLetter = t.text;
      }
    } else if (p.scientific) {
      continue;
    } else if (t.kind == Token::Point) {
      afterPoint = true;
    } else if (t.kind == Token::Comma) {
      if (!afterPoint) p.grouping = true;
    } else if (t.kind == Token::Digit) {
      if (afterPoint) {
        ++p.decMax;
        if (t.zero) p.decMin = p.decMax;
      } else if (t.zero || p.intMin > 0) {
        ++p.intMin;
      }
    }
  }
  return p;
}

std::string Group(const std::string& intDigits) {
  std::string out;
  const std::size_t n = intDigits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += PlotFormatSettings.ThousandSeparator;
    out += intDigits[i];
  }
  return out;
}

// Integer and fraction digits of |v| rounded to decimals places.
void FixedDigits(double v, int decimals, std::string& intPart, std::string& frac) {
  std::string digits;
  int exponent = 0;
  DecimalDigits(std::fabs(v), digits, exponent);
  intPart.clear();
  frac.clear();
  if (!digits.empty()) {
    const int intCount = exponent + 1;
    if (intCount > 0) {
      for (int i = 0; i < intCount; ++i)
        intPart += i < static_cast<int>(digits.size()) ? digits[i] : '0';
      if (intCount < static_cast<int>(digits.size())) frac = digits.substr(intCount);
    } else {
      frac = std::string(static_cast<std::size_t>(-intCount), '0') + digits;
    }
  }
  if (static_cast<int>(frac.size()) > decimals) {
    const bool up = frac[decimals] >= '5';
    frac.resize(decimals);
    if (up) {
      std::string all = intPart + frac;
      if (Increment(all)) all.insert(all.begin(), '1');
      intPart = all.substr(0, all.size() - frac.size());
      frac = all.substr(all.size() - frac.size());
    }
  }
  while (intPart.size() > 1 && intPart[0] == '0') intPart.erase(0, 1);
  if (intPart == "0") intPart.clear();
}

std::string FormatSection(const std::vector<Token>& tokens, double v, bool& allZero) {
  const Picture p = Describe(tokens);
  std::string number;
  std::string exponentText;
  allZero = true;
  if (!p.scientific) {
    std::string intPart, frac;
    FixedDigits(v, p.decMax, intPart, frac);
    while (static_cast<int>(frac.size()) > p.decMin && !frac.empty() && frac.back() == '0')
      frac.pop_back();
    if (static_cast<int>(frac.size()) < p.decMin) frac.append(p.decMin - frac.size(), '0');
    if (static_cast<int>(intPart.size()) < p.intMin)
      intPart.insert(0, static_cast<std::size_t>(p.intMin) - intPart.size(), '0');
    allZero = (intPart + frac).find_first_not_of('0') == std::string::npos;
    number = p.grouping ? Group(intPart) : intPart;
    if (!frac.empty()) number += PlotFormatSettings.DecimalSeparator + frac;
  } else {
    std::string digits;
    int exponent = 0;
    DecimalDigits(std::fabs(v), digits, exponent);
    std::string mant = digits.empty() ? std::string("0") : digits;
    if (static_cast<int>(mant.size()) > p.decMax + 1) {
      const bool up = mant[p.decMax + 1] >= '5';
      mant.resize(p.decMax + 1);
      if (up && Increment(mant)) {
        mant.insert(mant.begin(), '1');
        mant.pop_back();
        ++exponent;
      }
    }
    std::string frac = mant.substr(1);
    while (static_cast<int>(frac.size()) > p.decMin && !frac.empty() && frac.back() == '0')
      frac.pop_back();
    if (static_cast<int>(frac.size()) < p.decMin) frac.append(p.decMin - frac.size(), '0');
    allZero = digits.empty();
    number = mant.substr(0, 1);
    if (!frac.empty()) number += PlotFormatSettings.DecimalSeparator + frac;
    std::string e = PlotStr(std::abs(exponent));
    if (static_cast<int>(e.size()) < p.expDigits) e.insert(0, p.expDigits - e.size(), '0');
    exponentText = p.expLetter + (exponent < 0 ? "-" : (p.expAlways ? "+" : "")) + e;
  }
  // Literals before the first digit lead, the mantissa follows, then the rest in order.
  std::string out;
  bool placed = false;
  for (const Token& t : tokens) {
    if (t.kind == Token::Literal) {
      out += t.text;
    } else if (t.kind == Token::Exponent) {
      if (!placed) out += number;
      placed = true;
      out += exponentText;
      exponentText.clear();
    } else if (!placed) {
      out += number;
      placed = true;
    }
  }
  if (!placed) out += number;
  return out;
}

}  // namespace

std::string PlotStr(long long value) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

namespace {

// The section of the format that writes value.
std::size_t SectionOf(const std::vector<std::string>& sections, double value) {
  std::size_t use = 0;
  if (value < 0 && sections.size() > 1 && !sections[1].empty()) use = 1;
  if (value == 0 && sections.size() > 2 && !sections[2].empty()) use = 2;
  return use;
}

}  // namespace

std::string FormatFloat(const std::string& format, double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const std::vector<std::string> sections = SplitSections(format);
  const std::size_t use = SectionOf(sections, value);
  bool allZero = true;
  std::string text = FormatSection(Tokenize(sections[use]), value, allZero);
  // The negative section carries its own sign; "-0" is never shown.
  if (use == 0 && value < 0 && !allZero) text = "-" + text;
  return text;
}

int FormatFloatDecimals(const std::string& format, double value) {
  const std::vector<std::string> sections = SplitSections(format);
  const Picture p = Describe(Tokenize(sections[SectionOf(sections, value)]));
  return p.scientific ? -1 : p.decMax;
}

std::string FormatArg::Text() const {
  if (const auto* n = std::get_if<long long>(&value_)) return PlotStr(*n);
  return std::get<std::string>(value_);
}

std::string Format(const std::string& format, std::initializer_list<FormatArg> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    const char d = format[i + 1];
    if (d == '%') {
      out += '%';
      ++i;
    } else if ((d == 's' || d == 'd') && next != args.end()) {
      out += next->Text();
      ++next;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace chart
