// Which submissions an input holds: every .zip below a folder, a submission given
// directly, or every .zip entry of a campus archive.
#pragma once

#include "revision.h"

#include <cstddef>
#include <string>
#include <vector>

/// One submission to review.
struct Trabajo {
  std::string entrega;     // its name in the report
  std::string ruta;        // the file on disk
  bool anidada = false;    // an entry of the campus archive `ruta`, read from inside it
  std::size_t indice = 0;  // that entry's index
};

/// Adds the submissions of `entrada` to `trabajos`. False, with `error` saying what, where
/// and why, when the input does not exist or cannot be read.
bool buscaEntregas(const std::string& entrada, std::vector<Trabajo>& trabajos, std::string& error);

/// Reviews one submission; everything that goes wrong with it is in its row.
Fila revisaTrabajo(const Trabajo& trabajo);
