// The normalisation passes over one file's tokens, and the codes the fingerprints hash.
#include "normalizacion.h"

#include <algorithm>
#include <iterator>

namespace {

// The alternative spellings of operators, in their usual form.
struct Alternativa {
  std::string_view palabra, forma;
};
constexpr Alternativa kAlternativas[] = {
    {"and", "&&"},   {"and_eq", "&="}, {"bitand", "&"},  {"bitor", "|"},
    {"compl", "~"},  {"not", "!"},     {"not_eq", "!="}, {"or", "||"},
    {"or_eq", "|="}, {"xor", "^"},     {"xor_eq", "^="},
};

constexpr std::string_view kTipos[] = {"bool",   "char",     "char16_t", "char32_t", "char8_t",
                                       "double", "float",    "int",      "long",     "short",
                                       "signed", "unsigned", "wchar_t"};

constexpr std::string_view kConversiones[] = {"const_cast", "dynamic_cast", "reinterpret_cast",
                                              "static_cast"};

// Keywords after which a parenthesis opens an expression.
constexpr std::string_view kAntesDeExpresion[] = {"case",   "co_await", "co_return", "co_yield",
                                                  "delete", "return",   "throw"};

// How far a pass looks for the end of what it rewrites: more is not code worth rewriting.
constexpr std::size_t kAlcance = 64;

template <std::size_t N>
bool entre(const std::string_view (&lista)[N], std::string_view texto) {
  return std::find(std::begin(lista), std::end(lista), texto) != std::end(lista);
}

bool esTipo(const Lexema& l) { return l.clave && entre(kTipos, l.texto); }

Lexema con(const Lexema& vecino, ClaseLexica clase, std::string_view texto) {
  return {clase, false, texto, vecino.linea};
}

// Whether what comes after `r`'s last token starts an expression: a parenthesis there
// groups or casts, it does not call, declare or belong to a statement.
bool abreExpresion(const std::vector<Lexema>& r) {
  if (r.empty()) return true;
  const Lexema& p = r.back();
  if (p.clase == ClaseLexica::puntuacion) return !es(p, ")") && !es(p, "]") && !es(p, ">");
  return p.clave && entre(kAntesDeExpresion, p.texto);
}

// `std::`, `this->`, `using namespace ...;` and `using std::x;` out; `and` as `&&`.
void limpia(const std::vector<Lexema>& v, std::vector<Lexema>& r) {
  r.clear();
  for (std::size_t i = 0; i < v.size(); ++i) {
    const Lexema& l = v[i];
    if (i + 1 < v.size() &&
        ((es(l, "std") && es(v[i + 1], "::")) || (es(l, "this") && es(v[i + 1], "->")))) {
      ++i;
      continue;
    }
    if (es(l, "using")) {
      std::size_t j = i + 1;
      bool alias = false;
      while (j < v.size() && j - i < kAlcance && !es(v[j], ";") && !es(v[j], "{")) {
        alias = alias || es(v[j], "=");
        ++j;
      }
      if (!alias && j < v.size() && es(v[j], ";")) {
        i = j;
        continue;
      }
    }
    if (l.clase == ClaseLexica::identificador && !l.clave && l.texto.size() <= 6) {
      const auto alternativa =
          std::find_if(std::begin(kAlternativas), std::end(kAlternativas),
                       [&](const Alternativa& a) { return a.palabra == l.texto; });
      if (alternativa != std::end(kAlternativas)) {
        r.push_back(con(l, ClaseLexica::puntuacion, alternativa->forma));
        continue;
      }
    }
    r.push_back(l);
  }
}

// Whether the parenthesised tokens [desde, hasta) name a type: `int`, `unsigned long`,
// `const Enemigo*`, `std::vector<int>&`. `basico` when built-in, `puntero` when it ends in
// `*` or `&`: either way the parenthesis cannot be an expression of its own.
struct TipoEntreParentesis {
  bool tipo = false, basico = false, puntero = false;
};

TipoEntreParentesis tipoEntre(const std::vector<Lexema>& v, std::size_t desde, std::size_t hasta) {
  const auto calificadores = [&](std::size_t j) {
    while (j < hasta && (es(v[j], "const") || es(v[j], "volatile"))) ++j;
    return j;
  };
  TipoEntreParentesis t;
  std::size_t j = calificadores(desde);
  if (j < hasta && esTipo(v[j])) {
    t.basico = true;
    while (j < hasta && esTipo(v[j])) ++j;
  } else if (j < hasta && esNombre(v[j])) {
    ++j;
    while (j + 1 < hasta && es(v[j], "::") && esNombre(v[j + 1])) j += 2;
    if (j < hasta && es(v[j], "<")) {
      int nivel = 0;
      for (; j < hasta; ++j) {
        nivel += es(v[j], "<") ? 1 : es(v[j], ">") ? -1 : es(v[j], ">>") ? -2 : 0;
        if (nivel <= 0) break;
      }
      if (j == hasta || nivel != 0) return {};
      ++j;
    }
  } else {
    return {};
  }
  j = calificadores(j);
  while (j < hasta && (es(v[j], "*") || es(v[j], "&") || es(v[j], "&&") || es(v[j], "const"))) {
    t.puntero = true;
    ++j;
  }
  t.tipo = j == hasta;
  return t;
}

bool empiezaOperando(const Lexema& l, bool unarios) {
  if (l.clase == ClaseLexica::numero || l.clase == ClaseLexica::cadena ||
      l.clase == ClaseLexica::caracter || esNombre(l)) {
    return true;
  }
  if (es(l, "this") || es(l, "true") || es(l, "false") || es(l, "nullptr") || es(l, "sizeof") ||
      es(l, "new") || es(l, "!") || es(l, "~")) {
    return true;
  }
  return unarios && (es(l, "(") || es(l, "-") || es(l, "+") || es(l, "*") || es(l, "&") ||
                     es(l, "++") || es(l, "--"));
}

// Casts out: `static_cast<T>` and the like (their operand stays, in its parentheses),
// C-style `(T)`, and the type of a functional cast `float(x)`.
void quitaConversiones(const std::vector<Lexema>& v, std::vector<Lexema>& r, Taller& t) {
  parejasDe(v, t);
  const std::vector<std::size_t>& par = t.par;
  r.clear();
  for (std::size_t i = 0; i < v.size(); ++i) {
    const Lexema& l = v[i];
    if (l.clave && entre(kConversiones, l.texto) && i + 1 < v.size() && es(v[i + 1], "<")) {
      int nivel = 0;
      std::size_t j = i + 1;
      for (; j < v.size() && j - i < kAlcance; ++j) {
        if (es(v[j], ";") || es(v[j], "{") || es(v[j], "}")) break;
        nivel += es(v[j], "<") ? 1 : es(v[j], ">") ? -1 : es(v[j], ">>") ? -2 : 0;
        if (nivel <= 0) break;
      }
      if (j < v.size() && nivel <= 0 && (es(v[j], ">") || es(v[j], ">>"))) {
        i = j;
        continue;
      }
    }
    if (es(l, "(") && par[i] != kSinPareja && par[i] > i + 1 && par[i] + 1 < v.size() &&
        abreExpresion(r)) {
      const TipoEntreParentesis t = tipoEntre(v, i + 1, par[i]);
      const Lexema& tras = v[par[i] + 1];
      if (t.tipo && empiezaOperando(tras, t.basico || t.puntero)) {
        i = par[i];
        continue;
      }
    }
    if (esTipo(l) && i + 1 < v.size() && es(v[i + 1], "(") && abreExpresion(r)) continue;
    r.push_back(l);
  }
}

constexpr std::string_view kCompuestos[][2] = {
    {"+", "+="}, {"-", "-="}, {"*", "*="}, {"/", "/="},   {"%", "%="},
    {"&", "&="}, {"|", "|="}, {"^", "^="}, {"<<", "<<="}, {">>", ">>="}};

std::string_view compuestoDe(const Lexema& l) {
  if (l.clase != ClaseLexica::puntuacion) return {};
  for (const auto& c : kCompuestos) {
    if (l.texto == c[0]) return c[1];
  }
  return {};
}

// Where the operand that starts at `i` ends: a name, its members and its subscripts.
std::size_t finDeOperando(const std::vector<Lexema>& v, const std::vector<std::size_t>& par,
                          std::size_t i) {
  if (i >= v.size() || !esNombre(v[i])) return i;
  std::size_t j = i + 1;
  while (j < v.size()) {
    if ((es(v[j], ".") || es(v[j], "->") || es(v[j], "::")) && j + 1 < v.size() &&
        esNombre(v[j + 1])) {
      j += 2;
    } else if (es(v[j], "[") && par[j] != kSinPareja) {
      j = par[j] + 1;
    } else {
      break;
    }
  }
  return j;
}

// Where the operand that ends `r` starts, the same way backwards; r.size() when none.
std::size_t inicioDeOperando(const std::vector<Lexema>& r) {
  std::size_t i = r.size();
  while (i > 0 && r.size() - i < kAlcance) {
    if (es(r[i - 1], "]")) {
      int nivel = 0;
      std::size_t j = i;
      while (j > 0 && r.size() - j < kAlcance) {
        --j;
        nivel += es(r[j], "]") ? 1 : es(r[j], "[") ? -1 : 0;
        if (nivel == 0) break;
      }
      if (nivel != 0) return r.size();
      i = j;
    } else if (esNombre(r[i - 1])) {
      --i;
      if (i == 0 || !(es(r[i - 1], ".") || es(r[i - 1], "->") || es(r[i - 1], "::"))) return i;
      --i;
    } else {
      break;
    }
  }
  return i < r.size() && esNombre(r[i]) ? i : r.size();
}

// `i++`, `++i`, `i += 1` and `i = i + 1` all as `i += 1` (and the same with `-`); `x = x * y`
// as `x *= y`.
void unificaIncrementos(const std::vector<Lexema>& v, std::vector<Lexema>& r, Taller& t) {
  parejasDe(v, t);
  const std::vector<std::size_t>& par = t.par;
  r.clear();
  // A prefix ++ or -- becomes `+= 1` or `-= 1` after its operand, when that ends: the count of
  // each waiting before each token, in its low and high four bits.
  std::vector<std::uint8_t>& pendiente = t.marcas;
  pendiente.assign(v.size() + 1, 0);
  const auto pendientes = [&](std::size_t i) {
    if (pendiente[i] == 0) return;
    const Lexema vecino = r.empty() ? v[std::min(i, v.size() - 1)] : r.back();
    for (int k = pendiente[i] & 0xF; k > 0; --k) {
      r.push_back(con(vecino, ClaseLexica::puntuacion, "+="));
      r.push_back(con(vecino, ClaseLexica::numero, "1"));
    }
    for (int k = pendiente[i] >> 4; k > 0; --k) {
      r.push_back(con(vecino, ClaseLexica::puntuacion, "-="));
      r.push_back(con(vecino, ClaseLexica::numero, "1"));
    }
  };
  for (std::size_t i = 0; i < v.size(); ++i) {
    pendientes(i);
    const Lexema& l = v[i];
    if (es(l, "++") || es(l, "--")) {
      const bool sube = es(l, "++");
      // After a name or a subscript it is postfix; not after a parenthesis, which more often
      // closes a condition than an operand.
      if (!r.empty() && (esNombre(r.back()) || es(r.back(), "]"))) {
        r.push_back(con(l, ClaseLexica::puntuacion, sube ? "+=" : "-="));
        r.push_back(con(l, ClaseLexica::numero, "1"));
        continue;
      }
      const std::size_t fin = finDeOperando(v, par, i + 1);
      const int desplazamiento = sube ? 0 : 4;
      if (fin > i + 1 && ((pendiente[fin] >> desplazamiento) & 0xF) < 0xF) {
        pendiente[fin] = static_cast<std::uint8_t>(pendiente[fin] + (1 << desplazamiento));
        continue;
      }
    }
    if (es(l, "=")) {
      const std::size_t x = inicioDeOperando(r);
      const std::size_t largo = r.size() - x;
      bool igual = largo > 0 && i + largo + 2 < v.size();
      for (std::size_t k = 0; igual && k < largo; ++k) igual = v[i + 1 + k].texto == r[x + k].texto;
      const std::string_view compuesto = igual ? compuestoDe(v[i + 1 + largo]) : std::string_view();
      if (!compuesto.empty() && !es(v[i + 2 + largo], ";")) {
        r.push_back(con(l, ClaseLexica::puntuacion, compuesto));
        i += 1 + largo;
        continue;
      }
    }
    r.push_back(l);
  }
  if (!v.empty()) pendientes(v.size());
}

// Parentheses that only group: after an operator, or at the start of what a `return`
// gives back.
void quitaParentesis(const std::vector<Lexema>& v, std::vector<Lexema>& r, Taller& t) {
  parejasDe(v, t);
  const std::vector<std::size_t>& par = t.par;
  std::vector<std::uint8_t>& fuera = t.marcas;
  fuera.assign(v.size(), 0);
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (!es(v[i], "(") || par[i] == kSinPareja) continue;
    const Lexema* antes = i > 0 ? &v[i - 1] : nullptr;
    const bool agrupa = antes == nullptr ||
                        (antes->clase == ClaseLexica::puntuacion && !es(*antes, ")") &&
                         !es(*antes, "]") && !es(*antes, ">")) ||
                        (antes->clave && entre(kAntesDeExpresion, antes->texto));
    if (agrupa) fuera[i] = fuera[par[i]] = 1;
  }
  r.clear();
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (!fuera[i]) r.push_back(v[i]);
  }
}

