// Shared fragments: runs of marks found in the same order on both sides, as they grow while
// one participant's marks are walked, and merged once complete.
#pragma once

#include "comparacion.h"

#include <cstdint>
#include <vector>

/// How many marks, and lines of code, may be missing on either side within one fragment: a
/// statement changed or inserted does not split it, a stretch without marks does.
inline constexpr std::size_t kHueco = 3;
inline constexpr std::size_t kHuecoLineas = 3;
/// A fragment counts from this many marks on, or when it is the whole of a stretch of own
/// code on both sides: fewer marks in common are what any two solutions of one assignment
/// have.
inline constexpr std::size_t kMarcasFragmento = 6;

/// A fragment being grown between participant a (whose marks are walked in order) and b.
struct Cadena {
  bool abierta = false;
  bool completaA = false, completaB = false;  // starts where a stretch of own code starts
  std::uint32_t ultimaA = 0, ultimaB = 0;     // the last marks chained
  std::uint32_t marcas = 0;
  Fragmento fragmento;
};

/// A mark and the file it lies in.
struct Posicion {
  const Huellas& huellas;
  std::uint32_t marca;
  std::size_t archivo;
};

/// Whether a's mark and b's mark continue `c`: both within kHueco marks and kHuecoLineas lines
/// of code after the last ones, in the same files.
bool continua(const Cadena& c, const Posicion& a, const Posicion& b);

/// Adds a's mark and b's mark to `c`, or starts `c` with them.
void agrega(Cadena& c, const Posicion& a, const Posicion& b);

/// Whether the fragment `c` grew counts.
bool cuenta(const Cadena& c, bool terminaA, bool terminaB);

/// Fragments merged where they overlap on both sides, in order of a's files and lines.
std::vector<Fragmento> une(std::vector<Fragmento> fragmentos);

/// A fragment's length in lines: the shorter of its two sides, so that code inserted into
/// one side does not lengthen it.
std::size_t largoDe(const Fragmento& f);
