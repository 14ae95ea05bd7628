// Control statements in one form: every loop a `while` with a braced body, every body of an
// `if`, `else` or loop in braces, and an `if` whose condition is negated turned round.
#include "normalizacion.h"

namespace {

// Deeper than this, statements are copied as they are: nothing written by hand nests so
// deep, and the rewriting recurses.
constexpr int kProfundidad = 100;

// A condition's negation: the tokens [desde, hasta) with the one at `operador` (if any)
// replaced by `opuesto`.
struct Negacion {
  std::size_t desde = 0, hasta = 0, operador = kSinPareja;
  std::string_view opuesto;
};

class Reescritor {
 public:
  Reescritor(const std::vector<Lexema>& v, std::vector<Lexema>& r,
             const std::vector<std::size_t>& par)
      : v_(v), par_(par), r_(r) {}

  void reescribe() {
    r_.clear();
    emite(0, v_.size(), 0);
  }

 private:
  template <std::size_t N>
  bool es(std::size_t i, const char (&texto)[N]) const {
    return i < v_.size() && ::es(v_[i], texto);
  }

  // Whether the bracket at i closes before `fin`.
  bool cierraAntes(std::size_t i, std::size_t fin) const {
    return par_[i] != kSinPareja && par_[i] > i && par_[i] < fin;
  }

  std::size_t trasParentesis(std::size_t i, std::size_t fin) const {
    return i < fin && es(i, "(") && cierraAntes(i, fin) ? par_[i] + 1 : i;
  }

  // Where the statement at i ends (one past it), not beyond `fin`.
  std::size_t finDeSentencia(std::size_t i, std::size_t fin, int nivel) const {
    if (i >= fin) return fin;
    if (es(i, "{")) return cierraAntes(i, fin) ? par_[i] + 1 : fin;
    if (nivel < kProfundidad) {
      if (es(i, "if")) {
        const std::size_t condicion = es(i + 1, "constexpr") ? i + 2 : i + 1;
        std::size_t j = finDeSentencia(trasParentesis(condicion, fin), fin, nivel + 1);
        if (j < fin && es(j, "else")) j = finDeSentencia(j + 1, fin, nivel + 1);
        return j;
      }
      if (es(i, "for") || es(i, "while") || es(i, "switch")) {
        return finDeSentencia(trasParentesis(i + 1, fin), fin, nivel + 1);
      }
      if (es(i, "do")) {
        std::size_t j = finDeSentencia(i + 1, fin, nivel + 1);
        if (j < fin && es(j, "while")) {
          j = trasParentesis(j + 1, fin);
          if (j < fin && es(j, ";")) ++j;
        }
        return j;
      }
      if (es(i, "try")) {
        std::size_t j = finDeSentencia(i + 1, fin, nivel + 1);
        while (j < fin && es(j, "catch")) {
          j = finDeSentencia(trasParentesis(j + 1, fin), fin, nivel + 1);
        }
        return j;
      }
    }
    // An expression or a declaration: up to its semicolon, brackets jumped over.
    for (std::size_t j = i; j < fin; ++j) {
      if ((es(j, "(") || es(j, "[") || es(j, "{")) && cierraAntes(j, fin)) {
        j = par_[j];
      } else if (es(j, ";")) {
        return j + 1;
      } else if (es(j, ")") || es(j, "]") || es(j, "}")) {
        return j;
      }
    }
    return fin;
  }

  void copia(std::size_t desde, std::size_t hasta) {
    r_.insert(r_.end(), v_.begin() + desde, v_.begin() + hasta);
  }

  // Token k where a token of line `linea` goes.
  void copiaEn(std::size_t k, std::uint32_t linea) {
    r_.push_back(v_[k]);
    r_.back().linea = linea;
  }

  void inserta(std::string_view texto, std::uint32_t linea) {
    r_.push_back({ClaseLexica::puntuacion, false, texto, linea});
  }

  std::uint32_t lineaDe(std::size_t i) const {
    return v_.empty() ? 0 : v_[std::min(i, v_.size() - 1)].linea;
  }

