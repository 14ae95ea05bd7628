// The lexer: comments, literals, numbers, identifiers, directives and punctuators.
#include "lexico.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <limits>

namespace {

bool esLetra(unsigned char c) {
  // Bytes of UTF-8 sequences count as letters: identifiers may hold any of them.
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

bool esDigito(unsigned char c) { return c >= '0' && c <= '9'; }

bool esBlanco(unsigned char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool esFinDeLinea(unsigned char c) { return c == '\n' || c == '\r'; }

constexpr std::string_view kPalabrasClave[] = {
    "alignas",       "alignof",     "asm",       "auto",      "bool",         "break",
    "case",          "catch",       "char",      "char16_t",  "char32_t",     "char8_t",
    "class",         "co_await",    "co_return", "co_yield",  "concept",      "const",
    "const_cast",    "consteval",   "constexpr", "constinit", "continue",     "decltype",
    "default",       "delete",      "do",        "double",    "dynamic_cast", "else",
    "enum",          "explicit",    "export",    "extern",    "false",        "float",
    "for",           "friend",      "goto",      "if",        "inline",       "int",
    "long",          "mutable",     "namespace", "new",       "noexcept",     "nullptr",
    "operator",      "private",     "protected", "public",    "register",     "reinterpret_cast",
    "requires",      "return",      "short",     "signed",    "sizeof",       "static",
    "static_assert", "static_cast", "struct",    "switch",    "template",     "this",
    "thread_local",  "throw",       "true",      "try",       "typedef",      "typeid",
    "typename",      "union",       "unsigned",  "using",     "virtual",      "void",
    "volatile",      "wchar_t",     "while",
};

struct Puntuacion {
  std::string_view escrito, forma;
};

// Longest first, so that the first match is the longest one.
constexpr Puntuacion kPuntuaciones[] = {
    {"%:%:", "##"}, {"<<=", "<<="}, {">>=", ">>="}, {"->*", "->*"}, {"...", "..."}, {"<=>", "<=>"},
    {"::", "::"},   {"->", "->"},   {".*", ".*"},   {"++", "++"},   {"--", "--"},   {"<<", "<<"},
    {">>", ">>"},   {"<=", "<="},   {">=", ">="},   {"==", "=="},   {"!=", "!="},   {"&&", "&&"},
    {"||", "||"},   {"+=", "+="},   {"-=", "-="},   {"*=", "*="},   {"/=", "/="},   {"%=", "%="},
    {"&=", "&="},   {"|=", "|="},   {"^=", "^="},   {"##", "##"},   {"<:", "["},    {":>", "]"},
    {"<%", "{"},    {"%>", "}"},    {"%:", "#"},    {"{", "{"},     {"}", "}"},     {"[", "["},
    {"]", "]"},     {"(", "("},     {")", ")"},     {";", ";"},     {":", ":"},     {"?", "?"},
    {".", "."},     {"~", "~"},     {"!", "!"},     {"+", "+"},     {"-", "-"},     {"*", "*"},
    {"/", "/"},     {"%", "%"},     {"^", "^"},     {"&", "&"},     {"|", "|"},     {"=", "="},
    {"<", "<"},     {">", ">"},     {",", ","},     {"#", "#"},
};

class Lector {
 public:
  Lector(std::string_view texto, std::vector<Lexema>& salida) : t_(texto), salida_(salida) {
    salida_.clear();
  }

  void lee() {
    if (t_.substr(0, 3) == "\xEF\xBB\xBF") i_ = 3;  // the byte order mark some editors write
    bool inicioDeLinea = true;
    while (i_ < t_.size()) {
      const unsigned char c = t_[i_];
      if (esFinDeLinea(c)) {
        saltaFinDeLinea();
        inicioDeLinea = true;
      } else if (esBlanco(c)) {
        ++i_;
      } else if (continuacion()) {
      } else if (c == '/' && siguiente() == '/') {
        saltaComentarioDeLinea();
      } else if (c == '/' && siguiente() == '*') {
        saltaComentarioDeBloque();
      } else if (inicioDeLinea && (c == '#' || (c == '%' && siguiente() == ':'))) {
        saltaDirectiva();
      } else {
        inicioDeLinea = false;
        lexema();
      }
    }
  }

 private:
  unsigned char siguiente(std::size_t n = 1) const {
    return i_ + n < t_.size() ? static_cast<unsigned char>(t_[i_ + n]) : 0;
  }

  void saltaFinDeLinea() {
    if (t_[i_] == '\r' && siguiente() == '\n') ++i_;
    ++i_;
    if (linea_ < std::numeric_limits<std::uint32_t>::max()) ++linea_;
  }

  // A backslash that ends a line joins it to the next one.
  bool continuacion() {
    if (t_[i_] != '\\' || !esFinDeLinea(siguiente())) return false;
    ++i_;
    saltaFinDeLinea();
    return true;
  }

  void saltaComentarioDeLinea() {
    while (i_ < t_.size() && !esFinDeLinea(t_[i_])) {
      if (!continuacion()) ++i_;
    }
  }

  void saltaComentarioDeBloque() {
    i_ += 2;
    while (i_ < t_.size() && !(t_[i_] == '*' && siguiente() == '/')) {
      if (esFinDeLinea(t_[i_])) {
        saltaFinDeLinea();
      } else {
        ++i_;
      }
    }
    i_ = i_ < t_.size() ? i_ + 2 : i_;
  }

  // A quoted text that ends at its quote or, unterminated, before the end of its line.
  void saltaEntreComillas(char comilla) {
    ++i_;
    while (i_ < t_.size() && !esFinDeLinea(t_[i_])) {
      if (continuacion()) continue;
      const char c = t_[i_];
      if (c == '\\' && i_ + 1 < t_.size() && !esFinDeLinea(t_[i_ + 1])) {
        i_ += 2;
      } else {
        ++i_;
        if (c == comilla) return;
      }
    }
  }

  void saltaDirectiva() {
    while (i_ < t_.size() && !esFinDeLinea(t_[i_])) {
      if (continuacion()) continue;
      const char c = t_[i_];
      if (c == '/' && siguiente() == '*') {
        saltaComentarioDeBloque();
      } else if (c == '/' && siguiente() == '/') {
        saltaComentarioDeLinea();
      } else if (c == '"' || c == '\'') {
        saltaEntreComillas(c);
      } else {
        ++i_;
      }
    }
  }

  void emite(ClaseLexica clase, std::size_t desde, std::uint32_t linea) {
    salida_.push_back({clase, false, t_.substr(desde, i_ - desde), linea});
  }

  // R"delim( ... )delim": false, and nothing consumed, when the delimiter is not valid.
  bool cadenaCruda(std::size_t comilla) {
    std::size_t j = comilla + 1;
    while (j < t_.size() && t_[j] != '(') {
      const char c = t_[j];
      if (j - comilla > 16 || c == ')' || c == '\\' || c == '"' || esBlanco(c) || esFinDeLinea(c)) {
        return false;
      }
      ++j;
    }
    if (j >= t_.size()) return false;
    const std::string_view delimitador = t_.substr(comilla + 1, j - comilla - 1);
    i_ = j + 1;
    while (i_ < t_.size()) {
      if (t_[i_] == ')' && t_.substr(i_ + 1, delimitador.size()) == delimitador &&
          i_ + 1 + delimitador.size() < t_.size() && t_[i_ + 1 + delimitador.size()] == '"') {
        i_ += delimitador.size() + 2;
        return true;
      }
      if (esFinDeLinea(t_[i_])) {
        saltaFinDeLinea();
      } else {
        ++i_;
      }
    }
    return true;
  }

  // Identifiers, and the prefixes that make them literals: u8"", L'', R"()", LR"()".
  void identificador(std::size_t desde, std::uint32_t linea) {
    while (i_ < t_.size() && (esLetra(t_[i_]) || esDigito(t_[i_]))) ++i_;
    const std::string_view nombre = t_.substr(desde, i_ - desde);
    const char tras = i_ < t_.size() ? t_[i_] : 0;
    const bool prefijo = nombre == "u8" || nombre == "u" || nombre == "U" || nombre == "L";
    const bool crudo =
        nombre == "R" || nombre == "u8R" || nombre == "uR" || nombre == "UR" || nombre == "LR";
    if (tras == '"' && crudo && cadenaCruda(i_)) {
      emite(ClaseLexica::cadena, desde, linea);
    } else if ((tras == '"' && (prefijo || crudo)) || (tras == '\'' && prefijo)) {
      saltaEntreComillas(tras);
      emite(tras == '"' ? ClaseLexica::cadena : ClaseLexica::caracter, desde, linea);
    } else {
      emite(ClaseLexica::identificador, desde, linea);
      salida_.back().clave = esPalabraClave(nombre);
    }
  }

  // A preprocessing number: digits, letters, dots, digit separators and signed exponents.
  void numero(std::size_t desde, std::uint32_t linea) {
    ++i_;
    while (i_ < t_.size()) {
      const unsigned char c = t_[i_];
      const unsigned char antes = t_[i_ - 1];
      if (esLetra(c) || esDigito(c) || c == '.') {
        ++i_;
      } else if (c == '\'' && (esLetra(siguiente()) || esDigito(siguiente()))) {
        i_ += 2;
      } else if ((c == '+' || c == '-') &&
                 (antes == 'e' || antes == 'E' || antes == 'p' || antes == 'P')) {
        ++i_;
      } else {
        break;
      }
    }
    emite(ClaseLexica::numero, desde, linea);
  }

  void puntuacion(std::uint32_t linea) {
    const std::string_view resto = t_.substr(i_, 4);
    // "<::" is "<" and "::" unless the colons start ":>" or "::".
    if (resto.substr(0, 3) == "<::" && resto.substr(3) != ":" && resto.substr(3) != ">") {
      salida_.push_back({ClaseLexica::puntuacion, false, t_.substr(i_, 1), linea});
      ++i_;
      return;
    }
    for (const Puntuacion& p : kPuntuaciones) {
      if (p.escrito[0] == resto[0] && resto.substr(0, p.escrito.size()) == p.escrito) {
        salida_.push_back({ClaseLexica::puntuacion, false, p.forma, linea});
        i_ += p.escrito.size();
        return;
      }
    }
    ++i_;
    emite(ClaseLexica::otro, i_ - 1, linea);
  }

  void lexema() {
    const std::size_t desde = i_;
    const std::uint32_t linea = linea_;
    const unsigned char c = t_[i_];
    if (esLetra(c)) {
      identificador(desde, linea);
    } else if (esDigito(c) || (c == '.' && esDigito(siguiente()))) {
      numero(desde, linea);
    } else if (c == '"' || c == '\'') {
      saltaEntreComillas(c);
      emite(c == '"' ? ClaseLexica::cadena : ClaseLexica::caracter, desde, linea);
    } else {
      puntuacion(linea);
    }
  }

  std::string_view t_;
  std::size_t i_ = 0;
  std::uint32_t linea_ = 1;
  std::vector<Lexema>& salida_;
};

}  // namespace

bool esPalabraClave(std::string_view texto) {
  // Every identifier asks: the keywords that start with its first letter, found at once.
  struct Desde {
    std::uint8_t inicio[27] = {};
    Desde() {
      for (std::size_t i = 0, letra = 0; letra <= 26; ++letra) {
        while (i < std::size(kPalabrasClave) &&
               kPalabrasClave[i][0] - 'a' < static_cast<int>(letra)) {
          ++i;
        }
        inicio[letra] = static_cast<std::uint8_t>(i);
      }
    }
  };
  static const Desde desde;
  if (texto.empty() || texto[0] < 'a' || texto[0] > 'z') return false;
  const int letra = texto[0] - 'a';
  return std::binary_search(std::begin(kPalabrasClave) + desde.inicio[letra],
                            std::begin(kPalabrasClave) + desde.inicio[letra + 1], texto);
}

void lexemasDe(std::string_view texto, std::vector<Lexema>& salida) { Lector(texto, salida).lee(); }

std::vector<Lexema> lexemasDe(std::string_view texto) {
  std::vector<Lexema> salida;
  lexemasDe(texto, salida);
  return salida;
}
