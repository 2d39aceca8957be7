#include "vcl/FormText.h"

#include "vcl/System.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// UTF-8 to code points; malformed bytes become U+FFFD, so any input can be lexed.
std::u32string DecodeUtf8(std::string_view s) {
  if (s.size() >= 3 && static_cast<uint8_t>(s[0]) == 0xEF && static_cast<uint8_t>(s[1]) == 0xBB &&
      static_cast<uint8_t>(s[2]) == 0xBF)
    s.remove_prefix(3);
  std::u32string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<uint8_t>(s[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      auto c = static_cast<uint8_t>(s[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

// The code points of a wide string (surrogate pairs joined where wchar_t is 16 bits).
std::u32string CodePoints(const std::wstring& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = static_cast<char32_t>(s[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) {
        char32_t d = static_cast<char32_t>(s[i + 1]);
        if (d >= 0xDC00 && d <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
          ++i;
        }
      }
    }
    out.push_back(c);
  }
  return out;
}

std::string Utf8(const std::wstring& s) { return StringToUtf8(s); }

bool IsIdentStart(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char32_t c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
int HexValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  return -1;
}

enum class Tok { End, Ident, Integer, Float, String, Binary, Symbol };

struct Token {
  Tok Kind = Tok::End;
  int Line = 1;
  char32_t Symbol = 0;
  std::wstring Text;
  int64_t Integer = 0;
  double Float = 0;
  std::vector<uint8_t> Bytes;
};

class Lexer {
 public:
  Lexer(std::string_view text, const std::wstring& resource) : FText(DecodeUtf8(text)), FResource(resource) {}

  [[noreturn]] void Fail(int line, const std::wstring& message) const { throw EFormReadError(FResource, line, message); }

  Token Next() {
    SkipBlanks();
    Token t;
    t.Line = FLine;
    if (FPos >= FText.size()) return t;
    char32_t c = FText[FPos];
    if (IsIdentStart(c)) {
      // Dotted names ("Font.Style", "Form1.Images") are one identifier.
      while (FPos < FText.size() && (IsIdentChar(FText[FPos]) || FText[FPos] == '.')) {
        if (FText[FPos] == '.' && (FPos + 1 >= FText.size() || !IsIdentStart(FText[FPos + 1])))
          Fail(FLine, L"Identifier expected after '.'");
        t.Text.push_back(static_cast<wchar_t>(FText[FPos++]));
      }
      t.Kind = Tok::Ident;
      return t;
    }
    if (IsDigit(c) || c == '$' || (c == '-' && FPos + 1 < FText.size() && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$')))
      return Number(t);
    if (c == '\'' || c == '#') return String(t);
    if (c == '{') return Binary(t);
    static const std::u32string symbols = U"=:[](),<>+";
    if (symbols.find(c) != std::u32string::npos) {
      ++FPos;
      t.Kind = Tok::Symbol;
      t.Symbol = c;
      return t;
    }
    Fail(FLine, L"Unexpected character" + Describe(c));
  }

 private:
  static std::wstring Describe(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return std::wstring(L" '") + static_cast<wchar_t>(c) + L"'";
    return L" #" + std::to_wstring(static_cast<uint32_t>(c));
  }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char32_t c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == 0xFEFF) {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  Token& Number(Token& t) {
    bool negative = false;
    if (FText[FPos] == '-') {
      negative = true;
      ++FPos;
    }
    if (FText[FPos] == '$') {
      ++FPos;
      uint64_t v = 0;
      int digits = 0;
      while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) {
        if (++digits > 16) Fail(t.Line, L"Number too large");
        v = (v << 4) | static_cast<uint64_t>(HexValue(FText[FPos++]));
      }
      if (digits == 0) Fail(t.Line, L"Hexadecimal digits expected after '$'");
      // Hex values are bit patterns: $FFFFFFFF is 4294967295, $FFFFFFFFFFFFFFFF is -1.
      t.Integer = static_cast<int64_t>(negative ? (~v + 1) : v);
      t.Kind = Tok::Integer;
      return t;
    }
    std::string digits = negative ? "-" : "";
    bool isFloat = false;
    while (FPos < FText.size() && IsDigit(FText[FPos])) digits.push_back(static_cast<char>(FText[FPos++]));
    if (FPos + 1 < FText.size() && FText[FPos] == '.' && IsDigit(FText[FPos + 1])) {
      isFloat = true;
      digits.push_back(static_cast<char>(FText[FPos++]));
      while (FPos < FText.size() && IsDigit(FText[FPos])) digits.push_back(static_cast<char>(FText[FPos++]));
    }
    if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
      size_t save = FPos;
      std::string exp = "e";
      ++FPos;
      if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) exp.push_back(static_cast<char>(FText[FPos++]));
      if (FPos < FText.size() && IsDigit(FText[FPos])) {
        isFloat = true;
        while (FPos < FText.size() && IsDigit(FText[FPos])) exp.push_back(static_cast<char>(FText[FPos++]));
        digits += exp;
      } else {
        FPos = save;
      }
    }
    if (FPos < FText.size() && IsIdentChar(FText[FPos])) Fail(t.Line, L"Invalid number");
    if (isFloat) {
      t.Float = std::strtod(digits.c_str(), nullptr);
      if (!std::isfinite(t.Float)) Fail(t.Line, L"Number too large");
      t.Kind = Tok::Float;
      return t;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(digits.c_str(), &end, 10);
    if (errno == ERANGE) Fail(t.Line, L"Number too large");
    t.Integer = v;
    t.Kind = Tok::Integer;
    return t;
  }

  Token& String(Token& t) {
    t.Kind = Tok::String;
    while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
      if (FText[FPos] == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
            Fail(t.Line, L"Unterminated string");
          char32_t c = FText[FPos++];
          if (c == '\'') {
            if (FPos < FText.size() && FText[FPos] == '\'') {
              ++FPos;
              t.Text.push_back(L'\'');
              continue;
            }
            break;
          }
          AppendCodePoint(t.Text, c);
        }
      } else {
        ++FPos;
        uint64_t code = 0;
        int digits = 0;
        bool hex = FPos < FText.size() && FText[FPos] == '$';
        if (hex) ++FPos;
        while (FPos < FText.size() && (hex ? HexValue(FText[FPos]) >= 0 : IsDigit(FText[FPos]))) {
          code = code * (hex ? 16 : 10) + static_cast<uint64_t>(hex ? HexValue(FText[FPos]) : FText[FPos] - '0');
          ++FPos;
          if (++digits > 8) break;
        }
        if (digits == 0) Fail(t.Line, L"Character code expected after '#'");
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) Fail(t.Line, L"Invalid character code");
        AppendCodePoint(t.Text, static_cast<char32_t>(code));
      }
    }
    return t;
  }

  Token& Binary(Token& t) {
    ++FPos;
    int pending = -1;
    for (;;) {
      if (FPos >= FText.size()) Fail(t.Line, L"Unterminated binary data");
      char32_t c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      int h = HexValue(c);
      if (h < 0) Fail(FLine, L"Invalid binary data");
      if (pending < 0) {
        pending = h;
      } else {
        t.Bytes.push_back(static_cast<uint8_t>(pending * 16 + h));
        pending = -1;
      }
    }
    if (pending >= 0) Fail(t.Line, L"Odd number of digits in binary data");
    t.Kind = Tok::Binary;
    return t;
  }

  std::u32string FText;
  const std::wstring& FResource;
  size_t FPos = 0;
  int FLine = 1;
};

class Parser {
 public:
  Parser(std::string_view text, const std::wstring& resource) : FLex(text, resource) { Advance(); }

  TFormObject ParseRoot() {
    if (!IsObjectKeyword()) Fail(L"'object' expected");
    TFormObject root = Object(0);
    if (FTok.Kind != Tok::End) Fail(L"Text after the end of the form");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::wstring& message) const { FLex.Fail(FTok.Line, message); }

  void Advance() { FTok = FLex.Next(); }
  bool IsSymbol(char32_t c) const { return FTok.Kind == Tok::Symbol && FTok.Symbol == c; }
  bool IsKeyword(const wchar_t* k) const { return FTok.Kind == Tok::Ident && SameIdent(FTok.Text, k); }
  bool IsObjectKeyword() const { return IsKeyword(L"object") || IsKeyword(L"inherited") || IsKeyword(L"inline"); }
  void Expect(char32_t c) {
    if (!IsSymbol(c)) Fail(std::wstring(L"'") + static_cast<wchar_t>(c) + L"' expected");
    Advance();
  }
  std::wstring ExpectIdent(const wchar_t* what) {
    if (FTok.Kind != Tok::Ident) Fail(std::wstring(what) + L" expected");
    std::wstring s = FTok.Text;
    Advance();
    return s;
  }
  static bool IsPlainIdent(const std::wstring& s) { return s.find(L'.') == std::wstring::npos; }

  TFormObject Object(int depth) {
    if (depth > MaxFormNesting) Fail(L"Objects nested too deeply");
    TFormObject obj;
    obj.Line = FTok.Line;
    Advance();  // object
    std::wstring first = ExpectIdent(L"Component name");
    if (IsSymbol(':')) {
      Advance();
      obj.Name = first;
      obj.ClassName = ExpectIdent(L"Class name");
    } else {
      obj.ClassName = first;
    }
    if (!IsPlainIdent(obj.Name) || !IsPlainIdent(obj.ClassName)) FLex.Fail(obj.Line, L"Invalid component or class name");
    for (;;) {
      if (IsKeyword(L"end")) {
        Advance();
        return obj;
      }
      if (IsObjectKeyword()) {
        obj.Children.push_back(Object(depth + 1));
        continue;
      }
      if (!obj.Children.empty() && FTok.Kind == Tok::Ident) Fail(L"Properties must come before the child objects");
      if (FTok.Kind == Tok::End) Fail(L"'end' expected");
      obj.Properties.push_back(Property(depth));
    }
  }

  TFormProperty Property(int depth) {
    TFormProperty p;
    p.Line = FTok.Line;
    p.Name = ExpectIdent(L"Property name");
    Expect('=');
    p.Value = Value(depth + 1);
    return p;
  }

  TFormValue Value(int depth) {
    if (depth > MaxFormNesting) Fail(L"Values nested too deeply");
    TFormValue v;
    v.Line = FTok.Line;
    switch (FTok.Kind) {
      case Tok::Integer:
        v.Kind = TFormValueKind::Integer;
        v.Integer = FTok.Integer;
        Advance();
        return v;
      case Tok::Float:
        v.Kind = TFormValueKind::Float;
        v.Float = FTok.Float;
        Advance();
        return v;
      case Tok::String:
        v.Kind = TFormValueKind::String;
        v.Text = FTok.Text;
        Advance();
        while (IsSymbol('+')) {
          Advance();
          if (FTok.Kind != Tok::String) Fail(L"String expected after '+'");
          v.Text += FTok.Text;
          Advance();
        }
        return v;
      case Tok::Ident:
        // A forgotten value must not swallow the end of the object.
        if (IsKeyword(L"end")) Fail(L"Property value expected");
        v.Kind = TFormValueKind::Ident;
        v.Text = FTok.Text;
        Advance();
        return v;
      case Tok::Binary:
        v.Kind = TFormValueKind::Binary;
        v.Bytes = std::move(FTok.Bytes);
        Advance();
        return v;
      case Tok::Symbol:
        break;
      case Tok::End:
        Fail(L"Property value expected");
    }
    if (IsSymbol('[')) {
      v.Kind = TFormValueKind::Set;
      Advance();
      if (!IsSymbol(']')) {
        for (;;) {
          std::wstring name = ExpectIdent(L"Set element");
          if (!IsPlainIdent(name)) Fail(L"Invalid set element");
          v.Names.push_back(std::move(name));
          if (IsSymbol(']')) break;
          Expect(',');
        }
      }
      Advance();
      return v;
    }
    if (IsSymbol('(')) {
      v.Kind = TFormValueKind::List;
      Advance();
      while (!IsSymbol(')')) {
        if (FTok.Kind == Tok::End || IsKeyword(L"end")) Fail(L"')' expected");
        v.List.push_back(Value(depth + 1));
      }
      Advance();
      return v;
    }
    if (IsSymbol('<')) {
      v.Kind = TFormValueKind::Collection;
      Advance();
      while (!IsSymbol('>')) {
        if (!IsKeyword(L"item")) Fail(L"'item' or '>' expected");
        TFormItem item;
        item.Line = FTok.Line;
        Advance();
        while (!IsKeyword(L"end")) {
          if (FTok.Kind == Tok::End) Fail(L"'end' expected");
          item.Properties.push_back(Property(depth + 1));
        }
        Advance();
        v.Items.push_back(std::move(item));
      }
      Advance();
      return v;
    }
    Fail(L"Property value expected");
  }

  Lexer FLex;
  Token FTok;
};

// ---------------------------------------------------------------------------------------
class Printer {
 public:
  std::string Out;

  void Object(const TFormObject& o, int level) {
    Indent(level);
    Out += "object ";
    if (!o.Name.empty()) Out += Utf8(o.Name) + ": ";
    Out += Utf8(o.ClassName) + "\n";
    for (const auto& p : o.Properties) Property(p, level + 1);
    for (const auto& c : o.Children) Object(c, level + 1);
    Indent(level);
    Out += "end\n";
  }

 private:
  void Indent(int level) { Out.append(static_cast<size_t>(level) * 2, ' '); }

  void Property(const TFormProperty& p, int level) {
    Indent(level);
    Out += Utf8(p.Name) + " = ";
    Value(p.Value, level);
    Out += "\n";
  }

  void Value(const TFormValue& v, int level) {
    switch (v.Kind) {
      case TFormValueKind::Integer:
        Out += std::to_string(v.Integer);
        break;
      case TFormValueKind::Float: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v.Float);
        std::string s = buf;
        if (s.find_first_of(".e") == std::string::npos) s += ".0";
        Out += s;
        break;
      }
      case TFormValueKind::String:
        String(v.Text);
        break;
      case TFormValueKind::Ident:
        Out += Utf8(v.Text);
        break;
      case TFormValueKind::Set:
        Out += "[";
        for (size_t i = 0; i < v.Names.size(); ++i) Out += (i ? ", " : "") + Utf8(v.Names[i]);
        Out += "]";
        break;
      case TFormValueKind::List:
        Out += "(";
        for (const auto& item : v.List) {
          Out += "\n";
          Indent(level + 1);
          Value(item, level + 1);
        }
        Out += ")";
        break;
      case TFormValueKind::Collection:
        Out += "<";
        for (const auto& item : v.Items) {
          Out += "\n";
          Indent(level + 1);
          Out += "item\n";
          for (const auto& p : item.Properties) Property(p, level + 2);
          Indent(level + 1);
          Out += "end";
        }
        Out += ">";
        break;
      case TFormValueKind::Binary: {
        static const char hex[] = "0123456789ABCDEF";
        Out += "{";
        for (size_t i = 0; i < v.Bytes.size(); ++i) {
          if (i % 32 == 0 && v.Bytes.size() > 32) {
            Out += "\n";
            Indent(level + 1);
          }
          Out.push_back(hex[v.Bytes[i] >> 4]);
          Out.push_back(hex[v.Bytes[i] & 15]);
        }
        Out += "}";
        break;
      }
    }
  }

  // Printable text between quotes (UTF-8 kept readable), control characters as #nn.
  void String(const std::wstring& s) {
    std::u32string cps = CodePoints(s);
    if (cps.empty()) {
      Out += "''";
      return;
    }
    bool quoted = false;
    for (char32_t c : cps) {
      bool plain = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF);
      if (plain) {
        if (!quoted) Out += "'";
        quoted = true;
        if (c == '\'') Out += "''";
        else AppendUtf8(Out, c);
      } else {
        if (quoted) Out += "'";
        quoted = false;
        Out += '#';
        Out += std::to_string(static_cast<uint32_t>(c));
      }
    }
    if (quoted) Out += "'";
  }
};

}  // namespace