// FNV-1a: the same codes on every platform and in every run.
std::uint32_t codigoDe(std::string_view texto) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : texto) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

std::uint32_t codigoDe(const Lexema& l) {
  // Texts no token can have, for the classes.
  static const std::uint32_t nombre = codigoDe("#nombre"), numero = codigoDe("#numero"),
                             cadena = codigoDe("#cadena"), caracter = codigoDe("#caracter");
  switch (l.clase) {
    case ClaseLexica::identificador:
      // true and false are values like any other literal's.
      if (l.texto == "true" || l.texto == "false") return numero;
      return l.clave ? codigoDe(l.texto) : nombre;
    case ClaseLexica::numero:
      return numero;
    case ClaseLexica::cadena:
      return cadena;
    case ClaseLexica::caracter:
      return caracter;
    default:
      return codigoDe(l.texto);
  }
}

// Access specifiers out: members move between sections freely.
void quitaAccesos(const std::vector<Lexema>& v, std::vector<Lexema>& r) {
  r.clear();
  for (std::size_t i = 0; i < v.size(); ++i) {
    if ((es(v[i], "public") || es(v[i], "private") || es(v[i], "protected")) && i + 1 < v.size() &&
        es(v[i + 1], ":")) {
      ++i;
      continue;
    }
    r.push_back(v[i]);
  }
}

