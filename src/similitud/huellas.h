// The fingerprints of one participant's code: what the comparison keeps of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// One source or header file of a participant, its text as UTF-8 (any bytes are accepted).
struct ArchivoFuente {
  std::string nombre;  // as the report shows it, e.g. "Juego/Juego.cpp"
  std::string texto;
};

/// The hash of a run of normalised tokens, and the lines of its file that run spans.
struct Marca {
  std::uint32_t hash = 0;
  std::uint32_t desde = 0, hasta = 0;  // 1-based, inclusive
};

/// What the comparison keeps of one participant's code (or of the template): a mark of 12
/// bytes for about every line of code, 16 KB for 1,500 lines, so that 400 participants fit in
/// a few MB. The texts can be dropped once it is made.
struct Huellas {
  std::vector<Marca> marcas;           // in order of files and of positions in them
  std::vector<std::uint32_t> inicios;  // file i's marks are [inicios[i], inicios[i + 1])
  std::vector<bool> codigo;            // line l of file i holds code: codigo[lineas[i] + l - 1]
  std::vector<std::size_t> lineas;     // where each file's lines start in `codigo`; one more

  std::size_t archivos() const { return inicios.empty() ? 0 : inicios.size() - 1; }
};

/// Runs of this many normalised tokens (a line holds 6 to 10 of them) are hashed, and of every
/// kVentana consecutive runs the one of smallest hash is kept, so that any stretch of
/// kK + kVentana - 1 tokens two participants share gives them a mark in common (kVentana <=
/// kK: marks kept one after another overlap). Runs that repeat a short stretch or hold fewer
/// than five kinds of token (lists of calls, of assignments, of literals) are not kept: any
/// two programs have them. Chosen on bench/similitud.py's evaluation: longer runs miss copies
/// with code inserted, shorter ones share more by chance.
inline constexpr std::size_t kK = 12;
inline constexpr std::size_t kVentana = 8;

/// A participant's fingerprints. Pure and thread-safe: the review calls it from several
/// worker threads side by side.
Huellas huellasDe(const std::vector<ArchivoFuente>& archivos);

/// The template's fingerprints: every run, not only those winnowing keeps, so that the
/// template is left out whole wherever it lies in a participant's code, whatever surrounds it.
/// (A template made by huellasDe works as well, a little less exactly at its edges.)
Huellas huellasDePlantilla(const std::vector<ArchivoFuente>& archivos);
