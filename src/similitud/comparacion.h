// The comparison of every participant with every other: pairs, shared fragments, groups.
#pragma once

#include "huellas.h"

#include <cstddef>
#include <vector>

/// Pairs are listed from this similitud up (and when flagged, whatever their similitud).
inline constexpr int kSimilitudListada = 10;
/// A pair is flagged from this similitud up, or when one fragment they share is at least
/// kFragmentoAviso lines long. Chosen on bench/similitud.py's evaluation (three sets of 60
/// independent solutions of one assignment and 48 disguised copies): copies up to renaming
/// score 100, reordered ones 76 or more, those with dead code or rewritten loops and
/// conditions 27 or more, while no independent pair passes 16; where only some functions are
/// copied, they often share a fragment of 40 lines or more, where independent solutions share
/// 31 at most. Anywhere from 17 to 27, and from 35 lines up, flags no independent pair there.
inline constexpr int kSimilitudAviso = 22;
inline constexpr std::size_t kFragmentoAviso = 40;
/// The similitud flags a pair only when the fragments they share hold this many lines: the
/// share of a program of a few lines says nothing (two that only write `int main() {}` beyond
/// the template share all of it).
inline constexpr std::size_t kCompartidoAviso = 10;

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
  int similitud = 0;  // 0-100, rounded down: the share of both participants' marks (their code
                      // less the template and what many have) that lie in fragments they
                      // share; the same whatever order the participants come in
  std::size_t fragmento = 0;  // the longest shared fragment, in lines: of each, the shorter side
  std::size_t lineasA = 0, lineasB = 0;  // lines of code compared on each side (template left out)
  std::vector<Fragmento> fragmentos;     // every shared fragment, in order of a's files and lines
  bool aviso = false;  // flagged: similitud reaches its threshold over kCompartidoAviso lines
                       // shared, or fragmento reaches its own
};

struct Comparacion {
  std::vector<Par> pares;  // every pair with similitud >= kSimilitudListada or flagged,
                           // highest first (ties in order of a, b)
  std::vector<std::vector<std::size_t>> grupos;  // three or more participants linked by flagged
                                                 // pairs (connected components), each sorted;
                                                 // groups in order of their first member
  std::size_t lineasComunes = 0;   // lines of participants' code left out as template: covered
                                   // by runs of the template's or of what most share, and by no
                                   // run of their own (summed over every participant)
  std::size_t lineasTotales = 0;   // lines of code of all participants, a line of code being one
                                   // with a token after normalisation (summed)
  bool plantillaDeducida = false;  // no template given: fragments most participants share
                                   // were taken as it
};

/// `anteriores[i]` (the size of `participantes`, or empty for none) marks participants of
/// earlier years: compared with this year's participants only, never among themselves.
/// `plantilla`, when given, is the code the course hands out (best made by huellasDePlantilla):
/// every fragment of it is left out of every comparison, numerator and denominator. Without it,
/// fragments that more than half of this year's participants share (and at least three of
/// them) are taken as the template and left out the same way; with it, so are those when more
/// than ten share them (fewer could be a group of copies). Runs that more than a
/// fifth of all participants have (and more than ten) are left out of the pairs too, as
/// idioms of the assignment, though not counted as template. The fingerprints are only read;
/// from 32 participants on, the work is shared among up to four threads of its own.
Comparacion compara(const std::vector<Huellas>& participantes, const std::vector<bool>& anteriores,
                    const Huellas* plantilla);
