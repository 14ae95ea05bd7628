// Which submissions an input holds: every .zip below a folder, a submission given
// directly, or every .zip entry of a campus archive; grouped by participant wherever the
// campus's names say who handed them in.
#pragma once

#include "directorio_zip.h"
#include "participantes.h"
#include "revision.h"

#include <string>
#include <vector>

/// One thing found in an input: a file or folder below a folder, or an entry of a campus
/// archive.
struct Pieza {
  std::string nombre;    // relative to the input, "/" between components
  std::string ruta;      // on disk: the file, or the campus archive that holds it
  bool anidada = false;  // an entry of the campus archive `ruta`, read from inside it
  Registro registro;     // that entry's record, as the campus archive's directory gives it
  bool carpeta = false;
  std::string problema;  // when not empty, why it cannot be read, as a finding
};

/// One row to make: the piece it reviews (named in the report by its `nombre`), or what
/// kept one from being read.
struct Trabajo {
  Pieza pieza;
  Participante participante;         // empty outside the campus's forms
  std::vector<std::string> previos;  // findings on what the participant handed in, shown first
};

/// Adds the rows of `entrada` to `trabajos`: one per participant the campus's names give,
/// and one per other .zip; a folder below it that cannot be listed, or a .zip that cannot
/// be named, is a row with its problem. False, with `error` saying what, where and why,
/// only when the input itself does not exist or cannot be read.
bool buscaEntregas(const std::string& entrada, std::vector<Trabajo>& trabajos, std::string& error);

/// Reviews one submission; everything that goes wrong with it is in its row.
Fila revisaTrabajo(const Trabajo& trabajo);

/// The row's names, before any review: what stays of it when the review itself fails.
Fila encabezado(const Trabajo& trabajo);