EFormReadError::EFormReadError(const std::wstring& resource, int line, const std::wstring& text)
    : EReadError(L"Form resource " + resource + L", line " + std::to_wstring(line) + L": " + text),
      FResource(resource),
      FLine(line),
      FText(text) {}

bool TFormItem::operator==(const TFormItem& o) const { return Properties == o.Properties; }
bool TFormProperty::operator==(const TFormProperty& o) const { return Name == o.Name && Value == o.Value; }
bool TFormObject::operator==(const TFormObject& o) const {
  return Name == o.Name && ClassName == o.ClassName && Properties == o.Properties && Children == o.Children;
}
bool TFormValue::operator==(const TFormValue& o) const {
  if (Kind != o.Kind) return false;
  switch (Kind) {
    case TFormValueKind::Integer: return Integer == o.Integer;
    case TFormValueKind::Float: return Float == o.Float;
    case TFormValueKind::String:
    case TFormValueKind::Ident: return Text == o.Text;
    case TFormValueKind::Set: return Names == o.Names;
    case TFormValueKind::List: return List == o.List;
    case TFormValueKind::Collection: return Items == o.Items;
    case TFormValueKind::Binary: return Bytes == o.Bytes;
  }
  return false;
}

TFormObject ParseFormText(std::string_view text, const std::wstring& resourceName) {
  return Parser(text, resourceName).ParseRoot();
}

std::string PrintFormText(const TFormObject& root) {
  Printer p;
  p.Object(root, 0);
  return p.Out;
}