  void emite(std::size_t i, std::size_t fin, int nivel) {
    while (i < fin) {
      if (nivel >= kProfundidad) {
        copia(i, fin);
        return;
      }
      if (es(i, "for")) {
        i = emiteFor(i, fin, nivel);
      } else if (es(i, "while")) {
        i = emiteWhile(i, fin, nivel);
      } else if (es(i, "do")) {
        i = emiteDo(i, fin, nivel);
      } else if (es(i, "if")) {
        i = emiteIf(i, fin, nivel);
      } else {
        copia(i, i + 1);
        ++i;
      }
    }
  }

  // The statement at i as a block, with the tokens [desde, hasta) of a `for`'s increment at
  // its end, one statement for each expression between commas.
  std::size_t emiteCuerpo(std::size_t i, std::size_t fin, int nivel, std::size_t desde = 0,
                          std::size_t hasta = 0) {
    const std::size_t fin_ = finDeSentencia(i, fin, nivel + 1);
    inserta("{", lineaDe(i));
    if (es(i, "{") && fin_ > i + 1 && par_[i] == fin_ - 1) {
      emite(i + 1, fin_ - 1, nivel + 1);
    } else {
      emite(i, fin_, nivel + 1);
    }
    const std::uint32_t ultima = fin_ > i ? lineaDe(fin_ - 1) : lineaDe(i);
    for (std::size_t j = desde; j < hasta; ++j) {
      if ((es(j, "(") || es(j, "[") || es(j, "{")) && cierraAntes(j, hasta)) {
        for (std::size_t k = j; k <= par_[j]; ++k) copiaEn(k, ultima);
        j = par_[j];
      } else if (es(j, ",")) {
        inserta(";", ultima);
      } else {
        copiaEn(j, ultima);
      }
    }
    if (hasta > desde) inserta(";", ultima);
    inserta("}", ultima);
    return fin_;
  }

  // for (A; B; C) S  ->  A; while (B) { S C; }
  std::size_t emiteFor(std::size_t i, std::size_t fin, int nivel) {
    const std::size_t abre = i + 1;
    if (!es(abre, "(") || !cierraAntes(abre, fin)) {
      copia(i, i + 1);
      return i + 1;
    }
    const std::size_t cierra = par_[abre];
    std::size_t puntos[2] = {0, 0};
    int cuantos = 0;
    for (std::size_t j = abre + 1; j < cierra; ++j) {
      if ((es(j, "(") || es(j, "[") || es(j, "{")) && cierraAntes(j, cierra)) {
        j = par_[j];
      } else if (es(j, ";")) {
        if (cuantos < 2) puntos[cuantos] = j;
        ++cuantos;
      }
    }
    if (cuantos != 2) {  // a range-based for
      copia(i, cierra + 1);
      return emiteCuerpo(cierra + 1, fin, nivel);
    }
    if (puntos[0] > abre + 1) copia(abre + 1, puntos[0] + 1);
    r_.push_back({ClaseLexica::identificador, true, "while", v_[i].linea});
    inserta("(", v_[i].linea);
    if (puntos[1] > puntos[0] + 1) {
      copia(puntos[0] + 1, puntos[1]);
    } else {
      r_.push_back({ClaseLexica::identificador, true, "true", v_[i].linea});
    }
    inserta(")", v_[i].linea);
    return emiteCuerpo(cierra + 1, fin, nivel, puntos[1] + 1, cierra);
  }

  std::size_t emiteWhile(std::size_t i, std::size_t fin, int nivel) {
    if (!es(i + 1, "(") || !cierraAntes(i + 1, fin)) {
      copia(i, i + 1);
      return i + 1;
    }
    copia(i, par_[i + 1] + 1);
    return emiteCuerpo(par_[i + 1] + 1, fin, nivel);
  }

  // do S while (B);  ->  while (B) { S }
  std::size_t emiteDo(std::size_t i, std::size_t fin, int nivel) {
    const std::size_t cuerpo = finDeSentencia(i + 1, fin, nivel + 1);
    if (!es(cuerpo, "while") || cuerpo >= fin || !es(cuerpo + 1, "(") ||
        !cierraAntes(cuerpo + 1, fin)) {
      copia(i, i + 1);
      return i + 1;
    }
    const std::size_t cierra = par_[cuerpo + 1];
    for (std::size_t k = cuerpo; k <= cierra; ++k) {
      copiaEn(k, v_[i].linea);
    }
    emiteCuerpo(i + 1, fin, nivel);
    return cierra + 1 < fin && es(cierra + 1, ";") ? cierra + 2 : cierra + 1;
  }

