#include "platform/vcl/layout_text.h"

#include <charconv>
#include <cstring>
#include <limits>

#include "platform/vcl/exception.h"

namespace platform {

namespace {

constexpr int kMaxDepth = 64;

[[noreturn]] void Fail(int line, const std::string& what) {
  throw EReadError("line " + std::to_string(line) + ": " + what);
}

// ASCII only, whatever the user's locale says about other bytes.
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool Same(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return i == a.size() && !b[i];
}

struct Token {
  enum Kind { tEnd, tIdent, tInteger, tReal, tString, tSymbol } kind = tEnd;
  std::string text;  // identifier, string value, or the symbol
  std::int64_t integer = 0;
  double real = 0;
  int line = 1;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  const Token& Peek() {
    if (!peeked_) {
      next_ = Read();
      peeked_ = true;
    }
    return next_;
  }
  Token Take() {
    Peek();
    peeked_ = false;
    return next_;
  }
  int Line() { return Peek().line; }

  // The hex digits up to the closing brace, as bytes (the opening brace is already taken).
  std::string ReadBinary(int openLine) {
    std::string out;
    int high = -1;
    for (;;) {
      if (pos_ >= s_.size()) Fail(openLine, "binary value is not closed");
      const char c = s_[pos_++];
      if (c == '}') break;
      if (c == '\n') ++line_;
      if (IsSpace(c)) continue;
      const int v = HexValue(c);
      if (v < 0) Fail(line_, std::string("invalid character '") + c + "' in binary value");
      if (high < 0) {
        high = v;
      } else {
        out.push_back(static_cast<char>(high * 16 + v));
        high = -1;
      }
    }
    if (high >= 0) Fail(line_, "binary value has an odd number of hex digits");
    return out;
  }