// The declarations in every class body, its fields and its functions' prototypes, out: they say
// what a design has, the same in every solution of that design, and they move freely. Each
// leaves a token without text on its first line, a line of code that takes no part in runs.
// The bodies of the functions defined in a class stay.
void quitaDeclaraciones(std::vector<Lexema>& v, Taller& t) {
  const auto clase = [](const Lexema& l) {
    return l.clave && (es(l, "class") || es(l, "struct") || es(l, "union"));
  };
  if (std::none_of(v.begin(), v.end(), clase)) return;  // most sources: nothing to do
  parejasDe(v, t);
  const std::vector<std::size_t>& par = t.par;
  std::vector<std::uint8_t>& fuera = t.marcas;
  fuera.assign(v.size(), 0);
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (!clase(v[i])) continue;
    std::size_t desde = v.size(), hasta = 0;  // the body: after `{`, up to `}`
    for (std::size_t j = i + 1; j < v.size() && j - i < kAlcance; ++j) {
      if (es(v[j], "{")) {
        if (par[j] != kSinPareja) desde = j + 1, hasta = par[j];
        break;
      }
      if (es(v[j], ";") || es(v[j], "(") || es(v[j], "=") || es(v[j], ">") || es(v[j], ")")) break;
    }
    for (std::size_t m = desde; m < hasta;) {
      // One member: up to its semicolon, or its body's closing brace.
      std::size_t j = m;
      bool cuerpo = false;
      while (j < hasta) {
        if ((es(v[j], "(") || es(v[j], "[") || es(v[j], "{")) && par[j] != kSinPareja &&
            par[j] < hasta) {
          const bool llave = es(v[j], "{");
          j = par[j] + 1;
          if (llave && (j >= hasta || (!es(v[j], ";") && !es(v[j], ",") && !es(v[j], "=")))) {
            cuerpo = true;
            break;
          }
        } else if (es(v[j++], ";")) {
          break;
        }
      }
      if (!cuerpo) {
        for (std::size_t k = m + 1; k < j; ++k) fuera[k] = 1;
        v[m] = con(v[m], ClaseLexica::otro, "");
      }
      m = j;
    }
  }
  std::size_t quedan = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (!fuera[i]) v[quedan++] = v[i];
  }
  v.resize(quedan);
}

}  // namespace

