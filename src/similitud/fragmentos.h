// Shared fragments: runs of marks found in the same order on both sides, as they grow while
// one participant's marks are walked, and merged once complete.
#pragma once

#include "comparacion.h"

#include <cstdint>
#include <vector>

/// How many marks, and lines of code, may be missing on either side within one fragment: a
/// statement changed or inserted does not split it, a stretch without marks in common does.
inline constexpr std::size_t kHueco = 3;
inline constexpr std::size_t kHuecoLineas = 3;
/// A fragment counts from this many marks on, or when it is the whole of a stretch of own
/// code on both sides: fewer marks in common are what any two solutions of one assignment
/// have.
inline constexpr std::size_t kMarcasFragmento = 6;

/// Where a mark lies, as fragments see it. Marks and lines of the participant's own code or of
/// the template split fragments; those of code many participants have do not.
struct Lugar {
  std::uint32_t marca = 0;
  std::uint32_t archivo = 0;
  std::uint32_t desde = 0, hasta = 0;  // its lines
  std::uint32_t rango = 0;             // how many marks that split come before it
  std::uint32_t antes = 0;           // how many lines of code that split come before its first line
  std::uint32_t despues = 0;         // and up to its last line
  bool inicio = false, fin = false;  // it starts, or ends, a stretch of own marks
};

/// Whether `despues` can follow `antes` in a fragment: within kHueco marks and kHuecoLineas
/// lines that split after it, in the same file. A stretch of own marks is a run of them each of
/// which can follow the one before.
bool seguidas(const Lugar& antes, const Lugar& despues);

/// A fragment being grown between participant a (whose marks are walked in order) and b: its
/// first marks, and where its last ones lie.
struct Cadena {
  bool abierta = false;
  bool completa = false;  // it starts where stretches of own code start on both sides
  std::uint32_t desdeA = 0, desdeB = 0;  // the first line of its first marks
  Lugar ultimaA, ultimaB;
  std::uint32_t marcas = 0;
};

/// Whether a's mark `a` and b's mark `b` continue `c`: both within kHueco marks and
/// kHuecoLineas lines that split after the last ones, in the same files.
bool continua(const Cadena& c, const Lugar& a, const Lugar& b);

/// Adds a's mark and b's mark to `c` when `sigue`, or starts `c` again with them.
void agrega(Cadena& c, const Lugar& a, const Lugar& b, bool sigue);

/// Whether the fragment `c` grew counts.
bool cuenta(const Cadena& c);

/// The lines `c` spans on each side (marks' lines never go back within a file).
Fragmento fragmentoDe(const Cadena& c);

/// Fragments merged where they overlap on both sides, in order of a's files and lines.
std::vector<Fragmento> fusiona(std::vector<Fragmento> fragmentos);

/// A fragment's length in lines: the shorter of its two sides, so that code inserted into
/// one side does not lengthen it.
std::size_t largoDe(const Fragmento& f);