 private:
  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void SkipSpace() {
    while (pos_ < s_.size() && IsSpace(s_[pos_])) {
      if (s_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  Token Read() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (pos_ >= s_.size()) return t;
    const char c = s_[pos_];
    if (IsIdentStart(c)) {
      const size_t start = pos_;
      for (;;) {
        while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
        if (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsIdentStart(s_[pos_ + 1])) {
          ++pos_;
          continue;
        }
        break;
      }
      t.kind = Token::tIdent;
      t.text = std::string(s_.substr(start, pos_ - start));
      return t;
    }
    if (IsDigit(c) || c == '$' ||
        (c == '-' && pos_ + 1 < s_.size() && (IsDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$'))) {
      return ReadNumber(t);
    }
    if (c == '\'' || c == '#') return ReadString(t);
    ++pos_;
    t.kind = Token::tSymbol;
    t.text = std::string(1, c);
    return t;
  }

  Token ReadNumber(Token& t) {
    const size_t start = pos_;
    bool negative = false;
    if (s_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    if (pos_ < s_.size() && s_[pos_] == '$') {
      ++pos_;
      const size_t digits = pos_;
      while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0) ++pos_;
      if (pos_ == digits || pos_ - digits > 16) Fail(line_, "invalid hex number");
      unsigned long long v = 0;
      std::from_chars(s_.data() + digits, s_.data() + pos_, v, 16);  // 16 digits always fit
      t.kind = Token::tInteger;
      // Modulo 2^64: "-$8000000000000000" is the lowest value, not an overflow.
      t.integer = static_cast<std::int64_t>(negative ? 0 - v : v);
      return t;
    }
    bool real = false;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    if (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsDigit(s_[pos_ + 1])) {
      real = true;
      ++pos_;
      while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      size_t p = pos_ + 1;
      if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
      if (p < s_.size() && IsDigit(s_[p])) {
        real = true;
        pos_ = p;
        while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
      }
    }
    const std::string num(s_.substr(start, pos_ - start));
    // Single, currency and date values carry a one-letter type suffix.
    if (pos_ < s_.size() && std::strchr("sScCdD", s_[pos_]) &&
        (pos_ + 1 >= s_.size() || !IsIdentChar(s_[pos_ + 1]))) {
      real = true;
      ++pos_;
    }
    if (pos_ < s_.size() && IsIdentChar(s_[pos_])) Fail(line_, "invalid number '" + num + "'");
    // from_chars, not strtod: the user's locale may use a decimal comma.
    const char* first = num.data();
    const char* last = first + num.size();
    std::from_chars_result r;
    if (real) {
      t.kind = Token::tReal;
      r = std::from_chars(first, last, t.real);
    } else {
      t.kind = Token::tInteger;
      r = std::from_chars(first, last, t.integer);
    }
    if (r.ec == std::errc::result_out_of_range) Fail(line_, "number out of range: " + num);
    if (r.ec != std::errc() || r.ptr != last) Fail(line_, "invalid number '" + num + "'");
    return t;
  }

  Token ReadString(Token& t) {
    t.kind = Token::tString;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n') Fail(t.line, "string is not closed");
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              t.text.push_back('\'');
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          t.text.push_back(s_[pos_++]);
        }
      } else if (c == '#') {
        ++pos_;
        long code = -1;
        if (pos_ < s_.size() && s_[pos_] == '$') {
          ++pos_;
          const size_t digits = pos_;
          while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0 && pos_ - digits < 8) ++pos_;
          if (pos_ > digits) std::from_chars(s_.data() + digits, s_.data() + pos_, code, 16);
        } else {
          const size_t digits = pos_;
          while (pos_ < s_.size() && IsDigit(s_[pos_]) && pos_ - digits < 8) ++pos_;
          if (pos_ > digits) std::from_chars(s_.data() + digits, s_.data() + pos_, code, 10);
        }
        if (code < 0) Fail(line_, "invalid character code");
        if (code > 255) Fail(line_, "character code " + std::to_string(code) + " out of range");
        t.text.push_back(static_cast<char>(code));
      } else {
        break;
      }
    }
    return t;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
  Token next_;
  bool peeked_ = false;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : lex_(text) {}

  TLayoutObject Root() {
    TLayoutObject root = Object(0);
    if (lex_.Peek().kind != Token::tEnd) Fail(lex_.Line(), "text after the last 'end'");
    return root;
  }

 private:
  static bool IsObjectWord(const Token& t) {
    return t.kind == Token::tIdent &&
           (Same(t.text, "object") || Same(t.text, "inherited") || Same(t.text, "inline"));
  }

  std::string Ident(const char* what) {
    Token t = lex_.Take();
    if (t.kind != Token::tIdent) Fail(t.line, std::string("expected ") + what);
    return t.text;
  }

  void Expect(const char* symbol) {
    Token t = lex_.Take();
    if (t.kind != Token::tSymbol || t.text != symbol) {
      Fail(t.line, std::string("expected '") + symbol + "'" +
                       (t.kind == Token::tEnd ? " before the end of the text" : ""));
    }
  }

  bool PeekSymbol(const char* symbol) {
    const Token& t = lex_.Peek();
    return t.kind == Token::tSymbol && t.text == symbol;
  }

  void SkipIndex() {
    if (!PeekSymbol("[")) return;
    lex_.Take();
    if (lex_.Take().kind != Token::tInteger) Fail(lex_.Line(), "expected an index");
    Expect("]");
  }

  TLayoutObject Object(int depth) {
    if (depth > kMaxDepth) Fail(lex_.Line(), "objects nested too deeply");
    Token head = lex_.Take();
    if (!IsObjectWord(head)) Fail(head.line, "expected 'object'");
    TLayoutObject obj;
    obj.Line = head.line;
    obj.Inherited = !Same(head.text, "object");
    const std::string first = Ident("a name or class");
    if (PeekSymbol(":")) {
      lex_.Take();
      obj.Name = first;
      obj.ClassName = Ident("a class name");
    } else {
      obj.ClassName = first;
    }
    SkipIndex();
    for (;;) {
      const Token& t = lex_.Peek();
      if (t.kind == Token::tEnd) Fail(obj.Line, "object " + obj.Name + " has no 'end'");
      if (t.kind == Token::tIdent && Same(t.text, "end")) {
        lex_.Take();
        return obj;
      }
      if (IsObjectWord(t)) {
        obj.Children.push_back(Object(depth + 1));
      } else {
        obj.Properties.push_back(Prop(depth));
      }
    }
  }

  TLayoutProperty Prop(int depth) {
    TLayoutProperty p;
    p.Line = lex_.Line();
    p.Name = Ident("a property name");
    Expect("=");
    p.Value = Value(depth + 1);
    return p;
  }

  TLayoutValue Value(int depth) {
    if (depth > kMaxDepth) Fail(lex_.Line(), "values nested too deeply");
    Token t = lex_.Take();
    TLayoutValue v;
    v.Line = t.line;
    switch (t.kind) {
      case Token::tInteger:
        v.ValueKind = TLayoutValue::vkInteger;
        v.Integer = t.integer;
        return v;
      case Token::tReal:
        v.ValueKind = TLayoutValue::vkReal;
        v.Real = t.real;
        return v;
      case Token::tString:
        v.ValueKind = TLayoutValue::vkString;
        v.Text = t.text;
        while (PeekSymbol("+")) {
          lex_.Take();
          Token part = lex_.Take();
          if (part.kind != Token::tString) Fail(part.line, "expected a string after '+'");
          v.Text += part.text;
        }
        return v;
      case Token::tIdent:
        v.ValueKind = TLayoutValue::vkIdent;
        v.Text = t.text;
        return v;
      case Token::tEnd:
        Fail(t.line, "expected a value before the end of the text");
      case Token::tSymbol:
        break;
    }
    if (t.text == "[") {
      v.ValueKind = TLayoutValue::vkSet;
      if (PeekSymbol("]")) {
        lex_.Take();
        return v;
      }
      for (;;) {
        Token e = lex_.Take();
        if (e.kind == Token::tIdent) {
          v.Set.push_back(e.text);
        } else if (e.kind == Token::tInteger) {
          v.Set.push_back(std::to_string(e.integer));
        } else {
          Fail(e.line, "expected a set element");
        }
        Token sep = lex_.Take();
        if (sep.kind == Token::tSymbol && sep.text == "]") return v;
        if (sep.kind != Token::tSymbol || sep.text != ",") Fail(sep.line, "expected ',' or ']'");
      }
    }
    if (t.text == "(") {
      v.ValueKind = TLayoutValue::vkList;
      while (!PeekSymbol(")")) {
        if (lex_.Peek().kind == Token::tEnd) Fail(t.line, "list is not closed");
        v.List.push_back(Value(depth + 1));
      }
      lex_.Take();
      return v;
    }
    if (t.text == "{") {
      v.ValueKind = TLayoutValue::vkBinary;
      v.Text = lex_.ReadBinary(t.line);
      return v;
    }
    if (t.text == "<") {
      v.ValueKind = TLayoutValue::vkCollection;
      while (!PeekSymbol(">")) {
        Token item = lex_.Take();
        if (item.kind != Token::tIdent || !Same(item.text, "item")) {
          Fail(item.line, "expected 'item' or '>'");
        }
        TLayoutItem it;
        it.Line = item.line;
        SkipIndex();
        for (;;) {
          const Token& n = lex_.Peek();
          if (n.kind == Token::tEnd) Fail(it.Line, "item has no 'end'");
          if (n.kind == Token::tIdent && Same(n.text, "end")) {
            lex_.Take();
            break;
          }
          it.Properties.push_back(Prop(depth + 1));
        }
        v.Items.push_back(std::move(it));
      }
      lex_.Take();
      return v;
    }
    Fail(t.line, "unexpected '" + t.text + "'");
  }

  Lexer lex_;
};

const char* KindName(TLayoutValue::Kind k) {
  switch (k) {
    case TLayoutValue::vkInteger:
      return "an integer";
    case TLayoutValue::vkReal:
      return "a real number";
    case TLayoutValue::vkString:
      return "a string";
    case TLayoutValue::vkIdent:
      return "an identifier";
    case TLayoutValue::vkSet:
      return "a set";
    case TLayoutValue::vkList:
      return "a list";
    case TLayoutValue::vkBinary:
      return "binary data";
    case TLayoutValue::vkCollection:
      return "a collection";
  }
  return "a value";
}

void Require(const TLayoutValue& v, TLayoutValue::Kind k) {
  if (v.ValueKind != k) {
    Fail(v.Line, std::string("expected ") + KindName(k) + ", found " + KindName(v.ValueKind));
  }
}

}  // namespace

TLayoutObject ParseLayout(std::string_view text) {
  return Parser(text).Root();
}

int TLayoutValue::AsInteger() const {
  Require(*this, vkInteger);
  if (Integer < std::numeric_limits<std::int32_t>::min() ||
      Integer > std::numeric_limits<std::uint32_t>::max()) {
    Fail(Line, "integer out of range: " + std::to_string(Integer));
  }
  // Values from 2^31 to 2^32-1 are 32-bit patterns (colours, shortcuts).
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(Integer));
}

double TLayoutValue::AsReal() const {
  if (ValueKind == vkInteger) return static_cast<double>(Integer);
  Require(*this, vkReal);
  return Real;
}

const std::string& TLayoutValue::AsString() const {
  Require(*this, vkString);
  return Text;
}

const std::string& TLayoutValue::AsIdent() const {
  Require(*this, vkIdent);
  return Text;
}

bool TLayoutValue::AsBoolean() const {
  Require(*this, vkIdent);
  if (Same(Text, "True")) return true;
  if (Same(Text, "False")) return false;
  Fail(Line, "expected True or False, found " + Text);
}

TColor TLayoutValue::AsColor() const {
  if (ValueKind == vkInteger) return AsInteger();
  Require(*this, vkIdent);
  TColor c;
  if (!IdentToColor(Text, c)) Fail(Line, "unknown colour " + Text);
  return c;
}

const std::string& TLayoutValue::AsBinary() const {
  Require(*this, vkBinary);
  return Text;
}

const std::vector<std::string>& TLayoutValue::AsSet() const {
  Require(*this, vkSet);
  return Set;
}

const std::vector<TLayoutValue>& TLayoutValue::AsList() const {
  Require(*this, vkList);
  return List;
}

const std::vector<TLayoutItem>& TLayoutValue::AsCollection() const {
  Require(*this, vkCollection);
  return Items;
}

int TLayoutValue::AsEnum(const std::vector<std::string>& names) const {
  Require(*this, vkIdent);
  for (size_t i = 0; i < names.size(); ++i) {
    if (Same(Text, names[i].c_str())) return static_cast<int>(i);
  }
  Fail(Line, "invalid value " + Text);
}

std::uint32_t TLayoutValue::AsSetBits(const std::vector<std::string>& names) const {
  Require(*this, vkSet);
  std::uint32_t bits = 0;
  for (const std::string& e : Set) {
    size_t i = 0;
    while (i < names.size() && !Same(e, names[i].c_str())) ++i;
    if (i == names.size()) Fail(Line, "invalid set element " + e);
    bits |= 1u << i;
  }
  return bits;
}

}  // namespace platform