bool esNombre(const Lexema& l) { return l.clase == ClaseLexica::identificador && !l.clave; }

void parejasDe(const std::vector<Lexema>& v, Taller& t) {
  t.par.assign(v.size(), kSinPareja);
  t.abiertos.clear();
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i].clase != ClaseLexica::puntuacion || v[i].texto.size() != 1) continue;
    const char c = v[i].texto[0];
    if (c == '(' || c == '[' || c == '{') {
      t.abiertos.push_back(i);
    } else if (c == ')' || c == ']' || c == '}') {
      // A closing bracket of another kind than the last one open is left alone, so that
      // pairs always nest.
      const char abre = c == ')' ? '(' : c == ']' ? '[' : '{';
      if (!t.abiertos.empty() && v[t.abiertos.back()].texto[0] == abre) {
        t.par[i] = t.abiertos.back();
        t.par[t.abiertos.back()] = i;
        t.abiertos.pop_back();
      }
    }
  }
}

namespace {

void normaliza(std::string_view texto, Taller& t) {
  // Statements before parentheses: a negated condition is still whole in its own.
  lexemasDe(texto, t.a);
  limpia(t.a, t.b);
  quitaConversiones(t.b, t.a, t);
  unificaIncrementos(t.a, t.b, t);
  reescribeSentencias(t.b, t.a, t);
  quitaParentesis(t.a, t.b, t);
  quitaAccesos(t.b, t.a);
  quitaDeclaraciones(t.a, t);
}

}  // namespace

std::vector<Lexema> normaliza(std::string_view texto) {
  Taller t;
  normaliza(texto, t);
  return std::move(t.a);
}

void simbolosDe(std::string_view texto, Taller& t, std::vector<Simbolo>& simbolos) {
  normaliza(texto, t);
  simbolos.clear();
  for (const Lexema& l : t.a) {
    // Code 0 is a line of code without a token; no text's code is 0.
    const std::uint32_t codigo = l.texto.empty() ? 0 : std::max<std::uint32_t>(codigoDe(l), 1);
    simbolos.push_back({codigo, l.linea});
  }
}