  // `!c`, `!(c)`, `a != b`, `a >= b` and `a <= b` as whole conditions, undone.
  bool negada(std::size_t desde, std::size_t hasta, Negacion& n) const {
    if (es(desde, "!")) {
      n = {desde + 1, hasta, kSinPareja, {}};
      if (es(desde + 1, "(") && par_[desde + 1] == hasta - 1) {
        n.desde = desde + 2;
        n.hasta = hasta - 1;
        return n.desde < n.hasta;
      }
      // Only a name, its members, calls and subscripts: `!a && b` negates `a` only.
      for (std::size_t j = desde + 1; j < hasta; ++j) {
        if ((es(j, "(") || es(j, "[")) && cierraAntes(j, hasta)) {
          j = par_[j];
        } else if (!esNombre(v_[j]) && !es(j, ".") && !es(j, "->") && !es(j, "::")) {
          return false;
        }
      }
      return desde + 1 < hasta;
    }
    n = {desde, hasta, kSinPareja, {}};
    for (std::size_t j = desde; j < hasta; ++j) {
      if ((es(j, "(") || es(j, "[")) && cierraAntes(j, hasta)) {
        j = par_[j];
      } else if (es(j, "!=") || es(j, ">=") || es(j, "<=")) {
        if (n.operador != kSinPareja) return false;
        n.operador = j;
        n.opuesto = es(j, "!=") ? "==" : es(j, ">=") ? "<" : ">";
      } else if (es(j, "&&") || es(j, "||") || es(j, "?") || es(j, "==") || es(j, "<") ||
                 es(j, ">") || es(j, "=") || es(j, ",")) {
        return false;
      }
    }
    return n.operador != kSinPareja;
  }

  // if (C) S [else if (D) T]... [else U]; an else-if chain is followed at the same level.
  std::size_t emiteIf(std::size_t i, std::size_t fin, int nivel) {
    while (true) {
      const std::size_t abre = es(i + 1, "constexpr") ? i + 2 : i + 1;
      if (!es(abre, "(") || !cierraAntes(abre, fin)) {
        copia(i, i + 1);
        return i + 1;
      }
      const std::size_t cierra = par_[abre];
      const std::size_t fin1 = finDeSentencia(cierra + 1, fin, nivel + 1);
      const bool conElse = fin1 < fin && es(fin1, "else");
      Negacion n;
      if (conElse && !es(fin1 + 1, "if") && negada(abre + 1, cierra, n)) {
        copia(i, abre + 1);
        for (std::size_t j = n.desde; j < n.hasta; ++j) {
          r_.push_back(j == n.operador
                           ? Lexema{ClaseLexica::puntuacion, false, n.opuesto, v_[j].linea}
                           : v_[j]);
        }
        copia(cierra, cierra + 1);
        // The else branch, now first, takes the line of the `if`: lines never go back, so
        // that a run of tokens spans only the lines it comes from.
        const std::size_t movidos = r_.size();
        const std::size_t fin2 = emiteCuerpo(fin1 + 1, fin, nivel);
        copia(fin1, fin1 + 1);
        for (std::size_t k = movidos; k < r_.size(); ++k) r_[k].linea = v_[i].linea;
        emiteCuerpo(cierra + 1, fin, nivel);
        return fin2;
      }
      copia(i, cierra + 1);
      emiteCuerpo(cierra + 1, fin, nivel);
      if (!conElse) return fin1;
      copia(fin1, fin1 + 1);
      if (!es(fin1 + 1, "if") || fin1 + 1 >= fin) return emiteCuerpo(fin1 + 1, fin, nivel);
      i = fin1 + 1;
    }
  }

  const std::vector<Lexema>& v_;
  const std::vector<std::size_t>& par_;
  std::vector<Lexema>& r_;
};

}  // namespace

void reescribeSentencias(const std::vector<Lexema>& v, std::vector<Lexema>& r, Taller& t) {
  parejasDe(v, t);
  Reescritor(v, r, t.par).reescribe();
}
