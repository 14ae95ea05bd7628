// Which submissions an input holds: every .zip below a folder, a submission given
// directly, or every .zip entry of a campus archive.
#pragma once

#include "directorio_zip.h"
#include "revision.h"

#include <string>
#include <vector>

/// One submission to review, or what kept one from being read.
struct Trabajo {
  std::string entrega;   // its name in the report
  std::string ruta;      // the file on disk
  bool anidada = false;  // an entry of the campus archive `ruta`, read from inside it
  Registro registro;     // that entry's record, as the campus archive's directory gives it
  std::string problema;  // when not empty, the finding of a row that cannot be reviewed
};

/// Adds the submissions of `entrada` to `trabajos`: a folder below it that cannot be
/// listed, or a .zip that cannot be named or read, is a submission with its problem. False,
/// with `error` saying what, where and why, only when the input itself does not exist or
/// cannot be read.
bool buscaEntregas(const std::string& entrada, std::vector<Trabajo>& trabajos, std::string& error);

/// Reviews one submission; everything that goes wrong with it is in its row.
Fila revisaTrabajo(const Trabajo& trabajo);
