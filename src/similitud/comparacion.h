// The comparison of every participant with every other: pairs, shared fragments, groups.
#pragma once

#include "huellas.h"

#include <cstddef>
#include <vector>

/// Pairs are listed from this similitud up (and when flagged, whatever their similitud).
inline constexpr int kSimilitudListada = 10;
/// A pair is flagged from this similitud up, or when one fragment they share is at least
/// kFragmentoAviso lines long. Chosen on bench/similitud.py's evaluation: every copy up to
/// renaming and reordering scores 70 or more and almost every disguised one 40 or more,
/// while independent solutions of one assignment stay under 25 with the template left out;
/// functions copied whole into one's own code share a fragment of 30 lines or more, where
/// independent solutions share a dozen at most.
inline constexpr int kSimilitudAviso = 40;
inline constexpr std::size_t kFragmentoAviso = 30;

/// Lines `desde`..`hasta` (1-based, inclusive) of file `archivo` (an index into that
/// participant's files).
struct Tramo {
  std::size_t archivo = 0, desde = 0, hasta = 0;
};

/// One fragment the two share, where it lies on each side.
struct Fragmento {
  Tramo a, b;
};

struct Par {
  std::size_t a = 0, b = 0;  // indices into `participantes`, a < b
  int similitud = 0;  // 0-100: the share of both participants' code that they share, template
                      // left out; symmetric
  std::size_t fragmento = 0;             // the longest shared fragment, in lines
  std::size_t lineasA = 0, lineasB = 0;  // lines of code compared on each side (template left out)
  std::vector<Fragmento> fragmentos;     // every shared fragment, in order of a's files and lines
  bool aviso = false;                    // flagged: similitud or fragmento reaches its threshold
};

struct Comparacion {
  std::vector<Par> pares;  // every pair with similitud >= kSimilitudListada or flagged,
                           // highest first (ties in order of a, b)
  std::vector<std::vector<std::size_t>> grupos;  // three or more participants linked by flagged
                                                 // pairs (connected components), each sorted;
                                                 // groups in order of their first member
  std::size_t lineasComunes = 0;   // lines of participants' code left out as template (summed)
  std::size_t lineasTotales = 0;   // lines of code of all participants (summed)
  bool plantillaDeducida = false;  // no template given: fragments most participants share
                                   // were taken as it
};

/// `anteriores[i]` (the size of `participantes`, or empty for none) marks participants of
/// earlier years: compared with this year's participants only, never among themselves.
/// `plantilla`, when given, is the code the course hands out: every fragment of it is left out
/// of every comparison, numerator and denominator. Fragments that more than half of this
/// year's participants share (and at least three of them) are left out the same way: with no
/// template given, they are taken as it. Single-threaded; the participants' fingerprints are
/// only read.
Comparacion compara(const std::vector<Huellas>& participantes, const std::vector<bool>& anteriores,
                    const Huellas* plantilla);
