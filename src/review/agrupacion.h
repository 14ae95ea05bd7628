// The rows of an input by participant: what each one handed in, grouped by the campus's
// names, becomes one row; anything else that is a .zip is a row of its own.
#pragma once

#include "entradas.h"

#include <string>
#include <vector>

/// One thing found in an input: a file or folder below a folder, or an entry of a campus
/// archive.
struct Pieza {
  std::string nombre;    // relative to the input, "/" between components
  std::string ruta;      // on disk: the file, or the campus archive that holds it
  bool anidada = false;  // an entry of the campus archive `ruta`
  Registro registro;     // that entry's record
  bool carpeta = false;
  std::string problema;  // why it cannot be read, as a finding
};

/// Whether `nombre` ends in ".zip", in any letter case.
bool esZip(const std::string& nombre);

/// Adds the rows of one input's pieces: one per participant the campus's names give, one
/// per other .zip, and one per other piece that cannot be read.
void agrupa(const std::vector<Pieza>& piezas, std::vector<Trabajo>& trabajos);
