// The normalised token stream: what is left of a file once the usual disguises are undone.
#pragma once

#include "lexico.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

/// One normalised token: a code for its kind (every identifier the same code, every number,
/// string and character literal the code of its class; keywords and punctuators each their
/// own) and the line of the source it stands for. Code 0 marks a line of code that takes no
/// part in the runs: where a declaration of a class was.
struct Simbolo {
  std::uint32_t codigo = 0;
  std::uint32_t linea = 0;
};

/// What normalising a file needs besides its text: buffers kept from one file to the next.
struct Taller {
  std::vector<Lexema> a, b;  // the passes write from one into the other; the result is in a
  std::vector<std::size_t> par, abiertos;
  std::vector<std::uint8_t> marcas;
};

/// The normalised tokens of one source file, into `simbolos`.
void simbolosDe(std::string_view texto, Taller& taller, std::vector<Simbolo>& simbolos);

/// The disguises undone, identifiers and literals still as written: `std::`, `this->`, `using`
/// declarations and access specifiers gone, casts and grouping parentheses dropped, increments
/// in one form (`x += 1`), loops as `while` with braced bodies, an `if` with a negated
/// condition and an `else` turned round, the members of a class in one order. Inserted and
/// moved tokens take the line of a neighbour, so that lines never go back.
std::vector<Lexema> normaliza(std::string_view texto);

// What the passes share.

/// A name that is not a keyword.
bool esNombre(const Lexema& l);
inline bool es(const Lexema& l, std::string_view texto) { return l.texto == texto; }
/// The same for a literal, compared without a call.
template <std::size_t N>
bool es(const Lexema& l, const char (&texto)[N]) {
  return l.texto.size() == N - 1 && std::memcmp(l.texto.data(), texto, N - 1) == 0;
}
inline constexpr std::size_t kSinPareja = static_cast<std::size_t>(-1);
/// For every bracket of `v`, into taller.par, the index of its partner (`(` `)`, `[` `]`,
/// `{` `}`); kSinPareja for the rest and for brackets without one.
void parejasDe(const std::vector<Lexema>& v, Taller& taller);
/// Loops, braces and `if`-`else` of `v` rewritten in one form, into `r`.
void reescribeSentencias(const std::vector<Lexema>& v, std::vector<Lexema>& r, Taller& taller);
